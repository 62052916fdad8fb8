#include "app/maindlg.h"

#include <shellapi.h>

#include "actions/devicecontrol.h"
#include "actions/executor.h"
#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "resource.h"

namespace {

// Explorer broadcasts this when the taskbar comes back (after a crash or a restart of the shell).
const UINT kMsgTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
constexpr char kSupportPage[] = "https://quorvel.example/support";

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

}  // namespace

std::string ProductCaption() { return CMiscFuns::GetOwnVersionString("ProductName"); }

std::string ProductTitle() { return ProductCaption() + " v" + CMiscFuns::GetOwnVersionString("ProductVersion"); }

// --- CMsgWindow ---------------------------------------------------------------------------------

bool CMsgWindow::Create(HWND parent) {
  if (!CMiscFuns::RegisterWindowClassOnce(names::kInstanceWindowClass, WindowProc)) return false;
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
  if (msg == kMsgTaskbarCreated && msg != 0) {
    OnTaskbarCreated();
    return TRUE;
  }
  switch (msg) {
    case kMsgTrayNotify:
      OnTrayNotify(static_cast<UINT>(lParam));
      return TRUE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_INITDIALOG:
      return OnInitDialog();
    case kMsgShowRequest:
      OnShowRequest();
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return TRUE;
    case WM_COMMAND:
      // Menu entries arrive with 0 in the high word, as BN_CLICKED does.
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_HOTKEY:
      OnHotkey(wParam);
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 0);
      return TRUE;
    case kMsgVolumeNotify:
      OnVolumeNotify(static_cast<int>(wParam), reinterpret_cast<const char*>(lParam));
      return TRUE;
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
  ::SetWindowTextA(m_hWnd, ProductTitle().c_str());
  m_volumePopup.Create(m_hWnd);
  AddTrayIcon();
  ::SetForegroundWindow(m_hWnd);
  m_hotkeys.RegisterAll(m_hWnd);
  RefreshStatus(m_hotkeys.stats());
  FirstRun();
  return TRUE;
}

void CMainDlg::AddTrayIcon() {
  // The tip is the window's title.
  std::string tip = ProductTitle();
  HICON icon = static_cast<HICON>(::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
  // At logon the taskbar may not be there yet: try again every two seconds.
  if (!m_trayIcon.Add(m_hWnd, kMsgTrayNotify, icon, tip)) ::SetTimer(m_hWnd, IDT_TRAY_RETRY, 2000, nullptr);
}

void CMainDlg::OnTaskbarCreated() {
  if (!m_trayIcon.AddAgain()) ::SetTimer(m_hWnd, IDT_TRAY_RETRY, 2000, nullptr);
}

void CMainDlg::OnTimer(UINT_PTR id) {
  if (id == IDT_TRAY_RETRY && m_trayIcon.AddAgain()) ::KillTimer(m_hWnd, IDT_TRAY_RETRY);
  if (id == IDT_FIRST_RUN_SHOW) {
    ::KillTimer(m_hWnd, IDT_FIRST_RUN_SHOW);
    ShowNormal();
  }
}

void CMainDlg::FirstRun() {
  const std::string& settings = Paths().settingsIni;
  if (CMiscFuns::GetIniInt(names::kSettingsSection, "FirstRun", 0, settings) == 0) return;
  m_trayIcon.ShowBalloon(ProductCaption().substr(0, 63),
                         GetLanguageText("L0164").substr(0, 255), 10000);
  ::SetTimer(m_hWnd, IDT_FIRST_RUN_SHOW, 50, nullptr);
  CMiscFuns::WriteIniString(names::kSettingsSection, "FirstRun", "0", settings);
}

void CMainDlg::ShowNormal() {
  ::ShowWindow(m_hWnd, SW_SHOW);
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
}

void CMainDlg::ToggleShown() {
  if (::IsWindowVisible(m_hWnd)) {
    HideToTray();
  } else {
    ShowNormal();
  }
}

void CMainDlg::RunModal(const std::function<void()>& dialog) {
  // One guard for every dialog the window opens, whoever asked for it (a button or the tray menu).
  if (m_busy) return;
  m_busy = true;
  dialog();
  m_busy = false;
}

void CMainDlg::OnTrayNotify(UINT mouseMessage) {
  if (m_busy) return;
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
      ::SetForegroundWindow(m_hWnd);
      break;
    case WM_LBUTTONDBLCLK:
      ::SetForegroundWindow(m_hWnd);
      ToggleShown();
      break;
    case WM_RBUTTONDOWN:
      m_busy = true;
      ::SetForegroundWindow(m_hWnd);
      ShowTrayMenu();
      m_busy = false;
      break;
    default:
      break;
  }
}

MenuHandle CMainDlg::BuildTrayMenu() {
  auto text = [](const char* key) { return GetLanguageText(key); };
  MenuHandle menu(::CreatePopupMenu());
  HMENU discs = ::CreatePopupMenu(), openOne = ::CreatePopupMenu(), closeOne = ::CreatePopupMenu();
  HMENU help = ::CreatePopupMenu();
  m_driveByCommand.clear();
  std::vector<std::string> drives = ListCdromDrives();
  for (size_t i = 0; i < drives.size(); ++i) {
    UINT open = ID_CMD_OPEN_TRAY_FIRST + static_cast<UINT>(i), close = ID_CMD_CLOSE_TRAY_FIRST + static_cast<UINT>(i);
    ::AppendMenuA(openOne, MF_STRING, open, drives[i].c_str());
    ::AppendMenuA(closeOne, MF_STRING, close, drives[i].c_str());
    m_driveByCommand[open] = m_driveByCommand[close] = drives[i];
  }
  ::AppendMenuA(discs, MF_STRING, ID_CMD_OPEN_ALL_TRAYS, text("L0102").c_str());
  ::AppendMenuA(discs, MF_STRING, ID_CMD_CLOSE_ALL_TRAYS, text("L0103").c_str());
  ::AppendMenuA(discs, MF_POPUP, reinterpret_cast<UINT_PTR>(openOne), text("L0105").c_str());
  ::AppendMenuA(discs, MF_POPUP, reinterpret_cast<UINT_PTR>(closeOne), text("L0106").c_str());
  ::AppendMenuA(help, MF_STRING, ID_CMD_SUPPORT, text("L0158").c_str());
  ::AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(help, MF_STRING, ID_CMD_EXPORT, text("L0116").c_str());
  ::AppendMenuA(help, MF_STRING, ID_CMD_IMPORT, text("L0117").c_str());
  ::AppendMenuA(help, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(help, MF_STRING, ID_CMD_ABOUT, text("L0147").c_str());
  // Submenus belong to the menu they are appended to and go with it.
  HMENU m = menu.get();
  ::AppendMenuA(m, MF_STRING, ID_CMD_OPTIONS, text("L0002").c_str());
  ::AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(m, MF_STRING, ID_CMD_ADD_HOTKEY, text("L0008").c_str());
  ::AppendMenuA(m, MF_STRING, ID_CMD_MANAGE_HOTKEYS, text("L0048").c_str());
  ::AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(discs), text("L0104").c_str());
  ::AppendMenuA(m, MF_STRING, ID_CMD_TEXT_SHORTCUTS, text("L0060").c_str());
  ::AppendMenuA(m, MF_STRING, ID_CMD_SHUTDOWN_DIALOG, text("L0107").c_str());
  ::AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(help), text("L0146").c_str());
  ::AppendMenuA(m, MF_STRING, ID_CMD_EXIT, text("L0001").c_str());
  return menu;
}

void CMainDlg::ShowTrayMenu() {
  POINT pt;
  ::GetCursorPos(&pt);
  if (!::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL)) {
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi);
    if (pt.x < mi.rcWork.left) pt.x = mi.rcWork.left;
    if (pt.x >= mi.rcWork.right) pt.x = mi.rcWork.right - 1;
  }
  MenuHandle menu = BuildTrayMenu();
  UINT id = static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr));
  menu.reset();
  ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // lets the menu close properly when the user clicks elsewhere
  if (id) OnCommand(static_cast<int>(id));
}

void CMainDlg::ReRegisterHotkeys() {
  m_hotkeys.UnregisterAll(m_hWnd);
  m_hotkeys.RegisterAll(m_hWnd);
  RefreshStatus(m_hotkeys.stats());
}

void CMainDlg::OnVolumeNotify(int iconId, const char* text) {
  // The text lives only during the call: the popup keeps its own copy.
  m_volumePopup.SetMessage(iconId, text ? text : "");
  m_volumePopup.SetDisplayTime(1);
  m_volumePopup.ShowMessage();
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
  auto drive = m_driveByCommand.find(static_cast<UINT>(id));
  if (drive != m_driveByCommand.end()) {
    SetDiscTrayDoor(drive->second, id < ID_CMD_CLOSE_TRAY_FIRST);
    return;
  }
  switch (id) {
    case ID_CMD_EXIT:
      Quit();
      break;
    case ID_CMD_OPEN_ALL_TRAYS:
    case ID_CMD_CLOSE_ALL_TRAYS:
      for (const std::string& d : ListCdromDrives()) SetDiscTrayDoor(d, id == ID_CMD_OPEN_ALL_TRAYS);
      break;
    case ID_CMD_SHUTDOWN_DIALOG:
      // The tray menu handling already holds the guard; the dialog runs inside it.
      ExecuteActionLine(m_hWnd, "ShowShutdownDialog");
      break;
    case ID_CMD_SUPPORT:
      ::ShellExecuteA(nullptr, nullptr, kSupportPage, nullptr, nullptr, SW_SHOWNORMAL);
      break;
    case IDCANCEL:  // Esc must not end the program: it only hides the window
      HideToTray();
      break;
    default:
      break;
  }
}

void CMainDlg::OnDestroy() {
  ::KillTimer(m_hWnd, IDT_TRAY_RETRY);
  ::KillTimer(m_hWnd, IDT_FIRST_RUN_SHOW);
  m_trayIcon.Remove();
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
