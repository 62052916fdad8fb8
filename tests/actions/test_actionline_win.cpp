// Display texts through the real language table: selected file first, then English, then the key.
#include <doctest/doctest.h>

#include "actions/actionline_win.h"
#include "include/GlobalData.h"
#include "tests/winsupport.h"

namespace {

// Points the language table at two files of the test's own, and back when done.
class LanguageFiles {
 public:
  LanguageFiles(const std::string& selected, const std::string& english) : m_saved(Paths()) {
    GlobalPaths paths = m_saved;
    paths.selectedLanguage = m_dir / "Selected.txt";
    paths.defaultLanguage = m_dir / "English.txt";
    WriteFileBytes(paths.selectedLanguage, "[String]\r\n" + selected);
    WriteFileBytes(paths.defaultLanguage, "[String]\r\n" + english);
    SetGlobalPaths(paths);
  }
  LanguageFiles(const LanguageFiles&) = delete;
  LanguageFiles& operator=(const LanguageFiles&) = delete;
  ~LanguageFiles() { SetGlobalPaths(m_saved); }

 private:
  TempDir m_dir;
  GlobalPaths m_saved;
};

const char kEnglish[] =
    "L0015=Open %s (parameters: %s, folder: %s)\r\n"
    "L0016=Wait %s milliseconds\r\n"
    "L0017=(none)\r\n"
    "L0054=Raise the volume by %s percent\r\n"
    "L0108=Open the tray of drive %s\r\n"
    "L0113=Maximize the active window\r\n"
    "L0190=Copy (Ctrl+C)\r\n";

}  // namespace

TEST_CASE("display texts in the selected language, English where it has none") {
  LanguageFiles files("L0016=%s ms warten\r\nL0017=(keine)\r\nL0113=Fenster maximieren\r\n", kEnglish);
  CHECK(DescribeActionLine("Sleep 250") == "250 ms warten");
  CHECK(DescribeActionLine("MaximizeActiveWindow") == "Fenster maximieren");
  CHECK(DescribeActionLine("Copy") == "Copy (Ctrl+C)");
  CHECK(DescribeActionLine("VolumeUP -5") == "Raise the volume by 5 percent");
  CHECK(DescribeActionLine("ShellExecuteEx \"x.exe\" \"\" \"\"") ==
        "Open x.exe (parameters: (keine), folder: (keine))");
  CHECK(DescribeActionLine("EjectCDROM \"E:\"") == "Open the tray of drive E:");
  CHECK(DescribeActionLine("Paste") == "L0191");  // in neither file: the key itself
  CHECK(DescribeActionLine("Sleep") == "");
  CHECK(DescribeActionLine("no such command") == "");
}

TEST_CASE("a translated format that asks for other arguments is not used") {
  LanguageFiles files("L0016=%d ms warten %n\r\nL0108=Laufwerk %s %s\r\nL0015=%s\r\n", kEnglish);
  CHECK(DescribeActionLine("Sleep 250") == "Wait 250 milliseconds");
  CHECK(DescribeActionLine("EjectCDROM D:") == "Open the tray of drive D:");
  // Fewer placeholders than arguments is allowed: the text just shows less.
  CHECK(DescribeActionLine("ShellExecuteEx a b c") == "a");
}

TEST_CASE("a line's own percent signs never act as conversions") {
  LanguageFiles files("", kEnglish);
  CHECK(DescribeActionLine("Sleep %s%s%n") == "Wait %s%s%n milliseconds");
  CHECK(DescribeActionLine("ShellExecuteEx \"%n%n\" \"%p\" \"\"") == "Open %n%n (parameters: %p, folder: (none))");
}
