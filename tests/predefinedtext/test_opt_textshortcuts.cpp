#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "include/GlobalData.h"
#include "include/codepage_win.h"
#include "include/handles.h"
#include "include/xml.h"
#include "include/xmlcodec_win.h"
#include "language/language.h"
#include "predefinedtext/PredefinedTextSelector.h"
#include "predefinedtext/opt_textshortcuts.h"
#include "predefinedtext/textstore.h"
#include "tests/include/controls_support.h"
#include "tests/support/modal.h"
#include "tests/support/programfolder.h"
#include "tests/winsupport.h"
#include "textshortcuts_ids.h"

namespace {

std::string StoreFile(const std::string& items) {
  return Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n<config>" + items + "</config>");
}

// A program folder of its own (tests/support/programfolder.h) with a folder for the text store.
struct Folder : ProgramFolder {
  std::string store = dir / "predefinedtext\\data.xml";
  explicit Folder(const char* language = "English.txt") : ProgramFolder(language) {
    xml::InstallWin32Platform();
    MakeFolder(dir / "predefinedtext");
  }
  ~Folder() { ::SetFileAttributesA(store.c_str(), FILE_ATTRIBUTE_NORMAL); }
};

HWND MessageBoxOver(HWND dialog) { return FindBoxOwnedBy(dialog); }

HWND OpenMenu() {
  HWND menu = ::FindWindowA("#32768", nullptr);
  return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

// Steps run one per timer tick from inside the dialog's modal loop (and from inside the loops it
// opens: menus, message boxes), each once its condition holds (tests/support/modal.h).
struct Step {
  std::function<bool(HWND)> ready;  // null: once the dialog is on screen
  std::function<void(HWND)> act;
};

struct Script {
  static INT_PTR Run(CTextShortcutsDlg& dlg, const std::vector<Step>& steps) {
    DialogScript script;
    for (const Step& step : steps) {
      script.Then(
          [&dlg, ready = step.ready]() -> HWND {
            HWND d = dlg.hwnd();
            return d && ::IsWindowVisible(d) && (!ready || ready(d)) ? d : nullptr;
          },
          step.act);
    }
    script.Start(8000);
    INT_PTR result = dlg.DoModal(nullptr);
    CHECK(script.Done());
    return result;
  }
};

HWND Tree(HWND dialog) { return ::GetDlgItem(dialog, IDC_TS_TREE); }
HWND Box(HWND dialog) { return ::GetDlgItem(dialog, IDC_TS_TEXT); }

// Every item in display order, each line indented by its depth.
std::string TreeOutline(HWND tree) {
  std::string out;
  // Depth first, in order.
  std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int depth) {
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
      out += std::string(static_cast<size_t>(depth) * 2, ' ') + TreeItemText(tree, item) + "\n";
      walk(TreeView_GetChild(tree, item), depth + 1);
    }
  };
  walk(TreeView_GetRoot(tree), 0);
  return out;
}

// Finds an item by its shown text, anywhere.
HTREEITEM FindItem(HWND tree, const std::string& text) {
  std::vector<HTREEITEM> pending;
  for (HTREEITEM it = TreeView_GetRoot(tree); it; it = TreeView_GetNextSibling(tree, it)) pending.push_back(it);
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    if (TreeItemText(tree, item) == text) return item;
    for (HTREEITEM c = TreeView_GetChild(tree, item); c; c = TreeView_GetNextSibling(tree, c)) pending.push_back(c);
  }
  return nullptr;
}

// The stored entries of a file, as stored (no language lookup): "name=value" lines by depth.
std::string FileOutline(const std::string& path) {
  CXmlDocument doc;
  if (!doc.Load(path)) return "<unreadable>";
  xml::NodePtr config;
  if (doc.SelectSingleNode(doc.m_pDoc, "config", config) != XML_S_OK) return "<no config>";
  std::string out;
  std::function<void(const xml::NodePtr&, int)> walk = [&](const xml::NodePtr& node, int depth) {
    for (const xml::NodePtr& item : node->SelectNodes("item")) {
      std::string name = "<none>", value = "<none>";
      doc.GetAttribute(item, "name", name);
      doc.GetAttribute(item, "value", value);
      out += std::string(static_cast<size_t>(depth) * 2, ' ') + name + "=" + value + "\n";
      walk(item, depth + 1);
    }
  };
  walk(config, 0);
  return out;
}

// A click that returns at once, so the next step can answer what the button opens.
void Press(HWND dialog, int id) { ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Types into the text box as the user does, at its end.
void TypeText(HWND dialog, const std::string& text) {
  HWND box = Box(dialog);
  ::SetFocus(box);
  ::SendMessageA(box, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
  for (char c : text) ::SendMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 0);
}

// Steps that pick entry `index` (0-based) of the add menu once it is open.
Step ChooseMenuEntry(int index) {
  return {[](HWND) { return OpenMenu() != nullptr; },
          [index](HWND) {
            HWND menu = OpenMenu();
            for (int i = 0; i <= index; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
          }};
}

HWND LabelEditor(HWND dialog) { return TreeView_GetEditControl(Tree(dialog)); }

// Renames in the open in-place editor and ends the edit with the dialog's own Enter (IDOK).
Step FinishRename(const std::string& name, bool byKey = false) {
  return {[](HWND d) { return LabelEditor(d) != nullptr && OpenMenu() == nullptr; },
          [name, byKey](HWND d) {
            HWND editor = LabelEditor(d);
            ::SetWindowTextA(editor, name.c_str());
            ::SetFocus(editor);
            if (byKey) {
              ::PostMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
            } else {
              ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
          }};
}

Step Do(std::function<void(HWND)> act) { return {nullptr, std::move(act)}; }
Step When(std::function<bool(HWND)> ready, std::function<void(HWND)> act) { return {std::move(ready), std::move(act)}; }
bool NoEditor(HWND d) { return LabelEditor(d) == nullptr && OpenMenu() == nullptr; }

// The message box over the dialog: its text is checked, then it is answered with `button`.
Step AnswerBox(std::string* text, int button) {
  return {[](HWND d) { return MessageBoxOver(d) != nullptr; },
          [text, button](HWND d) {
            HWND box = MessageBoxOver(d);
            if (text) *text = TextOf(::GetDlgItem(box, 0xFFFF));
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
          }};
}

const char kSample[] =
    "<item name=\"L0078\" value=\"\"><item name=\"L0079\" value=\"L0080\"/><item name=\"Lunch\" value=\"a\\r\\nb\"/>"
    "</item><item name=\"Top\" value=\"top text\"/>";

}  // namespace

TEST_CASE("text shortcuts editor: browsing changes nothing, neither on Cancel nor on OK") {
  Folder f;
  const std::string bytes = StoreFile(kSample);
  WriteFileBytes(f.store, bytes);
  for (INT_PTR end : {IDCANCEL, IDOK}) {
    CAPTURE(end);
    CTextShortcutsDlg dlg(f.store);
    CHECK(dlg.State() == CTextShortcutsDlg::StoreState::Ready);
    std::vector<std::string> shown;
    INT_PTR result = Script::Run(dlg, {
        Do([&](HWND d) {
          CHECK(TreeOutline(Tree(d)) == "Sample texts\n  Greeting\n  Lunch\nTop\n");
          for (const char* name : {"Greeting", "Lunch", "Top", "Sample texts", "Greeting"}) {
            TreeView_SelectItem(Tree(d), FindItem(Tree(d), name));
            shown.push_back(TextOf(Box(d)));
          }
          CHECK_FALSE(dlg.IsModified());
        }),
        Do([&](HWND d) { ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(static_cast<int>(end), BN_CLICKED), 0); }),
    });
    CHECK(result == end);
    // An L-key text is shown as its language text, line breaks as line breaks...
    CHECK(shown == std::vector<std::string>{"Hello,", "a\r\nb", "top text", "", "Hello,"});
    // ...and none of it is written back.
    CHECK(ReadFileBytes(f.store) == bytes);
    CHECK_FALSE(FileExists(xml::TemporaryPathFor(f.store)));
  }
}

TEST_CASE("text shortcuts editor: add, rename and edit go into the file on OK") {
  Folder f;
  WriteFileBytes(f.store, StoreFile("<item name=\"a\" value=\"x\"/><item name=\"b\"/>"));
  CTextShortcutsDlg dlg(f.store);
  std::string outlineBeforeOk;
  INT_PTR result = Script::Run(dlg, {
      Do([](HWND d) {
        TreeView_SelectItem(Tree(d), FindItem(Tree(d), "a"));
        Press(d, IDC_TS_ADD);
      }),
      ChooseMenuEntry(0),  // a sub-entry of a
      When([](HWND d) { return LabelEditor(d) != nullptr; },
           [](HWND d) {
             // Selected and named with the language text, in name editing.
             HTREEITEM sel = TreeView_GetSelection(Tree(d));
             CHECK(TreeItemText(Tree(d), sel) == "New entry");
             CHECK(TreeView_GetParent(Tree(d), sel) == FindItem(Tree(d), "a"));
             CHECK(TextOf(LabelEditor(d)) == "New entry");
           }),
      FinishRename("Child"),
      When(NoEditor,
           [](HWND d) {
             CHECK(::IsWindowVisible(d));  // Enter ended the rename, not the dialog
             TypeText(d, "Hello");
             ::SendMessageA(Box(d), WM_CHAR, VK_RETURN, 0);
             TypeText(d, "World");
             TreeView_SelectItem(Tree(d), FindItem(Tree(d), "b"));
             Press(d, IDC_TS_ADD);
           }),
      ChooseMenuEntry(1),  // same level as b
      FinishRename("Sibling", true),
      When(NoEditor,
           [&](HWND d) {
             CHECK(::IsWindowVisible(d));
             // Renaming an existing entry through the button.
             TreeView_SelectItem(Tree(d), FindItem(Tree(d), "a"));
             Press(d, IDC_TS_RENAME);
           }),
      FinishRename("Alpha"),
      When(NoEditor,
           [&](HWND d) {
             // A rename that is cancelled with Esc keeps the name.
             TreeView_SelectItem(Tree(d), FindItem(Tree(d), "b"));
             Press(d, IDC_TS_RENAME);
           }),
      When([](HWND d) { return LabelEditor(d) != nullptr; },
           [](HWND d) {
             ::SetWindowTextA(LabelEditor(d), "never");
             ::SetFocus(LabelEditor(d));
             ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
           }),
      When(NoEditor,
           [&](HWND d) {
             CHECK(::IsWindowVisible(d));
             outlineBeforeOk = TreeOutline(Tree(d));
             CHECK(dlg.IsModified());
             ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
           }),
  });
  CHECK(result == IDOK);
  CHECK(outlineBeforeOk == "Alpha\n  Child\nb\nSibling\n");
  CHECK(FileOutline(f.store) == "Alpha=x\n  Child=Hello\\r\\nWorld\nb=<none>\nSibling=<none>\n");
  CHECK_FALSE(FileExists(xml::TemporaryPathFor(f.store)));
  // The declaration the file had is kept.
  std::string bytes = ReadFileBytes(f.store);
  CHECK(bytes.substr(0, 2) == "\xff\xfe");
  CHECK(bytes.find(std::string("U\0N\0I\0C\0O\0D\0E\0", 14)) != std::string::npos);
}

TEST_CASE("text shortcuts editor: with nothing selected both add choices append a top-level entry") {
  Folder f;
  WriteFileBytes(f.store, StoreFile(""));
  CTextShortcutsDlg dlg(f.store);
  INT_PTR result = Script::Run(dlg, {
      Do([](HWND d) {
        CHECK(TreeView_GetCount(Tree(d)) == 0);
        CHECK((::GetWindowLongA(Box(d), GWL_STYLE) & ES_READONLY) != 0);  // no entry to type into
        Press(d, IDC_TS_ADD);
      }),
      ChooseMenuEntry(0),
      FinishRename("one"),
      When(NoEditor, [](HWND d) {
        TreeView_SelectItem(Tree(d), nullptr);
        Press(d, IDC_TS_ADD);
      }),
      ChooseMenuEntry(1),
      FinishRename("two"),
      When(NoEditor, [](HWND d) {
        // A right click on empty space of the tree works on no entry either.
        TreeView_SelectItem(Tree(d), FindItem(Tree(d), "one"));
        RECT rc = {};
        ::GetWindowRect(Tree(d), &rc);
        ::SetCursorPos(rc.left + 20, rc.bottom - 10);
        NMHDR hdr = {Tree(d), IDC_TS_TREE, static_cast<UINT>(NM_RCLICK)};
        ::SendMessageA(d, WM_NOTIFY, IDC_TS_TREE, reinterpret_cast<LPARAM>(&hdr));
      }),
      // The menu runs inside the notification; its choice is made from there.
      ChooseMenuEntry(0),
      FinishRename("three"),
      When(NoEditor, [](HWND d) { ::SendMessageA(d, WM_COMMAND, IDOK, 0); }),
  });
  CHECK(result == IDOK);
  CHECK(FileOutline(f.store) == "one=<none>\ntwo=<none>\nthree=<none>\n");
}

TEST_CASE("text shortcuts editor: delete asks first, removes the branch, and an empty tree empties the box") {
  Folder f;
  WriteFileBytes(f.store, StoreFile("<item name=\"keep\" value=\"k\"/><item name=\"gone\" value=\"g\">"
                                    "<item name=\"inner\"/></item>"));
  CTextShortcutsDlg dlg(f.store);
  std::string question, question2;
  INT_PTR result = Script::Run(dlg, {
      Do([](HWND d) {
        TreeView_SelectItem(Tree(d), FindItem(Tree(d), "gone"));
        Press(d, IDC_TS_DELETE);
      }),
      AnswerBox(&question, IDCANCEL),
      When([](HWND d) { return MessageBoxOver(d) == nullptr; },
           [&](HWND d) {
             CHECK(TreeView_GetCount(Tree(d)) == 3);  // refused: still there
             CHECK_FALSE(dlg.IsModified());
             Press(d, IDC_TS_DELETE);
           }),
      AnswerBox(nullptr, IDOK),
      When([](HWND d) { return MessageBoxOver(d) == nullptr; },
           [](HWND d) {
             CHECK(TreeOutline(Tree(d)) == "keep\n");
             TreeView_SelectItem(Tree(d), FindItem(Tree(d), "keep"));
             CHECK(TextOf(Box(d)) == "k");
             Press(d, IDC_TS_DELETE);
           }),
      AnswerBox(&question2, IDOK),
      When([](HWND d) { return MessageBoxOver(d) == nullptr; },
           [](HWND d) {
             CHECK(TreeView_GetCount(Tree(d)) == 0);
             CHECK(TextOf(Box(d)).empty());
             // Delete with nothing selected asks nothing.
             Press(d, IDC_TS_DELETE);
           }),
      Do([](HWND d) {
        CHECK(MessageBoxOver(d) == nullptr);
        ::SendMessageA(d, WM_COMMAND, IDOK, 0);
      }),
  });
  CHECK(result == IDOK);
  CHECK(question == "Do you really want to delete the entry \"gone\" and all of its sub-entries?");
  CHECK(question2.find("\"keep\"") != std::string::npos);
  CHECK(FileOutline(f.store).empty());
}

TEST_CASE("text shortcuts editor: a name beyond the code page is typed, asked about on delete and saved whole") {
  Folder f;
  WriteFileBytes(f.store, StoreFile("<item name=\"a\" value=\"x\"/><item name=\"b\" value=\"y\"/>"));
  // "Łódź ☺ 😀": letters beyond the code page and a character outside the BMP.
  const std::string name = "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x98\xBA \xF0\x9F\x98\x80";
  CTextShortcutsDlg dlg(f.store);
  std::wstring question;
  INT_PTR result = Script::Run(dlg, {
      Do([](HWND d) {
        TreeView_SelectItem(Tree(d), FindItem(Tree(d), "a"));
        Press(d, IDC_TS_RENAME);
      }),
      When([](HWND d) { return LabelEditor(d) != nullptr; },
           [&](HWND d) {
             HWND editor = LabelEditor(d);
             ::SetWindowTextW(editor, unicode::WideFromUtf8(name).c_str());
             ::SetFocus(editor);
             ::PostMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
           }),
      When(NoEditor,
           [&](HWND d) {
             CHECK(TreeItemTextUtf8(Tree(d), TreeView_GetRoot(Tree(d))) == name);
             TreeView_SelectItem(Tree(d), FindItem(Tree(d), "b"));
             Press(d, IDC_TS_DELETE);
           }),
      AnswerBox(nullptr, IDCANCEL),
      When([](HWND d) { return MessageBoxOver(d) == nullptr; },
           [](HWND d) {
             TreeView_SelectItem(Tree(d), TreeView_GetRoot(Tree(d)));
             Press(d, IDC_TS_DELETE);
           }),
      When([](HWND d) { return MessageBoxOver(d) != nullptr; },
           [&](HWND d) {
             HWND box = MessageBoxOver(d);
             wchar_t text[512] = {};
             ::GetWindowTextW(::GetDlgItem(box, 0xFFFF), text, 512);
             question = text;
             ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
           }),
      When([](HWND d) { return MessageBoxOver(d) == nullptr; },
           [](HWND d) { ::SendMessageA(d, WM_COMMAND, IDOK, 0); }),
  });
  CHECK(result == IDOK);
  // The question names the entry with every character, as the tree shows it.
  CHECK(unicode::Utf8FromWide(question).find("\"" + name + "\"") != std::string::npos);
  CHECK(FileOutline(f.store) == name + "=x\nb=y\n");
}

TEST_CASE("text shortcuts editor: moving swaps whole branches; the ends do not move further") {
  Folder f;
  WriteFileBytes(f.store, StoreFile("<item name=\"A\" value=\"1\"><item name=\"A1\"><item name=\"A11\"/></item></item>"
                                    "<item name=\"B\" value=\"2\"/><item name=\"C\" value=\"3\"/>"));
  CTextShortcutsDlg dlg(f.store);
  INT_PTR result = Script::Run(dlg, {
      Do([](HWND d) {
        HWND tree = Tree(d);
        TreeView_SelectItem(tree, FindItem(tree, "A"));
        ::SendMessageA(d, WM_COMMAND, IDC_TS_MOVEUP, 0);  // first of its branch: nothing
        CHECK(TreeOutline(tree) == "A\n  A1\n    A11\nB\nC\n");
        ::SendMessageA(d, WM_COMMAND, IDC_TS_MOVEDOWN, 0);
        CHECK(TreeOutline(tree) == "B\nA\n  A1\n    A11\nC\n");
        // The moved entry stays selected and shows its own text.
        CHECK(TreeItemText(tree, TreeView_GetSelection(tree)) == "A");
        CHECK(TextOf(Box(d)) == "1");
        CHECK((TreeView_GetItemState(tree, FindItem(tree, "A1"), TVIS_EXPANDED) & TVIS_EXPANDED) != 0);
        ::SendMessageA(d, WM_COMMAND, IDC_TS_MOVEDOWN, 0);
        CHECK(TreeOutline(tree) == "B\nC\nA\n  A1\n    A11\n");
        ::SendMessageA(d, WM_COMMAND, IDC_TS_MOVEDOWN, 0);  // last: nothing
        CHECK(TreeOutline(tree) == "B\nC\nA\n  A1\n    A11\n");
        // Inside a branch, and the text edited after a move lands in the moved entry.
        TreeView_SelectItem(tree, FindItem(tree, "C"));
        ::SendMessageA(d, WM_COMMAND, IDC_TS_MOVEUP, 0);
        CHECK(TreeItemText(tree, TreeView_GetSelection(tree)) == "C");
        TypeText(d, "!");
        ::SendMessageA(d, WM_COMMAND, IDOK, 0);
      }),
  });
  CHECK(result == IDOK);
  CHECK(FileOutline(f.store) == "C=3!\nB=2\nA=1\n  A1=<none>\n    A11=<none>\n");
}

TEST_CASE("text shortcuts editor: clear text stores the empty text; select text selects it all") {
  Folder f;
  WriteFileBytes(f.store, StoreFile("<item name=\"a\" value=\"one\\r\\ntwo\"/><item name=\"b\" value=\"L0080\"/>"));
  CTextShortcutsDlg dlg(f.store);
  INT_PTR result = Script::Run(dlg, {
      Do([](HWND d) {
        HWND tree = Tree(d);
        TreeView_SelectItem(tree, FindItem(tree, "a"));
        ::SendMessageA(d, WM_COMMAND, IDC_TS_SELECTTEXT, 0);
        CHECK(::GetFocus() == Box(d));
        DWORD start = 0, end = 0;
        ::SendMessageA(Box(d), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        CHECK(start == 0);
        CHECK(end == 8);
        ::SendMessageA(d, WM_COMMAND, IDC_TS_CLEARTEXT, 0);
        CHECK(TextOf(Box(d)).empty());
        CHECK(::GetFocus() == Box(d));
        ::SendMessageA(d, WM_COMMAND, IDOK, 0);
      }),
  });
  CHECK(result == IDOK);
  // b was never touched: its key stays a key.
  CHECK(FileOutline(f.store) == "a=\nb=L0080\n");
}

TEST_CASE("text shortcuts editor: Save writes and stays open; Cancel afterwards keeps what was saved") {
  Folder f;
  WriteFileBytes(f.store, StoreFile("<item name=\"a\" value=\"x\"/>"));
  CTextShortcutsDlg dlg(f.store);
  std::string afterSave;
  INT_PTR result = Script::Run(dlg, {
      Do([&](HWND d) {
        TypeText(d, "1");
        ::SendMessageA(d, WM_COMMAND, IDC_TS_SAVE, 0);
        CHECK(::IsWindowVisible(d));
        CHECK_FALSE(dlg.IsModified());
        afterSave = ReadFileBytes(f.store);
        TypeText(d, "2");  // not saved
        ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
      }),
  });
  CHECK(result == IDCANCEL);
  CHECK(FileOutline(f.store) == "a=x1\n");
  CHECK(ReadFileBytes(f.store) == afterSave);
}

TEST_CASE("text shortcuts editor: a failed save says so, keeps the dialog open with its edits and the old file") {
  struct Blocker {
    const char* what;
    std::function<void(const std::string&)> block, unblock;
  };
  FileHandle lock;
  const Blocker blockers[] = {
      {"read-only file", [](const std::string& p) { ::SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY); },
       [](const std::string& p) { ::SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL); }},
      {"file held open without sharing",
       [&](const std::string& p) {
         lock.reset(::CreateFileA(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
         REQUIRE(lock);
       },
       [&](const std::string&) { lock.reset(); }},
  };
  for (const Blocker& blocker : blockers) {
    CAPTURE(blocker.what);
    Folder f;
    const std::string old = StoreFile("<item name=\"a\" value=\"x\"/>");
    WriteFileBytes(f.store, old);
    CTextShortcutsDlg dlg(f.store);
    std::string message, oldAfterFailure, boxAfterFailure;
    bool openAfterFailure = false, modifiedAfterFailure = false;
    INT_PTR result = Script::Run(dlg, {
        Do([&](HWND d) {
          TypeText(d, " edited");
          blocker.block(f.store);
          Press(d, IDOK);
        }),
        AnswerBox(&message, IDOK),
        When([](HWND d) { return MessageBoxOver(d) == nullptr; },
             [&](HWND d) {
               openAfterFailure = ::IsWindowVisible(d) != FALSE;
               modifiedAfterFailure = dlg.IsModified();
               boxAfterFailure = TextOf(Box(d));
               blocker.unblock(f.store);
               oldAfterFailure = ReadFileBytes(f.store);
               Press(d, IDC_TS_SAVE);  // the same edits, now they can go in
             }),
        When([](HWND d) { return MessageBoxOver(d) == nullptr; },
             [&](HWND d) {
               CHECK_FALSE(dlg.IsModified());
               ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
             }),
    });
    CHECK(result == IDCANCEL);
    CHECK(message.find("could not be saved") != std::string::npos);
    CHECK(message.find(f.store) != std::string::npos);
    CHECK(openAfterFailure);
    CHECK(modifiedAfterFailure);
    CHECK(boxAfterFailure == "x edited");
    CHECK(oldAfterFailure == old);
    CHECK_FALSE(FileExists(xml::TemporaryPathFor(f.store)));
    CHECK(FileOutline(f.store) == "a=x edited\n");
  }
}

TEST_CASE("text shortcuts editor: without a file the first entry makes it, with its folder; browsing makes none") {
  for (bool folderToo : {false, true}) {
    CAPTURE(folderToo);
    Folder f;
    if (folderToo) ::RemoveDirectoryA((f.dir / "predefinedtext").c_str());
    {
      // Looking and leaving, with OK or Cancel, writes nothing.
      CTextShortcutsDlg dlg(f.store);
      CHECK(dlg.State() == CTextShortcutsDlg::StoreState::Missing);
      CHECK(Script::Run(dlg, {Do([](HWND d) { ::SendMessageA(d, WM_COMMAND, IDOK, 0); })}) == IDOK);
      CHECK_FALSE(FileExists(f.store));
    }
    CTextShortcutsDlg dlg(f.store);
    INT_PTR result = Script::Run(dlg, {
        Do([](HWND d) {
          CHECK(MessageBoxOver(d) == nullptr);  // nothing to report: there simply are no texts yet
          CHECK(TreeView_GetCount(Tree(d)) == 0);
          Press(d, IDC_TS_ADD);
        }),
        ChooseMenuEntry(0),
        FinishRename("First", true),
        When(NoEditor,
             [](HWND d) {
               CHECK(::IsWindowVisible(d));  // the name's Enter ends the rename, not the dialog
               TypeText(d, "Hello");
               ::SendMessageA(d, WM_COMMAND, IDOK, 0);
             }),
    });
    CHECK(result == IDOK);
    CHECK(FileOutline(f.store) == "First=Hello\n");
    // The program's own kind of file, which every reader of the texts takes.
    const std::string bytes = ReadFileBytes(f.store);
    CHECK(bytes.substr(0, 2) == "\xff\xfe");
    CHECK(bytes.find(std::string("U\0N\0I\0C\0O\0D\0E\0", 14)) != std::string::npos);
    CHECK(FolderEntries(f.dir / "predefinedtext") == std::vector<std::string>{"data.xml"});
  }
}

TEST_CASE("text shortcuts editor: a damaged file is reported, shown empty and never overwritten") {
  const std::string good = StoreFile("<item name=\"a\" value=\"x\"><item name=\"b\"/></item>");
  const std::pair<const char*, std::string> corpus[] = {
      {"empty", ""},
      {"truncated", good.substr(0, good.size() / 2)},
      {"not XML", "this is not a text store\r\n\x01\x02\x03"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
      {"wrong root", Utf16LE("<?xml version=\"1.0\" encoding=\"UNICODE\"?><settings><item name=\"a\"/></settings>")},
      {"unclosed item", "<config><item name=\"a\" value=\"x\"></config>"},
      {"odd UTF-16", good.substr(0, 41)},
      {"locked", good},  // a good file that another program holds open without sharing it
  };
  for (const auto& [what, bytes] : corpus) {
    CAPTURE(what);
    Folder f;
    WriteFileBytes(f.store, bytes);
    FileHandle lock;
    if (std::string(what) == "locked") {
      lock.reset(::CreateFileA(f.store.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      REQUIRE(lock);
    }
    CTextShortcutsDlg dlg(f.store);
    CHECK(dlg.State() == CTextShortcutsDlg::StoreState::Damaged);
    std::string notice;
    INT_PTR result = Script::Run(dlg, {
        AnswerBox(&notice, IDOK),
        When([](HWND d) { return MessageBoxOver(d) == nullptr; },
             [](HWND d) {
               CHECK(TreeView_GetCount(Tree(d)) == 0);
               ::SendMessageA(d, WM_COMMAND, IDC_TS_SAVE, 0);
               CHECK(MessageBoxOver(d) == nullptr);
               ::SendMessageA(d, WM_COMMAND, IDOK, 0);
             }),
    });
    CHECK(result == IDOK);
    CHECK(notice.find("could not be read") != std::string::npos);
    CHECK(notice.find(f.store) != std::string::npos);
    lock.reset();
    CHECK(ReadFileBytes(f.store) == bytes);
    CHECK(FolderEntries(f.dir / "predefinedtext") == std::vector<std::string>{"data.xml"});
  }
}

TEST_CASE("text shortcuts editor: over-long texts are shown and kept whole; deep trees load, edit and save") {
  Folder f;
  // Past an edit box's default limit of 30000 characters, in lines as a long letter has them.
  std::string longText, storedLong;
  for (int i = 0; i < 500; ++i) {
    longText += std::string(78, static_cast<char>('a' + i % 26)) + "\r\n";
    storedLong += std::string(78, static_cast<char>('a' + i % 26)) + "\\r\\n";
  }
  const int depth = 150;
  std::string deep;
  for (int i = 0; i < depth; ++i) deep += "<item name=\"d" + std::to_string(i) + "\">";
  for (int i = 0; i < depth; ++i) deep += "</item>";
  WriteFileBytes(f.store, StoreFile("<item name=\"long\" value=\"" + storedLong + "\"/>" + deep));
  CTextShortcutsDlg dlg(f.store);
  INT_PTR result = Script::Run(dlg, {
      Do([&](HWND d) {
        HWND tree = Tree(d);
        CHECK(TreeView_GetCount(tree) == static_cast<UINT>(depth + 1));
        TreeView_SelectItem(tree, FindItem(tree, "long"));
        CHECK(TextOf(Box(d)) == longText);
        CHECK_FALSE(dlg.IsModified());
        TypeText(d, "z");
        CHECK(TextOf(Box(d)) == longText + "z");
        HTREEITEM deepest = FindItem(tree, "d" + std::to_string(depth - 1));
        REQUIRE(deepest);
        TreeView_SelectItem(tree, deepest);
        TypeText(d, "bottom");
        // The branch moves above "long" as a whole.
        TreeView_SelectItem(tree, FindItem(tree, "d0"));
        ::SendMessageA(d, WM_COMMAND, IDC_TS_MOVEUP, 0);
        CHECK(TreeView_GetCount(tree) == static_cast<UINT>(depth + 1));
        ::SendMessageA(d, WM_COMMAND, IDOK, 0);
      }),
  });
  CHECK(result == IDOK);
  CXmlDocument doc;
  REQUIRE(doc.Load(f.store));
  xml::NodePtr first = doc.m_pDoc->SelectSingleNode("config/item");
  REQUIRE(first);
  CHECK(first->GetNamedItem("name")->value == "d0");
  xml::NodePtr node = first;
  for (int i = 1; i < depth; ++i) node = node->SelectSingleNode("item");
  REQUIRE(node);
  CHECK(node->GetNamedItem("value")->value == "bottom");
  CHECK(first->NextSibling()->GetNamedItem("value")->value == storedLong + "z");
}

TEST_CASE("text shortcuts editor: resizing moves and stretches the controls; it does not shrink below its start") {
  Folder f;
  WriteFileBytes(f.store, StoreFile(kSample));
  CTextShortcutsDlg dlg(f.store);
  Script::Run(dlg, {
      Do([](HWND d) {
        auto rectOf = [d](int id) {
          RECT rc = {};
          ::GetWindowRect(::GetDlgItem(d, id), &rc);
          return rc;
        };
        RECT window = {};
        ::GetWindowRect(d, &window);
        const RECT header = rectOf(IDC_TS_HEADER), tree = rectOf(IDC_TS_TREE), box = rectOf(IDC_TS_TEXT),
                   ok = rectOf(IDOK), add = rectOf(IDC_TS_ADD);
        const int w = window.right - window.left, h = window.bottom - window.top;
        ::SetWindowPos(d, nullptr, window.left, window.top, w + 100, h + 60, SWP_NOZORDER);
        CHECK(rectOf(IDC_TS_HEADER).right - header.right == 100);
        CHECK(rectOf(IDC_TS_HEADER).bottom == header.bottom);
        CHECK(rectOf(IDC_TS_TREE).bottom - tree.bottom == 60);
        CHECK(rectOf(IDC_TS_TREE).right == tree.right);
        CHECK(rectOf(IDC_TS_TEXT).right - box.right == 100);
        CHECK(rectOf(IDC_TS_TEXT).bottom - box.bottom == 60);
        CHECK(rectOf(IDOK).left - ok.left == 100);
        CHECK(rectOf(IDOK).top - ok.top == 60);
        CHECK(rectOf(IDC_TS_ADD).left == add.left);
        CHECK(rectOf(IDC_TS_ADD).top == add.top);
        MINMAXINFO info = {};
        ::SendMessageA(d, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        CHECK(info.ptMinTrackSize.x == w);
        CHECK(info.ptMinTrackSize.y == h);
        ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
      }),
  });
}

TEST_CASE("text shortcuts editor: the program's entry point edits the program's file; the selector reads it") {
  Folder f;
  // The program's own file lies beside the executable.
  const std::string programStore = PredefinedTextPath();
  const std::string folder = programStore.substr(0, programStore.rfind('\\'));
  MakeFolder(folder);
  WriteFileBytes(programStore, StoreFile("<item name=\"Group\"><item name=\"Old\" value=\"v\"/></item>"));
  UINT_PTR timer = 0;
  static int stage;
  stage = 0;
  // The dialog is found by its caption, since the entry point keeps its object to itself.
  timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND d = ::FindWindowA(nullptr, "Text shortcuts");
    if (!d || !::IsWindowVisible(d)) return;
    HWND tree = Tree(d);
    if (stage == 0) {
      stage = 1;
      TreeView_SelectItem(tree, FindItem(tree, "Group"));
      Press(d, IDC_TS_ADD);
    } else if (stage == 1 && OpenMenu()) {
      stage = 2;
      HWND menu = OpenMenu();
      ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
      ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    } else if (stage == 2 && !OpenMenu() && LabelEditor(d)) {
      stage = 3;
      ::SetWindowTextA(LabelEditor(d), "Fresh");
      ::SendMessageA(d, WM_COMMAND, IDOK, 0);
    } else if (stage == 3 && !LabelEditor(d)) {
      stage = 4;
      TypeText(d, "line 1");
      ::SendMessageA(Box(d), WM_CHAR, VK_RETURN, 0);
      TypeText(d, "line 2");
      ::SendMessageA(d, WM_COMMAND, IDOK, 0);
    }
  });
  INT_PTR result = ShowTextShortcutsDialog(nullptr);
  ::KillTimer(nullptr, timer);
  CHECK(result == IDOK);
  CHECK(stage == 4);
  CHECK(FileOutline(programStore) == "Group=<none>\n  Old=v\n  Fresh=line 1\\r\\nline 2\n");

  CPredefinedTextSelectorWindow::Open(nullptr);
  HWND selector = ::FindWindowA(kSelectorWindowClass, nullptr);
  REQUIRE(selector);
  HWND tree = ::GetDlgItem(selector, kSelectorTreeId);
  CHECK(TreeOutline(tree) == "Group\n  Old\n  Fresh\n");
  TreeView_SelectItem(tree, FindItem(tree, "Fresh"));
  PumpMessages();
  CHECK(TextOf(::GetDlgItem(selector, kSelectorPreviewId)) == "line 1\r\nline 2");
  ::DestroyWindow(selector);
  PumpMessages();
  RemoveTree(folder);
}

namespace {

// What the screen shows in `rc`, saved as a picture; the count of distinct colours comes back.
size_t CaptureScreen(const RECT& rc, const std::string& name) {
  Pixels px = ScreenRect(rc);
  std::vector<uint32_t> colours;
  for (size_t i = 0; i < px.bgra.size(); i += 7) {
    uint32_t c = px.bgra[i] & 0xFFFFFF;
    if (std::find(colours.begin(), colours.end(), c) == colours.end() && colours.size() < 1000) colours.push_back(c);
  }
  CHECK(SaveShot(px, "textshortcuts", name));
  return colours.size();
}

// True when `text` in the dialog's font, made bold when asked, fits into width x height.
bool Fits(HWND dialog, const std::string& text, int width, int height, bool bold, bool singleLine) {
  SIZE need = TextExtent(dialog, text, singleLine ? 0 : width, bold, 0);
  CAPTURE(text);
  CAPTURE(need.cx);
  CAPTURE(need.cy);
  return need.cx <= width && need.cy <= height;
}

RECT WindowRectOf(HWND hwnd) {
  RECT rc = {};
  ::GetWindowRect(hwnd, &rc);
  return rc;
}

}  // namespace

TEST_CASE("text shortcuts editor: screenshots in English and German, texts fitting their controls") {
  for (const char* language : {"English.txt", "Deutsch.txt"}) {
    CAPTURE(language);
    Folder f(language);
    WriteFileBytes(f.store, ReadFileBytes(std::string(QUORVEL_PROGRAM_DIR) + "\\predefinedtext\\data.xml"));
    const std::string tag = std::string(language) == "English.txt" ? "en" : "de";
    CTextShortcutsDlg dlg(f.store);
    std::string failedSave;
    Script::Run(dlg, {
        Do([&](HWND d) {
          HWND tree = Tree(d);
          TreeView_SelectItem(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
          ::UpdateWindow(d);
        }),
        Do([&](HWND d) {
          RECT rc = WindowRectOf(d);
          CHECK(rc.right - rc.left > 600);
          CHECK(rc.bottom - rc.top > 400);
          CHECK(CaptureScreen(rc, "editor-" + tag + ".png") > 20);
          // The header shows its text on the dialog's white, not on an unpainted block.
          Pixels headerPixels = ScreenPixels(::GetDlgItem(d, IDC_TS_HEADER));
          const int total = headerPixels.width * headerPixels.height;
          CHECK(headerPixels.Count(RGB(255, 255, 255), 8) > total / 2);
          CHECK(headerPixels.Count(RGB(0, 0, 0), 60) > 50);
          // The captions and the header text fit.
          RECT header = {};
          ::GetClientRect(::GetDlgItem(d, IDC_TS_HEADER), &header);
          CHECK(Fits(d, TextOf(::GetDlgItem(d, IDC_TS_HEADER)), header.right - (2 + 32 + 2) - 2 * 5,
                     header.bottom - 2 * 7, true, false));
          for (int id : {IDOK, IDCANCEL, IDC_TS_SAVE}) {
            RECT button = {};
            ::GetClientRect(::GetDlgItem(d, id), &button);
            CHECK(Fits(d, TextOf(::GetDlgItem(d, id)), button.right - 8, button.bottom, false, true));
          }
          CHECK(TextOf(d) == GetLanguageText("L0060"));
          Press(d, IDC_TS_ADD);
        }),
        When([](HWND) { return OpenMenu() != nullptr; },
             [&](HWND d) {
               RECT rc = WindowRectOf(d);
               RECT menu = WindowRectOf(OpenMenu());
               ::UnionRect(&rc, &rc, &menu);
               CHECK(CaptureScreen(rc, "addmenu-" + tag + ".png") > 20);
               ::EndMenu();
             }),
        When([](HWND) { return OpenMenu() == nullptr; },
             [&](HWND d) {
               TreeView_SelectItem(Tree(d), TreeView_GetRoot(Tree(d)));
               Press(d, IDC_TS_DELETE);
             }),
        When([](HWND d) { return MessageBoxOver(d) != nullptr; },
             [&](HWND d) {
               HWND box = MessageBoxOver(d);
               ::UpdateWindow(box);
               CHECK(CaptureScreen(WindowRectOf(box), "delete-" + tag + ".png") > 5);
               ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
             }),
        When([](HWND d) { return MessageBoxOver(d) == nullptr; },
             [&](HWND d) {
               TypeText(d, "!");
               ::SetFileAttributesA(f.store.c_str(), FILE_ATTRIBUTE_READONLY);
               Press(d, IDC_TS_SAVE);
             }),
        When([](HWND d) { return MessageBoxOver(d) != nullptr; },
             [&](HWND d) {
               HWND box = MessageBoxOver(d);
               ::UpdateWindow(box);
               failedSave = TextOf(::GetDlgItem(box, 0xFFFF));
               CHECK(CaptureScreen(WindowRectOf(box), "savefailed-" + tag + ".png") > 5);
               ::PostMessageA(box, WM_COMMAND, IDOK, 0);
             }),
        When([](HWND d) { return MessageBoxOver(d) == nullptr; },
             [](HWND d) { ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }),
    });
    CHECK(failedSave == FormatLanguageText("L0196", {lang::FormatArg::Str(f.store)}));
  }
}
