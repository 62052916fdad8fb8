// A translator's text as the language-file check and the program read it: any bytes as a format,
// formatted with the arguments its conversions ask for and with wrong ones. The check and the
// formatter agree, nothing overruns, and a text the check accepts always formats.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "language/langformat.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Arguments of the given kinds ('d' a number, 's' a text), with values drawn from `seed`.
std::vector<lang::FormatArg> ArgsFor(const std::string& kinds, const std::string& seed) {
  const long long numbers[] = {0, -1, 42, LLONG_MIN, LLONG_MAX, 255, -2147483648LL};
  std::vector<lang::FormatArg> args;
  for (size_t i = 0; i < kinds.size(); ++i) {
    const unsigned char pick = seed.empty() ? 0 : static_cast<unsigned char>(seed[i % seed.size()]);
    if (kinds[i] == 's') {
      args.push_back(lang::FormatArg::Str(seed.substr(0, pick % (seed.size() + 1))));
    } else {
      args.push_back(lang::FormatArg::Int(numbers[pick % (sizeof numbers / sizeof numbers[0])]));
    }
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  // As the program reads a text: escapes first.
  const std::string format = lang::Unescape(raw);
  Check(format.size() <= raw.size());

  std::string kinds;
  const bool valid = lang::ConversionKinds(format, kinds);
  std::string out;
  if (!valid) {
    // A text the check refuses is refused by the formatter too, unless the output reached its
    // limit before the formatter came to the bad conversion.
    const bool formatted = lang::FormatChecked(format, ArgsFor(std::string(64, 's'), raw), out) ||
                           lang::FormatChecked(format, ArgsFor(std::string(64, 'd'), raw), out);
    Check(!formatted || out.size() == lang::kMaxFormattedLength);
    return 0;
  }
  Check(lang::FormatChecked(format, ArgsFor(kinds, raw), out));
  Check(out.size() <= lang::kMaxFormattedLength);
  // More arguments than asked for are fine; the text just does not show them.
  std::vector<lang::FormatArg> more = ArgsFor(kinds + "sd", raw);
  Check(lang::FormatChecked(format, more, out));
  if (!kinds.empty()) {
    // One argument short, or the first of the wrong kind: refused.
    // (Unless the output reached its limit before the formatter came to the missing argument.)
    std::vector<lang::FormatArg> shorter = ArgsFor(kinds.substr(0, kinds.size() - 1), raw);
    Check(!lang::FormatChecked(format, shorter, out) || out.size() == lang::kMaxFormattedLength);
    std::string wrong = kinds;
    wrong[0] = wrong[0] == 's' ? 'd' : 's';
    Check(!lang::FormatChecked(format, ArgsFor(wrong, raw), out));
  }
  return 0;
}
