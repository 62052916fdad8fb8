// Records what the shutdown dialog asks of the power operations, and does none of them.
#pragma once

#include <string>
#include <vector>

#include "actions/poweractions.h"

class FakePowerActions : public power::IPowerActions {
 public:
  std::vector<std::string> calls;

  void EnableShutdownPrivilege() override { calls.push_back("privilege"); }
  void ExitSession(unsigned flags, unsigned long reason) override {
    calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reason));
  }
  void SetPowerState(bool suspend, bool force) override {
    calls.push_back(std::string("power ") + (suspend ? "suspend" : "hibernate") + (force ? " force" : ""));
  }
};
