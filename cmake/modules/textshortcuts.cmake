# The text shortcuts editor and its document edits.
list(APPEND CORE_SOURCES predefinedtext/textedit.cpp)
list(APPEND CORE_TESTS tests/predefinedtext/test_textedit.cpp)
list(APPEND WIN_SOURCES predefinedtext/opt_textshortcuts.cpp)
list(APPEND WIN_TESTS tests/predefinedtext/test_opt_textshortcuts.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)
