// The tray icon through the shell's own sequences: the taskbar coming back, the exit.
#include <doctest/doctest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "include/GlobalData.h"
#include "tests/e2e/e2e_support.h"

namespace {

constexpr UINT kIconId = 128;

struct Quorvel {
  RunningProcess process;
  HWND main = nullptr;
  explicit Quorvel(const ProgramCopy& program) : process(program.exe()) {
    main = StartAndFindMainWindow(process);
    REQUIRE(main);
    REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1023)) != "--"; }, 10000));
  }
  ~Quorvel() {
    if (process.Running()) {
      ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
      process.WaitExit(10000);
    }
  }
};

NOTIFYICONDATAA IconOf(HWND main) {
  NOTIFYICONDATAA nid = {};
  nid.cbSize = sizeof nid;
  nid.hWnd = main;
  nid.uID = kIconId;
  return nid;
}

bool TrayIconAlive(HWND main) {
  NOTIFYICONDATAA nid = IconOf(main);
  nid.uFlags = NIF_TIP;
  lstrcpynA(nid.szTip, "probe", sizeof nid.szTip);
  return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

// What a shell that lost its icons does: they are gone, and it announces the new taskbar.
void ShellRestarts(HWND main) {
  NOTIFYICONDATAA nid = IconOf(main);
  ::Shell_NotifyIconA(NIM_DELETE, &nid);
  ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
}

void ExitThroughTrayMenu(Quorvel& q) {
  ::PostMessageA(q.main, kMsgTrayNotify, kIconId, WM_RBUTTONDOWN);
  REQUIRE(WaitUntil([] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000));
  WaitUntil([] { return false; }, 300);
  PressChord({}, VK_UP);
  PressChord({}, VK_RETURN);
}

}  // namespace

TEST_CASE("tray: the taskbar coming back adds the icon once; then the program stops adding it; exit removes it") {
  ProgramCopy program;
  Quorvel q(program);
  HWND main = q.main;
  REQUIRE(TrayIconAlive(main));
  // A taskbar that announces itself while it still shows the icon.
  ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  WaitUntil([] { return false; }, 500);
  CHECK(TrayIconAlive(main));
  // A shell that lost its icons: the announcement brings the icon back.
  ShellRestarts(main);
  CHECK(WaitUntil([&] { return TrayIconAlive(main); }, 5000));
  // Longer than the retry period: the icon stays as it is.
  WaitUntil([] { return false; }, 2500);
  CHECK(TrayIconAlive(main));

  // The icon is in, so nothing retries any more: an icon the shell drops without announcing a new
  // taskbar stays away, through two retry periods.
  NOTIFYICONDATAA nid = IconOf(main);
  ::Shell_NotifyIconA(NIM_DELETE, &nid);
  WaitUntil([] { return false; }, 4500);
  CHECK_FALSE(TrayIconAlive(main));
  // The next announcement adds it again.
  ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  CHECK(WaitUntil([&] { return TrayIconAlive(main); }, 5000));

  ExitThroughTrayMenu(q);
  CHECK(q.process.WaitExit(10000) == 2);
  CHECK_FALSE(TrayIconAlive(main));
}
