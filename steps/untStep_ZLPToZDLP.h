// The back substitution step: the linear program's answer in the fractional program's variables.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_ZLPToZDLP : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_ZLPToZDLP(QWidget* owner);
};
