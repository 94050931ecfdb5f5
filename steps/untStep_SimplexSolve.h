// The simplex step: the table, pivot by pivot, up to the answer.
#pragma once

#include "SimplexMethod.h"
#include "ZLPCore_SolutionStage.h"

#include <QColor>
#include <QPointer>

#include <cstdint>
#include <memory>

class QComboBox;
class QLabel;
class QPainter;
class QPushButton;
class TStringGrid;

// Shows the tableau of the step's own StageData.Table in StringGrid1 with the pivot cross, and
// moves the student's actions (click a pivot, "Далее >>", "Решить") to TSimplexMethod, which
// owns every decision and every sentence. Grid row i shows table row i, the last grid row the Z
// row; grid column 1 the free terms B and grid column j + 1 table column j.
class TfrmStep_SimplexSolve : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_SimplexSolve(QWidget* owner);
  ~TfrmStep_SimplexSolve() override;

  void EnterStage(TStageHost& host) override;
  void LeaveForward(TStageHost& host) override;
  void LeaveBackward(TStageHost& host) override;

  // The pivot shown in the grid (table column and row), 0 for none.
  [[nodiscard]] std::int32_t PivotRow() const noexcept;
  [[nodiscard]] std::int32_t PivotCol() const noexcept;
  // The method of the current entry; null before an entry that built a table.
  [[nodiscard]] const TSimplexMethod* Method() const noexcept { return FMethod.get(); }

  TStringGrid* StringGrid1;
  // The form of the tables in the report: compact (index 0) or as in the textbooks (index 1).
  QComboBox* cbTableForm = nullptr;
  // "Решить"; it sits in the wizard's button row just left of "<< Назад" while the step is shown, and
  // is enabled while a pivot is pending.
  QPointer<QPushButton> Button4;
  // "Отменить шаг": takes back the last pivot or cut; it sits just left of "Решить".
  QPointer<QPushButton> btnUndo;
  std::int32_t SeparatorCol = 0; // a stronger line follows this variable column
  // "Решить" that runs longer than this shows its progress with "Отмена".
  static inline qint64 ProgressAfterMs = 400;
  QColor ColorShade;
  QColor ColorLine;
  QColor ColorLight;
  QColor ColorPivotLight;
  QColor ColorPivot;

private slots:
  void StringGrid1Click(int col, int row);
  void Button4Click();
  void btnUndoClick();
  // Another form of the tables: the solution starts again from the first table in that form.
  void cbTableFormChange(int index);

private:
  void FormCreate();
  void StringGrid1DrawCell(QPainter& canvas, const QRect& rect, int col, int row) const;
  void RefreshGrid();
  // The hint, "Решить" and the grid after every action.
  void ShowProgress();

  // Whether the container an entry starts from is the one the method's run started from.
  [[nodiscard]] bool SameStart(const TZLPCore_Interface& data) const;

  std::unique_ptr<TSimplexMethod> FMethod;
  // The step was solved whole by another method of the task (branch and bound): its section.
  bool Replaced = false;
  TZLPCore_SolutionResult ReplacedReport;
  TStageHost* Host = nullptr; // the window of the current entry
  // The run the step was left with: the container it started from (first table built) and the
  // container as the student left it. Entered again from the same start (coming back from a later
  // step, or forward again over an unchanged statement) the run goes on where it was; the pivots
  // and cuts made stay, and "Отменить шаг" still takes them back.
  TZLPCore_Interface Started;
  TZLPCore_Interface Worked;
  bool HasWorked = false;
};
