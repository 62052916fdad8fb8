#include <doctest/doctest.h>

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <utility>

#include "include/miscfuns.h"
#include "include/GlobalData.h"
#include "include/handles.h"
#include "tests/e2e/e2e_support.h"

namespace {

// Starts the program and waits until its main window is up.
HWND StartAndFind(RunningProcess& p) {
  HWND main = StartAndFindMainWindow(p);
  REQUIRE(main);
  return main;
}

// The file names of the DLLs a process has loaded, in lower case.
std::set<std::string> LoadedModules(HANDLE process) {
  std::vector<HMODULE> modules(512);
  DWORD needed = 0;
  std::set<std::string> names;
  if (!::EnumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed))
    return names;
  modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
  for (HMODULE m : modules) {
    char name[MAX_PATH] = {};
    if (!::GetModuleBaseNameA(process, m, name, sizeof name)) continue;
    std::string n = name;
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    names.insert(n);
  }
  return names;
}

}  // namespace

TEST_CASE("waiting in the tray, the program holds no picture, file dialog, sound or download libraries") {
  ProgramCopy program;
  RunningProcess p(program.exe());
  HWND main = StartAndFind(p);
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1023)) != "--"; }, 10000));
  std::set<std::string> loaded = LoadedModules(p.handle());
  REQUIRE(loaded.count("user32.dll"));
  for (const char* dll : {"gdiplus.dll", "windowscodecs.dll", "comdlg32.dll", "winmm.dll", "urlmon.dll", "wininet.dll",
                          "msimg32.dll"}) {
    std::string name = dll;
    CAPTURE(name);
    CHECK(loaded.count(name) == 0);
  }
  // Shown, the window has its skin: the pictures come with the first show.
  ::PostMessageA(main, kMsgShowRequest, 0, 0);
  REQUIRE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
  CHECK(LoadedModules(p.handle()).count("gdiplus.dll") == 1);
  RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
  CHECK(::GetWindowRgn(main, region.get()) == COMPLEXREGION);
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(p.WaitExit(10000) == 2);
}

TEST_CASE("a second start shows the running instance and ends with 0, also while the first is still starting") {
  for (bool starting : {true, false}) {
    CAPTURE(starting);
    ProgramCopy program;
    RunningProcess first(program.exe());
    REQUIRE(first.started());
    HWND main = nullptr;
    if (starting) {
      // Caught the moment its window can be found: the rest of its start-up is still to come.
      DWORD t0 = ::GetTickCount();
      while (!(main = FindMainWindow()) && ::GetTickCount() - t0 < 15000) ::Sleep(1);
    } else {
      main = StartAndFind(first);
      REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1023)) != "--"; }, 10000));
    }
    REQUIRE(main);
    // The running instance's thread is held, so the second start waits in its call to it for as
    // long as the test looks: all that time it has no window of its own.
    REQUIRE(::SuspendThread(first.thread()) != static_cast<DWORD>(-1));
    CHECK_FALSE(::IsWindowVisible(main));
    RunningProcess second(program.exe());
    REQUIRE(second.started());
    CHECK_FALSE(WaitUntil([&] { return !second.Running() || !WindowsOf(second.pid()).empty(); }, 3000));
    CHECK(second.Running());
    ::ResumeThread(first.thread());
    CHECK(second.WaitExit(10000) == 0);
    // Shown, and it stays shown: the end of the first's start-up does not hide it again.
    CHECK(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
    WaitUntil([] { return false; }, 500);
    CHECK(::IsWindowVisible(main));
    CHECK(WindowText(main) == "Quorvel v" + CMiscFuns::GetVersionString("ProductVersion", program.exe()));
    CHECK(first.Running());
    CHECK(FindMainWindow() == main);

    // Quit from the exit command: code 2.
    ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    CHECK(first.WaitExit(10000) == 2);
    CHECK(FindMainWindow() == nullptr);
  }
}

TEST_CASE("the session end quits with 2, a cancelled one does not") {
  ProgramCopy program;
  RunningProcess p(program.exe());
  HWND main = StartAndFind(p);
  ::SendMessageA(main, WM_ENDSESSION, FALSE, 0);
  ::Sleep(300);
  CHECK(p.Running());
  ::SendMessageA(main, WM_ENDSESSION, TRUE, 0);
  CHECK(p.WaitExit(10000) == 2);
}

TEST_CASE("the main window speaks the chosen language") {
  ProgramCopy program;
  WriteFileBytes(program / "Settings.ini", "[Settings]\r\nLanguageFile=Deutsch.txt\r\nFirstRun=0\r\n");
  // A damaged hotkey file and an unknown key must not stop the start.
  WriteFileBytes(program / "hotkeys\\Hotkey-00001.ini", std::string("\xff\xfe[Setting\0\0vk=abc", 17));
  WriteFileBytes(program / "hotkeys\\Hotkey-00002.ini", "[Setting]\r\nvk=99999\r\nEnable=1\r\n");
  RunningProcess p(program.exe());
  HWND main = StartAndFind(p);
  // A key code beyond the virtual keys is never registered: the start reports it, with its number,
  // and goes on once the message is closed.
  HWND box = nullptr;
  REQUIRE(WaitUntil([&] { return (box = FindBoxOf(p.pid(), "Quorvel")) != nullptr; }, 15000));
  CHECK(WindowText(::GetDlgItem(box, 0xFFFF)).find("99999") != std::string::npos);
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  // The window can be found while it is still reading the hotkey files.
  std::string total;
  CHECK(WaitUntil([&] { return (total = WindowText(::GetDlgItem(main, 1023))).find('2') != std::string::npos; },
                  5000));
  CAPTURE(total);
  // Shown, the window's texts are the chosen language's.
  ::PostMessageA(main, kMsgShowRequest, 0, 0);
  REQUIRE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
  char expected[256] = {};
  ::GetPrivateProfileStringA("String", "L0167", "", expected, sizeof expected,
                             (program / "language\\Deutsch.txt").c_str());
  CHECK(std::string(expected) != "");
  CHECK(WindowText(::GetDlgItem(main, 1073)) == expected);
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(p.WaitExit(10000) == 2);
}

// A taskbar of the test's own, in front of the real one, so the program's tray icon request comes
// here: while it is being answered, the program waits in the middle of its start-up.
struct HeldTaskbar {
  static std::function<void()> s_whileHeld;
  HWND window = nullptr;
  explicit HeldTaskbar(std::function<void()> whileHeld) {
    s_whileHeld = std::move(whileHeld);
    CMiscFuns::RegisterWindowClassOnce("Shell_TrayWnd", [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m != WM_COPYDATA) return ::DefWindowProcA(h, m, w, l);
      if (s_whileHeld) std::exchange(s_whileHeld, nullptr)();
      return TRUE;
    });
    window = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
    REQUIRE(window);
  }
  ~HeldTaskbar() {
    ::DestroyWindow(window);
    s_whileHeld = nullptr;
  }
};
std::function<void()> HeldTaskbar::s_whileHeld;

TEST_CASE("a second start while the first still adds its tray icon shows the first, and its start-up leaves it shown") {
  ProgramCopy program;
  bool held = false;
  HWND main = nullptr;
  HeldTaskbar taskbar([&] {
    held = true;
    main = FindMainWindow();
    RunningProcess second(program.exe());
    CHECK(second.WaitExit(10000) == 0);
  });
  RunningProcess first(program.exe());
  REQUIRE(WaitUntil([&] { return held; }, 15000));
  REQUIRE(main);
  // Shown once its start-up is over; the end of the start-up does not hide it again.
  CHECK(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1023)) != "--"; }, 10000));
  WaitUntil([] { return false; }, 500);
  CHECK(::IsWindowVisible(main));
  // The exit takes the icon away from this taskbar: it answers while the program ends.
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(WaitUntil([&] { return !first.Running(); }, 10000));
  CHECK(first.WaitExit(0) == 2);
}
