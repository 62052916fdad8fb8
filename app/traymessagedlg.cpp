#include "app/traymessagedlg.h"

#include <utility>

#include "include/miscfuns.h"

namespace {

constexpr char kClassName[] = "QuorvelTrayMessage";
constexpr int kWidth = 240, kHeight = 72;
constexpr int kStep = 10;       // pixels per tick
constexpr UINT kTickMs = 10;
constexpr UINT_PTR kTimerSlideIn = 1, kTimerSlideOut = 2, kTimerDisplay = 3;
constexpr int kRightMargin = 5;

}  // namespace

CTrayMessageDlg::~CTrayMessageDlg() {
  if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

bool CTrayMessageDlg::Create(HWND owner) {
  if (!CMiscFuns::RegisterWindowClassOnce(kClassName, WindowProc, 0)) return false;
  NONCLIENTMETRICSA ncm = {};
  ncm.cbSize = sizeof ncm;
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    ncm.lfMessageFont.lfHeight = -18;
    ncm.lfMessageFont.lfWeight = FW_BOLD;
    m_font.reset(::CreateFontIndirectA(&ncm.lfMessageFont));
  }
  // A tool window: no taskbar button, never activated, the user's window keeps the focus.
  m_hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName, "", WS_POPUP | WS_BORDER,
                             0, 0, kWidth, kHeight, owner, nullptr, CMiscFuns::ModuleInstance(), this);
  return m_hWnd != nullptr;
}

LRESULT CALLBACK CTrayMessageDlg::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<CTrayMessageDlg*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->m_hWnd = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<CTrayMessageDlg*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return self ? self->HandleMessage(msg, wParam, lParam) : ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CTrayMessageDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCDESTROY: {
      HWND gone = std::exchange(m_hWnd, nullptr);
      return ::DefWindowProcA(gone, msg, wParam, lParam);
    }
    default:
      return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
  }
}

void CTrayMessageDlg::SetMessage(int iconId, const std::string& text) {
  m_icon.reset(
      static_cast<HICON>(::LoadImageA(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 48, 48, 0)));
  m_text = text;
  if (!m_hWnd) return;
  // The window text carries the notice too, for screen readers.
  ::SetWindowTextA(m_hWnd, m_text.c_str());
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

RECT CTrayMessageDlg::WorkArea() const {
  RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

void CTrayMessageDlg::ShowMessage() {
  if (!m_hWnd) return;
  if (m_displaySeconds != -1) ::SetTimer(m_hWnd, kTimerDisplay, static_cast<UINT>(m_displaySeconds) * 1000, nullptr);
  if (m_slidingIn || m_slidingOut || ::IsWindowVisible(m_hWnd)) return;
  m_slidingIn = true;
  RECT work = WorkArea();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, work.right - kRightMargin - kWidth, ::GetSystemMetrics(SM_CYSCREEN), kWidth,
                 kHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::SetTimer(m_hWnd, kTimerSlideIn, kTickMs, nullptr);
}

void CTrayMessageDlg::OnTimer(UINT_PTR id) {
  if (id == kTimerSlideIn) SlideIn();
  if (id == kTimerSlideOut) SlideOut();
  if (id == kTimerDisplay) DisplayTimeOver();
}

void CTrayMessageDlg::SlideIn() {
  RECT rc, work = WorkArea();
  ::GetWindowRect(m_hWnd, &rc);
  if (rc.bottom > work.bottom) {
    int top = rc.top - kStep;
    if (top + kHeight < work.bottom) top = work.bottom - kHeight;  // lands flush, not past the edge
    ::SetWindowPos(m_hWnd, nullptr, rc.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  m_slidingIn = false;
  ::KillTimer(m_hWnd, kTimerSlideIn);
}

void CTrayMessageDlg::DisplayTimeOver() {
  ::KillTimer(m_hWnd, kTimerDisplay);
  if (m_slidingIn || m_slidingOut || !::IsWindowVisible(m_hWnd)) return;
  m_slidingOut = true;
  RECT work = WorkArea();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, work.right - kRightMargin - kWidth, work.bottom - kHeight, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetTimer(m_hWnd, kTimerSlideOut, kTickMs, nullptr);
}

void CTrayMessageDlg::SlideOut() {
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  if (rc.top + kStep <= ::GetSystemMetrics(SM_CYSCREEN)) {
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top + kStep, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  m_slidingOut = false;
  ::KillTimer(m_hWnd, kTimerSlideOut);
  ::ShowWindow(m_hWnd, SW_HIDE);
}

void CTrayMessageDlg::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  // A light band and a darker left edge set the notice apart from whatever is behind it.
  TRIVERTEX v[2] = {{0, 0, 0xF800, 0xFA00, 0xFF00, 0}, {rc.right, rc.bottom, 0xDC00, 0xE600, 0xF800, 0}};
  GRADIENT_RECT g = {0, 1};
  ::GdiGradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
  if (m_icon) ::DrawIconEx(dc, 12, (rc.bottom - 48) / 2, m_icon.get(), 48, 48, 0, nullptr, DI_NORMAL);
  RECT textRc = {72, 0, rc.right - 8, rc.bottom};
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(30, 45, 80));
  SelectedObject font(dc, m_font ? static_cast<HGDIOBJ>(m_font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &textRc,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  ::EndPaint(m_hWnd, &ps);
}
