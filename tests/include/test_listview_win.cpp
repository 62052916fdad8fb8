#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "include/IcoListView.h"
#include "include/handles.h"
#include "include/listmarkup.h"
#include "tests/e2e/e2e_support.h"
#include "tests/include/controls_support.h"

namespace doctest {
template <>
struct StringMaker<std::vector<std::string>> {
  static String convert(const std::vector<std::string>& v) {
    std::string s = "{";
    for (const std::string& e : v) s += "\"" + e + "\" ";
    return String((s + "}").c_str());
  }
};
template <>
struct StringMaker<std::pair<int, int>> {
  static String convert(const std::pair<int, int>& p) {
    return String(("[" + std::to_string(p.first) + ", " + std::to_string(p.second) + ")").c_str());
  }
};
}  // namespace doctest

namespace {

const COLORREF kBackdrop = kParentColour;
const int kListId = 1009;

// The test parent handing its list messages back the way the dialogs do, counting what it sees.
struct ListParent : TestParent {
  int drawRequests = 0, measureRequests = 0, columnClicks = 0, itemChanges = 0;
  bool reflect = true;
  explicit ListParent(int width = 540, int height = 380) : TestParent(width, height, nullptr, WS_CLIPCHILDREN) {
    onMessage = [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      if (msg == WM_DRAWITEM) ++drawRequests;
      if (msg == WM_MEASUREITEM) ++measureRequests;
      const auto* hdr = msg == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
      if (hdr && hdr->code == static_cast<UINT>(LVN_COLUMNCLICK)) ++columnClicks;
      if (reflect && CIcoListView::HandleParentMessage(hwnd, msg, wParam, lParam, result)) return true;
      if (hdr && hdr->code == static_cast<UINT>(LVN_ITEMCHANGED)) ++itemChanges;
      return false;
    };
  }
};

// Solid 16 x 16 images, one per colour.
HIMAGELIST SolidImages(const std::vector<COLORREF>& colours) {
  HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR24, static_cast<int>(colours.size()), 0);
  ClientDc screen(nullptr);
  for (COLORREF c : colours) {
    BitmapHandle bitmap(::CreateCompatibleBitmap(screen.get(), 16, 16));
    {
      MemoryDc dc(::CreateCompatibleDC(screen.get()));
      SelectedObject sel(dc.get(), bitmap.get());
      RECT rc = {0, 0, 16, 16};
      BrushHandle brush(::CreateSolidBrush(c));
      ::FillRect(dc.get(), &rc, brush.get());
    }
    ::ImageList_Add(images, bitmap.get(), nullptr);
  }
  return images;
}

const COLORREF kImage0 = RGB(250, 10, 10), kImage1 = RGB(10, 250, 10), kImage2 = RGB(250, 250, 10);
const COLORREF kUnchecked = RGB(0, 200, 200), kChecked = RGB(200, 0, 200);

// A parent with one list of three columns (the last right-aligned) and check boxes.
struct ListRig {
  ListParent parent;
  CIcoListView list;
  HWND h = nullptr;
  explicit ListRig(DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                   bool checkBoxes = true) {
    h = list.Create(parent.hwnd(), kListId, RECT{10, 10, 510, 350}, style);
    REQUIRE(h != nullptr);
    if (checkBoxes) list.SetCheckBoxes(true);
    list.SetCheckBoxImages(SolidImages({kUnchecked, kChecked}));
    list.SetImageList(SolidImages({kImage0, kImage1, kImage2}), LVSIL_SMALL);
    REQUIRE(list.InsertColumn(0, "Hotkey", 170) == 0);
    REQUIRE(list.InsertColumn(1, "Description", 160) == 1);
    REQUIRE(list.InsertColumn(2, "Value", 120, LVCFMT_RIGHT) == 2);
    PumpMessages();
  }
  int Add(const std::string& a, const std::string& b, const std::string& c, int image = I_IMAGENONE) {
    int row = list.AddItem(a, image);
    list.SetItemText(row, 1, b);
    list.SetItemText(row, 2, c);
    return row;
  }
  RECT Row(int item) const {
    RECT rc = {};
    rc.left = LVIR_BOUNDS;
    ::SendMessageA(h, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc));
    return rc;
  }
  // The cell of a column in list client coordinates: under its header item.
  RECT Cell(int item, int column) const {
    RECT row = Row(item), hr = {};
    HWND header = list.GetHeader();
    ::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hr));
    ::MapWindowPoints(header, h, reinterpret_cast<POINT*>(&hr), 2);
    return RECT{hr.left, row.top, hr.right, row.bottom};
  }
  Pixels Shot() { return ScreenPixels(h); }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetItemCount(); ++i) out.push_back(list.GetDisplayText(i, column));
    return out;
  }
};

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// A click as the list sees it; the release is queued first, for the list's wait for it.
void Click(HWND h, int x, int y) {
  ::PostMessageA(h, WM_LBUTTONUP, 0, At(x, y));
  ::SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  PumpMessages();
}

void ClickHeader(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT rc = {};
  ::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rc));
  int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
  ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  ::SendMessageA(header, WM_LBUTTONUP, 0, At(x, y));
  PumpMessages();
}

// The pixels of one colour along a row, as [first, last + 1), or an empty range.
std::pair<int, int> RunOf(const Pixels& px, int y, COLORREF colour, int from = 0, int to = -1) {
  if (to < 0) to = px.width;
  int first = -1, last = -1;
  for (int x = from; x < to; ++x)
    if (Near(px.At(x, y), colour, 0)) {
      if (first < 0) first = x;
      last = x;
    }
  return first < 0 ? std::make_pair(0, 0) : std::make_pair(first, last + 1);
}

LONG_PTR ProcOf(HWND h) { return ::GetWindowLongPtrA(h, GWLP_WNDPROC); }

}  // namespace

// ---- taking over the list view ---------------------------------------------------------------

TEST_CASE("the list takes over only an owner-drawn report list view and gives it back") {
  ListParent parent;
  auto make = [&](DWORD style, const char* cls = WC_LISTVIEWA) {
    return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100, parent.hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), ::GetModuleHandleA(nullptr),
                             nullptr);
  };
  SUBCASE("wrong styles or class are refused") {
    CIcoListView list;
    HWND icons = make(LVS_ICON | LVS_OWNERDRAWFIXED);
    HWND plain = make(LVS_REPORT);
    HWND button = make(LVS_REPORT | LVS_OWNERDRAWFIXED, "BUTTON");
    CHECK_FALSE(list.SubclassWindow(icons));
    CHECK_FALSE(list.SubclassWindow(plain));
    CHECK_FALSE(list.SubclassWindow(button));
    CHECK_FALSE(list.SubclassWindow(nullptr));
    CHECK(list.hwnd() == nullptr);
    for (HWND w : {icons, plain, button}) ::DestroyWindow(w);
  }
  SUBCASE("the old procedure comes back when the object lets go") {
    HWND h = make(LVS_REPORT | LVS_OWNERDRAWFIXED);
    LONG_PTR original = ProcOf(h);
    {
      CIcoListView list;
      REQUIRE(list.SubclassWindow(h));
      CHECK(ProcOf(h) != original);
      CHECK(CListViewWindow::FromHandle(h) == &list);
      CIcoListView second;
      CHECK_FALSE(second.SubclassWindow(h));
      list.UnsubclassWindow();
      CHECK(ProcOf(h) == original);
      CHECK(CListViewWindow::FromHandle(h) == nullptr);
      CHECK(list.hwnd() == nullptr);
      REQUIRE(list.SubclassWindow(h));
    }
    // The destructor gave it back as well.
    CHECK(ProcOf(h) == original);
    CHECK(CListViewWindow::FromHandle(h) == nullptr);
    ::DestroyWindow(h);
  }
  SUBCASE("a list destroyed first leaves the object empty") {
    CIcoListView list;
    HWND h = make(LVS_REPORT | LVS_OWNERDRAWFIXED);
    REQUIRE(list.SubclassWindow(h));
    ::DestroyWindow(h);
    CHECK(list.hwnd() == nullptr);
    CHECK(list.GetItemCount() == 0);
    CHECK(list.GetItemText(0, 0).empty());
  }
}

TEST_CASE("the list answers the row height through the parent, and takes a new one at once") {
  ListRig rig;
  rig.Add("a", "b", "c");
  rig.Add("d", "e", "f");
  CHECK(rig.parent.measureRequests > 0);
  RECT r0 = rig.Row(0), r1 = rig.Row(1);
  CHECK(r0.bottom - r0.top == 20);
  CHECK(r1.top == r0.bottom);
  rig.list.SetRowHeight(30);
  PumpMessages();
  r0 = rig.Row(0);
  CHECK(r0.bottom - r0.top == 30);
  CHECK(rig.Row(1).top == r0.bottom);
}

// ---- markup ----------------------------------------------------------------------------------

TEST_CASE("cells show their text without markup") {
  ListRig rig;
  rig.Add("{ICON:2}word", "{TEXTCOLOR:200,0,0}red{BKCOLOR:1,2,3}", "{PERCENT:40}");
  rig.Add("{ICON:2word", "{TEXTCOLOR:200,0}two", "{PERCENT:999}x");
  CHECK(rig.list.GetItemText(0, 0) == "{ICON:2}word");
  CHECK(rig.list.GetDisplayText(0, 0) == "word");
  CHECK(rig.list.GetDisplayText(0, 1) == "red");
  CHECK(rig.list.GetDisplayText(0, 2).empty());
  CHECK(rig.list.GetDisplayText(1, 0) == "{ICON:2word");
  CHECK(rig.list.GetDisplayText(1, 1) == "two");
  CHECK(rig.list.GetDisplayText(1, 2) == "x");
  CHECK(rig.list.GetDisplayText(5, 0).empty());
  std::string longText(3000, 'q');
  rig.list.SetItemText(1, 1, "{ICON:1}" + longText);
  CHECK(rig.list.GetDisplayText(1, 1) == longText);
}

// ---- painting --------------------------------------------------------------------------------

TEST_CASE("rows alternate white and light grey with grid lines, and the header stays") {
  ListRig rig;
  for (int i = 0; i < 4; ++i) rig.Add("", "", "");
  CHECK(rig.parent.drawRequests == 0);
  Pixels px = rig.Shot();
  CHECK(rig.parent.drawRequests >= 4);
  RECT c0 = rig.Cell(0, 1), c1 = rig.Cell(1, 1);
  int y0 = (c0.top + c0.bottom) / 2, y1 = (c1.top + c1.bottom) / 2;
  INFO("row 0 " << ColourText(px.At(c0.left + 40, y0)) << ", row 1 " << ColourText(px.At(c1.left + 40, y1)));
  CHECK(px.At(c0.left + 40, y0) == RGB(255, 255, 255));
  CHECK(px.At(c1.left + 40, y1) == RGB(240, 240, 240));
  CHECK(px.At(rig.Cell(2, 1).left + 40, y0 + 2 * (c1.top - c0.top)) == RGB(255, 255, 255));
  // Vertical grid line at each cell's right edge, none at the bottom by default.
  CHECK(px.At(c0.right - 1, y0) == RGB(220, 220, 220));
  CHECK(px.At(c0.left + 40, c0.bottom - 1) == RGB(255, 255, 255));
  rig.list.m_dwGridFlags = lm::Grid::Vertical | lm::Grid::Horizontal;
  px = rig.Shot();
  CHECK(px.At(c0.left + 40, c0.bottom - 1) == RGB(220, 220, 220));
  // Below the rows: the list's background.
  RECT last = rig.Row(3);
  CHECK(px.At(200, last.bottom + 20) == static_cast<COLORREF>(::SendMessageA(rig.h, LVM_GETBKCOLOR, 0, 0)));
  // The header is the header's own drawing, not the backdrop of the buffer.
  HWND header = rig.list.GetHeader();
  RECT hr;
  ::GetClientRect(header, &hr);
  CHECK(hr.bottom > 0);
  CHECK(c0.top >= hr.bottom);
}

TEST_CASE("a selected row is a gradient bar with a double frame and white text") {
  ListRig rig(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_SHOWSELALWAYS | LVS_SINGLESEL, false);
  rig.list.SetRowHeight(30);
  rig.Add("Selected", "middle", "");
  rig.Add("", "", "");
  rig.list.SelectItem(0);
  SUBCASE("the defaults: one blue with white text") {
    Pixels px = rig.Shot();
    RECT c = rig.Cell(0, 1);
    CHECK(px.At(c.right - 5, (c.top + c.bottom) / 2) == RGB(50, 100, 255));
    CHECK(px.Count(RGB(255, 255, 255), 0, rig.Cell(0, 0)) > 10);  // the text
    RECT other = rig.Cell(1, 1);
    CHECK(px.At(other.left + 40, (other.top + other.bottom) / 2) == RGB(240, 240, 240));
  }
  SUBCASE("the gradient runs from top to bottom inside the frame") {
    rig.list.m_crSelectionTop = RGB(0, 0, 200);
    rig.list.m_crSelectionBottom = RGB(0, 200, 0);
    rig.list.m_crSelectionOuterBorder = RGB(255, 0, 0);
    rig.list.m_crSelectionInnerBorder = RGB(255, 255, 0);
    Pixels px = rig.Shot();
    RECT first = rig.Cell(0, 0), mid = rig.Cell(0, 1), last = rig.Cell(0, 2);
    int x = mid.right - 5;
    COLORREF top = px.At(x, mid.top + 2), bottom = px.At(x, mid.bottom - 3);
    INFO("top " << ColourText(top) << " bottom " << ColourText(bottom));
    CHECK(GetBValue(top) > 170);
    CHECK(GetGValue(top) < 30);
    CHECK(GetGValue(bottom) > 170);
    CHECK(GetBValue(bottom) < 30);
    for (int y = mid.top + 3; y < mid.bottom - 3; ++y) CHECK(GetGValue(px.At(x, y)) >= GetGValue(px.At(x, y - 1)));
    // Outer lines at the top and bottom of every cell, the inner ones one pixel inside.
    CHECK(px.At(x, mid.top) == RGB(255, 0, 0));
    CHECK(px.At(x, mid.bottom - 1) == RGB(255, 0, 0));
    CHECK(px.At(x, mid.top + 1) == RGB(255, 255, 0));
    CHECK(px.At(x, mid.bottom - 2) == RGB(255, 255, 0));
    // Left edge only on the first cell, right edge only on the last.
    int y = (mid.top + mid.bottom) / 2;
    CHECK(px.At(first.left, y) == RGB(255, 0, 0));
    CHECK(px.At(first.left + 1, y) == RGB(255, 255, 0));
    CHECK(px.At(first.left + 1, first.top) == RGB(255, 0, 0));
    CHECK(px.At(first.left + 1, first.top + 1) == RGB(255, 255, 0));
    CHECK(px.At(mid.left, y) != RGB(255, 0, 0));
    CHECK(px.At(last.right - 1, y) == RGB(255, 0, 0));
    CHECK(px.At(last.right - 2, y) == RGB(255, 255, 0));
    CHECK(px.At(mid.right - 1, y) != RGB(255, 0, 0));
  }
  SUBCASE("with selection drawing off the row looks unselected") {
    rig.list.m_bSelectionDrawingOff = true;
    Pixels px = rig.Shot();
    RECT c = rig.Cell(0, 1);
    CHECK(px.At(c.right - 5, (c.top + c.bottom) / 2) == RGB(255, 255, 255));
    CHECK(px.Count(RGB(0, 0, 0), 0, rig.Cell(0, 0)) > 10);
  }
}

TEST_CASE("markup colours the cell's background and text") {
  ListRig rig;
  rig.Add("plain", "{BKCOLOR:10,200,30}{TEXTCOLOR:200,0,0}coloured", "{TEXTCOLOR:1,2}two");
  rig.Add("x", "{BKCOLOR:300,-4,128}clamped", "");
  Pixels px = rig.Shot();
  RECT c = rig.Cell(0, 1);
  CHECK(px.At(c.right - 5, c.top + 2) == RGB(10, 200, 30));
  CHECK(px.Count(RGB(200, 0, 0), 0, c) > 10);
  CHECK(px.Count(RGB(0, 0, 0), 0, c) == 0);
  // Two components: default black text.
  CHECK(px.Count(RGB(0, 0, 0), 0, rig.Cell(0, 2)) > 5);
  RECT d = rig.Cell(1, 1);
  CHECK(px.At(d.right - 5, d.top + 2) == RGB(255, 0, 128));
  SUBCASE("a disabled list is grey everywhere") {
    ::EnableWindow(rig.h, FALSE);
    px = rig.Shot();
    CHECK(px.At(c.right - 5, c.top + 2) == RGB(230, 230, 230));
    CHECK(px.At(rig.Cell(0, 0).right - 5, c.top + 2) == RGB(230, 230, 230));
  }
}

TEST_CASE("a percentage bar is filled to its share of the track") {
  ListRig rig;
  rig.list.SetRowHeight(40);
  rig.list.m_crBarFillTop = rig.list.m_crBarFillBottom = RGB(255, 0, 0);
  rig.list.m_crBarFillFrameTopLeft = rig.list.m_crBarFillFrameBottomRight = RGB(255, 0, 0);
  rig.list.m_crBarTrackTop = rig.list.m_crBarTrackBottom = RGB(0, 0, 255);
  rig.list.m_crBarTrackFrameTopLeft = rig.list.m_crBarTrackFrameBottomRight = RGB(0, 0, 255);
  rig.Add("", "{PERCENT:40}", "{PERCENT:0}");
  rig.Add("", "{PERCENT:1000}", "{PERCENT:-30}");
  rig.Add("", "{PERCENT:100}", "{PERCENT:abc");
  Pixels px = rig.Shot();
  auto check = [&](int item, int column, int percent) {
    RECT c = rig.Cell(item, column);
    int trackLeft = c.left + 5, trackRight = c.right - 5, width = trackRight - trackLeft;
    int y = c.top + 8;  // the bar's top frame line
    auto red = RunOf(px, y, RGB(255, 0, 0), c.left, c.right);
    auto blue = RunOf(px, y, RGB(0, 0, 255), c.left, c.right);
    int fill = percent * width / 100;
    INFO("item " << item << " column " << column << " red " << red.first << ".." << red.second << " blue " << blue.first
                 << ".." << blue.second);
    CHECK(red.second - red.first == fill);
    if (fill > 0) CHECK(red.first == trackLeft);
    if (fill < width) CHECK(blue.second == trackRight);
    CHECK(px.At(trackLeft - 1, y + 3) != RGB(0, 0, 255));
    CHECK(px.At(trackLeft, c.top + 7) != RGB(0, 0, 255));
    // The percentage text in the middle of the bar.
    CHECK(px.Count(RGB(0, 0, 0), 0, RECT{trackLeft, c.top + 8, trackRight, c.bottom - 8}) > 5);
  };
  check(0, 1, 40);
  check(0, 2, 0);
  check(1, 1, 100);
  check(1, 2, 0);
  check(2, 1, 100);
  // An unterminated tag is text, not a bar.
  RECT c = rig.Cell(2, 2);
  CHECK(px.Count(RGB(0, 0, 255), 0, c) == 0);
  CHECK(rig.list.GetDisplayText(2, 2) == "{PERCENT:abc");
}

TEST_CASE("icons come from the small image list, and bad indexes draw none") {
  ListRig rig(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_SHOWSELALWAYS | LVS_SINGLESEL, false);
  rig.Add("{ICON:1}first", "{ICON:2}word", "{ICON:0}99");
  rig.Add("{ICON:2}own image wins", "{ICON:3}", "{ICON:-1}");
  rig.list.SetItemText(1, 0, "{ICON:2}own image wins");
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = 1;
  item.iImage = 0;
  ::SendMessageA(rig.h, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  rig.Add("{ICON:99999999999}", "{ICON:4294967297}", "{ICON:");
  Pixels px = rig.Shot();
  auto iconAt = [&](int row, int column, COLORREF colour) {
    RECT c = rig.Cell(row, column);
    return px.Count(colour, 0, c);
  };
  CHECK(iconAt(0, 0, kImage1) == 16 * 16);
  CHECK(iconAt(0, 1, kImage2) == 16 * 16);
  CHECK(iconAt(0, 2, kImage0) == 16 * 16);
  CHECK(iconAt(1, 0, kImage0) == 16 * 16);
  CHECK(iconAt(1, 0, kImage2) == 0);
  for (int column = 1; column < 3; ++column)
    for (COLORREF c : {kImage0, kImage1, kImage2}) CHECK(iconAt(1, column, c) == 0);
  for (int column = 0; column < 3; ++column)
    for (COLORREF c : {kImage0, kImage1, kImage2}) CHECK(iconAt(2, column, c) == 0);
  // Left margin 3, centred; in the right-aligned column at the right edge.
  RECT c = rig.Cell(0, 1);
  int mid = (c.top + c.bottom) / 2;
  CHECK(RunOf(px, mid, kImage2, c.left, c.right) ==
        std::make_pair(static_cast<int>(c.left + 3), static_cast<int>(c.left + 19)));
  RECT r = rig.Cell(0, 2);
  CHECK(RunOf(px, mid, kImage0, r.left, r.right) ==
        std::make_pair(static_cast<int>(r.right - 19), static_cast<int>(r.right - 3)));
  // The text starts after the icon and its gap.
  CHECK(px.Count(RGB(0, 0, 0), 0, RECT{c.left, c.top, c.left + 22, c.bottom}) == 0);
  CHECK(px.Count(RGB(0, 0, 0), 0, RECT{c.left + 22, c.top, c.right, c.bottom}) > 10);
}

// ---- check boxes -----------------------------------------------------------------------------

TEST_CASE("the check box shows the item's state and a click on it toggles it") {
  ListRig rig;
  rig.Add("one", "", "");
  rig.Add("two", "", "");
  rig.list.SetCheckState(1, true);
  CHECK_FALSE(rig.list.GetCheckState(0));
  CHECK(rig.list.GetCheckState(1));
  Pixels px = rig.Shot();
  CHECK(px.Count(kUnchecked, 0, rig.Cell(0, 0)) == 16 * 16);
  CHECK(px.Count(kChecked, 0, rig.Cell(1, 0)) == 16 * 16);
  RECT c = rig.Cell(0, 0);
  int mid = (c.top + c.bottom) / 2;
  CHECK(RunOf(px, mid, kUnchecked, c.left, c.right) ==
        std::make_pair(static_cast<int>(c.left + 3), static_cast<int>(c.left + 19)));

  SUBCASE("a click on the box toggles, once per click") {
    Click(rig.h, c.left + 10, mid);
    CHECK(rig.list.GetCheckState(0));
    px = rig.Shot();
    CHECK(px.Count(kChecked, 0, rig.Cell(0, 0)) == 16 * 16);
    // The first and last pixel columns of the box.
    Click(rig.h, c.left + 3, mid);
    CHECK_FALSE(rig.list.GetCheckState(0));
    Click(rig.h, c.left + 18, mid);
    CHECK(rig.list.GetCheckState(0));
    Click(rig.h, c.left + 18, mid);
    CHECK_FALSE(rig.list.GetCheckState(0));
    ::SendMessageA(rig.h, WM_LBUTTONDBLCLK, MK_LBUTTON, At(c.left + 10, mid));
    PumpMessages();
    CHECK(rig.list.GetCheckState(0));
    CHECK(rig.list.GetCheckState(1));
  }
  SUBCASE("a click beside the box selects the row and leaves the box") {
    Click(rig.h, c.left + 60, mid);
    CHECK_FALSE(rig.list.GetCheckState(0));
    CHECK(rig.list.GetSelectedIndex() == 0);
    Click(rig.h, c.left + 19, mid);
    CHECK_FALSE(rig.list.GetCheckState(0));
  }
  SUBCASE("the space bar toggles every selected item") {
    rig.list.SelectItem(1);
    ::SendMessageA(rig.h, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(rig.h, WM_CHAR, ' ', 0);
    CHECK_FALSE(rig.list.GetCheckState(1));
    CHECK_FALSE(rig.list.GetCheckState(0));
    CHECK(rig.list.GetSelectedIndex() == 1);
    ::SendMessageA(rig.h, WM_KEYDOWN, VK_SPACE, 0);
    CHECK(rig.list.GetCheckState(1));
  }
  SUBCASE("without check boxes there is no box and no toggling") {
    rig.list.SetCheckBoxes(false);
    PumpMessages();
    px = rig.Shot();
    CHECK(px.Count(kUnchecked, 0, rig.Cell(0, 0)) == 0);
    Click(rig.h, c.left + 10, mid);
    CHECK_FALSE(rig.list.GetCheckState(0));
  }
  SUBCASE("check box images other than two are not drawn") {
    rig.list.SetCheckBoxImages(SolidImages({kUnchecked}));
    px = rig.Shot();
    CHECK(px.Count(kUnchecked, 0, rig.Cell(0, 0)) == 0);
    CHECK(rig.list.SetCheckBoxIcons(204, 205));
    CHECK(::ImageList_GetImageCount(rig.list.CheckBoxImages()) == 2);
    CHECK_FALSE(rig.list.SetCheckBoxIcons(204, 60000));
  }
}

TEST_CASE("the space bar toggles all selected items of a multi-selection list") {
  ListRig rig(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_SHOWSELALWAYS);
  for (int i = 0; i < 4; ++i) rig.Add("row " + std::to_string(i), "", "");
  rig.list.SetCheckState(2, true);
  for (int i : {0, 2, 3}) rig.list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
  ::SendMessageA(rig.h, WM_KEYDOWN, VK_SPACE, 0);
  CHECK(rig.list.GetCheckState(0));
  CHECK_FALSE(rig.list.GetCheckState(1));
  CHECK_FALSE(rig.list.GetCheckState(2));
  CHECK(rig.list.GetCheckState(3));
}

// ---- sorting ---------------------------------------------------------------------------------

TEST_CASE("a header click sorts descending, the next one ascending") {
  lm::SharedSortDirection().Reset();
  ListRig rig;
  rig.Add("{ICON:1}banana", "{PERCENT:20}", "9");
  rig.Add("apple", "{PERCENT:75}", "10");
  rig.Add("Cherry", "{PERCENT:5}", "-2.5");
  rig.Add("date", "{PERCENT:100}", "100");
  rig.list.SetCheckState(1, true);
  rig.list.SetItemData(1, 4242);
  ClickHeader(rig.h, 0);
  CHECK(rig.parent.columnClicks == 1);
  CHECK(rig.Column(0) == std::vector<std::string>{"date", "banana", "apple", "Cherry"});
  // Check state and item data travel with the row.
  CHECK(rig.list.GetCheckState(2));
  CHECK(rig.list.GetItemData(2) == 4242);
  ClickHeader(rig.h, 0);
  CHECK(rig.Column(0) == std::vector<std::string>{"Cherry", "apple", "banana", "date"});
  SUBCASE("the direction is shared by every column and every list") {
    ClickHeader(rig.h, 1);  // descending again
    CHECK(rig.Column(0) == std::vector<std::string>{"date", "apple", "banana", "Cherry"});
    ListRig other;
    other.Add("a", "", "");
    other.Add("b", "", "");
    ClickHeader(other.h, 0);  // ascending
    CHECK(other.Column(0) == std::vector<std::string>{"a", "b"});
  }
  SUBCASE("a right-aligned column sorts by number") {
    rig.list.SortByColumn(2);  // descending
    CHECK(rig.Column(2) == std::vector<std::string>{"100", "10", "9", "-2.5"});
    rig.list.SortByColumn(2);
    CHECK(rig.Column(2) == std::vector<std::string>{"-2.5", "9", "10", "100"});
  }
  SUBCASE("a list without a sort header gets no clicks, and a missing column sorts nothing") {
    rig.list.SortByColumn(7);
    rig.list.SortByColumn(-1);
    CHECK(lm::SharedSortDirection().NextIsDescending());
  }
}

TEST_CASE("rows with their own data sort by it, and rows without are not disturbed") {
  lm::SharedSortDirection().Reset();
  ListRig rig;
  const char* names[] = {"kiwi", "Fig", "lime", "apple", "pear"};
  for (int i = 0; i < 5; ++i) rig.list.AddItem(names[i], I_IMAGENONE, 1000 + i);
  rig.list.SetCheckState(3, true);
  rig.parent.itemChanges = 0;
  rig.list.SortByColumn(0);
  CHECK(rig.Column(0) == std::vector<std::string>{"pear", "lime", "kiwi", "apple", "Fig"});
  CHECK(rig.list.GetItemData(3) == 1003);
  CHECK(rig.list.GetCheckState(3));
  CHECK(rig.list.GetItemData(0) == 1004);
  SUBCASE("all rows alike: the temporary keys never reach the parent") {
    for (int i = 0; i < 5; ++i) rig.list.SetItemData(i, 7);
    rig.parent.itemChanges = 0;
    rig.list.SortByColumn(0);  // ascending
    CHECK(rig.Column(0) == std::vector<std::string>{"Fig", "apple", "kiwi", "lime", "pear"});
    CHECK(rig.parent.itemChanges == 0);
    for (int i = 0; i < 5; ++i) CHECK(rig.list.GetItemData(i) == 7);
  }
  SUBCASE("equal cells keep the rows' order among themselves, in either direction") {
    // pear, lime, kiwi, apple, Fig: 90, 10, 90, 10, 90 per cent.
    for (int i = 0; i < 5; ++i) rig.list.SetItemText(i, 1, i % 2 ? "{PERCENT:10}" : "{PERCENT:90}");
    rig.list.SortByColumn(1);  // ascending
    CHECK(rig.Column(0) == std::vector<std::string>{"lime", "apple", "pear", "kiwi", "Fig"});
    rig.list.SortByColumn(1);  // descending
    CHECK(rig.Column(0) == std::vector<std::string>{"pear", "kiwi", "Fig", "lime", "apple"});
  }
}

TEST_CASE("without reflection the parent's own handling stays untouched") {
  lm::SharedSortDirection().Reset();
  ListRig rig;
  rig.Add("a", "", "");
  rig.Add("b", "", "");
  rig.parent.reflect = false;
  ClickHeader(rig.h, 0);
  CHECK(rig.parent.columnClicks == 1);
  CHECK(rig.Column(0) == std::vector<std::string>{"a", "b"});
  LRESULT result = 0;
  NMHDR other = {rig.parent.hwnd(), 5, static_cast<UINT>(LVN_COLUMNCLICK)};
  CHECK_FALSE(
      CIcoListView::HandleParentMessage(rig.parent.hwnd(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&other), result));
  CHECK_FALSE(CIcoListView::HandleParentMessage(rig.parent.hwnd(), WM_COMMAND, 0, 0, result));
  MEASUREITEMSTRUCT mis = {};
  mis.CtlType = ODT_LISTBOX;
  mis.CtlID = kListId;
  CHECK_FALSE(CIcoListView::HandleParentMessage(rig.parent.hwnd(), WM_MEASUREITEM, kListId,
                                                reinterpret_cast<LPARAM>(&mis), result));
  mis.CtlType = ODT_LISTVIEW;
  CHECK(CIcoListView::HandleParentMessage(rig.parent.hwnd(), WM_MEASUREITEM, kListId, reinterpret_cast<LPARAM>(&mis),
                                          result));
  CHECK(mis.itemHeight == 20);
  CHECK(result == TRUE);
}

// ---- scrolling -------------------------------------------------------------------------------

TEST_CASE("after a scroll every visible row is painted for its own index") {
  ListRig rig;
  for (int i = 0; i < 60; ++i) rig.Add("row " + std::to_string(i), "{BKCOLOR:" + std::to_string(i * 4) + ",0,0}", "");
  ::UpdateWindow(rig.h);
  for (int step = 0; step < 3; ++step) ::SendMessageA(rig.h, WM_VSCROLL, SB_LINEDOWN, 0);
  PumpMessages();
  int top = static_cast<int>(::SendMessageA(rig.h, LVM_GETTOPINDEX, 0, 0));
  CHECK(top == 3);
  // Read what is on the screen now, without another full repaint.
  RECT client;
  ::GetClientRect(rig.h, &client);
  Pixels px = PaintWith(rig.h, [&](HDC dc) {
    ClientDc src(rig.h);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, src.get(), 0, 0, SRCCOPY);
  });
  for (int i = top; i < top + 8; ++i) {
    RECT c = rig.Cell(i, 1);
    INFO("item " << i);
    CHECK(px.At(c.right - 5, c.top + 2) == RGB(i * 4, 0, 0));
    CHECK(px.At(rig.Cell(i, 2).right - 20, c.top + 2) == (i % 2 ? RGB(240, 240, 240) : RGB(255, 255, 255)));
  }
}

TEST_CASE("after a horizontal scroll the cells still sit under their header items") {
  ListParent parent;
  CIcoListView list;
  HWND h = list.Create(parent.hwnd(), kListId, RECT{10, 10, 310, 200});
  REQUIRE(h);
  list.InsertColumn(0, "A", 200);
  list.InsertColumn(1, "B", 200);
  list.InsertColumn(2, "C", 200);
  list.AddItem("a");
  list.SetItemText(0, 1, "{BKCOLOR:0,0,250}");
  ::SendMessageA(h, LVM_SCROLL, 120, 0);
  PumpMessages();
  HWND header = list.GetHeader();
  RECT hr = {};
  ::SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&hr));
  ::MapWindowPoints(header, h, reinterpret_cast<POINT*>(&hr), 2);
  CHECK(hr.left == 80);
  RECT row = {};
  row.left = LVIR_BOUNDS;
  ::SendMessageA(h, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  Pixels px = ScreenPixels(h);
  int y = (row.top + row.bottom) / 2;
  auto run = RunOf(px, y, RGB(0, 0, 250));
  CHECK(run.first == hr.left);
  CHECK(run.second == hr.right - 1);  // the grid line is the cell's last column
}

TEST_CASE("a real mouse click on the check box toggles it once") {
  ListRig rig;
  rig.Add("one", "", "");
  RECT c = rig.Cell(0, 0);
  POINT pt = {c.left + 10, (c.top + c.bottom) / 2};
  ::ClientToScreen(rig.h, &pt);
  ::SetForegroundWindow(rig.parent.hwnd());
  ClickAt(pt);
  for (int i = 0; i < 20 && !rig.list.GetCheckState(0); ++i) {
    PumpMessages();
    ::Sleep(10);
  }
  PumpMessages();
  CHECK(rig.list.GetCheckState(0));
  PumpMessages();
  CHECK(rig.list.GetCheckState(0));
}

// ---- a list in a dialog ----------------------------------------------------------------------

namespace {

// A dialog template in memory: one owner-drawn report list with the given id.
std::vector<WORD> ListDialogTemplate() {
  std::vector<WORD> t;
  auto dword = [&](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  auto text = [&](const char* s) {
    for (; *s; ++s) t.push_back(static_cast<WORD>(*s));
    t.push_back(0);
  };
  dword(WS_POPUP | WS_VISIBLE | DS_SETFONT);
  dword(0);
  t.push_back(1);  // one control
  t.push_back(0);
  t.push_back(0);
  t.push_back(250);
  t.push_back(160);
  t.push_back(0);  // no menu
  t.push_back(0);  // default class
  text("dialog");
  t.push_back(8);
  text("Tahoma");
  if (t.size() % 2) t.push_back(0);
  dword(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  dword(0);
  t.push_back(7);
  t.push_back(7);
  t.push_back(236);
  t.push_back(140);
  t.push_back(kListId);
  text("SysListView32");
  text("");
  t.push_back(0);
  return t;
}

struct ListDialog {
  HWND hwnd = nullptr;
  CIcoListView list;
  static INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) ::SetWindowLongPtrA(h, GWLP_USERDATA, lParam);
    auto* self = reinterpret_cast<ListDialog*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
    if (!self) return FALSE;
    if (msg == WM_INITDIALOG) {
      self->hwnd = h;
      self->list.SubclassWindow(::GetDlgItem(h, kListId));
      self->list.SetRowHeight(30);
      self->list.SetCheckBoxes(true);
      self->list.InsertColumn(0, "Action", 300);
      self->list.AddItem("{BKCOLOR:0,128,0}green");
      return TRUE;
    }
    LRESULT reflected = 0;
    if (CIcoListView::HandleParentMessage(h, msg, wParam, lParam, reflected)) return static_cast<INT_PTR>(reflected);
    return FALSE;
  }
  ListDialog() {
    static std::vector<WORD> t = ListDialogTemplate();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(t.data()), nullptr,
                                 &ListDialog::Proc, reinterpret_cast<LPARAM>(this));
    PumpMessages();
  }
  ~ListDialog() {
    if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    PumpMessages();
  }
};

}  // namespace

TEST_CASE("a dialog's list draws through the dialog procedure") {
  ListDialog dlg;
  REQUIRE(dlg.hwnd != nullptr);
  REQUIRE(dlg.list.hwnd() != nullptr);
  RECT row = {};
  row.left = LVIR_BOUNDS;
  ::SendMessageA(dlg.list.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  CHECK(row.bottom - row.top == 30);
  Pixels px = ScreenPixels(dlg.list.hwnd());
  CHECK(px.At(250, (row.top + row.bottom) / 2) == RGB(0, 128, 0));
  CHECK(dlg.list.GetDisplayText(0, 0) == "green");
}

// ---- resources -------------------------------------------------------------------------------

TEST_CASE("creating, painting and destroying lists leaves no GDI objects behind") {
  auto cycle = [](int i) {
    ListRig rig;
    rig.list.SetCheckBoxIcons(204, 205);
    for (int r = 0; r < 6; ++r)
      rig.Add("{ICON:1}row " + std::to_string(r), "{PERCENT:" + std::to_string(r * 20) + "}",
              "{BKCOLOR:9,9,9}{TEXTCOLOR:200,200,0}" + std::to_string(i));
    rig.list.SelectItem(i % 6);
    rig.Shot();
    ::SendMessageA(rig.h, WM_VSCROLL, SB_LINEDOWN, 0);
    rig.list.SortByColumn(0);
    rig.Shot();
  };
  for (int i = 0; i < 3; ++i) cycle(i);  // first-use caches of GDI and the fonts
  long before = LiveGdiObjects();
  DWORD userBefore = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  int windowsBefore = ThreadWindowCount();
  for (int i = 0; i < 30; ++i) cycle(i);
  long after = LiveGdiObjects();
  INFO("GDI objects " << before << " -> " << after);
  CHECK(after - before <= 2);
  CHECK(after - before >= -2);
  CHECK(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS) <= userBefore + 2);
  CHECK(ThreadWindowCount() == windowsBefore);
}

TEST_CASE("one list repaints many times without making GDI objects") {
  ListRig rig;
  for (int r = 0; r < 10; ++r) rig.Add("{ICON:0}r", "{PERCENT:50}", "{BKCOLOR:1,2,3}x");
  rig.list.SelectItem(3);
  rig.Shot();
  long before = LiveGdiObjects();
  for (int i = 0; i < 40; ++i) rig.Shot();
  CHECK(LiveGdiObjects() - before <= 1);
}
