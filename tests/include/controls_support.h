// A parent window for control tests, pixel capture of a control, PNG files made with GDI+, and a
// count of live GDI objects that also works where GetGuiResources is a stub.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "include/handles.h"

// GDI+ started for the scope of one test case.
class GdiplusFixture {
 public:
  GdiplusFixture();
  GdiplusFixture(const GdiplusFixture&) = delete;
  GdiplusFixture& operator=(const GdiplusFixture&) = delete;
  ~GdiplusFixture();
  bool started() const { return m_token != 0; }

 private:
  ULONG_PTR m_token = 0;
};

// The background every test parent paints, so a test knows what shows through.
constexpr COLORREF kParentColour = RGB(40, 90, 160);

struct CommandRecord {
  int id;
  int code;
  HWND from;
};

// A visible top-level window with a solid background that records the commands it receives.
class TestParent {
 public:
  explicit TestParent(int width = 480, int height = 360, HFONT font = nullptr);
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;
  ~TestParent();

  HWND hwnd() const { return m_hwnd; }
  HWND AddChild(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h);
  // The parent's font (WM_GETFONT) is handed to every child.
  HFONT font() const { return m_font; }

  std::vector<CommandRecord> commands;
  // Called for each WM_COMMAND after it is recorded.
  std::function<void(const CommandRecord&)> onCommand;
  // Called for WM_ERASEBKGND instead of the solid fill when set.
  std::function<bool(HDC)> onErase;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
  FontHandle m_ownedFont;
  HFONT m_font = nullptr;
};

// A copy of a window's client pixels.
class Pixels {
 public:
  int width = 0, height = 0;
  std::vector<uint32_t> bgra;  // top-down rows
  COLORREF At(int x, int y) const;
  // How many pixels within `tolerance` of `colour` (per channel) lie in the rectangle.
  int Count(COLORREF colour, int tolerance, RECT area) const;
  int Count(COLORREF colour, int tolerance = 0) const { return Count(colour, tolerance, RECT{0, 0, width, height}); }
  // Rows [top, bottom) of pixels that pass `test`.
  std::pair<int, int> RowsWhere(const std::function<bool(COLORREF)>& test) const;
};

// The control paints itself into a fresh DIB (prefilled with `fill`) through WM_PRINTCLIENT.
Pixels PrintClient(HWND hwnd, COLORREF fill = RGB(1, 2, 3));
// `paint` draws into a fresh DIB of the window's client size (prefilled with `fill`).
Pixels PaintWith(HWND hwnd, const std::function<void(HDC)>& paint, COLORREF fill = RGB(1, 2, 3));
// What the window shows, read back from its window DC after the pending paints.
Pixels ScreenPixels(HWND hwnd);

bool Near(COLORREF a, COLORREF b, int tolerance);
std::string ColourText(COLORREF c);

// Delivers every pending message of this thread.
void PumpMessages();

// Writes a PNG of width x height whose pixels `pixel(x, y)` gives as ARGB.
bool WritePng(const std::string& path, int width, int height, const std::function<uint32_t(int, int)>& pixel);

// Live GDI objects of this process: GetGuiResources, or where that is a stub (Wine) the number of
// handle-table entries in use, found by filling the table's free entries with probes.
long LiveGdiObjects();
// Top-level windows of this thread (tooltips among them).
int ThreadWindowCount();
