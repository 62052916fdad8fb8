// The real power operations. Only the program itself creates one (see ShowCloseComputerDialog);
// tests pass a recorder to the dialog instead.
#pragma once

#include "actions/poweractions.h"

namespace power {

class CSystemPowerActions : public IPowerActions {
 public:
  void EnableShutdownPrivilege() override;
  void ExitSession(unsigned flags, unsigned long reason) override;
  void SetPowerState(bool suspend, bool force) override;
};

}  // namespace power
