# The whole uninstaller under faults of its surroundings. SERIAL: the prefix's real
# registry (the uninstall removes the settings key), temporary folder and windows.
bramix_test(faults_test SOURCES faults_test.cpp SERIAL DEPENDS uninstall)
