// The Gomory cuts of the simplex table, fractional and mixed: which columns are integer, the kind of
// cut a source row calls for, and the cut row itself.
#pragma once

#include "Simplex.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// A guard of time and memory, not a rule of the method: with the lexicographic dual simplex method
// the cuts of a bounded program end by themselves, but an unbounded region or a program whose
// numbers grow very large could keep the method at work for too long; it stops after this many.
inline constexpr std::int32_t MaxGomoryCuts = 200;

// Names of the table columns that take integer values at every point of the integer program: the
// ticked variables, the added variable of a row whose numbers are all integers of integer
// variables, and the variable of every fractional cut. A Gomory cut is valid only over such columns.
using TIntegerColumns = std::set<std::string>;

// The integer columns of a first table (before any pivot): the variables of table.IntegerVars, and
// the basic variable of each row whose free term is an integer and whose other non-zero
// coefficients are integers in columns of those variables.
[[nodiscard]] TIntegerColumns FirstIntegerColumns(const TSimplexTable& table);

enum class TGomoryCut : std::uint8_t {
  Fractional, // every variable of the source row is integer: -{a_j} x_j ... + Y = -{b}
  Mixed,      // some non-basic variable of the source row with a non-zero entry is not integer
};

// The cut that source row s calls for: Fractional when every non-basic column with a non-zero entry
// in the row is an integer column, Mixed otherwise.
[[nodiscard]] TGomoryCut CutKind(const TSimplexTable& table, std::int32_t s, const TIntegerColumns& integer);

// Appends the cut of source row s (its basic variable integer with the fractional value b, f0 = {b};
// s = 0: the Z row, when Z itself is an integer at every integer point)
// as a new row whose new column name is basic; changes the table in place. A fractional cut is the
// table's own (AppendGomoryCut) and its variable joins the integer columns. The mixed cut reads
// sum g_j x_j >= f0 with, for an integer column, g_j = f_j when f_j <= f0 and
// f0 (1 - f_j) / (1 - f0) otherwise (f_j = {a_j}), and for any other column g_j = a_j when a_j >= 0
// and f0 (-a_j) / (1 - f0) otherwise; it is written negated, -g x + Y = -f0, exactly at any size.
// negated: the cut of the row multiplied by -1 (for the basic variable -x, an integer as well), the
// cut Gomory's finite rule takes from a variable of the lexicographic order.
void AppendCut(TSimplexTable& table, std::int32_t s, const std::string& name, TIntegerColumns& integer,
               bool negated = false);

// The fractional part {v} = v - floor(v), in [0, 1).
[[nodiscard]] TRational FractionalPart(TRational v);

// The source row of the next cut: among the rows whose basic variable is one of table.IntegerVars
// with a fractional value, the row with the largest fractional part of its free term, the upper row
// on ties; 0 when every such variable is an integer.
[[nodiscard]] std::int32_t ChooseCutSource(const TSimplexTable& table);
// The source row by Gomory's finite rule, for a table with a fractional integer variable (ChooseCutSource
// is not 0) once the lexicographic dual method orders it: the first fractional value of the order
// Z (when integerObjective says Z is an integer at every integer point), then the variables of
// table.LexOrder — the Z row (0) or the variable's row — when its variable is one of integer; when that
// value is not an integer variable's or every value of the order is an integer, the row ChooseCutSource
// takes. The plan falls in that order with every cut, and with this choice it cannot fall for ever.
[[nodiscard]] std::int32_t ChooseLexicographicCutSource(const TSimplexTable& table, bool integerObjective,
                                                        const TIntegerColumns& integer);
// Whether the cut of row s is built from the row multiplied by -1: its variable is one of table.LexOrder.
[[nodiscard]] bool NegatedCutRow(const TSimplexTable& table, std::int32_t s);
// Whether the Z row of table gives an integer Z at every point with integer values of integer: its
// value and every entry of a non-basic column are integers, and only columns in integer have entries.
[[nodiscard]] bool IntegerObjectiveRow(const TSimplexTable& table, const TIntegerColumns& integer);
// Strikes out the rows (and the slack columns) of the cuts Y1 ... Y<made> whose slack variable is
// basic, except keep's: such a cut no longer bounds the plan, and the table keeps its size. Returns
// the names struck out, in the order of their rows.
std::vector<std::string> RemoveInactiveCuts(TSimplexTable& table, std::int32_t made, const std::string& keep);

// Every variable of a table as an affine form of the non-basic variables of the first table (the
// student's variables when the canonical form added a basic variable to every row): Forms[name][0]
// is the constant, Forms[name][k] the coefficient of Base[k - 1]. A variable without a form could
// not be expressed (its first row held another added variable).
struct TVariableForms {
  std::vector<std::string> Base;
  std::map<std::string, std::vector<mpq_class>> Forms;
};
// The forms of a first table: each non-basic variable is itself, each basic variable B - sum a x of
// its row when the other entries of the row are all in non-basic columns.
[[nodiscard]] TVariableForms FirstForms(const TSimplexTable& table);
// Adds the form of the basic variable of row i (a new cut row), B - sum a t over the other columns,
// when every column with a non-zero entry has a form; false otherwise.
bool AddRowForm(TVariableForms& forms, const TSimplexTable& table, std::int32_t i);

// "переменная X2 не целочисленна, поэтому строим отсечение Гомори", naming the kind of cut.
[[nodiscard]] std::string CutSentence(const std::string& variable, TGomoryCut kind);
// The paragraph after the optimum when the limit of cuts is reached, the hint then, and the verdict.
[[nodiscard]] std::string CutLimitSentence(const std::string& variable, std::int32_t limit);
// "21 отсечения", "5 отсечений": the count after "после".
[[nodiscard]] std::string CutsCount(std::int32_t cuts);
// The same when the numbers of the table grew beyond the program's limit after cuts cuts.
[[nodiscard]] std::string CutDigitsSentence(const std::string& variable, std::int32_t cuts, std::size_t digits);
[[nodiscard]] std::string CutDigitsHint(std::int32_t cuts, std::size_t digits);
[[nodiscard]] std::string CutDigitsMessage(std::int32_t cuts, std::size_t digits);
[[nodiscard]] std::string CutLimitHint(std::int32_t limit);
[[nodiscard]] std::string CutLimitMessage(std::int32_t limit);
// Said once, after the first cut: how the negative free term of a cut row is removed.
[[nodiscard]] std::string DualRuleNote();
// The paragraph of a table that became inconsistent after cuts (row i has B < 0 and no negative
// coefficient), and the hint then.
[[nodiscard]] std::string NoIntegerSolutionParagraph(std::int32_t row);
[[nodiscard]] std::string NoIntegerSolutionHint();
