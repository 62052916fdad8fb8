#include "hotkeys/hotkeyitem.h"

#include <cstdio>

#include "language/langformat.h"

unsigned HotkeyModifiers(const HotkeyDefinition& def) {
  return (def.Alt ? kModAlt : 0) | (def.Ctrl ? kModControl : 0) | (def.Shift ? kModShift : 0) |
         (def.Win ? kModWin : 0);
}

void BuildKeyNameTable(KeyNameTable& table) {
  table.clear();
  table[8] = "Backspace";
  table[9] = "Tab";
  table[13] = "Enter";
  table[32] = "Space";
  table[33] = "Page Up";
  table[34] = "Page Down";
  table[35] = "End";
  table[36] = "Home";
  table[37] = "Left";
  table[38] = "Up";
  table[39] = "Right";
  table[40] = "Down";
  table[45] = "Insert";
  table[46] = "Delete";
  for (int c = '0'; c <= '9'; ++c) table[c] = std::string(1, static_cast<char>(c));
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = std::string(1, static_cast<char>(c));
  for (int n = 0; n <= 9; ++n) table[96 + n] = "NUM " + std::to_string(n);
  table[106] = "*";
  table[107] = "NUM +";
  table[109] = "NUM -";
  table[110] = ".";
  table[111] = "/";
  for (int n = 1; n <= 24; ++n) table[111 + n] = "F" + std::to_string(n);
  table[144] = "NUM Lock";
}

std::string GetKeyName(int vk) {
  KeyNameTable table;
  BuildKeyNameTable(table);
  auto it = table.find(vk);
  return it != table.end() ? it->second : std::to_string(vk);
}

std::string FormatHotkeyText(int alt, int ctrl, int shift, int win, int vk) {
  std::string s;
  if (ctrl) s += "CTRL+";
  if (shift) s += "SHIFT+";
  if (alt) s += "ALT+";
  if (win) s += "WIN+";
  return s + GetKeyName(vk);
}

bool IsLanguageKeyDescription(const std::string& description) { return lang::IsLanguageKey(description); }

std::string DescriptionText(const std::string& description,
                            const std::function<std::string(const std::string&)>& languageText) {
  return IsLanguageKeyDescription(description) ? languageText(description) : description;
}

std::string HotkeyFileName(int position) {
  char name[32];
  std::snprintf(name, sizeof name, "Hotkey-%05d.ini", position);
  return name;
}

std::vector<std::string> ActionLinesFromEntries(const std::vector<std::string>& entries,
                                                const std::function<bool(unsigned char)>& isLeadByte) {
  std::vector<std::string> lines;
  for (const std::string& entry : entries) {
    size_t eq = std::string::npos;
    for (size_t i = 0; i < entry.size(); ++i) {
      if (entry[i] == '=') {
        eq = i;
        break;
      }
      if (isLeadByte && isLeadByte(static_cast<unsigned char>(entry[i])) && i + 1 < entry.size()) ++i;
    }
    std::string line = eq == std::string::npos ? entry : entry.substr(eq + 1);
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

void NormalizeHotkeyDefinition(HotkeyDefinition& def) {
  for (int32_t* flag : {&def.Alt, &def.Ctrl, &def.Shift, &def.Win, &def.Enable}) *flag = *flag ? 1 : 0;
}

bool IsRegistrableKey(int vk) { return vk >= 0 && vk <= 254; }
