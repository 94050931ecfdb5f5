// Benchmark of a whole quadratic run: 20 variables, 15 constraints, a strictly concave objective, from
// the statement through the Kuhn-Tucker reduction and the simplex step to the final report as
// kelvano-solve writes it (windows-1251 bytes).
#include "WholeRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Objective 1 + 7j mod 9 (j = 1..20) minus the sum of the squares plus X_j X_(j+1) for j = 1, 4, 7, ...
// (one cell each: a diagonally dominant, definite form); constraint i has 1 for X_i, X_(i+1) and
// X_(i+7), indices wrapping around, and the right-hand side 2 + 8i mod 9. The optimum is
// 12333101/67542.
std::string Quadratic20x15() {
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

void BM_Quadratic20x15(benchmark::State& state) { BenchWholeRun(state, Quadratic20x15(), "12333101/67542"); }

BENCHMARK(BM_Quadratic20x15)->Unit(benchmark::kMillisecond);

} // namespace
