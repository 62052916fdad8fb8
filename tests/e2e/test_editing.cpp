// The editing commands of the running program: what a user does with the main window's buttons.
#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "include/GlobalData.h"
#include "tests/e2e/e2e_support.h"

namespace {

bool NoDialog(DWORD pid, const ProgramCopy& program, const char* captionKey) {
  const std::string caption = CaptionText(program, "English.txt", captionKey);
  return WindowsOf(pid, &caption).empty();
}

}  // namespace


TEST_CASE("a hotkey added from the main window is saved and works at once; a second editor never opens") {
  ProgramCopy program;
  RunningQuorvel q(program);
  RunningProcess& process = q.process;
  HWND main = q.main;
  const std::string registeredNone = WindowText(::GetDlgItem(main, 1024));

  // The add button opens the hotkey editor straight away, without the list.
  PostClick(main, 1074);
  HWND editor = WaitForDialog(process.pid(), CaptionText(program, "English.txt", "L0018"));
  REQUIRE(editor);
  CHECK(NoDialog(process.pid(), program, "L0006"));

  // While it is up, neither the tray menu's manage entry nor the options button opens anything.
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(4, 0), 0);
  PostClick(main, 1070);
  WaitUntil([] { return false; }, 500);
  CHECK(NoDialog(process.pid(), program, "L0006"));
  CHECK(NoDialog(process.pid(), program, "L0002"));

  PostClick(editor, IDOK);
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
  PostClick(main, 1075);
  HWND manage = WaitForDialog(process.pid(), CaptionText(program, "English.txt", "L0006"));
  REQUIRE(manage);
  CHECK(::SendMessageA(::GetDlgItem(manage, 1009), LVM_GETITEMCOUNT, 0, 0) == 1);
  PostClick(manage, IDCANCEL);
  REQUIRE(WaitUntil([&] { return !::IsWindow(manage); }, 10000));
  CHECK(::GetPrivateProfileIntA("Setting", "vk", 0, file.c_str()) == static_cast<int>(vk));

  // The options dialog's OK registers everything anew: the hotkey keeps working.
  PostClick(main, 1070);
  HWND options = WaitForDialog(process.pid(), CaptionText(program, "English.txt", "L0002"));
  REQUIRE(options);
  PostClick(options, IDOK);
  REQUIRE(WaitUntil([&] { return !::IsWindow(options); }, 10000));
  WaitUntil([] { return false; }, 300);
  CHECK_FALSE(::RegisterHotKey(nullptr, 0x5A5A, MOD_WIN, vk));

  // The text shortcuts button opens the editor over the window; browsing and Cancel leave the texts.
  const std::string texts = program / "predefinedtext\\data.xml";
  const std::string textsBefore = ReadFileBytes(texts);
  PostClick(main, 1079);
  HWND editorOfTexts = WaitForDialog(process.pid(), CaptionText(program, "English.txt", "L0060"));
  REQUIRE(editorOfTexts);
  PostClick(editorOfTexts, IDCANCEL);
  REQUIRE(WaitUntil([&] { return !::IsWindow(editorOfTexts); }, 10000));
  CHECK(ReadFileBytes(texts) == textsBefore);

  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, 0), 0);
  CHECK(process.WaitExit(10000) == 2);
}
