// The editor of the predefined text store: the entry tree on the left, the selected entry's text
// on the right, icon buttons to add, delete, rename and reorder entries and to clear or select the
// text. Every change goes into its own copy of the document at once; the file is written only by
// Save or OK, and then in one step (a temporary file replaces the old one), so a failed write leaves
// the file as it was and the dialog open with every edit.
//
// The program shows it with
//   ShowTextShortcutsDialog(owner);
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "include/BoldTextStatic.h"
#include "include/DialogBase.h"
#include "include/IconButton.h"
#include "include/handles.h"
#include "include/xml.h"

class CTextShortcutsDlg : public CDialogBase {
 public:
  // How the file looked when the dialog loaded it.
  enum class StoreState {
    Ready,    // a store with its <config> element: entries can be added and saved
    Missing,  // no file yet: an empty store that the first save writes, with its folder
    Damaged,  // a file that does not read as a store: an empty tree and a notice, the file untouched
  };
  enum class SaveOutcome { Saved, NothingToSave, Failed };

  // Loads `fileName` (by default the program's predefined text file).
  explicit CTextShortcutsDlg(std::string fileName);
  CTextShortcutsDlg();
  ~CTextShortcutsDlg() override;

  // IDOK or IDCANCEL; -1 when the template cannot be loaded.
  INT_PTR DoModal(HWND owner);

  StoreState State() const { return m_state; }
  // True while the document holds changes that are not in the file yet.
  bool IsModified() const { return m_modified; }
  const CXmlDocument& Document() const { return m_doc; }

 private:
  struct Anchored {
    int id;
    RECT initial;  // in client coordinates of the dialog at its initial size
    bool moveX, moveY, growX, growY;
  };

  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  BOOL OnInitDialog() override;
  // Not the base's: Enter and Esc first end a name being edited in the tree.
  void OnCommand(int id, int code) override;
  LRESULT OnNotify(const NMHDR& hdr) override;
  void OnSize();
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  BOOL OnEraseBackground(HDC dc) override;
  HBRUSH OnControlColour(UINT msg, HDC dc) override;

  void SetUpHeader();
  void SetUpButtons();
  void SetUpTree();
  // The tree's icons and item height, and the text box's font, at the window's dpi.
  void ScaleTree();
  void SetEditFont();
  void OnDpiChanged() override;
  void RecordLayout();
  void ShowDamagedNotice();

  // The entry behind a tree item, and the element its entry hangs from (<config> at the top).
  xml::NodePtr ElementOf(HTREEITEM item) const;
  xml::NodePtr ParentElementOf(HTREEITEM item) const;

  void ShowText(HTREEITEM item);
  void SetBoxText(const std::string& text);
  std::string BoxText() const;
  void StoreBoxText();
  bool OnBeginLabelEdit();
  void OnEndLabelEdit(HTREEITEM item, const std::string& name);
  void ShowAddMenu(HTREEITEM reference, POINT screen);
  void AddEntry(HTREEITEM reference, bool asChild);
  void DeleteSelected();
  void RenameSelected();
  void MoveSelected(bool up);
  void ClearText();
  void SelectText();
  bool IsEditingLabel() const;
  void OnOk();
  void OnCancel() override;
  SaveOutcome SaveStore();
  SaveOutcome SaveAndReport();
  void RefillChildren(HTREEITEM item, const xml::NodePtr& element);

  std::string m_fileName;
  CXmlDocument m_doc;
  StoreState m_state = StoreState::Missing;
  bool m_modified = false;
  // Above zero while the program itself puts a text into the box, whose change notices are then
  // no edits of the user's and must not be stored.
  int m_settingText = 0;
  bool m_filling = false;  // while the tree is filled

  BrushHandle m_brush;
  FontHandle m_editFont;
  CBoldTextStatic m_header;
  CIconButton m_buttons[7];
  HWND m_tree = nullptr;
  HIMAGELIST m_images = nullptr;
  std::vector<Anchored> m_layout;
  SIZE m_initialClient = {0, 0};
  SIZE m_minTrack = {0, 0};
  int m_layoutDpi = dpi::kBaseDpi;  // the dpi of the rectangles above
};

// Shows the editor modally over owner; returns IDOK or IDCANCEL.
INT_PTR ShowTextShortcutsDialog(HWND owner);
