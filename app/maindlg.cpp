#include "app/maindlg.h"

#include <shellapi.h>

#include <utility>

#include "actions/devicecontrol.h"
#include "actions/addactiondlg.h"
#include "actions/executor.h"
#include "app/OptionDlg.h"
#include "app/aboutdlg.h"
#include "app/skinmath.h"
#include "hotkeys/backup.h"
#include "hotkeys/opt_hotkeys.h"
#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "predefinedtext/clipboard.h"
#include "predefinedtext/opt_textshortcuts.h"
#include "maindlg_ids.h"
#include "resource.h"

namespace {

// Explorer broadcasts this when the taskbar comes back (after a crash or a restart of the shell).
const UINT kMsgTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
constexpr char kSupportPage[] = "https://quorvel.example/support";
constexpr char kMakerPage[] = "https://quorvel.example/";
constexpr char kDownloadPage[] = "https://quorvel.example/download";

// What the skin uses of the picture's header band and the caption buttons' place in it.
// Figures at 96 dpi. The skin's header band is 64 of its 550 rows, whatever size the picture is.
constexpr int kHeaderHeight = 64, kSkinHeight = 550;
constexpr int kCaptionMargin = 8, kCaptionGap = 2;
constexpr int kTitleIconLeft = 16, kTitleIconSize = 32, kTitleTextGap = 10, kTitleFontHeight = -20;
// The skin pictures are drawn for twice the 96-dpi size, so that they stay sharp up to 200 %.
constexpr int kPictureDpi = 192;
constexpr COLORREF kTitleColour = RGB(255, 255, 255);
constexpr COLORREF kHeaderText = RGB(27, 42, 74);
constexpr COLORREF kBodyText = RGB(40, 48, 64);
constexpr COLORREF kButtonCaption = RGB(27, 42, 74);
constexpr COLORREF kButtonDescription = RGB(80, 92, 112);
constexpr COLORREF kSeparator = RGB(179, 179, 179);
constexpr COLORREF kVersionText = RGB(200, 200, 200);
constexpr COLORREF kLink = RGB(160, 190, 240), kLinkHover = RGB(255, 255, 255);

// Each large button: control, icon, second line, and the command it runs.
struct LargeButton {
  int id;
  UINT icon;
  const char* descriptionKey;
  int command;
};
constexpr LargeButton kLargeButtons[] = {
    {IDC_MAIN_ADD_HOTKEY, 249, "L0172", ID_CMD_ADD_HOTKEY},
    {IDC_MAIN_MANAGE_HOTKEYS, 250, "L0173", ID_CMD_MANAGE_HOTKEYS},
    {IDC_MAIN_TEXT_SHORTCUTS, 225, "L0183", ID_CMD_TEXT_SHORTCUTS},
    {IDC_MAIN_EXPORT, 251, "L0184", ID_CMD_EXPORT},
    {IDC_MAIN_IMPORT, 252, "L0185", ID_CMD_IMPORT},
};

constexpr int kStatusIds[] = {IDC_STATUS_TOTAL, IDC_STATUS_REGISTERED, IDC_STATUS_FAILED, IDC_STATUS_DISABLED};
constexpr COLORREF kStatusColours[] = {RGB(0, 0, 255), RGB(0, 150, 0), RGB(200, 0, 0), RGB(50, 50, 50)};
constexpr int kVersionIds[] = {IDC_VERSION_PRODUCT, IDC_VERSION_BUILD, IDC_VERSION_INSTALLED};

// The window has no default button; this id, which no control and no command has, stands in for one.
// Enter away from a button then does nothing, where the dialog manager would send IDOK, which is
// also the exit command.
constexpr WORD kNoDefaultButton = 0x7FFE;

// How long the exit waits for the update thread to end.
constexpr DWORD kUpdateJoinMs = 50;

// The owner-draw, colour and notify messages a child asks its parent for come back to it with
// this offset, so each control draws itself.
constexpr UINT kReflectBase = WM_USER + 0x1C00;

std::string Picture(const char* name) { return CMiscFuns::GetAppFolder() + "\\pictures\\" + name; }

}  // namespace

std::string ProductCaption() { return CMiscFuns::GetOwnVersionString("ProductName"); }

std::string ProductTitle() { return ProductCaption() + " v" + CMiscFuns::GetOwnVersionString("ProductVersion"); }

// --- CMsgWindow ---------------------------------------------------------------------------------

bool CMsgWindow::Create(HWND parent) {
  if (!CMiscFuns::RegisterWindowClassOnce(names::kInstanceWindowClass, WindowProc)) return false;
  m_hWnd = ::CreateWindowExA(0, names::kInstanceWindowClass, "", WS_CHILD, 0, 0, 100, 100, parent, nullptr,
                             CMiscFuns::ModuleInstance(), nullptr);
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

CMainDlg::CMainDlg() : CDialogBase(IDD_MAINDLG) {}

bool CMainDlg::Create() {
  m_starting = true;
  const bool created = CDialogBase::Create(nullptr) != nullptr;
  if (created) ::ShowWindow(m_hWnd, SW_HIDE);
  m_starting = false;
  if (created && std::exchange(m_showAskedWhileStarting, false)) OnShowRequest();
  return created;
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
    case WM_SHOWWINDOW:
      // Before the window first appears; it waits hidden in the tray until then.
      if (wParam) DressForFirstShow();
      return FALSE;
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
    case WM_ERASEBKGND:
      return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case kMsgUpdateFound:
      OnUpdateFound();
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    case WM_DPICHANGED:
      return CDialogBase::HandleMessage(msg, wParam, lParam);
    case DM_GETDEFID:
      ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, MAKELONG(kNoDefaultButton, DC_HASDEFID));
      return TRUE;
    default: {
      INT_PTR result = FALSE;
      if (ReflectToChild(msg, wParam, lParam, result)) return result;
      return FALSE;
    }
  }
}

bool CMainDlg::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_DRAWITEM:
      child = lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
      break;
    case WM_NOTIFY:
      child = lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      child = reinterpret_cast<HWND>(lParam);
      break;
    default:
      return false;
  }
  if (!child || ::GetParent(child) != m_hWnd) return false;
  LRESULT answer = ::SendMessageA(child, kReflectBase + msg, wParam, lParam);
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
    // A control that does not answer gets the skin behind it: no background of its own.
    if (!answer) {
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      answer = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    }
    result = static_cast<INT_PTR>(answer);
    return true;
  }
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, answer);
  result = TRUE;
  return true;
}

BOOL CMainDlg::OnInitDialog() {
  CentreWindow(m_hWnd, Centring::OnWorkArea);
  m_msgWindow.Create(m_hWnd);
  // What only the visible window needs (texts, icons, button and static set-up, pictures, the
  // layered style) comes at its first show: DressForFirstShow.
  ::SetWindowTextA(m_hWnd, ProductTitle().c_str());
  AddTrayIcon();
  RegisterAtStart();
  FirstRun();
  m_update.Start(m_hWnd, UpdateConfigFromSettings(Paths().settingsIni));
  // The window starts hidden: neither the foreground nor the focus goes to it, or the keys the
  // user types into the window in front would go into the invisible one. The focus comes with
  // the first activation, on the first tab stop.
  return FALSE;
}

void CMainDlg::DressForFirstShow() {
  if (m_dressed) return;
  m_dressed = true;
  // The status lines and an update notice may have changed texts meanwhile; none of them is a
  // language key, so the translation leaves them as they are.
  TranslateWindow(m_hWnd);
  LoadIcons();
  SetUpButtons();
  SetUpStatics();
  SetVersionLines();
  LoadSkin();
  for (CIconButton* caption : {&m_minimize, &m_close}) {
    std::string base = caption == &m_minimize ? "minimizebox" : "closebox";
    caption->SetPictures(Picture((base + "-normal.png").c_str()), Picture((base + "-hover.png").c_str()),
                         Picture((base + "-pressed.png").c_str()), "");
    caption->SizeToPicture(kPictureDpi);
  }
  PlaceCaptionButtons();
  std::string pressed = Picture("btn-style1-pressed.png"), hover = Picture("btn-style1-hover.png");
  for (CIconButton& button : m_large) button.SetPictures(Picture("btn-style1.png"), hover, pressed, "");
  MakeLayered();
}

void CMainDlg::LoadSkin() {
  m_skin.reset(static_cast<HBITMAP>(
      ::LoadImageA(nullptr, Picture("mainUI.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  MakeTitleFont();
  // A missing picture leaves the window rectangular.
  if (m_skin) ApplySkinRegion();
}

void CMainDlg::MakeTitleFont() {
  NONCLIENTMETRICSA ncm = {};
  ncm.cbSize = sizeof ncm;
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    ncm.lfMessageFont.lfHeight = Scaled(kTitleFontHeight);
    ncm.lfMessageFont.lfWeight = FW_BOLD;
    m_titleFont.reset(::CreateFontIndirectA(&ncm.lfMessageFont));
  }
}

void CMainDlg::OnDpiChanged() {
  // The update button had the dialog font given back with every other control.
  if (m_boldButtonFont) MakeUpdateButtonBold();
  // Before the first show nothing is drawn yet: the show dresses the window at the dpi it has then.
  if (!m_dressed) return;
  LoadIcons();
  MakeTitleFont();
  if (m_skin) ApplySkinRegion();
  PlaceCaptionButtons();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMainDlg::ApplySkinRegion() {
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  const int w = client.right, h = client.bottom;
  BITMAP bm = {};
  if (w <= 0 || h <= 0 || !::GetObjectA(m_skin.get(), sizeof bm, &bm)) return;
  ClientDc screen(m_hWnd);
  MemoryDc source(::CreateCompatibleDC(screen.get())), target(::CreateCompatibleDC(screen.get()));
  BitmapHandle stretched(::CreateCompatibleBitmap(screen.get(), w, h));
  if (!source || !target || !stretched) return;
  {
    SelectedObject from(source.get(), m_skin.get());
    SelectedObject to(target.get(), stretched.get());
    ::SetStretchBltMode(target.get(), HALFTONE);
    ::SetBrushOrgEx(target.get(), 0, 0, nullptr);
    ::StretchBlt(target.get(), 0, 0, w, h, source.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    RegionHandle region(::CreateRectRgn(0, 0, w, h));
    HDC pixels = target.get();
    auto isBlack = [pixels](int x, int y) { return ::GetPixel(pixels, x, y) == RGB(0, 0, 0); };
    for (const skin::Pixel& p : skin::CornerCutPixels(w, h, isBlack, skin::ScaledCornerBlocks(Dpi()))) {
      RegionHandle dot(::CreateRectRgn(p.x, p.y, p.x + 1, p.y + 1));
      ::CombineRgn(region.get(), region.get(), dot.get(), RGN_DIFF);
    }
    // The window owns the region from here on.
    if (::SetWindowRgn(m_hWnd, region.get(), FALSE)) region.release();
  }
}

BOOL CMainDlg::OnEraseBackground(HDC dc) {
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  BITMAP bm = {};
  if (m_skin && ::GetObjectA(m_skin.get(), sizeof bm, &bm)) {
    MemoryDc source(::CreateCompatibleDC(dc));
    SelectedObject picture(source.get(), m_skin.get());
    int oldMode = ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
    // The header band carries the application icon and the product name.
    int header = kHeaderHeight * client.bottom / kSkinHeight;
    int iconSize = Scaled(kTitleIconSize), top = (header - iconSize) / 2, left = Scaled(kTitleIconLeft);
    if (m_titleIcon) ::DrawIconEx(dc, left, top, m_titleIcon.get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);
    std::string title = ProductCaption();
    RECT text = {left + iconSize + Scaled(kTitleTextGap), 0, client.right / 2, header};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kTitleColour);
    SelectedObject font(dc, m_titleFont ? static_cast<HGDIOBJ>(m_titleFont.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  } else {
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  }
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, 1);
  return TRUE;
}

void CMainDlg::PlaceCaptionButtons() {
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  auto place = [&](HWND button, int right) {
    RECT rc;
    ::GetWindowRect(button, &rc);
    int w = rc.right - rc.left;
    ::SetWindowPos(button, nullptr, right - w, Scaled(kCaptionMargin), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return right - w - Scaled(kCaptionGap);
  };
  int right = place(m_close.hwnd(), client.right - Scaled(kCaptionMargin));
  place(m_minimize.hwnd(), right);
}

void CMainDlg::SetUpButtons() {
  struct Caption {
    CIconButton& button;
    int id;
  } captions[] = {{m_minimize, IDC_MAIN_MINIMIZE}, {m_close, IDC_MAIN_CLOSE}};
  for (Caption& c : captions) {
    c.button.SubclassWindow(::GetDlgItem(m_hWnd, c.id));
    c.button.m_dwStyle = ctl::IconButtonStyle::Picture | ctl::IconButtonStyle::HandCursor;
    // The pictures carry the glyph: no icon and no caption over them.
    c.button.SetIconHandle(nullptr);
    c.button.SetCaption("");
  }

  m_options.SubclassWindow(::GetDlgItem(m_hWnd, IDC_MAIN_OPTIONS));
  m_options.SetIcon(247, 24, 24);
  m_options.m_nIconOffset = 6;
  m_options.m_nTextGap = 6;
  m_options.m_crCaption = kTitleColour;
  m_options.m_dwStyle = ctl::IconButtonStyle::HandCursor | ctl::IconButtonStyle::UnderlineCaption;

  for (size_t i = 0; i < sizeof kLargeButtons / sizeof kLargeButtons[0]; ++i) {
    const LargeButton& b = kLargeButtons[i];
    CIconButton& button = m_large[i];
    button.SubclassWindow(::GetDlgItem(m_hWnd, b.id));
    button.m_dwStyle = ctl::IconButtonStyle::Picture | ctl::IconButtonStyle::HandCursor;
    button.SetIcon(b.icon, 32, 32);
    button.m_nIconOffset = 14;
    button.m_nTextGap = 10;
    button.m_crCaption = kButtonCaption;
    button.m_crDescription = kButtonDescription;
    button.SetDescription(GetLanguageText(b.descriptionKey));
    button.SetTooltipText(GetLanguageText(b.descriptionKey));
  }
}

void CMainDlg::SetUpStatics() {
  for (CBoldTextStatic* header : {&m_statusHeader, &m_versionHeader}) {
    header->SubclassWindow(::GetDlgItem(m_hWnd, header == &m_statusHeader ? IDC_STATUS_HEADER : IDC_VERSION_HEADER));
    header->MakeBoldFont();
    header->SetTextColor(kHeaderText);
    header->SetNoPrefix(true);
  }
  for (size_t i = 0; i < 4; ++i) {
    m_statusLines[i].SubclassWindow(::GetDlgItem(m_hWnd, kStatusIds[i]));
    m_statusLines[i].SetTextColor(kStatusColours[i]);
    m_statusLines[i].SetNoPrefix(true);
  }
  for (size_t i = 0; i < 3; ++i) {
    m_versionLines[i].SubclassWindow(::GetDlgItem(m_hWnd, kVersionIds[i]));
    m_versionLines[i].SetTextColor(kBodyText);
    m_versionLines[i].SetNoPrefix(true);
  }
  m_separator.SubclassWindow(::GetDlgItem(m_hWnd, IDC_MAIN_SEPARATOR));
  m_separator.SetColors(kSeparator, kSeparator);
  m_separator.SetStyle(ctl::GradientLineStyle::Vertical | ctl::GradientLineStyle::LineOnly);

  ::SetDlgItemTextA(m_hWnd, IDC_MAIN_COMPANY, CMiscFuns::GetOwnVersionString("CompanyName").c_str());
  m_company.SubclassWindow(::GetDlgItem(m_hWnd, IDC_MAIN_COMPANY));
  m_company.m_crLink = kLink;
  m_company.m_crHover = kLinkHover;

  std::string versionText = GetLanguageText("v") + CMiscFuns::GetOwnVersionString("ProductVersion");
  ::SetDlgItemTextA(m_hWnd, IDC_MAIN_VERSION_TEXT, versionText.c_str());
  m_versionText.SubclassWindow(::GetDlgItem(m_hWnd, IDC_MAIN_VERSION_TEXT));
  m_versionText.SetTextColor(kVersionText);
  m_versionText.SetNoPrefix(true);
}

void CMainDlg::SetVersionLines() {
  std::string version = CMiscFuns::GetOwnVersionString("ProductVersion");
  ::SetDlgItemTextA(m_hWnd, IDC_VERSION_PRODUCT,
                    FormatLanguageText("L0175", {lang::FormatArg::Str(version)}).c_str());
  std::string date = FileDateText(CMiscFuns::GetModulePath());
  std::string build = date.empty() ? GetLanguageText("L0177") : FormatLanguageText("L0176", {lang::FormatArg::Str(date)});
  std::string installed =
      date.empty() ? GetLanguageText("L0177") : FormatLanguageText("L0178", {lang::FormatArg::Str(date)});
  ::SetDlgItemTextA(m_hWnd, IDC_VERSION_BUILD, build.c_str());
  ::SetDlgItemTextA(m_hWnd, IDC_VERSION_INSTALLED, installed.c_str());
}

void CMainDlg::MakeLayered() {
  LONG_PTR ex = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
  ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
}

void CMainDlg::OnUpdateFound() {
  std::string found = m_update.FoundVersion();
  if (found.empty()) return;
  HWND button = ::GetDlgItem(m_hWnd, IDC_MAIN_UPDATE);
  ::EnableWindow(button, TRUE);
  ::SetWindowTextA(button, FormatLanguageText("L0180", {lang::FormatArg::Str(found)}).c_str());
  MakeUpdateButtonBold();
}

void CMainDlg::MakeUpdateButtonBold() {
  HWND button = ::GetDlgItem(m_hWnd, IDC_MAIN_UPDATE);
  LOGFONTA lf = {};
  // The dialog font, at the window's present dpi.
  HFONT current = dpi::DialogFont(m_hWnd);
  if (current && ::GetObjectA(current, sizeof lf, &lf)) {
    lf.lfWeight = FW_BOLD;
    FontHandle bold(::CreateFontIndirectA(&lf));
    if (bold) {
      ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(bold.get()), TRUE);
      m_boldButtonFont = std::move(bold);  // kept while the button uses it
    }
  }
}

void CMainDlg::AddTrayIcon() {
  // The tip is the window's title.
  std::string tip = ProductTitle();
  HICON icon = static_cast<HICON>(::LoadImageA(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
  // At logon the taskbar may not be there yet: try again every two seconds.
  if (!m_trayIcon.Add(m_hWnd, kMsgTrayNotify, icon, tip)) ::SetTimer(m_hWnd, IDT_TRAY_RETRY, 2000, nullptr);
}

void CMainDlg::OnTaskbarCreated() {
  // The new taskbar shows no icons: add ours again, and retry only as long as it is not in.
  if (m_trayIcon.AddAgain()) {
    ::KillTimer(m_hWnd, IDT_TRAY_RETRY);
  } else {
    ::SetTimer(m_hWnd, IDT_TRAY_RETRY, 2000, nullptr);
  }
}

void CMainDlg::OnTimer(UINT_PTR id) {
  if (id == IDT_TRAY_RETRY && (m_trayIcon.added() || m_trayIcon.AddAgain())) ::KillTimer(m_hWnd, IDT_TRAY_RETRY);
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
  // The tray menu holds the guard already and hands it to the command chosen from it.
  if (m_busy && !m_guardHandedOver) return;
  m_guardHandedOver = false;
  bool outermost = !m_busy;
  m_busy = true;
  dialog();
  if (outermost) m_busy = false;
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

MenuHandle CMainDlg::BuildTrayMenu(const std::vector<std::string>& drives) {
  auto text = [](const char* key) { return GetLanguageText(key); };
  MenuHandle menu(::CreatePopupMenu());
  HMENU discs = ::CreatePopupMenu(), openOne = ::CreatePopupMenu(), closeOne = ::CreatePopupMenu();
  HMENU help = ::CreatePopupMenu();
  for (size_t i = 0; i < drives.size(); ++i) {
    UINT open = ID_CMD_OPEN_TRAY_FIRST + static_cast<UINT>(i), close = ID_CMD_CLOSE_TRAY_FIRST + static_cast<UINT>(i);
    ::AppendMenuA(openOne, MF_STRING, open, drives[i].c_str());
    ::AppendMenuA(closeOne, MF_STRING, close, drives[i].c_str());
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
  std::vector<std::string> drives = ListCdromDrives();
  m_driveByCommand.clear();
  for (size_t i = 0; i < drives.size(); ++i) {
    m_driveByCommand[ID_CMD_OPEN_TRAY_FIRST + static_cast<UINT>(i)] = drives[i];
    m_driveByCommand[ID_CMD_CLOSE_TRAY_FIRST + static_cast<UINT>(i)] = drives[i];
  }
  MenuHandle menu = BuildTrayMenu(drives);
  UINT id = static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr));
  menu.reset();
  ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // lets the menu close properly when the user clicks elsewhere
  if (!id) return;
  m_guardHandedOver = true;
  RunCommand(static_cast<int>(id));
  m_guardHandedOver = false;
}

void CMainDlg::RegisterAtStart() {
  // The message box of a refused hotkey runs a message loop. Under the guard, nothing the tray or a
  // second start asks for meanwhile can register the table anew beneath this first registration.
  m_busy = true;
  m_hotkeys.RegisterAll(m_hWnd);
  m_busy = false;
  RefreshStatus(m_hotkeys.stats());
}

void CMainDlg::ReRegisterHotkeys() {
  m_hotkeys.UnregisterAll(m_hWnd);
  m_hotkeys.RegisterAll(m_hWnd);
  RefreshStatus(m_hotkeys.stats());
}

void CMainDlg::OnVolumeNotify(int iconId, const char* text) {
  // The popup is made with the first volume step: a program that never steps the volume has none.
  if (!m_volumePopup.hwnd() && !m_volumePopup.Create(m_hWnd)) return;
  // The text lives only during the call: the popup keeps its own copy.
  m_volumePopup.SetMessage(iconId, text ? text : "");
  m_volumePopup.SetDisplayTime(1);
  m_volumePopup.ShowMessage();
}

void CMainDlg::OnHotkey(WPARAM id) {
  std::optional<_HotkeyItem> item = m_hotkeys.FindById(id);
  if (!item) return;
  // A hotkey held down repeats. Its repeats while its own list runs (in a Sleep, say) are no new
  // presses; another hotkey pressed meanwhile still runs at once, nested in this one.
  if (!m_runningHotkeys.insert(item->path).second) return;
  RunHotkeyActions(m_hWnd, *item);
  m_runningHotkeys.erase(item->path);
}

void CMainDlg::RefreshStatus(const HotkeyStats& stats) {
  const std::pair<int, const char*> lines[] = {{stats.total, "L0168"},
                                               {stats.registered, "L0169"},
                                               {stats.failed, "L0170"},
                                               {stats.disabled, "L0171"}};
  const int ids[] = {IDC_STATUS_TOTAL, IDC_STATUS_REGISTERED, IDC_STATUS_FAILED, IDC_STATUS_DISABLED};
  LanguageTexts texts;
  for (size_t i = 0; i < 4; ++i) {
    std::string text = texts.Format(lines[i].second, {lang::FormatArg::Int(lines[i].first)});
    ::SetDlgItemTextA(m_hWnd, ids[i], text.c_str());
  }
}

void CMainDlg::OnShowRequest() {
  if (m_busy) return;
  if (m_starting) {
    m_showAskedWhileStarting = true;
    return;
  }
  ::ShowWindow(m_hWnd, SW_SHOW);
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  ::SetForegroundWindow(m_hWnd);
}

void CMainDlg::OnEndSession(bool sessionEnds) {
  // wParam FALSE means the session end was cancelled: the user goes on working with us.
  if (sessionEnds) Quit();
}

void CMainDlg::OnCommand(int id) {
  // Esc must not end the program: it only hides the window. (Menu entries never come this way, so
  // the options entry, which shares the number, is not mistaken for it.)
  if (id == IDCANCEL) {
    HideToTray();
    return;
  }
  // Buttons stand for the menu commands they share a handler with.
  for (const LargeButton& b : kLargeButtons) {
    if (b.id == id) id = b.command;
  }
  switch (id) {
    case IDC_MAIN_OPTIONS:
      id = ID_CMD_OPTIONS;
      break;
    case IDC_MAIN_MINIMIZE:
    case IDC_MAIN_CLOSE:
      HideToTray();
      return;
    case IDC_MAIN_UPDATE:
      ::ShellExecuteA(m_hWnd, nullptr, kDownloadPage, nullptr, nullptr, SW_SHOWNORMAL);
      return;
    case IDC_MAIN_COMPANY:
      ::ShellExecuteA(m_hWnd, nullptr, kMakerPage, nullptr, nullptr, SW_SHOWNORMAL);
      return;
    default:
      break;
  }
  RunCommand(id);
}

void CMainDlg::RunCommand(int id) {
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
      RunModal([this] { ExecuteActionLine(m_hWnd, "ShowShutdownDialog"); });
      break;
    case ID_CMD_ABOUT:
      RunModal([this] {
        CAboutDlg about;
        about.DoModal(m_hWnd);
      });
      break;
    case ID_CMD_OPTIONS:
      OnOptionsCommand();
      break;
    case ID_CMD_ADD_HOTKEY:
    case ID_CMD_MANAGE_HOTKEYS:
      OnManageHotkeysCommand(id == ID_CMD_ADD_HOTKEY);
      break;
    case ID_CMD_TEXT_SHORTCUTS:
      OnTextShortcutsCommand();
      break;
    case ID_CMD_EXPORT:
      OnExportCommand();
      break;
    case ID_CMD_IMPORT:
      OnImportCommand();
      break;
    case ID_CMD_SUPPORT:
      ::ShellExecuteA(nullptr, nullptr, kSupportPage, nullptr, nullptr, SW_SHOWNORMAL);
      break;
    default:
      break;
  }
}

// The dialogs behind these commands are opened here; each runs inside the busy guard.
void CMainDlg::OnOptionsCommand() {
  // A combination refused before may be free now: OK registers every hotkey anew and reports again.
  RunModal([this] {
    if (ShowOptionsDialog(m_hWnd) == IDOK) ReRegisterHotkeys();
  });
}

void CMainDlg::OnManageHotkeysCommand(bool addMode) {
  RunModal([this, addMode] {
    if (ShowManageHotkeysDialog(m_hWnd, addMode, ComposeActionLine) == IDOK) ReRegisterHotkeys();
  });
}

void CMainDlg::OnTextShortcutsCommand() {
  // The selector reads the file again each time it opens: nothing to refresh here.
  RunModal([this] { ShowTextShortcutsDialog(m_hWnd); });
}

void CMainDlg::OnExportCommand() {
  RunModal([this] { ExportHotkeysInteractive(m_hWnd); });
}

void CMainDlg::OnImportCommand() {
  RunModal([this] { ImportHotkeysInteractive(m_hWnd, [this] { ReRegisterHotkeys(); }); });
}

void CMainDlg::OnDestroy() {
  // The update thread may sit in its pause, its message box or a download: the first two end at
  // once and the download is cut off. A thread that still cannot end in this short while ends with
  // the process; the user's exit does not wait for a server.
  m_update.Stop(kUpdateJoinMs);
  ::KillTimer(m_hWnd, IDT_TRAY_RETRY);
  ::KillTimer(m_hWnd, IDT_FIRST_RUN_SHOW);
  m_trayIcon.Remove();
  m_hotkeys.UnregisterAll(m_hWnd);
}

void CMainDlg::OnLButtonDown(LPARAM lParam) {
  // Dragging anywhere on the background moves the borderless window.
  ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
}

void CMainDlg::LoadIcons() {
  // The big icon at the system's size for it at the window's dpi; the header's at its own size.
  m_bigIcon = dpi::LoadIcon(IDI_APP, 32, Dpi());
  m_smallIcon = dpi::LoadIcon(IDI_APP, 16, Dpi());
  m_titleIcon = dpi::LoadIcon(IDI_APP, kTitleIconSize, Dpi());
  ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.get()));
  ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
}

void CMainDlg::HideToTray() {
  ::ShowWindow(m_hWnd, SW_MINIMIZE);
  ::ShowWindow(m_hWnd, SW_HIDE);
}

void CMainDlg::Quit() {
  // A paste waiting for its target would put the user's clipboard back only after the window is
  // gone (or never, when the session ends): it is put back now.
  CLIPBD::RestoreInterruptedPaste(m_hWnd);
  ::DestroyWindow(m_hWnd);
  ::PostQuitMessage(2);
}
