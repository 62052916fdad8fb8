#include <doctest/doctest.h>

#include <set>
#include <string>
#include <vector>

#include "actions/actioneditor.h"
#include "actions/actionline.h"

using namespace actioneditor;
using Fields = std::vector<std::string>;

namespace {
ComposeResult Build(int kind, const Fields& fields) { return BuildActionLineFromFields(kind, fields); }

void CheckRefused(const ComposeResult& r, const std::string& key, int field) {
  CHECK_FALSE(r.ok);
  CHECK(r.line.empty());
  CHECK(r.messageKey == key);
  CHECK(r.field == field);
}
}  // namespace

TEST_CASE("action editor: the kind list holds every kind once, wait after the disc entries") {
  REQUIRE(KindList().size() == static_cast<size_t>(kKindListCount));
  std::set<int> kinds;
  for (const KindEntry& e : KindList()) kinds.insert(e.kind);
  CHECK(kinds.size() == 18);
  CHECK(*kinds.begin() == 0);
  CHECK(*kinds.rbegin() == 17);
  const int expected[] = {0, 1, 2, 4, 5, 6, 7, 8, 9, 3, 10, 11, 12, 13, 14, 15, 16, 17};
  for (int i = 0; i < 18; ++i) CHECK(KindOfListIndex(i) == expected[i]);
  CHECK(std::string(KindList()[9].textKey) == "L0052");
  CHECK(std::string(KindList()[5].textKey) == "L0060");
  CHECK(KindOfListIndex(-1) == -1);
  CHECK(KindOfListIndex(18) == -1);
}

TEST_CASE("action editor: a remembered kind outside the list selects nothing") {
  for (int i = 0; i < 18; ++i) CHECK(ListIndexOfRemembered(i) == i);
  CHECK(ListIndexOfRemembered(18) == -1);
  CHECK(ListIndexOfRemembered(999) == -1);
  CHECK(ListIndexOfRemembered(-1) == -1);
  CHECK(ListIndexOfRemembered(4294967295LL) == -1);  // -1 read back as an unsigned profile value
  CHECK(ListIndexOfRemembered(-2147483647LL - 1) == -1);
}

TEST_CASE("action editor: numbers are read as atoi reads them, with overflow reported") {
  bool overflow = true;
  CHECK(ReadEditorNumber("5", overflow) == 5);
  CHECK_FALSE(overflow);
  CHECK(ReadEditorNumber("  1.5", overflow) == 1);
  CHECK(ReadEditorNumber("-3", overflow) == -3);
  CHECK(ReadEditorNumber("+7x", overflow) == 7);
  CHECK(ReadEditorNumber("abc", overflow) == 0);
  CHECK(ReadEditorNumber("", overflow) == 0);
  CHECK(ReadEditorNumber("-", overflow) == 0);
  CHECK_FALSE(overflow);
  CHECK(ReadEditorNumber("2147483647", overflow) == 2147483647LL);
  CHECK_FALSE(overflow);
  CHECK(ReadEditorNumber("-2147483648", overflow) == -2147483648LL);
  CHECK_FALSE(overflow);
  ReadEditorNumber("2147483648", overflow);
  CHECK(overflow);
  ReadEditorNumber("-2147483649", overflow);
  CHECK(overflow);
  ReadEditorNumber("99999999999999999999999999999999", overflow);
  CHECK(overflow);
}

TEST_CASE("action editor: open file, folder and URL lines, and their refusals") {
  ComposeResult r = Build(0, {"C:\\Program Files\\x.exe", "", ""});
  CHECK(r.ok);
  CHECK(r.line == "ShellExecuteEx \"C:\\Program Files\\x.exe\" \"\" \"\"");
  CHECK(MatchActionLine(r.line) == ActionCommand::ShellExecuteEx);
  CHECK(Build(0, {"a.exe", "-x /y", "C:\\w"}).line == "ShellExecuteEx \"a.exe\" \"-x /y\" \"C:\\w\"");
  CHECK(Build(1, {"C:\\My Docs"}).line == "ShellExecuteEx \"Explorer.exe\" \"C:\\My Docs\" \"\"");
  CHECK(Build(2, {"https://example.com/?a=1&b=2"}).line == "ShellExecuteEx \"https://example.com/?a=1&b=2\" \"\" \"\"");

  CheckRefused(Build(0, {"", "p", "f"}), "L0045", 0);
  CheckRefused(Build(0, {}), "L0045", 0);
  CheckRefused(Build(1, {""}), "L0046", 0);
  CheckRefused(Build(2, {""}), "L0047", 0);
  // Blanks are text: they are kept, as typed.
  CHECK(Build(2, {" "}).line == "ShellExecuteEx \" \" \"\" \"\"");
}

TEST_CASE("action editor: a double quote or a line break in any text is refused on that field") {
  CheckRefused(Build(0, {"a\"b.exe", "", ""}), kUnstorableTextKey, 0);
  CheckRefused(Build(0, {"a.exe", "/title \"two words\"", ""}), kUnstorableTextKey, 1);
  CheckRefused(Build(0, {"a.exe", "", "C:\\\""}), kUnstorableTextKey, 2);
  CheckRefused(Build(0, {"a.exe", "x\r\ny", ""}), kUnstorableTextKey, 1);
  CheckRefused(Build(1, {"\"C:\\x\""}), kUnstorableTextKey, 0);
  CheckRefused(Build(2, {"http://x/\"y"}), kUnstorableTextKey, 0);
  CheckRefused(Build(2, {"http://x/\ny"}), kUnstorableTextKey, 0);
  // The empty check comes first.
  CheckRefused(Build(0, {"", "\"", ""}), "L0045", 0);
  // Every accepted open line reads back as one command with the texts unchanged.
  ComposeResult ok = Build(0, {"C:\\a b\\c.exe", "-v --x /y", "C:\\w d"});
  REQUIRE(ok.ok);
  std::vector<std::string> tokens = TokenizeActionLine(ok.line);
  CHECK(tokens == std::vector<std::string>{"ShellExecuteEx", "C:\\a b\\c.exe", "-v --x /y", "C:\\w d"});
}

TEST_CASE("action editor: wait seconds become milliseconds, within 32 bits") {
  CHECK(Build(3, {"2"}).line == "Sleep 2000");
  CHECK(Build(3, {"5"}).line == "Sleep 5000");
  CHECK(Build(3, {"1.5"}).line == "Sleep 1000");
  CHECK(Build(3, {"-3"}).line == "Sleep -3000");
  CHECK(Build(3, {" 30"}).line == "Sleep 30000");
  CHECK(Build(3, {"2147483"}).line == "Sleep 2147483000");
  CHECK(Build(3, {"-2147483"}).line == "Sleep -2147483000");
  CheckRefused(Build(3, {"0"}), "L0053", 0);
  CheckRefused(Build(3, {""}), "L0053", 0);
  CheckRefused(Build(3, {"abc"}), "L0053", 0);
  CheckRefused(Build(3, {"0.9"}), "L0053", 0);
  CheckRefused(Build(3, {"2147484"}), "L0053", 0);
  CheckRefused(Build(3, {"-2147484"}), "L0053", 0);
  CheckRefused(Build(3, {"4294967296"}), "L0053", 0);  // would read as 0 after a 32-bit wrap
  CheckRefused(Build(3, {"99999999999999999999"}), "L0053", 0);
  // What is accepted reads back as the same number of milliseconds.
  CHECK(ParseActionNumber(TokenizeActionLine(Build(3, {"2147483"}).line)[1]) == 2147483000);
}

TEST_CASE("action editor: volume steps, not 0 and within 32 bits") {
  CHECK(Build(4, {"5"}).line == "VolumeUP 5");
  CHECK(Build(5, {"20"}).line == "VolumeDOWN 20");
  CHECK(Build(4, {"2147483647"}).line == "VolumeUP 2147483647");
  CheckRefused(Build(4, {"0"}), "L0053", 0);
  CheckRefused(Build(5, {""}), "L0053", 0);
  CheckRefused(Build(5, {"x"}), "L0053", 0);
  CheckRefused(Build(4, {"2147483648"}), "L0053", 0);
  CheckRefused(Build(5, {"-99999999999"}), "L0053", 0);
}

TEST_CASE("action editor: disc tray lines need a drive") {
  CHECK(Build(8, {"D:"}).line == "EjectCDROM D:");
  CHECK(Build(9, {"E:"}).line == "InsertCDROM E:");
  CheckRefused(Build(8, {""}), "L0053", 0);
  CheckRefused(Build(9, {}), "L0053", 0);
}

TEST_CASE("action editor: the kinds without parameters give their keyword; no kind is refused") {
  const char* expected[] = {"InsertPredefinedText", "ShowShutdownDialog"};
  CHECK(Build(6, {}).line == expected[0]);
  CHECK(Build(7, {}).line == expected[1]);
  CHECK(Build(10, {}).line == "MaximizeActiveWindow");
  CHECK(Build(11, {}).line == "MinimizeActiveWindow");
  CHECK(Build(12, {}).line == "CloseActiveWindow");
  CHECK(Build(13, {}).line == "EmptyRecycleBin");
  CHECK(Build(14, {}).line == "EmptyClipboard");
  CHECK(Build(15, {}).line == "SimulateWinKeySpace");
  CHECK(Build(16, {}).line == "Copy");
  CHECK(Build(17, {"ignored"}).line == "Paste");
  CheckRefused(Build(-1, {}), "L0053", -1);
  CheckRefused(Build(18, {}), "L0053", -1);
  // Every kind of the list builds a line its command recognises.
  for (int kind = 0; kind < 18; ++kind) {
    CAPTURE(kind);
    ComposeResult r = Build(kind, {"D:", "", ""});
    if (kind == 3 || kind == 4 || kind == 5) r = Build(kind, {"7"});
    REQUIRE(r.ok);
    CHECK(MatchActionLine(r.line) == CommandOfKind(kind));
  }
}

TEST_CASE("action editor: the suggestion mail address") {
  CHECK(BuildSuggestionMailUrl("a@b.c", "Prod", "Suggest an action", "Please describe:") ==
        "mailto:a@b.c?subject=Prod - Suggest an action&body=Please describe:");
}
