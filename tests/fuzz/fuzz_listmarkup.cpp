// Arbitrary bytes as list cell texts: the markup reader, the cell layout and the sort comparison
// must keep their invariants for any input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "include/listmarkup.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

int Sign(int v) { return (v > 0) - (v < 0); }

bool ValidColour(const lm::CellColour& c) {
  bool missing = c.r == -1 && c.g == -1 && c.b == -1;
  bool given = c.r >= 0 && c.r <= 255 && c.g >= 0 && c.g <= 255 && c.b >= 0 && c.b <= 255;
  return missing != given && given == c.Given();
}

void CheckMarkup(const std::string& text, unsigned tags) {
  lm::CellMarkup m = lm::ParseMarkup(text, tags);
  Require(m.text.size() <= text.size());
  Require(m.icon == -1 || m.icon >= 0);
  Require(m.percent == -1 || (m.percent >= 0 && m.percent <= 100));
  Require(ValidColour(m.textColour));
  Require(ValidColour(m.backColour));
  // A tag that was not asked for leaves its output untouched.
  if (!(tags & lm::Tag::Icon)) Require(m.icon == -1);
  if (!(tags & lm::Tag::Percent)) Require(m.percent == -1);
  if (tags == 0) Require(m.text == text);
  // What was found was removed, so a tag that came out has taken at least its braces away.
  size_t found = (m.icon != -1) + (m.percent != -1);
  Require(text.size() - m.text.size() >= found * 2);
}

int32_t Take(const uint8_t*& data, size_t& size) {
  int32_t v = 0;
  if (size >= sizeof(v)) {
    std::memcpy(&v, data, sizeof(v));
    data += sizeof(v);
    size -= sizeof(v);
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string all(reinterpret_cast<const char*>(data), size);
  for (unsigned tags = 0; tags <= lm::Tag::All; ++tags) CheckMarkup(all, tags);

  // Two cells: the halves of the input. The comparison is an order: reflexive and antisymmetric.
  std::string a = all.substr(0, size / 2), b = all.substr(size / 2);
  for (bool right : {false, true}) {
    Require(lm::CompareCells(a, a, right) == 0);
    Require(Sign(lm::CompareCells(a, b, right)) == -Sign(lm::CompareCells(b, a, right)));
  }
  double n = lm::SortNumber(all);
  Require(n == n);

  // Geometry from the first bytes: nothing overflows, everything drawn stays within the cell.
  const uint8_t* p = data;
  size_t left = size;
  int32_t x = Take(p, left) % 100000, y = Take(p, left) % 100000;
  int32_t w = Take(p, left) % 5000, h = Take(p, left) % 500;
  lm::Box cell{x, y, x + w, y + h};
  lm::CellMarkup m = lm::ParseMarkup(all);
  int images = static_cast<int>(static_cast<uint32_t>(Take(p, left)) % 64);
  int itemImage = Take(p, left);
  for (bool first : {false, true}) {
    int icon = lm::ChooseIcon(first, itemImage, m.icon, images);
    Require(icon == -1 || (icon >= 0 && icon < images));
    lm::CellLayout l = lm::LayOutCell(cell, lm::CellMetrics{}, lm::Align::Left, first, m.percent, icon >= 0);
    if (l.bar) {
      Require(l.barFill.left == l.barTrack.left && l.barFill.right >= l.barTrack.left);
      Require(l.barFill.right <= l.barTrack.right);
      Require(l.barTrack.left >= cell.left && l.barTrack.right <= cell.right);
    }
    for (bool last : {false, true})
      for (const lm::FrameLine& f : lm::SelectionFrame(cell, first, last)) Require(lm::Intersect(f.box, cell) == f.box);
  }
  for (const lm::Box& g : lm::GridLines(cell, 3)) Require(lm::Intersect(g, cell) == g);
  int fill = lm::FillWidth(m.percent, w);
  Require(fill >= 0 && (w <= 0 || fill <= w));
  return 0;
}
