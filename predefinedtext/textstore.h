// The tree of predefined texts in predefinedtext\data.xml, mirrored into tree-view controls. Names
// and texts stay Unicode from the file to the screen: the trees and text boxes get them as UTF-16,
// never through the system's code page.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "include/xml.h"

// Application folder + "\predefinedtext\data.xml".
std::string PredefinedTextPath();

// The font entry texts are shown in (the selector's preview, the editor's text box) at a window's
// dpi; the caller owns it.
HFONT CreateEntryTextFont(int dpi);

// An entry's name or text as shown and inserted, in UTF-8 like every entry text here: a language
// key becomes its text; a text's stored \r and \n become line breaks. A missing attribute reads as
// empty.
std::string ReadEntryName(const CXmlDocument& doc, const xml::NodePtr& item);
std::string ReadEntryValue(const CXmlDocument& doc, const xml::NodePtr& item);

// Replaces the tree's items by one per <item> under <config>, in document order, each holding one
// counted reference to its element; expands everything and selects the first item. Walks the
// document without recursion, so no nesting depth can exhaust the stack.
void FillTree(HWND tree, const CXmlDocument& doc);
void ExpandAll(HWND tree);
// Inserts one tree item per <item> below `element`, at any depth, under `parent` (TVI_ROOT for the
// top level), in document order. Also without recursion.
void FillTreeBranch(HWND tree, const CXmlDocument& doc, const xml::NodePtr& element, HTREEITEM parent);
// Expands `item` and every item below it that has children.
void ExpandBranch(HWND tree, HTREEITEM item);
// One item with image 0 as the last child of `parent`, holding a counted reference to `node`; null
// when the tree refuses it (the reference is then not kept).
HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, const std::string& text, const xml::NodePtr& node);

// Replaces the shown name of a tree item.
void SetTreeItemText(HWND tree, HTREEITEM item, const std::string& text);
// An entry's text into a Unicode control (edit, static) and back out of it.
void SetEntryText(HWND control, const std::string& text);
std::string EntryTextOf(HWND control);

// The element a tree item stands for (the tree keeps the reference), or null.
xml::Node* TreeItemNode(HWND tree, HTREEITEM item);
// Releases the reference of a tree item that is being deleted (TVN_DELETEITEM).
void ReleaseTreeItemNode(const NMTREEVIEWA& deleted);
// Stores a counted reference to `node` in the item; the old one is released.
void SetTreeItemNode(HWND tree, HTREEITEM item, const xml::NodePtr& node);
