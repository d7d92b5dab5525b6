# The program's resources (strings, version information) are linked in.
bramix_test(uninstall_entry_test SOURCES uninstall_entry_test.cpp $<TARGET_OBJECTS:bramix_resources>)
