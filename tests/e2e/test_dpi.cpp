// The program's windows at 100, 125, 150 and 200 % display scaling. Wine reads the dpi from the
// prefix's LogPixels when a process starts, so each dpi runs in a child process of this program:
// a copy of it in a copy of the program folder (pictures and language files beside it, as the
// program has them), started with the one case that opens every window and checks it.
#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "actions/addactiondlg.h"
#include "actions/closecomputerdlg.h"
#include "app/OptionDlg.h"
#include "app/aboutdlg.h"
#include "app/maindlg.h"
#include "app/skinmath.h"
#include "app/traymessagedlg.h"
#include "hotkeys/addHotkeydlg.h"
#include "hotkeys/opt_hotkeys.h"
#include "include/GlobalData.h"
#include "include/dpi.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "predefinedtext/PredefinedTextSelector.h"
#include "predefinedtext/opt_textshortcuts.h"
#include "tests/actions/fakepower.h"
#include "tests/e2e/e2e_support.h"
#include "tests/support/capture.h"
#include "tests/support/programfolder.h"

namespace {

constexpr char kEveryWindowCase[] = "every window fits its texts and controls at the display's dpi";

// The texts that must fit: the control's own, drawn as the control draws it (a "&" marks the
// access key and is not drawn), in the font it draws with.
bool TextMustFit(HWND control, bool& wraps) {
  std::string cls = ClassOf(control);
  LONG style = static_cast<LONG>(::GetWindowLongPtrA(control, GWL_STYLE));
  wraps = false;
  if (cls == "Static") {
    LONG kind = style & SS_TYPEMASK;
    if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP &&
        kind != SS_OWNERDRAW && kind != SS_SIMPLE)
      return false;
    wraps = kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT;
    return true;
  }
  if (cls == "Button") {
    LONG kind = style & BS_TYPEMASK;
    if (kind == BS_GROUPBOX) return false;
    wraps = (style & BS_MULTILINE) != 0;
    return true;
  }
  return false;
}

// Room a button's own box or check mark takes from its text.
int ButtonMarkRoom(HWND control) {
  if (ClassOf(control) != "Button") return 0;
  LONG kind = static_cast<LONG>(::GetWindowLongPtrA(control, GWL_STYLE)) & BS_TYPEMASK;
  bool mark = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON ||
              kind == BS_3STATE || kind == BS_AUTO3STATE;
  return mark ? dpi::Scaled(control, 16) : 0;
}

struct WindowReport {
  std::vector<std::string> problems;
  std::map<std::string, int> fills;  // per list: its columns' fill of its client width, in per cent
};

void CheckControls(HWND window, const std::string& name, WindowReport& report) {
  RECT client;
  ::GetClientRect(window, &client);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<HWND> controls;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM out) {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&controls));
  for (HWND control : controls) {
    if (!::IsWindowVisible(control)) continue;
    const std::string id = name + " control " + std::to_string(::GetDlgCtrlID(control)) + " (" + ClassOf(control) + ")";
    RECT rc;
    ::GetWindowRect(control, &rc);
    // The list's header and a combo box's parts live inside their control.
    if (rc.left < client.left || rc.top < client.top || rc.right > client.right || rc.bottom > client.bottom)
      report.problems.push_back(id + " leaves its window");
    bool wraps = false;
    std::string text = WindowText(control);
    if (!text.empty() && TextMustFit(control, wraps)) {
      RECT inner;
      ::GetClientRect(control, &inner);
      const int room = inner.right - ButtonMarkRoom(control);
      SIZE need = TextExtent(control, text, wraps ? room : 0, false, 0);
      if (wraps ? need.cy > inner.bottom : need.cx > room)
        report.problems.push_back(id + " text \"" + text + "\" needs " + std::to_string(need.cx) + " x " +
                                  std::to_string(need.cy) + ", has " + std::to_string(room) + " x " +
                                  std::to_string(inner.bottom));
    }
    if (ClassOf(control) == "SysListView32") {
      int columns = 0;
      HWND header = reinterpret_cast<HWND>(::SendMessageA(control, LVM_GETHEADER, 0, 0));
      int count = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
      for (int c = 0; c < count; ++c) columns += static_cast<int>(::SendMessageA(control, LVM_GETCOLUMNWIDTH, c, 0));
      RECT lc;
      ::GetClientRect(control, &lc);
      if (count > 0) report.fills[name + " list " + std::to_string(::GetDlgCtrlID(control))] = dpi::FillPercent(columns, lc.right);
    }
  }
}

// build/win/shots/dpi/<dpi>/ (or dpi/<name>/): the shots folder makes one level at a time.
std::string ShotFolder(const std::string& name = std::to_string(dpi::SystemDpi())) {
  ShotPath("dpi", name);
  return "dpi\\" + name;
}

// Checks the window as shown and takes its picture.
void Inspect(HWND window, const std::string& name, WindowReport& report) {
  PumpMessages();
  CheckControls(window, name, report);
  CHECK(SaveShot(WindowPixels(window), ShotFolder(), name + ".png"));
}

void WriteReport(const WindowReport& report) {
  std::string lines;
  for (const auto& [list, fill] : report.fills) lines += list + "=" + std::to_string(fill) + "\r\n";
  WriteFileBytes(ShotPath(ShotFolder(), "fill.txt"), lines);
}

std::map<std::string, int> ReadFills(int at) {
  std::map<std::string, int> fills;
  std::string text = ReadFileBytes(ShotPath(ShotFolder(std::to_string(at)), "fill.txt"));
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    size_t eq = line.find('=');
    if (eq != std::string::npos) fills[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
    pos = end == std::string::npos ? text.size() : end + 2;
  }
  return fills;
}

// The region the window has against the skin's black corners: no black pixel of the skin at the
// window's corners is left inside the region, and the region covers the rest of the window.
void CheckRegion(HWND main, WindowReport& report) {
  RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
  if (::GetWindowRgn(main, region.get()) == ERROR) {
    report.problems.push_back("the main window has no region");
    return;
  }
  Pixels px = ScreenPixels(main);
  RECT client;
  ::GetClientRect(main, &client);
  const int w = client.right, h = client.bottom;
  const skin::CornerBlocks blocks = skin::ScaledCornerBlocks(dpi::WindowDpi(main));
  int blackInside = 0, outside = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool corner = skin::InCornerBlock(x, y, w, h, blocks);
      bool in = ::PtInRegion(region.get(), x, y) != FALSE;
      if (corner && in && px.At(x, y) == RGB(0, 0, 0)) ++blackInside;
      if (!corner && !in) ++outside;
    }
  }
  if (blackInside) report.problems.push_back("the main window shows " + std::to_string(blackInside) + " black corner pixels");
  if (outside) report.problems.push_back("the main window's region misses " + std::to_string(outside) + " pixels");
}

void InspectMainWindow(WindowReport& report) {
  CMainDlg main;
  REQUIRE(main.Create());
  ::ShowWindow(main.hwnd(), SW_SHOWNORMAL);
  ::UpdateWindow(main.hwnd());
  Inspect(main.hwnd(), "main", report);
  bool skinned = ::GetFileAttributesA((CMiscFuns::GetAppFolder() + "\\pictures\\mainUI.bmp").c_str()) !=
                 INVALID_FILE_ATTRIBUTES;
  if (skinned) CheckRegion(main.hwnd(), report);
  // Moved onto a monitor of a quarter more dpi, as the system tells it (the window still fits the
  // screen, for its picture): the skin, its region, the pictures and the texts follow.
  const int to = dpi::WindowDpi(main.hwnd()) * 5 / 4;
  RECT rc;
  ::GetWindowRect(main.hwnd(), &rc);
  RECT suggested = {0, 0, (rc.right - rc.left) * 5 / 4, (rc.bottom - rc.top) * 5 / 4};
  ::SendMessageA(main.hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  CHECK(dpi::WindowDpi(main.hwnd()) == to);
  RECT now;
  ::GetWindowRect(main.hwnd(), &now);
  CHECK(now.right - now.left == suggested.right);
  Inspect(main.hwnd(), "main-moved-to-" + std::to_string(to), report);
  if (skinned) CheckRegion(main.hwnd(), report);
}

template <class Dialog>
void InspectModal(Dialog& dlg, const std::string& name, WindowReport& report) {
  bool ran = false;
  RunDialog(dlg, [&](HWND window) {
    ran = true;
    Inspect(window, name, report);
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  });
  CHECK_MESSAGE(ran, name);
}

// The program's paths for the scope: the folder this program runs from when it is a copy of the
// program folder (the case runs so in a child at another dpi), else a folder of the test's own
// with the shipped language files.
class OwnPaths {
 public:
  OwnPaths() {
    const std::string here = CMiscFuns::GetAppFolder();
    if (::GetFileAttributesA((here + "\\language\\English.txt").c_str()) != INVALID_FILE_ATTRIBUTES)
      SetGlobalPaths(BuildGlobalPaths(here));
    else
      m_folder = std::make_unique<ProgramFolder>();
  }
  ~OwnPaths() { SetGlobalPaths(m_saved); }
  OwnPaths(const OwnPaths&) = delete;
  OwnPaths& operator=(const OwnPaths&) = delete;

 private:
  GlobalPaths m_saved = Paths();
  std::unique_ptr<ProgramFolder> m_folder;
};

}  // namespace

TEST_CASE(kEveryWindowCase) {
  OwnPaths paths;
  GdiplusFixture gdiplus;
  WindowReport report;
  InspectMainWindow(report);
  {
    COptionDlg dlg(OptionsEnvironment::ForThisProgram());
    InspectModal(dlg, "options", report);
  }
  {
    TempDir hotkeys;
    WriteHotkeyFile(hotkeys / "Hotkey-00001.ini", Combo('1'), {"ShellExecuteEx C:\\Windows\\notepad.exe", "Sleep 100"});
    WriteHotkeyFile(hotkeys / "Hotkey-00002.ini", Combo('2'), {"VolumeUP 5"});
    CManageHotkeysDlg dlg;
    dlg.SetFolder(hotkeys.path());
    InspectModal(dlg, "managehotkeys", report);
  }
  {
    CAddHotkeyDlg dlg;
    HotkeyDefinition h;
    h.Ctrl = 1;
    h.vk = 'K';
    h.Description = "A hotkey";
    h.ActionLines = {"ShellExecuteEx C:\\Windows\\notepad.exe", "EjectCDROM D:"};
    dlg.SetHotkey(h);
    InspectModal(dlg, "hotkeyeditor", report);
  }
  {
    CAddActionDlg dlg([] { return std::vector<std::string>{"D:"}; }, [](const std::string&) {});
    InspectModal(dlg, "actioneditor", report);
  }
  {
    TempDir store;
    WriteFileBytes(store / "data.xml", ReadFileBytes(std::string(QUORVEL_PROGRAM_DIR) + "\\predefinedtext\\data.xml"));
    CTextShortcutsDlg dlg(store / "data.xml");
    InspectModal(dlg, "textshortcuts", report);
  }
  {
    FakePowerActions fake;
    CCloseComputerDlg dlg(fake, [] { return uint64_t{90061000}; });
    InspectModal(dlg, "shutdown", report);
  }
  {
    CAboutDlg dlg;
    InspectModal(dlg, "about", report);
  }
  {
    CTrayMessageDlg popup;
    REQUIRE(popup.Create(nullptr));
    popup.SetMessage(224, "Volume 50 %");
    popup.ShowMessage();
    WaitUntil([&] { PumpMessages(); return !popup.slidingIn(); }, 5000);
    RECT rc;
    ::GetWindowRect(popup.hwnd(), &rc);
    CHECK(rc.right - rc.left == dpi::Scale(240, dpi::SystemDpi()));
    Inspect(popup.hwnd(), "traypopup", report);
  }
  {
    CPredefinedTextSelectorWindow::Open(nullptr);
    HWND selector = ::FindWindowA(kSelectorWindowClass, nullptr);
    REQUIRE(selector);
    RECT preview;
    ::GetWindowRect(::GetDlgItem(selector, kSelectorPreviewId), &preview);
    CHECK(preview.right - preview.left == dpi::Scale(kSelectorPreviewWidth, dpi::SystemDpi()));
    Inspect(selector, "selector", report);
    ::DestroyWindow(selector);
    PumpMessages();
  }
  WriteReport(report);
  for (const std::string& p : report.problems) FAIL_CHECK(p);
}

namespace {

// The dpi Wine gives the processes started from now on in this session, put back at the end.
class ChosenDpi {
 public:
  explicit ChosenDpi(int at) {
    RegKey key;
    HKEY raw = nullptr;
    REQUIRE(::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                              &raw, nullptr) == ERROR_SUCCESS);
    key.reset(raw);
    DWORD old = 0, size = sizeof old, type = 0;
    m_had = ::RegQueryValueExA(raw, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
    m_old = old;
    DWORD value = static_cast<DWORD>(at);
    REQUIRE(::RegSetValueExA(raw, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
            ERROR_SUCCESS);
  }
  ~ChosenDpi() {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_WRITE, &raw) != ERROR_SUCCESS) return;
    if (m_had)
      ::RegSetValueExA(raw, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_old), sizeof m_old);
    else
      ::RegDeleteValueA(raw, "LogPixels");
    ::RegCloseKey(raw);
  }
  ChosenDpi(const ChosenDpi&) = delete;
  ChosenDpi& operator=(const ChosenDpi&) = delete;

 private:
  bool m_had = false;
  DWORD m_old = 0;
};

std::string OwnPath() {
  char path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

}  // namespace

TEST_CASE("at 96, 120, 144 and 192 dpi every window fits, and the lists' columns fill them as at 96 dpi") {
  ProgramCopy program;
  const std::string exe = program / "quorvel_tests.exe";
  REQUIRE(::CopyFileA(OwnPath().c_str(), exe.c_str(), FALSE));
  std::map<int, std::map<std::string, int>> fills;
  for (int at : {96, 120, 144, 192}) {
    CAPTURE(at);
    ChosenDpi chosen(at);
    const std::string out = program / ("report-" + std::to_string(at) + ".txt");
    // A display of 1280 x 1024 pixels at 96 dpi, as large in pixels as the scale makes it, on a
    // desktop of its own beside the session's (its explorer ends with the program).
    const std::string desktop = "/desktop=QuorvelDpi" + std::to_string(at) + "," + std::to_string(dpi::Scale(1280, at)) +
                                "x" + std::to_string(dpi::Scale(1024, at));
    RunningProcess child("C:\\windows\\explorer.exe", desktop + " \"" + exe + "\" -tc=\"" + kEveryWindowCase +
                                                             "\" --out=\"" + out + "\"");
    REQUIRE(child.started());
    CHECK(child.WaitExit(180000) != -1);
    std::string report = ReadFileBytes(out);
    CHECK_MESSAGE(report.find("Status: SUCCESS") != std::string::npos, report);
    fills[at] = ReadFills(at);
  }
  REQUIRE_FALSE(fills[96].empty());
  for (int at : {120, 144, 192}) {
    for (const auto& [list, fill96] : fills[96]) {
      CAPTURE(list);
      CAPTURE(at);
      REQUIRE(fills[at].count(list) == 1);
      CHECK(std::abs(fills[at][list] - fill96) <= 2);
    }
  }
}

TEST_CASE("a dialog moved to a monitor of another dpi takes the suggested size, fonts, icons and columns") {
  OwnPaths paths;
  TempDir hotkeys;
  WriteHotkeyFile(hotkeys / "Hotkey-00001.ini", Combo('1'), {"Sleep 100"});
  CManageHotkeysDlg dlg;
  dlg.SetFolder(hotkeys.path());
  bool ran = false;
  RunDialog(dlg, [&](HWND window) {
    ran = true;
    const int from = dpi::WindowDpi(window), to = from * 3 / 2;
    HWND list = ::GetDlgItem(window, 1009);
    if (!list) list = ::FindWindowExA(window, nullptr, "SysListView32", nullptr);
    REQUIRE(list);
    const int column = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    LOGFONTA before = {}, after = {};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)), sizeof before, &before);
    RECT rc;
    ::GetWindowRect(window, &rc);
    // Placed at the top left of the screen, where it fits whole for its picture.
    RECT suggested = {0, 0, (rc.right - rc.left) * 3 / 2, (rc.bottom - rc.top) * 3 / 2};
    // As the system tells a window that moved onto a monitor of one and a half times the dpi.
    ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
    CHECK(dpi::WindowDpi(list) == to);
    RECT now;
    ::GetWindowRect(window, &now);
    CHECK(now.left == suggested.left);
    CHECK(now.right - now.left == suggested.right - suggested.left);
    CHECK(now.bottom - now.top == suggested.bottom - suggested.top);
    CHECK(static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0)) == column * 3 / 2);
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)), sizeof after, &after);
    CHECK(after.lfHeight == dpi::Rescale(before.lfHeight, from, to));
    HIMAGELIST rows = reinterpret_cast<HIMAGELIST>(::SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    int iw = 0, ih = 0;
    REQUIRE(rows);
    ::ImageList_GetIconSize(rows, &iw, &ih);
    CHECK(iw == dpi::Scale(16, to));
    RECT item = {};
    item.left = LVIR_BOUNDS;
    if (::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)))
      CHECK(item.bottom - item.top == dpi::Scale(30, to));
    WindowReport report;
    CheckControls(window, "managehotkeys at " + std::to_string(to), report);
    for (const std::string& p : report.problems) FAIL_CHECK(p);
    CHECK(SaveShot(WindowPixels(window), ShotFolder("changed"), "managehotkeys-" + std::to_string(to) + ".png"));
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  });
  CHECK(ran);
}

TEST_CASE("the program tells the system it scales itself: per monitor where it can, else to the system's dpi") {
  // Wine scales no program as a bitmap, so what the system makes of it is seen on Windows only;
  // here the shipped executable's manifest is read as Windows reads it.
  const std::string exe = std::string(QUORVEL_PROGRAM_DIR) + "\\Quorvel.exe";
  HMODULE module = ::LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  REQUIRE(module);
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  REQUIRE(found);
  HGLOBAL data = ::LoadResource(module, found);
  std::string manifest(static_cast<const char*>(::LockResource(data)), ::SizeofResource(module, found));
  ::FreeLibrary(module);
  CHECK(manifest.find(">PerMonitorV2, system</dpiAwareness>") != std::string::npos);
  CHECK(manifest.find(">true</dpiAware>") != std::string::npos);
}
