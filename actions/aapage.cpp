#include "actions/aapage.h"

#include <utility>

#include "addactiondlg_ids.h"
#include "language/language.h"

HWND CAddActionPage::Create(HWND parent) {
  if (m_hWnd) return m_hWnd;
  HWND page = CDialogBase::Create(parent);
  if (!page) return nullptr;
  ::ShowWindow(page, SW_HIDE);
  return page;
}

void CAddActionPage::FocusField(int field) const {
  HWND control = Control(FieldControl(field));
  if (!control) return;
  HWND dialog = ::GetAncestor(m_hWnd, GA_ROOT);
  // Through the dialog, so it also moves the default button and remembers the focus.
  ::SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  char cls[16] = {};
  ::GetClassNameA(control, cls, sizeof cls);
  if (::lstrcmpiA(cls, "Edit") == 0) ::SendMessageA(control, EM_SETSEL, 0, -1);
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

INT_PTR CAddActionPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      TranslateWindow(m_hWnd);
      OnInitPage();
      return FALSE;
    case WM_ERASEBKGND: {
      RECT rc = {};
      ::GetClientRect(m_hWnd, &rc);
      ::FillRect(reinterpret_cast<HDC>(wParam), &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(::GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    default:
      (void)lParam;
      return FALSE;
  }
}

void CAddActionPage_NoParameters::OnInitPage() {
  HWND list = Control(IDC_AAP_VALUE);
  std::string text = GetLanguageText("L0077");
  ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  ::SendMessageA(list, CB_SETCURSEL, 0, 0);
}

std::vector<std::string> CAddActionPage_VolumeStep::Fields() const { return {ControlText(IDC_AAP_VALUE)}; }

void CAddActionPage_VolumeStep::OnInitPage() { FillVolumeStepList(Control(IDC_AAP_VALUE)); }

int CAddActionPage_VolumeStep::FieldControl(int field) const { return field == 0 ? IDC_AAP_VALUE : 0; }

CAddActionPage_Drive::CAddActionPage_Drive(UINT templateId, std::vector<std::string> drives)
    : CAddActionPage(templateId), m_drives(std::move(drives)) {}

std::vector<std::string> CAddActionPage_Drive::Fields() const { return {ControlText(IDC_AAP_VALUE)}; }

void CAddActionPage_Drive::OnInitPage() { FillDriveList(Control(IDC_AAP_VALUE), m_drives); }

int CAddActionPage_Drive::FieldControl(int field) const { return field == 0 ? IDC_AAP_VALUE : 0; }

void AddNumberEntries(HWND combo, int first, int last) {
  for (int i = first; i <= last; ++i) {
    std::string text = std::to_string(i);
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void FillVolumeStepList(HWND combo) {
  AddNumberEntries(combo, 1, 20);
  ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("5"));
}

void FillDriveList(HWND combo, const std::vector<std::string>& drives) {
  for (const std::string& drive : drives) {
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.c_str()));
  }
  if (!drives.empty()) ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
}
