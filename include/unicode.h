// UTF-8 and UTF-16, the two Unicode forms the program meets: the XML model keeps its strings in
// UTF-8, Windows' wide functions and the clipboard speak UTF-16. Portable: no <windows.h>.
//
// The conversions never fail: a broken UTF-8 sequence or an unpaired surrogate becomes U+FFFD, one
// for each byte or unit that cannot be read, so a damaged text still shows everything else.
// Well-formed input converts exactly, both ways.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace unicode {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the well-formed UTF-8 sequence at s[i] and its code point in `cp`; 0 for an overlong,
// truncated or surrogate sequence, or one beyond U+10FFFF. `i` must lie inside `s`.
size_t Utf8SequenceAt(std::string_view s, size_t i, char32_t& cp);
// The character at s[i], and `i` moved past it; a broken sequence gives U+FFFD and moves one byte.
char32_t NextCodePoint(std::string_view s, size_t& i);

// Writes the UTF-8 bytes of `cp` (at most four) at `out` and returns the position after them.
char* PutUtf8(char* out, char32_t cp);
void AppendUtf8(std::string& out, char32_t cp);

// Units are char16_t here, wchar_t on Windows: any 16-bit code unit type.
template <typename Unit>
std::basic_string<Unit> Utf16FromUtf8(std::string_view utf8) {
  static_assert(sizeof(Unit) == 2, "UTF-16 has 16-bit units");
  std::basic_string<Unit> out;
  // Never more units than bytes: one byte gives one unit, four bytes give two.
  out.resize(utf8.size());
  Unit* w = &out[0];
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      *w++ = static_cast<Unit>(c);
      ++i;
      continue;
    }
    char32_t cp = NextCodePoint(utf8, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *w++ = static_cast<Unit>(0xD800 + (cp >> 10));
      *w++ = static_cast<Unit>(0xDC00 + (cp & 0x3FF));
    } else {
      *w++ = static_cast<Unit>(cp);
    }
  }
  out.resize(static_cast<size_t>(w - out.data()));
  return out;
}

template <typename Unit>
std::string Utf8FromUtf16(std::basic_string_view<Unit> utf16) {
  static_assert(sizeof(Unit) == 2, "UTF-16 has 16-bit units");
  std::string out;
  // At most three bytes a unit: a pair of surrogates makes four bytes of two units.
  out.resize(utf16.size() * 3);
  char* w = &out[0];
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = static_cast<char16_t>(utf16[i]);
    if (cp < 0x80) {
      *w++ = static_cast<char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size()) {
      const char32_t low = static_cast<char16_t>(utf16[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacement;
    w = PutUtf8(w, cp);
  }
  out.resize(static_cast<size_t>(w - out.data()));
  return out;
}

template <typename Unit>
std::string Utf8FromUtf16(const std::basic_string<Unit>& utf16) {
  return Utf8FromUtf16(std::basic_string_view<Unit>(utf16));
}

}  // namespace unicode
