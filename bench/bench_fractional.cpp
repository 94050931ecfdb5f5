// Benchmark of a whole linear-fractional run: 30 variables, 20 constraints, small integer data, from the
// statement to the final report as kelvano-solve writes it (windows-1251 bytes).
#include "BenchProblems.h"
#include "WholeRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_Fractional30x20(benchmark::State& state) { BenchWholeRun(state, Fractional30x20(), "192/53"); }

BENCHMARK(BM_Fractional30x20)->Unit(benchmark::kMillisecond);

} // namespace
