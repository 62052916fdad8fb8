#include <doctest/doctest.h>

#include "include/textutil.h"

using namespace text;

TEST_CASE("wildcards match names as the file search does") {
  CHECK(WildcardMatch("a.ini", "*.ini"));
  CHECK(WildcardMatch("b.ini", "*.ini"));
  CHECK_FALSE(WildcardMatch("a.ini.bak", "*.ini"));
  CHECK(WildcardMatch("anything", "*"));
  CHECK(WildcardMatch("", "*"));
  CHECK_FALSE(WildcardMatch("", "?"));
  CHECK(WildcardMatch("hotkey-00001.ini", "hotkey-?????.ini"));
  CHECK_FALSE(WildcardMatch("hotkey-0001.ini", "hotkey-?????.ini"));
  CHECK(WildcardMatch("abcabcabd", "*abd"));
  CHECK(WildcardMatch("x.ini", "**.ini"));
  // Case is the caller's business: it lowers both texts first.
  CHECK_FALSE(WildcardMatch("B.INI", "*.ini"));
  CHECK(WildcardMatch(LowerAscii("B.INI"), "*.ini"));
  // A long name with many stars stays fast (no exponential backtracking).
  CHECK_FALSE(WildcardMatch(std::string(5000, 'a'), "*a*a*a*a*a*a*a*b"));
}

TEST_CASE("application folder from the module path") {
  CHECK(FolderFromModulePath("D:\\Tools\\app.exe") == "D:\\Tools");
  CHECK(FolderFromModulePath("C:\\app.exe") == "C:");
  CHECK(FolderFromModulePath("C:prog.exe") == "C:");
  CHECK(FolderFromModulePath("app.exe") == ":");
  // A network share keeps its path: a colon would make every data path invalid.
  CHECK(FolderFromModulePath("\\\\server\\share\\app.exe") == "\\\\server\\share");
}

TEST_CASE("file names cut out of paths") {
  CHECK(FileNameFromPath("C:\\dir\\English.txt", true) == "English.txt");
  CHECK(FileNameFromPath("C:\\dir\\English.txt", false) == "English");
  CHECK(FileNameFromPath("C:README", true) == "README");
  CHECK(FileNameFromPath("C:\\dir\\README", false) == "README");
  CHECK(FileNameFromPath("a.b.c", false) == "a.b");
  CHECK(WithoutTrailingBackslash("C:\\Temp\\") == "C:\\Temp");
  CHECK(WithoutTrailingBackslash("C:\\Temp") == "C:\\Temp");
  CHECK(WithoutTrailingBackslash("") == "");
}

TEST_CASE("replacing texts") {
  CHECK(ReplaceAll("a\\nb\\n", "\\n", "\n") == "a\nb\n");
  CHECK(ReplaceAll("aaa", "a", "aa") == "aaaaaa");  // replacements are not rescanned
  CHECK(ReplaceAll("abc", "", "x") == "abc");
  std::string s = "Open %WINDOWS%\\x and %windows%";
  CHECK(ReplaceFirstFound(s, LowerAscii(s), "%windows%", "C:\\W") == "Open C:\\W\\x and %windows%");
  CHECK(ReplaceFirstFound(s, LowerAscii(s), "%none%", "x") == s);
}

TEST_CASE("GUID text is 32 upper-case hex digits") {
  const uint8_t d4[8] = {0xAB, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xFF};
  CHECK(FormatGuidText(0xDBB9B4F9u, 0xB437, 0x4844, d4) == "DBB9B4F9B4374844AB010203040506FF");
}

TEST_CASE("NUL-separated lists are split within their size") {
  const char buf[] = "a=1\0b=2\0\0junk";
  auto v = SplitNulList(buf, sizeof buf);
  REQUIRE(v.size() == 2);
  CHECK(v[0] == "a=1");
  CHECK(v[1] == "b=2");
  // A buffer cut without its final NUL does not read past its end.
  const char cut[3] = {'x', '\0', 'y'};
  v = SplitNulList(cut, sizeof cut);
  REQUIRE(v.size() == 2);
  CHECK(v[1] == "y");
  CHECK(SplitNulList(buf, 0).empty());
}

TEST_CASE("names sort without regard to case") {
  std::vector<std::string> names = {"hotkey-00007.ini", "Hotkey-00002.ini", "notes.INI", "A.ini"};
  SortNamesNoCase(names);
  CHECK(names == std::vector<std::string>{"A.ini", "Hotkey-00002.ini", "hotkey-00007.ini", "notes.INI"});
}

TEST_CASE("a value for an INI file keeps to one line") {
  CHECK(OneLine("first\r\nsecond\nthird\r") == "first  second third ");
  CHECK(OneLine("plain") == "plain");
  CHECK(OneLine("").empty());
}
