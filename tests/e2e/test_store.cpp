// The hotkey store of the running program: the backup commands through the tray menu entries,
// the real file dialogs and the message boxes, and the hotkeys folder at start-up and at a save.
#include <doctest/doctest.h>

#include <windows.h>

#include <string>

#include "resource.h"
#include "tests/e2e/e2e_support.h"
#include "tests/hotkeys/backup_corpus.h"

namespace {

// The visible dialog of the process that has the control `id` (a file dialog's name box, a
// message box's text) and not the control `without`.
HWND DialogWith(DWORD pid, int id, int without = 0) {
  struct Search {
    DWORD pid;
    int id, without;
    HWND found;
  } search{pid, id, without, nullptr};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        char cls[16] = {};
        ::GetClassNameA(h, cls, sizeof cls);
        if (owner == s->pid && ::IsWindowVisible(h) && std::string(cls) == "#32770" && ::GetDlgItem(h, s->id) &&
            !(s->without && ::GetDlgItem(h, s->without))) {
          s->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A message box of the process; the file dialog, which has labels of the same id, may still be closing.
HWND MessageBoxOf(DWORD pid) {
  HWND box = DialogWith(pid, 0xFFFF, 1148);
  return box && !::GetDlgItem(box, 1152) ? box : nullptr;
}

// Types the path into the open dialog of the process and confirms it, as a user does.
bool AnswerFileDialog(DWORD pid, const std::string& path) {
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = DialogWith(pid, 1148)) || (dialog = DialogWith(pid, 1152)); }, 15000)) {
    return false;
  }
  for (int box : {1148, 1152}) {
    if (HWND name = ::GetDlgItem(dialog, box)) ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  }
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return true;
}

std::string Attribute(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '"') {
      escaped += "&quot;";
    } else if (c == '&') {
      escaped += "&amp;";
    } else if (c == '<') {
      escaped += "&lt;";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

}  // namespace

TEST_CASE("after an import the new hotkeys are registered before its message: the old combination is gone") {
  ProgramCopy program;
  const std::string out = program / "pressed.txt";
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('8'), {EchoLine("old", out)});
  // The backup's first hotkey, at the old one's position, has another combination.
  const std::string backup = program / "new.hkb";
  WriteFileBytes(backup, backup_corpus::Utf16LE(backup_corpus::Document(
                             "<HkItem Alt=\"1\" Ctrl=\"1\" Shift=\"1\" Win=\"0\" vk=\"57\" Enable=\"1\" Description=\"New\" "
                             "ActionLines=\"" + Attribute(EchoLine("new", out)) + "|-*-|-*-|\"/>",
                             backup_corpus::GoodConfig())));
  RunningQuorvel q(program);

  // The tray menu's import entry.
  ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(ID_CMD_IMPORT, 0), 0);
  REQUIRE(AnswerFileDialog(q.process.pid(), backup));
  HWND box = nullptr;
  REQUIRE(WaitUntil([&] { return (box = MessageBoxOf(q.process.pid())) != nullptr; }, 15000));
  CHECK(WindowText(::GetDlgItem(box, 0xFFFF)) == LanguageText(program, "English.txt", "L0121"));

  // While the message is up: the old combination does nothing, the new one runs the new lines.
  PressChord({kCtrl, kShift, kAlt}, '8');
  WaitUntil([] { return false; }, 1500);
  CHECK_FALSE(FileExists(out));
  PressChord({kCtrl, kShift, kAlt}, '9');
  CHECK(WaitUntil([&] { return ReadFileBytes(out).find("new") != std::string::npos; }, 10000));
  CHECK(ReadFileBytes(out) == "new\r\n");
  ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  CHECK(WaitUntil([&] { return MessageBoxOf(q.process.pid()) == nullptr; }, 5000));
}

TEST_CASE("the user's own folders named hotkeys.old and hotkeys.new stay as they are at start-up and at a save") {
  ProgramCopy program;
  WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('7'), {"Sleep 1"});
  MakeFolder(program / "hotkeys.old");
  WriteFileBytes(program / "hotkeys.old\\mine.ini", "[Setting]\r\nCtrl=1\r\nShift=1\r\nAlt=1\r\nvk=54\r\nEnable=1\r\n");
  WriteFileBytes(program / "hotkeys.old\\~committing", "mine too");
  MakeFolder(program / "hotkeys.new");
  WriteFileBytes(program / "hotkeys.new\\notes.txt", "keep");
  auto theirs = [&] {
    return std::vector<std::string>{ReadFileBytes(program / "hotkeys.old\\mine.ini"),
                                    ReadFileBytes(program / "hotkeys.old\\~committing"),
                                    ReadFileBytes(program / "hotkeys.new\\notes.txt")};
  };
  const std::vector<std::string> before = theirs();
  const std::string hotkey = ReadFileBytes(program / "hotkeys\\Hotkey-00001.ini");

  RunningQuorvel q(program);
  CHECK(FolderEntries(program / "hotkeys") == std::vector<std::string>{"Hotkey-00001.ini"});
  CHECK(FolderEntries(program / "hotkeys.old") == std::vector<std::string>{"mine.ini", "~committing"});
  CHECK(theirs() == before);

  // The manage dialog's OK saves the hotkeys folder anew.
  ::PostMessageA(q.main, WM_COMMAND, MAKEWPARAM(1075, BN_CLICKED), 0);
  HWND manage = WaitForDialog(q.process.pid(), CaptionText(program, "English.txt", "L0006"));
  REQUIRE((manage && ::GetDlgItem(manage, IDOK)));
  ::PostMessageA(manage, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  REQUIRE(WaitUntil([&] { return !::IsWindow(manage); }, 10000));
  CHECK(FolderEntries(program / "hotkeys") == std::vector<std::string>{"Hotkey-00001.ini"});
  CHECK(FolderEntries(program / "hotkeys.old") == std::vector<std::string>{"mine.ini", "~committing"});
  CHECK(FolderEntries(program / "hotkeys.new") == std::vector<std::string>{"notes.txt"});
  CHECK(theirs() == before);
  // Nothing of the save is left beside the folder.
  for (const std::string& name : FolderEntries(program.folder())) {
    CHECK((name.rfind("hotkeys", 0) != 0 || name == "hotkeys" || name == "hotkeys.old" || name == "hotkeys.new"));
  }
}
