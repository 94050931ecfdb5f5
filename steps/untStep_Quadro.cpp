// The step where the second-order coefficients of a quadratic program are entered.
#include "untStep_Quadro.h"

TfrmStep_Quadro::TfrmStep_Quadro(QWidget* owner) : TZLPCore_SolutionStage(owner, SK_QUADRO) {}
