#include <doctest/doctest.h>

#include <algorithm>

#include <shlobj.h>

#include "include/miscfuns.h"
#include "tests/winsupport.h"

namespace {
std::string WindowsFolder() {
  char buf[MAX_PATH] = {};
  ::GetWindowsDirectoryA(buf, MAX_PATH);
  return buf;
}
}  // namespace

TEST_CASE("INI strings expand one kind of path macro") {
  TempDir dir;
  std::string ini = dir / "t.ini";
  WriteFileBytes(ini,
                 "[S]\r\nmod=%module_path%\\data.txt\r\nboth=%module_path%|%temp_path%\r\n"
                 "win=%window_path%\\x\r\nlater=%temp_path% and %module_path%\r\nplain=  spaced  \r\n");
  CHECK(CMiscFuns::GetIniString("S", "mod", "", ini) == CMiscFuns::GetAppFolder() + "\\data.txt");
  CHECK(CMiscFuns::GetIniString("S", "both", "", ini) == CMiscFuns::GetAppFolder() + "|%temp_path%");
  CHECK(CMiscFuns::GetIniString("S", "win", "", ini) == WindowsFolder() + "\\x");
  // %module_path% comes first in the order, so it wins even when it stands later in the value.
  CHECK(CMiscFuns::GetIniString("S", "later", "", ini) == "%temp_path% and " + CMiscFuns::GetAppFolder());
  CHECK(CMiscFuns::GetIniString("S", "plain", "", ini) == "spaced");
  CHECK(CMiscFuns::GetIniString("S", "missing", "dflt", ini) == "dflt");
  CHECK(CMiscFuns::GetIniString("S", "mod", "dflt", dir / "absent.ini") == "dflt");
}

TEST_CASE("INI integers") {
  TempDir dir;
  std::string ini = dir / "n.ini";
  CHECK(CMiscFuns::GetIniInt("Settings", "FirstRun", 7, ini) == 7);
  REQUIRE(CMiscFuns::WriteIniInt("Settings", "FirstRun", -42, ini));
  CHECK(CMiscFuns::GetIniInt("Settings", "FirstRun", 7, ini) == -42);
  CHECK(ReadFileBytes(ini).find("FirstRun=-42") != std::string::npos);
  // A folder that does not exist: the write fails and says so.
  CHECK_FALSE(CMiscFuns::WriteIniInt("Settings", "x", 1, dir / "no\\such\\folder.ini"));
}

TEST_CASE("command path macros") {
  std::string win = WindowsFolder();
  CHECK(CMiscFuns::ExpandPathMacros("%windows%\\notepad.exe", MacroDirection::Expand) == win + "\\notepad.exe");
  CHECK(CMiscFuns::ExpandPathMacros("%ModulePath%\\x", MacroDirection::Expand) == CMiscFuns::GetAppFolder() + "\\x");
  char appData[MAX_PATH] = {};
  REQUIRE(SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
  CHECK(CMiscFuns::ExpandPathMacros("%AppData%;%AppData%", MacroDirection::Expand) ==
        std::string(appData) + ";%AppData%");
  CHECK(CMiscFuns::ExpandPathMacros(win + "\\a", MacroDirection::Collapse).find("%Windows") == 0);
  CHECK(CMiscFuns::ExpandPathMacros("no macros", MacroDirection::Expand) == "no macros");
}

TEST_CASE("environment macros") {
  ::SetEnvironmentVariableA("QUORVEL_TEST_DIR", "Q:\\Some\\Where\\");
  CHECK(CMiscFuns::ExpandEnvironmentMacros("%quorvel_test_dir%\\f.txt", MacroDirection::Expand) ==
        "Q:\\Some\\Where\\f.txt");
  CHECK(CMiscFuns::ExpandEnvironmentMacros("Q:\\Some\\Where\\f.txt", MacroDirection::Collapse) ==
        "%QUORVEL_TEST_DIR%\\f.txt");
  ::SetEnvironmentVariableA("QUORVEL_TEST_DIR", nullptr);
}

TEST_CASE("file search and file tests") {
  TempDir dir;
  WriteFileBytes(dir / "a.ini", "x");
  WriteFileBytes(dir / "B.INI", "x");
  WriteFileBytes(dir / "a.ini.bak", "x");
  MakeFolder(dir / "sub.ini");
  auto ini = CMiscFuns::FindFiles(dir.path(), "*.ini");
  std::sort(ini.begin(), ini.end());
  CHECK(ini == std::vector<std::string>{dir / "B.INI", dir / "a.ini"});
  CHECK(CMiscFuns::FindFiles(dir.path(), "*").size() == 3);
  CHECK(CMiscFuns::FindFiles(dir / "missing", "*").empty());
  CHECK(CMiscFuns::IsFileExist(dir / "a.ini"));
  CHECK_FALSE(CMiscFuns::IsFileExist(dir / "sub.ini"));
  CHECK_FALSE(CMiscFuns::IsFileExist(dir / "none"));
  CHECK(CMiscFuns::IsFolderExist(dir / "sub.ini"));
  CHECK(CMiscFuns::GetFileNameFromPath("C:\\dir\\English.txt", false) == "English");
}

TEST_CASE("version strings of the executable and GUID texts") {
  CHECK(CMiscFuns::GetOwnVersionString("ProductName") == "Quorvel");
  CHECK_FALSE(CMiscFuns::GetOwnVersionString("ProductVersion").empty());
  CHECK_FALSE(CMiscFuns::GetOwnVersionString("CompanyName").empty());
  CHECK(CMiscFuns::GetOwnVersionString("NoSuchKey").empty());
  TempDir dir;
  WriteFileBytes(dir / "plain.exe", "not a program");
  CHECK(CMiscFuns::GetVersionString("ProductName", dir / "plain.exe").empty());
  CHECK(CMiscFuns::GetVersionString("ProductName", dir / "absent.exe").empty());

  std::string a = CMiscFuns::NewGuidText(), b = CMiscFuns::NewGuidText();
  CHECK(a.size() == 32);
  CHECK(a.find_first_not_of("0123456789ABCDEF") == std::string::npos);
  CHECK(a != b);
}

TEST_CASE("window search by class ignores case and looks into children") {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "QuorvelTestTopClass";
  ::RegisterClassA(&wc);
  wc.lpszClassName = "QuorvelTestChildClass";
  ::RegisterClassA(&wc);
  HWND top = ::CreateWindowA("QuorvelTestTopClass", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
  HWND child = ::CreateWindowA("QuorvelTestChildClass", "", WS_CHILD, 0, 0, 5, 5, top, nullptr, wc.hInstance, nullptr);
  REQUIRE(top);
  REQUIRE(child);
  CHECK(CMiscFuns::FindWindowByClass("quorveltesttopclass") == top);
  CHECK(CMiscFuns::FindWindowByClass("QUORVELTESTCHILDCLASS") == child);
  CHECK(CMiscFuns::FindWindowByClass("QuorvelNoSuchClass") == nullptr);
  ::DestroyWindow(top);
  CHECK(CMiscFuns::FindWindowByClass("QuorvelTestChildClass") == nullptr);
}
