# The whole program on unusual machines: machine-wide keys it may not write, a very long
# installation path. SERIAL: the prefix's real registry, special folders and windows.
bramix_test(machine_faults_test SOURCES machine_faults_test.cpp SERIAL DEPENDS uninstall)
