// The canonical form step: brings the linear program of its container to canonical form and shows
// how this was done (ToCanonical); it stands just before the simplex step.
#pragma once

#include "untStagePage.h"

#include <QPointer>

class QAction;
class QPushButton;

// A page step: its unit, run on entry, is the catalog's unit of the step kind SK_KFCHECK. The button
// btnStart, in the wizard's button row while the step is shown, chooses how a program without a unit
// basis is started (the dual simplex method or the artificial-basis method); a new choice writes the
// page anew from the program the step was entered with.
class TfrmStep_KFCheck final : public TfrmStep_Page {
  Q_OBJECT

public:
  explicit TfrmStep_KFCheck(QWidget* owner);
  ~TfrmStep_KFCheck() override;

  void EnterStage(TStageHost& host) override;

  QPointer<QPushButton> btnStart;
  QAction* actDual = nullptr;
  QAction* actArtificial = nullptr;

private slots:
  void StartChosen();

private:
  TZLPCore_Interface Input;    // the container as the step was entered
  TStageHost* Host = nullptr;  // the window of the current entry
  TStartMethod Choice = TStartMethod::Dual;
};
