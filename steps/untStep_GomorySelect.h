// The step where the student marks the variables that must be integers.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_GomorySelect : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_GomorySelect(QWidget* owner);
};
