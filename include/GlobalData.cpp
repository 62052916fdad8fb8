#include "include/GlobalData.h"

#include "include/miscfuns.h"

namespace {
GlobalPaths g_paths;
}

GlobalPaths BuildGlobalPaths(const std::string& appFolder) {
  GlobalPaths p;
  p.tmpIni = appFolder + "\\Tmp.ini";
  p.settingsIni = appFolder + "\\Settings.ini";
  std::string languageFile = CMiscFuns::GetIniString(names::kSettingsSection, "LanguageFile", "", p.settingsIni);
  p.selectedLanguage = appFolder + "\\language\\" + languageFile;
  p.defaultLanguage = appFolder + "\\language\\English.txt";
  return p;
}

void InitGlobalPaths() { g_paths = BuildGlobalPaths(CMiscFuns::GetAppFolder()); }

void SetGlobalPaths(const GlobalPaths& paths) { g_paths = paths; }

const GlobalPaths& Paths() { return g_paths; }
