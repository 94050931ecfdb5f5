// Integer programs: which columns are integer, the exact rows of the fractional and the mixed cut, the
// scaling of all-integer rows, and the ends of the method that are not an optimum.
#include "RatTestUtil.h"

#include "Gomory.h"
#include "MessageRecorder.h"
#include "Pages.h"
#include "SimplexMethod.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TZLPCore_Interface Read(const char* text) {
  TTextFormatError textError;
  const auto grid = ParseStatementText(text, textError);
  EXPECT_TRUE(grid.has_value()) << textError.Message;
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(grid && ReadStatement(*grid, data, error)) << error.Message;
  return data;
}

// Source row X1 = 7/3 (f0 = 1/3, so f0 / (1 - f0) = 1/2) over integer columns X2, X3, X6 and
// continuous X4, X5: the mixed cut takes each kind of column through its own branch.
TEST(GomoryCut, MixedCutHasTheCoefficientOfEveryKindOfColumn) {
  TSimplexTable t =
      kt::MakeTable({"X1", "X2", "X3", "X4", "X5", "X6"}, {"X1"}, {{"7/3", "1", "5/4", "-1/3", "2/3", "-3/5", "7/3"}},
                    {"0", "0", "1", "1", "1", "1", "1"});
  TIntegerColumns integer{"X1", "X2", "X3", "X6"};
  ASSERT_EQ(CutKind(t, 1, integer), TGomoryCut::Mixed);
  AppendCut(t, 1, "Y1", integer);
  ASSERT_EQ(t.RowCount(), 2);
  EXPECT_EQ(t.GetRowName(2), "Y1");
  EXPECT_EQ(t.GetColName(7), "Y1");
  // X2: f = 1/4 <= f0 gives 1/4; X3: f = 2/3 > f0 gives 1/3 * 1/3 / (2/3) = 1/6; X4: 2/3 >= 0 as it
  // is; X5: 1/3 * 3/5 / (2/3) = 3/10; X6: f = 1/3 = f0 gives 1/3. Written negated, B = -f0.
  kt::ExpectRow(t, 2, {"-1/3", "0", "-1/4", "-1/6", "-2/3", "-3/10", "-1/3", "1"});
  kt::ExpectRow(t, 0, {"0", "0", "1", "1", "1", "1", "1", "0"});
  EXPECT_EQ(integer.count("Y1"), 0U) << "the variable of a mixed cut is not an integer";
}

TEST(GomoryCut, AllIntegerRowKeepsTheFractionalCutAndItsVariableIsInteger) {
  TSimplexTable t =
      kt::MakeTable({"X1", "X2", "X3", "X4"}, {"X1", "X4"},
                    {{"5/2", "1", "-3/2", "1/4", "0"}, {"1/3", "0", "7", "0", "1"}}, {"3", "0", "1", "2", "0"});
  TIntegerColumns integer{"X1", "X2", "X3"};
  // X4 is not an integer column, but it is basic in another row: the row of X1 is all integer.
  ASSERT_EQ(CutKind(t, 1, integer), TGomoryCut::Fractional);
  AppendCut(t, 1, "Y1", integer);
  kt::ExpectRow(t, 3, {"-1/2", "0", "-1/2", "-1/4", "0", "1"});
  EXPECT_EQ(integer.count("Y1"), 1U);
  // A zero entry of a continuous column does not call for the mixed cut; a non-zero one does.
  EXPECT_EQ(CutKind(t, 2, integer), TGomoryCut::Fractional);
  t.SetA(3, 2, kt::R("2"));
  integer.erase("X3");
  EXPECT_EQ(CutKind(t, 2, integer), TGomoryCut::Mixed);
}

// The added variable of a row is integer when the row's free term and its coefficients are integers
// of ticked variables; X3 is not ticked.
TEST(GomoryCut, FirstTableKnowsWhichAddedVariablesAreInteger) {
  TZLPCore_Interface data =
      Read("max 1 1 1\n1 2 0 <= 4\n1/2 1 0 <= 3\n1 1 0 <= 5/2\n1 0 1 <= 3\n-2 3 0 >= 1\nint 1 2\n");
  TZLPCore_SolutionResult report;
  data.ZLP.ToCanonical(report);
  ASSERT_TRUE(data.ZLP.BuildTable(&data.Table));
  data.Table.IntegerVars = data.IntegerVars;
  EXPECT_EQ(FirstIntegerColumns(data.Table), (TIntegerColumns{"X1", "X2", "X4", "X8"}));
}

TEST(GomoryCut, CanonicalFormMultipliesAllIntegerRowsByTheirCommonDenominator) {
  struct TCase {
    const char* Text;
    std::vector<std::string> Rows; // each scaled constraint as "a1 a2 ... | b"
    const char* Sentence;          // empty: nothing is scaled and nothing said
  };
  const TCase cases[] = {
      {"max 1 0\n2/3 5/4 <= 5/2\n1/2 1/2 <= 3\nint 1 2\n",
       {"8 15 | 30", "1 1 | 6"},
       "Все коэффициенты ограничений № 1, 2 относятся к целочисленным переменным, поэтому умножим каждое из них на "
       "наименьшее общее кратное знаменателей его чисел (№ 1 на 12, № 2 на 2), чтобы и их базисные переменные "
       "принимали только целые значения."},
      {"min 1 1 1\n1/2 1/3 0 >= 5/6\n1/2 1 1 <= 3\nint 1 2\n",
       {"3 2 0 | 5", "1/2 1 1 | 3"},
       "Все коэффициенты ограничения № 1 относятся к целочисленным переменным, поэтому умножим его на 6 (наименьшее "
       "общее кратное знаменателей его чисел), чтобы и его базисная переменная принимала только целые значения."},
      {"max 1 1\n1 2 <= 7\n0 1/2 <= 3\nint 1\n", {"1 2 | 7", "0 1/2 | 3"}, ""},
      {"max 1 1\n1/2 1/2 <= 3\n", {"1/2 1/2 | 3"}, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TZLPCore_Interface data = Read(c.Text);
    TZLPCore_SolutionResult report;
    ScaleIntegerRows(data.ZLP, data.IntegerVars, report);
    for (std::size_t i = 0; i < c.Rows.size(); ++i) {
      std::string row;
      for (std::int32_t j = 1; j <= data.ZLP.VarCount(); ++j) row += RatToStr(data.ZLP.Coeffs.GetItem(j, i + 1)) + " ";
      EXPECT_EQ(row + "| " + RatToStr(data.ZLP.RHS.GetItem(static_cast<std::int32_t>(i + 1))), c.Rows[i]);
    }
    EXPECT_EQ(report.GetText(), *c.Sentence ? "<p>" + std::string(c.Sentence) + "\r\n" : std::string());
  }
}

// A program that needs two cuts, allowed one: the method stops, no point is written, and the verdict
// says why; "Решить" and "Далее" to the end of the runner's loop end.
TEST(GomoryCut, CutLimitStopsTheMethodWithItsReason) {
  TMessageRecorder messages;
  TZLPCore_Interface data = Read("max 0 1\n3 2 <= 6\n-3 2 <= 0\nint 1 2\n");
  TZLPCore_SolutionResult canonical;
  ASSERT_TRUE(WriteCanonicalPage(data, "Каноническая форма", canonical));
  ASSERT_TRUE(PrepareSimplexTable(data));
  TSimplexMethod m(data.Table);
  m.MaxCuts = 1;
  m.Start();
  for (int presses = 0; !m.Finished() && presses < 20; ++presses) {
    m.Solve();
    m.Step();
  }
  ASSERT_TRUE(m.Finished());
  EXPECT_EQ(m.Stop, TSimplexStop::CutLimit);
  EXPECT_EQ(m.CutCounter, 2);
  EXPECT_EQ(m.Hint, CutLimitHint(1));
  TZLPCore_SolutionResult report;
  FinishSimplex(m, data, report, *FindTaskInfo(TT_INTEGER));
  const std::string page = report.GetText();
  EXPECT_TRUE(Contains(page, "но переменная X1 всё ещё не целочисленна, а построено уже 1 отсечений Гомори")) << page;
  EXPECT_FALSE(Contains(page, "Функция достигает экстремума"));
  EXPECT_EQ(data.Verdict.Status, TTaskStatus::Cycling);
  EXPECT_EQ(data.Verdict.Message, "после 1 отсечений Гомори целочисленное решение не найдено, решение остановлено");
  EXPECT_FALSE(data.Verdict.Objective.has_value());
}

// Once a cut is made, its negative free term goes by the dual simplex rule: every table after it keeps
// the Z row non-negative, so each cut is followed by dual steps back to an optimum only.
TEST(GomoryCut, AfterACutTheZRowStaysNonNegative) {
  for (const char* text : {"max 12 15 7 9 5\n4 6 3 4 2 <= 14\n1 0 0 0 0 <= 1\n0 1 0 0 0 <= 1\n0 0 1 0 0 <= 1\n"
                           "0 0 0 1 0 <= 1\n0 0 0 0 1 <= 1\nint 1 2 3 4 5\n",
                           "max 3 2 4\n3 2 5 <= 17\n4 5 2 <= 19\n1 1 1 <= 6\nint 1 3\n",
                           "max 7 5 3\n2 3 1 <= 11\n4 1 5 <= 17\n3 4 2 <= 13\nint 1 2 3\n"}) {
    SCOPED_TRACE(text);
    TMessageRecorder messages;
    TZLPCore_Interface data = Read(text);
    TZLPCore_SolutionResult canonical;
    ASSERT_TRUE(WriteCanonicalPage(data, "Каноническая форма", canonical));
    ASSERT_TRUE(PrepareSimplexTable(data));
    TSimplexMethod m(data.Table);
    m.Start();
    for (int steps = 0; !m.Finished() && steps < 1000; ++steps) {
      m.Step();
      if (m.CutCounter == 1) continue;
      for (std::int32_t j = 1; j <= data.Table.ColCount(); ++j)
        ASSERT_FALSE(RatLessInt(data.Table.GetZ(j), 0)) << "C" << j << " < 0 after " << m.CutCounter - 1 << " cuts";
    }
    EXPECT_EQ(data.Table.State, SS_OPTIMAL);
    EXPECT_GT(m.CutCounter, 1) << "the problem was meant to need cuts";
  }
}

// What the report and the verdict say when an integer program has no integer optimum.
TEST(GomoryCut, EndsWithoutAnIntegerOptimumAreToldInTheirOwnWords) {
  struct TCase {
    const char* Text;
    TTaskStatus Status;
    const char* Message;
    const char* Report; // words only this outcome writes
  };
  const TCase cases[] = {
      {"max 1 1\n2 2 = 3\nint 1 2\n", TTaskStatus::Infeasible, "задача не имеет целочисленных решений",
       "после отсечений Гомори уравнение строки"},
      {"max 1 0\n0 2 = 1\nint 1 2\n", TTaskStatus::Infeasible, "задача не имеет целочисленных решений",
       "Но отсечения Гомори для задачи с нулевой целевой функцией показывают"},
      {"max 1 1\n1 -1 <= 1/2\nint 1 2\n", TTaskStatus::Unbounded, "целевая функция не ограничена, оптимума нет",
       "У задачи есть допустимая точка с целыми значениями целочисленных переменных (X<sub>1</sub> = "},
      {"max 1 1\n1 1 >= 5/2\n1 1 <= 3/2\nint 1\n", TTaskStatus::Infeasible,
       "система ограничений несовместна, допустимых решений нет", "система ограничений несовместна"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TZLPCore_Interface data = Read(c.Text);
    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(TT_INTEGER, data, report);
    EXPECT_EQ(v.Status, c.Status);
    EXPECT_EQ(v.Message, c.Message);
    const std::string page = report.GetText();
    EXPECT_TRUE(Contains(page, c.Report)) << page;
    if (c.Status == TTaskStatus::Infeasible && Contains(c.Message, "целочисленных")) {
      EXPECT_TRUE(Contains(page, "<p><b>Ответ:</b> задача не имеет целочисленных решений.")) << page;
    }
  }
}

} // namespace
