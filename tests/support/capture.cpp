#include "tests/support/capture.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "include/handles.h"

GdiplusFixture::GdiplusFixture() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}

GdiplusFixture::~GdiplusFixture() {
  if (m_token) Gdiplus::GdiplusShutdown(m_token);
}

COLORREF Pixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  uint32_t v = bgra[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Pixels::Count(COLORREF colour, int tolerance, RECT area) const {
  int n = 0;
  for (int y = std::max(0L, area.top); y < std::min<long>(height, area.bottom); ++y)
    for (int x = std::max(0L, area.left); x < std::min<long>(width, area.right); ++x)
      if (Near(At(x, y), colour, tolerance)) ++n;
  return n;
}

std::pair<int, int> Pixels::RowsWhere(const std::function<bool(COLORREF)>& test) const {
  int top = height, bottom = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (test(At(x, y))) {
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
      }
  return {top, bottom};
}

namespace {
struct Dib {
  MemoryDc dc;
  BitmapHandle bitmap;
  uint32_t* bits = nullptr;
  HGDIOBJ old = nullptr;
  Dib(int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    dc.reset(::CreateCompatibleDC(nullptr));
    bitmap.reset(::CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &p, nullptr, 0));
    bits = static_cast<uint32_t*>(p);
    old = ::SelectObject(dc.get(), bitmap.get());
  }
  ~Dib() { ::SelectObject(dc.get(), old); }
  Pixels Read(int w, int h) const {
    ::GdiFlush();
    Pixels px;
    px.width = w;
    px.height = h;
    px.bgra.assign(bits, bits + static_cast<size_t>(w) * static_cast<size_t>(h));
    return px;
  }
};
}  // namespace

Pixels PaintWith(HWND hwnd, const std::function<void(HDC)>& paint, COLORREF fill) {
  RECT rc;
  ::GetClientRect(hwnd, &rc);
  Dib dib(rc.right, rc.bottom);
  BrushHandle brush(::CreateSolidBrush(fill));
  ::FillRect(dib.dc.get(), &rc, brush.get());
  paint(dib.dc.get());
  return dib.Read(rc.right, rc.bottom);
}

Pixels PrintClient(HWND hwnd, COLORREF fill) {
  return PaintWith(
      hwnd, [hwnd](HDC dc) { ::SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); },
      fill);
}

Pixels ScreenPixels(HWND hwnd) {
  HWND top = ::GetAncestor(hwnd, GA_ROOT);
  ::RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  RECT rc;
  ::GetClientRect(hwnd, &rc);
  Dib dib(rc.right, rc.bottom);
  ClientDc dc(hwnd);
  ::BitBlt(dib.dc.get(), 0, 0, rc.right, rc.bottom, dc.get(), 0, 0, SRCCOPY);
  return dib.Read(rc.right, rc.bottom);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  if (a == CLR_INVALID || b == CLR_INVALID) return false;
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string ColourText(COLORREF c) {
  if (c == CLR_INVALID) return "(outside)";
  return "(" + std::to_string(GetRValue(c)) + ", " + std::to_string(GetGValue(c)) + ", " +
         std::to_string(GetBValue(c)) + ")";
}

void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(1);
  }
}

namespace {
bool PngEncoder(CLSID* clsid) {
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i)
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      *clsid = codecs[i].Clsid;
      return true;
    }
  return false;
}
}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::function<uint32_t(int, int)>& pixel) {
  CLSID png;
  if (!PngEncoder(&png)) return false;
  Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(pixel(x, y)));
  std::wstring wide(path.begin(), path.end());
  return bitmap.Save(wide.c_str(), &png, nullptr) == Gdiplus::Ok;
}

Pixels WindowPixels(HWND hwnd) {
  // Another program's window paints on its own thread: only this thread's windows are redrawn first.
  if (::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId()) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    PumpMessages();
    ::Sleep(100);
    PumpMessages();
  }
  RECT rc = {};
  ::GetWindowRect(hwnd, &rc);
  return ScreenRect(rc);
}

Pixels ScreenRect(const RECT& rc) {
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0) return {};
  Dib dib(width, height);
  ClientDc screen(nullptr);
  ::BitBlt(dib.dc.get(), 0, 0, width, height, screen.get(), rc.left, rc.top, SRCCOPY);
  return dib.Read(width, height);
}

SIZE TextExtent(HWND fontOf, const std::string& text, int wrapWidth, bool bold, UINT format) {
  auto font = reinterpret_cast<HFONT>(::SendMessageA(fontOf, WM_GETFONT, 0, 0));
  LOGFONTA lf = {};
  ::GetObjectA(font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  if (bold) lf.lfWeight = FW_BOLD;
  FontHandle measured(::CreateFontIndirectA(&lf));
  ClientDc dc(fontOf);
  SelectedObject keep(dc.get(), measured.get());
  RECT rc = {0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
  ::DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CALCRECT | format | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  return SIZE{rc.right, rc.bottom};
}

std::string ShotPath(const std::string& area, const std::string& name) {
#ifdef QUORVEL_SHOT_DIR
  std::string folder = QUORVEL_SHOT_DIR;
#else
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "quorvel-shots";
#endif
  ::CreateDirectoryA(folder.c_str(), nullptr);
  folder += "\\" + area;
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

bool SaveShot(const Pixels& px, const std::string& area, const std::string& name) {
  if (px.width <= 0 || px.height <= 0) return false;
  GdiplusFixture gdiplus;
  return WritePng(ShotPath(area, name), px.width, px.height, [&](int x, int y) {
    return 0xFF000000u | px.bgra[static_cast<size_t>(y) * static_cast<size_t>(px.width) + static_cast<size_t>(x)];
  });
}
