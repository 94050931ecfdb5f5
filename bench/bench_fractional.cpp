// Benchmark of a whole linear-fractional run: 30 variables, 20 constraints, small integer data, from the
// statement to the final report as kelvano-solve writes it (windows-1251 bytes).
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_TaskRun.h"
#include "ZLPCore_TextFormat.h"

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

void BM_Fractional30x20(benchmark::State& state) {
  TTextFormatError error;
  const auto statement = ParseStatementText(Fractional30x20(), error);
  if (!statement) {
    state.SkipWithError("the bench statement does not parse");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    TZLPCore_Interface data;
    TStatementError readError;
    if (!ReadStatement(*statement, data, readError)) {
      state.SkipWithError("the bench statement is not read");
      return;
    }
    TZLPCore_SolutionResult report;
    const TTaskVerdict verdict = RunTask(statement->TaskType, data, report);
    if (verdict.Status != TTaskStatus::Optimal || !verdict.Objective || RatToStr(*verdict.Objective) != "192/53") {
      state.SkipWithError("the bench problem did not reach its optimum 192/53");
      return;
    }
    bytes = Utf8ToCp1251(report.BuildDocument()).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["report_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Fractional30x20)->Unit(benchmark::kMillisecond);

} // namespace
