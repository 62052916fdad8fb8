// UTF-16 file contents for the tests. Portable: the native checks of the document use it too.
#pragma once

#include <cstdint>
#include <string>

#include "include/unicode.h"

// UTF-16 little-endian bytes of a Latin-1 (or ASCII) text, with or without the byte-order mark.
inline std::string Utf16LE(const std::string& latin1, bool mark = true) {
  std::string out = mark ? std::string("\xFF\xFE", 2) : std::string();
  for (char c : latin1) {
    out += c;
    out += '\0';
  }
  return out;
}

// The same, big-endian, with the byte-order mark.
inline std::string Utf16BE(const std::string& latin1) {
  std::string out("\xFE\xFF", 2);
  for (char c : latin1) {
    out += '\0';
    out += c;
  }
  return out;
}

// UTF-8 to UTF-16 little-endian, with a byte-order mark when asked.
inline std::string Utf16LEFromUtf8(const std::string& utf8, bool mark = true) {
  std::string out = mark ? std::string("\xFF\xFE", 2) : std::string();
  for (char16_t unit : unicode::Utf16FromUtf8<char16_t>(utf8)) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}
