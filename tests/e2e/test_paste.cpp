#include <doctest/doctest.h>

#include "predefinedtext/clipboard.h"
#include "tests/e2e/e2e_support.h"
#include "tests/predefinedtext/clipboard_support.h"

namespace {
std::string EditText(HWND edit) {
  char buf[1024] = {};
  ::SendMessageA(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}
}  // namespace

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
  CHECK(WaitUntil([&] { return (pasted = EditText(edit)) == expected; }, 5000));
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
