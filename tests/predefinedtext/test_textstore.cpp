#include <doctest/doctest.h>

#include "include/GlobalData.h"
#include "predefinedtext/textstore.h"
#include "tests/support/modal.h"
#include "tests/winsupport.h"

namespace {

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(l);
    if (hdr->code == TVN_DELETEITEMA || hdr->code == TVN_DELETEITEMW)
      ReleaseTreeItemNode(*reinterpret_cast<NMTREEVIEWA*>(l));
  }
  return ::DefWindowProcA(h, m, w, l);
}

// A window with a tree view, as the selector and the editor have, and English texts.
struct TreeFixture {
  TempDir dir;
  HWND host = nullptr, tree = nullptr;
  GlobalPaths saved = Paths();
  TreeFixture() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuorvelTreeHost";
    ::RegisterClassA(&wc);
    host = ::CreateWindowA("QuorvelTreeHost", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, wc.hInstance, nullptr);
    tree = ::CreateWindowA(WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASLINES, 0, 0, 300, 300, host, nullptr,
                           wc.hInstance, nullptr);
    GlobalPaths p = BuildGlobalPaths(QUORVEL_PROGRAM_DIR);
    SetGlobalPaths(p);
  }
  ~TreeFixture() {
    ::DestroyWindow(host);
    SetGlobalPaths(saved);
  }
  std::string Text(HTREEITEM item) const { return TreeItemText(tree, item); }
  bool Expanded(HTREEITEM item) const { return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }
};

}  // namespace

TEST_CASE("the tree mirrors the items in document order and depth") {
  TreeFixture f;
  WriteFileBytes(f.dir / "data.xml",
                 Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?><config>"
                           "<item name=\"L0078\" value=\"\"><item name=\"Lunch\" value=\"L0080\"/>"
                           "<note>not an item</note><item value=\"a\\r\\nb\"><item name=\"deep\"/></item></item>"
                           "<item name=\"Last\" value=\"x\"/></config>"));
  CXmlDocument doc;
  REQUIRE(doc.Load(f.dir / "data.xml"));
  xml::NodePtr config;
  REQUIRE(doc.SelectSingleNode(doc.m_pDoc, "config", config) == XML_S_OK);
  xml::NodePtr first = config->SelectSingleNode("item");
  size_t refsBefore = first->RefCount();

  FillTree(f.tree, doc);
  CHECK(TreeView_GetCount(f.tree) == 5);
  HTREEITEM root = TreeView_GetRoot(f.tree);
  CHECK(f.Text(root) == "Sample texts");  // an L-key name shows its text
  CHECK(TreeView_GetSelection(f.tree) == root);
  CHECK(f.Expanded(root));
  HTREEITEM lunch = TreeView_GetChild(f.tree, root);
  CHECK(f.Text(lunch) == "Lunch");  // five letters with an L, but no such key: shown as stored
  HTREEITEM unnamed = TreeView_GetNextSibling(f.tree, lunch);
  CHECK(f.Text(unnamed) == "");
  CHECK(f.Expanded(unnamed));
  CHECK(f.Text(TreeView_GetChild(f.tree, unnamed)) == "deep");
  CHECK(f.Text(TreeView_GetNextSibling(f.tree, root)) == "Last");

  xml::NodePtr lunchNode(TreeItemNode(f.tree, lunch));
  CHECK(ReadEntryValue(doc, lunchNode) == "Hello,");
  CHECK(ReadEntryValue(doc, xml::NodePtr(TreeItemNode(f.tree, unnamed))) == "a\r\nb");
  CHECK(ReadEntryName(doc, xml::NodePtr(TreeItemNode(f.tree, unnamed))) == "");
  CHECK(first->RefCount() == refsBefore + 1);  // the tree item holds one reference

  // Filling again releases the first set of references.
  FillTree(f.tree, doc);
  CHECK(first->RefCount() == refsBefore + 1);
  TreeView_DeleteAllItems(f.tree);
  CHECK(first->RefCount() == refsBefore);
}

TEST_CASE("names and texts beyond the code page reach the tree whole; language texts come from the code page") {
  TreeFixture f;
  GlobalPaths german = Paths();
  german.selectedLanguage = std::string(QUORVEL_PROGRAM_DIR) + "\\language\\Deutsch.txt";
  SetGlobalPaths(german);
  // "Łódź", "Lé12" (five bytes of UTF-8 beginning with L, but four letters: no language key) and
  // an L-key whose German text has an umlaut.
  WriteFileBytes(f.dir / "data.xml",
                 Utf16LEFromUtf8("<?xml version=\"1.0\" encoding=\"UNICODE\"?><config>"
                                 "<item name=\"\xC5\x81\xC3\xB3" "d\xC5\xBA\" value=\"\xF0\x9F\x98\x80\\r\\n\xE2\x82\xAC\"/>"
                                 "<item name=\"L\xC3\xA9" "12\" value=\"L\xC3\xA9" "12\"/>"
                                 "<item name=\"L0008\" value=\"L0008\"/></config>"));
  CXmlDocument doc;
  REQUIRE(doc.Load(f.dir / "data.xml"));
  FillTree(f.tree, doc);
  HTREEITEM city = TreeView_GetRoot(f.tree);
  CHECK(TreeItemTextUtf8(f.tree, city) == "\xC5\x81\xC3\xB3" "d\xC5\xBA");
  CHECK(ReadEntryValue(doc, xml::NodePtr(TreeItemNode(f.tree, city))) == "\xF0\x9F\x98\x80\r\n\xE2\x82\xAC");
  HTREEITEM shortName = TreeView_GetNextSibling(f.tree, city);
  CHECK(TreeItemTextUtf8(f.tree, shortName) == "L\xC3\xA9" "12");
  CHECK(ReadEntryValue(doc, xml::NodePtr(TreeItemNode(f.tree, shortName))) == "L\xC3\xA9" "12");
  HTREEITEM key = TreeView_GetNextSibling(f.tree, shortName);
  CHECK(TreeItemTextUtf8(f.tree, key) == "Hotkey hinzuf\xC3\xBCgen");
  CHECK(ReadEntryValue(doc, xml::NodePtr(TreeItemNode(f.tree, key))) == "Hotkey hinzuf\xC3\xBCgen");
  TreeView_DeleteAllItems(f.tree);
}

TEST_CASE("files without a usable store give an empty tree") {
  TreeFixture f;
  CXmlDocument doc;
  SUBCASE("missing") { CHECK_FALSE(doc.Load(f.dir / "none.xml")); }
  SUBCASE("another root") {
    WriteFileBytes(f.dir / "d.xml", "<DATA><item name=\"x\"/></DATA>");
    CHECK(doc.Load(f.dir / "d.xml"));
  }
  SUBCASE("truncated") {
    WriteFileBytes(f.dir / "d.xml", Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?><config><item name=\"x\""));
    CHECK_FALSE(doc.Load(f.dir / "d.xml"));
  }
  SUBCASE("nested beyond reason") {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<item name=\"n\">";
    WriteFileBytes(f.dir / "d.xml", "<config>" + deep);
    CHECK_FALSE(doc.Load(f.dir / "d.xml"));
  }
  FillTree(f.tree, doc);
  CHECK(TreeView_GetCount(f.tree) == 0);
}

TEST_CASE("deep but valid nesting fills without exhausting the stack") {
  TreeFixture f;
  std::string open, close;
  for (int i = 0; i < 900; ++i) {
    open += "<item name=\"level\">";
    close += "</item>";
  }
  WriteFileBytes(f.dir / "d.xml", "<config>" + open + close + "</config>");
  CXmlDocument doc;
  REQUIRE(doc.Load(f.dir / "d.xml"));
  FillTree(f.tree, doc);
  CHECK(TreeView_GetCount(f.tree) == 900);
}

TEST_CASE("the shipped starter texts load") {
  TreeFixture f;
  CXmlDocument doc;
  REQUIRE(doc.Load(std::string(QUORVEL_PROGRAM_DIR) + "\\predefinedtext\\data.xml"));
  FillTree(f.tree, doc);
  CHECK(TreeView_GetCount(f.tree) >= 5);
  CHECK(f.Text(TreeView_GetRoot(f.tree)) == "Sample texts");
}
