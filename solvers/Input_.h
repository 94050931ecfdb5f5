// The regression window: the observations, the auxiliary table, the fractions of A and B, a report
// block per "Решение" for the main window, and storing the observations.
#pragma once

#include "SolverForm.h"
#include "Statement.h"
#include "ZLPCore_SolutionResult.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class TSheetModel;
class TStatementTableModel;

class TInput_form : public TSolverForm {
  Q_OBJECT

public:
  explicit TInput_form(const TSolverContext& context);

  // Shows the window modally; true when "Решение" succeeded at least once, and report then holds
  // every block written (its title included). "Готово", Escape and the close box all just close.
  bool Execute(int pendingTaskId, TZLPCore_SolutionResult& report) override;

  // The observations as typed.
  [[nodiscard]] const TStatementGrid& Statement() const noexcept { return Grid; }
  // Fills the controls from a statement, as opening with a stored problem does.
  void ShowStatement(const TStatementGrid& grid);
  [[nodiscard]] TStatementGrid TypedStatement(std::uint8_t) override { return Grid; }
  void ShowTypedStatement(const TStatementGrid& grid) override { ShowStatement(grid); }

  bool Solved = false;            // "Решение" succeeded at least once
  TZLPCore_SolutionResult Report; // one block per successful "Решение"

  QLabel* lbCount = nullptr;
  QSpinBox* Edit1 = nullptr; // n, 2 ... 32000; its arrows are the up-down
  QTableView* StringGrid_input = nullptr;
  QTableView* StringGrid1 = nullptr; // the auxiliary table, computed
  QGroupBox* GroupBox2 = nullptr;    // " Коэффициенты: "
  QLabel* lbANumerator = nullptr;
  QLabel* lbADenominator = nullptr;
  QLabel* lbAValue = nullptr;
  QLabel* lbBNumerator = nullptr;
  QLabel* lbBDenominator = nullptr;
  QLabel* lbBValue = nullptr;
  QPushButton* BitBtn3 = nullptr; // "Решение"
  QPushButton* BitBtn2 = nullptr; // "Сохранить"
  QPushButton* btnNext = nullptr; // "Готово"

public slots:
  // Escape closes the window as "Готово" does.
  void reject() override;

protected:
  void showEvent(QShowEvent* event) override; // FormShow
  void GrowTable(int rows, int columns) override;

private slots:
  void Edit1Change(int n);
  void StringGrid_inputSetEditText(std::int32_t x, std::int32_t y);
  void Button1Click(); // "Решение"
  void BitBtn2Click(); // "Сохранить"

private:
  void FormCreate();
  // The auxiliary table of the observations as typed: numbers, X and Y, and the row "Итого".
  void CopyObservations();

  TStatementGrid Grid;
  TStatementTableModel* InputModel = nullptr;
  TSheetModel* SheetModel = nullptr;
};
