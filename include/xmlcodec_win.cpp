#include "include/xmlcodec_win.h"

#include <windows.h>

#include "include/codepage_win.h"
#include "include/xml.h"

namespace xml {

bool ReplaceFileWin32(const std::string& source, const std::string& target) {
  // Windows refuses to replace a read-only file; Wine does not. A file the user protected stays
  // as it is on both.
  const DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return ::MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void InstallWin32Platform() {
  SetAnsiCodec({unicode::Utf8FromAnsi, unicode::AnsiFromUtf8});
  SetFileReplacer(ReplaceFileWin32);
}

}  // namespace xml
