#include "app/skinmath.h"

#include "include/dpimath.h"

namespace skin {

CornerBlocks ScaledCornerBlocks(int dpi) {
  CornerBlocks b;
  return CornerBlocks{dpi::Scale(b.leading, dpi), dpi::Scale(b.trailing, dpi)};
}

bool InCornerBlock(int x, int y, int width, int height, CornerBlocks blocks) {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  bool edgeX = x < blocks.leading || x >= width - blocks.trailing;
  bool edgeY = y < blocks.leading || y >= height - blocks.trailing;
  return edgeX && edgeY;
}

std::vector<Pixel> CornerCutPixels(int width, int height, const std::function<bool(int x, int y)>& isBlack,
                                   CornerBlocks blocks) {
  std::vector<Pixel> cut;
  if (width <= 0 || height <= 0) return cut;
  const int lead = blocks.leading, trail = blocks.trailing;
  for (int y = 0; y < height; ++y) {
    // Only the corner rows hold candidates; the rows between are skipped whole.
    if (!(y < lead || y >= height - trail)) {
      y = height - trail - 1;
      continue;
    }
    for (int x = 0; x < width; ++x) {
      if (!InCornerBlock(x, y, width, height, blocks)) {
        if (x >= lead && x < width - trail) x = width - trail - 1;
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
