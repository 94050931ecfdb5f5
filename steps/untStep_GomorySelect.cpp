// The step where the student marks the variables that must be integers.
#include "untStep_GomorySelect.h"

TfrmStep_GomorySelect::TfrmStep_GomorySelect(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Выбор целочисленных переменных";
  StageCaption = "Условие целочисленности";
  StageHint = "Выберите переменные, которые должны стать целочисленными и нажмите кнопку далее";
  HelpPage = "GomorySelect.html";
}
