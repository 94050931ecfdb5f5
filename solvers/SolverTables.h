// Table models of the solver windows: the cells of a statement as typed, and a read-only sheet.
#pragma once

#include "Statement.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

// The cells of a statement grid, editable: one row per Y and one column per X of its layout, in
// order. The grid belongs to the window; after it changes size or many cells, Reload.
class TStatementTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  TStatementTableModel(TStatementGrid& grid, QStringList columnTitles, QObject* parent);

  void Reload();
  // The index of cell (x, y) of the grid; invalid outside.
  [[nodiscard]] QModelIndex IndexOf(std::int32_t x, std::int32_t y) const;

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
  // A cell was typed into.
  void CellEdited(std::int32_t x, std::int32_t y);

private:
  TStatementGrid& Grid;
  QStringList ColumnTitles; // empty: the columns are numbered from 1
};

// Rows of six texts under fixed titles, read-only.
class TSheetModel : public QAbstractTableModel {
  Q_OBJECT

public:
  using TRow = std::array<std::string, 6>;
  TSheetModel(QStringList titles, QObject* parent);

  void SetRows(std::vector<TRow> rows);
  void SetText(int row, int column, const std::string& text);
  [[nodiscard]] const std::vector<TRow>& Rows() const noexcept { return Sheet; }

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  QStringList Titles;
  std::vector<TRow> Sheet;
};
