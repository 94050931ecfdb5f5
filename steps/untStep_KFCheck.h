// The canonical form step: the linear program brought to the form the simplex table needs.
#pragma once

#include "untStagePage.h"

class TfrmStep_KFCheck : public TfrmStagePage {
  Q_OBJECT

public:
  explicit TfrmStep_KFCheck(QWidget* owner);

  // Transforms the fresh copy of the model in place and explains it on the page.
  void EnterStage(TfrmZLPWizard& wizard) override;
  // Allowed only when the last entry found a model to transform.
  void LeaveForward(TfrmZLPWizard& wizard) override;

  // Whether the last entry found a linear program.
  [[nodiscard]] bool Transformed() const noexcept { return Outcome; }

private:
  bool Outcome = false;
};
