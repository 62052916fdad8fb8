#include <doctest/doctest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "include/xml.h"
#include "tests/support/utf16.h"

namespace fs = std::filesystem;
using xml::NodePtr;

namespace {

// A fresh folder of its own under the temporary folder, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("quorvel-xml-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    fs::create_directories(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
  }

 private:
  fs::path path_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return fs::exists(fs::path(path)); }

const std::string kStoreFile = Utf16LE(
    "<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n"
    "<config>\r\n"
    "  <item name=\"Greetings\">\r\n"
    "    <item name=\"Hello\" value=\"Hello,\\r\\nWorld\"/>\r\n"
    "    <item name=\"Caf\xE9\" value=\"\"/>\r\n"
    "  </item>\r\n"
    "  <item name=\"Sign\" value=\"Regards\"/>\r\n"
    "</config>\r\n");

// Installs a file replacer for one test and puts the previous one back.
class ReplacerScope {
 public:
  explicit ReplacerScope(xml::FileReplacer replacer) : previous_(xml::SetFileReplacer(replacer)) {}
  ReplacerScope(const ReplacerScope&) = delete;
  ReplacerScope& operator=(const ReplacerScope&) = delete;
  ~ReplacerScope() { xml::SetFileReplacer(previous_); }

 private:
  xml::FileReplacer previous_;
};

bool RefuseToReplace(const std::string&, const std::string&) { return false; }

std::string Value(CXmlDocument& doc, const NodePtr& node, const std::string& name) {
  std::string value;
  doc.GetAttribute(node, name, value);
  return value;
}

}  // namespace

TEST_CASE("the predefined text file: load, change, save, load again") {
  ScratchFolder dir;
  const std::string file = dir / "data.xml";
  WriteBytes(file, kStoreFile);

  CXmlDocument doc;
  REQUIRE(doc.Load(file));
  CHECK(doc.m_bstrFileName == file);
  NodePtr config;
  REQUIRE(doc.SelectSingleNode(doc.m_pDoc, "config", config) == XML_S_OK);
  NodePtr greetings = config->SelectSingleNode("item");
  CHECK(Value(doc, greetings, "name") == "Greetings");
  NodePtr cafe = greetings->SelectNodes("item").Item(1);
  CHECK(Value(doc, cafe, "name") == "Caf\xC3\xA9");  // UTF-8 at the interface, whatever the file holds

  CHECK(doc.SetAttribute(cafe, "value", "Two\\r\\nlines & <more>") == XML_S_OK);
  NodePtr added;
  CHECK(doc.AddChildElement(config, "item", "", {{"name", "New \xC3\x84ntry"}}, added) == XML_S_OK);
  NodePtr sign = config->SelectNodes("item").Item(1);
  NodePtr removed;
  CHECK(doc.RemoveChild(config, sign, removed) == XML_S_OK);
  CHECK(removed == sign);
  REQUIRE(doc.Save() == XML_S_OK);

  const std::string bytes = ReadBytes(file);
  CHECK(bytes.substr(0, 2) == "\xFF\xFE");
  CHECK(bytes.substr(2, 10) == std::string("<\0?\0x\0m\0l\0", 10));
  CHECK(!Exists(xml::TemporaryPathFor(file)));

  CXmlDocument again;
  REQUIRE(again.Load(file));
  CHECK(xml::DeepEqual(*doc.m_pDoc, *again.m_pDoc));
  NodePtr againConfig;
  again.SelectSingleNode(again.m_pDoc, "config", againConfig);
  xml::NodeList items = againConfig->SelectNodes("item");
  REQUIRE(items.Length() == 2);
  CHECK(Value(again, items.Item(0)->SelectNodes("item").Item(1), "value") == "Two\\r\\nlines & <more>");
  CHECK(Value(again, items.Item(1), "name") == "New \xC3\x84ntry");
  CHECK(again.m_pDoc->FirstChild()->IsDeclaration());
  CHECK(again.m_pDoc->FirstChild()->NodeValue() == "version=\"1.0\" encoding=\"UNICODE\"");
}

TEST_CASE("a UTF-8 file loads and is saved in the encoding it declares") {
  ScratchFolder dir;
  const std::string file = dir / "utf8.xml";
  WriteBytes(file, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><item name=\"\xC3\xA9\"/></config>");
  CXmlDocument doc;
  REQUIRE(doc.Load(file));
  NodePtr item;
  REQUIRE(doc.SelectSingleNode(doc.m_pDoc, "/config/item", item) == XML_S_OK);
  CHECK(Value(doc, item, "name") == "\xC3\xA9");
  REQUIRE(doc.Save() == XML_S_OK);
  CHECK(ReadBytes(file) == "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<config><item name=\"\xC3\xA9\"/></config>\r\n");
}

TEST_CASE("a file that is missing or not well-formed gives an empty document that cannot be saved") {
  ScratchFolder dir;
  CXmlDocument doc;
  CHECK(!doc.m_pDoc);
  CHECK(doc.Save() == XML_S_FALSE);

  SUBCASE("missing") {
    CHECK_FALSE(doc.Load(dir / "missing.xml"));
  }
  SUBCASE("not XML") {
    WriteBytes(dir / "bad.xml", "this is not XML");
    CHECK_FALSE(doc.Load(dir / "bad.xml"));
  }
  SUBCASE("truncated") {
    WriteBytes(dir / "cut.xml", kStoreFile.substr(0, kStoreFile.size() / 2));
    CHECK_FALSE(doc.Load(dir / "cut.xml"));
  }
  SUBCASE("a folder") {
    fs::create_directory(dir / "folder.xml");
    CHECK_FALSE(doc.Load(dir / "folder.xml"));
  }
  SUBCASE("empty name") {
    CHECK_FALSE(doc.Load(""));
  }
  REQUIRE(doc.m_pDoc);
  CHECK(doc.m_pDoc->ChildCount() == 0);
  CHECK(doc.m_bstrFileName.empty());
  NodePtr config;
  CHECK(doc.SelectSingleNode(doc.m_pDoc, "config", config) == XML_S_FALSE);
  CHECK(!config);
  const size_t entries = dir.EntryCount();
  CHECK(doc.Save() == XML_S_FALSE);
  CHECK(dir.EntryCount() == entries);
  CHECK(!Exists(dir / "missing.xml"));
}

TEST_CASE("a failed second load forgets the first file") {
  ScratchFolder dir;
  const std::string first = dir / "first.xml";
  WriteBytes(first, kStoreFile);
  CXmlDocument doc;
  REQUIRE(doc.Load(first));
  NodePtr config;
  doc.SelectSingleNode(doc.m_pDoc, "config", config);
  doc.SetAttribute(config->SelectSingleNode("item"), "name", "changed");
  CHECK_FALSE(doc.Load(dir / "second.xml"));
  CHECK(doc.m_bstrFileName.empty());
  CHECK(doc.Save() == XML_S_FALSE);
  CHECK(ReadBytes(first) == kStoreFile);
  CHECK(!Exists(dir / "second.xml"));
  // The node taken from the first document is still there for whoever holds it.
  CHECK(Value(doc, config->SelectSingleNode("item"), "name") == "changed");
}

TEST_CASE("the wrapper refuses null nodes, empty names and non-elements") {
  CXmlDocument doc;
  NodePtr out = xml::Node::CreateElement("stale");
  std::string value = "prepared";
  NodePtr element = xml::Node::CreateElement("e");
  NodePtr text = xml::Node::CreateTextNode("t");

  SUBCASE("before any load there is no document to add to") {
    CHECK(doc.AddChildElement(element, "item", "", {}, out) == XML_S_FALSE);
    CHECK(!out);
    CHECK(element->ChildCount() == 0);
  }
  SUBCASE("selection") {
    CHECK(doc.SelectSingleNode(nullptr, "config", out) == XML_S_FALSE);
    CHECK(!out);
    CHECK(doc.SelectSingleNode(element, "//bad[", out) == XML_E_FAIL);
  }
  SUBCASE("reading attributes") {
    element->SetAttribute("a", "1");
    CHECK(doc.GetAttribute(nullptr, "a", value) == XML_S_FALSE);
    CHECK(doc.GetAttribute(element, "", value) == XML_S_FALSE);
    CHECK(doc.GetAttribute(element, "missing", value) == XML_S_FALSE);
    CHECK(doc.GetAttribute(text, "a", value) == XML_S_FALSE);
    CHECK(value == "prepared");
    CHECK(doc.GetAttribute(element, "a", value) == XML_S_OK);
    CHECK(value == "1");
  }
  SUBCASE("writing attributes") {
    CHECK(doc.SetAttribute(nullptr, "a", "1") == XML_S_FALSE);
    CHECK(doc.SetAttribute(element, "", "1") == XML_S_FALSE);
    CHECK(doc.SetAttribute(text, "a", "1") == XML_S_FALSE);
    CHECK(text->NodeValue() == "t");
    CHECK(doc.SetAttribute(element, "not a name", "1") == XML_E_FAIL);
    CHECK(element->Attributes().empty());
    CHECK(doc.SetAttribute(element, "a", "1") == XML_S_OK);
    CHECK(doc.SetAttribute(element, "a", "2") == XML_S_OK);
    CHECK(element->Attributes().size() == 1);
    CHECK(element->GetNamedItem("a")->value == "2");
  }
  SUBCASE("removing") {
    NodePtr child = xml::Node::CreateElement("c");
    CHECK(doc.RemoveChild(nullptr, child, out) == XML_S_FALSE);
    CHECK(doc.RemoveChild(element, nullptr, out) == XML_S_FALSE);
    CHECK(doc.RemoveChild(element, child, out) == XML_E_INVALIDARG);
    CHECK(!out);
    element->AppendChild(child);
    CHECK(doc.RemoveChild(element, child, out) == XML_S_OK);
    CHECK(out == child);
    CHECK(element->ChildCount() == 0);
  }
}

TEST_CASE("added elements land last, with their text and attributes") {
  ScratchFolder dir;
  WriteBytes(dir / "data.xml", kStoreFile);
  CXmlDocument doc;
  REQUIRE(doc.Load(dir / "data.xml"));
  NodePtr config;
  doc.SelectSingleNode(doc.m_pDoc, "config", config);
  NodePtr child;

  CHECK(doc.AddChildElement(config, "item", "", {{"name", "n"}, {"value", "v"}}, child) == XML_S_OK);
  REQUIRE(child);
  CHECK(config->LastChild() == child);
  CHECK(child->ChildCount() == 0);
  std::string markup;
  xml::Serialize(*child, markup);
  CHECK(markup == "<item name=\"n\" value=\"v\"/>");

  CHECK(doc.AddChildElement(config, "note", "some text", {}, child) == XML_S_OK);
  CHECK(config->LastChild() == child);
  CHECK(child->ChildCount() == 1);
  CHECK(child->Text() == "some text");

  CHECK(doc.AddChildElement(nullptr, "item", "", {}, child) == XML_S_FALSE);
  CHECK(!child);
  CHECK(doc.AddChildElement(config, "bad name", "", {}, child) == XML_S_FALSE);
  CHECK(doc.AddChildElement(config, "", "", {}, child) == XML_S_FALSE);
  // A text node holds no children: the append itself fails.
  CHECK(doc.AddChildElement(xml::Node::CreateTextNode("t"), "item", "", {}, child) == XML_E_FAIL);
  CHECK(!child);
}

TEST_CASE("a failed save leaves the old file as it was") {
  ScratchFolder dir;
  const std::string file = dir / "data.xml";
  WriteBytes(file, kStoreFile);
  CXmlDocument doc;
  REQUIRE(doc.Load(file));
  NodePtr config;
  doc.SelectSingleNode(doc.m_pDoc, "config", config);
  doc.SetAttribute(config->SelectSingleNode("item"), "name", "changed");

  SUBCASE("the replace step fails") {
    ReplacerScope scope(RefuseToReplace);
    CHECK(doc.Save() == XML_E_FAIL);
    CHECK(ReadBytes(file) == kStoreFile);
    CHECK(!Exists(xml::TemporaryPathFor(file)));
  }
  SUBCASE("the document cannot be written") {
    config->AppendChild(xml::Node::CreateComment("a -- b"));
    CHECK(doc.Save() == XML_E_FAIL);
    CHECK(ReadBytes(file) == kStoreFile);
    CHECK(!Exists(xml::TemporaryPathFor(file)));
  }
  SUBCASE("the folder is gone") {
    ScratchFolder other;
    const std::string inner = other / "sub";
    fs::create_directory(inner);
    const std::string innerFile = (fs::path(inner) / "data.xml").string();
    WriteBytes(innerFile, kStoreFile);
    CXmlDocument gone;
    REQUIRE(gone.Load(innerFile));
    fs::remove_all(inner);
    CHECK(gone.Save() == XML_E_FAIL);
    CHECK(!Exists(inner));
  }
  CHECK(dir.EntryCount() == 1);
}

TEST_CASE("replacing by rename overwrites an existing file") {
  ScratchFolder dir;
  WriteBytes(dir / "new", "new");
  WriteBytes(dir / "old", "old");
  CHECK(xml::ReplaceFileByRename(dir / "new", dir / "old"));
  CHECK(ReadBytes(dir / "old") == "new");
  CHECK(!Exists(dir / "new"));
  CHECK(dir.EntryCount() == 1);
  CHECK_FALSE(xml::ReplaceFileByRename(dir / "missing", dir / "old"));
  CHECK(ReadBytes(dir / "old") == "new");
  // A folder in the way is not moved aside.
  fs::create_directory(dir / "folder");
  WriteBytes(dir / "src", "x");
  CHECK_FALSE(xml::ReplaceFileByRename(dir / "src", dir / "folder"));
  CHECK(fs::is_directory(fs::path(dir / "folder")));
}

TEST_CASE("a backup document is built, saved and read as the backup files need") {
  ScratchFolder dir;
  WriteBytes(dir / "data.xml", kStoreFile);
  CXmlDocument store;
  REQUIRE(store.Load(dir / "data.xml"));

  NodePtr backup = xml::Node::CreateDocument();
  NodePtr data = xml::Node::CreateElement("DATA");
  NodePtr hotkeys = xml::Node::CreateElement("Hotkeys");
  backup->AppendChild(data);
  data->AppendChild(hotkeys);
  NodePtr hk = xml::Node::CreateElement("HkItem");
  hk->SetAttribute("Alt", "1");
  hk->SetAttribute("vk", "112");
  hk->SetAttribute("ActionLines", xml::FromAnsi("Sleep 500|-*-|-*-|EmptyClipboard|-*-|-*-|"));
  hotkeys->AppendChild(hk);
  NodePtr canned = xml::Node::CreateElement("CannedResponds");
  data->AppendChild(canned);
  NodePtr config;
  store.SelectSingleNode(store.m_pDoc, "config", config);
  canned->AppendChild(config->CloneNode(true));
  NodePtr pi = backup->CreateProcessingInstruction("xml", "version=\"1.0\" encoding=\"UNICODE\"");
  REQUIRE(backup->InsertBefore(pi, backup->DocumentElement().get()));
  REQUIRE(xml::SaveDocument(*backup, dir / "backup.hkb") == XML_S_OK);

  CXmlDocument read;
  REQUIRE(read.Load(dir / "backup.hkb"));
  xml::NodeList items = read.m_pDoc->SelectNodes("/DATA/Hotkeys/HkItem");
  REQUIRE(items.Length() == 1);
  NodePtr item = items.NextNode();
  CHECK(Value(read, item, "ActionLines") == "Sleep 500|-*-|-*-|EmptyClipboard|-*-|-*-|");
  std::string untouched = "";
  CHECK(read.GetAttribute(item, "Enable", untouched) == XML_S_FALSE);
  CHECK(untouched.empty());
  NodePtr copied;
  REQUIRE(read.SelectSingleNode(read.m_pDoc, "/DATA/CannedResponds/config", copied) == XML_S_OK);
  CHECK(xml::DeepEqual(*copied, *config));

  // Import writes a fresh predefined text file from the copy.
  NodePtr fresh = xml::Node::CreateDocument();
  fresh->AppendChild(copied->CloneNode(true));
  fresh->InsertBefore(xml::Node::CreateProcessingInstruction("xml", "version=\"1.0\" encoding=\"UNICODE\""),
                      fresh->DocumentElement().get());
  REQUIRE(xml::SaveDocument(*fresh, dir / "data.xml") == XML_S_OK);
  CXmlDocument reloaded;
  REQUIRE(reloaded.Load(dir / "data.xml"));
  CHECK(xml::DeepEqual(*reloaded.m_pDoc, *store.m_pDoc));
}

TEST_CASE("tree items keep their elements through edits and after the document is gone") {
  ScratchFolder dir;
  WriteBytes(dir / "data.xml", kStoreFile);
  auto doc = std::make_unique<CXmlDocument>();
  REQUIRE(doc->Load(dir / "data.xml"));
  NodePtr config;
  doc->SelectSingleNode(doc->m_pDoc, "config", config);
  // What the tree fill does: one counted reference per item, kept in the item's data.
  std::vector<std::intptr_t> itemData;
  for (const NodePtr& item : config->SelectNodes("item")) itemData.push_back(xml::NodeToItemData(item));
  REQUIRE(itemData.size() == 2);

  // Move the second entry up, as the editor does: swap deep copies.
  NodePtr first = xml::NodeFromItemData(itemData[0]), second = xml::NodeFromItemData(itemData[1]);
  NodePtr firstCopy = first->CloneNode(true), secondCopy = second->CloneNode(true);
  REQUIRE(config->ReplaceChild(secondCopy, first.get()));
  REQUIRE(config->ReplaceChild(firstCopy, second.get()));
  xml::ReleaseItemData(itemData[0]);
  xml::ReleaseItemData(itemData[1]);
  itemData = {xml::NodeToItemData(secondCopy), xml::NodeToItemData(firstCopy)};
  CHECK(Value(*doc, config->SelectSingleNode("item"), "name") == "Sign");

  first.reset();
  second.reset();
  firstCopy.reset();
  secondCopy.reset();
  config.reset();
  doc.reset();
  // The dialog's window deletes its items after the document went: each still reads, then goes.
  CXmlDocument reader;
  CHECK(Value(reader, xml::NodeFromItemData(itemData[0]), "name") == "Sign");
  CHECK(Value(reader, xml::NodeFromItemData(itemData[1]), "name") == "Greetings");
  for (std::intptr_t data : itemData) xml::ReleaseItemData(data);
}

TEST_CASE("ANSI strings pass through the installed codec; document strings do not") {
  CHECK(xml::FromAnsi("Caf\xE9 \x80") == "Caf\xC3\xA9 \xE2\x82\xAC");
  CHECK(xml::ToAnsi("Caf\xC3\xA9 \xE4\xB8\xAD") == "Caf\xE9 ?");

  struct Upper {
    static std::string To(std::string_view s) {
      std::string r(s);
      for (char& c : r) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      return r;
    }
    static std::string From(std::string_view s) { return std::string(s); }
  };
  xml::AnsiCodec previous = xml::SetAnsiCodec({Upper::To, Upper::From});
  CHECK(xml::FromAnsi("value") == "VALUE");
  // The document's own strings are Unicode: no code page comes between them and the caller.
  CXmlDocument doc;
  NodePtr e = xml::Node::CreateElement("E");
  CHECK(doc.SetAttribute(e, "name", "value ÅÃ³" "dÅº") == XML_S_OK);
  CHECK(e->GetNamedItem("name")->value == "value ÅÃ³" "dÅº");
  std::string read;
  CHECK(doc.GetAttribute(e, "name", read) == XML_S_OK);
  CHECK(read == "value ÅÃ³" "dÅº");
  xml::SetAnsiCodec(previous);
  CHECK(xml::FromAnsi("x") == "x");
  xml::SetAnsiCodec({nullptr, nullptr});  // the default again
  CHECK(xml::FromAnsi("\xE9") == "\xC3\xA9");
}
