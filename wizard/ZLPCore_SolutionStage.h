// Base of every wizard step, and the factory that turns a step sequence into step widgets.
#pragma once

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_StageTasks.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QPushButton;
class TProblemStore;
class TWebBrowser;
struct TTaskInfo;

// What a step may ask of the window that runs it, and nothing more.
class TStageHost {
public:
  virtual ~TStageHost() = default;
  // The task type the window solves.
  [[nodiscard]] virtual std::uint8_t RunTaskType() const = 0;
  // The catalog row of that type (an empty row for a code without one).
  [[nodiscard]] const TTaskInfo& RunTaskInfo() const;
  // Enables or disables "Далее >>" (a step whose container lacks what it needs disables it).
  virtual void EnableNext(bool enabled) = 0;
  // Replaces the instruction shown under the title.
  virtual void SetHint(const std::string& hint) = 0;
  // Shows a button of the step in the window's button row just left of "<< Назад" for as long as
  // the step is current; the step keeps owning it.
  virtual void AddStepButton(QPushButton* button) = 0;
  // The sections of the steps before the current one, in step order.
  [[nodiscard]] virtual std::vector<const TZLPCore_SolutionResult*> Sections() const = 0;
  // The problem store; null when the program runs without one.
  [[nodiscard]] virtual TProblemStore* Store() const = 0;
  // The stored problem the window was opened on, -1 for none; -1 as well for a step entered before,
  // which keeps what the student typed or chose in it.
  [[nodiscard]] virtual int PendingProblem() const = 0;
};

// One step of a solution. The wizard fills StageData from the previous step's output before
// every entry, empties StageReport, and calls the three operations below; a step refuses a move
// by leaving CanLeave false.
class TZLPCore_SolutionStage : public QWidget {
  Q_OBJECT

public:
  // The step is a borderless child of owner, which frees it; it has the texts of its kind in the
  // catalog (none for kind 0).
  explicit TZLPCore_SolutionStage(QWidget* owner, std::uint8_t kind = 0);

  std::string StageTitle;   // long title shown in the wizard's header while the step is current
  std::string StageCaption; // short name in the wizard's list of stages
  std::string StageHint;    // instruction shown under the title
  std::string HelpPage;     // page under "help/steps/"; empty: no help for this step
  TZLPCore_Interface StageData;
  TZLPCore_SolutionResult StageReport;
  bool CanLeave = true;

  // Called after the step was shown and StageData filled, going forward and coming back.
  virtual void EnterStage(TStageHost& host);
  // "Далее >>" or "Готово" on this step: check the input, write StageData and StageReport, and
  // set CanLeave.
  virtual void LeaveForward(TStageHost& host);
  // "<< Назад" on this step.
  virtual void LeaveBackward(TStageHost& host);
  // The viewer of a step whose client area is a page; none for a step of input controls.
  [[nodiscard]] virtual TWebBrowser* PageViewer() { return nullptr; }
};

// A step in which the statement is typed: the wizard's "Открыть задачу…" and "Сохранить задачу
// как…" work on the step that is one.
class TStatementInput {
public:
  virtual ~TStatementInput() = default;
  // The statement of taskType as typed so far, an edit in progress included.
  [[nodiscard]] virtual TStatementGrid TypedStatement(std::uint8_t taskType) = 0;
  // Shows a statement of the run's type in the step's boxes.
  virtual void ShowTypedStatement(const TStatementGrid& grid) = 0;
};

// The steps of a run, parallel to its TZLPCore_StageTasks; each is owned by its Qt parent.
using TZLPCore_SolutionStages = std::vector<TZLPCore_SolutionStage*>;

// Makes a step of one class with the given owner. The step library installs one maker per kind,
// kind 1 first (see InstallStepClasses in the steps library).
using TStageClass = std::function<TZLPCore_SolutionStage*(QWidget& owner)>;
using TStageClasses = std::array<TStageClass, StageKindCount>;
// Installs the makers used from now on and returns the ones installed before.
TStageClasses SetStageClasses(TStageClasses classes);

// A new step of the element's kind owned by owner, or none: none for kind 13; otherwise the low
// seven bits select the kind, and 0 or a kind above StageKindCount (or one without maker) gives none.
[[nodiscard]] TZLPCore_SolutionStage* CreateStage(QWidget& owner, const TZLPCore_StageTask& task);
// Sizes stages to the sequence and creates its steps in order; stops at the first none, leaving
// the rest empty, and returns false then; true otherwise, also for an empty sequence.
bool CreateStages(QWidget& owner, TZLPCore_SolutionStages& stages, const TZLPCore_StageTasks& tasks);
