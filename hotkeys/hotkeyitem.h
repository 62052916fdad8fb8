// The hotkey records and the words in which a hotkey is shown. Portable: no <windows.h>.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Full content of one hotkey, as its file stores it and the dialogs edit it.
struct HotkeyDefinition {
  int32_t Alt = 0;
  int32_t Ctrl = 0;
  int32_t Shift = 0;
  int32_t Win = 0;
  int32_t vk = -1;  // -1: no key chosen yet; a file may hold any number, which is kept as it is
  int32_t Enable = 0;
  std::string Description;
  std::vector<std::string> ActionLines;
};

// One entry of the hotkey table: where the file is and under which id it is registered.
struct _HotkeyItem {
  std::string path;
  int32_t registered = 0;
  uint16_t id = 0;
};

// The RegisterHotKey modifier bits; no other bit is ever set.
constexpr unsigned kModAlt = 1, kModControl = 2, kModShift = 4, kModWin = 8;
unsigned HotkeyModifiers(const HotkeyDefinition& def);

using KeyNameTable = std::map<int, std::string>;

void BuildKeyNameTable(KeyNameTable& table);
// The table's name of the key, or the code as a signed decimal number.
std::string GetKeyName(int vk);
std::string FormatHotkeyText(int alt, int ctrl, int shift, int win, int vk);
inline std::string FormatHotkeyText(const HotkeyDefinition& d) {
  return FormatHotkeyText(d.Alt, d.Ctrl, d.Shift, d.Win, d.vk);
}

// A description of five characters beginning with L (either case) names a language text.
bool IsLanguageKeyDescription(const std::string& description);
std::string DescriptionText(const std::string& description,
                            const std::function<std::string(const std::string&)>& languageText);

// The name the writer gives the hotkey at `position` (from 1): Hotkey-00001.ini and onwards.
std::string HotkeyFileName(int position);

// Action lines from the entries of an [Action] section: each entry loses everything up to and
// including its first "=" (found with `isLeadByte` so a double-byte character is never split),
// and empty results are dropped.
std::vector<std::string> ActionLinesFromEntries(const std::vector<std::string>& entries,
                                                const std::function<bool(unsigned char)>& isLeadByte);

// Makes a record read from a file of unknown quality safe to use: flags become 0 or 1. The key code
// stays as the file has it, so a save writes back what was read; a code outside the virtual-key
// range is shown as its number and never registered (IsRegistrableKey).
void NormalizeHotkeyDefinition(HotkeyDefinition& def);

// True for a code the system can register as a hotkey's key: the virtual keys 0 to 254.
bool IsRegistrableKey(int vk);
