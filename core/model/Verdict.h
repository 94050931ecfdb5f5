// How a solved task ended, in the student's own terms: the one verdict type of every task.
#pragma once

#include "BaseType.h"

class TZLPCore_SolutionResult;

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The outcome of a run. NotAttained: a linear-fractional ratio approaches its best value without
// reaching it. Local: a quadratic objective that is not concave; the point satisfies the Kuhn-Tucker
// conditions but need not be the global optimum. Solved: the regression, which has no optimum.
enum class TTaskStatus : std::uint8_t {
  Pending, // the run has not reached a verdict yet
  Optimal,
  Unbounded,
  Infeasible,
  NotAttained,
  Local,
  Cycling,
  Overflow,
  Solved,
  BadInput,
};

// A closed interval of exact values; an empty side is -infinity (Lo) or +infinity (Hi).
struct TValueRange {
  std::optional<TRational> Lo;
  std::optional<TRational> Hi;
};

struct TTaskVerdict {
  TTaskStatus Status = TTaskStatus::Pending;
  // One Russian sentence: the verdict as kelvano-solve prints it on standard error.
  std::string Message;
  // What follows "Ответ:" in the final report, as HTML; empty: said from the fields below.
  std::string Answer;
  // The value of the objective as the student stated it (free term included, a minimum as a
  // minimum); for a linear-fractional program the ratio, for cutting stock the number of sets.
  std::optional<TRational> Objective;
  // The student's own variables X1 ... Xn in order (cutting stock: units of material per pattern).
  std::vector<TRational> X;
  // Quadratic programs: whether the objective to be maximised is concave.
  std::optional<bool> Concave;
  // Assignment: the total of the original matrix over the chosen cells, and for each row the
  // 1-based column assigned to it.
  std::optional<std::int64_t> Total;
  std::vector<std::int32_t> Assignment;
  // Transportation: the shipments of the m x n cells the student stated (the fictitious row or
  // column left out), row by row.
  std::vector<std::vector<TRational>> Plan;
  // Regression: the coefficients of Y = AX + B.
  std::optional<double> A;
  std::optional<double> B;
  // Linear programs at an optimum: the dual estimates Y1 ... Ym of the rows in the student's order
  // (the change of the optimum per unit of b_i), and the ranges of each b_i keeping the basis
  // optimal and of each objective coefficient of X1 ... Xn keeping the plan optimal.
  std::vector<TRational> Dual;
  std::vector<TValueRange> RangesB;
  std::vector<TValueRange> RangesC;
  // Linear programs whose optimum is not unique: a second optimal point of X1 ... Xn (the optimal
  // points form the segment between X and it), or with SecondIsRay the direction of a ray of them.
  std::vector<TRational> SecondX;
  bool SecondIsRay = false;
  bool IsMax = true; // the direction the student asked for, for the answer sentence

  [[nodiscard]] bool Ended() const noexcept { return Status != TTaskStatus::Pending; }
};

// The usual sentence of a status ("найдено оптимальное решение", ...).
[[nodiscard]] std::string StatusSentence(TTaskStatus status);
// The status word of the answer line of kelvano-solve --json: "optimal", "unbounded", ...
[[nodiscard]] const char* StatusName(TTaskStatus status);

// The paragraph "Ответ: ..." of a verdict, in the student's own terms.
void AddAnswer(TZLPCore_SolutionResult& report, const TTaskVerdict& verdict);
// What follows "Ответ:": the verdict's own answer, or "Z<sub>max</sub> = 36 при X<sub>1</sub> = 2,
// X<sub>2</sub> = 6" for an optimum, or the verdict in one sentence.
[[nodiscard]] std::string AnswerText(const TTaskVerdict& verdict);
