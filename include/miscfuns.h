// Small stateless services many windows share: INI values with path macros, command path macros,
// file search, version strings, GUID texts, window search.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class MacroDirection { Expand, Collapse };

class CMiscFuns {
 public:
  // The folder of the executable, without a trailing backslash.
  static std::string GetAppFolder();
  static std::string GetModulePath(HMODULE module = nullptr);
  // The executable's module: where the dialogs, icons and window classes come from.
  static HINSTANCE ModuleInstance() { return ::GetModuleHandleA(nullptr); }

  static std::string GetIniString(const std::string& section, const std::string& key, const std::string& def,
                                  const std::string& iniPath);
  // Every "key=value" entry of a section, read whole: a section that does not fit the buffer is
  // read again with a larger one, up to `maxSize` bytes.
  static std::vector<std::string> GetIniSection(const std::string& section, const std::string& iniPath,
                                                DWORD firstSize, DWORD maxSize);
  static int GetIniInt(const std::string& section, const std::string& key, int def, const std::string& iniPath);
  static bool WriteIniInt(const std::string& section, const std::string& key, long value,
                          const std::string& iniPath);
  static bool WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                             const std::string& iniPath);

  static std::string ExpandPathMacros(const std::string& text, MacroDirection direction);
  static std::string ExpandEnvironmentMacros(const std::string& text, MacroDirection direction);

  // Full paths of the files (not folders) in `folder` whose lowered names match the lowered pattern,
  // in the order the file system lists them.
  static std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern);
  static bool IsFileExist(const std::string& path);
  static bool IsFolderExist(const std::string& path);
  static std::string GetFileNameFromPath(const std::string& path, bool keepExtension);

  static std::string GetVersionString(const std::string& key, const std::string& file);
  // The running program's own version texts (its version block is read once).
  static std::string GetOwnVersionString(const std::string& key);
  static std::string NewGuidText();

  // Lowered with the code page's rules (CharLowerBuffA).
  static std::string Lower(std::string s);

  // Registers a window class of this module once: arrow cursor, the window colour as background.
  // True when the class exists afterwards.
  static bool RegisterWindowClassOnce(const char* name, WNDPROC proc, UINT style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);

  // First top-level window, or else descendant of one, whose class name equals `className`
  // without regard to case.
  static HWND FindWindowByClass(const std::string& className);
};
