// Start-up to the message loop (WaitForInputIdle) of Quorvel.exe against a trivial Win32 program,
// run alternately in one Wine session; each one's memory once it idles, as Linux counts it for the
// Wine process (VmRSS and RssAnon of /proc/PID/status); and the time from the exit command (the
// tray menu's exit for Quorvel, WM_CLOSE for the trivial program) to the end of the process.
//   startup_bench.exe QUORVEL_EXE TRIVIAL_EXE [RUNS [IDLE_MS [QUORVEL_EXE_DOWNLOADING]]]
// The last program's update check finds a server that is slow to send the version file: its exit
// comes while the download is under way.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/benchutil.h"
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
  double t0 = bench::Now();
  if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &s.pi))
    return s;
  if (::WaitForInputIdle(s.pi.hProcess, 20000) == 0) s.ms = bench::Now() - t0;
  return s;
}

HWND QuorvelMainWindow() {
  HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
  return msg ? ::GetParent(msg) : nullptr;
}

// Asks the program to end as a user would and returns the milliseconds until its process ended
// (-1 when it had to be killed).
double Stop(Started& s, bool quorvel) {
  double ms = -1;
  HWND w = quorvel ? QuorvelMainWindow() : ::FindWindowA("QuorvelBenchTrivial", nullptr);
  double t0 = bench::Now();
  if (w) ::PostMessageA(w, quorvel ? WM_COMMAND : WM_CLOSE, quorvel ? MAKEWPARAM(1, BN_CLICKED) : 0, 0);
  if (w && ::WaitForSingleObject(s.pi.hProcess, 10000) == WAIT_OBJECT_0) {
    ms = bench::Now() - t0;
  } else {
    ::TerminateProcess(s.pi.hProcess, 1);
    ::WaitForSingleObject(s.pi.hProcess, 5000);
  }
  ::CloseHandle(s.pi.hThread);
  ::CloseHandle(s.pi.hProcess);
  return ms;
}

struct Figures {
  std::vector<double> start, rss, anon, exit;
};

void RunOnce(const std::string& exe, bool quorvel, DWORD idleMs, Figures& f) {
  Started s = Start(exe);
  if (s.ms >= 0) f.start.push_back(s.ms);
  ::Sleep(idleMs);
  bench::UnixMemory m = bench::ReadUnixMemory(bench::FindUnixPid(exe));
  if (m.rssMiB >= 0) f.rss.push_back(m.rssMiB);
  if (m.anonMiB >= 0) f.anon.push_back(m.anonMiB);
  double exitMs = Stop(s, quorvel);
  if (exitMs >= 0) f.exit.push_back(exitMs);
}

void Row(const char* what, const std::vector<double>& q, const std::vector<double>& t, const char* unit) {
  double mq = bench::Median(q), mt = bench::Median(t);
  std::printf("%-32s %9.1f %-3s %9.1f %-3s", what, mq, unit, mt, unit);
  if (q.empty() || t.empty()) {
    std::printf("  (not measured)\n");
  } else if (unit[0] == 'm' && unit[1] == 's') {
    std::printf("  ratio %.2f\n", mt > 0 ? mq / mt : 0.0);
  } else {
    std::printf("  difference %+.1f MiB\n", mq - mt);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench QUORVEL_EXE TRIVIAL_EXE [RUNS [IDLE_MS [QUORVEL_EXE_DOWNLOADING]]]\n");
    return 2;
  }
  const std::string quorvel = argv[1], trivial = argv[2];
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
  const DWORD idleMs = argc > 4 ? static_cast<DWORD>(std::max(0, std::atoi(argv[4]))) : 1500;
  // One warm-up of each, so neither pays for the first load of the Wine DLLs.
  Figures warm;
  RunOnce(quorvel, true, 200, warm);
  RunOnce(trivial, false, 200, warm);
  Figures q, t;
  for (int r = 0; r < runs; ++r) {
    RunOnce(quorvel, true, idleMs, q);
    RunOnce(trivial, false, idleMs, t);
  }
  std::vector<double> downloadExits;
  for (int r = 0; argc > 5 && r < runs; ++r) {
    Started d = Start(argv[5]);
    ::Sleep(1000);
    double exitMs = Stop(d, true);
    if (exitMs >= 0) downloadExits.push_back(exitMs);
  }
  std::printf("runs: %d, median of each; memory %lu ms after the message loop was reached\n", runs,
              static_cast<unsigned long>(idleMs));
  std::printf("%-32s %13s %13s\n", "", "Quorvel.exe", "trivial");
  Row("start to message loop", q.start, t.start, "ms");
  Row("resident memory (VmRSS)", q.rss, t.rss, "MiB");
  Row("anonymous memory (RssAnon)", q.anon, t.anon, "MiB");
  Row("exit command to process end", q.exit, t.exit, "ms");
  if (!downloadExits.empty())
    std::printf("%-32s %9.1f ms\n", "the exit during a download", bench::Median(downloadExits));
  return q.start.empty() || t.start.empty() ? 1 : 0;
}
