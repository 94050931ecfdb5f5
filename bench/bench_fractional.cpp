// Benchmark of a whole linear-fractional run: 30 variables, 20 constraints, small integer data, from the
// statement to the final report as kelvano-solve writes it (windows-1251 bytes).
#include "WholeRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Numerator 1 + 7j mod 9, constant 2; denominator 1 + j mod 3, constant 10; constraint i has the
// coefficients 1 + ij mod 3 for X_i, X_(i+1) and X_(i+10), indices wrapping around, and the right-hand
// side 2 + 8i mod 9. The ratio's optimum is 192/53.
std::string Fractional30x20() {
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

void BM_Fractional30x20(benchmark::State& state) { BenchWholeRun(state, Fractional30x20(), "192/53"); }

BENCHMARK(BM_Fractional30x20)->Unit(benchmark::kMillisecond);

} // namespace
