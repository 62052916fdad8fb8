# Backup files: export and import of all hotkeys and the predefined texts.
list(APPEND CORE_SOURCES hotkeys/backupformat.cpp)
list(APPEND CORE_TESTS tests/hotkeys/test_backupformat.cpp)
list(APPEND WIN_SOURCES hotkeys/backup.cpp)
list(APPEND WIN_TESTS tests/hotkeys/test_backup.cpp)
list(APPEND E2E_TESTS tests/e2e/test_store.cpp)
