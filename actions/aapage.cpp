#include "actions/aapage.h"

#include <commdlg.h>
#include <shlobj.h>

#include <utility>

#include "addactiondlg_ids.h"
#include "include/systemdlls.h"
#include "language/language.h"

CAddActionPage::CAddActionPage(UINT templateId, std::vector<int> fieldControls, Filler fill, Chooser browse)
    : CDialogBase(templateId), m_fieldControls(std::move(fieldControls)), m_fill(std::move(fill)), m_browse(browse) {}

HWND CAddActionPage::Create(HWND parent) {
  if (m_hWnd) return m_hWnd;
  HWND page = CDialogBase::Create(parent);
  if (!page) return nullptr;
  ::ShowWindow(page, SW_HIDE);
  return page;
}

void CAddActionPage::FocusField(int field) const {
  if (field < 0 || field >= static_cast<int>(m_fieldControls.size())) return;
  HWND control = Control(m_fieldControls[static_cast<size_t>(field)]);
  if (!control) return;
  HWND dialog = ::GetAncestor(m_hWnd, GA_ROOT);
  // Through the dialog, so it also moves the default button and remembers the focus.
  ::SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  char cls[16] = {};
  ::GetClassNameA(control, cls, sizeof cls);
  if (::lstrcmpiA(cls, "Edit") == 0) ::SendMessageA(control, EM_SETSEL, 0, -1);
}

std::vector<std::string> CAddActionPage::Fields() const {
  std::vector<std::string> texts;
  for (int id : m_fieldControls) texts.push_back(ControlText(id));
  return texts;
}

std::string CAddActionPage::ControlText(int id) const {
  HWND control = Control(id);
  if (!control) return std::string();
  int len = ::GetWindowTextLengthA(control);
  if (len <= 0) return std::string();
  std::string text(static_cast<size_t>(len) + 1, '\0');
  int got = ::GetWindowTextA(control, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void CAddActionPage::SetControlText(int id, const std::string& text) const {
  ::SetDlgItemTextA(m_hWnd, id, text.c_str());
}

BOOL CAddActionPage::OnInitDialog() {
  TranslateWindow(m_hWnd);
  if (m_fill) m_fill(*this);
  return FALSE;
}

BOOL CAddActionPage::OnEraseBackground(HDC dc) {
  RECT rc = {};
  ::GetClientRect(m_hWnd, &rc);
  ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  return TRUE;
}

HBRUSH CAddActionPage::OnControlColour(UINT msg, HDC dc) {
  if (msg != WM_CTLCOLORDLG && msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return nullptr;
  ::SetBkColor(dc, RGB(255, 255, 255));
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

void CAddActionPage::OnCommand(int id, int code) {
  if (id != IDC_AAP_BROWSE || code != BN_CLICKED || !m_browse || m_fieldControls.empty()) return;
  std::string path;
  if (m_browse(path)) SetControlText(m_fieldControls[0], path);
}

namespace {

void AddNumberEntries(HWND combo, int first, int last) {
  for (int i = first; i <= last; ++i) {
    std::string text = std::to_string(i);
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

}  // namespace

void FillNoParameters(CAddActionPage& page) {
  HWND list = page.Control(IDC_AAP_VALUE);
  std::string text = GetLanguageText("L0077");
  ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  ::SendMessageA(list, CB_SETCURSEL, 0, 0);
}

void FillSecondsList(CAddActionPage& page) {
  AddNumberEntries(page.Control(IDC_AAP_VALUE), 1, 30);
  page.SetControlText(IDC_AAP_VALUE, "5");
}


void FillVolumeStepList(CAddActionPage& page) {
  HWND combo = page.Control(IDC_AAP_VALUE);
  AddNumberEntries(combo, 1, 20);
  ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("5"));
}

void FillDriveList(HWND combo, const std::vector<std::string>& drives) {
  for (const std::string& drive : drives) {
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.c_str()));
  }
  if (!drives.empty()) ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

bool ChooseFile(std::string& path) {
  // Long paths fit; the dialog refuses a choice that does not and leaves the text as it was.
  std::vector<char> file(32768, '\0');
  static const char kFilter[] = "All Files (*.*)\0*.*\0";
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = ::GetActiveWindow();
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_HIDEREADONLY;
  if (!ShowOpenFileDialog(&ofn)) return false;
  path = file.data();
  return true;
}

bool ChooseFolder(std::string& path) {
  BROWSEINFOA info = {};
  info.hwndOwner = ::GetActiveWindow();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
  if (!chosen) return false;
  char buffer[MAX_PATH] = {};
  bool got = ::SHGetPathFromIDListA(chosen, buffer) != FALSE;
  ::CoTaskMemFree(chosen);
  if (got) path = buffer;
  return got;
}
