# The translated link names and type descriptions, as bin/integration_language/qyxlng.dll.
bramix_language_module(integration_language integration_language
  ${CMAKE_CURRENT_SOURCE_DIR}/shortcuts_language.rc)

# SERIAL: the tests make and remove links in the prefix's own special folders.
bramix_test(shortcuts_test SOURCES shortcuts_test.cpp LIBS bramix_resources
  DEPENDS integration_language FAMILIES SERIAL)
