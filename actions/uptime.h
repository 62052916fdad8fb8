// The shutdown dialog's uptime line, built from milliseconds since the system started.
// Portable: no <windows.h>; the dialog passes the language table as the text lookup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace uptime {

constexpr uint64_t kMsPerMinute = 60000;
constexpr uint64_t kMsPerHour = 3600000;
constexpr uint64_t kMsPerDay = 86400000;

// Gives the language text of an L-key.
using TextLookup = std::function<std::string(const std::string& key)>;

struct Parts {
  uint64_t days = 0;
  unsigned hours = 0;    // 0..23
  unsigned minutes = 0;  // 0..59
};

Parts SplitUptime(uint64_t milliseconds);

// The text of L0088, then for days (L0089), hours (L0090) and minutes (L0091), each only when its
// number is not 0: a blank, the number, a blank and the unit.
std::string FormatUptime(uint64_t milliseconds, const TextLookup& text);

}  // namespace uptime
