// The problem input step: the student states a linear program.
#pragma once

#include "Statement.h"
#include "ZLPCore_SolutionStage.h"
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
// temporary record; entering with a pending stored problem fills the rows from it. The rows hold
// the texts; only the cells in view (and the free terms txtZ0 ...) have edit boxes, so entering
// with a 255 x 255 problem makes some hundred boxes, not 65,025.
class TfrmStep_ZLPInput : public TZLPCore_SolutionStage, public TStatementInput {
  Q_OBJECT

public:
  static constexpr int MaxCount = 255;

  // kind SK_ZLPINPUT: a linear program; SK_ZDLPINPUT: a linear-fractional one.
  explicit TfrmStep_ZLPInput(QWidget* owner, std::uint8_t kind = SK_ZLPINPUT);
  ~TfrmStep_ZLPInput() override;

  void EnterStage(TStageHost& host) override;
  void LeaveForward(TStageHost& host) override;
  // Room for the formula of at least six variables without scrolling across.
  [[nodiscard]] QSize sizeHint() const override;

  [[nodiscard]] int VarCount() const { return FunctionRow->VarCount(); }
  [[nodiscard]] int ConstraintCount() const { return static_cast<int>(Rows.size()); }
  [[nodiscard]] int ObjectiveRowCount() const { return static_cast<int>(FunctionRows.size()); }
  // The edit boxes below are those laid over the cells: asking for one scrolls its cell into view
  // and gives it a box, which serves that cell until the cell has long been out of view.
  // Objective coefficient j (1-based) of the first objective row; null outside 1..n.
  [[nodiscard]] QLineEdit* ObjectiveEdit(int j) { return CellEdit(FunctionRow, j); }
  // Objective row k (0-based: the numerator, then the denominator); null outside.
  [[nodiscard]] TFormulaRow* ObjectiveRowAt(int k) const;
  // Row i (1-based) of the constraints; null outside 1..m.
  [[nodiscard]] TFormulaRow* ConstraintRow(int i) const;
  // Coefficient of variable j in constraint i; null outside the problem.
  [[nodiscard]] QLineEdit* ConstraintEdit(int i, int j) { return CellEdit(ConstraintRow(i), j); }
  [[nodiscard]] QLineEdit* RhsEdit(int i) { return CellEdit(ConstraintRow(i), 0); }
  [[nodiscard]] QComboBox* SignBox(int i) const;
  [[nodiscard]] const TFormulaRow& ObjectiveRow() const { return *FunctionRow; }
  // The line between the numerator and the denominator; null with one objective row.
  [[nodiscard]] QFrame* FractionBar() const { return FractionLine; }
  // The row of statement row y, null outside.
  [[nodiscard]] TFormulaRow* GridRow(int y) const;
  // The edit of cell (x, y) of the statement grid; null outside.
  [[nodiscard]] QLineEdit* EditAt(int x, int y) { return CellEdit(GridRow(y), x); }
  // Fills the page from a statement, as entering with a stored problem does.
  void ShowStatement(const TStatementGrid& grid);
  // The statement as typed, of the given task type.
  [[nodiscard]] TStatementGrid Statement(std::uint8_t taskType) const;
  // Pastes a block of cells copied from a spreadsheet from cell x of row on, row by row down the
  // statement; a block larger than the statement grows it when the student agrees, and what does
  // not fit is left out. False when the text is no block.
  bool PasteBlock(TFormulaRow& row, int x, const QString& text);
  // The names a screen reader gives the cells of statement row y.
  [[nodiscard]] TFormulaRow::TCellName AccessibleCellName(int y) const;
  [[nodiscard]] TStatementGrid TypedStatement(std::uint8_t taskType) override { return Statement(taskType); }
  void ShowTypedStatement(const TStatementGrid& grid) override { ShowStatement(grid); }
  // How many edit boxes the page has made for its cells.
  [[nodiscard]] std::size_t EditBoxCount() const noexcept { return Editors->BoxCount(); }

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
  // A click on the arrow "--> Max" / "--> Min" turns the direction round; the cells in view get
  // their boxes whenever the page scrolls or the view changes size.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Tab and Shift+Tab walk the formula: the direction box, each objective row's coefficients and
  // free term, then each constraint's coefficients, relation box and right-hand side, whether the
  // next cell has a box yet or not; the cell reached is scrolled into view.
  bool focusNextPrevChild(bool next) override;

private slots:
  void ComboBox1Select();
  void actIncVarExecute();
  void actDecVarExecute();
  void actIncEqExecute();
  void actDecEqExecute();

private:
  void FormCreate();
  // Text of a new cell at position (x, y) of the statement; without one, new cells read "0".
  using TNewCell = std::function<QString(int x, int y)>;
  // Brings the page to n variables and m constraints; values in remaining cells stay.
  void SetSizes(int n, int m, const TNewCell& newCell = {});
  void SetVarCount(int n, const TNewCell& newCell = {});
  void SetConstraintCount(int m, const TNewCell& newCell = {});
  // The box of cell x of row, its cell scrolled into view; null outside.
  QLineEdit* CellEdit(TFormulaRow* row, int x);
  // Scrolls the page so that rect (in Content coordinates) is in view.
  void Reveal(const QRect& rect);
  // Gives the cells in view their boxes.
  void CoverView();
  // A stop of the Tab walk: cell X of Row, or its relation box for X = -1.
  struct TStop {
    TFormulaRow* Row = nullptr;
    int X = 0;
  };
  [[nodiscard]] TStop StopOf(const QWidget* w) const;
  [[nodiscard]] TStop NextStop(TStop stop, bool next) const;
  [[nodiscard]] std::vector<TFormulaRow*> AllRows() const;
  void FocusStop(TStop stop, bool next);
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
  TFormulaColumns Columns;                // shared by all rows
  std::vector<TFormulaRow*> FunctionRows; // the objective rows, owned by pFunction
  TFormulaRow* FunctionRow = nullptr;     // the first of them
  std::uint8_t Kind;
  std::int32_t FirstGridRow = 0; // the statement row of the first objective row
  TStatementGrid Base;           // the statement last shown: what it holds beyond the rows (ticks, ...) is handed on
  // Constraint rows in order; owned here so that removing a constraint destroys its row.
  std::vector<std::unique_ptr<TFormulaRow>> Rows;
  std::unique_ptr<TCellEditors> Editors; // the boxes over the cells, children of Content
  bool Arranging = false;                // the rows are being resized: no boxes until they are done
};
