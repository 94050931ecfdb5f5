// Drawing routines of the steps (shaded system colours, line-by-line gradients) and an owner-drawn string grid.
#include "customUI.h"

#include "Pages.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdint>

namespace {

std::uint32_t ToRgb(const QColor& color) { return static_cast<std::uint32_t>(color.rgb()) & 0xFFFFFFu; }

QColor FromRgb(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb)); }

// Hands every cell of the grid to its owner's drawing routine.
class TGridDelegate final : public QStyledItemDelegate {
public:
  explicit TGridDelegate(TStringGrid& grid) : QStyledItemDelegate(&grid), Grid(&grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!Grid->OnDrawCell) return;
    painter->save();
    Grid->OnDrawCell(*painter, option.rect, index.column() + 1, index.row() + 1);
    painter->restore();
  }
  [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {TStringGrid::DefaultColWidth, 18};
  }

private:
  TStringGrid* Grid;
};

// The fixed row (horizontal) or column (vertical) of the grid, drawn by the owner as well.
class TGridHeader final : public QHeaderView {
public:
  TGridHeader(Qt::Orientation orientation, TStringGrid& grid) : QHeaderView(orientation, &grid), Grid(&grid) {}

protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    if (!Grid->OnDrawCell || !rect.isValid()) return;
    painter->save();
    if (orientation() == Qt::Horizontal)
      Grid->OnDrawCell(*painter, rect, logicalIndex + 1, 0);
    else
      Grid->OnDrawCell(*painter, rect, 0, logicalIndex + 1);
    painter->restore();
  }

private:
  TStringGrid* Grid;
};

} // namespace

QColor ShadeColor(const QColor& color, int percent) { return FromRgb(ShadeColor(ToRgb(color), percent)); }

void FillGradient(QPainter& canvas, const QRect& rect, const QColor& c1, const QColor& c2, bool horizontalLines) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  const std::uint32_t from = ToRgb(c1);
  const std::uint32_t to = ToRgb(c2);
  const int lines = horizontalLines ? rect.height() : rect.width();
  for (int k = 0; k < lines; ++k) {
    const QColor color = FromRgb(GradientLineColor(from, to, lines, k));
    if (horizontalLines)
      canvas.fillRect(QRect(rect.left(), rect.top() + k, rect.width(), 1), color);
    else
      canvas.fillRect(QRect(rect.left() + k, rect.top(), 1, rect.height()), color);
  }
}

void TStringGridModel::SetSize(int colCount, int rowCount) {
  colCount = std::max(colCount, 1);
  rowCount = std::max(rowCount, 1);
  if (colCount == FColCount && rowCount == FRowCount) return;
  beginResetModel();
  FColCount = colCount;
  FRowCount = rowCount;
  Cells = QStringList(static_cast<qsizetype>(colCount) * rowCount);
  endResetModel();
}

QString TStringGridModel::Cell(int col, int row) const {
  if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount) return {};
  return Cells[col + static_cast<qsizetype>(row) * FColCount];
}

void TStringGridModel::SetCell(int col, int row, const QString& text) {
  if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount) return;
  QString& cell = Cells[col + static_cast<qsizetype>(row) * FColCount];
  if (cell == text) return;
  cell = text;
  if (row == 0 && col > 0)
    emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
  else if (col == 0 && row > 0)
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
  else if (col > 0 && row > 0)
    emit dataChanged(index(row - 1, col - 1), index(row - 1, col - 1), {Qt::DisplayRole});
}

int TStringGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRowCount - 1; }

int TStringGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FColCount - 1; }

QVariant TStringGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return Cell(index.column() + 1, index.row() + 1);
}

QVariant TStringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  return orientation == Qt::Horizontal ? Cell(section + 1, 0) : Cell(0, section + 1);
}

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), Model(new TStringGridModel(this)) {
  auto* top = new TGridHeader(Qt::Horizontal, *this);
  auto* left = new TGridHeader(Qt::Vertical, *this);
  setHorizontalHeader(top);
  setVerticalHeader(left);
  setModel(Model);
  setItemDelegate(new TGridDelegate(*this));
  setShowGrid(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setWordWrap(false);
  setCornerButtonEnabled(false);

  top->setMinimumSectionSize(4);
  top->setDefaultSectionSize(DefaultColWidth);
  top->setSectionResizeMode(QHeaderView::Interactive);
  top->setSectionsClickable(false);
  top->setHighlightSections(false);
  top->setFixedHeight(18);
  left->setMinimumSectionSize(1);
  left->setDefaultSectionSize(18);
  left->setSectionResizeMode(QHeaderView::Fixed);
  left->setSectionsClickable(false);
  left->setHighlightSections(false);
  left->setFixedWidth(FixedColWidth);

  // The corner cell is a button of the view; it is drawn like every other cell.
  for (QAbstractButton* button : findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    Corner = button;
    Corner->installEventFilter(this);
  }
  connect(this, &QTableView::clicked, this, &TStringGrid::ViewClicked);
}

void TStringGrid::SetSize(int colCount, int rowCount) { Model->SetSize(colCount, rowCount); }

int TStringGrid::Col() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.column() + 1 : 0;
}

int TStringGrid::Row() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

void TStringGrid::SetCurrent(int col, int row) {
  const QModelIndex index = Model->index(row - 1, col - 1);
  if (index.isValid()) setCurrentIndex(index);
}

int TStringGrid::ColWidth(int col) const {
  return col == 0 ? verticalHeader()->width() : horizontalHeader()->sectionSize(col - 1);
}

void TStringGrid::FitColumnWidths(const QFont& font) {
  const QFontMetrics metrics(font);
  QHash<QString, int> measured; // tables repeat their numbers: measure each text once
  for (int col = 0; col < ColCount(); ++col) {
    int widest = 0;
    for (int row = 0; row < RowCount(); ++row) {
      const QString text = Cell(col, row);
      auto it = measured.constFind(text);
      if (it == measured.constEnd()) it = measured.insert(text, metrics.horizontalAdvance(text));
      widest = std::max(widest, it.value());
    }
    const int width = widest + 2 * CellMargin;
    if (col == 0)
      verticalHeader()->setFixedWidth(std::max(FixedColWidth, width));
    else
      horizontalHeader()->resizeSection(col - 1, std::max(DefaultColWidth, width));
  }
}

QWidget* TStringGrid::CellWidget(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return nullptr;
  if (col == 0 && row == 0) return Corner;
  if (row == 0) return horizontalHeader()->viewport();
  if (col == 0) return verticalHeader()->viewport();
  return viewport();
}

QRect TStringGrid::CellRect(int col, int row) const {
  if (!CellWidget(col, row)) return {};
  const QHeaderView* top = horizontalHeader();
  const QHeaderView* left = verticalHeader();
  if (col == 0 && row == 0) return Corner->rect();
  if (row == 0) return {top->sectionViewportPosition(col - 1), 0, top->sectionSize(col - 1), top->height()};
  if (col == 0) return {0, left->sectionViewportPosition(row - 1), left->width(), left->sectionSize(row - 1)};
  return visualRect(Model->index(row - 1, col - 1));
}

void TStringGrid::Invalidate() {
  viewport()->update();
  horizontalHeader()->viewport()->update();
  verticalHeader()->viewport()->update();
  if (Corner) Corner->update();
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Corner && event->type() == QEvent::Paint) {
    if (OnDrawCell) {
      QPainter painter(Corner);
      OnDrawCell(painter, Corner->rect(), 0, 0);
    }
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

void TStringGrid::ViewClicked(const QModelIndex& index) {
  if (index.isValid()) emit CellClicked(index.column() + 1, index.row() + 1);
}
