// Benchmark of a cutting-stock run as kelvano-solve makes it: the statement read, the program built and
// solved, and the final report written in its page encoding.
#include "BenchProblems.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

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
