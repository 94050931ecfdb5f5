// Benchmarks of the standalone solvers without a window: a random 255 x 255 assignment problem and a
// regression over 32000 observations, each read, solved and its report written to a file, as
// kelvano-solve and the windows do. The bars are 2 s for the assignment and 1 s for the regression.
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace {

// Costs 0 ... 1000, the same matrix every run.
TStatementGrid RandomAssignment(std::int32_t n, bool isMax) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> cost(0, 1000);
  TStatementGrid grid = NewStatement(TT_ASSIGNMENT, n, n);
  grid.IsMax = isMax;
  for (std::int32_t y = 1; y <= n; ++y)
    for (std::int32_t x = 1; x <= n; ++x) grid.SetCell(x, y, std::to_string(cost(random)));
  return grid;
}

// Points scattered around a line, as decimals with up to three places.
TStatementGrid RandomObservations(std::int32_t n) {
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

// Reads the statement, solves it into a report and writes the report's file.
void SolveAndWrite(benchmark::State& state, const TStatementGrid& grid) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    TZLPCore_Interface data;
    TStatementError error;
    if (!ReadStatement(grid, data, error)) {
      state.SkipWithError(error.Message.c_str());
      return;
    }
    TZLPCore_SolutionResult report;
    const TTaskVerdict verdict = RunTask(grid.TaskType, data, report);
    const std::string file = report.SaveToTempFile();
    if (file.empty() || !verdict.Ended()) {
      state.SkipWithError("the report was not written");
      return;
    }
    bytes = report.GetText().size();
  }
  state.counters["report_kB"] = static_cast<double>(bytes) / 1024.0;
}

void BM_Assignment(benchmark::State& state) {
  SolveAndWrite(state, RandomAssignment(static_cast<std::int32_t>(state.range(0)), state.range(1) != 0));
}

void BM_Regression(benchmark::State& state) {
  SolveAndWrite(state, RandomObservations(static_cast<std::int32_t>(state.range(0))));
}

} // namespace

BENCHMARK(BM_Assignment)
    ->ArgNames({"n", "max"})
    ->Args({30, 0})
    ->Args({100, 0})
    ->Args({255, 0})
    ->Args({255, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Regression)->ArgName("n")->Arg(1000)->Arg(32000)->Unit(benchmark::kMillisecond);
