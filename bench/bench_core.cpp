// Benchmarks of the exact core: pivoting and analysing a dense table, rational throughput, a whole run,
// writing a report.
#include "BaseType.h"
#include "BenchProblems.h"
#include "Simplex.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "WholeRun.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_StageTasks.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void BM_Pivot(benchmark::State& state) {
  const auto rows = static_cast<std::int32_t>(state.range(0));
  const auto cols = static_cast<std::int32_t>(state.range(1));
  const TSimplexTable source = DenseTable(rows, cols);
  std::int32_t col = 0;
  std::int32_t row = 0;
  if (source.Analyze(col, row) != SS_PIVOT) {
    state.SkipWithError("the bench table has no pivot");
    return;
  }
  TSimplexTable t;
  t.Assign(source);
  for (auto _ : state) {
    t.Pivot(col, row);
    benchmark::DoNotOptimize(t.GetZValue());
    state.PauseTiming();
    t.Assign(source);
    state.ResumeTiming();
  }
  state.counters["cells"] = static_cast<double>((rows + 1) * (cols + 1));
  t.Pivot(col, row);
  state.counters["invalid"] = t.HasInvalidCell() ? 1 : 0;
}
BENCHMARK(BM_Pivot)->Args({255, 510})->Unit(benchmark::kMillisecond);

void BM_Analyze(benchmark::State& state) {
  const TSimplexTable t =
      DenseTable(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  for (auto _ : state) {
    std::int32_t col = 0;
    std::int32_t row = 0;
    benchmark::DoNotOptimize(t.Analyze(col, row));
    benchmark::DoNotOptimize(col + row);
  }
}
BENCHMARK(BM_Analyze)->Args({255, 510})->Unit(benchmark::kMicrosecond);

void BM_Assign(benchmark::State& state) {
  const TSimplexTable source =
      DenseTable(static_cast<std::int32_t>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
  TSimplexTable t;
  for (auto _ : state) {
    t.Assign(source);
    benchmark::DoNotOptimize(t.GetZValue());
  }
}
BENCHMARK(BM_Assign)->Args({255, 510})->Unit(benchmark::kMicrosecond);

std::vector<TRational> Operands(std::size_t n, std::uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> num(-1000, 1000);
  std::uniform_int_distribution<int> den(1, 1000);
  std::vector<TRational> v(n);
  for (TRational& r : v) r = RatMake(num(gen), den(gen));
  return v;
}

constexpr std::size_t kOperands = 4096;

void BM_RatAdd(benchmark::State& state) {
  const std::vector<TRational> a = Operands(kOperands, 1);
  const std::vector<TRational> b = Operands(kOperands, 2);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kOperands; ++i) benchmark::DoNotOptimize(RatAdd(a[i], b[i]));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kOperands));
}
BENCHMARK(BM_RatAdd);

void BM_RatMul(benchmark::State& state) {
  const std::vector<TRational> a = Operands(kOperands, 3);
  const std::vector<TRational> b = Operands(kOperands, 4);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kOperands; ++i) benchmark::DoNotOptimize(RatMul(a[i], b[i]));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kOperands));
}
BENCHMARK(BM_RatMul);

// Triples (c, a, b) of fractions of up to 1000/1000 for c - a*b.
void BM_RatSubOfMul(benchmark::State& state) {
  const std::vector<TRational> a = Operands(kOperands, 5);
  const std::vector<TRational> b = Operands(kOperands, 6);
  const std::vector<TRational> c = Operands(kOperands, 7);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kOperands; ++i) benchmark::DoNotOptimize(RatSub(c[i], RatMul(a[i], b[i])));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kOperands));
}
BENCHMARK(BM_RatSubOfMul);

void BM_RatSubMul(benchmark::State& state) {
  const std::vector<TRational> a = Operands(kOperands, 5);
  const std::vector<TRational> b = Operands(kOperands, 6);
  const std::vector<TRational> c = Operands(kOperands, 7);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kOperands; ++i) benchmark::DoNotOptimize(RatSubMul(c[i], a[i], b[i]));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kOperands));
}
BENCHMARK(BM_RatSubMul);

// The whole windowless run of a 40 x 40 problem (32 pivots, every report written): what
// kelvano-solve and "Решить" spend on it.
void BM_SolveSparse40(benchmark::State& state) {
  const std::string text = Sparse40Text();
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  TZLPCore_Interface read;
  TStatementError readError;
  if (!statement || !ReadStatement(*statement, read, readError)) {
    state.SkipWithError("the bench problem does not read");
    return;
  }
  for (auto _ : state) {
    TZLPCore_Interface data = read;
    TZLPCore_SolutionResult report;
    if (RunTask(TT_LINEAR, data, report).Status != TTaskStatus::Optimal) {
      state.SkipWithError("the bench problem is not solved");
      break;
    }
    benchmark::DoNotOptimize(report.Lines.size());
  }
}
BENCHMARK(BM_SolveSparse40)->Unit(benchmark::kMillisecond);

// Peak resident set size of this process in megabytes, from /proc.
double PeakResidentMb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return -1;
}

// The largest equation systems, whose tables are too large for a page.
void BM_Equations(benchmark::State& state) {
  const auto n = static_cast<int>(state.range(0));
  const std::string text = EquationsText(n);
  BenchWholeRun(state, text, std::to_string(n));
  state.counters["peak_MB"] = PeakResidentMb();
}
BENCHMARK(BM_Equations)->Arg(40)->Arg(100)->Arg(255)->Unit(benchmark::kMillisecond)->Iterations(1);

// A random 30 x 30 program with coefficients up to 1000, and a diet of 8 foods and 6 nutrients with
// decimal prices and contents: both tables outgrow 32-bit fractions and go on in GMP fractions.
void BM_Random30(benchmark::State& state) {
  std::mt19937 random(30);
  const auto draw = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  std::string text = "max";
  for (int j = 0; j < 30; ++j) text += " " + std::to_string(draw(1, 1000));
  text += "\n";
  for (int i = 0; i < 30; ++i) {
    for (int j = 0; j < 30; ++j) text += std::to_string(draw(-200, 1000)) + " ";
    text += "<= " + std::to_string(draw(100, 1000)) + "\n";
  }
  BenchWholeRun(state, text, "");
  state.counters["peak_MB"] = PeakResidentMb();
}
BENCHMARK(BM_Random30)->Unit(benchmark::kMillisecond);

void BM_Diet6x8(benchmark::State& state) {
  const std::string text = "min 2.37 6.82 8.82 1.64 3.61 2.2 6.07 8.79\n"
                           "23 24.1 19.4 10.7 4.8 24.9 1.4 19.9 >= 75\n"
                           "0.1 22.8 13.6 11.7 5.2 16.2 1.5 1.1 >= 23\n"
                           "27.7 0.4 19.5 11 21.6 1.4 27 11.3 >= 117\n"
                           "22.4 25.3 28.3 11.9 17.6 11.8 11.2 23.5 >= 57\n"
                           "1.1 21.3 28.4 5.1 9.5 15.1 6.1 17 >= 112\n"
                           "25.6 21.6 25.9 9.7 15.5 14.5 30 25.5 >= 84\n";
  BenchWholeRun(state, text, "10357603/416730");
  state.counters["peak_MB"] = PeakResidentMb();
}
BENCHMARK(BM_Diet6x8)->Unit(benchmark::kMillisecond);

// A report of 50 tables of 30 rows and 60 columns, written as a whole page in windows-1251.
void BM_WriteDocument(benchmark::State& state) {
  const TSimplexTable t = DenseTable(30, 60);
  TZLPCore_SolutionResult report;
  report.AddHeading("Решение симплекс методом");
  const std::string html = t.ToHtml(3, 2);
  for (int k = 0; k < 50; ++k) report.AddLine(html);
  const std::string file =
      (std::filesystem::temp_directory_path() / ("kelvano-bench-" + std::to_string(getpid()) + ".html")).string();
  for (auto _ : state) {
    if (!report.WriteDocument(file)) {
      state.SkipWithError("WriteDocument failed");
      break;
    }
  }
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file, ec));
  std::filesystem::remove(file, ec);
}
BENCHMARK(BM_WriteDocument)->Unit(benchmark::kMillisecond);

void BM_ToHtml(benchmark::State& state) {
  const TSimplexTable t = DenseTable(30, 60);
  for (auto _ : state) benchmark::DoNotOptimize(t.ToHtml(3, 2));
}
BENCHMARK(BM_ToHtml)->Unit(benchmark::kMicrosecond);

} // namespace
