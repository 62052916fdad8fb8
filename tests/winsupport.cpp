#include "tests/winsupport.h"

#include <algorithm>

#include "include/miscfuns.h"

TempDir::TempDir() {
  char base[MAX_PATH + 1] = {};
  ::GetTempPathA(MAX_PATH, base);
  for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
    std::string candidate = std::string(base) + "qt-" + CMiscFuns::NewGuidText().substr(0, 12);
    if (::CreateDirectoryA(candidate.c_str(), nullptr)) m_path = candidate;
  }
}

TempDir::~TempDir() {
  if (!m_path.empty()) RemoveTree(m_path);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(h);
}

std::string ReadFileBytes(const std::string& path) {
  // Tests read files the program under test may be writing that moment: a read that shut writers
  // out would make the program's own write fail.
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buf[65536];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  ::CloseHandle(h);
  return data;
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolder(const std::string& path) { ::CreateDirectoryA(path.c_str(), nullptr); }

void RemoveTree(const std::string& path) {
  for (const std::string& name : FolderEntries(path)) {
    std::string child = path + "\\" + name;
    DWORD attr = ::GetFileAttributesA(child.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) {
      RemoveTree(child);
    } else {
      ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA(child.c_str());
    }
  }
  ::RemoveDirectoryA(path.c_str());
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = fd.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}
