// A plain text form of every task type that a person writes by hand, its parser and its writer.
//
//   # product mix                    comments run from '#' to the end of the line
//   max 3 2                          direction (max or min), then one coefficient per variable
//   const 0                          optional: the free term of the objective (0 when absent)
//   1 1 <= 4                         one line per constraint: coefficients, relation, right side
//   1 3 <= 6                         relations "<=", "=", ">=" (also "=>")
//
// A linear program may add one of: "int j1 j2 ..." (the integer variables, 1-based: an integer
// program), "den d1 ... dn" with an optional "denconst d0" (the denominator of a linear-fractional
// objective), or n lines "quad q_i1 ... q_in" (the rows of the quadratic part). Three forms of their
// own start with a keyword line: "cut" (then "material A", "proportions r1 ... rk" and one line
// "pattern a_1j ... a_kj" per cutting pattern), "assign min" or "assign max" (then n lines of n
// non-negative integers) and "regress" (then one line "x y" per observation, decimal numbers).
// Numbers are written as in the input fields: 5, -4/3, +7, or as decimals 1.5, -0,25 (exact fractions).
#pragma once

#include "Statement.h"
#include "TaskContract.h"

#include <optional>
#include <string>
#include <vector>

// One line of a text that holds something: its number in the text (from 1) and its words.
struct TTextLine {
  int No = 0;
  std::vector<std::string> Tokens;
};

// Where and why a text was refused: line 0 speaks of the whole text.
struct TTextFormatError {
  int Line = 0;
  std::string Field; // "коэффициент 2", "знак", "правая часть", ...; "байт 17" (from 1) in a
                     // text that is not UTF-8
  std::string Message;       // one Russian sentence
  std::uint8_t TaskType = 0; // the type of the problem, as far as the text told it; 0: unknown
};

// The lines of a text that hold something, at most most of them, comments and a byte order mark
// left out; nothing (with error) for a text that is not UTF-8 or holds no line. The task catalog
// reads the first word and hands the lines to the reader of the type (ParseStatementText).
[[nodiscard]] std::optional<std::vector<TTextLine>> SplitStatementText(const std::string& source,
                                                                       TTextFormatError& error,
                                                                       std::size_t most = std::string::npos);

// The readers and writers of the forms: a linear program and the types built on it (integer,
// linear-fractional, quadratic: their extra lines tell which), cutting stock, assignment,
// regression. A writer's text is read back by its reader into the same statement.
[[nodiscard]] std::optional<TStatementGrid> ReadProgramText(const std::vector<TTextLine>& lines, TStatementFactory make,
                                                            TTextFormatError& error);
[[nodiscard]] std::optional<TStatementGrid> ReadCuttingText(const std::vector<TTextLine>& lines, TStatementFactory make,
                                                            TTextFormatError& error);
[[nodiscard]] std::optional<TStatementGrid> ReadAssignmentText(const std::vector<TTextLine>& lines,
                                                               TStatementFactory make, TTextFormatError& error);
[[nodiscard]] std::optional<TStatementGrid> ReadRegressionText(const std::vector<TTextLine>& lines,
                                                               TStatementFactory make, TTextFormatError& error);
[[nodiscard]] std::string WriteProgramText(const TStatementGrid& grid);
[[nodiscard]] std::string WriteCuttingText(const TStatementGrid& grid);
[[nodiscard]] std::string WriteAssignmentText(const TStatementGrid& grid);
[[nodiscard]] std::string WriteRegressionText(const TStatementGrid& grid);
