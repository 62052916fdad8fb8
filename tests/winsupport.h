// Helpers for the tests that run under Wine: private folders and whole-file reads and writes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();
  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
void MakeFolder(const std::string& path);
void RemoveTree(const std::string& path);
// Names of the entries of a folder (files and folders), sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
