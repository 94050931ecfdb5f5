// The independent check of the regression: the residuals of the line are orthogonal to both columns
// of the model, the ones and the X values (the normal equations at the answer). Random observations
// against it, and the texts of the auxiliary table and the fractions on the cases a student meets first.
#include "MessageRecorder.h"
#include "Regression.h"
#include "TaskCatalog.h"
#include "TaskChecks.h"
#include "TaskRun.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>

namespace {

// Σ r_i = 0 and Σ x_i·r_i = 0 for r_i = y_i − (A·x_i + B), each up to 1e-9 of the size of its terms.
void CheckRegression(const TStatementGrid& g, const TTaskVerdict& v) {
  ASSERT_EQ(v.Status, TTaskStatus::Solved) << v.Message;
  ASSERT_TRUE(v.A.has_value() && v.B.has_value());
  const long double a = *v.A;
  const long double b = *v.B;
  long double residuals = 0, residualsScale = 0, moments = 0, momentsScale = 0;
  for (std::int32_t i = 1; i <= g.Sx; ++i) {
    const long double x = std::stold(g.Cell(0, i));
    const long double y = std::stold(g.Cell(1, i));
    const long double r = y - (a * x + b);
    const long double size = std::fabs(y) + std::fabs(a * x) + std::fabs(b);
    residuals += r;
    residualsScale += size;
    moments += x * r;
    momentsScale += std::fabs(x) * size;
  }
  EXPECT_LE(std::fabs(residuals), 1e-9L * residualsScale) << "the residuals do not sum to zero";
  EXPECT_LE(std::fabs(moments), 1e-9L * momentsScale) << "the residuals are not orthogonal to X";
}

const TTaskCheckRegistration Registration(TT_REGRESSION, CheckRegression);

// Data sets far from zero, with a steep or flat line, small and large, decimals as students type them.
TEST(RegressionCheck, RandomObservationsHaveResidualsOrthogonalToBothColumns) {
  TMessageRecorder messages;
  std::mt19937 random(31);
  for (int k = 0; k < 60; ++k) {
    const int n = 2 + k % 9 + (k % 10 == 0 ? 3000 : 0);
    const double offset = k % 4 == 0 ? 1e6 : k % 4 == 1 ? -250.5 : 0;
    const double slope = std::uniform_real_distribution<double>(-50, 50)(random);
    std::normal_distribution<double> noise(0, k % 3 == 0 ? 0 : 3);
    std::uniform_real_distribution<double> spread(-100, 100);
    std::ostringstream text;
    text.precision(12);
    text << "regress\n";
    double first = 0;
    for (int i = 0; i < n; ++i) {
      // Two different X at least, so that the line is determined.
      double x = offset + (i == 1 ? first + 1 : spread(random));
      if (i == 0) first = x - offset;
      text << x << " " << slope * x + 7 + noise(random) << "\n";
    }
    SCOPED_TRACE(text.str().substr(0, 200));
    TTextFormatError textError;
    const auto grid = ParseStatementText(text.str(), textError);
    ASSERT_TRUE(grid) << textError.Message;
    TZLPCore_Interface data;
    TStatementError error;
    ASSERT_TRUE(ReadStatement(*grid, data, error)) << error.Message;
    TZLPCore_SolutionResult report;
    CheckRegression(*grid, RunTask(TT_REGRESSION, data, report));
  }
  EXPECT_TRUE(messages.Messages.empty());
}

TStatementGrid Observations(std::vector<std::pair<std::string, std::string>> pairs) {
  TStatementGrid g = NewStatement(TT_REGRESSION, static_cast<std::int32_t>(pairs.size()), 0);
  for (std::int32_t i = 1; i <= g.Sx; ++i) {
    g.SetCell(0, i, pairs[static_cast<std::size_t>(i - 1)].first);
    g.SetCell(1, i, pairs[static_cast<std::size_t>(i - 1)].second);
  }
  return g;
}

// The pairs (1, 2), (2, 4), (3, 6): the totals, the fractions and their values, and the report
// block that shows them, ending with the answer.
TEST(RegressionSheet, TheTotalsAndTheFractionsOfTheNormalEquations) {
  const TStatementGrid g = Observations({{"1", "2"}, {"2", "4"}, {"3", "6"}});
  const TRegressionSheet sheet = ComputeRegression(g);
  ASSERT_TRUE(sheet.Solved) << sheet.Error.Message;
  ASSERT_EQ(sheet.Rows.size(), 4U);
  EXPECT_EQ(sheet.Rows[1], (std::array<std::string, 6>{"2", "2", "4", "4", "8", "16"}));
  EXPECT_EQ(sheet.Rows[3], (std::array<std::string, 6>{"Итого", "6", "12", "14", "28", "56"}));
  EXPECT_EQ(sheet.Denominator, "3·14 - 6·6");
  EXPECT_EQ(sheet.NumeratorA, "3·28 - 6·12");
  EXPECT_EQ(sheet.NumeratorB, "12·14 - 6·28");
  EXPECT_EQ(sheet.A, 2.0);
  EXPECT_EQ(sheet.B, 0.0);

  TZLPCore_SolutionResult report;
  AppendRegression(report, g, sheet);
  const std::vector<std::string> expected = {"<table cellpadding=0 cellspacing=0 border=0>",
                                             "  <tr><td rowspan=2>A = </td>",
                                             "<td style=\"border-bottom: solid 1px black;\">3·28 - 6·12</td>",
                                             "<td rowspan=2> = 2</td>",
                                             "  <tr><td>3·14 - 6·6</td></tr>",
                                             "</table>",
                                             "<table cellpadding=0 cellspacing=0 border=0>",
                                             "  <tr><td rowspan=2>B = </td>",
                                             "<td style=\"border-bottom: solid 1px black;\">12·14 - 6·28</td>",
                                             "<td rowspan=2> = 0</td>",
                                             "  <tr><td>3·14 - 6·6</td></tr>",
                                             "</table>",
                                             "<p>Уравнение прямой: <b>Y = 2X</b> (коэффициенты округлены до четырёх "
                                             "знаков после точки).",
                                             "<p>Коэффициент корреляции r = 1, коэффициент детерминации R<sup>2</sup> "
                                             "= 1: прямая объясняет 100% разброса Y.",
                                             "<p><b>Ответ:</b> Y = 2X (A = 2, B = 0); r = 1, R<sup>2</sup> = 1"};
  // The scatter plot of the observations comes between the fractions and the answer.
  ASSERT_GE(report.Lines.size(), expected.size() + 1);
  std::vector<std::string> tail(report.Lines.end() - static_cast<std::ptrdiff_t>(expected.size() + 1),
                                report.Lines.end());
  EXPECT_EQ(tail[tail.size() - 2].rfind("<div class=\"clsGraphBox\">", 0), 0U);
  tail.erase(tail.end() - 2);
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(report.Lines.front(), "<H2>&bull; Исходные данные для расчёта</H2>");
  EXPECT_NE(std::find(report.Lines.begin(), report.Lines.end(), "<td class=\"clsSimCell\">Итого</td>"),
            report.Lines.end());
}

// Observations that give no line are refused with the cell or the reason; a comma is a decimal point.
TEST(RegressionSheet, ObservationsWithoutALineAreRefused) {
  struct TCase {
    const char* Name;
    TStatementGrid Grid;
    bool Solved;
    TStatementError::TPlace Place;
    std::int32_t X, Y;
  };
  const TCase cases[] = {
      {"equal X", Observations({{"1", "2"}, {"1", "5"}}), false, TStatementError::TPlace::Whole, 0, 0},
      {"an empty Y", Observations({{"1", "2"}, {"2", ""}}), false, TStatementError::TPlace::Cell, 1, 2},
      {"not a number", Observations({{"1", "2"}, {"x", "3"}}), false, TStatementError::TPlace::Cell, 0, 2},
      {"squares beyond floating point", Observations({{"1e200", "1"}, {"2e200", "2"}}), false,
       TStatementError::TPlace::Whole, 0, 0},
      {"decimal commas", Observations({{"0,5", "1,5"}, {"1.5", "3,5"}}), true, TStatementError::TPlace::Whole, 0, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRegressionSheet sheet = ComputeRegression(c.Grid);
    EXPECT_EQ(sheet.Solved, c.Solved);
    TZLPCore_Interface data;
    TStatementError error;
    EXPECT_EQ(ReadStatement(c.Grid, data, error), c.Solved);
    if (c.Solved) {
      EXPECT_EQ(sheet.A, 2.0);
      EXPECT_EQ(sheet.B, 0.5);
      continue;
    }
    EXPECT_EQ(error.Place, c.Place);
    EXPECT_EQ(error.X, c.X);
    EXPECT_EQ(error.Y, c.Y);
    EXPECT_FALSE(error.Message.empty());
  }
  EXPECT_EQ(ComputeRegression(Observations({{"1", "2"}, {"1", "5"}})).Denominator, "2·2 - 2·2");
}

// A long series: its tables keep the first and last 20 rows and say which are left out, every
// observation is in the list under them, and the line is the one of the whole series.
TEST(RegressionReport, ALongSeriesShowsItsEndsAndListsEveryObservation) {
  TMessageRecorder messages;
  std::string text = "regress\n";
  for (int i = 1; i <= 300; ++i) text += std::to_string(i) + " " + std::to_string(3 * i + (i % 7) - 3) + "\n";
  const TRun run = SolveText(text, TT_REGRESSION);
  ASSERT_EQ(run.Verdict.Status, TTaskStatus::Solved);
  std::string page;
  for (const std::string& line : run.Lines) page += line + "\n";
  const auto count = [&page](const std::string& part) {
    std::size_t n = 0;
    for (auto at = page.find(part); at != std::string::npos; at = page.find(part, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("строки 21&ndash;280 не показаны"), 2u) << "in the data table and in the auxiliary one";
  // Row 20 and row 281 of the auxiliary table are there, rows 21 and 280 are not.
  EXPECT_EQ(count("<td class=\"clsSimCell\">20</td>\n<td class=\"clsSimCell\">20</td>"), 1u);
  EXPECT_EQ(count("<td class=\"clsSimCell\">281</td>\n<td class=\"clsSimCell\">281</td>"), 1u);
  EXPECT_EQ(count("<td class=\"clsSimCell\">21</td>\n<td class=\"clsSimCell\">21</td>"), 0u);
  EXPECT_EQ(count("<td class=\"clsSimCell\">Итого</td>"), 1u);
  const auto list = page.find("<details>");
  ASSERT_NE(list, std::string::npos);
  for (int i = 1; i <= 300; ++i)
    EXPECT_NE(page.find("\n" + std::to_string(i) + "; " + std::to_string(3 * i + (i % 7) - 3) + "\r\n", list),
              std::string::npos)
        << i;
  EXPECT_NE(page.find("Наблюдений 300: X от 1 до 300, среднее 150.5"), std::string::npos);
  // The same line as the series of all 300 points gives.
  CheckRegression(run.Statement, run.Verdict);
  // A short series keeps every row.
  const TRun shortRun = SolveText("regress\n1 2\n2 4\n3 7\n", TT_REGRESSION);
  for (const std::string& line : shortRun.Lines) EXPECT_EQ(line.find("не показаны"), std::string::npos);
}

} // namespace

// The line as a student reads it: coefficients rounded to four places beside their full values,
// the correlation coefficient and R², all computed here independently (Pearson's formula on the
// raw sums), and every number with the decimal point even where a comma was typed.
TEST(RegressionSheet, TheLineIsWrittenWithItsNumbers) {
  const std::vector<std::pair<double, double>> points = {{1, 2.1}, {2, 3.9}, {3, 6.2}, {4, 7.8}, {5, 10.1}};
  const TStatementGrid g = Observations({{"1", "2,1"}, {"2", "3.9"}, {"3", "6,2"}, {"4", "7.8"}, {"5", "10.1"}});
  const TRegressionSheet sheet = ComputeRegression(g);
  ASSERT_TRUE(sheet.Solved) << sheet.Error.Message;
  double sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
  for (const auto& [x, y] : points) {
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
    syy += y * y;
  }
  const double n = static_cast<double>(points.size());
  const double a = (n * sxy - sx * sy) / (n * sxx - sx * sx);
  const double b = (sy - a * sx) / n;
  const double r = (n * sxy - sx * sy) / std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
  const auto fixed4 = [](double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f", v);
    std::string t = buffer;
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t;
  };
  const std::string answer = RegressionVerdict(sheet).Answer;
  EXPECT_EQ(answer.rfind("Y = " + fixed4(a) + "X " + (b < 0 ? "- " : "+ ") + fixed4(std::abs(b)) + " (A = ", 0), 0U)
      << answer;
  EXPECT_NE(answer.find("; r = " + fixed4(r) + ", R<sup>2</sup> = " + fixed4(r * r)), std::string::npos) << answer;

  TZLPCore_SolutionResult report;
  AppendRegression(report, g, sheet);
  const std::string page = report.GetText();
  EXPECT_EQ(page.find("2,1"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"clsSimCell\">6.2</td>"), std::string::npos) << page.substr(0, 1500);
  EXPECT_NE(page.find("Коэффициент корреляции r = " + fixed4(r)), std::string::npos);

  // All Y equal: a horizontal line through every point, no r.
  const TRegressionSheet flat = ComputeRegression(Observations({{"1", "3"}, {"2", "3"}, {"4", "3"}}));
  ASSERT_TRUE(flat.Solved);
  EXPECT_FALSE(flat.HasR);
  EXPECT_EQ(RegressionVerdict(flat).Answer,
            "Y = 0X + 3 (A = 0, B = 3); все Y одинаковы: прямая проходит через все точки, r не определён");
}
