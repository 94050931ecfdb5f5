// The simplex table as the textbooks write it, and what a table says in words: its basic plan, and a
// second optimal plan where the optimum is not unique.
#pragma once

#include "Simplex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A value a + bM of the artificial-basis method, M an arbitrarily large positive number: compared by
// b first, then by a. Exact on fractions of any size.
struct TMValue {
  TRational A{0, 1};
  TRational B{0, 1};
  [[nodiscard]] int Sign() const noexcept;
  [[nodiscard]] int Compare(const TMValue& other) const noexcept;
  // "-2M - 3", "M", "(3/2)M + 1/2", "4" (no character HTML reserves).
  [[nodiscard]] std::string Text() const;
};

// The costs C_j of the columns of a table as it was built: -Z(j) of the first table (the basic
// variables of a first table cost 0, see BuildTable).
[[nodiscard]] std::vector<TRational> TableCosts(const TSimplexTable& t);

// The table in the textbook form: a heading row with the costs C_j over the variables, the columns
// Базис, C<sub>б</sub>, B (the plan), the variables and θ, and the index row Δ<sub>j</sub> with the
// value of Z in its B cell. Δ_j are the entries of the Z row (z_j - c_j). Pivot column sc and row sr
// are highlighted as in ToHtml; with theta the θ column holds B_i / a_i,sc for a_i,sc > 0 and B_i >= 0,
// "—" elsewhere. A column beyond costs costs 0 (a cut's slack). exact: big values in full.
// With costsM and mrow (the artificial-basis method) the costs and the index row are written a + bM.
[[nodiscard]] std::string TextbookTableHtml(const TSimplexTable& t, const std::vector<TRational>& costs,
                                            std::int32_t sc, std::int32_t sr, bool theta, bool exact = false,
                                            const std::vector<TRational>* costsM = nullptr,
                                            const std::vector<TRational>* mrow = nullptr);

// A table of the artificial-basis method in either form: the index row (Z row) and, in the textbook
// form, the costs written a + bM, with costsM and mrow the multiples of M (mrow[0] that of Z).
[[nodiscard]] std::string ArtificialTableHtml(const TSimplexTable& t, TTableForm form, const std::vector<TRational>& costs,
                                              const std::vector<TRational>& costsM, const std::vector<TRational>& mrow,
                                              std::int32_t sc, std::int32_t sr, bool theta);

// The basic solution of the table: the value of every column variable in column order.
[[nodiscard]] std::vector<TRational> BasicPlan(const TSimplexTable& t);
// "(0; 0; 18; 16)"
[[nodiscard]] std::string PlanVector(const std::vector<TRational>& x);
// "Опорный план X = (0; 0; 18; 16), Z = 0." or, while a free term is negative, why the basic solution
// is no plan yet.
// z: the value of Z when it holds a multiple of M (the artificial-basis method).
[[nodiscard]] std::string PlanSentence(const TSimplexTable& t, const TMValue* z = nullptr);

// A second optimal plan of an optimal table: a non-basic column with Δ_j = 0 whose entry into the
// basis moves the plan (θ > 0), or that has no positive entry at all (then the optimal plans form a
// ray X + t·Direction, t >= 0). None when every such pivot keeps the plan (or there is no Δ_j = 0).
struct TSecondOptimum {
  std::int32_t Col = 0; // the column with Δ_j = 0
  std::int32_t Row = 0; // the row it enters in, 0 for a ray
  std::vector<TRational> X; // the second plan (a ray: empty)
  std::vector<TRational> Direction; // a ray: the change of the plan per unit of the column's variable
};
[[nodiscard]] std::optional<TSecondOptimum> FindSecondOptimum(const TSimplexTable& t);
// The paragraphs of an optimal table whose optimum is not unique: the column with Δ_j = 0, the
// second plan and the general solution. first is the plan of the table.
[[nodiscard]] std::string SecondOptimumText(const TSimplexTable& t, const TSecondOptimum& second);
