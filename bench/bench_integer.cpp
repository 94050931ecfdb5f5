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
  BenchWholeRun(state, *statement, "89",
                [](const TZLPCore_Interface&, const TZLPCore_SolutionResult& report, benchmark::State& s) {
                  const std::string text = report.GetText();
                  std::size_t nodes = 0;
                  for (auto at = text.find("<p><b>Узел "); at != std::string::npos; at = text.find("<p><b>Узел ", at + 1))
                    ++nodes;
                  s.counters["nodes"] = static_cast<double>(nodes);
                });
}

BENCHMARK(BM_Integer15x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Integer15x10Branch)->Unit(benchmark::kMillisecond);

} // namespace
