#include "app/hotkeyreg.h"

#include "actions/executor.h"
#include "hotkeys/hotkeyfiles.h"
#include "app/maindlg.h"
#include "include/miscfuns.h"
#include "language/language.h"

namespace {

constexpr UINT kAtomBase = 0xC000;

void ShowMessage(HWND owner, const std::string& message) {
  ::MessageBoxA(owner, message.c_str(), ProductCaption().c_str(), MB_ICONEXCLAMATION);
}

}  // namespace

std::string HotkeyAtomText(size_t position) {
  return "{1BD8F572-D1D4-44d0-9308-27D9BB1F9273}-" + std::to_string(position + 1);
}

void CHotkeyTable::Report(HWND owner, const char* key, const std::string& hotkeyText) const {
  std::string message = FormatLanguageText(key, {lang::FormatArg::Str(hotkeyText)});
  if (m_report) {
    m_report(owner, message);
  } else {
    ShowMessage(owner, message);
  }
}

int CHotkeyTable::RegisterAll(HWND window) {
  m_stats = {};
  ListHotkeyFiles(m_items, m_folder.empty() ? HotkeysFolder() : m_folder);
  m_hasAtom.assign(m_items.size(), false);
  for (size_t i = 0; i < m_items.size(); ++i) {
    _HotkeyItem& item = m_items[i];
    ++m_stats.total;
    HotkeyDefinition def = ReadHotkeySettings(item.path);
    if (!def.Enable) {
      ++m_stats.disabled;
      continue;
    }
    ATOM atom = ::GlobalAddAtomA(HotkeyAtomText(i).c_str());
    m_hasAtom[i] = atom != 0;
    item.id = static_cast<uint16_t>(atom - kAtomBase);
    if (atom && ::RegisterHotKey(window, item.id, HotkeyModifiers(def), static_cast<UINT>(def.vk))) {
      item.registered = 1;
      ++m_stats.registered;
    } else {
      item.registered = 0;
      ++m_stats.failed;
      Report(window, "L0030", FormatHotkeyText(def));
    }
  }
  return static_cast<int>(m_items.size());
}

int CHotkeyTable::UnregisterAll(HWND window) {
  for (size_t i = 0; i < m_items.size(); ++i) {
    _HotkeyItem& item = m_items[i];
    if (i < m_hasAtom.size() && m_hasAtom[i]) {
      ::GlobalDeleteAtom(static_cast<ATOM>(item.id + kAtomBase));
      m_hasAtom[i] = false;
    }
    if (!item.registered) continue;
    if (::UnregisterHotKey(window, item.id)) {
      item.registered = 0;
    } else {
      Report(window, "L0031", FormatHotkeyText(ReadHotkeySettings(item.path)));
    }
  }
  return static_cast<int>(m_items.size());
}

std::optional<_HotkeyItem> CHotkeyTable::FindById(WPARAM id) const {
  for (const _HotkeyItem& item : m_items) {
    if (item.registered == 1 && item.id == static_cast<uint16_t>(id & 0xFFFF)) return item;
  }
  return std::nullopt;
}

void RunHotkeyActions(HWND owner, const _HotkeyItem& item) {
  std::vector<std::string> lines;
  ReadActionLines(item.path, lines);
  for (const std::string& line : lines) {
    // The owner goes when the program ends (during a Sleep, say): the rest of the list is dropped.
    if (!::IsWindow(owner)) break;
    ExecuteActionLine(owner, line);
  }
}

bool IsHotkeyCombinationTaken(HWND window, int alt, int ctrl, int shift, int win, int vk) {
  if (ctrl && (vk == 'C' || vk == 'V' || vk == 'X')) return true;
  if (alt && vk == VK_F4) return true;
  ATOM atom = ::GlobalAddAtomA(CMiscFuns::NewGuidText().c_str());
  if (!atom) return true;
  HotkeyDefinition d;
  d.Alt = alt;
  d.Ctrl = ctrl;
  d.Shift = shift;
  d.Win = win;
  int testId = atom - kAtomBase;
  bool free = ::RegisterHotKey(window, testId, HotkeyModifiers(d), static_cast<UINT>(vk)) != FALSE;
  if (free) ::UnregisterHotKey(window, testId);
  ::GlobalDeleteAtom(atom);
  return !free;
}
