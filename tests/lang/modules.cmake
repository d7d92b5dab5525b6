bramix_language_module(german_module german_module ${CMAKE_CURRENT_SOURCE_DIR}/modules/german.rc)
add_dependencies(german_module bramix_icons)
bramix_language_module(hostile_module hostile_module ${CMAKE_CURRENT_SOURCE_DIR}/modules/hostile.rc)
