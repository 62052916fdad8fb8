#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "actions/actionline_win.h"
#include "app/hotkeyreg.h"
#include "hotkeydlgs_ids.h"
#include "hotkeys/addHotkeydlg.h"
#include "hotkeys/hotkeyfiles.h"
#include "hotkeys/opt_hotkeys.h"
#include "include/GlobalData.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "tests/hotkeys/hotkeydlg_driver.h"
#include "tests/include/controls_support.h"
#include "tests/support/programfolder.h"
#include "tests/winsupport.h"

namespace {

// A program folder of its own (tests/support/programfolder.h) with a hotkeys folder.
struct ProgramFixture : ProgramFolder {
  std::string hotkeys = dir / "hotkeys";
  explicit ProgramFixture(const char* language = "English.txt") : ProgramFolder(language) { MakeFolder(hotkeys); }
  void Put(const std::string& name, const std::string& bytes) const { WriteFileBytes(hotkeys + "\\" + name, bytes); }
  std::string Get(const std::string& name) const { return ReadFileBytes(hotkeys + "\\" + name); }
};

std::string HotkeyFile(int alt, int ctrl, int shift, int win, int vk, int enable, const std::string& description,
                       const std::vector<std::string>& lines = {}) {
  std::string s = "[Setting]\r\nAlt=" + std::to_string(alt) + "\r\nCtrl=" + std::to_string(ctrl) +
                  "\r\nShift=" + std::to_string(shift) + "\r\nWin=" + std::to_string(win) +
                  "\r\nvk=" + std::to_string(vk) + "\r\nEnable=" + std::to_string(enable) +
                  "\r\nDescription=" + description + "\r\n";
  if (!lines.empty()) {
    s += "[Action]\r\n";
    for (size_t i = 0; i < lines.size(); ++i) {
      char key[32];
      snprintf(key, sizeof key, "Action%05u", static_cast<unsigned>(i + 1));
      s += std::string(key) + "=" + lines[i] + "\r\n";
    }
  }
  return s;
}

// Holds combinations the way another program would: a window of its own that registers them.
class Holder {
 public:
  Holder() {
    m_window.reset(::CreateWindowExA(0, "STATIC", "holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr));
  }
  ~Holder() {
    for (int id : m_ids) ::UnregisterHotKey(m_window.get(), id);
  }
  bool Hold(UINT modifiers, UINT vk) {
    int id = 0x100 + static_cast<int>(m_ids.size());
    if (!::RegisterHotKey(m_window.get(), id, modifiers, vk)) return false;
    m_ids.push_back(id);
    return true;
  }
  HWND hwnd() const { return m_window.get(); }

 private:
  WindowHandle m_window;
  std::vector<int> m_ids;
};

bool Contains(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(Item(dialog, id)) != FALSE; }

int RowCount(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
std::string Cell(HWND list, int row, int column) {
  char buf[1024] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buf;
}
void SelectRow(HWND list, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
int SelectedRow(HWND list) {
  return static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
bool RowChecked(HWND list, int row) {
  return ((::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12) - 1) != 0;
}
void SetRowChecked(HWND list, int row, bool on) {
  LVITEMA item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
  ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// A composer that hands out the given lines one per call, and says no once they are used up.
struct FakeComposer {
  std::vector<std::string> lines;
  size_t next = 0;
  int calls = 0;
  ActionComposer get() {
    return [this](HWND owner, std::string& line) {
      ++calls;
      CHECK(::IsWindow(owner));
      if (next >= lines.size()) return false;
      line = lines[next++];
      return true;
    };
  }
};

HotkeyDefinition NewHotkey(const std::string& description = "New") {
  HotkeyDefinition d;
  d.Win = 1;
  d.vk = -1;
  d.Description = description;
  return d;
}

std::string Text(const char* key) { return GetLanguageText(key); }

}  // namespace

// ---- hotkey editor ----------------------------------------------------------------------------

TEST_CASE("hotkey editor: a new hotkey opens with Win alone and the first free key from A") {
  ProgramFixture program;
  CAddHotkeyDlg dlg;
  dlg.SetCaption("Create it");
  dlg.SetHotkey(NewHotkey("L0028"));
  DialogScript script;
  std::vector<std::string> items;
  script.Then(FindEditor, [&](HWND d) {
    CHECK(TextOf(d) == "Create it");
    CHECK(Checked(d, IDC_AH_WIN));
    CHECK_FALSE(Checked(d, IDC_AH_ALT));
    CHECK_FALSE(Checked(d, IDC_AH_CTRL));
    CHECK_FALSE(Checked(d, IDC_AH_SHIFT));
    items = ComboItems(Item(d, IDC_AH_KEY));
    CHECK(ComboSelection(Item(d, IDC_AH_KEY)) == "A");
    CHECK(TextOf(Item(d, IDC_AH_DESCRIPTION)) == "My hotkey");
    CHECK(TextOf(Item(d, IDC_AH_KEY_LABEL)) == "&Key:");
    CHECK(RowCount(Item(d, IDC_AH_ACTIONS)) == 0);
    CHECK_FALSE(Enabled(d, IDC_AH_REMOVE_ACTION));
    CHECK_FALSE(Enabled(d, IDC_AH_UP));
    CHECK_FALSE(Enabled(d, IDC_AH_DOWN));
    CHECK(Enabled(d, IDC_AH_ADD_ACTION));
    Click(d, IDCANCEL);
  });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDCANCEL);
  CHECK(script.Done());
  CHECK_FALSE(script.TimedOut());
  // In table order, starting with the named keys below the digits.
  REQUIRE(items.size() >= 80);
  CHECK(items.front() == "Backspace");
  CHECK(Contains(items, "F12"));
  CHECK(dlg.Hotkey().Description == "L0028");  // Cancel keeps the record
  CHECK(dlg.Hotkey().vk == -1);
}

TEST_CASE("hotkey editor: combinations another window holds are not offered") {
  ProgramFixture program;
  Holder other;
  REQUIRE(other.Hold(MOD_WIN, 'A'));
  REQUIRE(other.Hold(MOD_WIN | MOD_CONTROL, 'K'));
  CAddHotkeyDlg dlg;
  dlg.SetHotkey(NewHotkey());
  DialogScript script;
  script.Then(FindEditor, [&](HWND d) {
    HWND keys = Item(d, IDC_AH_KEY);
    CHECK_FALSE(Contains(ComboItems(keys), "A"));
    CHECK(Contains(ComboItems(keys), "K"));
    CHECK(ComboSelection(keys) == "B");  // the first free one
    Click(d, IDC_AH_CTRL);
    CHECK_FALSE(Contains(ComboItems(keys), "K"));
    CHECK(Contains(ComboItems(keys), "A"));  // Win+Ctrl+A is free
    CHECK(ComboSelection(keys) == "B");
    Click(d, IDOK);
  });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  HotkeyDefinition h = dlg.Hotkey();
  CHECK(h.vk == 'B');
  CHECK(h.Win == 1);
  CHECK(h.Ctrl == 1);
  CHECK(h.Alt == 0);
  CHECK(h.Shift == 0);
  CHECK(h.Enable == 1);
  CHECK(h.Description == "New");
  CHECK(h.ActionLines.empty());
}

TEST_CASE("hotkey editor: Ctrl removes C, V and X; a lost selection makes OK ask for a key") {
  ProgramFixture program;
  CAddHotkeyDlg dlg;
  dlg.SetHotkey(NewHotkey());
  DialogScript script;
  std::string message;
  script
      .Then(FindEditor,
            [&](HWND d) {
              HWND keys = Item(d, IDC_AH_KEY);
              REQUIRE(ChooseComboItem(d, IDC_AH_KEY, "V"));
              Click(d, IDC_AH_CTRL);
              std::vector<std::string> items = ComboItems(keys);
              CHECK_FALSE(Contains(items, "C"));
              CHECK_FALSE(Contains(items, "V"));
              CHECK_FALSE(Contains(items, "X"));
              CHECK(Contains(items, "B"));
              CHECK(ComboSelection(keys).empty());
              // Unchecking brings them back, not the selection.
              Click(d, IDC_AH_CTRL);
              items = ComboItems(keys);
              CHECK(Contains(items, "C"));
              CHECK(Contains(items, "V"));
              CHECK(Contains(items, "X"));
              CHECK(ComboSelection(keys).empty());
              ::SetFocus(Item(d, IDC_AH_DESCRIPTION));
              PostClick(d, IDOK);
            })
      .Then(FindMessageBox,
            [&](HWND box) {
              message = MessageBoxText(box);
              CHECK(TextOf(box) == "Quorvel");
              ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            })
      .Then([] { return FindMessageBox() ? nullptr : FindEditor(); },
            [&](HWND d) {
              CHECK(::GetFocus() == Item(d, IDC_AH_KEY));
              Click(d, IDCANCEL);
            });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDCANCEL);
  CHECK(script.Done());
  CHECK(message == Text("L0049"));
  CHECK(dlg.Hotkey().vk == -1);
  CHECK(dlg.Hotkey().Ctrl == 0);
}

TEST_CASE("hotkey editor: an existing hotkey keeps its own key, shows its L-key description as text") {
  ProgramFixture program;
  Holder self;  // the program holds its own hotkey while the editor is open
  REQUIRE(self.Hold(MOD_WIN, 'K'));
  Holder other;
  REQUIRE(other.Hold(MOD_WIN | MOD_SHIFT, 'K'));
  HotkeyDefinition h;
  h.Win = 1;
  h.vk = 'K';
  h.Enable = 0;
  h.Description = "l0028";
  h.ActionLines = {"Sleep 1500", "EmptyClipboard", "no such command"};
  CAddHotkeyDlg dlg;
  dlg.SetCaption(Text("L0010"));
  dlg.SetHotkey(h);
  DialogScript script;
  script.Then(FindEditor, [&](HWND d) {
    HWND keys = Item(d, IDC_AH_KEY);
    CHECK(ComboSelection(keys) == "K");
    CHECK(TextOf(Item(d, IDC_AH_DESCRIPTION)) == "My hotkey");
    HWND actions = Item(d, IDC_AH_ACTIONS);
    REQUIRE(RowCount(actions) == 3);
    CHECK_FALSE(Cell(actions, 0, 0).empty());
    CHECK(Cell(actions, 0, 0) != Cell(actions, 1, 0));
    // With Shift the combination is another one, and another window holds it.
    Click(d, IDC_AH_SHIFT);
    CHECK_FALSE(Contains(ComboItems(keys), "K"));
    CHECK(ComboSelection(keys).empty());
    Click(d, IDC_AH_SHIFT);
    CHECK(Contains(ComboItems(keys), "K"));
    REQUIRE(ChooseComboItem(d, IDC_AH_KEY, "K"));
    Click(d, IDOK);
  });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  const HotkeyDefinition& r = dlg.Hotkey();
  CHECK(r.vk == 'K');
  CHECK(r.Win == 1);
  CHECK(r.Shift == 0);
  CHECK(r.Enable == 1);
  CHECK(r.Description == "My hotkey");  // the text, not the key
  CHECK(r.ActionLines == h.ActionLines);
}

TEST_CASE("hotkey editor: actions are added by the composer, moved, removed, and kept in order") {
  ProgramFixture program;
  FakeComposer composer{{"Sleep 1000", "EmptyRecycleBin", "Copy"}};
  CAddHotkeyDlg dlg(composer.get());
  dlg.SetHotkey(NewHotkey());
  DialogScript script;
  script.Then(FindEditor, [&](HWND d) {
    HWND list = Item(d, IDC_AH_ACTIONS);
    for (int i = 0; i < 4; ++i) Click(d, IDC_AH_ADD_ACTION);  // the fourth is declined
    REQUIRE(RowCount(list) == 3);
    std::string sleep = Cell(list, 0, 0), bin = Cell(list, 1, 0), copy = Cell(list, 2, 0);
    CHECK_FALSE(Enabled(d, IDC_AH_REMOVE_ACTION));
    SelectRow(list, 0);
    CHECK(Enabled(d, IDC_AH_REMOVE_ACTION));
    CHECK(Enabled(d, IDC_AH_UP));
    CHECK(Enabled(d, IDC_AH_DOWN));
    Click(d, IDC_AH_UP);  // at the top: nothing
    CHECK(Cell(list, 0, 0) == sleep);
    CHECK(SelectedRow(list) == 0);
    Click(d, IDC_AH_DOWN);
    CHECK(Cell(list, 0, 0) == bin);
    CHECK(Cell(list, 1, 0) == sleep);
    CHECK(SelectedRow(list) == 1);
    SelectRow(list, 2);
    Click(d, IDC_AH_DOWN);  // at the bottom: nothing
    CHECK(Cell(list, 2, 0) == copy);
    // [bin, sleep, copy]: remove the last, the new last is selected; then the first.
    Click(d, IDC_AH_REMOVE_ACTION);
    CHECK(RowCount(list) == 2);
    CHECK(SelectedRow(list) == 1);
    SelectRow(list, 0);
    Click(d, IDC_AH_REMOVE_ACTION);
    CHECK(RowCount(list) == 1);
    CHECK(SelectedRow(list) == 0);
    CHECK(Cell(list, 0, 0) == sleep);
    Click(d, IDOK);
  });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  CHECK(composer.calls == 4);
  CHECK(dlg.Hotkey().ActionLines == std::vector<std::string>{"Sleep 1000"});
}

// ---- manage dialog ----------------------------------------------------------------------------

TEST_CASE("manage hotkeys: add, edit, reorder, delete, uncheck, OK writes the exact files") {
  ProgramFixture program;
  program.Put("Hotkey-00002.ini", HotkeyFile(0, 0, 0, 1, 'A', 1, "First", {"Sleep 100"}));
  program.Put("Hotkey-00007.ini", HotkeyFile(0, 1, 1, 0, 'B', 1, "L0028"));
  program.Put("notes.INI", HotkeyFile(1, 0, 0, 0, 116, 0, "Third"));
  program.Put("readme.txt", "not a hotkey");
  FakeComposer composer{{"EmptyClipboard", "Sleep 2000"}};
  CManageHotkeysDlg dlg(composer.get());
  dlg.SetFolder(program.hotkeys);
  DialogScript script;
  script
      .Then(FindManager,
            [&](HWND d) {
              CHECK(TextOf(d) == Text("L0006"));
              HWND list = Item(d, IDC_MH_LIST);
              REQUIRE(RowCount(list) == 3);
              CHECK(Cell(list, 0, 0) == "WIN+A");
              CHECK(Cell(list, 0, 1) == "First");
              CHECK(Cell(list, 0, 2) == DescribeActionLine("Sleep 100") + "; ");
              CHECK(Cell(list, 0, 2).size() > 2);
              CHECK(Cell(list, 1, 0) == "CTRL+SHIFT+B");
              CHECK(Cell(list, 1, 1) == "My hotkey");
              CHECK(Cell(list, 1, 2).empty());
              CHECK(Cell(list, 2, 0) == "ALT+F5");
              CHECK(RowChecked(list, 0));
              CHECK(RowChecked(list, 1));
              CHECK_FALSE(RowChecked(list, 2));
              CHECK_FALSE(Enabled(d, IDC_MH_EDIT));
              CHECK_FALSE(Enabled(d, IDC_MH_DELETE));
              CHECK_FALSE(Enabled(d, IDC_MH_UP));
              PostClick(d, IDC_MH_ADD);
            })
      .Then(FindEditor,
            [&](HWND e) {
              CHECK(TextOf(e) == Text("L0018"));
              CHECK(TextOf(Item(e, IDC_AH_DESCRIPTION)) == "My hotkey (4)");
              REQUIRE(ChooseComboItem(e, IDC_AH_KEY, "Q"));
              Click(e, IDC_AH_ADD_ACTION);
              Click(e, IDC_AH_ADD_ACTION);
              Click(e, IDOK);
            })
      .Then(FindManager,
            [&](HWND d) {
              HWND list = Item(d, IDC_MH_LIST);
              REQUIRE(RowCount(list) == 4);
              CHECK(Cell(list, 3, 0) == "WIN+Q");
              CHECK(Cell(list, 3, 1) == "My hotkey (4)");
              CHECK(RowChecked(list, 3));
              SelectRow(list, 1);
              CHECK(Enabled(d, IDC_MH_EDIT));
              PostClick(d, IDC_MH_EDIT);
            })
      .Then(FindEditor,
            [&](HWND e) {
              CHECK(TextOf(e) == GetPlainLanguageText("L0010"));
              CHECK(ComboSelection(Item(e, IDC_AH_KEY)) == "B");
              CHECK(Checked(e, IDC_AH_CTRL));
              CHECK(Checked(e, IDC_AH_SHIFT));
              ::SetDlgItemTextA(e, IDC_AH_DESCRIPTION, "Second");
              Click(e, IDC_AH_ALT);
              Click(e, IDOK);
            })
      .Then(FindManager, [&](HWND d) {
        HWND list = Item(d, IDC_MH_LIST);
        CHECK(Cell(list, 1, 0) == "CTRL+SHIFT+ALT+B");
        CHECK(Cell(list, 1, 1) == "Second");
        CHECK(RowChecked(list, 1));
        // [A, B, F5, Q]: the ends do nothing.
        SelectRow(list, 0);
        Click(d, IDC_MH_UP);
        CHECK(Cell(list, 0, 0) == "WIN+A");
        SelectRow(list, 3);
        Click(d, IDC_MH_DOWN);
        CHECK(Cell(list, 3, 0) == "WIN+Q");
        CHECK(SelectedRow(list) == 3);
        Click(d, IDC_MH_UP);  // [A, B, Q, F5]
        CHECK(SelectedRow(list) == 2);
        CHECK(Cell(list, 2, 0) == "WIN+Q");
        CHECK(Cell(list, 3, 0) == "ALT+F5");
        CHECK_FALSE(RowChecked(list, 3));  // the check box moves with its row
        CHECK(RowChecked(list, 2));
        SelectRow(list, 0);
        Click(d, IDC_MH_DOWN);  // [B, A, Q, F5]
        CHECK(Cell(list, 0, 0) == "CTRL+SHIFT+ALT+B");
        CHECK(Cell(list, 1, 0) == "WIN+A");
        CHECK(Cell(list, 1, 1) == "First");
        CHECK(SelectedRow(list) == 1);
        // Deleting the last selects the new last.
        SelectRow(list, 3);
        Click(d, IDC_MH_DELETE);
        REQUIRE(RowCount(list) == 3);
        CHECK(SelectedRow(list) == 2);
        SetRowChecked(list, 1, false);  // A is switched off
        PostClick(d, IDOK);
      });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  CHECK_FALSE(script.TimedOut());

  CHECK(FolderEntries(program.hotkeys) ==
        std::vector<std::string>{"Hotkey-00001.ini", "Hotkey-00002.ini", "Hotkey-00003.ini", "readme.txt"});
  CHECK(program.Get("Hotkey-00001.ini") == HotkeyFile(1, 1, 1, 0, 'B', 1, "Second"));
  CHECK(program.Get("Hotkey-00002.ini") == HotkeyFile(0, 0, 0, 1, 'A', 0, "First", {"Sleep 100"}));
  CHECK(program.Get("Hotkey-00003.ini") ==
        HotkeyFile(0, 0, 0, 1, 'Q', 1, "My hotkey (4)", {"EmptyClipboard", "Sleep 2000"}));
  // Nothing is left beside the hotkeys folder.
  for (const std::string& name : FolderEntries(program.dir.path())) CHECK(name.rfind("hotkeys.", 0) != 0);

  // What the main window does next: register from the files.
  Holder window;
  CHotkeyTable table;
  table.SetFolder(program.hotkeys);
  std::vector<std::string> reports;
  table.SetReport([&](HWND, const std::string& m) { reports.push_back(m); });
  CHECK(table.RegisterAll(window.hwnd()) == 3);
  CHECK(table.stats().registered == 2);
  CHECK(table.stats().disabled == 1);
  CHECK(table.stats().failed == 0);
  CHECK(reports.empty());
  Holder probe;
  CHECK_FALSE(probe.Hold(MOD_ALT | MOD_CONTROL | MOD_SHIFT, 'B'));  // held by the table now
  CHECK_FALSE(probe.Hold(MOD_WIN, 'Q'));
  CHECK(probe.Hold(MOD_WIN, 'A'));  // switched off: not registered
  table.UnregisterAll(window.hwnd());
}

TEST_CASE("manage hotkeys: Cancel after many changes leaves the folder byte for byte") {
  ProgramFixture program;
  program.Put("Hotkey-00001.ini", HotkeyFile(0, 0, 0, 1, 'A', 1, "One", {"Sleep 100"}));
  program.Put("Hotkey-00002.ini", HotkeyFile(1, 0, 0, 0, 'B', 0, "Two"));
  program.Put("odd name.ini", "[Setting]\r\nvk=67\r\n");
  auto before = TakeSnapshot(program.dir.path());
  FakeComposer composer{{"Paste"}};
  CManageHotkeysDlg dlg(composer.get());
  dlg.SetFolder(program.hotkeys);
  DialogScript script;
  script
      .Then(FindManager,
            [&](HWND d) {
              HWND list = Item(d, IDC_MH_LIST);
              REQUIRE(RowCount(list) == 3);
              SelectRow(list, 0);
              Click(d, IDC_MH_DELETE);
              CHECK(SelectedRow(list) == 0);
              SetRowChecked(list, 0, true);
              Click(d, IDC_MH_DOWN);
              PostClick(d, IDC_MH_ADD);
            })
      .Then(FindEditor, [&](HWND e) { Click(e, IDOK); })
      .Then(FindManager, [&](HWND d) {
        CHECK(RowCount(Item(d, IDC_MH_LIST)) == 3);
        Click(d, IDCANCEL);
      });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDCANCEL);
  CHECK(script.Done());
  CHECK(TakeSnapshot(program.dir.path()) == before);
}

TEST_CASE("manage hotkeys: add mode shows only the editor; Cancel writes nothing, OK saves at once") {
  ProgramFixture program;
  program.Put("Hotkey-00001.ini", HotkeyFile(0, 0, 0, 1, 'A', 1, "One"));
  program.Put("Hotkey-00002.ini", HotkeyFile(0, 0, 0, 1, 'B', 0, "Two"));
  auto before = TakeSnapshot(program.dir.path());
  {
    CManageHotkeysDlg dlg;
    dlg.SetFolder(program.hotkeys);
    dlg.SetAddMode(true);
    DialogScript script;
    bool managerShown = true;
    script.Then(FindEditor, [&](HWND e) {
      managerShown = ::IsWindowVisible(::GetWindow(e, GW_OWNER)) != FALSE;
      CHECK(TextOf(Item(e, IDC_AH_DESCRIPTION)) == "My hotkey (3)");
      Click(e, IDCANCEL);
    });
    script.Start();
    CHECK(dlg.DoModal(nullptr) == IDCANCEL);
    CHECK(script.Done());
    CHECK_FALSE(managerShown);
    CHECK(TakeSnapshot(program.dir.path()) == before);
  }
  {
    FakeComposer composer{{"MaximizeActiveWindow"}};
    CManageHotkeysDlg dlg(composer.get());
    dlg.SetFolder(program.hotkeys);
    dlg.SetAddMode(true);
    DialogScript script;
    script.Then(FindEditor, [&](HWND e) {
      REQUIRE(ChooseComboItem(e, IDC_AH_KEY, "F9"));
      Click(e, IDC_AH_SHIFT);
      Click(e, IDC_AH_ADD_ACTION);
      Click(e, IDOK);
    });
    script.Start();
    CHECK(dlg.DoModal(nullptr) == IDOK);
    CHECK(script.Done());
    CHECK(FolderEntries(program.hotkeys) ==
          std::vector<std::string>{"Hotkey-00001.ini", "Hotkey-00002.ini", "Hotkey-00003.ini"});
    CHECK(program.Get("Hotkey-00001.ini") == HotkeyFile(0, 0, 0, 1, 'A', 1, "One"));
    CHECK(program.Get("Hotkey-00002.ini") == HotkeyFile(0, 0, 0, 1, 'B', 0, "Two"));
    CHECK(program.Get("Hotkey-00003.ini") ==
          HotkeyFile(0, 0, 1, 1, 120, 1, "My hotkey (3)", {"MaximizeActiveWindow"}));
  }
}

TEST_CASE("manage hotkeys: the entry point returns Cancel when add mode is cancelled") {
  ProgramFixture program;
  DialogScript script;
  script.Then(FindEditor, [](HWND e) { Click(e, IDCANCEL); });
  script.Start();
  CHECK(ShowManageHotkeysDialog(nullptr, true, nullptr) == IDCANCEL);
  CHECK(script.Done());
}

TEST_CASE("manage hotkeys: a failed save says so, keeps the dialog and the list, and a retry works") {
  ProgramFixture program;
  program.Put("Hotkey-00001.ini", HotkeyFile(0, 0, 0, 1, 'A', 1, "One", {"Sleep 100"}));
  program.Put("Hotkey-00002.ini", HotkeyFile(0, 0, 0, 1, 'B', 1, "Two"));
  auto before = TakeSnapshot(program.dir.path());
  CManageHotkeysDlg dlg;
  dlg.SetFolder(program.hotkeys);
  int writes = 0;
  // The second file cannot be written.
  dlg.SetWriter([&](const std::string& section, const std::string& key, const std::string& value,
                    const std::string& path) {
    ++writes;
    if (path.find("Hotkey-00002") != std::string::npos) return false;
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
  });
  std::string message;
  DialogScript script;
  script
      .Then(FindManager,
            [&](HWND d) {
              HWND list = Item(d, IDC_MH_LIST);
              SelectRow(list, 1);
              Click(d, IDC_MH_UP);
              SetRowChecked(list, 1, false);
              PostClick(d, IDOK);
            })
      .Then(FindMessageBox,
            [&](HWND box) {
              message = MessageBoxText(box);
              CHECK(TextOf(box) == "Quorvel");
              ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            })
      .Then([] { return FindMessageBox() ? nullptr : FindManager(); },
            [&](HWND d) {
              // Still open, with every change.
              HWND list = Item(d, IDC_MH_LIST);
              REQUIRE(RowCount(list) == 2);
              CHECK(Cell(list, 0, 1) == "Two");
              CHECK(Cell(list, 1, 1) == "One");
              CHECK(RowChecked(list, 0));
              CHECK_FALSE(RowChecked(list, 1));
              CHECK(TakeSnapshot(program.dir.path()) == before);
              dlg.SetWriter(nullptr);
              PostClick(d, IDOK);
            });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  CHECK(writes > 0);
  CHECK(message == Text("L0195"));
  CHECK(program.Get("Hotkey-00001.ini") == HotkeyFile(0, 0, 0, 1, 'B', 1, "Two"));
  CHECK(program.Get("Hotkey-00002.ini") == HotkeyFile(0, 0, 0, 1, 'A', 0, "One", {"Sleep 100"}));
}

TEST_CASE("manage hotkeys: in add mode a save that the folder refuses keeps the new hotkey in the list") {
  ProgramFixture program;
  program.Put("Hotkey-00001.ini", HotkeyFile(0, 0, 0, 1, 'A', 1, "One"));
  // Something in the way of the save: a folder with the name the new hotkey's file gets.
  MakeFolder(program.hotkeys + "\\Hotkey-00002.ini");
  auto before = TakeSnapshot(program.hotkeys);
  CManageHotkeysDlg dlg;
  dlg.SetFolder(program.hotkeys);
  dlg.SetAddMode(true);
  std::string message;
  DialogScript script;
  script
      .Then(FindEditor,
            [&](HWND e) {
              REQUIRE(ChooseComboItem(e, IDC_AH_KEY, "Z"));
              PostClick(e, IDOK);
            })
      .Then(FindMessageBox,
            [&](HWND box) {
              message = MessageBoxText(box);
              CHECK(TakeSnapshot(program.hotkeys) == before);
              ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            })
      .Then([] { return FindMessageBox() ? nullptr : FindManager(); },
            [&](HWND d) {
              HWND list = Item(d, IDC_MH_LIST);
              REQUIRE(RowCount(list) == 2);
              CHECK(Cell(list, 1, 0) == "WIN+Z");
              CHECK(RowChecked(list, 1));
              // A second try while the obstacle is still there fails the same way, and loses nothing.
              PostClick(d, IDOK);
            })
      .Then(FindMessageBox, [&](HWND box) { ::PostMessageA(box, WM_COMMAND, IDOK, 0); })
      .Then([] { return FindMessageBox() ? nullptr : FindManager(); },
            [&](HWND d) {
              CHECK(RowCount(Item(d, IDC_MH_LIST)) == 2);
              ::RemoveDirectoryA((program.hotkeys + "\\Hotkey-00002.ini").c_str());
              PostClick(d, IDOK);
            });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  CHECK(message == Text("L0195"));
  CHECK(FolderEntries(program.hotkeys) == std::vector<std::string>{"Hotkey-00001.ini", "Hotkey-00002.ini"});
  CHECK(program.Get("Hotkey-00002.ini") == HotkeyFile(0, 0, 0, 1, 'Z', 1, "My hotkey (2)"));
}

TEST_CASE("manage hotkeys: damaged hotkey files load, edit and save without harm") {
  ProgramFixture program;
  program.Put("a-garbage.ini", std::string("\x00\xff\x01[[[=]\r\n\x7f", 11) + std::string(5000, '\xfe'));
  program.Put("b-absurd.ini",
              "[Setting]\r\nAlt=-5\r\nCtrl=99999999999\r\nShift=abc\r\nWin=7\r\nvk=99999\r\nEnable=42\r\n"
              "Description=" + std::string(30000, 'D') + "\r\n[Action]\r\n=\r\nno equals sign\r\nAction1=%s%n%d\r\n");
  program.Put("c-empty.ini", "");
  program.Put("d-key0.ini", "[Setting]\r\nvk=0\r\nEnable=1\r\nDescription=L9999\r\n");
  MakeFolder(program.hotkeys + "\\e-folder.ini");
  CManageHotkeysDlg dlg;
  dlg.SetFolder(program.hotkeys);
  DialogScript script;
  script
      .Then(FindManager,
            [&](HWND d) {
              HWND list = Item(d, IDC_MH_LIST);
              REQUIRE(RowCount(list) == 4);
              CHECK(Cell(list, 1, 0) == "CTRL+ALT+WIN+99999");
              CHECK(RowChecked(list, 1));
              CHECK_FALSE(RowChecked(list, 0));
              SelectRow(list, 3);
              PostClick(d, IDC_MH_EDIT);
            })
      .Then(FindEditor,
            [&](HWND e) {
              // Key 0 is no key of the table: nothing is selected (not the key named "0").
              CHECK(ComboSelection(Item(e, IDC_AH_KEY)).empty());
              Click(e, IDCANCEL);
            })
      .Then(FindManager,
            [&](HWND d) {
              SelectRow(Item(d, IDC_MH_LIST), 1);
              PostClick(d, IDC_MH_EDIT);
            })
      .Then(FindEditor,
            [&](HWND e) {
              CHECK(Checked(e, IDC_AH_WIN));
              CHECK(Checked(e, IDC_AH_ALT));
              CHECK(RowCount(Item(e, IDC_AH_ACTIONS)) == 2);
              // A code beyond the virtual keys is no key the editor offers: none is selected.
              CHECK(ComboSelection(Item(e, IDC_AH_KEY)).empty());
              Click(e, IDCANCEL);
            })
      .Then(FindManager, [&](HWND d) { PostClick(d, IDOK); });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  CHECK(FolderEntries(program.hotkeys) == std::vector<std::string>{"Hotkey-00001.ini", "Hotkey-00002.ini",
                                                                   "Hotkey-00003.ini", "Hotkey-00004.ini",
                                                                   "e-folder.ini"});
  HotkeyDefinition absurd = ReadHotkeyFile(program.hotkeys + "\\Hotkey-00002.ini");
  CHECK(absurd.Alt == 1);
  CHECK(absurd.Win == 1);
  CHECK(absurd.vk == 99999);
  CHECK(absurd.Description == std::string(30000, 'D'));
  CHECK(absurd.ActionLines == std::vector<std::string>{"no equals sign", "%s%n%d"});
  CHECK(program.Get("Hotkey-00001.ini") == HotkeyFile(0, 0, 0, 0, 0, 0, ""));
}

TEST_CASE("manage hotkeys: a key code beyond the virtual keys shows as its number, is saved as read, never registered") {
  ProgramFixture program;
  program.Put("Hotkey-00001.ini", HotkeyFile(0, 1, 0, 0, 300, 1, "Far", {"Sleep 1"}));
  program.Put("Hotkey-00002.ini", HotkeyFile(1, 0, 0, 0, 'B', 1, "Near"));
  CManageHotkeysDlg dlg;
  dlg.SetFolder(program.hotkeys);
  DialogScript script;
  script
      .Then(FindManager,
            [&](HWND d) {
              HWND list = Item(d, IDC_MH_LIST);
              REQUIRE(RowCount(list) == 2);
              CHECK(Cell(list, 0, 0) == "CTRL+300");
              SelectRow(list, 1);
              Click(d, IDC_MH_UP);
              PostClick(d, IDOK);
            });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDOK);
  CHECK(script.Done());
  CHECK(program.Get("Hotkey-00001.ini") == HotkeyFile(1, 0, 0, 0, 'B', 1, "Near"));
  CHECK(program.Get("Hotkey-00002.ini") == HotkeyFile(0, 1, 0, 0, 300, 1, "Far", {"Sleep 1"}));

  Holder window;
  CHotkeyTable table;
  table.SetFolder(program.hotkeys);
  std::vector<std::string> reports;
  table.SetReport([&](HWND, const std::string& m) { reports.push_back(m); });
  CHECK(table.RegisterAll(window.hwnd()) == 2);
  CHECK(table.stats().registered == 1);
  CHECK(table.stats().failed == 1);
  REQUIRE(table.items().size() == 2);
  CHECK(table.items()[1].registered == 0);
  REQUIRE(reports.size() == 1);
  CHECK(reports[0].find("CTRL+300") != std::string::npos);
  table.UnregisterAll(window.hwnd());
}

TEST_CASE("manage hotkeys: a failed save that cannot put every old file back names the folder keeping them") {
  ProgramFixture program;
  program.Put("Hotkey-00001.ini", HotkeyFile(0, 0, 0, 1, 'A', 1, "One", {"Sleep 100"}));
  program.Put("b.ini", HotkeyFile(0, 0, 0, 1, 'B', 1, "Two"));
  // The second new file cannot go in, and the old b.ini cannot come back.
  MakeFolder(program.hotkeys + "\\Hotkey-00002.ini");
  const std::string oldB = program.Get("b.ini");
  CManageHotkeysDlg dlg;
  dlg.SetFolder(program.hotkeys);
  dlg.SetMover([&](const std::string& from, const std::string& to) {
    if (to == program.hotkeys + "\\b.ini") return false;
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
  });
  std::string message;
  DialogScript script;
  script
      .Then(FindManager, [&](HWND d) { PostClick(d, IDOK); })
      .Then(FindMessageBox,
            [&](HWND box) {
              message = MessageBoxText(box);
              ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            })
      .Then([] { return FindMessageBox() ? nullptr : FindManager(); },
            [&](HWND d) {
              CHECK(RowCount(Item(d, IDC_MH_LIST)) == 2);
              PostClick(d, IDCANCEL);
            });
  script.Start();
  CHECK(dlg.DoModal(nullptr) == IDCANCEL);
  CHECK(script.Done());
  // The one folder beside the hotkeys folder is the one the message names, with b.ini in it.
  std::vector<std::string> beside;
  for (const std::string& name : FolderEntries(program.dir.path())) {
    if (name.rfind("hotkeys.", 0) == 0) beside.push_back(program.dir / name);
  }
  REQUIRE(beside.size() == 1);
  CHECK(message == FormatLanguageText("L0200", {lang::FormatArg::Str(beside[0])}));
  CHECK(message.find(beside[0]) != std::string::npos);
  CHECK(message != Text("L0195"));
  CHECK(ReadFileBytes(beside[0] + "\\b.ini") == oldB);
  CHECK(program.Get("Hotkey-00001.ini") == HotkeyFile(0, 0, 0, 1, 'A', 1, "One", {"Sleep 100"}));
}

// ---- look -------------------------------------------------------------------------------------

namespace {

// Whether a control's text fits it: one line for buttons, check boxes and labels, wrapped lines for
// the header.
void CheckTextFits(HWND dialog, int id, bool bold, int reserved, bool wraps, int iconSpace = 0) {
  HWND control = Item(dialog, id);
  RECT rc = {};
  ::GetClientRect(control, &rc);
  const int room = rc.right - reserved - iconSpace;
  SIZE need = TextExtent(dialog, TextOf(control), wraps ? room : 0, bold);
  CAPTURE(TextOf(control));
  CAPTURE(id);
  CHECK(need.cx <= room);
  CHECK(need.cy <= rc.bottom);
}

// The whole window as the screen shows it.
void Shoot(HWND window, const std::string& name) {
  // Let every control paint first.
  for (int i = 0; i < 10; ++i) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    ::Sleep(30);
  }
  Pixels p = WindowPixels(window);
  CHECK(p.width > 400);
  CHECK(p.height > 300);
  std::map<uint32_t, int> colours;
  for (uint32_t px : p.bgra) ++colours[px & 0xFFFFFF];
  CHECK(colours.size() > 50);  // pictures, icons and text, not a blank rectangle
  int white = p.Count(RGB(255, 255, 255));
  CHECK(white > p.width * p.height / 5);
  CHECK(SaveShot(p, "hotkeydlg", name + ".png"));
}

void LookAtBoth(const char* language, const char* suffix) {
  ProgramFixture program(language);
  GdiplusFixture gdiplus;
  program.Put("Hotkey-00001.ini", HotkeyFile(0, 1, 0, 1, 'K', 1, "L0028", {"Sleep 2000", "EmptyClipboard"}));
  program.Put("Hotkey-00002.ini", HotkeyFile(1, 0, 1, 0, 113, 0, "Open the notes", {"VolumeUp 10"}));
  program.Put("Hotkey-00003.ini", HotkeyFile(0, 0, 0, 1, 'E', 1, "Explorer", {"Paste"}));
  CManageHotkeysDlg dlg;
  dlg.SetFolder(program.hotkeys);
  DialogScript script;
  script
      .Then(FindManager,
            [&](HWND d) {
              SelectRow(Item(d, IDC_MH_LIST), 1);
              CheckTextFits(d, IDC_MH_HEADER, true, 0, true, 32 + 2 + 8);
              for (int id : {IDC_MH_ADD, IDC_MH_DELETE, IDC_MH_EDIT, IDOK, IDCANCEL}) CheckTextFits(d, id, false, 6, false);
              Shoot(d, std::string("manage-") + suffix);
              SelectRow(Item(d, IDC_MH_LIST), 0);
              PostClick(d, IDC_MH_EDIT);
            })
      .Then(FindEditor,
            [&](HWND e) {
              SelectRow(Item(e, IDC_AH_ACTIONS), 0);
              for (int id : {IDC_AH_MODIFIER_LABEL, IDC_AH_KEY_LABEL, IDC_AH_ACTIONS_LABEL, IDC_AH_DESCRIPTION_LABEL}) {
                CheckTextFits(e, id, true, 0, false);
              }
              for (int id : {IDC_AH_ALT, IDC_AH_CTRL, IDC_AH_SHIFT, IDC_AH_WIN}) CheckTextFits(e, id, false, 18, false);
              for (int id : {IDOK, IDCANCEL}) CheckTextFits(e, id, false, 6, false);
              Shoot(e, std::string("editor-") + suffix);
              Click(e, IDCANCEL);
            })
      .Then(FindManager, [&](HWND d) { Click(d, IDCANCEL); });
  script.Start(20000);
  CHECK(dlg.DoModal(nullptr) == IDCANCEL);
  CHECK(script.Done());
}

}  // namespace

TEST_CASE("hotkey dialogs: English texts fit, screenshots are taken") { LookAtBoth("English.txt", "en"); }

TEST_CASE("hotkey dialogs: German texts fit, screenshots are taken") { LookAtBoth("Deutsch.txt", "de"); }
