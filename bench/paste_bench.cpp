// Paste latency of long text shortcuts: a 64 KB text chosen in the text selector of the running
// Quorvel.exe and pasted into another program's edit control, the clipboard put back afterwards;
// once a text of Latin letters, once one of other scripts (64 KB of UTF-8). Prints for each the
// medians of: hotkey to the selector listing its entries, double-click to the whole text in the
// edit, double-click to the user's clipboard back in place (which includes the program's pause for
// the target to take the paste); and, as the floor, the same text pasted into the same edit
// straight from a clipboard this program fills (the edit's own time to take it).
//   paste_bench.exe QUORVEL_EXE PASTE_TARGET_EXE [RUNS]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "bench/benchutil.h"
#include "include/GlobalData.h"
#include "include/codepage_win.h"
#include "include/miscfuns.h"
#include "predefinedtext/PredefinedTextSelector.h"
#include "predefinedtext/placeholders.h"

namespace {

constexpr size_t kTextBytes = 64 * 1024;
constexpr BYTE kKey = '7';

bool WriteFileText(const std::string& path, const std::string& text) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr) && n == text.size();
  ::CloseHandle(h);
  return ok;
}

// Lines of plain letters and digits (no placeholders), CR LF between them, exactly kTextBytes long.
std::string LatinText() {
  std::string text;
  for (int line = 0; text.size() < kTextBytes; ++line) {
    text += "Line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog 0123456789\r\n";
  }
  text.resize(kTextBytes);
  if (text.back() == '\r') text.back() = '.';
  return text;
}

// Lines of Greek, Cyrillic, Chinese and emoji, 64 KB of UTF-8 cut at a character's end.
std::string OtherScriptsText() {
  const std::string line =
      "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0 "
      "\xE4\xB8\x96\xE7\x95\x8C\xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9F\x98\x80\xF0\x9F\x8E\x89 \xE2\x82\xAC\r\n";
  std::string text;
  while (text.size() + line.size() <= kTextBytes) text += line;
  return text;
}

std::wstring Wide(const std::string& utf8) { return unicode::WideFromUtf8(utf8); }

// Pumps this thread's messages (injected input is delivered only while it does) until `done`
// holds or `ms` pass; polls every millisecond.
template <typename Done>
bool WaitFor(Done done, DWORD ms) {
  double start = bench::Now();
  while (!done()) {
    if (bench::Now() - start > ms) return false;
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&m);
      ::DispatchMessageA(&m);
    }
    ::Sleep(1);
  }
  return true;
}

void PressHotkey() {
  for (BYTE m : {VK_CONTROL, VK_SHIFT, VK_MENU}) ::keybd_event(m, static_cast<BYTE>(::MapVirtualKeyA(m, 0)), 0, 0);
  ::keybd_event(kKey, static_cast<BYTE>(::MapVirtualKeyA(kKey, 0)), 0, 0);
  ::keybd_event(kKey, static_cast<BYTE>(::MapVirtualKeyA(kKey, 0)), KEYEVENTF_KEYUP, 0);
  for (BYTE m : {VK_MENU, VK_SHIFT, VK_CONTROL})
    ::keybd_event(m, static_cast<BYTE>(::MapVirtualKeyA(m, 0)), KEYEVENTF_KEYUP, 0);
}

void ClickAt(POINT screen, int clicks = 1) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT in[4] = {};
  for (int i = 0; i < 2 * clicks; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = static_cast<LONG>((screen.x * 65536LL + width / 2) / width);
    in[i].mi.dy = static_cast<LONG>((screen.y * 65536LL + height / 2) / height);
    in[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
  }
  ::SendInput(static_cast<UINT>(2 * clicks), in, sizeof(INPUT));
}

void DoubleClickAt(POINT screen) { ClickAt(screen, 2); }

bool SetClipboardText(const std::wstring& text) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (::OpenClipboard(nullptr)) {
      ::EmptyClipboard();
      const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
      HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
      if (g) {
        std::memcpy(::GlobalLock(g), text.c_str(), bytes);
        ::GlobalUnlock(g);
        if (!::SetClipboardData(CF_UNICODETEXT, g)) ::GlobalFree(g);
      }
      ::CloseClipboard();
      return true;
    }
    ::Sleep(5);
  }
  return false;
}

// The clipboard's text; empty while another program holds it open.
std::wstring ClipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* p = static_cast<const wchar_t*>(::GlobalLock(h))) {
      text = p;
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
  return text;
}

std::wstring EditText(HWND edit) {
  std::wstring text(static_cast<size_t>(::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(::SendMessageW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
  return text;
}

struct Process {
  PROCESS_INFORMATION pi = {};
  explicit Process(const std::string& exe) {
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
      pi = {};
  }
  ~Process() {
    if (!pi.hProcess) return;
    if (::WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
};

// One text shortcut measured over the runs.
struct Case {
  Case(const char* w, std::string t, int r) : what(w), text(std::move(t)), row(r) {}
  const char* what;
  std::string text;  // UTF-8, as the store keeps it
  int row;           // its row in the selector
  std::vector<double> toSelector, toPreview, toText, toRestore, direct, overFloor;
  int failed = 0;
  bool whole = false;
};

struct Session {
  HWND main, window, edit;
};

void MeasureOnce(Case& c, const Session& s, int run) {
  const std::wstring text = Wide(c.text);
  const LRESULT want = static_cast<LRESULT>(text.size());
  // The floor: the target's edit taking the text from the clipboard, with no Quorvel in between.
  ::SendMessageW(s.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  SetClipboardText(text);
  double floorStart = bench::Now();
  ::PostMessageW(s.edit, WM_PASTE, 0, 0);
  bool floorDone = WaitFor([&] { return ::SendMessageW(s.edit, WM_GETTEXTLENGTH, 0, 0) >= want; }, 10000);
  double floorMs = bench::Now() - floorStart;

  ::SendMessageW(s.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  const std::wstring kept = L"kept " + std::to_wstring(run);
  SetClipboardText(kept);
  ::SetForegroundWindow(s.window);
  WaitFor([&] { return ::GetForegroundWindow() == s.window; }, 5000);

  double t0 = bench::Now();
  PressHotkey();
  HWND selector = nullptr;
  HWND tree = nullptr;
  bool shown = WaitFor([&] {
    selector = ::FindWindowA(kSelectorWindowClass, nullptr);
    tree = selector ? ::GetDlgItem(selector, kSelectorTreeId) : nullptr;
    return tree && TreeView_GetCount(tree) > static_cast<UINT>(c.row);
  }, 10000);
  if (!shown) {
    std::fprintf(stderr, "%s, run %d: no selector with its entries\n", c.what, run);
    ++c.failed;
    return;
  }
  c.toSelector.push_back(bench::Now() - t0);
  WaitFor([] { return false; }, 100);  // lets the popup finish its first paint, as a user's eye would

  // The entry is picked first, as a user looks at its text before pasting it: the preview's own
  // time to show a long text is not the paste's.
  const int rowHeight = static_cast<int>(::SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
  POINT onLabel = {50, c.row * rowHeight + rowHeight / 2};
  ::ClientToScreen(tree, &onLabel);
  HWND preview = ::GetDlgItem(selector, kSelectorPreviewId);
  double tClick = bench::Now();
  ClickAt(onLabel);
  if (WaitFor([&] { return ::SendMessageW(preview, WM_GETTEXTLENGTH, 0, 0) >= want; }, 10000)) {
    c.toPreview.push_back(bench::Now() - tClick);
  }
  // Past the double-click time, so the click and the double-click stay apart.
  WaitFor([] { return false; }, ::GetDoubleClickTime() + 100);
  double t1 = bench::Now();
  DoubleClickAt(onLabel);
  bool pasted = WaitFor([&] { return ::SendMessageW(s.edit, WM_GETTEXTLENGTH, 0, 0) >= want; }, 10000);
  double textAt = bench::Now();
  bool restored = WaitFor([&] { return ClipboardText() == kept; }, 10000);
  double restoreAt = bench::Now();
  if (!pasted || !restored) {
    std::fprintf(stderr, "%s, run %d: %s\n", c.what, run, pasted ? "clipboard not put back" : "text not pasted");
    ++c.failed;
    return;
  }
  c.toText.push_back(textAt - t1);
  if (floorDone) {
    c.direct.push_back(floorMs);
    c.overFloor.push_back(textAt - t1 - floorMs);
  }
  c.toRestore.push_back(restoreAt - t1);
  c.whole = EditText(s.edit) == text;
  WaitFor([] { return ::FindWindowA(kSelectorWindowClass, nullptr) == nullptr; }, 5000);
}

void Print(const Case& c, int runs) {
  std::printf("%s: runs: %d (%d failed), %zu bytes of UTF-8 pasted through the text selector, median of each\n",
              c.what, runs, c.failed, c.text.size());
  std::printf("  hotkey to the selector with its entries:       %7.1f ms\n", bench::Median(c.toSelector));
  std::printf("  click to the entry's text in the preview:      %7.1f ms\n", bench::Median(c.toPreview));
  std::printf("  double-click to the whole text in the edit:    %7.1f ms\n", bench::Median(c.toText));
  std::printf("  double-click to the clipboard put back:        %7.1f ms\n", bench::Median(c.toRestore));
  std::printf("  floor: the edit pasting it from the clipboard:   %7.1f ms\n", bench::Median(c.direct));
  std::printf("  double-click to text less the floor, per run:   %7.1f ms\n", bench::Median(c.overFloor));
  std::printf("  text arrived unchanged:                        %s\n", c.whole ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: paste_bench QUORVEL_EXE PASTE_TARGET_EXE [RUNS]\n");
    return 2;
  }
  const std::string exe = argv[1], folder = exe.substr(0, exe.find_last_of('\\'));
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
  Case cases[] = {{"Latin letters", LatinText(), 0}, {"other scripts", OtherScriptsText(), 1}};
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config>";
  for (const Case& c : cases) xml += "<item name=\"" + std::string(c.what) + "\" value=\"" + EscapeStoredValue(c.text) + "\"/>";
  xml += "</config>";
  if (!WriteFileText(folder + "\\predefinedtext\\data.xml", xml) ||
      !WriteFileText(folder + "\\hotkeys\\Hotkey-00001.ini",
                     "[Setting]\r\nCtrl=1\r\nShift=1\r\nAlt=1\r\nvk=" + std::to_string(kKey) +
                         "\r\nEnable=1\r\n[Action]\r\nAction00001=InsertPredefinedText\r\n")) {
    std::fprintf(stderr, "paste_bench: cannot write the program's files\n");
    return 1;
  }

  Process quorvel(exe);
  Session s = {};
  if (!quorvel.pi.hProcess || ::WaitForInputIdle(quorvel.pi.hProcess, 20000) != 0 || !WaitFor([&] {
        HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
        s.main = msg ? ::GetParent(msg) : nullptr;
        return s.main != nullptr;
      }, 15000)) {
    std::fprintf(stderr, "paste_bench: Quorvel did not start\n");
    return 1;
  }
  Process target(argv[2]);
  if (!WaitFor([&] {
        s.window = ::FindWindowA("QuorvelPasteTarget", nullptr);
        return s.window && (s.edit = ::GetDlgItem(s.window, 100)) != nullptr;
      }, 15000)) {
    std::fprintf(stderr, "paste_bench: the paste target did not start\n");
    return 1;
  }
  // An edit control takes about 30000 characters unless told otherwise.
  ::SendMessageW(s.edit, EM_SETLIMITTEXT, 0, 0);
  // The hotkey is registered once the status lines are filled in.
  WaitFor([&] {
    char buf[64] = {};
    ::GetWindowTextA(::GetDlgItem(s.main, 1023), buf, sizeof buf);
    return std::strcmp(buf, "--") != 0 && buf[0] != 0;
  }, 10000);

  // The two texts in turn, so both meet the machine in the same state.
  for (int r = 0; r < runs; ++r) {
    for (Case& c : cases) MeasureOnce(c, s, r);
  }
  ::PostMessageA(s.window, WM_CLOSE, 0, 0);
  ::PostMessageA(s.main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);

  bool ok = true;
  for (const Case& c : cases) {
    Print(c, runs);
    ok = ok && c.failed < runs && c.whole;
  }
  return ok ? 0 : 1;
}
