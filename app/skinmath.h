// The arithmetic of the main window's skin and version lines, apart from any window.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace skin {

// The sizes of the corner blocks: 4 pixels at the left and top edges, 3 at the right and bottom
// ones, at 96 dpi; a window at another dpi scales them with its skin (ScaledCornerBlocks).
struct CornerBlocks {
  int leading = 4, trailing = 3;
};
CornerBlocks ScaledCornerBlocks(int dpi);

// The four corner blocks of a width x height picture whose black pixels are cut from the window:
// x < leading or x >= width - trailing, and y < leading or y >= height - trailing.
bool InCornerBlock(int x, int y, int width, int height, CornerBlocks blocks = CornerBlocks());

struct Pixel {
  int x = 0, y = 0;
};
inline bool operator==(Pixel a, Pixel b) { return a.x == b.x && a.y == b.y; }

// The corner block pixels for which `isBlack` holds, row by row.
std::vector<Pixel> CornerCutPixels(int width, int height, const std::function<bool(int x, int y)>& isBlack,
                                   CornerBlocks blocks = CornerBlocks());

// A date as the version lines show it: "2026.03.07".
std::string DateText(int year, int month, int day);

}  // namespace skin
