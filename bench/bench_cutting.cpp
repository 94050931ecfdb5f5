// Benchmark of a cutting-stock run as kelvano-solve makes it: the statement read, the program built and
// solved, and the final report written in its page encoding.
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// k products wanted 1 : 2 : 1 : 2 ...; pattern j (0-based) yields 1 + j / k pieces of product j mod k
// and 1 + j mod 2 pieces of the product 1 + j / k places further on.
TStatementGrid Cutting(std::int32_t k, std::int32_t p) {
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

void BM_CuttingRun(benchmark::State& state) {
  const TStatementGrid grid =
      Cutting(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    TZLPCore_Interface data;
    TStatementError error;
    if (!ReadStatement(grid, data, error)) {
      state.SkipWithError("the bench statement is refused");
      return;
    }
    TZLPCore_SolutionResult report;
    if (RunTask(TT_CUTTING, data, report).Status != TTaskStatus::Optimal) {
      state.SkipWithError("the bench problem has no optimum");
      return;
    }
    const std::string page = Utf8ToCp1251(report.BuildDocument());
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["report_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CuttingRun)->Args({20, 60})->Unit(benchmark::kMillisecond);

} // namespace
