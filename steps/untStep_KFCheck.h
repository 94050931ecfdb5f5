// The canonical form step: brings the linear program of its container to canonical form and shows
// how this was done (ToCanonical); it stands just before the simplex step.
#pragma once

#include "untStagePage.h"

// A page step: its unit, run on entry, is the catalog's unit of the step kind SK_KFCHECK.
class TfrmStep_KFCheck final : public TfrmStep_Page {
  Q_OBJECT

public:
  explicit TfrmStep_KFCheck(QWidget* owner);
};
