// The problem input step: the student states a linear program.
#pragma once

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

struct TLinearStatementText;

// The objective row "Z = c1 X1+ ... c0 --> Max" and one row "a1 X1+ ... sign b" per constraint,
// with n variables and m constraints, each in 1..MaxCount. Leaving forward reads every edit as a
// rational number into StageData, writes the model as the step's section and stores the statement
// under the run's temporary record; entering with a pending stored problem fills the rows from it.
class TfrmStep_ZLPInput : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  static constexpr int MaxCount = 255;

  explicit TfrmStep_ZLPInput(QWidget* owner);
  ~TfrmStep_ZLPInput() override;

  void EnterStage(TfrmZLPWizard& wizard) override;
  void LeaveForward(TfrmZLPWizard& wizard) override;

  [[nodiscard]] int VarCount() const { return FunctionRow->VarCount(); }
  [[nodiscard]] int ConstraintCount() const { return static_cast<int>(Rows.size()); }
  // Objective coefficient j (1-based); null outside 1..n.
  [[nodiscard]] QLineEdit* ObjectiveEdit(int j) const { return FunctionRow->Coeff(j); }
  // Row i (1-based) of the constraints; null outside 1..m.
  [[nodiscard]] TFormulaRow* ConstraintRow(int i) const;
  // Coefficient of variable j in constraint i; null outside the problem.
  [[nodiscard]] QLineEdit* ConstraintEdit(int i, int j) const;
  [[nodiscard]] QLineEdit* RhsEdit(int i) const;
  [[nodiscard]] QComboBox* SignBox(int i) const;
  [[nodiscard]] const TFormulaRow& ObjectiveRow() const { return *FunctionRow; }
  // Fills the page from a statement, as entering with a stored problem does.
  void ShowStatement(const TLinearStatementText& text);

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
  [[nodiscard]] QLineEdit* EditAt(int x, int y) const;

  int CellHeight = 21;
  int RowPitch = 22;
  int FormulaLeft = 51; // x of the first coefficient edit in both panels
  QWidget* Content = nullptr;
  QLabel* lbFunctionTitle = nullptr;
  QLabel* lbLimitsTitle = nullptr;
  QLabel* lbCondition = nullptr;
  TFormulaRow* FunctionRow = nullptr;
  // Constraint rows in order; owned here so that removing a constraint destroys its row.
  std::vector<std::unique_ptr<TFormulaRow>> Rows;
};
