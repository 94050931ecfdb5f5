// The result preview step: every earlier step's section on one page before "Готово".
#include "untStep_PreviewResult.h"

#include "untZLPWizard.h"

TfrmStep_PreviewResult::TfrmStep_PreviewResult(QWidget* owner) : TfrmStagePage(owner) {
  StageTitle = "Результат решения";
  StageCaption = "Готово";
  StageHint = "Просмотрите это решение, если что то не так, то можно вернуться и переделать.";
  HelpPage = "PreviewResult.html";
}

void TfrmStep_PreviewResult::EnterStage(TfrmZLPWizard& wizard) {
  TfrmStagePage::EnterStage(wizard);
  StageReport.Clear();
  for (const TZLPCore_SolutionStage* stage : wizard.Stages)
    if (stage && stage != this) StageReport.AppendReport(&stage->StageReport);
  StageReport.Bare = true;
  StageReport.StyleMods = ResultPageStyle(SystemPageColors(palette()));
  ShowPage();
}

void TfrmStep_PreviewResult::LeaveForward(TfrmZLPWizard& wizard) {
  StageReport.Clear();
  TfrmStagePage::LeaveForward(wizard);
}
