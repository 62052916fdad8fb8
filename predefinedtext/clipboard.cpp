#include "predefinedtext/clipboard.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "include/codepage_win.h"
#include "include/handles.h"
#include "include/keyinput.h"
#include "include/msgwait.h"
#include "predefinedtext/placeholders.h"

namespace CLIPBD {

namespace {

constexpr DWORD kOpenRetryMs = 25;
// A paste waits this long for a clipboard another program holds before it gives up; it has
// touched nothing by then.
constexpr DWORD kTakeWaitMs = 1000;
// The exit puts the user's clipboard back within this time or not at all.
constexpr DWORD kExitRestoreWaitMs = 1000;
constexpr DWORD kPasteWaitMs = 500;
// The user's clipboard is put back as soon as no other program holds it open (clipboard managers
// and remote desktops hold it for a while); only after this long is it given up.
constexpr DWORD kRestoreGiveUpMs = 30000;
constexpr UINT kRestoreRetryMs = 50;

// The user's own clipboard while a pasted text stands in for it. One at a time: a paste that
// starts while the text of an earlier one is still on the clipboard keeps the saved contents of
// the first, so the user's own come back whatever the order of the pastes' waits.
struct PendingRestore {
  bool active = false;
  SavedClipboard saved;
  DWORD sequence = 0;  // the clipboard's sequence number with the pasted text on it
  int waiting = 0;     // pastes still waiting for their targets (a hotkey can paste during a wait)
  UINT_PTR timer = 0;  // retries the restore while another program holds the clipboard
  DWORD firstTry = 0;
};
PendingRestore g_pending;

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

OpenedClipboard::OpenedClipboard(HWND owner, DWORD patienceMs, Waiting waiting) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    m_open = ::OpenClipboard(owner) != FALSE;
    if (m_open || ::GetTickCount() - start >= patienceMs) return;
    if (waiting == Waiting::PumpMessages) {
      WaitPumpingMessages(kOpenRetryMs);
    } else {
      ::Sleep(kOpenRetryMs);
    }
  }
}

OpenedClipboard::~OpenedClipboard() {
  if (m_open) ::CloseClipboard();
}

namespace {

// The formats of the open clipboard.
SavedClipboard SaveOpenClipboard() {
  SavedClipboard saved;
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

// Replaces what the open clipboard holds by the saved formats, which go with `saved`.
void RestoreOpenClipboard(SavedClipboard saved) {
  ::EmptyClipboard();
  for (const CClipboardFormatData& rec : saved) {
    if (!rec.name.empty()) ::RegisterClipboardFormatA(rec.name.c_str());
    HANDLE h = Rebuild(rec);
    if (h && !::SetClipboardData(rec.format, h)) FreeRebuilt(rec.format, h);
  }
}

// Replaces what the open clipboard holds by `text` as Unicode text; the system offers it to
// programs that ask for code-page text as well.
bool PutOnOpenClipboard(const std::wstring& text) {
  if (!::EmptyClipboard()) return false;
  HANDLE g = NewGlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  if (!g) return false;
  if (!::SetClipboardData(CF_UNICODETEXT, g)) {
    ::GlobalFree(g);
    return false;
  }
  return true;
}

void StopRestoreTimer() {
  if (g_pending.timer) ::KillTimer(nullptr, g_pending.timer);
  g_pending.timer = 0;
}

void DropPending() {
  StopRestoreTimer();
  g_pending.active = false;
  g_pending.saved.clear();
}

// Puts the user's clipboard back into the open clipboard, unless something newer than the pasted
// text is on it: a copy the user made meanwhile is never overwritten.
void RestorePendingInto() {
  if (::GetClipboardSequenceNumber() == g_pending.sequence) RestoreOpenClipboard(std::move(g_pending.saved));
  DropPending();
}

// The restore may come after the selector has gone. A clipboard opened without a window takes no
// data, so the restore opens it with a window of its own that lives as long as the program.
HWND RestoreOwner() {
  static WindowHandle window(
      ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  return window.get();
}

// True when the restore is done (or nothing is left to restore).
bool TryRestorePending() {
  if (!g_pending.active) return true;
  OpenedClipboard clip(RestoreOwner());
  if (!clip) return false;
  RestorePendingInto();
  return true;
}

void CALLBACK RetryRestore(HWND, UINT, UINT_PTR, DWORD) {
  // A paste waiting for its target restores when its wait is over.
  if (g_pending.waiting > 0) return;
  if (TryRestorePending()) return;
  if (::GetTickCount() - g_pending.firstTry >= kRestoreGiveUpMs) DropPending();
}

// Runs the restore now, or keeps trying without holding up this thread's messages.
void RestoreWhenFree() {
  if (TryRestorePending() || g_pending.timer) return;
  g_pending.firstTry = ::GetTickCount();
  g_pending.timer = ::SetTimer(nullptr, 0, kRestoreRetryMs, RetryRestore);
  if (!g_pending.timer) DropPending();
}

// With the clipboard open: saves the user's contents (unless an earlier paste's saved contents
// still wait to come back) and puts `text` in their place.
bool PutPasteText(const std::wstring& text) {
  // What is on the clipboard now is newer than an earlier paste's text: it is what the user has.
  const bool earlierTextStillThere = g_pending.active && ::GetClipboardSequenceNumber() == g_pending.sequence;
  if (!earlierTextStillThere) {
    DropPending();
    g_pending.saved = SaveOpenClipboard();
    g_pending.active = true;
  }
  if (!PutOnOpenClipboard(text)) {
    // The clipboard may be empty by now: the user's contents go back at once.
    RestoreOpenClipboard(std::move(g_pending.saved));
    DropPending();
    return false;
  }
  StopRestoreTimer();
  return true;
}

// Takes the clipboard for a paste of `text`. False when it could not be taken: then it is as it was
// (or back as it was).
bool TakeClipboardFor(const std::wstring& text, HWND owner) {
  {
    OpenedClipboard clip(owner, kTakeWaitMs, OpenedClipboard::Waiting::PumpMessages);
    if (!clip || !PutPasteText(text)) return false;
  }
  // The system counts the change when the clipboard is closed.
  g_pending.sequence = ::GetClipboardSequenceNumber();
  return true;
}

}  // namespace

SavedClipboard SaveClipboard(HWND owner) {
  OpenedClipboard clip(owner);
  return clip ? SaveOpenClipboard() : SavedClipboard();
}

bool RestoreClipboard(SavedClipboard saved, HWND owner) {
  // `saved` is ours by value: its blocks go when it does, on every path out of here.
  OpenedClipboard clip(owner);
  if (!clip) return false;
  RestoreOpenClipboard(std::move(saved));
  return true;
}

bool PutTextOnClipboard(const std::string& text, HWND owner) {
  OpenedClipboard clip(owner);
  return clip && PutOnOpenClipboard(unicode::WideFromUtf8(text));
}

void InsertText(const std::string& text, HWND selector) {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  const std::wstring expanded = unicode::WideFromUtf8(
      ExpandPlaceholders(text, {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond}));
  // Without our text on the clipboard, Ctrl+V would paste whatever was there (a password, say).
  const bool placed = TakeClipboardFor(expanded, selector);
  if (placed) SendKeyChord({VK_CONTROL}, 'V');
  if (selector) ::ShowWindow(selector, SW_HIDE);
  if (!placed) return;
  // The target pastes meanwhile; our own messages keep flowing (input is delivered through them).
  ++g_pending.waiting;
  WaitPumpingMessages(kPasteWaitMs);
  --g_pending.waiting;
  // The last paste out puts the user's clipboard back; the program may have done so at its exit.
  if (g_pending.waiting == 0) RestoreWhenFree();
}

void RestoreInterruptedPaste(HWND owner) {
  if (!g_pending.active) return;
  StopRestoreTimer();
  OpenedClipboard clip(owner, kExitRestoreWaitMs, OpenedClipboard::Waiting::Block);
  if (clip) {
    RestorePendingInto();
  } else {
    DropPending();
  }
}

}  // namespace CLIPBD
