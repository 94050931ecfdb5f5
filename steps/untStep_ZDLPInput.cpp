// The linear-fractional input step: numerator, denominator and constraints.
#include "untStep_ZDLPInput.h"

TfrmStep_ZDLPInput::TfrmStep_ZDLPInput(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Ввод условия задачи ДЛП";
  StageCaption = "Постановка задачи ДЛП";
  StageHint = "Составьте матмодель задачи и выясните сколько в ней переменных и неравенств (уравнений) ограничений, "
              "укажите размерность задачи и введите коэффициенты";
  HelpPage = "ZDLPInput.html";
}
