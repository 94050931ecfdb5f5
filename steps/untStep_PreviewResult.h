// The result preview step: every earlier step's section on one page before "Готово".
#pragma once

#include "untStagePage.h"

class TfrmStep_PreviewResult : public TfrmStagePage {
  Q_OBJECT

public:
  explicit TfrmStep_PreviewResult(QWidget* owner);

  // Gathers the earlier steps' sections in step order and shows them.
  void EnterStage(TStageHost& host) override;
  // Replaces the page by the answer paragraph, so that the final report holds every section once
  // and ends with the answer.
  void LeaveForward(TStageHost& host) override;
};
