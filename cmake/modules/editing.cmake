# End-to-end use of the editing commands from the main window.
list(APPEND E2E_TESTS tests/e2e/test_editing.cpp)
