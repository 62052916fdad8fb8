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

CSharedMemory::Result CSharedMemory::Create(const char* name, DWORD size) {
  Close();
  // One call both probes and claims the name, so two openers cannot both see it free.
  HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
  DWORD error = ::GetLastError();
  KernelHandle owned(mapping);
  if (!owned) return Result::Failed;
  if (error == ERROR_ALREADY_EXISTS) return Result::AlreadyExists;
  MappedView view(::MapViewOfFile(owned.get(), FILE_MAP_WRITE, 0, 0, 0));
  if (view && size >= sizeof(DWORD)) *static_cast<volatile DWORD*>(view.get()) = 0;
  m_mapping = std::move(owned);
  m_view = std::move(view);
  return Result::Created;
}

void CSharedMemory::Close() {
  m_view.reset();
  m_mapping.reset();
}
