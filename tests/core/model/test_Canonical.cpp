// Canonical form and first table, equalities written as pairs of inequalities, and the reference-problem matrix.
#include "ModelTestUtil.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace {

using kt::Constraint;
using kt::MakeModel;
using kt::R;

// ---------------------------------------------------------------- IsCanonical and HasOwnBasis

TEST(Canonical, IsCanonical) {
  EXPECT_TRUE(TZLPCore_SubInterface_ZLP().IsCanonical()); // no variables, maximised
  TZLPCore_SubInterface_ZLP none;
  none.IsMax = false;
  EXPECT_FALSE(none.IsCanonical());
  EXPECT_TRUE(
      MakeModel(true, {"1", "1"}, "0", {{{"1", "1"}, IS_EQUAL, "2"}, {{"1", "0"}, IS_EQUAL, "1"}}).IsCanonical());
  EXPECT_FALSE(MakeModel(false, {"1", "1"}, "0", {{{"1", "1"}, IS_EQUAL, "2"}}).IsCanonical());
  EXPECT_FALSE(MakeModel(true, {"1", "1"}, "0", {{{"1", "1"}, IS_EQUAL, "2"}, {{"1", "0"}, IS_BELOWOREQUAL, "1"}})
                   .IsCanonical());
  for (TZLPCore_InequalitySign s : {IS_BELOWOREQUAL, IS_BELOW, IS_ABOVE, IS_ABOVEOREQUAL})
    EXPECT_FALSE(MakeModel(true, {"1"}, "0", {{{"1"}, s, "2"}}).IsCanonical()) << static_cast<int>(s);
}

struct BasisCase {
  const char* name;
  std::vector<std::string> obj;
  std::vector<Constraint> rows;
  bool own;
};

class HasOwnBasisTest : public ::testing::TestWithParam<BasisCase> {};

TEST_P(HasOwnBasisTest, DecidesSoundly) {
  const BasisCase& c = GetParam();
  EXPECT_EQ(MakeModel(true, c.obj, "0", c.rows).HasOwnBasis(), c.own);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HasOwnBasisTest,
    ::testing::Values(BasisCase{"LastVariableUnit", {"1", "1", "0"}, {{{"1", "1", "1"}, IS_EQUAL, "5"}}, true},
                      BasisCase{"TwoRowsIdentityAtEnd",
                                {"2", "1", "0", "0"},
                                {{{"1", "1", "1", "0"}, IS_EQUAL, "4"}, {{"1", "-1", "0", "1"}, IS_EQUAL, "2"}},
                                true},
                      BasisCase{"ObjectiveOnBasicVariable", {"1", "1", "2"}, {{{"1", "1", "1"}, IS_EQUAL, "5"}}, false},
                      BasisCase{"CoefficientNotOne", {"1", "1", "0"}, {{{"1", "1", "2"}, IS_EQUAL, "5"}}, false},
                      BasisCase{"BasicVariableInOtherRow",
                                {"2", "1", "0", "0"},
                                {{{"1", "1", "1", "0"}, IS_EQUAL, "4"}, {{"1", "-1", "1/2", "1"}, IS_EQUAL, "2"}},
                                false},
                      BasisCase{"BasisInWrongOrder",
                                {"2", "1", "0", "0"},
                                {{{"1", "1", "0", "1"}, IS_EQUAL, "4"}, {{"1", "-1", "1", "0"}, IS_EQUAL, "2"}},
                                false},
                      BasisCase{"AsManyVariablesAsRows",
                                {"0", "0"},
                                {{{"1", "0"}, IS_EQUAL, "4"}, {{"0", "1"}, IS_EQUAL, "2"}},
                                false},
                      BasisCase{"UnitColumnNotAtTheEnd", {"0", "1"}, {{{"1", "1"}, IS_EQUAL, "3"}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- ToCanonical texts and models

// The worked minimisation example: minimise 2x1 - x2 + 3, x1 + x2 <= 4, x1 - x2 >= 1.
TZLPCore_SubInterface_ZLP Part32() {
  return MakeModel(false, {"2", "-1"}, "3", {{{"1", "1"}, IS_BELOWOREQUAL, "4"}, {{"1", "-1"}, IS_ABOVEOREQUAL, "1"}});
}

TEST(ToCanonical, MinimisationExampleOfPart32) {
  TZLPCore_SubInterface_ZLP z = Part32();
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  const std::vector<std::string> want{
      "<p>Задачу нужно привести к канонической форме, ",
      "для начала устремим функцию цели к <b>максимуму</b>:",
      "<pre>Z = - 2X<sub>1</sub> + X<sub>2</sub> - 3 &#8594; Max</pre>",
      "\r\n<p>Введём",
      "2 дополнительные (балансовые) переменные и приравняем правые части:",
      "<pre>",
      "X<sub>1</sub> + X<sub>2</sub> + X<sub>3</sub> = 4\r\n- X<sub>1</sub> + X<sub>2</sub> + X<sub>4</sub> = -1",
      "</pre>"};
  EXPECT_EQ(report.Lines, want);
  EXPECT_TRUE(z.IsMax);
  EXPECT_TRUE(z.IsCanonical());
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"X1", "X2", "X3", "X4"}));
  EXPECT_RAT(z.FreeTerm, "-3");
  EXPECT_RAT(z.Objective.GetItem(1), "-2");
  EXPECT_RAT(z.Objective.GetItem(2), "1");
  EXPECT_RAT(z.Objective.GetItem(3), "0");
  EXPECT_RAT(z.Objective.GetItem(4), "0");
  EXPECT_RAT(z.RHS.GetItem(2), "-1");
  EXPECT_RAT(z.Coeffs.GetItem(1, 2), "-1");
  EXPECT_RAT(z.Coeffs.GetItem(2, 2), "1");
  EXPECT_RAT(z.Coeffs.GetItem(3, 2), "0");
  EXPECT_RAT(z.Coeffs.GetItem(4, 2), "1");
  EXPECT_RAT(z.Coeffs.GetItem(3, 1), "1");
  EXPECT_RAT(z.Coeffs.GetItem(4, 1), "0");

  TSimplexTable t;
  ASSERT_TRUE(z.BuildTable(&t));
  EXPECT_EQ(t.ColNames(), (std::vector<std::string>{"X1", "X2", "X3", "X4"}));
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"X3", "X4"}));
  kt::ExpectRow(t, 1, {"4", "1", "1", "1", "0"});
  kt::ExpectRow(t, 2, {"-1", "-1", "1", "0", "1"});
  kt::ExpectRow(t, 0, {"-3", "2", "-1", "0", "0"});
  std::int32_t col = 0;
  std::int32_t row = 0;
  ASSERT_EQ(t.Analyze(col, row), SS_NEGATIVEB);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 2);
  t.Pivot(col, row);
  ASSERT_EQ(t.Analyze(col, row), SS_OPTIMAL);
  EXPECT_RAT(t.ValueOf("X1"), "1");
  EXPECT_RAT(t.ValueOf("X3"), "3");
  EXPECT_RAT(t.ValueOf("X2"), "0");
  EXPECT_RAT(t.GetZValue(), "-5");
}

TEST(ToCanonical, MaximisationKeepsObjective) {
  TZLPCore_SubInterface_ZLP z =
      MakeModel(true, {"3", "2"}, "0", {{{"1", "1"}, IS_BELOWOREQUAL, "4"}, {{"1", "3"}, IS_BELOWOREQUAL, "6"}});
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  const std::vector<std::string> want{
      "<p>Задачу нужно привести к канонической форме, ",
      "функция уже стремится к <b>максимуму</b>, введём",
      "2 дополнительные (балансовые) переменные и приравняем правые части:",
      "<pre>",
      "X<sub>1</sub> + X<sub>2</sub> + X<sub>3</sub> = 4\r\nX<sub>1</sub> + 3X<sub>2</sub> + X<sub>4</sub> = 6",
      "</pre>"};
  EXPECT_EQ(report.Lines, want);
  EXPECT_RAT(z.Objective.GetItem(1), "3");
  // The first table of the worked product-mix example.
  TSimplexTable t;
  ASSERT_TRUE(z.BuildTable(&t));
  kt::ExpectRow(t, 1, {"4", "1", "1", "1", "0"});
  kt::ExpectRow(t, 2, {"6", "1", "3", "0", "1"});
  kt::ExpectRow(t, 0, {"0", "-3", "-2", "0", "0"});
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"X3", "X4"}));
}

TEST(ToCanonical, StrictRelationsAreTreatedLikeBelow) {
  TZLPCore_SubInterface_ZLP z = MakeModel(true, {"1"}, "0", {{{"1"}, IS_BELOW, "4"}, {{"1"}, IS_ABOVE, "1"}});
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  ASSERT_EQ(z.ConstraintCount(), 2);
  EXPECT_RAT(z.RHS.GetItem(1), "4");
  EXPECT_RAT(z.RHS.GetItem(2), "1");
  EXPECT_RAT(z.Coeffs.GetItem(1, 2), "1");
  EXPECT_EQ(z.GetSign(2), IS_EQUAL);
}

TEST(ToCanonical, CanonicalModelWithItsOwnBasisIsUnchanged) {
  TZLPCore_SubInterface_ZLP z = MakeModel(
      true, {"2", "1", "0", "0"}, "0", {{{"1", "1", "1", "0"}, IS_EQUAL, "4"}, {{"1", "-1", "0", "1"}, IS_EQUAL, "2"}});
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  const std::vector<std::string> want{
      "<p>Задача поставлена в канонической форме, ",
      "в ней есть 2 базисные переменные<p>Задача готова для передачи в <b>симплекс-метод</b>"};
  EXPECT_EQ(report.Lines, want);
  EXPECT_EQ(z.VarCount(), 4);
  EXPECT_EQ(z.ConstraintCount(), 2);
  TSimplexTable t;
  ASSERT_TRUE(z.BuildTable(&t));
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"X3", "X4"}));
}

TEST(ToCanonical, CanonicalModelWithoutBasisGetsOne) {
  TZLPCore_SubInterface_ZLP z = MakeModel(true, {"1", "1"}, "0", {{{"1", "1"}, IS_EQUAL, "3"}});
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  ASSERT_GE(report.Lines.size(), 5U);
  EXPECT_EQ(report.Lines[0], "<p>Задача поставлена в канонической форме, ");
  // The equality is split into two rows, each with a variable of its own.
  EXPECT_EQ(report.Lines[1], "но для передачи в симплекс-метод каждому ограничению нужна своя базисная переменная; "
                             "введём 2 дополнительные (балансовые) переменные:");
  // The changed constraints between "<pre>" and "</pre>" (the sentence on the pairs may follow them).
  std::size_t pre = 2;
  while (pre < report.Lines.size() && report.Lines[pre] != "<pre>") ++pre;
  ASSERT_LT(pre + 2, report.Lines.size());
  EXPECT_EQ(report.Lines[pre + 1].rfind("X<sub>1</sub> + X<sub>2</sub> + X<sub>3</sub> = 3", 0), 0U)
      << report.Lines[pre + 1];
  EXPECT_EQ(report.Lines[pre + 2], "</pre>");
  EXPECT_GT(z.VarCount(), 2);
  EXPECT_TRUE(z.IsCanonical());
}

// Minimise x1 subject to x1 = 2 must end at x1 = 2 (one added variable alone gives x1 = 0).
TEST(ToCanonical, EqualityBecomesAPairOfInequalities) {
  TZLPCore_SubInterface_ZLP z = MakeModel(false, {"1"}, "0", {{{"1"}, IS_EQUAL, "2"}});
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  ASSERT_EQ(z.ConstraintCount(), 2);
  ASSERT_EQ(z.VarCount(), 3);
  EXPECT_TRUE(z.IsMax);
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"X1", "X2", "X3"}));
  EXPECT_RAT(z.Objective.GetItem(1), "-1");
  // The row itself with its own added variable, then its negated copy with another.
  EXPECT_RAT(z.Coeffs.GetItem(1, 1), "1");
  EXPECT_RAT(z.Coeffs.GetItem(2, 1), "1");
  EXPECT_RAT(z.Coeffs.GetItem(3, 1), "0");
  EXPECT_RAT(z.RHS.GetItem(1), "2");
  EXPECT_RAT(z.Coeffs.GetItem(1, 2), "-1");
  EXPECT_RAT(z.Coeffs.GetItem(2, 2), "0");
  EXPECT_RAT(z.Coeffs.GetItem(3, 2), "1");
  EXPECT_RAT(z.RHS.GetItem(2), "-2");
  EXPECT_EQ(z.GetSign(1), IS_EQUAL);
  EXPECT_EQ(z.GetSign(2), IS_EQUAL);

  TSimplexTable t;
  ASSERT_TRUE(z.BuildTable(&t));
  std::int32_t col = 0;
  std::int32_t row = 0;
  TSimplexState s = SS_PIVOT;
  for (int k = 0; k < 20 && ((s = t.Analyze(col, row)) == SS_PIVOT || s == SS_NEGATIVEB); ++k) t.Pivot(col, row);
  ASSERT_EQ(s, SS_OPTIMAL);
  EXPECT_RAT(t.ValueOf("X1"), "2");
  EXPECT_RAT(t.GetZValue(), "-2");
}

TEST(ToCanonical, PairsFollowTheirRowAndAreExplained) {
  const std::vector<Constraint> rows{
      {{"1", "1"}, IS_BELOWOREQUAL, "4"}, {{"1", "-1"}, IS_EQUAL, "1"}, {{"0", "1"}, IS_ABOVEOREQUAL, "1"}};
  TZLPCore_SubInterface_ZLP z = MakeModel(true, {"1", "1"}, "0", rows);
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  ASSERT_EQ(z.ConstraintCount(), 4);
  ASSERT_EQ(z.VarCount(), 6);
  const std::vector<std::vector<std::string>> a{{"1", "1", "1", "0", "0", "0"},
                                                {"1", "-1", "0", "1", "0", "0"},
                                                {"-1", "1", "0", "0", "1", "0"},
                                                {"0", "-1", "0", "0", "0", "1"}};
  const std::vector<std::string> b{"4", "1", "-1", "-1"};
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE("constraint " + std::to_string(i));
    EXPECT_EQ(z.GetSign(i), IS_EQUAL);
    EXPECT_RAT(z.RHS.GetItem(i), b[static_cast<std::size_t>(i - 1)]);
    for (int j = 1; j <= 6; ++j)
      EXPECT_RAT(z.Coeffs.GetItem(j, i), a[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)])
          << "X" << j;
  }
  // One sentence names the replaced equality; the same model without "=" has no such sentence.
  TZLPCore_SubInterface_ZLP plain =
      MakeModel(true, {"1", "1"}, "0", {rows[0], {{"1", "-1"}, IS_BELOWOREQUAL, "1"}, rows[2]});
  TZLPCore_SolutionResult plainReport;
  plain.ToCanonical(plainReport);
  const std::string text = report.GetText();
  const std::string plainText = plainReport.GetText();
  EXPECT_NE(text.find("пар"), std::string::npos) << text;
  EXPECT_EQ(plainText.find("пар"), std::string::npos) << plainText;
}

// A model brought to canonical form carries its own basis: a second ToCanonical leaves it as it is.
TEST(ToCanonical, SecondRunFindsTheBasisOfTheFirst) {
  for (TZLPCore_SubInterface_ZLP z : {Part32(), MakeModel(false, {"1"}, "0", {{{"1"}, IS_EQUAL, "2"}})}) {
    TZLPCore_SolutionResult first;
    z.ToCanonical(first);
    ASSERT_TRUE(z.HasOwnBasis());
    const std::int32_t n = z.VarCount();
    const std::int32_t m = z.ConstraintCount();
    TZLPCore_SolutionResult second;
    z.ToCanonical(second);
    EXPECT_EQ(z.VarCount(), n);
    EXPECT_EQ(z.ConstraintCount(), m);
    ASSERT_EQ(second.Lines.size(), 2U);
    EXPECT_EQ(second.Lines[1], "в ней есть " +
                                   CountText(m, "базисная переменная", "базисные переменные", "базисных переменных") +
                                   "<p>Задача готова для передачи в <b>симплекс-метод</b>");
  }
}

// The worked integer example entered as a model gives the first table the simplex step shows.
TEST(ToCanonical, IntegerExampleFirstTable) {
  TZLPCore_SubInterface_ZLP z =
      MakeModel(true, {"0", "1"}, "0", {{{"3", "2"}, IS_BELOWOREQUAL, "6"}, {{"-3", "2"}, IS_BELOWOREQUAL, "0"}});
  TZLPCore_SolutionResult report;
  z.ToCanonical(report);
  TSimplexTable t;
  ASSERT_TRUE(z.BuildTable(&t));
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"X3", "X4"}));
  kt::ExpectRow(t, 1, {"6", "3", "2", "1", "0"});
  kt::ExpectRow(t, 2, {"0", "-3", "2", "0", "1"});
  kt::ExpectRow(t, 0, {"0", "0", "-1", "0", "0"});
}

// ---------------------------------------------------------------- BuildTable

TEST(BuildTable, RefusesNonCanonicalModelAndNoTable) {
  const TZLPCore_SubInterface_ZLP z = Part32();
  EXPECT_FALSE(z.BuildTable(nullptr));
  TSimplexTable t = kt::MakeTable({"A"}, {"A"}, {{"5", "1"}}, {"7", "-1"});
  EXPECT_FALSE(z.BuildTable(&t));
  EXPECT_EQ(t.ColCount(), 1);
  EXPECT_EQ(t.RowCount(), 1);
  kt::ExpectRow(t, 1, {"5", "1"});
  kt::ExpectRow(t, 0, {"7", "-1"});
  EXPECT_EQ(t.GetColName(1), "A");
  const TZLPCore_SubInterface_ZLP canon = MakeModel(true, {"1"}, "0", {{{"1"}, IS_EQUAL, "1"}});
  EXPECT_FALSE(canon.BuildTable(nullptr));
}

TEST(BuildTable, EqualityModelTakesLastVariablesAsBasisAndForcesUnitColumns) {
  const TZLPCore_SubInterface_ZLP z = MakeModel(true, {"1", "1", "1"}, "2", {{{"1", "2", "3"}, IS_EQUAL, "6"}});
  TSimplexTable t;
  t.State = SS_NEGATIVEB;
  t.IntegerVars = {"X1"};
  ASSERT_TRUE(z.BuildTable(&t));
  EXPECT_EQ(t.ColCount(), 3);
  EXPECT_EQ(t.RowCount(), 1);
  EXPECT_EQ(t.RowNames(), std::vector<std::string>{"X3"});
  kt::ExpectRow(t, 1, {"6", "1", "2", "1"});
  kt::ExpectRow(t, 0, {"2", "-1", "-1", "0"});
  EXPECT_EQ(t.State, SS_NEGATIVEB);
  EXPECT_EQ(t.IntegerVars, std::vector<std::string>{"X1"});
}

TEST(BuildTable, ReplacesAnEarlierTableCompletely) {
  const TZLPCore_SubInterface_ZLP z = MakeModel(true, {"1", "0"}, "0", {{{"1", "1"}, IS_EQUAL, "3"}});
  TSimplexTable t =
      kt::MakeTable({"A", "B", "C"}, {"A", "B"}, {{"9", "9", "9", "9"}, {"9", "9", "9", "9"}}, {"9", "9", "9", "9"});
  ASSERT_TRUE(z.BuildTable(&t));
  EXPECT_EQ(t.ColNames(), (std::vector<std::string>{"X1", "X2"}));
  EXPECT_EQ(t.RowNames(), std::vector<std::string>{"X2"});
  kt::ExpectRow(t, 1, {"3", "1", "1"});
  kt::ExpectRow(t, 0, {"0", "-1", "0"});
}

TEST(BuildTable, MoreRowsThanVariablesDoesNotIndexBeforeTheFirstName) {
  const TZLPCore_SubInterface_ZLP z =
      MakeModel(true, {"1"}, "0", {{{"1"}, IS_EQUAL, "1"}, {{"1"}, IS_EQUAL, "1"}, {{"1"}, IS_EQUAL, "1"}});
  TSimplexTable t;
  // Three rows and one variable: only the last row has a variable of its own to be basic (X1, whose
  // column becomes a unit column); the rows before it get no name rather than one from before X1.
  ASSERT_TRUE(z.BuildTable(&t));
  EXPECT_EQ(t.ColNames(), std::vector<std::string>{"X1"});
  EXPECT_EQ(t.RowNames(), (std::vector<std::string>{"", "", "X1"}));
  kt::ExpectRow(t, 1, {"1", "0"});
  kt::ExpectRow(t, 3, {"1", "1"});
  kt::ExpectRow(t, 0, {"0", "0"});
}

TEST(BuildTable, EmptyCanonicalModel) {
  const TZLPCore_SubInterface_ZLP z;
  TSimplexTable t;
  ASSERT_TRUE(z.BuildTable(&t));
  EXPECT_EQ(t.ColCount(), 0);
  EXPECT_EQ(t.RowCount(), 0);
}

// ---------------------------------------------------------------- the reference-problem matrix

enum class Outcome { Optimal, Unbounded, Infeasible };

struct RefProblem {
  const char* name;
  bool isMax;
  std::vector<std::string> obj;
  std::string c0;
  std::vector<Constraint> rows;
  Outcome outcome;
  std::string value;          // optimum of the objective as entered
  std::vector<std::string> x; // the optimal point when it is unique; empty otherwise
};

using kt::Add;
using kt::Cmp;
using kt::Mul;
using Q = kt::Frac;
const auto ToQ = kt::ToFrac;

class ReferenceProblems : public ::testing::TestWithParam<RefProblem> {};

TEST_P(ReferenceProblems, SolvedTheWayAStudentRunIs) {
  const RefProblem& p = GetParam();
  for (const TPivotRule rule : {TPivotRule::MostNegative, TPivotRule::Bland}) {
    SCOPED_TRACE(rule == TPivotRule::Bland ? "Bland" : "MostNegative");
    TZLPCore_SubInterface_ZLP z = MakeModel(p.isMax, p.obj, p.c0, p.rows);
    TZLPCore_SolutionResult report;
    z.ToCanonical(report);
    ASSERT_TRUE(z.IsCanonical());
    TSimplexTable t;
    ASSERT_TRUE(z.BuildTable(&t));
    std::int32_t col = 0;
    std::int32_t row = 0;
    TSimplexState s = SS_PIVOT;
    int pivots = 0;
    while ((s = t.Analyze(col, row, rule)) == SS_PIVOT || s == SS_NEGATIVEB) {
      ASSERT_LT(pivots, 100) << "the method does not end";
      t.Pivot(col, row);
      ++pivots;
    }
    ASSERT_FALSE(t.HasInvalidCell());
    switch (p.outcome) {
    case Outcome::Unbounded: EXPECT_EQ(s, SS_NOSOLUTION); continue;
    case Outcome::Infeasible: EXPECT_EQ(s, SS_MANYSOLUTIONS); continue;
    case Outcome::Optimal: break;
    }
    ASSERT_EQ(s, SS_OPTIMAL);
    TRational value = t.GetZValue();
    if (!p.isMax) RatScale(value, -1);
    EXPECT_RAT(value, p.value);
    // The point read from the table satisfies the problem as entered and gives the optimum.
    const std::size_t n = p.obj.size();
    std::vector<Q> x(n);
    for (std::size_t j = 0; j < n; ++j) {
      x[j] = ToQ(t.ValueOf("X" + std::to_string(j + 1)));
      EXPECT_GE(x[j].n, 0) << "X" << j + 1;
      if (!p.x.empty()) {
        EXPECT_RAT(t.ValueOf("X" + std::to_string(j + 1)), p.x[j]) << "X" << j + 1;
      }
    }
    Q obj = ToQ(R(p.c0));
    for (std::size_t j = 0; j < n; ++j) obj = Add(obj, Mul(ToQ(R(p.obj[j])), x[j]));
    EXPECT_EQ(Cmp(obj, ToQ(R(p.value))), 0) << "objective at the point read: " << kt::Show(obj);
    for (std::size_t i = 0; i < p.rows.size(); ++i) {
      Q lhs{0, 1};
      for (std::size_t j = 0; j < n; ++j) lhs = Add(lhs, Mul(ToQ(R(p.rows[i].a[j])), x[j]));
      const int c = Cmp(lhs, ToQ(R(p.rows[i].rhs)));
      switch (p.rows[i].sign) {
      case IS_EQUAL: EXPECT_EQ(c, 0) << "constraint " << i + 1; break;
      case IS_ABOVEOREQUAL:
      case IS_ABOVE: EXPECT_GE(c, 0) << "constraint " << i + 1; break;
      default: EXPECT_LE(c, 0) << "constraint " << i + 1; break;
      }
    }
  }
}

constexpr auto LE = IS_BELOWOREQUAL;
constexpr auto GE = IS_ABOVEOREQUAL;
constexpr auto EQ = IS_EQUAL;
constexpr auto OPT = Outcome::Optimal;

// Optima checked independently: every vertex of each feasible region enumerated in exact fractions,
// and every run of the method's own rules traced by hand-written reference code.
INSTANTIATE_TEST_SUITE_P(
    Textbook, ReferenceProblems,
    ::testing::Values(
        RefProblem{"WorkedExamplePart21",
                   true,
                   {"3", "2"},
                   "0",
                   {{{"1", "1"}, LE, "4"}, {{"1", "3"}, LE, "6"}},
                   OPT,
                   "12",
                   {"4", "0"}},
        RefProblem{"WorkedExamplePart32",
                   false,
                   {"2", "-1"},
                   "3",
                   {{{"1", "1"}, LE, "4"}, {{"1", "-1"}, GE, "1"}},
                   OPT,
                   "5",
                   {"1", "0"}},
        RefProblem{"DantzigProductMix",
                   true,
                   {"3", "5"},
                   "0",
                   {{{"1", "0"}, LE, "4"}, {{"0", "2"}, LE, "12"}, {{"3", "2"}, LE, "18"}},
                   OPT,
                   "36",
                   {"2", "6"}},
        RefProblem{"ChvatalThreeVariables",
                   true,
                   {"5", "4", "3"},
                   "0",
                   {{{"2", "3", "1"}, LE, "5"}, {{"4", "1", "2"}, LE, "11"}, {{"3", "4", "2"}, LE, "8"}},
                   OPT,
                   "13",
                   {"2", "0", "1"}},
        RefProblem{"FractionalVertex",
                   true,
                   {"1", "2"},
                   "0",
                   {{{"3", "1"}, LE, "6"}, {{"1", "3"}, LE, "6"}},
                   OPT,
                   "9/2",
                   {"3/2", "3/2"}},
        RefProblem{"DietMinimum",
                   false,
                   {"2", "3"},
                   "0",
                   {{{"1", "1"}, GE, "4"}, {{"1", "3"}, GE, "6"}},
                   OPT,
                   "9",
                   {"3", "1"}},
        RefProblem{"DietFractional",
                   false,
                   {"1", "1"},
                   "0",
                   {{{"2", "1"}, GE, "4"}, {{"1", "3"}, GE, "6"}},
                   OPT,
                   "14/5",
                   {"6/5", "8/5"}},
        RefProblem{"SeventeenNinths",
                   true,
                   {"1", "1"},
                   "0",
                   {{{"1", "2"}, LE, "7"}, {{"2", "1"}, LE, "19/3"}},
                   OPT,
                   "40/9",
                   {"17/9", "23/9"}},
        RefProblem{"FractionalData",
                   true,
                   {"1/2", "1/3"},
                   "0",
                   {{{"2/3", "1"}, LE, "1"}, {{"1", "1/4"}, LE, "2"}},
                   OPT,
                   "3/4",
                   {"3/2", "0"}},
        RefProblem{"FreeTermCarried", true, {"1"}, "5", {{{"1"}, LE, "3"}}, OPT, "8", {"3"}},
        RefProblem{"DegenerateIntegerExample",
                   true,
                   {"0", "1"},
                   "0",
                   {{{"3", "2"}, LE, "6"}, {{"-3", "2"}, LE, "0"}},
                   OPT,
                   "3/2",
                   {"1", "3/2"}},
        RefProblem{"TiedOptimumEdge", true, {"1", "1"}, "0", {{{"1", "1"}, LE, "4"}}, OPT, "4", {}},
        RefProblem{"StartOutsideRegion",
                   true,
                   {"1", "1"},
                   "0",
                   {{{"1", "1"}, GE, "2"}, {{"1", "0"}, LE, "3"}, {{"0", "1"}, LE, "3"}},
                   OPT,
                   "6",
                   {"3", "3"}},
        RefProblem{"NegativeRightHandSide",
                   false,
                   {"1", "2"},
                   "0",
                   {{{"-1", "-1"}, LE, "-3"}, {{"1", "0"}, LE, "2"}},
                   OPT,
                   "4",
                   {"2", "1"}},
        RefProblem{"LargeCoefficients",
                   true,
                   {"1000", "999"},
                   "0",
                   {{{"999", "1000"}, LE, "1000000"}, {{"1000", "999"}, LE, "999999"}},
                   OPT,
                   "999999",
                   {}},
        RefProblem{"EqualityOnlyMinimum", false, {"1"}, "0", {{{"1"}, EQ, "2"}}, OPT, "2", {"2"}},
        RefProblem{"EqualityMixed",
                   true,
                   {"1", "1"},
                   "0",
                   {{{"1", "2"}, EQ, "4"}, {{"3", "1"}, LE, "6"}},
                   OPT,
                   "14/5",
                   {"8/5", "6/5"}},
        RefProblem{"EqualityBetweenInequalities",
                   true,
                   {"1", "1"},
                   "0",
                   {{{"1", "1"}, LE, "4"}, {{"1", "-1"}, EQ, "1"}, {{"0", "1"}, GE, "1"}},
                   OPT,
                   "4",
                   {"5/2", "3/2"}},
        RefProblem{"EqualityMaximisedCanonical", true, {"1", "1"}, "0", {{{"1", "1"}, EQ, "3"}}, OPT, "3", {}},
        RefProblem{"EqualityRedundantPair",
                   true,
                   {"1", "0"},
                   "0",
                   {{{"1", "1"}, EQ, "2"}, {{"2", "2"}, EQ, "4"}},
                   OPT,
                   "2",
                   {"2", "0"}},
        RefProblem{"ThreeVariablesMixedRelations",
                   false,
                   {"2", "3", "1"},
                   "0",
                   {{{"1", "1", "1"}, GE, "6"}, {{"1", "0", "-1"}, EQ, "1"}, {{"0", "1", "0"}, LE, "3"}},
                   OPT,
                   "19/2",
                   {"7/2", "0", "5/2"}},
        RefProblem{"OwnBasisSolvedAsItIs",
                   true,
                   {"2", "1", "0", "0"},
                   "0",
                   {{{"1", "1", "1", "0"}, EQ, "4"}, {{"1", "-1", "0", "1"}, EQ, "2"}},
                   OPT,
                   "7",
                   {"3", "1", "0", "0"}},
        RefProblem{"NoConstraintsMinimum", false, {"1", "2"}, "0", {}, OPT, "0", {"0", "0"}},
        RefProblem{"UnboundedMaximum", true, {"1", "1"}, "0", {{{"1", "-1"}, LE, "1"}}, Outcome::Unbounded, "", {}},
        RefProblem{"UnboundedMinimum", false, {"-1", "0"}, "0", {{{"-1", "1"}, LE, "2"}}, Outcome::Unbounded, "", {}},
        RefProblem{"NoConstraintsUnbounded", true, {"1"}, "0", {}, Outcome::Unbounded, "", {}},
        RefProblem{
            "InfeasibleBounds", true, {"1"}, "0", {{{"1"}, LE, "1"}, {{"1"}, GE, "2"}}, Outcome::Infeasible, "", {}},
        RefProblem{"InfeasibleSums",
                   false,
                   {"1", "0"},
                   "0",
                   {{{"1", "1"}, GE, "5"}, {{"1", "1"}, LE, "3"}},
                   Outcome::Infeasible,
                   "",
                   {}},
        RefProblem{"InfeasibleEquality",
                   true,
                   {"1", "1"},
                   "0",
                   {{{"1", "1"}, EQ, "5"}, {{"1", "0"}, LE, "1"}, {{"0", "1"}, LE, "1"}},
                   Outcome::Infeasible,
                   "",
                   {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
