bramix_test(path_test SOURCES path_test.cpp text_test.cpp FAMILIES)
# The same tests in a process whose ANSI code page is 932 (Wine takes it from the locale).
add_test(NAME path_test_cp932 COMMAND path_test)
set_tests_properties(path_test_cp932 PROPERTIES ENVIRONMENT "LC_ALL=ja_JP.UTF-8" TIMEOUT 300)
