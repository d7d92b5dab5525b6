# Hostile input across the program; the whole-program row starts uninstall.exe.
bramix_test(hostile_test SOURCES hostile_test.cpp DEPENDS uninstall)
