// Date and time placeholders of predefined texts, the stored form of their line breaks, and the
// arithmetic of the bitmaps the clipboard saver copies. Portable: no <windows.h>.
#pragma once

#include <cstdint>
#include <string>

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Replaces every {year}, {month}, {day}, {hour}, {minute}, {second} (exactly so written), in that
// order; other braces stay as they are.
std::string ExpandPlaceholders(std::string text, const LocalDateTime& now);

// A stored value keeps CR as the two characters \r and LF as \n.
std::string UnescapeStoredValue(std::string value);
std::string EscapeStoredValue(std::string value);

namespace dib {
// Bytes of one pixel row, padded to a multiple of four; 0 when the size is absurd.
uint32_t RowBytes(int32_t width, int bitsPerPixel);
// Colour-table entries stored when a bitmap of this depth is captured (3 are the masks of 16 and 32).
int CaptureColorEntries(int bitsPerPixel);
// Colour-table entries a packed bitmap carries, from its header, as read back on restore.
int RestoreColorEntries(uint32_t usedColors, int planes, int bitCount);
}  // namespace dib
