// The simplex table: exact tableau, pivot rules, pivoting, Gomory cut rows and its HTML form.
#pragma once

#include "BaseType.h"
#include "BigRational.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Outcome of Analyze; codes 1 and 2 mean a pivot is pending, 3, 4 and 5 are final.
enum TSimplexState : std::uint8_t {
  SS_GOMORYCUT = 0,     // set by the solving step: optimum with a fractional integer variable
  SS_PIVOT = 1,         // pivot on the returned element to improve the objective
  SS_NEGATIVEB = 2,     // pivot on the returned element to remove a negative free term
  SS_OPTIMAL = 3,       // no negative free term and no negative Z entry
  SS_NOSOLUTION = 4,    // a column with a negative Z entry has no positive coefficient
  SS_MANYSOLUTIONS = 5, // negative free terms, but none of their rows has a negative coefficient
};

// How the entering column and the leaving row are chosen.
enum class TPivotRule : std::uint8_t {
  MostNegative, // most negative Z entry, first on ties; smallest ratio, upper row on ties
  Bland,        // first negative Z entry; among tied ratios the basic variable of lowest index
};

// How a negative free term is removed.
enum class TFeasibilityRule : std::uint8_t {
  FirstNegative, // the first row with B < 0 that has a negative coefficient, at its first negative coefficient
  // The row of the basic variable of lowest index among those with B < 0, entering column the one of
  // lowest index among the negative coefficients of that row, or, once every Z entry is >= 0, the one
  // with the smallest ratio Z(j) / |a(j, r)| (lowest index on ties): Bland's rule for the dual
  // simplex method, which cannot cycle. A chosen row without a negative coefficient proves the
  // constraints inconsistent.
  DualBland,
  // The lexicographic dual simplex method, which keeps every Z entry >= 0 and cannot cycle: the row
  // with the most negative free term (the upper row on ties); entering, among the negative
  // coefficients a(j, r) of that row, the column whose vector (Z(j), then for each variable of
  // LexOrder in turn its coefficient in the column: -a(j, i) when it is basic in row i, 1 for the
  // column of the variable itself, 0 otherwise) divided by |a(j, r)| is lexicographically smallest.
  // With LexOrder the non-basic variables of an optimal table, every such vector starts positive and
  // stays so, and the point (Z, -x of LexOrder) decreases strictly with every pivot. A chosen row
  // without a negative coefficient proves the constraints inconsistent.
  DualLexicographic,
};

// How the report draws a table. Compact: the names, B, the variables and the Z row. Textbook: the
// form of the standard texts, with the basis, its costs C<sub>б</sub>, the plan B, the variables under
// their costs C<sub>j</sub>, the ratios θ of a pivot and the index row Δ<sub>j</sub> with the value of Z.
enum class TTableForm : std::uint8_t { Compact, Textbook };

// How a canonical form without a unit basis is started. Dual: one added variable per row, negative
// free terms removed by pivots on negative elements. Artificial: the artificial-basis method
// (M-method), artificial variables of cost -M in the rows that have no basic variable.
enum class TStartMethod : std::uint8_t { Dual, Artificial };

// One tableau. Column 0 holds the free terms B, columns 1..n the variables; row 0 is the
// objective row Z, rows 1..m the constraints. Row i >= 1 stands for sum_j a(j,i) x_j = B(i), with
// the column of its basic variable (RowNames[i]) a unit column; the Z row for Z + sum_j Z(j) x_j =
// Z value, cell (0, 0). The method maximises: a negative Z entry marks a column whose entry into
// the basis increases the objective.
//
// Every cell is exact. A table pivots on plain 32-bit fractions while its values fit them; the pivot
// that first produces a value beyond them turns the table into one of GMP fractions, on which it
// goes on (finishing that pivot exactly), and once a pivot leaves every value within 32 bits again
// the table returns to plain fractions. The readers of cells see TRational either way: a big cell
// reads as a big value (see BaseType.h).
class TSimplexTable;

// A method's own rule over the pivots of its tables (the quadratic method keeps the two variables of
// a complementary pair from being basic together); the table asks it and knows nothing of the rule.
class TPivotFilter {
public:
  virtual ~TPivotFilter() = default;
  // Whether pivoting on (col, row) is allowed; row 0: whether col may enter the basis now at all.
  [[nodiscard]] virtual bool Allows(const TSimplexTable& table, std::int32_t col, std::int32_t row) const = 0;
  // Among rows tied in the ratio test of column enter, the row to take; 0 for none.
  [[nodiscard]] virtual std::int32_t TieRow(const TSimplexTable& table, std::int32_t enter) const = 0;
  // The hint after the student's pivot on column col was refused.
  [[nodiscard]] virtual std::string Refusal(const TSimplexTable& table, std::int32_t col) const = 0;
  // The sentence on columns that the rules would take but the filter forbids ("X1, V2", by count).
  [[nodiscard]] virtual std::string Blocked(const std::vector<std::string>& names) const = 0;
  // The paragraph and the hint of a table that is final only because of the filter.
  [[nodiscard]] virtual std::string Stopped(const std::vector<std::string>& names) const = 0;
  [[nodiscard]] virtual std::string StoppedHint() const = 0;
  // Which column of a row with a negative free term enters ("первого столбца, который …,").
  [[nodiscard]] virtual std::string FirstAllowedColumn() const = 0;
};

class TSimplexTable {
public:
  TSimplexTable();

  TSimplexState State = SS_GOMORYCUT;
  std::vector<std::string> IntegerVars; // variables that must take integer values
  // The variables that order the columns of the lexicographic dual simplex method (see
  // TFeasibilityRule::DualLexicographic); empty: Z alone, lowest index on ties.
  std::vector<std::string> LexOrder;
  // LexOrder becomes the non-basic variables of the table, in the order of their columns.
  void OrderByNonBasic();

  [[nodiscard]] std::int32_t RowCount() const noexcept { return FRowCount; }
  [[nodiscard]] std::int32_t ColCount() const noexcept { return FColCount; }
  // Resize keeping every cell that still exists; new cells are 0 and new names empty.
  void SetRowCount(std::int32_t m);
  void SetColCount(std::int32_t n);

  [[nodiscard]] std::string GetRowName(std::int32_t i) const;
  void SetRowName(std::int32_t i, const std::string& s);
  [[nodiscard]] std::string GetColName(std::int32_t j) const;
  void SetColName(std::int32_t j, const std::string& s);
  [[nodiscard]] const std::vector<std::string>& ColNames() const noexcept { return FColNames; }
  [[nodiscard]] const std::vector<std::string>& RowNames() const noexcept { return FRowNames; }

  // col 0..n, row 0..m; outside: 0/0, writes ignored.
  [[nodiscard]] TRational GetCell(std::int32_t col, std::int32_t row) const noexcept;
  void SetCell(std::int32_t col, std::int32_t row, TRational v) noexcept;
  // Constraint coefficients: col 1..n, row 1..m; with col or row 0 reads give 0, writes are ignored.
  [[nodiscard]] TRational GetA(std::int32_t col, std::int32_t row) const noexcept;
  void SetA(std::int32_t col, std::int32_t row, TRational v) noexcept;
  [[nodiscard]] TRational GetB(std::int32_t row) const noexcept;
  void SetB(std::int32_t row, TRational v) noexcept;
  [[nodiscard]] TRational GetZ(std::int32_t col) const noexcept;
  void SetZ(std::int32_t col, TRational v) noexcept;
  [[nodiscard]] TRational GetZValue() const noexcept { return GetCell(0, 0); }
  void SetZValue(TRational v) noexcept { SetCell(0, 0, v); }

  // The row whose basic variable has this name ("<sub>" tags ignored), 0 when it is not basic.
  [[nodiscard]] std::int32_t RowOf(const std::string& name) const;
  // Value of a variable in the current basic solution; "<sub>" tags in the name are ignored.
  [[nodiscard]] TRational ValueOf(const std::string& name) const;
  // Makes the column of each row's basic variable a unit column (its Z entry 0).
  void NormalizeBasis();
  // Chooses the next step of the method; col and row receive the pivot (0 when none).
  // Does not store the result in State.
  [[nodiscard]] TSimplexState Analyze(std::int32_t& col, std::int32_t& row, TPivotRule rule = TPivotRule::MostNegative,
                                      TFeasibilityRule feasibility = TFeasibilityRule::FirstNegative) const;
  // Pivots on (col, row) in place; the entering variable becomes the row's basic variable. The pivot
  // row is divided by the element, then every other cell becomes c - a*b (a from the new pivot row,
  // b the cell's row entry in the pivot column) in one exact step normalised once: a cell is invalid
  // only when a value of the new table does not fit 32 bits. Pivoting back on the column of the
  // variable that left restores the table exactly. Nothing happens when the indices are out of
  // range or the element is 0 or invalid.
  void Pivot(std::int32_t col, std::int32_t row);
  // Appends the fractional cut of source row s (0: the Z row) as a new row whose new slack column is
  // basic.
  void AppendGomoryCut(std::int32_t s, const std::string& name);
  // The decimal digits of the longest numerator or denominator of the table (at most 10 while every
  // value fits 32 bits; for a big value the count mpz_sizeinbase gives, which may be one too many).
  [[nodiscard]] std::size_t LargestDigits() const;
  // Strikes out row i and the column of its basic variable (a cut whose slack is basic again); the
  // rows and columns after them move up and left.
  void RemoveBasicRow(std::int32_t i);
  // The tableau as one line of HTML, pivot column sc and row sr highlighted (0 for none); names and
  // numbers are escaped, so an invalid cell reads "&lt;err&gt;". The table carries its size in
  // lines and cells (--rows, --cols: the heading, the rows and Z; the names, B and the columns), from
  // which the style sheet estimates its height before it is laid out and its print size. With
  // rowsPerBlock > 0 the rows go by blocks of that many, each a table of its own under a copy of the
  // heading line, the last with the Z row: a viewer then lays out only the blocks in view.
  // A value beyond 32-bit fractions whose text is longer than RatShortLength shows as a short
  // decimal with the exact fraction in the cell's title, or in full when exact is set.
  // With endRows > 0 a table of more than twice as many rows shows only its first and last endRows
  // rows (and Z); one line in between says which rows are left out.
  [[nodiscard]] std::string ToHtml(std::int32_t sc, std::int32_t sr, std::int32_t rowsPerBlock = 0, bool exact = false,
                                   std::int32_t endRows = 0) const;
  // Deep copy of cells, sizes, state and the three name lists.
  void Assign(const TSimplexTable& source) { *this = source; }

  // True when some cell holds an invalid value (a value beyond the limits of exact arithmetic).
  [[nodiscard]] bool HasInvalidCell() const noexcept;
  // Whether the table holds GMP fractions (some value does not fit 32 bits).
  [[nodiscard]] bool IsBig() const noexcept { return !Big.empty(); }
  // The exact value of a cell (col 0..n, row 0..m), 0 outside.
  [[nodiscard]] mpq_class GetExact(std::int32_t col, std::int32_t row) const;
  // Pivots made by every table of the program, for a display of progress.
  [[nodiscard]] static std::int64_t PivotsMade() noexcept;
  // The entry of the lexicographic vector of column col for LexOrder's variable at where (see
  // CompareLexColumns), exactly.
  [[nodiscard]] mpq_class LexEntry(std::int32_t col, std::int32_t where) const;
  // Where each variable of LexOrder is: its row when basic, minus its column otherwise, 0 when absent.
  [[nodiscard]] std::vector<std::int32_t> LexPlaces() const;
  // Index of the column named like the basic variable of row i; 0 when there is none.
  [[nodiscard]] std::int32_t BasicColumn(std::int32_t i) const;

  // A rule of the method that forbids some pivots. While one is set, Analyze proposes only allowed
  // pivots: the best entering column by the rule among those allowed, a tie of ratios going to the
  // row the filter prefers; a table where only forbidden pivots remain counts as final.
  void SetPivotFilter(std::shared_ptr<const TPivotFilter> filter) { Filter = std::move(filter); }
  [[nodiscard]] const TPivotFilter* PivotFilter() const noexcept { return Filter.get(); }
  // Whether the filter allows the pivot on (col, row); row 0: whether col may enter at all now.
  [[nodiscard]] bool Allows(std::int32_t col, std::int32_t row) const;
  // What a pivot on (col, row) of a table with a feasible plan (no negative free term) does to the
  // plan: None keeps it feasible; Ratio breaks the rule of the smallest ratio (another row of the
  // column with a positive entry has a smaller B/A) and Negative pivots on a negative element of a
  // row with B > 0 — the new plan then has a negative basic value.
  enum class TPivotBreak : std::uint8_t { None, Ratio, Negative };
  [[nodiscard]] TPivotBreak PivotBreak(std::int32_t col, std::int32_t row) const;
  // A filter is set and the table is final only because of it: a negative free term or a negative
  // Z entry remains that no allowed pivot can remove.
  [[nodiscard]] bool StoppedByFilter() const;

private:
  // Analyze under the filter: the same rules over the allowed pivots; a table where only forbidden
  // pivots remain counts as final (SS_OPTIMAL).
  [[nodiscard]] TSimplexState AnalyzeFiltered(std::int32_t& col, std::int32_t& row, TPivotRule rule,
                                              TFeasibilityRule feasibility) const;
  // The row of the ratio test of column enter, 0 when no entry is positive.
  [[nodiscard]] std::int32_t LeavingRow(std::int32_t enter, TPivotRule rule) const;

  // Comparisons of cells on either form: the sign, cell (c1, r1) < cell (c2, r2), and the sign of
  // b1/a1 - b2/a2 for cells of the same sign a1 and a2 (ratio tests).
  [[nodiscard]] int SignAt(std::int32_t col, std::int32_t row) const noexcept { return RatSign(At(col, row)); }
  [[nodiscard]] bool LessAt(std::int32_t c1, std::int32_t r1, std::int32_t c2, std::int32_t r2) const;
  // Sign of Z(j)/a(j, row) - Z(k)/a(k, row) (the dual ratio test).
  [[nodiscard]] int CompareZQuotients(std::int32_t j, std::int32_t k, std::int32_t row) const;
  // Sign of v(j)/|a(j, row)| - v(k)/|a(k, row)| in the lexicographic order, v the column vectors of
  // the lexicographic dual method; where[t] is the row of LexOrder[t] (> 0) or minus its column.
  [[nodiscard]] int CompareLexColumns(std::int32_t j, std::int32_t k, std::int32_t row,
                                      const std::vector<std::int32_t>& where) const;
  // The leaving row and entering column of the lexicographic dual method.
  [[nodiscard]] TSimplexState AnalyzeLexicographic(std::int32_t& col, std::int32_t& row) const;
  [[nodiscard]] int CompareQuotientsAt(std::int32_t b1, std::int32_t a1, std::int32_t row1, std::int32_t b2,
                                       std::int32_t a2, std::int32_t row2) const;
  [[nodiscard]] std::size_t Index(std::int32_t col, std::int32_t row) const noexcept {
    return static_cast<std::size_t>(col) + static_cast<std::size_t>(row) * static_cast<std::size_t>(FColCount + 1);
  }
  // Turns the table into GMP fractions, every cell taking its current value.
  void MakeBig();
  // Sets the plain cells from the GMP ones: the fraction where it fits, a marker (the sign, Den =
  // RatBigDen) where it does not, invalid beyond the limits; back to plain fractions when all fit.
  void RefreshFromBig();
  // Finishes on GMP fractions a pivot on (col, row) of original element p begun on plain fractions,
  // from the cell (fromCol, fromRow) on: the pivot row first, then the other rows in order.
  void PivotBig(std::int32_t col, std::int32_t row, const mpq_class& p, std::int32_t fromCol, std::int32_t fromRow);

  [[nodiscard]] TRational& At(std::int32_t col, std::int32_t row) noexcept {
    return Cells.Data()[col + row * (FColCount + 1)];
  }
  [[nodiscard]] const TRational& At(std::int32_t col, std::int32_t row) const noexcept {
    return Cells.Data()[col + row * (FColCount + 1)];
  }

  TMatrix Cells; // first index column 0..n, second index row 0..m (both shifted by one)
  // Empty while every value fits 32 bits; else the exact values of all cells, at Index(col, row),
  // and Cells hold what RefreshFromBig writes.
  std::vector<mpq_class> Big;
  std::int32_t FRowCount = 0;
  std::int32_t FColCount = 0;
  std::vector<std::string> FColNames;
  std::vector<std::string> FRowNames;
  std::shared_ptr<const TPivotFilter> Filter;
};
