# SERIAL: the tests put "qyxext.dll" beside the test programs, which all tests share.
bramix_test(shellext_test SOURCES shellext_test.cpp FAMILIES SERIAL)
