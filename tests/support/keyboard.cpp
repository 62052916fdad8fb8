#include "tests/support/keyboard.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "include/msgwait.h"
#include "language/langformat.h"

namespace {

std::string TextOfWindow(HWND h) {
  char buf[1024] = {};
  ::SendMessageA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

std::string ClassOfWindow(HWND h) {
  char buf[64] = {};
  ::GetClassNameA(h, buf, sizeof buf);
  return buf;
}

DialogControl Seen(HWND h) {
  DialogControl c;
  c.hwnd = h;
  c.id = ::GetDlgCtrlID(h);
  c.cls = ClassOfWindow(h);
  c.text = TextOfWindow(h);
  ::GetWindowRect(h, &c.rect);
  c.style = ::GetWindowLongPtrA(h, GWL_STYLE);
  c.dlgCode = ::SendMessageA(h, WM_GETDLGCODE, 0, 0);
  return c;
}

bool HasLetter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char ch) {
    auto c = static_cast<unsigned char>(ch);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
  });
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A box the user reaches through the label before it: it takes the focus itself.
bool IsLabelledBox(HWND h) {
  if (!h || !::IsWindowVisible(h) || !::IsWindowEnabled(h)) return false;
  if (!(::GetWindowLongPtrA(h, GWL_STYLE) & WS_TABSTOP)) return false;
  const std::string cls = ClassOfWindow(h);
  for (const char* box : {"Edit", "ComboBox", "ListBox", "SysListView32", "SysTreeView32"}) {
    if (::lstrcmpiA(cls.c_str(), box) == 0) return true;
  }
  return false;
}

// The tab stop the focus stands for: a drop-down combo box's edit stands for the combo box.
HWND TabStopOf(HWND focus) {
  HWND parent = focus ? ::GetParent(focus) : nullptr;
  if (parent && ::lstrcmpiA(ClassOfWindow(parent).c_str(), "ComboBox") == 0) return parent;
  return focus;
}

// Whether `b` may follow `a` in reading order. Two pixels of slack allow for the rounding of
// dialog units.
bool Follows(const RECT& a, const RECT& b) {
  constexpr LONG slack = 2;
  const bool inside = b.left >= a.left - slack && b.right <= a.right + slack && b.top >= a.top - slack &&
                      b.bottom <= a.bottom + slack;
  const bool below = b.top >= a.bottom - slack;
  const bool sameRow = b.top < a.bottom && a.top < b.bottom;
  const bool right = b.left >= a.right - slack;
  return inside || below || (sameRow && right);
}

BOOL CALLBACK Collect(HWND h, LPARAM out) {
  if (::IsWindowVisible(h)) reinterpret_cast<std::vector<DialogControl>*>(out)->push_back(Seen(h));
  return TRUE;
}

}  // namespace

void InjectChord(std::initializer_list<BYTE> modifiers, BYTE key) {
  auto send = [](BYTE vk, bool up) {
    ::keybd_event(vk, static_cast<BYTE>(::MapVirtualKeyA(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
  };
  for (BYTE m : modifiers) send(m, false);
  send(key, false);
  send(key, true);
  for (auto it = modifiers.end(); it != modifiers.begin();) send(*--it, true);
}

bool WaitPumping(const std::function<bool()>& condition, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > ms) return false;
    // Wine delivers the input this thread injected only while the thread handles its messages.
    WaitPumpingMessages(20);
  }
  return true;
}

HWND FocusIn(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool PressAndWaitFocus(HWND window, std::initializer_list<BYTE> modifiers, BYTE key,
                       const std::function<bool(HWND)>& landed, DWORD ms) {
  // Where the focus is already, the keys could not be told to have done anything: it goes on first.
  if (landed(FocusIn(window))) {
    ::PostMessageA(::GetAncestor(window, GA_ROOT), WM_NEXTDLGCTL, 0, FALSE);
    WaitPumping([&] { return !landed(FocusIn(window)); }, 1000);
  }
  InjectChord(modifiers, key);
  return WaitPumping([&] { return landed(FocusIn(window)); }, ms);
}

bool DialogControl::IsCheckBox() const {
  const LONG_PTR type = style & BS_TYPEMASK;
  return IsButton() && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE);
}

std::string Describe(const DialogControl& c) {
  return c.cls + " " + std::to_string(c.id) + " \"" + c.text + "\"";
}

std::vector<DialogControl> VisibleControls(HWND window) {
  std::vector<DialogControl> controls;
  ::EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

std::vector<AccessKeyUse> AccessKeysOf(HWND window) {
  std::vector<AccessKeyUse> uses;
  for (const DialogControl& c : VisibleControls(window)) {
    if (!c.IsButton() && !c.IsStatic()) continue;
    if (c.IsStatic() && (c.style & SS_NOPREFIX)) continue;
    for (char key : lang::AccessKeys(c.text)) {
      AccessKeyUse use;
      use.control = c;
      use.key = Upper(key);
      HWND next = ::GetWindow(c.hwnd, GW_HWNDNEXT);
      if (c.IsStatic() && IsLabelledBox(next)) use.target = Seen(next);
      uses.push_back(use);
    }
  }
  return uses;
}

std::vector<std::string> AccessKeyProblems(HWND window, const std::vector<int>& unmarked) {
  std::vector<std::string> problems;
  std::map<char, std::vector<std::string>> byKey;
  for (const AccessKeyUse& use : AccessKeysOf(window)) byKey[use.key].push_back(Describe(use.control));
  for (const auto& [key, users] : byKey) {
    if (users.size() < 2) continue;
    std::string line = std::string("access key ") + key + " on";
    for (const std::string& u : users) line += " " + u + ";";
    problems.push_back(line);
  }
  for (const DialogControl& c : VisibleControls(window)) {
    const size_t keys = lang::AccessKeys(c.text).size();
    const bool may = c.id == IDOK || c.id == IDCANCEL ||
                     std::find(unmarked.begin(), unmarked.end(), c.id) != unmarked.end();
    const bool label = c.IsStatic() && !(c.style & SS_NOPREFIX) && IsLabelledBox(::GetWindow(c.hwnd, GW_HWNDNEXT));
    const bool needs = ((c.IsButton() && HasLetter(c.text)) || label) && !may;
    if ((c.IsButton() || c.IsStatic()) && keys > 1) problems.push_back(Describe(c) + " marks several access keys");
    if (needs && keys != 1) problems.push_back(Describe(c) + " has no access key");
  }
  const std::string caption = TextOfWindow(window);
  if (!lang::AccessKeys(caption).empty()) problems.push_back("the caption \"" + caption + "\" shows an access key mark");
  return problems;
}

BYTE KeyOf(char key) { return static_cast<BYTE>(Upper(key)); }

std::vector<DialogControl> TabCycle(HWND window, int limit) {
  std::vector<DialogControl> cycle;
  HWND start = TabStopOf(FocusIn(window));
  if (!start) return cycle;
  cycle.push_back(Seen(start));
  HWND at = start;
  for (int i = 0; i < limit; ++i) {
    HWND before = at;
    if (!PressAndWaitFocus(window, {}, VK_TAB, [&](HWND f) { return TabStopOf(f) != before; }, 2000)) {
      return cycle.size() == 1 ? cycle : std::vector<DialogControl>();
    }
    at = TabStopOf(FocusIn(window));
    if (at == start) break;
    cycle.push_back(Seen(at));
  }
  return cycle;
}

std::vector<std::string> TabOrderProblems(HWND window, const std::vector<DialogControl>& cycle) {
  std::vector<std::string> problems;
  if (cycle.empty()) problems.push_back("Tab moves the focus nowhere");
  // The walk starts at the first of them in the dialog manager's order, the one the focus goes to
  // from the last; from there every step goes on in reading order.
  const std::vector<DialogControl> all = VisibleControls(window);
  auto rank = [&](const DialogControl& c) {
    return std::find_if(all.begin(), all.end(), [&](const DialogControl& a) { return a.hwnd == c.hwnd; }) - all.begin();
  };
  std::vector<DialogControl> walk = cycle;
  if (!walk.empty()) {
    auto first = std::min_element(walk.begin(), walk.end(),
                                  [&](const DialogControl& a, const DialogControl& b) { return rank(a) < rank(b); });
    std::rotate(walk.begin(), first, walk.end());
  }
  for (size_t i = 0; i + 1 < walk.size(); ++i) {
    if (!Follows(walk[i].rect, walk[i + 1].rect))
      problems.push_back("Tab goes back from " + Describe(walk[i]) + " to " + Describe(walk[i + 1]));
  }
  for (const DialogControl& c : all) {
    // A window that holds controls of its own (a tab control with its page) is gone through, not
    // stopped at.
    const bool container = (::GetWindowLongPtrA(c.hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
    if (!(c.style & WS_TABSTOP) || !::IsWindowEnabled(c.hwnd) || container) continue;
    bool visited = std::any_of(cycle.begin(), cycle.end(), [&](const DialogControl& v) { return v.hwnd == c.hwnd; });
    if (!visited) problems.push_back("Tab never reaches " + Describe(c));
  }
  return problems;
}

void CheckKeyboardUse(HWND window, const std::vector<int>& unmarked) {
  CAPTURE(TextOfWindow(window));
  for (const std::string& problem : AccessKeyProblems(window, unmarked)) FAIL_CHECK(problem);
  for (const AccessKeyUse& use : AccessKeysOf(window)) {
    CAPTURE(Describe(use.control));
    if (use.target.hwnd) {
      HWND box = use.target.hwnd;
      CHECK(PressAndWaitFocus(window, {VK_MENU}, KeyOf(use.key),
                              [box](HWND f) { return f == box || ::IsChild(box, f); }));
    } else if (use.control.IsCheckBox()) {
      HWND check = use.control.hwnd;
      auto state = [check] { return ::SendMessageA(check, BM_GETCHECK, 0, 0); };
      for (int round = 0; round < 2; ++round) {
        const LRESULT before = state();
        InjectChord({VK_MENU}, KeyOf(use.key));
        CHECK(WaitPumping([&] { return state() != before; }, 3000));
      }
    }
  }
  std::vector<DialogControl> cycle = TabCycle(window);
  std::string visited;
  for (const DialogControl& c : cycle) visited += "\n  " + Describe(c);
  CAPTURE(visited);
  for (const std::string& problem : TabOrderProblems(window, cycle)) FAIL_CHECK(problem);
}

// ---- DialogThread --------------------------------------------------------------------------------

DialogThread::DialogThread(std::function<INT_PTR()> show) : m_show(std::move(show)) {
  m_thread = ::CreateThread(nullptr, 0, &DialogThread::Run, this, 0, &m_id);
}

DWORD WINAPI DialogThread::Run(LPVOID self) {
  auto* me = static_cast<DialogThread*>(self);
  me->m_result = me->m_show();
  return 0;
}

HWND DialogThread::WaitDialog(const std::function<bool(HWND)>& test, DWORD ms) const {
  struct Search {
    const std::function<bool(HWND)>* test;
    HWND found;
  };
  HWND found = nullptr;
  WaitPumping(
      [&] {
        Search s{&test, nullptr};
        ::EnumThreadWindows(
            m_id,
            [](HWND h, LPARAM lp) -> BOOL {
              auto* search = reinterpret_cast<Search*>(lp);
              if (!::IsWindowVisible(h) || ClassOfWindow(h) != "#32770") return TRUE;
              if (*search->test && !(*search->test)(h)) return TRUE;
              search->found = h;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        found = s.found;
        return found != nullptr;
      },
      ms);
  return found;
}

HWND DialogThread::WaitTopDialog(DWORD ms) const {
  return WaitDialog([](HWND h) { return ::IsWindowEnabled(h) != FALSE; }, ms);
}

bool DialogThread::WaitEnd(DWORD ms) {
  return WaitPumping([&] { return ::WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0; }, ms);
}

DialogThread::~DialogThread() {
  if (!m_thread) return;
  for (int i = 0; i < 50 && ::WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0; ++i) {
    if (HWND top = WaitTopDialog(200)) ::PostMessageA(top, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    WaitPumping([&] { return ::WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0; }, 200);
  }
  ::WaitForSingleObject(m_thread, 5000);
  ::CloseHandle(m_thread);
}
