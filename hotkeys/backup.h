// Export and import of backup files (*.hkb): all hotkeys and the predefined texts in one file.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "hotkeys/hotkeyfiles.h"

// Asks for a file name (save dialog) and writes the backup; reports success or failure itself.
void ExportHotkeysInteractive(HWND owner);
// Asks for a file, validates and imports it; reports itself; true when the hotkeys and texts were
// replaced. After a good import `imported` runs before the message is shown (the caller registers
// the new hotkeys there), so no press during the message finds the old registrations.
bool ImportHotkeysInteractive(HWND owner, const std::function<void()>& imported);

enum class BackupResult {
  Done,
  NotABackup,   // missing, unreadable, not XML, no hotkeys or texts, values beyond the limits
  NoDocument,   // no document could be created
  WriteFailed,  // nothing was changed on disk (import) or no file was written (export), also when
                // the text file is there but does not read as a store
};

struct BackupLocations {
  std::string hotkeysFolder;
  std::string dataXmlPath;
};
// The program's own: application folder + "\hotkeys" and + "\predefinedtext\data.xml".
BackupLocations DefaultBackupLocations();

// Writes what is on disk now into `path`. An existing file is replaced only by a complete one.
// A missing text file gives an empty text list; one that cannot be read as a store fails.
BackupResult ExportBackup(const std::string& path, const BackupLocations& where = DefaultBackupLocations());

// The points of an import after which the files stand in a state of their own: should the
// program stop right there, RecoverInterruptedImport puts both sets back together.
enum class ImportStep {
  TextsAside,      // the new texts complete beside the old ones
  Journal,         // the journal written
  TextsSwapped,    // the new texts in place, the old ones aside
  HotkeysSwapped,  // the new hotkeys in place, the journal still there
};
// Told of each step as the import passes it.
using ImportStepObserver = std::function<void(ImportStep)>;

// Replaces all hotkey files and the predefined text file by the backup's content: the whole file
// is checked first, both new sets are written aside, and only then swapped in. On any failure
// both old sets stay exactly as they were. `write` may replace the INI writer (tests).
// Should some old hotkey file not go back after a failed write, `keptOldHotkeys` names the folder
// that keeps it (see WriteAllHotkeyFiles); the texts are the old ones then. `move` may replace
// the file mover (tests).
BackupResult ImportBackup(const std::string& path, const BackupLocations& where = DefaultBackupLocations(),
                          const IniWriteFn& write = nullptr, const FileMoveFn& move = nullptr,
                          std::string* keptOldHotkeys = nullptr, const ImportStepObserver& passed = nullptr);

// Finishes or undoes an import that was cut off (crash, power loss), so hotkeys and texts are
// both old or both new; a hotkey save cut off is put right before (RecoverInterruptedHotkeySave).
// Call at start-up; export and import call it themselves first.
void RecoverInterruptedImport(const BackupLocations& where = DefaultBackupLocations());

// The interactive commands against other places, and their prompts replaced (tests). A null
// member keeps the real file dialog or message box.
struct BackupPrompts {
  // True with a path; false when the user cancelled.
  std::function<bool(HWND owner, bool save, std::string& path)> chooseFile;
  std::function<void(HWND owner, const std::string& text, UINT icon)> showMessage;
};
void ExportHotkeysInteractive(HWND owner, const BackupLocations& where, const BackupPrompts& prompts);
bool ImportHotkeysInteractive(HWND owner, const BackupLocations& where, const BackupPrompts& prompts,
                              const std::function<void()>& imported = nullptr);
