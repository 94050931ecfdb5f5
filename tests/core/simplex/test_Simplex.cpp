// The simplex table: sizes, accessors, pivot rules, pivoting, Gomory cuts, HTML, and the worked examples.
#include "RatTestUtil.h"
#include "Simplex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using kt::ExpectRow;
using kt::MakeTable;
using kt::R;

// ---------------------------------------------------------------- creation, sizes and names

TEST(TSimplexTable, NewTableIsEmpty) {
  const TSimplexTable t;
  EXPECT_EQ(t.State, SS_GOMORYCUT);
  EXPECT_EQ(t.RowCount(), 0);
  EXPECT_EQ(t.ColCount(), 0);
  EXPECT_TRUE(t.ColNames().empty());
  EXPECT_TRUE(t.RowNames().empty());
  EXPECT_TRUE(t.IntegerVars.empty());
  EXPECT_NUMDEN(t.GetCell(0, 0), 0, 1);
  EXPECT_NUMDEN(t.GetZValue(), 0, 1);
  EXPECT_NUMDEN(t.GetCell(1, 0), 0, 0);
  EXPECT_NUMDEN(t.GetCell(0, 1), 0, 0);
}

TEST(TSimplexTable, ResizingKeepsCellsAndNames) {
  TSimplexTable t = MakeTable({"X1", "X2"}, {"X2"}, {{"5", "1/2", "1"}}, {"7", "-1", "0"});
  t.SetColCount(4);
  EXPECT_EQ(t.ColCount(), 4);
  ASSERT_EQ(t.ColNames().size(), 4U);
  EXPECT_EQ(t.GetColName(1), "X1");
  EXPECT_EQ(t.GetColName(2), "X2");
  EXPECT_EQ(t.GetColName(3), "");
  EXPECT_EQ(t.GetColName(4), "");
  ExpectRow(t, 1, {"5", "1/2", "1", "0", "0"});
  ExpectRow(t, 0, {"7", "-1", "0", "0", "0"});
  t.SetRowCount(3);
  ASSERT_EQ(t.RowNames().size(), 3U);
  EXPECT_EQ(t.GetRowName(1), "X2");
  EXPECT_EQ(t.GetRowName(3), "");
  ExpectRow(t, 1, {"5", "1/2", "1", "0", "0"});
  ExpectRow(t, 3, {"0", "0", "0", "0", "0"});
  ExpectRow(t, 0, {"7", "-1", "0", "0", "0"});
  t.SetColCount(1);
  t.SetRowCount(1);
  ASSERT_EQ(t.ColNames().size(), 1U);
  ASSERT_EQ(t.RowNames().size(), 1U);
  EXPECT_EQ(t.GetColName(1), "X1");
  ExpectRow(t, 1, {"5", "1/2"});
  ExpectRow(t, 0, {"7", "-1"});
  EXPECT_NUMDEN(t.GetCell(2, 1), 0, 0);
}

TEST(TSimplexTable, NamesOutOfRange) {
  TSimplexTable t;
  t.SetColCount(2);
  t.SetRowCount(1);
  t.SetRowName(1, "X2");
  t.SetRowName(0, "bad");
  t.SetRowName(2, "bad");
  t.SetColName(0, "bad");
  t.SetColName(3, "bad");
  EXPECT_EQ(t.GetRowName(0), "");
  EXPECT_EQ(t.GetRowName(2), "");
  EXPECT_EQ(t.GetRowName(-1), "");
  EXPECT_EQ(t.GetColName(0), "");
  EXPECT_EQ(t.GetColName(3), "");
  EXPECT_EQ(t.GetRowName(1), "X2");
  EXPECT_EQ(t.RowNames(), std::vector<std::string>{"X2"});
  EXPECT_EQ(t.ColNames(), (std::vector<std::string>{"", ""}));
}

TEST(TSimplexTable, CellAccessorsAndTheirRanges) {
  TSimplexTable t = MakeTable({"X1", "X2"}, {"X1", "X2"}, {{"1", "2", "3"}, {"4", "5", "6"}}, {"7", "8", "9"});
  EXPECT_RAT(t.GetA(2, 1), "3");
  EXPECT_RAT(t.GetB(2), "4");
  EXPECT_RAT(t.GetZ(1), "8");
  EXPECT_RAT(t.GetZValue(), "7");
  EXPECT_NUMDEN(t.GetA(0, 1), 0, 1);
  EXPECT_NUMDEN(t.GetA(1, 0), 0, 1);
  EXPECT_NUMDEN(t.GetB(0), 0, 1);
  EXPECT_NUMDEN(t.GetZ(0), 0, 1);
  EXPECT_NUMDEN(t.GetCell(3, 1), 0, 0);
  EXPECT_NUMDEN(t.GetCell(1, 3), 0, 0);
  EXPECT_NUMDEN(t.GetCell(-1, 0), 0, 0);
  t.SetA(0, 1, R("99"));
  t.SetA(1, 0, R("99"));
  t.SetB(0, R("99"));
  t.SetZ(0, R("99"));
  t.SetCell(3, 0, R("99"));
  t.SetCell(0, 3, R("99"));
  t.SetCell(-1, -1, R("99"));
  ExpectRow(t, 0, {"7", "8", "9"});
  ExpectRow(t, 1, {"1", "2", "3"});
  ExpectRow(t, 2, {"4", "5", "6"});
  t.SetA(1, 2, R("-1/2"));
  t.SetB(1, R("1/3"));
  t.SetZ(2, R("-4"));
  t.SetZValue(R("11"));
  ExpectRow(t, 0, {"11", "8", "-4"});
  ExpectRow(t, 1, {"1/3", "2", "3"});
  ExpectRow(t, 2, {"4", "-1/2", "6"});
}

// ---------------------------------------------------------------- ValueOf, NormalizeBasis, BasicColumn

TEST(TSimplexTable, ValueOf) {
  const TSimplexTable t =
      MakeTable({"X1", "X2", "X3"}, {"X3", "X1", "X3"},
                {{"5/2", "0", "1", "1"}, {"4", "1", "0", "0"}, {"9", "0", "0", "1"}}, {"0", "0", "0", "0"});
  EXPECT_RAT(t.ValueOf("X1"), "4");
  EXPECT_RAT(t.ValueOf("X3"), "5/2"); // first occurrence
  EXPECT_RAT(t.ValueOf("X<sub>1</sub>"), "4");
  EXPECT_RAT(t.ValueOf("<sub>X</sub>3"), "5/2");
  EXPECT_RAT(t.ValueOf("X2"), "0"); // non-basic
  EXPECT_RAT(t.ValueOf("x1"), "0"); // case-sensitive
  EXPECT_RAT(t.ValueOf("X<SUB>1</SUB>"), "0");
  EXPECT_RAT(t.ValueOf("Q7"), "0");
  EXPECT_RAT(t.ValueOf(""), "0");
}

TEST(TSimplexTable, NormalizeBasisMakesUnitColumns) {
  TSimplexTable t =
      MakeTable({"X1", "X2", "X3"}, {"X2", "S", "X3"},
                {{"1", "2", "7", "5"}, {"2", "3", "4", "6"}, {"3", "1", "8", "9"}}, {"0", "-1", "-2", "-3"});
  t.NormalizeBasis();
  ExpectRow(t, 1, {"1", "2", "1", "0"});
  ExpectRow(t, 2, {"2", "3", "0", "0"}); // "S" is no column: its own cells keep their values except
  ExpectRow(t, 3, {"3", "1", "0", "1"}); // those the unit columns of X2 and X3 overwrite
  ExpectRow(t, 0, {"0", "-1", "0", "0"});
}

TEST(TSimplexTable, BasicColumn) {
  const TSimplexTable t =
      MakeTable({"X1", "X2", "X3"}, {"X3", "Y1"}, {{"0", "0", "0", "1"}, {"0", "0", "0", "0"}}, {"0", "0", "0", "0"});
  EXPECT_EQ(t.BasicColumn(1), 3);
  EXPECT_EQ(t.BasicColumn(2), 0);
  EXPECT_EQ(t.BasicColumn(0), 0);
  EXPECT_EQ(t.BasicColumn(3), 0);
}

// ---------------------------------------------------------------- Analyze

struct AnalyzeCase {
  const char* name;
  std::vector<std::string> cols;
  std::vector<std::string> rows;
  std::vector<std::vector<std::string>> cells;
  std::vector<std::string> z;
  TPivotRule rule;
  TSimplexState state;
  std::int32_t col;
  std::int32_t row;
};

class AnalyzeTest : public ::testing::TestWithParam<AnalyzeCase> {};

TEST_P(AnalyzeTest, ChoosesTheNextStep) {
  const AnalyzeCase& c = GetParam();
  const TSimplexTable t = MakeTable(c.cols, c.rows, c.cells, c.z);
  std::int32_t col = 99;
  std::int32_t row = 99;
  const TSimplexState s = t.Analyze(col, row, c.rule);
  EXPECT_EQ(static_cast<int>(s), static_cast<int>(c.state));
  EXPECT_EQ(col, c.col);
  EXPECT_EQ(row, c.row);
  EXPECT_EQ(t.State, SS_GOMORYCUT) << "Analyze must not store its result";
}

const std::vector<std::string> kX4{"X1", "X2", "X3", "X4"};
constexpr TPivotRule kDantzig = TPivotRule::MostNegative;
constexpr TPivotRule kBland = TPivotRule::Bland;

INSTANTIATE_TEST_SUITE_P(
    Rules, AnalyzeTest,
    ::testing::Values(
        AnalyzeCase{"WorkedExampleFirstTable",
                    kX4,
                    {"X3", "X4"},
                    {{"4", "1", "1", "1", "0"}, {"6", "1", "3", "0", "1"}},
                    {"0", "-3", "-2", "0", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    1},
        AnalyzeCase{"WorkedExampleSecondTable",
                    kX4,
                    {"X1", "X4"},
                    {{"4", "1", "1", "1", "0"}, {"2", "0", "2", "-1", "1"}},
                    {"12", "0", "1", "3", "0"},
                    kDantzig,
                    SS_OPTIMAL,
                    0,
                    0},
        AnalyzeCase{"TiedColumnsLowerEnters",
                    {"X1", "X2", "X3"},
                    {"X3"},
                    {{"5", "1", "1", "1"}},
                    {"0", "-2", "-2", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    1},
        AnalyzeCase{"StrictlySmallerLaterColumnEnters",
                    {"X1", "X2", "X3"},
                    {"X3"},
                    {{"5", "1", "1", "1"}},
                    {"0", "-1", "-3/2", "0"},
                    kDantzig,
                    SS_PIVOT,
                    2,
                    1},
        AnalyzeCase{"TiedRatiosUpperRowLeaves",
                    {"X1", "X2", "X3"},
                    {"X2", "X3"},
                    {{"2", "1", "1", "0"}, {"4", "2", "0", "1"}},
                    {"0", "-1", "0", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    1},
        AnalyzeCase{"StrictlySmallerLaterRatioLeaves",
                    {"X1", "X2", "X3"},
                    {"X2", "X3"},
                    {{"3", "1", "1", "0"}, {"4", "2", "0", "1"}},
                    {"0", "-1", "0", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    2},
        AnalyzeCase{"FractionRatiosComparedExactly",
                    {"X1", "X2", "X3"},
                    {"X2", "X3"},
                    {{"1", "3", "1", "0"}, {"2", "7", "0", "1"}},
                    {"0", "-1", "0", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    2},
        AnalyzeCase{"ZeroFreeTermTakesPart",
                    {"X1", "X2", "X3"},
                    {"X2", "X3"},
                    {{"5", "1", "1", "0"}, {"0", "3", "0", "1"}},
                    {"0", "-1", "0", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    2},
        AnalyzeCase{"NonPositiveCoefficientsSkipped",
                    {"X1", "X2", "X3", "X4"},
                    {"X2", "X3", "X4"},
                    {{"1", "-1", "1", "0", "0"}, {"0", "0", "0", "1", "0"}, {"6", "2", "0", "0", "1"}},
                    {"0", "-1", "0", "0", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    3},
        AnalyzeCase{"NegativeFreeTermFirstNegativeCoefficient",
                    {"X1", "X2", "X3"},
                    {"X3"},
                    {{"-1", "2", "0", "-3"}},
                    {"0", "-5", "0", "0"},
                    kDantzig,
                    SS_NEGATIVEB,
                    3,
                    1},
        AnalyzeCase{"NegativeFreeTermRowWithoutNegativesPassedOver",
                    {"X1", "X2", "X3"},
                    {"X2", "X3"},
                    {{"-1", "1", "2", "0"}, {"-2", "0", "-1", "1"}},
                    {"0", "0", "0", "0"},
                    kDantzig,
                    SS_NEGATIVEB,
                    2,
                    2},
        AnalyzeCase{"NegativeFreeTermsWithoutNegativeCoefficients",
                    {"X1", "X2"},
                    {"X1", "X2"},
                    {{"-1", "1", "0"}, {"3", "-1", "1"}},
                    {"0", "-4", "-1"},
                    kDantzig,
                    SS_MANYSOLUTIONS,
                    0,
                    0},
        AnalyzeCase{"UnboundedColumn",
                    {"X1", "X2", "X3"},
                    {"X1", "X3"},
                    {{"2", "1", "-1", "0"}, {"3", "0", "0", "1"}},
                    {"0", "0", "-1", "0"},
                    kDantzig,
                    SS_NOSOLUTION,
                    2,
                    0},
        AnalyzeCase{"NoRowsNegativeZ", {"X1", "X2"}, {}, {}, {"0", "-1", "-2"}, kDantzig, SS_NOSOLUTION, 2, 0},
        AnalyzeCase{"NoRowsOptimal", {"X1", "X2"}, {}, {}, {"3", "0", "1"}, kDantzig, SS_OPTIMAL, 0, 0},
        AnalyzeCase{"EmptyTable", {}, {}, {}, {"0"}, kDantzig, SS_OPTIMAL, 0, 0},
        AnalyzeCase{"BlandFirstNegativeColumn",
                    {"X1", "X2", "X3"},
                    {"X3"},
                    {{"5", "1", "1", "1"}},
                    {"0", "-1", "-5", "0"},
                    kBland,
                    SS_PIVOT,
                    1,
                    1},
        AnalyzeCase{"MostNegativeOnSameTable",
                    {"X1", "X2", "X3"},
                    {"X3"},
                    {{"5", "1", "1", "1"}},
                    {"0", "-1", "-5", "0"},
                    kDantzig,
                    SS_PIVOT,
                    2,
                    1},
        AnalyzeCase{"BlandTieLowestBasicIndex",
                    {"X1", "X2", "X3", "X4", "X5"},
                    {"X5", "X3"},
                    {{"2", "1", "0", "0", "0", "1"}, {"4", "2", "0", "1", "0", "0"}},
                    {"0", "-1", "0", "0", "0", "0"},
                    kBland,
                    SS_PIVOT,
                    1,
                    2},
        AnalyzeCase{"DantzigTieUpperRowOnSameTable",
                    {"X1", "X2", "X3", "X4", "X5"},
                    {"X5", "X3"},
                    {{"2", "1", "0", "0", "0", "1"}, {"4", "2", "0", "1", "0", "0"}},
                    {"0", "-1", "0", "0", "0", "0"},
                    kDantzig,
                    SS_PIVOT,
                    1,
                    1},
        AnalyzeCase{"BlandStrictRatioStillWins",
                    {"X1", "X2", "X3", "X4", "X5"},
                    {"X5", "X3"},
                    {{"1", "1", "0", "0", "0", "1"}, {"4", "2", "0", "1", "0", "0"}},
                    {"0", "-1", "0", "0", "0", "0"},
                    kBland,
                    SS_PIVOT,
                    1,
                    1},
        AnalyzeCase{"BlandOptimal", {"X1", "X2"}, {"X2"}, {{"1", "1", "1"}}, {"0", "0", "0"}, kBland, SS_OPTIMAL, 0, 0},
        AnalyzeCase{
            "BlandUnbounded", {"X1", "X2"}, {"X2"}, {{"1", "-1", "1"}}, {"0", "-1", "0"}, kBland, SS_NOSOLUTION, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Bland's rule of the dual method against the first-negative rule on the same tables: the row of the
// basic variable of lowest index, the column of lowest index or, once every Z entry is >= 0, of the
// smallest ratio Z(j)/|a(j)|; a chosen row without a negative coefficient proves inconsistency.
TEST(TSimplexTableRules, DualBlandChoosesByIndexAndDualRatio) {
  struct Case {
    const char* name;
    std::vector<std::string> rows;
    std::vector<std::vector<std::string>> cells;
    std::vector<std::string> z;
    TSimplexState state;
    std::int32_t col;
    std::int32_t row;
    std::int32_t firstNegativeCol; // what the first-negative rule takes
    std::int32_t firstNegativeRow;
  };
  const Case cases[] = {
      {"RowOfLowestIndexNotFirstRow",
       {"X4", "X3"},
       {{"-1", "-1", "0", "0", "1"}, {"-2", "0", "-1", "1", "0"}},
       {"0", "-1", "-1", "0", "0"},
       SS_NEGATIVEB,
       2,
       2,
       1,
       1},
      {"SmallestDualRatio",
       {"X4"},
       {{"-1", "-2", "-1", "-4", "1"}},
       {"0", "4", "3", "2", "0"},
       SS_NEGATIVEB,
       3,
       1,
       1,
       1},
      {"DualRatioTieLowestIndex",
       {"X4"},
       {{"-1", "-2", "-1", "-4", "1"}},
       {"0", "2", "1", "4", "0"},
       SS_NEGATIVEB,
       1,
       1,
       1,
       1},
      {"NegativeZLowestIndex",
       {"X4"},
       {{"-1", "-2", "-1", "-4", "1"}},
       {"0", "4", "-3", "2", "0"},
       SS_NEGATIVEB,
       1,
       1,
       1,
       1},
      {"ChosenRowProvesInconsistency",
       {"X4", "X3"},
       {{"-1", "-1", "0", "0", "1"}, {"-2", "0", "1", "1", "0"}},
       {"0", "0", "0", "0", "0"},
       SS_MANYSOLUTIONS,
       0,
       0,
       1,
       1},
      {"NoNegativeFreeTerm",
       {"X4", "X3"},
       {{"1", "1", "0", "0", "1"}, {"2", "0", "1", "1", "0"}},
       {"0", "-1", "0", "0", "0"},
       SS_PIVOT,
       1,
       1,
       1,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TSimplexTable t = MakeTable(kX4, c.rows, c.cells, c.z);
    std::int32_t col = 99;
    std::int32_t row = 99;
    EXPECT_EQ(t.Analyze(col, row, TPivotRule::MostNegative, TFeasibilityRule::DualBland), c.state);
    EXPECT_EQ(col, c.col);
    EXPECT_EQ(row, c.row);
    static_cast<void>(t.Analyze(col, row));
    EXPECT_EQ(col, c.firstNegativeCol);
    EXPECT_EQ(row, c.firstNegativeRow);
  }
}

// ---------------------------------------------------------------- Pivot

TEST(TSimplexTablePivot, WorkedExampleOfPart21) {
  TSimplexTable t =
      MakeTable(kX4, {"X3", "X4"}, {{"4", "1", "1", "1", "0"}, {"6", "1", "3", "0", "1"}}, {"0", "-3", "-2", "0", "0"});
  std::int32_t col = 0;
  std::int32_t row = 0;
  ASSERT_EQ(t.Analyze(col, row), SS_PIVOT);
  ASSERT_EQ(col, 1);
  ASSERT_EQ(row, 1);
  t.Pivot(col, row);
  ExpectRow(t, 1, {"4", "1", "1", "1", "0"});
  ExpectRow(t, 2, {"2", "0", "2", "-1", "1"});
  ExpectRow(t, 0, {"12", "0", "1", "3", "0"});
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"X1", "X4"}));
  EXPECT_EQ(t.Analyze(col, row), SS_OPTIMAL);
  EXPECT_RAT(t.ValueOf("X1"), "4");
  EXPECT_RAT(t.ValueOf("X4"), "2");
  EXPECT_RAT(t.ValueOf("X2"), "0");
  EXPECT_FALSE(t.HasInvalidCell());
}

// Reference pivot on the test-side fractions of RatTestUtil.h.
using kt::Div;
using kt::Frac;
using kt::Mul;
using kt::Norm;
using kt::Sub;

TEST(TSimplexTablePivot, MatchesAReferencePivotOnRandomTables) {
  std::mt19937 gen(20240607);
  std::uniform_int_distribution<int> num(-9, 9);
  std::uniform_int_distribution<int> den(1, 5);
  std::uniform_int_distribution<int> zero(0, 3);
  for (int round = 0; round < 40; ++round) {
    const int n = 2 + round % 4;
    const int m = 1 + round % 3;
    std::vector<std::vector<Frac>> ref(static_cast<std::size_t>(m + 1),
                                       std::vector<Frac>(static_cast<std::size_t>(n + 1)));
    TSimplexTable t;
    t.SetColCount(n);
    t.SetRowCount(m);
    for (int j = 1; j <= n; ++j) t.SetColName(j, "X" + std::to_string(j));
    for (int i = 1; i <= m; ++i) t.SetRowName(i, "S" + std::to_string(i));
    for (int r = 0; r <= m; ++r)
      for (int c = 0; c <= n; ++c) {
        const Frac f = zero(gen) == 0 ? Frac{0, 1} : Norm(num(gen), den(gen));
        ref[r][c] = f;
        t.SetCell(c, r, kt::ToRat(f));
      }
    for (int pc = 1; pc <= n; ++pc)
      for (int pr = 1; pr <= m; ++pr) {
        if (ref[pr][pc].n == 0) continue;
        SCOPED_TRACE("round " + std::to_string(round) + " pivot (" + std::to_string(pc) + ", " + std::to_string(pr) +
                     ")");
        TSimplexTable u;
        u.Assign(t);
        u.Pivot(pc, pr);
        std::vector<std::vector<Frac>> want = ref;
        const Frac p = ref[pr][pc];
        for (int c = 0; c <= n; ++c) want[pr][c] = Div(ref[pr][c], p);
        want[pr][pc] = Frac{1, 1};
        for (int r = 0; r <= m; ++r) {
          if (r == pr) continue;
          for (int c = 0; c <= n; ++c)
            if (c != pc) want[r][c] = Sub(ref[r][c], Mul(want[pr][c], ref[r][pc]));
          want[r][pc] = Frac{0, 1};
        }
        for (int r = 0; r <= m; ++r)
          for (int c = 0; c <= n; ++c) {
            const TRational got = u.GetCell(c, r);
            ASSERT_TRUE(kt::ToFrac(got) == want[r][c])
                << "cell (" << c << ", " << r << ") is " << kt::Show(got) << ", expected " << kt::Show(want[r][c]);
          }
        EXPECT_EQ(u.GetRowName(pr), "X" + std::to_string(pc));
        for (int i = 1; i <= m; ++i) {
          if (i != pr) {
            EXPECT_EQ(u.GetRowName(i), "S" + std::to_string(i));
          }
        }
      }
  }
}

// Gauss-Jordan sequences on integer tables, as the method runs them: the cells are ratios of minors
// and fit 32 bits long after the products a*b inside c - a*b no longer do, and later outgrow them
// too. Every cell must equal the reference, on either side of 32 bits and across the switches of the
// table between plain and GMP fractions.
TEST(TSimplexTablePivot, FusedUpdatesMatchAReferenceAlongPivotSequences) {
  std::mt19937 gen(77);
  std::uniform_int_distribution<int> digit(-9, 9);
  int productsBeyond32Bits = 0;
  int bigCells = 0;
  int backToPlain = 0;
  for (int round = 0; round < 30; ++round) {
    const int n = 9 + round % 4;
    const int m = 7 + round % 3;
    std::vector<std::vector<Frac>> ref(static_cast<std::size_t>(m + 1),
                                       std::vector<Frac>(static_cast<std::size_t>(n + 1)));
    TSimplexTable t;
    t.SetColCount(n);
    t.SetRowCount(m);
    for (int j = 1; j <= n; ++j) t.SetColName(j, "X" + std::to_string(j));
    for (int i = 1; i <= m; ++i) t.SetRowName(i, "S" + std::to_string(i));
    for (int r = 0; r <= m; ++r)
      for (int c = 0; c <= n; ++c) {
        ref[r][c] = Frac{digit(gen), 1};
        t.SetCell(c, r, kt::ToRat(ref[r][c]));
      }
    std::vector<bool> used(static_cast<std::size_t>(n + 1), false);
    for (int pr = 1; pr <= m; ++pr) {
      int pc = 1;
      while (pc <= n && (used[pc] || ref[pr][pc].n == 0)) ++pc;
      if (pc > n) break;
      used[pc] = true;
      SCOPED_TRACE("round " + std::to_string(round) + " pivot (" + std::to_string(pc) + ", " + std::to_string(pr) +
                   ")");
      std::vector<std::vector<Frac>> want = ref;
      const Frac p = ref[pr][pc];
      for (int c = 0; c <= n; ++c) want[pr][c] = Div(ref[pr][c], p);
      want[pr][pc] = Frac{1, 1};
      for (int r = 0; r <= m; ++r) {
        if (r == pr) continue;
        for (int c = 0; c <= n; ++c) {
          if (c == pc) continue;
          const Frac product = Mul(want[pr][c], ref[r][pc]);
          want[r][c] = Sub(ref[r][c], product);
          if (!kt::Fits(product) && kt::Fits(want[r][c])) ++productsBeyond32Bits;
        }
        want[r][pc] = Frac{0, 1};
      }
      const bool wasBig = t.IsBig();
      t.Pivot(pc, pr);
      bool big = false;
      for (int r = 0; r <= m; ++r)
        for (int c = 0; c <= n; ++c) {
          const TRational got = t.GetCell(c, r);
          ASSERT_EQ(RatIsBig(got), !kt::Fits(want[r][c])) << "cell (" << c << ", " << r << ")";
          ASSERT_TRUE(kt::ToFrac(got) == want[r][c])
              << "cell (" << c << ", " << r << ") is " << kt::Show(got) << ", expected " << kt::Show(want[r][c]);
          if (RatIsBig(got)) ++bigCells;
          big = big || RatIsBig(got);
        }
      EXPECT_EQ(t.IsBig(), big);
      if (wasBig && !big) ++backToPlain;
      ref = want;
    }
  }
  EXPECT_GT(productsBeyond32Bits, 1000) << "the sequences no longer reach products beyond 32 bits";
  EXPECT_GT(bigCells, 0) << "the sequences no longer reach values beyond 32 bits";
}

TEST(TSimplexTablePivot, OutOfRangeZeroOrInvalidElementChangesNothing) {
  const TSimplexTable base =
      MakeTable({"X1", "X2"}, {"X2", "X3"}, {{"4", "0", "1"}, {"6", "2", "1/0"}}, {"1", "-1", "-2"});
  struct Where {
    std::int32_t col;
    std::int32_t row;
  };
  for (const Where w :
       {Where{0, 1}, Where{1, 0}, Where{0, 0}, Where{3, 1}, Where{1, 3}, Where{-1, 1}, Where{1, 1}, Where{2, 2}}) {
    SCOPED_TRACE("pivot (" + std::to_string(w.col) + ", " + std::to_string(w.row) + ")");
    TSimplexTable t;
    t.Assign(base);
    t.Pivot(w.col, w.row);
    for (std::int32_t r = 0; r <= 2; ++r)
      for (std::int32_t c = 0; c <= 2; ++c) {
        const TRational a = t.GetCell(c, r);
        const TRational b = base.GetCell(c, r);
        EXPECT_TRUE(a.Num == b.Num && a.Den == b.Den) << "cell (" << c << ", " << r << ")";
      }
    EXPECT_EQ(t.RowNames(), base.RowNames());
  }
}

TEST(TSimplexTablePivot, ValuesBeyond32BitsStayExactAndPivotingBackRestoresPlainFractions) {
  TSimplexTable t = MakeTable({"X1", "X2"}, {"X1", "X2"}, {{"1", "1", "46341"}, {"0", "46341", "0"}}, {"0", "0", "0"});
  t.Pivot(1, 1);
  // cell (2, 2) := 0 - 46341 * 46341, which does not fit 32 bits.
  EXPECT_EQ(RatToStr(t.GetCell(2, 2)), "-2147488281");
  EXPECT_TRUE(t.IsBig());
  EXPECT_FALSE(t.HasInvalidCell());
  EXPECT_RAT(t.GetCell(0, 2), "-46341");
  // Short enough for a cell: shown in full.
  EXPECT_NE(t.ToHtml(0, 0).find(">-2147488281<"), std::string::npos);
  // A long value: a short decimal in the cell, the fraction in its title; in full in the exact form.
  t.SetCell(0, 1, RatDiv(t.GetCell(2, 2), RatFromInt(7)));
  EXPECT_NE(t.ToHtml(0, 0).find("title=\"-2147488281/7\">-306784040.14<"), std::string::npos) << t.ToHtml(0, 0);
  EXPECT_NE(t.ToHtml(0, 0, 0, true).find(">-2147488281/7<"), std::string::npos);
  t.SetCell(0, 1, RatFromInt(1));
  // X2 enters row 2: every value fits 32 bits again, and the table is plain fractions again.
  t.Pivot(2, 2);
  EXPECT_FALSE(t.IsBig());
  const std::vector<std::vector<std::string>> want = {{"0", "0", "0"}, {"0", "1", "0"}, {"1/46341", "0", "1"}};
  for (std::int32_t r = 0; r <= 2; ++r)
    for (std::int32_t c = 0; c <= 2; ++c) EXPECT_RAT(t.GetCell(c, r), want[r][c]) << c << ", " << r;
}

// ---------------------------------------------------------------- Gomory cuts and the integer example

TEST(TSimplexTableCut, AppendGomoryCutBuildsNegatedFractionalRow) {
  TSimplexTable t = MakeTable({"X1", "X2", "X3"}, {"X1", "X2"}, {{"7/3", "1", "0", "-4/3"}, {"2", "0", "1", "5"}},
                              {"3/2", "0", "0", "1/2"});
  t.AppendGomoryCut(1, "Y1");
  ASSERT_EQ(t.RowCount(), 3);
  ASSERT_EQ(t.ColCount(), 4);
  EXPECT_EQ(t.GetColName(4), "Y1");
  EXPECT_EQ(t.GetRowName(3), "Y1");
  ExpectRow(t, 1, {"7/3", "1", "0", "-4/3", "0"});
  ExpectRow(t, 2, {"2", "0", "1", "5", "0"});
  ExpectRow(t, 3, {"-1/3", "0", "0", "-2/3", "1"});
  ExpectRow(t, 0, {"3/2", "0", "0", "1/2", "0"});
  std::int32_t col = 0;
  std::int32_t row = 0;
  EXPECT_EQ(t.Analyze(col, row), SS_NEGATIVEB);
  EXPECT_EQ(col, 3);
  EXPECT_EQ(row, 3);
}

TEST(TSimplexTableCut, CutOfAnIntegralRowHasNoNegativeCoefficient) {
  TSimplexTable t = MakeTable({"X1", "X2"}, {"X1"}, {{"-1/2", "1", "1/2"}}, {"0", "0", "0"});
  t.AppendGomoryCut(1, "Y1");
  ExpectRow(t, 2, {"-1/2", "0", "-1/2", "1"});
  TSimplexTable u = MakeTable({"X1", "X2"}, {"X1"}, {{"-1/2", "1", "2"}}, {"0", "0", "0"});
  u.AppendGomoryCut(1, "Y1");
  ExpectRow(u, 2, {"-1/2", "0", "0", "1"});
  std::int32_t col = 0;
  std::int32_t row = 0;
  // Neither row with B = -1/2 has a negative coefficient.
  EXPECT_EQ(u.Analyze(col, row), SS_MANYSOLUTIONS);
  EXPECT_EQ(col, 0);
  EXPECT_EQ(row, 0);
}

// The worked integer example of the simplex step, driven on the table as the simplex step drives it.
TEST(TSimplexTableCut, IntegerExampleOfPart54) {
  TSimplexTable t =
      MakeTable(kX4, {"X3", "X4"}, {{"6", "3", "2", "1", "0"}, {"0", "-3", "2", "0", "1"}}, {"0", "0", "-1", "0", "0"});
  t.IntegerVars = {"X1", "X2"};
  std::int32_t col = 0;
  std::int32_t row = 0;
  ASSERT_EQ(t.Analyze(col, row), SS_PIVOT);
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 2); // ratio 0 beats 3
  t.Pivot(col, row);
  ASSERT_EQ(t.Analyze(col, row), SS_PIVOT);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 1);
  t.Pivot(col, row);
  ASSERT_EQ(t.Analyze(col, row), SS_OPTIMAL);
  EXPECT_RAT(t.ValueOf("X1"), "1");
  EXPECT_RAT(t.ValueOf("X2"), "3/2");
  EXPECT_RAT(t.GetZValue(), "3/2");
  ExpectRow(t, 1, {"1", "1", "0", "1/6", "-1/6"});
  ExpectRow(t, 2, {"3/2", "0", "1", "1/4", "1/4"});

  // X2 is the first fractional integer variable; its row is 2.
  ASSERT_EQ(t.GetRowName(2), "X2");
  t.AppendGomoryCut(2, "Y1");
  ExpectRow(t, 3, {"-1/2", "0", "0", "-1/4", "-1/4", "1"});
  ASSERT_EQ(t.Analyze(col, row), SS_NEGATIVEB);
  EXPECT_EQ(col, 3);
  EXPECT_EQ(row, 3);
  t.Pivot(col, row);
  ASSERT_EQ(t.Analyze(col, row), SS_OPTIMAL);
  EXPECT_RAT(t.ValueOf("X1"), "2/3");
  EXPECT_RAT(t.ValueOf("X2"), "1");
  EXPECT_RAT(t.GetZValue(), "1");

  ASSERT_EQ(t.GetRowName(1), "X1");
  t.AppendGomoryCut(1, "Y2");
  ExpectRow(t, 4, {"-2/3", "0", "0", "0", "-2/3", "-2/3", "1"});
  ASSERT_EQ(t.Analyze(col, row), SS_NEGATIVEB);
  EXPECT_EQ(col, 4);
  EXPECT_EQ(row, 4);
  t.Pivot(col, row);
  ASSERT_EQ(t.Analyze(col, row), SS_OPTIMAL);
  for (const char* v : {"X1", "X2", "X3", "X4"}) EXPECT_RAT(t.ValueOf(v), "1") << v;
  EXPECT_RAT(t.GetZValue(), "1");
  EXPECT_EQ(t.ColNames(), (std::vector<std::string>{"X1", "X2", "X3", "X4", "Y1", "Y2"}));
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"X1", "X2", "X3", "X4"}));
}

TEST(TSimplexTableCut, SourceRowOutOfRangeDoesNothing) {
  for (const std::int32_t s : {2, -1}) {
    TSimplexTable t = MakeTable({"X1"}, {"X1"}, {{"1/2", "1"}}, {"0", "0"});
    t.AppendGomoryCut(s, "Y1"); // an index outside its range: the operation does nothing
    EXPECT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t.ColCount(), 1);
    ExpectRow(t, 1, {"1/2", "1"});
  }
}

// The Z row is a source as well (Z an integer at integer points), and the row of a cut whose slack is
// basic again is struck out with its column, the later rows and columns moving up and left.
TEST(TSimplexTableCut, ZRowSourceAndStruckOutRow) {
  TSimplexTable t = MakeTable({"X1", "X2", "X3"}, {"X1", "X3"}, {{"1/2", "1", "1/3", "0"}, {"2", "0", "5/4", "1"}},
                              {"7/2", "0", "5/3", "0"});
  t.AppendGomoryCut(0, "Y1");
  ExpectRow(t, 3, {"-1/2", "0", "-2/3", "0", "1"});
  t.AppendGomoryCut(1, "Y2");
  t.RemoveBasicRow(t.RowOf("Y1"));
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"X1", "X3", "Y2"}));
  EXPECT_EQ(t.ColNames(), (std::vector<std::string>{"X1", "X2", "X3", "Y2"}));
  ExpectRow(t, 2, {"2", "0", "5/4", "1", "0"});
  ExpectRow(t, 3, {"-1/2", "0", "-1/3", "0", "1"});
  EXPECT_RAT(t.GetZValue(), "7/2");
  EXPECT_RAT(t.GetZ(2), "5/3");
}

// ---------------------------------------------------------------- anti-cycling

// Beale's example: maximise 3/4 x4 - 20 x5 + 1/2 x6 - 6 x7, slacks x1..x3 basic.
TSimplexTable Beale() {
  return MakeTable({"X1", "X2", "X3", "X4", "X5", "X6", "X7"}, {"X1", "X2", "X3"},
                   {{"0", "1", "0", "0", "1/4", "-8", "-1", "9"},
                    {"0", "0", "1", "0", "1/2", "-12", "-1/2", "3"},
                    {"1", "0", "0", "1", "0", "0", "1", "0"}},
                   {"0", "0", "0", "0", "-3/4", "20", "-1/2", "6"});
}

TEST(TSimplexTableRules, MostNegativeRuleCyclesOnBealeAsWritten) {
  TSimplexTable t = Beale();
  const TSimplexTable start = Beale();
  for (int k = 0; k < 6; ++k) {
    std::int32_t col = 0;
    std::int32_t row = 0;
    ASSERT_EQ(t.Analyze(col, row), SS_PIVOT) << "pivot " << k;
    t.Pivot(col, row);
  }
  EXPECT_EQ(t.RowNames(), start.RowNames());
  for (std::int32_t r = 0; r <= 3; ++r) {
    std::vector<std::string> want;
    for (std::int32_t c = 0; c <= 7; ++c) want.push_back(RatToStr(start.GetCell(c, r)));
    ExpectRow(t, r, want);
  }
}

TEST(TSimplexTableRules, BlandRuleEndsBealeAtTheOptimum) {
  TSimplexTable t = Beale();
  std::int32_t col = 0;
  std::int32_t row = 0;
  TSimplexState s = SS_PIVOT;
  int pivots = 0;
  while ((s = t.Analyze(col, row, TPivotRule::Bland)) == SS_PIVOT && pivots < 50) {
    t.Pivot(col, row);
    ++pivots;
  }
  ASSERT_EQ(s, SS_OPTIMAL);
  EXPECT_EQ(pivots, 6);
  EXPECT_RAT(t.GetZValue(), "5/4");
  EXPECT_RAT(t.ValueOf("X4"), "1");
  EXPECT_RAT(t.ValueOf("X6"), "1");
  EXPECT_RAT(t.ValueOf("X1"), "3/4");
  EXPECT_RAT(t.ValueOf("X5"), "0");
}

// ---------------------------------------------------------------- Assign

TEST(TSimplexTable, AssignIsDeep) {
  TSimplexTable src = MakeTable({"X1", "X2"}, {"X2"}, {{"3", "1/2", "1"}}, {"1", "-1", "0"});
  src.State = SS_NEGATIVEB;
  src.IntegerVars = {"X1"};
  TSimplexTable dst =
      MakeTable({"A", "B", "C"}, {"A", "B"}, {{"1", "1", "1", "1"}, {"2", "2", "2", "2"}}, {"9", "9", "9", "9"});
  dst.Assign(src);
  EXPECT_EQ(dst.State, SS_NEGATIVEB);
  EXPECT_EQ(dst.RowCount(), 1);
  EXPECT_EQ(dst.ColCount(), 2);
  EXPECT_EQ(dst.ColNames(), (std::vector<std::string>{"X1", "X2"}));
  EXPECT_EQ(dst.RowNames(), std::vector<std::string>{"X2"});
  EXPECT_EQ(dst.IntegerVars, std::vector<std::string>{"X1"});
  ExpectRow(dst, 1, {"3", "1/2", "1"});
  ExpectRow(dst, 0, {"1", "-1", "0"});
  src.Pivot(1, 1);
  src.SetColName(1, "Q");
  src.IntegerVars.clear();
  ExpectRow(dst, 1, {"3", "1/2", "1"});
  ExpectRow(dst, 0, {"1", "-1", "0"});
  EXPECT_EQ(dst.GetColName(1), "X1");
  EXPECT_EQ(dst.GetRowName(1), "X2");
  EXPECT_EQ(dst.IntegerVars.size(), 1U);
}

TEST(TSimplexTable, AssignFromItselfKeepsEverything) {
  TSimplexTable t = MakeTable({"X1", "X2"}, {"X2"}, {{"3", "1/2", "1"}}, {"1", "-1", "0"});
  t.IntegerVars = {"X1"};
  t.Assign(t);
  ExpectRow(t, 1, {"3", "1/2", "1"});
  ExpectRow(t, 0, {"1", "-1", "0"});
  EXPECT_EQ(t.ColNames(), (std::vector<std::string>{"X1", "X2"}));
  EXPECT_EQ(t.IntegerVars, std::vector<std::string>{"X1"});
}

// ---------------------------------------------------------------- ToHtml

std::string Cell(bool sel, const std::string& text) {
  return std::string(sel ? "<td class=\"clsSelCell\">" : "<td class=\"clsSimCell\">") + text + "</td>";
}

TEST(TSimplexTableHtml, ExactTextWithPivotHighlighted) {
  const TSimplexTable t =
      MakeTable({"X1", "X<sub>2</sub>"}, {"X3", "X4"}, {{"4", "1", "1/2"}, {"6", "-1", "0"}}, {"0", "-3", "2"});
  const std::string want =
      "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\" style=\"--rows:4;--cols:4\">"
      "<tr><td class=\"clsSimCell\">&nbsp;</td><td class=\"clsSimCell\">B</td>"
      "<td class=\"clsSimCell\">X1</td><td class=\"clsSelCell\">X&lt;sub&gt;2&lt;/sub&gt;</td></tr>"
      "<tr><td class=\"clsSelCell\">X3</td><td class=\"clsSelCell\">4</td><td class=\"clsSelCell\">1</td>"
      "<td class=\"clsSelCell\">1/2</td></tr>"
      "<tr><td class=\"clsSimCell\">X4</td><td class=\"clsSimCell\">6</td><td class=\"clsSimCell\">-1</td>"
      "<td class=\"clsSelCell\">0</td></tr>"
      "<tr><td class=\"clsSimCell\">Z</td><td class=\"clsSimCell\">0</td><td class=\"clsSimCell\">-3</td>"
      "<td class=\"clsSelCell\">2</td></tr>"
      "</table>";
  EXPECT_EQ(t.ToHtml(2, 1), want);
}

TEST(TSimplexTableHtml, NothingHighlightedOutsideTheRanges) {
  const TSimplexTable t = MakeTable({"X1", "X2"}, {"X3"}, {{"4", "1", "1/2"}}, {"-7/2", "-3", "2"});
  // The table with the row of X3 highlighted or not.
  const auto html = [](bool row) {
    return "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\" style=\"--rows:3;--cols:4\">"
           "<tr>" +
           Cell(false, "&nbsp;") + Cell(false, "B") + Cell(false, "X1") + Cell(false, "X2") + "</tr><tr>" +
           Cell(row, "X3") + Cell(row, "4") + Cell(row, "1") + Cell(row, "1/2") + "</tr><tr>" + Cell(false, "Z") +
           Cell(false, "-7/2") + Cell(false, "-3") + Cell(false, "2") + "</tr></table>";
  };
  const std::string plain = html(false);
  EXPECT_EQ(t.ToHtml(0, 0), plain);
  EXPECT_EQ(t.ToHtml(3, 2), plain);
  EXPECT_EQ(t.ToHtml(-1, -1), plain);
  EXPECT_EQ(t.ToHtml(0, 0).find('\n'), std::string::npos);
  // Row only: the B cell and the name are highlighted, the Z row and header are not.
  const std::string rowOnly = html(true);
  EXPECT_EQ(t.ToHtml(0, 1), rowOnly);
  EXPECT_EQ(t.ToHtml(5, 1), rowOnly);
}

TEST(TSimplexTableHtml, InvalidCellsPrintAsEscapedErr) {
  const TSimplexTable t = MakeTable({"X1"}, {"X1"}, {{"1/0", "1"}}, {"0", "0"});
  EXPECT_NE(t.ToHtml(0, 0).find(Cell(false, "&lt;err&gt;")), std::string::npos);
  EXPECT_EQ(t.ToHtml(0, 0).find("<err>"), std::string::npos);
}

} // namespace
