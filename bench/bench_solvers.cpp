// Benchmarks of the standalone solvers without a window: a random 255 x 255 assignment problem, a
// regression over 32000 observations and a random 50 x 50 transportation problem (each first-plan
// method), each read, solved and its report written to a file, as kelvano-solve and the windows do.
// The bars are 2 s for the assignment and the transportation problem and 1 s for the regression.
#include "BenchProblems.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {

// Supplies and demands 10 ... 500 (unbalanced, so with a fictitious column or row), costs 1 ... 99;
// start "min", "northwest" or "vogel".
TStatementGrid RandomTransport(std::int32_t n, const char* start) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> amount(10, 500), cost(1, 99);
  TStatementGrid grid = NewStatement(TT_TRANSPORT, n, n);
  grid.SetCell(0, 0, start);
  for (std::int32_t i = 1; i <= n; ++i) {
    grid.SetCell(0, i, std::to_string(amount(random)));
    grid.SetCell(i, 0, std::to_string(amount(random)));
  }
  for (std::int32_t y = 1; y <= n; ++y)
    for (std::int32_t x = 1; x <= n; ++x) grid.SetCell(x, y, std::to_string(cost(random)));
  return grid;
}

// Peak resident set size of this process in megabytes, from /proc.
double PeakResidentMb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
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
  state.counters["peak_MB"] = PeakResidentMb();
}

void BM_Assignment(benchmark::State& state) {
  SolveAndWrite(state, RandomAssignment(static_cast<std::int32_t>(state.range(0)), state.range(1) != 0));
}

void BM_Regression(benchmark::State& state) {
  SolveAndWrite(state, RandomObservations(static_cast<std::int32_t>(state.range(0))));
}

void BM_Transport(benchmark::State& state) {
  const char* starts[] = {"min", "northwest", "vogel"};
  SolveAndWrite(state, RandomTransport(static_cast<std::int32_t>(state.range(0)), starts[state.range(1)]));
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
BENCHMARK(BM_Transport)
    ->ArgNames({"n", "start"})
    ->Args({10, 0})
    ->Args({50, 0})
    ->Args({50, 1})
    ->Args({50, 2})
    ->Unit(benchmark::kMillisecond);
