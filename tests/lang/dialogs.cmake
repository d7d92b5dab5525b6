# The common dialog filter, on the tests' own dialog templates: without a language file,
# and with one that translates and rescales.
bramix_test(dialogs_test SOURCES dialogs_test.cpp dialogs_harness.cpp dialogs_test.rc SERIAL)
bramix_test(dialogs_lng_test SOURCES dialogs_lng_test.cpp dialogs_harness.cpp dialogs_test.rc SERIAL)

# Pictures of the program's dialogs for tools/screenshots.sh (not a test).
add_executable(dialogs_shots dialogs_shots.cpp)
target_link_libraries(dialogs_shots PRIVATE bramix_test_support)
