// The action editor: a kind list and, below it, the page of the chosen kind. OK checks the page,
// builds one action line and remembers the kind for the next time; the dialog never loads a line.
//
// The hotkey editor uses it through
//   std::string line;
//   if (ComposeActionLine(owner, line)) ...append line...
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "actions/aapage.h"
#include "include/BoldTextStatic.h"
#include "include/ConvertComboBox.h"
#include "include/DialogBase.h"
#include "include/PageManager.h"

class CAddActionDlg : public CDialogBase {
 public:
  // The CD-ROM drives ("D:") for the disc tray pages.
  using DriveLister = std::function<std::vector<std::string>()>;
  // Opens the suggestion mail (a mailto address).
  using UrlOpener = std::function<void(const std::string& url)>;

  CAddActionDlg();
  CAddActionDlg(DriveLister drives, UrlOpener opener);

  // IDOK when a line was built, IDCANCEL otherwise; -1 when the template cannot be loaded.
  INT_PTR DoModal(HWND owner);
  // The line built by the last OK; empty until then.
  const std::string& GetActionLine() const { return m_line; }
  // The page of a list index while the dialog is open; null for no page.
  HWND PageWindow(int index) const { return m_pageManager.GetPage(index); }

 private:
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  BOOL OnInitDialog() override;
  BOOL OnEraseBackground(HDC dc) override;
  HBRUSH OnControlColour(UINT msg, HDC dc) override;
  void OnCommand(int id, int code) override;
  void OnKindChanged();
  void OnOK() override;
  void OnSuggest();

  void SetUpHeadings();
  void CreatePages();
  void SelectRememberedKind();
  void ShowProblem(const std::string& messageKey);

  DriveLister m_listDrives;
  UrlOpener m_openUrl;
  std::string m_line;
  CBoldTextStatic m_kindHeading, m_pageHeading;
  CConvertComboBox m_kindList;
  CPageManager m_pageManager;
  // One per kind list entry, in list order; the five simple kinds share a class, not an object.
  std::vector<std::unique_ptr<CAddActionPage>> m_pages;
};

// Opens the action editor over owner; on OK stores the built line and returns true.
bool ComposeActionLine(HWND owner, std::string& line);
