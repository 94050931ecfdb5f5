// The result step: the pages of all earlier steps together.
#include "untStep_PreviewResult.h"

TfrmStep_PreviewResult::TfrmStep_PreviewResult(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Результат решения";
  StageCaption = "Готово";
  StageHint = "Просмотрите это решение, если что то не так, то можно вернуться и переделать.";
  HelpPage = "PreviewResult.html";
}
