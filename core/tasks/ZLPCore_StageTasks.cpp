// Task names and step sequences of the wizard task types.
#include "ZLPCore_StageTasks.h"

#include "TaskCatalog.h"
#include "untStrConst.h"

std::string GetTaskName(std::uint8_t taskType) {
  if (taskType == TT_NONE) return {};
  const TTaskInfo* info = FindTaskInfo(taskType);
  return info ? info->Name : sNoSuchTask;
}

namespace {

std::vector<std::uint8_t> KindsOf(std::uint8_t taskType) {
  const TTaskInfo* info = FindTaskInfo(taskType);
  return info ? info->StageKinds : std::vector<std::uint8_t>{};
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
