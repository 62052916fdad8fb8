# Source lists, by layer. Portable sources must not include <windows.h>.

set(CORE_SOURCES
  include/textutil.cpp
  language/langformat.cpp
  hotkeys/hotkeyitem.cpp
  # xml (portable)
  include/xmldom.cpp
  include/xml.cpp
)

# Tests of the portable core: built natively (sanitizers) and for Windows (run under Wine).
set(CORE_TESTS
  tests/include/test_textutil.cpp
  tests/language/test_langformat.cpp
  tests/hotkeys/test_hotkeyitem.cpp
  # xml tests (portable)
  tests/include/test_xmldom.cpp
  tests/include/test_xml.cpp
)

# Fuzz targets: tests/fuzz/fuzz_NAME.cpp, with seed files in FUZZ_SEEDS_NAME.
set(FUZZ_TARGETS
  # xml fuzz
  xml
)
set(FUZZ_SEEDS_xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/utf8.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/backup.hkb
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/store-be.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/cp1252.xml
)
)

# Everything that touches Win32, apart from the entry point.
set(WIN_SOURCES
  include/miscfuns.cpp
  include/GlobalData.cpp
  include/xmlcodec_win.cpp
  language/language.cpp
  hotkeys/hotkeyfiles.cpp
  app/maindlg.cpp
  app/msgloop.cpp
  app/startup.cpp
)

# Windows unit and integration tests, each group its own executable, run under Wine.
set(WIN_TEST_GROUPS include language hotkeys)
set(WIN_TESTS_include tests/include/test_miscfuns.cpp)
list(APPEND WIN_TEST_GROUPS xml)
set(WIN_TESTS_xml tests/include/test_xmlcodec_win.cpp)
set(WIN_TESTS_language tests/language/test_language.cpp)
set(WIN_TESTS_hotkeys tests/hotkeys/test_hotkeyfiles.cpp)

# End-to-end tests start the real Quorvel.exe from the assembled program folder.
set(E2E_TESTS
  tests/e2e/test_startup.cpp
  tests/e2e/e2e_support.cpp
)
