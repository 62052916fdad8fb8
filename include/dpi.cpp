#include "include/dpi.h"

#include <algorithm>

#include "include/miscfuns.h"

namespace dpi {
namespace {

const char kDpiProperty[] = "Quorvel.Dpi";
const char kFontProperty[] = "Quorvel.DialogFont";

// The per-monitor functions, where the system has them (Windows 10 and later).
struct LateUser32 {
  UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
  UINT(WINAPI* getDpiForSystem)() = nullptr;
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  BOOL(WINAPI* setDialogDpiChangeBehavior)(HWND, int, int) = nullptr;
};

const LateUser32& User32() {
  static const LateUser32 f = [] {
    LateUser32 l;
    // user32 is loaded by every window program: no library is loaded here.
    if (HMODULE user = ::GetModuleHandleA("user32.dll")) {
      auto get = [user](const char* name) { return reinterpret_cast<void (*)()>(::GetProcAddress(user, name)); };
      l.getDpiForWindow = reinterpret_cast<decltype(l.getDpiForWindow)>(get("GetDpiForWindow"));
      l.getDpiForSystem = reinterpret_cast<decltype(l.getDpiForSystem)>(get("GetDpiForSystem"));
      l.adjustWindowRectExForDpi =
          reinterpret_cast<decltype(l.adjustWindowRectExForDpi)>(get("AdjustWindowRectExForDpi"));
      l.setDialogDpiChangeBehavior =
          reinterpret_cast<decltype(l.setDialogDpiChangeBehavior)>(get("SetDialogDpiChangeBehavior"));
    }
    return l;
  }();
  return f;
}

bool IsDialog(HWND hwnd) {
  char cls[16] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  return lstrcmpA(cls, "#32770") == 0;
}

void RelayoutChildren(HWND parent, int fromDpi, int toDpi, CDpiFonts& fonts);

void MoveScaled(HWND child, HWND parent, int fromDpi, int toDpi) {
  RECT rc;
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  Box b = RescaleBox(Box{rc.left, rc.top, rc.right, rc.bottom}, fromDpi, toDpi);
  ::SetWindowPos(child, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Dialogs hosted by a control (the pages of a page frame or a tab control): moved and relaid out
// like the dialog's own children; the control's other children are its own business.
void RelayoutHostedDialogs(HWND control, int fromDpi, int toDpi, CDpiFonts& fonts) {
  for (HWND c = ::GetWindow(control, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (!IsDialog(c)) continue;
    MoveScaled(c, control, fromDpi, toDpi);
    RelayoutChildren(c, fromDpi, toDpi, fonts);
  }
}

void RelayoutChildren(HWND parent, int fromDpi, int toDpi, CDpiFonts& fonts) {
  HFONT oldFont = DialogFont(parent);
  FontHandle newFont;
  LOGFONTA lf = {};
  if (oldFont && ::GetObjectA(oldFont, sizeof lf, &lf)) {
    lf.lfHeight = Rescale(lf.lfHeight, fromDpi, toDpi);
    lf.lfWidth = Rescale(lf.lfWidth, fromDpi, toDpi);
    newFont.reset(::CreateFontIndirectA(&lf));
  }
  std::vector<HWND> children;
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  // Deferred, so that no child is drawn half moved among the others.
  HDWP moves = ::BeginDeferWindowPos(static_cast<int>(children.size()));
  for (HWND child : children) {
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    Box b = RescaleBox(Box{rc.left, rc.top, rc.right, rc.bottom}, fromDpi, toDpi);
    if (moves)
      moves = ::DeferWindowPos(moves, child, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    if (!moves)
      ::SetWindowPos(child, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (moves) ::EndDeferWindowPos(moves);
  for (HWND child : children) {
    // Every control gets the dialog font at the new dpi; those that draw with a font of their own
    // (a bold heading, an entry's text box) make it again from this one or are renewed by their
    // dialog afterwards.
    if (newFont) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont.get()), FALSE);
    if (IsDialog(child))
      RelayoutChildren(child, fromDpi, toDpi, fonts);
    else
      RelayoutHostedDialogs(child, fromDpi, toDpi, fonts);
  }
  if (newFont) fonts.Set(parent, std::move(newFont));
}

BOOL CALLBACK NotifyChild(HWND child, LPARAM) {
  ::SendMessageA(child, WM_DPICHANGED_AFTERPARENT, 0, 0);
  return TRUE;
}

// The horizontal dialog base unit of a font, as the dialog manager computes it.
int DialogBaseUnitX(HFONT font) {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return 0;
  HGDIOBJ old = ::SelectObject(screen, font);
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE size = {};
  BOOL ok = ::GetTextExtentPoint32A(screen, kLetters, 52, &size);
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  return ok ? (size.cx / 26 + 1) / 2 : 0;
}

}  // namespace

int ScaledAsDialog(HWND control, int width96) {
  const int at = WindowDpi(control);
  if (at == kBaseDpi) return width96;
  HWND dialog = ::GetParent(control);
  HFONT font = dialog ? DialogFont(dialog) : nullptr;
  LOGFONTA lf = {};
  if (!font || !::GetObjectA(font, sizeof lf, &lf)) return Scale(width96, at);
  // The same font at 96 dpi: a size in points, as the dialog's template gives it, rounds there
  // differently than the pixel height would.
  if (lf.lfHeight < 0)
    lf.lfHeight = FontHeightForPoints(Ratio(-lf.lfHeight, 72, at), kBaseDpi);
  else
    lf.lfHeight = Rescale(lf.lfHeight, at, kBaseDpi);
  lf.lfWidth = Rescale(lf.lfWidth, at, kBaseDpi);
  FontHandle at96(::CreateFontIndirectA(&lf));
  const int now = DialogBaseUnitX(font), then = at96 ? DialogBaseUnitX(at96.get()) : 0;
  if (now <= 0 || then <= 0) return Scale(width96, at);
  return Ratio(width96, now, then);
}

int SystemDpi() {
  if (User32().getDpiForSystem) return Sane(static_cast<int>(User32().getDpiForSystem()));
  HDC screen = ::GetDC(nullptr);
  int d = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
  if (screen) ::ReleaseDC(nullptr, screen);
  return Sane(d);
}

int WindowDpi(HWND hwnd) {
  HWND top = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
  if (top) {
    if (HANDLE told = ::GetPropA(top, kDpiProperty)) return Sane(static_cast<int>(reinterpret_cast<INT_PTR>(told)));
    if (User32().getDpiForWindow) {
      int d = static_cast<int>(User32().getDpiForWindow(top));
      if (d > 0) return Sane(d);
    }
  }
  return SystemDpi();
}

RECT FrameFor(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
  RECT rc = client;
  if (!User32().adjustWindowRectExForDpi ||
      !User32().adjustWindowRectExForDpi(&rc, style, FALSE, exStyle, static_cast<UINT>(Sane(dpi)))) {
    rc = client;
    ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
  }
  return rc;
}

IconHandle LoadIcon(UINT resourceId, int size96, int dpi) {
  int size = std::max(1, Scale(size96, dpi));
  return IconHandle(static_cast<HICON>(
      ::LoadImageA(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, 0)));
}

ImageListHandle MakeIconList(std::initializer_list<UINT> resourceIds, int size96, int dpi) {
  int size = std::max(1, Scale(size96, dpi));
  ImageListHandle images(
      ::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, static_cast<int>(resourceIds.size()), 1));
  if (!images) return images;
  for (UINT id : resourceIds) {
    IconHandle icon = LoadIcon(id, size96, dpi);
    if (icon) ::ImageList_AddIcon(images.get(), icon.get());
  }
  return images;
}

void ApplyDpiChange(HWND top, WPARAM wParam, LPARAM lParam, CDpiFonts& fonts) {
  int from = WindowDpi(top), to = Sane(LOWORD(wParam));
  ::SetPropA(top, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(to)));
  if (const RECT* suggested = reinterpret_cast<const RECT*>(lParam))
    ::SetWindowPos(top, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (from != to) RelayoutChildren(top, from, to, fonts);
  ::EnumChildWindows(top, NotifyChild, 0);
  ::InvalidateRect(top, nullptr, TRUE);
}

CDpiFonts::~CDpiFonts() {
  for (Entry& e : m_entries)
    if (::IsWindow(e.dialog)) ::RemovePropA(e.dialog, kFontProperty);
}

HFONT CDpiFonts::Of(HWND dialog) { return static_cast<HFONT>(::GetPropA(dialog, kFontProperty)); }

void CDpiFonts::Set(HWND dialog, FontHandle font) {
  ::SetPropA(dialog, kFontProperty, font.get());
  for (Entry& e : m_entries) {
    if (e.dialog == dialog) {
      e.font = std::move(font);
      return;
    }
  }
  m_entries.push_back(Entry{dialog, std::move(font)});
}

void TakeOverDialogScaling(HWND dialog) {
  constexpr int kDisableAll = 0x0001;  // DDC_DISABLE_ALL
  if (User32().setDialogDpiChangeBehavior) User32().setDialogDpiChangeBehavior(dialog, kDisableAll, kDisableAll);
}

HFONT DialogFont(HWND dialog) {
  if (HFONT renewed = CDpiFonts::Of(dialog)) return renewed;
  return reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
}

}  // namespace dpi
