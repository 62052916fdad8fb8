// Drives the action editor from inside its modal loop: a step on a timer, message boxes read and
// closed as they come, and small helpers to pick kinds and fill pages.
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
#include "tests/winsupport.h"

#include <doctest/doctest.h>

namespace aatest {

constexpr INT_PTR kTimedOut = 999;
constexpr char kShotFolder[] = "Z:\\tmp\\shots\\actioned";

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

inline std::string TextOf(HWND window) {
  int len = ::GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
  int got = ::GetWindowTextA(window, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

inline std::string ClassOf(HWND window) {
  char buf[64] = {};
  ::GetClassNameA(window, buf, sizeof buf);
  return buf;
}

struct MessageBoxSeen {
  std::string caption, text;
};

// Runs one step inside the dialog's modal loop once it is on screen. Any message box the dialog
// opens meanwhile is read and closed from the same timer, so a step can press OK and look at the
// outcome afterwards. A dialog left open is ended after a while with kTimedOut.
class ModalDriver {
 public:
  using Step = std::function<void(HWND dialog)>;

  static INT_PTR Run(CAddActionDlg& dlg, Step step, std::vector<MessageBoxSeen>* boxes = nullptr) {
    ModalDriver driver(&dlg, std::move(step));
    ModalDriver* outer = std::exchange(s_current, &driver);
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, Tick);
    INT_PTR result = dlg.DoModal(nullptr);
    ::KillTimer(nullptr, timer);
    s_current = outer;
    CHECK(driver.m_ran);
    if (boxes) *boxes = driver.m_boxes;
    else CHECK(driver.m_boxes.empty());
    return result;
  }
  // The boxes seen so far in the running step.
  static const std::vector<MessageBoxSeen>& Boxes() { return s_current->m_boxes; }

 private:
  ModalDriver(CAddActionDlg* dlg, Step step) : m_dlg(dlg), m_step(std::move(step)), m_start(::GetTickCount()) {}

  static BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    auto* d = reinterpret_cast<ModalDriver*>(param);
    if (window != d->m_dlg->hwnd() && ::IsWindowVisible(window) && ClassOf(window) == "#32770" &&
        ::GetWindow(window, GW_OWNER) == d->m_dlg->hwnd()) {
      d->m_box = window;
      return FALSE;
    }
    return TRUE;
  }
  static BOOL CALLBACK ReadBoxText(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<std::string*>(param);
    if (ClassOf(child) == "Static") {
      std::string t = TextOf(child);
      if (t.size() > text->size()) *text = t;
    }
    return TRUE;
  }

  void CloseMessageBoxes() {
    m_box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(this));
    if (!m_box) return;
    MessageBoxSeen seen;
    seen.caption = TextOf(m_box);
    ::EnumChildWindows(m_box, ReadBoxText, reinterpret_cast<LPARAM>(&seen.text));
    m_boxes.push_back(seen);
    ::SendMessageA(m_box, WM_COMMAND, IDOK, 0);
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* d = s_current;
    if (!d) return;
    d->CloseMessageBoxes();
    HWND dialog = d->m_dlg->hwnd();
    if (!dialog || d->m_busy) return;
    if (!d->m_ran && ::IsWindowVisible(dialog)) {
      d->m_ran = d->m_busy = true;
      d->m_step(dialog);
      d->m_busy = false;
    } else if (::GetTickCount() - d->m_start > 8000) {
      ::EndDialog(dialog, kTimedOut);
    }
  }

  CAddActionDlg* m_dlg;
  Step m_step;
  DWORD m_start;
  bool m_ran = false, m_busy = false;
  HWND m_box = nullptr;
  std::vector<MessageBoxSeen> m_boxes;
  inline static ModalDriver* s_current = nullptr;
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

inline std::vector<std::string> ComboEntries(HWND combo) {
  std::vector<std::string> entries;
  auto count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char buf[256] = {};
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    entries.push_back(buf);
  }
  return entries;
}

inline std::vector<std::string> TwoDrives() { return {"D:", "E:"}; }
inline std::vector<std::string> NoDrives() { return {}; }
constexpr char kInvalid[] = "Please enter or choose a valid value.";

inline void NoMail(const std::string&) { FAIL("no mail expected"); }

}  // namespace aatest
