#include "tests/e2e/e2e_support.h"

#include <doctest/doctest.h>

#include "include/GlobalData.h"
#include "include/codepage_win.h"
#include "include/miscfuns.h"
#include "include/msgwait.h"
#include "predefinedtext/PredefinedTextSelector.h"

ProgramCopy::ProgramCopy() {
  CopyTree(QUORVEL_PROGRAM_DIR, m_dir.path());
  // Tests decide for themselves whether this is a first run, and they never look for updates on
  // the internet.
  WriteFileBytes(m_dir / "Settings.ini", "[Settings]\r\nLanguageFile=English.txt\r\nFirstRun=0\r\nUpdateUrl=\r\n");
}

RunningProcess::RunningProcess(const std::string& exe, const std::string& args) {
  std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::string folder = exe.substr(0, exe.find_last_of('\\'));
  if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &m_info)) {
    m_info = {};
  }
}

RunningProcess::~RunningProcess() {
  if (!m_info.hProcess) return;
  if (Running()) {
    ::TerminateProcess(m_info.hProcess, 99);
    ::WaitForSingleObject(m_info.hProcess, 5000);
  }
  ::CloseHandle(m_info.hThread);
  ::CloseHandle(m_info.hProcess);
}

long RunningProcess::WaitExit(DWORD ms) {
  if (!m_info.hProcess || ::WaitForSingleObject(m_info.hProcess, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(m_info.hProcess, &code);
  return static_cast<long>(code);
}

bool RunningProcess::Running() const {
  return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > ms) return false;
    // Wine delivers the input this thread injected only while the thread handles its messages.
    WaitPumpingMessages(20);
  }
  return true;
}

void PressChord(std::initializer_list<BYTE> modifiers, BYTE key) {
  for (BYTE m : modifiers) ::keybd_event(m, static_cast<BYTE>(::MapVirtualKeyA(m, 0)), 0, 0);
  ::keybd_event(key, static_cast<BYTE>(::MapVirtualKeyA(key, 0)), 0, 0);
  ::keybd_event(key, static_cast<BYTE>(::MapVirtualKeyA(key, 0)), KEYEVENTF_KEYUP, 0);
  for (auto it = modifiers.end(); it != modifiers.begin();) {
    --it;
    ::keybd_event(*it, static_cast<BYTE>(::MapVirtualKeyA(*it, 0)), KEYEVENTF_KEYUP, 0);
  }
  WaitPumpingMessages(30);
}

void ClickAt(POINT screen, int clicks) {
  // Each event carries the point itself: a click that relied on an earlier cursor move could land
  // where the pointer was before, when the system is slow to take the move.
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  const LONG x = static_cast<LONG>((screen.x * 65536LL + width / 2) / width);
  const LONG y = static_cast<LONG>((screen.y * 65536LL + height / 2) / height);
  std::vector<INPUT> in(2 * static_cast<size_t>(clicks));
  for (size_t i = 0; i < in.size(); ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = x;
    in[i].mi.dy = y;
    in[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  WaitPumpingMessages(30);
}

void DoubleClickAt(POINT screen) { ClickAt(screen, 2); }

void DoubleClickSelectorEntry(HWND selector, int row) {
  HWND tree = ::GetDlgItem(selector, kSelectorTreeId);
  const int rowHeight = static_cast<int>(::SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
  POINT onLabel = {50, row * rowHeight + rowHeight / 2};
  ::ClientToScreen(tree, &onLabel);
  DoubleClickAt(onLabel);
}

void DoubleClickFirstSelectorEntry(HWND selector) { DoubleClickSelectorEntry(selector, 0); }

void TypeUnicode(const std::string& utf8) {
  const std::wstring units = unicode::WideFromUtf8(utf8);
  std::vector<INPUT> in;
  for (wchar_t unit : units) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT key = {};
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = static_cast<WORD>(unit);
      key.ki.dwFlags = KEYEVENTF_UNICODE | up;
      in.push_back(key);
    }
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  WaitPumpingMessages(30);
}

void WriteHotkeyFile(const std::string& path, const std::string& setting, const std::vector<std::string>& lines) {
  std::string text = "[Setting]\r\n" + setting + "\r\nEnable=1\r\n";
  if (!lines.empty()) text += "[Action]\r\n";
  for (size_t i = 0; i < lines.size(); ++i) text += "Action" + std::to_string(100001 + i).substr(1) + "=" + lines[i] + "\r\n";
  WriteFileBytes(path, text);
}

std::string WindowText(HWND h) {
  char buf[1024] = {};
  ::SendMessageA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

std::string WindowTextUtf8(HWND h) {
  // WM_GETTEXT, unlike GetWindowText, reaches the controls of other programs too.
  const LRESULT length = ::SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::SendMessageW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
  return unicode::Utf8FromWide(text);
}

HWND StartAndFindMainWindow(RunningProcess& p) {
  HWND main = nullptr;
  if (!p.started() || !WaitUntil([&] { return (main = FindMainWindow()) != nullptr; }, 15000)) return nullptr;
  return main;
}

HWND FindMainWindow() {
  HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
  return msg ? ::GetParent(msg) : nullptr;
}

std::vector<HWND> WindowsOf(DWORD pid, const std::string* caption) {
  struct Search {
    DWORD pid;
    const std::string* caption;
    std::vector<HWND> found;
  } search{pid, caption, {}};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner == s->pid && (!s->caption || (::IsWindowVisible(h) && WindowText(h) == *s->caption)))
          s->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialog(DWORD pid, const std::string& caption) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        std::vector<HWND> all = WindowsOf(pid, &caption);
        found = all.empty() ? nullptr : all.front();
        return found && ::GetDlgItem(found, IDOK);
      },
      10000);
  return found;
}

std::string LanguageText(const ProgramCopy& program, const std::string& file, const char* key) {
  char buf[512] = {};
  ::GetPrivateProfileStringA("String", key, "", buf, sizeof buf, (program / ("language\\" + file)).c_str());
  return buf;
}


RunningQuorvel::RunningQuorvel(const ProgramCopy& program) : process(program.exe()) {
  main = StartAndFindMainWindow(process);
  REQUIRE(main);
  // Registration ends with the status refresh.
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1023)) != "--"; }, 10000));
}

RunningQuorvel::~RunningQuorvel() {
  if (main && process.Running()) {
    ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    process.WaitExit(10000);
  }
}

void RunningQuorvel::Show() {
  ::PostMessageA(main, kMsgShowRequest, 0, 0);
  REQUIRE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
}

PasteTarget::PasteTarget() : process(QUORVEL_PASTE_TARGET) {
  // The window can be found while it is still creating its edit control.
  REQUIRE(WaitUntil(
      [&] {
        window = ::FindWindowA("QuorvelPasteTarget", nullptr);
        return window && (edit = ::GetDlgItem(window, 100)) != nullptr;
      },
      10000));
  Front();
}

void PasteTarget::Front() {
  ::SetForegroundWindow(window);
  REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5000));
}

PasteTarget::~PasteTarget() {
  if (process.Running()) ::PostMessageA(window, WM_CLOSE, 0, 0);
}

std::string Combo(char digit) { return "Ctrl=1\r\nShift=1\r\nAlt=1\r\nvk=" + std::to_string(static_cast<int>(digit)); }

std::string EchoLine(const std::string& word, const std::string& file) {
  return "ShellExecuteEx \"cmd.exe\" \"/c echo " + word + ">> " + file + "\" \"\"";
}

HWND FindBoxOf(DWORD pid, const std::string& caption) {
  for (HWND h = ::FindWindowExA(nullptr, nullptr, "#32770", caption.c_str()); h;
       h = ::FindWindowExA(nullptr, h, "#32770", caption.c_str())) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(h, &owner);
    if (owner == pid && ::IsWindowVisible(h)) return h;
  }
  return nullptr;
}

void OpenAboutFromTrayMenu(HWND main) {
  ::PostMessageA(main, kMsgTrayNotify, 128, WM_RBUTTONDOWN);
  REQUIRE(WaitUntil([] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000));
  WaitUntil([] { return false; }, 300);
  // Up twice reaches the help submenu, Right opens it, Up from its first entry wraps to the last.
  for (BYTE key : {VK_UP, VK_UP, VK_RIGHT}) PressChord({}, key);
  WaitUntil([] { return false; }, 200);
  PressChord({}, VK_UP);
  PressChord({}, VK_RETURN);
}

void RunningQuorvel::ExitThroughTrayMenu() {
  ::PostMessageA(main, kMsgTrayNotify, 128, WM_RBUTTONDOWN);
  REQUIRE(WaitUntil([] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000));
  WaitUntil([] { return false; }, 300);
  PressChord({}, VK_UP);
  PressChord({}, VK_RETURN);
}
