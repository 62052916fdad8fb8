#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "include/xml.h"
#include "predefinedtext/textedit.h"

namespace {

// A store parsed from text, as the editor would have loaded it.
struct Store {
  CXmlDocument doc;
  explicit Store(const std::string& text) {
    xml::ParseResult parsed = xml::Parse(text);
    REQUIRE(parsed);
    doc.m_pDoc = parsed.document;
  }
  std::string Markup() const {
    std::string out;
    REQUIRE(xml::Serialize(*textedit::ConfigElement(doc), out));
    return out;
  }
};

std::vector<std::string> Names(const xml::NodePtr& parent) {
  std::vector<std::string> names;
  for (const xml::NodePtr& item : parent->SelectNodes("item")) {
    const xml::Attribute* name = item->GetNamedItem("name");
    names.push_back(name ? name->value : "<none>");
  }
  return names;
}

}  // namespace

TEST_CASE("text edits: the config element exists only in a store") {
  Store store("<config><item name=\"a\"/></config>");
  CHECK(textedit::ConfigElement(store.doc));
  Store foreign("<settings><item name=\"a\"/></settings>");
  CHECK_FALSE(textedit::ConfigElement(foreign.doc));
  CXmlDocument empty;
  CHECK_FALSE(textedit::ConfigElement(empty));
  empty.m_pDoc = xml::Node::CreateDocument();
  CHECK_FALSE(textedit::ConfigElement(empty));
  // Nothing can be added where there is no store.
  CHECK_FALSE(textedit::AddEntry(empty, textedit::ConfigElement(empty), "x"));
}

TEST_CASE("text edits: a new entry carries only its name and lands last") {
  Store store("<config><item name=\"a\"><note/></item><item name=\"b\"/></config>");
  xml::NodePtr config = textedit::ConfigElement(store.doc);
  xml::NodePtr top = textedit::AddEntry(store.doc, config, "New entry");
  REQUIRE(top);
  CHECK(Names(config) == std::vector<std::string>{"a", "b", "New entry"});
  CHECK(top->Attributes().size() == 1);
  CHECK_FALSE(top->HasChildNodes());
  xml::NodePtr a = config->SelectSingleNode("item");
  xml::NodePtr child = textedit::AddEntry(store.doc, a, "sub");
  REQUIRE(child);
  CHECK(a->LastChild() == child);  // after the foreign <note>, which stays
  CHECK(store.Markup() ==
        "<config><item name=\"a\"><note/><item name=\"sub\"/></item><item name=\"b\"/><item name=\"New entry\"/></config>");
}

TEST_CASE("text edits: removing takes the whole branch and refuses a stranger") {
  Store store("<config><item name=\"a\"><item name=\"a1\"><item name=\"a11\"/></item></item><item name=\"b\"/></config>");
  xml::NodePtr config = textedit::ConfigElement(store.doc);
  xml::NodePtr a = config->SelectSingleNode("item");
  xml::NodePtr a1 = a->SelectSingleNode("item");
  CHECK_FALSE(textedit::RemoveEntry(store.doc, config, a1));  // not a child of config
  CHECK_FALSE(textedit::RemoveEntry(store.doc, nullptr, a1));
  CHECK(textedit::RemoveEntry(store.doc, config, a));
  CHECK(store.Markup() == "<config><item name=\"b\"/></config>");
}

TEST_CASE("text edits: swapping siblings carries their branches and keeps what lies between") {
  Store store("<config><item name=\"a\" value=\"1\"><item name=\"a1\"/></item><!--c--><item name=\"b\"/>"
              "<item name=\"c\"/></config>");
  xml::NodePtr config = textedit::ConfigElement(store.doc);
  xml::NodeList items = config->SelectNodes("item");
  xml::NodePtr a = items.Item(0), b = items.Item(1), c = items.Item(2);
  xml::NodePtr firstNow, secondNow;
  REQUIRE(textedit::SwapEntries(config, a, b, firstNow, secondNow));
  CHECK(store.Markup() ==
        "<config><item name=\"b\"/><!--c--><item name=\"a\" value=\"1\"><item name=\"a1\"/></item><item name=\"c\"/></config>");
  CHECK(firstNow->Parent() == config.get());
  CHECK(firstNow->GetNamedItem("name")->value == "b");
  CHECK(secondNow->GetNamedItem("name")->value == "a");
  CHECK(secondNow->SelectSingleNode("item"));
  // The old elements are out of the document.
  CHECK(a->Parent() == nullptr);
  CHECK(b->Parent() == nullptr);

  // Refused: the same entry twice, one that is not a child, a missing one. A refusal clears both
  // results, so the grandchild is taken first.
  xml::NodePtr a1 = secondNow->SelectSingleNode("item");
  REQUIRE(a1);
  CHECK_FALSE(textedit::SwapEntries(config, c, c, firstNow, secondNow));
  CHECK_FALSE(firstNow);
  CHECK_FALSE(secondNow);
  CHECK_FALSE(textedit::SwapEntries(config, c, a1, firstNow, secondNow));
  CHECK_FALSE(textedit::SwapEntries(config, c, nullptr, firstNow, secondNow));
  CHECK(Names(config) == std::vector<std::string>{"b", "a", "c"});
}

TEST_CASE("text edits: the text is stored with its line breaks escaped, the name as typed") {
  Store store("<config><item name=\"L0079\" value=\"L0080\"/></config>");
  xml::NodePtr item = textedit::ConfigElement(store.doc)->SelectSingleNode("item");
  CHECK(textedit::StoreText(store.doc, item, "line 1\r\nline 2\ttab \\ back"));
  CHECK(item->GetNamedItem("value")->value == "line 1\\r\\nline 2\ttab \\ back");
  CHECK(textedit::StoreText(store.doc, item, ""));
  CHECK(item->GetNamedItem("value")->value.empty());
  CHECK(textedit::StoreName(store.doc, item, "Greeting <&>\""));
  CHECK(item->GetNamedItem("name")->value == "Greeting <&>\"");
  // Stored and read back through the writer.
  std::string bytes;
  REQUIRE(xml::SerializeDocument(*store.doc.m_pDoc, bytes));
  xml::ParseResult again = xml::Parse(bytes);
  REQUIRE(again);
  CHECK(again.document->SelectSingleNode("config/item")->GetNamedItem("name")->value == "Greeting <&>\"");
  // Not an element: nothing stored.
  xml::NodePtr text = xml::Node::CreateTextNode("t");
  CHECK_FALSE(textedit::StoreText(store.doc, text, "x"));
  CHECK_FALSE(textedit::StoreName(store.doc, nullptr, "x"));
}

TEST_CASE("text edits: a document past the reader's limits is recognised before it is written") {
  Store store("<config><item name=\"long\"/></config>");
  xml::NodePtr item = textedit::ConfigElement(store.doc)->SelectSingleNode("item");
  // Smaller limits of the same kind keep the test quick; every line break doubles when escaped.
  xml::ParseOptions limits;
  limits.maxValueBytes = 2000;
  REQUIRE(textedit::StoreText(store.doc, item, std::string(1000, '\n')));
  CHECK(textedit::FitsLoadLimits(*store.doc.m_pDoc, limits));
  REQUIRE(textedit::StoreText(store.doc, item, std::string(1001, '\n')));
  CHECK_FALSE(textedit::FitsLoadLimits(*store.doc.m_pDoc, limits));
  limits.maxValueBytes = size_t{16} << 20;
  limits.maxInputBytes = 100;
  CHECK_FALSE(textedit::FitsLoadLimits(*store.doc.m_pDoc, limits));
  // The box's own limit, escaped at worst, stays well inside the reader's defaults.
  CHECK(textedit::kMaxBoxText * 2 * 3 < xml::ParseOptions{}.maxValueBytes);
}

TEST_CASE("text edits: a deep branch swaps and serialises without trouble") {
  std::string text = "<config><item name=\"first\"/>";
  const int depth = 500;
  for (int i = 0; i < depth; ++i) text += "<item name=\"d" + std::to_string(i) + "\">";
  for (int i = 0; i < depth; ++i) text += "</item>";
  text += "</config>";
  Store store(text);
  xml::NodePtr config = textedit::ConfigElement(store.doc);
  xml::NodeList items = config->SelectNodes("item");
  xml::NodePtr firstNow, secondNow;
  REQUIRE(textedit::SwapEntries(config, items.Item(0), items.Item(1), firstNow, secondNow));
  CHECK(Names(config) == std::vector<std::string>{"d0", "first"});
  CHECK(textedit::FitsLoadLimits(*store.doc.m_pDoc));
}
