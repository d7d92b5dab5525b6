bramix_test(switches_test SOURCES switches_test.cpp)
