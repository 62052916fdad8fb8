#include <doctest/doctest.h>

#include <climits>
#include <set>

#include "actions/actionline.h"

using Tokens = std::vector<std::string>;

namespace {

// Language texts that show which key and which arguments were asked for.
std::string Text(const std::string& key) { return "<" + key + ">"; }
std::string Format(const std::string& key, const std::vector<lang::FormatArg>& args) {
  std::string s = "<" + key;
  for (const lang::FormatArg& a : args) s += "|" + a.text;
  return s + ">";
}
std::string Describe(const std::string& line) { return DescribeActionLine(line, Text, Format); }

// Real wordings, formatted through the placeholder check the program uses.
std::string EnglishText(const std::string& key) {
  if (key == "L0017") return "(none)";
  if (key == "L0113") return "Maximize the active window";
  return key;
}
std::string EnglishFormat(const std::string& key, const std::vector<lang::FormatArg>& args) {
  std::string format = key == "L0015" ? "Open %s (parameters: %s, folder: %s)"
                       : key == "L0016" ? "Wait %s milliseconds"
                                        : key;
  std::string out;
  return lang::FormatChecked(format, args, out) ? out : key;
}

}  // namespace

TEST_CASE("tokenizer: blanks, quotes and trimming") {
  CHECK(TokenizeActionLine("") == Tokens{});
  CHECK(TokenizeActionLine("   ") == Tokens{});
  CHECK(TokenizeActionLine("Sleep 2000") == Tokens{"Sleep", "2000"});
  CHECK(TokenizeActionLine("  Sleep    2000  ") == Tokens{"Sleep", "2000"});
  CHECK(TokenizeActionLine("\"Sleep\" \"500\"") == Tokens{"Sleep", "500"});
  CHECK(TokenizeActionLine("ShellExecuteEx \"C:\\a b\\x.exe\" \"\" \"\"") ==
        Tokens{"ShellExecuteEx", "C:\\a b\\x.exe", "", ""});
  // Two quotes in a row make one empty token; blanks inside quotes stay.
  CHECK(TokenizeActionLine("\"\"") == Tokens{""});
  CHECK(TokenizeActionLine("a \"  \" b") == Tokens{"a", "  ", "b"});
  // A closing quote ends a token even without a blank after it; an opening one does too.
  CHECK(TokenizeActionLine("\"a\"b") == Tokens{"a", "b"});
  CHECK(TokenizeActionLine("a\"b\"c") == Tokens{"a", "b", "c"});
  CHECK(TokenizeActionLine("a\"\"b") == Tokens{"a", "", "b"});
}

TEST_CASE("tokenizer: slashes and hyphens at the ends of unquoted tokens only") {
  CHECK(TokenizeActionLine("VolumeUP -10") == Tokens{"VolumeUP", "10"});
  CHECK(TokenizeActionLine("/Sleep 5") == Tokens{"Sleep", "5"});
  CHECK(TokenizeActionLine("-/-a-b/-/ c") == Tokens{"a-b", "c"});
  CHECK(TokenizeActionLine("x - / -- y") == Tokens{"x", "y"});  // tokens of trim characters vanish
  CHECK(TokenizeActionLine("\"-10\"") == Tokens{"-10"});
  CHECK(TokenizeActionLine("\"/a/\" \" - \"") == Tokens{"/a/", " - "});
  // A run of trim characters before an opening quote does not leak into the quoted token.
  CHECK(TokenizeActionLine("-\"x\"") == Tokens{"x"});
}

TEST_CASE("tokenizer: a quote that never closes is trimmed like an unquoted token") {
  CHECK(TokenizeActionLine("Sleep \"500") == Tokens{"Sleep", "500"});
  CHECK(TokenizeActionLine("Sleep \" -500 / ") == Tokens{"Sleep", "500"});
  CHECK(TokenizeActionLine("Sleep \"a b") == Tokens{"Sleep", "a b"});
  CHECK(TokenizeActionLine("Sleep \"  ") == Tokens{"Sleep"});
  CHECK(TokenizeActionLine("\"") == Tokens{});
}

TEST_CASE("tokenizer: tabs and other bytes are ordinary characters") {
  CHECK(TokenizeActionLine("Sleep\t500") == Tokens{"Sleep\t500"});
  CHECK(TokenizeActionLine("\xE4\xF6 \xFC") == Tokens{"\xE4\xF6", "\xFC"});
  std::string withNul("a\0b c", 5);
  CHECK(TokenizeActionLine(withNul) == Tokens{std::string("a\0b", 3), "c"});
}

TEST_CASE("tokenizer: an over-long line") {
  std::string line = "ShellExecuteEx \"" + std::string(100000, 'x') + "\" \"\" \"\"";
  Tokens tokens = TokenizeActionLine(line);
  REQUIRE(tokens.size() == 4);
  CHECK(tokens[1].size() == 100000);
  CHECK(MatchActionCommand(tokens) == ActionCommand::ShellExecuteEx);

  std::string many;
  for (int i = 0; i < 20000; ++i) many += "a ";
  CHECK(TokenizeActionLine(many).size() == 20000);
  CHECK(MatchActionLine(many) == ActionCommand::None);
}

TEST_CASE("command table") {
  const auto& table = ActionCommandTable();
  REQUIRE(table.size() == 16);
  CHECK(table.front().command == ActionCommand::ShellExecuteEx);
  CHECK(table.back().command == ActionCommand::Paste);
  std::set<std::string> keys;
  for (const ActionCommandInfo& row : table) {
    keys.insert(row.displayKey);
    CHECK((row.tokenCount == 1 || row.tokenCount == 2 || row.tokenCount == 4));
    CHECK(FindActionCommandInfo(row.command) == &row);
  }
  CHECK(keys.size() == 16);
  CHECK(FindActionCommandInfo(ActionCommand::None) == nullptr);
  CHECK(std::string(FindActionCommandInfo(ActionCommand::VolumeDown)->keyword) == "VolumeDOWN");
  CHECK(FindActionCommandInfo(ActionCommand::EjectCdrom)->tokenCount == 2);
}

TEST_CASE("matching: keyword without regard to case, token count exactly") {
  CHECK(MatchActionLine("sleep 500") == ActionCommand::Sleep);
  CHECK(MatchActionLine("SLEEP 500") == ActionCommand::Sleep);
  CHECK(MatchActionLine("Sleep 500") == ActionCommand::Sleep);
  CHECK(MatchActionLine("Sleep") == ActionCommand::None);
  CHECK(MatchActionLine("Sleep 1 2") == ActionCommand::None);
  CHECK(MatchActionLine("\"Sleep\" \"500\"") == ActionCommand::Sleep);
  CHECK(MatchActionLine("/Sleep 5") == ActionCommand::Sleep);
  CHECK(MatchActionLine("Sleeping 5") == ActionCommand::None);
  CHECK(MatchActionLine("Slee 5") == ActionCommand::None);
  CHECK(MatchActionLine("Frobnicate") == ActionCommand::None);
  CHECK(MatchActionLine("") == ActionCommand::None);
  CHECK(MatchActionLine("ShellExecuteEx notepad.exe \"\" \"\"") == ActionCommand::ShellExecuteEx);
  CHECK(MatchActionLine("ShellExecuteEx \"\" \"\"") == ActionCommand::None);
  CHECK(MatchActionLine("paste") == ActionCommand::Paste);
  CHECK(MatchActionLine("COPY") == ActionCommand::Copy);
  CHECK(MatchActionLine("Copy now") == ActionCommand::None);
  CHECK(MatchActionLine("volumeup 5") == ActionCommand::VolumeUp);
  CHECK(MatchActionLine("insertcdrom D:") == ActionCommand::InsertCdrom);
  CHECK(MatchActionLine("EjectCDROM") == ActionCommand::None);
  // Only ASCII letters fold: a byte above 0x7F never equals a keyword letter.
  CHECK(MatchActionLine("Cop\xD9") == ActionCommand::None);
  CHECK(MatchActionLine("Sleep\t500") == ActionCommand::None);
}

TEST_CASE("every kind's editor line reads back as its own command") {
  for (int kind = 0; kind < kActionKindCount; ++kind) {
    ActionCommand command = CommandOfKind(kind);
    REQUIRE(command != ActionCommand::None);
    std::string line;
    switch (static_cast<ActionKind>(kind)) {
      case ActionKind::OpenFile: line = BuildOpenFileLine("C:\\x.exe", "-a", "C:\\"); break;
      case ActionKind::OpenFolder: line = BuildOpenFolderLine("C:\\Temp"); break;
      case ActionKind::OpenUrl: line = BuildOpenUrlLine("https://example.com/"); break;
      case ActionKind::Sleep: line = BuildSleepLine(2); break;
      case ActionKind::VolumeUp: line = BuildVolumeLine(true, 10); break;
      case ActionKind::VolumeDown: line = BuildVolumeLine(false, 10); break;
      case ActionKind::EjectCdrom: line = BuildDiscTrayLine(true, "D:"); break;
      case ActionKind::InsertCdrom: line = BuildDiscTrayLine(false, "D:"); break;
      default: line = BuildPlainActionLine(kind); break;
    }
    CAPTURE(line);
    CHECK(MatchActionLine(line) == command);
  }
  CHECK(CommandOfKind(-1) == ActionCommand::None);
  CHECK(CommandOfKind(18) == ActionCommand::None);
  CHECK(CommandOfKind(INT_MAX) == ActionCommand::None);
}

TEST_CASE("editor lines are written exactly") {
  CHECK(BuildOpenFileLine("C:\\x.exe", "-a b", "C:\\w") == "ShellExecuteEx \"C:\\x.exe\" \"-a b\" \"C:\\w\"");
  CHECK(BuildOpenFolderLine("C:\\Temp") == "ShellExecuteEx \"Explorer.exe\" \"C:\\Temp\" \"\"");
  CHECK(BuildOpenUrlLine("http://x/") == "ShellExecuteEx \"http://x/\" \"\" \"\"");
  CHECK(BuildSleepLine(2) == "Sleep 2000");
  CHECK(BuildSleepLine(0) == "Sleep 0");
  CHECK(BuildVolumeLine(true, 5) == "VolumeUP 5");
  CHECK(BuildVolumeLine(false, 15) == "VolumeDOWN 15");
  CHECK(BuildDiscTrayLine(true, "E:") == "EjectCDROM E:");
  CHECK(BuildDiscTrayLine(false, "E:") == "InsertCDROM E:");
  CHECK(BuildPlainActionLine(static_cast<int>(ActionKind::ShowShutdownDialog)) == "ShowShutdownDialog");
  CHECK(BuildPlainActionLine(static_cast<int>(ActionKind::SimulateWinKeySpace)) == "SimulateWinKeySpace");
  CHECK(BuildPlainActionLine(static_cast<int>(ActionKind::Sleep)) == "");
  CHECK(BuildPlainActionLine(99) == "");
}

TEST_CASE("editor lines with absurd numbers stay readable numbers") {
  CHECK(BuildSleepLine(3000000) == "Sleep 2147483647");  // 3e9 ms does not fit a long
  CHECK(BuildSleepLine(LLONG_MAX) == "Sleep 2147483647");
  CHECK(BuildSleepLine(LLONG_MIN) == "Sleep -2147483648");
  CHECK(BuildVolumeLine(true, 1LL << 40) == "VolumeUP 2147483647");
  CHECK(ParseActionNumber(TokenizeActionLine(BuildSleepLine(3000000))[1]) == INT32_MAX);
}

TEST_CASE("a parameter with a double quote makes an open-file line no command") {
  std::string line = BuildOpenFileLine("C:\\x.exe", "/title \"two words\"", "");
  CHECK(TokenizeActionLine(line).size() > 4);
  CHECK(MatchActionLine(line) == ActionCommand::None);
  CHECK(Describe(line) == "");
}

TEST_CASE("numbers read the way atol reads them") {
  CHECK(ParseActionNumber("2000") == 2000);
  CHECK(ParseActionNumber("  \t42") == 42);
  CHECK(ParseActionNumber("-10") == -10);
  CHECK(ParseActionNumber("+7") == 7);
  CHECK(ParseActionNumber("12abc") == 12);
  CHECK(ParseActionNumber("abc") == 0);
  CHECK(ParseActionNumber("") == 0);
  CHECK(ParseActionNumber("-") == 0);
  CHECK(ParseActionNumber("--5") == 0);
  CHECK(ParseActionNumber(" - 5") == 0);
  CHECK(ParseActionNumber("0x10") == 0);
  CHECK(ParseActionNumber("1.9") == 1);
  CHECK(ParseActionNumber("2147483647") == INT32_MAX);
  CHECK(ParseActionNumber("-2147483648") == INT32_MIN);
  CHECK(ParseActionNumber("2147483648") == INT32_MAX);
  CHECK(ParseActionNumber("-99999999999999999999999999999") == INT32_MIN);
  CHECK(ParseActionNumber(std::string(5000, '9')) == INT32_MAX);
  CHECK(ParseActionNumber("00000000000000000000000012") == 12);
}

TEST_CASE("display texts") {
  CHECK(Describe("Sleep 2000") == "<L0016|2000>");
  CHECK(Describe("sleep \"abc\"") == "<L0016|abc>");  // shown as written, not as read
  CHECK(Describe("VolumeUP -10") == "<L0054|10>");
  CHECK(Describe("VolumeDOWN 5") == "<L0055|5>");
  CHECK(Describe("EjectCDROM D:") == "<L0108|D:>");
  CHECK(Describe("InsertCDROM D:") == "<L0109|D:>");
  CHECK(Describe("InsertPredefinedText") == "<L0060>");
  CHECK(Describe("ShowShutdownDialog") == "<L0087>");
  CHECK(Describe("MaximizeActiveWindow") == "<L0113>");
  CHECK(Describe("MinimizeActiveWindow") == "<L0114>");
  CHECK(Describe("CloseActiveWindow") == "<L0115>");
  CHECK(Describe("EmptyRecycleBin") == "<L0186>");
  CHECK(Describe("EmptyClipboard") == "<L0187>");
  CHECK(Describe("SimulateWinKeySpace") == "<L0188>");
  CHECK(Describe("Copy") == "<L0190>");
  CHECK(Describe("Paste") == "<L0191>");
  CHECK(Describe("ShellExecuteEx \"a\" \"b\" \"c\"") == "<L0015|a|b|c>");
  CHECK(Describe("ShellExecuteEx \"a\" \"\" \"\"") == "<L0015|a|<L0017>|<L0017>>");
  CHECK(Describe("ShellExecuteEx \"\" \"\" \"c\"") == "<L0015||<L0017>|c>");  // an empty file stays empty
}

TEST_CASE("lines that are no command describe as empty text") {
  CHECK(Describe("") == "");
  CHECK(Describe("Sleep") == "");
  CHECK(Describe("Sleep 1 2") == "");
  CHECK(Describe("Reboot now") == "");
  CHECK(Describe("ShellExecuteEx \"\" \"\"") == "");
  CHECK(Describe("Copy Paste") == "");
  CHECK(Describe(std::string(70000, '"')) == "");
}

TEST_CASE("display texts in real words") {
  CHECK(DescribeActionLine("ShellExecuteEx \"C:\\Program Files\\x.exe\" \"\" \"\"", EnglishText, EnglishFormat) ==
        "Open C:\\Program Files\\x.exe (parameters: (none), folder: (none))");
  CHECK(DescribeActionLine("Sleep 1500", EnglishText, EnglishFormat) == "Wait 1500 milliseconds");
  CHECK(DescribeActionLine("maximizeactivewindow", EnglishText, EnglishFormat) == "Maximize the active window");
  // Percent signs in a line's fields are data, never conversions.
  CHECK(DescribeActionLine("Sleep %s%n", EnglishText, EnglishFormat) == "Wait %s%n milliseconds");
  CHECK(DescribeActionLine("ShellExecuteEx \"%n\" \"%s\" \"%d\"", EnglishText, EnglishFormat) ==
        "Open %n (parameters: %s, folder: %d)");
}
