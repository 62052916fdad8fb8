#include "tests/support/programfolder.h"

#include <string>

ProgramFolder::ProgramFolder(const char* language) {
  MakeFolder(dir / "language");
  for (const char* file : {"English.txt", "Deutsch.txt"}) {
    WriteFileBytes(dir / (std::string("language\\") + file),
                   ReadFileBytes(std::string(QUORVEL_PROGRAM_DIR) + "\\language\\" + file));
  }
  if (language) WriteFileBytes(dir / "Settings.ini", std::string("[Settings]\r\nLanguageFile=") + language + "\r\n");
  Reload();
}

ProgramFolder::~ProgramFolder() { SetGlobalPaths(saved); }

void ProgramFolder::Reload() const { SetGlobalPaths(BuildGlobalPaths(dir.path())); }
