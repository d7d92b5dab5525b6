bramix_test(program_test SOURCES program_test.cpp FAMILIES SERIAL
            DEPENDS uninstall german_module hostile_module boxmark)
