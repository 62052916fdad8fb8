# The owner-drawn report list with inline markup in its cells.
list(APPEND CORE_SOURCES include/listmarkup.cpp)
list(APPEND CORE_TESTS tests/include/test_listmarkup.cpp)
list(APPEND FUZZ_TARGETS listmarkup)
set(FUZZ_SEEDS_listmarkup
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/listmarkup/icon.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/listmarkup/percent.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/listmarkup/colours.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/listmarkup/malformed.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/listmarkup/numbers.txt)
list(APPEND WIN_SOURCES include/OwnerDrawnListView.cpp include/IcoListView.cpp)
list(APPEND WIN_TESTS tests/include/test_listview_win.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)
