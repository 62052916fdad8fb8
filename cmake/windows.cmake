# Cross build: the program, its program folder, and the tests that run under Wine.
enable_language(RC)
set(WIN_LIBS
  -static -static-libgcc -static-libstdc++
  comctl32 gdiplus winmm shell32 comdlg32 advapi32 msimg32 version shlwapi urlmon wininet psapi
  ole32 oleaut32 uuid)

configure_file(resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h)
set(RES_INCLUDE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/resources)

add_library(quorvel_win STATIC ${WIN_SOURCES})
target_include_directories(quorvel_win PUBLIC ${CMAKE_SOURCE_DIR} ${RES_INCLUDE})
target_compile_definitions(quorvel_win PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX)
target_link_libraries(quorvel_win PUBLIC quorvel_core ${WIN_LIBS})

set(QUORVEL_RC ${CMAKE_SOURCE_DIR}/resources/Quorvel.rc)
set_source_files_properties(${QUORVEL_RC} PROPERTIES INCLUDE_DIRECTORIES "${RES_INCLUDE}")

add_executable(Quorvel WIN32 app/Quorvel.cpp ${QUORVEL_RC})
target_link_libraries(Quorvel PRIVATE quorvel_win)

# The program folder, laid out exactly as a user unpacks it.
set(PROGRAM_DIR ${CMAKE_BINARY_DIR}/Quorvel)
add_custom_command(TARGET Quorvel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR} -DDST=${PROGRAM_DIR} -DEXE=$<TARGET_FILE:Quorvel>
          -P ${CMAKE_SOURCE_DIR}/cmake/assemble.cmake
  VERBATIM)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Quorvel-${PROJECT_VERSION})
install(DIRECTORY ${PROGRAM_DIR}/ DESTINATION Quorvel)
include(CPack)

# Wine world for the tests: one Xvfb and prefix per ctest run, started and stopped by fixtures.
set(WINE_POINTER ${CMAKE_BINARY_DIR}/wine-session.pointer)
add_test(NAME wine.session.start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${WINE_POINTER})
add_test(NAME wine.session.stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${WINE_POINTER})
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine)

# Z: is the root of the Linux file system inside Wine.
string(REPLACE "/" "\\\\" PROGRAM_DIR_WIN "Z:${PROGRAM_DIR}")

function(quorvel_wine_test name)
  add_executable(${name} ${ARGN} ${CMAKE_SOURCE_DIR}/tests/winsupport.cpp ${QUORVEL_RC})
  target_link_libraries(${name} PRIVATE quorvel_win doctest_main)
  target_compile_definitions(${name} PRIVATE QUORVEL_PROGRAM_DIR="${PROGRAM_DIR_WIN}")
  if(HTTP_FIXTURE_DIR_WIN)
    target_compile_definitions(${name} PRIVATE QUORVEL_HTTP_FIXTURE_DIR="${HTTP_FIXTURE_DIR_WIN}")
  endif()
  add_test(NAME wine.${name} COMMAND ${name})
  # WIN_FIXTURES_<name>: further fixtures the program needs beside the Wine session.
  set_tests_properties(wine.${name} PROPERTIES
    FIXTURES_REQUIRED "wine;${WIN_FIXTURES_${name}}"
    ENVIRONMENT "QUORVEL_WINE_POINTER=${WINE_POINTER}"
    TIMEOUT 300)
endfunction()

quorvel_wine_test(core_tests ${CORE_TESTS})
foreach(group ${WIN_TEST_GROUPS})
  quorvel_wine_test(${group}_tests ${WIN_TESTS_${group}})
endforeach()
# A stand-in for the user's program: a window with an edit control that the tests paste into.
add_executable(paste_target WIN32 tests/helpers/paste_target.cpp)
target_link_libraries(paste_target PRIVATE -static)
string(REPLACE "/" "\\\\" PASTE_TARGET_WIN "Z:${CMAKE_BINARY_DIR}/paste_target.exe")

quorvel_wine_test(e2e_tests ${E2E_TESTS})
add_dependencies(e2e_tests Quorvel paste_target)
target_compile_definitions(e2e_tests PRIVATE QUORVEL_PASTE_TARGET="${PASTE_TARGET_WIN}")
# They share one desktop, foreground window and clipboard: one at a time.
set_tests_properties(wine.e2e_tests PROPERTIES RESOURCE_LOCK desktop)

# Benchmarks (bench/): built with the program, run by the scripts beside their sources.
add_executable(trivial_win32 WIN32 bench/trivial_win32.cpp)
target_link_libraries(trivial_win32 PRIVATE -static)
add_executable(startup_bench bench/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE quorvel_win)
add_executable(hotkey_bench bench/hotkey_bench.cpp)
target_link_libraries(hotkey_bench PRIVATE quorvel_win)
