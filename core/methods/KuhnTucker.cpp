// Quadratic programs: the coefficients page, the Kuhn-Tucker reduction and the conclusion.
#include "KuhnTucker.h"

#include "BigRational.h"
#include "ComplementaryPairs.h"
#include "MessageSeam.h"
#include "TaskContract.h"
#include "untStrConst.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string Num(std::int32_t v) { return std::to_string(v); }

// "V<sub>3</sub>", "V<sub>3</sub>, V<sub>4</sub>" or "V<sub>3</sub>, ..., V<sub>7</sub>".
std::string Range(const std::string& letter, std::int32_t from, std::int32_t to) {
  if (from == to) return SubscriptName(letter, from);
  return SubscriptName(letter, from) + (to == from + 1 ? ", " : ", ..., ") + SubscriptName(letter, to);
}

TRational Negated(TRational v) {
  RatScale(v, -1);
  return v;
}

const std::string OverflowText = std::string(RatBigLimitText) + ", точный ответ получить нельзя";

// One expression of the page, term by term: a zero term is left out, a term after the first is
// joined by " + " or " - ", a named term with 1 or -1 shows only its sign, a constant always its
// value; an expression without terms reads 0.
class TTerms {
public:
  void Add(TRational v, const std::string& name = {}) {
    if (RatEqualsInt(v, 0)) return;
    std::string s = RatToStr(v);
    if (!First) {
      const bool negative = RatLessInt(v, 0);
      Text += negative ? " - " : " + ";
      if (negative) s.erase(0, 1);
    }
    First = false;
    if (name.empty())
      Text += s;
    else if (s == "1")
      Text += name;
    else if (s == "-1")
      Text += "-" + name;
    else
      Text += s + name;
  }
  [[nodiscard]] std::string Str() const { return First ? std::string("0") : Text; }

private:
  std::string Text;
  bool First = true;
};

// Whether column j of the program is the added variable of row k alone: 1 there, 0 in every other
// row and in the objective.
bool IsAddedColumn(const TZLPCore_SubInterface_ZLP& zlp, std::int32_t j, std::int32_t k) {
  if (!RatEqualsInt(zlp.Objective.GetItem(j), 0)) return false;
  for (std::int32_t r = 1; r <= zlp.ConstraintCount(); ++r)
    if (!RatEqualsInt(zlp.Coeffs.GetItem(j, r), r == k ? 1 : 0)) return false;
  return true;
}

// Reads the point of the final table of the simplex step: every variable of the conditions by name.
// Only a table at its optimum with no negative free term and no artificial variable left positive
// gives a point.
bool PointOfTable(const TSimplexTable& table, const TKuhnTucker& kt, TKuhnTuckerPoint& point) {
  if (table.State != SS_OPTIMAL || !RatEqualsInt(table.GetZValue(), 0)) return false;
  for (std::int32_t i = 1; i <= table.RowCount(); ++i)
    if (!RatIsValid(table.GetB(i)) || RatLessInt(table.GetB(i), 0)) return false;
  const std::int32_t n = kt.Pairs();
  point.X.assign(static_cast<std::size_t>(n), TRational{0, 1});
  point.V.assign(static_cast<std::size_t>(n), TRational{0, 1});
  for (std::int32_t j = 1; j <= n; ++j) {
    point.X[static_cast<std::size_t>(j - 1)] = table.ValueOf("X" + Num(j));
    point.V[static_cast<std::size_t>(j - 1)] = table.ValueOf("V" + Num(j));
  }
  return SatisfiesKuhnTucker(kt, point);
}

// "X<sub>1</sub> = 2, X<sub>2</sub> = 0"
std::string PointText(const std::vector<TRational>& x, std::int32_t count) {
  std::string text;
  for (std::int32_t j = 1; j <= count; ++j)
    text += (j == 1 ? "" : ", ") + SubscriptName("X", j) + " = " + RatToStr(x[static_cast<std::size_t>(j - 1)]);
  return text;
}

} // namespace

// ---- the coefficients ----

bool ReadQuadMatrix(const TStatementGrid& grid, TMatrix& matrix, TStatementError& error) {
  const std::int32_t n = grid.Sx;
  TMatrix m;
  m.Resize(n, n);
  for (std::int32_t j = 1; j <= n; ++j) {
    for (std::int32_t i = 1; i <= n; ++i) {
      TRational v{0, 1};
      if (!grid.HasQuad() || !ParseInputNumber(grid.Quad(j, i), v)) {
        error = {TStatementError::TPlace::Quad, j, i,
                 "коэффициент второго порядка при X" + Num(i) + "·X" + Num(j) + " (строка " + Num(i) + ", столбец " +
                     Num(j) + ")",
                 InputNumberMessage(grid.HasQuad() ? grid.Quad(j, i) : std::string())};
        return false;
      }
      m.SetItem(j, i, v);
    }
  }
  matrix = std::move(m);
  return true;
}

bool SymmetrizeQuadMatrix(TMatrix& matrix, std::int32_t& x, std::int32_t& y) {
  TMatrix s = matrix;
  const std::int32_t n = matrix.Dim1();
  for (std::int32_t i = 1; i <= n; ++i) {
    for (std::int32_t j = i + 1; j <= n; ++j) {
      const TRational half = RatFromMpq((RatToMpq(matrix.GetItem(i, j)) + RatToMpq(matrix.GetItem(j, i))) / 2);
      if (!RatIsValid(half)) {
        x = j;
        y = i;
        return false;
      }
      s.SetItem(i, j, half);
      s.SetItem(j, i, half);
    }
  }
  matrix = std::move(s);
  return true;
}

bool ReadQuadraticStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error) {
  if (!ReadLinearProgram(grid, data, error)) return false;
  TMatrix m;
  if (!ReadQuadMatrix(grid, m, error)) return false;
  std::int32_t x = 0;
  std::int32_t y = 0;
  if (!SymmetrizeQuadMatrix(m, x, y)) {
    error = {TStatementError::TPlace::Quad, x, y, "коэффициенты второго порядка при X" + Num(y) + "·X" + Num(x),
             std::string("полусумма коэффициентов: ") + RatBigLimitText};
    return false;
  }
  data.QuadMatrix = std::move(m);
  data.SetFlag(IF_QUADRATIC);
  return true;
}

namespace {

// c0 + c·x + Σ q_ij x_i x_j over the symmetric matrix: the squares, then each product of two different
// variables once, with the coefficient q_ij + q_ji.
std::string WholeObjective(const TZLPCore_SubInterface_ZLP& zlp, const TMatrix& symmetric) {
  std::vector<std::string> names;
  for (std::int32_t j = 1; j <= zlp.VarCount(); ++j) names.push_back(zlp.GetVarName(j));
  std::string text = FormatLinearForm(zlp.Objective, names, TRational{0, 1});
  if (text == "0") text.clear();
  const std::int32_t n = symmetric.Dim1();
  const auto term = [&text](const mpq_class& q, const std::string& product) {
    if (q == 0) return;
    const mpq_class size = abs(q);
    const std::string coefficient = size == 1 && !product.empty() ? std::string() : HtmlEscape(size.get_str());
    if (text.empty())
      text = (q < 0 ? "-" : "") + coefficient + product;
    else
      text += (q < 0 ? " - " : " + ") + coefficient + product;
  };
  for (std::int32_t i = 1; i <= n; ++i) {
    const std::string xi = IndexToSub(HtmlEscape(zlp.GetVarName(i)));
    term(RatToMpq(symmetric.GetItem(i, i)), xi + "<sup>2</sup>");
    for (std::int32_t j = i + 1; j <= n; ++j)
      term(2 * RatToMpq(symmetric.GetItem(j, i)), xi + "&middot;" + IndexToSub(HtmlEscape(zlp.GetVarName(j))));
  }
  const TRational c0 = zlp.FreeTerm;
  if (!RatEqualsInt(c0, 0)) term(RatToMpq(c0), "");
  return text.empty() ? "0" : text;
}

} // namespace

bool WriteQuadroPage(TZLPCore_Interface& data, const std::string& caption, TZLPCore_SolutionResult& report,
                     TStatementError& error) {
  report.AddHeading(caption);
  const std::int32_t n = data.ZLP.VarCount();
  if (!data.HasFlag(IF_ZLP) || !data.Statement.HasQuad() || data.Statement.Sx != n) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    error = {TStatementError::TPlace::Whole, 0, 0, "", sFieldNotPrepared};
    return false;
  }
  TMatrix m;
  if (!ReadQuadMatrix(data.Statement, m, error)) return false;
  std::int32_t x = 0;
  std::int32_t y = 0;
  if (!SymmetrizeQuadMatrix(m, x, y)) {
    error = {TStatementError::TPlace::Quad, x, y, "коэффициенты второго порядка при X" + Num(y) + "·X" + Num(x),
             "Полусумма коэффициентов при X" + Num(y) + "·X" + Num(x) +
                 ": " + RatBigLimitText + "."};
    return false;
  }
  report.AddLine("<p>После приведения матрицы коэффициентов второго порядка к симметрической форме она примет "
                 "следующий вид:<br>");
  report.AddLine("<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\">");
  for (std::int32_t r = 0; r <= n; ++r) {
    report.AddLine("<tr>");
    for (std::int32_t c = 0; c <= n; ++c) {
      std::string content;
      if (r == 0)
        content = c == 0 ? std::string() : data.ZLP.GetVarName(c);
      else if (c == 0)
        content = data.ZLP.GetVarName(r);
      else
        content = RatToStr(m.GetItem(c, r));
      report.AddLine("<td class=\"clsSimCell\">" + content + "</td>");
    }
    report.AddLine("</tr>");
  }
  report.AddLine("</table>");
  report.AddParagraph("Целевая функция задачи целиком (Z = c<sub>0</sub> + &Sigma; c<sub>j</sub>X<sub>j</sub> + "
                      "&Sigma;&Sigma; q<sub>ij</sub>X<sub>i</sub>X<sub>j</sub>, где каждое произведение разных "
                      "переменных входит дважды, с q<sub>ij</sub> и с q<sub>ji</sub>):");
  report.AddPre("Z = " + WholeObjective(data.ZLP, m) + (data.Statement.IsMax ? " &rarr; max" : " &rarr; min"));
  data.QuadMatrix = std::move(m);
  data.SetFlag(IF_QUADRATIC);
  return true;
}

bool QuadroUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage, const TTaskInfo&) {
  TStatementError error;
  return WriteQuadroPage(data, stage.Caption, report, error);
}

// ---- the reduction ----

bool ReduceQuadratic(const TZLPCore_SubInterface_ZLP& zlp, const TMatrix& symmetric, bool isMax,
                     TQuadraticReduction& reduction) {
  if (!zlp.IsCanonical()) return false;
  const std::int32_t total = zlp.VarCount();
  const std::int32_t rows = zlp.ConstraintCount();
  const std::int32_t n = symmetric.Dim1();
  const auto q = [&](std::int32_t i, std::int32_t j) {
    if (i > n || j > n) return TRational{0, 1};
    const TRational v = symmetric.GetItem(j, i);
    return isMax ? v : Negated(v);
  };
  reduction = {};
  reduction.Student = n;
  reduction.IsMax = isMax;
  // The canonical form gives every row its own added variable at the end, unless the program was
  // canonical with a basis of its own already.
  std::int32_t d = total - rows;
  bool added = d >= 0 && rows >= 1;
  for (std::int32_t k = 1; k <= rows && added; ++k) {
    added = IsAddedColumn(zlp, d + k, k);
    for (std::int32_t i = 1; i <= n && added; ++i) added = RatEqualsInt(q(i, d + k), 0) && RatEqualsInt(q(d + k, i), 0);
  }
  reduction.NoneAdded = d < n;
  reduction.OwnBasis = added && d < n;
  TKuhnTucker& kt = reduction.Conditions;
  if (!added) d = total;
  kt.Decisions = d;
  kt.C0 = zlp.FreeTerm;
  for (std::int32_t j = 1; j <= d; ++j) kt.C.push_back(zlp.Objective.GetItem(j));
  kt.Q.assign(static_cast<std::size_t>(d), std::vector<TRational>(static_cast<std::size_t>(d), TRational{0, 1}));
  for (std::int32_t i = 1; i <= d; ++i)
    for (std::int32_t j = 1; j <= d; ++j)
      kt.Q[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)] = q(i, j);
  const auto row = [&](std::int32_t k, bool negate) {
    std::vector<TRational> a;
    for (std::int32_t j = 1; j <= d; ++j)
      a.push_back(negate ? Negated(zlp.Coeffs.GetItem(j, k)) : zlp.Coeffs.GetItem(j, k));
    kt.A.push_back(std::move(a));
    kt.B.push_back(negate ? Negated(zlp.RHS.GetItem(k)) : zlp.RHS.GetItem(k));
  };
  for (std::int32_t k = 1; k <= rows; ++k) {
    row(k, false);
    // An equality without an added variable: the pair of inequalities <= and >= (times -1).
    if (!added) row(k, true);
  }
  kt.Rows = static_cast<std::int32_t>(kt.A.size());
  return true;
}

namespace {

// Coefficient of X_j in constraint k of the conditions, the added variables included.
TRational ConstraintCoeff(const TKuhnTucker& kt, std::int32_t k, std::int32_t j) {
  if (j <= kt.Decisions) return kt.A[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(j - 1)];
  return RatFromInt(j == kt.Decisions + k ? 1 : 0);
}

TRational QuadCoeff(const TKuhnTucker& kt, std::int32_t i, std::int32_t j) {
  return kt.Q[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
}

TRational LinearCoeff(const TKuhnTucker& kt, std::int32_t j) {
  return j <= kt.Decisions ? kt.C[static_cast<std::size_t>(j - 1)] : TRational{0, 1};
}

// The linear program of the Kuhn-Tucker conditions that the simplex step solves, and what the page
// says of it: whether a constraint's right-hand side is negative, whether every number fits.
struct TKuhnTuckerProgram {
  TZLPCore_SubInterface_ZLP Program;
  bool NegativeConstraint = false;
  bool Fits = true;
};

TKuhnTuckerProgram KuhnTuckerProgram(const TKuhnTucker& kt) {
  const std::int32_t d = kt.Decisions;
  const std::int32_t m = kt.Rows;
  const std::int32_t total = kt.Pairs(); // N
  const auto a = [&kt](std::int32_t k, std::int32_t j) { return ConstraintCoeff(kt, k, j); };
  const auto q = [&kt](std::int32_t i, std::int32_t j) { return QuadCoeff(kt, i, j); };
  const auto c = [&kt](std::int32_t j) { return LinearCoeff(kt, j); };
  // The work table: columns X1..XN, then V1..VN (V(d+k) is the multiplier of constraint k); rows
  // 1..d stationarity, rows d+1..d+m the constraints.
  const std::int32_t width = 2 * total;
  std::vector<std::vector<TRational>> work(static_cast<std::size_t>(d + m),
                                           std::vector<TRational>(static_cast<std::size_t>(width), TRational{0, 1}));
  std::vector<TRational> rhs(static_cast<std::size_t>(d + m), TRational{0, 1});
  for (std::int32_t i = 1; i <= d; ++i) {
    auto& row = work[static_cast<std::size_t>(i - 1)];
    for (std::int32_t j = 1; j <= d; ++j) row[static_cast<std::size_t>(j - 1)] = RatMulInt(q(j, i), 2);
    row[static_cast<std::size_t>(total + i - 1)] = {1, 1};
    for (std::int32_t k = 1; k <= m; ++k) row[static_cast<std::size_t>(total + d + k - 1)] = Negated(a(k, i));
    TRational& b = rhs[static_cast<std::size_t>(i - 1)];
    b = Negated(c(i));
    // Only the rows of the derivatives are turned round: their V and U stay apart. A constraint row
    // keeps its added variable's +1 whatever the sign of its right-hand side.
    if (RatLessInt(b, 0)) {
      for (TRational& v : row) v = Negated(v);
      b = Negated(b);
    }
  }
  bool negativeConstraint = false;
  for (std::int32_t k = 1; k <= m; ++k) {
    auto& row = work[static_cast<std::size_t>(d + k - 1)];
    for (std::int32_t j = 1; j <= total; ++j) row[static_cast<std::size_t>(j - 1)] = a(k, j);
    rhs[static_cast<std::size_t>(d + k - 1)] = kt.B[static_cast<std::size_t>(k - 1)];
    negativeConstraint = negativeConstraint || RatLessInt(kt.B[static_cast<std::size_t>(k - 1)], 0);
  }

  // The new program in its final column order: X1..Xd, V1..VN, U1..Ud, X(d+1)..XN.
  const auto place = [d, total](std::int32_t workCol) {
    if (workCol <= d) return workCol;                 // X1..Xd
    if (workCol <= total) return total + d + workCol; // X(d+k) after the U columns
    return workCol - total + d;                       // V1..VN
  };
  TZLPCore_SubInterface_ZLP program;
  program.VarLetter = 'X';
  program.SetConstraintCount(d + m);
  program.SetVarCount(width + d);
  for (std::int32_t j = 1; j <= total; ++j) {
    program.SetVarName(place(j), "X" + Num(j));
    program.SetVarName(place(total + j), "V" + Num(j));
  }
  for (std::int32_t i = 1; i <= d; ++i) program.SetVarName(total + d + i, "U" + Num(i));
  TRational free{0, 1};
  bool fits = true;
  for (std::int32_t r = 1; r <= d + m; ++r) {
    program.SetSign(r, IS_EQUAL);
    program.RHS.SetItem(r, rhs[static_cast<std::size_t>(r - 1)]);
    for (std::int32_t w = 1; w <= width; ++w)
      program.Coeffs.SetItem(place(w), r, work[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(w - 1)]);
    if (r <= d) {
      program.Coeffs.SetItem(total + d + r, r, RatFromInt(1));
      free = RatSub(free, rhs[static_cast<std::size_t>(r - 1)]);
    }
  }
  // -(U1 + ... + Ud) with every U expressed from its own row.
  for (std::int32_t w = 1; w <= width; ++w) {
    TRational sum{0, 1};
    for (std::int32_t r = 1; r <= d; ++r)
      sum = RatAdd(sum, work[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(w - 1)]);
    program.Objective.SetItem(place(w), sum);
    fits = fits && RatIsValid(sum);
  }
  program.FreeTerm = free;
  program.IsMax = true;
  fits = fits && RatIsValid(free);
  for (const auto& row : work)
    fits = fits && std::all_of(row.begin(), row.end(), [](TRational v) { return RatIsValid(v); });
  return {std::move(program), negativeConstraint, fits};
}

} // namespace

bool QuadroSolveUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                     const TTaskInfo&) {
  report.AddHeading(stage.Caption);
  if (!data.HasFlag(IF_ZLP) || !data.HasFlag(IF_QUADRATIC)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  TQuadraticReduction reduction;
  if (!ReduceQuadratic(data.ZLP, data.QuadMatrix, data.Statement.IsMax, reduction)) {
    ShowMessage(sError, sNotCanonical, TMsgIcon::Error);
    report.AddParagraph(sNotCanonical);
    return false;
  }
  const TKuhnTucker& kt = reduction.Conditions;
  const std::int32_t d = kt.Decisions;
  const std::int32_t m = kt.Rows;
  const std::int32_t total = kt.Pairs(); // N
  const auto x = [](std::int32_t j) { return SubscriptName("X", j); };
  const auto lambda = [](std::int32_t k) { return SubscriptName("L", k); };
  const auto a = [&kt](std::int32_t k, std::int32_t j) { return ConstraintCoeff(kt, k, j); };
  const auto q = [&kt](std::int32_t i, std::int32_t j) { return QuadCoeff(kt, i, j); };
  const auto c = [&kt](std::int32_t j) { return LinearCoeff(kt, j); };

  if (!reduction.IsMax)
    report.AddParagraph("Задача поставлена на минимум: в канонической форме целевая функция умножена на -1, "
                        "поэтому и коэффициенты второго порядка берутся с обратным знаком.");
  if (reduction.OwnBasis) {
    std::string names;
    for (std::int32_t k = 1; k <= m; ++k) names += (k == 1 ? "" : ", ") + x(d + k);
    report.AddParagraph("Каноническая форма не добавила переменных: роль добавленных переменных ограничений "
                        "играют базисные переменные " +
                        names + ", которые не входят в квадратичную часть целевой функции.");
  } else if (reduction.NoneAdded) {
    std::string system;
    for (std::int32_t k = 1; k <= m; ++k) {
      TTerms t;
      for (std::int32_t j = 1; j <= total; ++j) t.Add(a(k, j), x(j));
      system += (k == 1 ? "" : "\r\n") + t.Str() + " = " + RatToStr(kt.B[static_cast<std::size_t>(k - 1)]);
    }
    report.AddParagraph("Каноническая форма не добавила переменных, а её базисные переменные входят в "
                        "квадратичную часть целевой функции. Запишем каждое ограничение-равенство парой "
                        "неравенств &#8804; и &#8805; (второе умножим на -1) и добавим в каждое свою переменную:");
    report.AddPre(system);
  }

  report.AddLine("<p>Составим функцию Лагранжа:<br>");
  {
    TTerms f;
    f.Add(kt.C0);
    for (std::int32_t j = 1; j <= d; ++j) f.Add(c(j), x(j));
    for (std::int32_t i = 1; i <= d; ++i) {
      f.Add(q(i, i), x(i) + "<sup>2</sup>");
      for (std::int32_t j = i + 1; j <= d; ++j) f.Add(RatMulInt(q(i, j), 2), x(i) + x(j));
    }
    std::string line = "L = " + f.Str();
    for (std::int32_t k = 1; k <= m; ++k) {
      TTerms g;
      for (std::int32_t j = 1; j <= total; ++j) g.Add(a(k, j), x(j));
      g.Add(Negated(kt.B[static_cast<std::size_t>(k - 1)]));
      line += " - " + lambda(k) + "&middot;(" + g.Str() + ")";
    }
    report.AddLine(line + "<br>");
  }
  report.AddLine("<p>Записав условия оптимальности Куна–Таккера получаем следующую систему ограничений:<br>");
  for (std::int32_t j = 1; j <= total; ++j) {
    TTerms t;
    t.Add(c(j));
    if (j <= d) {
      t.Add(RatMulInt(q(j, j), 2), x(j));
      for (std::int32_t i = 1; i <= d; ++i)
        if (i != j) t.Add(RatMulInt(q(i, j), 2), x(i));
    }
    for (std::int32_t k = 1; k <= m; ++k) t.Add(Negated(a(k, j)), lambda(k));
    report.AddLine("DL/DX<sub>" + Num(j) + "</sub> = " + t.Str() + " &le; 0<br>");
  }
  for (std::int32_t k = 1; k <= m; ++k) {
    TTerms t;
    for (std::int32_t j = 1; j <= total; ++j) t.Add(Negated(a(k, j)), x(j));
    t.Add(kt.B[static_cast<std::size_t>(k - 1)]);
    report.AddLine("DL/DL<sub>" + Num(k) + "</sub> = " + t.Str() + " = 0<br>");
  }
  report.AddParagraph("Кроме того, L<sub>k</sub>&ge;0, X<sub>j</sub>&ge;0 и X<sub>j</sub>&middot;DL/DX<sub>j</sub> = 0 "
                      "для всех j: переменная, которая больше нуля, обращает свою производную в ноль (условие "
                      "дополняющей нежёсткости).");

  TKuhnTuckerProgram built = KuhnTuckerProgram(kt);

  report.AddLine("<p>Добавляем в каждое из уравнений, полученных как производные функции Лагранжа по X новую "
                 "переменную V. Меняем знаки равенств так чтобы правые части были неотрицательны и добавляем "
                 "переменные U. Затем записываем Ц.Ф. как -U1...-Un, предварительно подставив вместо Ui их "
                 "выражения из соответствующих уравнений. Полученная система приведена ниже:<br>");
  if (built.NegativeConstraint)
    report.AddParagraph("Уравнения ограничений на -1 не умножаются: иначе их добавленные переменные получили бы "
                        "коэффициент -1. Отрицательные правые части этих уравнений устраняет симплекс-метод.");
  if (!built.Fits) {
    report.AddParagraph("Решение остановлено: " + OverflowText + ".");
    data.Verdict.Status = TTaskStatus::Overflow;
    data.Verdict.Message = StatusSentence(TTaskStatus::Overflow);
    return false;
  }
  report.AddLine("<pre>");
  AddModel(report, &built.Program);
  report.AddLine("</pre>");
  std::string pairs;
  for (std::int32_t j = 1; j <= total; ++j) pairs += (j == 1 ? "" : ", ") + x(j) + " и " + SubscriptName("V", j);
  report.AddParagraph(
      "По условию дополняющей нежёсткости в каждой из пар " + pairs + " хотя бы одна переменная равна нулю (" +
      Range("V", d + 1, total) + (m == 1 ? " — множитель Лагранжа " : " — множители Лагранжа ") + Range("L", 1, m) +
      (m == 1 ? ", его пара — добавленная переменная ограничения" : ", их пары — добавленные переменные ограничений") +
      "). Поэтому симплекс-метод не вводит переменную в базис, если в базисе её пара, кроме случая, "
      "когда пара выводится из базиса этим же преобразованием.");

  data.ZLP = std::move(built.Program);
  std::vector<std::pair<std::string, std::string>> complementary;
  for (std::int32_t j = 1; j <= total; ++j) complementary.emplace_back("X" + Num(j), "V" + Num(j));
  data.PivotFilter = std::make_shared<TComplementaryPairs>(complementary);
  data.SetFlag(IF_ZLP);
  return true;
}

// ---- the conclusion ----

namespace {

// The conditions of the statement itself, set up afresh exactly as the steps set them up.
bool ReductionOfStatement(const TStatementGrid& statement, TQuadraticReduction& reduction) {
  TZLPCore_Interface scratch;
  TStatementError error;
  if (!ReadQuadraticStatement(statement, scratch, error)) return false;
  TZLPCore_SolutionResult ignored;
  scratch.ZLP.ToCanonical(ignored);
  return ReduceQuadratic(scratch.ZLP, scratch.QuadMatrix, statement.IsMax, reduction);
}

void Finish(TTaskVerdict& v, TTaskStatus status) {
  v.Status = status;
  v.Message = StatusSentence(status);
}

// How the conclusion of a quadratic program ended, decided before a word of it is written.
enum class TQuadraticEnd : std::uint8_t {
  Found,               // a point satisfying the conditions: the answer
  LemkeOverflow,       // Lemke's method outgrew exact fractions of any size it was given
  LemkeStopped,        // Lemke's method reached its bound of steps
  SearchUnbounded,     // the search found such points with ever better values
  SearchOverflow,      // the search outgrew 32-bit fractions before any point was found
  SearchStopped,       // the search reached its limit before any point was found
  ConsistencyOverflow, // no point, and the check of the constraints outgrew 32-bit fractions
  Inconsistent,        // no point, and the constraints have no non-negative solution
  NoPoint,             // no point, although the constraints have solutions: unbounded
  ValueOverflow,       // the answer's value does not fit a 32-bit fraction
};

// Everything the conclusion found, in the order the report tells it.
struct TQuadraticOutcome {
  bool Concave = false;
  bool FromTable = false; // the simplex table's point satisfies the conditions
  // Lemke's method, when it ran: its tables and choices, how its first run ended, and the same
  // pivots in fractions of any size after an overflow.
  bool LemkeRan = false;
  std::vector<std::string> LemkeLines;
  std::optional<TComplementarityResult> Exactly;
  TComplementarityEnd LemkeEnd = TComplementarityEnd::NoPoint;
  // Other coefficients of Z0 that led to a point (a program that is not concave).
  std::vector<std::int32_t> Covering;
  TComplementarityResult Other;
  // The branch and bound over the pairs (a program that is not concave).
  bool Searched = false;
  TComplementarityResult Search;
  bool Better = false; // the search's point is the answer
  TQuadraticEnd End = TQuadraticEnd::Found;
  TKuhnTuckerPoint Point;
  TRational Value{0, 1}; // the objective as the student stated it
};

TQuadraticOutcome DecideQuadratic(const TSimplexTable& table, const TQuadraticReduction& reduction) {
  const TKuhnTucker& kt = reduction.Conditions;
  TQuadraticOutcome out;
  out.Concave = IsConcave(kt);
  bool have = out.FromTable = PointOfTable(table, kt, out.Point);
  const auto lemke = [&out, &kt] {
    out.LemkeRan = true;
    TZLPCore_SolutionResult tables;
    TComplementarityResult result = RunLemke(kt, tables);
    out.LemkeLines = std::move(tables.Lines);
    out.LemkeEnd = result.End;
    if (result.End == TComplementarityEnd::Overflow) {
      // The same pivots on integers of any size: only the tables outgrew 32-bit fractions.
      out.Exactly = RunLemkeExactly(kt);
      result = *out.Exactly;
    }
    return result;
  };
  if (out.Concave && !have) {
    const TComplementarityResult result = lemke();
    if (result.End == TComplementarityEnd::Overflow) {
      out.End = TQuadraticEnd::LemkeOverflow;
      return out;
    }
    if (result.End == TComplementarityEnd::Stopped) {
      out.End = TQuadraticEnd::LemkeStopped;
      return out;
    }
    have = result.End == TComplementarityEnd::Solved && SatisfiesKuhnTucker(kt, result.Point);
    if (have) out.Point = result.Point;
  } else if (!out.Concave) {
    if (!have) {
      const TComplementarityResult result = lemke();
      if (result.End == TComplementarityEnd::Solved && SatisfiesKuhnTucker(kt, result.Point)) {
        out.Point = result.Point;
        have = true;
      }
      // Other coefficients of Z0 lead the method along other paths.
      for (std::int32_t k = 2; k <= 9 && !have; ++k) {
        std::vector<std::int32_t> covering;
        for (std::int32_t i = 0; i < kt.Pairs(); ++i) covering.push_back(1 + (i * k) % 7);
        TComplementarityResult other = RunLemkeExactly(kt, covering);
        if (other.End != TComplementarityEnd::Solved || !SatisfiesKuhnTucker(kt, other.Point)) continue;
        out.Covering = std::move(covering);
        out.Point = other.Point;
        out.Other = std::move(other);
        have = true;
      }
    }
    // The search grows with the pairs: a large program gets fewer subproblems (about a second's work).
    const std::int64_t pairs = kt.Pairs();
    const auto limit = static_cast<std::int32_t>(std::clamp<std::int64_t>(50000000 / (pairs * pairs * pairs), 1, 5000));
    out.Searched = true;
    out.Search = BestKuhnTuckerPoint(kt, limit, have ? &out.Point : nullptr);
    const TComplementarityResult& search = out.Search;
    switch (search.End) {
    case TComplementarityEnd::Solved:
      out.Better = !have || RatLess(ObjectiveAt(kt, out.Point.X), ObjectiveAt(kt, search.Point.X));
      if (out.Better) out.Point = search.Point;
      have = true;
      break;
    case TComplementarityEnd::NoPoint:
      have = false;
      break;
    case TComplementarityEnd::Unbounded:
      out.End = TQuadraticEnd::SearchUnbounded;
      return out;
    case TComplementarityEnd::Overflow:
      if (!have) {
        out.End = TQuadraticEnd::SearchOverflow;
        return out;
      }
      break;
    case TComplementarityEnd::Stopped:
      if (!search.Point.X.empty() &&
          (!have || RatLess(ObjectiveAt(kt, out.Point.X), ObjectiveAt(kt, search.Point.X)))) {
        out.Point = search.Point;
        have = true;
      }
      if (!have) {
        out.End = TQuadraticEnd::SearchStopped;
        return out;
      }
      break;
    }
  }

  if (!have) {
    bool overflow = false;
    const bool consistent = ConstraintsConsistent(kt, overflow);
    out.End = overflow ? TQuadraticEnd::ConsistencyOverflow
              : !consistent ? TQuadraticEnd::Inconsistent
                            : TQuadraticEnd::NoPoint;
    return out;
  }
  out.Value = ObjectiveAt(kt, out.Point.X);
  if (!reduction.IsMax) RatScale(out.Value, -1);
  if (!RatIsValid(out.Value)) out.End = TQuadraticEnd::ValueOverflow;
  return out;
}

// The report's account of the outcome, and the verdict it comes to.
void WriteQuadratic(const TQuadraticOutcome& out, const TQuadraticReduction& reduction, TSimplexState tableState,
                    TZLPCore_SolutionResult& report, TTaskVerdict& v) {
  const bool isMax = reduction.IsMax;
  const bool concave = out.Concave;
  const std::string best = isMax ? "максимум" : "минимум";
  const std::string largest = isMax ? "наибольшим" : "наименьшим";

  report.AddHeading("Условия Куна–Таккера");
  if (out.FromTable) {
    report.AddParagraph("Сумма искусственных переменных U равна нулю, и в каждой паре X<sub>j</sub>, V<sub>j</sub> "
                        "хотя бы одна переменная равна нулю: точка симплекс-таблицы удовлетворяет всем условиям "
                        "Куна–Таккера.");
  } else {
    report.AddParagraph(tableState == SS_OPTIMAL
                            ? "Симплекс-метод закончил работу, но сумма искусственных переменных U не обратилась в "
                              "ноль: при условии дополняющей нежёсткости её нельзя уменьшить дальше (так бывает, "
                              "когда функция " +
                                  std::string(isMax ? "вогнута" : "выпукла") + " не строго или не " +
                                  (isMax ? "вогнута" : "выпукла") +
                                  "). Найденная точка условиям Куна–Таккера не удовлетворяет."
                            : "Симплекс-метод не нашёл точки, удовлетворяющей условиям Куна–Таккера.");
  }
  report.AddParagraph(
      concave
          ? std::string("Квадратичная часть целевой функции ") + (isMax ? "отрицательно" : "положительно") +
                " полуопределена (проверено точно, методом исключения на симметричной матрице): "
                "функция " +
                (isMax ? "вогнута" : "выпукла") +
                ", поэтому точка, удовлетворяющая условиям Куна–Таккера, — её глобальный " + best + "."
          : std::string("Квадратичная часть целевой функции не является ") + (isMax ? "отрицательно" : "положительно") +
                " полуопределённой (проверено точно, методом исключения на симметричной матрице): "
                "функция не " +
                (isMax ? "вогнута" : "выпукла") +
                ", и точка, удовлетворяющая условиям Куна–Таккера, не обязательно является её "
                "глобальным " +
                (isMax ? "максимумом." : "минимумом."));

  if (out.LemkeRan) {
    report.AddHeading("Метод Лемке");
    report.AddParagraph(concave ? "Решим те же условия Куна–Таккера методом Лемке (методом дополнительных "
                                  "преобразований): для " +
                                      std::string(isMax ? "вогнутой" : "выпуклой") +
                                      " функции он всегда заканчивается либо точкой, удовлетворяющей условиям, "
                                      "либо лучом, который доказывает, что таких точек нет."
                                : "Решим условия Куна–Таккера методом Лемке (методом дополнительных преобразований). "
                                  "Для невогнутой функции он не обязательно находит точку, удовлетворяющую условиям, "
                                  "но часто находит её быстро.");
    for (const std::string& line : out.LemkeLines) report.AddLine(line);
    if (concave && out.Exactly &&
        (out.Exactly->End == TComplementarityEnd::Solved || out.Exactly->End == TComplementarityEnd::NoPoint))
      report.AddParagraph("Те же преобразования выполнены в точных дробях произвольной длины (" +
                          Num(out.Exactly->Steps) + " шагов, таблицы не показаны): " +
                          (out.Exactly->End == TComplementarityEnd::Solved
                               ? "Z<sub>0</sub> выведена из базиса, условия Куна–Таккера решены."
                               : "метод Лемке закончился лучом."));
  }
  if (!out.Covering.empty()) {
    std::string coefficients;
    for (const std::int32_t c : out.Covering) coefficients += (coefficients.empty() ? "" : ", ") + Num(-c);
    report.AddParagraph("С коэффициентами " + coefficients + " при Z<sub>0</sub> вместо -1 метод Лемке (" +
                        Num(out.Other.Steps) + " шагов, таблицы не показаны) нашёл точку " +
                        PointText(out.Other.Point.X, reduction.Student) + ", удовлетворяющую условиям Куна–Таккера.");
  }
  if (out.Searched) {
    const TComplementarityResult& search = out.Search;
    const std::string subproblems = " (решено " + Num(search.Steps) + " вспомогательных задач ЛП)";
    switch (search.End) {
    case TComplementarityEnd::Solved:
      report.AddParagraph(
          "Переберём пары X<sub>j</sub>, V<sub>j</sub> методом ветвей и границ" + subproblems +
          ": в точках, удовлетворяющих условиям Куна–Таккера, функция линейна, f = c<sub>0</sub> + "
          "(c&middot;X + b&middot;L)/2, поэтому в каждой ветви её наибольшее значение даёт задача ЛП. " +
          (out.Better ? "Среди всех таких точек " + largest + " значением функции обладает точка " +
                            PointText(search.Point.X, reduction.Student) + "."
                      : "Ни одна из таких точек не даёт значения лучше, чем найденная.") +
          " Если функция ограничена " + (isMax ? "сверху" : "снизу") +
          " на множестве допустимых решений, это её глобальный " + best + ".");
      break;
    case TComplementarityEnd::NoPoint:
      report.AddParagraph("Перебор пар X<sub>j</sub>, V<sub>j</sub> методом ветвей и границ" + subproblems +
                          " показал, что ни одна точка не удовлетворяет условиям Куна–Таккера.");
      break;
    case TComplementarityEnd::Unbounded:
      report.AddParagraph("Перебор пар X<sub>j</sub>, V<sub>j</sub> методом ветвей и границ" + subproblems +
                          " нашёл точки, удовлетворяющие условиям Куна–Таккера, с неограниченно " +
                          (isMax ? "большими" : "малыми") + " значениями функции: функция не ограничена " +
                          (isMax ? "сверху" : "снизу") + " на множестве допустимых решений.");
      break;
    case TComplementarityEnd::Overflow:
      if (out.End != TQuadraticEnd::SearchOverflow)
        report.AddParagraph(
            "Перебор остальных точек, удовлетворяющих условиям Куна–Таккера, остановлен: " + OverflowText + ".");
      break;
    case TComplementarityEnd::Stopped:
      if (out.End == TQuadraticEnd::SearchStopped)
        report.AddParagraph("Перебор пар X<sub>j</sub>, V<sub>j</sub> остановлен после " + Num(search.Steps) +
                            " задач ЛП: точку, удовлетворяющую условиям Куна–Таккера, найти не удалось.");
      else
        report.AddParagraph("Перебор пар X<sub>j</sub>, V<sub>j</sub> методом ветвей и границ остановлен после " +
                            Num(search.Steps) +
                            " задач ЛП; ответ — лучшая из найденных точек, удовлетворяющих "
                            "условиям Куна–Таккера.");
      break;
    }
  }

  switch (out.End) {
  case TQuadraticEnd::LemkeOverflow:
  case TQuadraticEnd::SearchOverflow:
  case TQuadraticEnd::ConsistencyOverflow:
    report.AddParagraph("Решение остановлено: " + OverflowText + ".");
    Finish(v, TTaskStatus::Overflow);
    return;
  case TQuadraticEnd::LemkeStopped:
    Finish(v, TTaskStatus::Cycling);
    return;
  case TQuadraticEnd::SearchUnbounded:
    Finish(v, TTaskStatus::Unbounded);
    return;
  case TQuadraticEnd::SearchStopped:
    Finish(v, TTaskStatus::Cycling);
    v.Message = "поиск точки, удовлетворяющей условиям Куна–Таккера, остановлен: слишком много вариантов";
    v.Answer = "решение остановлено: точку, удовлетворяющую условиям Куна–Таккера, найти не удалось.";
    return;
  case TQuadraticEnd::Inconsistent:
    report.AddParagraph("Система ограничений несовместна: у неё нет ни одного неотрицательного решения, поэтому "
                        "и условия Куна–Таккера решений не имеют.");
    Finish(v, TTaskStatus::Infeasible);
    return;
  case TQuadraticEnd::NoPoint:
    report.AddParagraph(std::string("Допустимые решения есть, но ни одно не удовлетворяет условиям Куна–Таккера. ") +
                        "Квадратичная функция, ограниченная " + (isMax ? "сверху" : "снизу") +
                        " на непустом множестве, заданном линейными ограничениями, достигает на нём своего " + best +
                        "а, и в этой точке условия Куна–Таккера выполняются. Значит, функция не ограничена " +
                        (isMax ? "сверху" : "снизу") + ".");
    Finish(v, TTaskStatus::Unbounded);
    return;
  case TQuadraticEnd::ValueOverflow:
    report.AddParagraph("Значение целевой функции в найденной точке вычислить не удалось: " + OverflowText + ".");
    Finish(v, TTaskStatus::Overflow);
    return;
  case TQuadraticEnd::Found:
    break;
  }
  v.X.assign(out.Point.X.begin(), out.Point.X.begin() + reduction.Student);
  v.Objective = out.Value;
  report.AddParagraph("В точке " + PointText(out.Point.X, reduction.Student) +
                      " целевая функция задачи равна Z = " + RatToStr(out.Value) + ".");
  Finish(v, concave ? TTaskStatus::Optimal : TTaskStatus::Local);
}

} // namespace

void ConcludeQuadratic(TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  TTaskVerdict& v = data.Verdict;
  TQuadraticReduction reduction;
  if (!ReductionOfStatement(data.Statement, reduction)) {
    Finish(v, TTaskStatus::BadInput);
    return;
  }
  const TQuadraticOutcome outcome = DecideQuadratic(data.Table, reduction);
  v.IsMax = reduction.IsMax;
  v.Concave = outcome.Concave;
  v.Objective.reset();
  v.X.clear();
  v.Answer.clear();
  WriteQuadratic(outcome, reduction, data.Table.State, report, v);
}
