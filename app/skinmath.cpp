#include "app/skinmath.h"

namespace skin {

bool InCornerBlock(int x, int y, int width, int height) {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  bool edgeX = x < 4 || x >= width - 3;
  bool edgeY = y < 4 || y >= height - 3;
  return edgeX && edgeY;
}

std::vector<Pixel> CornerCutPixels(int width, int height, const std::function<bool(int x, int y)>& isBlack) {
  std::vector<Pixel> cut;
  if (width <= 0 || height <= 0) return cut;
  for (int y = 0; y < height; ++y) {
    // Only the corner rows hold candidates; the rows between are skipped whole.
    if (!(y < 4 || y >= height - 3)) {
      y = height - 4;
      continue;
    }
    for (int x = 0; x < width; ++x) {
      if (!InCornerBlock(x, y, width, height)) {
        if (x >= 4 && x < width - 3) x = width - 4;
        continue;
      }
      if (isBlack(x, y)) cut.push_back(Pixel{x, y});
    }
  }
  return cut;
}

std::string DateText(int year, int month, int day) {
  auto padded = [](int value, size_t width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return (value < 0 ? "-" : "") + digits;
  };
  return padded(year, 4) + "." + padded(month, 2) + "." + padded(day, 2);
}

}  // namespace skin
