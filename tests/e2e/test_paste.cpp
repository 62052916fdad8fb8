#include <doctest/doctest.h>

#include <cstring>

#include "include/codepage_win.h"
#include "predefinedtext/PredefinedTextSelector.h"
#include "predefinedtext/clipboard.h"
#include "tests/e2e/e2e_support.h"
#include "tests/predefinedtext/clipboard_support.h"
#include "tests/support/utf16.h"

TEST_CASE("a text with placeholders is pasted into another program and the clipboard comes back") {
  RunningProcess target(QUORVEL_PASTE_TARGET);
  REQUIRE(target.started());
  HWND window = nullptr;
  HWND edit = nullptr;
  // The window can be found while it is still creating its edit control.
  REQUIRE(WaitUntil(
      [&] {
        window = ::FindWindowA("QuorvelPasteTarget", nullptr);
        return window && (edit = ::GetDlgItem(window, 100)) != nullptr;
      },
      10000));
  ::SetForegroundWindow(window);
  REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5000));

  FillClipboard("the user's own text", "private\x01\x02", 24, 9, 4);
  ClipboardState before = ReadClipboard();

  // The selector never takes the focus: a hidden tool window that does not activate.
  HWND selector = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, "STATIC", "", WS_POPUP, 0, 0,
                                    10, 10, nullptr, nullptr, nullptr, nullptr);
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  char expected[64];
  snprintf(expected, sizeof expected, "Sent %04d-%02d-%02d {YEAR}\r\nline two", st.wYear, st.wMonth, st.wDay);
  CLIPBD::InsertText("Sent {year}-{month}-{day} {YEAR}\r\nline two", selector);

  std::string pasted;
  CHECK(WaitUntil([&] { return (pasted = WindowText(edit)) == expected; }, 5000));
  CHECK(pasted == expected);
  CHECK_FALSE(::IsWindowVisible(selector));
  ClipboardState after = ReadClipboard();
  CHECK(after.text == before.text);
  CHECK(after.privateBytes.substr(0, 9) == "private\x01\x02");
  CHECK(after.bitmapPixels == before.bitmapPixels);
  CHECK(after.formats == before.formats);
  ::DestroyWindow(selector);
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  CHECK(target.WaitExit(5000) == 0);
}

namespace {

// "Łódź → € 😀 Ελλάδα": beyond any one code page, with a character outside the BMP.
const char kCity[] = "\xC5\x81\xC3\xB3" "d\xC5\xBA";
const char kMixed[] = "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x86\x92 \xE2\x82\xAC \xF0\x9F\x98\x80 "
                      "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";
// Two lines with a placeholder: "{day}.{month}.{year} ☺", then "zweite Zeile ü".
const char kTwoLinesStored[] = "{day}.{month}.{year} \xE2\x98\xBA\\r\\nzweite Zeile \xC3\xBC";
const std::string kPrivate = std::string("priv\0ate\x01\xff", 10);

std::string TwoLinesToday() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  char date[16];
  snprintf(date, sizeof date, "%02d.%02d.%04d", st.wDay, st.wMonth, st.wYear);
  return std::string(date) + " \xE2\x98\xBA\r\nzweite Zeile \xC3\xBC";
}

// The program with two such texts behind Ctrl+Shift+Alt+2, as data.xml is written: UTF-16.
struct UnicodeTexts {
  ProgramCopy program;
  UnicodeTexts() {
    WriteFileBytes(program / "predefinedtext\\data.xml",
                   Utf16LEFromUtf8("<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n<config><item name=\"" +
                                   std::string(kCity) + "\" value=\"" + kMixed +
                                   "\"/><item name=\"Zwei Zeilen \xE2\x98\xBA\" value=\"" + kTwoLinesStored +
                                   "\"/></config>"));
    WriteHotkeyFile(program / "hotkeys\\Hotkey-00001.ini", Combo('2'), {"InsertPredefinedText"});
  }
};

HWND OpenSelector() {
  PressChord({kCtrl, kShift, kAlt}, '2');
  HWND selector = nullptr;
  REQUIRE(WaitUntil([&] { return (selector = ::FindWindowA(kSelectorWindowClass, nullptr)) != nullptr; }, 10000));
  // Ready once the tree has its entries and the preview shows the first.
  REQUIRE(WaitUntil([&] { return WindowTextUtf8(::GetDlgItem(selector, kSelectorPreviewId)) == kMixed; }, 5000));
  // Windows' ANSI controls would show only what the code page has (Wine's show everything).
  CHECK(::IsWindowUnicode(::GetDlgItem(selector, kSelectorPreviewId)));
  CHECK(::IsWindowUnicode(::GetDlgItem(selector, kSelectorTreeId)));
  return selector;
}

}  // namespace

TEST_CASE("texts beyond the code page reach another program exactly; the user's clipboard waits out a program holding it") {
  UnicodeTexts store;
  RunningQuorvel q(store.program);
  PasteTarget target;
  FillClipboard("the user's own text", kPrivate, 0);

  HWND selector = OpenSelector();
  DoubleClickFirstSelectorEntry(selector);
  CHECK(WaitUntil([&] { return WindowTextUtf8(target.edit) == kMixed; }, 10000));
  CHECK(WindowTextUtf8(target.edit) == kMixed);

  // At once another program takes the clipboard and keeps it for 2 s, as clipboard managers and
  // remote desktops do, before the paste's wait is over.
  REQUIRE(::OpenClipboard(nullptr));
  CHECK(OpenClipboardText(CF_UNICODETEXT) == kMixed);  // still the pasted text: nothing came back yet
  // A program that asks only for code-page text gets the best the code page has.
  CHECK(OpenClipboardText(CF_TEXT) == unicode::AnsiFromUtf8(kMixed));
  ::Sleep(2000);
  ::CloseClipboard();
  CHECK(WaitUntil([] { return ReadClipboard().text == "the user's own text"; }, 5000));
  ClipboardState after = ReadClipboard();
  CHECK(after.text == "the user's own text");
  CHECK(after.privateBytes.substr(0, kPrivate.size()) == kPrivate);

  // The second entry: two lines and today's date, appended where the caret stands.
  selector = OpenSelector();
  DoubleClickSelectorEntry(selector, 1);
  std::string expected = std::string(kMixed) + TwoLinesToday();
  CHECK(WaitUntil([&] { return WindowTextUtf8(target.edit) == expected; }, 10000));
  CHECK(WindowTextUtf8(target.edit) == expected);
  CHECK(WaitUntil([] { return ReadClipboard().text == "the user's own text"; }, 5000));
}

TEST_CASE("a copy the user makes while the clipboard is held is never overwritten by the old contents") {
  UnicodeTexts store;
  RunningQuorvel q(store.program);
  PasteTarget target;
  FillClipboard("older", kPrivate, 0);
  DoubleClickFirstSelectorEntry(OpenSelector());
  REQUIRE(WaitUntil([&] { return WindowTextUtf8(target.edit) == kMixed; }, 10000));
  // The user copies something new while the paste still waits; the clipboard stays busy a while.
  REQUIRE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const std::wstring newer = L"newer copy \x00E9";
  HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, (newer.size() + 1) * sizeof(wchar_t));
  std::memcpy(::GlobalLock(g), newer.c_str(), (newer.size() + 1) * sizeof(wchar_t));
  ::GlobalUnlock(g);
  ::SetClipboardData(CF_UNICODETEXT, g);
  ::Sleep(1500);
  ::CloseClipboard();
  // Long past the paste's wait and the first tries to put the old contents back.
  WaitUntil([] { return false; }, 1500);
  ClipboardState now = ReadClipboard();
  CHECK(now.unicodeText == "newer copy \xC3\xA9");
  CHECK(now.privateBytes.empty());
  CHECK(q.process.Running());
}
