#include <doctest/doctest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/actions/addactiondlg_support.h"

using namespace aatest;

TEST_CASE("action editor: the pages start as they should") {
  EditorFixture fx;
  CAddActionDlg dlg(TwoDrives, NoMail);
  ModalDriver::Run(dlg, [&](HWND dialog) {
    CHECK(TextOf(dialog) == "Add action");
    HWND list = KindList(dialog);
    std::vector<std::string> kinds = ComboItems(list);
    REQUIRE(kinds.size() == 18);
    CHECK(kinds[0] == "Open a file");
    CHECK(kinds[3] == "Volume up");
    CHECK(kinds[9] == "Wait");
    CHECK(kinds[17] == "Paste (Ctrl+V)");
    // Nothing remembered yet: the first kind.
    CHECK(::SendMessageA(list, CB_GETCURSEL, 0, 0) == 0);
    CHECK(VisiblePage(dialog) == 0);
    for (int id : {IDC_AAP_TEXT, IDC_AAP_PARAMETERS, IDC_AAP_FOLDER}) CHECK(TextOf(PageControl(dialog, 0, id)).empty());
    CHECK(TextOf(PageControl(dialog, 0, IDC_AAP_BROWSE)) == "...");
    CHECK(TextOf(PageControl(dialog, 1, IDC_AAP_TEXT)).empty());
    CHECK(TextOf(PageControl(dialog, 2, IDC_AAP_TEXT)).empty());

    HWND wait = PageControl(dialog, 9, IDC_AAP_VALUE);
    std::vector<std::string> seconds = ComboItems(wait);
    REQUIRE(seconds.size() == 30);
    CHECK(seconds.front() == "1");
    CHECK(seconds.back() == "30");
    CHECK(TextOf(wait) == "5");
    for (int index : {3, 4}) {
      HWND steps = PageControl(dialog, index, IDC_AAP_VALUE);
      std::vector<std::string> entries = ComboItems(steps);
      REQUIRE(entries.size() == 20);
      CHECK(entries[19] == "20");
      CHECK(::SendMessageA(steps, CB_GETCURSEL, 0, 0) == 4);
      CHECK(TextOf(steps) == "5");
    }
    for (int index : {7, 8}) {
      HWND drives = PageControl(dialog, index, IDC_AAP_VALUE);
      CHECK(ComboItems(drives) == TwoDrives());
      CHECK(TextOf(drives) == "D:");
    }
    for (int index : {5, 6, 10, 11, 12, 13, 14, 15, 16, 17}) {
      CAPTURE(index);
      HWND none = PageControl(dialog, index, IDC_AAP_VALUE);
      CHECK(ComboItems(none) == std::vector<std::string>{"(no parameters needed)"});
      CHECK(TextOf(none) == "(no parameters needed)");
      CHECK_FALSE(::IsWindowEnabled(none));
    }
    // The five simple kinds share one template.
    CHECK(TextOf(::GetDlgItem(Page(dialog, 13), -1)) == TextOf(::GetDlgItem(Page(dialog, 17), -1)));
    // Tab reaches into the pages.
    CHECK((::GetWindowLongPtrA(::GetDlgItem(dialog, IDC_AA_PAGEFRAME), GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0);
    ::EndDialog(dialog, IDCANCEL);
  });
}

TEST_CASE("action editor: switching kinds shows one page and keeps what was typed") {
  EditorFixture fx;
  CAddActionDlg dlg(TwoDrives, NoMail);
  INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
    SetPageText(dialog, 0, IDC_AAP_TEXT, "kept.exe");
    for (int i = 17; i >= 0; --i) {
      SelectKind(dialog, i);
      CHECK(VisiblePage(dialog) == i);
    }
    RECT frame = {}, page = {};
    ::GetClientRect(::GetDlgItem(dialog, IDC_AA_PAGEFRAME), &frame);
    ::GetWindowRect(Page(dialog, 0), &page);
    CHECK(page.right - page.left == frame.right);
    CHECK(page.bottom - page.top == frame.bottom);
    CHECK(TextOf(PageControl(dialog, 0, IDC_AAP_TEXT)) == "kept.exe");
    // A change notification with no entry selected changes nothing.
    ::SendMessageA(KindList(dialog), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AA_KINDLIST, CBN_SELCHANGE), 0);
    CHECK(VisiblePage(dialog) == 0);
    SelectKind(dialog, 0);
    PressOk(dialog);
  });
  CHECK(result == IDOK);
  CHECK(dlg.GetActionLine() == "ShellExecuteEx \"kept.exe\" \"\" \"\"");
}

TEST_CASE("action editor: the remembered kind opens its page; damaged values do no harm") {
  {
    EditorFixture fx;
    fx.Remember("9");
    CAddActionDlg dlg(TwoDrives, NoMail);
    INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
      CHECK(::SendMessageA(KindList(dialog), CB_GETCURSEL, 0, 0) == 9);
      CHECK(VisiblePage(dialog) == 9);
      PressOk(dialog);
    });
    CHECK(result == IDOK);
    CHECK(dlg.GetActionLine() == "Sleep 5000");
    CHECK(fx.Remembered() == "9");
  }
  for (const char* damaged : {"999", "-1", "18", "4294967295", "99999999999999999999"}) {
    CAPTURE(damaged);
    EditorFixture fx;
    fx.Remember(damaged);
    CAddActionDlg dlg(TwoDrives, NoMail);
    std::vector<MessageBoxSeen> boxes;
    INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
      // Nothing chosen: no entry, no page; OK asks for a kind.
      CHECK(::SendMessageA(KindList(dialog), CB_GETCURSEL, 0, 0) == CB_ERR);
      CHECK(VisiblePage(dialog) == -1);
      PressOk(dialog);
      CHECK(::IsWindowVisible(dialog));
      CHECK(FocusIsIn(KindList(dialog)));
      SelectKind(dialog, 16);
      PressOk(dialog);
    }, &boxes);
    CHECK(result == IDOK);
    REQUIRE(boxes.size() == 1);
    CHECK(boxes[0].text == kInvalid);
    CHECK(dlg.GetActionLine() == "Copy");
    CHECK(fx.Remembered() == "16");
  }
  for (const char* unreadable : {"text", "", "x9"}) {
    CAPTURE(unreadable);
    EditorFixture fx;
    fx.Remember(unreadable);
    CAddActionDlg dlg(TwoDrives, NoMail);
    ModalDriver::Run(dlg, [&](HWND dialog) {
      // Not a number reads as 0.
      CHECK(::SendMessageA(KindList(dialog), CB_GETCURSEL, 0, 0) == 0);
      CHECK(VisiblePage(dialog) == 0);
      ::EndDialog(dialog, IDCANCEL);
    });
    CHECK(fx.Remembered() == unreadable);
  }
}

TEST_CASE("action editor: Cancel and Esc build nothing and write nothing") {
  EditorFixture fx;
  {
    CAddActionDlg dlg(TwoDrives, NoMail);
    INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
      SelectKind(dialog, 9);
      ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    CHECK(result == IDCANCEL);
    CHECK(dlg.GetActionLine().empty());
    CHECK_FALSE(FileExists(Paths().tmpIni));
  }
  fx.Remember("4");
  {
    CAddActionDlg dlg(TwoDrives, NoMail);
    INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
      SelectKind(dialog, 12);
      HWND focus = ::GetFocus();
      CHECK(focus != nullptr);
      ::PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    CHECK(result == IDCANCEL);
    CHECK(dlg.GetActionLine().empty());
    CHECK(fx.Remembered() == "4");
  }
}

TEST_CASE("action editor: the suggestion button opens a mail and leaves the dialog open") {
  EditorFixture fx;
  std::vector<std::string> opened;
  CAddActionDlg dlg(TwoDrives, [&](const std::string& url) { opened.push_back(url); });
  INT_PTR result = ModalDriver::Run(dlg, [&](HWND dialog) {
    ::SendMessageA(::GetDlgItem(dialog, IDC_AA_SUGGEST), BM_CLICK, 0, 0);
    CHECK(::IsWindowVisible(dialog));
    ::EndDialog(dialog, IDCANCEL);
  });
  CHECK(result == IDCANCEL);
  REQUIRE(opened.size() == 1);
  CHECK(opened[0] ==
        "mailto:support@quorvel.example?subject=Quorvel - Suggest an action&body=Please describe the new action here:");
}

TEST_CASE("action editor: the entry point gives the line only on OK") {
  EditorFixture fx;
  // Driven from a thread timer, as for the dialog object itself: find the window by its caption.
  static std::function<void(HWND)> s_step;
  static bool s_ran;
  auto run = [](std::function<void(HWND)> step, std::string& line) {
    s_step = std::move(step);
    s_ran = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
      HWND dialog = ::FindWindowA("#32770", "Add action");
      if (!s_ran && dialog && ::IsWindowVisible(dialog)) {
        s_ran = true;
        s_step(dialog);
      }
    });
    bool ok = ComposeActionLine(nullptr, line);
    ::KillTimer(nullptr, timer);
    CHECK(s_ran);
    return ok;
  };
  std::string line = "untouched";
  CHECK_FALSE(run([](HWND dialog) { ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }, line));
  CHECK(line == "untouched");
  CHECK(run([](HWND dialog) {
    SelectKind(dialog, 2);
    SetPageText(dialog, 2, IDC_AAP_TEXT, "https://example.com/");
    PressOk(dialog);
  }, line));
  CHECK(line == "ShellExecuteEx \"https://example.com/\" \"\" \"\"");
}

namespace {

// The width a text needs in a control's font.
int TextWidth(HWND control, const std::string& text) { return TextExtent(control, text).cx; }

int ClientWidth(HWND control) {
  RECT rc = {};
  ::GetClientRect(control, &rc);
  return rc.right;
}

BOOL CALLBACK CheckChildFits(HWND child, LPARAM param) {
  auto* problems = reinterpret_cast<std::vector<std::string>*>(param);
  std::string cls = ClassOf(child);
  std::string text = TextOf(child);
  int width = ClientWidth(child);
  if (cls == "Static" && !text.empty() && (::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT) {
    if (TextWidth(child, text) > width) problems->push_back("static \"" + text + "\"");
  } else if (cls == "Button" && !text.empty()) {
    if (TextWidth(child, text) + 8 > width) problems->push_back("button \"" + text + "\"");
  } else if (cls == "ComboBox") {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ::GetComboBoxInfo(child, &info);
    int room = info.rcItem.right - info.rcItem.left;
    for (const std::string& entry : ComboItems(child)) {
      if (TextWidth(child, entry) > room) problems->push_back("entry \"" + entry + "\"");
    }
  }
  return TRUE;
}

// Every text of the dialog and of all its pages fits its control.
std::vector<std::string> TextsThatDoNotFit(HWND dialog) {
  std::vector<std::string> problems;
  ::EnumChildWindows(dialog, CheckChildFits, reinterpret_cast<LPARAM>(&problems));
  // The bold headings draw their icon first.
  for (int id : {IDC_AA_KINDHEADING, IDC_AA_PAGEHEADING}) {
    HWND heading = ::GetDlgItem(dialog, id);
    if (TextExtent(dialog, TextOf(heading), 0, true).cx + 16 + 6 > ClientWidth(heading)) {
      problems.push_back("heading \"" + TextOf(heading) + "\"");
    }
  }
  return problems;
}

bool SaveDialogShot(HWND dialog, const std::string& name) {
  Pixels shot = ScreenPixels(dialog);
  RECT rc = {};
  ::GetClientRect(dialog, &rc);
  CHECK(shot.width == rc.right);
  CHECK(shot.height == rc.bottom);
  CHECK(shot.width > 400);
  CHECK(shot.height > 300);
  // White page, grey band, dark text: not blank, not one colour.
  int white = shot.Count(RGB(255, 255, 255), 0);
  int dark = shot.Count(RGB(0, 0, 0), 60);
  CHECK(white > shot.width * shot.height / 3);
  CHECK(dark > 200);
  bool written = SaveShot(shot, "actioned", name + ".png");
  CHECK(written);
  return written;
}

}  // namespace

TEST_CASE("action editor: texts fit their controls in English and German; screenshots") {
  GdiplusFixture gdiplus;
  REQUIRE(gdiplus.started());
  for (const char* language : {"English.txt", "Deutsch.txt"}) {
    CAPTURE(language);
    EditorFixture fx(language);
    std::string tag = std::string(language) == "English.txt" ? "en" : "de";
    CAddActionDlg dlg(TwoDrives, NoMail);
    ModalDriver::Run(dlg, [&](HWND dialog) {
      std::vector<std::string> problems = TextsThatDoNotFit(dialog);
      for (const std::string& p : problems) MESSAGE(p);
      CHECK(problems.empty());
      const std::pair<int, const char*> shots[] = {
          {0, "openfile"}, {9, "sleep"}, {3, "volumeup"}, {7, "eject"}, {13, "noparameters"}};
      for (const auto& s : shots) {
        SelectKind(dialog, s.first);
        if (s.first == 0) {
          SetPageText(dialog, 0, IDC_AAP_TEXT, "C:\\Program Files\\App\\app.exe");
          SetPageText(dialog, 0, IDC_AAP_PARAMETERS, "-x /y");
        }
        SaveDialogShot(dialog, "addaction-" + tag + "-" + s.second);
      }
      ::EndDialog(dialog, IDCANCEL);
    });
  }
}
