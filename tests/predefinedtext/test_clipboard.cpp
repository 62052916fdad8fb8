#include <doctest/doctest.h>

#include <cstring>

#include "predefinedtext/clipboard.h"
#include "tests/predefinedtext/clipboard_support.h"

namespace {
// Private bytes include zeros and a size that is no multiple of anything.
const std::string kPrivate = std::string("priv\0ate\x01\xff", 10) + std::string(1001, 'p');

HWND MakeOwner() {
  return ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                           nullptr, nullptr, nullptr);
}
}  // namespace

TEST_CASE("every format comes back after something else was put on the clipboard") {
  HWND owner = MakeOwner();
  for (int bits : {1, 24, 32}) {
    for (int width : {1, 7, 9, 33}) {
      CAPTURE(bits);
      CAPTURE(width);
      FillClipboard("before", kPrivate, bits, width, 5);
      ClipboardState before = ReadClipboard();
      REQUIRE(before.bitmapWidth == width);
      CLIPBD::SavedClipboard saved = CLIPBD::SaveClipboard(owner);
      REQUIRE(CLIPBD::PutTextOnClipboard("something else", owner));
      CHECK(ReadClipboard().text == "something else");
      REQUIRE(CLIPBD::RestoreClipboard(std::move(saved), owner));
      ClipboardState after = ReadClipboard();
      CHECK(after.text == "before");
      CHECK(after.privateBytes.substr(0, kPrivate.size()) == kPrivate);
      CHECK(after.bitmapPixels == before.bitmapPixels);
      CHECK(after.formats == before.formats);
    }
  }
  ::DestroyWindow(owner);
}

TEST_CASE("an empty clipboard is empty again") {
  HWND owner = MakeOwner();
  FillClipboard("", "", 0);
  CLIPBD::SavedClipboard saved = CLIPBD::SaveClipboard(owner);
  CHECK(saved.empty());
  REQUIRE(CLIPBD::PutTextOnClipboard("", owner));
  CHECK(CLIPBD::RestoreClipboard(std::move(saved), owner));
  CHECK(ReadClipboard().formats.empty());
  ::DestroyWindow(owner);
}

TEST_CASE("a clipboard held by another window is not written and loses nothing") {
  HWND owner = MakeOwner(), holder = MakeOwner();
  FillClipboard("secret", kPrivate, 0);
  CLIPBD::SavedClipboard saved = CLIPBD::SaveClipboard(owner);
  REQUIRE(::OpenClipboard(holder));
  CHECK_FALSE(CLIPBD::PutTextOnClipboard("new text", owner));
  CHECK_FALSE(CLIPBD::RestoreClipboard(std::move(saved), owner));
  ::CloseClipboard();
  CHECK(ReadClipboard().text == "secret");
  ::DestroyWindow(owner);
  ::DestroyWindow(holder);
}

TEST_CASE("damaged saved blocks are skipped on restore") {
  HWND owner = MakeOwner();
  CLIPBD::SavedClipboard saved;
  CLIPBD::CClipboardFormatData bitmap;
  bitmap.format = CF_BITMAP;
  bitmap.size = 48;  // a header that promises far more pixel rows than the block holds
  bitmap.data.reset(::LocalAlloc(LPTR, 48));
  auto* header = static_cast<BITMAPINFOHEADER*>(bitmap.data.get());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = 1000;
  header->biHeight = 1000;
  header->biPlanes = 1;
  header->biBitCount = 24;
  saved.push_back(std::move(bitmap));
  CLIPBD::CClipboardFormatData text;
  text.format = CF_TEXT;
  text.size = 3;
  text.data.reset(::LocalAlloc(LPTR, 3));
  std::memcpy(text.data.get(), "ok", 3);
  saved.push_back(std::move(text));
  REQUIRE(CLIPBD::RestoreClipboard(std::move(saved), owner));
  ClipboardState after = ReadClipboard();
  CHECK(after.text == "ok");
  CHECK(after.bitmapPixels.empty());
  ::DestroyWindow(owner);
}
