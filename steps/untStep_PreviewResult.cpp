// The result preview step: every earlier step's section on one page before "Готово".
#include "untStep_PreviewResult.h"

#include "Pages.h"
#include "TaskCatalog.h"

TfrmStep_PreviewResult::TfrmStep_PreviewResult(QWidget* owner) : TfrmStagePage(owner, SK_PREVIEWRESULT) {}

void TfrmStep_PreviewResult::EnterStage(TStageHost& host) {
  TfrmStagePage::EnterStage(host);
  StageReport.Clear();
  for (const TZLPCore_SolutionResult* section : host.Sections()) StageReport.AppendReport(section);
  // The answer as the final report will end with it, from a copy: leaving forward writes it again.
  if (const TStageInfo* info = FindStageInfo(SK_PREVIEWRESULT)) {
    TZLPCore_Interface data = StageData;
    TZLPCore_SolutionResult answer;
    ResultUnit(data, answer, *info, host.RunTaskInfo());
    StageReport.AppendReport(&answer);
  }
  StageReport.Bare = true;
  StageReport.StyleMods = ResultPageStyle(SystemPageColors(palette()));
  ShowPage();
}

void TfrmStep_PreviewResult::LeaveForward(TStageHost& host) {
  TfrmStagePage::LeaveForward(host);
  StageReport.Clear();
  if (const TStageInfo* info = FindStageInfo(SK_PREVIEWRESULT))
    ResultUnit(StageData, StageReport, *info, host.RunTaskInfo());
}
