# Native build: the portable core and its tests, under the sanitizers.
add_executable(core_tests ${CORE_TESTS})
target_link_libraries(core_tests PRIVATE quorvel_core doctest_main)
add_test(NAME native.core COMMAND core_tests)

# Every shipped language file is checked against the table of placeholders.
add_executable(language_file_check tests/language/check_language_files.cpp)
target_link_libraries(language_file_check PRIVATE quorvel_core)
add_test(NAME native.language_files
         COMMAND language_file_check ${CMAKE_SOURCE_DIR}/language/lkeys.tsv ${CMAKE_SOURCE_DIR}/language)

include(cmake/fuzz.cmake)

# The XML benchmark (bench/xml) compares the document model with pugixml, when that is installed;
# nothing else uses pugixml.
find_path(PUGIXML_INCLUDE pugixml.hpp)
find_library(PUGIXML_LIBRARY pugixml)
if(PUGIXML_INCLUDE AND PUGIXML_LIBRARY)
  add_executable(xml_bench bench/xml_bench.cpp)
  target_include_directories(xml_bench PRIVATE ${PUGIXML_INCLUDE})
  target_link_libraries(xml_bench PRIVATE quorvel_core ${PUGIXML_LIBRARY})
endif()
