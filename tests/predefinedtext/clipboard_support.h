// Filling and reading the clipboard in tests: text, a private registered format and bitmaps.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ClipboardState {
  std::vector<UINT> formats;  // in enumeration order
  std::string text;           // CF_TEXT, if any
  std::string unicodeText;    // CF_UNICODETEXT as UTF-8, if any
  std::string privateBytes;   // the "Quorvel Test Format" block, if any
  std::string bitmapPixels;   // CF_BITMAP read back as 32-bit rows, if any
  int bitmapWidth = 0, bitmapHeight = 0;
};

UINT TestFormat();
// Replaces the clipboard: text, then the private format, then a bitmap of the given depth (0: none).
void FillClipboard(const std::string& text, const std::string& privateBytes, int bitmapBits, int width = 9,
                   int height = 5);
ClipboardState ReadClipboard();
// The text of CF_TEXT, or of CF_UNICODETEXT as UTF-8, on the clipboard the caller holds open; empty
// when there is none.
std::string OpenClipboardText(UINT format);
