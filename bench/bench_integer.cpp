// Benchmark of a whole integer run: 15 variables, 10 constraints, small integer data, every variable
// integer, from the statement through Gomory's cuts, or through branch and bound, to the final report
// as kelvano-solve writes it (windows-1251 bytes).
#include "BenchProblems.h"
#include "BranchBound.h"
#include "WholeRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_Integer15x10(benchmark::State& state) {
  BenchWholeRun(state, Integer15x10, "89", [](const TZLPCore_Interface& data, benchmark::State& s) {
    s.counters["cuts"] = static_cast<double>(data.Table.ColCount() - 25); // the cut variables Y1, Y2, ...
  });
}

// The same problem by branch and bound: each node adds one bound row to its parent's table.
void BM_Integer15x10Branch(benchmark::State& state) {
  TTextFormatError error;
  auto statement = ParseStatementText(Integer15x10, error);
  if (!statement || !SetIntegerMethod(*statement, "branch")) {
    state.SkipWithError("the bench statement does not parse");
    return;
  }
  std::size_t bytes = 0;
  std::size_t nodes = 0;
  for (auto _ : state) {
    TZLPCore_Interface data;
    TStatementError readError;
    if (!ReadStatement(*statement, data, readError)) {
      state.SkipWithError("the bench statement is not read");
      return;
    }
    TZLPCore_SolutionResult report;
    const TTaskVerdict verdict = RunTask(statement->TaskType, data, report);
    if (verdict.Status != TTaskStatus::Optimal || !verdict.Objective || RatToStr(*verdict.Objective) != "89") {
      state.SkipWithError("the bench problem did not reach its optimum 89");
      return;
    }
    const std::string text = report.GetText();
    bytes = Utf8ToCp1251(report.BuildDocument()).size();
    nodes = 0;
    for (std::size_t at = text.find("<p><b>Узел "); at != std::string::npos; at = text.find("<p><b>Узел ", at + 1))
      ++nodes;
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["report_bytes"] = static_cast<double>(bytes);
  state.counters["nodes"] = static_cast<double>(nodes);
}

BENCHMARK(BM_Integer15x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Integer15x10Branch)->Unit(benchmark::kMillisecond);

} // namespace
