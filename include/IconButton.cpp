#include "include/IconButton.h"

#include <commctrl.h>

#include "include/controldraw.h"
#include "include/dpi.h"

namespace {
using namespace ctldraw;

const CIconButton::ColorSet kInitialColours[ctl::LookCount] = {
    {RGB(255, 255, 255), RGB(220, 220, 220), RGB(220, 220, 220), RGB(170, 170, 170), RGB(255, 255, 255),
     RGB(255, 0, 0)},
    {RGB(255, 255, 255), RGB(240, 240, 240), RGB(220, 220, 220), RGB(170, 170, 170), RGB(255, 255, 255),
     RGB(255, 0, 0)},
    {RGB(255, 255, 255), RGB(240, 240, 240), RGB(170, 170, 170), RGB(220, 220, 220), RGB(255, 255, 255),
     RGB(255, 0, 0)},
    {RGB(255, 255, 255), RGB(220, 220, 220), RGB(220, 220, 220), RGB(220, 220, 220), RGB(255, 255, 255),
     RGB(255, 0, 0)},
};

// A WM_GETDLGCODE query (its lParam) about a typed character other than Enter.
bool IsCharacterQuery(LPARAM dlgCodeQuery) {
  const MSG* msg = reinterpret_cast<const MSG*>(dlgCodeQuery);
  return msg && msg->message == WM_CHAR && msg->wParam != '\r';
}

FontHandle MakeFont(const LOGFONTA& lf, bool underline) {
  LOGFONTA copy = lf;
  copy.lfUnderline = underline ? TRUE : FALSE;
  return FontHandle(::CreateFontIndirectA(&copy));
}

void DrawTextIn(HDC dc, const std::string& text, const ctl::Rect& where, unsigned format, bool hideAccessKeys,
                HFONT font, COLORREF colour) {
  RECT rc = ToRECT(where);
  SelectedObject selected(dc, font);
  ::SetTextColor(dc, colour);
  DrawCueText(dc, text, rc, format, hideAccessKeys);
}
}  // namespace

void CIconButton::Buffer::Reset() {
  if (dc && oldBitmap) ::SelectObject(dc.get(), oldBitmap);
  oldBitmap = nullptr;
  dc.reset();
  bitmap.reset();
  width = height = 0;
}

bool CIconButton::Buffer::Make(HDC like, int w, int h) {
  Reset();
  dc.reset(::CreateCompatibleDC(like));
  bitmap.reset(::CreateCompatibleBitmap(like, w, h));
  if (!dc || !bitmap) {
    Reset();
    return false;
  }
  oldBitmap = ::SelectObject(dc.get(), bitmap.get());
  width = w;
  height = h;
  return true;
}

CIconButton::CIconButton() { ResetSettings(); }

CIconButton::~CIconButton() { Detach(); }

void CIconButton::ResetSettings() {
  m_dwStyle = ctl::IconButtonStyle::Default;
  m_crCaption = m_crDescription = RGB(0, 0, 0);
  m_crDisabledText = RGB(192, 192, 192);
  m_crHoverText = RGB(255, 0, 0);
  m_ptText = POINT{-1, -1};
  m_nIconOffset = 20;
  m_nIconWidth = m_nIconHeight = 32;
  m_nTextGap = 10;
  m_nDescriptionGap = 3;
  m_szCorner = SIZE{4, 4};
  for (int i = 0; i < ctl::LookCount; ++i) {
    m_colors[i] = kInitialColours[i];
    m_icons[i] = IconSlot();
  }
  m_bNoPrefix = false;
  m_bAccessKeyNeedsAlt = false;
  m_customFonts = false;
  m_pictureDpi = 0;
  m_description.clear();
  m_tracker = ctl::ButtonTracker();
}

bool CIconButton::SubclassWindow(HWND button) {
  if (!Attach(button)) return false;
  LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
  // Only the kind changes; BS_DEFPUSHBUTTON and friends would otherwise mix into a different kind.
  ::SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  ResetSettings();
  // The system's question icon until the owner sets one, and the hand cursor: both come with the
  // window, so that a button object waiting for its window costs no system call.
  m_icons[ctl::LookNormal].icon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_QUESTION));
  m_hHandCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  m_caption = WindowText(button);
  m_cues = ctl::AccessKeyCues(QueryHidesAccessKeys(button));
  MakeFonts();
  // The tooltip window comes with the first mouse message (RelayToTooltip): a window that waits
  // hidden does not pay for one per button.
  m_tooltipText.clear();
  DiscardBuffers();
  Repaint();
  return true;
}

void CIconButton::OnDetached() {
  m_tooltip.reset();
  DiscardBuffers();
  m_tracker = ctl::ButtonTracker();
}

void CIconButton::MakeFonts() {
  LOGFONTA lf = {};
  if (!::GetObjectA(ParentFont(hwnd()), sizeof(lf), &lf)) return;
  m_makingFonts = true;
  LOGFONTA caption = lf;
  caption.lfWeight = 900;
  SetCaptionFont(caption);
  LOGFONTA description = lf;
  description.lfHeight = dpi::Scaled(hwnd(), 13);
  SetDescriptionFont(description);
  m_makingFonts = false;
}

void CIconButton::SetCaptionFont(const LOGFONTA& font) {
  m_customFonts = !m_makingFonts;
  m_captionFont = MakeFont(font, false);
  m_captionHoverFont = MakeFont(font, true);
  Repaint();
}

void CIconButton::SetDescriptionFont(const LOGFONTA& font) {
  m_customFonts = !m_makingFonts;
  m_descriptionFont = MakeFont(font, false);
  m_descriptionHoverFont = MakeFont(font, true);
  Repaint();
}

void CIconButton::CreateTooltip() {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  HWND button = hwnd();
  m_tooltip.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, button, nullptr,
                                    reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(button, GWLP_HINSTANCE)),
                                    nullptr));
  if (!m_tooltip) return;
  TOOLINFOA ti = {};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = ::GetParent(button);
  ti.uId = reinterpret_cast<UINT_PTR>(button);
  char empty[1] = "";
  ti.lpszText = empty;
  ::SendMessageA(m_tooltip.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  ::SendMessageA(m_tooltip.get(), TTM_ACTIVATE, TRUE, 0);
  if (!m_tooltipText.empty()) SetTooltipText(m_tooltipText);
}

void CIconButton::SetTooltipText(const std::string& text) {
  m_tooltipText = text;
  if (!m_tooltip) return;
  std::string copy = text;  // the message takes a writable pointer; the tooltip keeps its own copy
  TOOLINFOA ti = {};
  ti.cbSize = sizeof(ti);
  ti.hwnd = ::GetParent(hwnd());
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd());
  ti.lpszText = &copy[0];
  ::SendMessageA(m_tooltip.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CIconButton::RelayToTooltip(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!m_tooltip && hwnd()) CreateTooltip();
  if (!m_tooltip) return;
  MSG m = {};
  m.hwnd = hwnd();
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = static_cast<DWORD>(::GetMessageTime());
  DWORD pos = ::GetMessagePos();
  m.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  ::SendMessageA(m_tooltip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

bool CIconButton::SetPictures(const std::string& normal, const std::string& hover, const std::string& pressed,
                              const std::string& disabled) {
  m_pImgNormal.Load(normal);
  m_pImgHover.Load(hover);
  m_pImgPressed.Load(pressed);
  m_pImgDisabled.Load(disabled);
  Repaint();
  return static_cast<bool>(m_pImgNormal);
}

bool CIconButton::HasPicture(ctl::Look look) const {
  switch (look) {
    case ctl::LookNormal: return static_cast<bool>(m_pImgNormal);
    case ctl::LookHover: return static_cast<bool>(m_pImgHover);
    case ctl::LookPressed: return static_cast<bool>(m_pImgPressed);
    case ctl::LookDisabled: return static_cast<bool>(m_pImgDisabled);
    default: return false;
  }
}

bool CIconButton::SizeToPicture(int pictureDpi) {
  if (!hwnd() || !m_pImgNormal) return false;
  m_pictureDpi = pictureDpi;
  const int at = dpi::WindowDpi(hwnd());
  RECT rc = {0, 0, dpi::Rescale(static_cast<int>(m_pImgNormal.width()), pictureDpi, at),
             dpi::Rescale(static_cast<int>(m_pImgNormal.height()), pictureDpi, at)};
  ::AdjustWindowRectEx(&rc, static_cast<DWORD>(::GetWindowLongPtrA(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrA(hwnd(), GWL_EXSTYLE)));
  ::SetWindowPos(hwnd(), nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Repaint();
  return true;
}

bool CIconButton::SetStateIcon(ctl::Look look, UINT resourceId, HINSTANCE module) {
  IconSlot& slot = m_icons[look];
  slot = IconSlot();
  if (!module) module = ::GetModuleHandleA(nullptr);
  slot.owned.reset(static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                                   Px(m_nIconWidth), Px(m_nIconHeight), 0)));
  Repaint();
  if (!slot.owned) return false;
  slot.icon = slot.owned.get();
  slot.resourceId = resourceId;
  slot.module = module;
  return true;
}

bool CIconButton::SetIcon(UINT resourceId, int width, int height, HINSTANCE module) {
  if (width > 0) m_nIconWidth = width;
  if (height > 0) m_nIconHeight = height;
  return SetStateIcon(ctl::LookNormal, resourceId, module);
}
bool CIconButton::SetHoverIcon(UINT resourceId, HINSTANCE module) {
  return SetStateIcon(ctl::LookHover, resourceId, module);
}
bool CIconButton::SetPressedIcon(UINT resourceId, HINSTANCE module) {
  return SetStateIcon(ctl::LookPressed, resourceId, module);
}
bool CIconButton::SetDisabledIcon(UINT resourceId, HINSTANCE module) {
  return SetStateIcon(ctl::LookDisabled, resourceId, module);
}

void CIconButton::SetIconHandle(HICON icon, int width, int height) {
  if (width > 0) m_nIconWidth = width;
  if (height > 0) m_nIconHeight = height;
  IconSlot& slot = m_icons[ctl::LookNormal];
  slot = IconSlot();
  slot.owned.reset(icon);
  slot.icon = icon;
  Repaint();
}

void CIconButton::SetCaption(const std::string& caption) {
  m_caption = caption;
  if (hwnd()) ::SetWindowTextA(hwnd(), caption.c_str());
  Repaint();
}

void CIconButton::SetDescription(const std::string& description) {
  m_description = description;
  Repaint();
}

void CIconButton::Repaint() {
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CIconButton::DiscardBuffers() {
  m_back.Reset();
  m_parentBack.Reset();
  m_haveParentBack = false;
}

void CIconButton::Apply(const ctl::ButtonTracker::Effect& effect) {
  if (effect.trackLeave) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hwnd(), 0};
    ::TrackMouseEvent(&tme);
  }
  if (effect.repaint) Repaint();
}

LRESULT CIconButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND self = hwnd();
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) RelayToTooltip(msg, wParam, lParam);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc paint(self);
      Paint(paint.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Apply(m_tracker.Focus(msg == WM_SETFOCUS));
      return 0;
    case WM_ENABLE:
      Repaint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second click is a click as well
      ::SetCapture(self);
      Apply(m_tracker.Press(::GetCapture() == self));
      ::UpdateWindow(self);
      return 0;
    case WM_MOUSEMOVE: {
      if (::GetCapture() == self) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(self, &pt);
        RECT window;
        ::GetWindowRect(self, &window);
        Apply(m_tracker.DragMove(::PtInRect(&window, pt) != FALSE));
      } else {
        Apply(m_tracker.HoverMove());
      }
      if (m_hoverCallback) m_hoverCallback(1, this, m_hoverUser);
      return 0;
    }
    case WM_MOUSELEAVE:
      Apply(m_tracker.Leave());
      if (m_hoverCallback) m_hoverCallback(0, this, m_hoverUser);
      return 0;
    case WM_LBUTTONUP: {
      bool held = ::GetCapture() == self;
      ctl::ButtonTracker::Effect effect = m_tracker.Release(held);
      if (held) ::ReleaseCapture();
      Apply(effect);
      // Last: the parent may destroy this button (and its object) while it handles the click.
      if (effect.click) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      Apply(m_tracker.CaptureLost());
      return 0;
    case WM_SETCURSOR:
      if ((m_dwStyle & ctl::IconButtonStyle::HandCursor) && m_hHandCursor) {
        ::SetCursor(m_hHandCursor);
        return TRUE;
      }
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam == VK_SPACE) return 0;
      break;
    case WM_GETDLGCODE: {
      LRESULT code = CallOriginal(msg, wParam, lParam);
      // Enter clicks the focused button (not the dialog's default one); the space bar stays dead.
      if (ctldraw::IsEnterKeyQuery(lParam)) code |= DLGC_WANTALLKEYS;
      // A character the button takes is no access key for the dialog: only Alt+letter is then.
      if (m_bAccessKeyNeedsAlt && IsCharacterQuery(lParam)) code |= DLGC_WANTCHARS;
      return code;
    }
    case WM_CHAR:
      if (wParam == '\r') {
        if (::IsWindowEnabled(self)) Click();
        return 0;
      }
      if (m_bAccessKeyNeedsAlt) return 0;
      break;
    case BM_CLICK:
      // The dialog manager's click for the access key, and anyone else's: a click on the whole
      // button, wherever the mouse is.
      if (::IsWindowEnabled(self)) Click();
      return 0;
    case WM_UPDATEUISTATE: {
      LRESULT result = CallOriginal(msg, wParam, lParam);
      if (FollowCues(m_cues, self, wParam)) Repaint();
      return result;
    }
    case WM_SETTEXT: {
      // Stored without the button's own repaint, which would draw it the standard way.
      LRESULT result = ::DefWindowProcA(self, msg, wParam, lParam);
      m_caption = lParam ? reinterpret_cast<const char*>(lParam) : "";
      Repaint();
      return result;
    }
    case WM_SIZE:
    case WM_SYSCOLORCHANGE:
      DiscardBuffers();
      break;
    case WM_DPICHANGED_AFTERPARENT:
      OnDpiChanged();
      break;
    case WM_GETFONT:
      // The font the caption is drawn with.
      if (m_captionFont) return reinterpret_cast<LRESULT>(m_captionFont.get());
      break;
    default:
      break;
  }
  return CallOriginal(msg, wParam, lParam);
}

int CIconButton::Px(int value96) const { return dpi::Scaled(hwnd(), value96); }

void CIconButton::OnDpiChanged() {
  // Fonts from the parent's font (renewed by now), icons reloaded at their new size, the pictures'
  // size and the parent's pixels under the button taken again.
  if (!m_customFonts) MakeFonts();
  for (int look = 0; look < ctl::LookCount; ++look) {
    IconSlot& slot = m_icons[look];
    if (slot.owned && slot.resourceId) SetStateIcon(static_cast<ctl::Look>(look), slot.resourceId, slot.module);
  }
  if (m_pictureDpi) SizeToPicture(m_pictureDpi);
  DiscardBuffers();
  Repaint();
}

void CIconButton::Click() {
  HWND self = hwnd();
  ::SendMessageA(::GetParent(self), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(self), BN_CLICKED),
                 reinterpret_cast<LPARAM>(self));
}

bool CIconButton::EnsureParentBackground() {
  if (m_haveParentBack) return true;
  HWND parent = ::GetParent(hwnd());
  if (!parent || !::IsWindowVisible(parent)) return false;
  RECT client;
  ::GetClientRect(hwnd(), &client);
  RECT at = RectInParent(hwnd());
  ClientDc parentDc(parent);
  if (!parentDc.get() || !m_parentBack.Make(parentDc.get(), client.right, client.bottom)) return false;
  ::BitBlt(m_parentBack.dc.get(), 0, 0, client.right, client.bottom, parentDc.get(), at.left, at.top, SRCCOPY);
  m_haveParentBack = true;
  return true;
}

void CIconButton::DrawColours(HDC dc, int w, int h, const ColorSet& colours) {
  RECT client = {0, 0, w, h};
  if (m_dwStyle & ctl::IconButtonStyle::Rounded) {
    FillSolid(dc, client, colours.surround);
    const int cx = Px(m_szCorner.cx), cy = Px(m_szCorner.cy);
    RegionHandle round(::CreateRoundRectRgn(0, 0, w, h, cx, cy));
    ::SelectClipRgn(dc, round.get());
    FillGradient(dc, client, colours.gradientTop, colours.gradientBottom, true);
    ::SelectClipRgn(dc, nullptr);
    SelectedObject hollow(dc, ::GetStockObject(HOLLOW_BRUSH));
    PenHandle border(::CreatePen(PS_SOLID, 1, colours.border));
    {
      SelectedObject pen(dc, border.get());
      ::RoundRect(dc, 0, 0, w - 1, h - 1, cx, cy);
    }
    if (m_dwStyle & ctl::IconButtonStyle::InnerBorder) {
      PenHandle inner(::CreatePen(PS_SOLID, 1, colours.innerBorder));
      SelectedObject pen(dc, inner.get());
      ::RoundRect(dc, 1, 1, w - 2, h - 2, cx, cy);
    }
    return;
  }
  FillGradient(dc, client, colours.gradientTop, colours.gradientBottom, true);
  if (m_dwStyle & ctl::IconButtonStyle::TwoColourFrame) {
    FillSolid(dc, RECT{0, 0, w, 1}, colours.border);
    FillSolid(dc, RECT{0, 0, 1, h}, colours.border);
    FillSolid(dc, RECT{0, h - 1, w, h}, colours.border2);
    FillSolid(dc, RECT{w - 1, 0, w, h}, colours.border2);
  } else {
    PenHandle border(::CreatePen(PS_SOLID, 1, colours.border));
    SelectedObject pen(dc, border.get());
    SelectedObject hollow(dc, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(dc, 0, 0, w, h);
  }
}

void CIconButton::DrawLayer(HDC dc, int w, int h, const ctl::BackgroundLayer& layer) {
  if (layer.kind == ctl::BackgroundLayer::Colours) {
    DrawColours(dc, w, h, m_colors[layer.look]);
    return;
  }
  if (EnsureParentBackground()) ::BitBlt(dc, 0, 0, w, h, m_parentBack.dc.get(), 0, 0, SRCCOPY);
  if (layer.kind != ctl::BackgroundLayer::Picture) return;
  const CPicture& picture = layer.look == ctl::LookNormal    ? m_pImgNormal
                            : layer.look == ctl::LookHover   ? m_pImgHover
                            : layer.look == ctl::LookPressed ? m_pImgPressed
                                                             : m_pImgDisabled;
  picture.Draw(dc, 0, 0, w, h);
}

void CIconButton::Paint(HDC target) {
  HWND self = hwnd();
  RECT client;
  ::GetClientRect(self, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0 || !target) return;
  if (!m_back.dc || m_back.width != w || m_back.height != h) {
    ClientDc screen(self);
    if (!m_back.Make(screen.get(), w, h)) return;
    ::BitBlt(m_back.dc.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
  }
  HDC dc = m_back.dc.get();
  const bool disabled = !::IsWindowEnabled(self);
  const bool hover = m_tracker.hovering(), pressed = m_tracker.pressed();

  const bool pictures[ctl::LookCount] = {HasPicture(ctl::LookNormal), HasPicture(ctl::LookHover),
                                         HasPicture(ctl::LookPressed), HasPicture(ctl::LookDisabled)};
  for (const auto& layer : ctl::IconButtonLayers(m_dwStyle, hover, pressed, disabled, pictures))
    DrawLayer(dc, w, h, layer);

  ctl::IconButtonMetrics metrics;
  metrics.width = w;
  metrics.height = h;
  metrics.style = m_dwStyle;
  metrics.pressed = pressed;
  metrics.hasIcon = HasIcon();
  metrics.hasCaption = !m_caption.empty();
  metrics.hasDescription = !m_description.empty();
  // The settings are figures at 96 dpi.
  metrics.iconOffset = Px(m_nIconOffset);
  metrics.iconWidth = Px(m_nIconWidth);
  metrics.iconHeight = Px(m_nIconHeight);
  metrics.textGap = Px(m_nTextGap);
  metrics.descriptionGap = Px(m_nDescriptionGap);
  metrics.textX = m_ptText.x < 0 ? m_ptText.x : Px(m_ptText.x);
  metrics.textY = m_ptText.y < 0 ? m_ptText.y : Px(m_ptText.y);
  metrics.noPrefix = m_bNoPrefix;
  const ctl::IconButtonLayout layout = ctl::LayOutIconButton(metrics);

  if (layout.drawIcon) {
    const bool icons[ctl::LookCount] = {m_icons[0].icon != nullptr, m_icons[1].icon != nullptr,
                                        m_icons[2].icon != nullptr, m_icons[3].icon != nullptr};
    int slot = ctl::IconButtonIconChoice(hover, pressed, disabled, icons);
    if (slot >= 0) {
      const IconSlot& icon = m_icons[slot];
      DrawScaledIcon(dc, ToRECT(layout.icon), icon.icon, icon.resourceId, icon.module);
    }
  }

  ::SetBkMode(dc, TRANSPARENT);
  const bool hoverColour = hover && (m_dwStyle & ctl::IconButtonStyle::HoverTextColour);
  if (layout.drawCaption) {
    COLORREF colour = disabled ? m_crDisabledText : hoverColour ? m_crHoverText : m_crCaption;
    bool underline = hover && (m_dwStyle & ctl::IconButtonStyle::UnderlineCaption);
    HFONT font = underline ? m_captionHoverFont.get() : m_captionFont.get();
    DrawTextIn(dc, m_caption, layout.caption, layout.captionFormat, m_cues.hidden(), font ? font : ParentFont(self),
               colour);
  }
  if (layout.drawDescription) {
    COLORREF colour = disabled ? m_crDisabledText : hoverColour ? m_crHoverText : m_crDescription;
    bool underline = hover && (m_dwStyle & ctl::IconButtonStyle::UnderlineDescription);
    HFONT font = underline ? m_descriptionHoverFont.get() : m_descriptionFont.get();
    DrawTextIn(dc, m_description, layout.description, layout.descriptionFormat, m_cues.hidden(),
               font ? font : ParentFont(self), colour);
  }
  ::BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}
