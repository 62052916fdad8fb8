// UI texts by L-key from the selected language file, falling back to English, then to the key.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "language/langformat.h"

std::string GetLanguageText(const std::string& key, bool unescape = true);

// A language text used as a printf-style format. The text of the selected file is used when it
// asks for exactly what the caller passes (or less); else the English text; else the key itself.
std::string FormatLanguageText(const std::string& key, const std::vector<lang::FormatArg>& args);
// The same in UTF-8, for texts shown through the wide functions beside text the user wrote: the
// language text comes from the system's code page, string arguments are UTF-8 already.
std::string FormatLanguageTextUtf8(const std::string& key, const std::vector<lang::FormatArg>& args);

namespace lang {
// The [String] section of one language file, read with one call when first asked: each text would
// otherwise cost a read of the file. Values come out as GetPrivateProfileString gives them: blanks
// around keys and values dropped, one pair of enclosing quotes removed, keys without regard to
// case, the first of a repeated key.
class SectionTexts {
 public:
  explicit SectionTexts(const std::string& file);
  // Empty when the key is missing or its value is empty.
  std::string Find(const std::string& key);

 private:
  void Load();
  std::string m_file;
  bool m_loaded = false;
  std::map<std::string, std::string> m_texts;
};
}  // namespace lang

// Both language files at once, for code that needs several texts together (a window's controls,
// the status lines): each file is read once.
class LanguageTexts {
 public:
  LanguageTexts();
  // As GetLanguageText(key), but empty when the key is in neither file.
  std::string Find(const std::string& key);
  // As FormatLanguageText.
  std::string Format(const std::string& key, const std::vector<lang::FormatArg>& args);

 private:
  lang::SectionTexts m_selected, m_fallback;
};

// Replaces the text of the window and of all its descendants by their language texts.
void TranslateWindow(HWND window);

// (display name, file name) of every file in the language folder, in the order the search lists them.
std::vector<std::pair<std::string, std::string>> ListLanguageFiles();
std::vector<std::pair<std::string, std::string>> ListLanguageFilesIn(const std::string& languageFolder);
