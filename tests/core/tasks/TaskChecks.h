// Independent checks of the answers of the task runner, one per task type, each in a file
// TaskCheck_<type>.cpp of its own that registers it with a TTaskCheckRegistration.
#pragma once

#include "Statement.h"
#include "Verdict.h"

#include <cstdint>
#include <functional>
#include <map>

// Checks the verdict of a problem against the statement, independently of the method (a brute force,
// the conditions at the answer ...); failures are reported with the GoogleTest macros.
using TTaskCheck = std::function<void(const TStatementGrid& statement, const TTaskVerdict& verdict)>;

inline std::map<std::uint8_t, TTaskCheck>& TaskChecks() {
  static std::map<std::uint8_t, TTaskCheck> checks;
  return checks;
}

struct TTaskCheckRegistration {
  TTaskCheckRegistration(std::uint8_t taskType, TTaskCheck check) { TaskChecks()[taskType] = std::move(check); }
};
