// The model display step: the linear program as it was stated.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_ZLPCheck : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_ZLPCheck(QWidget* owner);
};
