// The arithmetic of display scaling: every pixel figure of the program is a figure at 96 dpi,
// scaled to the dpi of the window that uses it. Nothing here touches Win32, so it is checked natively.
#pragma once

namespace dpi {

constexpr int kBaseDpi = 96;

// A dpi the program can scale by: anything outside 24..1920 (no display has it; a failed query
// gives 0) counts as 96.
int Sane(int dpi);
// `value` (pixels at 96 dpi) at `dpi`, rounded to the nearest pixel, halves away from zero, so that
// a figure and its negation scale alike.
int Scale(int value, int dpi);
// `value` measured at `fromDpi`, taken to `toDpi`, rounded the same way.
int Rescale(int value, int fromDpi, int toDpi);
// value * numerator / denominator rounded the same way; `value` unchanged when the denominator is
// not above 0.
int Ratio(int value, int numerator, int denominator);
// The LOGFONT height (negative: the character height) of a font of `points` at `dpi`.
int FontHeightForPoints(int points, int dpi);

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};
// A child's rectangle (in its parent's client coordinates) taken from `fromDpi` to `toDpi`. The
// edges are scaled, not the size, so that neighbours that touch keep touching.
Box RescaleBox(const Box& box, int fromDpi, int toDpi);

// The share, in per cent rounded down, of a list's client width that its columns fill.
int FillPercent(int columnsWidth, int clientWidth);

}  // namespace dpi
