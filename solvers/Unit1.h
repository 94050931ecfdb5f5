// The assignment window: the size and the direction, the cost matrix, solving it by the Hungarian
// method into the report the main window shows, and storing it.
#pragma once

#include "SolverForm.h"
#include "Statement.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class TStatementTableModel;

class TForm1 : public TSolverForm {
  Q_OBJECT

public:
  explicit TForm1(const TSolverContext& context);

  // Shows the window modally; true when "Решение" solved the matrix into report (its title
  // included), false when the window was closed otherwise.
  bool Execute(int pendingTaskId, TZLPCore_SolutionResult& report) override;

  // The matrix as typed, of the size and direction chosen.
  [[nodiscard]] const TStatementGrid& Statement() const noexcept { return Grid; }
  // Fills the controls from a statement, as opening with a stored problem does.
  void ShowStatement(const TStatementGrid& grid);
  [[nodiscard]] TStatementGrid TypedStatement(std::uint8_t) override { return Grid; }
  void ShowTypedStatement(const TStatementGrid& grid) override { ShowStatement(grid); }

  QLabel* lbSize = nullptr;
  QSpinBox* LabeledEdit1 = nullptr; // n, 3 ... 255; its arrows are the up-down
  QLabel* lbDirection = nullptr;
  QComboBox* ComboBox1 = nullptr; // "Минимизировать", "Максимизировать"
  QLabel* lbMatrix = nullptr;
  QTableView* isx = nullptr;      // the cost matrix, cell (column, row)
  QPushButton* BitBtn4 = nullptr; // "Решение"
  QPushButton* BitBtn5 = nullptr; // "Сохранить"
  QPushButton* btnNext = nullptr; // "Отмена"

protected:
  void showEvent(QShowEvent* event) override; // FormShow
  // The key filter of the size box: digits, Backspace, Enter and Escape.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void GrowTable(int rows, int columns) override;

private slots:
  void LabeledEdit1Change(int n);
  void ComboBox1Change(int index);
  void Button7Click(); // "Решение"
  void Save1Click();   // "Сохранить"

private:
  void FormCreate();

  TStatementGrid Grid;
  TStatementTableModel* Model = nullptr;
  TZLPCore_SolutionResult* Report = nullptr; // while Execute runs
};
