// The least-squares line Y = AX + B through observed pairs: the auxiliary table, the fractions of A
// and B and their values, the report, the reader of the statement and the unit of the task runner.
// Floating point, unlike the exact methods.
#pragma once

#include "Statement.h"
#include "Verdict.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;

inline constexpr std::int32_t RegressionMinCount = 2;
inline constexpr std::int32_t RegressionMaxCount = 32000;

// The computation of one press of "Решение" on the observations (X_i, Y_i), i = 1 ... n, of a
// statement of type 104 (X in cell (0, i), Y in cell (1, i), as typed).
//
// The auxiliary table has the columns "№", X, Y, X², X·Y, Y²: rows 1 ... n and the row "Итого"
// with the totals Σx, Σy, Σx², Σxy, Σy² of columns 1 ... 5. The fractions are those of the normal
// equations:
//   A = (n·Σxy − Σx·Σy) / (n·Σx² − Σx·Σx),   B = (Σy·Σx² − Σx·Σxy) / (n·Σx² − Σx·Σx).
// Their values are computed from the deviations from the means, A = Σ(x − x̄)(y − ȳ) / Σ(x − x̄)²
// and B = ȳ − A·x̄, which equal the fractions but keep their digits when the totals are large and
// nearly cancel.
struct TRegressionSheet {
  // The auxiliary table, rows 1 ... n and "Итого"; empty when an observation could not be read.
  std::vector<std::array<std::string, 6>> Rows;
  std::string NumeratorA;  // "3·28 - 6·12"
  std::string NumeratorB;  // "12·14 - 6·28"
  std::string Denominator; // "3·14 - 6·6"
  double A = 0;
  double B = 0;
  double R = 0;      // the correlation coefficient of X and Y
  bool HasR = false; // false when all Y are equal (r is not defined then)
  // False when a number cannot be read, all X are equal (no line is determined) or the numbers
  // outgrow floating point; the fractions are then written as far as they could be.
  bool Solved = false;
  TStatementError Error; // why not solved
};

[[nodiscard]] TRegressionSheet ComputeRegression(const TStatementGrid& grid);

// Appends one complete block of a solved sheet to report (the observations, the auxiliary table,
// the fractions with their values) and its paragraph "Ответ:"; a window appends one per press.
void AppendRegression(TZLPCore_SolutionResult& report, const TStatementGrid& grid, const TRegressionSheet& sheet);
// The verdict of a solved sheet: status solved, A, B, the message and the answer.
[[nodiscard]] TTaskVerdict RegressionVerdict(const TRegressionSheet& sheet);

// A decimal number as typed: "2.5", "-1e3", "+7", "2,5" (a comma for the point), blanks around it
// allowed; false for anything else, infinities and NaN included.
[[nodiscard]] bool ParseDecimal(const std::string& text, double& value);
// The text of a number: at most 15 significant digits, no trailing zeros, the exponent form for
// very large or small values ("2", "0.1", "1e+20"), always with a point.
[[nodiscard]] std::string FloatText(double value);

// Whether "Сохранить" takes the observations: every X and Y reads as a number.
[[nodiscard]] bool RegressionCanBeStored(const TStatementGrid& grid);

// Type 104: every observation reads as a number and the line is determined; the first bad cell or
// the reason is named in error.
[[nodiscard]] bool ReadRegressionStatement(const TStatementGrid& grid, TZLPCore_Interface& data,
                                           TStatementError& error);
// Type 104: the whole solution of data.Statement into report, the verdict into data.Verdict.
void SolveRegressionTask(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);
