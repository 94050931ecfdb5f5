// One line of a formula on the input steps: coefficient cells, each followed by its variable name.
#pragma once

#include "InputFields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TCellEditors;

// Where cell j and the name after it lie on a row, the same on every row of a page: cell j is
// EditWidth wide, its name "X" + j + "+" starts LabelGap after it and cell j + 1 NextGap after the
// name. The widths of the names are measured once per page, not once per row.
class TFormulaColumns {
public:
  static constexpr int EditWidth = 48;
  static constexpr int LabelGap = 2;
  static constexpr int NextGap = 3;

  // Measures the names up to variable n with the given font.
  void Grow(int n, const QFontMetrics& metrics);
  // Left edge of cell j, j in 1..the measured count.
  [[nodiscard]] int CellLeft(int j) const;
  [[nodiscard]] int LabelLeft(int j) const { return CellLeft(j) + EditWidth + LabelGap; }
  [[nodiscard]] int LabelWidth(int j) const { return Width[static_cast<std::size_t>(j - 1)]; }
  // Width of the name of variable j without its "+", as the last name of a constraint reads.
  [[nodiscard]] int NameWidth(int j) const { return Plain[static_cast<std::size_t>(j - 1)]; }
  // Right end of the name of variable n; 0 for n = 0.
  [[nodiscard]] int End(int n) const { return n < 1 ? 0 : LabelLeft(n) + LabelWidth(n); }

private:
  std::vector<int> Left;  // left edge of cell j at [j - 1]
  std::vector<int> Width; // width of the name of variable j at [j - 1]
  std::vector<int> Plain; // the same without the "+"
};

// A row reads "c1 X1+ c2 X2+ ... tail" and ends either with the free term of an objective or with a
// relation box and the right-hand side of a constraint; on a constraint the last name is shown
// without its "+" ("X3 <= b"), whole, and the relation box follows it. The row holds the texts of
// its cells (cell j the coefficient of variable j, cell 0 the free term or right-hand side) and
// paints the names and every cell that has no edit box laid over it; the boxes come from
// TCellEditors, which keeps them only for the cells in view, so a 255 x 255 problem needs some
// hundred boxes rather than 65,025.
class TFormulaRow final : public QWidget {
  Q_OBJECT

public:
  enum class TTail { FreeTerm, Relation };

  static constexpr int EditWidth = TFormulaColumns::EditWidth;
  static constexpr int LabelGap = TFormulaColumns::LabelGap;
  static constexpr int NextGap = TFormulaColumns::NextGap;
  static constexpr int SignWidth = 44;
  static constexpr int SignGap = 3;
  static constexpr int FreeTermGap = 2;
  static constexpr int RhsGap = 3;

  // cellHeight is the height of every cell and of the relation box; columns is shared by the rows
  // of a page and outlives them.
  TFormulaRow(TTail tail, TFormulaColumns& columns, int cellHeight, QWidget* parent);
  ~TFormulaRow() override;

  [[nodiscard]] int VarCount() const noexcept { return static_cast<int>(Texts.size()) - 1; }
  // Text of a new cell j; without one, new cells read "0".
  using TNewText = std::function<QString(int j)>;
  // Cells beyond n go with their values; their boxes must have been released first. The row's
  // width follows.
  void SetVarCount(int n, const TNewText& newText = {});
  // Text of cell x (0 the tail, 1..VarCount the coefficients); empty outside.
  [[nodiscard]] QString Text(int x) const;
  // Sets the text of cell x, in its box too when it has one.
  void SetText(int x, const QString& text);
  // Where cell x lies, in row coordinates; empty outside 0..VarCount.
  [[nodiscard]] QRect CellRect(int x) const;
  // The box laid over cell x; null while the cell is painted.
  [[nodiscard]] QLineEdit* Editor(int x) const;
  // "X" + j + "+"; empty outside 1..VarCount.
  [[nodiscard]] QString LabelText(int j) const;
  // The name as the row shows it: LabelText, but the last name of a constraint without its "+".
  [[nodiscard]] QString ShownLabelText(int j) const;
  // Where the name of variable j is painted, in row coordinates: as wide as ShownLabelText.
  [[nodiscard]] QRect LabelRect(int j) const;
  // The width of a row of this kind with n variables, measured with the row's font.
  [[nodiscard]] int WidthFor(int n) const;

  // Relation box of a constraint row ("<=", "=", ">="), null on an objective row.
  QComboBox* Sign = nullptr;
  // The accessible name of cell x, which the box over it carries: "Коэффициент при X2 в
  // ограничении 3".
  using TCellName = std::function<QString(int x)>;
  TCellName CellName;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  friend class TCellEditors;
  void PaintCell(QPainter& painter, int x);
  [[nodiscard]] int TailLeft() const;
  void PlaceTail();

  TFormulaColumns& Columns;
  const int CellHeight;
  std::vector<QString> Texts;    // cell x at [x]
  std::vector<QLineEdit*> Boxes; // the box over cell x at [x], owned by TCellEditors' host
};

// An edit box over a formula cell: the cell it serves and when it last was wanted.
class TCellEdit final : public QLineEdit {
public:
  explicit TCellEdit(QWidget* parent) : QLineEdit(parent) {}
  TFormulaRow* Row = nullptr; // null while the box serves no cell
  int X = -1;
  std::uint64_t Used = 0;
  bool Pinned = false; // never handed to another cell
  // Called by a paste (Ctrl+V, Shift+Insert) of a block of cells, as a spreadsheet copies them
  // (tab- or semicolon-separated, one line per row); true when it took the text, which is then
  // not pasted into the box.
  std::function<bool(TFormulaRow& row, int x, const QString& text)> PasteBlock;

protected:
  void keyPressEvent(QKeyEvent* event) override;
};


// The edit boxes laid over formula cells, children of Host (an ancestor of the rows). A cell gets a
// box when it comes into view or is asked for; once Cap boxes exist (three times the cells last in
// view, at least MinCap), a new cell takes the box wanted longest ago among those neither in view,
// pinned nor holding the window's focus. A box carries its cell's text both ways: typing into it
// sets the row's text, setting the row's text sets the box.
class TCellEditors final : public QObject {
public:
  explicit TCellEditors(QWidget& host) : Host(&host) {}

  // The box of cell x of row, made or taken from another cell; null outside.
  TCellEdit* Attach(TFormulaRow& row, int x) { return Attach(row, x, ++Clock); }
  // The same, and the box serves that cell for good.
  TCellEdit* Pin(TFormulaRow& row, int x);
  // Takes the boxes off the cells of row from x on (all of them for 0); they are hidden and free.
  void Release(TFormulaRow& row, int fromX = 0);
  // Boxes for every cell of rows that lies within area (Host coordinates).
  void Cover(const std::vector<TFormulaRow*>& rows, const QRect& area);
  // Moves every box over its cell again, after the cells moved.
  void Place();
  // Handed to every box: the paste of a block of cells.
  std::function<bool(TFormulaRow& row, int x, const QString& text)> PasteBlock;
  // The box w is, if it is one of these serving a cell; null otherwise.
  [[nodiscard]] const TCellEdit* Find(const QWidget* w) const;
  [[nodiscard]] std::size_t BoxCount() const noexcept { return Boxes.size(); }

private:
  // Boxes wanted at stamp or later are not taken for another cell.
  TCellEdit* Attach(TFormulaRow& row, int x, std::uint64_t stamp);
  TCellEdit* Spare(std::uint64_t stamp);
  void Detach(TCellEdit& box);
  [[nodiscard]] QRect Over(const TFormulaRow& row, int x) const;

  static constexpr std::size_t MinCap = 512;
  QWidget* Host;
  std::vector<TCellEdit*> Boxes; // Qt children of Host
  std::uint64_t Clock = 0;
  std::size_t Cap = MinCap;
};

// The name of variable j on a row, as the model reads it.
class TFormulaLabelField final : public TLabelField {
public:
  TFormulaLabelField(const TFormulaRow& row, int j) : Row(&row), Index(j) {}
  [[nodiscard]] std::string Caption() const override { return Row->LabelText(Index).toStdString(); }

private:
  const TFormulaRow* Row;
  int Index;
};
