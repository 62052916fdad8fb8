#include "actions/addactiondlg.h"

#include <shellapi.h>

#include <utility>

#include "actions/aapage_cannedresponds.h"
#include "actions/aapage_closeactivewindow.h"
#include "actions/aapage_defaultset.h"
#include "actions/aapage_ejectcdrom.h"
#include "actions/aapage_insertcdrom.h"
#include "actions/aapage_maximizeactivewindow.h"
#include "actions/aapage_minimizeactivewindow.h"
#include "actions/aapage_openfile.h"
#include "actions/aapage_openfolder.h"
#include "actions/aapage_openurl.h"
#include "actions/aapage_showshutdown.h"
#include "actions/aapage_sleep.h"
#include "actions/aapage_volumedown.h"
#include "actions/aapage_volumeup.h"
#include "actions/actioneditor.h"
#include "actions/actionline.h"
#include "actions/devicecontrol.h"
#include "addactiondlg_ids.h"
#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "resource.h"

namespace {

constexpr char kRememberedKindKey[] = "AddActionDlgDefPanel";
constexpr char kSupportMail[] = "support@quorvel.example";
constexpr int kHeadingIconSize = 16;

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

void OpenWithShell(const std::string& url) {
  ::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The page that shows the inputs of a kind.
std::unique_ptr<CAddActionPage> MakePage(int kind, const std::vector<std::string>& drives) {
  switch (static_cast<ActionKind>(kind)) {
    case ActionKind::OpenFile: return std::make_unique<CAddActionPage_OpenFile>();
    case ActionKind::OpenFolder: return std::make_unique<CAddActionPage_OpenFolder>();
    case ActionKind::OpenUrl: return std::make_unique<CAddActionPage_OpenURL>();
    case ActionKind::Sleep: return std::make_unique<CAddActionPage_Sleep>();
    case ActionKind::VolumeUp: return std::make_unique<CAddActionPage_VolumeUp>();
    case ActionKind::VolumeDown: return std::make_unique<CAddActionPage_VolumeDown>();
    case ActionKind::InsertPredefinedText: return std::make_unique<CAddActionPage_CannedResponds>();
    case ActionKind::ShowShutdownDialog: return std::make_unique<CAddActionPage_ShowShutdown>();
    case ActionKind::EjectCdrom: return std::make_unique<CAddActionPage_Eject>(drives);
    case ActionKind::InsertCdrom: return std::make_unique<CAddActionPage_Insert>(drives);
    case ActionKind::MaximizeActiveWindow: return std::make_unique<CAddActionPage_MaximizeActiveWindow>();
    case ActionKind::MinimizeActiveWindow: return std::make_unique<CAddActionPage_MinimizeActiveWindow>();
    case ActionKind::CloseActiveWindow: return std::make_unique<CAddActionPage_CloseActiveWindow>();
    default: return std::make_unique<CAddActionPage_DefaultSet>();
  }
}

}  // namespace

CAddActionDlg::CAddActionDlg() : CAddActionDlg(ListCdromDrives, OpenWithShell) {}

CAddActionDlg::CAddActionDlg(DriveLister drives, UrlOpener opener)
    : m_listDrives(std::move(drives)), m_openUrl(std::move(opener)) {}

CAddActionDlg::~CAddActionDlg() {
  if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

INT_PTR CAddActionDlg::DoModal(HWND owner) {
  m_line.clear();
  return ::DialogBoxParamA(Instance(), MAKEINTRESOURCEA(IDD_ADDACTION), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CAddActionDlg::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    reinterpret_cast<CAddActionDlg*>(lParam)->m_hWnd = hwnd;
  }
  auto* self = reinterpret_cast<CAddActionDlg*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return FALSE;
  INT_PTR result = self->HandleMessage(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->m_hWnd = nullptr;
  }
  return result;
}

INT_PTR CAddActionDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (HandleWhiteWndMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(::GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      // The pages go with the frame; their objects only forget their windows.
      m_pageManager.UnsubclassWindow();
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL CAddActionDlg::OnInitDialog() {
  HANDLE icon = ::LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                             ::GetSystemMetrics(SM_CYICON), LR_SHARED);
  if (icon) ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  TranslateWindow(m_hWnd);
  SetUpHeadings();
  CreatePages();
  SelectRememberedKind();
  ::SetFocus(m_kindList.hwnd());
  return FALSE;
}

void CAddActionDlg::SetUpHeadings() {
  const std::pair<CBoldTextStatic*, std::pair<int, UINT>> headings[] = {
      {&m_kindHeading, {IDC_AA_KINDHEADING, IDI_AA_KINDLIST}},
      {&m_pageHeading, {IDC_AA_PAGEHEADING, IDI_AA_PAGE}},
  };
  for (const auto& h : headings) {
    h.first->SubclassWindow(::GetDlgItem(m_hWnd, h.second.first));
    h.first->MakeBoldFont();
    h.first->SetStyle(ctl::BoldStaticStyle::IconLeft);
    h.first->SetIcon(h.second.second, kHeadingIconSize, kHeadingIconSize);
    h.first->SetIconMargins(0, 6);
  }
}

void CAddActionDlg::CreatePages() {
  HWND frame = ::GetDlgItem(m_hWnd, IDC_AA_PAGEFRAME);
  m_pageManager.SubclassWindow(frame);
  // So that Tab moves on into the controls of the page.
  ::SetWindowLongPtrA(frame, GWL_EXSTYLE, ::GetWindowLongPtrA(frame, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  m_kindList.SubclassWindow(::GetDlgItem(m_hWnd, IDC_AA_KINDLIST));

  std::vector<std::string> drives = m_listDrives ? m_listDrives() : std::vector<std::string>();
  m_pages.clear();
  for (const actioneditor::KindEntry& entry : actioneditor::KindList()) {
    m_kindList.AddItem(std::to_string(entry.kind), GetLanguageText(entry.textKey));
    std::unique_ptr<CAddActionPage> page = MakePage(entry.kind, drives);
    page->Create(frame);
    m_pageManager.AddPage(page->hwnd());
    m_pages.push_back(std::move(page));
  }
}

void CAddActionDlg::SelectRememberedKind() {
  int remembered = CMiscFuns::GetIniInt(names::kSettingsSection, kRememberedKindKey, 0, Paths().tmpIni);
  int index = actioneditor::ListIndexOfRemembered(remembered);
  ::SendMessageA(m_kindList.hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (index >= 0) m_pageManager.SelectPage(index);
}

void CAddActionDlg::OnCommand(int id, int code) {
  switch (id) {
    case IDOK:
      if (code == BN_CLICKED) OnOK();
      break;
    case IDCANCEL:
      if (code == BN_CLICKED) ::EndDialog(m_hWnd, IDCANCEL);
      break;
    case IDC_AA_KINDLIST:
      if (code == CBN_SELCHANGE) OnKindChanged();
      break;
    case IDC_AA_SUGGEST:
      if (code == BN_CLICKED) OnSuggest();
      break;
    default:
      break;
  }
}

void CAddActionDlg::OnKindChanged() {
  auto index = static_cast<int>(::SendMessageA(m_kindList.hwnd(), CB_GETCURSEL, 0, 0));
  if (index >= 0) m_pageManager.SelectPage(index);
}

void CAddActionDlg::OnOK() {
  auto index = static_cast<int>(::SendMessageA(m_kindList.hwnd(), CB_GETCURSEL, 0, 0));
  // The kind follows the entry, not its text: two entries a language file words alike stay apart.
  int kind = actioneditor::KindOfListIndex(index);
  CAddActionPage* page = kind >= 0 ? m_pages[static_cast<size_t>(index)].get() : nullptr;
  actioneditor::ComposeResult result =
      actioneditor::BuildActionLineFromFields(kind, page ? page->Fields() : std::vector<std::string>());
  if (!result.ok) {
    auto focus = [&] {
      if (page && result.field >= 0) {
        page->FocusField(result.field);
      } else {
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_kindList.hwnd()), TRUE);
      }
    };
    focus();
    ShowProblem(result.messageKey);
    // The message box may hand the focus back elsewhere when it closes.
    focus();
    return;
  }
  m_line = result.line;
  CMiscFuns::WriteIniInt(names::kSettingsSection, kRememberedKindKey, index, Paths().tmpIni);
  ::EndDialog(m_hWnd, IDOK);
}

void CAddActionDlg::ShowProblem(const std::string& messageKey) {
  std::string caption = CMiscFuns::GetOwnVersionString("ProductName");
  std::string text = GetLanguageText(messageKey);
  ::MessageBoxA(m_hWnd, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CAddActionDlg::OnSuggest() {
  std::string product = CMiscFuns::GetOwnVersionString("ProductName");
  std::string url =
      actioneditor::BuildSuggestionMailUrl(kSupportMail, product, GetLanguageText("L0122"), GetLanguageText("L0123"));
  if (m_openUrl) m_openUrl(url);
}

bool ComposeActionLine(HWND owner, std::string& line) {
  CAddActionDlg dlg;
  if (dlg.DoModal(owner) != IDOK) return false;
  line = dlg.GetActionLine();
  return true;
}
