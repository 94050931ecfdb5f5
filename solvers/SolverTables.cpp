// Table models of the solver windows.
#include "SolverTables.h"

#include <utility>

TStatementTableModel::TStatementTableModel(TStatementGrid& grid, QStringList columnTitles, QObject* parent)
    : QAbstractTableModel(parent), Grid(grid), ColumnTitles(std::move(columnTitles)) {}

void TStatementTableModel::Reload() {
  beginResetModel();
  endResetModel();
}

QModelIndex TStatementTableModel::IndexOf(std::int32_t x, std::int32_t y) const {
  if (!Grid.HasCell(x, y)) return {};
  return index(y - Grid.YFirst(), x - Grid.XFirst());
}

int TStatementTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(Grid.YLast() - Grid.YFirst() + 1, 0);
}

int TStatementTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(Grid.XLast() - Grid.XFirst() + 1, 0);
}

QVariant TStatementTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return QString::fromStdString(Grid.Cell(Grid.XFirst() + index.column(), Grid.YFirst() + index.row()));
}

bool TStatementTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const std::int32_t x = Grid.XFirst() + index.column();
  const std::int32_t y = Grid.YFirst() + index.row();
  Grid.SetCell(x, y, value.toString().toStdString());
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  emit CellEdited(x, y);
  return true;
}

Qt::ItemFlags TStatementTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable : Qt::NoItemFlags;
}

QVariant TStatementTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal && section < ColumnTitles.size()) return ColumnTitles[section];
  return section + 1;
}

TSheetModel::TSheetModel(QStringList titles, QObject* parent)
    : QAbstractTableModel(parent), Titles(std::move(titles)) {}

void TSheetModel::SetRows(std::vector<TRow> rows) {
  beginResetModel();
  Sheet = std::move(rows);
  endResetModel();
}

void TSheetModel::SetText(int row, int column, const std::string& text) {
  if (row < 0 || row >= static_cast<int>(Sheet.size()) || column < 0 || column >= 6) return;
  Sheet[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
  emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
}

int TSheetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Sheet.size());
}

int TSheetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 6; }

QVariant TSheetModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return QString::fromStdString(Sheet[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
}

QVariant TSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= Titles.size()) return {};
  return Titles[section];
}
