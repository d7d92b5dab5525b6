# The language file template of the translator's kit (tools/lngtool), loaded back by the
# program's own code. The kit's reader and writer are byte-level and build here as well.
set(LNGTOOL_SOURCE ${CMAKE_SOURCE_DIR}/tools/lngtool/src)
bramix_test(lngtool_roundtrip_test
  SOURCES ${CMAKE_SOURCE_DIR}/tools/lngtool/tests/roundtrip_test.cpp
          ${LNGTOOL_SOURCE}/peimage.cpp ${LNGTOOL_SOURCE}/programtexts.cpp
          ${LNGTOOL_SOURCE}/lngformat.cpp ${LNGTOOL_SOURCE}/template.cpp
  DEPENDS uninstall)
target_include_directories(lngtool_roundtrip_test PRIVATE ${LNGTOOL_SOURCE})
