// The least-squares line: the auxiliary table, the fractions of A and B, the report and the verdict.
#include "Regression.h"

#include "RegressionPlot.h"
#include "Verdict.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr const char* TableLine = "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\">";
constexpr std::array<const char*, 6> Headers = {"№", "X", "Y", "X<sup>2</sup>", "X·Y", "Y<sup>2</sup>"};

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value a text of the table stands for (a text this unit wrote, or an observation already read).
double ValueOf(const std::string& text) {
  double v = 0;
  static_cast<void>(ParseDecimal(text, v));
  return v;
}

void AddFraction(TZLPCore_SolutionResult& report, const char* name, const std::string& numerator,
                 const std::string& denominator, double value) {
  report.AddLine("<table cellpadding=0 cellspacing=0 border=0>");
  report.AddLine(std::string("  <tr><td rowspan=2>") + name + " = </td>");
  report.AddLine("<td style=\"border-bottom: solid 1px black;\">" + numerator + "</td>");
  report.AddLine("<td rowspan=2> = " + FloatText(value) + "</td>");
  report.AddLine("  <tr><td>" + denominator + "</td></tr>");
  report.AddLine("</table>");
}

void AddCells(TZLPCore_SolutionResult& report, const std::string* first, const std::string* last) {
  report.AddLine("<tr>");
  for (; first != last; ++first) report.AddLine("<td class=\"clsSimCell\">" + *first + "</td>");
  report.AddLine("</tr>");
}

// A long series shows its first and last rows in the tables; the whole of it stays in the statement
// and in a collapsed list under the tables, so that the report opens at once.
constexpr std::size_t SummarisedAbove = 50;
constexpr std::size_t ShownAtEnds = 20;

// Rows 0 .. count-1 of a table of columns cells each, with the middle of a long series as one line.
template <class TRowAt>
void AddSeries(TZLPCore_SolutionResult& report, std::size_t count, std::size_t columns, const TRowAt& rowAt) {
  for (std::size_t r = 0; r < count; ++r) {
    if (count > SummarisedAbove && r == ShownAtEnds) {
      report.AddLine("<tr><td class=\"clsSimCell\" colspan=" + std::to_string(columns) + ">строки " +
                     std::to_string(ShownAtEnds + 1) + "&ndash;" + std::to_string(count - ShownAtEnds) +
                     " не показаны</td></tr>");
      r = count - ShownAtEnds;
    }
    const std::string* first = rowAt(r);
    AddCells(report, first, first + columns);
  }
}

// For a summarised series: the count, the range and the mean of X and of Y, and every observation
// in a list that opens on a click.
void AddSeriesSummary(TZLPCore_SolutionResult& report, const TStatementGrid& grid, const std::vector<double>& x,
                      const std::vector<double>& y) {
  const auto describe = [](const char* name, const std::vector<double>& v) {
    const auto [low, high] = std::minmax_element(v.begin(), v.end());
    long double sum = 0;
    for (const double d : v) sum += d;
    return std::string(name) + " от " + FloatText(*low) + " до " + FloatText(*high) + ", среднее " +
           FloatText(static_cast<double>(sum / static_cast<long double>(v.size())));
  };
  report.AddParagraph("Наблюдений " + std::to_string(x.size()) + ": " + describe("X", x) + "; " + describe("Y", y) +
                      ". В таблицах показаны первые и последние " + std::to_string(ShownAtEnds) +
                      " строк, все наблюдения — в условии задачи и в списке ниже.");
  std::string list = "<details><summary>Все наблюдения (X; Y)</summary><pre>\r\n";
  list.reserve(list.size() + x.size() * 24);
  for (std::int32_t i = 1; i <= grid.Sx; ++i) {
    list += HtmlEscape(grid.Cell(0, i));
    list += "; ";
    list += HtmlEscape(grid.Cell(1, i));
    list += "\r\n";
  }
  report.AddLine(list + "</pre></details>");
}

} // namespace

bool ParseDecimal(const std::string& text, double& value) {
  std::string t = Trimmed(text);
  if (const auto comma = t.find(','); comma != std::string::npos && t.find('.') == std::string::npos) t[comma] = '.';
  const char* first = t.data();
  const char* last = first + t.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return false;
  }
  double parsed = 0;
  const auto [end, ec] = std::from_chars(first, last, parsed);
  if (ec != std::errc() || end != last || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

std::string FloatText(double value) {
  if (value == 0) return "0"; // no "-0"
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

TRegressionSheet ComputeRegression(const TStatementGrid& grid) {
  TRegressionSheet sheet;
  const std::int32_t n = grid.Sx;
  if (grid.TaskType != TT_REGRESSION || n < RegressionMinCount || n > RegressionMaxCount) {
    sheet.Error = {TStatementError::TPlace::Size, n, 0, "количество строк", "наблюдений должно быть от 2 до 32000"};
    return sheet;
  }
  const auto count = static_cast<std::size_t>(n);
  std::vector<double> x(count);
  std::vector<double> y(count);
  for (std::int32_t i = 1; i <= n; ++i)
    for (std::int32_t column = 0; column <= 1; ++column) {
      double& v = (column == 0 ? x : y)[static_cast<std::size_t>(i - 1)];
      if (!ParseDecimal(grid.Cell(column, i), v)) {
        sheet.Error = {TStatementError::TPlace::Cell, column, i, CellName(grid, column, i),
                       "\"" + grid.Cell(column, i) + "\" не является числом (пример: 2.5, -1e3)"};
        return sheet;
      }
    }

  // The table, and the totals of what it shows.
  sheet.Rows.resize(count + 1);
  std::array<long double, 6> total{};
  bool finite = true;
  for (std::size_t r = 0; r < count; ++r) {
    std::array<std::string, 6>& row = sheet.Rows[r];
    const std::int32_t i = static_cast<std::int32_t>(r) + 1;
    const double products[3] = {x[r] * x[r], x[r] * y[r], y[r] * y[r]};
    row = {std::to_string(i),      FloatText(x[r]),        FloatText(y[r]),
           FloatText(products[0]), FloatText(products[1]), FloatText(products[2])};
    total[1] += x[r];
    total[2] += y[r];
    for (std::size_t c = 3; c <= 5; ++c) {
      finite = finite && std::isfinite(products[c - 3]);
      total[c] += ValueOf(row[c]);
    }
  }
  std::array<std::string, 6>& last = sheet.Rows[count];
  last[0] = "Итого";
  std::array<double, 6> sum{};
  for (std::size_t c = 1; c <= 5; ++c) {
    last[c] = FloatText(static_cast<double>(total[c]));
    sum[c] = static_cast<double>(total[c]);
  }
  const std::string tn = FloatText(n);
  sheet.NumeratorA = tn + "·" + last[4] + " - " + last[1] + "·" + last[2];
  sheet.NumeratorB = last[2] + "·" + last[3] + " - " + last[1] + "·" + last[4];
  sheet.Denominator = tn + "·" + last[3] + " - " + last[1] + "·" + last[1];

  const auto [low, high] = std::minmax_element(x.begin(), x.end());
  if (*low == *high) {
    sheet.Error = {TStatementError::TPlace::Whole, 0, 0, "значения X",
                   "все значения X одинаковы: прямая Y = AX + B по таким наблюдениям не определена"};
    return sheet;
  }
  long double meanX = 0;
  long double meanY = 0;
  for (std::size_t r = 0; r < count; ++r) {
    meanX += x[r];
    meanY += y[r];
  }
  meanX /= n;
  meanY /= n;
  long double sxx = 0;
  long double sxy = 0;
  long double syy = 0;
  for (std::size_t r = 0; r < count; ++r) {
    const long double dx = x[r] - meanX;
    const long double dy = y[r] - meanY;
    sxx += dx * dx;
    sxy += dx * dy;
    syy += dy * dy;
  }
  // All Y equal: the line Y = B passes through every point, r is not defined.
  sheet.HasR = syy > 0 && sxx > 0;
  if (sheet.HasR) sheet.R = static_cast<double>(sxy / std::sqrt(sxx * syy));
  const long double a = sxy / sxx;
  sheet.A = static_cast<double>(a);
  sheet.B = static_cast<double>(meanY - a * meanX);
  finite = finite && std::all_of(sum.begin() + 1, sum.end(), [](double v) { return std::isfinite(v); });
  if (!finite || sxx == 0 || !std::isfinite(sheet.A) || !std::isfinite(sheet.B)) {
    sheet.Error = {TStatementError::TPlace::Whole, 0, 0, "наблюдения",
                   "числа слишком велики: их квадраты и произведения не помещаются в числа с плавающей точкой"};
    return sheet;
  }
  sheet.Solved = true;
  return sheet;
}

namespace {

// A value rounded for reading.
std::string RoundedText(double value) {
  if (value == 0) return "0";
  char buffer[64];
  // Four places after the point, or four significant digits for a value below 0.001.
  const bool small = std::abs(value) < 0.001;
  const auto [end, ec] = small ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 4)
                               : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
  if (ec != std::errc()) return FloatText(value);
  std::string text(buffer, end);
  if (!small && text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

// "Y = 1.9914X + 0.0467": the line with its coefficients rounded.
std::string FittedLineText(double a, double b) {
  std::string text = "Y = " + RoundedText(a) + "X";
  const std::string free = RoundedText(std::abs(b));
  if (free != "0") text += (b < 0 ? " - " : " + ") + free;
  return text;
}

} // namespace

TTaskVerdict RegressionVerdict(const TRegressionSheet& sheet) {
  TTaskVerdict v;
  v.Status = TTaskStatus::Solved;
  v.A = sheet.A;
  v.B = sheet.B;
  const std::string values = "A = " + FloatText(sheet.A) + ", B = " + FloatText(sheet.B);
  v.Message = StatusSentence(TTaskStatus::Solved) + ": " + values;
  v.Answer = FittedLineText(sheet.A, sheet.B) + " (" + values + "); " +
             (sheet.HasR ? "r = " + RoundedText(sheet.R) + ", R<sup>2</sup> = " + RoundedText(sheet.R * sheet.R)
                         : "все Y одинаковы: прямая проходит через все точки, r не определён");
  return v;
}

void AppendRegression(TZLPCore_SolutionResult& report, const TStatementGrid& grid, const TRegressionSheet& sheet) {
  if (ReportSilenced()) return;
  report.AddHeading("Исходные данные для расчёта");
  report.AddParagraph("Статистические данные представлены следующей таблицей:");
  report.AddLine(TableLine);
  report.AddLine("<tr>");
  report.AddLine("<td>X</td>");
  report.AddLine("<td>Y</td>");
  report.AddLine("</tr>");
  // Every number with the decimal point, whether a comma or a point was typed.
  std::string pair[2];
  AddSeries(report, static_cast<std::size_t>(grid.Sx), 2, [&](std::size_t r) {
    const auto i = static_cast<std::int32_t>(r) + 1;
    pair[0] = FloatText(ValueOf(grid.Cell(0, i)));
    pair[1] = FloatText(ValueOf(grid.Cell(1, i)));
    return pair;
  });
  report.AddLine("</table>");

  std::vector<double> x, y;
  for (std::int32_t i = 1; i <= grid.Sx; ++i) {
    x.push_back(ValueOf(grid.Cell(0, i)));
    y.push_back(ValueOf(grid.Cell(1, i)));
  }
  if (x.size() > SummarisedAbove) AddSeriesSummary(report, grid, x, y);

  report.AddHeading("Метод наименьших квадратов");
  report.AddParagraph("Составим вспомогательную таблицу:");
  report.AddLine(TableLine);
  report.AddLine("<tr>");
  for (const char* header : Headers) report.AddLine(std::string("<td>") + header + "</td>");
  report.AddLine("</tr>");
  AddSeries(report, sheet.Rows.size() - 1, 6, [&](std::size_t r) { return sheet.Rows[r].data(); });
  AddCells(report, sheet.Rows.back().data(), sheet.Rows.back().data() + 6);
  report.AddLine("</table>");

  report.AddParagraph("&nbsp;");
  report.AddParagraph("Найдём коэффициенты Y = <b>A</b>X + <b>B</b>:");
  AddFraction(report, "A", sheet.NumeratorA, sheet.Denominator, sheet.A);
  AddFraction(report, "B", sheet.NumeratorB, sheet.Denominator, sheet.B);
  report.AddParagraph("Уравнение прямой: <b>" + FittedLineText(sheet.A, sheet.B) +
                      "</b> (коэффициенты округлены до четырёх знаков после точки).");
  if (sheet.HasR)
    report.AddParagraph("Коэффициент корреляции r = " + RoundedText(sheet.R) + ", коэффициент детерминации R<sup>2</sup> = " +
                        RoundedText(sheet.R * sheet.R) + ": прямая объясняет " + RoundedText(100 * sheet.R * sheet.R) +
                        "% разброса Y.");
  AddRegressionPlot(report, x, y, sheet.A, sheet.B);
  AddAnswer(report, RegressionVerdict(sheet));
}

bool RegressionCanBeStored(const TStatementGrid& grid) {
  for (std::int32_t i = 1; i <= grid.Sx; ++i)
    for (std::int32_t column = 0; column <= 1; ++column)
      if (double v = 0; !ParseDecimal(grid.Cell(column, i), v)) return false;
  return grid.Sx >= RegressionMinCount && grid.Sx <= RegressionMaxCount;
}

bool ReadRegressionStatement(const TStatementGrid& grid, TZLPCore_Interface&, TStatementError& error) {
  TRegressionSheet sheet = ComputeRegression(grid);
  if (sheet.Solved) return true;
  error = std::move(sheet.Error);
  return false;
}

void SolveRegressionTask(TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  const TRegressionSheet sheet = ComputeRegression(data.Statement);
  if (!sheet.Solved) {
    data.Verdict.Status = TTaskStatus::BadInput;
    data.Verdict.Message = sheet.Error.Field + ": " + sheet.Error.Message;
    AddAnswer(report, data.Verdict);
    return;
  }
  AppendRegression(report, data.Statement, sheet);
  const bool isMax = data.Verdict.IsMax;
  data.Verdict = RegressionVerdict(sheet);
  data.Verdict.IsMax = isMax;
}
