// The cutting-stock input step: stock, pieces and their proportions.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_CutInput : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_CutInput(QWidget* owner);
};
