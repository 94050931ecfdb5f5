// The dual problem of a linear program: written by the rules, read from the last simplex table,
// checked by the duality theorems, and the sensitivity ranges of the optimum.
#include "DualProblem.h"

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <optional>
#include <string>
#include <utility>

namespace {

// ---- exact arithmetic that remembers whether a value left the range of TRational ----

struct TCalc {
  bool Overflow = false;

  TRational Check(TRational r) {
    if (!RatIsValid(r)) Overflow = true;
    return r;
  }
  TRational Add(TRational a, TRational b) { return Check(RatAdd(a, b)); }
  TRational SubscriptName(TRational a, TRational b) { return Check(RatSub(a, b)); }
  TRational Mul(TRational a, TRational b) { return Check(RatMul(a, b)); }
  TRational Div(TRational a, TRational b) { return Check(RatDiv(a, b)); }
  TRational Neg(TRational a) { return Check(RatMulInt(a, -1)); }
  // -b / a, the step at which b + t a reaches 0.
  TRational Root(TRational b, TRational a) { return Neg(Div(b, a)); }
};

bool IsZero(TRational r) { return RatIsValid(r) && r.Num == 0; }
int Sign(TRational r) { return RatCompareInt(r, 0); }

// A row that limits the objective: "<=" in a maximum, ">=" in a minimum; its Y_i is >= 0.
bool Limiting(const TZLPCore_SubInterface_ZLP& zlp, std::int32_t i) {
  const TZLPCore_InequalitySign sign = zlp.GetSign(i);
  return zlp.IsMax ? sign == IS_BELOWOREQUAL : sign == IS_ABOVEOREQUAL;
}

// The sign the rules give Y_i: 1 for >= 0, -1 for <= 0, 0 for free.
int SignRule(const TZLPCore_SubInterface_ZLP& zlp, std::int32_t i) {
  if (zlp.GetSign(i) == IS_EQUAL) return 0;
  return Limiting(zlp, i) ? 1 : -1;
}

// The multiple f with canonical row k = f * stated row i over X1 ... Xn and the free term, or none.
std::optional<TRational> RowFactor(const TZLPCore_SubInterface_ZLP& stated, std::int32_t i,
                                   const TZLPCore_SubInterface_ZLP& canonical, std::int32_t k, TRational fallback) {
  const std::int32_t n = stated.VarCount();
  std::optional<TRational> f;
  for (std::int32_t j = 1; j <= n + 1 && !f; ++j) {
    const TRational a = j <= n ? stated.Coeffs.GetItem(j, i) : stated.RHS.GetItem(i);
    const TRational b = j <= n ? canonical.Coeffs.GetItem(j, k) : canonical.RHS.GetItem(k);
    if (!IsZero(a)) f = RatDiv(b, a);
  }
  if (!f) f = fallback;
  if (!RatIsValid(*f) || IsZero(*f)) return std::nullopt;
  for (std::int32_t j = 1; j <= n + 1; ++j) {
    const TRational a = j <= n ? stated.Coeffs.GetItem(j, i) : stated.RHS.GetItem(i);
    const TRational b = j <= n ? canonical.Coeffs.GetItem(j, k) : canonical.RHS.GetItem(k);
    const TRational fa = RatMul(*f, a);
    if (!RatIsValid(fa) || !RatIsValid(b) || RatCompare(fa, b) != 0) return std::nullopt;
  }
  return f;
}

// Canonical row Row = Factor * a stated row, read in column Column whose only entry, in that row, is
// Sigma = +1 or -1.
struct TRowSource {
  std::int32_t Row = 0;
  TRational Factor{1, 1};
  std::int32_t Column = 0;
  std::int32_t Sigma = 1;
};

// A column of the canonical program with no cost whose only entry is +1 or -1 in row k: there the Z
// row holds sigma * pi_k. The column preferred (the first basic variable of the row) comes first, then
// any added variable, then a variable of the statement; 0 when there is none.
std::int32_t ReadingColumn(const TZLPCore_SubInterface_ZLP& canonical, std::int32_t k, std::int32_t preferred,
                           std::int32_t n, std::int32_t& sigma) {
  const auto unit = [&](std::int32_t j) {
    if (j < 1 || j > canonical.VarCount() || !IsZero(canonical.Objective.GetItem(j))) return 0;
    int found = 0;
    for (std::int32_t r = 1; r <= canonical.ConstraintCount(); ++r) {
      const TRational a = canonical.Coeffs.GetItem(j, r);
      if (IsZero(a)) continue;
      if (r != k || !(RatEqualsInt(a, 1) || RatEqualsInt(a, -1))) return 0;
      found = RatEqualsInt(a, 1) ? 1 : -1;
    }
    return found;
  };
  if ((sigma = unit(preferred)) != 0) return preferred;
  for (std::int32_t j = n + 1; j <= canonical.VarCount(); ++j)
    if ((sigma = unit(j)) != 0) return j;
  for (std::int32_t j = 1; j <= n; ++j)
    if ((sigma = unit(j)) != 0) return j;
  return 0;
}

void Tighten(TCalc& calc, TValueRange& range, TRational value, bool lower) {
  calc.Check(value);
  std::optional<TRational>& side = lower ? range.Lo : range.Hi;
  if (!side || (lower ? RatCompare(value, *side) > 0 : RatCompare(value, *side) < 0)) side = value;
}

} // namespace

TDualAnalysis AnalyzeDual(const TZLPCore_SubInterface_ZLP& stated, const TZLPCore_SubInterface_ZLP& canonical,
                          const TSimplexTable& last) {
  TDualAnalysis out;
  const std::int32_t n = stated.VarCount();
  const std::int32_t m = stated.ConstraintCount();
  const std::int32_t nc = canonical.VarCount();
  const std::int32_t mc = canonical.ConstraintCount();
  // A table with cut rows or columns solves another program than the stated one.
  if (n < 1 || m < 1 || nc < n || nc < mc || last.ColCount() != nc || last.RowCount() != mc || !canonical.IsCanonical())
    return out;
  if (last.HasInvalidCell()) {
    out.Outcome = TDualOutcome::Overflow;
    return out;
  }
  const TRational s = RatFromInt(stated.IsMax ? 1 : -1);
  for (std::int32_t j = 1; j <= n; ++j) {
    const TRational c = RatMul(s, stated.Objective.GetItem(j));
    if (last.GetColName(j) != stated.GetVarName(j) || !RatIsValid(c) ||
        RatCompare(c, canonical.Objective.GetItem(j)) != 0)
      return out;
  }

  // Which stated row each canonical row comes from, in order: one each, or two for an equality
  // written as a pair of inequalities (the second with a factor of the other sign).
  std::vector<std::vector<TRowSource>> rowsOf(static_cast<std::size_t>(m));
  for (std::int32_t k = 1, i = 1; k <= mc; ++k) {
    std::optional<TRational> f;
    std::int32_t from = 0;
    if (mc > m && i > 1 && stated.GetSign(i - 1) == IS_EQUAL && rowsOf[static_cast<std::size_t>(i - 2)].size() == 1) {
      const TRational first = rowsOf[static_cast<std::size_t>(i - 2)].front().Factor;
      f = RowFactor(stated, i - 1, canonical, k, RatMulInt(first, -1));
      if (f && Sign(*f) * Sign(first) < 0) from = i - 1;
    }
    if (from == 0) {
      if (i > m) return out;
      f = RowFactor(stated, i, canonical, k, RatFromInt(stated.GetSign(i) == IS_ABOVEOREQUAL ? -1 : 1));
      if (!f) return out;
      from = i++;
    }
    rowsOf[static_cast<std::size_t>(from - 1)].push_back({k, *f, 0, 1});
    if (k == mc && i != m + 1) return out;
  }
  // The column each canonical row is read in, and the sign sigma of its only entry.
  std::vector<bool> excluded(static_cast<std::size_t>(nc) + 1, false); // columns the stated form lacks
  for (std::int32_t j = n + 1; j <= nc; ++j) excluded[static_cast<std::size_t>(j)] = true;
  out.Terms.assign(static_cast<std::size_t>(m), {});
  for (std::int32_t i = 1; i <= m; ++i) {
    auto& rows = rowsOf[static_cast<std::size_t>(i - 1)];
    for (TRowSource& row : rows) {
      row.Column = ReadingColumn(canonical, row.Row, nc - mc + row.Row, n, row.Sigma);
      if (row.Column == 0) return out;
      if (row.Column > n) {
        // An added variable >= 0 makes its row an inequality of the stated row's relation, or one
        // of the pair of an equality.
        const bool below = Sign(row.Factor) * row.Sigma > 0;
        const TZLPCore_InequalitySign sign = stated.GetSign(i);
        if (sign == IS_EQUAL ? rows.size() != 2 : below != (sign == IS_BELOWOREQUAL)) return out;
        if (sign != IS_EQUAL) excluded[static_cast<std::size_t>(row.Column)] = false;
      }
      out.Terms[static_cast<std::size_t>(i - 1)].push_back({row.Column, last.GetColName(row.Column),
                                                            RatMulInt(RatMul(s, row.Factor), row.Sigma),
                                                            last.GetZ(row.Column)});
    }
  }

  TCalc calc;
  out.Y.assign(static_cast<std::size_t>(m), RatFromInt(0));
  for (std::int32_t i = 1; i <= m; ++i)
    for (const TDualTerm& t : out.Terms[static_cast<std::size_t>(i - 1)]) {
      calc.Check(t.Factor);
      out.Y[static_cast<std::size_t>(i - 1)] =
          calc.Add(out.Y[static_cast<std::size_t>(i - 1)], calc.Mul(t.Factor, t.Z));
    }
  for (std::int32_t j = 1; j <= n; ++j) out.X.push_back(calc.Check(last.ValueOf(stated.GetVarName(j))));

  // The certificate, on the stated data alone.
  bool sound = true;
  out.W = stated.FreeTerm;
  for (std::int32_t i = 1; i <= m; ++i) {
    const TRational y = out.Y[static_cast<std::size_t>(i - 1)];
    TRational lhs = RatFromInt(0);
    for (std::int32_t j = 1; j <= n; ++j)
      lhs = calc.Add(lhs, calc.Mul(stated.Coeffs.GetItem(j, i), out.X[static_cast<std::size_t>(j - 1)]));
    const TRational slack = calc.SubscriptName(stated.RHS.GetItem(i), lhs);
    out.Slack.push_back(slack);
    out.W = calc.Add(out.W, calc.Mul(stated.RHS.GetItem(i), y));
    const int rule = SignRule(stated, i);
    const int feasible = stated.GetSign(i) == IS_BELOWOREQUAL ? 1 : stated.GetSign(i) == IS_ABOVEOREQUAL ? -1 : 0;
    if (Sign(y) * rule < 0) sound = false;
    if (feasible == 0 ? !IsZero(slack) : Sign(slack) * feasible < 0) sound = false;
    if (!IsZero(y) && !IsZero(slack)) sound = false;
  }
  for (std::int32_t j = 1; j <= n; ++j) {
    TRational ay = RatFromInt(0);
    for (std::int32_t i = 1; i <= m; ++i)
      ay = calc.Add(ay, calc.Mul(stated.Coeffs.GetItem(j, i), out.Y[static_cast<std::size_t>(i - 1)]));
    const TRational d = calc.SubscriptName(ay, stated.Objective.GetItem(j));
    out.Reduced.push_back(d);
    if (Sign(d) * (stated.IsMax ? 1 : -1) < 0) sound = false;
    if (Sign(out.X[static_cast<std::size_t>(j - 1)]) < 0) sound = false;
    if (!IsZero(d) && !IsZero(out.X[static_cast<std::size_t>(j - 1)])) sound = false;
  }
  const TRational z = calc.Mul(s, last.GetZValue());
  if (calc.Overflow) {
    out.Outcome = TDualOutcome::Overflow;
    return out;
  }
  if (!sound || RatCompare(out.W, z) != 0) {
    out.Outcome = TDualOutcome::Uncertified;
    return out;
  }

  // When both added variables of an equality are basic (a degenerate plan), the basis is not one of
  // the stated form: one of them is swapped for a column outside the basis whose Z entry is 0, by a
  // pivot that changes neither the plan (its row has B = 0) nor the Z row, so the estimates stay
  // those of the last table. The ranges are those of the basis so found.
  TSimplexTable table = last;
  for (std::int32_t i = 1; i <= m; ++i) {
    const auto& rows = rowsOf[static_cast<std::size_t>(i - 1)];
    if (rows.size() != 2) continue;
    const std::int32_t r1 = table.RowOf(table.GetColName(rows[0].Column));
    const std::int32_t r2 = table.RowOf(table.GetColName(rows[1].Column));
    if (r1 == 0 || r2 == 0) continue;
    std::int32_t enter = 0;
    for (std::int32_t k = 1; k <= nc && enter == 0; ++k)
      if (!excluded[static_cast<std::size_t>(k)] && table.RowOf(table.GetColName(k)) == 0 && IsZero(table.GetZ(k)) &&
          !IsZero(table.GetA(k, r1)) && RatIsValid(table.GetA(k, r1)))
        enter = k;
    if (enter == 0) {
      out.Degenerate = true;
      continue;
    }
    table.Pivot(enter, r1);
    if (table.HasInvalidCell()) {
      out.Outcome = TDualOutcome::Overflow;
      return out;
    }
    out.Swapped.push_back({i, table.GetColName(enter)});
  }

  // Ranges of the right-hand sides: B + t * sum_k f_k (column u_k) >= 0 keeps the basis.
  std::vector<bool> basic(static_cast<std::size_t>(nc) + 1, false);
  for (std::int32_t r = 1; r <= mc; ++r) {
    const std::int32_t col = table.BasicColumn(r);
    basic[static_cast<std::size_t>(col)] = true;
    if (IsZero(table.GetB(r)) && !excluded[static_cast<std::size_t>(col)]) out.Degenerate = true;
  }
  for (std::int32_t i = 1; i <= m; ++i) {
    TValueRange t;
    for (std::int32_t r = 1; r <= mc; ++r) {
      TRational d = RatFromInt(0);
      for (const TRowSource& row : rowsOf[static_cast<std::size_t>(i - 1)])
        d = calc.Add(d, calc.Mul(RatMulInt(row.Factor, row.Sigma), table.GetA(row.Column, r)));
      if (Sign(d) != 0) Tighten(calc, t, calc.Root(table.GetB(r), d), Sign(d) > 0);
    }
    const TRational b = stated.RHS.GetItem(i);
    TValueRange range;
    if (t.Lo) range.Lo = calc.Add(b, *t.Lo);
    if (t.Hi) range.Hi = calc.Add(b, *t.Hi);
    out.RangesB.push_back(range);
  }
  // Ranges of the objective coefficients, as changes t of the maximised c'_j = s c_j: a variable
  // outside the basis stays there while Z(j) - t >= 0; a basic one in row r keeps every Z(k) + t a(k, r)
  // of the other columns >= 0 (the columns of an equality's pair are not columns of the stated form).
  for (std::int32_t j = 1; j <= n; ++j) {
    TValueRange t;
    const std::int32_t r = table.RowOf(stated.GetVarName(j));
    if (r == 0) {
      t.Hi = table.GetZ(j);
    } else {
      for (std::int32_t k = 1; k <= nc; ++k) {
        if (basic[static_cast<std::size_t>(k)] || excluded[static_cast<std::size_t>(k)]) continue;
        const TRational a = table.GetA(k, r);
        if (Sign(a) != 0) Tighten(calc, t, calc.Root(table.GetZ(k), a), Sign(a) > 0);
      }
    }
    const TRational c = stated.Objective.GetItem(j);
    TValueRange range;
    const std::optional<TRational>& low = stated.IsMax ? t.Lo : t.Hi;
    const std::optional<TRational>& high = stated.IsMax ? t.Hi : t.Lo;
    if (low) range.Lo = stated.IsMax ? calc.Add(c, *low) : calc.SubscriptName(c, *low);
    if (high) range.Hi = stated.IsMax ? calc.Add(c, *high) : calc.SubscriptName(c, *high);
    out.RangesC.push_back(range);
  }
  out.Outcome = calc.Overflow ? TDualOutcome::Overflow : TDualOutcome::Optimal;
  return out;
}

// ---- the section ----

namespace {

constexpr const char* CRLF = "\r\n";

std::string Num(TRational r) { return HtmlEscape(RatToStr(r)); }
// A factor of a product: negative numbers and fractions in parentheses.
std::string Factor(TRational r) {
  const std::string t = Num(r);
  return (Sign(r) < 0 || r.Den != 1) ? "(" + t + ")" : t;
}
std::string Y(std::int32_t i) { return SubscriptName("Y", i); }

std::string RelationOfSign(int rule) { return rule > 0 ? "&#8805; 0" : rule < 0 ? "&#8804; 0" : "любого знака"; }

std::string StatedRow(const TZLPCore_SubInterface_ZLP& zlp, std::int32_t i) {
  return FormatLinearForm(zlp.Coeffs.ExtractVector(i), zlp.VarNames(), TRational{0, 1}) + " " +
         SignToHtml(zlp.GetSign(i)) + " " + Num(zlp.RHS.GetItem(i));
}

std::vector<std::string> DualNames(std::int32_t m) {
  std::vector<std::string> names;
  for (std::int32_t i = 1; i <= m; ++i) names.push_back("Y" + std::to_string(i));
  return names;
}

// Column j of the constraints: the coefficients of X_j in rows 1 ... m.
TVector ColumnOf(const TZLPCore_SubInterface_ZLP& zlp, std::int32_t j) {
  TVector v;
  v.SetCount(zlp.ConstraintCount());
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) v.SetItem(i, zlp.Coeffs.GetItem(j, i));
  return v;
}

void WriteDualStatement(const TZLPCore_SubInterface_ZLP& zlp, TZLPCore_SolutionResult& report) {
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  const std::vector<std::string> names = DualNames(m);
  if (zlp.IsMax)
    report.AddParagraph("Каждому ограничению исходной задачи поставим в соответствие двойственную переменную "
                        "Y<sub>i</sub>. Исходная задача — на максимум, поэтому двойственная — на минимум функции W = "
                        "&Sigma; b<sub>i</sub>Y<sub>i</sub>; каждой переменной X<sub>j</sub> &#8805; 0 соответствует "
                        "ограничение &Sigma; a<sub>ij</sub>Y<sub>i</sub> &#8805; c<sub>j</sub>. Знак Y<sub>i</sub> "
                        "задаётся знаком i-го ограничения: для &#8804; Y<sub>i</sub> &#8805; 0, для &#8805; "
                        "Y<sub>i</sub> &#8804; 0, для равенства Y<sub>i</sub> любого знака.");
  else
    report.AddParagraph("Каждому ограничению исходной задачи поставим в соответствие двойственную переменную "
                        "Y<sub>i</sub>. Исходная задача — на минимум, поэтому двойственная — на максимум функции W = "
                        "&Sigma; b<sub>i</sub>Y<sub>i</sub>; каждой переменной X<sub>j</sub> &#8805; 0 соответствует "
                        "ограничение &Sigma; a<sub>ij</sub>Y<sub>i</sub> &#8804; c<sub>j</sub>. Знак Y<sub>i</sub> "
                        "задаётся знаком i-го ограничения: для &#8805; Y<sub>i</sub> &#8805; 0, для &#8804; "
                        "Y<sub>i</sub> &#8804; 0, для равенства Y<sub>i</sub> любого знака.");
  std::vector<std::vector<std::string>> rows = {
      {"Ограничение исходной задачи", "Двойственная переменная", "Условие на знак"}};
  for (std::int32_t i = 1; i <= m; ++i)
    rows.push_back({std::to_string(i) + ") " + StatedRow(zlp, i), Y(i), Y(i) + " " + RelationOfSign(SignRule(zlp, i))});
  report.AddLine(CellTable(rows));
  rows = {{"Переменная исходной задачи", "Ограничение двойственной задачи"}};
  const std::string relation = zlp.IsMax ? " &#8805; " : " &#8804; ";
  for (std::int32_t j = 1; j <= n; ++j)
    rows.push_back(
        {IndexToSub(HtmlEscape(zlp.GetVarName(j))) + " &#8805; 0",
         FormatLinearForm(ColumnOf(zlp, j), names, TRational{0, 1}) + relation + Num(zlp.Objective.GetItem(j))});
  report.AddLine(CellTable(rows));

  std::string text = "W = " + FormatLinearForm(zlp.RHS, names, zlp.FreeTerm) +
                     (zlp.IsMax ? "&nbsp;&nbsp;&#8594; <b>Min</b>" : "&nbsp;&nbsp;&#8594; <b>Max</b>");
  for (std::int32_t j = 1; j <= n; ++j)
    text +=
        CRLF + FormatLinearForm(ColumnOf(zlp, j), names, TRational{0, 1}) + relation + Num(zlp.Objective.GetItem(j));
  std::string positive;
  std::string negative;
  std::string free;
  for (std::int32_t i = 1; i <= m; ++i) {
    std::string& list = SignRule(zlp, i) > 0 ? positive : SignRule(zlp, i) < 0 ? negative : free;
    list += (list.empty() ? "" : ", ") + Y(i);
  }
  std::string signs;
  if (!positive.empty()) signs += positive + " &#8805; 0";
  if (!negative.empty()) signs += (signs.empty() ? "" : "; ") + negative + " &#8804; 0";
  if (!free.empty()) signs += (signs.empty() ? "" : "; ") + free + " любого знака";
  report.AddParagraph("Двойственная задача:");
  report.AddPre(text + CRLF + signs);
  if (!IsZero(zlp.FreeTerm))
    report.AddParagraph("Свободный член целевой функции перенесён в W без изменения, чтобы значения W и Z можно было "
                        "сравнить прямо.");
}

std::string Bound(const std::optional<TRational>& v, bool lower) {
  if (v) return Num(*v);
  return lower ? "&minus;&#8734;" : "+&#8734;";
}

std::string ColumnName(const TDualTerm& t) { return "&Delta;(" + IndexToSub(HtmlEscape(t.Name)) + ")"; }

void WriteSolution(const TZLPCore_SubInterface_ZLP& zlp, const TDualAnalysis& a, TZLPCore_SolutionResult& report) {
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  bool negated = false;
  bool pairs = false;
  bool scaled = false;
  for (std::int32_t i = 1; i <= m; ++i) negated = negated || zlp.GetSign(i) == IS_ABOVEOREQUAL;
  for (const auto& terms : a.Terms) {
    pairs = pairs || terms.size() > 1;
    for (const TDualTerm& t : terms) scaled = scaled || !(RatEqualsInt(t.Factor, 1) || RatEqualsInt(t.Factor, -1));
  }
  std::string how = "<b>Решение двойственной задачи</b> читается в строке Z последней симплекс-таблицы. Обозначим "
                    "&Delta;(X<sub>k</sub>) элемент строки Z в столбце X<sub>k</sub>. В столбце переменной, которая "
                    "была базисной в строке первой таблицы, стоит двойственная оценка этой строки канонической формы.";
  if (!zlp.IsMax) how += " Симплекс-метод искал максимум функции &minus;Z, поэтому оценки берутся с обратным знаком.";
  if (negated && zlp.IsMax) how += " Строка &#8805;, умноженная на &minus;1, даёт оценку с обратным знаком.";
  if (negated && !zlp.IsMax) how += " Для строки &#8805;, умноженной на &minus;1, знак меняется ещё раз.";
  if (pairs) how += " Равенство было записано парой неравенств, и его оценка — разность оценок этих двух строк.";
  if (scaled) how += " Оценка строки, умноженной на число, умножается на то же число.";
  report.AddParagraph(how);
  std::string lines;
  for (std::int32_t i = 1; i <= m; ++i) {
    const auto& terms = a.Terms[static_cast<std::size_t>(i - 1)];
    std::string formula;
    std::string numbers;
    for (std::size_t t = 0; t < terms.size(); ++t) {
      const TRational f = terms[t].Factor;
      std::string coefficient = Sign(f) < 0 ? (t == 0 ? "&minus;" : " &minus; ") : (t == 0 ? "" : " + ");
      TRational magnitude = f;
      if (Sign(magnitude) < 0) RatScale(magnitude, -1);
      if (!RatEqualsInt(magnitude, 1)) coefficient += Num(magnitude) + "&middot;";
      formula += coefficient + ColumnName(terms[t]);
      numbers += coefficient + Factor(terms[t].Z);
    }
    lines += (i > 1 ? CRLF : "") + Y(i) + " = " + formula;
    if (terms.size() > 1 || !RatEqualsInt(terms.front().Factor, 1)) lines += " = " + numbers;
    lines += " = " + Num(a.Y[static_cast<std::size_t>(i - 1)]);
  }
  report.AddPre(lines);

  std::string w;
  for (std::int32_t i = 1; i <= m; ++i)
    w += (i > 1 ? " + " : "") + Factor(zlp.RHS.GetItem(i)) + "&middot;" + Factor(a.Y[static_cast<std::size_t>(i - 1)]);
  if (!IsZero(zlp.FreeTerm)) w += " + " + Factor(zlp.FreeTerm);
  report.AddParagraph("<b>Первая теорема двойственности.</b> W = " + w + " = " + Num(a.W) + " = Z<sub>" +
                      (zlp.IsMax ? "max" : "min") +
                      "</sub>: оптимальные значения целевых функций прямой и двойственной задач совпадают.");

  report.AddParagraph("<b>Вторая теорема двойственности</b> (дополняющая нежёсткость): если ограничение при "
                      "оптимальном плане выполняется строго, его двойственная переменная равна нулю, а если "
                      "Y<sub>i</sub> &#8800; 0, ограничение выполняется как равенство; так же связаны переменные "
                      "X<sub>j</sub> и ограничения двойственной задачи. Произведения в последних столбцах равны нулю:");
  std::vector<std::vector<std::string>> rows = {{"Ограничение", "Левая часть при X*", "b<sub>i</sub>",
                                                 "Остаток b<sub>i</sub> &minus; a<sub>i</sub>X*", "Y<sub>i</sub>",
                                                 "Y<sub>i</sub>&middot;остаток"}};
  for (std::int32_t i = 1; i <= m; ++i) {
    const auto k = static_cast<std::size_t>(i - 1);
    const TRational b = zlp.RHS.GetItem(i);
    rows.push_back({std::to_string(i), Num(RatSub(b, a.Slack[k])), Num(b), Num(a.Slack[k]), Num(a.Y[k]),
                    Num(RatMul(a.Y[k], a.Slack[k]))});
  }
  report.AddLine(CellTable(rows));
  rows = {{"Переменная", "X<sub>j</sub>*", "&Sigma; a<sub>ij</sub>Y<sub>i</sub>", "c<sub>j</sub>", "Разность",
           "X<sub>j</sub>&middot;разность"}};
  for (std::int32_t j = 1; j <= n; ++j) {
    const auto k = static_cast<std::size_t>(j - 1);
    const TRational c = zlp.Objective.GetItem(j);
    rows.push_back({IndexToSub(HtmlEscape(zlp.GetVarName(j))), Num(a.X[k]), Num(RatAdd(a.Reduced[k], c)), Num(c),
                    Num(a.Reduced[k]), Num(RatMul(a.X[k], a.Reduced[k]))});
  }
  report.AddLine(CellTable(rows));
}

void WriteMeaning(const TZLPCore_SubInterface_ZLP& zlp, const TDualAnalysis& a, TZLPCore_SolutionResult& report) {
  report.AddParagraph("<b>Смысл двойственных оценок.</b> Y<sub>i</sub> показывает, на сколько изменится оптимальное "
                      "значение Z, если правую часть i-го ограничения увеличить на единицу (пока b<sub>i</sub> "
                      "остаётся в пределах, найденных ниже).");
  std::string list = "<ul>";
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) {
    const auto k = static_cast<std::size_t>(i - 1);
    const TRational y = a.Y[k];
    std::string item = "Ограничение " + std::to_string(i);
    const bool equality = zlp.GetSign(i) == IS_EQUAL;
    const std::string unit = "увеличение правой части на единицу (в пределах устойчивости, найденных ниже) ";
    if (!IsZero(y)) {
      TRational magnitude = y;
      if (Sign(magnitude) < 0) RatScale(magnitude, -1);
      item += (equality ? " — равенство; "
                        : " связывающее: при оптимальном плане оно выполняется как равенство, ресурс дефицитный; ") +
              unit + (Sign(y) > 0 ? "увеличит" : "уменьшит") + " Z на " + Num(magnitude) + ".";
    } else if (!IsZero(a.Slack[k])) {
      TRational magnitude = a.Slack[k];
      if (Sign(magnitude) < 0) RatScale(magnitude, -1);
      item += " не связывающее: оно выполняется с запасом " + Num(magnitude) +
              ", ресурс недефицитный; небольшое изменение правой части Z не изменит.";
    } else {
      item += std::string(equality ? " — равенство с нулевой оценкой: "
                                   : " выполняется как равенство, но его оценка равна нулю: ") +
              unit + "Z не изменит.";
    }
    list += "<li>" + item + "</li>";
  }
  report.AddLine(list + "</ul>");
}

void WriteRanges(const TZLPCore_SubInterface_ZLP& zlp, const TDualAnalysis& a, TZLPCore_SolutionResult& report) {
  report.AddParagraph(
      "<b>Устойчивость к изменению правых частей.</b> Пока b<sub>i</sub> остаётся в указанных пределах "
      "(остальные данные прежние), базис последней таблицы остаётся оптимальным, а оценка Y<sub>i</sub> "
      "не меняется: Z меняется на Y<sub>i</sub> за каждую единицу изменения b<sub>i</sub>.");
  std::vector<std::vector<std::string>> rows = {{"Ограничение", "b<sub>i</sub>", "Y<sub>i</sub>", "от", "до"}};
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) {
    const auto k = static_cast<std::size_t>(i - 1);
    rows.push_back({std::to_string(i), Num(zlp.RHS.GetItem(i)), Num(a.Y[k]), Bound(a.RangesB[k].Lo, true),
                    Bound(a.RangesB[k].Hi, false)});
  }
  report.AddLine(CellTable(rows));
  for (const auto& [row, name] : a.Swapped)
    report.AddParagraph("В последней таблице обе добавленные переменные равенства № " + std::to_string(row) +
                        " базисные; пределы найдены для базиса, в котором вместо одной из них базисной стала " +
                        IndexToSub(HtmlEscape(name)) + " (план и двойственные оценки при этом те же).");
  report.AddParagraph("<b>Устойчивость к изменению коэффициентов целевой функции.</b> Пока c<sub>j</sub> остаётся в "
                      "указанных пределах (остальные коэффициенты прежние), оптимальный план X* не меняется; "
                      "меняется лишь значение Z.");
  rows = {{"Переменная", "c<sub>j</sub>", "от", "до"}};
  for (std::int32_t j = 1; j <= zlp.VarCount(); ++j) {
    const auto k = static_cast<std::size_t>(j - 1);
    rows.push_back({IndexToSub(HtmlEscape(zlp.GetVarName(j))), Num(zlp.Objective.GetItem(j)),
                    Bound(a.RangesC[k].Lo, true), Bound(a.RangesC[k].Hi, false)});
  }
  report.AddLine(CellTable(rows));
  if (a.Degenerate)
    report.AddParagraph(std::string("Оптимальный план вырожден (базисная переменная равна нулю): пределы найдены для "
                                    "базиса ") +
                        (a.Swapped.empty() ? "последней таблицы" : "указанного выше") +
                        ", и за ними план и оценки могут ещё сохраняться, хотя базис меняется.");
}

} // namespace

void WriteDualSection(const TZLPCore_SubInterface_ZLP& stated, TTaskStatus status, const TDualAnalysis& analysis,
                      TZLPCore_SolutionResult& report, bool relaxation) {
  report.AddHeading("Двойственная задача");
  if (relaxation)
    report.AddParagraph("Оптимальный план задачи без условия целочисленности оказался целочисленным, поэтому "
                        "двойственная задача, оценки и пределы устойчивости ниже относятся к этой линейной задаче: "
                        "при других данных её оптимальный план может и не быть целочисленным.");
  WriteDualStatement(stated, report);
  if (status == TTaskStatus::Unbounded) {
    report.AddParagraph(std::string("Целевая функция исходной задачи не ограничена ") +
                        (stated.IsMax ? "сверху" : "снизу") +
                        ", поэтому система ограничений двойственной задачи несовместна: допустимых решений у неё "
                        "нет (если бы они были, по основному неравенству теории двойственности любое из них "
                        "ограничивало бы Z).");
    return;
  }
  if (status == TTaskStatus::Infeasible) {
    report.AddParagraph(std::string("Система ограничений исходной задачи несовместна, поэтому двойственная задача "
                                    "оптимума не имеет: либо её ограничения тоже несовместны, либо функция W не "
                                    "ограничена ") +
                        (stated.IsMax ? "снизу" : "сверху") + " на множестве её допустимых решений.");
    return;
  }
  switch (analysis.Outcome) {
  case TDualOutcome::Overflow:
    report.AddParagraph("Двойственные оценки не удалось получить в точных дробях с 32-битными числителем и "
                        "знаменателем, поэтому решение двойственной задачи и анализ устойчивости не приводятся.");
    return;
  case TDualOutcome::NotReadable:
    report.AddParagraph("Последняя симплекс-таблица решает не исходную задачу, а задачу с добавленными "
                        "ограничениями, поэтому решение двойственной задачи по ней не читается.");
    return;
  case TDualOutcome::Uncertified:
    report.AddParagraph("Двойственные оценки, прочитанные в последней симплекс-таблице, не прошли проверку на "
                        "исходных данных задачи, поэтому решение двойственной задачи и анализ устойчивости не "
                        "приводятся.");
    return;
  case TDualOutcome::Optimal: break;
  }
  WriteSolution(stated, analysis, report);
  WriteMeaning(stated, analysis, report);
  WriteRanges(stated, analysis, report);
}
