// The simplex step: the table, pivot by pivot, up to the answer.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_SimplexSolve : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_SimplexSolve(QWidget* owner);
};
