// Entry point. The command line is not interpreted and the main window always starts hidden.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunQuorvel(instance); }
