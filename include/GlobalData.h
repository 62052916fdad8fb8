// Process-wide paths, fixed once at start-up before anything else runs.
#pragma once

#include <string>

struct GlobalPaths {
  std::string tmpIni;            // application folder + "\Tmp.ini"
  std::string settingsIni;       // application folder + "\Settings.ini"
  std::string selectedLanguage;  // application folder + "\language\" + LanguageFile
  std::string defaultLanguage;   // application folder + "\language\English.txt"
};

// Builds every path from the application folder and the LanguageFile setting.
void InitGlobalPaths();
// The same for a given folder; start-up and tests share it.
GlobalPaths BuildGlobalPaths(const std::string& appFolder);
void SetGlobalPaths(const GlobalPaths& paths);
const GlobalPaths& Paths();

// Names and numbers other programs (and earlier versions of this one) rely on.
namespace names {
constexpr const char kInstanceMutex[] = "{DBB9B4F9-B437-4844-97D0-6D9823F3A3DF}";
constexpr const char kInstanceWindowClass[] = "{EDC09414-B40C-401B-812C-D184762F27B7}";
constexpr const char kSettingsSection[] = "Settings";
}  // namespace names

// Window messages of the program.
constexpr unsigned kMsgTrayNotify = 3941;
constexpr unsigned kMsgVolumeNotify = 3942;
constexpr unsigned kMsgSelectorShow = 3943;
constexpr unsigned kMsgShowRequest = 3944;
