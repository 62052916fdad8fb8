// GDI pieces the skinned controls share: colour conversion, ramps and solid fills, scaled icon copies,
// and the redraw of a control that lets its parent's pixels show through.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "include/controlmath.h"
#include "include/handles.h"

namespace ctldraw {

inline ctl::Rgb ToRgb(COLORREF c) { return ctl::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }
inline COLORREF ToColorRef(ctl::Rgb c) { return RGB(c.r, c.g, c.b); }
inline ctl::Rect ToRect(const RECT& r) { return ctl::Rect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const ctl::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void FillSolid(HDC dc, const RECT& rc, COLORREF colour);
// A linear ramp over `rc` with GradientFill: left to right, or top to bottom when `vertical`.
void FillGradient(HDC dc, const RECT& rc, COLORREF from, COLORREF to, bool vertical);
void FillBands(HDC dc, const std::vector<ctl::GradientBand>& bands);

// A copy of `icon` at width x height: reloaded from its resource at that size where possible
// (CopyImage with LR_COPYFROMRESOURCE, else the resource `resourceId` of `module`), else stretched.
IconHandle ScaledIcon(HICON icon, UINT resourceId, HINSTANCE module, int width, int height);
// Draws `icon` scaled into `rc`.
void DrawScaledIcon(HDC dc, const RECT& rc, HICON icon, UINT resourceId, HINSTANCE module);

// Access key underlines: whether the window says they are hidden (WM_QUERYUISTATE); a control's
// cues after one WM_UPDATEUISTATE (its wParam), true when they changed and the control must paint
// again (call after the default handling); and a text drawn as the cues say, which also works where
// DrawText ignores DT_HIDEPREFIX.
bool QueryHidesAccessKeys(HWND hwnd);
bool FollowCues(ctl::AccessKeyCues& cues, HWND hwnd, WPARAM updateUiState);
void DrawCueText(HDC dc, const std::string& text, RECT& rc, unsigned format, bool hideAccessKeys);

std::string WindowText(HWND hwnd);
// The font a control draws with: its own, else its parent's, else the stock GUI font.
HFONT ControlFont(HWND hwnd);
// The parent's font (the dialog font), else the stock GUI font.
HFONT ParentFont(HWND hwnd);

// For a control that paints only part of its area: the parent repaints what lies under it, then the
// control paints on top.
void RedrawWithParent(HWND hwnd);

// The control's window rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);

// True when the WM_GETDLGCODE query (its lParam) is about the Enter key. A button that answers it
// with DLGC_WANTALLKEYS gets Enter itself, so the dialog does not take it for its default button.
bool IsEnterKeyQuery(LPARAM dlgCodeQuery);

}  // namespace ctldraw
