#include <doctest/doctest.h>

#include "app/hotkeyreg.h"
#include "include/miscfuns.h"
#include "predefinedtext/PredefinedTextSelector.h"
#include "tests/e2e/e2e_support.h"
#include "tests/predefinedtext/clipboard_support.h"

namespace {

constexpr BYTE kCtrl = VK_CONTROL, kAlt = VK_MENU, kShift = VK_SHIFT;
// Ctrl+Shift+Alt with a digit: combinations no desktop keeps for itself.
const char kCombo[] = "Ctrl=1\r\nShift=1\r\nAlt=1\r\nvk=";

std::string Combo(char digit) { return kCombo + std::to_string(static_cast<int>(digit)); }

// The running program with its hotkeys registered.
struct RunningQuorvel {
  RunningProcess process;
  HWND main = nullptr;
  explicit RunningQuorvel(const ProgramCopy& program) : process(program.exe()) {
    main = StartAndFindMainWindow(process);
    REQUIRE(main);
    // Registration ends with the status refresh.
    REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1023)) != "--"; }, 10000));
  }
  ~RunningQuorvel() {
    if (main && process.Running()) {
      ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
      process.WaitExit(10000);
    }
  }
};

// A stand-in for the user's program, in front, with the focus in its edit control.
struct Target {
  RunningProcess process{QUORVEL_PASTE_TARGET};
  HWND window = nullptr, edit = nullptr;
  Target() {
    // The window can be found while it is still creating its edit control.
    REQUIRE(WaitUntil(
        [&] {
          window = ::FindWindowA("QuorvelPasteTarget", nullptr);
          return window && (edit = ::GetDlgItem(window, 100)) != nullptr;
        },
        10000));
    Front();
  }
  void Front() {
    ::SetForegroundWindow(window);
    REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5000));
  }
  ~Target() {
    if (process.Running()) ::PostMessageA(window, WM_CLOSE, 0, 0);
  }
};

}  // namespace

TEST_CASE("a hotkey runs a program, waits, then runs the next line") {
  ProgramCopy program;
  // Each line leaves a file of its own, and the test looks only for the files' names: opening a file
  // that a starting program appends to would shut that program out.
  std::string first = program / "first.txt", second = program / "second.txt";
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('1'),
                  {"ShellExecuteEx \"cmd.exe\" \"/c echo first> " + first + "\" \"\"", "Sleep 700",
                   "ShellExecuteEx \"cmd.exe\" \"/c if exist " + first + " echo second> " + second + "\" \"%TempDirectory%\""});
  RunningQuorvel q(program);
  CHECK(WindowText(::GetDlgItem(q.main, 1024)).find('1') != std::string::npos);
  PressChord({kCtrl, kShift, kAlt}, '1');
  CHECK(WaitUntil([&] { return FileExists(second); }, 15000));
  // The program creates its file before it writes into it.
  CHECK(WaitUntil([&] { return ReadFileBytes(second) == "second\r\n"; }, 5000));
}

TEST_CASE("a hotkey opens the text selector and the chosen text is pasted where the user was typing") {
  ProgramCopy program;
  std::string xmlText =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><item name=\"Greeting\" value=\"Dear {year}\\r\\nSo long\"/>"
      "<item name=\"Other\" value=\"x\"/></config>";
  WriteFileBytes(program / "predefinedtext\\data.xml", xmlText);
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('2'), {"InsertPredefinedText"});
  RunningQuorvel q(program);
  Target target;
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

  // A double-click on the first entry's name: its row is the first, its label right of the icon.
  HWND tree = ::GetDlgItem(selector, kSelectorTreeId);
  POINT onLabel = {50, 10};
  ::ClientToScreen(tree, &onLabel);
  DoubleClickAt(onLabel);

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
  Target target;
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
  REQUIRE(WaitUntil(
      [&] {
        box = ::FindWindowA("#32770", "Quorvel");
        DWORD pid = 0;
        if (box) ::GetWindowThreadProcessId(box, &pid);
        return box && pid == p.pid();
      },
      15000));
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
  HWND popup = ::FindWindowA("QuorvelTrayMessage", nullptr);
  REQUIRE(popup);
  CHECK_FALSE(::IsWindowVisible(popup));
  PressChord({kCtrl, kShift, kAlt}, '6');
  REQUIRE(WaitUntil([&] { return ::IsWindowVisible(popup) != FALSE; }, 5000));
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
