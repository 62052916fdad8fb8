#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "hotkeys/backupformat.h"
#include "tests/hotkeys/backup_corpus.h"

using backup::BackupContent;
using backup::StoredHotkey;

namespace {

std::string Attribute(const xml::NodePtr& node, const char* name) {
  const xml::Attribute* a = node ? node->GetNamedItem(name) : nullptr;
  return a ? a->value : std::string("<missing>");
}

bool ReadText(const std::string& utf8Document, BackupContent& content, std::string* reason = nullptr) {
  xml::ParseResult parsed = xml::Parse(backup_corpus::Utf16LE(utf8Document));
  REQUIRE(parsed);
  return backup::ReadBackupDocument(*parsed.document, content, reason);
}

std::string Doc(const std::string& items) {
  return backup_corpus::Document(items, backup_corpus::GoodConfig());
}

}  // namespace

TEST_CASE("action lines join with a separator after every line and split without empty pieces") {
  CHECK(backup::JoinActionLines({"Sleep 500", "EmptyClipboard"}) == "Sleep 500|-*-|-*-|EmptyClipboard|-*-|-*-|");
  CHECK(backup::JoinActionLines({}).empty());
  CHECK(backup::SplitActionLines("Sleep 500|-*-|-*-|EmptyClipboard|-*-|-*-|") ==
        std::vector<std::string>{"Sleep 500", "EmptyClipboard"});
  CHECK(backup::SplitActionLines("a|-*-|-*-||-*-|-*-|b") == std::vector<std::string>{"a", "b"});
  CHECK(backup::SplitActionLines("|-*-|-*-|").empty());
  CHECK(backup::SplitActionLines("").empty());
  CHECK(backup::SplitActionLines("no separator") == std::vector<std::string>{"no separator"});
  CHECK(backup::SplitActionLines("x|-*-|-*") == std::vector<std::string>{"x|-*-|-*"});
}

TEST_CASE("numbers convert as the variant conversion reads text") {
  CHECK(backup::TextToInt32("0") == 0);
  CHECK(backup::TextToInt32("112") == 112);
  CHECK(backup::TextToInt32("  7 ") == 7);
  CHECK(backup::TextToInt32("-12") == -12);
  CHECK(backup::TextToInt32("+3") == 3);
  CHECK(backup::TextToInt32("2147483647") == 2147483647);
  CHECK(backup::TextToInt32("-2147483648") == INT32_MIN);
  CHECK(backup::TextToInt32("1.4") == 1);
  CHECK(backup::TextToInt32("1.6") == 2);
  CHECK(backup::TextToInt32("2.5") == 2);
  CHECK(backup::TextToInt32("3.5") == 4);
  CHECK(backup::TextToInt32("2.51") == 3);
  CHECK(backup::TextToInt32("007") == 7);
  // No number, or none that fits: the key is left out.
  CHECK_FALSE(backup::TextToInt32(""));
  CHECK_FALSE(backup::TextToInt32("   "));
  CHECK_FALSE(backup::TextToInt32("abc"));
  CHECK_FALSE(backup::TextToInt32("12abc"));
  CHECK_FALSE(backup::TextToInt32("-"));
  CHECK_FALSE(backup::TextToInt32("2147483648"));
  CHECK_FALSE(backup::TextToInt32("-2147483649"));
  CHECK_FALSE(backup::TextToInt32(std::string(5000, '9')));
}

TEST_CASE("the backup document has the declaration, DATA, Hotkeys and CannedResponds in order") {
  StoredHotkey h;
  h.Alt = "1";
  h.vk = "112";
  h.Enable = "1";
  h.Description = "Run";
  h.ActionLines = {"Sleep 500", "EmptyClipboard"};
  StoredHotkey bare;  // a file with nothing in it: the defaults
  xml::ParseResult config = xml::Parse(backup_corpus::GoodConfig());
  REQUIRE(config);

  xml::NodePtr doc = backup::BuildBackupDocument({h, bare}, config.document->DocumentElement().get());
  REQUIRE(doc);
  REQUIRE(doc->ChildCount() == 2);
  CHECK(doc->ChildAt(0)->IsDeclaration());
  CHECK(doc->ChildAt(0)->NodeValue() == "version=\"1.0\" encoding=\"UNICODE\"");
  xml::NodePtr data = doc->DocumentElement();
  REQUIRE(data);
  CHECK(data->Name() == "DATA");
  REQUIRE(data->ChildCount() == 2);
  CHECK(data->ChildAt(0)->Name() == "Hotkeys");
  CHECK(data->ChildAt(1)->Name() == "CannedResponds");

  xml::NodeList items = doc->SelectNodes("/DATA/Hotkeys/HkItem");
  REQUIRE(items.Length() == 2);
  std::vector<std::string> names;
  for (const xml::Attribute& a : items.Item(0)->Attributes()) names.push_back(a.name);
  CHECK(names == std::vector<std::string>{"Alt", "Ctrl", "Shift", "Win", "vk", "Enable", "Description", "ActionLines"});
  CHECK(Attribute(items.Item(0), "ActionLines") == "Sleep 500|-*-|-*-|EmptyClipboard|-*-|-*-|");
  CHECK(Attribute(items.Item(0), "vk") == "112");
  CHECK(Attribute(items.Item(1), "Alt") == "0");
  CHECK(Attribute(items.Item(1), "Description").empty());
  CHECK(Attribute(items.Item(1), "ActionLines").empty());
  CHECK_FALSE(items.Item(0)->HasChildNodes());

  xml::NodePtr copied = doc->SelectSingleNode("/DATA/CannedResponds/config");
  REQUIRE(copied);
  CHECK(xml::DeepEqual(*copied, *config.document->DocumentElement()));
  CHECK(copied != config.document->DocumentElement());

  std::string bytes;
  REQUIRE(xml::SerializeDocument(*doc, bytes));
  CHECK(bytes.substr(0, 2) == "\xFF\xFE");
}

TEST_CASE("without a text store the backup holds an empty text list that reads back") {
  xml::NodePtr doc = backup::BuildBackupDocument({}, nullptr);
  REQUIRE(doc);
  xml::NodePtr config = doc->SelectSingleNode("/DATA/CannedResponds/config");
  REQUIRE(config);
  CHECK_FALSE(config->HasChildNodes());
  backup::BackupContent content;
  CHECK(backup::ReadBackupDocument(*doc, content));
  CHECK(doc->SelectSingleNode("/DATA/Hotkeys"));
  CHECK(doc->SelectNodes("/DATA/Hotkeys/HkItem").Empty());
}

TEST_CASE("an exported backup reads back into the same hotkeys and texts") {
  StoredHotkey h;
  h.Ctrl = "1";
  h.Shift = "1";
  h.vk = "65";
  h.Enable = "1";
  h.Description = "Caf\xE9 & <friends> \"quoted\"";  // Windows-1252 é
  h.ActionLines = {"ShellExecuteEx \"notepad.exe\"", "Sleep 500=1"};
  xml::ParseResult config = xml::Parse(backup_corpus::GoodConfig());
  xml::NodePtr doc = backup::BuildBackupDocument({h}, config.document->DocumentElement().get());
  std::string bytes;
  REQUIRE(xml::SerializeDocument(*doc, bytes));
  xml::ParseResult again = xml::Parse(bytes);
  REQUIRE(again);
  BackupContent content;
  std::string reason;
  REQUIRE_MESSAGE(backup::ReadBackupDocument(*again.document, content, &reason), reason);
  REQUIRE(content.hotkeys.size() == 1);
  const HotkeyDefinition& d = content.hotkeys[0];
  CHECK(d.Alt == 0);
  CHECK(d.Ctrl == 1);
  CHECK(d.Shift == 1);
  CHECK(d.Win == 0);
  CHECK(d.vk == 65);
  CHECK(d.Enable == 1);
  CHECK(d.Description == h.Description);
  CHECK(d.ActionLines == h.ActionLines);

  xml::ParseResult texts = xml::Parse(content.textsFile);
  REQUIRE(texts);
  CHECK(content.textsFile.substr(0, 2) == "\xFF\xFE");
  REQUIRE(texts.document->ChildCount() == 2);
  CHECK(texts.document->ChildAt(0)->IsDeclaration());
  CHECK(texts.document->ChildAt(0)->NodeValue() == "version=\"1.0\" encoding=\"UNICODE\"");
  CHECK(xml::DeepEqual(*texts.document->DocumentElement(), *config.document->DocumentElement()));
}

TEST_CASE("import reads attributes by name and numbers hotkeys by their position") {
  BackupContent c;
  REQUIRE(ReadText(Doc(backup_corpus::GoodItem()), c));
  REQUIRE(c.hotkeys.size() == 1);
  CHECK(c.hotkeys[0].ActionLines == std::vector<std::string>{"Sleep 500", "EmptyClipboard"});
  CHECK(c.hotkeys[0].Alt == 1);
  CHECK(c.hotkeys[0].vk == 112);
  CHECK(c.hotkeys[0].Description == "Run");

  SUBCASE("order of attributes, other attributes and child content do not matter") {
    REQUIRE(ReadText(Doc("<HkItem Other=\"9\" ActionLines=\"a|-*-|-*-|\" vk=\"66\"><x/>text</HkItem>"), c));
    REQUIRE(c.hotkeys.size() == 1);
    CHECK(c.hotkeys[0].vk == 66);
    CHECK(c.hotkeys[0].ActionLines == std::vector<std::string>{"a"});
  }
  SUBCASE("a missing Enable imports an inactive hotkey, a missing vk reads as 0") {
    REQUIRE(ReadText(Doc("<HkItem Alt=\"1\"/><HkItem Enable=\"1\"/>"), c));
    REQUIRE(c.hotkeys.size() == 2);
    CHECK(c.hotkeys[0].Enable == 0);
    CHECK(c.hotkeys[1].vk == 0);
    CHECK(c.hotkeys[1].Enable == 1);
  }
  SUBCASE("flags that are no numbers read as 0; numbers are kept as they are") {
    REQUIRE(ReadText(Doc("<HkItem Alt=\"yes\" Ctrl=\"\" Shift=\"5\" vk=\"99999999999\" Enable=\" 1 \"/>"), c));
    REQUIRE(c.hotkeys.size() == 1);
    CHECK(c.hotkeys[0].Alt == 0);
    CHECK(c.hotkeys[0].Ctrl == 0);
    CHECK(c.hotkeys[0].Shift == 5);
    CHECK(c.hotkeys[0].vk == 0);
    CHECK(c.hotkeys[0].Enable == 1);
  }
  SUBCASE("an item without any of the eight attributes adds no hotkey") {
    REQUIRE(ReadText(Doc("<HkItem vk=\"65\"/><HkItem/><HkItem Foo=\"1\"/><HkItem vk=\"66\"/>"), c));
    REQUIRE(c.hotkeys.size() == 2);
    CHECK(c.hotkeys[0].vk == 65);
    CHECK(c.hotkeys[1].vk == 66);
  }
  SUBCASE("a backup without HkItem nodes leaves no hotkeys") {
    REQUIRE(ReadText(Doc(""), c));
    CHECK(c.hotkeys.empty());
    CHECK_FALSE(c.textsFile.empty());
  }
  SUBCASE("elements other than HkItem under Hotkeys are ignored") {
    REQUIRE(ReadText(Doc("<Other vk=\"1\"/>" + backup_corpus::GoodItem()), c));
    CHECK(c.hotkeys.size() == 1);
  }
}

TEST_CASE("line breaks in values cannot reach a hotkey file") {
  BackupContent c;
  REQUIRE(ReadText(Doc("<HkItem vk=\"65\" Description=\"a&#13;&#10;[Action]&#10;Action00001=Shutdown\" "
                       "ActionLines=\"Sleep 1&#10;[Setting]&#13;Enable=1|-*-|-*-|\"/>"),
                   c));
  REQUIRE(c.hotkeys.size() == 1);
  CHECK(c.hotkeys[0].Description == "a  [Action] Action00001=Shutdown");
  CHECK(c.hotkeys[0].ActionLines == std::vector<std::string>{"Sleep 1 [Setting] Enable=1"});
  // Literal line breaks in an attribute read as blanks already.
  REQUIRE(ReadText(Doc("<HkItem vk=\"65\" Description=\"x\r\ny\"/>"), c));
  CHECK(c.hotkeys[0].Description == "x y");
}

TEST_CASE("values up to the limits are accepted") {
  BackupContent c;
  const std::string longest(backup::kMaxDescriptionBytes, 'd');
  REQUIRE(ReadText(Doc("<HkItem vk=\"65\" Description=\"" + longest + "\"/>"), c));
  CHECK(c.hotkeys[0].Description == longest);
  std::string many;
  for (int i = 0; i < 500; ++i) many += "<HkItem vk=\"65\"/>";
  REQUIRE(ReadText(Doc(many), c));
  CHECK(c.hotkeys.size() == 500);
  std::string deep;
  for (int i = 0; i < 900; ++i) deep += "<item name=\"n\">";
  for (int i = 0; i < 900; ++i) deep += "</item>";
  REQUIRE(ReadText(backup_corpus::Document("", "<config>" + deep + "</config>"), c));
  xml::ParseResult texts = xml::Parse(c.textsFile);
  REQUIRE(texts);
}

TEST_CASE("every damaged backup of the corpus is refused as a whole") {
  for (const auto& [name, bytes] : backup_corpus::DamagedBackups()) {
    CAPTURE(name);
    xml::ParseResult parsed = xml::Parse(bytes);
    BackupContent content;
    content.hotkeys.resize(3);
    const bool accepted = parsed && backup::ReadBackupDocument(*parsed.document, content);
    CHECK_FALSE(accepted);
    CHECK(content.textsFile.empty());
  }
}

TEST_CASE("the digest of a file set changes with any name or byte") {
  using Files = std::vector<std::pair<std::string, std::string>>;
  const uint64_t base = backup::FilesDigest({{"a.ini", "x"}, {"b.ini", "y"}});
  CHECK(base == backup::FilesDigest({{"a.ini", "x"}, {"b.ini", "y"}}));
  CHECK(base != backup::FilesDigest({{"a.ini", "x"}, {"b.ini", "z"}}));
  CHECK(base != backup::FilesDigest({{"a.ini", "x"}, {"c.ini", "y"}}));
  CHECK(base != backup::FilesDigest({{"a.ini", "x"}}));
  CHECK(backup::FilesDigest({{"ab", "c"}}) != backup::FilesDigest({{"a", "bc"}}));
  CHECK(backup::FilesDigest(Files{}) != backup::FilesDigest({{"", ""}}));
}
