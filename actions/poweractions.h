// The system operations behind the shutdown dialog's five buttons. The dialog only talks to
// IPowerActions, so tests hand it a recorder and never end the session or put the machine to sleep.
// Portable: no <windows.h>.
#pragma once

namespace power {

enum class Operation { ShutDown, Restart, Sleep, LogOff, Hibernate };

// ExitWindowsEx flags; the values are the system's.
constexpr unsigned kExitLogOff = 0;
constexpr unsigned kExitShutDown = 1;
constexpr unsigned kExitReboot = 2;

class IPowerActions {
 public:
  virtual ~IPowerActions() = default;
  // Enables SeShutdownPrivilege in this process's token, as far as the system allows.
  virtual void EnableShutdownPrivilege() = 0;
  // ExitWindowsEx(flags, reason).
  virtual void ExitSession(unsigned flags, unsigned long reason) = 0;
  // SetSystemPowerState(suspend, force): suspend true sleeps, false hibernates.
  virtual void SetPowerState(bool suspend, bool force) = 0;
};

// Logging off needs no privilege; everything that touches the machine itself does.
bool NeedsShutdownPrivilege(Operation op);

// The privilege step where it is needed, then the operation. Results are not examined: a refused
// shutdown or a missing sleep state simply does nothing.
void Perform(IPowerActions& actions, Operation op);

}  // namespace power
