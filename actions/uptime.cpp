#include "actions/uptime.h"

namespace uptime {

Parts SplitUptime(uint64_t milliseconds) {
  Parts p;
  p.days = milliseconds / kMsPerDay;
  p.hours = static_cast<unsigned>((milliseconds / kMsPerHour) % 24);
  p.minutes = static_cast<unsigned>((milliseconds / kMsPerMinute) % 60);
  return p;
}

std::string FormatUptime(uint64_t milliseconds, const TextLookup& text) {
  Parts p = SplitUptime(milliseconds);
  std::string line = text("L0088");
  auto append = [&](uint64_t number, const char* unitKey) {
    if (number == 0) return;
    line += ' ';
    line += std::to_string(number);
    line += ' ';
    line += text(unitKey);
  };
  append(p.days, "L0089");
  append(p.hours, "L0090");
  append(p.minutes, "L0091");
  return line;
}

}  // namespace uptime
