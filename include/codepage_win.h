// The system's ANSI code page beside UTF-8 and UTF-16: the one place the program converts between
// the three. The program's own texts (language files, hotkeys, settings) are ANSI; the predefined
// texts are Unicode all the way from their file to the clipboard.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace unicode {

// Text in `codePage` to UTF-16 and back; characters the page lacks become its default character
// ('?' where it has one). Empty on empty input.
std::wstring WideFromCodePage(std::string_view text, UINT codePage);
std::string CodePageFromWide(std::wstring_view text, UINT codePage);

inline std::wstring WideFromAnsi(std::string_view ansi) { return WideFromCodePage(ansi, CP_ACP); }
inline std::string AnsiFromWide(std::wstring_view wide) { return CodePageFromWide(wide, CP_ACP); }

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

std::string Utf8FromAnsi(std::string_view ansi);
std::string AnsiFromUtf8(std::string_view utf8);

}  // namespace unicode
