// The dual of a linear program, its solution read from the last simplex table, the duality
// theorems checked at it, and the sensitivity of the optimum to the right-hand sides and the
// objective coefficients.
#pragma once

#include "BaseType.h"
#include "Simplex.h"
#include "Verdict.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TZLPCore_SubInterface_ZLP;
class TZLPCore_SolutionResult;

// The program as stated: Z = c x + c0 -> max (min), a_i x (<=, =, >=) b_i for i = 1..m, x >= 0.
// Its dual: W = b y + c0 -> min (max) subject to A^T y >= c (<= c for a minimum), one constraint
// per variable X_j, with Y_i >= 0 for a row that limits Z (<= in a maximum, >= in a minimum),
// Y_i <= 0 for a row of the other relation and Y_i free for an equality. So Y_i is always the
// change of the optimal Z per unit added to b_i.
//
// The simplex method maximised the canonical program: each of its rows k is a multiple f_k of a
// stated row (f_k = -1 for a negated ">=" row; an equality written as a pair of inequalities gives
// two rows, f = 1 and f = -1; an integer program may scale a row). The Z row of the last table holds
// c_B B^-1 A - c, so in a column j of no cost whose only entry is sigma = +-1 in row k (the added
// variable of the row, the first basic variable of the table) it holds sigma * pi_k, with
// pi = c_B B^-1 the dual estimates of the canonical rows, and the column itself holds sigma B^-1 e_k.
// Hence
//   Y_i = s * sum_{k of row i} f_k sigma_k Z(j_k),     s = 1 for a maximum, -1 for a minimum.
// Every Y is then certified against the stated data (the sign rules, A^T y against c, b y + c0 = Z,
// complementary slackness) before anything is shown.
enum class TDualOutcome : std::uint8_t {
  Optimal,     // Y found and certified, ranges found
  Overflow,    // a value does not fit an exact 32-bit fraction
  NotReadable, // the last table does not belong to the stated program (cut rows, another form)
  Uncertified, // the values read fail the check on the stated data (a guard; not expected)
};

// One term s * f_k * sigma_k * Z(j_k) of a dual estimate: the table column j_k, its name, the factor
// s * f_k * sigma_k and the entry Z(j_k) of the Z row.
struct TDualTerm {
  std::int32_t Column = 0;
  std::string Name;
  TRational Factor{1, 1};
  TRational Z{0, 1};
};

struct TDualAnalysis {
  TDualOutcome Outcome = TDualOutcome::NotReadable;
  std::vector<TRational> Y;                  // [i - 1]: Y_i of stated row i
  std::vector<std::vector<TDualTerm>> Terms; // [i - 1]: where Y_i is read in the Z row
  std::vector<TRational> Slack;              // [i - 1]: b_i - a_i x* (>= 0 for <=, <= 0 for >=)
  std::vector<TRational> Reduced;            // [j - 1]: sum_i a_ij Y_i - c_j
  std::vector<TRational> X;                  // [j - 1]: x*_j
  TRational W{0, 1};                         // b y + c0, equal to Z*
  std::vector<TValueRange> RangesB;          // b_i keeping the basis optimal
  std::vector<TValueRange> RangesC;          // c_j keeping the plan optimal
  bool Degenerate = false;                   // a basic variable of the plan is 0
  // Equalities (row i) both of whose added variables were basic in the last table, and the variable
  // that takes the place of one of them in the basis the ranges are found for.
  std::vector<std::pair<std::int32_t, std::string>> Swapped;
};

// Reads and checks the dual solution and the ranges from the last table of an optimal run of the
// canonical form of stated. Never fails on odd input: the outcome says what was found.
[[nodiscard]] TDualAnalysis AnalyzeDual(const TZLPCore_SubInterface_ZLP& stated,
                                        const TZLPCore_SubInterface_ZLP& canonical, const TSimplexTable& last);

// The section "Двойственная задача": the dual written by the rules with the table of the
// correspondence, then for an optimum its solution from the Z row, both duality theorems, the
// meaning of the estimates and the sensitivity ranges; for a program without optimum what follows
// for its dual (status Unbounded or Infeasible). analysis is read only for an optimum. relaxation:
// the program is an integer program whose relaxation has an integer optimum.
void WriteDualSection(const TZLPCore_SubInterface_ZLP& stated, TTaskStatus status, const TDualAnalysis& analysis,
                      TZLPCore_SolutionResult& report, bool relaxation = false);
