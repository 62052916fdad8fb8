#include <doctest/doctest.h>

#include "predefinedtext/placeholders.h"

TEST_CASE("date and time placeholders") {
  LocalDateTime t{2026, 3, 7, 9, 5, 3};
  CHECK(ExpandPlaceholders("{day}.{month}.{year} {hour}:{minute}:{second}", t) == "07.03.2026 09:05:03");
  CHECK(ExpandPlaceholders("{YEAR} { year} {year", t) == "{YEAR} { year} {year");
  CHECK(ExpandPlaceholders("{day}{day}-{day}", t) == "0707-07");
  CHECK(ExpandPlaceholders("{}{{day}}", t) == "{}{07}");
  LocalDateTime midnight{999, 12, 31, 0, 0, 0};
  CHECK(ExpandPlaceholders("{year}/{hour}", midnight) == "0999/00");
}

TEST_CASE("stored line breaks") {
  CHECK(UnescapeStoredValue("one\\r\\ntwo") == "one\r\ntwo");
  CHECK(UnescapeStoredValue("tab\tstays, \\t too") == "tab\tstays, \\t too");
  CHECK(EscapeStoredValue("one\r\ntwo\n") == "one\\r\\ntwo\\n");
  CHECK(UnescapeStoredValue(EscapeStoredValue("a\r\nb\nc\rd")) == "a\r\nb\nc\rd");
  // A backslash-n the user typed reads back as a line break: the format does not double backslashes.
  CHECK(UnescapeStoredValue(EscapeStoredValue("C:\\new")) == "C:\new");
}

TEST_CASE("a long text of short lines escapes and reads back exactly") {
  std::string box, stored;
  for (int i = 0; i < 25000; ++i) {
    const std::string line = "line " + std::to_string(i);
    const char* breaks[] = {"\r\n", "\n", "\r"};
    const char* escaped[] = {"\\r\\n", "\\n", "\\r"};
    box += line + breaks[i % 3];
    stored += line + escaped[i % 3];
  }
  box += "end\\n";  // a typed backslash-n at the very end
  stored += "end\\n";
  CHECK(EscapeStoredValue(box) == stored);
  // It reads back as typed, but for the backslash-n, which the format cannot tell from a break.
  const std::string back = UnescapeStoredValue(stored);
  CHECK(back.substr(0, back.size() - 1) == box.substr(0, box.size() - 2));
  CHECK(back.substr(back.size() - 4) == "end\n");
  CHECK(back.substr(0, 15) == "line 0\r\nline 1\n");
}

TEST_CASE("bitmap rows are long enough for every depth") {
  CHECK(dib::RowBytes(1, 1) == 4);
  CHECK(dib::RowBytes(33, 1) == 8);
  CHECK(dib::RowBytes(3, 4) == 4);
  CHECK(dib::RowBytes(9, 4) == 8);   // 36 bits: dividing by 8 first gives 4 bytes, one short
  CHECK(dib::RowBytes(7, 4) == 4);   // 28 bits
  CHECK(dib::RowBytes(5, 24) == 16);  // 15 bytes padded
  CHECK(dib::RowBytes(4, 24) == 12);
  CHECK(dib::RowBytes(10, 32) == 40);
  CHECK(dib::RowBytes(0, 32) == 0);
  CHECK(dib::RowBytes(-5, 8) == 0);
  CHECK(dib::RowBytes(2147483647, 32) == 0);  // would not fit: refused, not wrapped
  for (int w = 1; w < 70; ++w) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
      uint32_t row = dib::RowBytes(w, bpp);
      CHECK(row % 4 == 0);
      CHECK(row * 8 >= static_cast<uint32_t>(w * bpp));
      CHECK(row * 8 < static_cast<uint32_t>(w * bpp) + 32);
    }
  }
}

TEST_CASE("colour tables") {
  CHECK(dib::CaptureColorEntries(1) == 2);
  CHECK(dib::CaptureColorEntries(4) == 16);
  CHECK(dib::CaptureColorEntries(8) == 256);
  CHECK(dib::CaptureColorEntries(16) == 3);
  CHECK(dib::CaptureColorEntries(24) == 0);
  CHECK(dib::CaptureColorEntries(32) == 3);
  CHECK(dib::RestoreColorEntries(0, 1, 1) == 2);
  CHECK(dib::RestoreColorEntries(0, 1, 4) == 16);
  CHECK(dib::RestoreColorEntries(0, 1, 8) == 256);
  CHECK(dib::RestoreColorEntries(0, 1, 24) == 0);
  CHECK(dib::RestoreColorEntries(0, 1, 32) == 3);
  CHECK(dib::RestoreColorEntries(12, 1, 8) == 12);
  CHECK(dib::RestoreColorEntries(100000, 1, 8) == 256);  // a damaged header cannot push the bits past the block
}
