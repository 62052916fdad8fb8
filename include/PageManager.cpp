#include "include/PageManager.h"

#include <commctrl.h>

CPageManager::~CPageManager() { UnsubclassWindow(); }

bool CPageManager::SubclassWindow(HWND frame) {
  if (m_hWnd || !::IsWindow(frame)) return false;
  if (!::SetWindowSubclass(frame, SubclassProc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  m_hWnd = frame;
  return true;
}

void CPageManager::UnsubclassWindow() {
  if (!m_hWnd) return;
  ::RemoveWindowSubclass(m_hWnd, SubclassProc, reinterpret_cast<UINT_PTR>(this));
  m_hWnd = nullptr;
}

void CPageManager::AddPage(HWND page) { m_Pages.push_back(page); }

HWND CPageManager::GetPage(int index) const {
  return index >= 0 && IsPageIndex(static_cast<WPARAM>(index)) ? m_Pages[static_cast<size_t>(index)] : nullptr;
}

bool CPageManager::SelectPage(int index) {
  if (index < 0 || !IsPageIndex(static_cast<WPARAM>(index))) return false;
  if (index == m_current) return true;
  if (HWND old = GetPage(m_current)) {
    ::ShowWindow(old, SW_HIDE);
    ::SendMessageA(old, kMsgPageHidden, 0, 0);
  }
  HWND page = m_Pages[static_cast<size_t>(index)];
  RECT rc = {};
  if (m_hWnd) ::GetClientRect(m_hWnd, &rc);
  // The show right after paints it; a repaint here would only flicker.
  ::MoveWindow(page, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
  ::ShowWindow(page, SW_SHOW);
  m_current = index;
  ::SendMessageA(page, kMsgPageShown, 0, 0);
  return true;
}

void CPageManager::OnSize(int width, int height) {
  if (HWND page = GetPage(m_current)) ::MoveWindow(page, 0, 0, width, height, TRUE);
}

LRESULT CALLBACK CPageManager::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
  auto* self = reinterpret_cast<CPageManager*>(data);
  if (msg == WM_NCDESTROY) {
    // The frame goes first: let go of it so the destructor has nothing left to undo.
    self->UnsubclassWindow();
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  return self->WindowProc(msg, wParam, lParam);
}

LRESULT CPageManager::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_ERASEBKGND:
      return TRUE;  // a page covers the frame
    case kMsgPageGet:
      return reinterpret_cast<LRESULT>(IsPageIndex(wParam) ? m_Pages[wParam] : nullptr);
    case kMsgPageSelect:
      if (IsPageIndex(wParam)) SelectPage(static_cast<int>(wParam));
      return 0;
    default:
      break;
  }
  return ::DefSubclassProc(m_hWnd, msg, wParam, lParam);
}
