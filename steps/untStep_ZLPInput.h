// The problem input step: the student states a linear program.
#pragma once

#include "ZLPCore_SolutionStage.h"
#include "ZLPCore_Statement.h"
#include "untFormulaRow.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>

#include <functional>
#include <memory>
#include <vector>

// The objective "Z = c1 X1+ ... c0 --> Max" and one row "a1 X1+ ... sign b" per constraint, with n
// variables and m constraints, each in 1..MaxCount. The objective has one formula row, or two for a
// linear-fractional program: the numerator above a fraction line and the denominator below it (the
// statement's rows -1 and 0). Leaving forward reads the rows as the statement of the wizard's task
// type into StageData, writes the step's section and stores the statement under the run's
// temporary record; entering with a pending stored problem fills the rows from it.
class TfrmStep_ZLPInput : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  static constexpr int MaxCount = 255;

  // kind SK_ZLPINPUT: a linear program; SK_ZDLPINPUT: a linear-fractional one.
  explicit TfrmStep_ZLPInput(QWidget* owner, std::uint8_t kind = SK_ZLPINPUT);
  ~TfrmStep_ZLPInput() override;

  void EnterStage(TStageHost& host) override;
  void LeaveForward(TStageHost& host) override;

  [[nodiscard]] int VarCount() const { return FunctionRow->VarCount(); }
  [[nodiscard]] int ConstraintCount() const { return static_cast<int>(Rows.size()); }
  [[nodiscard]] int ObjectiveRowCount() const { return static_cast<int>(FunctionRows.size()); }
  // Objective coefficient j (1-based) of the first objective row; null outside 1..n.
  [[nodiscard]] QLineEdit* ObjectiveEdit(int j) const { return FunctionRow->Coeff(j); }
  // Objective row k (0-based: the numerator, then the denominator); null outside.
  [[nodiscard]] TFormulaRow* ObjectiveRowAt(int k) const;
  // Row i (1-based) of the constraints; null outside 1..m.
  [[nodiscard]] TFormulaRow* ConstraintRow(int i) const;
  // Coefficient of variable j in constraint i; null outside the problem.
  [[nodiscard]] QLineEdit* ConstraintEdit(int i, int j) const;
  [[nodiscard]] QLineEdit* RhsEdit(int i) const;
  [[nodiscard]] QComboBox* SignBox(int i) const;
  [[nodiscard]] const TFormulaRow& ObjectiveRow() const { return *FunctionRow; }
  // The line between the numerator and the denominator; null with one objective row.
  [[nodiscard]] QFrame* FractionBar() const { return FractionLine; }
  // The edit of cell (x, y) of the statement grid; null outside.
  [[nodiscard]] QLineEdit* EditAt(int x, int y) const;
  // Fills the page from a statement, as entering with a stored problem does.
  void ShowStatement(const TStatementGrid& grid);
  // The statement as typed, of the given task type.
  [[nodiscard]] TStatementGrid Statement(std::uint8_t taskType) const;

  // Designed controls.
  QWidget* Panel1;
  QLabel* lbDescr;
  QLabel* Image3;
  QToolButton* sbInputMethod;
  QScrollArea* sbDefault;
  QWidget* pFunction;
  QFrame* Shape1;
  QWidget* pLimits;
  QFrame* Shape2;
  QComboBox* ComboBox1;
  QLineEdit* txtZ0;
  QLabel* lbMM;
  QToolButton* BitBtn1;
  QToolButton* BitBtn2;
  QToolButton* BitBtn3;
  QToolButton* BitBtn4;
  QAction* actIncVar;
  QAction* actDecVar;
  QAction* actIncEq;
  QAction* actDecEq;

protected:
  // A click on the arrow "--> Max" / "--> Min" turns the direction round.
  bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
  void ComboBox1Select();
  void actIncVarExecute();
  void actDecVarExecute();
  void actIncEqExecute();
  void actDecEqExecute();

private:
  void FormCreate();
  // Text of a new edit at position (x, y) of the statement; without one, new edits read "0".
  using TNewCell = std::function<QString(int x, int y)>;
  // Brings the page to n variables and m constraints; values in remaining edits stay.
  void SetSizes(int n, int m, const TNewCell& newCell = {});
  void SetVarCount(int n, const TNewCell& newCell = {});
  void SetConstraintCount(int m, const TNewCell& newCell = {});
  // Puts the edits of constraint i (and the objective's for 0) into the tab order after the
  // widget before them.
  void ChainRow(int i);
  void ArrangePanels();
  void UpdateActions();
  void UpdateDirection();
  void UpdateDescription();

  int CellHeight = 21;
  int RowPitch = 22;
  int FormulaLeft = 51; // x of the first coefficient edit in both panels
  QWidget* Content = nullptr;
  QLabel* lbFunctionTitle = nullptr;
  QLabel* lbLimitsTitle = nullptr;
  QLabel* lbCondition = nullptr;
  QFrame* FractionLine = nullptr;         // between numerator and denominator
  std::vector<TFormulaRow*> FunctionRows; // the objective rows, owned by pFunction
  TFormulaRow* FunctionRow = nullptr;     // the first of them
  std::uint8_t Kind;
  std::int32_t FirstGridRow = 0; // the statement row of the first objective row
  TStatementGrid Base;           // the statement last shown: what it holds beyond the rows (ticks, ...) is handed on
  // Constraint rows in order; owned here so that removing a constraint destroys its row.
  std::vector<std::unique_ptr<TFormulaRow>> Rows;
};
