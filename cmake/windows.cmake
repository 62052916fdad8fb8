# Cross build: the program, its program folder, and the tests that run under Wine.
enable_language(RC)
# GDI+, the file dialogs, winmm and the download libraries are not among them: the program loads
# each when it first needs it (include/LazyDll.h), so it starts without them.
set(WIN_LIBS
  -static -static-libgcc -static-libstdc++
  comctl32 shell32 advapi32 version shlwapi psapi ole32 oleaut32 uuid)
# The tests call some of those directly (PNG files made with GDI+, sounds, the URL cache).
set(WIN_TEST_LIBS gdiplus winmm comdlg32 urlmon wininet)

configure_file(resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h)
set(RES_INCLUDE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/resources)

add_library(quorvel_win STATIC ${WIN_SOURCES})
# Most Windows sources parse the same large headers: parse them once.
set(QUORVEL_WIN_PCH <windows.h> <commctrl.h> <shellapi.h> <algorithm> <functional> <map> <memory> <string> <vector>)
target_precompile_headers(quorvel_win PRIVATE ${QUORVEL_WIN_PCH})
target_include_directories(quorvel_win PUBLIC ${CMAKE_SOURCE_DIR} ${RES_INCLUDE})
target_compile_definitions(quorvel_win PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX)
target_link_libraries(quorvel_win PUBLIC quorvel_core ${WIN_LIBS})

set(QUORVEL_RC ${CMAKE_SOURCE_DIR}/resources/Quorvel.rc)
# The resource compiler's output depends on the icons, bitmaps and manifest the script names.
file(GLOB QUORVEL_RC_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.bmp
     ${CMAKE_SOURCE_DIR}/resources/*.manifest ${CMAKE_SOURCE_DIR}/resources/*.rc)
set_source_files_properties(${QUORVEL_RC} PROPERTIES INCLUDE_DIRECTORIES "${RES_INCLUDE}" OBJECT_DEPENDS "${QUORVEL_RC_FILES}")

add_executable(Quorvel WIN32 app/Quorvel.cpp ${QUORVEL_RC})
target_link_libraries(Quorvel PRIVATE quorvel_win)
# Shipped stripped: symbols would only make it larger and slower to load.
target_link_options(Quorvel PRIVATE -s)

# The program folder, laid out exactly as a user unpacks it, whenever the program is linked; and its
# data files (a language file, a picture) again whenever one of them changes, with or without the
# program. Building Quorvel alone does both.
set(PROGRAM_DIR ${CMAKE_BINARY_DIR}/Quorvel)
add_custom_command(TARGET Quorvel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR} -DDST=${PROGRAM_DIR} -DEXE=$<TARGET_FILE:Quorvel>
          -P ${CMAKE_SOURCE_DIR}/cmake/assemble.cmake
  VERBATIM)
file(GLOB PROGRAM_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/language/*.txt ${CMAKE_SOURCE_DIR}/pictures/*
     ${CMAKE_SOURCE_DIR}/sounds/* ${CMAKE_SOURCE_DIR}/predefinedtext/*.xml ${CMAKE_SOURCE_DIR}/resources/Settings.ini)
set(PROGRAM_DATA_STAMP ${CMAKE_BINARY_DIR}/program-data.stamp)
add_custom_command(OUTPUT ${PROGRAM_DATA_STAMP}
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR} -DDST=${PROGRAM_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/assemble.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${PROGRAM_DATA_STAMP}
  DEPENDS ${PROGRAM_DATA} ${CMAKE_SOURCE_DIR}/cmake/assemble.cmake
  VERBATIM)
add_custom_target(program_data DEPENDS ${PROGRAM_DATA_STAMP})
add_dependencies(Quorvel program_data)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Quorvel-${PROJECT_VERSION})
install(DIRECTORY ${PROGRAM_DIR}/ DESTINATION Quorvel)
include(CPack)

# Wine world for the tests: a few Xvfb displays and prefixes per ctest run, started and stopped by
# fixtures. Each test process takes one session for itself (tools/wine-run.sh), so tests that use
# the desktop, the foreground window, the clipboard or global hotkeys never meet.
set(WINE_SESSIONS 3 CACHE STRING "Wine sessions for the tests; run ctest with as many jobs")
set(WINE_POINTER ${CMAKE_BINARY_DIR}/wine-session.pointer)
add_test(NAME wine.session.start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${WINE_POINTER} ${WINE_SESSIONS})
add_test(NAME wine.session.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${WINE_POINTER})
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine)

# Z: is the root of the Linux file system inside Wine.
string(REPLACE "/" "\\\\" PROGRAM_DIR_WIN "Z:${PROGRAM_DIR}")

# A stand-in for the user's program: a window with an edit control that the tests paste into.
add_executable(paste_target WIN32 tests/helpers/paste_target.cpp)
target_link_libraries(paste_target PRIVATE -static)
string(REPLACE "/" "\\\\" PASTE_TARGET_WIN "Z:${CMAKE_BINARY_DIR}/paste_target.exe")

# Every Windows test in one program, built once; each test source is a ctest entry of its own that
# runs only that file's cases (doctest's source-file filter), in a process and Wine session of its
# own. The portable core's tests run once more under Wine, as one entry.
list(REMOVE_DUPLICATES WIN_TEST_SUPPORT)
# Helpers every Windows test may use (tests/support/): files, pixels and pictures, modal dialogs,
# the keyboard.
set(TEST_SUPPORT ${CMAKE_SOURCE_DIR}/tests/support/files.cpp ${CMAKE_SOURCE_DIR}/tests/support/capture.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/modal.cpp ${CMAKE_SOURCE_DIR}/tests/support/programfolder.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/keyboard.cpp)
add_executable(quorvel_tests ${CORE_TESTS} ${WIN_TESTS} ${E2E_TESTS} ${WIN_TEST_SUPPORT} ${TEST_SUPPORT} ${QUORVEL_RC})
target_link_libraries(quorvel_tests PRIVATE quorvel_win doctest_main ${WIN_TEST_LIBS})
# Pictures the tests take for a person to look at: build/win/shots/<area>/.
string(REPLACE "/" "\\\\" SHOT_DIR_WIN "Z:${CMAKE_BINARY_DIR}/shots")
target_compile_definitions(quorvel_tests PRIVATE QUORVEL_PROGRAM_DIR="${PROGRAM_DIR_WIN}"
                                                 QUORVEL_PASTE_TARGET="${PASTE_TARGET_WIN}"
                                                 QUORVEL_SHOT_DIR="${SHOT_DIR_WIN}")
if(HTTP_FIXTURE_DIR_WIN)
  target_compile_definitions(quorvel_tests PRIVATE QUORVEL_HTTP_FIXTURE_DIR="${HTTP_FIXTURE_DIR_WIN}")
endif()
# The end-to-end tests start the program and the paste target.
add_dependencies(quorvel_tests Quorvel paste_target)
target_precompile_headers(quorvel_tests PRIVATE ${QUORVEL_WIN_PCH} <doctest/doctest.h>)

# quorvel_wine_test(NAME FILTER...): the cases of the test sources matching FILTER.
function(quorvel_wine_test name)
  list(JOIN ARGN "," filter)
  add_test(NAME wine.${name} COMMAND quorvel_tests --source-file=${filter})
  set_tests_properties(wine.${name} PROPERTIES
    FIXTURES_REQUIRED "wine;${WINE_TEST_FIXTURES_${name}}"
    ENVIRONMENT "QUORVEL_WINE_POINTER=${WINE_POINTER}"
    # A filter that matches nothing would pass without testing anything.
    FAIL_REGULAR_EXPRESSION "test cases: +0 [|]"
    TIMEOUT 300)
endfunction()

set(core_filter)
foreach(source ${CORE_TESTS})
  list(APPEND core_filter "*${source}")
endforeach()
quorvel_wine_test(core ${core_filter})
foreach(source ${WIN_TESTS} ${E2E_TESTS})
  # tests/e2e/test_mainwin.cpp -> wine.e2e.mainwin
  get_filename_component(folder ${source} DIRECTORY)
  get_filename_component(folder ${folder} NAME)
  get_filename_component(stem ${source} NAME_WE)
  string(REGEX REPLACE "^test_" "" stem ${stem})
  quorvel_wine_test(${folder}.${stem} "*${source}")
endforeach()

# Pictures of every control to look at (tools/gallery.sh builds and runs it); not part of the tests.
add_executable(quorvel_gallery WIN32 EXCLUDE_FROM_ALL tools/gallery/gallery.cpp tests/include/controls_support.cpp
                                                     tests/support/capture.cpp ${QUORVEL_RC})
target_link_libraries(quorvel_gallery PRIVATE quorvel_win)
target_compile_definitions(quorvel_gallery PRIVATE QUORVEL_PROGRAM_DIR="${PROGRAM_DIR_WIN}")
add_dependencies(quorvel_gallery Quorvel)

# Benchmarks (bench/): built with the program, run by the scripts beside their sources.
add_executable(trivial_win32 WIN32 bench/trivial_win32.cpp)
target_link_libraries(trivial_win32 PRIVATE -static)
add_executable(startup_bench bench/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE quorvel_win)
add_executable(hotkey_bench bench/hotkey_bench.cpp)
target_link_libraries(hotkey_bench PRIVATE quorvel_win)
add_executable(textedit_bench bench/textedit_bench.cpp ${QUORVEL_RC})
target_link_libraries(textedit_bench PRIVATE quorvel_win)
add_executable(paste_bench bench/paste_bench.cpp)
target_link_libraries(paste_bench PRIVATE quorvel_win)
add_executable(columnfill_bench bench/columnfill_bench.cpp)
target_link_libraries(columnfill_bench PRIVATE quorvel_win)
