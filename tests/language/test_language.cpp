#include <doctest/doctest.h>

#include <algorithm>

#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "tests/winsupport.h"

namespace {

// A program folder of its own with an English and a German file, selected as the language table.
struct LanguageFixture {
  TempDir dir;
  GlobalPaths saved = Paths();
  LanguageFixture(const std::string& english, const std::string& selected, const std::string& settings = "") {
    MakeFolder(dir / "language");
    WriteFileBytes(dir / "language\\English.txt", english);
    WriteFileBytes(dir / "language\\Deutsch.txt", selected);
    if (!settings.empty()) WriteFileBytes(dir / "Settings.ini", settings);
    SetGlobalPaths(BuildGlobalPaths(dir.path()));
  }
  ~LanguageFixture() { SetGlobalPaths(saved); }
};

const char kSelectGerman[] = "[Settings]\r\nLanguageFile=Deutsch.txt\r\n";

}  // namespace

TEST_CASE("texts come from the selected file, then English, then the key") {
  LanguageFixture f("[String]\r\nL0001=Exit\r\nL0002=Options\r\nL0003=Three\r\nL0004=Line one\\nLine two\r\n",
                    "[String]\r\nL0001=Beenden\r\nL0003=\r\n", kSelectGerman);
  CHECK(GetLanguageText("L0001") == "Beenden");
  CHECK(GetLanguageText("l0001") == "Beenden");  // keys ignore case
  CHECK(GetLanguageText("L0002") == "Options");  // missing in German
  CHECK(GetLanguageText("L0003") == "Three");    // empty counts as missing
  CHECK(GetLanguageText("L0190") == "L0190");    // nowhere
  CHECK(GetLanguageText("L0004") == "Line one\nLine two");
  CHECK(GetLanguageText("L0004", false) == "Line one\\nLine two");
}

TEST_CASE("without a LanguageFile setting every text is English") {
  LanguageFixture f("[String]\r\nL0001=Exit\r\n", "[String]\r\nL0001=Beenden\r\n");
  CHECK(Paths().selectedLanguage == f.dir / "language\\");
  CHECK(Paths().settingsIni == f.dir / "Settings.ini");
  CHECK(Paths().tmpIni == f.dir / "Tmp.ini");
  CHECK(GetLanguageText("L0001") == "Exit");
}

TEST_CASE("a LanguageFile that does not exist falls back to English") {
  LanguageFixture f("[String]\r\nL0001=Exit\r\n", "", "[Settings]\r\nLanguageFile=Klingon.txt\r\n");
  CHECK(GetLanguageText("L0001") == "Exit");
}

TEST_CASE("translated format texts cannot crash the program") {
  LanguageFixture f(
      "[String]\r\nL0168=Total: %d\r\nL0175=Version %s\r\nL0170=Failed: %s\r\nL0171=Disabled: %d\r\n",
      "[String]\r\nL0168=Gesamt: %s\r\nL0175=Version %s %s %n\r\nL0170=Fehler: %n\r\nL0171=Inaktiv: %d\r\n",
      kSelectGerman);
  using lang::FormatArg;
  // The German text asks for a string where a number is passed: the English text is used.
  CHECK(FormatLanguageText("L0168", {FormatArg::Int(5)}) == "Total: 5");
  CHECK(FormatLanguageText("L0175", {FormatArg::Str("1.0")}) == "Version 1.0");
  // Both texts are broken for this call: the key is shown.
  CHECK(FormatLanguageText("L0170", {FormatArg::Int(2)}) == "L0170");
  CHECK(FormatLanguageText("L0171", {FormatArg::Int(3)}) == "Inaktiv: 3");
  CHECK(FormatLanguageText("L0999", {FormatArg::Int(3)}) == "L0999");
}

TEST_CASE("windows are translated with all their descendants") {
  LanguageFixture f("[String]\r\nL0001=E&xit\r\nL0002=&Options\r\nL0003=Deep && deeper\r\n", "");
  HWND top = ::CreateWindowA("STATIC", "L0001", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HWND child = ::CreateWindowA("STATIC", "L0002", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  HWND grandchild = ::CreateWindowA("STATIC", "L0003", WS_CHILD, 0, 0, 5, 5, child, nullptr, nullptr, nullptr);
  HWND other = ::CreateWindowA("STATIC", "--", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
  HWND empty = ::CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
  REQUIRE(grandchild);
  TranslateWindow(top);
  auto text = [](HWND h) {
    char buf[256] = {};
    ::GetWindowTextA(h, buf, sizeof buf);
    return std::string(buf);
  };
  // A caption shows no access key; the controls keep theirs.
  CHECK(text(top) == "Exit");
  CHECK(text(child) == "&Options");
  CHECK(text(grandchild) == "Deep && deeper");
  CHECK(text(other) == "--");
  CHECK(text(empty) == "");
  ::DestroyWindow(top);
  TranslateWindow(top);  // a window that is gone is left alone
}

TEST_CASE("a window's controls get the very texts GetLanguageText gives for their keys") {
  LanguageFixture f("[String]\r\nL0001=Exit\r\nL0002=Options\r\nL0003=Three\r\nL0005 = spaced out \r\n"
                    "L0006=\"quoted\"\r\nL0007='single'\r\nL0008=first\r\nL0008=second\r\n; L0009=not a comment\r\n"
                    "L0010=Line one\\nLine two\r\n",
                    "[Other]\r\nL0002=Elsewhere\r\n[String]\r\nL0001=Beenden\r\nL0003=\r\nl0004=Klein\r\n",
                    kSelectGerman);
  const char* keys[] = {"L0001", "L0002", "L0003", "L0004", "L0005", "L0006", "L0007", "L0008", "L0010",
                        "L0099", "--"};
  HWND top = ::CreateWindowA("STATIC", "L0001", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  REQUIRE(top);
  std::vector<HWND> children;
  for (const char* key : keys)
    children.push_back(::CreateWindowA("STATIC", key, WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr));
  TranslateWindow(top);
  auto text = [](HWND h) {
    char buf[256] = {};
    ::GetWindowTextA(h, buf, sizeof buf);
    return std::string(buf);
  };
  CHECK(text(top) == "Beenden");
  for (size_t i = 0; i < children.size(); ++i) {
    CAPTURE(std::string(keys[i]));
    CHECK(text(children[i]) == GetLanguageText(keys[i]));
  }
  CHECK(text(children[3]) == "Klein");
  CHECK(text(children[4]) == "spaced out");
  CHECK(text(children[8]) == "Line one\nLine two");
  ::DestroyWindow(top);
}

TEST_CASE("language files are listed by display name") {
  TempDir dir;
  WriteFileBytes(dir / "English.txt", "");
  WriteFileBytes(dir / "Deutsch.txt", "");
  WriteFileBytes(dir / "README", "");
  MakeFolder(dir / "old.txt");
  auto list = ListLanguageFilesIn(dir.path());
  std::sort(list.begin(), list.end());
  REQUIRE(list.size() == 3);
  CHECK(list[0] == std::make_pair(std::string("Deutsch"), std::string("Deutsch.txt")));
  CHECK(list[1] == std::make_pair(std::string("English"), std::string("English.txt")));
  CHECK(list[2] == std::make_pair(std::string("README"), std::string("README")));
  CHECK(ListLanguageFilesIn(dir / "missing").empty());
}

TEST_CASE("the shipped German file translates and falls back like any other") {
  GlobalPaths saved = Paths();
  std::string program = QUORVEL_PROGRAM_DIR;
  GlobalPaths p = BuildGlobalPaths(program);
  p.selectedLanguage = program + "\\language\\Deutsch.txt";
  SetGlobalPaths(p);
  CHECK(GetLanguageText("L0001") != "L0001");
  std::string german = GetLanguageText("L0168");
  p.selectedLanguage = program + "\\language\\English.txt";
  SetGlobalPaths(p);
  CHECK(GetLanguageText("L0168") != german);
  CHECK(FormatLanguageText("L0168", {lang::FormatArg::Int(7)}).find('7') != std::string::npos);
  SetGlobalPaths(saved);
}
