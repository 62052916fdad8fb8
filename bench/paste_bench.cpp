// Paste latency of a long text shortcut: a 64 KB text chosen in the text selector of the running
// Quorvel.exe and pasted into another program's edit control, the clipboard put back afterwards.
// Prints the medians of: hotkey to the selector listing its entries, double-click to the whole
// text in the edit, double-click to the user's clipboard back in place (which includes the
// program's pause for the target to take the paste); and, as the floor, the same text pasted into
// the same edit straight from a clipboard this program fills (the edit's own time to take it).
//   paste_bench.exe QUORVEL_EXE PASTE_TARGET_EXE [RUNS]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/benchutil.h"
#include "include/GlobalData.h"
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
std::string BigText() {
  std::string text;
  for (int line = 0; text.size() < kTextBytes; ++line) {
    text += "Line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog 0123456789\r\n";
  }
  text.resize(kTextBytes);
  if (text.back() == '\r') text.back() = '.';
  return text;
}

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

void DoubleClickAt(POINT screen) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT in[4] = {};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = static_cast<LONG>((screen.x * 65536LL + width / 2) / width);
    in[i].mi.dy = static_cast<LONG>((screen.y * 65536LL + height / 2) / height);
    in[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
  }
  ::SendInput(4, in, sizeof(INPUT));
}

bool SetClipboardText(const std::string& text) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (::OpenClipboard(nullptr)) {
      ::EmptyClipboard();
      HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
      if (g) {
        std::memcpy(::GlobalLock(g), text.c_str(), text.size() + 1);
        ::GlobalUnlock(g);
        if (!::SetClipboardData(CF_TEXT, g)) ::GlobalFree(g);
      }
      ::CloseClipboard();
      return true;
    }
    ::Sleep(5);
  }
  return false;
}

// The clipboard's text; empty while another program holds it open.
std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
      text = p;
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: paste_bench QUORVEL_EXE PASTE_TARGET_EXE [RUNS]\n");
    return 2;
  }
  const std::string exe = argv[1], folder = exe.substr(0, exe.find_last_of('\\'));
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
  const std::string text = BigText();
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><item name=\"Big\" value=\"" +
                    EscapeStoredValue(text) + "\"/></config>";
  if (!WriteFileText(folder + "\\predefinedtext\\data.xml", xml) ||
      !WriteFileText(folder + "\\hotkeys\\Hotkey-00001.ini",
                     "[Setting]\r\nCtrl=1\r\nShift=1\r\nAlt=1\r\nvk=" + std::to_string(kKey) +
                         "\r\nEnable=1\r\n[Action]\r\nAction00001=InsertPredefinedText\r\n")) {
    std::fprintf(stderr, "paste_bench: cannot write the program's files\n");
    return 1;
  }

  Process quorvel(exe);
  HWND main = nullptr;
  if (!quorvel.pi.hProcess || ::WaitForInputIdle(quorvel.pi.hProcess, 20000) != 0 || !WaitFor([&] {
        HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
        main = msg ? ::GetParent(msg) : nullptr;
        return main != nullptr;
      }, 15000)) {
    std::fprintf(stderr, "paste_bench: Quorvel did not start\n");
    return 1;
  }
  Process target(argv[2]);
  HWND window = nullptr, edit = nullptr;
  if (!WaitFor([&] {
        window = ::FindWindowA("QuorvelPasteTarget", nullptr);
        return window && (edit = ::GetDlgItem(window, 100)) != nullptr;
      }, 15000)) {
    std::fprintf(stderr, "paste_bench: the paste target did not start\n");
    return 1;
  }
  // An edit control takes about 30000 characters unless told otherwise.
  ::SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
  // The hotkey is registered once the status lines are filled in.
  WaitFor([&] {
    char buf[64] = {};
    ::GetWindowTextA(::GetDlgItem(main, 1023), buf, sizeof buf);
    return std::strcmp(buf, "--") != 0 && buf[0] != 0;
  }, 10000);

  std::vector<double> toSelector, toText, toRestore, direct, overFloor;
  int failed = 0;
  for (int r = 0; r < runs; ++r) {
    // The floor: the target's edit taking the text from the clipboard, with no Quorvel in between.
    ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    SetClipboardText(text);
    double floorStart = bench::Now();
    ::PostMessageA(edit, WM_PASTE, 0, 0);
    bool floorDone = WaitFor([&] {
      return ::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0) >= static_cast<LRESULT>(text.size());
    }, 10000);
    double floorMs = bench::Now() - floorStart;

    ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    const std::string kept = "kept " + std::to_string(r);
    SetClipboardText(kept);
    ::SetForegroundWindow(window);
    WaitFor([&] { return ::GetForegroundWindow() == window; }, 5000);

    double t0 = bench::Now();
    PressHotkey();
    HWND selector = nullptr;
    bool shown = WaitFor([&] {
      selector = ::FindWindowA(kSelectorWindowClass, nullptr);
      return selector && TreeView_GetCount(::GetDlgItem(selector, kSelectorTreeId)) > 0;
    }, 10000);
    if (!shown) {
      std::fprintf(stderr, "run %d: no selector with its entries\n", r);
      ++failed;
      continue;
    }
    toSelector.push_back(bench::Now() - t0);
    WaitFor([] { return false; }, 100);  // lets the popup finish its first paint, as a user's eye would

    POINT onLabel = {50, 10};
    ::ClientToScreen(::GetDlgItem(selector, kSelectorTreeId), &onLabel);
    double t1 = bench::Now();
    DoubleClickAt(onLabel);
    const LRESULT want = static_cast<LRESULT>(text.size());
    bool pasted = WaitFor([&] { return ::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0) >= want; }, 10000);
    double textAt = bench::Now();
    bool restored = WaitFor([&] { return ClipboardText() == kept; }, 10000);
    double restoreAt = bench::Now();
    if (!pasted || !restored) {
      std::fprintf(stderr, "run %d: %s\n", r, pasted ? "clipboard not put back" : "text not pasted");
      ++failed;
      continue;
    }
    toText.push_back(textAt - t1);
    if (floorDone) {
      direct.push_back(floorMs);
      overFloor.push_back(textAt - t1 - floorMs);
    }
    toRestore.push_back(restoreAt - t1);
    WaitFor([] { return ::FindWindowA(kSelectorWindowClass, nullptr) == nullptr; }, 5000);
  }
  // The text really arrived whole.
  std::vector<char> got(text.size() + 2, '\0');
  ::SendMessageA(edit, WM_GETTEXT, got.size(), reinterpret_cast<LPARAM>(got.data()));
  bool whole = text == got.data();

  ::PostMessageA(window, WM_CLOSE, 0, 0);
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);

  std::printf("runs: %d (%d failed), %zu bytes pasted through the text selector, median of each\n", runs, failed,
              text.size());
  std::printf("hotkey to the selector with its entries:       %7.1f ms\n", bench::Median(toSelector));
  std::printf("double-click to the whole text in the edit:    %7.1f ms\n", bench::Median(toText));
  std::printf("double-click to the clipboard put back:        %7.1f ms\n", bench::Median(toRestore));
  std::printf("floor: the edit pasting it from the clipboard:   %7.1f ms\n", bench::Median(direct));
  std::printf("double-click to text less the floor, per run:   %7.1f ms\n", bench::Median(overFloor));
  std::printf("text arrived unchanged:                        %s\n", whole ? "yes" : "NO");
  return failed == runs || !whole ? 1 : 0;
}
