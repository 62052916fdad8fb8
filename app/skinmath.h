// The arithmetic of the main window's skin and version lines, apart from any window.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace skin {

// The four corner blocks of a width x height picture whose black pixels are cut from the window:
// x < 4 or x >= width - 3, and y < 4 or y >= height - 3.
bool InCornerBlock(int x, int y, int width, int height);

struct Pixel {
  int x = 0, y = 0;
};
inline bool operator==(Pixel a, Pixel b) { return a.x == b.x && a.y == b.y; }

// The corner block pixels for which `isBlack` holds, row by row.
std::vector<Pixel> CornerCutPixels(int width, int height, const std::function<bool(int x, int y)>& isBlack);

// A date as the version lines show it: "2026.03.07".
std::string DateText(int year, int month, int day);

}  // namespace skin
