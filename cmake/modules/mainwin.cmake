# The main window's skin and version lines, the update check, the about box.
list(APPEND CORE_SOURCES app/updateversion.cpp app/skinmath.cpp)
list(APPEND CORE_TESTS tests/app/test_updateversion.cpp tests/app/test_skinmath.cpp)
list(APPEND WIN_SOURCES app/updatecheck.cpp app/aboutdlg.cpp)
list(APPEND WIN_TESTS tests/app/test_mainwin_win.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)
list(APPEND E2E_TESTS tests/e2e/test_mainwin.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)

if(WIN32)
# A web server on 127.0.0.1 for the update check: files with a newer, an equal and a garbage
# version; started and stopped (by process id) around the tests that need it.
set(HTTP_FIXTURE_DIR ${CMAKE_BINARY_DIR}/http-fixture)
add_test(NAME http.fixture.start COMMAND ${CMAKE_SOURCE_DIR}/tools/http-fixture.sh start ${HTTP_FIXTURE_DIR} ${PROJECT_VERSION})
add_test(NAME http.fixture.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/http-fixture.sh stop ${HTTP_FIXTURE_DIR})
set_tests_properties(http.fixture.start PROPERTIES FIXTURES_SETUP http)
set_tests_properties(http.fixture.stop PROPERTIES FIXTURES_CLEANUP http)
string(REPLACE "/" "\\\\" HTTP_FIXTURE_DIR_WIN "Z:${HTTP_FIXTURE_DIR}")
set(WINE_TEST_FIXTURES_app.mainwin_win http)
set(WINE_TEST_FIXTURES_e2e.mainwin http)
endif()
# Every window at 96, 120, 144 and 192 dpi, each in a child process of the tests.
list(APPEND E2E_TESTS tests/e2e/test_dpi.cpp)
