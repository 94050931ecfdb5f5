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

#include "ZLPCore_Statement.h"

#include <optional>
#include <string>

// Where and why a text was refused: line 0 speaks of the whole text.
struct TTextFormatError {
  int Line = 0;
  std::string Field; // "коэффициент 2", "знак", "правая часть", ...; "байт 17" (from 1) in a
                     // text that is not UTF-8
  std::string Message;       // one Russian sentence
  std::uint8_t TaskType = 0; // the type of the problem, as far as the text told it; 0: unknown
};

[[nodiscard]] std::optional<TStatementGrid> ParseStatementText(const std::string& text, TTextFormatError& error);

// The statement in the text form, read back by ParseStatementText into the same statement.
[[nodiscard]] std::string StatementToText(const TStatementGrid& grid);
