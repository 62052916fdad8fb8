#include "actions/poweractions.h"

namespace power {

bool NeedsShutdownPrivilege(Operation op) { return op != Operation::LogOff; }

void Perform(IPowerActions& actions, Operation op) {
  if (NeedsShutdownPrivilege(op)) actions.EnableShutdownPrivilege();
  switch (op) {
    case Operation::ShutDown: actions.ExitSession(kExitShutDown, 0); break;
    case Operation::Restart: actions.ExitSession(kExitReboot, 0); break;
    case Operation::Sleep: actions.SetPowerState(true, true); break;
    case Operation::LogOff: actions.ExitSession(kExitLogOff, 0); break;
    case Operation::Hibernate: actions.SetPowerState(false, true); break;
  }
}

}  // namespace power
