#include <doctest/doctest.h>

#include <algorithm>
#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "include/listmarkup.h"

using namespace lm;

namespace lm {
std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "[" << b.left << "," << b.top << " - " << b.right << "," << b.bottom << "]";
}
std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}
}  // namespace lm

namespace {
bool NoColour(const CellColour& c) { return c.r == -1 && c.g == -1 && c.b == -1 && !c.Given(); }
}  // namespace

// ---- markup ----------------------------------------------------------------------------------

TEST_CASE("a text without markup comes back unchanged with every output at -1") {
  CellMarkup m = ParseMarkup("Ctrl + Alt + K");
  CHECK(m.text == "Ctrl + Alt + K");
  CHECK(m.icon == -1);
  CHECK(m.percent == -1);
  CHECK(NoColour(m.textColour));
  CHECK(NoColour(m.backColour));
  CHECK(ParseMarkup("").text.empty());
}

TEST_CASE("an icon tag is removed and gives its index") {
  CellMarkup m = ParseMarkup("{ICON:2}word");
  CHECK(m.text == "word");
  CHECK(m.icon == 2);
  SUBCASE("without the closing brace the text stays and there is no icon") {
    CellMarkup open = ParseMarkup("{ICON:2word");
    CHECK(open.text == "{ICON:2word");
    CHECK(open.icon == -1);
  }
  SUBCASE("anywhere in the text") {
    CellMarkup mid = ParseMarkup("a{ICON:7}b");
    CHECK(mid.text == "ab");
    CHECK(mid.icon == 7);
  }
  SUBCASE("an empty or non-numeric value reads as 0, as atoi does") {
    CHECK(ParseMarkup("{ICON:}x").icon == 0);
    CHECK(ParseMarkup("{ICON:abc}x").icon == 0);
    CHECK(ParseMarkup("{ICON: 12z}x").icon == 12);
  }
  SUBCASE("a negative index means no icon") {
    CellMarkup neg = ParseMarkup("{ICON:-3}x");
    CHECK(neg.text == "x");
    CHECK(neg.icon == -1);
  }
  SUBCASE("a huge index saturates instead of wrapping into a small one") {
    CHECK(ParseMarkup("{ICON:99999999999999999999}").icon == INT_MAX);
    CHECK(ParseMarkup("{ICON:4294967298}").icon == INT_MAX);
    CHECK(ParseMarkup("{ICON:-4294967298}").icon == -1);
  }
}

TEST_CASE("only the first occurrence of a tag counts; a second one stays in the text") {
  CellMarkup m = ParseMarkup("{ICON:1}a{ICON:2}b");
  CHECK(m.icon == 1);
  CHECK(m.text == "a{ICON:2}b");
}

TEST_CASE("a percent tag gives a bar value clamped to 0..100") {
  CellMarkup m = ParseMarkup("{PERCENT:42}");
  CHECK(m.text.empty());
  CHECK(m.percent == 42);
  CHECK(ParseMarkup("{PERCENT:0}").percent == 0);
  CHECK(ParseMarkup("{PERCENT:100}").percent == 100);
  CHECK(ParseMarkup("{PERCENT:250}").percent == 100);
  CHECK(ParseMarkup("{PERCENT:-5}").percent == 0);
  CHECK(ParseMarkup("{PERCENT:-99999999999999}").percent == 0);
  CHECK(ParseMarkup("{PERCENT:x}").percent == 0);
  CHECK(ParseMarkup("{PERCENT:50").percent == -1);
}

TEST_CASE("colour tags need exactly three components") {
  CellMarkup m = ParseMarkup("{TEXTCOLOR:255,0,10}{BKCOLOR:1,2,3}red");
  CHECK(m.text == "red");
  CHECK(m.textColour.Given());
  CHECK(m.textColour.ToRgb() == Rgb{255, 0, 10});
  CHECK(m.backColour.ToRgb() == Rgb{1, 2, 3});
  SUBCASE("two components: the tag goes, the colour stays default") {
    CellMarkup two = ParseMarkup("{TEXTCOLOR:255,0}x");
    CHECK(two.text == "x");
    CHECK(NoColour(two.textColour));
  }
  SUBCASE("four components are not a colour either") {
    CellMarkup four = ParseMarkup("{BKCOLOR:1,2,3,4}x");
    CHECK(four.text == "x");
    CHECK(NoColour(four.backColour));
    CHECK(NoColour(ParseMarkup("{BKCOLOR:,,,,,,,,,,,,,,,,,,,}").backColour));
  }
  SUBCASE("empty components read as 0") {
    CHECK(ParseMarkup("{BKCOLOR:,,}").backColour.ToRgb() == Rgb{0, 0, 0});
    CHECK(ParseMarkup("{BKCOLOR:9,,}").backColour.ToRgb() == Rgb{9, 0, 0});
  }
  SUBCASE("components outside 0..255 are clamped, not mixed into the next channel") {
    CHECK(ParseMarkup("{TEXTCOLOR:300,-1,99999999999}").textColour.ToRgb() == Rgb{255, 0, 255});
  }
}

TEST_CASE("tags are parsed in a fixed order and each removal may uncover text") {
  CellMarkup m = ParseMarkup("{BKCOLOR:1,2,3}{PERCENT:10}{TEXTCOLOR:4,5,6}{ICON:3}t");
  CHECK(m.text == "t");
  CHECK(m.icon == 3);
  CHECK(m.percent == 10);
  CHECK(m.textColour.ToRgb() == Rgb{4, 5, 6});
  CHECK(m.backColour.ToRgb() == Rgb{1, 2, 3});
  // The icon tag runs to the first closing brace, which here belongs to the percent tag.
  CellMarkup nested = ParseMarkup("{ICON:{PERCENT:5}x");
  CHECK(nested.text == "x");
  CHECK(nested.icon == 0);
  CHECK(nested.percent == -1);
  // The icon is looked for before the percent tag goes, so this icon is only text.
  CellMarkup later = ParseMarkup("{ICON{PERCENT:5}:3}");
  CHECK(later.text == "{ICON:3}");
  CHECK(later.icon == -1);
  CHECK(later.percent == 5);
}

TEST_CASE("tags that were not asked for stay in the text") {
  CellMarkup m = ParseMarkup("{ICON:1}{PERCENT:20}x", Tag::Percent);
  CHECK(m.text == "{ICON:1}x");
  CHECK(m.icon == -1);
  CHECK(m.percent == 20);
  CHECK(ParseMarkup("{ICON:1}x", 0).text == "{ICON:1}x");
}

TEST_CASE("numbers follow atoi's reading and saturate") {
  CHECK(ReadNumber("") == 0);
  CHECK(ReadNumber("  \t-17abc") == -17);
  CHECK(ReadNumber("+8") == 8);
  CHECK(ReadNumber("- 8") == 0);
  CHECK(ReadNumber("2147483647") == INT_MAX);
  CHECK(ReadNumber("2147483648") == INT_MAX);
  CHECK(ReadNumber("-2147483648") == INT_MIN);
  CHECK(ReadNumber("-2147483649") == INT_MIN);
  CHECK(ReadNumber(std::string(5000, '9')) == INT_MAX);
  CHECK(PercentText(42) == "42%");
}

// ---- cell layout -----------------------------------------------------------------------------

TEST_CASE("a plain cell's text is inset by 3 on every side") {
  CellMetrics m;
  CellLayout l = LayOutCell(Box{100, 20, 200, 50}, m, Align::Left, false, -1, false);
  CHECK_FALSE(l.checkBox);
  CHECK_FALSE(l.bar);
  CHECK_FALSE(l.icon);
  CHECK(l.text == Box{103, 23, 197, 47});
}

TEST_CASE("a check box sits at the left margin, centred, and the cell starts after it") {
  CellMetrics m;
  CellLayout l = LayOutCell(Box{0, 20, 170, 50}, m, Align::Left, true, -1, true);
  CHECK(l.checkBox);
  CHECK(l.checkBoxBox == Box{3, 27, 19, 43});
  CHECK(l.icon);
  CHECK(l.iconBox == Box{22, 27, 38, 43});
  CHECK(l.text == Box{41, 23, 167, 47});
}

TEST_CASE("an icon of a right-aligned column sits at the right and shortens the text") {
  CellMetrics m;
  CellLayout l = LayOutCell(Box{0, 0, 100, 20}, m, Align::Right, false, -1, true);
  CHECK(l.iconBox == Box{81, 2, 97, 18});
  CHECK(l.text == Box{3, 3, 78, 17});
  CellLayout centred = LayOutCell(Box{0, 0, 100, 20}, m, Align::Center, false, -1, true);
  CHECK(centred.iconBox == Box{3, 2, 19, 18});
}

TEST_CASE("a percentage bar is inset by 5 and 8 and filled by a truncated share") {
  CellMetrics m;
  CellLayout l = LayOutCell(Box{0, 0, 110, 30}, m, Align::Left, false, 33, false);
  REQUIRE(l.bar);
  CHECK(l.barTrack == Box{5, 8, 105, 22});
  CHECK(l.barFill == Box{5, 8, 38, 22});
  CHECK(LayOutCell(Box{0, 0, 110, 30}, m, Align::Left, false, 0, false).barFill.Empty());
  CHECK(LayOutCell(Box{0, 0, 110, 30}, m, Align::Left, false, 100, false).barFill == Box{5, 8, 105, 22});
  SUBCASE("a cell too small for the bar has none") {
    CHECK_FALSE(LayOutCell(Box{0, 0, 10, 30}, m, Align::Left, false, 50, false).bar);
    CHECK_FALSE(LayOutCell(Box{0, 0, 110, 16}, m, Align::Left, false, 50, false).bar);
  }
  CHECK(FillWidth(50, 7) == 3);
  CHECK(FillWidth(250, 80) == 80);
  CHECK(FillWidth(-3, 80) == 0);
  CHECK(FillWidth(100, INT_MAX) == INT_MAX);
  CHECK(FillWidth(50, -10) == 0);
}

TEST_CASE("the icon index must lie inside the image list") {
  CHECK(ChooseIcon(false, 0, 2, 3) == 2);
  CHECK(ChooseIcon(false, 0, 3, 3) == -1);
  CHECK(ChooseIcon(false, 0, -1, 3) == -1);
  CHECK(ChooseIcon(false, 0, 0, 0) == -1);
  CHECK(ChooseIcon(false, 0, INT_MAX, 3) == -1);
  SUBCASE("in the first column the item's own image wins") {
    CHECK(ChooseIcon(true, 1, 2, 3) == 1);
    CHECK(ChooseIcon(true, -1, 2, 3) == 2);
    CHECK(ChooseIcon(true, -2, 2, 3) == 2);  // no image of its own
    CHECK(ChooseIcon(true, 5, 2, 3) == -1);
  }
}

TEST_CASE("the selection frame has two lines on each side, with the ends only on the outer cells") {
  Box cell{10, 20, 60, 50};
  auto outer = [](const std::vector<FrameLine>& lines) {
    std::vector<Box> out;
    for (const FrameLine& f : lines)
      if (!f.inner) out.push_back(f.box);
    return out;
  };
  auto inner = [](const std::vector<FrameLine>& lines) {
    std::vector<Box> out;
    for (const FrameLine& f : lines)
      if (f.inner) out.push_back(f.box);
    return out;
  };
  SUBCASE("a middle cell: top and bottom only") {
    auto lines = SelectionFrame(cell, false, false);
    CHECK(outer(lines) == std::vector<Box>{{10, 20, 60, 21}, {10, 49, 60, 50}});
    CHECK(inner(lines) == std::vector<Box>{{10, 21, 60, 22}, {10, 48, 60, 49}});
  }
  SUBCASE("the first cell: a left edge, inner lines start one further right") {
    auto lines = SelectionFrame(cell, true, false);
    CHECK(outer(lines) == std::vector<Box>{{10, 20, 60, 21}, {10, 49, 60, 50}, {10, 20, 11, 50}});
    CHECK(inner(lines) == std::vector<Box>{{11, 21, 60, 22}, {11, 48, 60, 49}, {11, 21, 12, 49}});
  }
  SUBCASE("the last cell: a right edge, inner lines end one earlier") {
    auto lines = SelectionFrame(cell, false, true);
    CHECK(outer(lines) == std::vector<Box>{{10, 20, 60, 21}, {10, 49, 60, 50}, {59, 20, 60, 50}});
    CHECK(inner(lines) == std::vector<Box>{{10, 21, 59, 22}, {10, 48, 59, 49}, {58, 21, 59, 49}});
  }
  SUBCASE("nothing is drawn outside a tiny cell") {
    Box tiny{0, 0, 1, 1};
    for (const FrameLine& f : SelectionFrame(tiny, true, true)) CHECK(Intersect(f.box, tiny) == f.box);
    CHECK(SelectionFrame(Box{5, 5, 5, 9}, true, true).empty());
  }
}

TEST_CASE("grid lines at the right and bottom edges by their bits") {
  Box cell{0, 0, 40, 20};
  CHECK(GridLines(cell, 0).empty());
  CHECK(GridLines(cell, Grid::Vertical) == std::vector<Box>{{39, 0, 40, 20}});
  CHECK(GridLines(cell, Grid::Horizontal) == std::vector<Box>{{0, 19, 40, 20}});
  CHECK(GridLines(cell, 3).size() == 2);
  CHECK(GridLines(Box{5, 5, 5, 5}, 3).empty());
}

TEST_CASE("rows alternate, markup overrides, disabled wins") {
  Rgb even{255, 255, 255}, odd{240, 240, 240};
  CHECK(CellBackground(0, even, odd, CellColour{}, false) == even);
  CHECK(CellBackground(1, even, odd, CellColour{}, false) == odd);
  CHECK(CellBackground(2, even, odd, CellColour{}, false) == even);
  CHECK(CellBackground(3, even, odd, CellColour{9, 8, 7}, false) == Rgb{9, 8, 7});
  CHECK(CellBackground(3, even, odd, CellColour{9, 8, 7}, true) == Rgb{230, 230, 230});
  CHECK(CellBackground(0, even, odd, CellColour{}, true) == Rgb{230, 230, 230});
}

TEST_CASE("a click hits the check box only in the item's first margin-plus-icon pixels") {
  Box item{0, 20, 500, 50};
  CHECK(OnCheckBox(item, 0, 20, 3, 16));
  CHECK(OnCheckBox(item, 18, 49, 3, 16));
  CHECK_FALSE(OnCheckBox(item, 19, 30, 3, 16));
  CHECK_FALSE(OnCheckBox(item, 5, 50, 3, 16));
  CHECK_FALSE(OnCheckBox(item, -1, 30, 3, 16));
  CHECK_FALSE(OnCheckBox(Box{0, 0, 10, 10}, 12, 5, 3, 16));
  CHECK(OnCheckBox(Box{INT_MAX - 5, 0, INT_MAX, 10}, INT_MAX - 1, 5, INT_MAX, INT_MAX));
}

// ---- sorting ---------------------------------------------------------------------------------

TEST_CASE("cells compare by percent, then by number in right-aligned columns, then by bytes") {
  CHECK(CompareCells("{PERCENT:9}", "{PERCENT:10}", false) < 0);
  CHECK(CompareCells("{PERCENT:10}b", "{PERCENT:10}a", false) == 0);
  CHECK(CompareCells("{PERCENT:80}", "{PERCENT:200}", false) < 0);  // 200 is clamped to 100
  SUBCASE("right-aligned: as numbers") {
    CHECK(CompareCells("9", "10", true) < 0);
    CHECK(CompareCells("9", "10", false) > 0);
    CHECK(CompareCells("-1.5", "-1.25", true) < 0);
    CHECK(CompareCells("abc", "0", true) == 0);
    CHECK(CompareCells("1e3", "999", true) > 0);
    CHECK(CompareCells("{ICON:1}12", "{BKCOLOR:1,2,3}3", true) > 0);
  }
  SUBCASE("one percent alone does not count") { CHECK(CompareCells("{PERCENT:50}b", "a", false) > 0); }
  SUBCASE("bytes, case-sensitive, unsigned, markup stripped") {
    CHECK(CompareCells("B", "a", false) < 0);
    CHECK(CompareCells("a", "ab", false) < 0);
    CHECK(CompareCells("same", "same", false) == 0);
    CHECK(CompareCells("\xE4", "z", false) > 0);
    CHECK(CompareCells("{ICON:5}b", "{ICON:1}a", false) > 0);
  }
  SUBCASE("only the first 259 characters count") {
    std::string base(259, 'x');
    CHECK(CompareCells(base + "a", base + "b", false) == 0);
    CHECK(CompareCells(std::string(258, 'x') + "a", std::string(258, 'x') + "b", false) < 0);
  }
}

TEST_CASE("sort numbers are plain decimals and never NaN") {
  CHECK(SortNumber("  42.5kg") == doctest::Approx(42.5));
  CHECK(SortNumber("-7") == doctest::Approx(-7));
  CHECK(SortNumber(".5") == doctest::Approx(0.5));
  CHECK(SortNumber("2e") == doctest::Approx(2));
  CHECK(SortNumber("2e+") == doctest::Approx(2));
  CHECK(SortNumber("nan") == 0.0);
  CHECK(SortNumber("inf") == 0.0);
  CHECK(SortNumber("0x10") == 0.0);
  CHECK(SortNumber("-") == 0.0);
  CHECK(SortNumber("1e999999") > 1e300);
}

TEST_CASE("the sort direction starts descending and alternates") {
  SortDirection d;
  CHECK(d.NextIsDescending());
  CHECK(d.Next());
  CHECK_FALSE(d.Next());
  CHECK(d.Next());
  d.Reset();
  CHECK(d.Next());
  CHECK(&SharedSortDirection() == &SharedSortDirection());
}
