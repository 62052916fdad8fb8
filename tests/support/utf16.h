// UTF-16 file contents for the tests. Portable: the native checks of the document use it too.
#pragma once

#include <cstdint>
#include <string>

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

// UTF-8 to UTF-16 little-endian, with a byte-order mark when asked; code points below U+10000.
inline std::string Utf16LEFromUtf8(const std::string& utf8, bool mark = true) {
  std::string out = mark ? std::string("\xFF\xFE", 2) : std::string();
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    uint32_t cp = c;
    size_t len = 1;
    if (c >= 0xE0) {
      cp = c & 0x0F, len = 3;
    } else if (c >= 0xC0) {
      cp = c & 0x1F, len = 2;
    }
    for (size_t k = 1; k < len && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    i += len;
    out += static_cast<char>(cp & 0xFF);
    out += static_cast<char>((cp >> 8) & 0xFF);
  }
  return out;
}
