#include <doctest/doctest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "actions/uptime.h"

namespace {

// Brackets make each looked-up text visible in the result.
std::string Text(const std::string& key) { return "<" + key + ">"; }

std::string Line(uint64_t ms) { return uptime::FormatUptime(ms, Text); }

constexpr uint64_t kMinute = 60000, kHour = 60 * kMinute, kDay = 24 * kHour;

}  // namespace

TEST_CASE("under a minute the line is the start text alone") {
  CHECK(Line(0) == "<L0088>");
  CHECK(Line(59999) == "<L0088>");
}

TEST_CASE("minutes, hours and days each appear only when not 0") {
  CHECK(Line(kMinute) == "<L0088> 1 <L0091>");
  CHECK(Line(59 * kMinute + 59999) == "<L0088> 59 <L0091>");
  CHECK(Line(kHour) == "<L0088> 1 <L0090>");
  CHECK(Line(kHour + 2 * kMinute) == "<L0088> 1 <L0090> 2 <L0091>");
  CHECK(Line(23 * kHour + 59 * kMinute) == "<L0088> 23 <L0090> 59 <L0091>");
}

TEST_CASE("exactly one day shows the days alone") {
  CHECK(Line(kDay) == "<L0088> 1 <L0089>");
  CHECK(Line(kDay - 1) == "<L0088> 23 <L0090> 59 <L0091>");
}

TEST_CASE("one day and five minutes leaves the hours out") {
  CHECK(Line(kDay + 5 * kMinute) == "<L0088> 1 <L0089> 5 <L0091>");
}

TEST_CASE("several days with hours and minutes") {
  CHECK(Line(3 * kDay + 4 * kHour + 7 * kMinute + 30000) == "<L0088> 3 <L0089> 4 <L0090> 7 <L0091>");
  CHECK(Line(10 * kDay + 12 * kHour) == "<L0088> 10 <L0089> 12 <L0090>");
}

TEST_CASE("uptimes past the 32-bit tick count keep counting") {
  // 2^32 ms is where a 32-bit tick count would start again from 0.
  const uint64_t wrap = uint64_t{1} << 32;
  CHECK(Line(wrap - 1) == "<L0088> 49 <L0089> 17 <L0090> 2 <L0091>");
  CHECK(Line(wrap) == "<L0088> 49 <L0089> 17 <L0090> 2 <L0091>");
  CHECK(Line(wrap + 10 * kMinute) == "<L0088> 49 <L0089> 17 <L0090> 12 <L0091>");
  CHECK(Line(400 * kDay + kMinute) == "<L0088> 400 <L0089> 1 <L0091>");
}

TEST_CASE("the largest value still splits into days, hours and minutes") {
  const uint64_t max = std::numeric_limits<uint64_t>::max();
  uptime::Parts p = uptime::SplitUptime(max);
  CHECK(p.days == max / kDay);
  CHECK(p.hours < 24);
  CHECK(p.minutes < 60);
  CHECK(Line(max).rfind("<L0088> " + std::to_string(max / kDay) + " <L0089>", 0) == 0);
}

TEST_CASE("the units come from the lookup, so the line follows the language") {
  auto german = [](const std::string& key) -> std::string {
    if (key == "L0088") return "Laufzeit:";
    if (key == "L0089") return "Tag(e)";
    if (key == "L0090") return "Stunde(n)";
    return "Minute(n)";
  };
  CHECK(uptime::FormatUptime(2 * kDay + kHour + kMinute, german) == "Laufzeit: 2 Tag(e) 1 Stunde(n) 1 Minute(n)");
}
