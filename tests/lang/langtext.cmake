bramix_test(langtext_test SOURCES langtext_test.cpp)
