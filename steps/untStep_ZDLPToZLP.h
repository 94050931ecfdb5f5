// The substitution step of a linear-fractional program: the change of variables Y0 = 1 / (denominator),
// Yj = Xj Y0 turns it into a linear program, shown as a page and handed on.
#pragma once

#include "untStagePage.h"

// A page step: its unit, run on entry, is the catalog's unit of the step kind SK_ZDLPTOZLP.
class TfrmStep_ZDLPToZLP final : public TfrmStep_Page {
  Q_OBJECT

public:
  explicit TfrmStep_ZDLPToZLP(QWidget* owner);
};
