// Drawing routines of the steps (shaded system colours, line-by-line gradients) and an owner-drawn string grid.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QRect>
#include <QStringList>
#include <QTableView>

#include <functional>

class QPainter;

// Each of red, green and blue changed by percent: positive brightens, negative darkens.
[[nodiscard]] QColor ShadeColor(const QColor& color, int percent);

// Paints rect line by line from c1 towards c2: one horizontal line per pixel row when
// horizontalLines is set, one vertical line per pixel column otherwise. The last line stops one
// step short of c2. Nothing for an empty rectangle.
void FillGradient(QPainter& canvas, const QRect& rect, const QColor& c1, const QColor& c2, bool horizontalLines);

// Texts of a string grid's cells; column 0 and row 0 are the fixed header cells.
class TStringGridModel : public QAbstractTableModel {
  Q_OBJECT

public:
  using QAbstractTableModel::QAbstractTableModel;

  // Sizes count the fixed column and row; new cells are empty.
  void SetSize(int colCount, int rowCount);
  [[nodiscard]] int ColCount() const noexcept { return FColCount; }
  [[nodiscard]] int RowCount() const noexcept { return FRowCount; }
  // Outside the grid: "" and writes ignored.
  [[nodiscard]] QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  int FColCount = 1;
  int FRowCount = 1;
  QStringList Cells = QStringList(1); // column-major inside a row: col + row * FColCount
};

// A grid whose first row and first column stay in place; every cell, the fixed ones included, is
// drawn by OnDrawCell. Coordinates are grid columns and rows counted from the fixed ones (0).
class TStringGrid : public QTableView {
  Q_OBJECT

public:
  explicit TStringGrid(QWidget* parent);

  // Draws one cell into rect; the painter is restored afterwards.
  std::function<void(QPainter& canvas, const QRect& rect, int col, int row)> OnDrawCell;

  void SetSize(int colCount, int rowCount);
  [[nodiscard]] int ColCount() const noexcept { return Model->ColCount(); }
  [[nodiscard]] int RowCount() const noexcept { return Model->RowCount(); }
  [[nodiscard]] QString Cell(int col, int row) const { return Model->Cell(col, row); }
  void SetCell(int col, int row, const QString& text) { Model->SetCell(col, row, text); }
  // Current cell among the non-fixed ones; 0 when there is none.
  [[nodiscard]] int Col() const;
  [[nodiscard]] int Row() const;
  void SetCurrent(int col, int row);
  // Width of the fixed column and of the other columns.
  [[nodiscard]] int ColWidth(int col) const;
  // Makes every column, the fixed one included, as wide as its widest text in font with a margin on
  // each side, and never narrower than its default width (27 pixels the fixed column, 48 the others).
  void FitColumnWidths(const QFont& font);

  static constexpr int FixedColWidth = 27;
  static constexpr int DefaultColWidth = 48;
  static constexpr int CellMargin = 3;
  // The widget showing a cell and the cell's rectangle in its coordinates (null when outside).
  [[nodiscard]] QWidget* CellWidget(int col, int row) const;
  [[nodiscard]] QRect CellRect(int col, int row) const;
  // Repaints every cell, the fixed ones included.
  void Invalidate();

signals:
  // A click on a non-fixed cell.
  void CellClicked(int col, int row);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
  void ViewClicked(const QModelIndex& index);

private:
  TStringGridModel* Model;
  QWidget* Corner = nullptr;
};
