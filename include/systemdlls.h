// Functions of system DLLs the program needs only now and then: the file dialogs (comdlg32.dll)
// and sound, CD trays and the mixer (winmm.dll). Each DLL is loaded on its first use, so the
// program starts without them (see CLazyDll). Every wrapper fails as its function would when
// the DLL cannot be loaded.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>

#include <string>

#include "include/LazyDll.h"

// GetOpenFileNameA / GetSaveFileNameA.
BOOL ShowOpenFileDialog(OPENFILENAMEA* ofn);
BOOL ShowSaveFileDialog(OPENFILENAMEA* ofn);

// winmm.dll, for the mixer functions the volume control calls through Function<>().
CLazyDll& WinmmDll();
// mciSendStringA without a reply.
MCIERROR SendMciString(const std::string& command);
// sndPlaySoundA.
BOOL PlaySoundFile(const std::string& path, UINT flags);
