#include "tests/e2e/e2e_support.h"

#include "include/GlobalData.h"
#include "include/miscfuns.h"

namespace {

void CopyTree(const std::string& from, const std::string& to) {
  MakeFolder(to);
  for (const std::string& name : FolderEntries(from)) {
    std::string src = from + "\\" + name, dst = to + "\\" + name;
    if (CMiscFuns::IsFolderExist(src)) {
      CopyTree(src, dst);
    } else {
      ::CopyFileA(src.c_str(), dst.c_str(), FALSE);
    }
  }
}

}  // namespace

ProgramCopy::ProgramCopy() {
  CopyTree(QUORVEL_PROGRAM_DIR, m_dir.path());
  // Tests decide for themselves whether this is a first run.
  WriteFileBytes(m_dir / "Settings.ini", "[Settings]\r\nLanguageFile=English.txt\r\nFirstRun=0\r\n");
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
    ::Sleep(20);
  }
  return true;
}

HWND FindMainWindow() {
  HWND msg = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
  return msg ? ::GetParent(msg) : nullptr;
}
