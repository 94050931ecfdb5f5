// The step that reduces a quadratic program to a linear one through the Kuhn-Tucker conditions.
#include "untStep_QuadroSolve.h"

TfrmStep_QuadroSolve::TfrmStep_QuadroSolve(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Приведение задачи квадратичного программирования к ЗЛП";
  StageCaption = "Приведение к ЗЛП";
  StageHint = "Просмотрите как задача квадратичного программирования приводится к задаче линейного программирования";
  HelpPage = "QuadroSolve.html";
}
