// The linear-fractional input step: the linear program input with numerator and denominator rows.
#pragma once

#include "untStep_ZLPInput.h"

class TfrmStep_ZDLPInput : public TfrmStep_ZLPInput {
  Q_OBJECT

public:
  explicit TfrmStep_ZDLPInput(QWidget* owner);
};
