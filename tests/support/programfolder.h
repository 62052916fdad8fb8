// A program folder of its own for a test, with the program's paths pointed into it.
#pragma once

#include "include/GlobalData.h"
#include "tests/support/files.h"

// The shipped language files and a Settings.ini choosing `language` (none when null); the
// program's paths point into the folder for the scope and are put back at its end.
struct ProgramFolder {
  TempDir dir;
  GlobalPaths saved = Paths();
  explicit ProgramFolder(const char* language = "English.txt");
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  ~ProgramFolder();
  // Points the program's paths at the folder again, after the test rewrote its settings.
  void Reload() const;
};
