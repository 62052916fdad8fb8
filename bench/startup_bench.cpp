// Start-up to the message loop (WaitForInputIdle) of Quorvel.exe against a trivial Win32 program,
// run alternately in one Wine session, Quorvel's memory once it idles, and the time its exit
// command takes to end the process.
//   startup_bench.exe QUORVEL_EXE TRIVIAL_EXE [RUNS [QUORVEL_EXE_DOWNLOADING]]
// The last program's update check finds a server that is slow to send the version file.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "include/GlobalData.h"
#include "include/miscfuns.h"

namespace {

struct Started {
  PROCESS_INFORMATION pi = {};
  double ms = -1;
};

Started Start(const std::string& exe) {
  Started s;
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::string folder = exe.substr(0, exe.find_last_of('\\'));
  LARGE_INTEGER f, t0, t1;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t0);
  if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &s.pi))
    return s;
  if (::WaitForInputIdle(s.pi.hProcess, 20000) == 0) {
    ::QueryPerformanceCounter(&t1);
    s.ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
  }
  return s;
}

double Now() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Ends the program (Quorvel with its exit command) and returns the time from the command to the
// end of the process, or -1.
double Stop(Started& s, bool quorvel) {
  double start = Now(), ms = -1;
  bool asked = false;
  if (quorvel) {
    HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
    asked = msg && ::PostMessageA(::GetParent(msg), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  } else {
    HWND w = ::FindWindowA("QuorvelBenchTrivial", nullptr);
    asked = w && ::PostMessageA(w, WM_CLOSE, 0, 0);
  }
  if (::WaitForSingleObject(s.pi.hProcess, 10000) == WAIT_OBJECT_0) {
    if (asked) ms = Now() - start;
  } else {
    ::TerminateProcess(s.pi.hProcess, 1);
  }
  ::CloseHandle(s.pi.hThread);
  ::CloseHandle(s.pi.hProcess);
  return ms;
}

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench QUORVEL_EXE TRIVIAL_EXE [RUNS [QUORVEL_EXE_DOWNLOADING]]\n");
    return 2;
  }
  int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
  std::vector<double> quorvel, trivial, exits;
  SIZE_T workingSet = 0, privateBytes = 0;
  // One warm-up of each, so neither pays for the first load of the Wine DLLs.
  for (bool q : {true, false}) {
    Started s = Start(q ? argv[1] : argv[2]);
    Stop(s, q);
  }
  for (int r = 0; r < runs; ++r) {
    Started q = Start(argv[1]);
    if (q.ms >= 0) quorvel.push_back(q.ms);
    if (r == 0) {
      ::Sleep(1500);
      PROCESS_MEMORY_COUNTERS_EX pmc = {};
      pmc.cb = sizeof pmc;
      if (::GetProcessMemoryInfo(q.pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
        workingSet = pmc.WorkingSetSize;
        // Wine leaves PrivateUsage at 0; the commit charge says the same on Windows.
        privateBytes = std::max(pmc.PrivateUsage, pmc.PagefileUsage);
      }
    }
    double exitMs = Stop(q, true);
    if (exitMs >= 0) exits.push_back(exitMs);
    Started t = Start(argv[2]);
    if (t.ms >= 0) trivial.push_back(t.ms);
    Stop(t, false);
  }
  // The same program with an update address whose server holds the version file back: the exit
  // comes while the download is under way.
  std::vector<double> downloadExits;
  for (int r = 0; argc > 4 && r < runs; ++r) {
    Started q = Start(argv[4]);
    ::Sleep(1000);
    double exitMs = Stop(q, true);
    if (exitMs >= 0) downloadExits.push_back(exitMs);
  }
  double mq = Median(quorvel), mt = Median(trivial);
  std::printf("runs: %d (median of each)\n", runs);
  std::printf("Quorvel.exe start to message loop: %.1f ms\n", mq);
  std::printf("trivial Win32 program:             %.1f ms\n", mt);
  std::printf("ratio Quorvel / trivial:           %.2f\n", mt > 0 ? mq / mt : 0.0);
  std::printf("Quorvel exit command to its end:   %.1f ms\n", Median(exits));
  if (!downloadExits.empty())
    std::printf("the same during an update download: %.1f ms\n", Median(downloadExits));
  std::printf("Quorvel idle working set:          %.1f MiB\n", static_cast<double>(workingSet) / 1048576.0);
  std::printf("Quorvel idle committed memory:     %.1f MiB\n", static_cast<double>(privateBytes) / 1048576.0);
  return quorvel.empty() || trivial.empty() ? 1 : 0;
}
