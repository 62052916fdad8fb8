// The program's end while something is under way: an update download, a hotkey's list, a paste.
#include <doctest/doctest.h>

#include <windows.h>

#include <string>

#include "include/GlobalData.h"
#include "tests/e2e/e2e_support.h"

namespace {

constexpr BYTE kCtrl = VK_CONTROL, kAlt = VK_MENU, kShift = VK_SHIFT;
// Ctrl+Shift+Alt with a digit: combinations no desktop keeps for itself.
std::string Combo(char digit) { return "Ctrl=1\r\nShift=1\r\nAlt=1\r\nvk=" + std::to_string(static_cast<int>(digit)); }

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
  void ExitThroughTrayMenu() {
    ::PostMessageA(main, kMsgTrayNotify, 128, WM_RBUTTONDOWN);
    REQUIRE(WaitUntil([] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000));
    WaitUntil([] { return false; }, 300);
    PressChord({}, VK_UP);
    PressChord({}, VK_RETURN);
  }
};

std::string FixtureFile(const char* name) { return std::string(QUORVEL_HTTP_FIXTURE_DIR) + "\\" + name; }

std::string HttpBase() {
  std::string port = ReadFileBytes(FixtureFile("port"));
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  REQUIRE_FALSE(port.empty());
  return "http://127.0.0.1:" + port + "/";
}

std::string EchoLine(const std::string& word, const std::string& file) {
  return "ShellExecuteEx \"cmd.exe\" \"/c echo " + word + ">> " + file + "\" \"\"";
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
