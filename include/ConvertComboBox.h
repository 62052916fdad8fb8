// A combo box that maps key texts (file names, key codes) to the texts it shows, and whose window
// text selects an item of a drop-down list, so a dialog can set it by text.
#pragma once

#include <windows.h>

#include <string>

#include "include/SubclassWnd.h"
#include "include/controlmath.h"

class CConvertComboBox : public CSubclassWnd {
 public:
  CConvertComboBox() = default;
  ~CConvertComboBox() override;

  bool SubclassWindow(HWND combo);
  void UnsubclassWindow() { Detach(); }

  // Appends `display` to the list and records the pair; the new item's index, or CB_ERR.
  int AddItem(const std::string& key, const std::string& display);
  // The first key (in key order) shown as `display`, or `display` itself.
  std::string KeyOf(const std::string& display) const { return m_map.KeyOf(display); }
  // The text shown for `key`; empty when it was never added.
  std::string DisplayOf(const std::string& key) const { return m_map.DisplayOf(key); }
  // Selects the item shown for `key`; false when the key is unknown or no item shows its text.
  bool SelectKey(const std::string& key);
  // The key of the current selection (of the edit text for the other combo styles).
  std::string SelectedKey() const;
  // Empties the list and the map together.
  void ResetContent();
  const ctl::KeyTextMap& Map() const { return m_map; }

 private:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  ctl::KeyTextMap m_map;
};
