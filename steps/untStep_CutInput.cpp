// The cutting-stock input step: stock, pieces and their proportions.
#include "untStep_CutInput.h"

TfrmStep_CutInput::TfrmStep_CutInput(QWidget* owner) : TZLPCore_SolutionStage(owner, SK_CUTINPUT) {}
