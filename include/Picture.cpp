#include "include/Picture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <utility>

#include "include/LazyDll.h"
#include "include/codepage_win.h"

namespace {

using namespace Gdiplus;

CLazyDll g_gdiplus("gdiplus.dll");

// GDI+'s flat functions, looked up once when it starts. Only the UI thread loads and draws pictures.
struct GdiPlus {
  decltype(&GdiplusStartup) startup = nullptr;
  decltype(&GdiplusShutdown) shutdown = nullptr;
  decltype(&DllExports::GdipLoadImageFromFile) loadImage = nullptr;
  decltype(&DllExports::GdipGetImageWidth) imageWidth = nullptr;
  decltype(&DllExports::GdipGetImageHeight) imageHeight = nullptr;
  decltype(&DllExports::GdipDisposeImage) disposeImage = nullptr;
  decltype(&DllExports::GdipCreateFromHDC) createGraphics = nullptr;
  decltype(&DllExports::GdipDrawImageRectI) drawImage = nullptr;
  decltype(&DllExports::GdipDeleteGraphics) deleteGraphics = nullptr;
  // Optional: without them pictures are drawn with GDI+'s default filter.
  decltype(&DllExports::GdipSetInterpolationMode) setInterpolation = nullptr;
  decltype(&DllExports::GdipSetPixelOffsetMode) setPixelOffset = nullptr;
  ULONG_PTR token = 0;
  int pictures = 0;             // live pictures
  bool shutdownWanted = false;  // ShutdownPictures() came while pictures were still alive
};

GdiPlus g_gp;

bool Start() {
  if (g_gp.token) return true;
  if (!g_gp.startup) {
    GdiPlus f;
    f.startup = g_gdiplus.Function<decltype(f.startup)>("GdiplusStartup");
    f.shutdown = g_gdiplus.Function<decltype(f.shutdown)>("GdiplusShutdown");
    f.loadImage = g_gdiplus.Function<decltype(f.loadImage)>("GdipLoadImageFromFile");
    f.imageWidth = g_gdiplus.Function<decltype(f.imageWidth)>("GdipGetImageWidth");
    f.imageHeight = g_gdiplus.Function<decltype(f.imageHeight)>("GdipGetImageHeight");
    f.disposeImage = g_gdiplus.Function<decltype(f.disposeImage)>("GdipDisposeImage");
    f.createGraphics = g_gdiplus.Function<decltype(f.createGraphics)>("GdipCreateFromHDC");
    f.drawImage = g_gdiplus.Function<decltype(f.drawImage)>("GdipDrawImageRectI");
    f.deleteGraphics = g_gdiplus.Function<decltype(f.deleteGraphics)>("GdipDeleteGraphics");
    f.setInterpolation = g_gdiplus.Function<decltype(f.setInterpolation)>("GdipSetInterpolationMode");
    f.setPixelOffset = g_gdiplus.Function<decltype(f.setPixelOffset)>("GdipSetPixelOffsetMode");
    if (!f.startup || !f.shutdown || !f.loadImage || !f.imageWidth || !f.imageHeight || !f.disposeImage ||
        !f.createGraphics || !f.drawImage || !f.deleteGraphics)
      return false;
    g_gp = f;
  }
  // Version 1, no debug callback, GDI+'s background thread, the codecs of the system.
  GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (g_gp.startup(&token, &input, nullptr) != Ok) return false;
  g_gp.token = token;
  g_gp.shutdownWanted = false;
  return true;
}

void Stop() {
  if (!g_gp.token) return;
  g_gp.shutdown(g_gp.token);
  g_gp.token = 0;
  g_gp.shutdownWanted = false;
}


}  // namespace

CPicture::CPicture(CPicture&& other) noexcept
    : m_image(std::exchange(other.m_image, nullptr)),
      m_width(std::exchange(other.m_width, 0u)),
      m_height(std::exchange(other.m_height, 0u)) {}

CPicture& CPicture::operator=(CPicture&& other) noexcept {
  if (this != &other) {
    Reset();
    m_image = std::exchange(other.m_image, nullptr);
    m_width = std::exchange(other.m_width, 0u);
    m_height = std::exchange(other.m_height, 0u);
  }
  return *this;
}

bool CPicture::Load(const std::string& path) {
  Reset();
  DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (!Start()) return false;
  std::wstring wide = unicode::WideFromAnsi(path);
  GpImage* image = nullptr;
  UINT w = 0, h = 0;
  if (g_gp.loadImage(wide.c_str(), &image) != Ok || !image) return false;
  ++g_gp.pictures;
  m_image = image;
  if (g_gp.imageWidth(image, &w) != Ok || g_gp.imageHeight(image, &h) != Ok || w == 0) {
    Reset();
    return false;
  }
  m_width = w;
  m_height = h;
  return true;
}

void CPicture::Reset() {
  if (!m_image) return;
  g_gp.disposeImage(static_cast<GpImage*>(m_image));
  m_image = nullptr;
  m_width = m_height = 0;
  if (--g_gp.pictures == 0 && g_gp.shutdownWanted) Stop();
}

bool CPicture::Draw(HDC dc, int x, int y, int w, int h) const {
  if (!m_image || !dc) return false;
  GpGraphics* graphics = nullptr;
  if (g_gp.createGraphics(dc, &graphics) != Ok || !graphics) return false;
  // The pictures are drawn for a higher dpi than most displays have and scaled to the window's: the
  // high-quality filter keeps their edges smooth both ways, and the half-pixel offset keeps the
  // outermost rows and columns from fading.
  if (g_gp.setInterpolation) g_gp.setInterpolation(graphics, InterpolationModeHighQualityBicubic);
  if (g_gp.setPixelOffset) g_gp.setPixelOffset(graphics, PixelOffsetModeHalf);
  bool drawn = g_gp.drawImage(graphics, static_cast<GpImage*>(m_image), x, y, w, h) == Ok;
  g_gp.deleteGraphics(graphics);
  return drawn;
}

void ShutdownPictures() {
  if (g_gp.pictures == 0) {
    Stop();
  } else {
    g_gp.shutdownWanted = true;
  }
}

bool PicturesStarted() { return g_gp.token != 0; }
