# The options dialog with its general page and the autostart value.
list(APPEND CORE_SOURCES app/optionsplan.cpp)
list(APPEND CORE_TESTS tests/app/test_optionsplan.cpp)
list(APPEND WIN_SOURCES app/opt_general.cpp app/OptionDlg.cpp)
list(APPEND WIN_TESTS tests/app/test_optiondlg.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)
