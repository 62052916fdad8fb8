# The predefined text store, placeholders and insertion through the clipboard.
list(APPEND CORE_SOURCES predefinedtext/placeholders.cpp)
list(APPEND CORE_TESTS tests/predefinedtext/test_placeholders.cpp)
list(APPEND WIN_SOURCES predefinedtext/clipboard.cpp predefinedtext/textstore.cpp predefinedtext/PredefinedTextSelector.cpp)
list(APPEND WIN_TEST_GROUPS predefinedtext)
set(WIN_TESTS_predefinedtext
  tests/predefinedtext/test_clipboard.cpp
  tests/predefinedtext/test_textstore.cpp
  tests/predefinedtext/clipboard_support.cpp)
list(APPEND E2E_TESTS tests/e2e/test_paste.cpp tests/predefinedtext/clipboard_support.cpp)
