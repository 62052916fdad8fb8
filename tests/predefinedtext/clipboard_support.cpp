#include "tests/predefinedtext/clipboard_support.h"

#include <cstring>

#include "include/codepage_win.h"
#include "predefinedtext/placeholders.h"

UINT TestFormat() { return ::RegisterClipboardFormatA("Quorvel Test Format"); }

namespace {

HBITMAP MakeBitmap(int bits, int width, int height) {
  // A pattern that differs per pixel, so a wrong row length shows as changed pixels.
  HDC screen = ::GetDC(nullptr);
  HBITMAP bmp = nullptr;
  if (bits == 1) {
    bmp = ::CreateBitmap(width, height, 1, 1, nullptr);
  } else {
    bmp = ::CreateCompatibleBitmap(screen, width, height);
  }
  HDC mem = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF c = bits == 1 ? ((x + y) % 3 ? RGB(255, 255, 255) : RGB(0, 0, 0)) : RGB(x * 25, y * 40, (x * y) % 256);
      ::SetPixel(mem, x, y, c);
    }
  }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return bmp;
}

std::string Pixels(HBITMAP bmp, int& width, int& height) {
  BITMAP bm = {};
  ::GetObjectA(bmp, sizeof bm, &bm);
  width = bm.bmWidth;
  height = bm.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::string rows(static_cast<size_t>(width) * height * 4, '\0');
  HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, bmp, 0, height, &rows[0], &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  return rows;
}

}  // namespace

void FillClipboard(const std::string& text, const std::string& privateBytes, int bitmapBits, int width, int height) {
  if (!::OpenClipboard(nullptr)) return;
  ::EmptyClipboard();
  if (!text.empty()) {
    HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(g), text.c_str(), text.size() + 1);
    ::GlobalUnlock(g);
    ::SetClipboardData(CF_TEXT, g);
  }
  if (!privateBytes.empty()) {
    HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, privateBytes.size());
    std::memcpy(::GlobalLock(g), privateBytes.data(), privateBytes.size());
    ::GlobalUnlock(g);
    ::SetClipboardData(TestFormat(), g);
  }
  if (bitmapBits) ::SetClipboardData(CF_BITMAP, MakeBitmap(bitmapBits, width, height));
  ::CloseClipboard();
}

std::string OpenClipboardText(UINT format) {
  HANDLE h = ::GetClipboardData(format);
  const void* p = h ? ::GlobalLock(h) : nullptr;
  if (!p) return {};
  std::string text = format == CF_UNICODETEXT ? unicode::Utf8FromWide(static_cast<const wchar_t*>(p))
                                              : std::string(static_cast<const char*>(p));
  ::GlobalUnlock(h);
  return text;
}

ClipboardState ReadClipboard() {
  ClipboardState s;
  if (!::OpenClipboard(nullptr)) return s;
  for (UINT f = ::EnumClipboardFormats(0); f; f = ::EnumClipboardFormats(f)) s.formats.push_back(f);
  s.text = OpenClipboardText(CF_TEXT);
  s.unicodeText = OpenClipboardText(CF_UNICODETEXT);
  if (HANDLE h = ::GetClipboardData(TestFormat())) {
    if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
      s.privateBytes.assign(p, ::GlobalSize(h));
      ::GlobalUnlock(h);
    }
  }
  if (HANDLE h = ::GetClipboardData(CF_BITMAP)) s.bitmapPixels = Pixels(static_cast<HBITMAP>(h), s.bitmapWidth, s.bitmapHeight);
  ::CloseClipboard();
  return s;
}
