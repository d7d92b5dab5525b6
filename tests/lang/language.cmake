bramix_language_module(rtl_module rtl_module ${CMAKE_CURRENT_SOURCE_DIR}/modules/rtl.rc)
bramix_test(language_test SOURCES language_test.cpp DEPENDS rtl_module german_module)
