// The makers of the solver windows, by task type.
#include "SolverWindow.h"

#include <map>
#include <utility>

namespace {

std::map<std::uint8_t, TSolverMaker>& Makers() {
  static std::map<std::uint8_t, TSolverMaker> makers;
  return makers;
}

} // namespace

TSolverMaker SetSolverMaker(std::uint8_t taskType, TSolverMaker maker) {
  TSolverMaker previous;
  if (const auto it = Makers().find(taskType); it != Makers().end()) previous = std::move(it->second);
  if (maker)
    Makers()[taskType] = std::move(maker);
  else
    Makers().erase(taskType);
  return previous;
}

std::unique_ptr<TSolverWindow> CreateSolverWindow(std::uint8_t taskType, const TSolverContext& context) {
  const auto it = Makers().find(taskType);
  return it == Makers().end() ? nullptr : it->second(context);
}
