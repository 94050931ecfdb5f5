// Benchmarks of the graphical method: the exact region of a two-variable program with 255 constraints,
// and the whole report section of it, picture included.
#include "Graphic.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

namespace {

// The polygon of m tangents to a circle of radius 100 around (200; 200): a_k x + b_k y <= r_k with
// integer coefficients, every constraint a side, so that the region has m vertices.
TZLPCore_Interface TangentPolygon(std::int32_t m, bool integer) {
  TZLPCore_Interface data;
  TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  zlp.SetVarCount(2);
  zlp.SetConstraintCount(m);
  zlp.Objective.SetItem(1, RatFromInt(3));
  zlp.Objective.SetItem(2, RatFromInt(2));
  for (std::int32_t k = 1; k <= m; ++k) {
    const double angle = 2 * M_PI * k / m;
    const auto a = static_cast<std::int32_t>(std::lround(1000 * std::cos(angle)));
    const auto b = static_cast<std::int32_t>(std::lround(1000 * std::sin(angle)));
    zlp.Coeffs.SetItem(1, k, RatFromInt(a));
    zlp.Coeffs.SetItem(2, k, RatFromInt(b));
    zlp.RHS.SetItem(k, RatFromInt(100000 + 200 * a + 200 * b));
    zlp.SetSign(k, IS_BELOWOREQUAL);
  }
  data.Statement.TaskType = integer ? TT_INTEGER : TT_LINEAR;
  data.Statement.Sx = 2;
  data.SetFlag(IF_ZLP);
  if (integer) {
    data.IntegerVars = {"X1", "X2"};
    data.SetFlag(IF_INTEGERVARS);
  }
  return data;
}

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

// The section as the report writes it; the integer program also enumerates its 31 000 integer points.
void BM_GraphicSection(benchmark::State& state) {
  const TZLPCore_Interface data = TangentPolygon(static_cast<std::int32_t>(state.range(0)), state.range(1) != 0);
  std::size_t bytes = 0;
  for (auto _ : state) {
    TZLPCore_SolutionResult report;
    WriteGraphicSection(data, report);
    bytes = report.GetText().size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GraphicSection)->Args({255, 0})->Args({255, 1})->Unit(benchmark::kMillisecond);

} // namespace
