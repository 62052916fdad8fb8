// The dpi of a window and what follows from it: one place that every window of the program asks.
// Pixel figures in the code are figures at 96 dpi; Scaled() takes them to the window's dpi.
//
// The per-monitor functions of newer systems are reached through GetProcAddress; without them the
// dpi is the system's (LOGPIXELSX of the screen). A top-level window that was told of a new dpi
// (WM_DPICHANGED) keeps it in a window property, so that its children and its own code see the dpi
// it now draws at even where the system does not move windows between monitors.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <vector>

#include "include/dpimath.h"
#include "include/handles.h"

// Sent to every descendant of a top-level window after that window took a new dpi (the system's
// own notice to children, which it sends itself where it has per-monitor scaling): each control
// renews its fonts and pictures for WindowDpi(). Values as the system's.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace dpi {

// The system dpi (the primary monitor's at logon).
int SystemDpi();
// The dpi `hwnd` draws at: its top-level window's, as last told, else the system's answer for the
// window, else the system dpi.
int WindowDpi(HWND hwnd);
// A 96-dpi figure at the dpi of `hwnd`.
inline int Scaled(HWND hwnd, int value96) { return Scale(value96, WindowDpi(hwnd)); }

// A 96-dpi width inside a dialog, scaled as the dialog's own layout scales: by the ratio of its
// font's horizontal dialog unit at the control's dpi to the same font's at 96 dpi. A list's columns
// then fill the same share of the list at every dpi, whatever the font's widths do between sizes.
// Without a dialog font, the plain Scaled().
int ScaledAsDialog(HWND control, int width96);

// The window frame's room around a client area at `dpi` (AdjustWindowRectExForDpi where it exists).
RECT FrameFor(const RECT& client, DWORD style, DWORD exStyle, int dpi);

// An icon resource of this module at size96 x size96 (96 dpi) scaled to `dpi`; the frame of that size
// where the file has one.
IconHandle LoadIcon(UINT resourceId, int size96, int dpi);
// An image list of icon resources at size96 scaled to `dpi`, 32-bit colour with mask; an icon that
// does not load is left out.
ImageListHandle MakeIconList(std::initializer_list<UINT> resourceIds, int size96, int dpi);

// What a top-level window does on WM_DPICHANGED: remembers the new dpi (wParam), takes the
// suggested rectangle (lParam), moves and sizes its children and those of its child dialogs by the
// ratio of the dpis, gives them the dialog font at the new dpi, and sends every descendant
// WM_DPICHANGED_AFTERPARENT. `fonts` keeps the fonts made for the window's dialogs while they are in
// use. The window's own resources (image lists, list columns) are the caller's to renew afterwards.
class CDpiFonts;
void ApplyDpiChange(HWND top, WPARAM wParam, LPARAM lParam, CDpiFonts& fonts);

// The dialog fonts a window made at a new dpi, one for the window and one for each child dialog.
class CDpiFonts {
 public:
  CDpiFonts() = default;
  CDpiFonts(const CDpiFonts&) = delete;
  CDpiFonts& operator=(const CDpiFonts&) = delete;
  ~CDpiFonts();
  // The font that replaced the template's font of `dialog`, null when none did.
  static HFONT Of(HWND dialog);
  // Makes `font` the dialog font of `dialog` from now on; the old one goes once nothing uses it.
  void Set(HWND dialog, FontHandle font);

 private:
  struct Entry {
    HWND dialog;
    FontHandle font;
  };
  std::vector<Entry> m_entries;
};

// Where the system rescales dialogs on a change of dpi by itself, tells it not to for `dialog`:
// ApplyDpiChange does it, the same on every system.
void TakeOverDialogScaling(HWND dialog);

// The font children of `dialog` are given: the one made at its present dpi, else its own.
HFONT DialogFont(HWND dialog);

}  // namespace dpi
