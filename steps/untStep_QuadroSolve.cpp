#include "untStep_QuadroSolve.h"

#include "TaskCodes.h"

TfrmStep_QuadroSolve::TfrmStep_QuadroSolve(QWidget* owner) : TfrmStep_Page(owner, SK_QUADROSOLVE) {}
