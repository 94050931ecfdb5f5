// The simplex method driver: Gomory cuts, the guards against cycling, zero pivots and overflow, and
// the verdict texts.
#include "RatTestUtil.h"

#include "MessageRecorder.h"
#include "SimplexMethod.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_Pages.h"

#include <gtest/gtest.h>

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
  TStatementGrid t(TT_LINEAR, static_cast<std::int32_t>(objective.size()), static_cast<std::int32_t>(rows.size()));
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
  EXPECT_EQ(m.PivotCol, 3);
  EXPECT_EQ(m.PivotRow, 3);
  m.Solve();
  ASSERT_EQ(data.Table.State, SS_GOMORYCUT);
  EXPECT_RAT(data.Table.ValueOf("X1"), "2/3");
  EXPECT_RAT(data.Table.ValueOf("X2"), "1");
  m.Step(); // appends Y2 from row X1
  kt::ExpectRow(data.Table, 4, {"-2/3", "0", "0", "0", "-2/3", "-2/3", "1"});
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

TEST(SimplexMethod, OverflowStopsTheMethodWithoutAnOptimalPoint) {
  // The pivot 1/2147483647 turns B = 2147483647 into 2147483647^2, beyond 32-bit fractions.
  TSimplexTable t = kt::MakeTable({"X1", "X2"}, {"X2"}, {{"2147483647", "1/2147483647", "1"}}, {"0", "-1", "0"});
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
  EXPECT_TRUE(Contains(m.Hint, "слишком велики"));
  TZLPCore_SolutionResult report;
  m.WriteReport(data, report);
  const std::string text = report.GetText();
  EXPECT_TRUE(Contains(text, "вышли за пределы точных дробей"));
  EXPECT_FALSE(Contains(text, "экстремума"));
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
  EXPECT_EQ(report.Lines[0], "<H2>&bull; Симплекс метод</H2>");
  EXPECT_TRUE(Contains(report.Lines[1], "неободимо выполнить симплекс преобразование"));
  EXPECT_TRUE(Contains(report.Lines[2], "найдено оптимальное решение"));
  EXPECT_EQ(report.Lines[3],
            "<p>Функция достигает экстремума в точке:\r\n<pre>X<sub>1</sub> = 4\r\nX<sub>4</sub> = 2\r\n</pre>");
  EXPECT_TRUE(m.IterationReports.empty());
}

} // namespace
