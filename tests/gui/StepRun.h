// Shared by the step tests: a wizard over a fresh store, stand-in steps and typing helpers.
#pragma once

#include "DataMod.h"
#include "QtHelpers.h"
#include "StatementStore.h"
#include "StepClasses.h"
#include "ZLPCore_SolutionStage.h"
#include "ZLPCore_StageTasks.h"
#include "untZLPWizard.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

inline QString U(const char* text) { return QString::fromUtf8(text); }

// Replaces the text of an edit by typing, as a student does.
inline void Type(QLineEdit* edit, const QString& text) {
  QVERIFY(edit);
  edit->clear();
  QTest::keyClicks(edit, text);
}

// A step standing in for one not under test: on entry it runs OnEnter, leaving forward it runs
// OnLeave and writes its one-line section.
class TStandInStage : public TZLPCore_SolutionStage {
public:
  TStandInStage(QWidget* owner, std::string section) : TZLPCore_SolutionStage(owner), Section(std::move(section)) {
    StageCaption = "Заместитель";
  }
  std::function<void(TZLPCore_Interface&)> OnLeave;
  std::string Section;

  void EnterStage(TStageHost&) override { StageReport.AddParagraph(Section); }
  void LeaveForward(TStageHost&) override {
    if (OnLeave) OnLeave(StageData);
    CanLeave = true;
  }
};

// The real step classes with some kinds replaced by stand-ins, for as long as it lives.
class TStepClasses {
public:
  TStepClasses() {
    Previous = SetStageClasses({});
    InstallStepClasses();
    Classes = SetStageClasses({});
    SetStageClasses(Classes);
  }
  ~TStepClasses() { SetStageClasses(std::move(Previous)); }
  TStepClasses(const TStepClasses&) = delete;
  TStepClasses& operator=(const TStepClasses&) = delete;

  // Kind (1..12) becomes a stand-in writing section; setUp sees each stand-in as it is made.
  void StandIn(int kind, std::string section, std::function<void(TStandInStage&)> setUp = {}) {
    Classes[static_cast<std::size_t>(kind - 1)] =
        [section = std::move(section), setUp = std::move(setUp)](QWidget& owner) -> TZLPCore_SolutionStage* {
      auto* stage = new TStandInStage(&owner, section);
      if (setUp) setUp(*stage);
      return stage;
    };
    SetStageClasses(Classes);
  }

private:
  TStageClasses Classes;
  TStageClasses Previous;
};

// One wizard over a fresh store in its own folder.
struct TStepRun {
  TStepRun() : Dm(std::filesystem::path(Dir.path().toStdString()) / "data"), Store(Dm), Wizard(&Store) {}
  QTemporaryDir Dir;
  TDM Dm;
  TDMProblemStore Store;
  TfrmZLPWizard Wizard;
  TZLPCore_SolutionResult Report;
  TZLPCore_Interface Problem;

  void Start(std::uint8_t type, int pendingTaskId = -1) {
    Wizard.PendingTaskId = pendingTaskId;
    Wizard.Execute(type, nullptr, &Report, &Problem, false);
    static_cast<void>(QTest::qWaitForWindowExposed(&Wizard));
  }
  void Next() { QTest::mouseClick(Wizard.btnNext, Qt::LeftButton); }
  void Back() { QTest::mouseClick(Wizard.btnBack, Qt::LeftButton); }
  template <class TStage> TStage& Stage(int i) {
    return *dynamic_cast<TStage*>(Wizard.Stages.at(static_cast<std::size_t>(i)));
  }
};

// Stores the model under a new named problem of the linear type and returns its id.
inline int SaveProblem(TDM& dm, const TZLPCore_SubInterface_ZLP& zlp, const std::string& name) {
  if (dm.CreateTempTask() < 0 || !StoreStatement(dm, dm.GetTempTaskId(), StatementOfModel(zlp))) return -1;
  const int id = dm.SaveTempTaskAs(name, TT_LINEAR);
  dm.DropTempTask();
  return id;
}
