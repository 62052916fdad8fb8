#include <doctest/doctest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/actions/addactiondlg_support.h"

using namespace aatest;

namespace {


// One kind, filled in, then OK: the line it builds.
struct KindCase {
  int index;
  std::function<void(HWND)> fill;
  std::string line;
};

std::vector<KindCase> KindCases() {
  return {
      {0, [](HWND d) { SetPageText(d, 0, IDC_AAP_TEXT, "C:\\Program Files\\App\\app.exe");
                       SetPageText(d, 0, IDC_AAP_PARAMETERS, "-x /y --z");
                       SetPageText(d, 0, IDC_AAP_FOLDER, "C:\\Work Dir"); },
       "ShellExecuteEx \"C:\\Program Files\\App\\app.exe\" \"-x /y --z\" \"C:\\Work Dir\""},
      {0, [](HWND d) { SetPageText(d, 0, IDC_AAP_TEXT, "notepad.exe"); }, "ShellExecuteEx \"notepad.exe\" \"\" \"\""},
      {1, [](HWND d) { SetPageText(d, 1, IDC_AAP_TEXT, "C:\\My Documents"); },
       "ShellExecuteEx \"Explorer.exe\" \"C:\\My Documents\" \"\""},
      {2, [](HWND d) { SetPageText(d, 2, IDC_AAP_TEXT, "https://example.com/a?b=1&c=2"); },
       "ShellExecuteEx \"https://example.com/a?b=1&c=2\" \"\" \"\""},
      {3, [](HWND) {}, "VolumeUP 5"},
      {3, [](HWND d) { SelectComboText(PageControl(d, 3, IDC_AAP_VALUE), "12"); }, "VolumeUP 12"},
      {4, [](HWND) {}, "VolumeDOWN 5"},
      {4, [](HWND d) { SelectComboText(PageControl(d, 4, IDC_AAP_VALUE), "20"); }, "VolumeDOWN 20"},
      {5, [](HWND) {}, "InsertPredefinedText"},
      {6, [](HWND) {}, "ShowShutdownDialog"},
      {7, [](HWND) {}, "EjectCDROM D:"},
      {8, [](HWND d) { SelectComboText(PageControl(d, 8, IDC_AAP_VALUE), "E:"); }, "InsertCDROM E:"},
      {9, [](HWND) {}, "Sleep 5000"},
      {9, [](HWND d) { SetPageText(d, 9, IDC_AAP_VALUE, "2"); }, "Sleep 2000"},
      {9, [](HWND d) { SetPageText(d, 9, IDC_AAP_VALUE, "1.5"); }, "Sleep 1000"},
      {9, [](HWND d) { SetPageText(d, 9, IDC_AAP_VALUE, "-3"); }, "Sleep -3000"},
      {9, [](HWND d) { SelectComboText(PageControl(d, 9, IDC_AAP_VALUE), "30"); }, "Sleep 30000"},
      {10, [](HWND) {}, "MaximizeActiveWindow"},
      {11, [](HWND) {}, "MinimizeActiveWindow"},
      {12, [](HWND) {}, "CloseActiveWindow"},
      {13, [](HWND) {}, "EmptyRecycleBin"},
      {14, [](HWND) {}, "EmptyClipboard"},
      {15, [](HWND) {}, "SimulateWinKeySpace"},
      {16, [](HWND) {}, "Copy"},
      {17, [](HWND) {}, "Paste"},
  };
}

// One refused input: the page, how it is filled, the message and the control that gets the focus.
struct RefusalCase {
  const char* name;
  int index;
  std::function<void(HWND)> fill;
  std::string message;
  int focusId;
  bool drives = true;
};

const char kEnterFile[] = "Please enter the file or program to open.";
const char kEnterFolder[] = "Please enter the folder to open.";
const char kEnterUrl[] = "Please enter the web address to open.";
const char kNoQuotes[] = "This text must not contain double quotes (\") or line breaks: an action cannot keep them.";

std::vector<RefusalCase> RefusalCases() {
  auto text = [](int index, int id, std::string value) {
    return [=](HWND d) { SetPageText(d, index, id, value); };
  };
  return {
      {"empty file", 0, text(0, IDC_AAP_PARAMETERS, "-x"), kEnterFile, IDC_AAP_TEXT},
      {"quote in file", 0, text(0, IDC_AAP_TEXT, "C:\\a\"b.exe"), kNoQuotes, IDC_AAP_TEXT},
      {"quote in parameters", 0, [](HWND d) { SetPageText(d, 0, IDC_AAP_TEXT, "app.exe");
                                              SetPageText(d, 0, IDC_AAP_PARAMETERS, "/title \"two words\""); },
       kNoQuotes, IDC_AAP_PARAMETERS},
      {"quote in working folder", 0, [](HWND d) { SetPageText(d, 0, IDC_AAP_TEXT, "app.exe");
                                                  SetPageText(d, 0, IDC_AAP_FOLDER, "C:\\\""); },
       kNoQuotes, IDC_AAP_FOLDER},
      {"empty folder", 1, [](HWND) {}, kEnterFolder, IDC_AAP_TEXT},
      {"quote in folder", 1, text(1, IDC_AAP_TEXT, "\"C:\\Temp\""), kNoQuotes, IDC_AAP_TEXT},
      {"empty URL", 2, [](HWND) {}, kEnterUrl, IDC_AAP_TEXT},
      {"quote in URL", 2, text(2, IDC_AAP_TEXT, "http://x/?q=\"a\""), kNoQuotes, IDC_AAP_TEXT},
      {"wait 0", 9, text(9, IDC_AAP_VALUE, "0"), kInvalid, IDC_AAP_VALUE},
      {"wait empty", 9, text(9, IDC_AAP_VALUE, ""), kInvalid, IDC_AAP_VALUE},
      {"wait word", 9, text(9, IDC_AAP_VALUE, "abc"), kInvalid, IDC_AAP_VALUE},
      {"wait too long", 9, text(9, IDC_AAP_VALUE, "2147484"), kInvalid, IDC_AAP_VALUE},
      {"wait past 32 bits", 9, text(9, IDC_AAP_VALUE, "4294967296"), kInvalid, IDC_AAP_VALUE},
      {"volume past 32 bits", 3, [](HWND d) {
         HWND combo = PageControl(d, 3, IDC_AAP_VALUE);
         ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("99999999999"));
         SelectComboText(combo, "99999999999"); },
       kInvalid, IDC_AAP_VALUE},
      {"volume 0", 4, [](HWND d) {
         HWND combo = PageControl(d, 4, IDC_AAP_VALUE);
         ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("0"));
         SelectComboText(combo, "0"); },
       kInvalid, IDC_AAP_VALUE},
      {"eject without drive", 7, [](HWND) {}, kInvalid, IDC_AAP_VALUE, false},
      {"close tray without drive", 8, [](HWND) {}, kInvalid, IDC_AAP_VALUE, false},
  };
}


}  // namespace


TEST_CASE("action editor: every kind builds its line and remembers its list index") {
  EditorFixture fx;
  for (const KindCase& c : KindCases()) {
    CAPTURE(c.line);
    CAddActionDlg dlg(TwoDrives, NoMail);
    INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
      SelectKind(dialog, c.index);
      CHECK(VisiblePage(dialog) == c.index);
      c.fill(dialog);
      PressOk(dialog);
    });
    CHECK(result == IDOK);
    CHECK(dlg.GetActionLine() == c.line);
    CHECK(fx.Remembered() == std::to_string(c.index));
  }
}

TEST_CASE("action editor: refused inputs show their message and keep the dialog open") {
  for (const RefusalCase& c : RefusalCases()) {
    CAPTURE(c.name);
    EditorFixture fx;
    CAddActionDlg dlg(c.drives ? TwoDrives : NoDrives, NoMail);
    std::vector<MessageBoxSeen> boxes;
    INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
      SelectKind(dialog, c.index);
      c.fill(dialog);
      PressOk(dialog);
      // Still open, nothing built or remembered, the focus on what needs mending.
      CHECK(::IsWindowVisible(dialog));
      CHECK(dlg.GetActionLine().empty());
      CHECK(fx.Remembered() == "<none>");
      HWND control = PageControl(dialog, c.index, c.focusId);
      CHECK(FocusIsIn(control));
      if (ClassOf(control) == "Edit") {
        DWORD from = 0, to = 0;
        ::SendMessageA(control, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        CHECK(from == 0);
        CHECK(to == static_cast<DWORD>(::GetWindowTextLengthA(control)));
      }
      ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    }, &boxes);
    CHECK(result == IDCANCEL);
    REQUIRE(boxes.size() == 1);
    CHECK(boxes[0].text == c.message);
    CHECK(boxes[0].caption == "Quorvel");
    CHECK(fx.Remembered() == "<none>");
  }
}

TEST_CASE("action editor: a refused input can be mended and then goes through") {
  EditorFixture fx;
  CAddActionDlg dlg(TwoDrives, NoMail);
  std::vector<MessageBoxSeen> boxes;
  INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
    SelectKind(dialog, 0);
    SetPageText(dialog, 0, IDC_AAP_TEXT, "app.exe");
    SetPageText(dialog, 0, IDC_AAP_PARAMETERS, "say \"hi\"");
    PressOk(dialog);
    CHECK(::IsWindowVisible(dialog));
    SetPageText(dialog, 0, IDC_AAP_PARAMETERS, "say hi");
    PressOk(dialog);
  }, &boxes);
  CHECK(result == IDOK);
  CHECK(boxes.size() == 1);
  CHECK(dlg.GetActionLine() == "ShellExecuteEx \"app.exe\" \"say hi\" \"\"");
  CHECK(fx.Remembered() == "0");
}

