// The Windows side of the XML wrapper: ANSI strings in the system code page, and files replaced in
// one step by the file system. Installed once at start-up, before any document is used.
#pragma once

#include <string>
#include <string_view>

namespace xml {

void InstallWin32Platform();

std::string Utf8FromAnsiCodePage(std::string_view ansi);
// Characters the code page lacks become its default character ('?' where the page has one).
std::string AnsiCodePageFromUtf8(std::string_view utf8);
bool ReplaceFileWin32(const std::string& source, const std::string& target);

}  // namespace xml
