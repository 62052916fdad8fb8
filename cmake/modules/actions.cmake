# Action lines, volume and disc tray control.
list(APPEND CORE_SOURCES actions/actionline.cpp actions/volumemath.cpp actions/disctray.cpp)
list(APPEND CORE_TESTS tests/actions/test_actionline.cpp tests/actions/test_volumemath.cpp tests/actions/test_disctray.cpp)
list(APPEND FUZZ_TARGETS actionline)
set(FUZZ_SEEDS_actionline
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/sleep.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/volume.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/plain.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/openfolder.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/shellexecute.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/actionline/eject_unclosed.txt)
list(APPEND WIN_SOURCES actions/actionline_win.cpp actions/devicecontrol.cpp actions/executor.cpp)
list(APPEND WIN_TESTS tests/actions/test_devicecontrol.cpp tests/actions/test_actionline_win.cpp)
