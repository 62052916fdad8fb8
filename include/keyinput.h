// Synthesised key chords that stay correct while the user still holds the hotkey's modifiers.
#pragma once

#include <windows.h>

#include <initializer_list>

// Waits briefly for the user to let go of Ctrl, Shift, Alt and Win, lifts any still held (so a
// hotkey's Alt cannot turn a Ctrl+V into Ctrl+Alt+V), then sends the modifiers and the key as one
// chord. Nothing is pressed again afterwards: what the user let go stays up.
void SendKeyChord(std::initializer_list<BYTE> modifiers, BYTE key);

// How long SendKeyChord waits for held modifiers before it lifts them.
constexpr DWORD kModifierReleaseWaitMs = 300;
