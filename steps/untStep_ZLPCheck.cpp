// The model display step: the linear program of the previous step shown as a formula.
#include "untStep_ZLPCheck.h"

#include "untZLPWizard.h"

TfrmStep_ZLPCheck::TfrmStep_ZLPCheck(QWidget* owner) : TfrmStagePage(owner) {
  StageTitle = "Матмодель задачи ЛП";
  StageCaption = "Матмодель задачи";
  StageHint = "Задача линейного программирования была сформулирована следующим образом:";
  HelpPage = "ZLPCheck.html";
}

void TfrmStep_ZLPCheck::EnterStage(TfrmZLPWizard& wizard) {
  TfrmStagePage::EnterStage(wizard);
  SetUpPage();
  if (!WriteModelPage(StageData, StageCaption, StageHint, StageReport)) wizard.btnNext->setEnabled(false);
  ShowPage();
}
