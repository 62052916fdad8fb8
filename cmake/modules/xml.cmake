# The XML document model and its wrapper.
list(APPEND CORE_SOURCES include/xmldom.cpp include/xml.cpp)
list(APPEND CORE_TESTS tests/include/test_xmldom.cpp tests/include/test_xml.cpp)
list(APPEND FUZZ_TARGETS xml)
set(FUZZ_SEEDS_xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/utf8.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/backup.hkb
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/store-be.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/cp1252.xml)
list(APPEND WIN_SOURCES include/xmlcodec_win.cpp)
list(APPEND WIN_TESTS tests/include/test_xmlcodec_win.cpp)
