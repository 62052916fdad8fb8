#include "actions/poweractions_win.h"

#include <windows.h>

#include "include/handles.h"

namespace power {

void CSystemPowerActions::EnableShutdownPrivilege() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
  KernelHandle token(raw);
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // Without the privilege's id there is nothing meaningful to enable.
  if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
  ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

void CSystemPowerActions::ExitSession(unsigned flags, unsigned long reason) { ::ExitWindowsEx(flags, reason); }

void CSystemPowerActions::SetPowerState(bool suspend, bool force) {
  ::SetSystemPowerState(suspend ? TRUE : FALSE, force ? TRUE : FALSE);
}

}  // namespace power
