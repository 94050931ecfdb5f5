// The step where the second-order coefficients of a quadratic program are entered.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_Quadro : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_Quadro(QWidget* owner);
};
