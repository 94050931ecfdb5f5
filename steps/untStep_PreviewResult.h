// The result step: the pages of all earlier steps together.
#pragma once

#include "ZLPCore_SolutionStage.h"

class TfrmStep_PreviewResult : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_PreviewResult(QWidget* owner);
};
