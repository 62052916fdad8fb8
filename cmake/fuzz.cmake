# Fuzz targets: each source defines LLVMFuzzerTestOneInput. In the native build they run under
# the sanitizers through a bounded driver (ctest); with QUORVEL_LIBFUZZER (clang, tools/fuzz.sh)
# they are libFuzzer programs for open-ended runs.
option(QUORVEL_LIBFUZZER "Build fuzz targets with clang's libFuzzer" OFF)
if(QUORVEL_LIBFUZZER)
  target_compile_options(quorvel_core PRIVATE -fsanitize=fuzzer-no-link)
endif()

# quorvel_fuzz_target(NAME SOURCE [SEED_FILES...])
function(quorvel_fuzz_target name source)
  if(QUORVEL_LIBFUZZER)
    add_executable(fuzz_${name} ${source})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(fuzz_${name} ${source} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_driver.cpp)
    add_test(NAME native.fuzz.${name} COMMAND fuzz_${name} ${ARGN})
  endif()
  target_link_libraries(fuzz_${name} PRIVATE quorvel_core)
endfunction()

foreach(target ${FUZZ_TARGETS})
  quorvel_fuzz_target(${target} tests/fuzz/fuzz_${target}.cpp ${FUZZ_SEEDS_${target}})
endforeach()
