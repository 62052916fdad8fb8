#include "include/controlmath.h"

#include <algorithm>

#include "language/langformat.h"

namespace ctl {

bool AccessKeyCues::Update(unsigned action, unsigned flags, bool queriedHidden) {
  const bool was = m_hidden;
  if (action == Initialize) {
    m_hidden = queriedHidden;
  } else if (flags & HideAccel) {
    if (action == Set) m_hidden = true;
    if (action == Clear) m_hidden = false;
  }
  return was != m_hidden;
}

CueText TextForCues(const std::string& text, unsigned format, bool hideAccessKeys) {
  if ((format & dt::NoPrefix) || !hideAccessKeys) return CueText{text, format};
  return CueText{lang::StripAccessKey(text), format | dt::NoPrefix};
}

Rect Offset(Rect r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
  return r;
}

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.Empty()) return Rect{};
  return r;
}

namespace {
int Mix(int from, int to, int pos, int last) {
  // Rounded to the nearest; `last` is at least 1 here.
  int diff = (to - from) * pos;
  int half = last / 2;
  return from + (diff >= 0 ? (diff + half) / last : -((-diff + half) / last));
}
}  // namespace

Rgb GradientAt(Rgb from, Rgb to, int pos, int length) {
  if (length <= 1) return from;
  int last = length - 1;
  pos = std::clamp(pos, 0, last);
  return Rgb{Mix(from.r, to.r, pos, last), Mix(from.g, to.g, pos, last), Mix(from.b, to.b, pos, last)};
}

namespace {
// Left half from `outer` to `inner`, right half back out again.
std::vector<GradientBand> Mirrored(Rgb inner, Rgb outer, const Rect& r, bool vertical) {
  std::vector<GradientBand> bands;
  if (r.Empty()) return bands;
  if (!vertical) {
    int mid = r.left + r.Width() / 2;
    bands.push_back({Rect{r.left, r.top, mid, r.bottom}, outer, inner, false});
    bands.push_back({Rect{mid, r.top, r.right, r.bottom}, inner, outer, false});
  } else {
    int mid = r.top + r.Height() / 2;
    bands.push_back({Rect{r.left, r.top, r.right, mid}, outer, inner, true});
    bands.push_back({Rect{r.left, mid, r.right, r.bottom}, inner, outer, true});
  }
  // A half of no pixels (a control one pixel wide) would only confuse the caller.
  bands.erase(std::remove_if(bands.begin(), bands.end(), [](const GradientBand& g) { return g.rect.Empty(); }),
              bands.end());
  return bands;
}
}  // namespace

std::vector<GradientBand> GradientLineBands(uint32_t style, Rgb a, Rgb b, const Rect& client) {
  namespace S = GradientLineStyle;
  if (client.Empty()) return {};
  bool vertical = false, reverse = false, mirror = false;
  if (style & S::Horizontal) {
  } else if (style & S::HorizontalReverse) {
    reverse = true;
  } else if (style & S::HorizontalMirror) {
    mirror = true;
  } else if (style & S::Vertical) {
    vertical = true;
  } else if (style & S::VerticalReverse) {
    vertical = reverse = true;
  } else if (style & S::VerticalMirror) {
    vertical = mirror = true;
  } else {
    return {};
  }
  Rect r = client;
  if (style & S::LineOnly) {
    if (vertical)
      r.right = r.left + 1;
    else
      r.bottom = r.top + 1;
  }
  if (mirror) return Mirrored(a, b, r, vertical);
  if (reverse) return {GradientBand{r, b, a, vertical}};
  return {GradientBand{r, a, b, vertical}};
}

std::vector<BackgroundLayer> IconButtonLayers(uint32_t style, bool hover, bool pressed, bool disabled,
                                              const bool havePicture[LookCount]) {
  namespace S = IconButtonStyle;
  std::vector<BackgroundLayer> layers;
  bool pictures = (style & S::Picture) != 0;
  auto stateLayer = [&](Look look, uint32_t colourBit) {
    if (style & colourBit)
      layers.push_back({BackgroundLayer::Colours, look});
    else if (pictures && havePicture[look])
      layers.push_back({BackgroundLayer::Picture, look});
  };
  if (style & S::NormalBack)
    layers.push_back({BackgroundLayer::Colours, LookNormal});
  else if (pictures && havePicture[LookNormal])
    layers.push_back({BackgroundLayer::Picture, LookNormal});
  else
    layers.push_back({BackgroundLayer::ParentOnly, LookNormal});
  if (hover) stateLayer(LookHover, S::HoverBack);
  if (pressed) stateLayer(LookPressed, S::PressedBack);
  if (disabled) stateLayer(LookDisabled, S::DisabledBack);
  return layers;
}

int IconButtonIconChoice(bool hover, bool pressed, bool disabled, const bool haveIcon[LookCount]) {
  if (hover && haveIcon[LookHover]) return LookHover;
  if (pressed && haveIcon[LookPressed]) return LookPressed;
  if (disabled && haveIcon[LookDisabled]) return LookDisabled;
  return haveIcon[LookNormal] ? LookNormal : -1;
}

IconButtonLayout LayOutIconButton(const IconButtonMetrics& m) {
  IconButtonLayout out;
  const bool vertical = (m.style & IconButtonStyle::Vertical) != 0;
  const int shift = m.pressed ? 1 : 0;
  const unsigned noPrefix = m.noPrefix ? dt::NoPrefix : 0;
  const Rect client{0, 0, m.width, m.height};

  if (m.hasIcon) {
    Rect icon = vertical ? Rect{(m.width - m.iconWidth) / 2, m.iconOffset, 0, 0}
                         : Rect{m.iconOffset, (m.height - m.iconHeight) / 2, 0, 0};
    icon.right = icon.left + m.iconWidth;
    icon.bottom = icon.top + m.iconHeight;
    icon = Offset(Intersect(icon, client), shift, shift);
    out.drawIcon = !icon.Empty();
    out.icon = icon;
  }

  // Without an icon the texts start at the left edge and are centred.
  const int textLeft = m.hasIcon ? m.iconOffset + m.iconWidth + m.textGap : 0;
  if (m.hasCaption) {
    Rect r;
    unsigned fmt;
    if (m.textX >= 0 && m.textY >= 0) {
      r = Rect{m.textX, m.textY, m.width, m.height};
      fmt = dt::SingleLine;
    } else if (vertical) {
      r = Rect{0, m.iconOffset + m.iconHeight + m.textGap, m.width, m.height};
      fmt = dt::Center | dt::WordEllipsis;
    } else {
      r = Rect{textLeft, 0, m.width, m.hasDescription ? m.height / 2 : m.height};
      fmt = dt::SingleLine | (m.hasDescription ? dt::Bottom : dt::VCenter) | (m.hasIcon ? 0 : dt::Center);
    }
    out.drawCaption = true;
    out.caption = Offset(r, shift, shift);
    out.captionFormat = fmt | noPrefix;
  }
  if (m.hasDescription && !vertical) {
    Rect r{textLeft, m.hasCaption ? m.height / 2 + m.descriptionGap : 0, m.width, m.height};
    out.drawDescription = true;
    out.description = Offset(r, shift, shift);
    out.descriptionFormat =
        dt::SingleLine | (m.hasCaption ? 0 : dt::VCenter) | (m.hasIcon ? 0 : dt::Center) | noPrefix;
  }
  return out;
}

ButtonTracker::Effect ButtonTracker::SetBit(unsigned bit, bool on) {
  Effect e;
  unsigned next = on ? (m_bits | bit) : (m_bits & ~bit);
  e.repaint = next != m_bits;
  m_bits = next;
  return e;
}

ButtonTracker::Effect ButtonTracker::Press(bool captured) {
  Effect e;
  if (!captured) return e;
  m_bits |= Pressed;
  e.repaint = true;
  return e;
}

ButtonTracker::Effect ButtonTracker::DragMove(bool inside) { return SetBit(Pressed, inside); }

ButtonTracker::Effect ButtonTracker::HoverMove() {
  Effect e;
  if (hovering()) return e;
  m_bits |= Hover;
  e.repaint = true;
  e.trackLeave = true;
  return e;
}

ButtonTracker::Effect ButtonTracker::Leave() {
  Effect e;
  m_bits &= ~Hover;
  e.repaint = true;
  return e;
}

ButtonTracker::Effect ButtonTracker::Release(bool heldCapture) {
  Effect e;
  if (!heldCapture) return e;
  e.click = pressed();
  // Giving the capture back clears the pressed bit as well; this keeps the bits right even when
  // that notification does not come.
  e.repaint = SetBit(Pressed, false).repaint;
  return e;
}

ButtonTracker::Effect ButtonTracker::CaptureLost() {
  Effect e = SetBit(Pressed, false);
  e.repaint = true;
  return e;
}

ButtonTracker::Effect ButtonTracker::Focus(bool on) {
  Effect e = SetBit(Focused, on);
  e.repaint = true;
  return e;
}

Rect LinkTextRect(uint32_t buttonStyle, const Rect& client, int textWidth, int textHeight) {
  int w = client.Width(), h = client.Height();
  int x;
  // BS_CENTER is BS_LEFT | BS_RIGHT, so it has to be recognised before BS_RIGHT alone.
  uint32_t align = buttonStyle & LinkButtonStyle::Center;
  if (align == LinkButtonStyle::Center)
    x = (w - textWidth) / 2;
  else if (align == LinkButtonStyle::Right)
    x = w - textWidth;
  else
    x = 0;
  int y = (h - textHeight) / 2;
  Rect r{client.left + x, client.top + y, client.left + x + textWidth, client.top + y + textHeight};
  return Intersect(r, client);
}

unsigned LinkTextFormat(uint32_t buttonStyle) {
  uint32_t align = buttonStyle & LinkButtonStyle::Center;
  unsigned h = align == LinkButtonStyle::Center ? dt::Center : align == LinkButtonStyle::Right ? dt::Right : dt::Left;
  return dt::SingleLine | dt::VCenter | h;
}

StaticBackground BoldStaticBackground(uint32_t style, bool hasBitmap) {
  namespace S = BoldStaticStyle;
  if (style & S::Rounded) return StaticBackground::Rounded;
  if (style & S::HorizontalGradient) return StaticBackground::HorizontalGradient;
  if (style & S::VerticalGradient) return StaticBackground::VerticalGradient;
  if (style & S::MirrorGradient) return StaticBackground::MirrorGradient;
  if (hasBitmap) {
    if (style & S::BitmapCentred) return StaticBackground::BitmapCentred;
    if (style & S::BitmapStretched) return StaticBackground::BitmapStretched;
    if (style & S::BitmapTopLeft) return StaticBackground::BitmapTopLeft;
  }
  return StaticBackground::None;
}

std::vector<GradientBand> BoldStaticBands(StaticBackground kind, Rgb a, Rgb b, const Rect& client) {
  if (client.Empty()) return {};
  switch (kind) {
    case StaticBackground::HorizontalGradient:
      return {GradientBand{client, a, b, false}};
    case StaticBackground::VerticalGradient:
      return {GradientBand{client, a, b, true}};
    case StaticBackground::MirrorGradient:
      return Mirrored(a, b, client, false);
    default:
      return {};
  }
}

StaticLayout LayOutBoldStatic(uint32_t style, const Rect& client, bool hasIcon, int iconWidth, int iconHeight,
                              int iconMargin, int iconGap, int insetX, int insetY) {
  namespace S = BoldStaticStyle;
  StaticLayout out;
  Rect text = client;
  if (hasIcon && (style & (S::IconTop | S::IconBottom | S::IconLeft | S::IconRight))) {
    Rect icon;
    const int centreX = client.left + (client.Width() - iconWidth) / 2;
    const int centreY = client.top + (client.Height() - iconHeight) / 2;
    if (style & S::IconTop) {
      icon = Rect{centreX, client.top + iconMargin, 0, 0};
      text.top += iconMargin + iconHeight + iconGap;
    } else if (style & S::IconBottom) {
      icon = Rect{centreX, client.bottom - iconMargin - iconHeight, 0, 0};
      text.bottom -= iconMargin + iconHeight + iconGap;
    } else if (style & S::IconLeft) {
      icon = Rect{client.left + iconMargin, centreY, 0, 0};
      text.left += iconMargin + iconWidth + iconGap;
    } else {
      icon = Rect{client.right - iconMargin - iconWidth, centreY, 0, 0};
      text.right -= iconMargin + iconWidth + iconGap;
    }
    icon.right = icon.left + iconWidth;
    icon.bottom = icon.top + iconHeight;
    out.icon = Intersect(icon, client);
    out.drawIcon = !out.icon.Empty();
  }
  text.left += insetX;
  text.right -= insetX;
  text.top += insetY;
  text.bottom -= insetY;
  out.text = text;
  return out;
}

unsigned BoldStaticFormat(uint32_t staticStyle, unsigned extraFormat, bool noPrefix) {
  // The low bits of a static's style are its kind, not flags: SS_RIGHT is 2, not a bit set beside SS_CENTER.
  uint32_t kind = staticStyle & StaticStyle::TypeMask;
  unsigned fmt = kind == StaticStyle::Center ? dt::Center : kind == StaticStyle::Right ? dt::Right : dt::Left;
  fmt |= (staticStyle & StaticStyle::CenterImage) ? (dt::VCenter | dt::SingleLine) : dt::WordBreak;
  fmt |= extraFormat;
  if (noPrefix) fmt |= dt::NoPrefix;
  return fmt;
}

WhiteBands WhiteWndBands(const Rect& client, bool hasOk, int okTop, int gap) {
  WhiteBands out;
  if (!hasOk) {
    out.white = client;
    return out;
  }
  int y = okTop - gap;
  int split = std::clamp(y, client.top, client.bottom);
  out.white = Rect{client.left, client.top, client.right, split};
  out.grey = Rect{client.left, split, client.right, client.bottom};
  out.line = y >= client.top && y < client.bottom;
  out.lineY = y;
  return out;
}

void KeyTextMap::Add(const std::string& key, const std::string& display) { m_map[key] = display; }

std::string KeyTextMap::KeyOf(const std::string& display) const {
  for (const auto& [key, text] : m_map)
    if (text == display) return key;
  return display;
}

std::string KeyTextMap::DisplayOf(const std::string& key) const {
  auto it = m_map.find(key);
  return it == m_map.end() ? std::string() : it->second;
}

}  // namespace ctl
