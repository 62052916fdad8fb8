// Every dialog of the program from the keyboard, in both shipped languages, as a user works it:
// each control's access key is its own, Alt with a label's key reaches the box after the label,
// Alt with a check box's key ticks it, and Tab walks the controls in reading order. Then the keys
// of the lists, the tree and the shutdown buttons. Each dialog runs on a thread of its own
// (tests/support/keyboard.h), so the keys go through its real modal loop and dialog manager.
#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "aboutdlg_ids.h"
#include "actions/addactiondlg.h"
#include "actions/closecomputerdlg.h"
#include "addactiondlg_ids.h"
#include "app/OptionDlg.h"
#include "app/aboutdlg.h"
#include "app/maindlg.h"
#include "closecomputerdlg_ids.h"
#include "hotkeydlgs_ids.h"
#include "hotkeys/addHotkeydlg.h"
#include "hotkeys/opt_hotkeys.h"
#include "include/BoldTextStatic.h"
#include "include/HyperLinkButton.h"
#include "include/IconButton.h"
#include "include/xmlcodec_win.h"
#include "language/language.h"
#include "predefinedtext/opt_textshortcuts.h"
#include "tests/actions/fakepower.h"
#include "tests/support/capture.h"
#include "tests/support/keyboard.h"
#include "tests/support/modal.h"
#include "tests/support/programfolder.h"
#include "tests/winsupport.h"
#include "textshortcuts_ids.h"

namespace {

const std::string kLanguages[] = {"English.txt", "Deutsch.txt"};

// A program folder with two hotkeys and the shipped text shortcuts.
struct Program : ProgramFolder {
  std::string hotkeys = dir / "hotkeys";
  std::string store = dir / "predefinedtext\\data.xml";
  explicit Program(const char* language) : ProgramFolder(language) {
    xml::InstallWin32Platform();
    MakeFolder(hotkeys);
    MakeFolder(dir / "predefinedtext");
    WriteFileBytes(store, ReadFileBytes(std::string(QUORVEL_PROGRAM_DIR) + "\\predefinedtext\\data.xml"));
    WriteFileBytes(hotkeys + "\\Hotkey-00001.ini",
                   "[Setting]\r\nAlt=0\r\nCtrl=1\r\nShift=0\r\nWin=1\r\nvk=75\r\nEnable=1\r\nDescription=One\r\n"
                   "[Action]\r\nAction00001=Sleep 1000\r\nAction00002=InsertPredefinedText\r\n");
    WriteFileBytes(hotkeys + "\\Hotkey-00002.ini",
                   "[Setting]\r\nAlt=1\r\nCtrl=0\r\nShift=1\r\nWin=0\r\nvk=113\r\nEnable=1\r\nDescription=Two\r\n"
                   "[Action]\r\nAction00001=EmptyClipboard\r\n");
  }
};

OptionsEnvironment OptionsIn(const Program& program) {
  OptionsEnvironment env = OptionsEnvironment::ForThisProgram();
  std::string folder = program.dir / "language";
  env.listLanguages = [folder] { return ListLanguageFilesIn(folder); };
  return env;
}

// The action editor with one drive and no mail program.
bool ComposeWithoutSideEffects(HWND owner, std::string& line) {
  CAddActionDlg dlg([] { return std::vector<std::string>{"D:"}; }, [](const std::string&) {});
  if (dlg.DoModal(owner) != IDOK) return false;
  line = dlg.GetActionLine();
  return true;
}

HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

void SelectRow(HWND list, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
std::string Cell(HWND list, int row) {
  char buf[512] = {};
  LVITEMA item = {};
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buf;
}
int RowCount(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
int SelectedRow(HWND list) {
  return static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
bool RowChecked(HWND list, int row) {
  return ((::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12) - 1) != 0;
}

// The key the language marks in the text of `key`.
BYTE AccessKeyOfText(const char* key) {
  std::string keys = lang::AccessKeys(GetLanguageText(key));
  REQUIRE(keys.size() == 1);
  return KeyOf(keys[0]);
}

// A dialog of `thread` other than `below`, in front.
HWND NextDialog(const DialogThread& thread, HWND below) {
  return thread.WaitDialog([below](HWND h) { return h != below && ::IsWindowEnabled(h); });
}

bool FocusOn(HWND dialog, HWND control) {
  return WaitPumping([&] { return FocusIn(dialog) == control; }, 3000);
}

}  // namespace

// Each of these checks a dialog in both shipped languages: its access keys are its own, Alt with a
// label's key reaches the box after the label, Alt with a check box's key ticks it, Tab walks the
// controls in reading order (tests/support/keyboard.h: CheckKeyboardUse).

TEST_CASE("keyboard in both languages: the about box") {
  for (const std::string& language : kLanguages) {
    CAPTURE(language);
    Program program(language.c_str());
    CAboutDlg dlg;
    DialogThread thread([&] { return dlg.DoModal(nullptr); });
    HWND about = thread.WaitTopDialog();
    REQUIRE(about);
    // The legal notice is the program's own version text, not a language text.
    CheckKeyboardUse(about, {IDC_ABOUT_LEGAL});
  }
}

TEST_CASE("keyboard in both languages: the options with the general page") {
  for (const std::string& language : kLanguages) {
    CAPTURE(language);
    Program program(language.c_str());
    COptionDlg dlg(OptionsIn(program));
    DialogThread thread([&] { return dlg.DoModal(nullptr); });
    HWND options = thread.WaitTopDialog();
    REQUIRE(options);
    CheckKeyboardUse(options);
  }
}

TEST_CASE("keyboard in both languages: manage hotkeys, the hotkey editor, the action editor and each of its pages") {
  for (const std::string& language : kLanguages) {
    CAPTURE(language);
    Program program(language.c_str());
    CManageHotkeysDlg dlg(ComposeWithoutSideEffects);
    dlg.SetFolder(program.hotkeys);
    DialogThread thread([&] { return dlg.DoModal(nullptr); });
    HWND manage = thread.WaitTopDialog();
    REQUIRE(manage);
    SelectRow(Item(manage, IDC_MH_LIST), 0);  // so that every button takes the focus
    CheckKeyboardUse(manage);

    // The edit button's key opens the editor of the selected hotkey.
    InjectChord({VK_MENU}, AccessKeyOfText("L0010"));
    HWND editor = NextDialog(thread, manage);
    REQUIRE(editor);
    CHECK(::GetDlgItem(editor, IDC_AH_KEY));
    SelectRow(Item(editor, IDC_AH_ACTIONS), 0);
    CheckKeyboardUse(editor);

    // The add button has no text; its click opens the action editor.
    ::PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDC_AH_ADD_ACTION, BN_CLICKED), 0);
    HWND actions = NextDialog(thread, editor);
    REQUIRE(actions);
    HWND kinds = Item(actions, IDC_AA_KINDLIST);
    for (const std::string& kind : ComboItems(kinds)) CHECK(kind.find('&') == std::string::npos);
    const BYTE kindKey = AccessKeyOfText("L0035");
    auto onKinds = [&](HWND f) { return f == kinds; };
    REQUIRE(PressAndWaitFocus(actions, {VK_MENU}, kindKey, onKinds));
    InjectChord({}, VK_HOME);
    REQUIRE(WaitPumping([&] { return ::SendMessageA(kinds, CB_GETCURSEL, 0, 0) == 0; }, 3000));
    const int count = static_cast<int>(::SendMessageA(kinds, CB_GETCOUNT, 0, 0));
    CHECK(count == 18);
    for (int index = 0; index < count; ++index) {
      CAPTURE(index);
      if (index > 0) {
        REQUIRE(PressAndWaitFocus(actions, {VK_MENU}, kindKey, onKinds));
        InjectChord({}, VK_DOWN);
        REQUIRE(WaitPumping([&] { return ::SendMessageA(kinds, CB_GETCURSEL, 0, 0) == index; }, 3000));
      }
      CheckKeyboardUse(actions);
    }
  }
}

TEST_CASE("keyboard in both languages: the shutdown dialog") {
  for (const std::string& language : kLanguages) {
    CAPTURE(language);
    Program program(language.c_str());
    FakePowerActions power;
    CCloseComputerDlg dlg(power, [] { return uint64_t(90061000); });
    DialogThread thread([&] { return dlg.DoModal(nullptr); });
    HWND shutdown = thread.WaitTopDialog();
    REQUIRE(shutdown);
    CheckKeyboardUse(shutdown);
    CHECK(power.calls.empty());
    // For a person to look at: each button's key underlined.
    CHECK(SaveShot(WindowPixels(shutdown), "shutdown", std::string("keys-") + (language == "English.txt" ? "en" : "de") + ".png"));
  }
}

TEST_CASE("keyboard in both languages: the text shortcuts editor") {
  for (const std::string& language : kLanguages) {
    CAPTURE(language);
    Program program(language.c_str());
    CTextShortcutsDlg dlg(program.store);
    DialogThread thread([&] { return dlg.DoModal(nullptr); });
    HWND editor = thread.WaitTopDialog();
    REQUIRE(editor);
    CheckKeyboardUse(editor);
  }
}

namespace {

// A dialog with one of each drawn control, made from an empty template, that counts the clicks it
// gets from each.
struct DrawnControlsDialog {
  enum { kLabel = 10, kEdit, kButton, kLink, kCount };
  CBoldTextStatic label;
  CIconButton button;
  CHyperLinkButton link;
  volatile LONG clicks[kCount] = {};

  INT_PTR Show() {
    struct alignas(4) Template {
      DLGTEMPLATE dialog;
      WORD menu, windowClass, title;
    } empty = {};
    empty.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    empty.dialog.cx = 240;
    empty.dialog.cy = 120;
    return ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), &empty.dialog, nullptr, &Proc,
                                     reinterpret_cast<LPARAM>(this));
  }
  LONG Clicks(int id) const { return clicks[id]; }

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
      auto* self = reinterpret_cast<DrawnControlsDialog*>(lParam);
      ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      auto add = [dialog](const char* cls, const char* text, DWORD style, int id, int y, int h) {
        return ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 200, h, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                 nullptr);
      };
      self->label.SubclassWindow(add("STATIC", "&Name:", SS_LEFT, kLabel, 10, 16));
      add("EDIT", "", WS_BORDER | WS_TABSTOP, kEdit, 30, 22);
      self->button.SubclassWindow(add("BUTTON", "&Go", BS_PUSHBUTTON | WS_TABSTOP, kButton, 60, 26));
      // Taller than its text, as links are: the corner of the control lies off the text.
      self->link.SubclassWindow(add("BUTTON", "&Link", BS_PUSHBUTTON | BS_LEFT | WS_TABSTOP, kLink, 100, 34));
      return TRUE;
    }
    auto* self = reinterpret_cast<DrawnControlsDialog*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (msg == WM_COMMAND && self && HIWORD(wParam) == BN_CLICKED) {
      int id = LOWORD(wParam);
      if (id == IDCANCEL) ::EndDialog(dialog, IDCANCEL);
      if (id >= kLabel && id < kCount) ::InterlockedIncrement(&self->clicks[id]);
      return TRUE;
    }
    return FALSE;
  }
};

}  // namespace

TEST_CASE("drawn labels, buttons and links answer Alt and their key in a dialog") {
  DrawnControlsDialog controls;
  DialogThread thread([&] { return controls.Show(); });
  HWND dialog = thread.WaitTopDialog();
  REQUIRE(dialog);
  HWND edit = Item(dialog, DrawnControlsDialog::kEdit);
  CHECK(PressAndWaitFocus(dialog, {VK_MENU}, 'N', [&](HWND f) { return f == edit; }));
  InjectChord({VK_MENU}, 'G');
  CHECK(WaitPumping([&] { return controls.Clicks(DrawnControlsDialog::kButton) == 1; }, 3000));
  InjectChord({VK_MENU}, 'L');
  CHECK(WaitPumping([&] { return controls.Clicks(DrawnControlsDialog::kLink) == 1; }, 3000));
  CHECK(controls.Clicks(DrawnControlsDialog::kButton) == 1);
  // Each click once, and the focus stays where it was.
  WaitPumping([] { return false; }, 300);
  CHECK(controls.Clicks(DrawnControlsDialog::kLink) == 1);
  CHECK(FocusIn(dialog) == edit);
}

namespace {

// The access keys of the entries of `menu` and of its submenus: one each, none twice in a menu.
void CheckMenuAccessKeys(HMENU menu, const std::string& path) {
  std::string seen;
  for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
    char text[256] = {};
    if (::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) <= 0) continue;
    CAPTURE(path);
    CAPTURE(std::string(text));
    HMENU sub = ::GetSubMenu(menu, i);
    // A drive's entry is its letter and colon alone.
    if (!sub && std::string(text).find(':') == 1) continue;
    const std::string keys = lang::AccessKeys(text);
    REQUIRE(keys.size() == 1);
    CHECK(seen.find(static_cast<char>(KeyOf(keys[0]))) == std::string::npos);
    seen += static_cast<char>(KeyOf(keys[0]));
    if (sub) CheckMenuAccessKeys(sub, path + " > " + text);
  }
  CHECK(::GetMenuItemCount(menu) > 0);
}

}  // namespace

TEST_CASE("tray menu in both languages: each entry has an access key of its own") {
  for (const std::string& language : kLanguages) {
    CAPTURE(language);
    Program program(language.c_str());
    MenuHandle menu = CMainDlg::BuildTrayMenu({"D:", "E:"});
    REQUIRE(menu);
    CHECK(::GetMenuItemCount(menu.get()) == 11);
    CheckMenuAccessKeys(menu.get(), "tray menu");
  }
}

TEST_CASE("manage hotkeys: Space ticks the focused row, Delete deletes it, Enter edits it") {
  Program program("English.txt");
  CManageHotkeysDlg dlg(ComposeWithoutSideEffects);
  dlg.SetFolder(program.hotkeys);
  DialogThread thread([&] { return dlg.DoModal(nullptr); });
  HWND manage = thread.WaitTopDialog();
  REQUIRE(manage);
  HWND list = Item(manage, IDC_MH_LIST);
  // The header names the list: its key puts the focus there; Down stands on the first row.
  REQUIRE(PressAndWaitFocus(manage, {VK_MENU}, AccessKeyOfText("L0034"), [&](HWND f) { return f == list; }));
  InjectChord({}, VK_DOWN);
  REQUIRE(WaitPumping([&] { return SelectedRow(list) == 0; }, 3000));

  CHECK(RowChecked(list, 0));
  InjectChord({}, VK_SPACE);
  CHECK(WaitPumping([&] { return !RowChecked(list, 0); }, 3000));
  CHECK(RowChecked(list, 1));
  // A click beside the rows clears the selection and leaves the keyboard on the row: Space then
  // ticks that row and selects it.
  LVITEMA off = {};
  off.stateMask = LVIS_SELECTED;
  ::SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&off));
  REQUIRE(SelectedRow(list) == -1);
  InjectChord({}, VK_SPACE);
  CHECK(WaitPumping([&] { return RowChecked(list, 0); }, 3000));
  CHECK(SelectedRow(list) == 0);
  CHECK(RowChecked(list, 1));

  // Enter edits the row: the editor of the first hotkey, not the dialog's OK.
  InjectChord({}, VK_RETURN);
  HWND editor = NextDialog(thread, manage);
  REQUIRE(editor);
  CHECK(TextOf(editor) == GetPlainLanguageText("L0010"));
  CHECK(TextOf(Item(editor, IDC_AH_DESCRIPTION)) == "One");
  InjectChord({}, VK_ESCAPE);
  REQUIRE(WaitPumping([&] { return !::IsWindow(editor); }, 3000));
  REQUIRE(FocusOn(manage, list));

  // Delete deletes the row and selects the one that takes its place.
  InjectChord({}, VK_DELETE);
  CHECK(WaitPumping([&] { return RowCount(list) == 1; }, 3000));
  CHECK(SelectedRow(list) == 0);
  CHECK(::IsWindowVisible(manage));
  // Nothing reached the disk: the dialog is still open, Cancel drops it all.
  InjectChord({}, VK_ESCAPE);
  REQUIRE(thread.WaitEnd());
  CHECK(thread.result() == IDCANCEL);
  CHECK(FileExists(program.hotkeys + "\\Hotkey-00002.ini"));
}

TEST_CASE("hotkey editor: Delete removes the selected action line") {
  Program program("English.txt");
  CAddHotkeyDlg dlg(ComposeWithoutSideEffects);
  HotkeyDefinition hotkey;
  hotkey.Win = 1;
  hotkey.vk = 'K';
  hotkey.Description = "One";
  hotkey.ActionLines = {"Sleep 1000", "InsertPredefinedText", "Paste"};
  dlg.SetHotkey(hotkey);
  dlg.SetCaption(GetLanguageText("L0010"));
  DialogThread thread([&] { return dlg.DoModal(nullptr); });
  HWND editor = thread.WaitTopDialog();
  REQUIRE(editor);
  // The caption is the edit button's text, shown without its access key mark.
  CHECK(TextOf(editor) == "Edit hotkey");
  HWND list = Item(editor, IDC_AH_ACTIONS);
  REQUIRE(PressAndWaitFocus(editor, {VK_MENU}, AccessKeyOfText("L0026"), [&](HWND f) { return f == list; }));
  InjectChord({}, VK_DOWN);
  InjectChord({}, VK_DOWN);
  REQUIRE(WaitPumping([&] { return SelectedRow(list) == 1; }, 3000));
  // The line's text is the text shortcuts button's, without its mark.
  CHECK(Cell(list, 1) == "Text shortcuts");
  InjectChord({}, VK_DELETE);
  CHECK(WaitPumping([&] { return RowCount(list) == 2; }, 3000));
  CHECK(SelectedRow(list) == 1);
  InjectChord({}, VK_RETURN);
  REQUIRE(thread.WaitEnd());
  CHECK(thread.result() == IDOK);
  CHECK(dlg.Hotkey().ActionLines == std::vector<std::string>{"Sleep 1000", "Paste"});
}

TEST_CASE("text shortcuts editor: F2 renames the entry in place, Delete deletes it once confirmed") {
  Program program("English.txt");
  CTextShortcutsDlg dlg(program.store);
  DialogThread thread([&] { return dlg.DoModal(nullptr); });
  HWND editor = thread.WaitTopDialog();
  REQUIRE(editor);
  HWND tree = Item(editor, IDC_TS_TREE);
  REQUIRE(FocusOn(editor, tree));
  auto count = [&] { return static_cast<int>(TreeView_GetCount(tree)); };
  auto nameEditor = [&] { return reinterpret_cast<HWND>(::SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0)); };
  const int before = count();
  HTREEITEM first = TreeView_GetSelection(tree);
  REQUIRE(first);

  InjectChord({}, VK_F2);
  REQUIRE(WaitPumping([&] { return nameEditor() != nullptr; }, 3000));
  for (char c : std::string("MINE")) InjectChord({}, static_cast<BYTE>(c));
  InjectChord({}, VK_RETURN);
  CHECK(WaitPumping([&] { return nameEditor() == nullptr && TreeItemText(tree, first) == "mine"; }, 3000));
  CHECK(::IsWindowVisible(editor));

  InjectChord({}, VK_DELETE);
  HWND question = NextDialog(thread, editor);
  REQUIRE(question);
  CHECK(MessageBoxText(question).find("mine") != std::string::npos);
  InjectChord({}, VK_RETURN);
  CHECK(WaitPumping([&] { return count() < before && TreeView_GetSelection(tree) != first; }, 3000));
  CHECK(::IsWindowVisible(editor));
}

TEST_CASE("shutdown dialog: Alt and a button's key runs it; the key typed alone does nothing") {
  struct Case {
    int id;
    const char* key;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {IDC_CC_SHUTDOWN, "L0094", {"privilege", "exit 1 0"}},
      {IDC_CC_RESTART, "L0095", {"privilege", "exit 2 0"}},
      {IDC_CC_SLEEP, "L0096", {"privilege", "power suspend force"}},
      {IDC_CC_LOGOFF, "L0097", {"exit 0 0"}},
      {IDC_CC_HIBERNATE, "L0098", {"privilege", "power hibernate force"}},
  };
  for (const std::string& language : kLanguages) {
    Program program(language.c_str());
    for (const Case& c : cases) {
      CAPTURE(language);
      CAPTURE(c.key);
      FakePowerActions power;
      CCloseComputerDlg dlg(power, [] { return uint64_t(60000); });
      DialogThread thread([&] { return dlg.DoModal(nullptr); });
      HWND shutdown = thread.WaitTopDialog();
      REQUIRE(shutdown);
      const BYTE key = AccessKeyOfText(c.key);
      // On the close button and on the button itself alike, a stray key is no command.
      for (HWND focus : {Item(shutdown, IDCANCEL), Item(shutdown, c.id)}) {
        ::PostMessageA(shutdown, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
        REQUIRE(FocusOn(shutdown, focus));
        InjectChord({}, key);
        WaitPumping([] { return false; }, 300);
        CHECK(power.calls.empty());
        CHECK(::IsWindowVisible(shutdown));
      }
      InjectChord({VK_MENU}, key);
      REQUIRE(thread.WaitEnd());
      CHECK(power.calls == c.calls);
    }
  }
}
