# Skinned buttons, link buttons, decorated statics, the converting combo box and the white dialog mix-in.
list(APPEND CORE_SOURCES include/controlmath.cpp include/dpimath.cpp)
list(APPEND CORE_TESTS tests/include/test_controlmath.cpp tests/include/test_dpimath.cpp)
list(APPEND WIN_SOURCES
  include/SubclassWnd.cpp
  include/controldraw.cpp
  include/dpi.cpp
  include/IconButton.cpp
  include/HyperLinkButton.cpp
  include/BoldTextStatic.cpp
  include/GradientLineStatic.cpp
  include/ConvertComboBox.cpp
  include/WhiteWnd.cpp)
list(APPEND WIN_TESTS tests/include/test_controls_win.cpp)
list(APPEND WIN_TEST_SUPPORT tests/include/controls_support.cpp)
