#include "include/dpimath.h"

#include <cstdint>

namespace dpi {

int Sane(int dpi) { return dpi >= 24 && dpi <= 1920 ? dpi : kBaseDpi; }

namespace {
int RoundedRatio(int64_t numerator, int64_t denominator) {
  // denominator > 0; the half goes away from zero on either side.
  int64_t half = denominator / 2;
  return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator));
}
}  // namespace

int Ratio(int value, int numerator, int denominator) {
  if (denominator <= 0) return value;
  return RoundedRatio(static_cast<int64_t>(value) * numerator, denominator);
}

int Scale(int value, int dpi) { return Rescale(value, kBaseDpi, dpi); }

int Rescale(int value, int fromDpi, int toDpi) {
  fromDpi = Sane(fromDpi);
  toDpi = Sane(toDpi);
  if (fromDpi == toDpi) return value;
  return RoundedRatio(static_cast<int64_t>(value) * toDpi, fromDpi);
}

int FontHeightForPoints(int points, int dpi) { return -RoundedRatio(static_cast<int64_t>(points) * Sane(dpi), 72); }

Box RescaleBox(const Box& box, int fromDpi, int toDpi) {
  return Box{Rescale(box.left, fromDpi, toDpi), Rescale(box.top, fromDpi, toDpi), Rescale(box.right, fromDpi, toDpi),
             Rescale(box.bottom, fromDpi, toDpi)};
}

int FillPercent(int columnsWidth, int clientWidth) {
  if (clientWidth <= 0 || columnsWidth <= 0) return 0;
  return static_cast<int>(static_cast<int64_t>(columnsWidth) * 100 / clientWidth);
}

}  // namespace dpi
