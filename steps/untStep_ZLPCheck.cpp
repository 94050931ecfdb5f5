// The model display step: the linear program as it was stated.
#include "untStep_ZLPCheck.h"

TfrmStep_ZLPCheck::TfrmStep_ZLPCheck(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Матмодель задачи ЛП";
  StageCaption = "Матмодель задачи";
  StageHint = "Задача линейного программирования была сформулирована следующим образом:";
  HelpPage = "ZLPCheck.html";
}
