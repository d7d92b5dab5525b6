bramix_test(assocdata_test SOURCES assocdata_test.cpp)
bramix_test(associations_test SOURCES associations_test.cpp FAMILIES)
# Windows Me as well: it names template files as the NT family does, yet takes all 100
# volume extensions as Windows 98 does.
add_custom_command(TARGET associations_test POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:associations_test>
          $<TARGET_FILE_DIR:associations_test>/associations_test_me.exe)
add_test(NAME associations_test_me
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE_DIR:associations_test>/associations_test_me.exe)
# All three copies write and remove the template files beside the test programs.
set_tests_properties(associations_test associations_test_9x associations_test_me PROPERTIES
  TIMEOUT 300 RESOURCE_LOCK bramix_program_folder_templates)
