#include "app/maindlg.h"

#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "resource.h"

namespace {

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

bool RegisterMsgWindowClass(WNDPROC proc) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExA(Instance(), names::kInstanceWindowClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = names::kInstanceWindowClass;
  return ::RegisterClassExA(&wc) != 0;
}

}  // namespace

std::string ProductCaption() { return CMiscFuns::GetOwnVersionString("ProductName"); }

// --- CMsgWindow ---------------------------------------------------------------------------------

bool CMsgWindow::Create(HWND parent) {
  if (!RegisterMsgWindowClass(WindowProc)) return false;
  m_hWnd = ::CreateWindowExA(0, names::kInstanceWindowClass, "", WS_CHILD, 0, 0, 100, 100, parent, nullptr,
                             Instance(), nullptr);
  return m_hWnd != nullptr;
}

LRESULT CALLBACK CMsgWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kMsgShowRequest) {
    ::SendMessageA(::GetParent(hwnd), msg, wParam, lParam);
    return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// --- CMainDlg -----------------------------------------------------------------------------------

CMainDlg::~CMainDlg() {
  if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

bool CMainDlg::Create() {
  m_hWnd = ::CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_MAINDLG), nullptr, DialogProc,
                                reinterpret_cast<LPARAM>(this));
  return m_hWnd != nullptr;
}

INT_PTR CALLBACK CMainDlg::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    reinterpret_cast<CMainDlg*>(lParam)->m_hWnd = hwnd;
  }
  auto* self = reinterpret_cast<CMainDlg*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  return self ? self->HandleMessage(msg, wParam, lParam) : FALSE;
}

INT_PTR CMainDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case kMsgShowRequest:
      OnShowRequest();
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_HOTKEY:
      OnHotkey(wParam);
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 0);
      return TRUE;
    case kMsgVolumeNotify:
      return TRUE;  // the sliding popup shows it; until then the level is only heard
    case WM_LBUTTONDOWN:
      OnLButtonDown(lParam);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CMainDlg::OnInitDialog() {
  CenterOnWorkArea();
  TranslateWindow(m_hWnd);
  LoadIcons();
  m_msgWindow.Create(m_hWnd);
  std::string title = ProductCaption() + " v" + CMiscFuns::GetOwnVersionString("ProductVersion");
  ::SetWindowTextA(m_hWnd, title.c_str());
  ::SetForegroundWindow(m_hWnd);
  m_hotkeys.RegisterAll(m_hWnd);
  RefreshStatus(m_hotkeys.stats());
  return TRUE;
}

void CMainDlg::ReRegisterHotkeys() {
  m_hotkeys.UnregisterAll(m_hWnd);
  m_hotkeys.RegisterAll(m_hWnd);
  RefreshStatus(m_hotkeys.stats());
}

void CMainDlg::OnHotkey(WPARAM id) {
  if (std::optional<_HotkeyItem> item = m_hotkeys.FindById(id)) RunHotkeyActions(m_hWnd, *item);
}

void CMainDlg::RefreshStatus(const HotkeyStats& stats) {
  const std::pair<int, const char*> lines[] = {{stats.total, "L0168"},
                                               {stats.registered, "L0169"},
                                               {stats.failed, "L0170"},
                                               {stats.disabled, "L0171"}};
  const int ids[] = {IDC_STATUS_TOTAL, IDC_STATUS_REGISTERED, IDC_STATUS_FAILED, IDC_STATUS_DISABLED};
  for (size_t i = 0; i < 4; ++i) {
    std::string text = FormatLanguageText(lines[i].second, {lang::FormatArg::Int(lines[i].first)});
    ::SetDlgItemTextA(m_hWnd, ids[i], text.c_str());
  }
}

void CMainDlg::OnShowRequest() {
  if (m_busy) return;
  ::ShowWindow(m_hWnd, SW_SHOW);
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  ::SetForegroundWindow(m_hWnd);
}

void CMainDlg::OnEndSession(bool sessionEnds) {
  // wParam FALSE means the session end was cancelled: the user goes on working with us.
  if (sessionEnds) Quit();
}

void CMainDlg::OnCommand(int id) {
  switch (id) {
    case ID_CMD_EXIT:
      Quit();
      break;
    case IDCANCEL:  // Esc must not end the program: it only hides the window
      HideToTray();
      break;
    default:
      break;
  }
}

void CMainDlg::OnDestroy() {
  ::KillTimer(m_hWnd, 999);
  ::KillTimer(m_hWnd, 1);
  m_hotkeys.UnregisterAll(m_hWnd);
}

void CMainDlg::OnLButtonDown(LPARAM lParam) {
  // Dragging anywhere on the background moves the borderless window.
  ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
}

void CMainDlg::CenterOnWorkArea() {
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  if (!::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi)) return;
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - w) / 2;
  int y = mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - h) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainDlg::LoadIcons() {
  m_bigIcon.reset(static_cast<HICON>(::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
  m_smallIcon.reset(static_cast<HICON>(::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                                    ::GetSystemMetrics(SM_CXSMICON),
                                                    ::GetSystemMetrics(SM_CYSMICON), 0)));
  ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.get()));
  ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
}

void CMainDlg::HideToTray() {
  ::ShowWindow(m_hWnd, SW_MINIMIZE);
  ::ShowWindow(m_hWnd, SW_HIDE);
}

void CMainDlg::Quit() {
  ::DestroyWindow(m_hWnd);
  ::PostQuitMessage(2);
}
