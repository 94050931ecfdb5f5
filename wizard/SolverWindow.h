// The windows of the task types solved outside the wizard, created by task type.
#pragma once

#include "ZLPCore_SolutionResult.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TProblemStore;

// A window that solves one task type on its own (the assignment problem, the regression).
class TSolverWindow {
public:
  virtual ~TSolverWindow() = default;
  // Shows the window modally, filled from the stored problem pendingTaskId (-1: empty). True when
  // the student ended it with a solution whose report the caller shows; the report is then in
  // report (its title included).
  virtual bool Execute(int pendingTaskId, TZLPCore_SolutionResult& report) = 0;
};

// What a solver window is made with: its parent, the problem store (may be null) and the question
// for a name to save under ("" when the student cancels).
struct TSolverContext {
  QWidget* Parent = nullptr;
  TProblemStore* Store = nullptr;
  std::function<std::string(std::uint8_t taskType)> AskSaveName;
};

using TSolverMaker = std::function<std::unique_ptr<TSolverWindow>(const TSolverContext& context)>;

// Installs the maker of a task type's window; an empty maker removes it. Returns the one before.
TSolverMaker SetSolverMaker(std::uint8_t taskType, TSolverMaker maker);
// A new window of the type, or none when no window is installed for it.
[[nodiscard]] std::unique_ptr<TSolverWindow> CreateSolverWindow(std::uint8_t taskType, const TSolverContext& context);
