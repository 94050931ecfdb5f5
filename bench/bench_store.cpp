// Benchmarks of the problem store on the largest statement: a 255 x 255 linear program.
#include "DataMod.h"
#include "MessageSeam.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Size = 255;

// The copy announcements of a save are not part of what is measured.
class TSilentSink final : public TMessageSink {
public:
  TMsgAnswer Show(const std::string&, const std::string&, TMsgIcon, TMsgButtons) override { return TMsgAnswer::Ok; }
};

// A store in a temporary folder whose temporary record holds the statement: 256 x 256 Simplex1
// rows (objective row and column of free terms included) and 255 Simplex2 rows.
class TBenchStore {
public:
  TBenchStore() {
    Previous = SetMessageSink(&Sink);
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvano-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) Dir = pattern;
    Dm = std::make_unique<TDM>(Dir / "data");
    Temp = Dm->CreateTempTask();
    std::vector<TSimplex1Row> simplex1;
    for (int y = 0; y <= Size; ++y)
      for (int x = 0; x <= Size; ++x) simplex1.push_back({x, y, std::to_string(x - y) + "/" + std::to_string(y + 1)});
    std::vector<TSimplex2Row> simplex2;
    for (int y = 1; y <= Size; ++y) simplex2.push_back({y, y % 5});
    Ready = Temp > 0 && Dm->SetTaskSizes(Temp, Size, Size, 1) && Dm->InsertRows(Temp, simplex1) &&
            Dm->InsertRows(Temp, simplex2);
  }
  ~TBenchStore() {
    Dm.reset();
    std::error_code ec;
    if (!Dir.empty()) std::filesystem::remove_all(Dir, ec);
    SetMessageSink(Previous);
  }
  TBenchStore(const TBenchStore&) = delete;
  TBenchStore& operator=(const TBenchStore&) = delete;

  TSilentSink Sink;
  TMessageSink* Previous = nullptr;
  std::filesystem::path Dir;
  std::unique_ptr<TDM> Dm;
  int Temp = -1;
  bool Ready = false;
};

void BM_SaveTempTaskAs(benchmark::State& state) {
  TBenchStore store;
  if (!store.Ready) {
    state.SkipWithError("the statement could not be written");
    return;
  }
  for (auto _ : state) {
    const int id = store.Dm->SaveTempTaskAs("Задача 255 x 255", 8);
    state.PauseTiming();
    if (id < 1 || !store.Dm->DeleteTask(id)) state.SkipWithError("save failed");
    state.ResumeTiming();
  }
}

void BM_LoadStatement(benchmark::State& state) {
  TBenchStore store;
  const int id = store.Ready ? store.Dm->SaveTempTaskAs("Задача 255 x 255", 8) : -1;
  if (id < 1) {
    state.SkipWithError("the statement could not be saved");
    return;
  }
  for (auto _ : state) {
    const auto task = store.Dm->FindTask(id);
    const auto simplex1 = store.Dm->Simplex1Rows(id);
    const auto simplex2 = store.Dm->Simplex2Rows(id);
    const auto gomory = store.Dm->GomoryRows(id);
    const auto quadro = store.Dm->QuadroRows(id);
    if (!task || !simplex1 || simplex1->size() != (Size + 1) * (Size + 1) || !simplex2 || simplex2->size() != Size ||
        !gomory || !quadro)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(simplex1);
  }
}

void BM_DeleteTask(benchmark::State& state) {
  TBenchStore store;
  if (!store.Ready) {
    state.SkipWithError("the statement could not be written");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    const int id = store.Dm->SaveTempTaskAs("Задача 255 x 255", 8);
    state.ResumeTiming();
    if (id < 1 || !store.Dm->DeleteTask(id)) state.SkipWithError("delete failed");
  }
}

} // namespace

BENCHMARK(BM_SaveTempTaskAs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_LoadStatement)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_DeleteTask)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
