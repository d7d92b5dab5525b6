bramix_test(listfile_test SOURCES listfile_test.cpp)
bramix_test(script_text_test SOURCES script_text_test.cpp)

# Test programs: a set-up run on the real registry, started from an installation folder,
# and a stand-in for the command interpreter (its file name must be "cmd.exe").
add_executable(install_helper install_helper.cpp)
target_link_libraries(install_helper PRIVATE bramix bramix_resources)
add_executable(shim_cmd shim_cmd.cpp)
target_link_libraries(shim_cmd PRIVATE bramix_options)
set_target_properties(shim_cmd PROPERTIES OUTPUT_NAME cmd RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/shim)
bramix_language_module(uninstall_hostile_module uninstall_hostile_module
  ${CMAKE_CURRENT_SOURCE_DIR}/modules/hostile_list.rc)

# SERIAL: the prefix's real registry, special folders, temporary folder and windows.
bramix_test(uninstall_test SOURCES uninstall_test.cpp FAMILIES SERIAL
  DEPENDS uninstall install_helper shim_cmd uninstall_hostile_module boxmark)
