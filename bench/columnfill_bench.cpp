// The share of the manage hotkeys list that its columns fill, at 96, 120, 144 and 192 dpi: for each
// dpi the prefix's LogPixels is set, Quorvel.exe started, its manage hotkeys dialog opened from the
// main window, and the list's column widths and client width read from outside the program.
//   columnfill_bench.exe QUORVEL_EXE
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "include/GlobalData.h"
#include "include/miscfuns.h"

namespace {

constexpr UINT kManageHotkeysCommand = 4;  // the tray menu's entry
constexpr UINT kExitCommand = 1;

void SetLogPixels(int dpi) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return;
  DWORD value = static_cast<DWORD>(dpi);
  ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  ::RegCloseKey(key);
}

template <class Test>
bool WaitFor(Test test, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (test()) return true;
    ::Sleep(50);
  }
  return false;
}

HWND ListOfDialogOf(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND list;
  } s{pid, nullptr};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner != s->pid || !::IsWindowVisible(h)) return TRUE;
        if (HWND list = ::FindWindowExA(h, nullptr, WC_LISTVIEWA, nullptr)) {
          s->list = list;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: columnfill_bench QUORVEL_EXE\n");
    return 2;
  }
  const std::string exe = argv[1];
  std::printf("manage hotkeys list: columns' width / list client width\n");
  std::printf("%6s %10s %10s %8s\n", "dpi", "columns", "client", "fill");
  for (int dpi : {96, 120, 144, 192}) {
    SetLogPixels(dpi);
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
      std::printf("%6d cannot start %s\n", dpi, exe.c_str());
      continue;
    }
    HWND main = nullptr, list = nullptr;
    WaitFor([&] {
      HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
      return (main = msg ? ::GetParent(msg) : nullptr) != nullptr;
    }, 20000);
    if (main) {
      ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(kManageHotkeysCommand, BN_CLICKED), 0);
      WaitFor([&] { return (list = ListOfDialogOf(pi.dwProcessId)) != nullptr; }, 10000);
    }
    if (list) {
      HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
      int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)), columns = 0;
      for (int c = 0; c < count; ++c) columns += static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
      RECT rc;
      ::GetClientRect(list, &rc);
      std::printf("%6d %10d %10ld %7.1f%%\n", dpi, columns, rc.right, rc.right > 0 ? 100.0 * columns / rc.right : 0.0);
      ::PostMessageA(::GetAncestor(list, GA_ROOT), WM_COMMAND, IDCANCEL, 0);
    } else {
      std::printf("%6d the manage hotkeys list did not come\n", dpi);
    }
    WaitFor([&] { return ListOfDialogOf(pi.dwProcessId) == nullptr; }, 5000);
    if (main) ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(kExitCommand, BN_CLICKED), 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  SetLogPixels(96);
  return 0;
}
