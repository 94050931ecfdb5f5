// Benchmarks of the standalone solvers without a window: a random 255 x 255 assignment problem and a
// regression over 32000 observations, each read, solved and its report written to a file, as
// kelvano-solve and the windows do. The bars are 2 s for the assignment and 1 s for the regression.
#include "BenchProblems.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

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
