// Benchmark of a whole quadratic run: 20 variables, 15 constraints, a strictly concave objective, from
// the statement through the Kuhn-Tucker reduction and the simplex step to the final report as
// kelvano-solve writes it (windows-1251 bytes).
#include "BenchProblems.h"
#include "WholeRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_Quadratic20x15(benchmark::State& state) { BenchWholeRun(state, Quadratic20x15(), "12333101/67542"); }

BENCHMARK(BM_Quadratic20x15)->Unit(benchmark::kMillisecond);

} // namespace
