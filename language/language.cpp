#include "language/language.h"

#include <map>

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

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The [String] section of one language file, read with one call for a whole window: each of a
// window's controls would otherwise cost a read of the file (two for a text that is no key).
// Values come out as GetPrivateProfileString gives them: blanks around keys and values dropped,
// one pair of enclosing quotes removed, keys without regard to case, the first of a repeated key.
class SectionTexts {
 public:
  explicit SectionTexts(const std::string& file) : m_file(file) {}

  // Empty when the key is missing or its value is empty.
  std::string Find(const std::string& key) {
    Load();
    auto it = m_texts.find(LowerAscii(key));
    return it == m_texts.end() ? std::string() : it->second;
  }

 private:
  void Load() {
    if (m_loaded) return;
    m_loaded = true;
    if (m_file.empty()) return;
    std::string buf(32768, '\0');
    DWORD n = 0;
    for (;;) {
      n = ::GetPrivateProfileSectionA("String", &buf[0], static_cast<DWORD>(buf.size()), m_file.c_str());
      // A section that does not fit comes back cut off at the buffer's size less two.
      if (n + 2 < buf.size() || buf.size() >= (size_t{16} << 20)) break;
      buf.assign(buf.size() * 2, '\0');
    }
    for (size_t at = 0; at < n;) {
      size_t end = buf.find('\0', at);
      if (end == std::string::npos || end > n) end = n;
      std::string line = buf.substr(at, end - at);
      at = end + 1;
      size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      std::string value = TrimBlanks(line.substr(eq + 1));
      if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
      m_texts.emplace(LowerAscii(TrimBlanks(line.substr(0, eq))), value);
    }
  }

  std::string m_file;
  bool m_loaded = false;
  std::map<std::string, std::string> m_texts;
};

struct WindowTranslation {
  SectionTexts selected{Paths().selectedLanguage}, fallback{Paths().defaultLanguage};

  // The same text as GetLanguageText(key, true), or empty when the key is nowhere.
  std::string Text(const std::string& key) {
    std::string value = selected.Find(key);
    if (value.empty()) value = fallback.Find(key);
    return value.empty() ? value : lang::Unescape(value);
  }

  void One(HWND hwnd) {
    int len = ::IsWindow(hwnd) ? ::GetWindowTextLengthA(hwnd) : 0;
    if (len <= 0) return;
    std::string current(static_cast<size_t>(len) + 1, '\0');
    current.resize(static_cast<size_t>(::GetWindowTextA(hwnd, &current[0], len + 1)));
    if (current.empty()) return;
    std::string translated = Text(current);
    if (!translated.empty()) ::SetWindowTextA(hwnd, translated.c_str());
  }
};

BOOL CALLBACK TranslateChildWith(HWND hwnd, LPARAM translation) {
  reinterpret_cast<WindowTranslation*>(translation)->One(hwnd);
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
