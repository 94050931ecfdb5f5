// The simplex method driver: Gomory cuts, the guards against cycling, zero pivots and overflow, and
// the verdict texts.
#include "RatTestUtil.h"

#include "MessageRecorder.h"
#include "Pages.h"
#include "SimplexMethod.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string AllIterations(const TSimplexMethod& m) {
  std::string s;
  for (const auto& r : m.IterationReports) s += r->GetText();
  return s;
}

// A model from text rows: objective, then {coefficients..., relation, rhs}.
TZLPCore_SubInterface_ZLP Model(bool isMax, const std::vector<std::string>& objective,
                                const std::vector<std::vector<std::string>>& rows) {
  TStatementGrid t =
      NewStatement(TT_LINEAR, static_cast<std::int32_t>(objective.size()), static_cast<std::int32_t>(rows.size()));
  t.IsMax = isMax;
  for (std::size_t j = 0; j < objective.size(); ++j) t.SetCell(static_cast<std::int32_t>(j + 1), 0, objective[j]);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto y = static_cast<std::int32_t>(i + 1);
    const auto& r = rows[i];
    for (std::size_t j = 0; j + 2 < r.size(); ++j) t.SetCell(static_cast<std::int32_t>(j + 1), y, r[j]);
    t.Signs[i] = SignFromText(r[r.size() - 2]);
    t.SetCell(0, y, r.back());
  }
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(t, data, error)) << error.Field;
  return data.ZLP;
}

// Canonical form and first table of a model, in a container.
TZLPCore_Interface Prepared(const TZLPCore_SubInterface_ZLP& zlp) {
  TZLPCore_Interface data;
  data.ZLP.Assign(zlp);
  TZLPCore_SolutionResult report;
  data.ZLP.ToCanonical(report);
  EXPECT_TRUE(data.ZLP.BuildTable(&data.Table));
  data.SetFlag(IF_ZLP | IF_TABLE);
  return data;
}

TEST(SimplexMethod, IntegerExampleCutsY1ThenY2DownToTheIntegerPoint) {
  // maximise x2 with 3x1 + 2x2 <= 6, -3x1 + 2x2 <= 0, x1 and x2 integral
  TZLPCore_Interface data = Prepared(Model(true, {"0", "1"}, {{"3", "2", "<=", "6"}, {"-3", "2", "<=", "0"}}));
  data.Table.IntegerVars = {"X1", "X2"};
  TSimplexMethod m(data.Table);
  m.Start();
  EXPECT_EQ(data.Table.State, SS_PIVOT);
  EXPECT_EQ(m.PivotCol, 2);
  EXPECT_EQ(m.PivotRow, 2);
  m.Step();
  m.Step();
  ASSERT_EQ(data.Table.State, SS_GOMORYCUT);
  EXPECT_EQ(m.CutSourceRow, 2);
  EXPECT_TRUE(Contains(m.Hint, "переменная X2 не целочисленна"));
  EXPECT_RAT(data.Table.ValueOf("X1"), "1");
  EXPECT_RAT(data.Table.ValueOf("X2"), "3/2");

  m.Step(); // appends Y1
  ASSERT_EQ(data.Table.GetRowName(3), "Y1");
  kt::ExpectRow(data.Table, 3, {"-1/2", "0", "0", "-1/4", "-1/4", "1"});
  EXPECT_EQ(data.Table.State, SS_NEGATIVEB);
  // C3/|A| = C4/|A| = 1: the lexicographic rule compares the columns divided by 1/4 in the order of
  // the non-basic X3, X4 (entries -x): (1, 4, 0) for X3 against (1, 0, 4) for X4, so X4 enters.
  EXPECT_EQ(m.PivotCol, 4);
  EXPECT_EQ(m.PivotRow, 3);
  m.Solve();
  ASSERT_EQ(data.Table.State, SS_GOMORYCUT);
  EXPECT_RAT(data.Table.ValueOf("X1"), "4/3");
  EXPECT_RAT(data.Table.ValueOf("X2"), "1");
  m.Step(); // appends Y2 from row X1
  kt::ExpectRow(data.Table, 4, {"-1/3", "0", "0", "-1/3", "0", "-1/3", "1"});
  m.Solve();
  ASSERT_EQ(data.Table.State, SS_OPTIMAL);
  EXPECT_TRUE(m.Finished());
  for (const char* v : {"X1", "X2", "X3", "X4"}) EXPECT_RAT(data.Table.ValueOf(v), "1");
  EXPECT_RAT(data.Table.GetZValue(), "1");
  EXPECT_EQ(m.CutCounter, 3);
}

// Beale's example: the most-negative rule with the first tied row cycles through six bases.
TZLPCore_SubInterface_ZLP Beale() {
  return Model(true, {"3/4", "-150", "1/50", "-6"},
               {{"1/4", "-60", "-1/25", "9", "<=", "0"},
                {"1/2", "-90", "-1/50", "3", "<=", "0"},
                {"0", "0", "1", "0", "<=", "1"}});
}

TEST(SimplexMethod, BealeCyclesUnderThePlainRules) {
  TZLPCore_Interface data = Prepared(Beale());
  const std::vector<std::string> start = data.Table.RowNames();
  for (int k = 0; k < 6; ++k) {
    std::int32_t col = 0;
    std::int32_t row = 0;
    ASSERT_EQ(data.Table.Analyze(col, row), SS_PIVOT);
    data.Table.Pivot(col, row);
  }
  EXPECT_EQ(data.Table.RowNames(), start) << "the example no longer cycles, so the next test proves nothing";
}

TEST(SimplexMethod, RepeatedBasisSwitchesToBlandsRuleAndSolveEnds) {
  TZLPCore_Interface data = Prepared(Beale());
  TSimplexMethod m(data.Table);
  m.Start();
  m.Solve();
  ASSERT_EQ(data.Table.State, SS_OPTIMAL);
  EXPECT_EQ(m.Stop, TSimplexStop::None);
  EXPECT_EQ(m.Rule, TPivotRule::Bland);
  EXPECT_RAT(data.Table.GetZValue(), "1/20");
  EXPECT_RAT(data.Table.ValueOf("X1"), "1/25");
  EXPECT_RAT(data.Table.ValueOf("X3"), "1");
  EXPECT_TRUE(Contains(AllIterations(m), "правилу Бленда"));
}

TEST(SimplexMethod, RunWithoutRepeatedBasisKeepsThePlainRules) {
  TZLPCore_Interface data = Prepared(Model(true, {"3", "2"}, {{"1", "1", "<=", "4"}, {"1", "3", "<=", "6"}}));
  TSimplexMethod m(data.Table);
  m.Start();
  m.Solve();
  EXPECT_EQ(m.Rule, TPivotRule::MostNegative);
  EXPECT_EQ(m.IterationReports.size(), 2u);
  EXPECT_FALSE(Contains(AllIterations(m), "Бленда"));
}

TEST(SimplexMethod, ZeroPivotClickIsRefusedWithAReason) {
  TZLPCore_Interface data = Prepared(Model(true, {"3", "2"}, {{"1", "0", "<=", "4"}, {"1", "3", "<=", "6"}}));
  TSimplexMethod m(data.Table);
  m.Start();
  const std::int32_t col = m.PivotCol;
  const std::int32_t row = m.PivotRow;
  EXPECT_FALSE(m.ChoosePivot(2, 1)); // a(X2, row 1) is 0
  EXPECT_EQ(m.PivotCol, col);
  EXPECT_EQ(m.PivotRow, row);
  EXPECT_EQ(m.Hint, TSimplexMethod::HintZeroPivot);
  EXPECT_TRUE(m.ChoosePivot(2, 2)); // a wrong-sign or non-proposed pivot stays allowed
  EXPECT_EQ(m.PivotCol, 2);
  m.Step();
  EXPECT_FALSE(data.Table.HasInvalidCell());
}

TEST(SimplexMethod, InconsistentRowIsNamedAndCalledInfeasible) {
  // x1 >= 2 and x1 <= 1: after the first pivot row 2 reads x3 + x4 = -1 with non-negative coefficients
  TZLPCore_Interface data = Prepared(Model(true, {"1"}, {{"1", ">=", "2"}, {"1", "<=", "1"}}));
  TSimplexMethod m(data.Table);
  m.Start();
  m.Solve();
  ASSERT_EQ(data.Table.State, SS_MANYSOLUTIONS);
  const std::string last = m.IterationReports.back()->GetText();
  EXPECT_TRUE(Contains(last, "несовместна")) << last;
  EXPECT_TRUE(Contains(last, "не имеет допустимых решений")) << last;
  EXPECT_FALSE(Contains(last, "бесконечно много")) << last;
  EXPECT_TRUE(Contains(m.Hint, "несовместна"));
  std::int32_t i = 1;
  while (!RatLessInt(data.Table.GetB(i), 0)) ++i;
  EXPECT_TRUE(Contains(last, "B<sub>" + std::to_string(i) + "</sub>&lt;0")) << last;
}

TEST(SimplexMethod, ValuesBeyond32BitsReachTheExactOptimum) {
  // The pivot 1/2147483647 turns B = 2147483647 into 2147483647^2, beyond 32-bit fractions.
  TSimplexTable t = kt::MakeTable({"X1", "X2"}, {"X2"}, {{"2147483647", "1/2147483647", "1"}}, {"0", "-1", "0"});
  TZLPCore_Interface data;
  data.Table.Assign(t);
  data.SetFlag(IF_ZLP | IF_TABLE);
  TSimplexMethod m(data.Table);
  m.Start();
  ASSERT_EQ(data.Table.State, SS_PIVOT);
  m.Solve();
  EXPECT_EQ(m.Stop, TSimplexStop::None);
  EXPECT_EQ(data.Table.State, SS_OPTIMAL);
  EXPECT_EQ(RatToStr(data.Table.ValueOf("X1")), "4611686014132420609");
  EXPECT_EQ(RatToStr(data.Table.GetZValue()), "4611686014132420609");
  TZLPCore_SolutionResult report;
  m.WriteReport(data, report);
  const std::string text = report.GetText();
  // The last table shows its numbers in full.
  EXPECT_TRUE(Contains(text, ">4611686014132420609<")) << text;
  EXPECT_FALSE(Contains(text, "&lt;err&gt;"));
  // Taking the pivot back restores the first table exactly.
  ASSERT_TRUE(m.Undo());
  for (std::int32_t c = 0; c <= 2; ++c) EXPECT_TRUE(kt::SameRat("cell", "", data.Table.GetCell(c, 1), t.GetCell(c, 1)));
  EXPECT_FALSE(data.Table.IsBig());
}

TEST(SimplexMethod, NumbersBeyondTheDigitLimitStopTheMethod) {
  // B = 10^60000 over the pivot 10^-60000: the new free term has 120001 digits, beyond RatMaxDigits.
  mpz_class huge = 1;
  mpz_ui_pow_ui(huge.get_mpz_t(), 10, 60000);
  TSimplexTable t = kt::MakeTable({"X1", "X2"}, {"X2"}, {{"1", "1", "1"}}, {"0", "-1", "0"});
  t.SetB(1, RatFromMpq(mpq_class(huge)));
  t.SetA(1, 1, RatFromMpq(mpq_class(mpz_class(1), huge)));
  TZLPCore_Interface data;
  data.Table.Assign(t);
  data.SetFlag(IF_ZLP | IF_TABLE);
  TSimplexMethod m(data.Table);
  m.Start();
  ASSERT_EQ(data.Table.State, SS_PIVOT);
  m.Solve();
  EXPECT_EQ(m.Stop, TSimplexStop::Overflow);
  EXPECT_TRUE(m.Finished());
  EXPECT_FALSE(m.PivotPending());
  TZLPCore_SolutionResult report;
  m.WriteReport(data, report);
  const std::string text = report.GetText();
  EXPECT_TRUE(Contains(text, "100000 десятичных знаков")) << text.substr(0, 2000);
  EXPECT_FALSE(Contains(text, "32-бит"));
  EXPECT_FALSE(data.HasFlag(IF_SOLUTION));
}

TEST(SimplexMethod, ReportHoldsHeadingIterationsAndThePoint) {
  TZLPCore_Interface data = Prepared(Model(true, {"3", "2"}, {{"1", "1", "<=", "4"}, {"1", "3", "<=", "6"}}));
  TSimplexMethod m(data.Table);
  m.Start();
  m.Solve();
  TZLPCore_SolutionResult report;
  m.WriteReport(data, report);
  ASSERT_EQ(report.Lines.size(), 4u);
  EXPECT_EQ(report.Lines[0], "<H2>&bull; Симплекс-метод</H2>");
  EXPECT_TRUE(Contains(report.Lines[1], "необходимо выполнить симплекс-преобразование"));
  EXPECT_TRUE(Contains(report.Lines[2], "найдено оптимальное решение"));
  EXPECT_EQ(report.Lines[3],
            "<p>Функция достигает экстремума в точке:\r\n<pre>X<sub>1</sub> = 4\r\nX<sub>4</sub> = 2\r\n</pre>");
  // The iterations stay with the method: written again, after a step taken back and made again, the
  // section is the same.
  EXPECT_EQ(m.IterationReports.size(), 2u);
  ASSERT_TRUE(m.Undo());
  m.Step();
  TZLPCore_SolutionResult again;
  m.WriteReport(data, again);
  EXPECT_EQ(again.Lines, report.Lines);
}

// ---------------------------------------------------------------- problems that end only with the new rules

// A problem in the text form, read as the input step reads it.
TZLPCore_Interface ReadText(const std::string& text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  EXPECT_TRUE(statement.has_value()) << error.Message;
  TZLPCore_Interface data;
  TStatementError readError;
  EXPECT_TRUE(statement && ReadStatement(*statement, data, readError)) << readError.Field;
  return data;
}

TZLPCore_SubInterface_ZLP FromText(const std::string& text) { return ReadText(text).ZLP; }

struct THardCase {
  const char* Name;
  const char* Text;
  TTaskStatus Verdict;
  const char* Value;   // the optimum as stated, for an optimal verdict
  bool NeedsDualBland; // the run reaches a repeated basis while removing negative free terms
};

class HardProblems : public ::testing::TestWithParam<THardCase> {};

// Run as "Решить" and "Далее" run it, then the verdict proved from the original data in test-side
// fractions: for an optimum a feasible point and dual multipliers (the Z entries of the added
// columns) giving the same value; for inconsistent constraints nonnegative multipliers (the row of
// the final table) that combine the rows into 0 <= (a negative number).
TEST_P(HardProblems, EndWithTheirTrueVerdictAndItsCertificate) {
  const THardCase& c = GetParam();
  const TZLPCore_SubInterface_ZLP original = FromText(c.Text);
  TZLPCore_Interface data = Prepared(original);
  TSimplexMethod m(data.Table);
  m.Start();
  while (!m.Finished()) {
    m.Solve();
    m.Step();
  }
  ASSERT_EQ(m.Stop, TSimplexStop::None);
  EXPECT_EQ(m.Feasibility == TFeasibilityRule::DualBland, c.NeedsDualBland);
  const TSimplexTable& t = data.Table;
  const std::int32_t n = original.VarCount();
  const std::int32_t rows = original.ConstraintCount();
  // Row i as entered times its sign in the canonical form: every row reads sum a x <= b.
  const auto sign = [&](std::int32_t i) { return original.GetSign(i) == IS_ABOVEOREQUAL ? -1 : 1; };
  const auto a = [&](std::int32_t j, std::int32_t i) {
    return kt::Mul(kt::Frac{sign(i), 1}, kt::ToFrac(original.Coeffs.GetItem(j, i)));
  };
  const auto b = [&](std::int32_t i) { return kt::Mul(kt::Frac{sign(i), 1}, kt::ToFrac(original.RHS.GetItem(i))); };
  const auto y = [&](std::int32_t i, std::int32_t row) { return kt::ToFrac(t.GetCell(n + i, row)); };
  if (c.Verdict == TTaskStatus::Infeasible) {
    ASSERT_EQ(t.State, SS_MANYSOLUTIONS);
    std::int32_t r = 1;
    while (r <= t.RowCount() && !RatLessInt(t.GetB(r), 0)) ++r;
    ASSERT_LE(r, t.RowCount());
    kt::Frac rhs{0, 1};
    for (std::int32_t i = 1; i <= rows; ++i) {
      EXPECT_GE(y(i, r).n, 0) << "multiplier of row " << i;
      rhs = kt::Add(rhs, kt::Mul(y(i, r), b(i)));
    }
    for (std::int32_t j = 1; j <= n; ++j) {
      kt::Frac lhs{0, 1};
      for (std::int32_t i = 1; i <= rows; ++i) lhs = kt::Add(lhs, kt::Mul(y(i, r), a(j, i)));
      EXPECT_GE(lhs.n, 0) << "combined coefficient of X" << j;
    }
    EXPECT_LT(rhs.n, 0) << "combined right-hand side " << kt::Show(rhs);
    return;
  }
  ASSERT_EQ(t.State, SS_OPTIMAL);
  ASSERT_TRUE(original.IsMax) << "the certificate below is written for a maximum";
  std::vector<kt::Frac> x(static_cast<std::size_t>(n));
  kt::Frac value{0, 1};
  for (std::int32_t j = 1; j <= n; ++j) {
    x[j - 1] = kt::ToFrac(t.ValueOf("X" + std::to_string(j)));
    EXPECT_GE(x[j - 1].n, 0);
    value = kt::Add(value, kt::Mul(kt::ToFrac(original.Objective.GetItem(j)), x[j - 1]));
  }
  EXPECT_EQ(kt::Cmp(value, kt::ToFrac(kt::R(c.Value))), 0) << kt::Show(value);
  EXPECT_RAT(t.GetZValue(), c.Value);
  kt::Frac dual{0, 1};
  for (std::int32_t i = 1; i <= rows; ++i) {
    kt::Frac lhs{0, 1};
    for (std::int32_t j = 1; j <= n; ++j) lhs = kt::Add(lhs, kt::Mul(a(j, i), x[j - 1]));
    EXPECT_LE(kt::Cmp(lhs, b(i)), 0) << "row " << i;
    EXPECT_GE(y(i, 0).n, 0) << "dual multiplier of row " << i;
    dual = kt::Add(dual, kt::Mul(y(i, 0), b(i)));
  }
  for (std::int32_t j = 1; j <= n; ++j) {
    kt::Frac reduced{0, 1};
    for (std::int32_t i = 1; i <= rows; ++i) reduced = kt::Add(reduced, kt::Mul(y(i, 0), a(j, i)));
    EXPECT_GE(kt::Cmp(reduced, kt::ToFrac(original.Objective.GetItem(j))), 0) << "dual row of X" << j;
  }
  EXPECT_EQ(kt::Cmp(dual, value), 0) << "dual value " << kt::Show(dual);
}

INSTANTIATE_TEST_SUITE_P(Cases, HardProblems,
                         ::testing::Values(
                             // Random problems that the first-negative rule sends round a circle of bases.
                             THardCase{
                                 "InfeasibleSixByTwelve",
                                 "min 7 9 -1 -5 -4 8\n9 6 4 -2 -3 6 <= 11\n7 8 5 2 9 -4 >= -1\n-4 -2 0 -2 -2 2 <= 28\n"
                                 "-5 4 5 7 -3 2 >= 5\n-3 5 6 -4 7 -4 >= 30\n7 -4 -5 8 -3 -4 >= 24\n9 1 -3 -2 0 4 <= 4\n"
                                 "1 8 2 4 -1 -1 <= 25\n3 2 2 3 0 -2 <= 22\n-2 9 3 7 9 -3 <= 14\n6 4 3 8 7 0 >= -2\n"
                                 "1 4 4 7 -1 9 <= 12\n",
                                 TTaskStatus::Infeasible, "", true},
                             THardCase{"OptimalEightByTen",
                                       "max 1 -1 0 2 5 8 -1 8\n1 1 8 6 3 5 6 0 >= -5\n-2 0 4 9 1 5 3 1 <= 23\n"
                                       "3 6 -2 -2 -2 7 6 2 >= 12\n6 2 6 8 3 2 9 6 <= 20\n7 -2 3 3 1 9 0 -2 >= 9\n"
                                       "1 3 0 1 3 3 1 2 >= 17\n0 -2 -1 3 2 7 8 9 >= 14\n7 6 8 6 3 -2 5 5 <= 7\n"
                                       "7 -2 9 1 7 1 -2 1 >= 7\n-2 8 5 4 -1 1 1 9 <= 8\n",
                                       TTaskStatus::Optimal, "662/13", true},
                             // Products inside the pivot outgrow 32 bits, every table fits.
                             THardCase{"FifteenByTwelve",
                                       "max 6 3 7 1 2 9 2 6 1 9 4 1 2 7 7\n3 1 6 0 1 3 0 6 0 3 0 2 4 6 2 <= 24\n"
                                       "1 4 2 1 3 5 1 1 0 3 7 6 5 7 7 <= 54\n4 3 2 3 1 4 7 5 7 4 1 1 6 2 5 <= 43\n"
                                       "7 6 0 1 5 5 5 7 7 1 1 4 7 1 0 <= 29\n7 4 6 5 0 7 5 2 1 7 0 3 4 2 3 <= 39\n"
                                       "6 7 1 2 7 6 4 2 6 4 6 5 6 3 2 <= 45\n2 2 3 3 0 7 2 4 4 0 2 6 5 5 2 <= 25\n"
                                       "0 7 6 6 6 6 1 7 6 0 3 1 3 7 2 <= 52\n5 0 1 0 2 1 5 0 1 3 6 2 4 5 5 <= 27\n"
                                       "1 1 7 7 7 7 4 1 2 1 5 4 7 2 0 <= 50\n5 2 0 4 1 4 5 2 5 3 5 3 3 3 6 <= 33\n"
                                       "3 7 5 0 0 4 7 4 3 5 7 5 5 1 3 <= 34\n",
                                       TTaskStatus::Optimal, "202361/3113", false}),
                         [](const ::testing::TestParamInfo<THardCase>& info) { return info.param.Name; });

// ---------------------------------------------------------------- the student's own pivot, and steps taken back

struct TChoiceCase {
  const char* Name;
  std::int32_t Col;
  std::int32_t Row;
  std::vector<std::string> Says; // parts of the paragraph about the element used
};

class StudentsPivot : public ::testing::TestWithParam<TChoiceCase> {};

// The product mix proposes A(1,1); the iteration report is written for the element the student clicks:
// the table shaded on it, the element named with the variables that enter and leave, the verdict on
// the rules and the ratios of its column. Clicking the proposal again gives the report of no click.
TEST_P(StudentsPivot, IsWhatTheIterationReportDescribes) {
  const TChoiceCase& c = GetParam();
  TZLPCore_Interface data = Prepared(Model(true, {"3", "2"}, {{"1", "1", "<=", "4"}, {"1", "3", "<=", "6"}}));
  TSimplexMethod m(data.Table);
  m.Start();
  const std::string proposed = m.IterationReports.back()->GetText();
  EXPECT_TRUE(Contains(proposed, "<p>Разрешающий элемент A<sub>1,1</sub> = 1: в базис вводится X<sub>1</sub>, из "
                                 "базиса выводится X<sub>3</sub>.\r\n"));
  EXPECT_TRUE(Contains(proposed, "<p>Отношения B<sub>i</sub>/A<sub>i,1</sub> при A<sub>i,1</sub>&gt;0: "
                                 "B<sub>1</sub>/A<sub>1,1</sub> = 4 (наименьшее); B<sub>2</sub>/A<sub>2,1</sub> = 6."));
  ASSERT_TRUE(m.ChoosePivot(c.Col, c.Row));
  ASSERT_EQ(m.IterationReports.size(), 1u);
  const std::string chosen = m.IterationReports.back()->GetText();
  EXPECT_TRUE(chosen.starts_with(data.Table.ToHtml(c.Col, c.Row) + "\r\n")) << chosen;
  EXPECT_TRUE(Contains(chosen, "Нашлись C<sub>1</sub>&lt;0, и A<sub>1,1</sub>&gt;0")) << chosen;
  for (const std::string& part : c.Says) EXPECT_TRUE(Contains(chosen, part)) << part << "\n" << chosen;
  ASSERT_TRUE(m.ChoosePivot(1, 1));
  EXPECT_EQ(m.IterationReports.back()->GetText(), proposed);
  ASSERT_TRUE(m.ChoosePivot(c.Col, c.Row));
  m.Step();
  EXPECT_EQ(m.IterationReports.front()->GetText(), chosen) << "the pivot made must be the one described";
  EXPECT_EQ(data.Table.GetRowName(c.Row), "X" + std::to_string(c.Col));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StudentsPivot,
    ::testing::Values(
        TChoiceCase{"AnotherColumnByTheRules",
                    2,
                    2,
                    {"выбран вручную: A<sub>2,2</sub> = 3 вместо предложенного A<sub>1,1</sub>; этот элемент тоже "
                     "удовлетворяет правилам симплекс-метода. При этом в базис вводится X<sub>2</sub>, из базиса "
                     "выводится X<sub>4</sub>.",
                     "B<sub>1</sub>/A<sub>1,2</sub> = 4; B<sub>2</sub>/A<sub>2,2</sub> = 2 (наименьшее)."}},
        TChoiceCase{"RowWithoutTheSmallestRatio",
                    1,
                    2,
                    {"не удовлетворяет правилам симплекс-метода: отношение B<sub>2</sub>/A<sub>2,1</sub> = 6 не "
                     "наименьшее в столбце, и отрицательными станут B<sub>i</sub> строк с меньшим отношением: "
                     "новый план будет недопустимым. Допустимость восстанавливается на следующих шагах: строка с "
                     "отрицательным B<sub>i</sub> становится разрешающей, как в двойственном симплекс-методе.",
                     "из базиса выводится X<sub>4</sub>"}},
        TChoiceCase{"ColumnThatCannotImprove",
                    3,
                    1,
                    {"не удовлетворяет правилам симплекс-метода: C<sub>3</sub>&ge;0, и значение функции не "
                     "увеличится",
                     "в базис вводится X<sub>3</sub>, из базиса выводится X<sub>3</sub>"}}),
    [](const ::testing::TestParamInfo<TChoiceCase>& info) { return info.param.Name; });

// Everything the student sees of the method, to compare before a step and after taking it back.
struct TSnapshot {
  std::string Table;
  std::vector<std::string> Names;
  TSimplexState State;
  std::int32_t PivotCol;
  std::int32_t PivotRow;
  std::string Hint;
  std::string Reports;
  TPivotRule Rule;
  TFeasibilityRule Feasibility;
  std::int32_t CutCounter;

  static TSnapshot Of(const TSimplexMethod& m) {
    std::string cells;
    for (std::int32_t r = 0; r <= m.Table.RowCount(); ++r)
      for (std::int32_t c = 0; c <= m.Table.ColCount(); ++c) cells += kt::Show(m.Table.GetCell(c, r)) + " ";
    std::vector<std::string> names = m.Table.RowNames();
    names.insert(names.end(), m.Table.ColNames().begin(), m.Table.ColNames().end());
    return {cells,  names,         m.Table.State, m.PivotCol, m.PivotRow, m.Hint, AllIterations(m),
            m.Rule, m.Feasibility, m.CutCounter};
  }
  bool operator==(const TSnapshot&) const = default;
};

// Pivots, cuts, a rule switch and a student's pivot taken back one by one: each time the table, the
// state, the pivot, the hint and the reports are again those before the step; done again, the run
// ends with the same report.
TEST(SimplexMethod, UndoTakesBackEveryStepExactly) {
  struct TCase {
    const char* Name;
    TZLPCore_Interface Data;
  };
  TZLPCore_Interface integer = Prepared(Model(true, {"0", "1"}, {{"3", "2", "<=", "6"}, {"-3", "2", "<=", "0"}}));
  integer.Table.IntegerVars = {"X1", "X2"};
  TCase cases[] = {
      {"integer example with two cuts", std::move(integer)},
      {"negative free terms in a circle",
       Prepared(FromText("max 1 -1 0 2 5 8 -1 8\n1 1 8 6 3 5 6 0 >= -5\n-2 0 4 9 1 5 3 1 <= 23\n"
                         "3 6 -2 -2 -2 7 6 2 >= 12\n6 2 6 8 3 2 9 6 <= 20\n7 -2 3 3 1 9 0 -2 >= 9\n"
                         "1 3 0 1 3 3 1 2 >= 17\n0 -2 -1 3 2 7 8 9 >= 14\n7 6 8 6 3 -2 5 5 <= 7\n"
                         "7 -2 9 1 7 1 -2 1 >= 7\n-2 8 5 4 -1 1 1 9 <= 8\n"))},
      {"Beale", Prepared(Beale())},
      {"overflow", {}},
  };
  cases[3].Data.Table.Assign(
      kt::MakeTable({"X1", "X2"}, {"X2"}, {{"2147483647", "1/2147483647", "1"}}, {"0", "-1", "0"}));
  for (TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSimplexMethod m(c.Data.Table);
    m.Start();
    EXPECT_FALSE(m.CanUndo());
    EXPECT_FALSE(m.Undo());
    if (m.PivotPending() && m.Table.RowCount() > 1) m.ChoosePivot(m.PivotCol, m.Table.RowCount() == 2 ? 2 : 1);
    std::vector<TSnapshot> before;
    while (!m.Finished()) {
      before.push_back(TSnapshot::Of(m));
      m.Step();
    }
    const TSnapshot end = TSnapshot::Of(m);
    ASSERT_FALSE(before.empty());
    while (!before.empty()) {
      ASSERT_TRUE(m.CanUndo());
      ASSERT_TRUE(m.Undo());
      ASSERT_TRUE(TSnapshot::Of(m) == before.back()) << "after taking back step " << before.size();
      before.pop_back();
    }
    EXPECT_FALSE(m.CanUndo());
    if (m.PivotPending() && m.Table.RowCount() > 1) m.ChoosePivot(m.PivotCol, m.Table.RowCount() == 2 ? 2 : 1);
    while (!m.Finished()) m.Step();
    EXPECT_TRUE(TSnapshot::Of(m) == end) << "done again, the run ends elsewhere";
  }
}

// ---------------------------------------------------------------- tables too large for a page

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

// The values written after "значение Z в ней равно " in order.
std::vector<std::string> OmittedValues(const std::string& page) {
  std::vector<std::string> values;
  const std::string key = "(не показана): значение Z в ней равно ";
  for (auto at = page.find(key); at != std::string::npos; at = page.find(key, at + 1)) {
    const auto from = at + key.size();
    values.push_back(page.substr(from, page.find('.', from) - from));
  }
  return values;
}

// Maximise sum c_j x_j with x_j <= b_j, one row per variable, all c_j different: every pivot brings
// in the variable of the largest c_j left and adds its c_j b_j to the objective. terms is set to the
// c_j b_j in that order (whatever it held before).
std::string Boxes(int n, std::vector<long long>& terms) {
  terms.clear();
  std::ostringstream text;
  text << "max";
  std::vector<int> c(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) text << ' ' << (c[static_cast<std::size_t>(j)] = 1000 + (j * 37) % 997);
  text << '\n';
  for (int i = 0; i < n; ++i) {
    const int b = 1 + i % 5;
    for (int j = 0; j < n; ++j) text << (j == i ? "1 " : "0 ");
    text << "<= " << b << '\n';
    terms.push_back(static_cast<long long>(c[static_cast<std::size_t>(i)]) * b);
  }
  std::vector<std::size_t> order(terms.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&c](std::size_t a, std::size_t b) { return c[a] > c[b]; });
  std::vector<long long> sorted;
  for (const std::size_t k : order) sorted.push_back(terms[k]);
  terms = sorted;
  return text.str();
}

TTaskVerdict RunText(const std::string& text, TZLPCore_SolutionResult& report) {
  TZLPCore_Interface data = ReadText(text);
  return RunTask(TT_LINEAR, data, report);
}

// 100 variables and 100 rows make tables of 101 x 201 cells, over the limit of a page: the report
// shows the first and the last table and tells each pivot between them with the value of Z.
TEST(SimplexMethod, TablesTooLargeForAPageAreToldByTheirSentences) {
  std::vector<long long> terms;
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunText(Boxes(100, terms), report);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal);
  std::vector<std::string> expected; // Z before pivots 2..100
  long long z = 0;
  for (std::size_t k = 0; k + 1 < terms.size(); ++k) expected.push_back(std::to_string(z += terms[k]));
  EXPECT_EQ(RatToStr(*v.Objective), std::to_string(z + terms.back()));

  const std::string page = report.GetText();
  EXPECT_EQ(Count(page, "<td class=\"clsSimCell\">Z</td>"), 2u) << "the first and the last table";
  EXPECT_EQ(OmittedValues(page), expected);
  EXPECT_EQ(Count(page, "в базис вводится"), 100u) << "every pivot names the variables that enter and leave";
  EXPECT_TRUE(Contains(page, "таблица больше 1&nbsp;500 клеток показана полностью, только если она первая или "
                             "последняя"));
  // The last table is the optimal one, by blocks of rows: every variable's row once, the optimum in Z.
  const std::size_t from = page.rfind("(не показана)");
  const std::string last = page.substr(from, page.find("Двойственная задача", from) - from);
  EXPECT_EQ(Count(last, "<tr><td class=\"clsSimCell\">X"), 100u);
  EXPECT_TRUE(Contains(last.substr(last.rfind("<td class=\"clsSimCell\">Z</td>")),
                       "<td class=\"clsSimCell\">" + RatToStr(*v.Objective) + "</td>"));
}

// 255 equations X_i = 1 over 255 variables: each becomes two rows, a table of 511 x 766 cells.
// Writing every table would take gigabytes; the report stays small.
TEST(SimplexMethod, LargestEquationSystemEndsWithASmallReport) {
  std::string text = "max";
  for (int j = 0; j < 255; ++j) text += " 1";
  text += '\n';
  for (int i = 0; i < 255; ++i) {
    for (int j = 0; j < 255; ++j) text += i == j ? "1 " : "0 ";
    text += "= 1\n";
  }
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunText(text, report);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal);
  EXPECT_EQ(RatToStr(*v.Objective), "255");
  EXPECT_TRUE(std::all_of(v.X.begin(), v.X.end(), [](TRational x) { return RatEqualsInt(x, 1); }));
  const std::string page = report.GetText();
  // The first and the last table, each by the dense form of its first and last 10 rows of 510, and
  // the point in full below them.
  EXPECT_EQ(Count(page, "<tr><td>Z</td>"), 2u) << "the first and the last table";
  EXPECT_EQ(Count(page, "строки 11&ndash;500 не показаны"), 2u);
  const std::size_t tables = page.find("class=\"clsSimTbl clsDense\"");
  const std::string shown = page.substr(tables, page.find("Двойственная задача") - tables);
  EXPECT_EQ(Count(shown, "<tr><td>X") + Count(shown, "<tr><td class=\"clsSelCell\">X"), 2u * 20u)
      << "the first table's pivot row is marked";
  EXPECT_EQ(Count(shown, "class=\"clsSimCell\""), 0u);
  EXPECT_TRUE(Contains(page, "X<sub>255</sub> = 1"));
  EXPECT_LT(page.size(), std::size_t{5} << 20);
  // The 511 tables (510 pivots and the optimum) go by blocks of ten, each with its estimated height.
  EXPECT_EQ(Count(page, "<div class=\"clsSteps\" style=\"--em:"), 52u);
  // Every dual step lists the negative free terms, one fewer each time, by the first ten, the row
  // chosen and their number.
  const std::string key = "выбираем строку с отрицательным свободным членом (";
  std::vector<int> counts;
  for (auto at = page.find(key); at != std::string::npos; at = page.find(key, at + 1)) {
    const std::size_t end = page.find(") — ", at);
    const std::string list = page.substr(at + key.size(), end - at - key.size());
    const std::string word = "строку ";
    const std::size_t row = page.find(word, end) + word.size();
    const std::string chosen = "B<sub>" + page.substr(row, page.find_first_of(" ,", row) - row) + "</sub>";
    EXPECT_TRUE(Contains(list, chosen)) << list;
    const std::size_t total = list.rfind("(всего ");
    counts.push_back(total == std::string::npos ? static_cast<int>(Count(list, "<sub>"))
                                                : std::stoi(list.substr(total + std::string("(всего ").size())));
    EXPECT_LE(Count(list, "<sub>"), total == std::string::npos ? 20u : 11u);
  }
  ASSERT_EQ(counts.size(), 255u);
  for (std::size_t k = 0; k < counts.size(); ++k) EXPECT_EQ(counts[k], 255 - static_cast<int>(k));
}

// A problem of up to 20 variables and 20 constraints keeps every table in the report.
TEST(SimplexMethod, EveryTableOfATwentyByTwentyProblemIsShown) {
  std::vector<long long> terms;
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunText(Boxes(20, terms), report);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal);
  const std::string page = report.GetText();
  EXPECT_EQ(Count(page, "<td class=\"clsSimCell\">Z</td>"), 21u);
  EXPECT_FALSE(Contains(page, "(не показана)"));
}

// Once the tables shown fill the report, the others are told by their sentences; the last one is
// shown still, also after steps taken back and made again.
TEST(SimplexMethod, TablesBeyondTheReportsShareAreToldAndTheLastShown) {
  std::vector<long long> terms;
  const auto run = [&](const std::function<void(TSimplexMethod&)>& drive) {
    TZLPCore_Interface data = Prepared(FromText(Boxes(6, terms)));
    TSimplexMethod m(data.Table);
    m.CellsPerReport = 2 * 7 * 13; // two tables of 7 rows and 13 columns
    m.Start();
    drive(m);
    TZLPCore_SolutionResult report;
    m.WriteReport(data, report);
    return report.GetText();
  };
  const std::string straight = run([](TSimplexMethod& m) { m.Solve(); });
  EXPECT_EQ(Count(straight, "<table"), 3u);
  EXPECT_EQ(OmittedValues(straight).size(), 4u);
  EXPECT_TRUE(Contains(straight, "поместятся в отчёт: полностью показаны таблицы, пока в них не больше 182 клеток, "
                                 "и последняя таблица"));
  const std::string retaken = run([](TSimplexMethod& m) {
    m.Solve();
    ASSERT_TRUE(m.Undo());
    ASSERT_TRUE(m.Undo());
    m.Solve();
  });
  EXPECT_EQ(retaken, straight);
}

// Once the iterations told fill their share of the report, each later one is told by a line with
// its value of Z and its pivot, and after as many such lines as allowed the rest are counted; the
// last table is shown in full.
TEST(SimplexMethod, IterationsBeyondTheTextBudgetAreToldByALine) {
  constexpr int n = 20; // n pivots, tables 1 ... n + 1, every one small enough to be shown
  std::vector<long long> terms;
  TZLPCore_Interface data = Prepared(FromText(Boxes(n, terms)));
  TSimplexMethod m(data.Table);
  m.IterationText = 100000;
  m.BriefIterations = 12;
  m.Start();
  m.Solve();
  TZLPCore_SolutionResult report;
  m.WriteReport(data, report);
  const std::string page = report.GetText();
  const std::string key = "начиная с симплекс-таблицы ";
  const std::size_t from = page.find(key);
  ASSERT_NE(from, std::string::npos);
  const int first = std::stoi(page.substr(from + key.size()));
  ASSERT_GT(first, 1);
  ASSERT_LT(first + 12, n);
  // Z in table k is the sum of the first k - 1 terms; each line names the variable entering.
  std::vector<long long> z{0};
  for (const long long t : terms) z.push_back(z.back() + t);
  for (int k = first; k < first + 12; ++k)
    EXPECT_TRUE(Contains(page, "<p><b>Симплекс-таблица " + std::to_string(k) + "</b>: Z = " +
                                   std::to_string(z[static_cast<std::size_t>(k - 1)]) + "; в базис вводится X<sub>"))
        << k;
  EXPECT_TRUE(Contains(page, "<p>Симплекс-таблицы " + std::to_string(first + 12) + "&ndash;" + std::to_string(n) +
                                 " (" + CountText(n - first - 11, "шаг", "шага", "шагов") +
                                 ") не описаны: значение Z в них меняется с " +
                                 std::to_string(z[static_cast<std::size_t>(first + 11)]) + " до " +
                                 std::to_string(z[static_cast<std::size_t>(n - 1)]) + "."));
  EXPECT_EQ(Count(page, "<td class=\"clsSimCell\">Z</td>"), static_cast<std::size_t>(first))
      << "the tables told and the last";
}

} // namespace
