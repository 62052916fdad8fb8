// Hotkey registration and dispatch meeting the user's other doings: the tray while a refused hotkey
// is reported at start, a hotkey held down, another hotkey pressed during a list.
#include <doctest/doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "include/GlobalData.h"
#include "tests/e2e/e2e_support.h"

namespace {

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

void Key(BYTE vk, bool down) {
  ::keybd_event(vk, static_cast<BYTE>(::MapVirtualKeyA(vk, 0)), down ? 0 : KEYEVENTF_KEYUP, 0);
}

}  // namespace

TEST_CASE("while a refused hotkey is reported at start, the tray cannot register the hotkeys anew beneath it") {
  ProgramCopy program;
  std::string out = program / "pressed.txt";
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('5'), {"Sleep 1"});
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00002.ini", Combo('5'), {"Sleep 2"});
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00003.ini", Combo('6'), {EchoLine("six", out)});
  RunningProcess process(program.exe());
  REQUIRE(process.started());
  const std::string product = "Quorvel";
  REQUIRE(WaitUntil([&] { return !WindowsOf(process.pid(), &product).empty(); }, 15000));
  HWND box = WindowsOf(process.pid(), &product).front();
  HWND main = FindMainWindow();
  REQUIRE(main);

  // The user opens the tray menu and asks for the hotkey list; if it comes, its OK saves and
  // registers everything again.
  ::PostMessageA(main, kMsgTrayNotify, 128, WM_RBUTTONDOWN);
  if (WaitUntil([] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 1500)) {
    WaitUntil([] { return false; }, 300);
    for (BYTE key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) PressChord({}, key);
    std::vector<HWND> manage;
    const std::string manageCaption = CaptionText(program, "English.txt", "L0006");
    if (WaitUntil([&] { return !(manage = WindowsOf(process.pid(), &manageCaption)).empty(); },
                  5000)) {
      WaitUntil([] { return false; }, 300);
      ::PostMessageA(manage.front(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  }
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  // Every report that comes is answered, until the status lines are there and no report is up.
  REQUIRE(WaitUntil(
      [&] {
        for (HWND b : WindowsOf(process.pid(), &product)) ::PostMessageA(b, WM_COMMAND, IDOK, 0);
        return WindowText(::GetDlgItem(main, 1025)) != "--" && WindowsOf(process.pid(), &product).empty();
      },
      15000));
  WaitUntil([&] {
    for (HWND b : WindowsOf(process.pid(), &product)) ::PostMessageA(b, WM_COMMAND, IDOK, 0);
    return false;
  }, 1500);

  // One of the two equal combinations is refused; the third hotkey is registered and works.
  CHECK(WindowText(::GetDlgItem(main, 1023)).find('3') != std::string::npos);
  CHECK(WindowText(::GetDlgItem(main, 1024)).find('2') != std::string::npos);
  CHECK(WindowText(::GetDlgItem(main, 1025)).find('1') != std::string::npos);
  PressChord({kCtrl, kShift, kAlt}, '6');
  CHECK(WaitUntil([&] { return ReadFileBytes(out).find("six") != std::string::npos; }, 15000));
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(process.WaitExit(10000) == 2);
}

TEST_CASE("a hotkey held down runs its list once; another hotkey pressed during the list runs at once") {
  ProgramCopy program;
  std::string out = program / "order.txt";
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('1'),
                  {EchoLine("held", out), "Sleep 5000", EchoLine("end", out)});
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00002.ini", Combo('2'), {EchoLine("other", out)});
  RunningProcess process(program.exe());
  HWND main = StartAndFindMainWindow(process);
  REQUIRE(main);
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1024)).find('2') != std::string::npos; }, 10000));

  // The key stays down: the keyboard repeats it while the list sleeps.
  for (BYTE m : {kCtrl, kShift, kAlt}) Key(m, true);
  for (int i = 0; i < 8; ++i) {
    Key('1', true);
    WaitUntil([] { return false; }, 120);
  }
  Key('1', false);
  for (BYTE m : {kAlt, kShift, kCtrl}) Key(m, false);
  WaitUntil([] { return false; }, 1000);
  PressChord({kCtrl, kShift, kAlt}, '2');

  REQUIRE(WaitUntil([&] { return ReadFileBytes(out).find("end") != std::string::npos; }, 20000));
  // Whatever a repeat had started would have written by now.
  WaitUntil([] { return false; }, 3000);
  std::string order = ReadFileBytes(out);
  CAPTURE(order);
  CHECK(Count(order, "held") == 1);
  CHECK(Count(order, "other") == 1);
  CHECK(Count(order, "end") == 1);
  CHECK(order.find("other") < order.find("end"));
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(process.WaitExit(20000) == 2);
}
