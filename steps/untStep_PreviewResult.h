// The result preview step: every earlier step's section on one page before "Готово".
#pragma once

#include "untStagePage.h"

class TfrmStep_PreviewResult : public TfrmStagePage {
  Q_OBJECT

public:
  explicit TfrmStep_PreviewResult(QWidget* owner);

  // Gathers the other steps' sections in step order and shows them.
  void EnterStage(TfrmZLPWizard& wizard) override;
  // Empties the page, so that the final report holds every section once.
  void LeaveForward(TfrmZLPWizard& wizard) override;
};
