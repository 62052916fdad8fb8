#include "include/BoldTextStatic.h"

#include "include/controldraw.h"
#include "include/dpi.h"

using namespace ctldraw;

CBoldTextStatic::~CBoldTextStatic() { Detach(); }

bool CBoldTextStatic::SubclassWindow(HWND control) {
  if (!Attach(control)) return false;
  m_text = WindowText(control);
  m_cues = ctl::AccessKeyCues(QueryHidesAccessKeys(control));
  Redraw();
  return true;
}

bool CBoldTextStatic::MakeBoldFont(LONG height) {
  if (!hwnd()) return false;
  LOGFONTA lf = {};
  // The static's own font, not the bold one it answers WM_GETFONT with.
  HFONT own = reinterpret_cast<HFONT>(CallOriginal(WM_GETFONT, 0, 0));
  if (!::GetObjectA(own ? own : ParentFont(hwnd()), sizeof(lf), &lf)) return false;
  lf.lfWeight = FW_BOLD;
  if (height != 0) lf.lfHeight = dpi::Scaled(hwnd(), height);
  FontHandle font(::CreateFontIndirectA(&lf));
  if (!font) return false;
  m_font = std::move(font);
  m_boldHeight = height;
  m_bold = true;
  Redraw();
  return true;
}

void CBoldTextStatic::SetStyle(DWORD style) {
  m_dwStyle = style;
  Redraw();
}
void CBoldTextStatic::SetTextColor(COLORREF colour) {
  m_crText = colour;
  Redraw();
}
void CBoldTextStatic::SetShadow(bool on) {
  m_bShadow = on;
  Redraw();
}
void CBoldTextStatic::SetBackgroundColors(COLORREF a, COLORREF b) {
  m_crBackA = a;
  m_crBackB = b;
  Redraw();
}
void CBoldTextStatic::SetBorderColor(COLORREF colour) {
  m_crBorder = colour;
  Redraw();
}
void CBoldTextStatic::SetCornerSize(int width, int height) {
  m_szCorner = SIZE{width, height};
  Redraw();
}
void CBoldTextStatic::SetTextInsets(int x, int y) {
  m_nInsetX = x;
  m_nInsetY = y;
  Redraw();
}
bool CBoldTextStatic::SetBitmap(UINT resourceId, HINSTANCE module) {
  BitmapHandle bitmap(static_cast<HBITMAP>(::LoadImageA(module ? module : ::GetModuleHandleA(nullptr),
                                                        MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, 0)));
  bool ok = static_cast<bool>(bitmap);
  SetBitmap(std::move(bitmap));
  return ok;
}
void CBoldTextStatic::SetBitmap(BitmapHandle bitmap) {
  m_bitmap = std::move(bitmap);
  Redraw();
}
bool CBoldTextStatic::SetIcon(UINT resourceId, int width, int height, HINSTANCE module) {
  if (!module) module = ::GetModuleHandleA(nullptr);
  m_nIconWidth = width;
  m_nIconHeight = height;
  m_icon.reset(static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, Px(width),
                                               Px(height), 0)));
  m_iconId = m_icon ? resourceId : 0;
  m_iconModule = module;
  Redraw();
  return static_cast<bool>(m_icon);
}
void CBoldTextStatic::SetIconMargins(int margin, int gap) {
  m_nIconMargin = margin;
  m_nIconGap = gap;
  Redraw();
}
void CBoldTextStatic::SetNoPrefix(bool on) {
  m_bNoPrefix = on;
  Redraw();
}
void CBoldTextStatic::SetExtraFormat(UINT format) {
  m_extraFormat = format;
  Redraw();
}

bool CBoldTextStatic::PaintsOwnBackground() const {
  switch (ctl::BoldStaticBackground(m_dwStyle, static_cast<bool>(m_bitmap))) {
    case ctl::StaticBackground::HorizontalGradient:
    case ctl::StaticBackground::VerticalGradient:
    case ctl::StaticBackground::MirrorGradient:
    case ctl::StaticBackground::BitmapStretched:
      return true;
    default:
      return false;
  }
}

int CBoldTextStatic::Px(int value96) const { return dpi::Scaled(hwnd(), value96); }

void CBoldTextStatic::Redraw() {
  if (!hwnd()) return;
  // Text drawn straight over the parent's pixels needs them painted again first, or old and new
  // text pile up.
  if (PaintsOwnBackground())
    ::InvalidateRect(hwnd(), nullptr, FALSE);
  else
    RedrawWithParent(hwnd());
}

void CBoldTextStatic::Paint(HDC dc) {
  namespace S = ctl::BoldStaticStyle;
  HWND self = hwnd();
  RECT client;
  ::GetClientRect(self, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  const ctl::Rect crect = ToRect(client);

  switch (ctl::StaticBackground kind = ctl::BoldStaticBackground(m_dwStyle, static_cast<bool>(m_bitmap))) {
    case ctl::StaticBackground::Rounded: {
      BrushHandle fill(::CreateSolidBrush(m_crBackA));
      PenHandle outline(::CreatePen(PS_SOLID, 1, m_crBorder));
      SelectedObject brush(dc, fill.get());
      SelectedObject pen(dc, outline.get());
      ::RoundRect(dc, 0, 0, w, h, Px(m_szCorner.cx), Px(m_szCorner.cy));
      break;
    }
    case ctl::StaticBackground::HorizontalGradient:
    case ctl::StaticBackground::VerticalGradient:
    case ctl::StaticBackground::MirrorGradient:
      FillBands(dc, ctl::BoldStaticBands(kind, ToRgb(m_crBackA), ToRgb(m_crBackB), crect));
      break;
    case ctl::StaticBackground::BitmapCentred:
    case ctl::StaticBackground::BitmapStretched:
    case ctl::StaticBackground::BitmapTopLeft: {
      BITMAP bm = {};
      if (!::GetObjectA(m_bitmap.get(), sizeof(bm), &bm)) break;
      MemoryDc source(::CreateCompatibleDC(dc));
      if (!source) break;
      SelectedObject picture(source.get(), m_bitmap.get());
      if (kind == ctl::StaticBackground::BitmapCentred) {
        ::BitBlt(dc, (w - bm.bmWidth) / 2, (h - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, source.get(), 0, 0,
                 SRCCOPY);
      } else if (kind == ctl::StaticBackground::BitmapStretched) {
        int oldMode = ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, 0, 0, w, h, source.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        ::SetStretchBltMode(dc, oldMode);
      } else {
        ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, SRCCOPY);
      }
      break;
    }
    case ctl::StaticBackground::None:
      break;
  }

  if (m_dwStyle & S::Border) {
    PenHandle outline(::CreatePen(PS_SOLID, 1, m_crBorder));
    SelectedObject pen(dc, outline.get());
    SelectedObject hollow(dc, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(dc, 0, 0, w, h);
  }
  if ((m_dwStyle & S::EtchedBottom) && h >= 2) {
    FillSolid(dc, RECT{0, h - 2, w, h - 1}, ::GetSysColor(COLOR_BTNSHADOW));
    FillSolid(dc, RECT{0, h - 1, w, h}, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  }

  // The figures are at 96 dpi.
  const ctl::StaticLayout layout =
      ctl::LayOutBoldStatic(m_dwStyle, crect, static_cast<bool>(m_icon), Px(m_nIconWidth), Px(m_nIconHeight),
                            Px(m_nIconMargin), Px(m_nIconGap), Px(m_nInsetX), Px(m_nInsetY));
  if (layout.drawIcon) DrawScaledIcon(dc, ToRECT(layout.icon), m_icon.get(), m_iconId, m_iconModule);

  if (m_text.empty()) return;
  RECT rc = ToRECT(layout.text);
  UINT format = ctl::BoldStaticFormat(static_cast<uint32_t>(::GetWindowLongPtrA(self, GWL_STYLE)), m_extraFormat,
                                      m_bNoPrefix);
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  SelectedObject font(dc, m_font ? m_font.get() : ControlFont(self));
  if (m_bShadow) {
    RECT shadow = rc;
    ::OffsetRect(&shadow, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    DrawCueText(dc, m_text, shadow, format, m_cues.hidden());
  }
  ::SetTextColor(dc, ::IsWindowEnabled(self) ? m_crText : ::GetSysColor(COLOR_GRAYTEXT));
  DrawCueText(dc, m_text, rc, format, m_cues.hidden());
  ::SetBkMode(dc, oldMode);
}

LRESULT CBoldTextStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND self = hwnd();
  switch (msg) {
    case WM_PAINT: {
      PaintDc dc(self);
      Paint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT: {
      // The static's own handler would paint the text its own way at once.
      LRESULT result = ::DefWindowProcA(self, msg, wParam, lParam);
      m_text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      Redraw();
      return result;
    }
    case WM_ENABLE:
      Redraw();
      return 0;
    case WM_UPDATEUISTATE: {
      LRESULT result = CallOriginal(msg, wParam, lParam);
      if (FollowCues(m_cues, self, wParam)) Redraw();
      return result;
    }
    case WM_GETFONT:
      // The font the text is drawn with.
      if (m_font) return reinterpret_cast<LRESULT>(m_font.get());
      break;
    case WM_DPICHANGED_AFTERPARENT:
      // The control's font is the dialog font at the new dpi by now.
      if (m_bold) MakeBoldFont(m_boldHeight);
      if (m_icon && m_iconId) SetIcon(m_iconId, m_nIconWidth, m_nIconHeight, m_iconModule);
      Redraw();
      break;
    default:
      break;
  }
  return CallOriginal(msg, wParam, lParam);
}
