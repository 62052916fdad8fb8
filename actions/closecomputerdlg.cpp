#include "actions/closecomputerdlg.h"

#include <utility>

#include "actions/poweractions_win.h"
#include "actions/uptime.h"
#include "closecomputerdlg_ids.h"
#include "include/handles.h"
#include "language/language.h"
#include "resource.h"

namespace {

constexpr UINT_PTR kUptimeTimer = 1;
constexpr UINT kUptimeIntervalMs = 60000;
constexpr DWORD kMarkerSize = 50;

constexpr COLORREF kBandDark = RGB(75, 0, 100);
constexpr COLORREF kBandLight = RGB(115, 39, 148);
constexpr COLORREF kStaticText = RGB(155, 79, 188);
constexpr COLORREF kButtonText = RGB(75, 0, 100);
constexpr LONG kHeadingFontHeight = 32;
constexpr int kUptimeInset = 9;
constexpr int kActionIconSize = 48;
constexpr int kCloseIconSize = 16;

struct ActionButton : IconControl {
  power::Operation operation;
};

// In the order of the buttons from left to right.
constexpr ActionButton kActionButtons[] = {
    {{IDC_CC_SHUTDOWN, IDI_CC_SHUTDOWN, "L0094"}, power::Operation::ShutDown},
    {{IDC_CC_RESTART, IDI_CC_RESTART, "L0095"}, power::Operation::Restart},
    {{IDC_CC_SLEEP, IDI_CC_SLEEP, "L0096"}, power::Operation::Sleep},
    {{IDC_CC_LOGOFF, IDI_CC_LOGOFF, "L0097"}, power::Operation::LogOff},
    {{IDC_CC_HIBERNATE, IDI_CC_HIBERNATE, "L0098"}, power::Operation::Hibernate},
};
static_assert(sizeof kActionButtons / sizeof kActionButtons[0] == 5, "one entry per action button");

const ActionButton* FindActionButton(int id) {
  for (const ActionButton& b : kActionButtons) {
    if (b.id == id) return &b;
  }
  return nullptr;
}

void FillBand(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  if (bottom <= top) return;
  BrushHandle brush(::CreateSolidBrush(colour));
  RECT rc = {left, top, right, bottom};
  ::FillRect(dc, &rc, brush.get());
}

}  // namespace

uint64_t CCloseComputerDlg::SystemUptime() {
  // 64 bits: the 32-bit tick count starts again from 0 after 49.7 days and the line with it.
  return ::GetTickCount64();
}

CCloseComputerDlg::CCloseComputerDlg(power::IPowerActions& actions, UptimeClock clock)
    : CDialogBase(IDD_CLOSECOMPUTER), m_actions(actions), m_clock(std::move(clock)) {}

INT_PTR CCloseComputerDlg::DoModal(HWND owner) {
  m_refused = false;
  return CDialogBase::DoModal(owner);
}

INT_PTR CCloseComputerDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_LBUTTONDOWN:
      OnLButtonDown(lParam);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    default:
      return CDialogBase::HandleMessage(msg, wParam, lParam);
  }
}

BOOL CCloseComputerDlg::OnInitDialog() {
  // Creating the block is also the test: whoever creates it first owns the dialog.
  if (m_marker.Create(names::kShutdownDialogMarker, kMarkerSize) == CSharedMemory::Result::AlreadyExists) {
    m_refused = true;
    ::EndDialog(m_hWnd, IDCANCEL);
    return FALSE;
  }
  ::SetForegroundWindow(m_hWnd);
  CentreWindow(m_hWnd, Centring::OnWorkArea);
  SetBigIcon(IDI_APP);
  TranslateWindow(m_hWnd);
  // Topmost before the buttons make their tooltips: an owner that already has owned popups is
  // not always moved into the topmost band with them.
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SetUpStatics();
  SetUpButtons();
  RefreshUptime();
  ::SetTimer(m_hWnd, kUptimeTimer, kUptimeIntervalMs, nullptr);
  // The focus starts on the close button: a stray key must never end the session.
  ::SetFocus(::GetDlgItem(m_hWnd, IDCANCEL));
  return FALSE;
}

void CCloseComputerDlg::SetUpStatics() {
  m_heading.SubclassWindow(::GetDlgItem(m_hWnd, IDC_CC_HEADING));
  m_heading.MakeBoldFont(kHeadingFontHeight);
  m_heading.SetTextColor(kStaticText);

  m_uptime.SubclassWindow(::GetDlgItem(m_hWnd, IDC_CC_UPTIME));
  m_uptime.MakeBoldFont();
  m_uptime.SetTextColor(kStaticText);
  m_uptime.SetTextInsets(kUptimeInset, 0);
}

void CCloseComputerDlg::SetUpButtons() {
  HWND close = ::GetDlgItem(m_hWnd, IDCANCEL);
  m_close.SubclassWindow(close);
  m_close.SetIcon(IDI_CC_CLOSE, kCloseIconSize, kCloseIconSize);
  RECT rc = {};
  ::GetClientRect(close, &rc);
  // The default offset is meant for wide buttons; this one is barely larger than its icon.
  m_close.m_nIconOffset = (dpi::Rescale(rc.right, Dpi(), dpi::kBaseDpi) - kCloseIconSize) / 2;
  m_close.SetTooltipText(GetLanguageText("L0099"));
  // A letter typed by mistake must not shut the computer down: the buttons' access keys need Alt.
  m_close.m_bAccessKeyNeedsAlt = true;

  for (size_t i = 0; i < sizeof kActionButtons / sizeof kActionButtons[0]; ++i) {
    const ActionButton& b = kActionButtons[i];
    CIconButton& button = m_buttons[i];
    button.SubclassWindow(::GetDlgItem(m_hWnd, b.id));
    button.SetIcon(b.icon, kActionIconSize, kActionIconSize);
    button.SetCaption(GetLanguageText(b.textKey));
    button.m_dwStyle |= ctl::IconButtonStyle::Vertical;
    button.m_crCaption = kButtonText;
    button.m_bAccessKeyNeedsAlt = true;
  }
}

void CCloseComputerDlg::RefreshUptime() {
  std::string line = uptime::FormatUptime(m_clock(), [](const std::string& key) { return GetLanguageText(key); });
  ::SetDlgItemTextA(m_hWnd, IDC_CC_UPTIME, line.c_str());
}

RECT CCloseComputerDlg::ControlRect(int id) const {
  RECT rc = {};
  ::GetWindowRect(::GetDlgItem(m_hWnd, id), &rc);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

BOOL CCloseComputerDlg::OnEraseBackground(HDC dc) {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  int headingBottom = ControlRect(IDC_CC_HEADING).bottom;
  int uptimeTop = ControlRect(IDC_CC_UPTIME).top;
  FillBand(dc, client.left, client.top, client.right, headingBottom, kBandDark);
  FillBand(dc, client.left, headingBottom, client.right, uptimeTop, kBandLight);
  FillBand(dc, client.left, uptimeTop, client.right, client.bottom, kBandDark);
  BrushHandle border(::CreateSolidBrush(kBandDark));
  ::FrameRect(dc, &client, border.get());
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

void CCloseComputerDlg::OnCommand(int id, int code) {
  // Not the base's: Enter (IDOK) must not end the dialog with anything but a chosen button.
  if (code != BN_CLICKED) return;
  if (id == IDCANCEL) {
    ::EndDialog(m_hWnd, IDCANCEL);
    return;
  }
  const ActionButton* button = FindActionButton(id);
  if (!button) return;
  power::Perform(m_actions, button->operation);
  ::EndDialog(m_hWnd, IDCANCEL);
}

void CCloseComputerDlg::OnTimer(UINT_PTR id) {
  if (id == kUptimeTimer) RefreshUptime();
}

void CCloseComputerDlg::OnLButtonDown(LPARAM lParam) {
  // The caption drag expects screen coordinates; the click comes in client coordinates.
  POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(m_hWnd, &pt);
  ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
}

void CCloseComputerDlg::OnDestroy() {
  ::KillTimer(m_hWnd, kUptimeTimer);
  // The next dialog may open as soon as this window is gone.
  m_marker.Close();
}

void ShowCloseComputerDialog(HWND owner) {
  power::CSystemPowerActions actions;
  CCloseComputerDlg dlg(actions);
  dlg.DoModal(owner);
}
