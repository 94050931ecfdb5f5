// Independent checks of the answers of the task runner, one per task type, each in a file
// TaskCheck_<type>.cpp of its own that registers it with a TTaskCheckRegistration.
#pragma once

#include "Statement.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "Verdict.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

// A problem in its text form solved through the task runner, as kelvano-solve and the windows solve
// it: the verdict, the report's lines and the statement read.
struct TRun {
  TTaskVerdict Verdict;
  std::vector<std::string> Lines;
  TStatementGrid Statement;
};

inline TRun SolveText(const std::string& text, std::uint8_t taskType) {
  TRun run;
  TTextFormatError textError;
  const auto grid = ParseStatementText(text, textError);
  EXPECT_TRUE(grid) << textError.Line << ": " << textError.Message;
  if (!grid) return run;
  run.Statement = *grid;
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(*grid, data, error)) << error.Message;
  TZLPCore_SolutionResult report;
  run.Verdict = RunTask(taskType, data, report);
  run.Lines = report.Lines;
  return run;
}
