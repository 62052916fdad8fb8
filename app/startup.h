#pragma once

#include <windows.h>

// The program from start to end; returns the exit code (0 for a second instance).
int RunQuorvel(HINSTANCE instance);

// Asks the running instance to show its main window; false when none could be found.
bool NotifyRunningInstance();
