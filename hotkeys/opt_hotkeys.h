// The manage hotkeys dialog: all hotkeys in one list with a check box each (enabled or not), and
// the commands to add, edit, delete and reorder them. The list is a working copy; OK rewrites the
// whole hotkeys folder, Cancel drops every change. In add mode the dialog opens the editor for a new
// hotkey at once and closes right after it, unless saving failed: then it shows the list with the
// new hotkey in it, so nothing is lost and the user can try again.
#pragma once

#include <windows.h>

#include <string>

#include "hotkeys/addHotkeydlg.h"
#include "hotkeys/hotkeyfiles.h"
#include "hotkeys/hotkeylistlogic.h"
#include "include/BoldTextStatic.h"
#include "include/DialogBase.h"
#include "include/IcoListView.h"
#include "include/IconButton.h"

class CManageHotkeysDlg : public hkdlg::CListDialog {
 public:
  explicit CManageHotkeysDlg(ActionComposer composeAction = nullptr);

  void SetAddMode(bool addMode) { m_addMode = addMode; }
  // The folder the list comes from and OK writes (the application's hotkeys folder by default).
  void SetFolder(std::string folder) { m_folder = std::move(folder); }
  // How OK writes each value (the profile functions by default); lets a test make the save fail.
  void SetWriter(IniWriteFn write) { m_write = std::move(write); }
  // How OK moves the files in and out (MoveFileA by default); lets a test make a move fail.
  void SetMover(FileMoveFn move) { m_move = std::move(move); }

  // DoModal(owner): IDOK when the hotkeys folder was rewritten, IDCANCEL otherwise; -1 without
  // the template.

 private:
  using Handle = hklist::RowStore<HotkeyDefinition>::Handle;

  BOOL OnInitDialog() override;
  void OnDpiChanged() override;
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& hdr) override;

  void SetUpControls();
  void LoadList();
  // Appends a row that owns `record`; the new row's index, or -1 (the record is then freed).
  int AppendRow(std::unique_ptr<HotkeyDefinition> record, bool checked);
  void FillRow(int row, const HotkeyDefinition& record);
  HotkeyDefinition* RecordOf(int row) const;
  // True when the editor ended with OK and a row was added.
  bool OnAdd();
  void OnEdit();
  void UpdateButtons();
  // Writes the folder from the list; on failure tells the user and keeps everything as it is.
  bool Save();
  void OnOK() override;

  bool m_addMode = false;
  std::string m_folder;
  IniWriteFn m_write;
  FileMoveFn m_move;

  hklist::RowStore<HotkeyDefinition> m_records;  // the record of each row
  CBoldTextStatic m_header;
  CIcoListView m_list;
  CIconButton m_up, m_down;
};

// Shows the manage dialog modally; add mode opens the editor for a new hotkey at once. Returns IDOK
// when the hotkeys folder was rewritten (the caller then re-registers), IDCANCEL otherwise.
INT_PTR ShowManageHotkeysDialog(HWND owner, bool addMode, const ActionComposer& composeAction);
