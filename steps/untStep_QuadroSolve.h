// The reduction step of a quadratic program: the Lagrange function and the Kuhn-Tucker conditions,
// and the linear program built from them that the simplex step solves.
#pragma once

#include "untStagePage.h"

// A page step: its unit, run on entry, is the catalog's unit of the step kind SK_QUADROSOLVE.
class TfrmStep_QuadroSolve final : public TfrmStep_Page {
  Q_OBJECT

public:
  explicit TfrmStep_QuadroSolve(QWidget* owner);
};
