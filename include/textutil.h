// Small text and path helpers shared by every layer. Portable: no <windows.h>, so they are
// tested natively under the sanitizers. Texts are single-byte strings in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace text {

// Lower-cases A-Z only; the Win32 layer lowers with the code page's rules before calling the
// matchers below, so they compare bytes exactly.
std::string LowerAscii(std::string s);

// "*" matches any run of characters (also none), "?" exactly one. Case-sensitive: lower both first.
bool WildcardMatch(const std::string& name, const std::string& pattern);

// Replaces every occurrence of `what` (non-empty) by `with`, scanning left to right.
std::string ReplaceAll(std::string s, const std::string& what, const std::string& with);

// Replaces the first occurrence of `what` found in `lowered` (a lowered copy of `s` of the same
// length) by `with`. Returns s unchanged when there is none.
std::string ReplaceFirstFound(const std::string& s, const std::string& lowered, const std::string& loweredWhat,
                              const std::string& with);

// Cuts a module path before its last backslash or colon; appends a colon when no colon remains,
// so "C:prog.exe" gives "C:" and "C:\app.exe" gives "C:". A UNC folder is kept as it is.
std::string FolderFromModulePath(const std::string& modulePath);

// The part after the last backslash or colon; without the extension (from the last ".") unless kept.
std::string FileNameFromPath(const std::string& path, bool keepExtension);

// A value that stays on one line of an INI file: every CR and LF becomes a blank (a line break
// would start new keys or sections).
std::string OneLine(std::string s);

// Removes exactly one trailing backslash, if there is one.
std::string WithoutTrailingBackslash(std::string s);

// 32 upper-case hexadecimal digits: Data1, Data2, Data3, then the eight bytes of Data4.
std::string FormatGuidText(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8]);

// Splits a profile-section buffer (NUL-terminated entries ended by an empty entry, or by `size`)
// into its entries. Never reads past `size`.
std::vector<std::string> SplitNulList(const char* buffer, size_t size);

// Sorts names ascending without regard to ASCII case, ties broken bytewise so the order is total.
void SortNamesNoCase(std::vector<std::string>& names);

}  // namespace text
