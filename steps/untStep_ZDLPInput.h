// The linear-fractional input step: numerator, denominator and constraints.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_ZDLPInput : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_ZDLPInput(QWidget* owner);
};
