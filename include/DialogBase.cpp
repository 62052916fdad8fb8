#include "include/DialogBase.h"

#include "include/miscfuns.h"

namespace {

RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  RECT area = {};
  if (::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    area = monitor.rcWork;
  } else {
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  return area;
}

}  // namespace

void CentreWindow(HWND window, Centring where) {
  HWND owner = ::GetWindow(window, GW_OWNER);
  RECT area = WorkAreaOf(owner ? owner : window);
  RECT around = area;
  // A hidden or minimized owner has no place on screen worth centring on.
  if (where == Centring::OverOwner && owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &around);
  }
  RECT rc = {};
  ::GetWindowRect(window, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = around.left + ((around.right - around.left) - w) / 2;
  int y = around.top + ((around.bottom - around.top) - h) / 2;
  // Kept on the work area, so an owner near an edge does not push the buttons off screen; a window
  // larger than the area keeps its top left corner (and its caption) on it.
  if (x + w > area.right) x = area.right - w;
  if (y + h > area.bottom) y = area.bottom - h;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDialogBase::~CDialogBase() {
  if (m_hWnd && ::IsWindow(m_hWnd)) {
    HWND window = m_hWnd;
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    m_hWnd = nullptr;
    ::DestroyWindow(window);
  }
}

INT_PTR CDialogBase::DoModal(HWND parent) {
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  if (m_text == DialogText::Unicode) {
    return ::DialogBoxParamW(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEW(m_templateId), parent, DialogProc, self);
  }
  return ::DialogBoxParamA(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEA(m_templateId), parent, DialogProc, self);
}

HWND CDialogBase::Create(HWND parent) {
  if (m_hWnd) return m_hWnd;
  return ::CreateDialogParamA(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void CDialogBase::Destroy() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CDialogBase::SetBigIcon(UINT iconId) {
  m_bigIconId = iconId;
  IconHandle icon = dpi::LoadIcon(iconId, 32, Dpi());
  if (!icon) return;
  ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
  m_bigIcon = std::move(icon);  // the window keeps using it until the next one
}

void CDialogBase::OnDpiMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DPICHANGED) dpi::ApplyDpiChange(m_hWnd, wParam, lParam, m_dpiFonts);
  if (m_bigIconId) SetBigIcon(m_bigIconId);
  OnDpiChanged();
}

INT_PTR CDialogBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      if (!lParam) return FALSE;
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_ERASEBKGND:
      if (!OnEraseBackground(reinterpret_cast<HDC>(wParam))) return FALSE;
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_DPICHANGED:
    case WM_DPICHANGED_AFTERPARENT:
      // A child dialog hears of its window's new dpi through the second.
      if (msg == WM_DPICHANGED || (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_CHILD)) OnDpiMessage(msg, wParam, lParam);
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(OnControlColour(msg, reinterpret_cast<HDC>(wParam)));
    default:
      return FALSE;
  }
}

void CDialogBase::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == IDOK) OnOK();
  if (id == IDCANCEL) OnCancel();
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    // Messages before this one (WM_SETFONT) find no object and get the default answer.
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    reinterpret_cast<CDialogBase*>(lParam)->m_hWnd = hwnd;
    dpi::TakeOverDialogScaling(hwnd);
  }
  auto* self = reinterpret_cast<CDialogBase*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  INT_PTR result = self->HandleMessage(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->m_hWnd = nullptr;
  }
  return result;
}
