// What the options dialog decides, apart from its windows: the Run value's data, the remembered
// tab, the language list's names and what an OK writes. Portable, so it is tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace options {

// The command the system runs at logon: the executable's path in double quotes. Unquoted, a path
// with blanks such as C:\Program Files\Quorvel\Quorvel.exe would first be tried as C:\Program.exe.
// Empty when the path is unknown, so nothing bogus is ever registered.
std::string RunCommandFor(const std::string& exePath);

// The byte count a REG_SZ value of `data` takes: the text and its terminator.
uint32_t RegStringSize(const std::string& data);

// The remembered tab from its INI text: plain decimal digits (blanks around them allowed) naming
// one of `tabCount` tabs; anything else (negative, hexadecimal, too large, garbage) gives none.
std::optional<int> ParseTabIndex(const std::string& text, int tabCount);

// The language list: display names in list order, each standing for one file name.
class LanguageChoices {
 public:
  using Pair = std::pair<std::string, std::string>;  // (display name, file name)

  LanguageChoices() = default;
  explicit LanguageChoices(std::vector<Pair> pairs) : m_pairs(std::move(pairs)) {}

  const std::vector<Pair>& Pairs() const { return m_pairs; }
  int size() const { return static_cast<int>(m_pairs.size()); }
  // The file of the list position; empty outside the list.
  std::string FileAt(int index) const;
  // The list position of a LanguageFile setting. File names compare without regard to ASCII
  // case, as the file system does; -1 when no listed file has that name.
  int IndexOfFile(const std::string& fileName) const;

 private:
  std::vector<Pair> m_pairs;
};

enum class AutoStartChange { None, Enable, Disable };

// What one OK writes.
struct OptionsWrite {
  AutoStartChange autostart = AutoStartChange::None;
  // The new LanguageFile; none leaves the setting as it is (nothing chosen in the list, e.g. the
  // setting names a file that is gone: writing an empty name would lose it for good).
  std::optional<std::string> languageFile;
  // The tab to remember; none when no tab is current.
  std::optional<int> tab;
};

// The registry is touched only when the box differs from what it showed at the start, so a Run
// value of our name that someone else set stays as it is unless the user unchecks the box.
OptionsWrite PlanOptionsWrite(bool autostartAtStart, bool autostartChecked, int languageIndex,
                              const LanguageChoices& languages, int currentTab);

}  // namespace options
