// The linear programs several benchmarks time, in the text form kelvano-solve reads.
#pragma once

#include <string>

// 40 x 40: constraint i has coefficient 1 for X_i, X_(i+1) and X_(i+7), indices wrapping around;
// 32 pivots to the optimum, 33 tables of 42 lines and 82 cells in a line.
inline std::string Sparse40Text() {
  constexpr int n = 40;
  std::string text = "max";
  for (int j = 1; j <= n; ++j) text += " " + std::to_string(1 + (7 * j) % 9);
  text += "\n";
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) text += j == i || j == i % n + 1 || j == (i + 6) % n + 1 ? "1 " : "0 ";
    text += "<= " + std::to_string(1 + (8 * i) % 9) + "\n";
  }
  return text;
}

// n equations X_i = 1 over n variables, maximising their sum: each equation becomes two rows, so the
// tables have 2n + 1 rows and 3n + 1 columns; n = 255 is the largest problem the input takes.
inline std::string EquationsText(int n) {
  std::string text = "max";
  for (int j = 0; j < n; ++j) text += " 1";
  text += "\n";
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) text += i == j ? "1 " : "0 ";
    text += "= 1\n";
  }
  return text;
}
