// Hotkey latency, two ways:
//  1. inside one process: from the arrival of WM_HOTKEY to the start of the hotkey's first action
//     (the hotkey table, the file read and the tokenizer of the program, through its own code);
//  2. across processes: from the key press injected here to the effect of the first action of the
//     running Quorvel.exe (its hotkey empties the clipboard, which this program watches).
//   hotkey_bench.exe QUORVEL_EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "actions/executor.h"
#include "app/hotkeyreg.h"
#include "bench/benchutil.h"
#include "include/GlobalData.h"
#include "include/miscfuns.h"
#include "include/msgwait.h"

namespace {

void Press(BYTE key) {
  for (BYTE m : {VK_CONTROL, VK_SHIFT, VK_MENU}) ::keybd_event(m, static_cast<BYTE>(::MapVirtualKeyA(m, 0)), 0, 0);
  ::keybd_event(key, static_cast<BYTE>(::MapVirtualKeyA(key, 0)), 0, 0);
  ::keybd_event(key, static_cast<BYTE>(::MapVirtualKeyA(key, 0)), KEYEVENTF_KEYUP, 0);
  for (BYTE m : {VK_MENU, VK_SHIFT, VK_CONTROL})
    ::keybd_event(m, static_cast<BYTE>(::MapVirtualKeyA(m, 0)), KEYEVENTF_KEYUP, 0);
}

void WriteHotkey(const std::string& path, char key, const std::string& firstLine) {
  std::string text = "[Setting]\r\nCtrl=1\r\nShift=1\r\nAlt=1\r\nvk=" + std::to_string(static_cast<int>(key)) +
                     "\r\nEnable=1\r\n[Action]\r\nAction00001=" + firstLine + "\r\nAction00002=Sleep 0\r\n";
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  ::CloseHandle(h);
}

// In-process: the program's table and dispatch behind a window of our own.
CHotkeyTable* g_table = nullptr;
double g_hotkeyAt = 0, g_firstActionAt = 0;

LRESULT CALLBACK BenchProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_HOTKEY) {
    g_hotkeyAt = bench::Now();
    if (auto item = g_table->FindById(w)) RunHotkeyActions(h, *item);
    return 0;
  }
  return ::DefWindowProcA(h, m, w, l);
}

std::vector<double> InProcess(const std::string& folder, int runs) {
  ::CreateDirectoryA(folder.c_str(), nullptr);
  WriteHotkey(folder + "\\Hotkey-00001.ini", '8', "Sleep 0");
  WNDCLASSA wc = {};
  wc.lpfnWndProc = BenchProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "QuorvelHotkeyBench";
  ::RegisterClassA(&wc);
  HWND hwnd = ::CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
  CHotkeyTable table;
  table.SetFolder(folder);
  g_table = &table;
  table.RegisterAll(hwnd);
  SetActionTrace([](const std::string&) {
    if (g_firstActionAt == 0) g_firstActionAt = bench::Now();
  });
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    g_hotkeyAt = g_firstActionAt = 0;
    Press('8');
    double start = bench::Now();
    while (g_firstActionAt == 0 && bench::Now() - start < 2000) WaitPumpingMessages(1);
    if (g_firstActionAt > 0) ms.push_back(g_firstActionAt - g_hotkeyAt);
  }
  SetActionTrace(nullptr);
  table.UnregisterAll(hwnd);
  ::DestroyWindow(hwnd);
  return ms;
}

void PutText() {
  if (!::OpenClipboard(nullptr)) return;
  ::EmptyClipboard();
  HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE, 2);
  static_cast<char*>(::GlobalLock(g))[0] = 'x';
  static_cast<char*>(::GlobalLock(g))[1] = 0;
  ::GlobalUnlock(g);
  ::GlobalUnlock(g);
  ::SetClipboardData(CF_TEXT, g);
  ::CloseClipboard();
}

std::vector<double> AcrossProcesses(const std::string& exe, int runs) {
  std::string folder = exe.substr(0, exe.find_last_of('\\'));
  WriteHotkey(folder + "\\hotkeys\\Hotkey-00001.ini", '9', "EmptyClipboard");
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::vector<double> ms;
  if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return ms;
  ::WaitForInputIdle(pi.hProcess, 20000);
  WaitPumpingMessages(500);
  for (int r = 0; r < runs; ++r) {
    PutText();
    double start = bench::Now();
    Press('9');
    bool done = false;
    while (!done && bench::Now() - start < 3000) {
      WaitPumpingMessages(0);
      done = ::CountClipboardFormats() == 0;
    }
    if (done) ms.push_back(bench::Now() - start);
    WaitPumpingMessages(20);
  }
  HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
  if (msg) ::PostMessageA(::GetParent(msg), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: hotkey_bench QUORVEL_EXE [RUNS]\n");
    return 2;
  }
  int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::vector<double> inside = InProcess(std::string(temp) + "quorvel-hotkey-bench", runs);
  std::vector<double> across = AcrossProcesses(argv[1], runs);
  std::printf("runs: %d (median, with min and max)\n", runs);
  if (!inside.empty())
    std::printf("WM_HOTKEY to first action, in process: %.3f ms (%.3f .. %.3f)\n", bench::Median(inside),
                *std::min_element(inside.begin(), inside.end()), *std::max_element(inside.begin(), inside.end()));
  if (!across.empty())
    std::printf("key press to first action's effect:    %.1f ms (%.1f .. %.1f), %zu of %d presses seen\n",
                bench::Median(across), *std::min_element(across.begin(), across.end()),
                *std::max_element(across.begin(), across.end()), across.size(), runs);
  return inside.empty() || across.empty() ? 1 : 0;
}
