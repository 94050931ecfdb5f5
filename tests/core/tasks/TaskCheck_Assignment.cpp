// The independent check of the assignment problem: the assignment is a permutation whose original
// total is the verdict's, and no permutation is better (all of them tried up to 9 x 9). Random
// matrices against all permutations, and the report of the Hungarian method on the cases a student
// meets first.
#include "Assignment.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskChecks.h"
#include "TaskRun.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>
#include <random>
#include <sstream>

namespace {

constexpr std::int32_t BruteForceLimit = 9;

std::vector<std::int64_t> CostsOf(const TStatementGrid& g) {
  std::vector<std::int64_t> c;
  for (std::int32_t y = 1; y <= g.Sx; ++y)
    for (std::int32_t x = 1; x <= g.Sx; ++x) c.push_back(g.Cell(x, y).empty() ? 0 : std::stoll(g.Cell(x, y)));
  return c;
}

// The best total over all n! permutations.
std::int64_t BestByAllPermutations(const std::vector<std::int64_t>& c, std::size_t n, bool isMax) {
  std::vector<std::size_t> p(n);
  std::iota(p.begin(), p.end(), 0);
  std::int64_t best = isMax ? -1 : std::numeric_limits<std::int64_t>::max();
  do {
    std::int64_t total = 0;
    for (std::size_t i = 0; i < n; ++i) total += c[i * n + p[i]];
    best = isMax ? std::max(best, total) : std::min(best, total);
  } while (std::next_permutation(p.begin(), p.end()));
  return best;
}

void CheckAssignment(const TStatementGrid& g, const TTaskVerdict& v) {
  ASSERT_EQ(v.Status, TTaskStatus::Optimal) << v.Message;
  ASSERT_TRUE(v.Total.has_value());
  const auto n = static_cast<std::size_t>(g.Sx);
  ASSERT_EQ(v.Assignment.size(), n);
  const std::vector<std::int64_t> c = CostsOf(g);
  std::vector<char> used(n, 0);
  std::int64_t total = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t column = v.Assignment[i];
    ASSERT_TRUE(column >= 1 && column <= g.Sx) << "row " << i + 1;
    ASSERT_EQ(used[static_cast<std::size_t>(column - 1)], 0) << "column " << column << " is assigned twice";
    used[static_cast<std::size_t>(column - 1)] = 1;
    total += c[i * n + static_cast<std::size_t>(column - 1)];
  }
  EXPECT_EQ(*v.Total, total) << "the total is not the original matrix over the chosen cells";
  if (g.Sx <= BruteForceLimit) {
    EXPECT_EQ(*v.Total, BestByAllPermutations(c, n, g.IsMax)) << "a permutation is better";
  }
}

const TTaskCheckRegistration Registration(TT_ASSIGNMENT, CheckAssignment);

TRun Solve(const std::string& text) { return SolveText(text, TT_ASSIGNMENT); }

std::string MatrixText(bool isMax, std::int32_t n, const std::function<std::int64_t()>& next) {
  std::ostringstream text;
  text << "assign " << (isMax ? "max" : "min") << "\n";
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = 0; j < n; ++j) text << (j == 0 ? "" : " ") << next();
    text << "\n";
  }
  return text.str();
}

// Small costs give many zeros and ties, where the textbook's greedy choice of zeros stops short
// (about a quarter of such matrices); wide costs give few zeros and many passes.
TEST(AssignmentCheck, RandomMatricesUpToNineByNineAgreeWithAllPermutations) {
  TMessageRecorder messages;
  std::mt19937 random(20240607);
  for (int k = 0; k < 210; ++k) {
    const std::int32_t n = 3 + k % 7;
    const std::int64_t top = k % 3 == 0 ? 1000 : 9;
    const bool isMax = k % 2 == 1;
    std::uniform_int_distribution<std::int64_t> cost(0, top);
    const std::string text = MatrixText(isMax, n, [&] { return cost(random); });
    SCOPED_TRACE(text);
    const TRun run = Solve(text);
    CheckAssignment(run.Statement, run.Verdict);
    if (HasFatalFailure() || HasNonfatalFailure()) break;
  }
  EXPECT_TRUE(messages.Messages.empty());
}

// A matrix larger than the stages show is written by blocks of ten rows under a copy of its heading
// line, in the dense form; the blocks hold every row once with its costs as they were given.
TEST(AssignmentReport, LargeMatrixGoesByBlocksOfTenRows) {
  TMessageRecorder messages;
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int64_t> cost(0, 1000);
  const TRun run = Solve(MatrixText(false, 63, [&] { return cost(random); }));
  CheckAssignment(run.Statement, run.Verdict);
  const auto first = std::find_if(run.Lines.begin(), run.Lines.end(), [](const std::string& l) {
    return l.starts_with("<table") && l.find("clsDense") != std::string::npos;
  });
  ASSERT_NE(first, run.Lines.end());
  std::string heading = "<tr><td>&nbsp;</td>";
  for (int j = 1; j <= 63; ++j) heading += "<td>" + std::to_string(j) + "</td>";
  heading += "</tr>";
  std::string expected;
  for (std::int32_t y = 1; y <= 63; ++y) {
    if (y % 10 == 1)
      expected += std::string(y > 1 ? "</table>\r\n" : "") +
                  "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl clsDense\" style=\"--rows:" +
                  std::to_string(std::min(10, 64 - y) + 1) + ";--cols:64\">" + heading;
    expected += "<tr><td>" + std::to_string(y) + "</td>";
    for (std::int32_t x = 1; x <= 63; ++x)
      expected += "<td>" + std::to_string(std::stoll(run.Statement.Cell(x, y))) + "</td>";
    expected += "</tr>";
  }
  EXPECT_EQ(*first, expected + "</table>");
}

// A matrix of the report from its rows in the notation "<p> 1  X  * <p> - 2 3 <p>": X a crossed-out
// zero, * an independent one, - a cell under a line.
std::string Matrix(const std::string& rows) {
  std::vector<std::vector<std::string>> cells;
  std::size_t at = 0;
  while ((at = rows.find("<p>", at)) != std::string::npos) {
    at += 3;
    const auto next = rows.find("<p>", at);
    if (next == std::string::npos) break;
    std::istringstream row(rows.substr(at, next - at));
    cells.emplace_back();
    for (std::string word; row >> word;) cells.back().push_back(word);
  }
  std::string html =
      "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\"><tr><td class=\"clsSimCell\">&nbsp;</td>";
  for (std::size_t j = 1; j <= cells.front().size(); ++j)
    html += "<td class=\"clsSimCell\">" + std::to_string(j) + "</td>";
  html += "</tr>";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    html += "<tr><td class=\"clsSimCell\">" + std::to_string(i + 1) + "</td>";
    for (const std::string& c : cells[i])
      html += c == "*"   ? "<td class=\"clsSelCell\">0*</td>"
              : c == "X" ? "<td class=\"clsSimCell\">0&#8242;</td>"
              : c == "-" ? "<td class=\"clsSimCell\">&ndash;</td>"
                         : "<td class=\"clsSimCell\">" + c + "</td>";
    html += "</tr>";
  }
  return html + "</table>";
}

// The coefficients of a reduction, "1  2  3", as their one-line table.
std::string Coefficients(const std::string& values) {
  std::istringstream in(values);
  std::string html = "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\"><tr>";
  for (std::string v; in >> v;) html += "<td class=\"clsSimCell\">" + v + "</td>";
  return html + "</tr></table>";
}

// Lines that must appear in the report in this order, each a whole line, and texts that must not
// appear at all.
struct TReportCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> InOrder;
  std::vector<std::string> Absent;
  int Passes; // paragraphs "Независимых нулей меньше, чем строк в матрице, поэтому продолжаем:"
};

TEST(AssignmentReport, EveryStageAsTheTextbookWritesIt) {
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int64_t> cost(0, 1000);
  const std::string large = MatrixText(false, 60, [&] { return cost(random); });
  const TReportCase cases[] = {
      {"the 3 x 3 example: one pass, the minimal element 1, the value 10",
       "assign min\n1 2 3\n2 4 6\n3 6 9\n",
       {"<H2>&bull; Исходная матрица: </H2>",
        Matrix("<p> 1  2  3 <p> 2  4  6 <p> 3  6  9 <p>"),
        "<HR SIZE=\"1\"></HR>",
        "<H2>&bull; Ищем минимум: </H2>",
        "<p>Коэффициенты для приведения матрицы по строкам",
        Coefficients("1  2  3"),
        Matrix("<p> 0  1  2 <p> 0  2  4 <p> 0  3  6 <p>"),
        "<p>Коэффициенты для приведения матрицы по столбцам",
        Coefficients("0  1  2"),
        Matrix("<p> 0  0  0 <p> 0  1  2 <p> 0  2  4 <p>"),
        "<p>Независимых нулей меньше, чем строк в матрице, поэтому продолжаем:",
        Matrix("<p> X  *  X <p> *  1  2 <p> X  2  4 <p>"),
        "<p>Обозначения: <b>0*</b> — выбранный (независимый) нуль, 0&#8242; — зачёркнутый нуль",
        Matrix("<p> -  -  - <p> -  1  2 <p> -  2  4 <p>"),
        "<p>Минимальный элемент = 1",
        Matrix("<p> 1  0  0 <p> 0  0  1 <p> 0  1  3 <p>"),
        "<H2>&bull; Результат:</H2>",
        Matrix("<p> 1  X  * <p> X  *  1 <p> *  1  3 <p>"),
        "<p>Значение целевой функции = 10",
        "<p>Назначение:",
        "<p>строка 1 → столбец 3",
        "<p>строка 2 → столбец 2",
        "<p>строка 3 → столбец 1",
        "<p><b>Ответ:</b> Z<sub>min</sub> = 10 при назначении: строка 1 → столбец 3, строка 2 → столбец 2, "
        "строка 3 → столбец 1"},
       {},
       1},
      {"reductions that already finish: the loop never runs",
       "assign min\n1 2 3\n3 1 2\n2 3 1\n",
       {"<p>Коэффициенты для приведения матрицы по столбцам", Coefficients("0  0  0"),
        Matrix("<p> 0  1  2 <p> 2  0  1 <p> 1  2  0 <p>"), "<HR SIZE=\"1\"></HR>", "<H2>&bull; Результат:</H2>",
        Matrix("<p> *  1  2 <p> 2  *  1 <p> 1  2  * <p>"), "<p>Значение целевой функции = 3"},
       {"Минимальный элемент"},
       0},
      {"all equal, maximised: the transformed matrix is zero, the value is the original total 15",
       "assign max\n5 5 5\n5 5 5\n5 5 5\n",
       {"<H2>&bull; Ищем максимум: </H2>", "<H2>&bull; Приведенная матрица: </H2>",
        Matrix("<p> 0  0  0 <p> 0  0  0 <p> 0  0  0 <p>"), "<p>Значение целевой функции = 15"},
       {"Значение целевой функции = 0"},
       0},
      {"the greedy choice stops at two zeros; the largest set has three",
       "assign min\n0 1 3\n7 5 4\n3 5 9\n",
       {Matrix("<p> 0  0  3 <p> 3  0  0 <p> 0  1  6 <p>"), "<H2>&bull; Результат:</H2>",
        Matrix("<p> X  *  3 <p> 3  X  * <p> *  1  6 <p>"), "<p>Значение целевой функции = 8", "<p>строка 1 → столбец 2",
        "<p>строка 2 → столбец 3", "<p>строка 3 → столбец 1"},
       {},
       0},
      {"a total above 2^31 - 1 printed whole",
       "assign max\n2147483647 0 0\n0 2147483647 0\n0 0 2147483647\n",
       {Matrix("<p>2147483647  0  0 <p> 0 2147483647  0 <p> 0  0 2147483647 <p>"),
        "<p>Значение целевой функции = 6442450941"},
       {},
       0},
      {"above 50 x 50: the original and the result printed, the intermediate matrices left out",
       large,
       {"<H2>&bull; Исходная матрица: </H2>", "<HR SIZE=\"1\"></HR>",
        "<p>Матрица больше 50 × 50: промежуточные матрицы в отчёт не выводятся; приводятся коэффициенты "
        "приведения, минимальные элементы и результат.",
        "<p>Коэффициенты для приведения матрицы по строкам", "<p>Коэффициенты для приведения матрицы по столбцам",
        "<H2>&bull; Результат:</H2>", "<HR SIZE=\"1\"></HR>", "<p>Назначение:", "<p>строка 60 → столбец"},
       {},
       -1},
  };
  for (const TReportCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRun run = Solve(c.Text);
    std::size_t at = 0;
    for (const std::string& expected : c.InOrder) {
      const auto it = std::find_if(run.Lines.begin() + static_cast<std::ptrdiff_t>(at), run.Lines.end(),
                                   [&](const std::string& line) { return line.rfind(expected, 0) == 0; });
      ASSERT_NE(it, run.Lines.end()) << "missing, or out of order: " << expected;
      at = static_cast<std::size_t>(it - run.Lines.begin()) + 1;
    }
    for (const std::string& absent : c.Absent)
      for (const std::string& line : run.Lines) EXPECT_EQ(line.find(absent), std::string::npos) << line;
    const auto passes = std::count(run.Lines.begin(), run.Lines.end(),
                                   "<p>Независимых нулей меньше, чем строк в матрице, поэтому продолжаем:");
    if (c.Passes >= 0) {
      EXPECT_EQ(passes, c.Passes);
    } else {
      // Only the original and the result matrix are printed.
      EXPECT_EQ(std::count(run.Lines.begin(), run.Lines.end(), "<HR SIZE=\"1\"></HR>"), 2);
      EXPECT_EQ(std::count_if(run.Lines.begin(), run.Lines.end(),
                              [](const std::string& l) { return l.rfind("<p>Минимальный элемент = ", 0) == 0; }),
                passes);
    }
    CheckAssignment(run.Statement, run.Verdict);
  }
}

// What "Решение" accepts in a cell: whole numbers from 0, an empty cell as 0.
TEST(AssignmentReport, CellsAreWholeNonNegativeNumbers) {
  struct TCell {
    const char* Text;
    std::int64_t Value; // -1: refused
    const char* Message;
  };
  const TCell cells[] = {{"", 0, ""},
                         {" 17 ", 17, ""},
                         {"+4", 4, ""},
                         {"-0", 0, ""},
                         {"2147483647", 2147483647, ""},
                         {"2147483648", -1, "Должно быть целое число"},
                         {"1.5", -1, "Должно быть целое число"},
                         {"abc", -1, "Должно быть целое число"},
                         {"-3", -1, "Должно быть положительное число"}};
  for (const TCell& c : cells) {
    SCOPED_TRACE(c.Text);
    std::int64_t value = -1;
    std::string message;
    EXPECT_EQ(ReadAssignmentCost(c.Text, value, message), c.Value >= 0);
    if (c.Value >= 0) {
      EXPECT_EQ(value, c.Value);
    }
    EXPECT_EQ(message, c.Message);
  }
}

} // namespace
