#include "hotkeys/hotkeyfiles.h"

#include <windows.h>

#include "include/handles.h"
#include "include/miscfuns.h"
#include "include/textutil.h"

namespace {

constexpr DWORD kActionBuffer = 32333;
constexpr DWORD kMaxActionBuffer = 64u << 20;

// Beside the hotkeys folder: the new set is written into ".new"; the old files wait in ".old"
// until the new ones are all in place. The markers in ".old" tell a later start how far a save got.
std::string StagingFolder(const std::string& folder) { return folder + ".new"; }
std::string BackupFolder(const std::string& folder) { return folder + ".old"; }
constexpr const char kCommitting[] = "\\~committing";
constexpr const char kDone[] = "\\~done";

bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path) {
  return CMiscFuns::WriteIniString(section, key, value, path);
}

bool WriteHotkeyFile(const HotkeyDefinition& def, const std::string& path, const IniWriteFn& write) {
  const std::pair<const char*, int32_t> flags[] = {{"Alt", def.Alt},     {"Ctrl", def.Ctrl}, {"Shift", def.Shift},
                                                   {"Win", def.Win},     {"vk", def.vk},     {"Enable", def.Enable}};
  for (const auto& [key, value] : flags) {
    if (!write("Setting", key, std::to_string(value), path)) return false;
  }
  if (!write("Setting", "Description", text::OneLine(def.Description), path)) return false;
  for (size_t i = 0; i < def.ActionLines.size(); ++i) {
    char key[32];
    snprintf(key, sizeof key, "Action%05u", static_cast<unsigned>(i + 1));
    if (!write("Action", key, text::OneLine(def.ActionLines[i]), path)) return false;
  }
  // Flushes the profile cache so the file is complete on disk before it is moved.
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  return CMiscFuns::IsFileExist(path);
}

void DeleteFolderTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &fd));
  if (find) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteFolderTree(path);
      } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(find.get(), &fd));
  }
  find.reset();
  ::RemoveDirectoryA(folder.c_str());
}

std::vector<std::string> IniFilesIn(const std::string& folder) {
  std::vector<std::string> files = CMiscFuns::FindFiles(folder, "*.ini");
  text::SortNamesNoCase(files);
  return files;
}

// Moves every *.ini of `from` into `to`; on a failure moves the ones already moved back.
bool MoveIniFiles(const std::string& from, const std::string& to) {
  std::vector<std::string> moved;
  for (const std::string& path : IniFilesIn(from)) {
    std::string target = to + "\\" + CMiscFuns::GetFileNameFromPath(path, true);
    if (!::MoveFileA(path.c_str(), target.c_str())) {
      for (const std::string& back : moved) {
        ::MoveFileA(back.c_str(), (from + "\\" + CMiscFuns::GetFileNameFromPath(back, true)).c_str());
      }
      return false;
    }
    moved.push_back(target);
  }
  return true;
}

void DeleteIniFiles(const std::string& folder) {
  for (const std::string& path : IniFilesIn(folder)) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
  }
}

bool CreateMarker(const std::string& path) {
  FileHandle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(f);
}

}  // namespace

std::string HotkeysFolder() { return CMiscFuns::GetAppFolder() + "\\hotkeys"; }

void ListHotkeyFiles(std::vector<_HotkeyItem>& items, const std::string& folder) {
  items.clear();
  // The file system may list names in any order; the writer's zero-padded names sort back into
  // the saved order.
  for (const std::string& path : IniFilesIn(folder)) items.push_back(_HotkeyItem{path, 0, 0});
}

HotkeyDefinition ReadHotkeyFile(const std::string& path) {
  HotkeyDefinition def = ReadHotkeySettings(path);
  ReadActionLines(path, def.ActionLines);
  return def;
}

HotkeyDefinition ReadHotkeySettings(const std::string& path) {
  HotkeyDefinition def;
  def.Alt = CMiscFuns::GetIniInt("Setting", "Alt", 0, path);
  def.Ctrl = CMiscFuns::GetIniInt("Setting", "Ctrl", 0, path);
  def.Shift = CMiscFuns::GetIniInt("Setting", "Shift", 0, path);
  def.Win = CMiscFuns::GetIniInt("Setting", "Win", 0, path);
  def.vk = CMiscFuns::GetIniInt("Setting", "vk", 0, path);
  def.Enable = CMiscFuns::GetIniInt("Setting", "Enable", 0, path);
  def.Description = CMiscFuns::GetIniString("Setting", "Description", "", path);
  NormalizeHotkeyDefinition(def);
  return def;
}

void ReadActionLines(const std::string& path, std::vector<std::string>& lines) {
  // A section that fills the buffer was cut (the call returns size - 2): read it again with a
  // larger one, so a later save cannot drop the tail.
  std::vector<char> buf;
  DWORD size = kActionBuffer, n = 0;
  for (;;) {
    buf.assign(size, '\0');
    n = ::GetPrivateProfileSectionA("Action", buf.data(), size, path.c_str());
    if (n + 2 < size || size >= kMaxActionBuffer) break;
    size *= 4;
  }
  std::vector<std::string> entries = text::SplitNulList(buf.data(), std::min<size_t>(n + 1, buf.size()));
  std::vector<std::string> found =
      ActionLinesFromEntries(entries, [](unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; });
  lines.insert(lines.end(), found.begin(), found.end());
}

bool WriteAllHotkeyFiles(const std::vector<HotkeyDefinition>& hotkeys, const std::string& folder,
                         const IniWriteFn& write) {
  RecoverInterruptedHotkeySave(folder);
  if (!CMiscFuns::IsFolderExist(folder)) return false;
  const IniWriteFn& writer = write ? write : IniWriteFn(WriteProfile);
  const std::string staging = StagingFolder(folder), backup = BackupFolder(folder);

  // 1. The new set, complete, beside the folder.
  DeleteFolderTree(staging);
  if (!::CreateDirectoryA(staging.c_str(), nullptr)) return false;
  std::vector<std::string> names;
  for (size_t i = 0; i < hotkeys.size(); ++i) {
    names.push_back(HotkeyFileName(static_cast<int>(i + 1)));
    if (!WriteHotkeyFile(hotkeys[i], staging + "\\" + names.back(), writer)) {
      DeleteFolderTree(staging);
      return false;
    }
  }

  // 2. The old files out of the way, kept until the new ones are in.
  DeleteFolderTree(backup);
  if (!::CreateDirectoryA(backup.c_str(), nullptr) || !MoveIniFiles(folder, backup) ||
      !CreateMarker(backup + kCommitting)) {
    MoveIniFiles(backup, folder);
    DeleteFolderTree(backup);
    DeleteFolderTree(staging);
    return false;
  }

  // 3. The new files in; a failure puts the old set back.
  for (const std::string& name : names) {
    if (!::MoveFileA((staging + "\\" + name).c_str(), (folder + "\\" + name).c_str())) {
      DeleteIniFiles(folder);
      MoveIniFiles(backup, folder);
      DeleteFolderTree(backup);
      DeleteFolderTree(staging);
      return false;
    }
  }
  ::MoveFileA((backup + kCommitting).c_str(), (backup + kDone).c_str());
  DeleteFolderTree(backup);
  DeleteFolderTree(staging);
  return true;
}

void RecoverInterruptedHotkeySave(const std::string& folder) {
  const std::string staging = StagingFolder(folder), backup = BackupFolder(folder);
  if (CMiscFuns::IsFolderExist(backup)) {
    bool newSetComplete = CMiscFuns::IsFileExist(backup + kDone);
    bool moving = CMiscFuns::IsFileExist(backup + kCommitting);
    if (!newSetComplete) {
      // Cut off while the new files went in: they are an incomplete set, the old one comes back.
      if (moving) DeleteIniFiles(folder);
      if (!CMiscFuns::IsFolderExist(folder)) ::CreateDirectoryA(folder.c_str(), nullptr);
      MoveIniFiles(backup, folder);
    }
    // Only an emptied backup goes: a file that could not be moved back stays where it is.
    if (newSetComplete || IniFilesIn(backup).empty()) DeleteFolderTree(backup);
  }
  if (CMiscFuns::IsFolderExist(staging)) DeleteFolderTree(staging);
}
