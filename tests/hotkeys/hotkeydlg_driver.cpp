#include "tests/hotkeys/hotkeydlg_driver.h"

#include <utility>

#include "hotkeydlgs_ids.h"

DialogScript* DialogScript::s_current = nullptr;

DialogScript::DialogScript() = default;

DialogScript::~DialogScript() {
  if (m_timer) ::KillTimer(nullptr, m_timer);
  if (s_current == this) s_current = nullptr;
}

DialogScript& DialogScript::Then(Find find, Act act) {
  m_steps.push_back({std::move(find), std::move(act)});
  return *this;
}

void DialogScript::Start(DWORD timeoutMs) {
  s_current = this;
  m_deadline = ::GetTickCount() + timeoutMs;
  m_timer = ::SetTimer(nullptr, 0, 25, Tick);
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (s_current) s_current->OnTick();
}

void DialogScript::OnTick() {
  if (static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
    if (!m_timedOut) {
      m_timedOut = true;
      m_steps.clear();
    }
    EndAllDialogs();
    return;
  }
  if (m_steps.empty()) return;
  HWND window = m_steps.front().find();
  if (!window) return;
  Step step = std::move(m_steps.front());
  m_steps.pop_front();
  // A step may open a modal window; the ticks inside its loop run the next steps.
  m_running = true;
  step.act(window);
  m_running = false;
}

namespace {

struct Search {
  std::function<bool(HWND)> test;
  HWND found = nullptr;
};

BOOL CALLBACK EnumProc(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<Search*>(lParam);
  if (::IsWindowVisible(hwnd) && s->test(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindThreadWindow(const std::function<bool(HWND)>& test) {
  Search s{test};
  ::EnumThreadWindows(::GetCurrentThreadId(), EnumProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool IsDialog(HWND hwnd) {
  char cls[64] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  return std::string(cls) == "#32770";
}

// Enabled means it is the one the user works with (its owner is disabled while it is open).
bool IsActiveDialogWith(HWND hwnd, int a, int b) {
  return IsDialog(hwnd) && ::IsWindowEnabled(hwnd) && ::GetDlgItem(hwnd, a) && ::GetDlgItem(hwnd, b);
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam) {
  char cls[64] = {};
  ::GetClassNameA(child, cls, sizeof cls);
  if (::lstrcmpiA(cls, "Static") == 0) {
    std::string text = WindowTextOf(child);
    auto* out = reinterpret_cast<std::string*>(lParam);
    if (text.size() > out->size()) *out = text;
  }
  return TRUE;
}

}  // namespace

std::string WindowTextOf(HWND window) {
  int len = ::GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
  int got = ::GetWindowTextA(window, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

HWND FindEditor() {
  return FindThreadWindow([](HWND h) { return IsActiveDialogWith(h, IDC_AH_PICTURE, IDC_AH_KEY); });
}

HWND FindManager() {
  return FindThreadWindow([](HWND h) { return IsActiveDialogWith(h, IDC_MH_ADD, IDC_MH_EDIT); });
}

HWND FindMessageBox() {
  return FindThreadWindow([](HWND h) {
    return IsDialog(h) && ::IsWindowEnabled(h) && !::GetDlgItem(h, IDC_AH_PICTURE) && !::GetDlgItem(h, IDC_MH_ADD);
  });
}

std::string MessageBoxText(HWND box) {
  std::string text;
  ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

void EndAllDialogs() {
  // One per tick: the loop of the innermost must end before the one below it can.
  HWND box = FindThreadWindow([](HWND h) { return IsDialog(h) && ::IsWindowEnabled(h); });
  if (!box) return;
  if (::GetDlgItem(box, IDC_AH_PICTURE) || ::GetDlgItem(box, IDC_MH_ADD)) {
    ::EndDialog(box, IDCANCEL);
  } else {
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  auto n = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char buf[128] = {};
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    items.emplace_back(buf);
  }
  return items;
}

std::string ComboSelection(HWND combo) {
  auto sel = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
  if (sel < 0) return {};
  char buf[128] = {};
  ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(buf));
  return buf;
}

bool ChooseComboItem(HWND dialog, int comboId, const std::string& name) {
  HWND combo = ::GetDlgItem(dialog, comboId);
  auto index = static_cast<int>(::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(name.c_str())));
  if (index < 0) return false;
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  return true;
}

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PostClick(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
