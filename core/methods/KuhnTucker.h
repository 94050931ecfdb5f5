// Quadratic programs (type 40): the second-order coefficients, the Kuhn-Tucker reduction to a linear
// program, and the conclusion that checks the conditions at the answer and tells the truth about it.
#pragma once

#include "Complementarity.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <cstdint>
#include <string>

struct TStageInfo;
struct TTaskInfo;

// The coefficient grid of the statement as an n x n matrix: cell (column j, row i), the coefficient
// of X_i X_j, goes to (j, i) (first index the column). False with the first cell that is not a
// number, read column by column, in error.
[[nodiscard]] bool ReadQuadMatrix(const TStatementGrid& grid, TMatrix& matrix, TStatementError& error);
// Replaces (i, j) and (j, i) by their half sum, exactly: the same quadratic form with a symmetric
// matrix. False (matrix unchanged) when a half sum does not fit a 32-bit fraction; x and y then
// name the pair.
[[nodiscard]] bool SymmetrizeQuadMatrix(TMatrix& matrix, std::int32_t& x, std::int32_t& y);

// Type 40: the linear program of the statement and its symmetric quadratic matrix (IF_QUADRATIC).
[[nodiscard]] bool ReadQuadraticStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error);

// The coefficients step's section: reads the coefficient grid of data.Statement, makes it symmetric
// and shows it; sets QuadMatrix and IF_QUADRATIC. False with the bad cell in error (a missing linear
// program is reported through the message seam).
[[nodiscard]] bool WriteQuadroPage(TZLPCore_Interface& data, const std::string& caption,
                                   TZLPCore_SolutionResult& report, TStatementError& error);

// How the conditions were set up from the canonical program.
struct TQuadraticReduction {
  TKuhnTucker Conditions;
  std::int32_t Student = 0; // the variables of the statement, X1..Xn
  bool IsMax = true;        // the student's direction; a minimum is solved as the maximum of -f
  // The canonical form added no variables. OwnBasis: its basic variables, absent from the quadratic
  // part, serve as the added ones; otherwise every equality was split into two inequalities with
  // added variables of their own.
  bool NoneAdded = false;
  bool OwnBasis = false;
};

// The conditions of the container's canonical program (IsMax, every row "=") with the symmetric
// matrix of the student's n variables; false when the program is not canonical.
[[nodiscard]] bool ReduceQuadratic(const TZLPCore_SubInterface_ZLP& canonical, const TMatrix& symmetric, bool isMax,
                                   TQuadraticReduction& reduction);

// Kind 6, the coefficients step without a window.
bool QuadroUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                const TTaskInfo& task);
// Kind 7: the Lagrange function, the Kuhn-Tucker conditions, and the linear program built from them,
// which replaces the container's program. Its columns are X1..Xd, V1..VN, U1..Ud, then the added
// variables X(d+1)..XN, the last d + m the starting basis; the objective is -(U1 + ... + Ud). The
// pairs (Xj, Vj) go to data.PivotFilter: the simplex step never lets both be basic.
bool QuadroSolveUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                     const TTaskInfo& task);
// The end of a quadratic program: the point of the simplex step when it satisfies every condition,
// otherwise Lemke's method (concave objective) or the search for the best point of the conditions;
// the concavity, the exact value of the quadratic objective and the verdict.
void ConcludeQuadratic(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);
