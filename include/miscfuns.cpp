#include "include/miscfuns.h"

#include <shlobj.h>

#include <map>

#include "include/handles.h"
#include "include/textutil.h"

namespace {

constexpr DWORD kProfileBuffer = 65535;

using FolderFn = UINT(WINAPI*)(LPSTR, UINT);

std::string FolderFrom(FolderFn fn) {
  char buf[MAX_PATH + 1] = {};
  UINT n = fn(buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? text::WithoutTrailingBackslash(buf) : std::string();
}

UINT WINAPI TempPath(LPSTR buf, UINT size) { return ::GetTempPathA(size, buf); }

std::string ShellFolder(int csidl) {
  // Looked up at run time: shfolder.dll may be missing on old systems.
  LibraryHandle lib(::LoadLibraryA("shfolder.dll"));
  if (!lib) return {};
  using Fn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(lib.get(), "SHGetFolderPathA")));
  char buf[MAX_PATH + 1] = {};
  if (!fn || FAILED(fn(nullptr, csidl, nullptr, 0, buf))) return {};
  return text::WithoutTrailingBackslash(buf);
}

std::map<std::string, std::string> CommandMacroTable() {
  std::string windows = FolderFrom(::GetWindowsDirectoryA);
  std::map<std::string, std::string> table = {
      {"%Windows%", windows},
      {"%WindowsDirectory%", windows},
      {"%ModulePath%", CMiscFuns::GetAppFolder()},
      {"%SystemDirectory%", FolderFrom(::GetSystemDirectoryA)},
      {"%TempDirectory%", FolderFrom(TempPath)},
      {"%Personal%", ShellFolder(CSIDL_PERSONAL)},
      {"%AppData%", ShellFolder(CSIDL_APPDATA)},
      {"%CommonAppData%", ShellFolder(CSIDL_COMMON_APPDATA)},
      {"%LocalAppData%", ShellFolder(CSIDL_LOCAL_APPDATA)},
  };
  for (auto it = table.begin(); it != table.end();) it = it->second.empty() ? table.erase(it) : std::next(it);
  return table;
}

std::map<std::string, std::string> EnvironmentTable() {
  std::map<std::string, std::string> table;
  char* block = ::GetEnvironmentStringsA();
  if (!block) return table;
  for (const char* p = block; *p; p += std::char_traits<char>::length(p) + 1) {
    std::string entry = p;
    size_t eq = entry.find('=');
    // Exactly two non-empty parts: "=C:=C:\dir" (drive entries) and "A=b=c" are skipped.
    if (eq == 0 || eq == std::string::npos || eq + 1 == entry.size() ||
        entry.find('=', eq + 1) != std::string::npos)
      continue;
    table["%" + entry.substr(0, eq) + "%"] = text::WithoutTrailingBackslash(entry.substr(eq + 1));
  }
  ::FreeEnvironmentStringsA(block);
  return table;
}

// One replacement per entry, in the table's order: expand finds the macro, collapse the folder.
std::string ApplyMacroTable(std::string s, const std::map<std::string, std::string>& table, MacroDirection dir) {
  for (const auto& [macro, folder] : table) {
    const std::string& from = dir == MacroDirection::Expand ? macro : folder;
    const std::string& to = dir == MacroDirection::Expand ? folder : macro;
    s = text::ReplaceFirstFound(s, CMiscFuns::Lower(s), CMiscFuns::Lower(from), to);
  }
  return s;
}

BOOL CALLBACK MatchChildByClass(HWND hwnd, LPARAM param);

bool ClassMatches(HWND hwnd, const std::string& lowered) {
  if (!::IsWindow(hwnd)) return false;
  char name[512] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return CMiscFuns::Lower(name) == lowered;
}

struct ClassSearch {
  std::string lowered;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChildByClass(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (ClassMatches(hwnd, search->lowered)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK MatchTopLevelByClass(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (ClassMatches(hwnd, search->lowered)) {
    search->found = hwnd;
    return FALSE;
  }
  ::EnumChildWindows(hwnd, MatchChildByClass, param);
  return search->found ? FALSE : TRUE;
}

}  // namespace

std::string CMiscFuns::GetModulePath(HMODULE module) {
  // Grows past MAX_PATH: a cut path would give a wrong folder for every data file.
  std::string buf(MAX_PATH, '\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameA(module, &buf[0], static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);
  }
}

std::string CMiscFuns::GetAppFolder() { return text::FolderFromModulePath(GetModulePath()); }

std::vector<std::string> CMiscFuns::GetIniSection(const std::string& section, const std::string& iniPath,
                                                 DWORD firstSize, DWORD maxSize) {
  // A section that fills the buffer was cut (the call returns size - 2): read it again with a
  // larger one, so that no caller works on (or writes back) a section without its tail.
  std::vector<char> buf;
  DWORD size = firstSize, n = 0;
  for (;;) {
    buf.assign(size, '\0');
    n = ::GetPrivateProfileSectionA(section.c_str(), buf.data(), size, iniPath.c_str());
    if (n + 2 < size || size >= maxSize) break;
    size *= 4;
  }
  return text::SplitNulList(buf.data(), std::min<size_t>(n + 1, buf.size()));
}

std::string CMiscFuns::GetIniString(const std::string& section, const std::string& key, const std::string& def,
                                    const std::string& iniPath) {
  std::string buf(kProfileBuffer, '\0');
  DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), &buf[0], kProfileBuffer,
                                       iniPath.c_str());
  buf.resize(n);
  // Only the first macro kind that occurs is expanded, in this order.
  const std::pair<const char*, std::string (*)()> macros[] = {
      {"%module_path%", [] { return GetAppFolder(); }},
      {"%window_path%", [] { return FolderFrom(::GetWindowsDirectoryA); }},
      {"%system_path%", [] { return FolderFrom(::GetSystemDirectoryA); }},
      {"%temp_path%", [] { return FolderFrom(TempPath); }},
  };
  for (const auto& [macro, folder] : macros) {
    if (buf.find(macro) != std::string::npos) return text::ReplaceAll(buf, macro, folder());
  }
  return buf;
}

int CMiscFuns::GetIniInt(const std::string& section, const std::string& key, int def, const std::string& iniPath) {
  return static_cast<int>(::GetPrivateProfileIntA(section.c_str(), key.c_str(), def, iniPath.c_str()));
}

bool CMiscFuns::WriteIniInt(const std::string& section, const std::string& key, long value,
                            const std::string& iniPath) {
  return WriteIniString(section, key, std::to_string(value), iniPath);
}

bool CMiscFuns::WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& iniPath) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), iniPath.c_str()) != FALSE;
}

std::string CMiscFuns::ExpandPathMacros(const std::string& text, MacroDirection direction) {
  return ApplyMacroTable(text, CommandMacroTable(), direction);
}

std::string CMiscFuns::ExpandEnvironmentMacros(const std::string& text, MacroDirection direction) {
  return ApplyMacroTable(text, EnvironmentTable(), direction);
}

std::vector<std::string> CMiscFuns::FindFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA fd;
  FindHandle find(::FindFirstFileA((folder + "\\*.*").c_str(), &fd));
  if (!find) return files;
  std::string loweredPattern = Lower(pattern);
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (text::WildcardMatch(Lower(fd.cFileName), loweredPattern)) files.push_back(folder + "\\" + fd.cFileName);
  } while (::FindNextFileA(find.get(), &fd));
  return files;
}

bool CMiscFuns::IsFileExist(const std::string& path) {
  WIN32_FIND_DATAA fd;
  FindHandle find(::FindFirstFileA(path.c_str(), &fd));
  return find && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CMiscFuns::IsFolderExist(const std::string& path) {
  DWORD attr = ::GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CMiscFuns::GetFileNameFromPath(const std::string& path, bool keepExtension) {
  return text::FileNameFromPath(path, keepExtension);
}

namespace {

std::vector<char> ReadVersionBlock(const std::string& file) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return {};
  return block;
}

// `block` is the caller's own copy: the ANSI query may convert texts into the block's spare room.
std::string QueryVersionString(std::vector<char> block, const std::string& key) {
  if (block.empty()) return {};
  struct LangCodePage {
    WORD language, codePage;
  }* translation = nullptr;
  UINT len = 0;
  if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &len) ||
      len < sizeof(LangCodePage))
    return {};
  char sub[128];
  snprintf(sub, sizeof sub, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
           key.substr(0, 64).c_str());
  char* value = nullptr;
  if (!::VerQueryValueA(block.data(), sub, reinterpret_cast<void**>(&value), &len) || !value || len == 0) return {};
  return std::string(value, strnlen(value, len));
}

}  // namespace

std::string CMiscFuns::GetVersionString(const std::string& key, const std::string& file) {
  return QueryVersionString(ReadVersionBlock(file), key);
}

std::string CMiscFuns::GetOwnVersionString(const std::string& key) {
  // The running program's file does not change under it: its version block is read once.
  static const std::vector<char> own = ReadVersionBlock(GetModulePath());
  return QueryVersionString(own, key);
}

std::string CMiscFuns::NewGuidText() {
  ComScope com;
  GUID g = {};
  if (FAILED(::CoCreateGuid(&g))) return {};
  return text::FormatGuidText(g.Data1, g.Data2, g.Data3, g.Data4);
}

std::string CMiscFuns::Lower(std::string s) {
  if (!s.empty()) ::CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

HWND CMiscFuns::FindWindowByClass(const std::string& className) {
  ClassSearch search{Lower(className)};
  ::EnumWindows(MatchTopLevelByClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool CMiscFuns::RegisterWindowClassOnce(const char* name, WNDPROC proc, UINT style) {
  HINSTANCE instance = ModuleInstance();
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExA(instance, name, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  return ::RegisterClassExA(&wc) != 0;
}
