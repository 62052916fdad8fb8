#include "app/opt_general.h"

#include <shellapi.h>

#include "include/GlobalData.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "optiondlg_ids.h"

namespace {

constexpr char kTranslationPage[] = "https://quorvel.example/translate";
constexpr char kLanguageFileKey[] = "LanguageFile";
constexpr DWORD kEtdtEnableTab = 6;  // ETDT_ENABLE | ETDT_USETABTEXTURE

RegKey OpenRunKey(REGSAM access) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunSubkey, 0, access, &key) != ERROR_SUCCESS) return RegKey();
  return RegKey(key);
}

RECT ChildRect(HWND parent, HWND child) {
  RECT rc = {};
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

}  // namespace

// --- Autostart ----------------------------------------------------------------------------------

bool IsAutoStartEnabled(const std::string& name) {
  if (name.empty()) return false;
  RegKey key = OpenRunKey(KEY_QUERY_VALUE);
  if (!key) return false;
  return ::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool EnableAutoStart(const std::string& name, const std::string& data) {
  if (name.empty() || data.empty()) return false;
  HKEY raw = nullptr;
  // Created when missing: a fresh profile may not have the key yet, and the box would never stick.
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRunSubkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegKey key(raw);
  LONG result = ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 options::RegStringSize(data));
  ::RegFlushKey(key.get());
  return result == ERROR_SUCCESS;
}

bool DisableAutoStart(const std::string& name) {
  if (name.empty()) return false;
  RegKey key = OpenRunKey(KEY_SET_VALUE);
  if (!key) return false;
  LONG result = ::RegDeleteValueA(key.get(), name.c_str());
  ::RegFlushKey(key.get());
  return result == ERROR_SUCCESS;
}

// --- Environment --------------------------------------------------------------------------------

OptionsEnvironment OptionsEnvironment::ForThisProgram() {
  OptionsEnvironment env;
  env.settingsIni = Paths().settingsIni;
  env.tmpIni = Paths().tmpIni;
  env.runValueName = CMiscFuns::GetOwnVersionString("ProductName");
  env.exePath = CMiscFuns::GetModulePath();
  env.listLanguages = [] { return ListLanguageFiles(); };
  return env;
}

// --- Page ---------------------------------------------------------------------------------------

COptionPage_General::COptionPage_General(const OptionsEnvironment& env) : CDialogBase(IDD_OPT_GENERAL), m_env(env) {}

INT_PTR COptionPage_General::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) {
    OnSize(LOWORD(lParam), HIWORD(lParam));
    return TRUE;
  }
  return CDialogBase::HandleMessage(msg, wParam, lParam);
}

BOOL COptionPage_General::OnInitDialog() {
  EnableThemedBackground();
  TranslateWindow(m_hWnd);
  RememberLayout();
  m_languageList.SubclassWindow(::GetDlgItem(m_hWnd, IDC_OPT_LANGUAGE));
  m_translateLink.SubclassWindow(::GetDlgItem(m_hWnd, IDC_OPT_TRANSLATE));

  m_autostartAtStart = IsAutoStartEnabled(m_env.runValueName);
  ::CheckDlgButton(m_hWnd, IDC_OPT_AUTOSTART, m_autostartAtStart ? BST_CHECKED : BST_UNCHECKED);
  FillLanguageList();
  return FALSE;  // the dialog sets the focus
}

void COptionPage_General::EnableThemedBackground() {
  LibraryHandle uxtheme(::LoadLibraryA("uxtheme.dll"));
  if (!uxtheme) return;
  using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
  auto enable = reinterpret_cast<EnableTexture>(
      reinterpret_cast<void*>(::GetProcAddress(uxtheme.get(), "EnableThemeDialogTexture")));
  if (enable) enable(m_hWnd, kEtdtEnableTab);
}

void COptionPage_General::FillLanguageList() {
  m_languageList.ResetContent();
  m_languages = options::LanguageChoices(m_env.listLanguages ? m_env.listLanguages()
                                                             : std::vector<options::LanguageChoices::Pair>());
  for (const auto& [display, file] : m_languages.Pairs()) m_languageList.AddItem(file, display);
  std::string setting = CMiscFuns::GetIniString(names::kSettingsSection, kLanguageFileKey, "", m_env.settingsIni);
  // By position, not by text: two files may share a display name.
  int index = m_languages.IndexOfFile(setting);
  ::SendDlgItemMessageA(m_hWnd, IDC_OPT_LANGUAGE, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void COptionPage_General::RememberLayout() {
  m_anchors = {{IDC_OPT_AUTOSTART, false}, {IDC_OPT_LANGUAGE_LABEL, false}, {IDC_OPT_NOTE, true}};
  RECT page = {};
  ::GetClientRect(m_hWnd, &page);
  m_anchorsDpi = Dpi();
  for (Anchor& a : m_anchors) {
    RECT rc = ChildRect(m_hWnd, ::GetDlgItem(m_hWnd, a.id));
    a.rightMargin = page.right - rc.right;
    a.bottomMargin = page.bottom - rc.bottom;
  }
}

void COptionPage_General::OnSize(int width, int height) {
  for (const Anchor& a : m_anchors) {
    HWND control = ::GetDlgItem(m_hWnd, a.id);
    RECT rc = ChildRect(m_hWnd, control);
    // The page may be at another dpi by now than when the margins were taken.
    const int rightMargin = dpi::Rescale(a.rightMargin, m_anchorsDpi, Dpi());
    const int bottomMargin = dpi::Rescale(a.bottomMargin, m_anchorsDpi, Dpi());
    int w = width - rightMargin - rc.left;
    int h = rc.bottom - rc.top;
    int top = a.keepBottom ? height - bottomMargin - h : rc.top;
    if (w <= 0) continue;  // a page squeezed below its controls keeps them as they are
    ::MoveWindow(control, rc.left, top, w, h, TRUE);
  }
}

void COptionPage_General::OnCommand(int id, int code) {
  if (id == IDC_OPT_TRANSLATE && code == BN_CLICKED) {
    ::ShellExecuteA(nullptr, "open", kTranslationPage, nullptr, nullptr, SW_SHOWNORMAL);
  }
}

options::OptionsWrite COptionPage_General::PlanWrite(int currentTab) const {
  bool checked = ::IsDlgButtonChecked(m_hWnd, IDC_OPT_AUTOSTART) == BST_CHECKED;
  auto index = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_OPT_LANGUAGE, CB_GETCURSEL, 0, 0));
  return options::PlanOptionsWrite(m_autostartAtStart, checked, index, m_languages, currentTab);
}

void COptionPage_General::Apply(const options::OptionsWrite& write) const {
  switch (write.autostart) {
    case options::AutoStartChange::Enable:
      EnableAutoStart(m_env.runValueName, options::RunCommandFor(m_env.exePath));
      break;
    case options::AutoStartChange::Disable:
      DisableAutoStart(m_env.runValueName);
      break;
    case options::AutoStartChange::None:
      break;
  }
  if (write.languageFile) {
    CMiscFuns::WriteIniString(names::kSettingsSection, kLanguageFileKey, *write.languageFile, m_env.settingsIni);
  }
}
