bramix_test(textkey_test SOURCES textkey_test.cpp)
