// Every dialog of the program from the keyboard, as a user works it. Each dialog runs on a thread of
// its own (tests/support/keyboard.h), so the keys go through its real modal loop and dialog manager.
#include <doctest/doctest.h>

#include <windows.h>

#include "include/BoldTextStatic.h"
#include "include/HyperLinkButton.h"
#include "include/IconButton.h"
#include "tests/support/keyboard.h"

namespace {

HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

}  // namespace

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

