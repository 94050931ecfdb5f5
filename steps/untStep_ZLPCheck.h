// The model step: shows the linear program the previous step built, as a formula, before it is
// brought to canonical form; it changes nothing in its container.
#pragma once

#include "untStagePage.h"

// A page step: its unit, run on entry, is the catalog's unit of the step kind SK_ZLPCHECK.
class TfrmStep_ZLPCheck final : public TfrmStep_Page {
  Q_OBJECT

public:
  explicit TfrmStep_ZLPCheck(QWidget* owner);
};
