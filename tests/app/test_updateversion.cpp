#include <doctest/doctest.h>

#include <string>

#include "app/updateversion.h"

using update::CompareDecimal;
using update::IsNewerVersion;
using update::ParseVersionFile;

TEST_CASE("version file: a plain decimal number with blanks and line ends around it is accepted") {
  CHECK(ParseVersionFile("1.5") == std::string("1.5"));
  CHECK(ParseVersionFile("  2\r\n") == std::string("2"));
  CHECK(ParseVersionFile("\xEF\xBB\xBF" "3.25\n") == std::string("3.25"));
  CHECK(ParseVersionFile("10.0\t\r\n\r\n") == std::string("10.0"));
}

TEST_CASE("version file: anything else announces no update") {
  const char* bad[] = {"", "\r\n", "abc", "1.5abc", "<html>1.5</html>", "1.2.3", "-1", "+2", ".5", "1.", "1,5",
                       "1 2", "1e9", "0x10", "nan", "inf"};
  for (const char* text : bad) {
    CAPTURE(text);
    CHECK_FALSE(ParseVersionFile(text).has_value());
  }
  // A zero byte in the middle ends nothing: the whole file must be the number.
  CHECK_FALSE(ParseVersionFile(std::string("2\0x", 3)).has_value());
  // Longer than the reader takes: refused even when it starts with a number.
  std::string padded = "9" + std::string(update::kMaxVersionFileBytes, ' ');
  CHECK_FALSE(ParseVersionFile(padded).has_value());
  std::string longest = "1." + std::string(update::kMaxVersionFileBytes - 2, '5');
  CHECK(ParseVersionFile(longest) == longest);
}

TEST_CASE("decimal comparison is exact and by value") {
  CHECK(CompareDecimal("1.0", "1") == 0);
  CHECK(CompareDecimal("01.50", "1.5") == 0);
  CHECK(CompareDecimal("1.10", "1.9") == -1);  // decimal numbers, not version parts
  CHECK(CompareDecimal("2", "1.99999") == 1);
  CHECK(CompareDecimal("10", "9.9") == 1);
  CHECK(CompareDecimal("0", "0.0") == 0);
  CHECK(CompareDecimal("1.0000000000000000000001", "1") == 1);
  CHECK(CompareDecimal("123456789012345678901234567890", "123456789012345678901234567891") == -1);
}

TEST_CASE("a newer version is one whose number is greater than the product version's") {
  CHECK(IsNewerVersion("1.1", "1.0"));
  CHECK(IsNewerVersion("2", "1.9.4"));
  CHECK_FALSE(IsNewerVersion("1.0", "1.0"));
  CHECK_FALSE(IsNewerVersion("1", "1.0"));
  CHECK_FALSE(IsNewerVersion("0.9", "1.0"));
  // Without a product version nothing is announced as newer.
  CHECK_FALSE(IsNewerVersion("5", ""));
  CHECK_FALSE(IsNewerVersion("5", "beta"));
  CHECK(update::LeadingDecimal("1.0.3") == std::string("1.0"));
  CHECK_FALSE(update::LeadingDecimal("v1").has_value());
}
