// The Windows side of the XML model: ANSI strings in the system code page (the hotkey fields of
// backups), and files replaced in one step by the file system. Installed once at start-up, before
// any document is used.
#pragma once

#include <string>
#include <string_view>

namespace xml {

void InstallWin32Platform();

bool ReplaceFileWin32(const std::string& source, const std::string& target);

}  // namespace xml
