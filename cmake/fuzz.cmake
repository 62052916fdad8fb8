# Fuzz targets: each source defines LLVMFuzzerTestOneInput. In the native build they run under
# the sanitizers through a bounded driver (ctest); tools/fuzz.sh builds them with libFuzzer.
# quorvel_fuzz_target(NAME SOURCE [SEED_FILES...])
function(quorvel_fuzz_target name source)
  add_executable(fuzz_${name} ${source} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_driver.cpp)
  target_link_libraries(fuzz_${name} PRIVATE quorvel_core)
  add_test(NAME native.fuzz.${name} COMMAND fuzz_${name} ${ARGN})
endfunction()

foreach(target ${FUZZ_TARGETS})
  quorvel_fuzz_target(${target} tests/fuzz/fuzz_${target}.cpp ${FUZZ_SEEDS_${target}})
endforeach()
