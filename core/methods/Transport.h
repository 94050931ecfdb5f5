// The transportation problem by the method of potentials: the balance, a first plan (north-west
// corner, minimum element or Vogel's method), the potentials, the estimates of the free cells and
// the cycles, every plan as a table of the report; the reader of its statement, its text form and
// its unit of the task runner.
#pragma once

#include "BaseType.h"
#include "Statement.h"
#include "TaskContract.h"
#include "TextFormat.h"
#include "Verdict.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;

// The numbers of suppliers and of consumers the window, the store and the text form accept.
inline constexpr std::int32_t TransportMinSize = 1;
inline constexpr std::int32_t TransportMaxSize = 50;
// A guard only: with Bland's choice on degenerate steps the method cannot cycle, and a problem of
// 51 x 51 cells never came near this many steps.
inline constexpr std::int32_t TransportIterationLimit = 20000;
// The plans' tables are printed while they hold at most this many cells in all (12 tables of a
// 50 x 50 problem with its fictitious row, some 2 MB of report); the later ones tell their step in
// words only, and the optimal plan's table is always printed. A north-west start on 50 x 50 takes
// a thousand steps and more, whose tables would make a report of some 150 MB.
inline constexpr std::int64_t TransportTableBudget = 30000;
// Once the steps told in words hold this many bytes, each later step is told by a line: its plan,
// the cell entering, θ and the cell leaving; after TransportBriefSteps such lines the rest are counted.
inline constexpr std::size_t TransportStepText = std::size_t{1} << 20;
inline constexpr std::int32_t TransportBriefSteps = 5000;

// How the first plan is built. The statement keeps the choice in its cell (0, 0) as the word of the
// text form ("min", "northwest", "vogel"); an empty cell or "0" is the minimum element.
enum class TTransportStart : std::uint8_t { MinElement, NorthWest, Vogel };
[[nodiscard]] const char* TransportStartWord(TTransportStart start);
[[nodiscard]] std::optional<TTransportStart> TransportStartFromWord(const std::string& word);

// The statement's layout: X = 0..n, Y = 0..m; (0, Y) the supply of supplier Y, (X, 0) the demand of
// consumer X, (X, Y) the cost of a unit from Y to X, (0, 0) the first-plan method.
[[nodiscard]] const TStatementLayout& TransportLayout();

// A problem as numbers: m supplies, n demands, the m x n costs row by row.
struct TTransportProblem {
  std::int32_t M = 0, N = 0;
  std::vector<TRational> Supply, Demand, Cost; // Cost[i * N + j]
  TTransportStart Start = TTransportStart::MinElement;
};

// The outcome of the method on the student's m x n cells (the fictitious row or column left out).
struct TTransportResult {
  TTaskStatus Status = TTaskStatus::Pending;
  std::vector<std::vector<TRational>> Plan; // m rows of n shipments
  TRational Total{0, 1};
  std::int32_t Iterations = 0;   // improvements of the plan by cycles
  bool Alternative = false;      // another optimal plan was found through a zero estimate
  std::string Answer;            // what follows "Ответ:"
};

// Solves the problem; report, when not null, gets every stage. Exact throughout: a number that
// does not fit 32-bit fractions ends with TTaskStatus::Overflow and no plan.
[[nodiscard]] TTransportResult SolveTransport(const TTransportProblem& problem, TZLPCore_SolutionResult* report);

// Type 120: every supply, demand and cost a number (supplies and demands not negative), sizes
// 1..50; the first bad cell named in error.
[[nodiscard]] bool ReadTransportStatement(const TStatementGrid& grid, TZLPCore_Interface& data,
                                          TStatementError& error);
// Type 120: the whole solution of data.Statement into report, the verdict with the plan and the cost.
void SolveTransportTask(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);

// Type 120, "--transport-start=": the word into cell (0, 0).
[[nodiscard]] bool SetTransportStart(TStatementGrid& grid, const std::string& word);

// The text form: "transport", "supply a1 ... am", "demand b1 ... bn", m lines of n costs, and an
// optional "start min|northwest|vogel".
[[nodiscard]] std::optional<TStatementGrid> ReadTransportText(const std::vector<TTextLine>& lines,
                                                              TStatementFactory make, TTextFormatError& error);
[[nodiscard]] std::string WriteTransportText(const TStatementGrid& grid);
