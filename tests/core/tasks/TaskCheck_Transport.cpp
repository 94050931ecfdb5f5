// The independent check of the transportation problem: the plan ships no more than each supplier
// has and exactly what each consumer needs (or the other way round when demands exceed supplies),
// its cost is the verdict's, and the optimum is that of the same problem written as a linear program
// and solved by the simplex method. Random problems with every first-plan method against it, and
// the report's steps on the cases a student meets first.
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskChecks.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "Transport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

namespace {

// The optimum of the problem as a linear program over the m x n shipments.
std::optional<xc::Q> LinearOptimum(const TStatementGrid& g) {
  const std::int32_t m = g.Sy, n = g.Sx;
  xc::Q sa, sb;
  for (std::int32_t i = 1; i <= m; ++i) sa = sa + xc::Parse(RatToStr(RatFromStr(g.Cell(0, i))));
  for (std::int32_t j = 1; j <= n; ++j) sb = sb + xc::Parse(RatToStr(RatFromStr(g.Cell(j, 0))));
  const bool surplus = sb <= sa;
  std::ostringstream lp;
  lp << "min";
  for (std::int32_t i = 1; i <= m; ++i)
    for (std::int32_t j = 1; j <= n; ++j) lp << ' ' << g.Cell(j, i);
  lp << '\n';
  for (std::int32_t i = 1; i <= m; ++i) {
    for (std::int32_t k = 0; k < m * n; ++k) lp << (k / n == i - 1 ? "1 " : "0 ");
    lp << (surplus ? "<= " : "= ") << g.Cell(0, i) << '\n';
  }
  for (std::int32_t j = 1; j <= n; ++j) {
    for (std::int32_t k = 0; k < m * n; ++k) lp << (k % n == j - 1 ? "1 " : "0 ");
    lp << (surplus ? "= " : "<= ") << g.Cell(j, 0) << '\n';
  }
  TTextFormatError textError;
  const auto grid = ParseStatementText(lp.str(), textError);
  if (!grid) return std::nullopt;
  TZLPCore_Interface data;
  TStatementError error;
  if (!ReadStatement(*grid, data, error)) return std::nullopt;
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunTask(grid->TaskType, data, report);
  if (v.Status != TTaskStatus::Optimal || !v.Objective) return std::nullopt;
  return xc::Parse(RatToStr(*v.Objective));
}

void CheckTransport(const TStatementGrid& g, const TTaskVerdict& v) {
  if (v.Status == TTaskStatus::Overflow) {
    EXPECT_FALSE(v.Objective) << "an overflow tells no number";
    EXPECT_TRUE(v.Plan.empty());
    return;
  }
  ASSERT_EQ(v.Status, TTaskStatus::Optimal) << v.Message;
  ASSERT_TRUE(v.Objective);
  const std::int32_t m = g.Sy, n = g.Sx;
  ASSERT_EQ(v.Plan.size(), static_cast<std::size_t>(m));
  const auto number = [&g](std::int32_t x, std::int32_t y) { return xc::Parse(RatToStr(RatFromStr(g.Cell(x, y)))); };
  xc::Q sa, sb, cost;
  for (std::int32_t i = 1; i <= m; ++i) sa = sa + number(0, i);
  for (std::int32_t j = 1; j <= n; ++j) sb = sb + number(j, 0);
  std::vector<xc::Q> rows(static_cast<std::size_t>(m)), cols(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < m; ++i) {
    ASSERT_EQ(v.Plan[static_cast<std::size_t>(i)].size(), static_cast<std::size_t>(n));
    for (std::int32_t j = 0; j < n; ++j) {
      const xc::Q x = xc::Parse(RatToStr(v.Plan[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]));
      EXPECT_TRUE(xc::Q{} <= x) << "a negative shipment at " << i + 1 << ", " << j + 1;
      rows[static_cast<std::size_t>(i)] = rows[static_cast<std::size_t>(i)] + x;
      cols[static_cast<std::size_t>(j)] = cols[static_cast<std::size_t>(j)] + x;
      cost = cost + x * number(j + 1, i + 1);
    }
  }
  // The side that is short is used up; the other side never gives or gets more than it has.
  for (std::int32_t i = 0; i < m; ++i) {
    const xc::Q a = number(0, i + 1), got = rows[static_cast<std::size_t>(i)];
    if (sa <= sb)
      EXPECT_EQ(got, a) << "supplier " << i + 1 << " ships " << xc::Show(got);
    else
      EXPECT_TRUE(got <= a) << "supplier " << i + 1 << " ships " << xc::Show(got);
  }
  for (std::int32_t j = 0; j < n; ++j) {
    const xc::Q b = number(j + 1, 0), got = cols[static_cast<std::size_t>(j)];
    if (sb <= sa)
      EXPECT_EQ(got, b) << "consumer " << j + 1 << " gets " << xc::Show(got);
    else
      EXPECT_TRUE(got <= b) << "consumer " << j + 1 << " gets " << xc::Show(got);
  }
  EXPECT_EQ(xc::Show(cost), RatToStr(*v.Objective)) << "the cost is not the plan's";
  if (m * n <= 120) {
    const std::optional<xc::Q> best = LinearOptimum(g);
    ASSERT_TRUE(best) << "the linear program was not solved";
    EXPECT_EQ(xc::Show(*best), RatToStr(*v.Objective)) << "the simplex method finds another optimum";
  }
}

const TTaskCheckRegistration Registration(TT_TRANSPORT, CheckTransport);

TRun Solve(const std::string& text) { return SolveText(text, TT_TRANSPORT); }

// Small costs give ties and degenerate plans; unbalanced both ways; every first-plan method.
TEST(TransportCheck, RandomProblemsAgreeWithTheSimplexMethod) {
  TMessageRecorder messages;
  std::mt19937 random(20261209);
  const char* starts[] = {"min", "northwest", "vogel"};
  for (int k = 0; k < 180; ++k) {
    std::uniform_int_distribution<int> size(1, 5), cost(k % 2 == 0 ? 0 : -3, k % 4 < 2 ? 4 : 30),
        amount(0, k % 3 == 0 ? 4 : 40);
    const int m = size(random), n = size(random);
    std::ostringstream text;
    text << "transport\nstart " << starts[k % 3] << "\nsupply";
    for (int i = 0; i < m; ++i) text << ' ' << amount(random);
    text << "\ndemand";
    for (int j = 0; j < n; ++j) text << ' ' << amount(random) << (k % 5 == 0 ? "/3" : "");
    text << '\n';
    for (int i = 0; i < m; ++i) {
      for (int j = 0; j < n; ++j) text << (j == 0 ? "" : " ") << cost(random);
      text << '\n';
    }
    SCOPED_TRACE(text.str());
    const TRun run = Solve(text.str());
    CheckTransport(run.Statement, run.Verdict);
    ASSERT_FALSE(run.Lines.empty());
    EXPECT_EQ(run.Lines.back().rfind("<p><b>Ответ:</b> ", 0), 0U) << run.Lines.back();
    if (HasFatalFailure() || HasNonfatalFailure()) break;
  }
  EXPECT_TRUE(messages.Messages.empty());
}

bool Has(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// The steps a student checks by hand: the balance, the fictitious row or column, ε cells, the cycle
// with its signs, θ, the alternative optimum, the answer in words.
TEST(TransportReport, TheStepsOfTheTextbook) {
  {
    SCOPED_TRACE("north-west corner, one improvement");
    const TRun run = Solve("transport\nstart northwest\nsupply 20 30\ndemand 10 40\n1 2\n1 5\n");
    EXPECT_TRUE(Has(run.Lines, "Они равны: задача закрытая"));
    EXPECT_TRUE(Has(run.Lines, "метод северо-западного угла"));
    // x11 = 10, x12 = 10, x22 = 30; u1 = 0, v1 = 1, v2 = 2, u2 = 3; Δ21 = 1 - 4 = -3.
    EXPECT_TRUE(Has(run.Lines, "Наименьшая оценка Δ<sub>2,1</sub> = −3 &lt; 0"));
    EXPECT_TRUE(Has(run.Lines, "Цикл: (A<sub>2</sub>, B<sub>1</sub>)+ → (A<sub>2</sub>, B<sub>2</sub>)− → "
                               "(A<sub>1</sub>, B<sub>2</sub>)+ → (A<sub>1</sub>, B<sub>1</sub>)−."));
    EXPECT_TRUE(Has(run.Lines, "θ = min(30, 10) = 10"));
    EXPECT_TRUE(Has(run.Lines, "Стоимость уменьшается на 30."));
    EXPECT_TRUE(Has(run.Lines, "<td class=\"clsSelCell\"><small>1</small> <i>(−3)</i> +</td>"));
    EXPECT_EQ(run.Lines.back(), "<p><b>Ответ:</b> Z<sub>min</sub> = 150 при плане перевозок: из пункта A<sub>1</sub> в "
                                "пункт B<sub>2</sub> — 20 ед., из пункта A<sub>2</sub> в пункт B<sub>1</sub> — 10 ед., "
                                "из пункта A<sub>2</sub> в пункт B<sub>2</sub> — 20 ед.");
  }
  {
    SCOPED_TRACE("a surplus: the fictitious consumer, said in words");
    const TRun run = Solve("transport\nsupply 50 60\ndemand 30 30 30\n1 2 3\n4 1 2\n");
    EXPECT_TRUE(Has(run.Lines, "Вводим фиктивного потребителя B<sub>4</sub> с потребностью 20"));
    EXPECT_TRUE(Has(run.Lines, "у поставщика A<sub>1</sub> остаётся невывезенным 20 ед."));
    CheckTransport(run.Statement, run.Verdict);
  }
  {
    SCOPED_TRACE("a shortage: the fictitious supplier");
    const TRun run = Solve("transport\nsupply 20 20\ndemand 30 30 30\n1 2 3\n4 1 2\n");
    EXPECT_TRUE(Has(run.Lines, "Вводим фиктивного поставщика A<sub>3</sub> с запасом 50"));
    EXPECT_TRUE(Has(run.Lines, "остаётся неудовлетворённой"));
    CheckTransport(run.Statement, run.Verdict);
  }
  {
    SCOPED_TRACE("degenerate: an ε cell completes the plan to m + n - 1 cells");
    const TRun run = Solve("transport\nstart northwest\nsupply 10 20\ndemand 10 20\n1 3\n2 1\n");
    EXPECT_TRUE(Has(run.Lines, "Число занятых клеток 2 меньше m + n − 1 = 3: план вырожденный"));
    EXPECT_TRUE(Has(run.Lines, "<b>ε</b>"));
    EXPECT_TRUE(Has(run.Lines, "Оценки всех свободных клеток положительны: оптимальный план единственный."));
  }
  {
    SCOPED_TRACE("an alternative optimum through a zero estimate");
    const TRun run = Solve("transport\nsupply 20 30\ndemand 25 25\n1 2\n2 3\n");
    EXPECT_TRUE(Has(run.Lines, "равна нулю: перемещение"));
    EXPECT_NE(run.Lines.back().find("оптимальный план не единственный"), std::string::npos);
    CheckTransport(run.Statement, run.Verdict);
  }
}

// A long run keeps its report small: tables while their budget lasts, then steps in words, and the
// optimal plan's table always.
std::string NorthWestText(int n, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> amount(10, 500), cost(1, 99);
  std::ostringstream text;
  text << "transport\nstart northwest\nsupply";
  for (int i = 0; i < n; ++i) text << ' ' << amount(random);
  text << "\ndemand";
  for (int j = 0; j < n; ++j) text << ' ' << amount(random);
  text << '\n';
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) text << (j == 0 ? "" : " ") << cost(random);
    text << '\n';
  }
  return text.str();
}

TEST(TransportReport, ALongRunPrintsTablesWithinTheBudget) {
  const TRun run = Solve(NorthWestText(40, 50));
  CheckTransport(run.Statement, run.Verdict);
  const auto tables = std::count_if(run.Lines.begin(), run.Lines.end(), [](const std::string& l) {
    return l.find("<table") != std::string::npos && l.find("План ") != std::string::npos;
  });
  const std::int64_t cells = 40 * 40; // at least, with a fictitious row or column or without
  EXPECT_LE(tables, TransportTableBudget / cells + 1);
  EXPECT_TRUE(Has(run.Lines, "Таблицы следующих планов, кроме оптимального, не приводятся"));
  const auto last = std::find_if(run.Lines.rbegin(), run.Lines.rend(),
                                 [](const std::string& l) { return l.find("<table") != std::string::npos; });
  ASSERT_NE(last, run.Lines.rend());
  EXPECT_TRUE(std::find(run.Lines.rbegin(), last, "<p>Все оценки свободных клеток неотрицательны: план оптимален.") !=
              last);
}

// The largest problems from the north-west corner take thousands of steps: once the steps told fill
// their share of the report, each is told by a line; the plans are numbered without a gap, their costs
// never rise, and the last is the optimum of the verdict.
TEST(TransportReport, StepsBeyondTheTextBudgetAreToldByALine) {
  // Balanced, with equal demands: a north-west start on it takes thousands of steps.
  std::mt19937 random(11);
  std::uniform_int_distribution<int> amount(10, 100), cost(1, 99);
  std::vector<int> supply(50);
  int total = 0;
  for (int& a : supply) total += a = amount(random);
  std::ostringstream text;
  text << "transport\nstart northwest\nsupply";
  for (const int a : supply) text << ' ' << a;
  text << "\ndemand";
  for (int j = 0; j < 50; ++j) text << ' ' << total / 50 + (j == 49 ? total % 50 : 0);
  text << '\n';
  for (int i = 0; i < 50; ++i) {
    for (int j = 0; j < 50; ++j) text << (j == 0 ? "" : " ") << cost(random);
    text << '\n';
  }
  const TRun run = Solve(text.str());
  CheckTransport(run.Statement, run.Verdict);
  ASSERT_TRUE(Has(run.Lines, "Шагов так много, что все они не поместятся в отчёт"));
  std::string page;
  for (const std::string& line : run.Lines) page += line + "\n";
  EXPECT_LT(page.size(), std::size_t{5} << 20);
  std::vector<long long> costs;
  std::size_t brief = 0;
  for (int plan = 1;; ++plan) {
    const std::string key = "<b>План " + std::to_string(plan) + ", Z = ";
    const std::size_t at = page.find(key);
    if (at == std::string::npos) break;
    costs.push_back(std::stoll(page.substr(at + key.size())));
    const std::string line = ": вводится клетка ";
    if (page.compare(page.find("</b>", at) + 4, line.size(), line) == 0) ++brief;
  }
  EXPECT_GT(brief, 100u);
  EXPECT_GT(costs.size(), brief + 10) << "the first steps are told in full";
  const std::string last =
      "<p><b>План " + std::to_string(costs.size()) + ", Z = " + std::to_string(costs.back()) + "</b>\r\n<table";
  EXPECT_TRUE(page.find(last) != std::string::npos) << "the optimal plan's table";
  EXPECT_TRUE(std::is_sorted(costs.rbegin(), costs.rend()));
  EXPECT_EQ(std::to_string(costs.back()), RatToStr(*run.Verdict.Objective));
}

// The text form is read back into the same statement; bad lines are named.
TEST(TransportText, ReadsWhatItWritesAndNamesBadLines) {
  const std::string text = "transport\nstart vogel\nsupply 5/2 3\ndemand 1 2 3\n1 -2 1/3\n0 4 5\n";
  TTextFormatError error;
  const auto grid = ParseStatementText(text, error);
  ASSERT_TRUE(grid) << error.Message;
  EXPECT_EQ(grid->TaskType, TT_TRANSPORT);
  EXPECT_EQ(StatementToText(*grid), text);
  struct TBad {
    const char* Text;
    int Line;
  };
  const TBad bad[] = {{"transport\nsupply 1 2\ndemand 3\n1\n", 0},
                      {"transport\nsupply 1 2\ndemand 3\n1\n2 3\n", 5},
                      {"transport\nsupply 1 x\ndemand 3\n1\n2\n", 2},
                      {"transport\nsupply 1 -2\ndemand 3\n1\n2\n", 0},
                      {"transport\nstart east\nsupply 1\ndemand 1\n1\n", 2}};
  for (const TBad& b : bad) {
    SCOPED_TRACE(b.Text);
    TTextFormatError e;
    EXPECT_FALSE(ParseStatementText(b.Text, e));
    EXPECT_EQ(e.Line, b.Line) << e.Message;
    EXPECT_FALSE(e.Message.empty());
  }
}

} // namespace
