// The problems the benchmarks time, made the same way every run: programs in the text form
// kelvano-solve reads, statements of the other types, a model for the graphical method, a table.
#pragma once

#include "BaseType.h"
#include "Simplex.h"
#include "TaskCatalog.h"
#include "ZLPCore_Main.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

// n x n: constraint i has coefficient 1 for X_i, X_(i+1) and X_(i+7), indices wrapping around. For
// n = 40: 32 pivots to the optimum, 33 tables of 42 lines and 82 cells in a line.
inline std::string SparseText(int n) {
  std::string text = "max";
  for (int j = 1; j <= n; ++j) text += " " + std::to_string(1 + (7 * j) % 9);
  text += "\n";
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) text += j == i || j == i % n + 1 || j == (i + 6) % n + 1 ? "1 " : "0 ";
    text += "<= " + std::to_string(1 + (8 * i) % 9) + "\n";
  }
  return text;
}

inline std::string Sparse40Text() { return SparseText(40); }

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

// Numerator 1 + 7j mod 9, constant 2; denominator 1 + j mod 3, constant 10; constraint i has the
// coefficients 1 + ij mod 3 for X_i, X_(i+1) and X_(i+10), indices wrapping around, and the right-hand
// side 2 + 8i mod 9. The ratio's optimum is 192/53.
inline std::string Fractional30x20() {
  constexpr int n = 30;
  constexpr int m = 20;
  std::string text = "max";
  for (int j = 1; j <= n; ++j) text += " " + std::to_string(1 + (7 * j) % 9);
  text += "\nconst 2\nden";
  for (int j = 1; j <= n; ++j) text += " " + std::to_string(1 + j % 3);
  text += "\ndenconst 10\n";
  for (int i = 1; i <= m; ++i) {
    for (int j = 0; j < n; ++j) {
      const bool on = j == i - 1 || j == i % n || j == (i + 9) % n;
      text += on ? std::to_string(1 + (i * j) % 3) + " " : "0 ";
    }
    text += "<= " + std::to_string(2 + (8 * i) % 9) + "\n";
  }
  return text;
}

// Ten rows of a multi-dimensional knapsack. The integer optimum 89 (at X10 = 5, X14 = 6) was confirmed
// apart from the program by a branch and bound on exact fractions; the cuts take 68 rounds.
inline constexpr const char* Integer15x10 = "max 7 1 4 5 8 1 5 1 5 7 2 2 4 9 6\n"
                                            "1 4 2 4 3 4 0 5 5 0 4 4 2 3 2 <= 21\n"
                                            "5 1 4 3 0 0 3 4 0 4 5 1 5 0 4 <= 20\n"
                                            "0 4 1 3 4 3 3 3 4 4 5 3 3 0 3 <= 24\n"
                                            "1 0 3 3 5 3 0 3 1 3 4 4 2 0 1 <= 18\n"
                                            "0 1 5 1 5 1 1 1 2 1 1 5 4 4 4 <= 31\n"
                                            "3 2 2 2 3 3 3 3 5 3 3 3 2 4 0 <= 39\n"
                                            "2 3 2 0 5 4 4 1 4 0 1 5 4 2 4 <= 18\n"
                                            "5 2 4 0 0 4 1 5 0 2 1 4 2 0 0 <= 28\n"
                                            "5 4 5 5 1 4 2 1 2 0 4 0 5 4 1 <= 32\n"
                                            "5 5 1 0 0 4 0 2 5 1 4 1 2 0 5 <= 17\n"
                                            "int 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\n";

// Objective 1 + 7j mod 9 (j = 1..20) minus the sum of the squares plus X_j X_(j+1) for j = 1, 4, 7, ...
// (one cell each: a diagonally dominant, definite form); constraint i has 1 for X_i, X_(i+1) and
// X_(i+7), indices wrapping around, and the right-hand side 2 + 8i mod 9. The optimum is
// 12333101/67542.
inline std::string Quadratic20x15() {
  constexpr int n = 20;
  constexpr int m = 15;
  std::string text = "max";
  for (int j = 1; j <= n; ++j) text += " " + std::to_string(1 + (7 * j) % 9);
  text += "\n";
  for (int i = 1; i <= m; ++i) {
    for (int j = 0; j < n; ++j) text += j == i - 1 || j == i % n || j == (i + 6) % n ? "1 " : "0 ";
    text += "<= " + std::to_string(2 + (8 * i) % 9) + "\n";
  }
  for (int i = 0; i < n; ++i) {
    text += "quad";
    for (int j = 0; j < n; ++j) text += j == i ? " -1" : j == i + 1 && i % 3 == 0 ? " 1" : " 0";
    text += "\n";
  }
  return text;
}

// k products wanted 1 : 2 : 1 : 2 ...; pattern j (0-based) yields 1 + j / k pieces of product j mod k
// and 1 + j mod 2 pieces of the product 1 + j / k places further on.
inline TStatementGrid Cutting(std::int32_t k, std::int32_t p) {
  TStatementGrid grid = NewStatement(TT_CUTTING, p, k);
  grid.Material = "100";
  for (std::int32_t i = 1; i <= k; ++i) grid.SetCell(0, i, std::to_string(1 + (i - 1) % 2));
  for (std::int32_t j = 0; j < p; ++j) {
    const std::int32_t main = j % k;
    const std::int32_t round = j / k;
    grid.SetCell(j + 1, main + 1, std::to_string(1 + round));
    grid.SetCell(j + 1, (main + 1 + round) % k + 1, std::to_string(1 + j % 2));
  }
  return grid;
}

// Costs 0 ... 1000, the same matrix every run.
inline TStatementGrid RandomAssignment(std::int32_t n, bool isMax) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> cost(0, 1000);
  TStatementGrid grid = NewStatement(TT_ASSIGNMENT, n, n);
  grid.IsMax = isMax;
  for (std::int32_t y = 1; y <= n; ++y)
    for (std::int32_t x = 1; x <= n; ++x) grid.SetCell(x, y, std::to_string(cost(random)));
  return grid;
}

// Points scattered around a line, as decimals with up to three places.
inline TStatementGrid RandomObservations(std::int32_t n) {
  std::mt19937 random(2024);
  std::uniform_real_distribution<double> x(-500, 500);
  std::normal_distribution<double> noise(0, 25);
  TStatementGrid grid = NewStatement(TT_REGRESSION, n, 0);
  char text[64];
  for (std::int32_t i = 1; i <= n; ++i) {
    const double xi = x(random);
    std::snprintf(text, sizeof text, "%.3f", xi);
    grid.SetCell(0, i, text);
    std::snprintf(text, sizeof text, "%.3f", 1.5 * xi - 20 + noise(random));
    grid.SetCell(1, i, text);
  }
  return grid;
}

// The polygon of m tangents to a circle of radius 100 around (200; 200): a_k x + b_k y <= r_k with
// integer coefficients, every constraint a side, so that the region has m vertices.
inline TZLPCore_Interface TangentPolygon(std::int32_t m, bool integer) {
  TZLPCore_Interface data;
  TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  zlp.SetVarCount(2);
  zlp.SetConstraintCount(m);
  zlp.Objective.SetItem(1, RatFromInt(3));
  zlp.Objective.SetItem(2, RatFromInt(2));
  for (std::int32_t k = 1; k <= m; ++k) {
    const double angle = 2 * M_PI * k / m;
    const auto a = static_cast<std::int32_t>(std::lround(1000 * std::cos(angle)));
    const auto b = static_cast<std::int32_t>(std::lround(1000 * std::sin(angle)));
    zlp.Coeffs.SetItem(1, k, RatFromInt(a));
    zlp.Coeffs.SetItem(2, k, RatFromInt(b));
    zlp.RHS.SetItem(k, RatFromInt(100000 + 200 * a + 200 * b));
    zlp.SetSign(k, IS_BELOWOREQUAL);
  }
  data.Statement.TaskType = integer ? TT_INTEGER : TT_LINEAR;
  data.Statement.Sx = 2;
  data.SetFlag(IF_ZLP);
  if (integer) {
    data.IntegerVars = {"X1", "X2"};
    data.SetFlag(IF_INTEGERVARS);
  }
  return data;
}

// A dense table filled with small fractions p/q (|p| <= 9, 1 <= q <= 4), every B positive and the Z row
// negative, so that Analyze walks every column and every row.
inline TSimplexTable DenseTable(std::int32_t rows, std::int32_t cols) {
  std::mt19937 gen(12345);
  std::uniform_int_distribution<int> num(-9, 9);
  std::uniform_int_distribution<int> den(1, 4);
  TSimplexTable t;
  t.SetColCount(cols);
  t.SetRowCount(rows);
  for (std::int32_t j = 1; j <= cols; ++j) t.SetColName(j, "X" + std::to_string(j));
  for (std::int32_t i = 1; i <= rows; ++i) t.SetRowName(i, "X" + std::to_string(cols - rows + i));
  for (std::int32_t i = 1; i <= rows; ++i) {
    t.SetB(i, RatMake(1 + (i % 9), den(gen)));
    for (std::int32_t j = 1; j <= cols; ++j) {
      const int p = num(gen);
      t.SetA(j, i, RatMake(p == 0 ? 1 : p, den(gen)));
    }
  }
  for (std::int32_t j = 1; j <= cols; ++j) t.SetZ(j, RatMake(-1 - (j % 7), den(gen)));
  t.SetZValue(RatFromInt(0));
  return t;
}

// An n x n minimisation with varied fractions in every cell and all three relations in turn.
inline TZLPCore_SubInterface_ZLP DenseModel(std::int32_t n) {
  TZLPCore_SubInterface_ZLP zlp;
  zlp.SetVarCount(n);
  zlp.SetConstraintCount(n);
  zlp.IsMax = false;
  for (std::int32_t j = 1; j <= n; ++j) zlp.Objective.SetItem(j, TRational{j % 9 - 4, 1 + j % 3});
  for (std::int32_t i = 1; i <= n; ++i) {
    zlp.RHS.SetItem(i, TRational{i, 1});
    zlp.SetSign(i, i % 3 == 0 ? IS_EQUAL : i % 3 == 1 ? IS_BELOWOREQUAL : IS_ABOVEOREQUAL);
    for (std::int32_t j = 1; j <= n; ++j) zlp.Coeffs.SetItem(j, i, TRational{(i * j) % 11 - 5, 1 + (i + j) % 4});
  }
  return zlp;
}
