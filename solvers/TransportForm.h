// The transportation problem's window: the numbers of suppliers and consumers, the method of the
// first plan, the table of supplies, demands and costs; solving it by the method of potentials
// into the report the main window shows, and storing it.
#pragma once

#include "SolverForm.h"
#include "Statement.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class TTransportTableModel;

class TTransportForm : public TSolverForm {
  Q_OBJECT

public:
  explicit TTransportForm(const TSolverContext& context);

  bool Execute(int pendingTaskId, TZLPCore_SolutionResult& report) override;

  [[nodiscard]] const TStatementGrid& Statement() const noexcept { return Grid; }
  void ShowStatement(const TStatementGrid& grid);
  // A problem file opened or saved from the window.
  [[nodiscard]] TStatementGrid TypedStatement(std::uint8_t) override { return Grid; }
  void ShowTypedStatement(const TStatementGrid& grid) override { ShowStatement(grid); }

  QSpinBox* edSuppliers = nullptr; // m, 1 ... 50
  QSpinBox* edConsumers = nullptr; // n, 1 ... 50
  QComboBox* cbStart = nullptr;    // the first plan: minimum element, north-west corner, Vogel
  // Row 0 the demands, rows 1..m the suppliers; column 0 the supplies, columns 1..n the consumers.
  QTableView* tblCells = nullptr;
  QPushButton* btnSolve = nullptr;  // "Решение"
  QPushButton* btnSave = nullptr;   // "Сохранить"
  QPushButton* btnCancel = nullptr; // "Отмена"

protected:
  void showEvent(QShowEvent* event) override;

private slots:
  void SizeChange();
  void StartChange(int index);
  void SolveClick();
  void SaveClick();

private:
  // The first bad cell made current with its message; true when every cell reads.
  bool CheckCells();

  TStatementGrid Grid;
  TTransportTableModel* Model = nullptr;
  TZLPCore_SolutionResult* Report = nullptr; // while Execute runs
};
