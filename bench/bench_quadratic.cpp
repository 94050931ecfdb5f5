// Benchmark of a whole quadratic run: 20 variables, 15 constraints, a strictly concave objective, from
// the statement through the Kuhn-Tucker reduction and the simplex step to the final report as
// kelvano-solve writes it (windows-1251 bytes).
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_TaskRun.h"
#include "ZLPCore_TextFormat.h"

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

void BM_Quadratic20x15(benchmark::State& state) {
  TTextFormatError error;
  const auto statement = ParseStatementText(Quadratic20x15(), error);
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
    if (verdict.Status != TTaskStatus::Optimal || !verdict.Objective ||
        RatToStr(*verdict.Objective) != "12333101/67542") {
      state.SkipWithError("the bench problem did not reach its optimum 12333101/67542");
      return;
    }
    bytes = Utf8ToCp1251(report.BuildDocument()).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["report_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Quadratic20x15)->Unit(benchmark::kMillisecond);

} // namespace
