// Any bytes, read as UTF-8 and as UTF-16 units: the conversions end in well-formed text that
// converts back to the same units, and well-formed input comes back exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "include/unicode.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool WellFormedUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    size_t len = unicode::Utf8SequenceAt(s, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

bool HasUnpairedSurrogate(const std::u16string& units) {
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (u >= 0xDC00 && u <= 0xDFFF) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const std::u16string units = unicode::Utf16FromUtf8<char16_t>(bytes);
  Check(units.size() <= bytes.size());
  Check(!HasUnpairedSurrogate(units));
  const std::string utf8 = unicode::Utf8FromUtf16(units);
  Check(WellFormedUtf8(utf8));
  Check(unicode::Utf16FromUtf8<char16_t>(utf8) == units);
  if (WellFormedUtf8(bytes)) Check(utf8 == bytes);

  std::u16string raw(size / 2, u'\0');
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  const std::string fromRaw = unicode::Utf8FromUtf16(raw);
  Check(WellFormedUtf8(fromRaw));
  Check(fromRaw.size() <= raw.size() * 3);
  const std::u16string back = unicode::Utf16FromUtf8<char16_t>(fromRaw);
  Check(back.size() == raw.size());
  if (!HasUnpairedSurrogate(raw)) Check(back == raw);
  return 0;
}
