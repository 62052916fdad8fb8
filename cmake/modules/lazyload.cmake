# Libraries the program loads only when it first needs them: GDI+ for pictures, the file dialogs,
# sound and the mixer.
list(APPEND WIN_SOURCES include/Picture.cpp include/systemdlls.cpp)
