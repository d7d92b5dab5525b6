# Files of the program that include no windows.h, and tests that only use them.
set(BRAMIX_BYTE_SOURCES
  src/base/text.cpp
  src/base/path.cpp
  src/base/errorstate.cpp
  src/driver/switches.cpp
  src/registry/keypath.cpp
  src/lang/textkey.cpp
  tests/host/host_globals.cpp
)
set(BRAMIX_BYTE_TESTS
  tests/base/text_test.cpp
  tests/driver/switches_test.cpp
  tests/lang/textkey_test.cpp
  tests/host/bytes_test.cpp
)
