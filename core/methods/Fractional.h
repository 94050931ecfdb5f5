// Linear-fractional programs: the statement, the change of variables that turns the ratio into a
// linear program, and the way back to X1 ... Xn, with the pages of their steps.
//
// Maximise (or minimise) Z = (c·x + c0) / (d·x + d0) subject to A x (relations) b, x >= 0. When the
// denominator is positive on the whole feasible set S, the change of variables
//   Y0 = 1 / (d·x + d0),  Yj = Xj · Y0
// gives the linear program  c·Y + c0·Y0 -> max (min)  subject to  A Y - b Y0 (relations) 0,
// d·Y + d0·Y0 = 1, Y >= 0, Y0 >= 0, whose optimum is the best value of the ratio; a solution with
// Y0 > 0 maps back to Xj = Yj / Y0. A solution with Y0 = 0 is a direction of S along which the ratio
// approaches that value. A denominator negative on S is made positive by negating the numerator and
// the denominator. Where the denominator is zero the ratio is not defined and the best value is
// sought over the other points of S: one that keeps its sign elsewhere still goes through the
// change of variables; one that changes sign gives an unbounded ratio or, with a numerator zero
// wherever the denominator is, the same value at every point; one zero on the whole of S leaves
// the ratio defined nowhere.
#pragma once

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <cstdint>
#include <string>
#include <vector>

struct TStageInfo;
struct TTaskInfo;

// How a linear program solved without pages ended.
enum class TQuietOutcome : std::uint8_t { Optimal, Unbounded, Infeasible, Cycling, Overflow };

struct TQuietSolution {
  TQuietOutcome Outcome = TQuietOutcome::Infeasible;
  TRational Value{0, 1};    // Optimal: the optimum in the program's own direction, free term included
  std::vector<TRational> X; // Optimal: the program's variables 1..n at the optimum
};

// Solves the program by the simplex method of the steps (canonical form, the same pivot rules and
// guards), writing no page; the program is taken by value and left as it was.
[[nodiscard]] TQuietSolution SolveQuietly(TZLPCore_SubInterface_ZLP program);

// The least and the greatest value of a linear form sum_j Coeffs[j] x_j + FreeTerm over the
// feasible set of zlp (its objective is ignored): two quiet linear programs.
struct TFormRange {
  TQuietSolution Least;
  TQuietSolution Greatest;
};
[[nodiscard]] TFormRange FormRange(const TZLPCore_SubInterface_ZLP& zlp, const TVector& coeffs, TRational freeTerm);

// Type 56: the numerator (row -1) as the objective, the constraints (rows 1..m) and the denominator
// (row 0) into data.ZLP and data.Denominator; sets IF_ZLP and IF_DENOMINATOR.
[[nodiscard]] bool ReadFractionalStatement(const TStatementGrid& grid, TZLPCore_Interface& data,
                                           TStatementError& error);

// Kind 3, the input step: the section with the ratio over its fraction line and the constraints.
bool FractionalInputUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                         const TTaskInfo& task);
// Kind 4: finds the range of the denominator on the feasible set and, where the change of variables
// holds, replaces data.ZLP by the substituted program Y1 ... Yn, Y0 (a denominator negative on the
// whole set is negated first, in data.Denominator too). Ends the solution here (false, with its
// verdict) when the constraints are inconsistent, when the denominator is zero on the whole set, and
// when its zeros decide the answer: the ratio unbounded near them, or the same wherever it is defined.
bool SubstitutionUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                      const TTaskInfo& task);
// Kind 5, after the simplex step: the answer in X1 ... Xn and the value of the ratio there, or what
// the substituted program's outcome means for the ratio; sets the verdict of the task.
bool BackSubstitutionUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                          const TTaskInfo& task);
