// A problem statement as it was typed: the text of every cell, in the layout of the problem store.
// The input steps, the store, the text form of kelvano-solve and the tests all read and write it.
#pragma once

#include "BaseType.h"
#include "TaskCodes.h"

#include <cstdint>
#include <string>
#include <vector>

class TZLPCore_Interface;

// The rectangle of cells of a statement, inclusive.
struct TCellRect {
  std::int32_t X0 = 0, X1 = -1, Y0 = 0, Y1 = -1;
};

// The layout of a type's statement: which cells it has for given sizes Sx and Sy, what they are
// called in messages, and which parts it has besides the cells. The task catalog gives every type
// its layout. The store keeps the cells as they are here.
struct TStatementLayout {
  TCellRect (*Cells)(std::int32_t sx, std::int32_t sy) = nullptr;
  std::string (*CellName)(std::int32_t x, std::int32_t y) = nullptr;
  bool Signs = false; // a relation per constraint 1 ... Sy
  bool Ticks = false; // an integer tick per variable 1 ... Sx
  bool Quad = false;  // the Sx x Sx matrix of a quadratic part

  bool operator==(const TStatementLayout&) const = default;
};

// The layout of a linear program (X = 0..n, Y = 0..m: (0,0) the free term of the objective, (X,0)
// objective coefficients, (0,Y) right-hand sides, (X,Y) constraint coefficients), with relations.
// The types built on a linear program start from it.
[[nodiscard]] const TStatementLayout& ProgramLayout();

struct TStatementGrid {
  std::uint8_t TaskType = TT_LINEAR;
  std::int32_t Sx = 1;
  std::int32_t Sy = 1;
  bool IsMax = true;                 // 8, 24, 40, 56, 88: maximise
  std::string Material = "0";        // 72: the amount of material as typed
  std::vector<std::uint8_t> Signs;   // [i - 1]: the TZLPCore_InequalitySign ordinal of constraint i
  std::vector<std::uint8_t> Integer; // 24, [j - 1]: 1 when X_j must be an integer
  std::uint8_t IntegerMethod = 0;    // 24: 0 Gomory's cuts, 1 branch and bound (TIntegerMethod)

  // An empty statement of the type, layout and sizes: every cell and quadratic coefficient "0",
  // every relation "<=", no tick. Without arguments: a linear program 1 x 1. The task catalog makes
  // the statement of a type by its code (NewStatement).
  TStatementGrid() { Reshape(TT_LINEAR, ProgramLayout(), 1, 1); }
  TStatementGrid(std::uint8_t taskType, const TStatementLayout& layout, std::int32_t sx, std::int32_t sy) {
    Reshape(taskType, layout, sx, sy);
  }

  // Changes the sizes; a cell, sign, tick or coefficient keeps its text where its position still
  // exists, new ones are as in an empty statement.
  void Resize(std::int32_t sx, std::int32_t sy) { Reshape(TaskType, Layout, sx, sy); }
  // Changes the type, its layout and the sizes, keeping texts as Resize does.
  void Reshape(std::uint8_t taskType, const TStatementLayout& layout, std::int32_t sx, std::int32_t sy);
  [[nodiscard]] const TStatementLayout& GetLayout() const noexcept { return Layout; }

  // The rectangle of cells of the layout.
  [[nodiscard]] std::int32_t XFirst() const noexcept;
  [[nodiscard]] std::int32_t XLast() const noexcept;
  [[nodiscard]] std::int32_t YFirst() const noexcept;
  [[nodiscard]] std::int32_t YLast() const noexcept;
  [[nodiscard]] bool HasCell(std::int32_t x, std::int32_t y) const noexcept;
  // The text of cell (x, y); outside the layout reads give "" and writes go nowhere.
  [[nodiscard]] const std::string& Cell(std::int32_t x, std::int32_t y) const noexcept;
  void SetCell(std::int32_t x, std::int32_t y, std::string text);

  // The quadratic coefficient at column x, row y of the coefficient grid, 1..Sx each (type 40).
  [[nodiscard]] const std::string& Quad(std::int32_t x, std::int32_t y) const noexcept;
  void SetQuad(std::int32_t x, std::int32_t y, std::string text);

  [[nodiscard]] bool HasQuad() const noexcept { return Layout.Quad; }
  [[nodiscard]] bool HasSigns() const noexcept { return Layout.Signs; }
  [[nodiscard]] bool HasTicks() const noexcept { return Layout.Ticks; }

  bool operator==(const TStatementGrid&) const = default;

private:
  [[nodiscard]] std::size_t Index(std::int32_t x, std::int32_t y) const noexcept;

  TStatementLayout Layout;
  std::int32_t X0 = 0, X1 = -1, Y0 = 0, Y1 = -1; // the rectangle, inclusive; empty before the first Reshape
  std::vector<std::string> Cells;                // row by row
  std::vector<std::string> QuadCells;            // row by row, Sx x Sx
};

// Where and why a statement was refused.
struct TStatementError {
  enum class TPlace : std::uint8_t { Cell, Quad, Material, Size, Whole };
  TPlace Place = TPlace::Whole;
  std::int32_t X = 0; // the cell or coefficient
  std::int32_t Y = 0;
  std::string Field;   // which field, in Russian: "коэффициент при X2 в ограничении 3"
  std::string Message; // what is wrong, the input message of the windows for a bad number
};

// The message of the windows for a text that is not a number: what is wrong with it (when that can be
// told), then "Введите рациональное число, например: 5, 1/2, -4/3...".
[[nodiscard]] std::string InputNumberMessage(const std::string& text);
// The number in cell (x, y); false with error naming the cell when it is not a rational number.
[[nodiscard]] bool ReadCellNumber(const TStatementGrid& grid, std::int32_t x, std::int32_t y, TRational& value,
                                  TStatementError& error);
// A text as a number of the input fields: a valid rational, nothing else.
[[nodiscard]] bool ParseInputNumber(const std::string& text, TRational& value);

// Every number of a linear-program layout in its text form ("+7" becomes "7", "4/6" "2/3"), as the
// store keeps the statements of the types built on a linear program; other texts stay.
void NormalizeProgramCells(TStatementGrid& grid);
// The name of a cell of the layout in Russian, for messages: "коэффициент при X2 в ограничении 3".
[[nodiscard]] std::string CellName(const TStatementGrid& grid, std::int32_t x, std::int32_t y);
// The names of the cells of a linear program's layout, with the objective in row objectiveRow
// (-1 for a linear-fractional program, whose row 0 is the denominator).
[[nodiscard]] std::string ProgramCellName(std::int32_t x, std::int32_t y, std::int32_t objectiveRow = 0);
