// Statements shared by the window tests, in the text form of a linear program.
#pragma once

#include <string>

inline const char* const ProductMix = "max 3 2\n1 1 <= 4\n1 3 <= 6\n";

// 40 x 40: constraint i has coefficient 1 for X_i, X_(i+1) and X_(i+7), indices wrapping around;
// right-hand sides and objective coefficients between 1 and 9. 32 pivots to the optimum.
inline std::string Sparse40Text() {
  constexpr int n = 40;
  std::string text = "max";
  for (int j = 1; j <= n; ++j) text += " " + std::to_string(1 + (7 * j) % 9);
  text += "\n";
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) {
      const bool on = j == i || j == i % n + 1 || j == (i + 6) % n + 1;
      text += on ? "1 " : "0 ";
    }
    text += "<= " + std::to_string(1 + (8 * i) % 9) + "\n";
  }
  return text;
}
