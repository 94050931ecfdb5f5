// The assignment problem by the Hungarian method: the solution with every intermediate matrix as a
// report, the reader of its statement and its unit of the task runner.
#pragma once

#include "Statement.h"

#include <cstdint>
#include <string>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;

// Matrices up to this size are printed at every stage of the method. A larger matrix has only the
// original matrix, the reduction coefficients, the minimal elements and the result printed: with
// every stage a 255 x 255 matrix makes a report of some 16 MB that the viewer needs seconds to show.
inline constexpr std::int32_t AssignmentPrintLimit = 50;
// The sizes of the matrix the window and the text form accept.
inline constexpr std::int32_t AssignmentMinSize = 3;
inline constexpr std::int32_t AssignmentMaxSize = 255;

// The outcome of the Hungarian method on an n x n matrix.
struct TAssignment {
  std::vector<std::int32_t> Column; // the 0-based column of each row: one cell per row and per column
  std::int64_t Total = 0;           // the original matrix summed over the chosen cells
  std::int32_t Rounds = 0;          // passes of the loop that draws lines and moves the minimal element
};

// Minimises (or maximises) the total of one element per row and per column of costs, an n x n
// matrix row by row (costs[i * n + j] in row i, column j), every element 0 ... 2147483647.
//
// The method: for a maximum every element x becomes c - x with c the largest element; every row and
// then every column is reduced by its smallest element. Then, until n independent zeros are
// found: the largest set of independent zeros is chosen (marked -1, every other zero -2); the rows
// without a chosen zero are marked, then repeatedly the columns with a crossed-out zero in a marked
// row and the rows with a chosen zero in a marked column; lines through the marked columns and
// the unmarked rows cover every zero (-3 in the printed matrix); the smallest uncovered element is
// subtracted from the marked rows and added to the marked columns. With the largest set of zeros
// every pass either finds more zeros or marks more rows, so the method ends.
//
// report, when not null, gets every stage as the window writes it (matrices above
// AssignmentPrintLimit without their intermediate stages).
[[nodiscard]] TAssignment SolveHungarian(const std::vector<std::int64_t>& costs, std::int32_t n, bool isMax,
                                         TZLPCore_SolutionResult* report);

// A cell as "Решение" reads it: an empty text is 0; otherwise a whole number 0 ... 2147483647.
// False with "Должно быть целое число" or "Должно быть положительное число" in message.
[[nodiscard]] bool ReadAssignmentCost(const std::string& text, std::int64_t& value, std::string& message);
// Whether "Сохранить" takes the matrix: every cell reads as a number (a decimal fraction too).
[[nodiscard]] bool AssignmentCanBeStored(const TStatementGrid& grid);

// Type 88: checks every cost of the statement, row by row; the first bad cell is named in error.
[[nodiscard]] bool ReadAssignmentStatement(const TStatementGrid& grid, TZLPCore_Interface& data,
                                           TStatementError& error);
// Type 88: the whole solution of data.Statement into report; the verdict holds the total of the
// original matrix and the column of every row.
void SolveAssignmentTask(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);
