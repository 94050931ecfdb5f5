// The solution wizard window: runs the step sequence of a task type and gathers the final report.
#pragma once

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_SolutionStage.h"
#include "ZLPCore_StageTasks.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QScrollArea;
class QHBoxLayout;
class TProblemStore;
class THelpWindow;
class TUICore_AssistantInterface;

// A label that reports a click of the left mouse button.
class TClickLabel : public QLabel {
  Q_OBJECT

public:
  using QLabel::QLabel;

signals:
  void Clicked();

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The wizard shows one step at a time in pContainer. Moving forward copies the step's StageData
// into its StageOutputs entry; a step entered (going forward or coming back) starts from a fresh
// copy of its predecessor's output, except the first step, which keeps its own input. Leaving the
// last step with "Готово" appends every step's report, in step order, to the final report.
class TfrmZLPWizard : public QDialog, public TStageHost {
  Q_OBJECT

public:
  // Window results of Execute.
  enum : int { mrFinished = 1, mrCancelled = 2, mrAbort = 3 };

  // store may be null: the wizard then keeps no temporary record and cannot save.
  explicit TfrmZLPWizard(TProblemStore* store, QWidget* parent = nullptr);
  ~TfrmZLPWizard() override;

  // Runs a wizard for taskType. A null report or problem is replaced by an empty one of the
  // wizard's own; the assistant may be null (no help button). Returns 1 when finished with
  // "Готово", 2 when cancelled, 3 when no step could be shown or when not modal (the window is
  // then shown and the call returns at once).
  int Execute(std::uint8_t taskType, TUICore_AssistantInterface* assistant, TZLPCore_SolutionResult* report,
              TZLPCore_Interface* problem, bool modal = true);

  // Redraws the list of stages: hand pointer on passed entries, the current one bold, the
  // markers, and the buttons that depend on the current step.
  void RefreshStageList();
  // Moves back until the clicked entry's step is current or a step refuses to go back.
  void StageLabelClick(int index);
  // One of im1 ... im10, chosen at random.
  [[nodiscard]] QLabel* PickHeaderImage();
  // Grows newImage over oldImage from 1x1 to 48x48 pixels and makes it the header picture.
  void AnimateHeaderImage(QLabel* newImage, QLabel* oldImage);

  // Asks the save dialog for a name for taskType; "" when the student cancels. Set by the program.
  std::function<std::string(std::uint8_t taskType)> AskSaveName;

  // Controls, read and used by the steps and by the program.
  QWidget* shDesignTop;
  QLabel* lbTitle;
  QLabel* lbHint;
  std::array<TClickLabel*, 10> im{}; // im1 ... im10
  QScrollArea* sbDesignLeft;
  QLabel* Image2;
  QLabel* lbPanelTitle;
  QWidget* PaintBox1;
  QWidget* Panel1;
  QWidget* pContainer;
  QPushButton* btnHelp;
  QPushButton* btnPdf;     // "Сохранить как PDF…" of the last step's page
  QPushButton* btnPreview; // "Просмотр печати…" of the same page
  QPushButton* btnSave;
  QPushButton* btnFile; // the menu of the problem as a file, on the input steps
  QAction* actOpenFile; // "Открыть задачу…", Ctrl+O
  QAction* actSaveFile; // "Сохранить задачу как…", Ctrl+Shift+S
  QMenu* RecentMenu;    // "Последние задачи"
  QPushButton* btnBack;
  QPushButton* btnNext;
  QPushButton* btnCancel;
  // Step markers, 11x11: 0 a passed step, 1 a step to come, 2 the current step.
  std::array<QPixmap, 3> ImageList1;

  // State of the run.
  TZLPCore_StageTasks StageTasks;
  int StageCount = 0;
  std::vector<TZLPCore_Interface> StageOutputs;
  QPixmap MarkerBitmap;
  std::vector<TClickLabel*> StageLabels;
  bool Finished = false;
  QLabel* HeaderImage = nullptr;
  TZLPCore_SolutionStages Stages;
  int CurrentStage = -1;
  std::vector<bool> StageEntered; // per step: entered before in this run
  TUICore_AssistantInterface* Assistant = nullptr;
  TZLPCore_Interface* InitialProblem = nullptr;
  TZLPCore_SolutionResult* FinalReport = nullptr;
  QPointer<THelpWindow> HelpWindow;
  int PendingTaskId = -1; // stored problem the input steps load, -1 for none
  int TempTaskId = -1;    // the run's temporary record in the store
  std::uint8_t TaskType = TT_NONE;
  // The name of the problem: the stored one it was opened from, the file it was read from, or the
  // name it was saved under last; "" for a new problem.
  std::string ProblemName;
  // What a PDF of a step's page is proposed under: ProblemName, else the name of the task type.
  [[nodiscard]] QString DocumentName() const;

  // What the steps may ask of the wizard.
  [[nodiscard]] std::uint8_t RunTaskType() const override { return TaskType; }
  void EnableNext(bool enabled) override;
  void SetHint(const std::string& hint) override;
  void AddStepButton(QPushButton* button) override;
  [[nodiscard]] std::vector<const TZLPCore_SolutionResult*> Sections() const override;
  [[nodiscard]] TProblemStore* Store() const override { return DM; }
  // The stored problem is read once, when the wizard opens it: a step entered again (coming back,
  // or going forward once more) gets -1 and keeps what the student made of it.
  [[nodiscard]] int PendingProblem() const override;

protected:
  void closeEvent(QCloseEvent* event) override; // FormCloseQuery
  void showEvent(QShowEvent* event) override;   // FormShow
  bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
  // Esc and "Отмена" close the window through the cancel question.
  void reject() override;

private slots:
  void btnNextClick();
  void btnBackClick();
  void btnCancelClick();
  void btnHelpClick();
  void btnSaveClick();
  void btnPdfClick();
  void btnPreviewClick();
  void im1Click();
  // Ctrl+P: prints the page of the current step, if it shows one.
  void PrintStage();
  // Shows the problem of a file (asked for when path is empty) in the current input step; a file
  // of another task type is refused.
  void OpenFile(const QString& path);
  // Writes the statement typed in the current input step to a file asked for.
  void SaveFileAs();

private:
  void FormCreate();
  void sbDesignLeftResize();
  void PaintBox1Paint(QPaintEvent* event);
  void DiscardRun();
  // Hands the document name and the print title to the viewers of the steps.
  void NamePages();
  // Makes the window as large as the step shown first asks, within available.
  void FitFirstStage(const QSize& available);
  void ShowStage(TZLPCore_SolutionStage& stage);
  // Keeps an open help window on the help page of stage.
  void FollowHelp(const TZLPCore_SolutionStage& stage);
  [[nodiscard]] TZLPCore_SolutionStage* Current() const;
  // Enters the current step and notes that it was entered.
  void EnterCurrent();
  // Runs a step operation; an exception is shown with its reason and reported as false.
  template <class TOperation> bool Guarded(TOperation&& operation);

  // Takes the buttons of the step that is left back to it.
  void ReturnStepButtons();

  TProblemStore* DM;
  QHBoxLayout* ButtonRow = nullptr;
  std::vector<QPointer<QPushButton>> StepButtons; // shown for the current step
  std::unique_ptr<TZLPCore_Interface> OwnProblem;
  std::unique_ptr<TZLPCore_SolutionResult> OwnReport;
};
