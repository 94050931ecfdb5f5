// Benchmarks of the graphical method: the exact region of a two-variable program with 255 constraints,
// and the whole report section of it, picture included.
#include "BenchProblems.h"
#include "BranchBound.h"
#include "Graphic.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

void BM_FeasibleRegion(benchmark::State& state) {
  const TZLPCore_Interface data = TangentPolygon(static_cast<std::int32_t>(state.range(0)), false);
  std::size_t vertices = 0;
  for (auto _ : state) {
    const TPlaneRegion region = FeasibleRegion(data.ZLP);
    benchmark::DoNotOptimize(PlaneOptimum(data.ZLP, region).Kind);
    vertices = region.Vertices.size();
  }
  state.counters["vertices"] = static_cast<double>(vertices);
}
BENCHMARK(BM_FeasibleRegion)->Arg(16)->Arg(255)->Unit(benchmark::kMillisecond);

// The section as the report writes it; the integer program also enumerates its 31 000 integer points,
// and by branch and bound (second argument 2) solves the tree of its 43 nodes for their regions.
void BM_GraphicSection(benchmark::State& state) {
  TZLPCore_Interface data = TangentPolygon(static_cast<std::int32_t>(state.range(0)), state.range(1) != 0);
  if (state.range(1) == 2) data.Statement.IntegerMethod = static_cast<std::uint8_t>(TIntegerMethod::Branch);
  std::size_t bytes = 0;
  for (auto _ : state) {
    TZLPCore_SolutionResult report;
    WriteGraphicSection(data, report);
    bytes = report.GetText().size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GraphicSection)->Args({255, 0})->Args({255, 1})->Args({255, 2})->Unit(benchmark::kMillisecond);

} // namespace
