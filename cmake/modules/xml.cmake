# The XML document model and its wrapper.
list(APPEND CORE_SOURCES include/unicode.cpp include/xmldom.cpp include/xml.cpp)
list(APPEND CORE_TESTS tests/include/test_unicode.cpp tests/include/test_xmldom.cpp tests/include/test_xml.cpp)
list(APPEND FUZZ_TARGETS xml unicode)
set(FUZZ_SEEDS_xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/utf8.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/backup.hkb
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/store-be.xml
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/xml/cp1252.xml)
list(APPEND WIN_SOURCES include/codepage_win.cpp include/xmlcodec_win.cpp)
list(APPEND WIN_TESTS tests/include/test_xmlcodec_win.cpp)
set(FUZZ_SEEDS_unicode
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/unicode/mixed-utf8.txt
  ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/unicode/mixed-utf16.txt)
