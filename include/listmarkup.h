// The arithmetic of the owner-drawn report list: the inline markup of its cell texts, where the
// check box, percentage bar, icon and text of a cell go, the selection frame and grid lines, the
// check-box hit test and the order of a column sort. Nothing here touches Win32, so all of it is
// checked natively under the sanitizers and fuzzed; the list only turns the results into GDI calls.
#pragma once

#include <string>
#include <vector>

namespace lm {

// A colour as red, green, blue (0..255 each).
struct Rgb {
  int r = 0, g = 0, b = 0;
};
inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// A colour from markup: -1 in every component when the tag was missing or did not have exactly three
// components, else each component in 0..255.
struct CellColour {
  int r = -1, g = -1, b = -1;
  bool Given() const { return r >= 0 && g >= 0 && b >= 0; }
  Rgb ToRgb() const { return Rgb{r, g, b}; }
};

// Which tags a parse looks for; a tag that is not asked for stays in the text.
namespace Tag {
constexpr unsigned Icon = 0x1, Percent = 0x2, TextColour = 0x4, BackColour = 0x8, All = 0xF;
}

struct CellMarkup {
  std::string text;  // the cell text without the tags that were found
  int icon = -1;     // image index (0 or more), or -1 when missing or negative
  int percent = -1;  // 0..100, or -1 when missing
  CellColour textColour;
  CellColour backColour;
};

// Parses the tags in the order icon, percent, text colour, background colour; for each only the
// first occurrence counts and it is removed from its opening to its closing brace. A tag without a
// closing brace is left as it is. Out-of-range numbers are clamped, never wrapped.
CellMarkup ParseMarkup(const std::string& text, unsigned tags = Tag::All);

// Reads a number the way atoi does (blanks, a sign, leading digits, 0 when none), but saturates
// at the int range instead of overflowing.
int ReadNumber(const std::string& text);

// The text shown on a percentage bar: "42%".
std::string PercentText(int percent);

// ---- geometry --------------------------------------------------------------------------------

// A rectangle with exclusive right and bottom edges, like a Win32 RECT.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
inline bool operator==(const Box& a, const Box& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
// The common part; an empty box at 0,0 when they do not overlap.
Box Intersect(const Box& a, const Box& b);

enum class Align { Left, Right, Center };

struct CellMetrics {
  int iconWidth = 16, iconHeight = 16;  // cell icons and check boxes
  int iconMargin = 3;                   // cell edge to icon or check box
  int iconTextGap = 3;                  // icon to text
  int barInsetX = 5, barInsetY = 8;     // cell to percentage bar
  int textInset = 3;                    // cell to text, on every side
};

// Where the parts of one cell go. Icon and check box are placed at full size; the list clips
// them to the cell.
struct CellLayout {
  bool checkBox = false;
  Box checkBoxBox;
  bool bar = false;
  Box barTrack;  // the whole bar
  Box barFill;   // its filled part (empty at 0 percent)
  bool icon = false;
  Box iconBox;
  Box text;  // may be empty in a narrow cell
};

// `percent` is -1 for no bar; `hasIcon` tells whether a valid icon will be drawn.
CellLayout LayOutCell(const Box& cell, const CellMetrics& m, Align align, bool checkBox, int percent, bool hasIcon);

// Width of the filled part of a bar `width` pixels wide: percent / 100 of it, truncated; the percent
// is clamped to 0..100 first.
int FillWidth(int percent, int width);

// The icon a cell shows, or -1: in the first column the item's own image when it is 0 or more, else
// the markup's; and only when the index lies inside an image list of `imageCount` images.
int ChooseIcon(bool firstColumn, int itemImage, int markupIcon, int imageCount);

// One-pixel lines of the selection bar's double frame for one cell. `first` and `last` tell whether
// the cell is the row's leftmost or rightmost one. Outer lines come before inner ones.
struct FrameLine {
  Box box;
  bool inner = false;
};
std::vector<FrameLine> SelectionFrame(const Box& cell, bool first, bool last);

namespace Grid {
constexpr unsigned Vertical = 0x1, Horizontal = 0x2;
}
// The grid lines of an unselected cell: a column at the right edge (bit 0), a row at the bottom (bit 1).
std::vector<Box> GridLines(const Box& cell, unsigned gridFlags);

// Background of an unselected cell: even or odd row colour, the markup colour when given, grey
// (230, 230, 230) when the list is disabled.
Rgb CellBackground(int item, Rgb even, Rgb odd, const CellColour& markup, bool disabled);

// Whether a click at x, y falls on the check box of an item with bounds `item`: the item's bounds
// cut to margin + icon width from its left edge.
bool OnCheckBox(const Box& item, int x, int y, int iconMargin, int iconWidth);

// ---- sorting ---------------------------------------------------------------------------------

// How two cell texts of a column compare: by their percentages when both have one, else as numbers
// for a right-aligned column, else as byte strings of the texts without markup. Only the first 259
// characters of each text count. Returns <0, 0 or >0.
int CompareCells(const std::string& a, const std::string& b, bool rightAligned);

// The number a right-aligned cell sorts by: the text read as a decimal floating-point number (atof
// rules, 0 when it starts with none); never NaN, so the order stays total.
double SortNumber(const std::string& text);

// The direction of the next column sort: descending first, then alternating with every sort.
class SortDirection {
 public:
  // The direction for this sort (true: descending); the next one goes the other way.
  bool Next() {
    bool descending = m_nextDescending;
    m_nextDescending = !m_nextDescending;
    return descending;
  }
  bool NextIsDescending() const { return m_nextDescending; }
  void Reset() { m_nextDescending = true; }

 private:
  bool m_nextDescending = true;
};

// The one direction every list of the program shares.
SortDirection& SharedSortDirection();

}  // namespace lm
