#include <doctest/doctest.h>

#include <string>

#include "app/optionsplan.h"

using options::AutoStartChange;
using options::LanguageChoices;
using options::ParseTabIndex;
using options::PlanOptionsWrite;

TEST_CASE("run command: the path is quoted so blanks cannot split it, and sized with its terminator") {
  CHECK(options::RunCommandFor("C:\\Program Files\\Quorvel\\Quorvel.exe") ==
        "\"C:\\Program Files\\Quorvel\\Quorvel.exe\"");
  CHECK(options::RunCommandFor("C:\\Tools\\Quorvel.exe") == "\"C:\\Tools\\Quorvel.exe\"");
  CHECK(options::RunCommandFor("").empty());
  std::string data = options::RunCommandFor("C:\\A B\\q.exe");
  CHECK(options::RegStringSize(data) == data.size() + 1);
  CHECK(options::RegStringSize("") == 1);
}

TEST_CASE("remembered tab: only a plain index of an existing tab counts") {
  CHECK(ParseTabIndex("0", 1) == 0);
  CHECK(ParseTabIndex(" 2 ", 3) == 2);
  CHECK(ParseTabIndex("002", 3) == 2);
  CHECK_FALSE(ParseTabIndex("1", 1).has_value());
  CHECK_FALSE(ParseTabIndex("0", 0).has_value());
  CHECK_FALSE(ParseTabIndex("-1", 1).has_value());
  CHECK_FALSE(ParseTabIndex("+0", 1).has_value());
  CHECK_FALSE(ParseTabIndex("0x0", 1).has_value());
  CHECK_FALSE(ParseTabIndex("1e0", 5).has_value());
  CHECK_FALSE(ParseTabIndex("", 1).has_value());
  CHECK_FALSE(ParseTabIndex("   ", 1).has_value());
  CHECK_FALSE(ParseTabIndex("abc", 1).has_value());
  CHECK_FALSE(ParseTabIndex("0 0", 5).has_value());
  CHECK_FALSE(ParseTabIndex("99999999999999999999999999", 1).has_value());
  CHECK_FALSE(ParseTabIndex("4294967296", 1).has_value());  // would wrap to 0 in 32 bits
  CHECK_FALSE(ParseTabIndex(std::string("0\0", 2), 1).has_value());
}

TEST_CASE("language choices: list order, file by position, setting by file name without case") {
  LanguageChoices langs({{"English", "English.txt"}, {"Deutsch", "Deutsch.txt"}, {"README", "README"}});
  CHECK(langs.size() == 3);
  CHECK(langs.FileAt(0) == "English.txt");
  CHECK(langs.FileAt(1) == "Deutsch.txt");
  CHECK(langs.FileAt(2) == "README");
  CHECK(langs.FileAt(-1).empty());
  CHECK(langs.FileAt(3).empty());
  CHECK(langs.IndexOfFile("Deutsch.txt") == 1);
  CHECK(langs.IndexOfFile("deutsch.TXT") == 1);
  CHECK(langs.IndexOfFile("README") == 2);
  CHECK(langs.IndexOfFile("Deutsch") == -1);  // the display name is not a file name
  CHECK(langs.IndexOfFile("Francais.txt") == -1);
  CHECK(langs.IndexOfFile("") == -1);

  // Two files with one display name each keep their own file.
  LanguageChoices twins({{"English", "English.txt"}, {"English", "English.ini"}});
  CHECK(twins.FileAt(1) == "English.ini");
  CHECK(twins.IndexOfFile("english.ini") == 1);

  LanguageChoices none;
  CHECK(none.size() == 0);
  CHECK(none.FileAt(0).empty());
  CHECK(none.IndexOfFile("English.txt") == -1);
}

TEST_CASE("OK: the registry changes only with the box, the language and tab are always kept") {
  LanguageChoices langs({{"English", "English.txt"}, {"Deutsch", "Deutsch.txt"}});
  auto same = PlanOptionsWrite(false, false, 0, langs, 0);
  CHECK(same.autostart == AutoStartChange::None);
  CHECK(same.languageFile == std::string("English.txt"));
  CHECK(same.tab == 0);

  CHECK(PlanOptionsWrite(true, true, 0, langs, 0).autostart == AutoStartChange::None);
  CHECK(PlanOptionsWrite(false, true, 0, langs, 0).autostart == AutoStartChange::Enable);
  CHECK(PlanOptionsWrite(true, false, 0, langs, 0).autostart == AutoStartChange::Disable);

  CHECK(PlanOptionsWrite(false, false, 1, langs, 0).languageFile == std::string("Deutsch.txt"));
  // Nothing chosen (the setting names a file that is gone, or there are no files): the setting stays.
  CHECK_FALSE(PlanOptionsWrite(false, false, -1, langs, 0).languageFile.has_value());
  CHECK_FALSE(PlanOptionsWrite(false, false, 0, LanguageChoices(), 0).languageFile.has_value());

  CHECK(PlanOptionsWrite(false, false, 0, langs, 3).tab == 3);
  CHECK_FALSE(PlanOptionsWrite(false, false, 0, langs, -1).tab.has_value());
}
