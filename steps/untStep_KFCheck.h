// The canonical form step: the linear program brought to the form the simplex table needs.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_KFCheck : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_KFCheck(QWidget* owner);
};
