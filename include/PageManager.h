// Hosts child dialog pages in the area of a static control (the frame) and shows exactly one of them.
// The owner creates each page as a child of the frame, adds it in index order and picks pages by
// index; the manager only places, shows and hides them.
#pragma once

#include <windows.h>

#include <vector>

// Messages of the page managers and their pages.
constexpr UINT kMsgPageGet = 7137;       // to CPageManager: page of index wParam, or null
constexpr UINT kMsgPageSelect = 7138;    // to CPageManager: select index wParam; returns 0
constexpr UINT kMsgPageShown = 7139;     // to a page: it has just been shown
constexpr UINT kMsgPageHidden = 7140;    // to a page: it has just been hidden
constexpr UINT kMsgTabSelect = 32542;    // to CTabCtrlPageManager: select tab wParam; returns 0
constexpr UINT kMsgTabGetPage = 32543;   // to CTabCtrlPageManager: page of tab wParam, or null

class CPageManager {
 public:
  CPageManager() = default;
  CPageManager(const CPageManager&) = delete;
  CPageManager& operator=(const CPageManager&) = delete;
  ~CPageManager();

  // Takes over the frame. False when the window is missing or this manager already holds one.
  bool SubclassWindow(HWND frame);
  void UnsubclassWindow();
  HWND hwnd() const { return m_hWnd; }

  // Appends the page; its index is its position.
  void AddPage(HWND page);
  // Hides the current page and shows the page of `index` over the frame's client area. An index
  // that names no page changes nothing and gives false.
  bool SelectPage(int index);
  // Null when `index` names no page.
  HWND GetPage(int index) const;
  int GetCurSel() const { return m_current; }
  int GetPageCount() const { return static_cast<int>(m_Pages.size()); }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  bool IsPageIndex(WPARAM index) const { return index < m_Pages.size(); }
  void OnSize(int width, int height);

  HWND m_hWnd = nullptr;
  std::vector<HWND> m_Pages;  // owned by the owner dialog
  int m_current = -1;
};
