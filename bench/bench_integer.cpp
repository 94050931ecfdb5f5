// Benchmark of a whole integer run: 15 variables, 10 constraints, small integer data, every variable
// integer, from the statement through the Gomory cuts to the final report as kelvano-solve writes it
// (windows-1251 bytes).
#include "WholeRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Ten rows of a multi-dimensional knapsack. The integer optimum 89 (at X10 = 5, X14 = 6) was confirmed
// apart from the program by a branch and bound on exact fractions; the cuts take 68 rounds.
constexpr const char* Integer15x10 = "max 7 1 4 5 8 1 5 1 5 7 2 2 4 9 6\n"
                                     "1 4 2 4 3 4 0 5 5 0 4 4 2 3 2 <= 21\n"
                                     "5 1 4 3 0 0 3 4 0 4 5 1 5 0 4 <= 20\n"
                                     "0 4 1 3 4 3 3 3 4 4 5 3 3 0 3 <= 24\n"
                                     "1 0 3 3 5 3 0 3 1 3 4 4 2 0 1 <= 18\n"
                                     "0 1 5 1 5 1 1 1 2 1 1 5 4 4 4 <= 31\n"
                                     "3 2 2 2 3 3 3 3 5 3 3 3 2 4 0 <= 39\n"
                                     "2 3 2 0 5 4 4 1 4 0 1 5 4 2 4 <= 18\n"
                                     "5 2 4 0 0 4 1 5 0 2 1 4 2 0 0 <= 28\n"
                                     "5 4 5 5 1 4 2 1 2 0 4 0 5 4 1 <= 32\n"
                                     "5 5 1 0 0 4 0 2 5 1 4 1 2 0 5 <= 17\n"
                                     "int 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\n";

void BM_Integer15x10(benchmark::State& state) {
  BenchWholeRun(state, Integer15x10, "89", [](const TZLPCore_Interface& data, benchmark::State& s) {
    s.counters["cuts"] = static_cast<double>(data.Table.ColCount() - 25); // the cut variables Y1, Y2, ...
  });
}

BENCHMARK(BM_Integer15x10)->Unit(benchmark::kMillisecond);

} // namespace
