// The editing commands of the running program: what a user does with the main window's buttons.
#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "include/GlobalData.h"
#include "tests/e2e/e2e_support.h"

namespace {

std::string EnglishText(const ProgramCopy& program, const char* key) {
  char buf[512] = {};
  ::GetPrivateProfileStringA("String", key, "", buf, sizeof buf, (program / "language\\English.txt").c_str());
  return buf;
}

// Visible top-level windows of the process with this caption.
std::vector<HWND> WindowsTitled(DWORD pid, const std::string& caption) {
  struct Search {
    DWORD pid;
    const std::string* caption;
    std::vector<HWND> found;
  } search{pid, &caption, {}};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner == s->pid && ::IsWindowVisible(h) && WindowText(h) == *s->caption) s->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD pid, const std::string& caption) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        std::vector<HWND> all = WindowsTitled(pid, caption);
        found = all.empty() ? nullptr : all.front();
        // The dialog is up once its OK button exists.
        return found && ::GetDlgItem(found, IDOK);
      },
      10000);
  return found;
}

void Click(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

}  // namespace

TEST_CASE("a hotkey added from the main window is saved and works at once; a second editor never opens") {
  ProgramCopy program;
  RunningProcess process(program.exe());
  HWND main = StartAndFindMainWindow(process);
  REQUIRE(main);
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1023)) != "--"; }, 10000));
  const std::string registeredNone = WindowText(::GetDlgItem(main, 1024));

  // The add button opens the hotkey editor straight away, without the list.
  Click(main, 1074);
  HWND editor = WaitForWindow(process.pid(), EnglishText(program, "L0018"));
  REQUIRE(editor);
  CHECK(WindowsTitled(process.pid(), EnglishText(program, "L0006")).empty());

  // While it is up, neither the tray menu's manage entry nor the options button opens anything.
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(4, 0), 0);
  Click(main, 1070);
  WaitUntil([] { return false; }, 500);
  CHECK(WindowsTitled(process.pid(), EnglishText(program, "L0006")).empty());
  CHECK(WindowsTitled(process.pid(), EnglishText(program, "L0002")).empty());

  Click(editor, IDOK);
  const std::string file = program / "hotkeys\\Hotkey-00001.ini";
  REQUIRE(WaitUntil([&] { return ::GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1024)) != registeredNone; }, 10000));

  // A new hotkey proposes Win and the first free key from A on; the program now holds it.
  CHECK(::GetPrivateProfileIntA("Setting", "Win", -1, file.c_str()) == 1);
  CHECK(::GetPrivateProfileIntA("Setting", "Ctrl", -1, file.c_str()) == 0);
  CHECK(::GetPrivateProfileIntA("Setting", "Enable", -1, file.c_str()) == 1);
  UINT vk = ::GetPrivateProfileIntA("Setting", "vk", 0, file.c_str());
  CHECK(vk >= 65);
  CHECK_FALSE(::RegisterHotKey(nullptr, 0x5A5A, MOD_WIN, vk));

  // The manage dialog lists it; Cancel changes nothing.
  Click(main, 1075);
  HWND manage = WaitForWindow(process.pid(), EnglishText(program, "L0006"));
  REQUIRE(manage);
  CHECK(::SendMessageA(::GetDlgItem(manage, 1009), LVM_GETITEMCOUNT, 0, 0) == 1);
  Click(manage, IDCANCEL);
  REQUIRE(WaitUntil([&] { return !::IsWindow(manage); }, 10000));
  CHECK(::GetPrivateProfileIntA("Setting", "vk", 0, file.c_str()) == static_cast<int>(vk));

  // The options dialog's OK registers everything anew: the hotkey keeps working.
  Click(main, 1070);
  HWND options = WaitForWindow(process.pid(), EnglishText(program, "L0002"));
  REQUIRE(options);
  Click(options, IDOK);
  REQUIRE(WaitUntil([&] { return !::IsWindow(options); }, 10000));
  WaitUntil([] { return false; }, 300);
  CHECK_FALSE(::RegisterHotKey(nullptr, 0x5A5A, MOD_WIN, vk));

  // The text shortcuts button opens the editor over the window; browsing and Cancel leave the texts.
  const std::string texts = program / "predefinedtext\\data.xml";
  const std::string textsBefore = ReadFileBytes(texts);
  Click(main, 1079);
  HWND editorOfTexts = WaitForWindow(process.pid(), EnglishText(program, "L0060"));
  REQUIRE(editorOfTexts);
  Click(editorOfTexts, IDCANCEL);
  REQUIRE(WaitUntil([&] { return !::IsWindow(editorOfTexts); }, 10000));
  CHECK(ReadFileBytes(texts) == textsBefore);

  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, 0), 0);
  CHECK(process.WaitExit(10000) == 2);
  // Gone with the program.
  CHECK(::RegisterHotKey(nullptr, 0x5A5A, MOD_WIN, vk));
  ::UnregisterHotKey(nullptr, 0x5A5A);
}
