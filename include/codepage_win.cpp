#include "include/codepage_win.h"

#include <climits>

#include "include/unicode.h"

namespace unicode {

std::wstring WideFromCodePage(std::string_view text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int len = static_cast<int>(text.size());
  int n = ::MultiByteToWideChar(codePage, 0, text.data(), len, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  n = ::MultiByteToWideChar(codePage, 0, text.data(), len, &wide[0], n);
  wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return wide;
}

std::string CodePageFromWide(std::wstring_view text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int len = static_cast<int>(text.size());
  int n = ::WideCharToMultiByte(codePage, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  n = ::WideCharToMultiByte(codePage, 0, text.data(), len, &out[0], n, nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

std::wstring WideFromUtf8(std::string_view utf8) { return Utf16FromUtf8<wchar_t>(utf8); }

std::string Utf8FromWide(std::wstring_view wide) { return Utf8FromUtf16(wide); }

std::string Utf8FromAnsi(std::string_view ansi) { return Utf8FromWide(WideFromAnsi(ansi)); }

std::string AnsiFromUtf8(std::string_view utf8) { return AnsiFromWide(WideFromUtf8(utf8)); }

}  // namespace unicode
