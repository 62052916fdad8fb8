// What the downloaded version file says and whether it announces a newer version. Portable: the
// update thread passes the bytes it read, and nothing here touches the network or windows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace update {

// A version file is one short line; the reader never takes more than this (plus one byte to tell
// that a file is longer).
constexpr size_t kMaxVersionFileBytes = 32;

// The number a version file announces: digits, optionally a point and more digits, with nothing
// around it but blanks and line ends (and a UTF-8 byte-order mark). Anything else, an empty file or
// more than kMaxVersionFileBytes bytes gives nothing: such a file announces no update.
std::optional<std::string> ParseVersionFile(const std::string& bytes);

// The decimal number a version text begins with, as a plain number ("1.0.3" gives "1.0", "2" gives
// "2"); nothing when it does not begin with a digit.
std::optional<std::string> LeadingDecimal(const std::string& text);

// Compares two plain decimal numbers by value, exactly, whatever their length: -1, 0 or 1.
int CompareDecimal(const std::string& a, const std::string& b);

// True when the announced number is greater than the number the product version begins with. A
// product version without a number never counts as older.
bool IsNewerVersion(const std::string& announced, const std::string& productVersion);

}  // namespace update
