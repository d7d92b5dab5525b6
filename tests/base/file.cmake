bramix_test(file_test SOURCES file_test.cpp FAMILIES)
