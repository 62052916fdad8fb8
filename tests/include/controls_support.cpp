#include "tests/include/controls_support.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "include/handles.h"

GdiplusFixture::GdiplusFixture() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}

GdiplusFixture::~GdiplusFixture() {
  if (m_token) Gdiplus::GdiplusShutdown(m_token);
}

namespace {
const char kParentClass[] = "QuorvelControlTestParent";

void RegisterParentClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kParentClass;
  ::RegisterClassA(&wc);
  done = true;
}
}  // namespace

TestParent::TestParent(int width, int height, HFONT font) {
  RegisterParentClass();
  if (font) {
    m_font = font;
  } else {
    // Without antialiasing every text pixel has exactly the text colour, which the tests count.
    m_ownedFont.reset(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma"));
    m_font = m_ownedFont.get();
  }
  RECT rc = {0, 0, width, height};
  ::AdjustWindowRectEx(&rc, WS_POPUP, FALSE, 0);
  m_hwnd = ::CreateWindowExA(0, kParentClass, "controls", WS_POPUP, 40, 40, rc.right - rc.left, rc.bottom - rc.top,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestParent::Proc));
  ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
  ::UpdateWindow(m_hwnd);
  PumpMessages();
}

TestParent::~TestParent() {
  ::DestroyWindow(m_hwnd);
  PumpMessages();
}

HWND TestParent::AddChild(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  HWND child = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                 nullptr);
  ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  return child;
}

LRESULT CALLBACK TestParent::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestParent*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self) {
    switch (msg) {
      case WM_GETFONT:
        return reinterpret_cast<LRESULT>(self->m_font);
      case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (self->onErase && self->onErase(dc)) return 1;
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        BrushHandle brush(::CreateSolidBrush(kParentColour));
        ::FillRect(dc, &rc, brush.get());
        return 1;
      }
      case WM_COMMAND: {
        CommandRecord record{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
        self->commands.push_back(record);
        if (self->onCommand) self->onCommand(record);
        return 0;
      }
      default:
        break;
    }
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
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

long LiveGdiObjects() {
  DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted) return static_cast<long>(counted);
  // Freed entries are handed out again before unused ones, and a handle's low word is its entry,
  // so the highest entry the probes get, less their number, tells how many entries are in use.
  const int probes = 6000;
  std::vector<HGDIOBJ> made;
  made.reserve(probes);
  long highest = 0;
  for (int i = 0; i < probes; ++i) {
    HGDIOBJ h = ::CreateSolidBrush(RGB(1, 2, 3));
    if (!h) break;
    made.push_back(h);
    highest = std::max(highest, static_cast<long>(reinterpret_cast<ULONG_PTR>(h) & 0xFFFF));
  }
  for (HGDIOBJ h : made) ::DeleteObject(h);
  return highest + 1 - static_cast<long>(made.size());
}

int ThreadWindowCount() {
  int count = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}
