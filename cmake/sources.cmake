# Source lists, one file per part of the program in cmake/modules/. Each module appends to:
#   CORE_SOURCES  portable sources (no <windows.h>): built natively (sanitizers) and for Windows
#   CORE_TESTS    tests of the portable sources: run natively and under Wine
#   FUZZ_TARGETS  names NAME of tests/fuzz/fuzz_NAME.cpp, with seed files in FUZZ_SEEDS_NAME
#   WIN_SOURCES   sources that touch Win32 (everything but the entry point)
#   WIN_TEST_GROUPS and WIN_TESTS_<group>: Windows test programs run under Wine
#   E2E_TESTS     tests that start the real Quorvel.exe
set(CORE_SOURCES)
set(CORE_TESTS)
set(FUZZ_TARGETS)
set(WIN_SOURCES)
set(WIN_TEST_GROUPS)
set(E2E_TESTS)
file(GLOB QUORVEL_MODULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/modules/*.cmake)
foreach(module ${QUORVEL_MODULES})
  include(${module})
endforeach()
