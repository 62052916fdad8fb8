# Paths, INI and file helpers, language table, hotkey records and files, start-up and main window.
list(APPEND CORE_SOURCES
  include/textutil.cpp
  include/wholefile.cpp
  language/langformat.cpp
  hotkeys/hotkeyitem.cpp)
list(APPEND CORE_TESTS
  tests/include/test_textutil.cpp
  tests/include/test_wholefile.cpp
  tests/language/test_langformat.cpp
  tests/hotkeys/test_hotkeyitem.cpp)
list(APPEND WIN_SOURCES
  include/miscfuns.cpp
  include/DialogBase.cpp
  include/GlobalData.cpp
  include/keyinput.cpp
  include/msgwait.cpp
  language/language.cpp
  hotkeys/hotkeyfiles.cpp
  app/maindlg.cpp
  app/msgloop.cpp
  app/startup.cpp
  app/hotkeyreg.cpp
  app/traymessagedlg.cpp
  app/trayicon.cpp)
list(APPEND WIN_TESTS tests/include/test_miscfuns.cpp)
list(APPEND WIN_TESTS tests/language/test_language.cpp)
list(APPEND WIN_TESTS tests/hotkeys/test_hotkeyfiles.cpp)
list(APPEND E2E_TESTS tests/e2e/test_startup.cpp tests/e2e/test_hotkeys.cpp)
list(APPEND WIN_TEST_SUPPORT tests/e2e/e2e_support.cpp)
# The check every language text passes, fuzzed with what a translator might write.
list(APPEND FUZZ_TARGETS langformat)
set(FUZZ_SEEDS_langformat
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/langformat/three-texts.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/langformat/numbers.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/langformat/refused.txt)
