bramix_test(warning_test SOURCES warning_test.cpp FAMILIES SERIAL DEPENDS uninstall)
