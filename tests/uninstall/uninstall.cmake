bramix_test(listfile_test SOURCES listfile_test.cpp)
bramix_test(script_text_test SOURCES script_text_test.cpp)
