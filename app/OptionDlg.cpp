#include "app/OptionDlg.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "optiondlg_ids.h"
#include "resource.h"

namespace {

constexpr char kDefPanelKey[] = "OptionDlgDefPanel";
constexpr int kTabIconSize = 16;

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  RECT area = {};
  if (::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    area = monitor.rcWork;
  } else {
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  return area;
}

}  // namespace

COptionDlg::~COptionDlg() {
  if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

INT_PTR COptionDlg::DoModal(HWND owner) {
  return ::DialogBoxParamA(Instance(), MAKEINTRESOURCEA(IDD_OPTIONDLG), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK COptionDlg::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    reinterpret_cast<COptionDlg*>(lParam)->m_hWnd = hwnd;
  }
  auto* self = reinterpret_cast<COptionDlg*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return FALSE;
  INT_PTR result = self->HandleMessage(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->m_hWnd = nullptr;
  }
  return result;
}

INT_PTR COptionDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT,
                          CTabCtrlPageManager::ReflectNotify(reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL COptionDlg::OnInitDialog() {
  CenterOverOwner();
  HANDLE icon = ::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                             ::GetSystemMetrics(SM_CYICON), LR_SHARED);
  if (icon) ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  TranslateWindow(m_hWnd);
  SetUpTabs();
  SelectRememberedTab();
  return TRUE;  // the focus goes to the first control that takes it
}

void COptionDlg::CenterOverOwner() {
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  RECT area = WorkAreaOf(owner ? owner : m_hWnd);
  RECT around = area;
  // A hidden or minimized owner has no place on screen worth centring on.
  if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &around);
  RECT rc = {};
  ::GetWindowRect(m_hWnd, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = around.left + ((around.right - around.left) - w) / 2;
  int y = around.top + ((around.bottom - around.top) - h) / 2;
  // Kept on the work area, so an owner near an edge does not push the buttons off screen.
  if (x + w > area.right) x = area.right - w;
  if (y + h > area.bottom) y = area.bottom - h;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void COptionDlg::SetUpTabs() {
  HWND tab = ::GetDlgItem(m_hWnd, IDC_OPT_TABS);
  // Lets keyboard navigation walk from the tab control into the page it hosts.
  ::SetWindowLongPtrA(tab, GWL_EXSTYLE, ::GetWindowLongPtrA(tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  m_tabs.SubclassWindow(tab);

  m_images.reset(::ImageList_Create(kTabIconSize, kTabIconSize, ILC_COLOR32 | ILC_MASK, 1, 1));
  int generalImage = -1;
  if (m_images) {
    IconHandle icon(static_cast<HICON>(::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_OPT_GENERAL), IMAGE_ICON,
                                                    kTabIconSize, kTabIconSize, 0)));
    if (icon) generalImage = ::ImageList_AddIcon(m_images.get(), icon.get());
    ::SendMessageA(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.get()));
  }

  if (HWND page = m_general.Create(tab)) {
    m_tabs.AddPage(0, GetLanguageText("L0007"), page, generalImage);
  }
}

void COptionDlg::SelectRememberedTab() {
  // The tab control selects its first tab by itself but shows no page until told to.
  int current = m_tabs.GetCurSel();
  std::string remembered = CMiscFuns::GetIniString(names::kSettingsSection, kDefPanelKey, "0", m_env.tmpIni);
  std::optional<int> index = options::ParseTabIndex(remembered, m_tabs.GetTabCount());
  if (index) {
    current = *index;
  } else if (current < 0 && m_tabs.GetTabCount() > 0) {
    current = 0;
  }
  if (current >= 0) m_tabs.SelectPage(current);
}

void COptionDlg::OnCommand(int id) {
  switch (id) {
    case IDOK:
      OnOk();
      break;
    case IDCANCEL:
      ::EndDialog(m_hWnd, IDCANCEL);
      break;
    default:
      break;
  }
}

void COptionDlg::OnOk() {
  options::OptionsWrite write = m_general.PlanWrite(m_tabs.GetCurSel());
  m_general.Apply(write);
  if (write.tab) CMiscFuns::WriteIniInt(names::kSettingsSection, kDefPanelKey, *write.tab, m_env.tmpIni);
  ::EndDialog(m_hWnd, IDOK);
}

INT_PTR ShowOptionsDialog(HWND owner) {
  COptionDlg dlg(OptionsEnvironment::ForThisProgram());
  INT_PTR result = dlg.DoModal(owner);
  // A template that cannot be loaded changed nothing.
  return result == IDOK ? IDOK : IDCANCEL;
}
