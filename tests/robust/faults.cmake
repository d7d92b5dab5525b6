# The whole uninstaller under faults of its surroundings. SERIAL: the prefix's real
# registry (the uninstall removes the settings key), temporary folder and windows.
bramix_test(faults_test SOURCES faults_test.cpp SERIAL DEPENDS uninstall)
# A hundred thousand entries take about a minute to make and a minute to delete under Wine.
set_tests_properties(faults_test PROPERTIES TIMEOUT 900)
