// The model display step: the linear program of the previous step shown as a formula.
#pragma once

#include "untStagePage.h"

class TfrmStep_ZLPCheck : public TfrmStagePage {
  Q_OBJECT

public:
  explicit TfrmStep_ZLPCheck(QWidget* owner);

  // Shows the model; without one, warns and keeps the wizard from going on.
  void EnterStage(TfrmZLPWizard& wizard) override;
};
