#include <doctest/doctest.h>

#include <set>
#include <utility>

#include "app/skinmath.h"

TEST_CASE("skin region: only the four corner blocks are candidates") {
  const int w = 20, h = 10;
  CHECK(skin::InCornerBlock(0, 0, w, h));
  CHECK(skin::InCornerBlock(3, 3, w, h));
  CHECK_FALSE(skin::InCornerBlock(4, 0, w, h));
  CHECK_FALSE(skin::InCornerBlock(0, 4, w, h));
  CHECK(skin::InCornerBlock(w - 3, 0, w, h));
  CHECK_FALSE(skin::InCornerBlock(w - 4, 0, w, h));
  CHECK(skin::InCornerBlock(w - 1, h - 1, w, h));
  CHECK(skin::InCornerBlock(0, h - 3, w, h));
  CHECK_FALSE(skin::InCornerBlock(0, h - 4, w, h));
  CHECK_FALSE(skin::InCornerBlock(-1, 0, w, h));
  CHECK_FALSE(skin::InCornerBlock(w, 0, w, h));
}

TEST_CASE("skin region: every black corner pixel is cut, nothing else") {
  const int w = 30, h = 16;
  // All black: exactly the corner blocks, 4x4 + 3x4 + 4x3 + 3x3 pixels.
  auto all = skin::CornerCutPixels(w, h, [](int, int) { return true; });
  CHECK(all.size() == 16 + 12 + 12 + 9);
  for (const skin::Pixel& p : all) CHECK(skin::InCornerBlock(p.x, p.y, w, h));
  std::set<std::pair<int, int>> unique;
  for (const skin::Pixel& p : all) unique.insert({p.x, p.y});
  CHECK(unique.size() == all.size());
  // Only some black pixels, inside and outside the blocks.
  std::set<std::pair<int, int>> black = {{0, 0}, {1, 0}, {10, 0}, {0, 8}, {29, 15}, {27, 13}, {26, 13}};
  auto some = skin::CornerCutPixels(w, h, [&](int x, int y) { return black.count({x, y}) != 0; });
  REQUIRE(some.size() == 4);
  CHECK(some[0] == skin::Pixel{0, 0});
  CHECK(some[1] == skin::Pixel{1, 0});
  CHECK(some[2] == skin::Pixel{27, 13});
  CHECK(some[3] == skin::Pixel{29, 15});
  // Nothing black, or nothing at all.
  CHECK(skin::CornerCutPixels(w, h, [](int, int) { return false; }).empty());
  CHECK(skin::CornerCutPixels(0, 0, [](int, int) { return true; }).empty());
  // Tiny pictures are all corner.
  CHECK(skin::CornerCutPixels(3, 3, [](int, int) { return true; }).size() == 9);
}

TEST_CASE("skin region: at a higher dpi the corner blocks grow with the stretched skin") {
  const skin::CornerBlocks at144 = skin::ScaledCornerBlocks(144), at96 = skin::ScaledCornerBlocks(96);
  CHECK(at96.leading == 4);
  CHECK(at96.trailing == 3);
  CHECK(at144.leading == 6);
  CHECK(at144.trailing == 5);  // 4.5, rounded up
  const int w = 45, h = 24;
  auto all = skin::CornerCutPixels(w, h, [](int, int) { return true; }, at144);
  CHECK(all.size() == 36 + 30 + 30 + 25);
  // The pixels a rounded corner of the doubled picture darkens past the 96-dpi blocks are cut too.
  CHECK(skin::InCornerBlock(5, 5, w, h, at144));
  CHECK_FALSE(skin::InCornerBlock(5, 5, w, h));
  CHECK(skin::InCornerBlock(w - 5, h - 5, w, h, at144));
  CHECK_FALSE(skin::InCornerBlock(6, 0, w, h, at144));
}

TEST_CASE("version lines show dates as year.month.day with leading zeros") {
  CHECK(skin::DateText(2026, 3, 7) == "2026.03.07");
  CHECK(skin::DateText(2026, 12, 31) == "2026.12.31");
  CHECK(skin::DateText(999, 1, 1) == "0999.01.01");
  CHECK(skin::DateText(12345, 1, 1) == "12345.01.01");
}
