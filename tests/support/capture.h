// What windows show, read back as pixels; PNG pictures of them with GDI+ under build/…/shots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// The room `text` takes in the font of `fontOf` (made bold when asked): one line, or wrapped at
// `wrapWidth` when that is above 0. `format` adds DrawText flags.
SIZE TextExtent(HWND fontOf, const std::string& text, int wrapWidth = 0, bool bold = false, UINT format = DT_NOPREFIX);

// What the screen shows in a rectangle of screen coordinates.
Pixels ScreenRect(const RECT& rc);
// The whole window, frame and all, as the screen shows it, after its pending paints.
Pixels WindowPixels(HWND hwnd);

// Writes a picture of `px` as SHOTS\\area\\name (SHOTS is the build tree's shots folder, or the
// temporary folder outside a build) and says whether it could.
bool SaveShot(const Pixels& px, const std::string& area, const std::string& name);
// The path SaveShot writes to; makes the folders.
std::string ShotPath(const std::string& area, const std::string& name);
