#include "app/aboutdlg.h"

#include <shellapi.h>

#include "aboutdlg_ids.h"
#include "app/skinmath.h"
#include "include/controldraw.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "resource.h"

namespace {

constexpr char kMakerPage[] = "https://quorvel.example/";
constexpr COLORREF kBackground = RGB(255, 255, 255);

}  // namespace

std::string FileDateText(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
  FILETIME local = {};
  SYSTEMTIME st = {};
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &st)) return {};
  return skin::DateText(st.wYear, st.wMonth, st.wDay);
}

CAboutDlg::CAboutDlg() : CDialogBase(IDD_ABOUTBOX) {}

INT_PTR CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      ::GetClientRect(m_hWnd, &rc);
      ::FillRect(reinterpret_cast<HDC>(wParam), &rc, m_background.get());
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_DRAWITEM: {
      // The link button draws itself from the reflected request.
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->CtlID == IDC_ABOUT_LEGAL) m_legal.DrawItem(*item);
      return TRUE;
    }
    case WM_DESTROY:
      // The static only borrows the icon.
      ::SendDlgItemMessageA(m_hWnd, IDC_ABOUT_ICON, STM_SETICON, 0, 0);
      m_exeIcon.reset();
      return FALSE;
    default:
      return CDialogBase::HandleMessage(msg, wParam, lParam);
  }
}

BOOL CAboutDlg::OnInitDialog() {
  m_background.reset(::CreateSolidBrush(kBackground));
  CentreWindow(m_hWnd, Centring::OverOwner);
  SetBigIcon(IDI_APP);
  TranslateWindow(m_hWnd);
  FillControls();
  ::SetFocus(::GetDlgItem(m_hWnd, IDCANCEL));
  return FALSE;
}

void CAboutDlg::ShowExeIcon() {
  IconHandle extracted(::ExtractIconA(CMiscFuns::ModuleInstance(), CMiscFuns::GetModulePath().c_str(), 0));
  // 1 means the file is no program at all; null that it has no icon.
  if (reinterpret_cast<ULONG_PTR>(extracted.get()) == 1) extracted.release();
  // 32 x 32 at 96 dpi: the frame of the file's icon for the window's dpi.
  const int size = Scaled(32);
  IconHandle icon = extracted ? ctldraw::ScaledIcon(extracted.get(), 0, nullptr, size, size) : IconHandle();
  HICON shown = icon ? icon.get() : ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  ::SendDlgItemMessageA(m_hWnd, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
  m_exeIcon = std::move(icon);  // the static shows the new one by now
}

void CAboutDlg::FillControls() {
  std::string exe = CMiscFuns::GetModulePath();
  ShowExeIcon();

  ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_PRODUCT, CMiscFuns::GetOwnVersionString("ProductName").c_str());
  std::string version = CMiscFuns::GetOwnVersionString("ProductVersion");
  std::string date = FileDateText(exe);
  std::string line = date.empty() ? version
                                  : FormatLanguageText("L0148", {lang::FormatArg::Str(version), lang::FormatArg::Str(date)});
  ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_VERSION, line.c_str());
  m_version.SubclassWindow(::GetDlgItem(m_hWnd, IDC_ABOUT_VERSION));
  m_version.MakeBoldFont();
  m_version.SetNoPrefix(true);

  ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_LEGAL, CMiscFuns::GetOwnVersionString("LegalCopyright").c_str());
  m_legal.SubclassWindow(::GetDlgItem(m_hWnd, IDC_ABOUT_LEGAL));

  ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_THANKS, GetLanguageText("L0193").c_str());
  std::string location = GetLanguageText("L0150") + "\r\n\r\n" + exe;
  ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_LOCATION, location.c_str());
}

HBRUSH CAboutDlg::OnControlColour(UINT msg, HDC dc) {
  if (msg == WM_CTLCOLORBTN || msg == WM_CTLCOLORLISTBOX) return nullptr;
  // Every control sits on the one plain background.
  ::SetBkColor(dc, kBackground);
  return m_background.get();
}

void CAboutDlg::OnCommand(int id, int code) {
  if (id == IDC_ABOUT_LEGAL && code == BN_CLICKED) {
    ::ShellExecuteA(m_hWnd, nullptr, kMakerPage, nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  CDialogBase::OnCommand(id, code);
}
