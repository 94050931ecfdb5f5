// The substitution step that turns a linear-fractional program into a linear one.
#include "untStep_ZDLPToZLP.h"

TfrmStep_ZDLPToZLP::TfrmStep_ZDLPToZLP(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Приведение к з. ЛП заменой переменных";
  StageCaption = "Замена переменных";
  StageHint = "Просмотрите и проверьте шаг замены переменных";
  HelpPage = "ZDLPToZLP.html";
}
