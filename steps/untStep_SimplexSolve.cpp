// The simplex step: the table, pivot by pivot, up to the answer.
#include "untStep_SimplexSolve.h"

TfrmStep_SimplexSolve::TfrmStep_SimplexSolve(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Решим задачу при помощи симплекс-метода";
  StageCaption = "Решение симплекс методом";
  StageHint = "Проверьте шаг преобразования перед передачей в симплекс метод";
  HelpPage = "SimplexSolve.html";
}
