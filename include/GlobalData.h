// Process-wide paths, fixed once at start-up before anything else runs.
#pragma once

#include <string>

#include "include/handles.h"

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
// Held by the open shutdown dialog, whichever process shows it.
constexpr const char kShutdownDialogMarker[] = "{698B0FB2-BD0A-4476-B9C0-9C64864D49C9}";
}  // namespace names

// Window messages of the program.
constexpr unsigned kMsgTrayNotify = 3941;
constexpr unsigned kMsgVolumeNotify = 3942;
constexpr unsigned kMsgSelectorShow = 3943;
constexpr unsigned kMsgShowRequest = 3944;

// A named, page-file-backed shared-memory block that marks "one of these is open" across processes.
class CSharedMemory {
 public:
  enum class Result { Created, AlreadyExists, Failed };

  CSharedMemory() = default;
  CSharedMemory(const CSharedMemory&) = delete;
  CSharedMemory& operator=(const CSharedMemory&) = delete;

  // Creates the block, maps it and zeroes its first four bytes. When the name exists already this
  // object keeps nothing, so the holder is not kept alive by a mere look.
  Result Create(const char* name, DWORD size);
  void Close();
  bool IsOpen() const { return static_cast<bool>(m_mapping); }

 private:
  KernelHandle m_mapping;
  MappedView m_view;
};
