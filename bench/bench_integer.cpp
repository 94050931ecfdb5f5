// Benchmark of a whole integer run: 15 variables, 10 constraints, small integer data, every variable
// integer, from the statement through the Gomory cuts to the final report as kelvano-solve writes it
// (windows-1251 bytes).
#include "BenchProblems.h"
#include "WholeRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_Integer15x10(benchmark::State& state) {
  BenchWholeRun(state, Integer15x10, "89", [](const TZLPCore_Interface& data, benchmark::State& s) {
    s.counters["cuts"] = static_cast<double>(data.Table.ColCount() - 25); // the cut variables Y1, Y2, ...
  });
}

BENCHMARK(BM_Integer15x10)->Unit(benchmark::kMillisecond);

} // namespace
