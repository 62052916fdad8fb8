// The modal options dialog: its pages behind a tab control, OK and Cancel. It remembers the
// current tab in Tmp.ini; OK applies the pages, and the owner then registers all hotkeys again.
#pragma once

#include <windows.h>

#include <utility>

#include "app/opt_general.h"
#include "include/DialogBase.h"
#include "include/TabCtrlPageManager.h"
#include "include/handles.h"

// DoModal(owner): IDOK or IDCANCEL; -1 when the template cannot be loaded.
class COptionDlg : public CDialogBase {
 public:
  explicit COptionDlg(OptionsEnvironment env);

  const COptionPage_General& GeneralPage() const { return m_general; }

 private:
  BOOL OnInitDialog() override;
  void OnDpiChanged() override { SetTabImages(); }
  void SetTabImages();
  LRESULT OnNotify(const NMHDR& hdr) override;
  void OnOK() override;

  void SetUpTabs();
  void SelectRememberedTab();

  OptionsEnvironment m_env;
  CTabCtrlPageManager m_tabs;
  // Lives until the tab control that shows it is gone, so it is freed with this object.
  ImageListHandle m_images;
  COptionPage_General m_general;
};

// Shows the options dialog modally over owner; returns IDOK (the caller then re-registers all hotkeys) or IDCANCEL.
INT_PTR ShowOptionsDialog(HWND owner);
