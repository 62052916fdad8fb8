#include <doctest/doctest.h>

#include <map>

#include "hotkeys/hotkeyfiles.h"
#include "include/miscfuns.h"
#include "tests/winsupport.h"

namespace {

HotkeyDefinition MakeHotkey(int vk, const std::string& description, std::vector<std::string> lines) {
  HotkeyDefinition d;
  d.Ctrl = 1;
  d.Alt = 1;
  d.vk = vk;
  d.Enable = 1;
  d.Description = description;
  d.ActionLines = std::move(lines);
  return d;
}

// An application folder with a hotkeys folder in it.
struct HotkeysFixture {
  TempDir app;
  std::string folder = app / "hotkeys";
  HotkeysFixture() { MakeFolder(folder); }
  std::string operator/(const std::string& name) const { return folder + "\\" + name; }
};

}  // namespace

TEST_CASE("the folder lists *.ini files in name order") {
  HotkeysFixture f;
  WriteFileBytes(f / "Hotkey-00007.ini", "");
  WriteFileBytes(f / "notes.INI", "");
  WriteFileBytes(f / "Hotkey-00002.ini", "");
  WriteFileBytes(f / "notes.txt", "");
  MakeFolder(f / "x.ini");
  ::SetFileAttributesA((f / "Hotkey-00007.ini").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  std::vector<_HotkeyItem> items = {{"stale", 1, 5}};
  ListHotkeyFiles(items, f.folder);
  REQUIRE(items.size() == 3);
  CHECK(items[0].path == f / "Hotkey-00002.ini");
  CHECK(items[1].path == f / "Hotkey-00007.ini");
  CHECK(items[2].path == f / "notes.INI");
  CHECK(items[0].registered == 0);
  CHECK(items[0].id == 0);
  ::SetFileAttributesA((f / "Hotkey-00007.ini").c_str(), FILE_ATTRIBUTE_NORMAL);

  ListHotkeyFiles(items, f.app / "missing");
  CHECK(items.empty());
}

TEST_CASE("a hotkey file reads into a definition") {
  HotkeysFixture f;
  WriteFileBytes(f / "a.ini",
                 "[Setting]\r\nAlt=1\r\nCtrl=0\r\nShift=1\r\nWin=0\r\nvk=112\r\nEnable=1\r\n"
                 "Description=Open %module_path%\\x\r\n[Action]\r\nAction00001=Sleep 500=1\r\n"
                 "InsertPredefinedText\r\nAction00002=\r\nWhatever=ShellExecuteEx \"notepad.exe\"\r\n");
  HotkeyDefinition d = ReadHotkeyFile(f / "a.ini");
  CHECK(d.Alt == 1);
  CHECK(d.Shift == 1);
  CHECK(d.Ctrl == 0);
  CHECK(d.vk == 112);
  CHECK(d.Enable == 1);
  CHECK(d.Description == "Open " + CMiscFuns::GetAppFolder() + "\\x");
  CHECK(d.ActionLines ==
        std::vector<std::string>{"Sleep 500=1", "InsertPredefinedText", "ShellExecuteEx \"notepad.exe\""});

  // Without Enable the hotkey is inactive.
  WriteFileBytes(f / "b.ini", "[Setting]\r\nCtrl=1\r\nvk=65\r\n");
  d = ReadHotkeyFile(f / "b.ini");
  CHECK(d.Enable == 0);
  CHECK(d.ActionLines.empty());
}

TEST_CASE("damaged hotkey files load as defaults and stay untouched") {
  HotkeysFixture f;
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  const std::map<std::string, std::string> files = {
      {"empty.ini", ""},
      {"garbage.ini", garbage},
      {"absurd.ini", "[Setting]\r\nAlt=-5\r\nCtrl=99999999999999\r\nvk=4294967296\r\nEnable=abc\r\n"},
      {"nosection.ini", "vk=65\r\nEnable=1\r\n"},
      {"huge.ini", "[Setting]\r\nDescription=" + std::string(200000, 'D') + "\r\nvk=65\r\nEnable=1\r\n"},
  };
  for (const auto& [name, bytes] : files) WriteFileBytes(f / name, bytes);
  auto before = TakeSnapshot(f.folder);
  for (const auto& [name, bytes] : files) {
    CAPTURE(name);
    HotkeyDefinition d = ReadHotkeyFile(f / name);
    CHECK(d.Alt >= 0);
    CHECK(d.Alt <= 1);
    CHECK(d.Enable <= 1);
  }
  CHECK(ReadHotkeyFile(f / "empty.ini").Enable == 0);
  CHECK(ReadHotkeyFile(f / "nosection.ini").Enable == 0);
  CHECK(ReadHotkeyFile(f / "absurd.ini").Alt == 1);
  CHECK(ReadHotkeyFile(f / "huge.ini").Description.size() < 65535);
  CHECK(ReadHotkeyFile(f / "missing.ini").vk == 0);
  CHECK(TakeSnapshot(f.folder) == before);
}

TEST_CASE("a key code beyond the virtual keys is read and saved again as the file has it") {
  HotkeysFixture f;
  WriteFileBytes(f / "a.ini", "[Setting]\r\nCtrl=1\r\nvk=300\r\nEnable=1\r\nDescription=far\r\n");
  WriteFileBytes(f / "b.ini", "[Setting]\r\nAlt=1\r\nvk=-7\r\nEnable=1\r\n");
  WriteFileBytes(f / "c.ini", "[Setting]\r\nWin=1\r\nvk=255\r\n");
  std::vector<_HotkeyItem> items;
  ListHotkeyFiles(items, f.folder);
  std::vector<HotkeyDefinition> set;
  for (const _HotkeyItem& item : items) set.push_back(ReadHotkeyFile(item.path));
  REQUIRE(set.size() == 3);
  CHECK(set[0].vk == 300);
  CHECK(set[1].vk == -7);
  CHECK(set[2].vk == 255);
  CHECK(FormatHotkeyText(set[0]) == "CTRL+300");
  REQUIRE(WriteAllHotkeyFiles(set, f.folder));
  CHECK(ReadFileBytes(f / "Hotkey-00001.ini").find("\r\nvk=300\r\n") != std::string::npos);
  CHECK(ReadFileBytes(f / "Hotkey-00002.ini").find("\r\nvk=-7\r\n") != std::string::npos);
  CHECK(ReadFileBytes(f / "Hotkey-00003.ini").find("\r\nvk=255\r\n") != std::string::npos);
}

TEST_CASE("an [Action] section longer than the first buffer is read whole") {
  HotkeysFixture f;
  std::string file = "[Setting]\r\nvk=65\r\nEnable=1\r\n[Action]\r\n";
  for (int i = 1; i <= 3000; ++i) {
    char line[64];
    snprintf(line, sizeof line, "Action%05d=Sleep %d\r\n", i, i);
    file += line;
  }
  WriteFileBytes(f / "long.ini", file);
  std::vector<std::string> lines;
  ReadActionLines(f / "long.ini", lines);
  REQUIRE(lines.size() == 3000);
  CHECK(lines.front() == "Sleep 1");
  CHECK(lines.back() == "Sleep 3000");
}

TEST_CASE("writing the set renumbers the files and keeps everything else") {
  HotkeysFixture f;
  WriteFileBytes(f / "Hotkey-00002.ini", "[Setting]\r\nvk=65\r\n");
  WriteFileBytes(f / "Hotkey-00007.ini", "[Setting]\r\nvk=66\r\n");
  WriteFileBytes(f / "notes.INI", "[Setting]\r\nvk=67\r\n");
  WriteFileBytes(f / "readme.txt", "mine");
  std::vector<HotkeyDefinition> set = {MakeHotkey(112, "First", {"Sleep 500", "Maximize"}),
                                       MakeHotkey('Q', "L0028", {})};
  set[1].Enable = 0;
  set[1].Win = 1;
  REQUIRE(WriteAllHotkeyFiles(set, f.folder));
  CHECK(FolderEntries(f.folder) == std::vector<std::string>{"Hotkey-00001.ini", "Hotkey-00002.ini", "readme.txt"});
  CHECK(ReadFileBytes(f / "readme.txt") == "mine");
  // Nothing is left beside the folder.
  CHECK(FolderEntries(f.app.path()) == std::vector<std::string>{"hotkeys"});

  std::string first = ReadFileBytes(f / "Hotkey-00001.ini");
  size_t setting = first.find("[Setting]"), action = first.find("[Action]");
  REQUIRE(setting != std::string::npos);
  REQUIRE(action != std::string::npos);
  CHECK(setting < action);
  // Keys in the writer's order.
  size_t last = 0;
  for (const char* key : {"Alt=1", "Ctrl=1", "Shift=0", "Win=0", "vk=112", "Enable=1", "Description=First",
                          "Action00001=Sleep 500", "Action00002=Maximize"}) {
    size_t at = first.find(key);
    CAPTURE(key);
    REQUIRE(at != std::string::npos);
    CHECK(at >= last);
    last = at;
  }
  // No action lines: no [Action] section.
  CHECK(ReadFileBytes(f / "Hotkey-00002.ini").find("[Action]") == std::string::npos);

  std::vector<_HotkeyItem> items;
  ListHotkeyFiles(items, f.folder);
  REQUIRE(items.size() == 2);
  HotkeyDefinition back = ReadHotkeyFile(items[1].path);
  CHECK(back.Win == 1);
  CHECK(back.Enable == 0);
  CHECK(back.vk == 'Q');
  CHECK(back.Description == "L0028");
  CHECK(ReadHotkeyFile(items[0].path).ActionLines == set[0].ActionLines);

  // An empty set leaves no hotkey files.
  REQUIRE(WriteAllHotkeyFiles({}, f.folder));
  CHECK(FolderEntries(f.folder) == std::vector<std::string>{"readme.txt"});
}

TEST_CASE("line breaks in values cannot add keys or sections") {
  HotkeysFixture f;
  HotkeyDefinition d = MakeHotkey(65, "two\r\n[Setting]\r\nEnable=0", {"Sleep 1\nAction00009=Exit"});
  REQUIRE(WriteAllHotkeyFiles({d}, f.folder));
  HotkeyDefinition back = ReadHotkeyFile(f / "Hotkey-00001.ini");
  CHECK(back.Enable == 1);
  CHECK(back.ActionLines.size() == 1);
  CHECK(back.Description.find("two") == 0);
}

TEST_CASE("a save that fails half-way leaves the old set exactly as it was") {
  HotkeysFixture f;
  REQUIRE(WriteAllHotkeyFiles({MakeHotkey(65, "old one", {"Sleep 1"}), MakeHotkey(66, "old two", {})}, f.folder));
  WriteFileBytes(f / "extra.ini", "[Setting]\r\nvk=70\r\nEnable=1\r\n");
  auto before = TakeSnapshot(f.app.path());
  std::vector<HotkeyDefinition> next = {MakeHotkey(67, "new one", {"Sleep 2"}), MakeHotkey(68, "new two", {"Max"}),
                                        MakeHotkey(69, "new three", {})};

  SUBCASE("a write fails in the middle of the second file") {
    int writes = 0;
    IniWriteFn failing = [&](const std::string& s, const std::string& k, const std::string& v, const std::string& p) {
      if (++writes == 11) return false;
      return CMiscFuns::WriteIniString(s, k, v, p);
    };
    CHECK_FALSE(WriteAllHotkeyFiles(next, f.folder, failing));
  }
  SUBCASE("a folder in the hotkeys folder has the name of a new file") {
    MakeFolder(f / "Hotkey-00003.ini");
    before = TakeSnapshot(f.app.path());
    std::string kept = "not cleared";
    CHECK_FALSE(WriteAllHotkeyFiles(next, f.folder, nullptr, nullptr, &kept));
    CHECK(kept.empty());
  }
  SUBCASE("an old file cannot be moved aside") {
    // The second file out of the folder does not move.
    int out = 0;
    FileMoveFn moving = [&](const std::string& from, const std::string& to) {
      if (from.rfind(f.folder + "\\", 0) == 0 && ++out == 2) return false;
      return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
    };
    CHECK_FALSE(WriteAllHotkeyFiles(next, f.folder, nullptr, moving));
    CHECK(out == 2);
  }
  CHECK(TakeSnapshot(f.app.path()) == before);
}

TEST_CASE("the user's own folders named hotkeys.new and hotkeys.old are never used, merged or removed") {
  HotkeysFixture f;
  REQUIRE(WriteAllHotkeyFiles({MakeHotkey(65, "one", {"Sleep 1"}), MakeHotkey(66, "two", {})}, f.folder));
  MakeFolder(f.folder + ".old");
  WriteFileBytes(f.folder + ".old\\mine.ini", "[Setting]\r\nvk=70\r\nEnable=1\r\n");
  WriteFileBytes(f.folder + ".old\\~committing", "a file of the user's");
  MakeFolder(f.folder + ".new");
  WriteFileBytes(f.folder + ".new\\Hotkey-00001.ini", "[Setting]\r\nvk=71\r\n");
  WriteFileBytes(f.folder + ".new\\notes.txt", "keep");
  // Even a folder named like the program's own, but without its marker, is the user's.
  MakeFolder(f.folder + ".~save-mine.old");
  WriteFileBytes(f.folder + ".~save-mine.old\\x.ini", "[Setting]\r\nvk=72\r\n");
  const auto before = TakeSnapshot(f.app.path());

  RecoverInterruptedHotkeySave(f.folder);
  CHECK(TakeSnapshot(f.app.path()) == before);

  REQUIRE(WriteAllHotkeyFiles({MakeHotkey(67, "three", {})}, f.folder));
  auto after = TakeSnapshot(f.app.path());
  CHECK(after.count("hotkeys\\Hotkey-00001.ini") == 1);
  CHECK(after.count("hotkeys\\Hotkey-00002.ini") == 0);
  CHECK(after.count("hotkeys\\mine.ini") == 0);
  after.erase("hotkeys\\Hotkey-00001.ini");
  auto expected = before;
  expected.erase("hotkeys\\Hotkey-00001.ini");
  expected.erase("hotkeys\\Hotkey-00002.ini");
  CHECK(after == expected);
  CHECK(ReadHotkeyFile(f / "Hotkey-00001.ini").vk == 67);

  // A failed save leaves them as well.
  int calls = 0;
  IniWriteFn failing = [&](const std::string& s, const std::string& k, const std::string& v, const std::string& p) {
    return ++calls < 3 && CMiscFuns::WriteIniString(s, k, v, p);
  };
  const auto saved = TakeSnapshot(f.app.path());
  CHECK_FALSE(WriteAllHotkeyFiles({MakeHotkey(68, "four", {})}, f.folder, failing));
  CHECK(TakeSnapshot(f.app.path()) == saved);
}

TEST_CASE("old files that cannot be put back after a failed save are kept in a folder that is named") {
  HotkeysFixture f;
  REQUIRE(WriteAllHotkeyFiles({MakeHotkey(65, "old one", {"Sleep 1"}), MakeHotkey(66, "old two", {})}, f.folder));
  WriteFileBytes(f / "extra.ini", "[Setting]\r\nvk=70\r\nEnable=1\r\n");
  // The third new file cannot go in, and the old extra.ini cannot come back.
  MakeFolder(f / "Hotkey-00003.ini");
  const auto before = TakeSnapshot(f.app.path());
  FileMoveFn moving = [&](const std::string& from, const std::string& to) {
    if (to == f / "extra.ini") return false;
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
  };
  std::string kept;
  CHECK_FALSE(WriteAllHotkeyFiles({MakeHotkey(67, "new one", {}), MakeHotkey(68, "new two", {}),
                                   MakeHotkey(69, "new three", {})},
                                  f.folder, nullptr, moving, &kept));
  // The folder that keeps it is beside the hotkeys folder and holds the file as it was.
  REQUIRE_FALSE(kept.empty());
  CHECK(kept.rfind(f.folder, 0) == 0);
  CHECK(kept.find('\\', f.folder.size()) == std::string::npos);
  CHECK(CMiscFuns::IsFolderExist(kept));
  CHECK(ReadFileBytes(kept + "\\extra.ini") == before.at("hotkeys\\extra.ini"));
  // Everything else is back in place.
  CHECK(ReadFileBytes(f / "Hotkey-00001.ini") == before.at("hotkeys\\Hotkey-00001.ini"));
  CHECK(ReadFileBytes(f / "Hotkey-00002.ini") == before.at("hotkeys\\Hotkey-00002.ini"));
  CHECK_FALSE(FileExists(f / "extra.ini"));

  // The next start puts it back and the folder goes.
  RecoverInterruptedHotkeySave(f.folder);
  CHECK(TakeSnapshot(f.app.path()) == before);
  CHECK_FALSE(CMiscFuns::IsFolderExist(kept));
}

TEST_CASE("a missing hotkeys folder is not created by a save") {
  TempDir app;
  CHECK_FALSE(WriteAllHotkeyFiles({MakeHotkey(65, "x", {})}, app / "hotkeys"));
  CHECK(FolderEntries(app.path()).empty());
}

TEST_CASE("a save cut off by a crash is put right at the next start") {
  // Each move of a save in turn is where the program stops, as a crash there would; the next start
  // must leave the old set or the new one, whole, and nothing beside the folder.
  struct Crash {};
  HotkeysFixture reference;
  const std::vector<HotkeyDefinition> oldSet = {MakeHotkey(65, "old one", {"Sleep 1"}), MakeHotkey(66, "old two", {})};
  const std::vector<HotkeyDefinition> newSet = {MakeHotkey(67, "new one", {}), MakeHotkey(68, "new two", {"Max"}),
                                                MakeHotkey(69, "new three", {})};
  REQUIRE(WriteAllHotkeyFiles(newSet, reference.folder));
  const auto newState = TakeSnapshot(reference.app.path());
  bool sawOld = false, sawNew = false;
  for (int stop = 1; stop <= 12; ++stop) {
    // Odd stops come before a move is made, even ones right after it.
    const int move = (stop + 1) / 2;
    const bool afterMove = stop % 2 == 0;
    CAPTURE(move);
    CAPTURE(afterMove);
    HotkeysFixture f;
    REQUIRE(WriteAllHotkeyFiles(oldSet, f.folder));
    const auto oldState = TakeSnapshot(f.app.path());
    int moves = 0;
    FileMoveFn crashing = [&](const std::string& from, const std::string& to) {
      if (++moves == move && !afterMove) throw Crash{};
      bool moved = ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
      if (moves == move) throw Crash{};
      return moved;
    };
    bool crashed = false;
    try {
      WriteAllHotkeyFiles(newSet, f.folder, nullptr, crashing);
    } catch (const Crash&) {
      crashed = true;
    }
    CHECK(crashed);
    CHECK(TakeSnapshot(f.app.path()) != oldState);  // something was left half-way
    RecoverInterruptedHotkeySave(f.folder);
    const auto state = TakeSnapshot(f.app.path());
    CHECK((state == oldState || state == newState));
    sawOld = sawOld || state == oldState;
    sawNew = sawNew || state == newState;
  }
  // Cut off before the last move the old set comes back, after it the new one stays.
  CHECK(sawOld);
  CHECK(sawNew);
}
