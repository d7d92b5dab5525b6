# The set-up, context-menu items and completion dialogs, run inside the test programs
# from the program's own templates (the resource object is linked in).
set(SETUP_UI_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(setup_ui_test_support STATIC ${SETUP_UI_DIR}/dialog_script.cpp ${SETUP_UI_DIR}/import_hook.cpp)
target_link_libraries(setup_ui_test_support PUBLIC bramix_test_support)

# Stands in for Bramix and for the programs that the shell opens files with.
add_executable(fake_program WIN32 ${SETUP_UI_DIR}/fake_program.cpp)
target_link_libraries(fake_program PRIVATE bramix_options)

bramix_test(setup_dialog_test SOURCES ${SETUP_UI_DIR}/setup_dialog_test.cpp
  $<TARGET_OBJECTS:bramix_resources> LIBS setup_ui_test_support SERIAL)
bramix_test(done_dialog_test SOURCES ${SETUP_UI_DIR}/done_dialog_test.cpp
  $<TARGET_OBJECTS:bramix_resources> LIBS setup_ui_test_support DEPENDS fake_program SERIAL)
# The real program: set-up through its dialogs or silently, then the uninstall.
bramix_test(setup_run_test SOURCES ${SETUP_UI_DIR}/setup_run_test.cpp
  LIBS setup_ui_test_support DEPENDS uninstall FAMILIES SERIAL)
