// Small helpers the benchmarks share: a millisecond clock, medians, and the Linux side of a process
// under Wine (its resident and anonymous memory, read from /proc through Wine's Z: drive).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

inline double Now() {
  static const LARGE_INTEGER f = [] {
    LARGE_INTEGER x;
    ::QueryPerformanceFrequency(&x);
    return x;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The whole of a small file; /proc files report a size of 0, so read until the end.
inline std::string ReadAll(const std::string& path) {
  std::string out;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return out;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  ::CloseHandle(h);
  return out;
}

inline std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The Linux process of the Wine program `exe`: Wine puts the program's Windows path first on the
// command line (compared without case). 0 when there is none.
inline unsigned long FindUnixPid(const std::string& exe) {
  const std::string want = Lower(exe);
  WIN32_FIND_DATAA fd;
  HANDLE find = ::FindFirstFileA("Z:\\proc\\*", &fd);
  if (find == INVALID_HANDLE_VALUE) return 0;
  unsigned long found = 0;
  do {
    const char* n = fd.cFileName;
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || *n < '0' || *n > '9') continue;
    std::string cmd = ReadAll(std::string("Z:\\proc\\") + n + "\\cmdline");
    if (Lower(cmd.substr(0, cmd.find('\0'))) == want) {
      found = std::strtoul(n, nullptr, 10);
      break;
    }
  } while (::FindNextFileA(find, &fd));
  ::FindClose(find);
  return found;
}

struct UnixMemory {
  double rssMiB = -1, anonMiB = -1;
};

// VmRSS and RssAnon of a Linux process, from /proc/PID/status.
inline UnixMemory ReadUnixMemory(unsigned long pid) {
  UnixMemory m;
  if (!pid) return m;
  std::string status = ReadAll("Z:\\proc\\" + std::to_string(pid) + "\\status");
  auto field = [&](const char* key) {
    size_t at = status.find(key);
    if (at == std::string::npos) return -1.0;
    return static_cast<double>(std::strtoul(status.c_str() + at + std::string(key).size(), nullptr, 10)) / 1024.0;
  };
  m.rssMiB = field("VmRSS:");
  m.anonMiB = field("RssAnon:");
  return m;
}

}  // namespace bench
