// The back substitution step of a linear-fractional program: the answer of the simplex step stated
// in the variables of the linear-fractional program, Xj = Yj / Y0.
#pragma once

#include "untStagePage.h"

// A page step: its unit, run on entry, is the catalog's unit of the step kind SK_ZLPTOZDLP.
class TfrmStep_ZLPToZDLP final : public TfrmStep_Page {
  Q_OBJECT

public:
  explicit TfrmStep_ZLPToZDLP(QWidget* owner);
};
