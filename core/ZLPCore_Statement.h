// A problem statement as it was typed: the text of every cell, in the layout of the problem store.
// The input steps, the store, the text form of kelvano-solve and the tests all read and write it.
#pragma once

#include "BaseType.h"
#include "ZLPCore_StageTasks.h"

#include <cstdint>
#include <string>
#include <vector>

class TZLPCore_Interface;

// The cells (X, Y) of one task type, as the store keeps them in Simplex1 (n = Sx, m = Sy):
//  8, 24, 40  X = 0..n, Y = 0..m: (0,0) free term of the objective, (X,0) objective coefficients,
//             (0,Y) right-hand sides, (X,Y) constraint coefficients.
//  56         X = 0..n, Y = -1..m: row -1 the numerator, row 0 the denominator (X = 0 their free
//             terms), rows 1..m the constraints.
//  72         X = 0..Sx, Y = 1..Sy: Sx cutting patterns, Sy products; X = 0 the proportion of
//             product Y, X >= 1 the pieces of product Y that pattern X yields.
//  88         X = 1..n, Y = 1..n: the cost in column X, row Y.
//  104        X = 0..1, Y = 1..Sx: the observed X (X = 0) and Y (X = 1) of observation Y.
// Besides the cells: the relation of every constraint (8, 24, 40, 56), the integer ticks (24) and
// the matrix of the quadratic part (40), each kept as typed.
struct TStatementGrid {
  std::uint8_t TaskType = TT_LINEAR;
  std::int32_t Sx = 1;
  std::int32_t Sy = 1;
  bool IsMax = true;                 // 8, 24, 40, 56, 88: maximise
  std::string Material = "0";        // 72: the amount of material as typed
  std::vector<std::uint8_t> Signs;   // [i - 1]: the TZLPCore_InequalitySign ordinal of constraint i
  std::vector<std::uint8_t> Integer; // 24, [j - 1]: 1 when X_j must be an integer

  // An empty statement of the type and sizes: every cell and quadratic coefficient "0", every
  // relation "<=", no tick.
  TStatementGrid() { Resize(TT_LINEAR, 1, 1); }
  TStatementGrid(std::uint8_t taskType, std::int32_t sx, std::int32_t sy) { Resize(taskType, sx, sy); }

  // Changes the type and sizes; a cell, sign, tick or coefficient keeps its text where its position
  // still exists, new ones are as in an empty statement.
  void Resize(std::uint8_t taskType, std::int32_t sx, std::int32_t sy);

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

  [[nodiscard]] bool HasQuad() const noexcept { return TaskType == TT_QUADRATIC; }
  [[nodiscard]] bool HasSigns() const noexcept;
  [[nodiscard]] bool HasTicks() const noexcept { return TaskType == TT_INTEGER; }

  bool operator==(const TStatementGrid&) const = default;

private:
  [[nodiscard]] std::size_t Index(std::int32_t x, std::int32_t y) const noexcept;

  std::int32_t X0 = 0, X1 = -1, Y0 = 0, Y1 = -1; // the rectangle, inclusive; empty before the first Resize
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

// Reads a statement into the container exactly as the input steps read their boxes: the statement
// is kept in data.Statement, the program and its extra parts go where the steps put them
// (variables X1 ... Xn), and the readiness flags are set; what the statement does not speak of is
// left as it was. False with the first bad field in error; no message is shown, the caller
// decides how to tell.
[[nodiscard]] bool ReadStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error);

// Reads the objective row objectiveRow and the constraint rows 1 ... Sy of a linear-program layout
// into data.ZLP (variables X1 ... Xn, the relations) and sets IF_ZLP; the readers of the types
// built on a linear program start with it.
[[nodiscard]] bool ReadLinearProgram(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error,
                                     std::int32_t objectiveRow = 0);
// The number in cell (x, y); false with error naming the cell when it is not a rational number.
[[nodiscard]] bool ReadCellNumber(const TStatementGrid& grid, std::int32_t x, std::int32_t y, TRational& value,
                                  TStatementError& error);
// A text as a number of the input fields: a valid rational, nothing else.
[[nodiscard]] bool ParseInputNumber(const std::string& text, TRational& value);

// Every number of a linear-program layout in its text form ("+7" becomes "7", "4/6" "2/3"), as the
// store keeps the statements of the types built on a linear program; other texts stay.
void NormalizeProgramCells(TStatementGrid& grid);
// The statement of a linear program, every number in its text form.
[[nodiscard]] TStatementGrid StatementOfModel(const class TZLPCore_SubInterface_ZLP& zlp);

// The name of a cell of the layout in Russian, for messages: "коэффициент при X2 в ограничении 3".
[[nodiscard]] std::string CellName(const TStatementGrid& grid, std::int32_t x, std::int32_t y);
