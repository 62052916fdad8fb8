// The general page of the options dialog (start at logon, language) and the Run registry value
// that starts the program at logon.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/optionsplan.h"
#include "include/ConvertComboBox.h"
#include "include/DialogBase.h"
#include "include/HyperLinkButton.h"

// HKEY_CURRENT_USER's list of programs the system starts at logon.
constexpr char kRunSubkey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// True when the Run key holds a value of that name, whatever its data. An empty name is never
// enabled: it would stand for the key's default value.
bool IsAutoStartEnabled(const std::string& name);
// Writes the value (REG_SZ, data and its terminator). The key is created when it is missing.
// False when the name or data is empty or the key cannot be opened or written; callers show nothing.
bool EnableAutoStart(const std::string& name, const std::string& data);
// Removes the value; false when there was none or the key cannot be opened.
bool DisableAutoStart(const std::string& name);

// Where the options dialog reads and writes; the program's own paths, or a test's.
struct OptionsEnvironment {
  std::string settingsIni;
  std::string tmpIni;
  std::string runValueName;  // the executable's ProductName
  std::string exePath;       // the executable's full path
  std::function<std::vector<std::pair<std::string, std::string>>()> listLanguages;

  static OptionsEnvironment ForThisProgram();
};

// Create(parent) makes the page hidden as a child of `parent`; null on failure.
class COptionPage_General : public CDialogBase {
 public:
  explicit COptionPage_General(const OptionsEnvironment& env);

  // What OK writes for this page and the dialog's current tab.
  options::OptionsWrite PlanWrite(int currentTab) const;
  // Carries out the page's share of `write`: the Run value and LanguageFile.
  void Apply(const options::OptionsWrite& write) const;

  bool AutoStartAtStart() const { return m_autostartAtStart; }
  const options::LanguageChoices& Languages() const { return m_languages; }

 private:
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  BOOL OnInitDialog() override;
  // Not the base's: a page has no OK or Cancel of its own to end.
  void OnCommand(int id, int code) override;
  void OnSize(int width, int height);
  void EnableThemedBackground();
  void FillLanguageList();
  void RememberLayout();

  // A control that keeps its distance to the page's right edge (it grows with the page) or, for
  // the note, also to the bottom edge.
  struct Anchor {
    int id;
    bool keepBottom;
    int rightMargin = 0;
    int bottomMargin = 0;
  };

  const OptionsEnvironment& m_env;
  bool m_autostartAtStart = false;
  options::LanguageChoices m_languages;
  CConvertComboBox m_languageList;
  CHyperLinkButton m_translateLink;
  std::vector<Anchor> m_anchors;
  int m_anchorsDpi = dpi::kBaseDpi;  // the margins are pixels at this dpi
};
