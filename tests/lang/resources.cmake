# The program's own resources are linked in, so that the test executable is the
# "program module" with the string table.
bramix_test(resources_test SOURCES resources_test.cpp $<TARGET_OBJECTS:bramix_resources>
            DEPENDS german_module hostile_module)
