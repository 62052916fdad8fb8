#include "include/xmlcodec_win.h"

#include <windows.h>

#include <climits>

#include "include/xml.h"

namespace xml {

namespace {

std::wstring Widen(UINT codePage, std::string_view s) {
  if (s.empty() || s.size() > INT_MAX) return {};
  const int len = static_cast<int>(s.size());
  int n = ::MultiByteToWideChar(codePage, 0, s.data(), len, nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<size_t>(n), L'\0');
  n = ::MultiByteToWideChar(codePage, 0, s.data(), len, &w[0], n);
  w.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return w;
}

std::string Narrow(UINT codePage, const std::wstring& w) {
  if (w.empty() || w.size() > INT_MAX) return {};
  const int len = static_cast<int>(w.size());
  // UTF-8 takes no default character; the ANSI page uses its own ('?').
  int n = ::WideCharToMultiByte(codePage, 0, w.data(), len, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n), '\0');
  n = ::WideCharToMultiByte(codePage, 0, w.data(), len, &s[0], n, nullptr, nullptr);
  s.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return s;
}

}  // namespace

std::string Utf8FromAnsiCodePage(std::string_view ansi) { return Narrow(CP_UTF8, Widen(CP_ACP, ansi)); }

std::string AnsiCodePageFromUtf8(std::string_view utf8) { return Narrow(CP_ACP, Widen(CP_UTF8, utf8)); }

bool ReplaceFileWin32(const std::string& source, const std::string& target) {
  // Windows refuses to replace a read-only file; Wine does not. A file the user protected stays
  // as it is on both.
  const DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return ::MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void InstallWin32Platform() {
  SetAnsiCodec({Utf8FromAnsiCodePage, AnsiCodePageFromUtf8});
  SetFileReplacer(ReplaceFileWin32);
}

}  // namespace xml
