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

}  // namespace

COptionDlg::COptionDlg(OptionsEnvironment env)
    : CDialogBase(IDD_OPTIONDLG), m_env(std::move(env)), m_general(m_env) {}

LRESULT COptionDlg::OnNotify(const NMHDR& hdr) { return CTabCtrlPageManager::ReflectNotify(&hdr); }

BOOL COptionDlg::OnInitDialog() {
  CentreWindow(m_hWnd, Centring::OverOwner);
  SetBigIcon(IDI_APP);
  TranslateWindow(m_hWnd);
  SetUpTabs();
  SelectRememberedTab();
  return TRUE;  // the focus goes to the first control that takes it
}

void COptionDlg::SetUpTabs() {
  HWND tab = ::GetDlgItem(m_hWnd, IDC_OPT_TABS);
  // Lets keyboard navigation walk from the tab control into the page it hosts.
  ::SetWindowLongPtrA(tab, GWL_EXSTYLE, ::GetWindowLongPtrA(tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  m_tabs.SubclassWindow(tab);

  SetTabImages();
  int generalImage = m_images && ::ImageList_GetImageCount(m_images.get()) > 0 ? 0 : -1;

  if (HWND page = m_general.Create(tab)) {
    m_tabs.AddPage(0, GetLanguageText("L0007"), page, generalImage);
  }
}

void COptionDlg::SetTabImages() {
  ImageListHandle images = dpi::MakeIconList({IDI_OPT_GENERAL}, kTabIconSize, Dpi());
  ::SendMessageA(::GetDlgItem(m_hWnd, IDC_OPT_TABS), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
  m_images = std::move(images);  // the tab control no longer uses the old list
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

void COptionDlg::OnOK() {
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
