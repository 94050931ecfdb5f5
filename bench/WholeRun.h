// Shared by the benchmarks of whole task runs: a statement in the text form solved through the task
// runner as kelvano-solve solves it, up to the bytes of its report.
#pragma once

#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_SolutionResult.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

// Runs the statement once per iteration; an answer other than the optimum `optimum` ("" : any optimum)
// stops the benchmark with an error. report_bytes counts the windows-1251 report; count may add more
// counters from the container and the report of the last run.
inline void BenchWholeRun(
    benchmark::State& state, const TStatementGrid& statement, const std::string& optimum,
    const std::function<void(const TZLPCore_Interface&, const TZLPCore_SolutionResult&, benchmark::State&)>& count) {
  std::size_t bytes = 0;
  TZLPCore_Interface last;
  TZLPCore_SolutionResult lastReport;
  for (auto _ : state) {
    TZLPCore_Interface data;
    TStatementError readError;
    if (!ReadStatement(statement, data, readError)) {
      state.SkipWithError("the bench statement is not read");
      return;
    }
    TZLPCore_SolutionResult report;
    const TTaskVerdict verdict = RunTask(statement.TaskType, data, report);
    if (verdict.Status != TTaskStatus::Optimal ||
        (!optimum.empty() && (!verdict.Objective || RatToStr(*verdict.Objective) != optimum))) {
      state.SkipWithError(("the bench problem did not reach its optimum " + optimum).c_str());
      return;
    }
    bytes = Utf8ToCp1251(report.BuildDocument()).size();
    benchmark::DoNotOptimize(bytes);
    if (count) {
      last = std::move(data);
      lastReport.Lines = std::move(report.Lines);
    }
  }
  state.counters["report_bytes"] = static_cast<double>(bytes);
  if (count) count(last, lastReport, state);
}

// The same for a statement in the text form; count sees the container of the last run.
inline void BenchWholeRun(benchmark::State& state, const std::string& text, const std::string& optimum,
                          const std::function<void(const TZLPCore_Interface&, benchmark::State&)>& count = {}) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  if (!statement) {
    state.SkipWithError("the bench statement does not parse");
    return;
  }
  BenchWholeRun(state, *statement, optimum,
                count ? [&count](const TZLPCore_Interface& data, const TZLPCore_SolutionResult&,
                                 benchmark::State& s) { count(data, s); }
                      : std::function<void(const TZLPCore_Interface&, const TZLPCore_SolutionResult&,
                                           benchmark::State&)>());
}
