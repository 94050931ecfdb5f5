// Integer programs: which columns are integer, the exact rows of the fractional and the mixed cut, the
// scaling of all-integer rows, and the ends of the method that are not an optimum.
#include "RatTestUtil.h"

#include "BranchBound.h"
#include "Gomory.h"
#include "MessageRecorder.h"
#include "Pages.h"
#include "SimplexMethod.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every step is on the page, each after the one before it.
void ExpectInOrder(const std::string& page, const std::vector<std::string>& steps) {
  std::size_t at = 0;
  for (const std::string& step : steps) {
    const std::size_t found = page.find(step, at);
    ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << step;
    at = found + step.size();
  }
}

TZLPCore_Interface Read(const char* text, const char* method = "gomory") {
  TTextFormatError textError;
  auto grid = ParseStatementText(text, textError);
  if (grid) EXPECT_TRUE(SetIntegerMethod(*grid, method));
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

// The textbook example max X2, 3X1 + 2X2 <= 6, -3X1 + 2X2 <= 0: the relaxation's optimum (1, 3/2); the
// first cut comes from the row of X2 (the only fractional value) and reads X2 <= 1, the second from the
// row of X1 = 4/3 and reads X1 + X2 <= 2, and the optimum is (1, 1). Each cut is followed by one step of
// the dual simplex method.
TEST(GomoryMethod, TextbookExampleCutsInItsKnownOrder) {
  TMessageRecorder messages;
  TZLPCore_Interface data = Read("max 0 1\n3 2 <= 6\n-3 2 <= 0\nint 1 2\n");
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunTask(TT_INTEGER, data, report);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal);
  EXPECT_EQ(RatToStr(*v.Objective), "1");
  const std::string page = report.GetText();
  const std::vector<std::string> sequence = {
      "Дробное значение только у X<sub>2</sub> = 3/2 (дробная часть 1/2), поэтому отсечение строится по строке 2",
      "-1/4X<sub>3</sub> - 1/4X<sub>4</sub> + Y<sub>1</sub> = -1/2",
      "через переменные задачи: X<sub>2</sub> &le; 1.",
      "Это шаг двойственного симплекс-метода: из базиса выводится Y<sub>1</sub>",
      "Дробное значение только у X<sub>1</sub> = 4/3 (дробная часть 1/3), поэтому отсечение строится по строке 1",
      "через переменные задачи: X<sub>1</sub> + X<sub>2</sub> &le; 2.",
      "из базиса выводится Y<sub>2</sub>",
  };
  ExpectInOrder(page, sequence);
  EXPECT_FALSE(Contains(page, "Y<sub>3</sub>")) << "two cuts are enough";
}

// The source row is the one of the largest fractional part, the upper row on ties, among the rows of the
// integer variables only.
TEST(GomoryMethod, SourceRowHasTheLargestFractionalPart) {
  TSimplexTable t =
      kt::MakeTable({"X1", "X2", "X3", "X4"}, {"X1", "X2", "X3"},
                    {{"7/3", "1", "0", "0", "1/2"}, {"9/4", "0", "1", "0", "1/3"}, {"1/2", "0", "0", "1", "1"}},
                    {"0", "0", "0", "0", "1"});
  t.IntegerVars = {"X1", "X2"};
  EXPECT_EQ(ChooseCutSource(t), 1) << "1/3 > 1/4; X3 = 1/2 is not integer-constrained";
  t.SetB(2, kt::R("13/3"));
  EXPECT_EQ(ChooseCutSource(t), 1) << "equal parts: the upper row";
  t.SetB(2, kt::R("5/3"));
  EXPECT_EQ(ChooseCutSource(t), 2);
  t.SetB(1, kt::R("2"));
  t.SetB(2, kt::R("1"));
  EXPECT_EQ(ChooseCutSource(t), 0);
}

// The same textbook example by branch and bound: node 1 (1, 3/2) branches on X2 into X2 <= 1 (node 2)
// and X2 >= 2 (node 3, infeasible); node 2 (4/3, 1) branches on X1 into X1 <= 1 (node 4, the integer
// optimum (1, 1)) and X1 >= 2 (node 5, Z = 0), which its bound prunes.
TEST(BranchAndBound, TextbookExampleBranchesInItsKnownOrder) {
  TMessageRecorder messages;
  TZLPCore_Interface data = Read("max 0 1\n3 2 <= 6\n-3 2 <= 0\nint 1 2\n", "branch");
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunTask(TT_INTEGER, data, report);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal);
  EXPECT_EQ(RatToStr(*v.Objective), "1");
  ASSERT_EQ(v.X.size(), 2U);
  EXPECT_EQ(RatToStr(v.X[0]), "1");
  EXPECT_EQ(RatToStr(v.X[1]), "1");
  const std::string page = report.GetText();
  const std::vector<std::string> sequence = {
      "Оптимум задачи узла 1: Z = 3/2 при X<sub>1</sub> = 1, X<sub>2</sub> = 3/2.",
      "узел 2 с условием X<sub>2</sub> &le; 1 и узел 3 с условием X<sub>2</sub> &ge; 2",
      "Оптимум задачи узла 2: Z = 1 при X<sub>1</sub> = 4/3, X<sub>2</sub> = 1.",
      "Задача узла 3 несовместна: узел закрыт.",
      "узел 4 с условием X<sub>1</sub> &le; 1 и узел 5 с условием X<sub>1</sub> &ge; 2",
      "Оптимум задачи узла 4: Z = 1 при X<sub>1</sub> = 1, X<sub>2</sub> = 1.",
      "Оптимум задачи узла 5: Z = 0 при X<sub>1</sub> = 2, X<sub>2</sub> = 0.",
      "Узел 4: решение целочисленно",
      "Узел 5: граница Z = 0 не лучше лучшего целочисленного плана (Z = 1)",
      "<svg class=\"clsGraph\"",
      "лучший целочисленный план найден в узле 4",
  };
  ExpectInOrder(page, sequence);
  EXPECT_FALSE(Contains(page, "Узел 6")) << "five nodes are enough";
  EXPECT_FALSE(Contains(page, "Y<sub>1</sub>")) << "branch and bound makes no cut";
}

// A region without bounds and without an integer point divides forever: the guard of nodes stops the
// method, and the verdict says so rather than claiming an answer.
TEST(BranchAndBound, EndlessDivisionStopsAtTheGuardAndSaysSo) {
  TMessageRecorder messages;
  TZLPCore_Interface data = Read("max 1 -1\n2 -2 = 1\n1 -1 <= 1\nint 1 2\n", "branch");
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunTask(TT_INTEGER, data, report);
  const std::string page = report.GetText();
  // X1 = 1/2 + X2 for ever: each node's X1 >= k leaves X2 fractional, each X2 >= k leaves X1 so.
  ASSERT_EQ(v.Status, TTaskStatus::Cycling) << v.Message;
  EXPECT_EQ(v.Message, "после 500 узлов метода ветвей и границ решение остановлено: оптимальность не доказана");
  EXPECT_TRUE(Contains(page, "Это предел, который программа ставит")) << page.substr(page.size() - 3000);
  EXPECT_FALSE(v.Objective.has_value());
  EXPECT_FALSE(Contains(page, "Функция достигает экстремума"));
  // Nodes 1-50 are told by their sentences, the later ones listed a line each; every node the list
  // says was divided has both its children in the list, each naming it as its parent and bound by
  // the value it was divided at.
  EXPECT_TRUE(Contains(page, "<b>Узел 50</b>"));
  EXPECT_FALSE(Contains(page, "<b>Узел 51</b>"));
  const std::string list = page.substr(page.find("<b>Узлы 51–499</b>"));
  const std::regex row(
      "<tr><td class=\"clsSimCell\">(\\d+)</td><td class=\"clsSimCell\">(\\d+)</td>"
      "<td class=\"clsSimCell\">([^<]*<sub>\\d</sub> &(?:le|ge); \\d+)</td>"
      "<td class=\"clsSimCell\">[^<]*</td><td class=\"clsSimCell\">([^<]*(?:<sub>\\d</sub>)?[^<]*)</td>");
  std::map<int, std::pair<int, std::string>> nodes; // parent and condition
  std::vector<std::pair<int, std::string>> divided; // node and its end
  for (auto it = std::sregex_iterator(list.begin(), list.end(), row); it != std::sregex_iterator(); ++it) {
    const int id = std::stoi((*it)[1]);
    nodes[id] = {std::stoi((*it)[2]), (*it)[3]};
    if (Contains((*it)[4], "делится")) divided.emplace_back(id, (*it)[4]);
  }
  ASSERT_EQ(nodes.size(), 449u);
  EXPECT_EQ(nodes.begin()->first, 51);
  EXPECT_EQ(nodes.rbegin()->first, 499);
  ASSERT_GT(divided.size(), 200u);
  const std::regex split("делится по (X<sub>\\d</sub>) = (\\d+)/2: узлы (\\d+) и (\\d+)");
  for (const auto& [id, end] : divided) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(end, m, split)) << end;
    const int half = std::stoi(m[2]) / 2;
    for (const auto& [child, relation] : {std::pair{std::stoi(m[3]), "&le; " + std::to_string(half)},
                                          std::pair{std::stoi(m[4]), "&ge; " + std::to_string(half + 1)}}) {
      if (child > 499) continue;
      EXPECT_EQ(nodes[child].first, id);
      EXPECT_EQ(nodes[child].second, m[1].str() + " " + relation);
    }
  }
}

// Pure programs on which the rule of the largest fractional part alone went on past 200 cuts: from the
// eleventh cut Gomory's finite rule (Z first, then the variables of the lexicographic order, the rows
// of the latter multiplied by -1) ends them, with the cuts whose slack is basic again struck out. The
// optima are those of an independent branch-and-bound solver, and the program's own branch and bound
// agrees.
TEST(GomoryMethod, FiniteRuleEndsWhereTheLargestFractionRanOn) {
  struct TCase {
    const char* Text;
    const char* Optimum;
  };
  const TCase cases[] = {
      {"max 6 8 -1 -1 7 -1 9\n6 -3 -1 5 -3 9 3 <= 12\n8 7 6 7 9 -1 -1 <= 32\n4 6 4 -1 -1 2 -2 <= 13\n"
       "0 -1 -1 1 0 5 -1 <= 22\n6 -2 4 -1 1 -3 8 <= 12\nint 1 2 3 4 5 6 7\n",
       "49"},
      {"min 5 3 2 2 9 5 6\n5 7 6 4 3 -2 9 <= 16\n3 2 -3 4 3 3 6 >= 7\n7 4 5 -2 2 5 1 >= 4\n8 2 6 2 0 3 0 <= 31\n"
       "6 7 8 -1 7 -3 8 <= 16\n-1 8 9 5 -3 0 -2 >= 10\nint 1 2 3 4 5 6 7\n",
       "10"},
      {"min 5 4 3 9 5 3 1\n-1 4 1 7 3 2 5 <= 36\n-1 -3 6 1 8 1 5 <= 1\n0 8 8 5 1 -3 7 <= 35\n1 1 5 -3 9 0 6 = 28\n"
       "-2 3 0 1 5 9 -3 = 36\nint 1 2 3 4 5 6 7\n",
       "83"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TMessageRecorder messages;
    for (const char* method : {"gomory", "branch"}) {
      TZLPCore_Interface data = Read(c.Text, method);
      TZLPCore_SolutionResult report;
      const TTaskVerdict v = RunTask(TT_INTEGER, data, report);
      ASSERT_EQ(v.Status, TTaskStatus::Optimal) << method << ": " << v.Message;
      EXPECT_EQ(RatToStr(*v.Objective), c.Optimum) << method;
      for (const TRational& x : v.X) EXPECT_TRUE(RatIsInteger(x)) << method;
      if (std::string(method) == "gomory") {
        const std::string page = report.GetText();
        EXPECT_TRUE(Contains(page, "по правилу Гомори, при котором метод конечен"));
        EXPECT_TRUE(Contains(page, "умноженной на −1"));
      }
    }
  }
}

// A mixed program whose objective has a continuous variable: the mixed cuts need not end and their
// numbers grow without bound. The method stops at the guard of digits, says so and names branch and
// bound, which solves the program (optimum 106 by an independent solver).
TEST(GomoryMethod, MixedCutsStopAtTheGuardOfDigitsAndNameBranchAndBound) {
  TMessageRecorder messages;
  const char* text = "max -1 2 2 7 2\n8 7 3 2 -2 <= 31\n-1 8 3 -3 -3 = 8\nint 1 2 3 4\n";
  TZLPCore_Interface data = Read(text);
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunTask(TT_INTEGER, data, report);
  ASSERT_EQ(v.Status, TTaskStatus::Cycling) << v.Message;
  EXPECT_TRUE(Contains(v.Message, "знаков, целочисленное решение не найдено")) << v.Message;
  EXPECT_TRUE(Contains(v.Answer, "метод ветвей и границ")) << v.Answer;
  EXPECT_FALSE(v.Objective.has_value());
  TZLPCore_Interface branch = Read(text, "branch");
  TZLPCore_SolutionResult branchReport;
  const TTaskVerdict b = RunTask(TT_INTEGER, branch, branchReport);
  ASSERT_EQ(b.Status, TTaskStatus::Optimal) << b.Message;
  EXPECT_EQ(RatToStr(*b.Objective), "106");

  // 188 cuts of numbers that grow to a thousand digits: the report keeps within its budget, the long
  // cuts told without their coefficients, the cuts after the 50th a line each, and the last table.
  TZLPCore_Interface lengthy =
      Read("min 9 1 7 6 7 9 9\n-3 7 8 7 0 -1 2 <= 5\n8 2 -1 1 6 9 5 = 21\n-1 -3 2 0 8 0 9 >= 7\nint 2 3 4 5 7\n");
  TZLPCore_SolutionResult lengthyReport;
  EXPECT_EQ(RunTask(TT_INTEGER, lengthy, lengthyReport).Status, TTaskStatus::Cycling);
  const std::string page = lengthyReport.GetText();
  EXPECT_LT(page.size(), 5000000U);
  EXPECT_TRUE(Contains(page, "слишком длинные дроби, чтобы выписывать их здесь"));
  EXPECT_TRUE(Contains(page, "Отсечение по строке 4 (X<sub>2</sub>) добавлено"));
  EXPECT_FALSE(Contains(page.substr(page.find("Отсечений больше 50")), "Отсечение по строке"));
  const std::size_t list = page.find("отсечения 51–188 перечислены в таблице");
  ASSERT_NE(list, std::string::npos);
  const std::string rows = page.substr(list, page.find("</table>", list) - list);
  for (int cut = 51; cut <= 188; ++cut)
    EXPECT_TRUE(
        Contains(rows, "<tr><td class=\"clsSimCell\">" + std::to_string(cut) + "</td><td class=\"clsSimCell\">строка "))
        << cut;
  EXPECT_TRUE(Contains(page.substr(list), "<td class=\"clsSimCell\">Y188</td>")) << "the last table";
}

// Two variables under 255 constraints: each node's table has some 2 000 cells, and the tables of the
// nodes stop before the report passes its budget; the optimum is the one Gomory's cuts find.
TEST(BranchAndBound, TablesOfLargeNodesKeepTheReportWithinItsBudget) {
  TMessageRecorder messages;
  std::string text = "max 7 9\n";
  std::uint32_t seed = 5;
  const auto next = [&seed](std::uint32_t range) {
    seed = seed * 1103515245U + 12345U;
    return (seed >> 16) % range;
  };
  for (int i = 0; i < 255; ++i)
    text += std::to_string(1 + next(30)) + " " + std::to_string(1 + next(30)) +
            " <= " + std::to_string(300 + next(600)) + "\n";
  text += "int 1 2\n";
  TZLPCore_Interface branch = Read(text.c_str(), "branch");
  TZLPCore_SolutionResult branchReport;
  const TTaskVerdict b = RunTask(TT_INTEGER, branch, branchReport);
  TZLPCore_Interface gomory = Read(text.c_str());
  TZLPCore_SolutionResult gomoryReport;
  const TTaskVerdict g = RunTask(TT_INTEGER, gomory, gomoryReport);
  ASSERT_EQ(b.Status, TTaskStatus::Optimal) << b.Message;
  ASSERT_EQ(g.Status, TTaskStatus::Optimal) << g.Message;
  EXPECT_EQ(RatToStr(*b.Objective), RatToStr(*g.Objective));
  const std::string page = branchReport.GetText();
  EXPECT_LT(page.size(), 5000000U);
  EXPECT_TRUE(Contains(page, "больше их в отчёт не поместится"));
  EXPECT_LT(gomoryReport.GetText().size(), 5000000U);
}

} // namespace
