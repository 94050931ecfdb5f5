// The cutting-stock input step: the material, the products and their proportions, the patterns.
#pragma once

#include "Statement.h"
#include "ZLPCore_SolutionStage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStringList>
#include <QTableWidget>
#include <QToolButton>

#include <functional>
#include <optional>
#include <vector>

// An up-down pair of arrows bound to an edit holding a whole number Min ... Max: an arrow, or the
// Up or Down key in the edit, steps the number by one within the range and writes it into the edit.
// A text that is not such a number steps from the last number the edit held.
class TUpDown final : public QWidget {
  Q_OBJECT

public:
  TUpDown(QLineEdit* associate, int min, int max, QWidget* parent);

  [[nodiscard]] int Min() const noexcept { return FMin; }
  [[nodiscard]] int Max() const noexcept { return FMax; }
  [[nodiscard]] int Position() const noexcept { return FPosition; }
  // Writes position (within the range) into the edit.
  void SetPosition(int position);

  QToolButton* btnUp;
  QToolButton* btnDown;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
  void AssociateChange();

private:
  void Step(int delta);

  QLineEdit* Associate;
  int FMin;
  int FMax;
  int FPosition;
};

// A string grid of the step: editable cells of 48 x 18 pixels; typed characters other than digits,
// "/", a decimal point or comma, backspace, Enter and Esc are dropped, in the cells and in their
// editors alike. The fixed row, when the grid has one, is the horizontal header; the fixed column,
// when it has one, the vertical header.
class TCutGrid final : public QTableWidget {
  Q_OBJECT

public:
  TCutGrid(bool fixedRow, QWidget* parent, bool fixedColumn = false);
  // Names the columns "<prefix>1", "<prefix>2", ..., each with a hint "<hint> 1" ...
  void NameColumns(const QString& prefix, const QString& hint);
  // Names the rows likewise (a grid with a fixed column).
  void NameRows(const QString& prefix, const QString& hint);

  // Columns and rows of editable cells; cells that remain keep their text, new ones are empty.
  void SetSize(int cols, int rows);
  // The text of the cell in column col and row row (0-based); "" outside.
  [[nodiscard]] QString Text(int col, int row) const;
  void SetText(int col, int row, const QString& text);
  // The width and height the grid needs to show every cell without scroll bars.
  [[nodiscard]] QSize FullSize() const;
  // A cell is being edited.
  [[nodiscard]] bool Editing() const { return state() == QAbstractItemView::EditingState; }
  // Finishes the edit of a cell in progress, keeping what was typed.
  void CommitEdit();
  // Called by a paste (Ctrl+V) of a block of cells copied from a spreadsheet, with the current cell;
  // true when it took the block.
  std::function<bool(int col, int row, const std::vector<QStringList>& block)> PasteBlock;

protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// Leaving forward stores the statement under the run's temporary record (also when it is refused),
// then checks the amount of material and the two counts, reads the statement into StageData and
// builds its program there; entering with a pending stored problem fills the step from it.
class TfrmStep_CutInput : public TZLPCore_SolutionStage, public TStatementInput {
  Q_OBJECT

public:
  explicit TfrmStep_CutInput(QWidget* owner);

  void EnterStage(TStageHost& host) override;
  void LeaveForward(TStageHost& host) override;

  // Products (rows of SMatr, columns of SProp) and patterns (columns of SMatr).
  [[nodiscard]] int ProductCount() const { return SMatr->rowCount(); }
  [[nodiscard]] int PatternCount() const { return SMatr->columnCount(); }
  // The statement as typed: the material, the proportion cells and the pattern cells.
  [[nodiscard]] TStatementGrid Statement() const;
  // Fills the step from a statement, as entering with a stored problem does.
  void ShowStatement(const TStatementGrid& grid);
  // Pastes a block from cell (col, row) of SMatr (products down, patterns across) or of SProp (the
  // proportions, across); a block larger than the grid grows the counts when the student agrees,
  // and what does not fit is left out.
  bool PasteIntoGrid(TCutGrid& grid, int col, int row, const std::vector<QStringList>& block);
  [[nodiscard]] TStatementGrid TypedStatement(std::uint8_t) override {
    SProp->CommitEdit();
    SMatr->CommitEdit();
    return Statement();
  }
  void ShowTypedStatement(const TStatementGrid& grid) override { ShowStatement(grid); }

  // Designed controls.
  QScrollArea* sbDefault;
  QLabel* lbMaterial;
  QLineEdit* LabeledEdit1; // the amount of material
  QLabel* lbProducts;
  QLineEdit* LabeledEdit2; // the number of products
  TUpDown* UpDown2;
  QLabel* lbPatterns;
  QLineEdit* LabeledEdit3; // the number of cutting patterns
  TUpDown* UpDown3;
  QCheckBox* CheckBox1; // zeros shown
  QGroupBox* GroupBox1;
  TCutGrid* SProp; // column i - 1: the proportion of product i
  QGroupBox* GroupBox2;
  TCutGrid* SMatr; // column j - 1, row i - 1: the pieces of product i that pattern j yields

private slots:
  void LabeledEdit2Change();
  void LabeledEdit3Change();
  void CheckBox1Click();
  void SPropColumnResize();
  void FocusChange(QWidget* old, QWidget* now);

private:
  void FormCreate();
  // Sizes the grids to the counts in the edits, when both are whole numbers 1 ... 255.
  void ResizeGrids();
  // Empties the "0" cells of SMatr, or writes "0" into its empty cells, as CheckBox1 says.
  void ApplyZeroDisplay();
  void FitGroups();
  // Puts the focus on an edit with its text selected and shows a warning.
  void Refuse(QLineEdit* edit, const std::string& text);
  [[nodiscard]] static std::optional<int> CountOf(const QLineEdit* edit);
};
