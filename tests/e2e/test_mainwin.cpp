#include <doctest/doctest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "resource.h"
#include "tests/e2e/e2e_support.h"
#include "tests/include/controls_support.h"

namespace {

std::string Settings(const std::string& language, const std::string& extra = "") {
  return "[Settings]\r\nLanguageFile=" + language + "\r\nFirstRun=0\r\n" + extra;
}

void SaveShot(const Pixels& px, const std::string& name) { CHECK(SaveShot(px, "mainwin", name)); }

bool TrayIconAlive(HWND main) {
  NOTIFYICONDATAA nid = {};
  nid.cbSize = sizeof nid;
  nid.hWnd = main;
  nid.uID = 128;
  nid.uFlags = NIF_TIP;
  lstrcpynA(nid.szTip, "probe", sizeof nid.szTip);
  return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

// The web server's log: a line for each request it answered.
std::string ServerLog() { return ReadFileBytes(std::string(QUORVEL_HTTP_FIXTURE_DIR) + "\\log"); }

std::string HttpBase() {
  std::string port = ReadFileBytes(std::string(QUORVEL_HTTP_FIXTURE_DIR) + "\\port");
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  REQUIRE_FALSE(port.empty());
  return "http://127.0.0.1:" + port + "/";
}

}  // namespace

TEST_CASE("main window: skinned, layered, cut at the corners, in English and German") {
  for (const char* language : {"English.txt", "Deutsch.txt"}) {
    CAPTURE(language);
    ProgramCopy program;
    WriteFileBytes(program / "Settings.ini", Settings(language, "UpdateUrl=\r\n"));
    RunningQuorvel q(program);
    q.Show();
    WaitUntil([] { return false; }, 700);
    // The size of the template here.
    HWND probe = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAINDLG), nullptr,
                                      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    REQUIRE(probe);
    RECT expected, client;
    ::GetClientRect(probe, &expected);
    ::DestroyWindow(probe);
    ::GetClientRect(q.main, &client);
    CHECK(client.right == expected.right);
    CHECK(client.bottom == expected.bottom);
    CHECK((::GetWindowLongA(q.main, GWL_EXSTYLE) & WS_EX_LAYERED) != 0);
    CHECK((::GetWindowLongA(q.main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME)) == 0);
    CHECK(WindowText(q.main) == "Quorvel v" + CMiscFuns::GetVersionString("ProductVersion", program.exe()));
    // The region leaves out the black pixels of the rounded corners.
    RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    CHECK(::GetWindowRgn(q.main, region.get()) == COMPLEXREGION);
    CHECK_FALSE(::PtInRegion(region.get(), 0, 0));
    CHECK_FALSE(::PtInRegion(region.get(), client.right - 1, client.bottom - 1));
    CHECK(::PtInRegion(region.get(), client.right / 2, client.bottom / 2));
    CHECK(::PtInRegion(region.get(), 5, 5));
    // Texts from the language file.
    CHECK(WindowText(::GetDlgItem(q.main, 1074)) == LanguageText(program, language, "L0008"));
    CHECK(WindowText(::GetDlgItem(q.main, 1076)) == LanguageText(program, language, "L0174"));
    CHECK(WindowText(::GetDlgItem(q.main, 1072)) ==
          LanguageText(program, language, "v") + CMiscFuns::GetVersionString("ProductVersion", program.exe()));
    CHECK(WindowText(::GetDlgItem(q.main, 1082)) == CMiscFuns::GetVersionString("CompanyName", program.exe()));
    CHECK(WindowText(::GetDlgItem(q.main, 1027)).find(CMiscFuns::GetVersionString("ProductVersion", program.exe())) !=
          std::string::npos);
    CHECK(WindowText(::GetDlgItem(q.main, 1028)).find(".") != std::string::npos);
    CHECK_FALSE(::IsWindowEnabled(::GetDlgItem(q.main, 1007)));
    CHECK(WindowText(::GetDlgItem(q.main, 1007)) == LanguageText(program, language, "L0179"));

    Pixels px = WindowPixels(q.main);
    REQUIRE(px.width == client.right);
    // The header band and the light body of the skin picture show, and so does more than the skin.
    int header = px.Count(RGB(0x24, 0x38, 0x60), 24, RECT{0, 0, px.width, px.height / 10});
    int body = px.Count(RGB(0xee, 0xf2, 0xf7), 12, RECT{0, px.height / 5, px.width, px.height * 4 / 5});
    CHECK(header > px.width * 10);
    CHECK(body > px.width * px.height / 8);
    SaveShot(px, std::string("main-") + (language[0] == 'E' ? "en" : "de") + ".png");
  }
}

TEST_CASE("main window: the minimize and close buttons hide it; the program keeps running") {
  ProgramCopy program;
  WriteFileBytes(program / "Settings.ini", Settings("English.txt", "UpdateUrl=\r\n"));
  RunningQuorvel q(program);
  for (int id : {1052, 1071}) {
    CAPTURE(id);
    q.Show();
    WaitUntil([] { return false; }, 300);
    RECT rc;
    ::GetWindowRect(::GetDlgItem(q.main, id), &rc);
    ClickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    CHECK(WaitUntil([&] { return ::IsWindowVisible(q.main) == FALSE; }, 5000));
    CHECK(q.process.Running());
    CHECK(TrayIconAlive(q.main));
  }
}

TEST_CASE("tray menu exit ends with 2 and removes the icon") {
  ProgramCopy program;
  WriteFileBytes(program / "Settings.ini", Settings("English.txt", "UpdateUrl=\r\n"));
  RunningQuorvel q(program);
  CHECK(TrayIconAlive(q.main));
  HWND main = q.main;
  // The right button on the icon opens the menu; its last entry is the exit.
  q.ExitThroughTrayMenu();
  CHECK(q.process.WaitExit(10000) == 2);
  CHECK_FALSE(TrayIconAlive(main));
}

TEST_CASE("update check: a newer version enables the button and asks; the open box does not hold up the exit") {
  ProgramCopy program;
  WriteFileBytes(program / "Settings.ini", Settings("English.txt", "UpdateUrl=" + HttpBase() + "newer.txt\r\n"));
  RunningQuorvel q(program);
  HWND box = nullptr;
  REQUIRE(WaitUntil([&] { return (box = FindBoxOf(q.process.pid(), "Quorvel")) != nullptr; }, 20000));
  std::string text = WindowText(::GetDlgItem(box, 0xFFFF));
  CAPTURE(text);
  CHECK(text.find("99.5") != std::string::npos);
  HWND button = ::GetDlgItem(q.main, 1007);
  CHECK(WaitUntil([&] { return ::IsWindowEnabled(button) != FALSE; }, 5000));
  CHECK(WindowText(button) == "&Download version 99.5");
  DWORD start = ::GetTickCount();
  ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(q.process.WaitExit(10000) == 2);
  CHECK(::GetTickCount() - start < 5000);
}

TEST_CASE("update check: an equal version, garbage and no server change nothing and do not hold up the exit") {
  std::string base = HttpBase();
  for (std::string file : {"equal.txt", "garbage.txt", ""}) {
    // A query of its own tells this program's request from any other in the server's log.
    const std::string asked = file + "?run=" + CMiscFuns::NewGuidText().substr(0, 8);
    const std::string url = file.empty() ? std::string("http://127.0.0.1:9/v.txt") : base + asked;
    CAPTURE(url);
    ProgramCopy program;
    WriteFileBytes(program / "Settings.ini", Settings("English.txt", "UpdateUrl=" + url + "\r\n"));
    RunningQuorvel q(program);
    if (!file.empty()) {
      CHECK(WaitUntil([&] { return ServerLog().find("GET /" + asked) != std::string::npos; }, 10000));
    }
    WaitUntil([] { return false; }, file.empty() ? 2500 : 1000);
    CHECK(FindBoxOf(q.process.pid(), "Quorvel") == nullptr);
    // What the user sees when the window comes up: the button as it started.
    q.Show();
    HWND button = ::GetDlgItem(q.main, 1007);
    CHECK_FALSE(::IsWindowEnabled(button));
    CHECK(WindowText(button) == "No &update available");
    // The failed download pauses two minutes before the next try; the exit wakes it.
    DWORD start = ::GetTickCount();
    ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    CHECK(q.process.WaitExit(10000) == 2);
    CHECK(::GetTickCount() - start < 5000);
  }
}

TEST_CASE("while the about box from the tray menu is up, neither the tray, a button nor a second start opens more") {
  ProgramCopy program;
  WriteFileBytes(program / "Settings.ini", Settings("English.txt", "UpdateUrl=\r\n"));
  RunningQuorvel q(program);
  const std::string aboutCaption = CaptionText(program, "English.txt", "L0147");
  OpenAboutFromTrayMenu(q.main);
  HWND about = nullptr;
  REQUIRE(WaitUntil([&] { return (about = FindBoxOf(q.process.pid(), aboutCaption.c_str())) != nullptr; }, 5000));
  // All of these are refused while the box is up.
  ::PostMessageA(q.main, kMsgTrayNotify, 128, WM_RBUTTONDOWN);
  ::PostMessageA(q.main, kMsgTrayNotify, 128, WM_LBUTTONDBLCLK);
  ::PostMessageA(q.main, kMsgShowRequest, 0, 0);
  ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(1074, BN_CLICKED), 0);
  ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(13, BN_CLICKED), 0);
  WaitUntil([] { return false; }, 800);
  HWND menu = ::FindWindowA("#32768", nullptr);
  bool menuShown = menu && ::IsWindowVisible(menu);
  CHECK_FALSE(menuShown);
  CHECK_FALSE(::IsWindowVisible(q.main));
  int boxes = 0;
  for (HWND h = ::FindWindowExA(nullptr, nullptr, "#32770", aboutCaption.c_str()); h;
       h = ::FindWindowExA(nullptr, h, "#32770", aboutCaption.c_str())) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid == q.process.pid() && ::IsWindowVisible(h)) ++boxes;
  }
  CHECK(boxes == 1);
  ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  CHECK(WaitUntil([&] { return !::IsWindow(about); }, 5000));
  // Afterwards the tray answers again.
  ::PostMessageA(q.main, kMsgTrayNotify, 128, WM_LBUTTONDBLCLK);
  CHECK(WaitUntil([&] { return ::IsWindowVisible(q.main) != FALSE; }, 5000));
}
