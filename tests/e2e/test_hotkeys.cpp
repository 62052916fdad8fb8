#include <doctest/doctest.h>

#include "app/hotkeyreg.h"
#include "include/miscfuns.h"
#include "predefinedtext/PredefinedTextSelector.h"
#include "tests/e2e/e2e_support.h"
#include "tests/predefinedtext/clipboard_support.h"

namespace {

}  // namespace

TEST_CASE("a hotkey runs a program, waits, then runs the next line") {
  ProgramCopy program;
  // Each line leaves a file of its own, and the test looks only for the files' names: opening a file
  // that a starting program appends to would shut that program out. The second line writes only
  // once the first line's file is there.
  std::string first = program / "first.txt", second = program / "second.txt";
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('1'),
                  {"ShellExecuteEx \"cmd.exe\" \"/c echo first> " + first + "\" \"\"", "Sleep 3000",
                   "ShellExecuteEx \"cmd.exe\" \"/c if exist " + first + " echo second> " + second + "\" \"%TempDirectory%\""});
  RunningQuorvel q(program);
  CHECK(WindowText(::GetDlgItem(q.main, 1024)).find('1') != std::string::npos);
  PressChord({kCtrl, kShift, kAlt}, '1');
  REQUIRE(WaitUntil([&] { return FileExists(first); }, 15000));
  // The second program is started only once the wait is over: not while the first has just run.
  CHECK_FALSE(WaitUntil([&] { return FileExists(second); }, 800));
  CHECK(WaitUntil([&] { return FileExists(second); }, 15000));
  // The program creates its file before it writes into it.
  CHECK(WaitUntil([&] { return ReadFileBytes(second) == "second\r\n"; }, 5000));
}

TEST_CASE("OK in the options registers the hotkeys anew: a disabled one is given back, the others fire") {
  ProgramCopy program;
  const std::string out = program / "fired.txt";
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('3'),
                  {"ShellExecuteEx \"cmd.exe\" \"/c echo three>> " + out + "\" \"\""});
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00002.ini", Combo('4'), {"Sleep 1"});
  RunningQuorvel q(program);
  HWND probe = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const UINT mods = MOD_CONTROL | MOD_SHIFT | MOD_ALT;
  CHECK_FALSE(::RegisterHotKey(probe, 1, mods, '3'));
  CHECK_FALSE(::RegisterHotKey(probe, 2, mods, '4'));

  WriteFileBytes(program / "hotkeys\\Hotkey-00002.ini", "[Setting]\r\n" + Combo('4') + "\r\nEnable=0\r\n");
  PostClick(q.main, 1070);
  HWND options = WaitForDialog(q.process.pid(), CaptionText(program, "English.txt", "L0002"));
  REQUIRE(options);
  const std::string registeredBefore = WindowText(::GetDlgItem(q.main, 1024));
  PostClick(options, IDOK);
  REQUIRE(WaitUntil([&] { return !::IsWindow(options); }, 10000));
  // The status shows the new count once registering is over; a probe any sooner could take a
  // combination in the moment between giving all back and taking them anew.
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(q.main, 1024)) != registeredBefore; }, 5000));
  // The program still runs: the disabled combination is free for others, the enabled one is held
  // and a key press runs its line.
  CHECK(::RegisterHotKey(probe, 2, mods, '4') != FALSE);
  CHECK_FALSE(::RegisterHotKey(probe, 1, mods, '3'));
  CHECK(q.process.Running());
  PressChord({kCtrl, kShift, kAlt}, '3');
  CHECK(WaitUntil([&] { return ReadFileBytes(out) == "three\r\n"; }, 15000));
  ::UnregisterHotKey(probe, 2);
  ::DestroyWindow(probe);
}

TEST_CASE("a hotkey opens the text selector and the chosen text is pasted where the user was typing") {
  ProgramCopy program;
  std::string xmlText =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><item name=\"Greeting\" value=\"Dear {year}\\r\\nSo long\"/>"
      "<item name=\"Other\" value=\"x\"/></config>";
  WriteFileBytes(program / "predefinedtext\\data.xml", xmlText);
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('2'), {"InsertPredefinedText"});
  RunningQuorvel q(program);
  PasteTarget target;
  FillClipboard("kept", "", 0);

  PressChord({kCtrl, kShift, kAlt}, '2');
  HWND selector = nullptr;
  REQUIRE(WaitUntil([&] { return (selector = ::FindWindowA(kSelectorWindowClass, nullptr)) != nullptr; }, 10000));
  CHECK(::GetForegroundWindow() == target.window);  // the popup never takes the focus
  CHECK((::GetWindowLongA(selector, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  // The popup can be found while it is still building its children.
  std::string preview;
  CHECK(WaitUntil([&] { return (preview = WindowText(::GetDlgItem(selector, kSelectorPreviewId))) == "Dear {year}\r\nSo long"; },
                  5000));
  CHECK(preview == "Dear {year}\r\nSo long");

  // Pressing again keeps the one popup.
  PressChord({kCtrl, kShift, kAlt}, '2');
  WaitUntil([] { return false; }, 300);
  CHECK(::FindWindowA(kSelectorWindowClass, nullptr) == selector);

  DoubleClickFirstSelectorEntry(selector);

  SYSTEMTIME st;
  ::GetLocalTime(&st);
  std::string expected = "Dear " + std::to_string(st.wYear) + "\r\nSo long";
  std::string pasted;
  CHECK(WaitUntil([&] { return (pasted = WindowText(target.edit)) == expected; }, 10000));
  CHECK(pasted == expected);
  CHECK(WaitUntil([] { return ::FindWindowA(kSelectorWindowClass, nullptr) == nullptr; }, 5000));
  CHECK(WaitUntil([] { return ReadClipboard().text == "kept"; }, 5000));
}

TEST_CASE("window commands act on the window in front") {
  ProgramCopy program;
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('3'), {"MaximizeActiveWindow"});
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00002.ini", Combo('4'), {"CloseActiveWindow"});
  RunningQuorvel q(program);
  PasteTarget target;
  PressChord({kCtrl, kShift, kAlt}, '3');
  CHECK(WaitUntil([&] { return ::IsZoomed(target.window) != FALSE; }, 5000));
  target.Front();
  PressChord({kCtrl, kShift, kAlt}, '4');
  CHECK(target.process.WaitExit(10000) == 0);
}

TEST_CASE("a combination the system refuses is reported and counted") {
  ProgramCopy program;
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('5'), {"Sleep 1"});
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00002.ini", Combo('5'), {"Sleep 2"});
  WriteFileBytes(program / "hotkeys\\Hotkey-00003.ini", "[Setting]\r\nCtrl=1\r\nvk=65\r\nEnable=0\r\n");
  RunningProcess p(program.exe());
  REQUIRE(p.started());
  // The message box is a dialog of the program's own process with the product name as caption.
  HWND box = nullptr;
  REQUIRE(WaitUntil([&] { return (box = FindBoxOf(p.pid(), "Quorvel")) != nullptr; }, 15000));
  std::string text = WindowText(::GetDlgItem(box, 0xFFFF));
  CAPTURE(text);
  CHECK(text.find("CTRL+SHIFT+ALT+5") != std::string::npos);
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  HWND main = nullptr;
  REQUIRE(WaitUntil([&] { return (main = FindMainWindow()) && WindowText(::GetDlgItem(main, 1025)) != "--"; }, 10000));
  CHECK(WindowText(::GetDlgItem(main, 1023)).find('3') != std::string::npos);
  CHECK(WindowText(::GetDlgItem(main, 1024)).find('1') != std::string::npos);
  CHECK(WindowText(::GetDlgItem(main, 1025)).find('1') != std::string::npos);
  CHECK(WindowText(::GetDlgItem(main, 1026)).find('1') != std::string::npos);
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(p.WaitExit(10000) == 2);
}

TEST_CASE("a volume step slides the notice in with the new level and out again") {
  ProgramCopy program;
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('6'), {"VolumeDOWN 10"});
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00002.ini", Combo('7'), {"VolumeUP 10"});
  RunningQuorvel q(program);
  // The notice is made with the first step.
  CHECK(::FindWindowA("QuorvelTrayMessage", nullptr) == nullptr);
  PressChord({kCtrl, kShift, kAlt}, '6');
  HWND popup = nullptr;
  REQUIRE(WaitUntil(
      [&] { return (popup = ::FindWindowA("QuorvelTrayMessage", nullptr)) != nullptr && ::IsWindowVisible(popup); },
      5000));
  std::string first = WindowText(popup);
  CHECK_FALSE(first.empty());
  CHECK(first.find_first_not_of("0123456789") == std::string::npos);
  // It slides up until its bottom meets the bottom of the work area, 5 pixels from the right.
  RECT work, rc;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  CHECK(WaitUntil([&] { return ::GetWindowRect(popup, &rc) && rc.bottom == work.bottom; }, 3000));
  CHECK(rc.right == work.right - 5);
  // A second step while it is up replaces the level; about a second later it slides out.
  PressChord({kCtrl, kShift, kAlt}, '7');
  CHECK(WaitUntil([&] { return WindowText(popup) != first; }, 3000));
  CHECK(WaitUntil([&] { return ::IsWindowVisible(popup) == FALSE; }, 5000));
}

TEST_CASE("the first run shows the window once and remembers it") {
  ProgramCopy program;
  WriteFileBytes(program / "Settings.ini", "[Settings]\r\nLanguageFile=English.txt\r\nFirstRun=1\r\n");
  {
    RunningQuorvel q(program);
    CHECK(WaitUntil([&] { return ::IsWindowVisible(q.main) != FALSE; }, 5000));
    CHECK(::GetPrivateProfileIntA("Settings", "FirstRun", 7, (program / "Settings.ini").c_str()) == 0);
  }
  RunningQuorvel again(program);
  WaitUntil([] { return false; }, 300);
  CHECK_FALSE(::IsWindowVisible(again.main));
}
