#include "predefinedtext/placeholders.h"

#include <cstdio>

#include "include/textutil.h"

namespace {
std::string Padded(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}
}  // namespace

std::string ExpandPlaceholders(std::string text, const LocalDateTime& now) {
  const std::pair<const char*, std::string> fields[] = {
      {"{year}", Padded(now.year, 4)},     {"{month}", Padded(now.month, 2)},   {"{day}", Padded(now.day, 2)},
      {"{hour}", Padded(now.hour, 2)},     {"{minute}", Padded(now.minute, 2)}, {"{second}", Padded(now.second, 2)},
  };
  for (const auto& [placeholder, value] : fields) text = text::ReplaceAll(std::move(text), placeholder, value);
  return text;
}

std::string UnescapeStoredValue(std::string value) {
  value = text::ReplaceAll(std::move(value), "\\r", "\r");
  return text::ReplaceAll(std::move(value), "\\n", "\n");
}

std::string EscapeStoredValue(std::string value) {
  value = text::ReplaceAll(std::move(value), "\r", "\\r");
  return text::ReplaceAll(std::move(value), "\n", "\\n");
}

namespace dib {

uint32_t RowBytes(int32_t width, int bitsPerPixel) {
  // Rounded up to whole 32-bit units: dividing by 8 first would make 1- and 4-bit rows too short.
  if (width <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 64) return 0;
  uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel);
  uint64_t bytes = (bits + 31) / 32 * 4;
  return bytes > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}

int CaptureColorEntries(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    case 16:
    case 32: return 3;
    default: return 0;
  }
}

int RestoreColorEntries(uint32_t usedColors, int planes, int bitCount) {
  if (usedColors != 0) return usedColors > 256 ? 256 : static_cast<int>(usedColors);
  int bits = planes * bitCount;
  if (bits == 1) return 2;
  if (bits <= 4) return 16;
  if (bits <= 8) return 256;
  if (bits >= 17 && bits <= 24) return 0;
  return 3;
}

}  // namespace dib
