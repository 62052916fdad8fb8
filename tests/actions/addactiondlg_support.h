// Drives the action editor from inside its modal loop (tests/support/modal.h), and small helpers to
// pick kinds and fill pages.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "actions/addactiondlg.h"
#include "addactiondlg_ids.h"
#include "include/GlobalData.h"
#include "include/handles.h"
#include "tests/include/controls_support.h"
#include "tests/support/modal.h"
#include "tests/winsupport.h"

#include <doctest/doctest.h>

namespace aatest {

// A Tmp.ini of its own and the shipped language files.
struct EditorFixture {
  TempDir dir;
  GlobalPaths saved = Paths();
  explicit EditorFixture(const char* language = "English.txt") {
    GlobalPaths p;
    p.tmpIni = dir / "Tmp.ini";
    p.settingsIni = dir / "Settings.ini";
    p.selectedLanguage = std::string(QUORVEL_PROGRAM_DIR) + "\\language\\" + language;
    p.defaultLanguage = std::string(QUORVEL_PROGRAM_DIR) + "\\language\\English.txt";
    SetGlobalPaths(p);
  }
  ~EditorFixture() { SetGlobalPaths(saved); }
  std::string Remembered() const {
    char buf[64] = {};
    ::GetPrivateProfileStringA("Settings", "AddActionDlgDefPanel", "<none>", buf, sizeof buf, Paths().tmpIni.c_str());
    return buf;
  }
  void Remember(const std::string& value) const {
    ::WritePrivateProfileStringA("Settings", "AddActionDlgDefPanel", value.c_str(), Paths().tmpIni.c_str());
  }
};

// Runs one step inside the editor's modal loop once it is on screen; message boxes it opens are
// read and closed meanwhile (into `boxes`; without it none may come).
struct ModalDriver {
  static INT_PTR Run(CAddActionDlg& dlg, const std::function<void(HWND)>& step,
                     std::vector<MessageBoxSeen>* boxes = nullptr) {
    return RunDialog(dlg, step, boxes);
  }
};

inline HWND KindList(HWND dialog) { return ::GetDlgItem(dialog, IDC_AA_KINDLIST); }

// As the user picks an entry: the selection, then the notification the dialog acts on.
inline void SelectKind(HWND dialog, int index) {
  HWND list = KindList(dialog);
  ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AA_KINDLIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

inline HWND Page(HWND dialog, int index) {
  HWND frame = ::GetDlgItem(dialog, IDC_AA_PAGEFRAME);
  return reinterpret_cast<HWND>(::SendMessageA(frame, 7137, static_cast<WPARAM>(index), 0));
}

inline HWND PageControl(HWND dialog, int index, int id) { return ::GetDlgItem(Page(dialog, index), id); }

inline void SetPageText(HWND dialog, int index, int id, const std::string& text) {
  ::SetWindowTextA(PageControl(dialog, index, id), text.c_str());
}

inline void SelectComboText(HWND combo, const std::string& text) {
  auto found = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  REQUIRE(found >= 0);
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

inline void PressOk(HWND dialog) { ::SendMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }

inline bool FocusIsIn(HWND control) {
  HWND focus = ::GetFocus();
  return focus != nullptr && (focus == control || ::IsChild(control, focus));
}

inline int VisiblePage(HWND dialog) {
  int shown = -1, count = 0;
  for (int i = 0; i < 18; ++i) {
    if (::IsWindowVisible(Page(dialog, i))) {
      shown = i;
      ++count;
    }
  }
  return count == 1 ? shown : (count == 0 ? -1 : -2);
}

inline std::vector<std::string> TwoDrives() { return {"D:", "E:"}; }
inline std::vector<std::string> NoDrives() { return {}; }
constexpr char kInvalid[] = "Please enter or choose a valid value.";

inline void NoMail(const std::string&) { FAIL("no mail expected"); }

}  // namespace aatest
