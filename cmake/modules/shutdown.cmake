# The shutdown dialog with its power operations and uptime line; the page managers.
list(APPEND CORE_SOURCES actions/uptime.cpp actions/poweractions.cpp)
list(APPEND CORE_TESTS tests/actions/test_uptime.cpp tests/actions/test_poweractions.cpp)
list(APPEND WIN_SOURCES
  include/PageManager.cpp
  include/TabCtrlPageManager.cpp
  actions/poweractions_win.cpp
  actions/closecomputerdlg.cpp)
list(APPEND WIN_TESTS tests/include/test_pagemanager.cpp tests/actions/test_closecomputerdlg.cpp)
