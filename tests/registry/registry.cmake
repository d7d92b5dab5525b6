bramix_test(registry_test SOURCES registry_test.cpp FAMILIES)
