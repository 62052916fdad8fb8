// Waiting on the UI thread without freezing it.
#pragma once

#include <windows.h>

// Waits `ms` milliseconds while dispatching this thread's messages, so windows stay responsive and
// synthesised input is delivered. A WM_QUIT that arrives ends the wait and is posted again for the
// message loop that owns it.
void WaitPumpingMessages(DWORD ms);
