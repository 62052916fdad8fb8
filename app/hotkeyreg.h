// The hotkey table of the main window: which hotkey files are registered with the system under
// which id, and the dispatch of a press to the action executor.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hotkeys/hotkeyitem.h"

struct HotkeyStats {
  int total = 0, registered = 0, failed = 0, disabled = 0;
};

// Shows a refused (un)registration to the user; replaceable so tests can watch it.
using HotkeyReportFn = std::function<void(HWND owner, const std::string& message)>;

class CHotkeyTable {
 public:
  // Rebuilds the table from the hotkeys folder and registers every enabled hotkey with `window`.
  // Each refusal is reported with the L0030 text. Returns the number of entries.
  int RegisterAll(HWND window);
  // Unregisters what the latest registration registered and gives back its atoms.
  int UnregisterAll(HWND window);
  // The first registered entry with this id (low 16 bits), as a copy: a nested re-registration
  // may rebuild the table while the entry's lines run.
  std::optional<_HotkeyItem> FindById(WPARAM id) const;

  const HotkeyStats& stats() const { return m_stats; }
  const std::vector<_HotkeyItem>& items() const { return m_items; }

  void SetReport(HotkeyReportFn report) { m_report = std::move(report); }
  void SetFolder(std::string folder) { m_folder = std::move(folder); }

 private:
  void Report(HWND owner, const char* key, const std::string& hotkeyText) const;

  std::vector<_HotkeyItem> m_items;
  std::vector<bool> m_hasAtom;  // parallel to m_items
  HotkeyStats m_stats;
  HotkeyReportFn m_report;
  std::string m_folder;  // empty: the application's hotkeys folder
};

// Runs the entry's action lines, read from its file now, one after the other, as long as `owner`
// (the main window) exists.
void RunHotkeyActions(HWND owner, const _HotkeyItem& item);

// True when the combination cannot be used: the system refuses it, or it is Ctrl+C/V/X or Alt+F4.
bool IsHotkeyCombinationTaken(HWND window, int alt, int ctrl, int shift, int win, int vk);

// The text whose atom gives the id of the entry at `position` (from 0).
std::string HotkeyAtomText(size_t position);
