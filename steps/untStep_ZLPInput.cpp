// The problem input step: the student states a linear program.
#include "untStep_ZLPInput.h"

TfrmStep_ZLPInput::TfrmStep_ZLPInput(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Ввод условия задачи ЛП";
  StageCaption = "Постановка задачи ЛП";
  StageHint = "Составьте матмодель задачи и выясните сколько в ней переменных и неравенств (уравнений) ограничений, укажите размерность задачи и введите коэффициенты";
  HelpPage = "zlpinput.html";
}
