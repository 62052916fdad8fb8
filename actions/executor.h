// Runs one action line on the UI thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Performs the line's command; silent on every failure. `owner` (the main window) receives the
// volume notification and owns the dialogs and the text selector.
void ExecuteActionLine(HWND owner, const std::string& line);

// Shows the shutdown dialog modally; installed by start-up (tests install a stand-in).
using DialogRunner = std::function<void(HWND owner)>;
DialogRunner SetShutdownDialogRunner(DialogRunner runner);

// Called with each line just before it runs (benchmarks and traces); none by default.
using ActionTrace = std::function<void(const std::string& line)>;
ActionTrace SetActionTrace(ActionTrace trace);

// The icons the volume notification carries.
constexpr int kIconVolume = 224;
constexpr int kIconMuted = 223;
