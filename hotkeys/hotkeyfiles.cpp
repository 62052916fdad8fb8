#include "hotkeys/hotkeyfiles.h"

#include <windows.h>

#include "include/handles.h"
#include "include/miscfuns.h"
#include "include/textutil.h"

namespace {

constexpr DWORD kActionBuffer = 32333;
constexpr DWORD kMaxActionBuffer = 64u << 20;

// Beside the hotkeys folder while a save runs: the new set is written into a staging folder; the
// old files wait in a backup folder until the new ones are all in place. Their names carry a fresh
// unique part, so no folder of the user's is ever in the way, and each holds a marker naming its
// role: only a folder with this name pattern and its marker is taken for one of ours. The markers
// kCommitting and kDone in the backup tell a later start how far a save got.
constexpr const char kScratchInfix[] = ".~save-";
constexpr const char kStagingRole[] = "new";
constexpr const char kBackupRole[] = "old";
constexpr const char kOwnMarker[] = "\\~quorvel-hotkey-save";
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

// Moves every *.ini of `from` into `to`; on a failure the ones already moved go back, as far
// as they can (false then).
bool MoveIniFiles(const std::string& from, const std::string& to, const FileMoveFn& move) {
  std::vector<std::string> moved;
  for (const std::string& path : IniFilesIn(from)) {
    std::string target = to + "\\" + CMiscFuns::GetFileNameFromPath(path, true);
    if (!move(path, target)) {
      for (const std::string& back : moved) move(back, from + "\\" + CMiscFuns::GetFileNameFromPath(back, true));
      return false;
    }
    moved.push_back(target);
  }
  return true;
}

// True when none is left.
bool DeleteIniFiles(const std::string& folder) {
  for (const std::string& path : IniFilesIn(folder)) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
  }
  return IniFilesIn(folder).empty();
}

bool CreateMarker(const std::string& path, const std::string& content = "") {
  FileHandle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  DWORD written = 0;
  return content.empty() || (::WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                                         nullptr) &&
                             written == content.size());
}

std::string MarkerContent(const std::string& path) {
  FileHandle f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return {};
  char buf[16] = {};
  DWORD got = 0;
  if (!::ReadFile(f.get(), buf, sizeof buf, &got, nullptr)) return {};
  return std::string(buf, got);
}

std::string UniquePart() {
  std::string guid = CMiscFuns::NewGuidText();
  if (!guid.empty()) return guid;
  char fallback[48];
  snprintf(fallback, sizeof fallback, "%08lx-%08lx", static_cast<unsigned long>(::GetCurrentProcessId()),
           static_cast<unsigned long>(::GetTickCount()));
  return fallback;
}

std::string ScratchFolder(const std::string& folder, const std::string& unique, const char* role) {
  return folder + kScratchInfix + unique + "." + role;
}

// A scratch folder of ours: created empty, then marked with its role before anything goes in.
bool MakeScratchFolder(const std::string& path, const char* role) {
  if (!::CreateDirectoryA(path.c_str(), nullptr)) return false;
  if (CreateMarker(path + kOwnMarker, role)) return true;
  ::DeleteFileA((path + kOwnMarker).c_str());
  ::RemoveDirectoryA(path.c_str());
  return false;
}

// Our scratch folders of one role beside `folder`: the name pattern and the marker inside both
// have to match, so a folder the user made is never taken for one.
std::vector<std::string> OwnScratchFolders(const std::string& folder, const char* role) {
  std::vector<std::string> found;
  const size_t cut = folder.find_last_of('\\');
  const std::string parent = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
  const std::string prefix = CMiscFuns::Lower(CMiscFuns::GetFileNameFromPath(folder, true) + kScratchInfix);
  const std::string suffix = std::string(".") + role;
  WIN32_FIND_DATAA fd;
  FindHandle find(::FindFirstFileA((folder + kScratchInfix + "*").c_str(), &fd));
  if (!find) return found;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    const std::string name = CMiscFuns::Lower(fd.cFileName);
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
      continue;
    }
    const std::string path = parent + fd.cFileName;
    if (MarkerContent(path + kOwnMarker) == role) found.push_back(path);
  } while (::FindNextFileA(find.get(), &fd));
  text::SortNamesNoCase(found);
  return found;
}

// Moves the old files back from the backup, each one that can go; the backup goes only once it
// holds none of them any more. False when some stay there.
bool PutOldFilesBack(const std::string& backup, const std::string& folder, const FileMoveFn& move) {
  bool allBack = true;
  for (const std::string& path : IniFilesIn(backup)) {
    if (!move(path, folder + "\\" + CMiscFuns::GetFileNameFromPath(path, true))) allBack = false;
  }
  if (!allBack || !IniFilesIn(backup).empty()) return false;
  DeleteFolderTree(backup);
  return true;
}

// Undoes a save after the old files went into the backup: the new files that came in go first,
// then the old ones come back. Whatever cannot be put back stays in the backup, which is then
// kept and named in `kept`.
bool RollBack(const std::vector<std::string>& movedIn, const std::string& folder, const std::string& backup,
              const FileMoveFn& move, std::string* kept) {
  bool newGone = true;
  for (const std::string& path : movedIn) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileA(path.c_str()) && CMiscFuns::IsFileExist(path)) newGone = false;
  }
  // With a new file still in the folder, the old ones stay aside as they are: a later start
  // removes the new files (the marker says they are new) and only then brings the old ones back.
  if (newGone) {
    ::DeleteFileA((backup + kCommitting).c_str());
    if (PutOldFilesBack(backup, folder, move)) return true;
  }
  if (kept) *kept = backup;
  return false;
}

bool MoveWithSystem(const std::string& from, const std::string& to) {
  return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
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
  // Read whole, so a later save cannot drop the tail of a long list.
  std::vector<std::string> entries = CMiscFuns::GetIniSection("Action", path, kActionBuffer, kMaxActionBuffer);
  std::vector<std::string> found =
      ActionLinesFromEntries(entries, [](unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; });
  lines.insert(lines.end(), found.begin(), found.end());
}

bool WriteAllHotkeyFiles(const std::vector<HotkeyDefinition>& hotkeys, const std::string& folder,
                         const IniWriteFn& write, const FileMoveFn& move, std::string* keptOldFiles) {
  if (keptOldFiles) keptOldFiles->clear();
  const FileMoveFn& mover = move ? move : FileMoveFn(MoveWithSystem);
  RecoverInterruptedHotkeySave(folder, mover);
  if (!CMiscFuns::IsFolderExist(folder)) return false;
  const IniWriteFn& writer = write ? write : IniWriteFn(WriteProfile);
  const std::string unique = UniquePart();
  const std::string staging = ScratchFolder(folder, unique, kStagingRole);
  const std::string backup = ScratchFolder(folder, unique, kBackupRole);

  // 1. The new set, complete, beside the folder.
  if (!MakeScratchFolder(staging, kStagingRole)) return false;
  std::vector<std::string> names;
  for (size_t i = 0; i < hotkeys.size(); ++i) {
    names.push_back(HotkeyFileName(static_cast<int>(i + 1)));
    if (!WriteHotkeyFile(hotkeys[i], staging + "\\" + names.back(), writer)) {
      DeleteFolderTree(staging);
      return false;
    }
  }

  // 2. The old files out of the way, kept until the new ones are in.
  if (!MakeScratchFolder(backup, kBackupRole)) {
    DeleteFolderTree(staging);
    return false;
  }
  if (!MoveIniFiles(folder, backup, mover) || !CreateMarker(backup + kCommitting)) {
    RollBack({}, folder, backup, mover, keptOldFiles);
    DeleteFolderTree(staging);
    return false;
  }

  // 3. The new files in; a failure puts the old set back.
  std::vector<std::string> movedIn;
  for (const std::string& name : names) {
    const std::string target = folder + "\\" + name;
    if (!mover(staging + "\\" + name, target)) {
      RollBack(movedIn, folder, backup, mover, keptOldFiles);
      DeleteFolderTree(staging);
      return false;
    }
    movedIn.push_back(target);
  }
  // From here on the new set stands, even if the program stops before the backup is gone.
  mover(backup + kCommitting, backup + kDone);
  DeleteFolderTree(backup);
  DeleteFolderTree(staging);
  return true;
}

void RecoverInterruptedHotkeySave(const std::string& folder, const FileMoveFn& move) {
  const FileMoveFn& mover = move ? move : FileMoveFn(MoveWithSystem);
  for (const std::string& backup : OwnScratchFolders(folder, kBackupRole)) {
    if (CMiscFuns::IsFileExist(backup + kDone)) {
      // The new set was complete: the old files are no longer needed.
      DeleteFolderTree(backup);
      continue;
    }
    // Cut off while the new files went in: they are an incomplete set and go first; while one of
    // them stays, the old files wait where they are for the next start.
    if (CMiscFuns::IsFileExist(backup + kCommitting)) {
      if (!DeleteIniFiles(folder)) continue;
      ::DeleteFileA((backup + kCommitting).c_str());
    }
    if (!CMiscFuns::IsFolderExist(folder)) ::CreateDirectoryA(folder.c_str(), nullptr);
    // Only an emptied backup goes: a file that could not be moved back stays where it is.
    PutOldFilesBack(backup, folder, mover);
  }
  for (const std::string& staging : OwnScratchFolders(folder, kStagingRole)) DeleteFolderTree(staging);
}
