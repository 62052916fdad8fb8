#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "actions/poweractions.h"
#include "tests/actions/fakepower.h"

namespace {

std::vector<std::string> CallsOf(power::Operation op) {
  FakePowerActions fake;
  power::Perform(fake, op);
  return fake.calls;
}

using Calls = std::vector<std::string>;

}  // namespace

TEST_CASE("each power operation asks for the privilege where needed, then its one system call") {
  CHECK(CallsOf(power::Operation::ShutDown) == Calls{"privilege", "exit 1 0"});
  CHECK(CallsOf(power::Operation::Restart) == Calls{"privilege", "exit 2 0"});
  CHECK(CallsOf(power::Operation::Sleep) == Calls{"privilege", "power suspend force"});
  CHECK(CallsOf(power::Operation::Hibernate) == Calls{"privilege", "power hibernate force"});
  CHECK(CallsOf(power::Operation::LogOff) == Calls{"exit 0 0"});
}

TEST_CASE("only logging off goes without the shutdown privilege") {
  CHECK(power::NeedsShutdownPrivilege(power::Operation::ShutDown));
  CHECK(power::NeedsShutdownPrivilege(power::Operation::Restart));
  CHECK(power::NeedsShutdownPrivilege(power::Operation::Sleep));
  CHECK(power::NeedsShutdownPrivilege(power::Operation::Hibernate));
  CHECK_FALSE(power::NeedsShutdownPrivilege(power::Operation::LogOff));
}
