#include "app/optionsplan.h"

#include "include/textutil.h"

namespace options {

std::string RunCommandFor(const std::string& exePath) {
  if (exePath.empty()) return std::string();
  return "\"" + exePath + "\"";
}

uint32_t RegStringSize(const std::string& data) { return static_cast<uint32_t>(data.size() + 1); }

std::optional<int> ParseTabIndex(const std::string& text, int tabCount) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::nullopt;
  size_t end = text.find_last_not_of(" \t") + 1;
  long long value = 0;
  for (size_t i = begin; i < end; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value >= tabCount) return std::nullopt;  // also stops any overflow
  }
  return static_cast<int>(value);
}

std::string LanguageChoices::FileAt(int index) const {
  if (index < 0 || index >= size()) return std::string();
  return m_pairs[static_cast<size_t>(index)].second;
}

int LanguageChoices::IndexOfFile(const std::string& fileName) const {
  if (fileName.empty()) return -1;
  std::string wanted = text::LowerAscii(fileName);
  for (size_t i = 0; i < m_pairs.size(); ++i) {
    if (text::LowerAscii(m_pairs[i].second) == wanted) return static_cast<int>(i);
  }
  return -1;
}

OptionsWrite PlanOptionsWrite(bool autostartAtStart, bool autostartChecked, int languageIndex,
                              const LanguageChoices& languages, int currentTab) {
  OptionsWrite write;
  if (autostartChecked != autostartAtStart) {
    write.autostart = autostartChecked ? AutoStartChange::Enable : AutoStartChange::Disable;
  }
  std::string file = languages.FileAt(languageIndex);
  if (!file.empty()) write.languageFile = file;
  if (currentTab >= 0) write.tab = currentTab;
  return write;
}

}  // namespace options
