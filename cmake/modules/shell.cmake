# End-to-end tests of the shell: the keyboard in its windows, the tray icon's sequences, hotkey
# dispatch meeting the user's other doings, and the end of the program while work is under way.
list(APPEND E2E_TESTS tests/e2e/test_keyboard.cpp tests/e2e/test_exit.cpp tests/e2e/test_tray.cpp tests/e2e/test_dispatch.cpp)
# The exit tests need the web server (its slow file holds a download open).
set(WINE_TEST_FIXTURES_e2e.exit http)
