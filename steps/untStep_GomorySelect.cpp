// The step where the student marks the variables that must be integers.
#include "untStep_GomorySelect.h"

TfrmStep_GomorySelect::TfrmStep_GomorySelect(QWidget* owner) : TZLPCore_SolutionStage(owner, SK_GOMORYSELECT) {}
