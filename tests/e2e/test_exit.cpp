// The program's end while something is under way: an update download, a hotkey's list, a paste.
#include <doctest/doctest.h>

#include <windows.h>

#include <string>

#include "include/GlobalData.h"
#include "predefinedtext/PredefinedTextSelector.h"
#include "tests/e2e/e2e_support.h"
#include "tests/predefinedtext/clipboard_support.h"

namespace {

using Quorvel = RunningQuorvel;

std::string FixtureFile(const char* name) { return std::string(QUORVEL_HTTP_FIXTURE_DIR) + "\\" + name; }

std::string HttpBase() {
  std::string port = ReadFileBytes(FixtureFile("port"));
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  REQUIRE_FALSE(port.empty());
  return "http://127.0.0.1:" + port + "/";
}

}  // namespace

TEST_CASE("exit while the update check downloads: the program ends before the download does") {
  ProgramCopy program;
  WriteFileBytes(program / "Settings.ini",
                 "[Settings]\r\nLanguageFile=English.txt\r\nFirstRun=0\r\nUpdateUrl=" + HttpBase() + "slow.txt\r\n");
  // The server's log is shared by the whole run: only what comes after this point counts.
  const size_t logStart = ReadFileBytes(FixtureFile("log")).size();
  auto log = [&] { return ReadFileBytes(FixtureFile("log")).substr(logStart); };
  Quorvel q(program);
  // The server has answered with its headers and holds the body back for a while.
  REQUIRE(WaitUntil([&] { return log().find("slow.txt: started") != std::string::npos; }, 20000));
  ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  CHECK(q.process.WaitExit(10000) == 2);
  // The server tells whether the program left the connection before it sent the body.
  std::string seen;
  REQUIRE(WaitUntil(
      [&] {
        seen = log();
        return seen.find("slow.txt: sent") != std::string::npos || seen.find("slow.txt: client left") != std::string::npos;
      },
      10000));
  CHECK(seen.find("slow.txt: client left") != std::string::npos);
  CHECK(seen.find("slow.txt: sent") == std::string::npos);
}

TEST_CASE("exit through the tray menu during a hotkey's Sleep drops the rest of its list") {
  ProgramCopy program;
  std::string out = program / "order.txt";
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('1'),
                  {EchoLine("early", out), "Sleep 8000", EchoLine("late", out)});
  Quorvel q(program);
  PressChord({kCtrl, kShift, kAlt}, '1');
  REQUIRE(WaitUntil([&] { return ReadFileBytes(out).find("early") != std::string::npos; }, 15000));
  q.ExitThroughTrayMenu();
  CHECK(q.process.WaitExit(10000) == 2);
  // A program started by the rest of the list would have written by now.
  WaitUntil([] { return false; }, 4000);
  CHECK(ReadFileBytes(out) == "early\r\n");
}

TEST_CASE("the exit or the end of the session during a paste's wait puts the user's clipboard back") {
  for (bool sessionEnds : {false, true}) {
    CAPTURE(sessionEnds);
    ProgramCopy program;
    WriteFileBytes(program / "predefinedtext\\data.xml",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><item name=\"Greeting\" value=\"pasted words\"/>"
                   "</config>");
    WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('2'), {"InsertPredefinedText"});
    Quorvel q(program);
    PasteTarget target;
    FillClipboard("the user's own text", "", 0);

    PressChord({kCtrl, kShift, kAlt}, '2');
    HWND selector = nullptr;
    REQUIRE(WaitUntil([&] { return (selector = ::FindWindowA(kSelectorWindowClass, nullptr)) != nullptr; }, 10000));
    REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(selector, kSelectorPreviewId)) == "pasted words"; }, 5000));
    DoubleClickFirstSelectorEntry(selector);
    // The text is on the clipboard for the target to paste; the program waits for it now.
    REQUIRE(WaitUntil([] { return ReadClipboard().text == "pasted words"; }, 5000));
    if (sessionEnds) {
      DWORD_PTR ignored = 0;
      ::SendMessageTimeoutA(q.main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &ignored);
    } else {
      ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    }
    CHECK(q.process.WaitExit(10000) == 2);
    CHECK(ReadClipboard().text == "the user's own text");
  }
}
