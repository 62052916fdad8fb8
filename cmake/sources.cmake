# Source lists, by layer. Portable sources must not include <windows.h>.

set(CORE_SOURCES
  include/textutil.cpp
  language/langformat.cpp
  hotkeys/hotkeyitem.cpp
  # actions (portable)
  # xml (portable)
  # predefinedtext (portable)
)

# Tests of the portable core: built natively (sanitizers) and for Windows (run under Wine).
set(CORE_TESTS
  tests/include/test_textutil.cpp
  tests/language/test_langformat.cpp
  tests/hotkeys/test_hotkeyitem.cpp
  # actions tests (portable)
  # xml tests (portable)
  # predefinedtext tests (portable)
)

# Fuzz targets: tests/fuzz/fuzz_NAME.cpp, with seed files in FUZZ_SEEDS_NAME.
set(FUZZ_TARGETS
  # actions fuzz
  # xml fuzz
)

# Everything that touches Win32, apart from the entry point.
set(WIN_SOURCES
  include/miscfuns.cpp
  include/GlobalData.cpp
  language/language.cpp
  hotkeys/hotkeyfiles.cpp
  app/maindlg.cpp
  app/msgloop.cpp
  app/startup.cpp
  # actions (Win32)
  # predefinedtext (Win32)
)

# Windows unit and integration tests, each group its own executable, run under Wine.
set(WIN_TEST_GROUPS include language hotkeys)
# Further groups append themselves: list(APPEND WIN_TEST_GROUPS actions) and set(WIN_TESTS_actions ...).
set(WIN_TESTS_include tests/include/test_miscfuns.cpp)
set(WIN_TESTS_language tests/language/test_language.cpp)
set(WIN_TESTS_hotkeys tests/hotkeys/test_hotkeyfiles.cpp)

# End-to-end tests start the real Quorvel.exe from the assembled program folder.
set(E2E_TESTS
  tests/e2e/test_startup.cpp
  tests/e2e/e2e_support.cpp
)
