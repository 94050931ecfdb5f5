// The task runner.
#include "TaskRun.h"

#include "TaskCatalog.h"
#include "ZLPCore_StageTasks.h"

TTaskVerdict RunTask(std::uint8_t taskType, TZLPCore_Interface& data, TZLPCore_SolutionResult& finalReport) {
  finalReport.Clear();
  finalReport.Title = GetTaskName(taskType);
  const TTaskInfo* info = FindTaskInfo(taskType);
  if (info == nullptr) {
    data.Verdict.Status = TTaskStatus::BadInput;
    data.Verdict.Message = GetTaskName(taskType);
    return data.Verdict;
  }
  if (info->Solve != nullptr) {
    info->Solve(data, finalReport);
    return data.Verdict;
  }
  for (const std::uint8_t kind : info->StageKinds) {
    const TStageInfo* stage = FindStageInfo(kind);
    TZLPCore_SolutionResult section;
    const bool goOn = stage != nullptr && stage->Unit != nullptr && stage->Unit(data, section, *stage, *info);
    finalReport.AppendReport(std::move(section));
    if (!goOn) {
      // The wizard would keep the student on this step; the report says why it ends here.
      if (!data.Verdict.Ended()) {
        data.Verdict.Status = TTaskStatus::BadInput;
        data.Verdict.Message = StatusSentence(TTaskStatus::BadInput);
      }
      AddAnswer(finalReport, data.Verdict);
      break;
    }
  }
  return data.Verdict;
}
