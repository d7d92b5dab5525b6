# The common dialog filter, on the tests' own dialog templates.
bramix_test(dialogs_test SOURCES dialogs_test.cpp dialogs_harness.cpp dialogs_test.rc SERIAL)
