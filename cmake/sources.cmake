# Source lists, one file per part of the program in cmake/modules/. Each module appends to:
#   CORE_SOURCES  portable sources (no <windows.h>): built natively (sanitizers) and for Windows
#   CORE_TESTS    tests of the portable sources: run natively and under Wine
#   FUZZ_TARGETS  names NAME of tests/fuzz/fuzz_NAME.cpp, with seed files in FUZZ_SEEDS_NAME
#   WIN_SOURCES   sources that touch Win32 (everything but the entry point)
#   WIN_TESTS     tests of the Windows code, run under Wine
#   E2E_TESTS     tests that start the real Quorvel.exe
#   WIN_TEST_SUPPORT  helpers of those tests
# All Windows tests are one program; each test source runs as a ctest entry of its own (see
# windows.cmake), which needs the fixtures named in WINE_TEST_FIXTURES_<folder>.<name> beside the
# Wine session.
set(CORE_SOURCES)
set(CORE_TESTS)
set(FUZZ_TARGETS)
set(WIN_SOURCES)
set(WIN_TESTS)
set(E2E_TESTS)
set(WIN_TEST_SUPPORT)
file(GLOB QUORVEL_MODULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/modules/*.cmake)
foreach(module ${QUORVEL_MODULES})
  include(${module})
endforeach()
