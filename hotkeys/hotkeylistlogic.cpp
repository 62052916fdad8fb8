#include "hotkeys/hotkeylistlogic.h"

namespace hklist {

std::string ActionSummary(const std::vector<std::string>& lines,
                          const std::function<std::string(const std::string&)>& describe) {
  std::string summary;
  for (const std::string& line : lines) {
    summary += describe ? describe(line) : line;
    summary += "; ";
  }
  return summary;
}

std::string ProposedDescription(const std::string& baseText, int number) {
  // Built rather than formatted: the base text is a translation and may hold a percent sign.
  return baseText + " (" + std::to_string(number) + ")";
}

int SelectionAfterDelete(int deleted, int remaining) {
  if (remaining <= 0 || deleted < 0) return -1;
  return deleted < remaining ? deleted : remaining - 1;
}

int MoveTarget(int selected, int count, bool up) {
  if (selected < 0 || selected >= count) return -1;
  int target = up ? selected - 1 : selected + 1;
  return target >= 0 && target < count ? target : -1;
}

RowButtons RowButtonStates(int selected, int count) {
  RowButtons b;
  bool has = selected >= 0 && selected < count;
  b.edit = b.remove = has;
  b.up = b.down = has && count >= 2;
  return b;
}

std::vector<OfferedKey> OfferedKeyList(int alt, int ctrl, int shift, int win, const HotkeyDefinition& original,
                                       const TakenTest& taken) {
  auto on = [](int flag) { return flag ? 1 : 0; };
  bool sameModifiers = on(alt) == on(original.Alt) && on(ctrl) == on(original.Ctrl) &&
                       on(shift) == on(original.Shift) && on(win) == on(original.Win);
  KeyNameTable table;
  BuildKeyNameTable(table);
  std::vector<OfferedKey> offered;
  for (const auto& [code, name] : table) {
    bool own = sameModifiers && original.vk >= 0 && code == original.vk;
    if (own || !taken || !taken(on(alt), on(ctrl), on(shift), on(win), code)) offered.push_back({code, name});
  }
  return offered;
}

bool IsOffered(const std::vector<OfferedKey>& offered, int code) {
  for (const OfferedKey& k : offered) {
    if (k.code == code) return true;
  }
  return false;
}

int InitialKeySelection(const std::vector<OfferedKey>& offered, int vk) {
  if (vk == -1) {
    for (const OfferedKey& k : offered) {
      if (k.code >= 65) return k.code;
    }
    return -1;
  }
  return IsOffered(offered, vk) ? vk : -1;
}

int KeepKeySelection(const std::vector<OfferedKey>& offered, int previous) {
  return previous >= 0 && IsOffered(offered, previous) ? previous : -1;
}

}  // namespace hklist
