bramix_test(options_test SOURCES options_test.cpp)
