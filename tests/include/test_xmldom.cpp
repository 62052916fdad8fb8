#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "include/xmldom.h"
#include "tests/support/utf16.h"

using xml::Node;
using xml::NodePtr;
using xml::NodeType;

namespace {

NodePtr ParseOk(const std::string& text, const xml::ParseOptions& options = {}) {
  xml::ParseResult r = xml::Parse(text, options);
  INFO("error: " << r.error << " (line " << r.line << ")");
  REQUIRE(r);
  return r.document;
}

bool Fails(const std::string& text, const xml::ParseOptions& options = {}) { return !xml::Parse(text, options); }

std::string Markup(const NodePtr& node) {
  std::string out;
  REQUIRE(xml::Serialize(*node, out));
  return out;
}

std::string Attr(const NodePtr& n, const char* name) {
  const xml::Attribute* a = n->GetNamedItem(name);
  return a ? a->value : "<missing>";
}

std::string Nested(size_t depth) {
  std::string s;
  for (size_t i = 0; i < depth; ++i) s += "<a>";
  for (size_t i = 0; i < depth; ++i) s += "</a>";
  return s;
}

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n";
const std::string kStoreBody =
    "<config>\r\n"
    "  <item name=\"Greetings\">\r\n"
    "    <item name=\"Hello\" value=\"Hello,\\r\\nWorld\"/>\r\n"
    "    <item name=\"L0067\" value=\"a &amp; b &lt; c\"/>\r\n"
    "  </item>\r\n"
    "  <item name=\"Sign\" value=\"Regards\"><note>kept</note></item>\r\n"
    "</config>\r\n";
// The predefined text file as the program writes it.
const std::string kStore = Utf16LE(kDeclaration + kStoreBody);

}  // namespace

// ---------------------------------------------------------------------------------------------
// Reading

TEST_CASE("a document with every kind of node is read") {
  NodePtr doc = ParseOk(
      "<?xml version=\"1.0\"?><!-- head --><?style sheet?>"
      "<root a=\"1\" b='two'>text &lt;&gt;&amp;&quot;&apos; &#65;&#x42;&#x20AC;"
      "<![CDATA[<raw> & ]]><child/><!--inner--><?pi data?></root><!--tail-->");
  REQUIRE(doc->IsDocument());
  REQUIRE(doc->ChildCount() == 5);
  CHECK(doc->ChildPtr(0)->IsDeclaration());
  CHECK(doc->ChildPtr(0)->NodeValue() == "version=\"1.0\"");
  CHECK(doc->ChildPtr(1)->Type() == NodeType::Comment);
  CHECK(doc->ChildPtr(1)->NodeValue() == " head ");
  CHECK(doc->ChildPtr(2)->Type() == NodeType::ProcessingInstruction);
  CHECK(doc->ChildPtr(2)->Name() == "style");
  CHECK(doc->ChildPtr(2)->NodeValue() == "sheet");
  CHECK(doc->ChildPtr(4)->Type() == NodeType::Comment);

  NodePtr root = doc->DocumentElement();
  REQUIRE(root);
  CHECK(root->Name() == "root");
  CHECK(root->NodeName() == "root");
  CHECK(Attr(root, "a") == "1");
  CHECK(Attr(root, "b") == "two");
  REQUIRE(root->ChildCount() == 5);
  CHECK(root->ChildPtr(0)->Type() == NodeType::Text);
  CHECK(root->ChildPtr(0)->NodeValue() == "text <>&\"' AB\xE2\x82\xAC");
  CHECK(root->ChildPtr(1)->Type() == NodeType::CData);
  CHECK(root->ChildPtr(1)->NodeValue() == "<raw> & ");
  CHECK(root->ChildPtr(2)->Name() == "child");
  CHECK(root->ChildPtr(3)->NodeName() == "#comment");
  CHECK(root->ChildPtr(4)->NodeName() == "pi");
  CHECK(root->Text() == "text <>&\"' AB\xE2\x82\xAC<raw> & ");
}

TEST_CASE("the predefined text store reads as nested items") {
  NodePtr doc = ParseOk(kStore);
  NodePtr config = doc->SelectSingleNode("config");
  REQUIRE(config);
  xml::NodeList items = config->SelectNodes("item");
  REQUIRE(items.Length() == 2);
  NodePtr greetings = items.NextNode();
  CHECK(Attr(greetings, "name") == "Greetings");
  xml::NodeList sub = greetings->SelectNodes("item");
  REQUIRE(sub.Length() == 2);
  CHECK(Attr(sub.Item(0), "value") == "Hello,\\r\\nWorld");
  CHECK(Attr(sub.Item(1), "value") == "a & b < c");
  NodePtr sign = items.NextNode();
  CHECK(Attr(sign, "name") == "Sign");
  CHECK(sign->SelectNodes("item").Empty());
  CHECK(sign->FirstChild()->Name() == "note");
  CHECK(!items.NextNode());
  items.Reset();
  CHECK(items.NextNode() == greetings);
}

TEST_CASE("white space and line ends") {
  SUBCASE("text of white space only is dropped unless asked for") {
    NodePtr doc = ParseOk("<a>\r\n  <b/>\n</a>");
    CHECK(doc->DocumentElement()->ChildCount() == 1);
    xml::ParseOptions keep;
    keep.preserveWhitespace = true;
    doc = ParseOk("<a>\r\n  <b/>\n</a>", keep);
    REQUIRE(doc->DocumentElement()->ChildCount() == 3);
    CHECK(doc->DocumentElement()->ChildPtr(0)->NodeValue() == "\n  ");
  }
  SUBCASE("line ends in text become line feeds") {
    NodePtr doc = ParseOk("<a>one\r\ntwo\rthree\nfour</a>");
    CHECK(doc->DocumentElement()->Text() == "one\ntwo\nthree\nfour");
  }
  SUBCASE("literal white space in attribute values reads as spaces, references as themselves") {
    NodePtr doc = ParseOk("<a v=\"x\ty\r\nz\" w=\"&#9;&#10;&#13;\"/>");
    CHECK(Attr(doc->DocumentElement(), "v") == "x y z");
    CHECK(Attr(doc->DocumentElement(), "w") == "\t\n\r");
  }
  SUBCASE("white space around the root element is allowed") {
    CHECK(ParseOk(" \r\n <a/> \n")->DocumentElement()->Name() == "a");
  }
}

TEST_CASE("encodings are recognised from the byte-order mark or the declaration") {
  const std::string body = "<a v=\"caf\xE9\">\xE9</a>";  // Latin-1 bytes, converted below
  const std::string utf8Body = "<a v=\"caf\xC3\xA9\">\xC3\xA9</a>";
  SUBCASE("UTF-8 without and with byte-order mark") {
    for (const std::string& text : {utf8Body, "\xEF\xBB\xBF" + utf8Body,
                                    "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + utf8Body}) {
      xml::ParseResult r = xml::Parse(text);
      REQUIRE(r);
      CHECK(r.encoding == xml::Encoding::Utf8);
      CHECK(Attr(r.document->DocumentElement(), "v") == "caf\xC3\xA9");
    }
  }
  SUBCASE("UTF-16LE declared UNICODE, the program's own format") {
    xml::ParseResult r = xml::Parse(Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?>" + body));
    REQUIRE(r);
    CHECK(r.encoding == xml::Encoding::Utf16LE);
    CHECK(r.document->ChildPtr(0)->NodeValue() == "version=\"1.0\" encoding=\"UNICODE\"");
    CHECK(Attr(r.document->DocumentElement(), "v") == "caf\xC3\xA9");
    CHECK(r.document->DocumentElement()->Text() == "\xC3\xA9");
  }
  SUBCASE("UTF-16 without a mark, and big-endian") {
    CHECK(xml::Parse(Utf16LE(body, false)).encoding == xml::Encoding::Utf16LE);
    xml::ParseResult be = xml::Parse(Utf16BE("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body));
    REQUIRE(be);
    CHECK(be.encoding == xml::Encoding::Utf16BE);
    CHECK(be.document->DocumentElement()->Text() == "\xC3\xA9");
  }
  SUBCASE("surrogate pairs in UTF-16") {
    std::string bytes = Utf16LE("<a>");
    bytes += std::string("\x3D\xD8\x00\xDE", 4);  // U+1F600
    bytes += Utf16LE("</a>", false);
    NodePtr doc = xml::Parse(bytes).document;
    REQUIRE(doc);
    CHECK(doc->DocumentElement()->Text() == "\xF0\x9F\x98\x80");
  }
  SUBCASE("single-byte encodings named by the declaration") {
    xml::ParseResult r = xml::Parse("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\x80\xE9</a>");
    REQUIRE(r);
    CHECK(r.encoding == xml::Encoding::Windows1252);
    CHECK(r.document->DocumentElement()->Text() == "\xE2\x82\xAC\xC3\xA9");
    r = xml::Parse("<?xml version='1.0' encoding='ISO-8859-1'?><a>\xE9</a>");
    REQUIRE(r);
    CHECK(r.encoding == xml::Encoding::Latin1);
    CHECK(r.document->DocumentElement()->Text() == "\xC3\xA9");
    CHECK(xml::Parse("<?xml version='1.0' encoding='us-ascii'?><a>plain</a>"));
  }
  SUBCASE("contradictions and unknown encodings are refused") {
    CHECK(Fails("<?xml version='1.0' encoding='us-ascii'?><a>\xE9</a>"));
    CHECK(Fails("<?xml version='1.0' encoding='UNICODE'?><a/>"));  // UTF-16 needs its mark here
    CHECK(Fails("\xEF\xBB\xBF<?xml version='1.0' encoding='windows-1252'?><a/>"));
    CHECK(Fails(Utf16LE("<?xml version='1.0' encoding='utf-8'?><a/>")));
    CHECK(Fails("<?xml version='1.0' encoding='shift_jis'?><a/>"));
    CHECK(Fails(body));  // Latin-1 bytes are not UTF-8
    CHECK(Fails(Utf16LE("<a/>") + "x"));  // odd length
    CHECK(Fails(Utf16LE("<a>") + std::string("\x3D\xD8", 2) + Utf16LE("</a>", false)));  // lone surrogate
  }
}

TEST_CASE("malformed documents are refused") {
  const char* const bad[] = {
      "",
      "   ",
      "text",
      "<a>",
      "<a></b>",
      "</a>",
      "<a/><b/>",
      "<a/>text",
      "text<a/>",
      "<a b=1/>",
      "<a b=\"1\" b=\"2\"/>",
      "<a b=\"1\"c=\"2\"/>",
      "<a b=\"<\"/>",
      "<a b=\"x/>",
      "<a b/>",
      "<1a/>",
      "<a>&unknown;</a>",
      "<a>&amp</a>",
      "<a>&#;</a>",
      "<a>&#x;</a>",
      "<a>&#0;</a>",
      "<a>&#xD800;</a>",
      "<a>&#x110000;</a>",
      "<a>&#99999999999;</a>",
      "<a>&#12a;</a>",
      "<a>]]></a>",
      "<a><!-- x -- y --></a>",
      "<a><!-- x ---></a>",
      "<a><!-- open</a>",
      "<a><![CDATA[open</a>",
      "<![CDATA[x]]><a/>",
      "<a><?pi open</a>",
      "<a><?xml version='1.0'?></a>",
      " <?xml version='1.0'?><a/>",
      "<?xml?><a/>",
      "<?xml encoding='utf-8'?><a/>",
      "<?xml version='2.0'?><a/>",
      "<?xml version='1.0' standalone='maybe'?><a/>",
      "<?xml version='1.0' encoding='utf-8' version='1.0'?><a/>",
      "<?xml version='1.0'encoding='utf-8'?><a/>",
      "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>",
      "<a><!ELEMENT x></a>",
      "<a>\x01</a>",
      "<a>\xC3</a>",
      "<a>\xED\xA0\x80</a>",   // UTF-8 encoded surrogate
      "<a>\xC0\xAF</a>",       // overlong
      "<a>\xEF\xBF\xBE</a>",   // U+FFFE
  };
  for (const char* text : bad) {
    INFO("input: " << text);
    CHECK(Fails(text));
  }
  CHECK(Fails(std::string("<a>\0</a>", 8)));
}

TEST_CASE("a refusal says why and where") {
  xml::ParseResult r = xml::Parse("<a>\n<b>\n</c></a>");
  CHECK(!r);
  CHECK(r.error == "end tag does not match start tag");
  CHECK(r.line == 3);
}

TEST_CASE("every truncation of a valid document is refused without harm") {
  const std::string text = "<?xml version=\"1.0\"?>" + kStoreBody;
  REQUIRE(xml::Parse(text));
  // Cutting inside the trailing line break still leaves a whole document.
  for (size_t n = 0; n + 2 < text.size(); ++n) {
    INFO("length " << n);
    CHECK(Fails(text.substr(0, n)));
  }
  for (size_t n = 0; n + 4 < kStore.size(); n += 3) CHECK(Fails(kStore.substr(0, n)));
}

TEST_CASE("deep, wide and huge input is refused within the limits") {
  SUBCASE("nesting") {
    CHECK(xml::Parse(Nested(1000)));
    CHECK(Fails(Nested(1001)));
    CHECK(Fails(Nested(100000)));
    std::string unclosed;
    for (int i = 0; i < 200000; ++i) unclosed += "<a>";
    CHECK(Fails(unclosed));
  }
  SUBCASE("sizes of names and values") {
    xml::ParseOptions small;
    small.maxNameBytes = 8;
    small.maxValueBytes = 16;
    CHECK(xml::Parse("<abcdefgh v='0123456789abcdef'>0123456789abcdef</abcdefgh>", small));
    CHECK(Fails("<abcdefghi/>", small));
    CHECK(Fails("<a abcdefghi='1'/>", small));
    CHECK(Fails("<a v='0123456789abcdefg'/>", small));
    CHECK(Fails("<a>0123456789abcdefg</a>", small));
    CHECK(Fails("<a><!--0123456789abcdefg--></a>", small));
    CHECK(Fails("<a><![CDATA[0123456789abcdefg]]></a>", small));
    CHECK(Fails("<a>&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;&amp;</a>", small));
    CHECK(Fails("<a v='" + std::string((16u << 20) + 1, 'x') + "'/>"));
  }
  SUBCASE("counts of attributes and nodes") {
    std::string many = "<a";
    for (int i = 0; i < 3000; ++i) many += " n" + std::to_string(i) + "='1'";
    CHECK(xml::Parse(many + "/>"));
    CHECK(Fails(many + " n2000='1'/>"));  // a repeated name among many
    for (int i = 3000; i < 4096; ++i) many += " n" + std::to_string(i) + "='1'";
    CHECK(xml::Parse(many + "/>"));
    CHECK(Fails(many + " x='1'/>"));
    xml::ParseOptions few;
    few.maxNodes = 3;
    CHECK(xml::Parse("<a><b/><c/></a>", few));
    CHECK(Fails("<a><b/><c/><d/></a>", few));
  }
  SUBCASE("whole input") {
    xml::ParseOptions tiny;
    tiny.maxInputBytes = 10;
    CHECK(Fails("<a>12345</a>", tiny));
    CHECK(xml::Parse("<a>12</a>", tiny));
  }
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST_CASE("a document is written as UTF-16LE with the declaration it holds") {
  NodePtr doc = ParseOk(Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?><config><item name=\"A\"/></config>"));
  std::string bytes;
  REQUIRE(xml::SerializeDocument(*doc, bytes));
  CHECK(bytes == Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n<config><item name=\"A\"/></config>\r\n"));
  // Without a declaration the program's own encoding is used as well.
  doc = ParseOk("<a>\xC3\xA9</a>");
  REQUIRE(xml::SerializeDocument(*doc, bytes));
  CHECK(bytes == std::string("\xFF\xFE<\0a\0>\0\xE9\0<\0/\0a\0>\0\r\0\n\0", 22));
}

TEST_CASE("escaping in text and attribute values") {
  NodePtr root = Node::CreateElement("a");
  REQUIRE(root->SetAttribute("v", "<&>\"'\t\r\n"));
  root->AppendChild(Node::CreateTextNode("<&>\"'\t\r\n]]>"));
  CHECK(Markup(root) == "<a v=\"&lt;&amp;&gt;&quot;'&#9;&#13;&#10;\">&lt;&amp;&gt;\"'\t&#13;\n]]&gt;</a>");
  SUBCASE("controls become references and NUL a replacement character") {
    NodePtr e = Node::CreateElement("e");
    e->SetAttribute("c", std::string("\x01\x1F\0x", 4));
    CHECK(Markup(e) == "<e c=\"&#1;&#31;\xEF\xBF\xBDx\"/>");
  }
  SUBCASE("broken UTF-8 from a caller becomes a replacement character") {
    NodePtr e = Node::CreateElement("e");
    e->AppendChild(Node::CreateTextNode("x\xC3"));
    CHECK(Markup(e) == "<e>x\xEF\xBF\xBD</e>");
  }
}

TEST_CASE("values with every special character survive a write and a read") {
  NodePtr doc = Node::CreateDocument();
  NodePtr root = Node::CreateElement("r");
  doc->AppendChild(root);
  const std::string tricky = "a\tb\r\nc\rd\ne & <x> \"q\" 'a' \x01 \xE2\x82\xAC \xF0\x9F\x98\x80 ]]> &amp;";
  root->SetAttribute("value", tricky);
  root->SetText("text\twith\nlines\r\nand <tags> & ]]>");
  std::string bytes;
  REQUIRE(xml::SerializeDocument(*doc, bytes));
  NodePtr back = xml::Parse(bytes).document;
  REQUIRE(back);
  CHECK(Attr(back->DocumentElement(), "value") == tricky);
  CHECK(back->DocumentElement()->Text() == "text\twith\nlines\r\nand <tags> & ]]>");
  CHECK(xml::DeepEqual(*doc, *back));
}

TEST_CASE("the declaration chooses the encoding written") {
  std::string bytes;
  SUBCASE("UTF-8") {
    NodePtr doc = ParseOk("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>");
    CHECK(xml::DocumentEncoding(*doc) == xml::Encoding::Utf8);
    REQUIRE(xml::SerializeDocument(*doc, bytes));
    CHECK(bytes == "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a>\xC3\xA9</a>\r\n");
  }
  SUBCASE("windows-1252: characters it lacks become references in text and values") {
    NodePtr doc = ParseOk("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80\">\xE9</a>");
    doc->DocumentElement()->AppendChild(Node::CreateTextNode("\xE4\xB8\xAD"));
    REQUIRE(xml::SerializeDocument(*doc, bytes));
    CHECK(bytes == "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a v=\"\x80\">\xE9&#20013;</a>\r\n");
    NodePtr back = xml::Parse(bytes).document;
    REQUIRE(back);
    CHECK(back->DocumentElement()->Text() == "\xC3\xA9\xE4\xB8\xAD");
    // ... but a name cannot be written with a reference.
    doc->DocumentElement()->AppendChild(Node::CreateElement("\xE4\xB8\xAD"));
    CHECK_FALSE(xml::SerializeDocument(*doc, bytes));
  }
  SUBCASE("an explicit encoding") {
    NodePtr doc = ParseOk("<a>\xC3\xA9</a>");
    REQUIRE(xml::SerializeDocument(*doc, xml::Encoding::Utf16BE, bytes));
    CHECK(bytes == std::string("\xFE\xFF\0<\0a\0>\0\xE9\0<\0/\0a\0>\0\r\0\n", 22));
    REQUIRE(xml::SerializeDocument(*doc, xml::Encoding::Ascii, bytes));
    CHECK(bytes == "<a>&#233;</a>\r\n");
  }
}

TEST_CASE("nodes that cannot be written as well-formed XML make the write fail") {
  NodePtr doc = ParseOk("<a/>");
  NodePtr root = doc->DocumentElement();
  std::string bytes;
  SUBCASE("comment with two dashes") { root->AppendChild(Node::CreateComment("x--y")); }
  SUBCASE("comment ending in a dash") { root->AppendChild(Node::CreateComment("x-")); }
  SUBCASE("CDATA holding its end") { root->AppendChild(Node::CreateCDataSection("]]>")); }
  SUBCASE("processing instruction holding its end") {
    root->AppendChild(Node::CreateProcessingInstruction("pi", "?>"));
  }
  SUBCASE("control character in a comment") { root->AppendChild(Node::CreateComment("\x01")); }
  CHECK_FALSE(xml::SerializeDocument(*doc, bytes));
  CHECK(bytes.empty());
  CHECK_FALSE(xml::SerializeDocument(*root, bytes));  // not a document
}

TEST_CASE("documents read back equal to what was written") {
  const std::string samples[] = {
      kStore,
      Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?><!--c--><?p d?><r a=\"&#10;\"><![CDATA[x<y]]>t&amp;<e/></r>"),
      "<?xml version='1.0' encoding='windows-1252'?><r v='\x80\x81\x9F'>\xFF</r>",
      Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?><DATA><Hotkeys><HkItem Alt=\"1\"/></Hotkeys></DATA>"),
      Nested(1000),
  };
  for (const std::string& text : samples) {
    NodePtr first = ParseOk(text);
    std::string bytes, again;
    REQUIRE(xml::SerializeDocument(*first, bytes));
    NodePtr second = ParseOk(bytes);
    CHECK(xml::DeepEqual(*first, *second));
    REQUIRE(xml::SerializeDocument(*second, again));
    CHECK(again == bytes);
  }
}

// ---------------------------------------------------------------------------------------------
// Editing

TEST_CASE("children are appended, inserted, removed and replaced") {
  NodePtr root = Node::CreateElement("r");
  NodePtr a = Node::CreateElement("a"), b = Node::CreateElement("b"), c = Node::CreateElement("c");
  REQUIRE(root->AppendChild(a));
  REQUIRE(root->AppendChild(c));
  REQUIRE(root->InsertBefore(b, c.get()));
  CHECK(Markup(root) == "<r><a/><b/><c/></r>");
  CHECK(a->NextSibling() == b);
  CHECK(c->PreviousSibling() == b);
  CHECK(!a->PreviousSibling());
  CHECK(!c->NextSibling());
  CHECK(b->Parent() == root.get());
  CHECK(b->ParentNode() == root);

  SUBCASE("moving within the same parent") {
    REQUIRE(root->InsertBefore(c, a.get()));
    CHECK(Markup(root) == "<r><c/><a/><b/></r>");
    REQUIRE(root->AppendChild(c));
    CHECK(Markup(root) == "<r><a/><b/><c/></r>");
    REQUIRE(root->InsertBefore(b, b.get()));
    CHECK(Markup(root) == "<r><a/><b/><c/></r>");
    CHECK(b->NextSibling() == c);
  }
  SUBCASE("removing keeps the node alive for its holder") {
    NodePtr removed = root->RemoveChild(b.get());
    CHECK(removed == b);
    CHECK(!b->Parent());
    CHECK(Markup(root) == "<r><a/><c/></r>");
    CHECK(a->NextSibling() == c);
    CHECK(!root->RemoveChild(b.get()));  // no longer a child
    CHECK(!root->RemoveChild(nullptr));
  }
  SUBCASE("replacing") {
    NodePtr d = Node::CreateElement("d");
    CHECK(root->ReplaceChild(d, b.get()) == b);
    CHECK(Markup(root) == "<r><a/><d/><c/></r>");
    CHECK(!b->Parent());
    // Replacing by a sibling moves it.
    CHECK(root->ReplaceChild(a, c.get()) == c);
    CHECK(Markup(root) == "<r><d/><a/></r>");
    CHECK(root->ReplaceChild(a, a.get()) == a);
    CHECK(!root->ReplaceChild(b, c.get()));  // c is gone
  }
  SUBCASE("moving between parents") {
    NodePtr other = Node::CreateElement("o");
    REQUIRE(other->AppendChild(b));
    CHECK(Markup(root) == "<r><a/><c/></r>");
    CHECK(Markup(other) == "<o><b/></o>");
    CHECK(b->Parent() == other.get());
  }
  SUBCASE("refusals leave the tree as it was") {
    NodePtr text = Node::CreateTextNode("t");
    CHECK_FALSE(text->AppendChild(Node::CreateElement("x")));  // text holds no children
    CHECK_FALSE(b->AppendChild(root));                          // an ancestor under its descendant
    CHECK_FALSE(root->AppendChild(root));
    CHECK_FALSE(root->AppendChild(Node::CreateDocument()));
    CHECK_FALSE(root->AppendChild(NodePtr()));
    NodePtr stranger = Node::CreateElement("s");
    CHECK_FALSE(root->InsertBefore(Node::CreateElement("x"), stranger.get()));
    CHECK_FALSE(root->AppendChild(Node::CreateProcessingInstruction("xml", "version=\"1.0\"")));
    CHECK(Markup(root) == "<r><a/><b/><c/></r>");
  }
}

TEST_CASE("a document holds one root element, no text, and the declaration only in front") {
  NodePtr doc = Node::CreateDocument();
  NodePtr data = Node::CreateElement("DATA");
  REQUIRE(doc->AppendChild(data));
  CHECK(doc->DocumentElement() == data);
  CHECK_FALSE(doc->AppendChild(Node::CreateElement("second")));
  CHECK_FALSE(doc->AppendChild(Node::CreateTextNode("t")));
  CHECK_FALSE(doc->AppendChild(Node::CreateCDataSection("t")));
  REQUIRE(doc->AppendChild(Node::CreateComment("after")));

  NodePtr pi = Node::CreateProcessingInstruction("xml", "version=\"1.0\" encoding=\"UNICODE\"");
  REQUIRE(pi);
  CHECK_FALSE(doc->AppendChild(pi));  // not at the head
  REQUIRE(doc->InsertBefore(pi, data.get()));
  CHECK(doc->FirstChild() == pi);
  CHECK_FALSE(doc->InsertBefore(Node::CreateComment("x"), pi.get()));  // nothing before it
  CHECK_FALSE(doc->InsertBefore(Node::CreateProcessingInstruction("xml", "version=\"1.0\""), pi.get()));
  // Replacing the root element by another element is fine; by a second declaration it is not.
  NodePtr other = Node::CreateElement("OTHER");
  CHECK(doc->ReplaceChild(other, data.get()) == data);
  CHECK(doc->DocumentElement() == other);
  CHECK(!doc->ReplaceChild(Node::CreateProcessingInstruction("xml", "version=\"1.0\""), other.get()));
  std::string out;
  REQUIRE(xml::Serialize(*doc, out));
  CHECK(out == "<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n<OTHER/>\r\n<!--after-->\r\n");
}

TEST_CASE("factories refuse what cannot be written") {
  CHECK(!Node::CreateElement(""));
  CHECK(!Node::CreateElement("1a"));
  CHECK(!Node::CreateElement("a b"));
  CHECK(!Node::CreateElement("a<"));
  CHECK(!Node::CreateElement("\xC3"));
  CHECK(Node::CreateElement("ns:a-b.c_1"));
  CHECK(Node::CreateElement("\xC3\xA9t\xC3\xA9"));
  CHECK(!Node::CreateProcessingInstruction("xml", "junk"));
  CHECK(!Node::CreateProcessingInstruction("XML", "version=\"1.0\""));
  CHECK(!Node::CreateProcessingInstruction("xml", "version=\"1.0\" encoding=\"klingon\""));
  CHECK(Node::CreateProcessingInstruction("xml-stylesheet", "href='x'"));
  NodePtr decl = Node::CreateProcessingInstruction("xml", "version=\"1.0\"");
  CHECK_FALSE(decl->SetNodeValue("nonsense"));
  CHECK(decl->SetNodeValue("version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\""));
}

TEST_CASE("deep copies, also into another document") {
  NodePtr source = ParseOk(kStore);
  NodePtr config = source->SelectSingleNode("config");
  NodePtr copy = config->CloneNode(true);
  CHECK(!copy->Parent());
  CHECK(xml::DeepEqual(*config, *copy));
  CHECK(copy != config);

  NodePtr backup = Node::CreateDocument();
  NodePtr data = Node::CreateElement("DATA");
  NodePtr canned = Node::CreateElement("CannedResponds");
  backup->AppendChild(data);
  data->AppendChild(canned);
  REQUIRE(canned->AppendChild(copy));
  // Changing the copy leaves the source alone.
  copy->SelectSingleNode("item")->SetAttribute("name", "changed");
  CHECK(Attr(config->SelectSingleNode("item"), "name") == "Greetings");
  CHECK(Attr(backup->SelectSingleNode("/DATA/CannedResponds/config/item"), "name") == "changed");

  NodePtr shallow = config->CloneNode(false);
  CHECK(shallow->Name() == "config");
  CHECK(shallow->ChildCount() == 0);
  NodePtr withAttrs = ParseOk("<a x='1'><b/></a>")->DocumentElement()->CloneNode(false);
  CHECK(Attr(withAttrs, "x") == "1");
  CHECK(withAttrs->ChildCount() == 0);
  NodePtr wholeDoc = source->CloneNode(true);
  CHECK(wholeDoc->IsDocument());
  CHECK(xml::DeepEqual(*wholeDoc, *source));
}

TEST_CASE("text of elements and character data") {
  NodePtr doc = ParseOk("<a>one<b>two<![CDATA[three]]></b><!--no--><?pi no?>four</a>");
  NodePtr a = doc->DocumentElement();
  CHECK(a->Text() == "onetwothreefour");
  CHECK(doc->Text() == "onetwothreefour");
  CHECK(a->ChildPtr(2)->Text() == "no");
  REQUIRE(a->SetText("new"));
  CHECK(a->ChildCount() == 1);
  CHECK(a->FirstChild()->Type() == NodeType::Text);
  CHECK(Markup(a) == "<a>new</a>");
  REQUIRE(a->SetText(""));
  CHECK(a->ChildCount() == 0);
  CHECK_FALSE(doc->SetText("x"));
  NodePtr t = Node::CreateTextNode("x");
  REQUIRE(t->SetText("y"));
  CHECK(t->NodeValue() == "y");
  CHECK_FALSE(a->SetNodeValue("x"));
}

TEST_CASE("attributes are read, set, replaced and removed in order") {
  NodePtr e = Node::CreateElement("HkItem");
  for (const char* name : {"Alt", "Ctrl", "Shift", "Win", "vk", "Enable"}) REQUIRE(e->SetAttribute(name, "0"));
  REQUIRE(e->SetAttribute("vk", "112"));
  CHECK(Markup(e) == "<HkItem Alt=\"0\" Ctrl=\"0\" Shift=\"0\" Win=\"0\" vk=\"112\" Enable=\"0\"/>");
  CHECK(e->GetNamedItem("vk")->value == "112");
  CHECK(e->GetNamedItem("VK") == nullptr);
  CHECK(e->RemoveAttribute("Ctrl"));
  CHECK_FALSE(e->RemoveAttribute("Ctrl"));
  CHECK(e->Attributes().size() == 5);
  CHECK_FALSE(e->SetAttribute("", "x"));
  CHECK_FALSE(e->SetAttribute("two words", "x"));
  NodePtr t = Node::CreateTextNode("x");
  CHECK_FALSE(t->SetAttribute("a", "1"));
  CHECK_FALSE(t->HasAttributeMap());
  CHECK(t->Attributes().empty());
}

// ---------------------------------------------------------------------------------------------
// Selection

TEST_CASE("paths select child elements in document order") {
  NodePtr doc = ParseOk(
      "<DATA><Hotkeys><HkItem n='1'/><Other/><HkItem n='2'/></Hotkeys>"
      "<Hotkeys><HkItem n='3'/></Hotkeys><CannedResponds><config/></CannedResponds></DATA>");
  xml::NodeList items = doc->SelectNodes("/DATA/Hotkeys/HkItem");
  REQUIRE(items.Length() == 3);
  std::string order;
  for (NodePtr n = items.NextNode(); n; n = items.NextNode()) order += Attr(n, "n");
  CHECK(order == "123");
  NodePtr hotkeys = doc->SelectSingleNode("/DATA/Hotkeys");
  CHECK(hotkeys->SelectNodes("HkItem").Length() == 2);
  // An absolute path means the same from anywhere in the tree.
  CHECK(hotkeys->SelectNodes("/DATA/Hotkeys/HkItem").Length() == 3);
  CHECK(doc->SelectSingleNode("/DATA/CannedResponds/config"));
  CHECK(doc->SelectSingleNode("DATA/CannedResponds/config"));
  CHECK(!doc->SelectSingleNode("CannedResponds"));
  CHECK(doc->DocumentElement()->SelectSingleNode("CannedResponds/config"));
  CHECK(doc->SelectNodes("/DATA/*").Length() == 3);
  CHECK(hotkeys->SelectSingleNode(".") == hotkeys);
  CHECK(hotkeys->SelectSingleNode("..") == doc->DocumentElement());
  CHECK(doc->SelectNodes("/DATA/Hotkeys/HkItem/..").Length() == 2);
  CHECK(doc->SelectSingleNode("/") == doc);
  CHECK(doc->SelectNodes("/DATA/Missing/HkItem").Empty());
  CHECK(doc->SelectNodes("hkitem").Empty());  // names are case-sensitive
}

TEST_CASE("paths outside the supported forms select nothing") {
  NodePtr doc = ParseOk("<a><b/></a>");
  for (const char* path : {"", "//b", "a//b", "a/", "a[1]", "@x", "a/text()", "a | b", " a"}) {
    INFO("path: " << path);
    CHECK_FALSE(xml::IsSupportedPath(path));
    CHECK(doc->SelectNodes(path).Empty());
  }
  CHECK(xml::IsSupportedPath("/a/b"));
  CHECK(xml::IsSupportedPath("item"));
}

TEST_CASE("paths in a detached subtree start at its top") {
  NodePtr config = ParseOk(kStore)->SelectSingleNode("config")->CloneNode(true);
  CHECK(config->SelectNodes("/config/item").Length() == 2);
  CHECK(config->SelectNodes("/*/item/item").Length() == 2);
  CHECK(config->SelectNodes("/other/item").Empty());
  CHECK(config->SelectNodes("/").Empty());
}

// ---------------------------------------------------------------------------------------------
// References

TEST_CASE("counted references keep nodes alive as long as someone holds them") {
  NodePtr doc = ParseOk(kStore);
  NodePtr item = doc->SelectSingleNode("/config/item/item");
  const size_t before = item->RefCount();
  CHECK(before == 2);  // the parent's and ours

  SUBCASE("as tree-view item data") {
    std::intptr_t data = xml::NodeToItemData(item);
    CHECK(item->RefCount() == before + 1);
    {
      NodePtr back = xml::NodeFromItemData(data);
      CHECK(back == item);
      CHECK(item->RefCount() == before + 2);
    }
    // The tree item outlives the document and the other holders.
    Node* raw = item.get();
    item.reset();
    doc.reset();
    CHECK(raw->RefCount() == 1);
    CHECK(!raw->Parent());
    CHECK(Attr(xml::NodeFromItemData(data), "name") == "Hello");
    xml::ReleaseItemData(data);
    xml::ReleaseItemData(0);
  }
  SUBCASE("a removed subtree stays whole") {
    NodePtr greetings = doc->SelectSingleNode("/config/item");
    NodePtr removed = doc->SelectSingleNode("config")->RemoveChild(greetings.get());
    greetings.reset();
    doc.reset();
    REQUIRE(removed);
    CHECK(removed->ChildCount() == 2);
    CHECK(item->Parent() == removed.get());
    CHECK(Attr(item, "value") == "Hello,\\r\\nWorld");
  }
  SUBCASE("adopting and detaching hand a reference over unchanged") {
    Node* raw = item.Detach();
    CHECK(raw->RefCount() == before);
    NodePtr again = NodePtr::Adopt(raw);
    CHECK(again->RefCount() == before);
  }
}

TEST_CASE("trees of any depth are copied, compared, written and freed without recursion") {
  NodePtr doc = Node::CreateDocument();
  NodePtr parent = Node::CreateElement("a");
  doc->AppendChild(parent);
  for (int i = 0; i < 200000; ++i) {
    NodePtr child = Node::CreateElement("a");
    parent->AppendChild(child);
    parent = child;
  }
  parent->SetText("deep");
  CHECK(doc->Text() == "deep");
  NodePtr copy = doc->CloneNode(true);
  CHECK(xml::DeepEqual(*doc, *copy));
  std::string bytes;
  CHECK(xml::SerializeDocument(*doc, bytes));
  CHECK_FALSE(xml::Parse(bytes));  // deeper than a file may be
  copy.reset();
  // The innermost node outlives the chain above it.
  doc.reset();
  CHECK(!parent->Parent());
  CHECK(parent->Text() == "deep");
}

TEST_CASE("a long row of siblings is navigated and freed") {
  NodePtr root = Node::CreateElement("r");
  for (int i = 0; i < 100000; ++i) root->AppendChild(Node::CreateElement("i"));
  size_t count = 0;
  for (NodePtr n = root->FirstChild(); n; n = n->NextSibling()) ++count;
  CHECK(count == 100000);
  CHECK(root->SelectNodes("i").Length() == 100000);
}

// ---------------------------------------------------------------------------------------------
// Single-byte text

TEST_CASE("Windows-1252 converts both ways") {
  CHECK(xml::Utf8FromWindows1252("Caf\xE9 \x80 \x81") == "Caf\xC3\xA9 \xE2\x82\xAC \xC2\x81");
  CHECK(xml::Windows1252FromUtf8("Caf\xC3\xA9 \xE2\x82\xAC \xC2\x81") == "Caf\xE9 \x80 \x81");
  CHECK(xml::Windows1252FromUtf8("\xE4\xB8\xAD|\xC3|\xF0\x9F\x98\x80") == "?|?|?");
  CHECK(xml::Windows1252FromUtf8("\xE4\xB8\xAD", '_') == "_");
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  CHECK(xml::Windows1252FromUtf8(xml::Utf8FromWindows1252(all)) == all);
}
