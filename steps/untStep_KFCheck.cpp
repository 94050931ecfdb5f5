// The canonical form step: the linear program brought to the form the simplex table needs.
#include "untStep_KFCheck.h"

TfrmStep_KFCheck::TfrmStep_KFCheck(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Приведение задачи к канонической форме";
  StageCaption = "Каноническая форма";
  StageHint = "Просмотрите как была построена КФ для составления симплекс-таблицы";
  HelpPage = "KFCheck.html";
}
