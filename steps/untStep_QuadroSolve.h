// The step that reduces a quadratic program to a linear one through the Kuhn-Tucker conditions.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_QuadroSolve : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_QuadroSolve(QWidget* owner);
};
