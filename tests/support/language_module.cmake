# bramix_language_module(TARGET FOLDER RC_FILE)
# Builds a resource-only language module "qyxlng.dll" from RC_FILE into bin/FOLDER/,
# so that a test can load it from there (or copy it beside a copy of uninstall.exe).
function(bramix_language_module target folder rcfile)
  add_library(${target} SHARED ${rcfile})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME qyxlng PREFIX "" SUFFIX ".dll" LINKER_LANGUAGE C
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/${folder})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/src/resources)
  # No code and no entry point: the module holds resources only.
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,0)
endfunction()
