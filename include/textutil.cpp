#include "include/textutil.h"

#include <algorithm>
#include <cstdio>

namespace text {

std::string LowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

bool WildcardMatch(const std::string& name, const std::string& pattern) {
  // Iterative matcher with one backtrack point: linear in practice, no recursion on long names.
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string ReplaceAll(std::string s, const std::string& what, const std::string& with) {
  if (what.empty()) return s;
  size_t pos = s.find(what);
  if (pos == std::string::npos) return s;
  // Built anew in one pass: replacing in place moves the whole tail at every match, which the text
  // editor pays for on each keystroke in a long text of short lines.
  std::string out;
  out.reserve(with.size() > what.size() ? s.size() + (s.size() / what.size()) * (with.size() - what.size())
                                        : s.size());
  size_t from = 0;
  for (; pos != std::string::npos; pos = s.find(what, from)) {
    out.append(s, from, pos - from);
    out += with;
    from = pos + what.size();
  }
  out.append(s, from, std::string::npos);
  return out;
}

std::string ReplaceFirstFound(const std::string& s, const std::string& lowered, const std::string& loweredWhat,
                              const std::string& with) {
  if (loweredWhat.empty() || lowered.size() != s.size()) return s;
  size_t pos = lowered.find(loweredWhat);
  if (pos == std::string::npos) return s;
  std::string out = s;
  out.replace(pos, loweredWhat.size(), with);
  return out;
}

std::string FolderFromModulePath(const std::string& modulePath) {
  size_t cut = modulePath.find_last_of("\\:");
  std::string folder = cut == std::string::npos ? std::string() : modulePath.substr(0, cut);
  // A path cut at its drive colon ("C:prog.exe") gets the colon back. A network path (\\server\share)
  // has no drive and needs none: a colon there would name no folder at all.
  bool unc = folder.compare(0, 2, "\\\\") == 0;
  if (!unc && folder.find(':') == std::string::npos) folder += ':';
  return folder;
}

std::string FileNameFromPath(const std::string& path, bool keepExtension) {
  size_t cut = path.find_last_of("\\:");
  std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  if (!keepExtension) {
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
  }
  return name;
}

std::string OneLine(std::string s) {
  for (char& c : s) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return s;
}

std::string WithoutTrailingBackslash(std::string s) {
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

std::string FormatGuidText(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8]) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", static_cast<unsigned>(data1),
                static_cast<unsigned>(data2), static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3],
                data4[4], data4[5], data4[6], data4[7]);
  return buf;
}

std::vector<std::string> SplitNulList(const char* buffer, size_t size) {
  std::vector<std::string> entries;
  size_t pos = 0;
  while (pos < size && buffer[pos] != '\0') {
    size_t end = pos;
    while (end < size && buffer[end] != '\0') ++end;
    entries.emplace_back(buffer + pos, end - pos);
    pos = end + 1;
  }
  return entries;
}

void SortNamesNoCase(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::string la = LowerAscii(a), lb = LowerAscii(b);
    return la != lb ? la < lb : a < b;
  });
}

}  // namespace text
