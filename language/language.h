// UI texts by L-key from the selected language file, falling back to English, then to the key.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "language/langformat.h"

std::string GetLanguageText(const std::string& key, bool unescape = true);

// A language text used as a printf-style format. The text of the selected file is used when it
// asks for exactly what the caller passes (or less); else the English text; else the key itself.
std::string FormatLanguageText(const std::string& key, const std::vector<lang::FormatArg>& args);

// Replaces the text of the window and of all its descendants by their language texts.
void TranslateWindow(HWND window);

// (display name, file name) of every file in the language folder, in the order the search lists them.
std::vector<std::pair<std::string, std::string>> ListLanguageFiles();
std::vector<std::pair<std::string, std::string>> ListLanguageFilesIn(const std::string& languageFolder);
