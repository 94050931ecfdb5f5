// The problem input step: the student states a linear program.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_ZLPInput : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_ZLPInput(QWidget* owner);
};
