# Source lists, by layer. Portable sources must not include <windows.h>.

set(CORE_SOURCES
  include/textutil.cpp
  language/langformat.cpp
  hotkeys/hotkeyitem.cpp
  # actions (portable)
  actions/actionline.cpp
  actions/volumemath.cpp
  actions/disctray.cpp
  # xml (portable)
  include/xmldom.cpp
  include/xml.cpp
  predefinedtext/placeholders.cpp
  # predefinedtext (portable)
)

# Tests of the portable core: built natively (sanitizers) and for Windows (run under Wine).
set(CORE_TESTS
  tests/include/test_textutil.cpp
  tests/language/test_langformat.cpp
  tests/hotkeys/test_hotkeyitem.cpp
  # actions tests (portable)
  tests/actions/test_actionline.cpp
  tests/actions/test_volumemath.cpp
  tests/actions/test_disctray.cpp
  # xml tests (portable)
  tests/include/test_xmldom.cpp
  tests/include/test_xml.cpp
  tests/predefinedtext/test_placeholders.cpp
  # predefinedtext tests (portable)
)

# Fuzz targets: tests/fuzz/fuzz_NAME.cpp, with seed files in FUZZ_SEEDS_NAME.
set(FUZZ_TARGETS
  # actions fuzz
  actionline
  # xml fuzz
  xml
)
set(FUZZ_SEEDS_xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/utf8.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/backup.hkb
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/store-be.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/cp1252.xml
)
set(FUZZ_SEEDS_actionline
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/sleep.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/volume.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/plain.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/openfolder.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/shellexecute.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/eject_unclosed.txt
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
  # actions (Win32)
  actions/actionline_win.cpp
  actions/devicecontrol.cpp
  include/keyinput.cpp
  include/msgwait.cpp
  predefinedtext/clipboard.cpp
  predefinedtext/textstore.cpp
  # predefinedtext (Win32)
)

# Windows unit and integration tests, each group its own executable, run under Wine.
set(WIN_TEST_GROUPS include language hotkeys)
list(APPEND WIN_TEST_GROUPS actions)
set(WIN_TESTS_actions tests/actions/test_devicecontrol.cpp tests/actions/test_actionline_win.cpp)
# Further groups append themselves: list(APPEND WIN_TEST_GROUPS actions) and set(WIN_TESTS_actions ...).
set(WIN_TESTS_include tests/include/test_miscfuns.cpp)
list(APPEND WIN_TEST_GROUPS xml)
set(WIN_TESTS_xml tests/include/test_xmlcodec_win.cpp)
set(WIN_TESTS_language tests/language/test_language.cpp)
set(WIN_TESTS_hotkeys tests/hotkeys/test_hotkeyfiles.cpp)
list(APPEND WIN_TEST_GROUPS predefinedtext)
set(WIN_TESTS_predefinedtext tests/predefinedtext/test_clipboard.cpp tests/predefinedtext/test_textstore.cpp tests/predefinedtext/clipboard_support.cpp)

# End-to-end tests start the real Quorvel.exe from the assembled program folder.
set(E2E_TESTS
  tests/e2e/test_startup.cpp
  tests/e2e/e2e_support.cpp
  tests/e2e/test_paste.cpp
  tests/predefinedtext/clipboard_support.cpp
)
