// The canonical form step: the linear program brought to the form the simplex table needs.
#include "untStep_KFCheck.h"

#include "untZLPWizard.h"

TfrmStep_KFCheck::TfrmStep_KFCheck(QWidget* owner) : TfrmStagePage(owner) {
  StageTitle = "Приведение задачи к канонической форме";
  StageCaption = "Каноническая форма";
  StageHint = "Просмотрите как была построена КФ для составления симплекс-таблицы";
  HelpPage = "KFCheck.html";
}

void TfrmStep_KFCheck::EnterStage(TfrmZLPWizard& wizard) {
  TfrmStagePage::EnterStage(wizard);
  SetUpPage();
  Outcome = WriteCanonicalPage(StageData, StageCaption, StageReport);
  if (!Outcome) wizard.btnNext->setEnabled(false);
  ShowPage();
}

void TfrmStep_KFCheck::LeaveForward(TfrmZLPWizard& wizard) {
  TfrmStagePage::LeaveForward(wizard);
  CanLeave = Outcome;
}
