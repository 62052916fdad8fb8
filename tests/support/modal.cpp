#include "tests/support/modal.h"

#include "include/codepage_win.h"

#include <doctest/doctest.h>

#include <utility>

DialogScript* DialogScript::s_current = nullptr;

DialogScript::DialogScript() = default;

DialogScript::~DialogScript() {
  if (m_timer) ::KillTimer(nullptr, m_timer);
  if (s_current == this) s_current = m_outer;
}

DialogScript& DialogScript::Then(Find find, Act act) {
  m_steps.push_back({std::move(find), std::move(act)});
  return *this;
}

DialogScript& DialogScript::AnswerBoxesOf(Find owner) {
  m_boxOwner = std::move(owner);
  return *this;
}

void DialogScript::Start(DWORD timeoutMs) {
  m_outer = s_current;
  s_current = this;
  m_deadline = ::GetTickCount() + timeoutMs;
  m_timer = ::SetTimer(nullptr, 0, 20, Tick);
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (s_current) s_current->OnTick();
}

void DialogScript::AnswerBoxes() {
  HWND owner = m_boxOwner ? m_boxOwner() : nullptr;
  HWND box = owner ? FindBoxOwnedBy(owner) : nullptr;
  if (!box) return;
  MessageBoxSeen seen{TextOf(box), MessageBoxText(box)};
  m_boxes.push_back(seen);
  ::SendMessageA(box, WM_COMMAND, IDOK, 0);
}

void DialogScript::OnTick() {
  AnswerBoxes();
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
  if (!window || !::IsWindowVisible(window)) return;
  Step step = std::move(m_steps.front());
  m_steps.pop_front();
  // A step may open a modal window; the ticks inside its loop run the next steps.
  m_running = true;
  step.act(window);
  m_running = false;
}

INT_PTR RunModal(const std::function<INT_PTR()>& modal, const std::function<HWND()>& dialog,
                 const std::function<void(HWND)>& step, std::vector<MessageBoxSeen>* boxes, DWORD timeoutMs) {
  DialogScript script;
  script.AnswerBoxesOf(dialog).Then(dialog, step);
  script.Start(timeoutMs);
  INT_PTR result = modal();
  CHECK(script.Done());
  if (boxes) {
    *boxes = script.Boxes();
  } else {
    CHECK(script.Boxes().empty());
  }
  return result;
}

namespace {

struct Search {
  const std::function<bool(HWND)>* test;
  HWND found = nullptr;
};

BOOL CALLBACK EnumProc(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<Search*>(lParam);
  if (::IsWindowVisible(hwnd) && (*s->test)(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam) {
  if (::lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) {
    std::string text = TextOf(child);
    auto* out = reinterpret_cast<std::string*>(lParam);
    if (text.size() > out->size()) *out = text;
  }
  return TRUE;
}

}  // namespace

HWND FindThreadWindow(const std::function<bool(HWND)>& test) {
  Search s{&test};
  ::EnumThreadWindows(::GetCurrentThreadId(), EnumProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool IsDialogWindow(HWND hwnd) { return ClassOf(hwnd) == "#32770"; }

HWND FindBoxOwnedBy(HWND owner) {
  return FindThreadWindow(
      [owner](HWND h) { return h != owner && IsDialogWindow(h) && ::GetWindow(h, GW_OWNER) == owner; });
}

std::string MessageBoxText(HWND box) {
  std::string text;
  ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

void EndAllDialogs() {
  ::EndMenu();
  // One a call: the loop of the innermost must end before the one below it can.
  if (HWND box = FindThreadWindow([](HWND h) { return IsDialogWindow(h) && ::IsWindowEnabled(h); })) {
    ::EndDialog(box, kTimedOut);
  }
}

std::string TextOf(HWND window) {
  int len = ::GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
  int got = ::GetWindowTextA(window, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

std::string TreeItemText(HWND tree, HTREEITEM item) { return unicode::AnsiFromUtf8(TreeItemTextUtf8(tree, item)); }

std::string TreeItemTextUtf8(HWND tree, HTREEITEM item) {
  wchar_t buf[1024] = {};
  TVITEMW tvi = {};
  tvi.mask = TVIF_TEXT | TVIF_HANDLE;
  tvi.hItem = item;
  tvi.pszText = buf;
  tvi.cchTextMax = sizeof buf / sizeof buf[0];
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
  return unicode::Utf8FromWide(buf);
}

std::string ClassOf(HWND window) {
  char buf[64] = {};
  ::GetClassNameA(window, buf, sizeof buf);
  return buf;
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  auto count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    auto len = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::string text(static_cast<size_t>(len > 0 ? len : 0) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(len > 0 ? len : 0));
    items.push_back(text);
  }
  return items;
}

std::string ComboSelection(HWND combo) {
  auto sel = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
  if (sel < 0) return {};
  std::vector<std::string> items = ComboItems(combo);
  return static_cast<size_t>(sel) < items.size() ? items[static_cast<size_t>(sel)] : std::string();
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
