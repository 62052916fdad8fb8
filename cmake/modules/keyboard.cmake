# Every dialog from the keyboard, as a user presses the keys: access keys, Tab order, and the keys of
# the lists, the tree and the shutdown buttons.
list(APPEND WIN_TESTS tests/app/test_keyboard_dialogs.cpp)
