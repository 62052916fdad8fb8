# The manage hotkeys dialog and the hotkey editor, with the list rules they share.
list(APPEND CORE_SOURCES hotkeys/hotkeylistlogic.cpp)
list(APPEND CORE_TESTS tests/hotkeys/test_hotkeylistlogic.cpp)
list(APPEND WIN_SOURCES
  hotkeys/hotkeydlgsupport.cpp
  hotkeys/addHotkeydlg.cpp
  hotkeys/opt_hotkeys.cpp)
list(APPEND WIN_TESTS tests/hotkeys/test_hotkeydlgs.cpp)
list(APPEND WIN_TEST_SUPPORT tests/hotkeys/hotkeydlg_driver.cpp tests/include/controls_support.cpp)
