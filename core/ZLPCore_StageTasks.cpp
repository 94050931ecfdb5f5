// Task names and step sequences of the wizard task types.
#include "ZLPCore_StageTasks.h"

#include "untStrConst.h"

std::string GetTaskName(std::uint8_t taskType) {
  switch (taskType) {
  case TT_LINEAR: return "Задача линейного программирования";
  case TT_INTEGER: return "Задача целочисленного программирования";
  case TT_QUADRATIC: return "Задача квадратичного программирования";
  case TT_FRACTIONAL: return "Задача дробно-линейного программирования";
  case TT_CUTTING: return "Задача о раскрое";
  case TT_ASSIGNMENT: return "Задача о назначении";
  case TT_REGRESSION: return "Поиск коэффициентов регрессии";
  case TT_NONE: return {};
  default: return sNoSuchTask;
  }
}

namespace {

std::vector<std::uint8_t> KindsOf(std::uint8_t taskType) {
  switch (taskType) {
  case TT_LINEAR: return {SK_ZLPINPUT, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT};
  case TT_INTEGER: return {SK_ZLPINPUT, SK_GOMORYSELECT, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT};
  case TT_QUADRATIC: return {SK_ZLPINPUT, SK_QUADRO, SK_KFCHECK, SK_QUADROSOLVE, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT};
  case TT_FRACTIONAL: return {SK_ZDLPINPUT, SK_ZDLPTOZLP, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_ZLPTOZDLP, SK_PREVIEWRESULT};
  case TT_CUTTING: return {SK_CUTINPUT, SK_ZLPCHECK, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT};
  default: return {};
  }
}

} // namespace

int GetTaskStageCount(std::uint8_t taskType) { return static_cast<int>(KindsOf(taskType).size()); }

bool BuildStageTasks(std::uint8_t taskType, TZLPCore_StageTasks& tasks) {
  const std::vector<std::uint8_t> kinds = KindsOf(taskType);
  if (kinds.empty()) return false;
  tasks.assign(kinds.size(), TZLPCore_StageTask{});
  for (std::size_t i = 0; i < kinds.size(); ++i) tasks[i].StageKind = kinds[i];
  return true;
}
