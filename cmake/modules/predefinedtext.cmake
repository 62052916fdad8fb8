# The predefined text store, placeholders and insertion through the clipboard.
list(APPEND CORE_SOURCES predefinedtext/placeholders.cpp)
list(APPEND CORE_TESTS tests/predefinedtext/test_placeholders.cpp)
list(APPEND WIN_SOURCES predefinedtext/clipboard.cpp predefinedtext/textstore.cpp predefinedtext/PredefinedTextSelector.cpp)
list(APPEND WIN_TESTS tests/predefinedtext/test_clipboard.cpp tests/predefinedtext/test_textstore.cpp)
list(APPEND WIN_TEST_SUPPORT tests/predefinedtext/clipboard_support.cpp)
list(APPEND E2E_TESTS tests/e2e/test_paste.cpp)
list(APPEND WIN_TEST_SUPPORT tests/predefinedtext/clipboard_support.cpp)
