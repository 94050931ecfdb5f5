// The substitution step that turns a linear-fractional program into a linear one.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_ZDLPToZLP : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_ZDLPToZLP(QWidget* owner);
};
