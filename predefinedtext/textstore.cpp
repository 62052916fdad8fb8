#include "predefinedtext/textstore.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "include/codepage_win.h"
#include "include/dpimath.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "predefinedtext/placeholders.h"

namespace {

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string ReadShown(const CXmlDocument& doc, const xml::NodePtr& item, const char* attribute) {
  std::string value;
  doc.GetAttribute(item, attribute, value);
  // Language keys are plain letters and digits; a stored text with other characters is the user's
  // own, whatever its length. The language files are in the system's code page.
  if (!lang::IsLanguageKey(value) || !IsAscii(value)) return value;
  return unicode::Utf8FromAnsi(GetLanguageText(value, true));
}

HTREEITEM InsertItem(HWND tree, HTREEITEM parent, const std::string& text, const xml::NodePtr& node) {
  std::wstring wide = unicode::WideFromUtf8(text);
  TVINSERTSTRUCTW ins = {};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  ins.item.pszText = &wide[0];
  ins.item.iImage = 0;
  ins.item.iSelectedImage = 0;
  // The tree owns one reference per item; TVN_DELETEITEM gives it back.
  xml::NodePtr ref = node;
  ins.item.lParam = reinterpret_cast<LPARAM>(ref.get());
  HTREEITEM added = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
  if (added) ref.Detach();
  return added;
}

}  // namespace

std::string PredefinedTextPath() { return CMiscFuns::GetAppFolder() + "\\predefinedtext\\data.xml"; }

std::string ReadEntryName(const CXmlDocument& doc, const xml::NodePtr& item) { return ReadShown(doc, item, "name"); }

std::string ReadEntryValue(const CXmlDocument& doc, const xml::NodePtr& item) {
  return UnescapeStoredValue(ReadShown(doc, item, "value"));
}

HFONT CreateEntryTextFont(int dpi) {
  LOGFONTA lf = {};
  lf.lfHeight = dpi::Scale(16, dpi);
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, "Verdana", LF_FACESIZE);
  return ::CreateFontIndirectA(&lf);
}

void FillTree(HWND tree, const CXmlDocument& doc) {
  TreeView_DeleteAllItems(tree);
  xml::NodePtr config;
  if (doc.SelectSingleNode(doc.m_pDoc, "config", config) != XML_S_OK || !config) return;
  FillTreeBranch(tree, doc, config, TVI_ROOT);
  ExpandAll(tree);
  if (!TreeView_GetSelection(tree)) {
    if (HTREEITEM first = TreeView_GetRoot(tree)) TreeView_SelectItem(tree, first);
  }
}

void FillTreeBranch(HWND tree, const CXmlDocument& doc, const xml::NodePtr& element, HTREEITEM parent) {
  if (!element) return;
  // Pending (element, parent tree item) pairs; children are pushed in reverse so that they come off
  // the stack, and are inserted, in document order.
  std::vector<std::pair<xml::NodePtr, HTREEITEM>> pending;
  auto pushChildren = [&](const xml::NodePtr& node, HTREEITEM under) {
    xml::NodeList items = node->SelectNodes("item");
    for (size_t i = items.Length(); i > 0; --i) pending.emplace_back(items.Item(i - 1), under);
  };
  pushChildren(element, parent);
  while (!pending.empty()) {
    auto [child, under] = std::move(pending.back());
    pending.pop_back();
    HTREEITEM added = InsertItem(tree, under, ReadEntryName(doc, child), child);
    if (added) pushChildren(child, added);
  }
}

void ExpandBranch(HWND tree, HTREEITEM item) {
  std::vector<HTREEITEM> pending{item};
  while (!pending.empty()) {
    HTREEITEM at = pending.back();
    pending.pop_back();
    HTREEITEM child = TreeView_GetChild(tree, at);
    if (!child) continue;
    TreeView_Expand(tree, at, TVE_EXPAND);
    for (; child; child = TreeView_GetNextSibling(tree, child)) pending.push_back(child);
  }
}

HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, const std::string& text, const xml::NodePtr& node) {
  return InsertItem(tree, parent, text, node);
}

void ExpandAll(HWND tree) {
  std::vector<HTREEITEM> pending;
  for (HTREEITEM it = TreeView_GetRoot(tree); it; it = TreeView_GetNextSibling(tree, it)) pending.push_back(it);
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    HTREEITEM child = TreeView_GetChild(tree, item);
    if (!child) continue;
    TreeView_Expand(tree, item, TVE_EXPAND);
    for (; child; child = TreeView_GetNextSibling(tree, child)) pending.push_back(child);
  }
}

xml::Node* TreeItemNode(HWND tree, HTREEITEM item) {
  if (!item) return nullptr;
  TVITEMA tvi = {};
  tvi.mask = TVIF_PARAM | TVIF_HANDLE;
  tvi.hItem = item;
  if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi))) return nullptr;
  return reinterpret_cast<xml::Node*>(tvi.lParam);
}

void ReleaseTreeItemNode(const NMTREEVIEWA& deleted) {
  if (auto* node = reinterpret_cast<xml::Node*>(deleted.itemOld.lParam)) xml::NodePtr::Adopt(node);
}

void SetTreeItemNode(HWND tree, HTREEITEM item, const xml::NodePtr& node) {
  xml::NodePtr old = xml::NodePtr::Adopt(TreeItemNode(tree, item));
  xml::NodePtr ref = node;
  TVITEMA tvi = {};
  tvi.mask = TVIF_PARAM | TVIF_HANDLE;
  tvi.hItem = item;
  tvi.lParam = reinterpret_cast<LPARAM>(ref.get());
  if (::SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi))) {
    ref.Detach();
  } else {
    old.Detach();  // the item still holds the old reference
  }
}

void SetTreeItemText(HWND tree, HTREEITEM item, const std::string& text) {
  std::wstring wide = unicode::WideFromUtf8(text);
  TVITEMW tvi = {};
  tvi.mask = TVIF_TEXT | TVIF_HANDLE;
  tvi.hItem = item;
  tvi.pszText = &wide[0];
  ::SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
}

void SetEntryText(HWND control, const std::string& text) {
  ::SetWindowTextW(control, unicode::WideFromUtf8(text).c_str());
}

std::string EntryTextOf(HWND control) {
  int len = ::GetWindowTextLengthW(control);
  if (len <= 0) return {};
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(control, &text[0], len + 1)));
  return unicode::Utf8FromWide(text);
}
