// Hosts one child dialog page per tab of a tab control; each tab's item parameter is its page, so
// the tab order is the page order and the current tab shows its page.
//
// The tab control tells its parent, not itself, when the user picks another tab. The owner dialog
// passes those notifications back from its WM_NOTIFY handler:
//   case WM_NOTIFY: return CTabCtrlPageManager::ReflectNotify(reinterpret_cast<NMHDR*>(lParam));
#pragma once

#include <windows.h>

#include <string>

#include "include/PageManager.h"

// A WM_NOTIFY handed back to the control that sent it (the usual reflected-notification number).
constexpr UINT kMsgReflectedNotify = 0x2000 + WM_NOTIFY;

class CTabCtrlPageManager {
 public:
  CTabCtrlPageManager() = default;
  CTabCtrlPageManager(const CTabCtrlPageManager&) = delete;
  CTabCtrlPageManager& operator=(const CTabCtrlPageManager&) = delete;
  ~CTabCtrlPageManager();

  // Takes over the tab control. False when the window is missing or this manager already holds one.
  bool SubclassWindow(HWND tab);
  void UnsubclassWindow();
  HWND hwnd() const { return m_hWnd; }

  // Inserts a tab at `position` carrying `page`; the page is hidden and made a control parent so
  // Tab walks through its controls. Returns the new tab's index, -1 on failure.
  int AddPage(int position, const std::string& title, HWND page, int image = -1);
  // As TCM_SETCURSEL: hides the current page, selects the tab, shows and places its page. An index
  // without a tab changes nothing and gives false.
  bool SelectPage(int index);
  HWND GetPage(int index) const;
  int GetCurSel() const;
  int GetTabCount() const;

  // For the owner's WM_NOTIFY: sends the notification back to its control. Returns the control's
  // answer (FALSE lets a tab change go ahead).
  static LRESULT ReflectNotify(const NMHDR* header);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnSetCurSel(WPARAM index);
  LRESULT OnDeleteAllItems();
  LRESULT OnDeleteItem(WPARAM index);
  LRESULT OnReflectedNotify(const NMHDR* header);
  LRESULT CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam);

  bool IsTabIndex(WPARAM index) const;
  HWND PageOfTab(int index) const;
  int TabHeight() const;
  void LayOutPage(HWND page) const;
  void ShowCurrentPage() const;
  void HideCurrentPage() const;

  HWND m_hWnd = nullptr;
};
