// The hotkey editor: modifier keys, the key, the ordered action lines and the description of one
// hotkey. Modal; it never touches the disk. The key box offers only keys that are free with the
// checked modifiers, so the user cannot pick a combination another program already holds.
//
//   CAddHotkeyDlg dlg(composeAction);
//   dlg.SetCaption(GetLanguageText("L0018"));
//   dlg.SetHotkey(record);
//   if (dlg.DoModal(owner) == IDOK) record = dlg.Hotkey();
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "hotkeys/hotkeydlgsupport.h"
#include "hotkeys/hotkeyitem.h"
#include "hotkeys/hotkeylistlogic.h"
#include "include/BoldTextStatic.h"
#include "include/ConvertComboBox.h"
#include "include/DialogBase.h"
#include "include/IcoListView.h"
#include "include/IconButton.h"


class CAddHotkeyDlg : public hkdlg::CListDialog {
 public:
  explicit CAddHotkeyDlg(ActionComposer composeAction = nullptr);

  void SetCaption(std::string caption) { m_caption = std::move(caption); }
  // The hotkey to edit; vk -1 makes it a new one.
  void SetHotkey(const HotkeyDefinition& hotkey) { m_hotkey = hotkey; }
  // The edited hotkey after OK; unchanged after Cancel.
  const HotkeyDefinition& Hotkey() const { return m_hotkey; }

  // DoModal(owner): IDOK or IDCANCEL; -1 when the template cannot be loaded.

 private:
  BOOL OnInitDialog() override;
  void OnDpiChanged() override;
  BOOL OnEraseBackground(HDC dc) override;
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& hdr) override;

  void SetUpControls();
  void CheckModifiers();
  // Fills the key box for the checked modifiers; keeps the selected key when it is still offered.
  void RefillKeys(bool opening);
  int SelectedKeyCode() const;
  bool IsChecked(int id) const;
  void AppendActionRow(const std::string& line);
  void OnAddAction();
  void UpdateButtons();
  void OnOK() override;

  std::string m_caption;
  HotkeyDefinition m_hotkey;

  hklist::RowStore<std::string> m_lines;  // the raw line of each action row
  CBoldTextStatic m_picture, m_modifierLabel, m_keyLabel, m_actionsLabel, m_descriptionLabel;
  CConvertComboBox m_keys;
  CIcoListView m_actions;
  CIconButton m_addAction, m_removeAction, m_up, m_down;
};
