#include <doctest/doctest.h>

#include <ostream>

#include "include/controlmath.h"

using namespace ctl;

namespace ctl {
// Readable values in failure messages.
std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << "rgb(" << c.r << "," << c.g << "," << c.b << ")"; }
std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "[" << r.left << "," << r.top << " - " << r.right << "," << r.bottom << "]";
}
}  // namespace ctl

namespace {
const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0};
const bool kNone[LookCount] = {false, false, false, false};
const bool kAll[LookCount] = {true, true, true, true};
}  // namespace

TEST_CASE("a colour ramp runs from its first colour to its last, rounded") {
  CHECK(GradientAt(kBlack, kWhite, 0, 256) == kBlack);
  CHECK(GradientAt(kBlack, kWhite, 255, 256) == kWhite);
  CHECK(GradientAt(kBlack, kWhite, 128, 256) == Rgb{128, 128, 128});
  // The step is what is rounded (half away from zero), so the middle of 255..0 is 127.
  CHECK(GradientAt(kWhite, kBlack, 1, 3) == Rgb{127, 127, 127});
  CHECK(GradientAt(Rgb{10, 20, 30}, Rgb{20, 40, 60}, 1, 3) == Rgb{15, 30, 45});
  SUBCASE("degenerate lengths and positions outside") {
    CHECK(GradientAt(kRed, kWhite, 0, 1) == kRed);
    CHECK(GradientAt(kRed, kWhite, 5, 0) == kRed);
    CHECK(GradientAt(kBlack, kWhite, -4, 10) == kBlack);
    CHECK(GradientAt(kBlack, kWhite, 40, 10) == kWhite);
  }
}

TEST_CASE("rectangles") {
  Rect a{0, 0, 10, 10}, b{5, 5, 20, 20};
  CHECK(Intersect(a, b) == Rect{5, 5, 10, 10});
  CHECK(Intersect(a, Rect{10, 0, 20, 10}).Empty());
  CHECK(Offset(a, 1, 2) == Rect{1, 2, 11, 12});
  CHECK(a.Contains(9, 9));
  CHECK_FALSE(a.Contains(10, 9));
}

TEST_CASE("gradient line styles") {
  namespace S = GradientLineStyle;
  Rect client{0, 0, 101, 8};
  SUBCASE("horizontal, both ways") {
    auto bands = GradientLineBands(S::Horizontal, kBlack, kWhite, client);
    REQUIRE(bands.size() == 1);
    CHECK(bands[0].rect == client);
    CHECK(bands[0].from == kBlack);
    CHECK(bands[0].to == kWhite);
    CHECK_FALSE(bands[0].vertical);
    bands = GradientLineBands(S::HorizontalReverse, kBlack, kWhite, client);
    REQUIRE(bands.size() == 1);
    CHECK(bands[0].from == kWhite);
    CHECK(bands[0].to == kBlack);
  }
  SUBCASE("the separator: black in the middle, white at both ends") {
    auto bands = GradientLineBands(S::HorizontalMirror, kBlack, kWhite, client);
    REQUIRE(bands.size() == 2);
    CHECK(bands[0].rect == Rect{0, 0, 50, 8});
    CHECK(bands[0].from == kWhite);
    CHECK(bands[0].to == kBlack);
    CHECK(bands[1].rect == Rect{50, 0, 101, 8});
    CHECK(bands[1].from == kBlack);
    CHECK(bands[1].to == kWhite);
  }
  SUBCASE("vertical kinds") {
    auto bands = GradientLineBands(S::Vertical, kBlack, kRed, client);
    REQUIRE(bands.size() == 1);
    CHECK(bands[0].vertical);
    bands = GradientLineBands(S::VerticalReverse, kBlack, kRed, client);
    REQUIRE(bands.size() == 1);
    CHECK(bands[0].from == kRed);
    bands = GradientLineBands(S::VerticalMirror, kBlack, kRed, client);
    REQUIRE(bands.size() == 2);
    CHECK(bands[0].rect == Rect{0, 0, 101, 4});
    CHECK(bands[1].rect == Rect{0, 4, 101, 8});
    CHECK(bands[1].vertical);
  }
  SUBCASE("one-pixel line: top row or left column") {
    auto bands = GradientLineBands(S::HorizontalMirror | S::LineOnly, kBlack, kWhite, client);
    REQUIRE(bands.size() == 2);
    CHECK(bands[0].rect == Rect{0, 0, 50, 1});
    CHECK(bands[1].rect == Rect{50, 0, 101, 1});
    bands = GradientLineBands(S::Vertical | S::LineOnly, kBlack, kWhite, client);
    REQUIRE(bands.size() == 1);
    CHECK(bands[0].rect == Rect{0, 0, 1, 8});
  }
  SUBCASE("no direction, or nothing to fill") {
    CHECK(GradientLineBands(0, kBlack, kWhite, client).empty());
    CHECK(GradientLineBands(S::LineOnly, kBlack, kWhite, client).empty());
    CHECK(GradientLineBands(S::Horizontal, kBlack, kWhite, Rect{0, 0, 0, 5}).empty());
    // A mirrored ramp one pixel wide keeps only the half that has a pixel.
    CHECK(GradientLineBands(S::HorizontalMirror, kBlack, kWhite, Rect{0, 0, 1, 5}).size() == 1);
  }
  SUBCASE("the first direction bit wins") {
    auto bands = GradientLineBands(S::HorizontalReverse | S::Vertical, kBlack, kWhite, client);
    REQUIRE(bands.size() == 1);
    CHECK_FALSE(bands[0].vertical);
    CHECK(bands[0].from == kWhite);
  }
}

TEST_CASE("image button background layers") {
  namespace S = IconButtonStyle;
  using L = BackgroundLayer;
  SUBCASE("initial style: parent pixels, hover and pressed colours") {
    auto layers = IconButtonLayers(S::Default, false, false, false, kNone);
    REQUIRE(layers.size() == 1);
    CHECK(layers[0] == L{L::ParentOnly, LookNormal});
    layers = IconButtonLayers(S::Default, true, true, false, kNone);
    REQUIRE(layers.size() == 3);
    CHECK(layers[1] == L{L::Colours, LookHover});
    CHECK(layers[2] == L{L::Colours, LookPressed});
    // No disabled background without 0x10 or a picture.
    CHECK(IconButtonLayers(S::Default, false, false, true, kNone).size() == 1);
  }
  SUBCASE("drawn mode with every background") {
    uint32_t style = S::NormalBack | S::HoverBack | S::PressedBack | S::DisabledBack;
    auto layers = IconButtonLayers(style, true, true, true, kNone);
    REQUIRE(layers.size() == 4);
    CHECK(layers[0] == L{L::Colours, LookNormal});
    CHECK(layers[3] == L{L::Colours, LookDisabled});
  }
  SUBCASE("picture mode: a disabled button shows the disabled picture over the normal one") {
    auto layers = IconButtonLayers(S::Picture, false, false, true, kAll);
    REQUIRE(layers.size() == 2);
    CHECK(layers[0] == L{L::Picture, LookNormal});
    CHECK(layers[1] == L{L::Picture, LookDisabled});
  }
  SUBCASE("picture mode without the state's picture adds nothing") {
    const bool normalOnly[LookCount] = {true, false, false, false};
    CHECK(IconButtonLayers(S::Picture, true, true, true, normalOnly).size() == 1);
    // Colour bits take precedence over pictures.
    auto layers = IconButtonLayers(S::Picture | S::HoverBack, true, false, false, kAll);
    REQUIRE(layers.size() == 2);
    CHECK(layers[1] == L{L::Colours, LookHover});
  }
  SUBCASE("pictures are ignored without picture mode") {
    auto layers = IconButtonLayers(0, true, false, false, kAll);
    REQUIRE(layers.size() == 1);
    CHECK(layers[0] == L{L::ParentOnly, LookNormal});
  }
}

TEST_CASE("image button icon per state") {
  const bool normal[LookCount] = {true, false, false, false};
  CHECK(IconButtonIconChoice(true, true, true, normal) == LookNormal);
  CHECK(IconButtonIconChoice(true, true, true, kAll) == LookHover);
  CHECK(IconButtonIconChoice(false, true, true, kAll) == LookPressed);
  CHECK(IconButtonIconChoice(false, false, true, kAll) == LookDisabled);
  CHECK(IconButtonIconChoice(false, false, false, kAll) == LookNormal);
  CHECK(IconButtonIconChoice(true, false, false, kNone) == -1);
}

TEST_CASE("image button layout") {
  IconButtonMetrics m;
  m.width = 200;
  m.height = 60;
  m.hasIcon = true;
  m.hasCaption = true;
  SUBCASE("horizontal, caption only: icon at the offset, caption beside it, centred vertically") {
    auto l = LayOutIconButton(m);
    CHECK(l.drawIcon);
    CHECK(l.icon == Rect{20, 14, 52, 46});
    CHECK(l.caption == Rect{62, 0, 200, 60});
    CHECK(l.captionFormat == (dt::SingleLine | dt::VCenter));
    CHECK_FALSE(l.drawDescription);
  }
  SUBCASE("caption in the upper half, bottom-aligned; description below the middle plus the gap") {
    m.hasDescription = true;
    auto l = LayOutIconButton(m);
    CHECK(l.caption == Rect{62, 0, 200, 30});
    CHECK(l.captionFormat == (dt::SingleLine | dt::Bottom));
    REQUIRE(l.drawDescription);
    CHECK(l.description == Rect{62, 33, 200, 60});
    CHECK(l.descriptionFormat == dt::SingleLine);
  }
  SUBCASE("without an icon the texts start at the edge and are centred") {
    m.hasIcon = false;
    m.hasDescription = true;
    auto l = LayOutIconButton(m);
    CHECK_FALSE(l.drawIcon);
    CHECK(l.caption.left == 0);
    CHECK((l.captionFormat & dt::Center) != 0);
    CHECK((l.descriptionFormat & dt::Center) != 0);
  }
  SUBCASE("description alone is centred vertically from the top") {
    m.hasCaption = false;
    m.hasDescription = true;
    auto l = LayOutIconButton(m);
    CHECK_FALSE(l.drawCaption);
    CHECK(l.description == Rect{62, 0, 200, 60});
    CHECK(l.descriptionFormat == (dt::SingleLine | dt::VCenter));
  }
  SUBCASE("pressed moves icon and texts one pixel right and down") {
    m.hasDescription = true;
    m.pressed = true;
    auto l = LayOutIconButton(m);
    CHECK(l.icon == Rect{21, 15, 53, 47});
    CHECK(l.caption == Rect{63, 1, 201, 31});
    CHECK(l.description == Rect{63, 34, 201, 61});
  }
  SUBCASE("vertical layout: icon centred at the top, caption below, no description") {
    m.style |= IconButtonStyle::Vertical;
    m.width = 82;
    m.height = 97;
    m.iconOffset = 8;
    m.iconWidth = m.iconHeight = 48;
    m.hasDescription = true;
    auto l = LayOutIconButton(m);
    CHECK(l.icon == Rect{17, 8, 65, 56});
    CHECK(l.caption == Rect{0, 66, 82, 97});
    CHECK(l.captionFormat == (dt::Center | dt::WordEllipsis));
    CHECK_FALSE(l.drawDescription);
  }
  SUBCASE("an icon beyond the client area is clipped") {
    m.width = 28;
    m.height = 26;
    m.iconWidth = m.iconHeight = 16;
    auto l = LayOutIconButton(m);
    CHECK(l.icon == Rect{20, 5, 28, 21});
    m.iconOffset = 40;
    CHECK_FALSE(LayOutIconButton(m).drawIcon);
  }
  SUBCASE("a text position replaces the layout; the no-prefix flag is added") {
    m.textX = 5;
    m.textY = 7;
    m.noPrefix = true;
    auto l = LayOutIconButton(m);
    CHECK(l.caption == Rect{5, 7, 200, 60});
    CHECK(l.captionFormat == (dt::SingleLine | dt::NoPrefix));
    m.textY = -1;
    CHECK(LayOutIconButton(m).caption == Rect{62, 0, 200, 60});
  }
}

TEST_CASE("image button state tracking") {
  ButtonTracker t;
  SUBCASE("hover starts once, asks for the leave notice once") {
    auto e = t.HoverMove();
    CHECK(e.repaint);
    CHECK(e.trackLeave);
    CHECK(t.hovering());
    e = t.HoverMove();
    CHECK_FALSE(e.repaint);
    CHECK_FALSE(e.trackLeave);
    e = t.Leave();
    CHECK(e.repaint);
    CHECK_FALSE(t.hovering());
  }
  SUBCASE("a press without the capture does nothing") {
    CHECK_FALSE(t.Press(false).repaint);
    CHECK_FALSE(t.pressed());
    CHECK_FALSE(t.Release(false).click);
  }
  SUBCASE("press and release inside clicks") {
    CHECK(t.Press(true).repaint);
    CHECK(t.pressed());
    auto e = t.Release(true);
    CHECK(e.click);
    CHECK_FALSE(t.pressed());
  }
  SUBCASE("dragging out clears the pressed look, back in sets it, release outside does not click") {
    t.Press(true);
    auto e = t.DragMove(false);
    CHECK(e.repaint);
    CHECK_FALSE(t.pressed());
    CHECK_FALSE(t.DragMove(false).repaint);
    CHECK(t.DragMove(true).repaint);
    CHECK(t.pressed());
    t.DragMove(false);
    CHECK_FALSE(t.Release(true).click);
  }
  SUBCASE("losing the capture clears pressed; a release afterwards does not click") {
    t.Press(true);
    CHECK(t.CaptureLost().repaint);
    CHECK_FALSE(t.pressed());
    CHECK_FALSE(t.Release(false).click);
  }
  SUBCASE("focus bit") {
    t.Focus(true);
    CHECK(t.focused());
    CHECK(t.bits() == ButtonTracker::Focused);
    t.HoverMove();
    t.Press(true);
    CHECK(t.bits() == (ButtonTracker::Focused | ButtonTracker::Hover | ButtonTracker::Pressed));
    t.Focus(false);
    CHECK_FALSE(t.focused());
  }
}

TEST_CASE("link text alignment") {
  Rect client{0, 0, 100, 20};
  CHECK(LinkTextRect(0, client, 40, 10) == Rect{0, 5, 40, 15});
  CHECK(LinkTextRect(LinkButtonStyle::Left, client, 40, 10) == Rect{0, 5, 40, 15});
  CHECK(LinkTextRect(LinkButtonStyle::Right, client, 40, 10) == Rect{60, 5, 100, 15});
  // BS_CENTER contains the BS_RIGHT bit; it still centres.
  CHECK(LinkTextRect(LinkButtonStyle::Center, client, 40, 10) == Rect{30, 5, 70, 15});
  CHECK(LinkTextRect(LinkButtonStyle::Center, client, 140, 30) == client);
  CHECK(LinkTextFormat(LinkButtonStyle::Center) == (dt::SingleLine | dt::VCenter | dt::Center));
  CHECK(LinkTextFormat(LinkButtonStyle::Right) == (dt::SingleLine | dt::VCenter | dt::Right));
  CHECK(LinkTextFormat(0) == (dt::SingleLine | dt::VCenter));
}

TEST_CASE("bold static background choice") {
  namespace S = BoldStaticStyle;
  CHECK(BoldStaticBackground(0, true) == StaticBackground::None);
  CHECK(BoldStaticBackground(S::HorizontalGradient | S::Rounded, false) == StaticBackground::Rounded);
  CHECK(BoldStaticBackground(S::HorizontalGradient | S::VerticalGradient, false) ==
        StaticBackground::HorizontalGradient);
  CHECK(BoldStaticBackground(S::VerticalGradient | S::MirrorGradient, false) == StaticBackground::VerticalGradient);
  CHECK(BoldStaticBackground(S::MirrorGradient | S::BitmapCentred, true) == StaticBackground::MirrorGradient);
  CHECK(BoldStaticBackground(S::BitmapCentred | S::BitmapStretched, true) == StaticBackground::BitmapCentred);
  CHECK(BoldStaticBackground(S::BitmapStretched | S::BitmapTopLeft, true) == StaticBackground::BitmapStretched);
  CHECK(BoldStaticBackground(S::BitmapTopLeft, true) == StaticBackground::BitmapTopLeft);
  CHECK(BoldStaticBackground(S::BitmapTopLeft, false) == StaticBackground::None);

  auto bands = BoldStaticBands(StaticBackground::MirrorGradient, kBlack, kWhite, Rect{0, 0, 10, 4});
  REQUIRE(bands.size() == 2);
  CHECK(bands[0].from == kWhite);
  CHECK(bands[0].to == kBlack);
  CHECK(bands[1].from == kBlack);
  CHECK(BoldStaticBands(StaticBackground::VerticalGradient, kBlack, kWhite, Rect{0, 0, 10, 4})[0].vertical);
  CHECK(BoldStaticBands(StaticBackground::Rounded, kBlack, kWhite, Rect{0, 0, 10, 4}).empty());
}

TEST_CASE("bold static icon and text rectangles") {
  namespace S = BoldStaticStyle;
  Rect client{0, 0, 300, 50};
  SUBCASE("the text shortcuts editor's header: icon left, text insets 5 and 7") {
    auto l = LayOutBoldStatic(S::IconLeft, client, true, 32, 32, 2, 2, 5, 7);
    CHECK(l.drawIcon);
    CHECK(l.icon == Rect{2, 9, 34, 41});
    CHECK(l.text == Rect{2 + 32 + 2 + 5, 7, 295, 43});
  }
  SUBCASE("right, top and bottom") {
    auto l = LayOutBoldStatic(S::IconRight, client, true, 32, 32, 20, 10, 0, 0);
    CHECK(l.icon == Rect{248, 9, 280, 41});
    CHECK(l.text == Rect{0, 0, 238, 50});
    l = LayOutBoldStatic(S::IconTop, Rect{0, 0, 100, 100}, true, 32, 32, 20, 10, 0, 0);
    CHECK(l.icon == Rect{34, 20, 66, 52});
    CHECK(l.text == Rect{0, 62, 100, 100});
    l = LayOutBoldStatic(S::IconBottom, Rect{0, 0, 100, 100}, true, 32, 32, 20, 10, 0, 0);
    CHECK(l.icon == Rect{34, 48, 66, 80});
    CHECK(l.text == Rect{0, 0, 100, 38});
  }
  SUBCASE("no icon, or no placement bit: the text keeps the whole area") {
    auto l = LayOutBoldStatic(S::IconLeft, client, false, 32, 32, 2, 2, 9, 0);
    CHECK_FALSE(l.drawIcon);
    CHECK(l.text == Rect{9, 0, 291, 50});
    l = LayOutBoldStatic(0, client, true, 32, 32, 2, 2, 0, 0);
    CHECK_FALSE(l.drawIcon);
    CHECK(l.text == client);
  }
  SUBCASE("the icon is clipped to the control") {
    auto l = LayOutBoldStatic(S::IconLeft, Rect{0, 0, 30, 20}, true, 32, 32, 2, 2, 0, 0);
    CHECK(l.icon == Rect{2, 0, 30, 20});
  }
}

TEST_CASE("bold static text format from the static's style") {
  CHECK(BoldStaticFormat(0, 0, false) == dt::WordBreak);
  CHECK(BoldStaticFormat(StaticStyle::Center, 0, false) == (dt::Center | dt::WordBreak));
  CHECK(BoldStaticFormat(StaticStyle::Right, 0, false) == (dt::Right | dt::WordBreak));
  CHECK(BoldStaticFormat(StaticStyle::Center | StaticStyle::CenterImage, 0, true) ==
        (dt::Center | dt::VCenter | dt::SingleLine | dt::NoPrefix));
  // SS_ICON (3) is neither centred nor right-aligned text.
  CHECK(BoldStaticFormat(3, dt::WordEllipsis, false) == (dt::WordBreak | dt::WordEllipsis));
}

TEST_CASE("white dialog bands") {
  Rect client{0, 0, 400, 300};
  auto b = WhiteWndBands(client, true, 260);
  CHECK(b.white == Rect{0, 0, 400, 245});
  CHECK(b.grey == Rect{0, 245, 400, 300});
  CHECK(b.line);
  CHECK(b.lineY == 245);
  b = WhiteWndBands(client, false, 0);
  CHECK(b.white == client);
  CHECK(b.grey.Empty());
  CHECK_FALSE(b.line);
  b = WhiteWndBands(client, true, 5);
  CHECK(b.white.Empty());
  CHECK(b.grey == client);
  CHECK_FALSE(b.line);
}

TEST_CASE("key and display texts of the converting combo box") {
  KeyTextMap map;
  map.Add("2", "Two");
  map.Add("10", "Ten");
  map.Add("1", "One");
  map.Add("0", "Same");
  map.Add("9", "Same");
  CHECK(map.size() == 5);
  CHECK(map.DisplayOf("10") == "Ten");
  CHECK(map.KeyOf("Ten") == "10");
  // Keys in byte order: "0" < "1" < "10" < "2" < "9", so the first match is "0".
  CHECK(map.KeyOf("Same") == "0");
  // Exact comparison: case counts; no match gives the text back.
  CHECK(map.KeyOf("ten") == "ten");
  CHECK(map.KeyOf("") == "");
  CHECK(map.DisplayOf("missing").empty());
  CHECK_FALSE(map.HasKey("missing"));
  map.Add("2", "Deux");
  CHECK(map.DisplayOf("2") == "Deux");
  CHECK(map.size() == 5);
  SUBCASE("byte order puts high bytes after ASCII") {
    KeyTextMap m;
    m.Add("\xE9", "x");
    m.Add("z", "x");
    CHECK(m.KeyOf("x") == "z");
  }
  map.Clear();
  CHECK(map.size() == 0);
  CHECK(map.KeyOf("Ten") == "Ten");
}

TEST_CASE("access key underlines follow the keyboard cues Windows sends") {
  AccessKeyCues cues(true);
  CHECK(cues.hidden());
  // Alt pressed: the dialog clears the hidden flag for every control.
  CHECK(cues.Update(AccessKeyCues::Clear, AccessKeyCues::HideAccel, true));
  CHECK_FALSE(cues.hidden());
  CHECK_FALSE(cues.Update(AccessKeyCues::Clear, AccessKeyCues::HideAccel, false));
  // Other flags (the focus rectangles) leave the underline alone.
  CHECK_FALSE(cues.Update(AccessKeyCues::Set, 0x1, true));
  CHECK_FALSE(cues.hidden());
  CHECK(cues.Update(AccessKeyCues::Set, AccessKeyCues::HideAccel | 0x1, false));
  CHECK(cues.hidden());
  // Initialisation takes what the window says afterwards.
  CHECK(cues.Update(AccessKeyCues::Initialize, AccessKeyCues::HideAccel, false));
  CHECK_FALSE(cues.hidden());
  CHECK_FALSE(AccessKeyCues().hidden());

  const unsigned fmt = dt::SingleLine | dt::VCenter;
  CueText shown = TextForCues("&Add hotkey", fmt, false);
  CHECK(shown.text == "&Add hotkey");
  CHECK(shown.format == fmt);
  CueText hidden = TextForCues("&Add && more", fmt, true);
  CHECK(hidden.text == "Add & more");
  CHECK(hidden.format == (fmt | dt::NoPrefix));
  // A control that draws its text literally keeps every ampersand.
  CueText literal = TextForCues("A & B", fmt | dt::NoPrefix, true);
  CHECK(literal.text == "A & B");
  CHECK(literal.format == (fmt | dt::NoPrefix));
}
