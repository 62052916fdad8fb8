#include <doctest/doctest.h>

#include <climits>

#include "include/dpimath.h"

using namespace dpi;

TEST_CASE("a 96-dpi figure scales to the common display scales, rounded to the nearest pixel") {
  // 100, 125, 150 and 200 per cent.
  CHECK(Scale(16, 96) == 16);
  CHECK(Scale(16, 120) == 20);
  CHECK(Scale(16, 144) == 24);
  CHECK(Scale(16, 192) == 32);
  CHECK(Scale(415, 144) == 623);  // 622.5: the half goes up
  CHECK(Scale(3, 120) == 4);      // 3.75
  CHECK(Scale(1, 120) == 1);      // 1.25
  CHECK(Scale(0, 192) == 0);
  SUBCASE("negative figures (font heights, offsets) scale as their magnitude does") {
    CHECK(Scale(-20, 144) == -30);
    CHECK(Scale(-415, 144) == -623);
    CHECK(Scale(-3, 120) == -4);
  }
  SUBCASE("a dpi that no display has counts as 96, so a failed query changes nothing") {
    CHECK(Scale(16, 0) == 16);
    CHECK(Scale(16, -144) == 16);
    CHECK(Scale(16, 100000) == 16);
    CHECK(Sane(168) == 168);
  }
  SUBCASE("large figures do not overflow on the way") { CHECK(Scale(INT_MAX / 2, 192) == INT_MAX - 1); }
}

TEST_CASE("a figure measured at one dpi moves to another, and back without drift at whole ratios") {
  CHECK(Rescale(24, 144, 96) == 16);
  CHECK(Rescale(20, 120, 192) == 32);
  CHECK(Rescale(Rescale(37, 96, 192), 192, 96) == 37);
  CHECK(Rescale(7, 120, 120) == 7);
}

TEST_CASE("a figure grows by any ratio, such as that of two dialog units, rounded to the nearest pixel") {
  CHECK(Ratio(170, 10, 6) == 283);  // 283.3
  CHECK(Ratio(160, 9, 6) == 240);
  CHECK(Ratio(-7, 3, 2) == -11);    // -10.5
  CHECK(Ratio(170, 10, 0) == 170);
}

TEST_CASE("a font's height in points becomes a LOGFONT character height at the dpi") {
  CHECK(FontHeightForPoints(8, 96) == -11);  // 10.67
  CHECK(FontHeightForPoints(8, 144) == -16);
  CHECK(FontHeightForPoints(9, 192) == -24);
}

TEST_CASE("a child's rectangle rescales by its edges, so that touching neighbours keep touching") {
  Box left = RescaleBox(Box{7, 7, 63, 20}, 96, 120), right = RescaleBox(Box{63, 7, 101, 20}, 96, 120);
  CHECK(left.right == right.left);
  CHECK(left.left == 9);
  CHECK(left.bottom == 25);
  Box back = RescaleBox(RescaleBox(Box{-4, 10, 30, 50}, 96, 192), 192, 96);
  CHECK(back.left == -4);
  CHECK(back.bottom == 50);
}

TEST_CASE("the columns' fill of a list is their share of its client width") {
  CHECK(FillPercent(486, 600) == 81);
  CHECK(FillPercent(600, 600) == 100);
  CHECK(FillPercent(700, 600) == 116);
  CHECK(FillPercent(10, 0) == 0);
  CHECK(FillPercent(0, 600) == 0);
}
