#include <doctest/doctest.h>

#include <string>

#include "include/unicode.h"

using unicode::Utf16FromUtf8;
using unicode::Utf8FromUtf16;

namespace {
// "Łódź → € 😀 Ελλάδα": two-, three- and four-byte characters beside ASCII.
const char kMixed[] = "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x86\x92 \xE2\x82\xAC \xF0\x9F\x98\x80 "
                      "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";
const char16_t kMixed16[] = u"\u0141\u00F3d\u017A \u2192 \u20AC \U0001F600 \u0395\u03BB\u03BB\u03AC\u03B4\u03B1";
const std::u16string kFffd(1, u'\uFFFD');
}  // namespace

TEST_CASE("well-formed text converts exactly both ways") {
  CHECK(Utf16FromUtf8<char16_t>(kMixed) == kMixed16);
  CHECK(Utf8FromUtf16(std::u16string(kMixed16)) == kMixed);
  CHECK(Utf16FromUtf8<char16_t>("").empty());
  CHECK(Utf8FromUtf16(std::u16string()).empty());
  // The ends of each range, and characters that carry a NUL or a line break.
  const std::u16string edges = u"\u007F\u0080\u07FF\u0800\uFFFD\uFFFF\U00010000\U0010FFFF";
  CHECK(Utf16FromUtf8<char16_t>(Utf8FromUtf16(edges)) == edges);
  const std::string withNul("a\0b\r\n", 5);
  CHECK(Utf8FromUtf16(Utf16FromUtf8<char16_t>(withNul)) == withNul);
}

TEST_CASE("broken UTF-8 becomes one replacement character per unreadable byte, the rest stays") {
  const struct {
    const char* what;
    std::string bytes;
    std::u16string expected;
  } cases[] = {
      {"cut off at the end", "ab\xE2\x82", u"ab" + kFffd + kFffd},
      {"overlong", "\xC0\xAF" "x", kFffd + kFffd + u"x"},
      {"a surrogate written as UTF-8", "\xED\xA0\x80", kFffd + kFffd + kFffd},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd},
      {"a lone continuation byte", "\x80z", kFffd + u"z"},
      {"a lead byte without followers", "\xC3 ", kFffd + u" "},
  };
  for (const auto& c : cases) {
    CAPTURE(c.what);
    CHECK(Utf16FromUtf8<char16_t>(c.bytes) == c.expected);
  }
}

TEST_CASE("unpaired surrogates become replacement characters, pairs stay whole") {
  const std::u16string high(1, char16_t(0xD83D)), low(1, char16_t(0xDE00));
  CHECK(Utf8FromUtf16(u"a" + high) == "a\xEF\xBF\xBD");
  CHECK(Utf8FromUtf16(low + u"b") == "\xEF\xBF\xBD" "b");
  CHECK(Utf8FromUtf16(low + high) == "\xEF\xBF\xBD\xEF\xBF\xBD");
  CHECK(Utf8FromUtf16(high + high + low) == "\xEF\xBF\xBD\xF0\x9F\x98\x80");
}
