add_executable(appreg_probe appreg_probe.cpp)
target_link_libraries(appreg_probe PRIVATE bramix bramix_resources)

# SERIAL: the tests make links in the prefix's own special folders and put files
# beside the test programs.
bramix_test(appreg_test SOURCES appreg_test.cpp LIBS bramix_resources
  DEPENDS appreg_probe integration_language FAMILIES SERIAL)
