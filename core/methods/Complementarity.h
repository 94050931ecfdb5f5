// The Kuhn-Tucker conditions of a quadratic program as a linear complementarity problem, and the
// exact methods that solve them: Lemke's complementary pivoting, a small exact linear-program solver,
// and a branch-and-bound search for the best point that satisfies the conditions.
#pragma once

#include "BaseType.h"

#include <cstdint>
#include <string>
#include <vector>

class TZLPCore_SolutionResult;

// Maximise C0 + sum_j C[j] x_j + sum_ij Q[i][j] x_i x_j (Q symmetric) over x_1..x_d >= 0 subject to
// sum_j A[k][j] x_j + x_(d+k) = B[k] for k = 1..m, with the added variables x_(d+1)..x_(d+m) >= 0.
// With the Lagrange function L = f - sum_k L_k (A_k x + x_(d+k) - B_k) the conditions read, for the
// N = d + m pairs (X_j, V_j):
//   V_i = -dL/dX_i:  2 sum_j Q[i][j] X_j + V_i - sum_k A[k][i] V_(d+k) = -C[i]   (rows 1..d)
//   constraint k:    sum_j A[k][j] X_j + X_(d+k) = B[k]                          (rows d+1..d+m)
//   every X_j, V_j >= 0 and X_j V_j = 0,
// where V_(d+k) = L_k is the multiplier of constraint k and pairs with its added variable X_(d+k).
// (All indices above 1-based; the vectors below are 0-based.)
struct TKuhnTucker {
  std::int32_t Decisions = 0; // d
  std::int32_t Rows = 0;      // m
  std::vector<TRational> C;
  TRational C0{0, 1};
  std::vector<std::vector<TRational>> Q; // d x d
  std::vector<std::vector<TRational>> A; // m x d
  std::vector<TRational> B;              // m

  [[nodiscard]] std::int32_t Pairs() const noexcept { return Decisions + Rows; }
};

// Values of X_1..X_N and V_1..V_N (0-based vectors of length N).
struct TKuhnTuckerPoint {
  std::vector<TRational> X;
  std::vector<TRational> V;
};

// Whether the point satisfies every condition exactly: the equations, the signs, X_j V_j = 0.
[[nodiscard]] bool SatisfiesKuhnTucker(const TKuhnTucker& kt, const TKuhnTuckerPoint& point);
// Whether the constraints alone have a solution x >= 0; false also when the numbers pass
// the limits of exact arithmetic (overflow is then set).
[[nodiscard]] bool ConstraintsConsistent(const TKuhnTucker& kt, bool& overflow);
// The objective at x_1..x_d, exactly; invalid only beyond the limits of exact arithmetic.
[[nodiscard]] TRational ObjectiveAt(const TKuhnTucker& kt, const std::vector<TRational>& x);
// Whether the objective is concave: -Q positive semidefinite, decided exactly.
[[nodiscard]] bool IsConcave(const TKuhnTucker& kt);

enum class TComplementarityEnd : std::uint8_t {
  Solved,    // a point satisfying the conditions
  NoPoint,   // Lemke: the method ended on a ray; search: no point satisfies the conditions
  Unbounded, // search: points satisfying the conditions with ever larger objective values
  Overflow,  // numbers passed the limits of exact arithmetic
  Stopped,   // search: the limit of subproblems was reached
};

struct TComplementarityResult {
  TComplementarityEnd End = TComplementarityEnd::NoPoint;
  TKuhnTuckerPoint Point;
  std::int32_t Steps = 0; // pivots of Lemke's method, subproblems of the search
};

// Lemke's method on the conditions: the table of the conditions with V_1..V_d and the added
// variables basic and an auxiliary variable Z0 (coefficient -1 in every row, Z = -Z0); Z0 enters on
// the row of the most negative free term, then the partner of the variable that left enters each
// time, the row chosen by the lexicographic ratio test, which cannot cycle, until Z0 leaves. For a
// concave objective a ray ending proves that the conditions have no solution. Every table and
// every choice is written to report.
[[nodiscard]] TComplementarityResult RunLemke(const TKuhnTucker& kt, TZLPCore_SolutionResult& report);

// Lemke's method exactly as RunLemke chooses its pivots, on integers of any size (each pivot keeps the
// table integral over one common denominator), without a report: for conditions whose tables meet
// the limits of exact arithmetic. Overflow when the point found passes them.
// covering: the coefficients (> 0, negated in the table) of Z0 in the rows, all 1 when empty; for an
// objective that is not concave another covering vector may end at a point where one ended on a ray.
[[nodiscard]] TComplementarityResult RunLemkeExactly(const TKuhnTucker& kt,
                                                     const std::vector<std::int32_t>& covering = {});

// The point with the largest objective among all points satisfying the conditions, by branch and
// bound over the pairs: at a point satisfying them f = C0 + (C.x + B.L) / 2, a linear function, whose
// maximum over the linear conditions bounds every point below a branch. A known point of the
// conditions (start) prunes from the outset and is the answer unless a better one exists. At most
// limit subproblems: Stopped then, with the best point found so far in Point (empty when none).
[[nodiscard]] TComplementarityResult BestKuhnTuckerPoint(const TKuhnTucker& kt, std::int32_t limit,
                                                         const TKuhnTuckerPoint* start = nullptr);
