#include "untStep_KFCheck.h"

#include "TaskCodes.h"
#include "TaskContract.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

TfrmStep_KFCheck::TfrmStep_KFCheck(QWidget* owner) : TfrmStep_Page(owner, SK_KFCHECK) {
  btnStart = new QPushButton(QString::fromUtf8("Начальный план…"), this);
  btnStart->setObjectName(u"btnStart"_s);
  btnStart->setToolTip(QString::fromUtf8("Как начать решение, если в канонической форме нет единичного базиса"));
  btnStart->setAutoDefault(false);
  auto* menu = new QMenu(btnStart);
  auto* group = new QActionGroup(menu);
  actDual = menu->addAction(QString::fromUtf8("Двойственный симплекс-метод (отрицательные свободные члены)"));
  actArtificial = menu->addAction(QString::fromUtf8("Метод искусственного базиса (M-метод)"));
  for (QAction* a : {actDual, actArtificial}) {
    a->setCheckable(true);
    group->addAction(a);
    connect(a, &QAction::triggered, this, &TfrmStep_KFCheck::StartChosen);
  }
  actDual->setChecked(true);
  btnStart->setMenu(menu);
  btnStart->hide();
}

TfrmStep_KFCheck::~TfrmStep_KFCheck() {
  // The button lives on the wizard while the step is shown; it goes with the step.
  if (btnStart && btnStart->parent() != this) delete btnStart;
}

void TfrmStep_KFCheck::EnterStage(TStageHost& host) {
  Host = &host;
  Input.Assign(StageData);
  StageData.StartMethod = Choice;
  // The choice means something only where the simplex step follows (not before the Kuhn-Tucker
  // reduction, which starts its table by its own rules).
  const auto& kinds = host.RunTaskInfo().StageKinds;
  const auto at = std::find(kinds.begin(), kinds.end(), SK_KFCHECK);
  if (at != kinds.end() && at + 1 != kinds.end() && *(at + 1) == SK_SIMPLEXSOLVE) host.AddStepButton(btnStart);
  TfrmStep_Page::EnterStage(host);
}

void TfrmStep_KFCheck::StartChosen() {
  Choice = actArtificial->isChecked() ? TStartMethod::Artificial : TStartMethod::Dual;
  if (Host == nullptr) return;
  StageData.Assign(Input);
  StageData.StartMethod = Choice;
  StageReport.Clear();
  TfrmStep_Page::EnterStage(*Host);
}
