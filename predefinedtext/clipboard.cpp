#include "predefinedtext/clipboard.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "include/keyinput.h"
#include "include/msgwait.h"
#include "predefinedtext/placeholders.h"

namespace CLIPBD {

namespace {

constexpr int kOpenAttempts = 40;
constexpr DWORD kOpenRetryMs = 25;
constexpr DWORD kPasteWaitMs = 500;

// The saved clipboards of the pastes waiting for their targets, outermost first (a hotkey pressed
// during a paste's wait can paste again, nested). Only the UI thread pastes.
std::vector<SavedClipboard*> g_waitingPastes;

void* NewBlock(size_t size) { return size ? ::LocalAlloc(LPTR, size) : nullptr; }

// Screen DC for the scope.
class ScreenDc {
 public:
  ScreenDc() : m_dc(::GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (m_dc) ::ReleaseDC(nullptr, m_dc);
  }
  HDC get() const { return m_dc; }

 private:
  HDC m_dc;
};

void Keep(CClipboardFormatData& rec, void* block, size_t size) {
  rec.data.reset(block);
  rec.size = block ? static_cast<int32_t>(size) : 0;
}

void CaptureBitmap(HBITMAP bmp, CClipboardFormatData& rec) {
  BITMAP bm = {};
  if (!::GetObjectA(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  int bpp = bm.bmBitsPixel * bm.bmPlanes;
  int entries = dib::CaptureColorEntries(bpp);
  uint64_t row = dib::RowBytes(bm.bmWidth, bpp);
  uint64_t image = row * static_cast<uint64_t>(bm.bmHeight);
  uint64_t total = sizeof(BITMAPINFOHEADER) + 4ull * entries + image;
  if (row == 0 || total > 0x7fffffffull) return;
  void* block = NewBlock(static_cast<size_t>(total));
  if (!block) return;
  auto* header = static_cast<BITMAPINFOHEADER*>(block);
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = bm.bmWidth;
  header->biHeight = bm.bmHeight;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bpp);
  header->biCompression = (bpp == 16 || bpp == 32) ? BI_BITFIELDS : BI_RGB;
  header->biSizeImage = static_cast<DWORD>(image);
  void* bits = static_cast<char*>(block) + sizeof(BITMAPINFOHEADER) + 4 * entries;
  ScreenDc dc;
  if (!::GetDIBits(dc.get(), bmp, 0, static_cast<UINT>(bm.bmHeight), bits, static_cast<BITMAPINFO*>(block),
                   DIB_RGB_COLORS)) {
    ::LocalFree(block);
    return;
  }
  Keep(rec, block, static_cast<size_t>(total));
}

void CaptureMetafilePict(HANDLE h, CClipboardFormatData& rec) {
  auto* pict = static_cast<METAFILEPICT*>(::GlobalLock(h));
  if (!pict) return;
  UINT bits = ::GetMetaFileBitsEx(pict->hMF, 0, nullptr);
  void* block = bits ? NewBlock(sizeof(METAFILEPICT) + bits) : nullptr;
  if (block) {
    std::memcpy(block, pict, sizeof(METAFILEPICT));
    if (::GetMetaFileBitsEx(pict->hMF, bits, static_cast<char*>(block) + sizeof(METAFILEPICT)) == bits) {
      Keep(rec, block, sizeof(METAFILEPICT) + bits);
    } else {
      ::LocalFree(block);
    }
  }
  ::GlobalUnlock(h);
}

void CapturePalette(HPALETTE pal, CClipboardFormatData& rec) {
  UINT count = ::GetPaletteEntries(pal, 0, 0, nullptr);
  if (count == 0 || count > 65535) return;
  size_t size = offsetof(LOGPALETTE, palPalEntry) + sizeof(PALETTEENTRY) * count;
  auto* lp = static_cast<LOGPALETTE*>(NewBlock(size));
  if (!lp) return;
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(count);
  ::GetPaletteEntries(pal, 0, count, lp->palPalEntry);
  Keep(rec, lp, size);
}

void CaptureEnhMetafile(HENHMETAFILE emf, CClipboardFormatData& rec) {
  UINT size = ::GetEnhMetaFileBits(emf, 0, nullptr);
  void* block = size ? NewBlock(size) : nullptr;
  if (!block) return;
  if (::GetEnhMetaFileBits(emf, size, static_cast<BYTE*>(block)) == size) {
    Keep(rec, block, size);
  } else {
    ::LocalFree(block);
  }
}

void CaptureGlobal(HANDLE h, CClipboardFormatData& rec) {
  SIZE_T size = ::GlobalSize(h);
  if (size == 0 || size > 0x7fffffff) return;
  const void* src = ::GlobalLock(h);
  if (!src) return;
  void* block = NewBlock(size);
  if (block) {
    std::memcpy(block, src, size);
    Keep(rec, block, size);
  }
  ::GlobalUnlock(h);
}

void Capture(UINT format, HANDLE h, CClipboardFormatData& rec) {
  switch (format) {
    case CF_BITMAP:
    case CF_DSPBITMAP: CaptureBitmap(static_cast<HBITMAP>(h), rec); break;
    case CF_METAFILEPICT:
    case CF_DSPMETAFILEPICT: CaptureMetafilePict(h, rec); break;
    case CF_PALETTE: CapturePalette(static_cast<HPALETTE>(h), rec); break;
    case CF_ENHMETAFILE:
    case CF_DSPENHMETAFILE: CaptureEnhMetafile(static_cast<HENHMETAFILE>(h), rec); break;
    case CF_OWNERDISPLAY: break;
    default:
      // GDI objects of private formats are not memory blocks; GlobalSize refuses them.
      CaptureGlobal(h, rec);
      break;
  }
}

HANDLE RebuildBitmap(const CClipboardFormatData& rec) {
  size_t size = static_cast<size_t>(rec.size);
  if (size < sizeof(BITMAPINFOHEADER)) return nullptr;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(rec.data.get());
  int entries = dib::RestoreColorEntries(header->biClrUsed, header->biPlanes, header->biBitCount);
  size_t offset = sizeof(BITMAPINFOHEADER) + 4u * static_cast<size_t>(entries);
  uint64_t image = static_cast<uint64_t>(dib::RowBytes(header->biWidth, header->biBitCount)) *
                   static_cast<uint64_t>(header->biHeight < 0 ? -static_cast<int64_t>(header->biHeight)
                                                              : header->biHeight);
  if (header->biSize != sizeof(BITMAPINFOHEADER) || image == 0 || offset + image > size) return nullptr;
  ScreenDc dc;
  return ::CreateDIBitmap(dc.get(), header, CBM_INIT, static_cast<const char*>(rec.data.get()) + offset,
                          reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
}

HANDLE NewGlobalCopy(const void* data, size_t size) {
  HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!g) return nullptr;
  void* p = ::GlobalLock(g);
  if (!p) {
    ::GlobalFree(g);
    return nullptr;
  }
  std::memcpy(p, data, size);
  ::GlobalUnlock(g);
  return g;
}

HANDLE RebuildMetafilePict(const CClipboardFormatData& rec) {
  size_t size = static_cast<size_t>(rec.size);
  if (size <= sizeof(METAFILEPICT)) return nullptr;
  METAFILEPICT pict;
  std::memcpy(&pict, rec.data.get(), sizeof pict);
  pict.hMF = ::SetMetaFileBitsEx(static_cast<UINT>(size - sizeof pict),
                                 static_cast<const BYTE*>(rec.data.get()) + sizeof pict);
  if (!pict.hMF) return nullptr;
  HANDLE g = NewGlobalCopy(&pict, sizeof pict);
  if (!g) ::DeleteMetaFile(pict.hMF);
  return g;
}

HANDLE Rebuild(const CClipboardFormatData& rec) {
  if (!rec.data || rec.size <= 0) return nullptr;
  switch (rec.format) {
    case CF_BITMAP:
    case CF_DSPBITMAP: return RebuildBitmap(rec);
    case CF_METAFILEPICT:
    case CF_DSPMETAFILEPICT: return RebuildMetafilePict(rec);
    case CF_PALETTE: {
      const auto* lp = static_cast<const LOGPALETTE*>(rec.data.get());
      size_t need = offsetof(LOGPALETTE, palPalEntry) + sizeof(PALETTEENTRY) * lp->palNumEntries;
      return static_cast<size_t>(rec.size) >= need ? ::CreatePalette(lp) : nullptr;
    }
    case CF_ENHMETAFILE:
    case CF_DSPENHMETAFILE:
      return ::SetEnhMetaFileBits(static_cast<UINT>(rec.size), static_cast<const BYTE*>(rec.data.get()));
    case CF_OWNERDISPLAY: return nullptr;
    default: return NewGlobalCopy(rec.data.get(), static_cast<size_t>(rec.size));
  }
}

// A handle SetClipboardData refused is still ours to free.
void FreeRebuilt(UINT format, HANDLE h) {
  switch (format) {
    case CF_BITMAP:
    case CF_DSPBITMAP:
    case CF_PALETTE: ::DeleteObject(h); break;
    case CF_ENHMETAFILE:
    case CF_DSPENHMETAFILE: ::DeleteEnhMetaFile(static_cast<HENHMETAFILE>(h)); break;
    case CF_METAFILEPICT:
    case CF_DSPMETAFILEPICT: {
      if (auto* pict = static_cast<METAFILEPICT*>(::GlobalLock(h))) {
        ::DeleteMetaFile(pict->hMF);
        ::GlobalUnlock(h);
      }
      ::GlobalFree(h);
      break;
    }
    default: ::GlobalFree(h); break;
  }
}

}  // namespace

OpenedClipboard::OpenedClipboard(HWND owner) {
  for (int attempt = 0; attempt < kOpenAttempts && !m_open; ++attempt) {
    if (attempt) ::Sleep(kOpenRetryMs);
    m_open = ::OpenClipboard(owner) != FALSE;
  }
}

OpenedClipboard::~OpenedClipboard() {
  if (m_open) ::CloseClipboard();
}

SavedClipboard SaveClipboard(HWND owner) {
  SavedClipboard saved;
  OpenedClipboard clip(owner);
  if (!clip) return saved;
  for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format)) {
    HANDLE h = ::GetClipboardData(format);
    if (!h) continue;
    CClipboardFormatData rec;
    rec.format = format;
    char name[256] = {};
    if (::GetClipboardFormatNameA(format, name, 255) > 0) rec.name = name;
    Capture(format, h, rec);
    saved.push_back(std::move(rec));
  }
  return saved;
}

bool RestoreClipboard(SavedClipboard saved, HWND owner) {
  // `saved` is ours by value: its blocks go when it does, on every path out of here.
  OpenedClipboard clip(owner);
  if (!clip) return false;
  ::EmptyClipboard();
  for (const CClipboardFormatData& rec : saved) {
    if (!rec.name.empty()) ::RegisterClipboardFormatA(rec.name.c_str());
    HANDLE h = Rebuild(rec);
    if (h && !::SetClipboardData(rec.format, h)) FreeRebuilt(rec.format, h);
  }
  return true;
}

bool PutTextOnClipboard(const std::string& text, HWND owner) {
  OpenedClipboard clip(owner);
  if (!clip || !::EmptyClipboard()) return false;
  HANDLE g = NewGlobalCopy(text.c_str(), text.size() + 1);
  if (!g) return false;
  if (!::SetClipboardData(CF_TEXT, g)) {
    ::GlobalFree(g);
    return false;
  }
  return true;
}

void InsertText(const std::string& text, HWND selector) {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  std::string expanded = ExpandPlaceholders(text, {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
  SavedClipboard saved = SaveClipboard(selector);
  // Without our text on the clipboard, Ctrl+V would paste whatever was there (a password, say).
  bool placed = PutTextOnClipboard(expanded, selector);
  if (placed) SendKeyChord({VK_CONTROL}, 'V');
  if (selector) ::ShowWindow(selector, SW_HIDE);
  if (placed) {
    // The target pastes meanwhile; our own messages keep flowing (input is delivered through
    // them), and the program may end meanwhile: then the clipboard was put back already.
    g_waitingPastes.push_back(&saved);
    WaitPumpingMessages(kPasteWaitMs);
    auto waiting = std::find(g_waitingPastes.begin(), g_waitingPastes.end(), &saved);
    if (waiting == g_waitingPastes.end()) return;
    g_waitingPastes.erase(waiting);
  }
  RestoreClipboard(std::move(saved), selector);
}

void RestoreInterruptedPaste(HWND owner) {
  if (g_waitingPastes.empty()) return;
  // The outermost paste saved the user's own clipboard; the nested ones only saved pastes' texts.
  SavedClipboard& users = *g_waitingPastes.front();
  g_waitingPastes.clear();
  RestoreClipboard(std::move(users), owner);
}

}  // namespace CLIPBD
