# The action editor dialog and its pages; the rules of its kind list and OK are portable.
list(APPEND CORE_SOURCES actions/actioneditor.cpp)
list(APPEND CORE_TESTS tests/actions/test_actioneditor.cpp)
list(APPEND WIN_SOURCES
  actions/aapage.cpp
  actions/addactiondlg.cpp)
# Two executables: each closing dialog costs Wine a moment, and one alone would run long.
list(APPEND WIN_TESTS tests/actions/test_addactiondlg.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)
list(APPEND WIN_TESTS tests/actions/test_addactiondlg_ui.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)
