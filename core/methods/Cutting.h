// The cutting-stock problem: its statement in numbers, the linear program built from it, the unit
// of its input step and the answer in its own terms.
//
// A units of material are cut by p patterns; one unit cut by pattern j yields a_ij pieces of
// product i = 1 ... k, and the products are wanted in the proportions r_1 : ... : r_k. X_j is the
// amount of material cut by pattern j. With q the reference product, the first one whose
// proportion is not 0 (product 1 whenever r_1 != 0):
//
//   Z = sum_j (a_qj / r_q) X_j -> Max                    the number of complete sets
//   X_1 + ... + X_p = A                                   all the material is cut
//   sum_j (a_ij - a_qj r_i / r_q) X_j = 0, i != q         product i comes out as r_i / r_q of product q
//
// The rows of the products follow the material row in product order. A product whose proportion
// is 0 must then not come out at all.
#pragma once

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <cstdint>
#include <string>
#include <vector>

struct TStageInfo;
struct TTaskInfo;

// At most this many products and patterns: a program holds at most 255 constraints and 255
// variables, and every product is a constraint and every pattern a variable.
inline constexpr std::int32_t CutMaxCount = 255;

// The labels of the input step's fields; their messages are "Введите " and the label in lower case
// without its colon.
inline constexpr const char* sCutMaterialLabel = " Количество материала:";
inline constexpr const char* sCutProductsLabel = "Количество изделий:";
inline constexpr const char* sCutPatternsLabel = "Кол-во способов раскроя:";
inline constexpr const char* sCutAllProportionsZero = "С такими пропорциями решение невозможно";

// "Введите количество материала" for " Количество материала:".
[[nodiscard]] std::string EnterFieldMessage(const std::string& label);

// A cutting-stock statement in numbers.
struct TCuttingProblem {
  TRational Material{0, 1};
  std::vector<TRational> Proportions;         // [i - 1]: r_i
  std::vector<std::vector<TRational>> Yields; // [i - 1][j - 1]: a_ij

  [[nodiscard]] std::int32_t ProductCount() const noexcept { return static_cast<std::int32_t>(Proportions.size()); }
  [[nodiscard]] std::int32_t PatternCount() const noexcept {
    return Yields.empty() ? 0 : static_cast<std::int32_t>(Yields.front().size());
  }
  // The reference product q (1-based): the first whose proportion is not 0; 0 when there is none.
  [[nodiscard]] std::int32_t ReferenceProduct() const noexcept;
};

// Reads a statement of type 72: 1 ... 255 patterns and products, the material and the proportions
// non-negative numbers, not every proportion 0, every yield a non-negative number, an empty yield
// cell counting as 0. False with the first bad field in error (the material, or the cell).
[[nodiscard]] bool ReadCuttingProblem(const TStatementGrid& grid, TCuttingProblem& problem, TStatementError& error);

// The program above, maximised, variables X1 ... Xp; false (zlp unchanged) when a coefficient
// passes the limits of exact arithmetic.
[[nodiscard]] bool BuildCuttingProgram(const TCuttingProblem& problem, TZLPCore_SubInterface_ZLP& zlp,
                                       TStatementError& error);

// Type 72: reads the statement and builds its program into data.ZLP with IF_ZLP; on failure the
// container is not changed.
[[nodiscard]] bool ReadCuttingStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error);

// Kind 2, the input step: builds the program of the container's statement as the reader does (a
// container that went through the reader already holds the same program). The step has no page of
// its own; only when the reference product is not product 1 its section says so in one sentence.
bool CutInputUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                  const TTaskInfo& task);

// The answer of type 72 in words, after the simplex step: the number of complete sets and the
// material per pattern at an optimum; for a program without a feasible point, that the proportions
// cannot be met, and no number of sets.
void ConcludeCutting(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);
