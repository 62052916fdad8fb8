// The hotkeys folder: one INI file per hotkey, listed in name order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hotkeys/hotkeyitem.h"

// Application folder + "\hotkeys".
std::string HotkeysFolder();

// Empties `items` and appends one entry per *.ini file of the folder, in ascending name order.
void ListHotkeyFiles(std::vector<_HotkeyItem>& items, const std::string& folder = HotkeysFolder());

// Reads one file; an unreadable or damaged file gives the defaults (nothing enabled, no lines).
HotkeyDefinition ReadHotkeyFile(const std::string& path);
// The same without the action lines, for registration, which needs only the keys and the flag.
HotkeyDefinition ReadHotkeySettings(const std::string& path);

// Appends the file's action lines in file order.
void ReadActionLines(const std::string& path, std::vector<std::string>& lines);

// Writes one value; replaceable so tests can make a write fail half-way.
using IniWriteFn = std::function<bool(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& path)>;

// Moves one file; replaceable so tests can make a move fail (MoveFileA by default).
using FileMoveFn = std::function<bool(const std::string& from, const std::string& to)>;

// Replaces the folder's hotkey files by `hotkeys` (Hotkey-00001.ini and onwards, in order).
// The new set is written aside first and swapped in only when every write succeeded; on any
// failure the old files are put back as they were and the result is false. Should some old
// file not go back, the folder beside the hotkeys folder that keeps it stays, and its path is
// given in `keptOldFiles` (empty otherwise); a later start tries again to put it back. The
// folders a save works in beside the hotkeys folder have unique names and a marker of their own:
// no folder of the user's is ever used, merged or removed.
bool WriteAllHotkeyFiles(const std::vector<HotkeyDefinition>& hotkeys, const std::string& folder = HotkeysFolder(),
                         const IniWriteFn& write = nullptr, const FileMoveFn& move = nullptr,
                         std::string* keptOldFiles = nullptr);

// Finishes or undoes a save that was cut off (crash, power loss) so the folder holds one whole
// set: the new one if it was complete, else the old one. Does nothing when no save was cut off.
void RecoverInterruptedHotkeySave(const std::string& folder = HotkeysFolder(), const FileMoveFn& move = nullptr);
