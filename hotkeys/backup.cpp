#include "hotkeys/backup.h"

#include <commdlg.h>

#include <cinttypes>
#include <cstdio>
#include <new>
#include <vector>

#include "hotkeys/backupformat.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "include/systemdlls.h"
#include "include/wholefile.h"
#include "include/xml.h"
#include "language/language.h"
#include "predefinedtext/textstore.h"

namespace {

// Beside the predefined text file while an import runs: the new texts, complete, wait in
// ".~import"; the old ones wait in ".~prev" until the new hotkeys are in. The journal records what
// the hotkey set looked like before, so a later start can tell whether the hotkeys were swapped.
struct ImportFiles {
  std::string newTexts, oldTexts, journal, journalTemporary;
  explicit ImportFiles(const std::string& data)
      : newTexts(data + ".~import"), oldTexts(data + ".~prev"), journal(data + ".~journal"),
        journalTemporary(data + ".~journal.tmp") {}
};

void RemoveFile(const std::string& path) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

uint64_t HotkeySetDigest(const std::string& folder) {
  std::vector<_HotkeyItem> items;
  ListHotkeyFiles(items, folder);
  std::vector<std::pair<std::string, std::string>> files;
  for (const _HotkeyItem& item : items) {
    std::string bytes;
    wholefile::Read(item.path, bytes);
    files.emplace_back(CMiscFuns::Lower(CMiscFuns::GetFileNameFromPath(item.path, true)), std::move(bytes));
  }
  return backup::FilesDigest(files);
}

struct Journal {
  uint64_t digest = 0;
  bool hadTexts = false;
};

std::string FormatJournal(const Journal& journal) {
  char text[96];
  snprintf(text, sizeof text, "digest=%016" PRIx64 "\r\nhadTexts=%d\r\n", journal.digest, journal.hadTexts ? 1 : 0);
  return text;
}

bool ParseJournal(const std::string& text, Journal& journal) {
  unsigned long long digest = 0;
  int hadTexts = 0;
  if (sscanf(text.c_str(), "digest=%16llx hadTexts=%d", &digest, &hadTexts) != 2) return false;
  journal.digest = digest;
  journal.hadTexts = hadTexts != 0;
  return true;
}

// Puts the old texts back in place of the new ones. False when they could not be moved back.
bool RestoreOldTexts(const std::string& data, const ImportFiles& files, bool hadTexts) {
  if (!hadTexts) {
    RemoveFile(data);
    return !CMiscFuns::IsFileExist(data);
  }
  if (!CMiscFuns::IsFileExist(files.oldTexts)) return true;  // never moved aside: still in place
  RemoveFile(data);
  return ::MoveFileA(files.oldTexts.c_str(), data.c_str()) != FALSE;
}

std::string Caption() { return CMiscFuns::GetOwnVersionString("ProductName"); }

bool ChooseBackupFile(HWND owner, bool save, std::string& path) {
  static const char kFilter[] = "Backup Files(*.hkb)\0*.hkb\0All Files(*.*)\0*.*\0";
  std::vector<char> name(32768, '\0');
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrDefExt = "hkb";
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : 0);
  BOOL chosen = save ? ShowSaveFileDialog(&ofn) : ShowOpenFileDialog(&ofn);
  if (!chosen) return false;
  path = name.data();
  return !path.empty();
}

void ShowBackupMessage(HWND owner, const std::string& text, UINT icon) {
  ::MessageBoxA(owner, text.c_str(), Caption().c_str(), MB_OK | icon);
}

bool Choose(const BackupPrompts& prompts, HWND owner, bool save, std::string& path) {
  return prompts.chooseFile ? prompts.chooseFile(owner, save, path) : ChooseBackupFile(owner, save, path);
}

void ShowText(const BackupPrompts& prompts, HWND owner, const std::string& text, UINT icon) {
  if (prompts.showMessage) {
    prompts.showMessage(owner, text, icon);
  } else {
    ShowBackupMessage(owner, text, icon);
  }
}

void Show(const BackupPrompts& prompts, HWND owner, const char* key, UINT icon) {
  ShowText(prompts, owner, GetLanguageText(key), icon);
}

}  // namespace

BackupLocations DefaultBackupLocations() { return {HotkeysFolder(), PredefinedTextPath()}; }

BackupResult ExportBackup(const std::string& path, const BackupLocations& where) {
  RecoverInterruptedImport(where);
  std::vector<_HotkeyItem> items;
  ListHotkeyFiles(items, where.hotkeysFolder);
  std::vector<backup::StoredHotkey> hotkeys;
  for (const _HotkeyItem& item : items) {
    // As the file holds them, defaults for what is missing; not normalised to numbers.
    backup::StoredHotkey h;
    h.Alt = CMiscFuns::GetIniString("Setting", "Alt", "0", item.path);
    h.Ctrl = CMiscFuns::GetIniString("Setting", "Ctrl", "0", item.path);
    h.Shift = CMiscFuns::GetIniString("Setting", "Shift", "0", item.path);
    h.Win = CMiscFuns::GetIniString("Setting", "Win", "0", item.path);
    h.vk = CMiscFuns::GetIniString("Setting", "vk", "0", item.path);
    h.Enable = CMiscFuns::GetIniString("Setting", "Enable", "0", item.path);
    h.Description = CMiscFuns::GetIniString("Setting", "Description", "", item.path);
    ReadActionLines(item.path, h.ActionLines);
    hotkeys.push_back(std::move(h));
  }

  // Without a text file the backup holds an empty CannedResponds. A file that is there but does
  // not read as a store (in use, unreadable, damaged) fails the export instead: its backup would
  // carry no texts, and importing it later would empty the user's texts without a word.
  CXmlDocument texts;
  xml::NodePtr config;
  if (CMiscFuns::IsFileExist(where.dataXmlPath)) {
    if (!texts.Load(where.dataXmlPath) || texts.SelectSingleNode(texts.m_pDoc, "config", config) != XML_S_OK ||
        !config) {
      return BackupResult::WriteFailed;
    }
  }

  xml::NodePtr document = backup::BuildBackupDocument(hotkeys, config.get());
  if (!document) return BackupResult::NoDocument;
  return xml::SaveDocument(*document, path) == XML_S_OK ? BackupResult::Done : BackupResult::WriteFailed;
}

BackupResult ImportBackup(const std::string& path, const BackupLocations& where, const IniWriteFn& write,
                          const FileMoveFn& move, std::string* keptOldHotkeys, const ImportStepObserver& passed) {
  if (keptOldHotkeys) keptOldHotkeys->clear();
  RecoverInterruptedImport(where);
  auto tell = [&passed](ImportStep step) {
    if (passed) passed(step);
  };

  // 1. The whole backup is read and checked before anything is written.
  backup::BackupContent content;
  {
    xml::NodePtr document = xml::LoadDocument(path);
    if (!document || !backup::ReadBackupDocument(*document, content)) return BackupResult::NotABackup;
  }
  if (!CMiscFuns::IsFolderExist(where.hotkeysFolder)) return BackupResult::WriteFailed;

  const std::string& data = where.dataXmlPath;
  const ImportFiles files(data);

  // 2. The new texts, complete on disk, beside the old ones.
  if (!wholefile::Write(files.newTexts, content.textsFile)) {
    RemoveFile(files.newTexts);
    return BackupResult::WriteFailed;
  }
  tell(ImportStep::TextsAside);

  // 3. The journal: from here on a cut-off import is put right by RecoverInterruptedImport.
  Journal journal;
  journal.hadTexts = CMiscFuns::IsFileExist(data);
  journal.digest = HotkeySetDigest(where.hotkeysFolder);
  if (!wholefile::Write(files.journalTemporary, FormatJournal(journal)) ||
      !::MoveFileA(files.journalTemporary.c_str(), files.journal.c_str())) {
    RemoveFile(files.journalTemporary);
    RemoveFile(files.newTexts);
    return BackupResult::WriteFailed;
  }
  tell(ImportStep::Journal);

  // Both old sets back, if it can be done; else the journal stays for the next start.
  auto undoTexts = [&] {
    if (RestoreOldTexts(data, files, journal.hadTexts)) {
      RemoveFile(files.newTexts);
      RemoveFile(files.journal);
    }
    return BackupResult::WriteFailed;
  };

  // 4. The new texts in; the old ones wait aside.
  if (journal.hadTexts && !::MoveFileA(data.c_str(), files.oldTexts.c_str())) return undoTexts();
  if (!::MoveFileA(files.newTexts.c_str(), data.c_str())) return undoTexts();
  tell(ImportStep::TextsSwapped);

  // 5. The new hotkeys in; the writer puts the old set back itself when it fails.
  if (!WriteAllHotkeyFiles(content.hotkeys, where.hotkeysFolder, write, move, keptOldHotkeys)) return undoTexts();
  tell(ImportStep::HotkeysSwapped);

  // 6. Done: without the journal the new state stands; the old texts go.
  RemoveFile(files.journal);
  RemoveFile(files.oldTexts);
  return BackupResult::Done;
}

void RecoverInterruptedImport(const BackupLocations& where) {
  RecoverInterruptedHotkeySave(where.hotkeysFolder);
  const std::string& data = where.dataXmlPath;
  const ImportFiles files(data);
  RemoveFile(files.journalTemporary);

  std::string text;
  Journal journal;
  if (CMiscFuns::IsFileExist(files.journal) && wholefile::Read(files.journal, text) && ParseJournal(text, journal)) {
    if (HotkeySetDigest(where.hotkeysFolder) == journal.digest) {
      // The hotkeys are the old ones (or the new ones are the same bytes): the texts go back too.
      if (!RestoreOldTexts(data, files, journal.hadTexts)) return;  // tried again at the next start
    } else if (!CMiscFuns::IsFileExist(data) && CMiscFuns::IsFileExist(files.newTexts)) {
      ::MoveFileA(files.newTexts.c_str(), data.c_str());
    }
  } else if (CMiscFuns::IsFileExist(files.oldTexts) && !CMiscFuns::IsFileExist(data)) {
    // No usable journal: an import that never got far; the old texts go back to their place.
    ::MoveFileA(files.oldTexts.c_str(), data.c_str());
  }
  RemoveFile(files.newTexts);
  RemoveFile(files.oldTexts);
  RemoveFile(files.journal);
}

void ExportHotkeysInteractive(HWND owner, const BackupLocations& where, const BackupPrompts& prompts) {
  std::string path;
  if (!Choose(prompts, owner, true, path)) return;
  BackupResult result = BackupResult::WriteFailed;
  try {
    result = ExportBackup(path, where);
  } catch (const std::bad_alloc&) {
    result = BackupResult::WriteFailed;
  }
  if (result == BackupResult::Done) {
    Show(prompts, owner, "L0118", MB_ICONINFORMATION);
  } else {
    Show(prompts, owner, "L0198", MB_ICONERROR);
  }
}

bool ImportHotkeysInteractive(HWND owner, const BackupLocations& where, const BackupPrompts& prompts,
                              const std::function<void()>& imported) {
  std::string path;
  if (!Choose(prompts, owner, false, path)) return false;
  BackupResult result = BackupResult::WriteFailed;
  std::string kept;
  try {
    result = ImportBackup(path, where, nullptr, nullptr, &kept);
  } catch (const std::bad_alloc&) {
    // Whatever was under way is put right: both old sets, or both new ones.
    RecoverInterruptedImport(where);
    result = BackupResult::WriteFailed;
  }
  switch (result) {
    case BackupResult::Done:
      // The message box runs a message loop: the new hotkeys must be the registered ones by then.
      if (imported) imported();
      Show(prompts, owner, "L0121", MB_ICONINFORMATION);
      return true;
    case BackupResult::NotABackup:
      Show(prompts, owner, "L0120", MB_ICONERROR);
      return false;
    case BackupResult::NoDocument:
      Show(prompts, owner, "L0119", MB_ICONERROR);
      return false;
    case BackupResult::WriteFailed:
      break;
  }
  if (!kept.empty()) {
    // Not "nothing changed": the user has to know where the old hotkey files wait.
    ShowText(prompts, owner, FormatLanguageText("L0200", {lang::FormatArg::Str(kept)}), MB_ICONERROR);
    return false;
  }
  Show(prompts, owner, "L0199", MB_ICONERROR);
  return false;
}

void ExportHotkeysInteractive(HWND owner) { ExportHotkeysInteractive(owner, DefaultBackupLocations(), {}); }

bool ImportHotkeysInteractive(HWND owner, const std::function<void()>& imported) {
  return ImportHotkeysInteractive(owner, DefaultBackupLocations(), {}, imported);
}
