#include "actions/addactiondlg.h"

#include <shellapi.h>

#include <utility>

#include "actions/actioneditor.h"
#include "actions/actionline.h"
#include "actions/devicecontrol.h"
#include "addactiondlg_ids.h"
#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "include/WhiteWnd.h"
#include "language/language.h"
#include "resource.h"

namespace {

constexpr char kRememberedKindKey[] = "AddActionDlgDefPanel";
constexpr char kSupportMail[] = "support@quorvel.example";
constexpr int kHeadingIconSize = 16;

void OpenWithShell(const std::string& url) {
  ::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The page of a kind list entry: its template, the controls of its fields and how it is filled.
std::unique_ptr<CAddActionPage> MakePage(const actioneditor::KindEntry& entry, const std::vector<std::string>& drives) {
  using Page = CAddActionPage;
  const UINT page = entry.pageTemplate;
  switch (entry.inputs) {
    case actioneditor::PageInputs::File:
      return std::make_unique<Page>(page, std::vector<int>{IDC_AAP_TEXT, IDC_AAP_PARAMETERS, IDC_AAP_FOLDER},
                                    nullptr, ChooseFile);
    case actioneditor::PageInputs::Folder:
      return std::make_unique<Page>(page, std::vector<int>{IDC_AAP_TEXT}, nullptr, ChooseFolder);
    case actioneditor::PageInputs::Url:
      return std::make_unique<Page>(page, std::vector<int>{IDC_AAP_TEXT});
    case actioneditor::PageInputs::Seconds:
      return std::make_unique<Page>(page, std::vector<int>{IDC_AAP_VALUE}, FillSecondsList);
    case actioneditor::PageInputs::VolumeStep:
      return std::make_unique<Page>(page, std::vector<int>{IDC_AAP_VALUE}, FillVolumeStepList);
    case actioneditor::PageInputs::Drive:
      return std::make_unique<Page>(page, std::vector<int>{IDC_AAP_VALUE}, [drives](CAddActionPage& p) {
        FillDriveList(p.Control(IDC_AAP_VALUE), drives);
      });
    case actioneditor::PageInputs::None:
      break;
  }
  return std::make_unique<Page>(page, std::vector<int>{}, FillNoParameters);
}

}  // namespace

CAddActionDlg::CAddActionDlg() : CAddActionDlg(ListCdromDrives, OpenWithShell) {}

CAddActionDlg::CAddActionDlg(DriveLister drives, UrlOpener opener)
    : CDialogBase(IDD_ADDACTION), m_listDrives(std::move(drives)), m_openUrl(std::move(opener)) {}

INT_PTR CAddActionDlg::DoModal(HWND owner) {
  m_line.clear();
  return CDialogBase::DoModal(owner);
}

INT_PTR CAddActionDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    // The pages go with the frame; their objects only forget their windows.
    m_pageManager.UnsubclassWindow();
    return FALSE;
  }
  return CDialogBase::HandleMessage(msg, wParam, lParam);
}

BOOL CAddActionDlg::OnEraseBackground(HDC dc) {
  PaintWhiteDialogBackground(m_hWnd, dc);
  return TRUE;
}

HBRUSH CAddActionDlg::OnControlColour(UINT msg, HDC dc) {
  if (msg != WM_CTLCOLORDLG && msg != WM_CTLCOLORSTATIC) return nullptr;
  ::SetBkColor(dc, RGB(255, 255, 255));
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

BOOL CAddActionDlg::OnInitDialog() {
  SetBigIcon(IDI_APP);
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
    m_kindList.AddItem(std::to_string(entry.kind), GetPlainLanguageText(entry.textKey));
    std::unique_ptr<CAddActionPage> page = MakePage(entry, drives);
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
  if (id == IDC_AA_KINDLIST) {
    if (code == CBN_SELCHANGE) OnKindChanged();
  } else if (id == IDC_AA_SUGGEST) {
    if (code == BN_CLICKED) OnSuggest();
  } else {
    CDialogBase::OnCommand(id, code);
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
  // The button's text names the mail's subject.
  std::string url = actioneditor::BuildSuggestionMailUrl(kSupportMail, product, GetPlainLanguageText("L0122"),
                                                         GetLanguageText("L0123"));
  if (m_openUrl) m_openUrl(url);
}

bool ComposeActionLine(HWND owner, std::string& line) {
  CAddActionDlg dlg;
  if (dlg.DoModal(owner) != IDOK) return false;
  line = dlg.GetActionLine();
  return true;
}
