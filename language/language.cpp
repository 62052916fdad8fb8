#include "language/language.h"

#include "include/GlobalData.h"
#include "include/miscfuns.h"

namespace {

constexpr DWORD kTextBuffer = 65535;

std::string ReadText(const std::string& key, const std::string& file) {
  if (file.empty()) return {};
  std::string buf(kTextBuffer, '\0');
  DWORD n = ::GetPrivateProfileStringA("String", key.c_str(), "", &buf[0], kTextBuffer, file.c_str());
  buf.resize(n);
  return buf;
}

void TranslateOne(HWND hwnd) {
  int len = ::IsWindow(hwnd) ? ::GetWindowTextLengthA(hwnd) : 0;
  if (len <= 0) return;
  std::string current(static_cast<size_t>(len) + 1, '\0');
  current.resize(static_cast<size_t>(::GetWindowTextA(hwnd, &current[0], len + 1)));
  if (current.empty()) return;
  std::string translated = GetLanguageText(current, true);
  if (!translated.empty()) ::SetWindowTextA(hwnd, translated.c_str());
}

BOOL CALLBACK TranslateChild(HWND hwnd, LPARAM) {
  TranslateOne(hwnd);
  return TRUE;
}

}  // namespace

std::string GetLanguageText(const std::string& key, bool unescape) {
  std::string value = ReadText(key, Paths().selectedLanguage);
  if (value.empty()) value = ReadText(key, Paths().defaultLanguage);
  if (value.empty()) return key;
  return unescape ? lang::Unescape(value) : value;
}

std::string FormatLanguageText(const std::string& key, const std::vector<lang::FormatArg>& args) {
  std::string out;
  for (const std::string* file : {&Paths().selectedLanguage, &Paths().defaultLanguage}) {
    std::string value = ReadText(key, *file);
    if (!value.empty() && lang::FormatChecked(lang::Unescape(value), args, out)) return out;
  }
  return key;
}

void TranslateWindow(HWND window) {
  TranslateOne(window);
  if (::IsWindow(window)) ::EnumChildWindows(window, TranslateChild, 0);
}

std::vector<std::pair<std::string, std::string>> ListLanguageFiles() {
  return ListLanguageFilesIn(CMiscFuns::GetAppFolder() + "\\language");
}

std::vector<std::pair<std::string, std::string>> ListLanguageFilesIn(const std::string& languageFolder) {
  std::vector<std::pair<std::string, std::string>> list;
  for (const std::string& path : CMiscFuns::FindFiles(languageFolder, "*")) {
    list.emplace_back(CMiscFuns::GetFileNameFromPath(path, false), CMiscFuns::GetFileNameFromPath(path, true));
  }
  return list;
}
