// A plain text form of a linear program that a person writes by hand, and its parser.
//
//   # product mix                    comments run from '#' to the end of the line
//   max 3 2                          direction (max or min), then one coefficient per variable
//   const 0                          optional: the free term of the objective (0 when absent)
//   1 1 <= 4                         one line per constraint: coefficients, relation, right side
//   1 3 <= 6                         relations "<=", "=", ">=" (also "=>")
//
// Numbers are written as in the input fields: 5, -4/3, +7, or as decimals 1.5, -0,25 (exact fractions).
#pragma once

#include "ZLPCore_Pages.h"

#include <optional>
#include <string>

// Where and why a text was refused: line 0 speaks of the whole text.
struct TTextFormatError {
  int Line = 0;
  std::string Field;   // "коэффициент 2", "знак", "правая часть", ...
  std::string Message; // one Russian sentence
};

[[nodiscard]] std::optional<TLinearStatementText> ParseLinearProgramText(const std::string& text,
                                                                         TTextFormatError& error);
