// Reading and writing a file in one piece. Portable: no <windows.h>, so it is tested natively too.
#pragma once

#include <cstddef>
#include <limits>
#include <string>

namespace wholefile {

// The whole file into `bytes`; false when it cannot be opened or read, or holds more than `limit`
// bytes (then without reading it all).
bool Read(const std::string& path, std::string& bytes,
          size_t limit = std::numeric_limits<size_t>::max());

// Creates or replaces the file with exactly `bytes`. True only once they are on the disk, not
// merely handed to the system, so a rename that follows never puts an incomplete file in place.
bool Write(const std::string& path, const std::string& bytes);

}  // namespace wholefile
