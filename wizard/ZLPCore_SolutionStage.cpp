// Base of every wizard step, and the factory that turns a step sequence into step widgets.
#include "ZLPCore_SolutionStage.h"

#include "TaskCatalog.h"

#include <utility>

namespace {

TStageClasses& StageClasses() {
  static TStageClasses classes;
  return classes;
}

} // namespace

TZLPCore_SolutionStage::TZLPCore_SolutionStage(QWidget* owner, std::uint8_t kind) : QWidget(owner) {
  setAutoFillBackground(true);
  if (const TStageInfo* info = FindStageInfo(kind)) {
    StageTitle = info->Title;
    StageCaption = info->Caption;
    StageHint = info->Hint;
    HelpPage = info->HelpPage;
  }
}

const TTaskInfo& TStageHost::RunTaskInfo() const {
  static const TTaskInfo none;
  const TTaskInfo* info = FindTaskInfo(RunTaskType());
  return info != nullptr ? *info : none;
}

void TZLPCore_SolutionStage::EnterStage(TStageHost&) {}

void TZLPCore_SolutionStage::LeaveForward(TStageHost&) { CanLeave = true; }

void TZLPCore_SolutionStage::LeaveBackward(TStageHost&) { CanLeave = true; }

TStageClasses SetStageClasses(TStageClasses classes) { return std::exchange(StageClasses(), std::move(classes)); }

TZLPCore_SolutionStage* CreateStage(QWidget& owner, const TZLPCore_StageTask& task) {
  constexpr std::uint8_t KindEnd = StageKindCount + 1; // marks the end of a sequence
  if (task.StageKind == KindEnd) return nullptr;
  const unsigned kind = task.StageKind & 0x7Fu;
  if (kind < 1 || kind > StageClasses().size()) return nullptr;
  const TStageClass& make = StageClasses()[kind - 1];
  return make ? make(owner) : nullptr;
}

bool CreateStages(QWidget& owner, TZLPCore_SolutionStages& stages, const TZLPCore_StageTasks& tasks) {
  stages.assign(tasks.size(), nullptr);
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    stages[i] = CreateStage(owner, tasks[i]);
    if (!stages[i]) return false;
  }
  return true;
}
