// The arithmetic behind the skinned controls: colour ramps, which background layers and icon a
// button state shows, where icon and texts go, and the key/display map of the converting combo box.
// Nothing here touches Win32, so it is checked natively; the controls translate to and from GDI.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ctl {

struct Rgb {
  int r = 0, g = 0, b = 0;  // 0..255 each
};
inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
Rect Offset(Rect r, int dx, int dy);
// The common part; an empty rectangle at 0,0 when they do not overlap.
Rect Intersect(const Rect& a, const Rect& b);

// Text format bits. They carry the values of the DT_ flags of DrawText, so the controls pass them on
// unchanged (the Win32 side checks that they agree).
namespace dt {
constexpr unsigned Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4, Bottom = 0x8, WordBreak = 0x10,
                   SingleLine = 0x20, NoPrefix = 0x800, WordEllipsis = 0x40000;
}

// ---- access key underlines ------------------------------------------------------------------

// Whether a drawn control underlines its access key. Windows hides the underlines until the user
// works with the keyboard (Alt, Tab) and tells every control with WM_UPDATEUISTATE; the actions and
// flag carry the values of UIS_SET, UIS_CLEAR, UIS_INITIALIZE and UISF_HIDEACCEL.
class AccessKeyCues {
 public:
  static constexpr unsigned Set = 1, Clear = 2, Initialize = 3;
  static constexpr unsigned HideAccel = 0x2;

  explicit AccessKeyCues(bool hidden = false) : m_hidden(hidden) {}
  bool hidden() const { return m_hidden; }
  // One WM_UPDATEUISTATE (action, flags); `queriedHidden` is what WM_QUERYUISTATE says afterwards,
  // which decides for UIS_INITIALIZE. True when the underline changed.
  bool Update(unsigned action, unsigned flags, bool queriedHidden);

 private:
  bool m_hidden;
};

// A text and its DrawText format as a control draws them: with the underline hidden, the text
// without its marks and without prefix processing; a format that asks for no prefix processing
// keeps the text as it is.
struct CueText {
  std::string text;
  unsigned format;
};
CueText TextForCues(const std::string& text, unsigned format, bool hideAccessKeys);

// ---- colour ramps ----------------------------------------------------------------------------

// Colour of a linear ramp at `pos` of `length` pixels: `from` at 0, `to` at length - 1, in between
// rounded to the nearest value. Positions outside are clamped.
Rgb GradientAt(Rgb from, Rgb to, int pos, int length);

// One linear ramp over a rectangle, horizontal (left to right) or vertical (top to bottom).
struct GradientBand {
  Rect rect;
  Rgb from, to;
  bool vertical = false;
};

namespace GradientLineStyle {
constexpr uint32_t Horizontal = 0x1;          // A to B
constexpr uint32_t HorizontalReverse = 0x10;  // B to A
constexpr uint32_t HorizontalMirror = 0x100;  // left half B to A, right half A to B
constexpr uint32_t LineOnly = 0x1000;         // only the top row (horizontal) or left column (vertical)
constexpr uint32_t Vertical = 0x10000;
constexpr uint32_t VerticalReverse = 0x100000;
constexpr uint32_t VerticalMirror = 0x1000000;
}  // namespace GradientLineStyle

// The ramps a gradient line static fills. The first direction bit in the order above wins; with none
// the list is empty.
std::vector<GradientBand> GradientLineBands(uint32_t style, Rgb a, Rgb b, const Rect& client);

// ---- image button ----------------------------------------------------------------------------

namespace IconButtonStyle {
constexpr uint32_t HandCursor = 0x0001;
constexpr uint32_t HoverBack = 0x0002;
constexpr uint32_t NormalBack = 0x0004;
constexpr uint32_t PressedBack = 0x0008;
constexpr uint32_t DisabledBack = 0x0010;
constexpr uint32_t Picture = 0x0020;
constexpr uint32_t UnderlineCaption = 0x0040;
constexpr uint32_t UnderlineDescription = 0x0080;
constexpr uint32_t TwoColourFrame = 0x0100;
constexpr uint32_t Rounded = 0x0200;
constexpr uint32_t InnerBorder = 0x0400;
constexpr uint32_t HoverTextColour = 0x0800;
constexpr uint32_t Vertical = 0x1000;
constexpr uint32_t Default = HoverBack | PressedBack;
}  // namespace IconButtonStyle

// The four looks of a button; also the index of its colour set, picture and icon.
enum Look { LookNormal = 0, LookHover = 1, LookPressed = 2, LookDisabled = 3, LookCount = 4 };

// What one background layer paints: the look's colour set, the parent's pixels with the look's
// picture over them, or the parent's pixels alone.
struct BackgroundLayer {
  enum Kind { Colours, Picture, ParentOnly } kind;
  Look look;
};
inline bool operator==(const BackgroundLayer& a, const BackgroundLayer& b) {
  return a.kind == b.kind && a.look == b.look;
}

// Layers in painting order (normal, hover, pressed, disabled); each later one covers the earlier.
std::vector<BackgroundLayer> IconButtonLayers(uint32_t style, bool hover, bool pressed, bool disabled,
                                              const bool havePicture[LookCount]);

// The icon a state shows: hover, else pressed, else disabled (each when set and in that state), else
// the normal one; -1 when the chosen slot is empty.
int IconButtonIconChoice(bool hover, bool pressed, bool disabled, const bool haveIcon[LookCount]);

struct IconButtonMetrics {
  int width = 0, height = 0;  // client size
  uint32_t style = IconButtonStyle::Default;
  bool pressed = false;
  bool hasIcon = false, hasCaption = false, hasDescription = false;
  int iconOffset = 20, iconWidth = 32, iconHeight = 32;
  int textGap = 10, descriptionGap = 3;
  int textX = -1, textY = -1;  // both 0 or more: the caption starts at this point
  bool noPrefix = false;
};

struct IconButtonLayout {
  bool drawIcon = false;
  Rect icon;
  bool drawCaption = false;
  Rect caption;
  unsigned captionFormat = 0;
  bool drawDescription = false;
  Rect description;
  unsigned descriptionFormat = 0;
};

IconButtonLayout LayOutIconButton(const IconButtonMetrics& m);

// Hover, focus and pressed bits of an image button, driven by its mouse and focus messages. Each event
// says what the window has to do next.
class ButtonTracker {
 public:
  static constexpr unsigned Hover = 0x01, Focused = 0x02, Pressed = 0x04;
  struct Effect {
    bool repaint = false;
    bool trackLeave = false;  // ask for a leave notification
    bool click = false;       // send the click to the parent
  };

  unsigned bits() const { return m_bits; }
  bool hovering() const { return (m_bits & Hover) != 0; }
  bool pressed() const { return (m_bits & Pressed) != 0; }
  bool focused() const { return (m_bits & Focused) != 0; }

  // A left press; `captured` tells whether the window got the mouse capture.
  Effect Press(bool captured);
  // A move while this window holds the capture: pressed follows whether the cursor is inside.
  Effect DragMove(bool inside);
  // A move without capture: hovering starts.
  Effect HoverMove();
  Effect Leave();
  // The release; `heldCapture` tells whether this window held the capture. Clicks when it did and the
  // pressed bit was set.
  Effect Release(bool heldCapture);
  Effect CaptureLost();
  Effect Focus(bool on);

 private:
  Effect SetBit(unsigned bit, bool on);
  unsigned m_bits = 0;
};

// ---- link button -----------------------------------------------------------------------------

// The button style bits that align a link's text (BS_LEFT, BS_RIGHT, BS_CENTER = both).
namespace LinkButtonStyle {
constexpr uint32_t Left = 0x100, Right = 0x200, Center = 0x300;
}

// Where a single line of `textWidth` x `textHeight` lies in the client area, aligned by the button
// style and centred vertically; clipped to the client area.
Rect LinkTextRect(uint32_t buttonStyle, const Rect& client, int textWidth, int textHeight);
// The DrawText format of that line.
unsigned LinkTextFormat(uint32_t buttonStyle);

// ---- bold text static ------------------------------------------------------------------------

namespace BoldStaticStyle {
constexpr uint32_t HorizontalGradient = 0x0001;
constexpr uint32_t VerticalGradient = 0x0002;
constexpr uint32_t MirrorGradient = 0x0004;
constexpr uint32_t BitmapCentred = 0x0008;
constexpr uint32_t BitmapStretched = 0x0010;
constexpr uint32_t BitmapTopLeft = 0x0020;
constexpr uint32_t IconTop = 0x0040;
constexpr uint32_t IconBottom = 0x0080;
constexpr uint32_t IconLeft = 0x0100;
constexpr uint32_t IconRight = 0x0200;
constexpr uint32_t Border = 0x0400;
constexpr uint32_t Rounded = 0x0800;
constexpr uint32_t EtchedBottom = 0x1000;
}  // namespace BoldStaticStyle

enum class StaticBackground {
  None, Rounded, HorizontalGradient, VerticalGradient, MirrorGradient, BitmapCentred, BitmapStretched,
  BitmapTopLeft
};
// The first matching background of 0x800, 0x01, 0x02, 0x04, then (with a bitmap) 0x08, 0x10, 0x20.
StaticBackground BoldStaticBackground(uint32_t style, bool hasBitmap);
// The ramps of the gradient backgrounds (empty for the others).
std::vector<GradientBand> BoldStaticBands(StaticBackground kind, Rgb a, Rgb b, const Rect& client);

struct StaticLayout {
  bool drawIcon = false;
  Rect icon;
  Rect text;
};
// Icon placement (first of 0x40, 0x80, 0x100, 0x200) and the text rectangle that is left, inset by
// the text insets.
StaticLayout LayOutBoldStatic(uint32_t style, const Rect& client, bool hasIcon, int iconWidth, int iconHeight,
                              int iconMargin, int iconGap, int insetX, int insetY);

// The static control style bits that matter for the text format.
namespace StaticStyle {
constexpr uint32_t TypeMask = 0x1F, Center = 0x1, Right = 0x2, CenterImage = 0x200;
}
unsigned BoldStaticFormat(uint32_t staticStyle, unsigned extraFormat, bool noPrefix);

// ---- white dialog background -----------------------------------------------------------------

struct WhiteBands {
  Rect white, grey;
  bool line = false;
  int lineY = 0;
};
// `okTop` is the top of the OK button in client coordinates; without one (hasOk false) the whole
// client area is white. The grey band begins `gap` pixels (15 at 96 dpi) above the OK button.
WhiteBands WhiteWndBands(const Rect& client, bool hasOk, int okTop, int gap = 15);

// ---- converting combo box --------------------------------------------------------------------

// Key texts and the display texts shown for them, ordered by key in plain byte order.
class KeyTextMap {
 public:
  // Records the pair; a key added again takes the newer display text.
  void Add(const std::string& key, const std::string& display);
  // The first key in key order whose display text equals `display` exactly; `display` itself when
  // none does.
  std::string KeyOf(const std::string& display) const;
  // The display text recorded for `key`; empty for a key that was never added.
  std::string DisplayOf(const std::string& key) const;
  bool HasKey(const std::string& key) const { return m_map.count(key) != 0; }
  void Clear() { m_map.clear(); }
  size_t size() const { return m_map.size(); }

 private:
  std::map<std::string, std::string> m_map;
};

}  // namespace ctl
