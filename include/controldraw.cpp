#include "include/controldraw.h"

#include "include/dpi.h"

static_assert(ctl::dt::Center == DT_CENTER && ctl::dt::Right == DT_RIGHT && ctl::dt::VCenter == DT_VCENTER &&
                  ctl::dt::Bottom == DT_BOTTOM && ctl::dt::WordBreak == DT_WORDBREAK &&
                  ctl::dt::SingleLine == DT_SINGLELINE && ctl::dt::NoPrefix == DT_NOPREFIX &&
                  ctl::dt::WordEllipsis == DT_WORD_ELLIPSIS,
              "the portable text format bits are DrawText's");
static_assert(ctl::LinkButtonStyle::Left == BS_LEFT && ctl::LinkButtonStyle::Right == BS_RIGHT &&
                  ctl::LinkButtonStyle::Center == BS_CENTER,
              "the portable alignment bits are the button styles'");
static_assert(ctl::StaticStyle::Center == SS_CENTER && ctl::StaticStyle::Right == SS_RIGHT &&
                  ctl::StaticStyle::TypeMask == SS_TYPEMASK && ctl::StaticStyle::CenterImage == SS_CENTERIMAGE,
              "the portable static styles are the system's");

static_assert(ctl::AccessKeyCues::Set == UIS_SET && ctl::AccessKeyCues::Clear == UIS_CLEAR &&
                  ctl::AccessKeyCues::Initialize == UIS_INITIALIZE && ctl::AccessKeyCues::HideAccel == UISF_HIDEACCEL,
              "the portable keyboard cue values are the system's");

namespace ctldraw {

bool QueryHidesAccessKeys(HWND hwnd) {
  return (::SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
}

bool FollowCues(ctl::AccessKeyCues& cues, HWND hwnd, WPARAM updateUiState) {
  return cues.Update(LOWORD(updateUiState), HIWORD(updateUiState), QueryHidesAccessKeys(hwnd));
}

void DrawCueText(HDC dc, const std::string& text, RECT& rc, unsigned format, bool hideAccessKeys) {
  ctl::CueText drawn = ctl::TextForCues(text, format, hideAccessKeys);
  ::DrawTextA(dc, drawn.text.c_str(), static_cast<int>(drawn.text.size()), &rc, drawn.format);
}

void FillSolid(HDC dc, const RECT& rc, COLORREF colour) {
  BrushHandle brush(::CreateSolidBrush(colour));
  if (brush) ::FillRect(dc, &rc, brush.get());
}

void FillGradient(HDC dc, const RECT& rc, COLORREF from, COLORREF to, bool vertical) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  TRIVERTEX v[2] = {};
  v[0].x = rc.left;
  v[0].y = rc.top;
  v[0].Red = static_cast<COLOR16>(GetRValue(from) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(from) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(from) << 8);
  v[1].x = rc.right;
  v[1].y = rc.bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(to) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(to) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(to) << 8);
  GRADIENT_RECT g = {0, 1};
  // GDI's own entry point: the same fill without loading msimg32.dll for it.
  ::GdiGradientFill(dc, v, 2, &g, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void FillBands(HDC dc, const std::vector<ctl::GradientBand>& bands) {
  for (const auto& band : bands)
    FillGradient(dc, ToRECT(band.rect), ToColorRef(band.from), ToColorRef(band.to), band.vertical);
}

IconHandle ScaledIcon(HICON icon, UINT resourceId, HINSTANCE module, int width, int height) {
  if (!icon || width <= 0 || height <= 0) return IconHandle();
  IconHandle copy(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE)));
  if (!copy && resourceId)
    copy.reset(static_cast<HICON>(::LoadImageA(module ? module : ::GetModuleHandleA(nullptr),
                                               MAKEINTRESOURCEA(resourceId), IMAGE_ICON, width, height, 0)));
  if (!copy) copy.reset(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, width, height, 0)));
  return copy;
}

void DrawScaledIcon(HDC dc, const RECT& rc, HICON icon, UINT resourceId, HINSTANCE module) {
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  IconHandle copy = ScaledIcon(icon, resourceId, module, w, h);
  ::DrawIconEx(dc, rc.left, rc.top, copy ? copy.get() : icon, w, h, 0, nullptr, DI_NORMAL);
}

std::string WindowText(HWND hwnd) {
  int len = ::GetWindowTextLengthA(hwnd);
  if (len <= 0) return std::string();
  std::string text(static_cast<size_t>(len) + 1, '\0');
  int got = ::GetWindowTextA(hwnd, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

HFONT ParentFont(HWND hwnd) {
  HWND parent = ::GetParent(hwnd);
  HFONT font = parent ? dpi::DialogFont(parent) : nullptr;
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

HFONT ControlFont(HWND hwnd) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0));
  return font ? font : ParentFont(hwnd);
}

RECT RectInParent(HWND hwnd) {
  RECT rc = {};
  ::GetWindowRect(hwnd, &rc);
  HWND parent = ::GetParent(hwnd);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void RedrawWithParent(HWND hwnd) {
  if (!hwnd) return;
  HWND parent = ::GetParent(hwnd);
  if (!parent) {
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return;
  }
  RECT rc = RectInParent(hwnd);
  ::RedrawWindow(parent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool IsEnterKeyQuery(LPARAM dlgCodeQuery) {
  const MSG* msg = reinterpret_cast<const MSG*>(dlgCodeQuery);
  if (!msg) return false;
  return (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) || (msg->message == WM_CHAR && msg->wParam == '\r');
}

}  // namespace ctldraw
