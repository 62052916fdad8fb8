#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/OptionDlg.h"
#include "app/opt_general.h"
#include "include/GlobalData.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "optiondlg_ids.h"
#include "tests/include/controls_support.h"
#include "tests/support/modal.h"
#include "tests/support/programfolder.h"
#include "tests/winsupport.h"

namespace {

constexpr char kProductName[] = "Quorvel";  // the test program carries the product's version resource
constexpr char kScratchValue[] = "QuorvelOptionsTestValue";

// A program folder of its own: the shipped language files, Settings.ini and Tmp.ini as a test
// wants them, and the language table of that folder.
struct OptionsFixture : ProgramFolder {
  OptionsEnvironment env;

  explicit OptionsFixture(const std::string* settings = nullptr, const std::string* tmp = nullptr)
      : ProgramFolder(nullptr) {
    if (settings) WriteFileBytes(dir / "Settings.ini", *settings);
    if (tmp) WriteFileBytes(dir / "Tmp.ini", *tmp);
    Reload();
    env = OptionsEnvironment::ForThisProgram();
    std::string folder = dir / "language";
    env.listLanguages = [folder] { return ListLanguageFilesIn(folder); };
  }

  std::string Settings() const { return ReadFileBytes(dir / "Settings.ini"); }
  std::string Tmp() const { return ReadFileBytes(dir / "Tmp.ini"); }
  std::string LanguageFile() const { return CMiscFuns::GetIniString("Settings", "LanguageFile", "<none>", env.settingsIni); }
};

// The Run value of `name`: its type and its bytes as stored.
struct RunValue {
  DWORD type = 0;
  std::string bytes;
};

std::optional<RunValue> ReadRunValue(const std::string& name) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunSubkey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return std::nullopt;
  RegKey key(raw);
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  RunValue value;
  value.type = type;
  value.bytes.assign(size, '\0');
  if (size && ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(&value.bytes[0]), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

void SetRunValueRaw(const std::string& name, const std::string& data) {
  HKEY raw = nullptr;
  REQUIRE(::RegCreateKeyExA(HKEY_CURRENT_USER, kRunSubkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) ==
          ERROR_SUCCESS);
  RegKey key(raw);
  REQUIRE(::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS);
}

void RemoveRunValue(const std::string& name) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunSubkey, 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
  RegKey key(raw);
  ::RegDeleteValueA(key.get(), name.c_str());
}

// Removes the value before and after a test, so no test sees another's leftovers.
struct CleanRunValue {
  std::string name;
  explicit CleanRunValue(std::string n) : name(std::move(n)) { RemoveRunValue(name); }
  ~CleanRunValue() { RemoveRunValue(name); }
};

// Signalled when anything in the Run key changes after it was made.
class RunKeyWatch {
 public:
  RunKeyWatch() : m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    HKEY raw = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kRunSubkey, 0, nullptr, 0, KEY_NOTIFY, nullptr, &raw, nullptr);
    m_key.reset(raw);
    m_armed = m_key && m_event &&
              ::RegNotifyChangeKeyValue(m_key.get(), FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                        m_event.get(), TRUE) == ERROR_SUCCESS;
  }
  bool armed() const { return m_armed; }
  bool changed() const { return ::WaitForSingleObject(m_event.get(), 200) == WAIT_OBJECT_0; }

 private:
  KernelHandle m_event;
  RegKey m_key;
  bool m_armed = false;
};

// Runs a command through the command interpreter with its output redirected into a file, and
// gives that output.
std::string RunAndCapture(const std::string& command, const std::string& outputFile) {
  char system[MAX_PATH] = {};
  ::GetSystemDirectoryA(system, MAX_PATH);
  std::string cmd = std::string("\"") + system + "\\cmd.exe\" /c \"" + command + " > \"" + outputFile + "\" 2>&1\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
    return "<not started>";
  }
  KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (::WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) return "<still running>";
  return ReadFileBytes(outputFile);
}

HWND PageOf(const COptionDlg& dlg) { return dlg.GeneralPage().hwnd(); }
HWND PageItem(const COptionDlg& dlg, int id) { return ::GetDlgItem(PageOf(dlg), id); }

void Click(HWND button) { ::SendMessageA(button, BM_CLICK, 0, 0); }
void ClickOk(HWND dialog) { Click(::GetDlgItem(dialog, IDOK)); }
void ClickCancel(HWND dialog) { Click(::GetDlgItem(dialog, IDCANCEL)); }
bool IsChecked(const COptionDlg& dlg) {
  return ::SendMessageA(PageItem(dlg, IDC_OPT_AUTOSTART), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string SelectedLanguage(const COptionDlg& dlg) {
  HWND combo = PageItem(dlg, IDC_OPT_LANGUAGE);
  auto sel = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
  if (sel < 0) return "<none>";
  return ComboItems(combo)[static_cast<size_t>(sel)];
}

void SelectLanguage(const COptionDlg& dlg, const char* display) {
  HWND combo = PageItem(dlg, IDC_OPT_LANGUAGE);
  REQUIRE(::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(display)) >= 0);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

TEST_CASE("autostart: the value is written as given with its terminator, found, and removed") {
  CleanRunValue clean(kScratchValue);
  CHECK_FALSE(IsAutoStartEnabled(kScratchValue));
  std::string data = "\"C:\\Program Files\\Quorvel\\Quorvel.exe\"";
  CHECK(EnableAutoStart(kScratchValue, data));
  CHECK(IsAutoStartEnabled(kScratchValue));
  std::optional<RunValue> stored = ReadRunValue(kScratchValue);
  REQUIRE(stored);
  CHECK(stored->type == REG_SZ);
  CHECK(stored->bytes == data + std::string(1, '\0'));  // size is the text and one terminator

  CHECK(DisableAutoStart(kScratchValue));
  CHECK_FALSE(IsAutoStartEnabled(kScratchValue));
  CHECK_FALSE(ReadRunValue(kScratchValue));
  CHECK_FALSE(DisableAutoStart(kScratchValue));  // nothing left to remove: harmless

  // Any data counts as enabled: it is not examined.
  SetRunValueRaw(kScratchValue, "C:\\elsewhere\\other.exe");
  CHECK(IsAutoStartEnabled(kScratchValue));
}

TEST_CASE("autostart: an empty name or command never touches the key's default value") {
  CleanRunValue clean(kScratchValue);
  std::optional<RunValue> defaultBefore = ReadRunValue("");
  CHECK_FALSE(IsAutoStartEnabled(""));
  CHECK_FALSE(EnableAutoStart("", "\"C:\\x.exe\""));
  CHECK_FALSE(DisableAutoStart(""));
  CHECK(ReadRunValue("").has_value() == defaultBefore.has_value());
  CHECK_FALSE(EnableAutoStart(kScratchValue, ""));
  CHECK_FALSE(ReadRunValue(kScratchValue));
}

TEST_CASE("options: checking the box and OK registers the quoted path under the product name") {
  OptionsFixture f;
  CleanRunValue clean(kProductName);
  REQUIRE(f.env.runValueName == kProductName);
  REQUIRE(!f.env.exePath.empty());
  COptionDlg dlg(f.env);
  INT_PTR result = RunDialog(dlg, [&](HWND dialog) {
    CHECK_FALSE(IsChecked(dlg));
    Click(PageItem(dlg, IDC_OPT_AUTOSTART));
    CHECK(IsChecked(dlg));
    CHECK_FALSE(ReadRunValue(kProductName));  // nothing before OK
    ClickOk(dialog);
  });
  CHECK(result == IDOK);
  std::optional<RunValue> stored = ReadRunValue(kProductName);
  REQUIRE(stored);
  CHECK(stored->type == REG_SZ);
  CHECK(stored->bytes == Quoted(f.env.exePath) + std::string(1, '\0'));
  CHECK(IsAutoStartEnabled(kProductName));

  // The registry's own tool sees the same value in this prefix (a reg.exe beside us would shadow it).
  char system[MAX_PATH] = {};
  ::GetSystemDirectoryA(system, MAX_PATH);
  std::string output = RunAndCapture(std::string("\"") + system + "\\reg.exe\" query \"HKCU\\" + kRunSubkey +
                                         "\" /v " + kProductName,
                                     f.dir / "reg-query.txt");
  CAPTURE(output);
  CHECK(output.find(kProductName) != std::string::npos);
  CHECK(output.find("REG_SZ") != std::string::npos);
  CHECK(output.find(Quoted(f.env.exePath)) != std::string::npos);

  // Opened again, the box shows the entry.
  COptionDlg again(f.env);
  CHECK(RunDialog(again, [&](HWND dialog) {
          CHECK(IsChecked(again));
          ClickCancel(dialog);
        }) == IDCANCEL);
}

TEST_CASE("options: unchecking the box and OK removes the value") {
  OptionsFixture f;
  CleanRunValue clean(kProductName);
  REQUIRE(EnableAutoStart(kProductName, Quoted(f.env.exePath)));
  COptionDlg dlg(f.env);
  INT_PTR result = RunDialog(dlg, [&](HWND dialog) {
    CHECK(IsChecked(dlg));
    CHECK(dlg.GeneralPage().AutoStartAtStart());
    Click(PageItem(dlg, IDC_OPT_AUTOSTART));
    CHECK_FALSE(IsChecked(dlg));
    ClickOk(dialog);
  });
  CHECK(result == IDOK);
  CHECK_FALSE(ReadRunValue(kProductName));
  CHECK_FALSE(IsAutoStartEnabled(kProductName));
}

TEST_CASE("options: OK without touching the box writes nothing to the registry") {
  OptionsFixture f;
  CleanRunValue clean(kProductName);
  SUBCASE("no value: none is made") {
    RunKeyWatch watch;
    REQUIRE(watch.armed());
    COptionDlg dlg(f.env);
    CHECK(RunDialog(dlg, [&](HWND dialog) {
            CHECK_FALSE(IsChecked(dlg));
            ClickOk(dialog);
          }) == IDOK);
    CHECK_FALSE(ReadRunValue(kProductName));
    CHECK_FALSE(watch.changed());
  }
  SUBCASE("a foreign value of our name shows checked and stays as it is") {
    const std::string foreign = "C:\\Somewhere Else\\other.exe /tray";
    SetRunValueRaw(kProductName, foreign);
    RunKeyWatch watch;
    REQUIRE(watch.armed());
    COptionDlg dlg(f.env);
    CHECK(RunDialog(dlg, [&](HWND dialog) {
            CHECK(IsChecked(dlg));
            ClickOk(dialog);
          }) == IDOK);
    std::optional<RunValue> stored = ReadRunValue(kProductName);
    REQUIRE(stored);
    CHECK(stored->bytes == foreign + std::string(1, '\0'));
    CHECK_FALSE(watch.changed());
  }
  SUBCASE("checking and unchecking again is no change either") {
    COptionDlg dlg(f.env);
    CHECK(RunDialog(dlg, [&](HWND dialog) {
            Click(PageItem(dlg, IDC_OPT_AUTOSTART));
            Click(PageItem(dlg, IDC_OPT_AUTOSTART));
            ClickOk(dialog);
          }) == IDOK);
    CHECK_FALSE(ReadRunValue(kProductName));
  }
}

TEST_CASE("options: the language list shows the files' names and OK stores the chosen file") {
  const std::string settings = "[Settings]\r\nLanguageFile=English.txt\r\nOther=kept\r\n";
  OptionsFixture f(&settings);
  CleanRunValue clean(kProductName);
  COptionDlg dlg(f.env);
  INT_PTR result = RunDialog(dlg, [&](HWND dialog) {
    std::vector<std::string> items = ComboItems(PageItem(dlg, IDC_OPT_LANGUAGE));
    std::sort(items.begin(), items.end());
    CHECK(items == std::vector<std::string>{"Deutsch", "English"});
    CHECK(SelectedLanguage(dlg) == "English");
    SelectLanguage(dlg, "Deutsch");
    ClickOk(dialog);
  });
  CHECK(result == IDOK);
  CHECK(f.LanguageFile() == "Deutsch.txt");
  CHECK(CMiscFuns::GetIniString("Settings", "Other", "", f.env.settingsIni) == "kept");
  CHECK(CMiscFuns::GetIniString("Settings", "OptionDlgDefPanel", "", f.env.tmpIni) == "0");
  CHECK_FALSE(ReadRunValue(kProductName));

  // The stored file is shown next time, whatever case the setting was written in.
  CMiscFuns::WriteIniString("Settings", "LanguageFile", "deutsch.TXT", f.env.settingsIni);
  COptionDlg again(f.env);
  CHECK(RunDialog(again, [&](HWND dialog) {
          CHECK(SelectedLanguage(again) == "Deutsch");
          ClickOk(dialog);
        }) == IDOK);
  CHECK(f.LanguageFile() == "Deutsch.txt");
}

TEST_CASE("options: a setting naming a file that is gone is kept, not emptied") {
  const std::string settings = "[Settings]\r\nLanguageFile=Francais.txt\r\n";
  OptionsFixture f(&settings);
  COptionDlg dlg(f.env);
  CHECK(RunDialog(dlg, [&](HWND dialog) {
          CHECK(SelectedLanguage(dlg) == "<none>");
          ClickOk(dialog);
        }) == IDOK);
  CHECK(f.LanguageFile() == "Francais.txt");
}

TEST_CASE("options: no language files give an empty list, and OK still closes") {
  OptionsFixture f;
  f.env.listLanguages = [] { return std::vector<std::pair<std::string, std::string>>(); };
  COptionDlg dlg(f.env);
  CHECK(RunDialog(dlg, [&](HWND dialog) {
          CHECK(ComboItems(PageItem(dlg, IDC_OPT_LANGUAGE)).empty());
          ClickOk(dialog);
        }) == IDOK);
  CHECK(f.LanguageFile() == "<none>");
}

TEST_CASE("options: Cancel leaves Settings.ini, Tmp.ini and the registry untouched") {
  const std::string settings = "[Settings]\r\nLanguageFile=English.txt\r\n; a comment\r\n";
  const std::string tmp = "[Settings]\r\nOptionDlgDefPanel=0\r\nSomething=else\r\n";
  OptionsFixture f(&settings, &tmp);
  CleanRunValue clean(kProductName);
  RunKeyWatch watch;
  REQUIRE(watch.armed());
  SUBCASE("Cancel button") {
    COptionDlg dlg(f.env);
    CHECK(RunDialog(dlg, [&](HWND dialog) {
            Click(PageItem(dlg, IDC_OPT_AUTOSTART));
            SelectLanguage(dlg, "Deutsch");
            ClickCancel(dialog);
          }) == IDCANCEL);
  }
  SUBCASE("Esc") {
    COptionDlg dlg(f.env);
    CHECK(RunDialog(dlg, [&](HWND dialog) {
            Click(PageItem(dlg, IDC_OPT_AUTOSTART));
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
          }) == IDCANCEL);
  }
  CHECK(f.Settings() == settings);
  CHECK(f.Tmp() == tmp);
  CHECK_FALSE(ReadRunValue(kProductName));
  CHECK_FALSE(watch.changed());
}

TEST_CASE("options: Cancel with missing files leaves them missing") {
  OptionsFixture f;
  COptionDlg dlg(f.env);
  CHECK(RunDialog(dlg, [&](HWND dialog) { ClickCancel(dialog); }) == IDCANCEL);
  CHECK_FALSE(FileExists(f.env.settingsIni));
  CHECK_FALSE(FileExists(f.env.tmpIni));
}

TEST_CASE("options: damaged or missing Settings.ini and Tmp.ini open without harm") {
  std::string garbage;
  for (int i = 0; i < 3000; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
  const std::string halfSection = "[Settings\r\nLanguageFile=Deutsch.txt\r\n=\r\n[[]]\r\n";
  const std::string badIndex[] = {"-1", "1", "7", "abc", "0x0", "99999999999999999999", "", " "};

  SUBCASE("garbage bytes, or no files at all") {
    const std::string* const inputs[] = {&garbage, nullptr};
    for (const std::string* bytes : inputs) {
      OptionsFixture f(bytes, bytes);
      COptionDlg dlg(f.env);
      CHECK(RunDialog(dlg, [&](HWND dialog) {
              CHECK(::IsWindowVisible(PageOf(dlg)));
              CHECK(SelectedLanguage(dlg) == "<none>");
              SelectLanguage(dlg, "English");
              ClickOk(dialog);
            }) == IDOK);
      CHECK(f.LanguageFile() == "English.txt");
      CHECK(CMiscFuns::GetIniString("Settings", "OptionDlgDefPanel", "", f.env.tmpIni) == "0");
    }
  }
  SUBCASE("a broken section header") {
    OptionsFixture f(&halfSection, &halfSection);
    COptionDlg dlg(f.env);
    CHECK(RunDialog(dlg, [&](HWND dialog) { ClickOk(dialog); }) != kTimedOut);
  }
  SUBCASE("a remembered tab that names no tab") {
    for (const std::string& index : badIndex) {
      CAPTURE(index);
      std::string tmp = "[Settings]\r\nOptionDlgDefPanel=" + index + "\r\n";
      OptionsFixture f(nullptr, &tmp);
      COptionDlg dlg(f.env);
      CHECK(RunDialog(dlg, [&](HWND dialog) {
              HWND tabs = ::GetDlgItem(dialog, IDC_OPT_TABS);
              CHECK(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0);
              CHECK(::IsWindowVisible(PageOf(dlg)));
              ClickOk(dialog);
            }) == IDOK);
      CHECK(CMiscFuns::GetIniString("Settings", "OptionDlgDefPanel", "", f.env.tmpIni) == "0");
    }
  }
}

TEST_CASE("options: one tab with its icon hosting the visible page; the dialog is centred over its owner") {
  OptionsFixture f;
  TestParent owner(600, 400);
  ::SetWindowPos(owner.hwnd(), nullptr, 100, 80, 600, 400, SWP_NOZORDER);
  COptionDlg dlg(f.env);
  INT_PTR result = RunDialog(
      dlg,
      [&](HWND dialog) {
        CHECK(TextOf(dialog) == "Options");
        CHECK(TextOf(::GetDlgItem(dialog, IDOK)) == "OK");
        CHECK(TextOf(::GetDlgItem(dialog, IDCANCEL)) == "Cancel");
        HWND tabs = ::GetDlgItem(dialog, IDC_OPT_TABS);
        CHECK((::GetWindowLongPtrA(tabs, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0);
        CHECK(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1);
        char title[64] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        item.pszText = title;
        item.cchTextMax = sizeof title;
        REQUIRE(::SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        CHECK(std::string(title) == "General");
        CHECK(item.iImage == 0);
        CHECK(reinterpret_cast<HWND>(item.lParam) == PageOf(dlg));
        auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(tabs, TCM_GETIMAGELIST, 0, 0));
        REQUIRE(images);
        CHECK(::ImageList_GetImageCount(images) == 1);
        CHECK(::GetParent(PageOf(dlg)) == tabs);
        CHECK(::IsWindowVisible(PageOf(dlg)));
        // The page fills the tab control's area below the tab row.
        RECT page = {}, tabRect = {}, first = {};
        ::GetWindowRect(PageOf(dlg), &page);
        ::GetWindowRect(tabs, &tabRect);
        ::SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        CHECK(page.left >= tabRect.left);
        CHECK(page.right <= tabRect.right);
        CHECK(page.top - tabRect.top >= first.bottom - first.top);
        // Its controls follow its width; the note sits at its bottom.
        RECT note = {}, check = {};
        ::GetWindowRect(PageItem(dlg, IDC_OPT_NOTE), &note);
        ::GetWindowRect(PageItem(dlg, IDC_OPT_AUTOSTART), &check);
        CHECK(note.bottom <= page.bottom);
        CHECK(page.bottom - note.bottom < 20);
        CHECK(check.right <= page.right);
        CHECK(page.right - check.right < 20);
        // Centred over the owner.
        RECT own = {}, rc = {};
        ::GetWindowRect(owner.hwnd(), &own);
        ::GetWindowRect(dialog, &rc);
        CHECK(std::abs((rc.left + rc.right) - (own.left + own.right)) <= 2);
        CHECK(std::abs((rc.top + rc.bottom) - (own.top + own.bottom)) <= 2);
        CHECK(::SendMessageA(dialog, WM_GETICON, ICON_BIG, 0) != 0);
        // The link is drawn by its own class.
        CHECK((::GetWindowLongPtrA(PageItem(dlg, IDC_OPT_TRANSLATE), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW);
        ClickCancel(dialog);
      },
      nullptr, owner.hwnd());
  CHECK(result == IDCANCEL);
}

TEST_CASE("options: the entry point shows the dialog over a hidden owner and reports Cancel") {
  OptionsFixture f;
  TestParent owner;
  ::ShowWindow(owner.hwnd(), SW_HIDE);
  // Closed from a timer, as the dialog has no object the test could reach.
  static bool closed = false;
  closed = false;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = ::FindWindowA(MAKEINTATOM(32770), "Options");
    if (dialog && ::IsWindowVisible(dialog) && !closed) {
      closed = true;
      RECT area = {}, rc = {};
      ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      ::GetWindowRect(dialog, &rc);
      CHECK(std::abs((rc.left + rc.right) - (area.left + area.right)) <= 2);
      ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    }
  });
  INT_PTR result = ShowOptionsDialog(owner.hwnd());
  ::KillTimer(nullptr, timer);
  CHECK(closed);
  CHECK(result == IDCANCEL);
}

namespace {

// How much room a control's text needs, drawn with the control's font within its width.
SIZE NeededSize(HWND control, int spareWidth, bool wrap) {
  RECT client = {};
  ::GetClientRect(control, &client);
  SIZE need = TextExtent(control, TextOf(control), wrap ? client.right - spareWidth : 0, false, 0);
  return SIZE{need.cx + spareWidth, need.cy};
}

void CheckTextsFit(const COptionDlg& dlg, HWND dialog) {
  struct Fit {
    HWND control;
    int spare;
    bool wrap;
  };
  int box = ::GetSystemMetrics(SM_CXMENUCHECK) + 6;
  const Fit fits[] = {
      {PageItem(dlg, IDC_OPT_AUTOSTART), box, true},
      {PageItem(dlg, IDC_OPT_LANGUAGE_LABEL), 0, false},
      {PageItem(dlg, IDC_OPT_TRANSLATE), 0, false},
      {PageItem(dlg, IDC_OPT_NOTE), 0, true},
      {::GetDlgItem(dialog, IDOK), 8, false},
      {::GetDlgItem(dialog, IDCANCEL), 8, false},
  };
  for (const Fit& fit : fits) {
    CAPTURE(TextOf(fit.control));
    RECT client = {};
    ::GetClientRect(fit.control, &client);
    SIZE need = NeededSize(fit.control, fit.spare, fit.wrap);
    CHECK(need.cx <= client.right);
    CHECK(need.cy <= client.bottom);
  }
  // The widest language name fits the list beside its drop-down button.
  HWND combo = PageItem(dlg, IDC_OPT_LANGUAGE);
  RECT comboRect = {};
  ::GetClientRect(combo, &comboRect);
  ClientDc dc(combo);
  SelectedObject selected(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(combo, WM_GETFONT, 0, 0)));
  for (const std::string& name : ComboItems(combo)) {
    SIZE size = {};
    ::GetTextExtentPoint32A(dc.get(), name.c_str(), static_cast<int>(name.size()), &size);
    CHECK(size.cx + ::GetSystemMetrics(SM_CXVSCROLL) + 8 <= comboRect.right);
  }
}

void ScreenshotCase(const char* language, const char* caption, const char* general, const char* file) {
  std::string settings = std::string("[Settings]\r\nLanguageFile=") + language + "\r\n";
  OptionsFixture f(&settings);
  CleanRunValue clean(kProductName);
  GdiplusFixture gdiplus;
  REQUIRE(gdiplus.started());
  COptionDlg dlg(f.env);
  CHECK(RunDialog(dlg, [&](HWND dialog) {
    CHECK(TextOf(dialog) == caption);
    HWND tabs = ::GetDlgItem(dialog, IDC_OPT_TABS);
    char title[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = title;
    item.cchTextMax = sizeof title;
    ::SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    CHECK(std::string(title) == general);
    CHECK(TextOf(PageItem(dlg, IDC_OPT_AUTOSTART)) == GetLanguageText("L0062"));
    CheckTextsFit(dlg, dialog);

    // Size as the template says, in this font's dialog units.
    RECT want = {0, 0, 281, 226};
    ::MapDialogRect(dialog, &want);
    RECT client = {};
    ::GetClientRect(dialog, &client);
    CHECK(client.right == want.right);
    CHECK(client.bottom == want.bottom);

    Click(PageItem(dlg, IDC_OPT_AUTOSTART));  // a checked box shows more than an empty one
    Pixels shot = WindowPixels(dialog);
    REQUIRE(shot.width > 300);
    REQUIRE(shot.height > 300);
    std::set<uint32_t> colours(shot.bgra.begin(), shot.bgra.end());
    CHECK(colours.size() > 8);
    // Dark text pixels on the page and the buttons: not a blank capture.
    CHECK(shot.Count(RGB(0, 0, 0), 60) > 400);

    CHECK(SaveShot(shot, "options", file));
    ClickCancel(dialog);
  }) == IDCANCEL);
  CHECK_FALSE(ReadRunValue(kProductName));
}

}  // namespace

TEST_CASE("options: English texts fit their controls; screenshot") {
  ScreenshotCase("English.txt", "Options", "General", "options-en.png");
}

TEST_CASE("options: German texts fit their controls; screenshot") {
  ScreenshotCase("Deutsch.txt", "Optionen", "Allgemein", "options-de.png");
}
