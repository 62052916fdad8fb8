#include "app/traymessagedlg.h"

#include <utility>

#include "include/dpi.h"
#include "include/miscfuns.h"

namespace {

constexpr char kClassName[] = "QuorvelTrayMessage";
// Figures at 96 dpi.
constexpr int kWidth = 240, kHeight = 72;
constexpr int kStep = 10;  // pixels per tick
constexpr int kIconSize = 48, kIconLeft = 12, kTextLeft = 72, kTextRight = 8, kFontHeight = -18;
constexpr UINT kTickMs = 10;
constexpr UINT_PTR kTimerSlideIn = 1, kTimerSlideOut = 2, kTimerDisplay = 3;
constexpr int kRightMargin = 5;

}  // namespace

CTrayMessageDlg::~CTrayMessageDlg() {
  if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

bool CTrayMessageDlg::Create(HWND owner) {
  if (!CMiscFuns::RegisterWindowClassOnce(kClassName, WindowProc, 0)) return false;
  const int at = dpi::WindowDpi(owner);
  MakeFont(at);
  // A tool window: no taskbar button, never activated, the user's window keeps the focus.
  m_hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName, "", WS_POPUP | WS_BORDER,
                             0, 0, dpi::Scale(kWidth, at), dpi::Scale(kHeight, at), owner, nullptr,
                             CMiscFuns::ModuleInstance(), this);
  return m_hWnd != nullptr;
}

void CTrayMessageDlg::MakeFont(int at) {
  NONCLIENTMETRICSA ncm = {};
  ncm.cbSize = sizeof ncm;
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    ncm.lfMessageFont.lfHeight = dpi::Scale(kFontHeight, at);
    ncm.lfMessageFont.lfWeight = FW_BOLD;
    m_font.reset(::CreateFontIndirectA(&ncm.lfMessageFont));
  }
}

int CTrayMessageDlg::Px(int value96) const { return dpi::Scaled(m_hWnd, value96); }

void CTrayMessageDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  dpi::ApplyDpiChange(m_hWnd, wParam, lParam, m_dpiFonts);
  MakeFont(dpi::WindowDpi(m_hWnd));
  if (m_iconId) LoadIcon();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CTrayMessageDlg::LoadIcon() { m_icon = dpi::LoadIcon(static_cast<UINT>(m_iconId), kIconSize, dpi::WindowDpi(m_hWnd)); }

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
    case WM_DPICHANGED:
      OnDpiChanged(wParam, lParam);
      return 0;
    case WM_NCDESTROY: {
      HWND gone = std::exchange(m_hWnd, nullptr);
      return ::DefWindowProcA(gone, msg, wParam, lParam);
    }
    default:
      return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
  }
}

void CTrayMessageDlg::SetMessage(int iconId, const std::string& text) {
  m_iconId = iconId;
  LoadIcon();
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
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, work.right - Px(kRightMargin) - Px(kWidth), ::GetSystemMetrics(SM_CYSCREEN),
                 Px(kWidth), Px(kHeight), SWP_NOACTIVATE | SWP_SHOWWINDOW);
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
    int top = rc.top - Px(kStep);
    const int height = rc.bottom - rc.top;
    if (top + height < work.bottom) top = work.bottom - height;  // lands flush, not past the edge
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
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, work.right - Px(kRightMargin) - Px(kWidth), work.bottom - Px(kHeight), 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetTimer(m_hWnd, kTimerSlideOut, kTickMs, nullptr);
}

void CTrayMessageDlg::SlideOut() {
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  if (rc.top + Px(kStep) <= ::GetSystemMetrics(SM_CYSCREEN)) {
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top + Px(kStep), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  const int icon = Px(kIconSize);
  if (m_icon) ::DrawIconEx(dc, Px(kIconLeft), (rc.bottom - icon) / 2, m_icon.get(), icon, icon, 0, nullptr, DI_NORMAL);
  RECT textRc = {Px(kTextLeft), 0, rc.right - Px(kTextRight), rc.bottom};
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(30, 45, 80));
  SelectedObject font(dc, m_font ? static_cast<HGDIOBJ>(m_font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &textRc,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  ::EndPaint(m_hWnd, &ps);
}
