// The textbook form of a simplex table, its basic plan in words and the second optimal plan.
#include "SimplexTextbook.h"

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

namespace {

// A number as a table cell shows it: in full, or a long one as a short decimal with the exact value
// in the cell's title.
void NumberCell(std::string& h, bool selected, TRational v, bool exact) {
  const char* cls = selected ? "clsSelCell" : "clsSimCell";
  if (!RatIsValid(v)) {
    h += std::string("<td class=\"") + cls + "\">" + HtmlEscape(RatToStr(v)) + "</td>";
    return;
  }
  if (!exact && RatIsLong(v)) {
    h += std::string("<td class=\"") + cls + "\" title=\"" + RatToStr(v) + "\">" + RatToDecimal(v) + "</td>";
    return;
  }
  h += std::string("<td class=\"") + cls + "\">" + RatToStr(v) + "</td>";
}

void TextCell(std::string& h, bool selected, const std::string& html) {
  h += selected ? "<td class=\"clsSelCell\">" : "<td class=\"clsSimCell\">";
  h += html;
  h += "</td>";
}

TRational CostOf(const std::vector<TRational>& costs, std::int32_t col) {
  if (col < 1 || static_cast<std::size_t>(col) > costs.size()) return RatFromInt(0);
  return costs[static_cast<std::size_t>(col - 1)];
}

TMValue MOf(const TSimplexTable& t, const std::vector<TRational>& mrow, std::int32_t c) {
  return {t.GetCell(c, 0), c >= 0 && static_cast<std::size_t>(c) < mrow.size() ? mrow[static_cast<std::size_t>(c)]
                                                                                  : RatFromInt(0)};
}

// A value in a sentence; a long one as its decimal approximation, marked so (the table holds it exactly).
std::string Value(TRational v) {
  if (RatIsLong(v)) return "&asymp;" + RatToDecimal(v);
  return HtmlEscape(RatToStr(v));
}

} // namespace

int TMValue::Sign() const noexcept { return RatSign(B) != 0 ? RatSign(B) : RatSign(A); }

int TMValue::Compare(const TMValue& other) const noexcept {
  const int b = RatCompare(B, other.B);
  return b != 0 ? b : RatCompare(A, other.A);
}

std::string TMValue::Text() const {
  if (RatSign(B) == 0) return RatToStr(A);
  const std::string b = RatToStr(B);
  std::string text = b == "1" ? "M" : b == "-1" ? "-M" : RatIsInteger(B) ? b + "M" : "(" + b + ")M";
  if (RatSign(A) > 0) text += " + " + RatToStr(A);
  if (RatSign(A) < 0) text += " - " + RatToStr(RatNeg(A));
  return text;
}

std::string ArtificialTableHtml(const TSimplexTable& t, TTableForm form, const std::vector<TRational>& costs,
                                const std::vector<TRational>& costsM, const std::vector<TRational>& mrow,
                                std::int32_t sc, std::int32_t sr, bool theta) {
  if (form == TTableForm::Textbook) return TextbookTableHtml(t, costs, sc, sr, theta, false, &costsM, &mrow);
  const bool colOn = sc >= 1 && sc <= t.ColCount();
  std::string h = t.ToHtml(sc, sr);
  // The Z row written anew with the multiples of M.
  const std::string label = "<tr><td class=\"clsSimCell\">Z</td>";
  h.erase(h.rfind(label));
  h += label;
  for (std::int32_t c = 0; c <= t.ColCount(); ++c) TextCell(h, colOn && c == sc, MOf(t, mrow, c).Text());
  return h + "</tr></table>";
}

std::vector<TRational> TableCosts(const TSimplexTable& t) {
  std::vector<TRational> costs;
  costs.reserve(static_cast<std::size_t>(t.ColCount()));
  for (std::int32_t j = 1; j <= t.ColCount(); ++j) costs.push_back(RatNeg(t.GetZ(j)));
  return costs;
}

std::string TextbookTableHtml(const TSimplexTable& t, const std::vector<TRational>& costs, std::int32_t sc,
                              std::int32_t sr, bool theta, bool exact, const std::vector<TRational>* costsM,
                              const std::vector<TRational>* mrow) {
  // A cost of the artificial-basis method, a + bM.
  auto costCell = [&](bool selected, std::int32_t col, std::string& out) {
    if (costsM == nullptr || RatSign(CostOf(*costsM, col)) == 0) return NumberCell(out, selected, CostOf(costs, col), exact);
    TextCell(out, selected, TMValue{CostOf(costs, col), CostOf(*costsM, col)}.Text());
  };
  const std::int32_t m = t.RowCount();
  const std::int32_t n = t.ColCount();
  const bool colOn = sc >= 1 && sc <= n;
  const bool rowOn = sr >= 1 && sr <= m;
  std::string h;
  h.reserve(static_cast<std::size_t>(n + 4) * static_cast<std::size_t>(m + 3) * 36 + 256);
  h += "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\" style=\"--rows:" + std::to_string(m + 3) +
       ";--cols:" + std::to_string(n + 4) + "\">";
  // The costs over the variables.
  h += "<tr><td class=\"clsSimCell\" colspan=3>C<sub>j</sub></td>";
  for (std::int32_t j = 1; j <= n; ++j) costCell(colOn && j == sc, j, h);
  h += "<td class=\"clsSimCell\">&nbsp;</td></tr>";
  // The names of the columns.
  h += "<tr><td class=\"clsSimCell\">Базис</td><td class=\"clsSimCell\">C<sub>б</sub></td>"
       "<td class=\"clsSimCell\">B</td>";
  for (std::int32_t j = 1; j <= n; ++j) TextCell(h, colOn && j == sc, HtmlEscape(t.GetColName(j)));
  h += "<td class=\"clsSimCell\">&theta;</td></tr>";
  for (std::int32_t i = 1; i <= m; ++i) {
    const bool inRow = rowOn && i == sr;
    h += "<tr>";
    TextCell(h, inRow, HtmlEscape(t.GetRowName(i)));
    costCell(inRow, t.BasicColumn(i), h);
    for (std::int32_t c = 0; c <= n; ++c) NumberCell(h, inRow || (colOn && c == sc), t.GetCell(c, i), exact);
    const TRational a = t.GetA(sc, i);
    if (theta && colOn && RatGreaterInt(a, 0) && !RatLessInt(t.GetB(i), 0))
      NumberCell(h, inRow, RatDiv(t.GetB(i), a), exact);
    else
      TextCell(h, inRow, theta && colOn ? "&mdash;" : "&nbsp;");
    h += "</tr>";
  }
  // The index row: Z and the estimates.
  h += "<tr><td class=\"clsSimCell\">&Delta;<sub>j</sub></td><td class=\"clsSimCell\">Z =</td>";
  for (std::int32_t c = 0; c <= n; ++c) {
    if (mrow != nullptr)
      TextCell(h, colOn && c == sc, MOf(t, *mrow, c).Text());
    else
      NumberCell(h, colOn && c == sc, t.GetCell(c, 0), exact);
  }
  h += "<td class=\"clsSimCell\">&nbsp;</td></tr></table>";
  return h;
}

std::vector<TRational> BasicPlan(const TSimplexTable& t) {
  std::vector<TRational> x(static_cast<std::size_t>(t.ColCount()), RatFromInt(0));
  for (std::int32_t i = 1; i <= t.RowCount(); ++i)
    if (const std::int32_t j = t.BasicColumn(i); j != 0) x[static_cast<std::size_t>(j - 1)] = t.GetB(i);
  return x;
}

std::string PlanVector(const std::vector<TRational>& x) {
  std::string text = "(";
  for (std::size_t j = 0; j < x.size(); ++j) text += (j == 0 ? "" : "; ") + Value(x[j]);
  return text + ")";
}

std::string PlanSentence(const TSimplexTable& t, const TMValue* z) {
  const std::string plan =
      "X = " + PlanVector(BasicPlan(t)) + ", Z = " + (z != nullptr ? z->Text() : Value(t.GetZValue()));
  std::string negative;
  int count = 0;
  for (std::int32_t i = 1; i <= t.RowCount(); ++i)
    if (RatLessInt(t.GetB(i), 0)) {
      negative += (negative.empty() ? "" : ", ") + IndexToSub(HtmlEscape(t.GetRowName(i))) + " = " + Value(t.GetB(i));
      ++count;
    }
  if (negative.empty()) return "Опорный план " + plan + ".";
  return "Базисное решение " + plan + " не является опорным планом: в нём " +
         (count == 1 ? "отрицательна переменная " : "отрицательны переменные ") + negative + ".";
}

std::optional<TSecondOptimum> FindSecondOptimum(const TSimplexTable& t) {
  std::vector<bool> basic(static_cast<std::size_t>(t.ColCount()) + 1, false);
  for (std::int32_t i = 1; i <= t.RowCount(); ++i) basic[static_cast<std::size_t>(t.BasicColumn(i))] = true;
  for (std::int32_t j = 1; j <= t.ColCount(); ++j) {
    if (basic[static_cast<std::size_t>(j)] || !RatEqualsInt(t.GetZ(j), 0)) continue;
    std::int32_t leave = 0;
    for (std::int32_t k = 1; k <= t.RowCount(); ++k) {
      if (!RatGreaterInt(t.GetA(j, k), 0)) continue;
      if (leave == 0 || RatCompareQuotients(t.GetB(k), t.GetA(j, k), t.GetB(leave), t.GetA(j, leave)) < 0) leave = k;
    }
    TSecondOptimum second;
    second.Col = j;
    if (leave == 0) {
      // Every entry <= 0: the variable grows without bound and Z stays.
      second.Direction.assign(static_cast<std::size_t>(t.ColCount()), RatFromInt(0));
      second.Direction[static_cast<std::size_t>(j - 1)] = RatFromInt(1);
      for (std::int32_t i = 1; i <= t.RowCount(); ++i)
        if (const std::int32_t b = t.BasicColumn(i); b != 0) second.Direction[static_cast<std::size_t>(b - 1)] = RatNeg(t.GetA(j, i));
      return second;
    }
    if (RatEqualsInt(t.GetB(leave), 0)) continue; // a degenerate pivot: the same plan in another basis
    TSimplexTable next;
    next.Assign(t);
    next.Pivot(j, leave);
    if (next.HasInvalidCell()) continue;
    second.Row = leave;
    second.X = BasicPlan(next);
    return second;
  }
  return std::nullopt;
}

std::string SecondOptimumText(const TSimplexTable& t, const TSecondOptimum& second) {
  const std::string name = IndexToSub(HtmlEscape(t.GetColName(second.Col)));
  const std::string first = PlanVector(BasicPlan(t));
  std::string text = "Оценка &Delta;<sub>" + std::to_string(second.Col) + "</sub> свободной переменной " + name +
                     " равна 0, поэтому оптимальный план не единственный: ";
  if (second.X.empty())
    return text + "в столбце " + name + " нет положительных коэффициентов, и " + name +
           " можно увеличивать неограниченно, не меняя Z. Все планы X = X* + t&middot;" +
           PlanVector(second.Direction) + ", t &ge; 0, где X* = " + first + ", оптимальны.";
  return text + "введя " + name + " в базис вместо " + IndexToSub(HtmlEscape(t.GetRowName(second.Row))) +
         ", получим второй оптимальный план X** = " + PlanVector(second.X) + " с тем же значением Z = " +
         Value(t.GetZValue()) + ". Оптимальны все планы отрезка X = &lambda;X* + (1 &minus; &lambda;)X**, 0 &le; "
         "&lambda; &le; 1, где X* = " + first + ".";
}
