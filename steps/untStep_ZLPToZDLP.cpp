// The back substitution step: the linear program's answer in the fractional program's variables.
#include "untStep_ZLPToZDLP.h"

TfrmStep_ZLPToZDLP::TfrmStep_ZLPToZDLP(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Обратная замена переменных";
  StageCaption = "Обратная замена";
  StageHint = "Просмотрите и проверьте шаг обратной замены переменных";
  HelpPage = "ZLPToZDLP.html";
}
