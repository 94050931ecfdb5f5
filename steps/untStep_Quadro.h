// The step where the second-order coefficients of a quadratic program are entered.
#pragma once

#include "ZLPCore_SolutionStage.h"

#include <QTableWidget>

class QLabel;

#include <string>
#include <vector>

// One editable grid sg over the n variables of the linear program: cell (column j, row i) holds the
// coefficient of X_i X_j as typed; the fixed row and column name the variables. Entering fills the
// grid from the statement (the stored problem's coefficients, or zeros) whenever the number of
// variables or the statement's own coefficients changed (a problem file opened on the input step),
// and otherwise keeps what was typed. A block pasted from a spreadsheet (Ctrl+V) fills the grid from
// the current cell; what does not fit is left out. Leaving forward reads every cell into the
// statement, shows the symmetric matrix (QuadMatrix, IF_QUADRATIC) and stores the statement under
// the run's temporary record; a cell that is not a number is focused with its editor open.
class TfrmStep_Quadro : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_Quadro(QWidget* owner);

  void EnterStage(TStageHost& host) override;
  void LeaveForward(TStageHost& host) override;

  // The text of cell (column j, row i), 1-based; "" outside the grid.
  [[nodiscard]] QString CellText(int j, int i) const;

  QTableWidget* sg;
  // How the coefficients count in the objective.
  QLabel* lbHint;

private:
  void FormCreate();
  // Sizes the grid for the program's variables and writes the statement's coefficients into it.
  void ShowCoefficients();
  bool eventFilter(QObject* watched, QEvent* event) override;

  std::vector<std::string> FilledFrom; // the statement's coefficients the grid was last filled with
};
