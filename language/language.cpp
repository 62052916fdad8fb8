#include "language/language.h"

#include <map>

#include "include/GlobalData.h"
#include "include/codepage_win.h"
#include "include/miscfuns.h"
#include "include/textutil.h"

namespace {

constexpr DWORD kTextBuffer = 65535;

std::string ReadText(const std::string& key, const std::string& file) {
  if (file.empty()) return {};
  std::string buf(kTextBuffer, '\0');
  DWORD n = ::GetPrivateProfileStringA("String", key.c_str(), "", &buf[0], kTextBuffer, file.c_str());
  buf.resize(n);
  return buf;
}

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The selected file's text when it asks for exactly what the caller passes (or less), else the
// default file's, else the key. read(file) gives the raw value of file 0 (selected) or 1 (default).
template <typename Read>
std::string FirstFormatted(Read read, const std::string& key, const std::vector<lang::FormatArg>& args) {
  std::string out;
  for (int file : {0, 1}) {
    std::string value = read(file);
    if (!value.empty() && lang::FormatChecked(lang::Unescape(value), args, out)) return out;
  }
  return key;
}

struct WindowTranslation {
  LanguageTexts texts;

  void One(HWND hwnd) {
    int len = ::IsWindow(hwnd) ? ::GetWindowTextLengthA(hwnd) : 0;
    if (len <= 0) return;
    std::string current(static_cast<size_t>(len) + 1, '\0');
    current.resize(static_cast<size_t>(::GetWindowTextA(hwnd, &current[0], len + 1)));
    if (current.empty()) return;
    std::string translated = texts.Find(current);
    if (!translated.empty()) ::SetWindowTextA(hwnd, translated.c_str());
  }
};

BOOL CALLBACK TranslateChildWith(HWND hwnd, LPARAM translation) {
  reinterpret_cast<WindowTranslation*>(translation)->One(hwnd);
  return TRUE;
}

}  // namespace

lang::SectionTexts::SectionTexts(const std::string& file) : m_file(file) {}

std::string lang::SectionTexts::Find(const std::string& key) {
  Load();
  auto it = m_texts.find(text::LowerAscii(key));
  return it == m_texts.end() ? std::string() : it->second;
}

void lang::SectionTexts::Load() {
  if (m_loaded) return;
  m_loaded = true;
  if (m_file.empty()) return;
  for (const std::string& line : CMiscFuns::GetIniSection("String", m_file, 16384, 16u << 20)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string value = TrimBlanks(line.substr(eq + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    m_texts.emplace(text::LowerAscii(TrimBlanks(line.substr(0, eq))), value);
  }
}

LanguageTexts::LanguageTexts() : m_selected(Paths().selectedLanguage), m_fallback(Paths().defaultLanguage) {}

std::string LanguageTexts::Find(const std::string& key) {
  std::string value = m_selected.Find(key);
  if (value.empty()) value = m_fallback.Find(key);
  return value.empty() ? value : lang::Unescape(value);
}

std::string LanguageTexts::Format(const std::string& key, const std::vector<lang::FormatArg>& args) {
  return FirstFormatted([&](int file) { return (file ? m_fallback : m_selected).Find(key); }, key, args);
}

std::string GetLanguageText(const std::string& key, bool unescape) {
  std::string value = ReadText(key, Paths().selectedLanguage);
  if (value.empty()) value = ReadText(key, Paths().defaultLanguage);
  if (value.empty()) return key;
  return unescape ? lang::Unescape(value) : value;
}

std::string FormatLanguageText(const std::string& key, const std::vector<lang::FormatArg>& args) {
  return FirstFormatted(
      [&](int file) { return ReadText(key, file ? Paths().defaultLanguage : Paths().selectedLanguage); }, key, args);
}

std::string FormatLanguageTextUtf8(const std::string& key, const std::vector<lang::FormatArg>& args) {
  return FirstFormatted(
      [&](int file) {
        return unicode::Utf8FromAnsi(ReadText(key, file ? Paths().defaultLanguage : Paths().selectedLanguage));
      },
      key, args);
}

void TranslateWindow(HWND window) {
  if (!::IsWindow(window)) return;
  WindowTranslation translation;
  translation.One(window);
  ::EnumChildWindows(window, TranslateChildWith, reinterpret_cast<LPARAM>(&translation));
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
