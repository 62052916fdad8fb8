#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "include/BoldTextStatic.h"
#include "include/ConvertComboBox.h"
#include "include/GradientLineStatic.h"
#include "include/HyperLinkButton.h"
#include "include/IconButton.h"
#include "include/WhiteWnd.h"
#include "include/controldraw.h"
#include "tests/include/controls_support.h"
#include "tests/winsupport.h"

namespace S = ctl::IconButtonStyle;

namespace {
LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// Rows and columns of the pixels of exactly one colour.
RECT Extent(const Pixels& px, COLORREF colour, int tolerance = 0) {
  RECT r = {px.width, px.height, 0, 0};
  for (int y = 0; y < px.height; ++y)
    for (int x = 0; x < px.width; ++x)
      if (Near(px.At(x, y), colour, tolerance)) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  return r;
}

std::string ProgramPicture(const std::string& name) { return std::string(QUORVEL_PROGRAM_DIR) + "\\pictures\\" + name; }

// A button of the test parent taken over by a CIconButton without the default icon.
struct IconButtonRig {
  TestParent parent;
  HWND h;
  CIconButton button;
  explicit IconButtonRig(const char* text = "", int w = 120, int hgt = 40, int x = 10, int y = 10)
      : h(parent.AddChild("BUTTON", text, BS_PUSHBUTTON, 1001, x, y, w, hgt)) {
    REQUIRE(button.SubclassWindow(h));
    button.SetIconHandle(nullptr);
  }
};

uint32_t Argb(int a, int r, int g, int b) {
  return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
         static_cast<uint32_t>(b);
}

// Four state pictures of 60 x 30: the left ten columns transparent, the rest one colour per state.
struct StatePictures {
  TempDir dir;
  std::string normal = dir / "n.png", hover = dir / "h.png", pressed = dir / "p.png", disabled = dir / "d.png";
  StatePictures() {
    auto make = [](const std::string& path, int r, int g, int b) {
      REQUIRE(WritePng(path, 60, 30, [=](int x, int) { return x < 10 ? Argb(0, 0, 0, 0) : Argb(255, r, g, b); }));
    };
    make(normal, 200, 30, 30);
    make(hover, 30, 200, 30);
    make(pressed, 30, 30, 200);
    make(disabled, 128, 128, 0);
  }
};

LRESULT Send(HWND h, UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageA(h, msg, w, l); }
}  // namespace

// ---- CIconButton -----------------------------------------------------------------------------

TEST_CASE("an image button takes over the button and draws it owner-drawn") {
  TestParent parent;
  HWND h = parent.AddChild("BUTTON", "OK", BS_DEFPUSHBUTTON, 1001, 10, 10, 120, 40);
  auto original = ::GetWindowLongPtrA(h, GWLP_WNDPROC);
  CIconButton button;
  REQUIRE(button.SubclassWindow(h));
  CHECK(button.hwnd() == h);
  CHECK(::GetWindowLongPtrA(h, GWLP_WNDPROC) != original);
  CHECK((::GetWindowLongPtrA(h, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW);
  CHECK(button.Caption() == "OK");
  CHECK(button.m_dwStyle == 0x0A);
  CHECK(button.HasIcon());  // the system question icon until the owner sets one
  CHECK(button.IconResourceId() == 0);
  CHECK(button.m_nIconOffset == 20);
  CHECK(button.m_crDisabledText == RGB(192, 192, 192));
  CHECK(button.m_colors[ctl::LookPressed].border == RGB(170, 170, 170));
  SUBCASE("a second object cannot take the same window") {
    CIconButton other;
    CHECK_FALSE(other.SubclassWindow(h));
    CHECK_FALSE(other.SubclassWindow(nullptr));
  }
  SUBCASE("giving it back restores the old procedure") {
    button.UnsubclassWindow();
    CHECK(button.hwnd() == nullptr);
    CHECK(::GetWindowLongPtrA(h, GWLP_WNDPROC) == original);
    CIconButton again;
    CHECK(again.SubclassWindow(h));
  }
  SUBCASE("the window text stays the caption") {
    ::SetWindowTextA(h, "Renamed");
    CHECK(button.Caption() == "Renamed");
  }
}

TEST_CASE("an image button's object going first restores the window procedure") {
  TestParent parent;
  HWND h = parent.AddChild("BUTTON", "x", BS_PUSHBUTTON, 1001, 10, 10, 100, 30);
  auto original = ::GetWindowLongPtrA(h, GWLP_WNDPROC);
  int windows = ThreadWindowCount();
  {
    CIconButton button;
    REQUIRE(button.SubclassWindow(h));
    button.SetTooltipText("Tip");
    // The tooltip comes with the first mouse message, not before.
    CHECK(ThreadWindowCount() == windows);
    CHECK(button.tooltip() == nullptr);
    ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    CHECK(ThreadWindowCount() == windows + 1);
    REQUIRE(button.tooltip() != nullptr);
    char tip[64] = {};
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = parent.hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(h);
    ti.lpszText = tip;
    ::SendMessageA(button.tooltip(), TTM_GETTEXTA, sizeof(tip), reinterpret_cast<LPARAM>(&ti));
    CHECK(std::string(tip) == "Tip");
  }
  CHECK(::GetWindowLongPtrA(h, GWLP_WNDPROC) == original);
  CHECK(ThreadWindowCount() == windows);
  // The window still works as a plain button.
  CHECK(Send(h, WM_GETTEXTLENGTH) == 1);
}

TEST_CASE("an image button's window going first leaves the object empty") {
  TestParent parent;
  HWND h = parent.AddChild("BUTTON", "x", BS_PUSHBUTTON, 1001, 10, 10, 100, 30);
  int windows = ThreadWindowCount();
  CIconButton button;
  REQUIRE(button.SubclassWindow(h));
  ::DestroyWindow(h);
  CHECK(button.hwnd() == nullptr);
  CHECK(button.tooltip() == nullptr);
  CHECK(ThreadWindowCount() == windows);
  button.Repaint();  // harmless without a window
  CHECK_FALSE(button.SizeToPicture());
}

TEST_CASE("drawn mode: normal, hover, pressed and disabled backgrounds differ") {
  IconButtonRig rig;
  CIconButton& b = rig.button;
  b.m_dwStyle = S::NormalBack | S::HoverBack | S::PressedBack | S::DisabledBack | S::TwoColourFrame;
  const int w = 120, h = 40;

  Pixels normal = PrintClient(rig.h);
  CHECK(normal.At(0, 20) == RGB(220, 220, 220));      // border, top-left colour
  CHECK(normal.At(w - 1, 20) == RGB(170, 170, 170));  // second border, bottom-right
  CHECK(normal.At(20, h - 1) == RGB(170, 170, 170));
  COLORREF top = normal.At(60, 1), bottom = normal.At(60, h - 2);
  INFO("normal ramp " << ColourText(top) << " to " << ColourText(bottom));
  CHECK(Near(top, RGB(255, 255, 255), 4));
  CHECK(Near(bottom, RGB(220, 220, 220), 4));

  Send(rig.h, WM_MOUSEMOVE, 0, At(5, 5));
  CHECK((b.State() & ctl::ButtonTracker::Hover) != 0);
  Pixels hover = PrintClient(rig.h);
  INFO("hover bottom " << ColourText(hover.At(60, h - 2)));
  CHECK(Near(hover.At(60, h - 2), RGB(240, 240, 240), 4));
  CHECK(hover.At(60, h - 2) != bottom);

  Send(rig.h, WM_MOUSELEAVE);
  CHECK((b.State() & ctl::ButtonTracker::Hover) == 0);
  CHECK(PrintClient(rig.h).At(60, h - 2) == bottom);

  Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  CHECK(::GetCapture() == rig.h);
  CHECK((b.State() & ctl::ButtonTracker::Pressed) != 0);
  Pixels pressed = PrintClient(rig.h);
  CHECK(pressed.At(0, 20) == RGB(170, 170, 170));  // the pressed frame is the other way round
  CHECK(pressed.At(w - 1, 20) == RGB(220, 220, 220));
  Send(rig.h, WM_LBUTTONUP, 0, At(5, 5));
  CHECK(::GetCapture() == nullptr);
  CHECK((b.State() & ctl::ButtonTracker::Pressed) == 0);

  ::EnableWindow(rig.h, FALSE);
  Pixels disabled = PrintClient(rig.h);
  CHECK(disabled.At(w - 1, 20) == RGB(220, 220, 220));  // the disabled set has no dark edge
  CHECK(disabled.At(w - 1, 20) != normal.At(w - 1, 20));
}

TEST_CASE("drawn mode: rounded corners with surround and inner border; plain frame") {
  IconButtonRig rig;
  CIconButton& b = rig.button;
  const int w = 120, h = 40;
  b.m_dwStyle = S::NormalBack | S::Rounded | S::InnerBorder;
  b.m_szCorner = SIZE{10, 10};
  Pixels px = PrintClient(rig.h);
  CHECK(px.At(0, 0) == RGB(255, 255, 255));      // surround outside the corner
  CHECK(px.At(w - 1, 20) == RGB(255, 255, 255));  // the outline leaves the last column to the surround
  CHECK(px.At(0, 20) == RGB(220, 220, 220));      // outline
  CHECK(px.At(1, 20) == RGB(255, 0, 0));          // inner border
  CHECK(Near(px.At(60, h - 4), RGB(220, 220, 220), 8));

  b.m_dwStyle = S::NormalBack;
  px = PrintClient(rig.h);
  CHECK(px.At(0, 0) == RGB(220, 220, 220));
  CHECK(px.At(w - 1, h - 1) == RGB(220, 220, 220));  // one colour all round
  CHECK(px.At(1, 20) != RGB(255, 0, 0));
}

TEST_CASE("without the normal background the parent's pixels show") {
  IconButtonRig rig;
  PumpMessages();
  Pixels px = PrintClient(rig.h);
  CHECK(px.At(3, 3) == kParentColour);
  CHECK(px.At(100, 30) == kParentColour);
  // ... and the hover look (style 0x0A) covers them.
  Send(rig.h, WM_MOUSEMOVE, 0, At(5, 5));
  CHECK(PrintClient(rig.h).At(60, 20) != kParentColour);
}

TEST_CASE("dragging out of a pressed button and back; releasing outside does not click") {
  IconButtonRig rig;
  TestParent& parent = rig.parent;
  CIconButton& b = rig.button;
  const unsigned pressed = ctl::ButtonTracker::Pressed;
  Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  REQUIRE(::GetCapture() == rig.h);
  CHECK((b.State() & pressed) != 0);
  Send(rig.h, WM_MOUSEMOVE, MK_LBUTTON, At(-30, 10));
  CHECK((b.State() & pressed) == 0);
  Send(rig.h, WM_MOUSEMOVE, MK_LBUTTON, At(60, 20));
  CHECK((b.State() & pressed) != 0);
  Send(rig.h, WM_MOUSEMOVE, MK_LBUTTON, At(60, 200));
  CHECK((b.State() & pressed) == 0);
  Send(rig.h, WM_LBUTTONUP, 0, At(60, 200));
  CHECK(parent.commands.empty());
  CHECK(::GetCapture() == nullptr);

  SUBCASE("press and release inside click once, like a standard button") {
    Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    Send(rig.h, WM_LBUTTONUP, 0, At(10, 10));
    REQUIRE(parent.commands.size() == 1);
    CHECK(parent.commands[0].id == 1001);
    CHECK(parent.commands[0].code == BN_CLICKED);
    CHECK(parent.commands[0].from == rig.h);
  }
  SUBCASE("a release without the capture does not click") {
    Send(rig.h, WM_LBUTTONUP, 0, At(10, 10));
    CHECK(parent.commands.empty());
  }
  SUBCASE("losing the capture clears the pressed look") {
    Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    ::ReleaseCapture();
    CHECK((b.State() & pressed) == 0);
    Send(rig.h, WM_LBUTTONUP, 0, At(10, 10));
    CHECK(parent.commands.empty());
  }
  SUBCASE("a double click's second press clicks as well") {
    Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    Send(rig.h, WM_LBUTTONUP, 0, At(10, 10));
    Send(rig.h, WM_LBUTTONDBLCLK, MK_LBUTTON, At(10, 10));
    Send(rig.h, WM_LBUTTONUP, 0, At(10, 10));
    CHECK(parent.commands.size() == 2);
  }
  SUBCASE("BM_CLICK clicks once") {
    Send(rig.h, BM_CLICK);
    CHECK(parent.commands.size() == 1);
  }
}

TEST_CASE("the space bar never clicks an image button") {
  IconButtonRig rig;
  ::SetFocus(rig.h);
  CHECK((rig.button.State() & ctl::ButtonTracker::Focused) != 0);
  Send(rig.h, WM_KEYDOWN, VK_SPACE, 0x00390001);
  Send(rig.h, WM_CHAR, ' ', 0x00390001);
  Send(rig.h, WM_KEYUP, VK_SPACE, 0xC0390001);
  PumpMessages();
  CHECK(rig.parent.commands.empty());
  ::SetFocus(rig.parent.hwnd());
  CHECK((rig.button.State() & ctl::ButtonTracker::Focused) == 0);
}

TEST_CASE("hover callback, hand cursor and tooltip") {
  IconButtonRig rig;
  CIconButton& b = rig.button;
  static std::vector<int> calls;
  calls.clear();
  b.SetHoverCallback([](int hovering, CIconButton* button, LPARAM user) {
    CHECK(user == 77);
    CHECK(button != nullptr);
    calls.push_back(hovering);
  }, 77);
  Send(rig.h, WM_MOUSEMOVE, 0, At(5, 5));
  Send(rig.h, WM_MOUSEMOVE, 0, At(6, 5));
  Send(rig.h, WM_MOUSELEAVE);
  CHECK(calls == std::vector<int>{1, 1, 0});

  // Without style 0x01 the button leaves the cursor to the default handling.
  CHECK(Send(rig.h, WM_SETCURSOR, reinterpret_cast<WPARAM>(rig.h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == FALSE);
  b.m_dwStyle |= S::HandCursor;
  CHECK(Send(rig.h, WM_SETCURSOR, reinterpret_cast<WPARAM>(rig.h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == TRUE);
  CHECK(::GetCursor() == ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));

  HWND tip = b.tooltip();
  REQUIRE(tip != nullptr);
  char cls[64] = {};
  ::GetClassNameA(tip, cls, sizeof(cls));
  CHECK(std::string(cls) == "tooltips_class32");
  CHECK(Send(tip, TTM_GETTOOLCOUNT) == 1);
  auto text = [&] {
    char buf[256] = {};
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = rig.parent.hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(rig.h);
    ti.lpszText = buf;
    Send(tip, TTM_GETTEXTA, sizeof(buf), reinterpret_cast<LPARAM>(&ti));
    return std::string(buf);
  };
  CHECK(text().empty());
  b.SetTooltipText("Close the window");
  CHECK(text() == "Close the window");
  b.SetTooltipText("");
  CHECK(text().empty());
}

TEST_CASE("caption and description: bold fonts, halves, colours") {
  IconButtonRig rig("Caption", 200, 60);
  CIconButton& b = rig.button;
  LOGFONTA parentFont = {}, caption = {}, hoverFont = {}, description = {};
  ::GetObjectA(rig.parent.font(), sizeof(parentFont), &parentFont);
  REQUIRE(::GetObjectA(b.CaptionFont(), sizeof(caption), &caption));
  REQUIRE(::GetObjectA(b.CaptionHoverFont(), sizeof(hoverFont), &hoverFont));
  REQUIRE(::GetObjectA(b.DescriptionFont(), sizeof(description), &description));
  CHECK(caption.lfWeight == 900);
  CHECK(std::string(caption.lfFaceName) == parentFont.lfFaceName);
  CHECK(caption.lfHeight == parentFont.lfHeight);
  CHECK_FALSE(caption.lfUnderline);
  CHECK(hoverFont.lfUnderline);
  CHECK(hoverFont.lfWeight == 900);
  CHECK(description.lfHeight == 13);

  b.m_dwStyle = S::NormalBack;
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 160, 0), grey = RGB(192, 192, 192);
  b.m_crCaption = red;
  b.m_crDescription = blue;

  SUBCASE("caption alone: centred both ways") {
    RECT r = Extent(PrintClient(rig.h), red);
    REQUIRE(r.right > r.left);
    CHECK(std::abs((r.left + r.right) - 200) <= 4);
    CHECK(std::abs((r.top + r.bottom) - 60) <= 4);
  }
  SUBCASE("the caption sits in the upper half, the description below the middle plus 3") {
    b.SetDescription("Description");
    Pixels px = PrintClient(rig.h);
    RECT cap = Extent(px, red), desc = Extent(px, blue);
    REQUIRE(cap.right > cap.left);
    REQUIRE(desc.right > desc.left);
    CHECK(cap.bottom <= 30);
    CHECK(cap.bottom >= 24);  // bottom-aligned
    CHECK(desc.top >= 33);
    CHECK(desc.top <= 38);  // at the top of its rectangle
  }
  SUBCASE("hover colour with 0x800 and underline with 0x40") {
    Pixels plain = PrintClient(rig.h);
    RECT before = Extent(plain, red);
    b.m_dwStyle |= S::HoverTextColour | S::UnderlineCaption;
    b.m_crHoverText = green;
    Send(rig.h, WM_MOUSEMOVE, 0, At(5, 5));
    Pixels px = PrintClient(rig.h);
    CHECK(px.Count(red) == 0);
    RECT after = Extent(px, green);
    REQUIRE(after.right > after.left);
    // The underline adds a line as long as the text.
    CHECK(px.Count(green) >= plain.Count(red) + (before.right - before.left) * 3 / 4);
  }
  SUBCASE("disabled texts are grey") {
    b.SetDescription("Description");
    ::EnableWindow(rig.h, FALSE);
    Pixels px = PrintClient(rig.h);
    CHECK(px.Count(red) == 0);
    CHECK(px.Count(blue) == 0);
    CHECK(px.Count(grey, 0, RECT{0, 0, 200, 30}) > 10);
    CHECK(px.Count(grey, 0, RECT{0, 33, 200, 60}) > 10);
  }
  SUBCASE("a text position replaces the layout") {
    b.m_ptText = POINT{4, 2};
    RECT r = Extent(PrintClient(rig.h), red);
    CHECK(r.left >= 4);
    CHECK(r.left <= 7);
    CHECK(r.top <= 12);
  }
  SUBCASE("pressed moves the caption one pixel right and down") {
    RECT before = Extent(PrintClient(rig.h), red);
    Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    RECT after = Extent(PrintClient(rig.h), red);
    CHECK(after.left == before.left + 1);
    CHECK(after.top == before.top + 1);
    Send(rig.h, WM_LBUTTONUP, 0, At(5, 5));
  }
  SUBCASE("no-prefix flag keeps the ampersand") {
    ::SetWindowTextA(rig.h, "A&&B");
    RECT prefixed = Extent(PrintClient(rig.h), red);
    b.m_bNoPrefix = true;
    RECT raw = Extent(PrintClient(rig.h), red);
    CHECK((raw.right - raw.left) > (prefixed.right - prefixed.left));
  }
}

TEST_CASE("icons: resource icons by state, drawn at the icon size") {
  IconButtonRig rig("", 120, 60);
  CIconButton& b = rig.button;
  b.m_dwStyle = S::NormalBack;
  const COLORREF red = RGB(214, 69, 69), blue = RGB(61, 123, 217);
  RECT iconRect = {20, 14, 52, 46};
  CHECK(PrintClient(rig.h).Count(red, 30, iconRect) == 0);
  REQUIRE(b.SetIcon(237, 32, 32));  // shut down: a red plate
  CHECK(b.IconResourceId() == 237);
  REQUIRE(b.SetHoverIcon(238));     // sleep: a blue plate
  Pixels normal = PrintClient(rig.h);
  CHECK(normal.Count(red, 30, iconRect) > 100);
  CHECK(normal.Count(red, 30, RECT{0, 0, 19, 60}) == 0);
  CHECK(normal.Count(red, 30, RECT{53, 0, 120, 60}) == 0);

  Send(rig.h, WM_MOUSEMOVE, 0, At(5, 5));
  Pixels hover = PrintClient(rig.h);
  CHECK(hover.Count(red, 30, iconRect) == 0);
  CHECK(hover.Count(blue, 30, iconRect) > 100);

  SUBCASE("vertical layout and a larger size") {
    Send(rig.h, WM_MOUSELEAVE);
    b.m_dwStyle |= S::Vertical;
    b.m_nIconWidth = b.m_nIconHeight = 48;
    b.m_nIconOffset = 4;
    RECT r = Extent(PrintClient(rig.h), red, 30);
    CHECK(r.left >= 36);
    CHECK(r.right <= 84);
    CHECK(r.top >= 4);
    CHECK(r.right - r.left > 36);  // drawn at 48, not at 32
  }
  SUBCASE("a missing resource leaves no icon") {
    CHECK_FALSE(b.SetIcon(9999));
    CHECK_FALSE(b.HasIcon());
  }
}

TEST_CASE_FIXTURE(GdiplusFixture, "picture mode draws the state pictures over the parent's pixels") {
  REQUIRE(started());
  StatePictures pics;
  IconButtonRig rig("", 80, 50, 20, 20);
  CIconButton& b = rig.button;
  CHECK(b.SetPictures(pics.normal, pics.hover, pics.pressed, pics.disabled));
  CHECK(b.HasPicture(ctl::LookDisabled));
  b.m_dwStyle = S::Picture;
  REQUIRE(b.SizeToPicture());
  RECT rc;
  ::GetClientRect(rig.h, &rc);
  CHECK(rc.right == 60);
  CHECK(rc.bottom == 30);
  PumpMessages();

  Pixels normal = PrintClient(rig.h);
  CHECK(normal.At(4, 15) == kParentColour);
  CHECK(normal.At(30, 15) == RGB(200, 30, 30));
  Send(rig.h, WM_MOUSEMOVE, 0, At(30, 15));
  CHECK(PrintClient(rig.h).At(30, 15) == RGB(30, 200, 30));
  Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 15));
  Pixels pressed = PrintClient(rig.h);
  CHECK(pressed.At(30, 15) == RGB(30, 30, 200));
  CHECK(pressed.At(4, 15) == kParentColour);
  Send(rig.h, WM_LBUTTONUP, 0, At(30, 15));
  CHECK(rig.parent.commands.size() == 1);
  Send(rig.h, WM_MOUSELEAVE);
  CHECK(PrintClient(rig.h).At(30, 15) == RGB(200, 30, 30));

  ::EnableWindow(rig.h, FALSE);
  Pixels disabled = PrintClient(rig.h);
  CHECK(disabled.At(30, 15) == RGB(128, 128, 0));
  CHECK(disabled.At(4, 15) == kParentColour);

  SUBCASE("what the screen shows is the same") {
    Pixels screen = ScreenPixels(rig.h);
    CHECK(screen.At(30, 15) == RGB(128, 128, 0));
    CHECK(screen.At(4, 15) == kParentColour);
  }
  SUBCASE("missing files leave their states without a picture") {
    CHECK_FALSE(b.SetPictures(pics.dir / "absent.png", "", pics.dir.path(), pics.hover));
    CHECK_FALSE(b.HasPicture(ctl::LookNormal));
    CHECK_FALSE(b.HasPicture(ctl::LookPressed));
    CHECK(b.HasPicture(ctl::LookDisabled));
    CHECK_FALSE(b.SizeToPicture());
    CHECK(PrintClient(rig.h).At(30, 15) == RGB(30, 200, 30));  // the disabled slot now holds green
  }
}

TEST_CASE_FIXTURE(GdiplusFixture, "the program's caption button pictures are drawn as they are") {
  REQUIRE(started());
  for (const char* base : {"closebox", "minimizebox"}) {
    CAPTURE(base);
    std::string names[3] = {std::string(base) + "-normal.png", std::string(base) + "-hover.png",
                            std::string(base) + "-pressed.png"};
    for (const auto& n : names) REQUIRE(FileExists(ProgramPicture(n)));
    IconButtonRig rig("", 10, 10, 30, 30);
    CIconButton& b = rig.button;
    REQUIRE(b.SetPictures(ProgramPicture(names[0]), ProgramPicture(names[1]), ProgramPicture(names[2]), ""));
    b.m_dwStyle = S::Picture | S::HandCursor;
    REQUIRE(b.SizeToPicture());
    PumpMessages();
    auto expect = [&](const std::string& file, const Pixels& px) {
      std::wstring wide(file.begin(), file.end());
      Gdiplus::Bitmap source(wide.c_str());
      REQUIRE(source.GetLastStatus() == Gdiplus::Ok);
      CHECK(px.width == static_cast<int>(source.GetWidth()));
      CHECK(px.height == static_cast<int>(source.GetHeight()));
      int opaque = 0;
      for (int y = 0; y < px.height; y += 3)
        for (int x = 0; x < px.width; x += 3) {
          Gdiplus::Color c;
          source.GetPixel(x, y, &c);
          int a = c.GetA();
          auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
          COLORREF want = RGB(mix(c.GetR(), GetRValue(kParentColour)), mix(c.GetG(), GetGValue(kParentColour)),
                              mix(c.GetB(), GetBValue(kParentColour)));
          if (a == 255) ++opaque;
          INFO(file << " at " << x << "," << y << ": " << ColourText(px.At(x, y)) << " want " << ColourText(want));
          CHECK(Near(px.At(x, y), want, 3));
        }
      return opaque;
    };
    expect(ProgramPicture(names[0]), PrintClient(rig.h));
    Send(rig.h, WM_MOUSEMOVE, 0, At(3, 3));
    expect(ProgramPicture(names[1]), PrintClient(rig.h));
    Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    expect(ProgramPicture(names[2]), PrintClient(rig.h));
    Send(rig.h, WM_LBUTTONUP, 0, At(3, 3));
  }
}

TEST_CASE_FIXTURE(GdiplusFixture, "create and destroy cycles leak no GDI objects, icons or windows") {
  REQUIRE(started());
  StatePictures pics;
  TestParent parent;
  auto cycle = [&](int i) {
    HWND hb = parent.AddChild("BUTTON", "Caption", BS_PUSHBUTTON, 1001, 10, 10, 120, 60);
    HWND hl = parent.AddChild("BUTTON", "Link", BS_PUSHBUTTON, 1002, 10, 80, 120, 20);
    HWND hs = parent.AddChild("STATIC", "Header", SS_LEFT, 1003, 10, 110, 200, 40);
    HWND hg = parent.AddChild("STATIC", "", SS_LEFT, 1004, 10, 160, 200, 4);
    HWND hc = parent.AddChild("COMBOBOX", "", CBS_DROPDOWNLIST, 1005, 10, 170, 100, 100);
    auto button = std::make_unique<CIconButton>();
    auto link = std::make_unique<CHyperLinkButton>();
    auto header = std::make_unique<CBoldTextStatic>();
    auto line = std::make_unique<CGradientLineStatic>();
    auto combo = std::make_unique<CConvertComboBox>();
    REQUIRE(button->SubclassWindow(hb));
    REQUIRE(link->SubclassWindow(hl));
    REQUIRE(header->SubclassWindow(hs));
    REQUIRE(line->SubclassWindow(hg));
    REQUIRE(combo->SubclassWindow(hc));
    button->SetIcon(237, 32, 32);
    button->SetHoverIcon(238);
    button->SetPictures(pics.normal, pics.hover, pics.pressed, pics.disabled);
    button->SetDescription("Description");
    button->SetTooltipText("Tip");
    button->m_dwStyle = (i % 2) ? (S::Picture | S::HoverBack) : (S::NormalBack | S::Rounded | S::InnerBorder);
    header->MakeBoldFont(i % 3 ? 0 : 24);
    header->SetIcon(216, 32, 32);
    header->SetStyle(ctl::BoldStaticStyle::IconLeft | ctl::BoldStaticStyle::HorizontalGradient |
                     ctl::BoldStaticStyle::Border);
    line->SetStyle(ctl::GradientLineStyle::HorizontalMirror);
    combo->AddItem("a", "A");
    Send(hb, WM_MOUSEMOVE, 0, At(5, 5));
    PrintClient(hb);
    Send(hb, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    PrintClient(hb);
    Send(hb, WM_LBUTTONUP, 0, At(5, 5));
    Send(hl, WM_MOUSEMOVE, 0, At(5, 5));
    PrintClient(hl);
    PrintClient(hs);
    PrintClient(hg);
    ::SetWindowPos(hb, nullptr, 0, 0, 130, 64, SWP_NOMOVE | SWP_NOZORDER);  // buffers made again
    ::RedrawWindow(parent.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (i % 2) {  // windows first
      for (HWND h : {hb, hl, hs, hg, hc}) ::DestroyWindow(h);
      button.reset();
      link.reset();
      header.reset();
      line.reset();
      combo.reset();
    } else {  // objects first
      button.reset();
      link.reset();
      header.reset();
      line.reset();
      combo.reset();
      for (HWND h : {hb, hl, hs, hg, hc}) ::DestroyWindow(h);
    }
    PumpMessages();
  };
  for (int i = 0; i < 4; ++i) cycle(i);  // first-use caches of GDI, GDI+ and the fonts
  long gdiBefore = LiveGdiObjects();
  DWORD userBefore = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  int windowsBefore = ThreadWindowCount();
  for (int i = 0; i < 50; ++i) cycle(i);
  long gdiAfter = LiveGdiObjects();
  DWORD userAfter = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  INFO("GDI objects " << gdiBefore << " -> " << gdiAfter);
  CHECK(gdiAfter - gdiBefore <= 2);
  CHECK(gdiAfter - gdiBefore >= -2);
  CHECK(userAfter <= userBefore + 2);
  CHECK(ThreadWindowCount() == windowsBefore);
}

// ---- CHyperLinkButton ------------------------------------------------------------------------

namespace {
struct LinkRig {
  TestParent parent;
  HWND h;
  CHyperLinkButton link;
  explicit LinkRig(DWORD align = BS_CENTER, const char* text = "Visit us")
      : h(parent.AddChild("BUTTON", text, BS_PUSHBUTTON | align, 1082, 10, 10, 150, 24)) {
    REQUIRE(link.SubclassWindow(h));
  }
  POINT TextCentre() const {
    RECT r = link.TextRect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};
}  // namespace

TEST_CASE("a link button draws its text in the link colour, another under the mouse, grey when disabled") {
  LinkRig rig;
  CHECK((::GetWindowLongPtrA(rig.h, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW);
  CHECK(rig.link.m_crDisabled == ::GetSysColor(COLOR_GRAYTEXT));
  Pixels px = PrintClient(rig.h);
  CHECK(px.Count(RGB(0, 0, 255)) > 10);
  CHECK(px.Count(RGB(50, 50, 200)) == 0);
  CHECK(px.At(1, 1) == RGB(1, 2, 3));  // transparent: nothing but the text is drawn

  Send(rig.h, WM_MOUSEMOVE, 0, At(2, 2));
  CHECK(rig.link.IsHovering());
  px = PrintClient(rig.h);
  CHECK(px.Count(RGB(0, 0, 255)) == 0);
  CHECK(px.Count(RGB(50, 50, 200)) > 10);
  Send(rig.h, WM_MOUSELEAVE);
  CHECK_FALSE(rig.link.IsHovering());
  CHECK(PrintClient(rig.h).Count(RGB(0, 0, 255)) > 10);

  ::EnableWindow(rig.h, FALSE);
  px = PrintClient(rig.h);
  CHECK(px.Count(RGB(0, 0, 255)) == 0);
  CHECK(px.Count(::GetSysColor(COLOR_GRAYTEXT)) > 10);

  SUBCASE("on the screen the parent shows around the text") {
    ::EnableWindow(rig.h, TRUE);
    Pixels screen = ScreenPixels(rig.h);
    CHECK(screen.At(1, 1) == kParentColour);
    CHECK(screen.Count(RGB(0, 0, 255)) > 10);
  }
  SUBCASE("a reflected owner-draw request draws the same") {
    ::EnableWindow(rig.h, TRUE);
    Pixels printed = PrintClient(rig.h);
    Pixels reflected = PaintWith(rig.h, [&](HDC dc) {
      DRAWITEMSTRUCT item = {};
      item.CtlType = ODT_BUTTON;
      item.CtlID = 1082;
      item.itemAction = ODA_DRAWENTIRE;
      item.hwndItem = rig.h;
      item.hDC = dc;
      ::GetClientRect(rig.h, &item.rcItem);
      CHECK(Send(rig.h, WM_USER + 0x1C00 + WM_DRAWITEM, 1082, reinterpret_cast<LPARAM>(&item)) == TRUE);
    });
    CHECK(reflected.Count(RGB(0, 0, 255)) == printed.Count(RGB(0, 0, 255)));
    CHECK(reflected.Count(RGB(0, 0, 255)) > 10);
  }
}

// The rectangle for each alignment is worked out natively (test_controlmath); here the control
// draws within it and measures a new text.
TEST_CASE("a link button's text rectangle follows the alignment") {
  SUBCASE("centred") {
    LinkRig rig(BS_CENTER);
    RECT r = rig.link.TextRect();
    CHECK(r.left > 10);
    CHECK(std::abs((r.left + r.right) - 150) <= 1);
    RECT drawn = Extent(PrintClient(rig.h), RGB(0, 0, 255));
    CHECK(drawn.left >= r.left);
    CHECK(drawn.right <= r.right + 1);  // a glyph may overhang its advance by a pixel
  }
  SUBCASE("a new text is measured again") {
    LinkRig rig(BS_LEFT);
    LONG before = rig.link.TextRect().right;
    ::SetWindowTextA(rig.h, "A much longer company name");
    CHECK(rig.link.TextRect().right > before);
  }
}

TEST_CASE("a link button clicks on its text, with Enter and with the space bar") {
  LinkRig rig;
  auto& commands = rig.parent.commands;
  POINT c = rig.TextCentre();
  Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
  CHECK(::GetCapture() == rig.h);
  CHECK(::GetFocus() == rig.h);
  Send(rig.h, WM_LBUTTONUP, 0, At(c.x, c.y));
  CHECK(::GetCapture() == nullptr);
  REQUIRE(commands.size() == 1);
  CHECK(commands[0].id == 1082);

  // Outside the text: no capture, no click; released outside the text: no click.
  Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(1, 1));
  CHECK(::GetCapture() == nullptr);
  Send(rig.h, WM_LBUTTONUP, 0, At(1, 1));
  Send(rig.h, WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
  Send(rig.h, WM_LBUTTONUP, 0, At(1, 1));
  CHECK(commands.size() == 1);

  Send(rig.h, WM_CHAR, 13, 0);
  CHECK(commands.size() == 2);
  Send(rig.h, WM_CHAR, ' ', 0);
  CHECK(commands.size() == 3);
  Send(rig.h, WM_KEYDOWN, VK_SPACE, 0x00390001);
  Send(rig.h, WM_CHAR, ' ', 0x00390001);
  Send(rig.h, WM_KEYUP, VK_SPACE, 0xC0390001);
  PumpMessages();
  CHECK(commands.size() == 4);  // one click for the whole key stroke
  Send(rig.h, WM_CHAR, 'a', 0);
  CHECK(commands.size() == 4);

  ::EnableWindow(rig.h, FALSE);
  Send(rig.h, WM_CHAR, 13, 0);
  CHECK(commands.size() == 4);

  CHECK(Send(rig.h, WM_SETCURSOR, reinterpret_cast<WPARAM>(rig.h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == TRUE);
  CHECK(::GetCursor() == ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
}

// ---- access key underlines ------------------------------------------------------------------

namespace {
// Windows tells every control when the keyboard cues change; Wine never hides them, so the tests
// send what Windows sends.
void SetCuesHidden(HWND control, bool hidden) {
  Send(control, WM_UPDATEUISTATE, MAKEWPARAM(hidden ? UIS_SET : UIS_CLEAR, UISF_HIDEACCEL));
}
}  // namespace

TEST_CASE("drawn buttons, links and labels underline their access key only while the keyboard cues show") {
  const COLORREF ink = RGB(200, 0, 0);
  TestParent parent(480, 200);
  struct Drawn {
    HWND marked, plain;  // "&Go" and "Go"
  };
  auto make = [&](const char* cls, DWORD style, int y, auto& marked, auto& plain) {
    Drawn d{parent.AddChild(cls, "&Go", style, 1100 + y, 10, y, 120, 30),
            parent.AddChild(cls, "Go", style, 1200 + y, 200, y, 120, 30)};
    REQUIRE(marked.SubclassWindow(d.marked));
    REQUIRE(plain.SubclassWindow(d.plain));
    return d;
  };
  CIconButton button, buttonPlain;
  CHyperLinkButton link, linkPlain;
  CBoldTextStatic label, labelPlain;
  Drawn buttons = make("BUTTON", BS_PUSHBUTTON, 10, button, buttonPlain);
  Drawn links = make("BUTTON", BS_PUSHBUTTON | BS_LEFT, 50, link, linkPlain);
  Drawn labels = make("STATIC", SS_LEFT, 90, label, labelPlain);
  for (CIconButton* b : {&button, &buttonPlain}) {
    b->SetIconHandle(nullptr);
    b->m_crCaption = ink;
  }
  for (CHyperLinkButton* l : {&link, &linkPlain}) l->m_crLink = ink;
  for (CBoldTextStatic* l : {&label, &labelPlain}) l->SetTextColor(ink);

  for (const Drawn& d : {buttons, links, labels}) {
    CAPTURE(d.marked);
    const int plain = PrintClient(d.plain).Count(ink);
    const int shown = PrintClient(d.marked).Count(ink);
    CHECK(plain > 10);
    CHECK(shown > plain);  // the underline
    SetCuesHidden(d.marked, true);
    CHECK(PrintClient(d.marked).Count(ink) == plain);
    SetCuesHidden(d.marked, false);
    CHECK(PrintClient(d.marked).Count(ink) == shown);
  }

  SUBCASE("a text drawn as it is keeps its ampersand whatever the cues") {
    button.m_bNoPrefix = true;
    SetCuesHidden(buttons.marked, true);
    CHECK(PrintClient(buttons.marked).Count(ink) > PrintClient(buttons.plain).Count(ink));
  }
}

// ---- CConvertComboBox ------------------------------------------------------------------------

TEST_CASE("a drop-down list selects by window text without regard to case") {
  TestParent parent;
  HWND h = parent.AddChild("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 1021, 10, 10, 160, 200);
  CConvertComboBox combo;
  REQUIRE(combo.SubclassWindow(h));
  CHECK(combo.AddItem("English.txt", "English") == 0);
  CHECK(combo.AddItem("Deutsch.txt", "Deutsch") == 1);
  CHECK(combo.AddItem("Francais.txt", "Francais") == 2);
  CHECK(Send(h, CB_GETCOUNT) == 3);

  CHECK(::SetWindowTextA(h, "deutsch"));
  CHECK(Send(h, CB_GETCURSEL) == 1);
  ::SetWindowTextA(h, "Klingon");
  CHECK(Send(h, CB_GETCURSEL) == 1);
  CHECK(combo.SelectedKey() == "Deutsch.txt");

  CHECK(combo.SelectKey("Francais.txt"));
  CHECK(Send(h, CB_GETCURSEL) == 2);
  CHECK(combo.SelectedKey() == "Francais.txt");
  CHECK_FALSE(combo.SelectKey("Klingon.txt"));
  CHECK(Send(h, CB_GETCURSEL) == 2);

  CHECK(combo.KeyOf("English") == "English.txt");
  CHECK(combo.KeyOf("english") == "english");
  CHECK(combo.DisplayOf("Deutsch.txt") == "Deutsch");
  CHECK(combo.DisplayOf("nothing").empty());

  combo.ResetContent();
  CHECK(Send(h, CB_GETCOUNT) == 0);
  CHECK(combo.Map().size() == 0);
  CHECK(combo.SelectedKey().empty());
}

TEST_CASE("key codes: the first key in byte order wins; other combo styles keep the default text handling") {
  TestParent parent;
  HWND h = parent.AddChild("COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL, 1021, 10, 10, 160, 200);
  CConvertComboBox combo;
  REQUIRE(combo.SubclassWindow(h));
  combo.AddItem("2", "F1");
  combo.AddItem("10", "Space");
  combo.AddItem("1", "Space");
  CHECK(combo.KeyOf("Space") == "1");
  ::SetWindowTextA(h, "Whatever");
  char buf[64] = {};
  ::GetWindowTextA(h, buf, sizeof(buf));
  CHECK(std::string(buf) == "Whatever");
  CHECK(combo.SelectedKey() == "Whatever");
  ::SetWindowTextA(h, "F1");
  CHECK(combo.SelectedKey() == "2");
}

// ---- CGradientLineStatic ---------------------------------------------------------------------

TEST_CASE("a gradient line static paints its ramps") {
  TestParent parent;
  HWND h = parent.AddChild("STATIC", "", SS_LEFT, 1077, 10, 10, 201, 6);
  CGradientLineStatic line;
  REQUIRE(line.SubclassWindow(h));
  const COLORREF marker = RGB(1, 2, 3);
  CHECK(Send(h, WM_ERASEBKGND, 0, 0) == 1);

  SUBCASE("the separator: black in the middle, white at both ends") {
    line.SetColors(RGB(0, 0, 0), RGB(255, 255, 255));
    line.SetStyle(ctl::GradientLineStyle::HorizontalMirror);
    Pixels px = PrintClient(h, marker);
    INFO("ends " << ColourText(px.At(0, 3)) << " " << ColourText(px.At(100, 3)) << " " << ColourText(px.At(200, 3)));
    CHECK(Near(px.At(0, 3), RGB(255, 255, 255), 8));
    CHECK(Near(px.At(100, 3), RGB(0, 0, 0), 8));
    CHECK(Near(px.At(200, 3), RGB(255, 255, 255), 8));
    for (int x = 1; x <= 100; ++x) CHECK(GetRValue(px.At(x, 3)) <= GetRValue(px.At(x - 1, 3)));
    for (int x = 101; x <= 200; ++x) CHECK(GetRValue(px.At(x, 3)) >= GetRValue(px.At(x - 1, 3)));
    CHECK(Near(px.At(50, 3), ctldraw::ToColorRef(ctl::GradientAt(ctl::Rgb{255, 255, 255}, ctl::Rgb{}, 50, 100)), 10));
    CHECK(px.At(50, 0) == px.At(50, 5));  // the whole height
  }
  SUBCASE("one-pixel line: only the top row") {
    line.SetColors(RGB(0, 0, 0), RGB(255, 255, 255));
    line.SetStyle(ctl::GradientLineStyle::Horizontal | ctl::GradientLineStyle::LineOnly);
    Pixels px = PrintClient(h, marker);
    CHECK(Near(px.At(0, 0), RGB(0, 0, 0), 8));
    CHECK(Near(px.At(200, 0), RGB(255, 255, 255), 8));
    CHECK(px.At(100, 1) == marker);
    CHECK(px.At(100, 5) == marker);
  }
  SUBCASE("vertical, reversed") {
    line.SetColors(RGB(255, 0, 0), RGB(0, 0, 255));
    line.SetStyle(ctl::GradientLineStyle::VerticalReverse);
    Pixels px = PrintClient(h, marker);
    CHECK(Near(px.At(100, 0), RGB(0, 0, 255), 50));
    CHECK(Near(px.At(100, 5), RGB(255, 0, 0), 50));
    CHECK(GetBValue(px.At(100, 0)) > GetBValue(px.At(100, 5)));
  }
  SUBCASE("no direction bits: nothing painted") {
    line.SetStyle(ctl::GradientLineStyle::LineOnly);
    Pixels px = PrintClient(h, marker);
    CHECK(px.Count(marker) == px.width * px.height);
  }
}

// ---- CBoldTextStatic -------------------------------------------------------------------------

TEST_CASE("a bold text static: bold font, its colour, grey when disabled") {
  TestParent parent;
  HWND h = parent.AddChild("STATIC", "Heading", SS_LEFT, 1023, 10, 10, 300, 40);
  CBoldTextStatic header;
  REQUIRE(header.SubclassWindow(h));
  CHECK(header.Text() == "Heading");
  CHECK(header.Font() == nullptr);
  REQUIRE(header.MakeBoldFont());
  LOGFONTA lf = {}, parentFont = {};
  ::GetObjectA(header.Font(), sizeof(lf), &lf);
  ::GetObjectA(parent.font(), sizeof(parentFont), &parentFont);
  CHECK(lf.lfWeight == FW_BOLD);
  CHECK(lf.lfHeight == parentFont.lfHeight);
  CHECK(std::string(lf.lfFaceName) == parentFont.lfFaceName);

  const COLORREF purple = RGB(155, 79, 188);
  header.SetTextColor(purple);
  Pixels px = PrintClient(h);
  CHECK(px.Count(purple) > 20);
  RECT normalExtent = Extent(px, purple);

  SUBCASE("a bigger bold font") {
    REQUIRE(header.MakeBoldFont(32));
    ::GetObjectA(header.Font(), sizeof(lf), &lf);
    CHECK(lf.lfHeight == 32);
    RECT big = Extent(PrintClient(h), purple);
    CHECK(big.bottom - big.top > normalExtent.bottom - normalExtent.top);
  }
  SUBCASE("bold strokes are wider than the plain font's") {
    CBoldTextStatic plain;
    HWND h2 = parent.AddChild("STATIC", "Heading", SS_LEFT, 1024, 10, 60, 300, 40);
    REQUIRE(plain.SubclassWindow(h2));
    plain.SetTextColor(purple);
    CHECK(PrintClient(h2).Count(purple) < px.Count(purple));
  }
  SUBCASE("disabled") {
    ::EnableWindow(h, FALSE);
    Pixels off = PrintClient(h);
    CHECK(off.Count(purple) == 0);
    CHECK(off.Count(::GetSysColor(COLOR_GRAYTEXT)) > 20);
  }
  SUBCASE("shadow") {
    header.SetShadow(true);
    CHECK(PrintClient(h).Count(::GetSysColor(COLOR_BTNSHADOW)) > 10);
  }
  SUBCASE("new text") {
    ::SetWindowTextA(h, "Other");
    CHECK(header.Text() == "Other");
    char buf[32] = {};
    ::GetWindowTextA(h, buf, sizeof(buf));
    CHECK(std::string(buf) == "Other");
  }
  SUBCASE("a shorter text leaves nothing of the longer one on the screen") {
    ::SetWindowTextA(h, "A long heading text here");
    ScreenPixels(h);
    ::SetWindowTextA(h, "Hi");
    Pixels screen = ScreenPixels(h);
    CHECK(screen.Count(purple, 0, RECT{40, 0, 300, 40}) == 0);
    CHECK(screen.Count(purple) > 5);
    CHECK(screen.At(200, 30) == kParentColour);
  }
  SUBCASE("centred single line") {
    HWND h2 = parent.AddChild("STATIC", "Mid", SS_CENTER | SS_CENTERIMAGE, 1025, 10, 60, 300, 40);
    CBoldTextStatic mid;
    REQUIRE(mid.SubclassWindow(h2));
    mid.SetTextColor(purple);
    RECT r = Extent(PrintClient(h2), purple);
    CHECK(std::abs((r.left + r.right) - 300) <= 4);
    CHECK(std::abs((r.top + r.bottom) - 40) <= 4);
  }
}

TEST_CASE("a bold text static's backgrounds, border, etched line and icon") {
  namespace B = ctl::BoldStaticStyle;
  TestParent parent;
  HWND h = parent.AddChild("STATIC", "", SS_LEFT, 1023, 10, 10, 300, 40);
  CBoldTextStatic s;
  REQUIRE(s.SubclassWindow(h));
  const COLORREF a = RGB(200, 0, 0), b = RGB(0, 0, 200), marker = RGB(1, 2, 3);
  s.SetBackgroundColors(a, b);
  s.SetBorderColor(RGB(0, 160, 0));

  SUBCASE("horizontal gradient from A to B") {
    s.SetStyle(B::HorizontalGradient);
    Pixels px = PrintClient(h, marker);
    CHECK(Near(px.At(0, 20), a, 6));
    CHECK(Near(px.At(299, 20), b, 6));
  }
  SUBCASE("with the rounded style as well only the rounded background is drawn") {
    s.SetStyle(B::HorizontalGradient | B::Rounded);
    Pixels px = PrintClient(h, marker);
    CHECK(px.At(0, 0) == marker);       // outside the rounded corner
    CHECK(px.At(5, 20) == a);           // filled with A, no ramp
    CHECK(px.At(290, 20) == a);
    CHECK(px.At(0, 20) == RGB(0, 160, 0));  // outlined in the border colour
  }
  SUBCASE("mirrored gradient") {
    s.SetStyle(B::MirrorGradient);
    Pixels px = PrintClient(h, marker);
    CHECK(Near(px.At(0, 20), b, 6));
    CHECK(Near(px.At(150, 20), a, 6));
    CHECK(Near(px.At(299, 20), b, 6));
  }
  SUBCASE("border and etched bottom line") {
    s.SetStyle(B::Border | B::EtchedBottom);
    Pixels px = PrintClient(h, marker);
    CHECK(px.At(0, 20) == RGB(0, 160, 0));
    CHECK(px.At(299, 20) == RGB(0, 160, 0));
    CHECK(px.At(150, 0) == RGB(0, 160, 0));
    CHECK(px.At(150, 38) == ::GetSysColor(COLOR_BTNSHADOW));
    CHECK(px.At(150, 39) == ::GetSysColor(COLOR_BTNHIGHLIGHT));
    CHECK(px.At(150, 20) == marker);
  }
  SUBCASE("the text shortcuts editor's header: icon at the left, text insets") {
    const COLORREF purple = RGB(155, 79, 188);
    ::SetWindowTextA(h, "Text shortcuts");
    s.SetTextColor(purple);
    REQUIRE(s.SetIcon(216, 32, 32));
    s.SetIconMargins(2, 2);
    s.SetTextInsets(5, 7);
    s.SetStyle(B::IconLeft);
    Pixels px = PrintClient(h, marker);
    RECT text = Extent(px, purple);
    CHECK(text.left >= 2 + 32 + 2 + 5);
    CHECK(text.top >= 7);
    int icon = 0;
    for (int y = 4; y < 36; ++y)
      for (int x = 2; x < 34; ++x)
        if (px.At(x, y) != marker) ++icon;
    CHECK(icon > 200);
    CHECK(px.At(1, 20) == marker);
  }
  SUBCASE("a background bitmap drawn at the top left") {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 10;
    bi.bmiHeader.biHeight = 10;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> bits(100, 0x00FFA000);
    ClientDc screen(nullptr);
    BitmapHandle bmp(::CreateDIBitmap(screen.get(), &bi.bmiHeader, CBM_INIT, bits.data(), &bi, DIB_RGB_COLORS));
    REQUIRE(bmp);
    s.SetBitmap(std::move(bmp));
    s.SetStyle(B::BitmapTopLeft);
    Pixels px = PrintClient(h, marker);
    CHECK(px.At(5, 5) == RGB(255, 160, 0));
    CHECK(px.At(15, 5) == marker);
    s.SetStyle(B::BitmapStretched);
    px = PrintClient(h, marker);
    CHECK(px.At(250, 30) == RGB(255, 160, 0));
  }
}

// ---- CWhiteWnd -------------------------------------------------------------------------------

namespace {
class CWhiteTestDlg : public CWhiteWnd<CWhiteTestDlg> {
 public:
  HWND hwnd() const { return m_hWnd; }
  bool Create(bool withOk) {
    // An empty dialog template; the OK button is added afterwards.
    alignas(4) WORD tpl[32] = {};
    auto* dt = reinterpret_cast<DLGTEMPLATE*>(tpl);
    dt->style = WS_POPUP | WS_VISIBLE | DS_MODALFRAME;
    dt->cx = 200;
    dt->cy = 140;
    m_hWnd = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), dt, nullptr, &Proc,
                                          reinterpret_cast<LPARAM>(this));
    if (!m_hWnd) return false;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    if (withOk)
      ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 220, 190, 80, 26, m_hWnd,
                        reinterpret_cast<HMENU>(IDOK), ::GetModuleHandleA(nullptr), nullptr);
    return true;
  }
  ~CWhiteTestDlg() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
  }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
      ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
      reinterpret_cast<CWhiteTestDlg*>(lParam)->m_hWnd = hwnd;
      return TRUE;
    }
    auto* self = reinterpret_cast<CWhiteTestDlg*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    INT_PTR result = 0;
    if (self && self->HandleWhiteWndMessage(msg, wParam, lParam, result)) return result;
    return FALSE;
  }
  HWND m_hWnd = nullptr;
};
}  // namespace

TEST_CASE("a white dialog: white above the button band, grey below, a line between") {
  CWhiteTestDlg dlg;
  REQUIRE(dlg.Create(true));
  PumpMessages();
  RECT ok;
  ::GetWindowRect(::GetDlgItem(dlg.hwnd(), IDOK), &ok);
  ::MapWindowPoints(nullptr, dlg.hwnd(), reinterpret_cast<POINT*>(&ok), 2);
  int line = ok.top - 15;
  Pixels px = ScreenPixels(dlg.hwnd());
  CHECK(px.At(10, 10) == RGB(255, 255, 255));
  CHECK(px.At(10, line - 1) == RGB(255, 255, 255));
  CHECK(px.At(10, line) == RGB(165, 165, 165));
  CHECK(px.At(150, line) == RGB(165, 165, 165));
  CHECK(px.At(10, line + 1) == RGB(235, 235, 235));
  CHECK(px.At(10, px.height - 1) == RGB(235, 235, 235));

  CWhiteTestDlg bare;
  REQUIRE(bare.Create(false));
  PumpMessages();
  Pixels white = ScreenPixels(bare.hwnd());
  CHECK(white.Count(RGB(255, 255, 255)) == white.width * white.height);
}
