// Finds the hotkey dialogs of this thread for the scripts that drive them (tests/support/modal.h).
#pragma once

#include <windows.h>

#include "tests/support/modal.h"

// Visible windows of this thread.
HWND FindEditor();      // the hotkey editor
HWND FindManager();     // the manage dialog
HWND FindMessageBox();  // a message box
