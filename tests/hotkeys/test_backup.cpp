#include <doctest/doctest.h>

#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "hotkeys/backup.h"
#include "hotkeys/backupformat.h"
#include "hotkeys/hotkeyfiles.h"
#include "include/GlobalData.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "include/xml.h"
#include "tests/hotkeys/backup_corpus.h"
#include "tests/support/capture.h"
#include "tests/winsupport.h"

namespace {

using Snapshot = FileSnapshot;

HotkeyDefinition MakeHotkey(int vk, const std::string& description, std::vector<std::string> lines) {
  HotkeyDefinition d;
  d.Alt = 1;
  d.vk = vk;
  d.Enable = 1;
  d.Description = description;
  d.ActionLines = std::move(lines);
  return d;
}

const char kTexts[] =
    "<config><item name=\"Greeting\" value=\"Hello\\r\\nWorld\"><item name=\"Inner\" value=\"{year}\"/></item>"
    "<item name=\"L0192\" value=\"x\"/>"
    // Characters beyond any code page go and come back as they are.
    "<item name=\"\xC5\x81\xC3\xB3" "d\xC5\xBA\" value=\"\xF0\x9F\x98\x80 \xE2\x82\xAC \xCE\x95\xCE\xBB\"/></config>";

// A program folder: hotkeys, predefined texts and the language texts the messages use.
struct BackupFixture {
  TempDir app;
  GlobalPaths saved = Paths();
  BackupLocations where{app / "hotkeys", app / "predefinedtext\\data.xml"};
  BackupFixture() {
    MakeFolder(where.hotkeysFolder);
    MakeFolder(app / "predefinedtext");
    MakeFolder(app / "language");
    WriteFileBytes(app / "language\\English.txt",
                   "[String]\r\nL0118=exported\r\nL0119=no parser\r\nL0120=not a backup\r\nL0121=imported\r\n"
                   "L0198=export failed\r\nL0199=import failed\r\n");
    SetGlobalPaths(BuildGlobalPaths(app.path()));
    std::vector<HotkeyDefinition> hotkeys = {
        MakeHotkey(112, "Run", {"Sleep 500", "EmptyClipboard"}),
        MakeHotkey(65, "Caf\xE9 \"A\" & <b>", {"ShellExecuteEx \"notepad.exe\"", "Sleep 500=1"}),
        MakeHotkey(66, "", {}),
    };
    hotkeys[2].Enable = 0;
    hotkeys[2].Win = 1;
    REQUIRE(WriteAllHotkeyFiles(hotkeys, where.hotkeysFolder));
    xml::ParseResult texts =
        xml::Parse(backup_corpus::Utf16LE(std::string("<?xml version=\"1.0\" encoding=\"UNICODE\"?>") + kTexts));
    REQUIRE(texts);
    REQUIRE(xml::SaveDocument(*texts.document, where.dataXmlPath) == XML_S_OK);
  }
  ~BackupFixture() { SetGlobalPaths(saved); }
  // Everything import may touch: the hotkeys folder, the folder beside it, the text folder.
  Snapshot State() const {
    Snapshot s;
    for (const auto& [name, bytes] : TakeSnapshot(app.path())) {
      if (name.rfind("language", 0) != 0 && name.rfind("backups", 0) != 0) s[name] = bytes;
    }
    return s;
  }
  std::string Backup(const std::string& name, const std::string& bytes) const {
    MakeFolder(app / "backups");
    std::string path = app / ("backups\\" + name);
    WriteFileBytes(path, bytes);
    return path;
  }
};

// The prompts answered by the test: the file it names, and the messages recorded.
struct Answers {
  std::string file;
  bool cancel = false;
  std::vector<std::pair<std::string, UINT>> messages;
  BackupPrompts Prompts() {
    return {[this](HWND, bool, std::string& path) {
              path = file;
              return !cancel;
            },
            [this](HWND, const std::string& text, UINT icon) { messages.emplace_back(text, icon); }};
  }
};

}  // namespace

TEST_CASE("export, wipe and import give back the same hotkey files and texts") {
  BackupFixture f;
  const Snapshot before = f.State();
  MakeFolder(f.app / "backups");
  const std::string path = f.app / "backups\\all.hkb";
  REQUIRE(ExportBackup(path, f.where) == BackupResult::Done);

  const std::string bytes = ReadFileBytes(path);
  REQUIRE(bytes.size() > 2);
  CHECK(bytes.substr(0, 2) == "\xFF\xFE");
  // Kept for a look at what a backup holds.
  WriteFileBytes(ShotPath("backup", "sample.hkb"), bytes);

  xml::NodePtr doc = xml::LoadDocument(path);
  REQUIRE(doc);
  xml::NodeList items = doc->SelectNodes("/DATA/Hotkeys/HkItem");
  REQUIRE(items.Length() == 3);
  CHECK(items.Item(0)->GetNamedItem("ActionLines")->value == "Sleep 500|-*-|-*-|EmptyClipboard|-*-|-*-|");
  CHECK(items.Item(0)->GetNamedItem("Alt")->value == "1");
  CHECK(items.Item(0)->GetNamedItem("vk")->value == "112");
  CHECK(items.Item(0)->GetNamedItem("Description")->value == "Run");
  CHECK(items.Item(2)->GetNamedItem("ActionLines")->value.empty());
  CHECK(items.Item(2)->GetNamedItem("Enable")->value == "0");

  for (const std::string& name : FolderEntries(f.where.hotkeysFolder)) {
    ::DeleteFileA((f.where.hotkeysFolder + "\\" + name).c_str());
  }
  ::DeleteFileA(f.where.dataXmlPath.c_str());
  REQUIRE(FolderEntries(f.where.hotkeysFolder).empty());

  REQUIRE(ImportBackup(path, f.where) == BackupResult::Done);
  CHECK(f.State() == before);
  xml::NodePtr texts = xml::LoadDocument(f.where.dataXmlPath);
  xml::ParseResult original = xml::Parse(kTexts);
  REQUIRE(texts);
  CHECK(xml::DeepEqual(*texts->DocumentElement(), *original.document->DocumentElement()));
}

TEST_CASE("an import replaces hotkeys and texts and numbers the files from 1") {
  BackupFixture f;
  WriteFileBytes(f.where.hotkeysFolder + "\\stray.ini", "[Setting]\r\nvk=9\r\n");
  const std::string path =
      f.Backup("one.hkb", backup_corpus::Utf16LE(backup_corpus::Document(
                              backup_corpus::GoodItem() + "<HkItem/>" + "<HkItem vk=\"70\"/>",
                              "<config><item name=\"Only\" value=\"one\"/></config>")));
  REQUIRE(ImportBackup(path, f.where) == BackupResult::Done);
  CHECK(FolderEntries(f.where.hotkeysFolder) == std::vector<std::string>{"Hotkey-00001.ini", "Hotkey-00002.ini"});
  HotkeyDefinition first = ReadHotkeyFile(f.where.hotkeysFolder + "\\Hotkey-00001.ini");
  CHECK(first.ActionLines == std::vector<std::string>{"Sleep 500", "EmptyClipboard"});
  CHECK(CMiscFuns::GetIniString("Action", "Action00001", "", f.where.hotkeysFolder + "\\Hotkey-00001.ini") ==
        "Sleep 500");
  CHECK(CMiscFuns::GetIniString("Action", "Action00002", "", f.where.hotkeysFolder + "\\Hotkey-00001.ini") ==
        "EmptyClipboard");
  HotkeyDefinition second = ReadHotkeyFile(f.where.hotkeysFolder + "\\Hotkey-00002.ini");
  CHECK(second.vk == 70);
  CHECK(second.Enable == 0);
  xml::NodePtr texts = xml::LoadDocument(f.where.dataXmlPath);
  REQUIRE(texts);
  CHECK(texts->SelectNodes("/config/item").Length() == 1);
  // Nothing of the import is left beside the files.
  CHECK(FolderEntries(f.app / "predefinedtext") == std::vector<std::string>{"data.xml"});
  CHECK(FolderEntries(f.app.path()) == std::vector<std::string>{"backups", "hotkeys", "language", "predefinedtext"});
}

TEST_CASE("line breaks in a backup's values become blanks in the hotkey file") {
  BackupFixture f;
  const std::string path = f.Backup(
      "crlf.hkb", backup_corpus::Utf16LE(backup_corpus::Document(
                      "<HkItem vk=\"65\" Enable=\"1\" Description=\"a&#13;&#10;[Action]&#10;Action00009=Shutdown\" "
                      "ActionLines=\"Sleep 1&#13;&#10;Enable=0|-*-|-*-|\"/>",
                      backup_corpus::GoodConfig())));
  REQUIRE(ImportBackup(path, f.where) == BackupResult::Done);
  const std::string file = f.where.hotkeysFolder + "\\Hotkey-00001.ini";
  const std::string bytes = ReadFileBytes(file);
  CHECK(bytes.find("\r\n[Action]\r\nAction00001=Sleep 1  Enable=0") != std::string::npos);
  CHECK(bytes.find("\nAction00009") == std::string::npos);
  HotkeyDefinition d = ReadHotkeyFile(file);
  CHECK(d.Description == "a  [Action] Action00009=Shutdown");
  CHECK(d.ActionLines == std::vector<std::string>{"Sleep 1  Enable=0"});
  CHECK(d.Enable == 1);
}

TEST_CASE("a damaged backup is refused and leaves hotkeys and texts byte-identical") {
  BackupFixture f;
  ::SetFileAttributesA(f.where.dataXmlPath.c_str(), FILE_ATTRIBUTE_READONLY);
  const Snapshot before = f.State();
  int n = 0;
  for (const auto& [name, bytes] : backup_corpus::DamagedBackups()) {
    CAPTURE(name);
    const std::string path = f.Backup("damaged" + std::to_string(++n) + ".hkb", bytes);
    CHECK(ImportBackup(path, f.where) == BackupResult::NotABackup);
    CHECK(f.State() == before);
    ::DeleteFileA(path.c_str());
  }
  CHECK(ImportBackup(f.app / "backups\\missing.hkb", f.where) == BackupResult::NotABackup);
  CHECK(ImportBackup(f.app / "backups", f.where) == BackupResult::NotABackup);
  CHECK(f.State() == before);
  CHECK((::GetFileAttributesA(f.where.dataXmlPath.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
  ::SetFileAttributesA(f.where.dataXmlPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_CASE("the import command names a damaged backup and a failed write, and reports a good import") {
  BackupFixture f;
  const Snapshot before = f.State();
  Answers a;

  SUBCASE("damaged") {
    a.file = f.Backup("bad.hkb", backup_corpus::DamagedBackups()[3].second);
    bool registered = false;
    CHECK_FALSE(ImportHotkeysInteractive(nullptr, f.where, a.Prompts(), [&] { registered = true; }));
    CHECK_FALSE(registered);
    REQUIRE(a.messages.size() == 1);
    CHECK(a.messages[0].first == "not a backup");
    CHECK(a.messages[0].second == MB_ICONERROR);
    CHECK(f.State() == before);
  }
  SUBCASE("cancelled") {
    a.cancel = true;
    CHECK_FALSE(ImportHotkeysInteractive(nullptr, f.where, a.Prompts()));
    CHECK(a.messages.empty());
    CHECK(f.State() == before);
  }
  SUBCASE("no hotkeys folder") {
    a.file = f.Backup("good.hkb", backup_corpus::GoodBackup());
    BackupLocations elsewhere = f.where;
    elsewhere.hotkeysFolder = f.app / "nowhere";
    CHECK_FALSE(ImportHotkeysInteractive(nullptr, elsewhere, a.Prompts()));
    REQUIRE(a.messages.size() == 1);
    CHECK(a.messages[0].first == "import failed");
    CHECK(a.messages[0].second == MB_ICONERROR);
    CHECK(f.State() == before);
    CHECK_FALSE(CMiscFuns::IsFolderExist(elsewhere.hotkeysFolder));
  }
  SUBCASE("good") {
    a.file = f.Backup("good.hkb", backup_corpus::GoodBackup());
    // The caller's re-registration runs once, on the new files, before the message comes.
    std::vector<size_t> messagesAtRegistration;
    std::vector<std::string> filesAtRegistration;
    CHECK(ImportHotkeysInteractive(nullptr, f.where, a.Prompts(), [&] {
      messagesAtRegistration.push_back(a.messages.size());
      filesAtRegistration = FolderEntries(f.where.hotkeysFolder);
    }));
    CHECK(messagesAtRegistration == std::vector<size_t>{0});
    CHECK(filesAtRegistration == std::vector<std::string>{"Hotkey-00001.ini"});
    REQUIRE(a.messages.size() == 1);
    CHECK(a.messages[0].first == "imported");
    CHECK(a.messages[0].second == MB_ICONINFORMATION);
    CHECK(FolderEntries(f.where.hotkeysFolder) == std::vector<std::string>{"Hotkey-00001.ini"});
  }
}

TEST_CASE("a write that fails during an import leaves hotkeys and texts byte-identical") {
  BackupFixture f;
  const std::string path = f.Backup("good.hkb", backup_corpus::Utf16LE(backup_corpus::Document(
                                                    backup_corpus::GoodItem() + backup_corpus::GoodItem(),
                                                    "<config><item name=\"New\"/></config>")));
  const Snapshot before = f.State();
  // A backup of four hotkeys, and a folder where the fourth one's file goes.
  auto BlockedFourHotkeyBackup = [&f] {
    const std::string four =
        f.Backup("four.hkb", backup_corpus::Utf16LE(backup_corpus::Document(
                                 backup_corpus::GoodItem() + backup_corpus::GoodItem() + backup_corpus::GoodItem() +
                                     backup_corpus::GoodItem(),
                                 "<config><item name=\"New\"/></config>")));
    MakeFolder(f.where.hotkeysFolder + "\\Hotkey-00004.ini");
    return four;
  };

  SUBCASE("a hotkey value cannot be written in the second file") {
    int calls = 0;
    IniWriteFn failing = [&calls](const std::string& section, const std::string& key, const std::string& value,
                                  const std::string& file) {
      if (++calls == 12) return false;
      return CMiscFuns::WriteIniString(section, key, value, file);
    };
    CHECK(ImportBackup(path, f.where, failing) == BackupResult::WriteFailed);
    CHECK(calls == 12);
    CHECK(f.State() == before);
  }
  SUBCASE("a folder in the hotkeys folder has the name of a new hotkey file") {
    const std::string four = BlockedFourHotkeyBackup();
    const Snapshot blocked = f.State();
    CHECK(ImportBackup(four, f.where) == BackupResult::WriteFailed);
    CHECK(f.State() == blocked);
  }
  SUBCASE("the new texts cannot be written aside") {
    MakeFolder(f.where.dataXmlPath + ".~import");
    WriteFileBytes(f.where.dataXmlPath + ".~import\\keep", "x");
    const Snapshot blocked = f.State();
    CHECK(ImportBackup(path, f.where) == BackupResult::WriteFailed);
    CHECK(f.State() == blocked);
  }
  SUBCASE("the text file cannot be replaced") {
    // A folder where the text file was: it cannot be moved aside onto the name in use.
    MakeFolder(f.where.dataXmlPath + ".~prev");
    WriteFileBytes(f.where.dataXmlPath + ".~prev\\keep", "x");
    const Snapshot blocked = f.State();
    CHECK(ImportBackup(path, f.where) == BackupResult::WriteFailed);
    CHECK(f.State() == blocked);
  }
  SUBCASE("the command reports the failure") {
    const std::string four = BlockedFourHotkeyBackup();
    const Snapshot blocked = f.State();
    Answers a;
    a.file = four;
    CHECK_FALSE(ImportHotkeysInteractive(nullptr, f.where, a.Prompts()));
    REQUIRE(a.messages.size() == 1);
    CHECK(a.messages[0].first == "import failed");
    CHECK(f.State() == blocked);
  }
}

namespace {

// The program stopping right after `step`: nothing of the import runs on from there.
struct SimulatedCrash {};
ImportStepObserver CrashAfter(ImportStep step) {
  return [step](ImportStep passed) {
    if (passed == step) throw SimulatedCrash{};
  };
}

}  // namespace

TEST_CASE("an import cut off by a crash is put right: both old or both new") {
  BackupFixture f;
  const std::string path = f.Backup("good.hkb", backup_corpus::GoodBackup());
  const Snapshot before = f.State();
  BackupFixture other;  // what a completed import gives, for comparison
  REQUIRE(ImportBackup(path, other.where) == BackupResult::Done);
  const Snapshot after = other.State();

  for (ImportStep step : {ImportStep::TextsAside, ImportStep::Journal, ImportStep::TextsSwapped}) {
    CAPTURE(static_cast<int>(step));
    CHECK_THROWS_AS(ImportBackup(path, f.where, nullptr, nullptr, nullptr, CrashAfter(step)), SimulatedCrash);
    CHECK(f.State() != before);  // something was left half-way
    RecoverInterruptedImport(f.where);
    CHECK(f.State() == before);
  }
  CHECK_THROWS_AS(ImportBackup(path, f.where, nullptr, nullptr, nullptr, CrashAfter(ImportStep::HotkeysSwapped)), SimulatedCrash);
  RecoverInterruptedImport(f.where);
  CHECK(f.State() == after);
  CHECK(f.State() != before);

  SUBCASE("without a text file before the import") {
    BackupFixture g;
    ::DeleteFileA(g.where.dataXmlPath.c_str());
    const std::string p = g.Backup("good.hkb", backup_corpus::GoodBackup());
    const Snapshot none = g.State();
    CHECK_THROWS_AS(ImportBackup(p, g.where, nullptr, nullptr, nullptr, CrashAfter(ImportStep::TextsSwapped)), SimulatedCrash);
    CHECK(FileExists(g.where.dataXmlPath));
    RecoverInterruptedImport(g.where);
    CHECK(g.State() == none);
  }
}

TEST_CASE("export reports a file it could not write") {
  BackupFixture f;
  MakeFolder(f.app / "backups");
  const Snapshot before = f.State();
  CHECK(ExportBackup(f.app / "no such folder\\x.hkb", f.where) == BackupResult::WriteFailed);
  MakeFolder(f.app / "backups\\taken.hkb");
  CHECK(ExportBackup(f.app / "backups\\taken.hkb", f.where) == BackupResult::WriteFailed);
  CHECK(CMiscFuns::IsFolderExist(f.app / "backups\\taken.hkb"));
  CHECK_FALSE(FileExists(f.app / "no such folder"));

  Answers a;
  a.file = f.app / "no such folder\\x.hkb";
  ExportHotkeysInteractive(nullptr, f.where, a.Prompts());
  REQUIRE(a.messages.size() == 1);
  CHECK(a.messages[0].first == "export failed");
  CHECK(a.messages[0].second == MB_ICONERROR);

  a.messages.clear();
  a.file = f.app / "backups\\fine.hkb";
  WriteFileBytes(a.file, "old contents");
  ExportHotkeysInteractive(nullptr, f.where, a.Prompts());
  REQUIRE(a.messages.size() == 1);
  CHECK(a.messages[0].first == "exported");
  CHECK(a.messages[0].second == MB_ICONINFORMATION);
  CHECK(xml::LoadDocument(a.file));

  a.messages.clear();
  a.cancel = true;
  ExportHotkeysInteractive(nullptr, f.where, a.Prompts());
  CHECK(a.messages.empty());
  CHECK(f.State() == before);
}

TEST_CASE("export without a text file writes an empty text list, and that backup imports") {
  BackupFixture f;
  ::DeleteFileA(f.where.dataXmlPath.c_str());
  const std::string path = f.app / "notexts.hkb";
  REQUIRE(ExportBackup(path, f.where) == BackupResult::Done);
  xml::NodePtr doc = xml::LoadDocument(path);
  REQUIRE(doc);
  xml::NodePtr config = doc->SelectSingleNode("/DATA/CannedResponds/config");
  REQUIRE(config);
  CHECK_FALSE(config->HasChildNodes());
  CHECK(doc->SelectNodes("/DATA/Hotkeys/HkItem").Length() == 3);
  REQUIRE(ImportBackup(path, f.where) == BackupResult::Done);
  xml::NodePtr texts = xml::LoadDocument(f.where.dataXmlPath);
  REQUIRE(texts);
  CHECK(texts->SelectSingleNode("/config"));

  // A text file that is there but is no store gives no backup: it would carry no texts.
  const std::string kept = ReadFileBytes(path);
  WriteFileBytes(f.where.dataXmlPath, "not xml");
  CHECK(ExportBackup(path, f.where) == BackupResult::WriteFailed);
  CHECK(ReadFileBytes(path) == kept);
  WriteFileBytes(f.where.dataXmlPath, "<?xml version=\"1.0\"?><other/>");
  CHECK(ExportBackup(path, f.where) == BackupResult::WriteFailed);
  CHECK(ReadFileBytes(path) == kept);
}

namespace {

// Answers the real file dialog with a name and the message box after it, from another thread.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::string file)
      : m_file(std::move(file)), m_thread(::CreateThread(nullptr, 0, Main, this, 0, nullptr)) {}
  ~DialogAnswerer() {
    m_stop = true;
    ::WaitForSingleObject(m_thread.get(), INFINITE);
  }
  std::string message() const { return m_message; }
  bool answeredFile() const { return m_answeredFile; }

 private:
  static BOOL CALLBACK Find(HWND hwnd, LPARAM param) {
    auto* self = reinterpret_cast<DialogAnswerer*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) && std::string(cls) == "#32770") {
      self->m_found = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  static DWORD WINAPI Main(void* self) {
    static_cast<DialogAnswerer*>(self)->Run();
    return 0;
  }
  void Run() {
    const DWORD start = ::GetTickCount();
    while (!m_stop && ::GetTickCount() - start < 60000) {
      m_found = nullptr;
      ::EnumWindows(Find, reinterpret_cast<LPARAM>(this));
      if (HWND dlg = m_found) {
        HWND text = ::GetDlgItem(dlg, 0xFFFF);
        const bool fileDialog = ::GetDlgItem(dlg, 1152) || ::GetDlgItem(dlg, 1148);
        if (!m_answeredFile && fileDialog) {
          ::SendDlgItemMessageA(dlg, 1152, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_file.c_str()));
          ::SendDlgItemMessageA(dlg, 1148, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_file.c_str()));
          m_answeredFile = true;
          ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        } else if (m_answeredFile && text && !fileDialog) {  // the file dialog may still be closing
          char buf[512] = {};
          ::GetWindowTextA(text, buf, sizeof buf);
          m_message = buf;
          ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          return;
        }
      }
      ::Sleep(100);
    }
  }
  std::string m_file;
  std::string m_message;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_answeredFile{false};
  HWND m_found = nullptr;
  KernelHandle m_thread;
};

}  // namespace

TEST_CASE("the import command through the real file dialog and message box") {
  BackupFixture f;
  const Snapshot before = f.State();
  const std::string path = f.Backup("bad.hkb", "not xml at all");
  bool imported = true;
  std::string message;
  {
    DialogAnswerer answerer(path);
    imported = ImportHotkeysInteractive(nullptr, f.where, {});
    CHECK(answerer.answeredFile());
    message = answerer.message();
  }
  CHECK_FALSE(imported);
  CHECK(message == "not a backup");
  CHECK(f.State() == before);
}

TEST_CASE("export through the real save dialog fails on a text file it cannot read, and writes no backup") {
  BackupFixture f;
  MakeFolder(f.app / "backups");
  const std::string path = f.app / "backups\\texts.hkb";
  const std::string texts = ReadFileBytes(f.where.dataXmlPath);
  std::string message;
  {
    // Another program holds the text file open and lets no one read it.
    FileHandle busy(::CreateFileA(f.where.dataXmlPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(busy);
    DialogAnswerer answerer(path);
    ExportHotkeysInteractive(nullptr, f.where, {});
    CHECK(answerer.answeredFile());
    message = answerer.message();
  }
  CHECK(message == "export failed");
  CHECK_FALSE(FileExists(path));
  CHECK(ReadFileBytes(f.where.dataXmlPath) == texts);

  // Once it can be read, the same command writes a backup that holds the texts.
  ::DeleteFileA(path.c_str());
  {
    DialogAnswerer answerer(path);
    ExportHotkeysInteractive(nullptr, f.where, {});
    message = answerer.message();
  }
  CHECK(message == "exported");
  xml::NodePtr doc = xml::LoadDocument(path);
  REQUIRE(doc);
  CHECK(doc->SelectNodes("/DATA/CannedResponds/config/item").Length() == 3);
}

TEST_CASE("an import whose old hotkeys cannot all be put back keeps the old texts and names the folder") {
  BackupFixture f;
  const std::string path = f.Backup(
      "four.hkb", backup_corpus::Utf16LE(backup_corpus::Document(backup_corpus::GoodItem() + backup_corpus::GoodItem() +
                                                                     backup_corpus::GoodItem() + backup_corpus::GoodItem(),
                                                                 "<config><item name=\"New\"/></config>")));
  // The fourth new file cannot go in, and the old third file cannot come back.
  MakeFolder(f.where.hotkeysFolder + "\\Hotkey-00004.ini");
  const Snapshot before = f.State();
  const std::string stuck = f.where.hotkeysFolder + "\\Hotkey-00003.ini";
  const std::string stuckBytes = ReadFileBytes(stuck);
  FileMoveFn moving = [&](const std::string& from, const std::string& to) {
    if (to == stuck) return false;
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
  };
  std::string kept;
  CHECK(ImportBackup(path, f.where, nullptr, moving, &kept) == BackupResult::WriteFailed);
  REQUIRE_FALSE(kept.empty());
  CHECK(ReadFileBytes(kept + "\\Hotkey-00003.ini") == stuckBytes);
  CHECK(ReadFileBytes(f.where.dataXmlPath) == before.at("predefinedtext\\data.xml"));
  CHECK(ReadFileBytes(f.where.hotkeysFolder + "\\Hotkey-00001.ini") == before.at("hotkeys\\Hotkey-00001.ini"));

  CHECK(ReadFileBytes(f.where.hotkeysFolder + "\\Hotkey-00002.ini") == before.at("hotkeys\\Hotkey-00002.ini"));
  CHECK_FALSE(FileExists(stuck));

  // The next start brings it back; then nothing of the import is left.
  RecoverInterruptedImport(f.where);
  CHECK(f.State() == before);
}
