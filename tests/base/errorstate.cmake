bramix_test(errorstate_test SOURCES errorstate_test.cpp)
