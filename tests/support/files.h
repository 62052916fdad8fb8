// Files for the tests that run under Wine: private folders, whole-file reads and writes, copies
// and snapshots of folders.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/utf16.h"

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
// Copies a folder with everything in it.
void CopyTree(const std::string& from, const std::string& to);

// Every file below a folder by its relative path ("sub\\name"), with its bytes; each sub-folder as
// "sub\\" with no bytes. Two equal snapshots: nothing was made, changed or removed.
using FileSnapshot = std::map<std::string, std::string>;
FileSnapshot TakeSnapshot(const std::string& folder);
