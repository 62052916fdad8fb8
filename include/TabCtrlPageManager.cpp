#include "include/TabCtrlPageManager.h"

#include <commctrl.h>

namespace {
constexpr int kPageInset = 5;
}

CTabCtrlPageManager::~CTabCtrlPageManager() { UnsubclassWindow(); }

bool CTabCtrlPageManager::SubclassWindow(HWND tab) {
  if (m_hWnd || !::IsWindow(tab)) return false;
  if (!::SetWindowSubclass(tab, SubclassProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  m_hWnd = tab;
  return true;
}

void CTabCtrlPageManager::UnsubclassWindow() {
  if (!m_hWnd) return;
  ::RemoveWindowSubclass(m_hWnd, SubclassProc, reinterpret_cast<UINT_PTR>(this));
  m_hWnd = nullptr;
}

LRESULT CTabCtrlPageManager::CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::DefSubclassProc(m_hWnd, msg, wParam, lParam);
}

int CTabCtrlPageManager::AddPage(int position, const std::string& title, HWND page, int image) {
  if (!m_hWnd) return -1;
  ::ShowWindow(page, SW_HIDE);
  ::SetWindowLongPtrA(page, GWL_EXSTYLE, ::GetWindowLongPtrA(page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  std::string text = title;  // the item takes a non-const pointer but only reads it
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = &text[0];
  item.iImage = image;
  item.lParam = reinterpret_cast<LPARAM>(page);
  return static_cast<int>(::SendMessageA(m_hWnd, TCM_INSERTITEMA, static_cast<WPARAM>(position),
                                         reinterpret_cast<LPARAM>(&item)));
}

int CTabCtrlPageManager::GetTabCount() const {
  return m_hWnd ? static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

int CTabCtrlPageManager::GetCurSel() const {
  return m_hWnd ? static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0)) : -1;
}

bool CTabCtrlPageManager::IsTabIndex(WPARAM index) const {
  return index < static_cast<WPARAM>(GetTabCount());
}

HWND CTabCtrlPageManager::PageOfTab(int index) const {
  if (index < 0 || !IsTabIndex(static_cast<WPARAM>(index))) return nullptr;
  TCITEMA item = {};
  item.mask = TCIF_PARAM;
  if (!::SendMessageA(m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) {
    return nullptr;
  }
  return reinterpret_cast<HWND>(item.lParam);
}

HWND CTabCtrlPageManager::GetPage(int index) const { return PageOfTab(index); }

bool CTabCtrlPageManager::SelectPage(int index) {
  if (index < 0 || !IsTabIndex(static_cast<WPARAM>(index))) return false;
  OnSetCurSel(static_cast<WPARAM>(index));
  return true;
}

int CTabCtrlPageManager::TabHeight() const {
  // Every tab of a row is as high as the first. When the tabs are scrolled, a tab left of the view
  // may report no rectangle; the current one is always in view.
  for (int index : {0, GetCurSel()}) {
    RECT rc = {};
    if (index >= 0 && ::SendMessageA(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc))) {
      return rc.bottom - rc.top;
    }
  }
  return 0;
}

void CTabCtrlPageManager::LayOutPage(HWND page) const {
  if (!::IsWindow(page)) return;
  RECT rc = {};
  ::GetClientRect(m_hWnd, &rc);
  int rowsHeight = 0;
  if (GetTabCount() > 0) {
    int rows = static_cast<int>(::SendMessageA(m_hWnd, TCM_GETROWCOUNT, 0, 0));
    rowsHeight = rows * TabHeight();
  }
  int left = rc.left + kPageInset;
  int top = rc.top + kPageInset + rowsHeight;
  int right = rc.right - kPageInset;
  int bottom = rc.bottom - kPageInset;
  ::MoveWindow(page, left, top, right - left, bottom - top, TRUE);
}

void CTabCtrlPageManager::HideCurrentPage() const {
  if (HWND page = PageOfTab(GetCurSel())) ::ShowWindow(page, SW_HIDE);
}

void CTabCtrlPageManager::ShowCurrentPage() const {
  HWND page = PageOfTab(GetCurSel());
  if (!page) return;
  LayOutPage(page);
  ::ShowWindow(page, SW_SHOW);
}

LRESULT CTabCtrlPageManager::OnSetCurSel(WPARAM index) {
  HideCurrentPage();
  LRESULT previous = CallOriginal(TCM_SETCURSEL, index, 0);
  // A refused index leaves the old tab current: its page comes back.
  ShowCurrentPage();
  return previous;
}

LRESULT CTabCtrlPageManager::OnDeleteAllItems() {
  int count = GetTabCount();
  for (int i = 0; i < count; ++i) {
    if (HWND page = PageOfTab(i)) ::ShowWindow(page, SW_HIDE);
  }
  return CallOriginal(TCM_DELETEALLITEMS, 0, 0);
}

LRESULT CTabCtrlPageManager::OnDeleteItem(WPARAM index) {
  // A page stays visible only while its tab is current; without its tab it never is again.
  if (index < static_cast<WPARAM>(GetTabCount())) {
    if (HWND page = PageOfTab(static_cast<int>(index))) ::ShowWindow(page, SW_HIDE);
  }
  return CallOriginal(TCM_DELETEITEM, index, 0);
}

LRESULT CTabCtrlPageManager::OnReflectedNotify(const NMHDR* header) {
  if (header && header->hwndFrom == m_hWnd) {
    if (header->code == static_cast<UINT>(TCN_SELCHANGING)) {
      HideCurrentPage();
    } else if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
      ShowCurrentPage();
    }
  }
  return FALSE;
}

LRESULT CTabCtrlPageManager::ReflectNotify(const NMHDR* header) {
  if (!header || !::IsWindow(header->hwndFrom)) return 0;
  return ::SendMessageA(header->hwndFrom, kMsgReflectedNotify, header->idFrom, reinterpret_cast<LPARAM>(header));
}

LRESULT CALLBACK CTabCtrlPageManager::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                   DWORD_PTR data) {
  auto* self = reinterpret_cast<CTabCtrlPageManager*>(data);
  if (msg == WM_NCDESTROY) {
    self->UnsubclassWindow();
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  return self->WindowProc(msg, wParam, lParam);
}

LRESULT CTabCtrlPageManager::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: {
      LRESULT r = CallOriginal(msg, wParam, lParam);
      if (HWND page = PageOfTab(GetCurSel())) LayOutPage(page);
      return r;
    }
    case TCM_SETCURSEL:
      return OnSetCurSel(wParam);
    case TCM_DELETEALLITEMS:
      return OnDeleteAllItems();
    case TCM_DELETEITEM:
      return OnDeleteItem(wParam);
    case kMsgReflectedNotify:
      return OnReflectedNotify(reinterpret_cast<const NMHDR*>(lParam));
    case kMsgTabSelect:
      if (IsTabIndex(wParam)) OnSetCurSel(wParam);
      return 0;
    case kMsgTabGetPage:
      return reinterpret_cast<LRESULT>(IsTabIndex(wParam) ? PageOfTab(static_cast<int>(wParam)) : nullptr);
    default:
      return CallOriginal(msg, wParam, lParam);
  }
}
