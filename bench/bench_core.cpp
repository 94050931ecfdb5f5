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

// A dense table filled with small fractions p/q (|p| <= 9, 1 <= q <= 4), every B positive and the Z row
// negative, so that Analyze walks every column and every row.
TSimplexTable DenseTable(std::int32_t rows, std::int32_t cols) {
  std::mt19937 gen(12345);
  std::uniform_int_distribution<int> num(-9, 9);
  std::uniform_int_distribution<int> den(1, 4);
  TSimplexTable t;
  t.SetColCount(cols);
  t.SetRowCount(rows);
  for (std::int32_t j = 1; j <= cols; ++j) t.SetColName(j, "X" + std::to_string(j));
  for (std::int32_t i = 1; i <= rows; ++i) t.SetRowName(i, "X" + std::to_string(cols - rows + i));
  for (std::int32_t i = 1; i <= rows; ++i) {
    t.SetB(i, RatMake(1 + (i % 9), den(gen)));
    for (std::int32_t j = 1; j <= cols; ++j) {
      const int p = num(gen);
      t.SetA(j, i, RatMake(p == 0 ? 1 : p, den(gen)));
    }
  }
  for (std::int32_t j = 1; j <= cols; ++j) t.SetZ(j, RatMake(-1 - (j % 7), den(gen)));
  t.SetZValue(RatFromInt(0));
  return t;
}

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
