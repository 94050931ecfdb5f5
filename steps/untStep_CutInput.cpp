// The cutting-stock input step: stock, pieces and their proportions.
#include "untStep_CutInput.h"

TfrmStep_CutInput::TfrmStep_CutInput(QWidget* owner) : TZLPCore_SolutionStage(owner) {
  StageTitle = "Ввод условия задачи о раскрое";
  StageCaption = "Постановка задачи";
  StageHint = "Введите условие задачи и нажмите кнопку \"Далее\", чтобы перейти к решению.";
  HelpPage = "CutInput.html";
}
