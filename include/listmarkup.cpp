#include "include/listmarkup.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace lm {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(hi, v)); }

// Three comma-separated components, each clamped to a colour channel; -1s for any other count.
CellColour ReadColour(const std::string& value) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t comma = value.find(',', start);
    parts.push_back(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
    if (parts.size() > 3) return CellColour{};
  }
  if (parts.size() != 3) return CellColour{};
  return CellColour{Clamp(ReadNumber(parts[0]), 0, 255), Clamp(ReadNumber(parts[1]), 0, 255),
                    Clamp(ReadNumber(parts[2]), 0, 255)};
}

// Finds the first `open` ... "}" in `text`, removes it and hands back the value between them.
bool TakeTag(std::string& text, const char* open, std::string& value) {
  const std::string opening(open);
  size_t at = text.find(opening);
  if (at == std::string::npos) return false;
  size_t close = text.find('}', at);
  if (close == std::string::npos) return false;
  size_t valueStart = at + opening.size();
  value = text.substr(valueStart, close - valueStart);
  text.erase(at, close - at + 1);
  return true;
}

}  // namespace

int ReadNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    // Past the int range the rest of the digits cannot bring it back.
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;
      break;
    }
  }
  if (negative) value = -value;
  return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, value)));
}

CellMarkup ParseMarkup(const std::string& text, unsigned tags) {
  CellMarkup out;
  out.text = text;
  std::string value;
  if ((tags & Tag::Icon) && TakeTag(out.text, "{ICON:", value)) {
    int n = ReadNumber(value);
    out.icon = n >= 0 ? n : -1;
  }
  if ((tags & Tag::Percent) && TakeTag(out.text, "{PERCENT:", value)) out.percent = Clamp(ReadNumber(value), 0, 100);
  if ((tags & Tag::TextColour) && TakeTag(out.text, "{TEXTCOLOR:", value)) out.textColour = ReadColour(value);
  if ((tags & Tag::BackColour) && TakeTag(out.text, "{BKCOLOR:", value)) out.backColour = ReadColour(value);
  return out;
}

std::string PercentText(int percent) { return std::to_string(percent) + "%"; }

Box Intersect(const Box& a, const Box& b) {
  Box r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return r.Empty() ? Box{} : r;
}

int FillWidth(int percent, int width) {
  if (width <= 0) return 0;
  return static_cast<int>(static_cast<long long>(Clamp(percent, 0, 100)) * width / 100);
}

CellLayout LayOutCell(const Box& cell, const CellMetrics& m, Align align, bool checkBox, int percent, bool hasIcon) {
  CellLayout out;
  Box c = cell;
  if (checkBox) {
    out.checkBox = true;
    int top = c.top + (c.Height() - m.iconHeight) / 2;
    out.checkBoxBox = Box{c.left + m.iconMargin, top, c.left + m.iconMargin + m.iconWidth, top + m.iconHeight};
    c.left = out.checkBoxBox.right;
  }
  if (percent >= 0) {
    Box track{c.left + m.barInsetX, c.top + m.barInsetY, c.right - m.barInsetX, c.bottom - m.barInsetY};
    if (!track.Empty()) {
      out.bar = true;
      out.barTrack = track;
      out.barFill = Box{track.left, track.top, track.left + FillWidth(percent, track.Width()), track.bottom};
    }
  }
  out.text = Box{c.left + m.textInset, c.top + m.textInset, c.right - m.textInset, c.bottom - m.textInset};
  if (hasIcon) {
    out.icon = true;
    int top = c.top + (c.Height() - m.iconHeight) / 2;
    if (align == Align::Right) {
      int left = c.right - m.iconMargin - m.iconWidth;
      out.iconBox = Box{left, top, left + m.iconWidth, top + m.iconHeight};
      out.text.right = out.iconBox.left - m.iconTextGap;
    } else {
      int left = c.left + m.iconMargin;
      out.iconBox = Box{left, top, left + m.iconWidth, top + m.iconHeight};
      out.text.left = out.iconBox.right + m.iconTextGap;
    }
  }
  return out;
}

int ChooseIcon(bool firstColumn, int itemImage, int markupIcon, int imageCount) {
  int index = firstColumn && itemImage >= 0 ? itemImage : markupIcon;
  return index >= 0 && index < imageCount ? index : -1;
}

std::vector<FrameLine> SelectionFrame(const Box& cell, bool first, bool last) {
  const int l = cell.left, t = cell.top, r = cell.right, b = cell.bottom;
  std::vector<FrameLine> lines;
  auto add = [&](Box box, bool inner) {
    Box clipped = Intersect(box, cell);
    if (!clipped.Empty()) lines.push_back(FrameLine{clipped, inner});
  };
  add(Box{l, t, r, t + 1}, false);
  add(Box{l, b - 1, r, b}, false);
  if (first) add(Box{l, t, l + 1, b}, false);
  if (last) add(Box{r - 1, t, r, b}, false);
  const int hl = first ? l + 1 : l, hr = last ? r - 1 : r;
  add(Box{hl, t + 1, hr, t + 2}, true);
  add(Box{hl, b - 2, hr, b - 1}, true);
  if (first) add(Box{l + 1, t + 1, l + 2, b - 1}, true);
  if (last) add(Box{r - 2, t + 1, r - 1, b - 1}, true);
  return lines;
}

std::vector<Box> GridLines(const Box& cell, unsigned gridFlags) {
  std::vector<Box> lines;
  if (cell.Empty()) return lines;
  if (gridFlags & Grid::Vertical) lines.push_back(Box{cell.right - 1, cell.top, cell.right, cell.bottom});
  if (gridFlags & Grid::Horizontal) lines.push_back(Box{cell.left, cell.bottom - 1, cell.right, cell.bottom});
  return lines;
}

Rgb CellBackground(int item, Rgb even, Rgb odd, const CellColour& markup, bool disabled) {
  if (disabled) return Rgb{230, 230, 230};
  if (markup.Given()) return markup.ToRgb();
  return (item & 1) == 0 ? even : odd;
}

bool OnCheckBox(const Box& item, int x, int y, int iconMargin, int iconWidth) {
  Box box = item;
  long long right = static_cast<long long>(item.left) + iconMargin + iconWidth;
  box.right = static_cast<int>(std::min<long long>(item.right, right));
  return box.Contains(x, y);
}

double SortNumber(const std::string& text) {
  // Only a plain decimal number is read (no hexadecimal, infinity or NaN forms), so the value is
  // the same on every C library and always ordered.
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t e = i + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    if (e < text.size() && IsDigit(text[e])) {
      i = e;
      while (i < text.size() && IsDigit(text[i])) ++i;
    }
  }
  std::string number = text.substr(start, i - start);
  return std::strtod(number.c_str(), nullptr);
}

int CompareCells(const std::string& a, const std::string& b, bool rightAligned) {
  const size_t kCompared = 259;
  CellMarkup ma = ParseMarkup(a.substr(0, kCompared)), mb = ParseMarkup(b.substr(0, kCompared));
  if (ma.percent >= 0 && mb.percent >= 0) return (ma.percent > mb.percent) - (ma.percent < mb.percent);
  if (rightAligned) {
    double na = SortNumber(ma.text), nb = SortNumber(mb.text);
    return (na > nb) - (na < nb);
  }
  // Byte order, as the multi-byte comparison gives for text in the single-byte code page.
  const std::string& ta = ma.text;
  const std::string& tb = mb.text;
  size_t n = std::min(ta.size(), tb.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(ta[i]), cb = static_cast<unsigned char>(tb[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return (ta.size() > tb.size()) - (ta.size() < tb.size());
}

SortDirection& SharedSortDirection() {
  static SortDirection direction;
  return direction;
}

}  // namespace lm
