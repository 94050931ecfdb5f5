// The Kuhn-Tucker conditions of a quadratic program: checks, Lemke's method, an exact linear-program
// solver and the search for the best point that satisfies the conditions.
#include "Complementarity.h"

#include "BigRational.h"
#include "Simplex.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <algorithm>

namespace {


std::string Num(std::int32_t v) { return std::to_string(v); }

bool Valid(TRational v) { return RatIsValid(v); }

TRational Twice(TRational v) { return RatMulInt(v, 2); }

TRational Negated(TRational v) {
  RatScale(v, -1);
  return v;
}

// Sign of x1/a1 - x2/a2 for a1, a2 > 0, exact.
int CompareQuotients(TRational x1, TRational a1, TRational x2, TRational a2) {
  return RatCompareQuotients(x1, a1, x2, a2);
}

// ---- the conditions as a linear system over (X_1..X_N, V_1..V_N) ----

struct TLinearSystem {
  std::vector<std::vector<TRational>> Rows;
  std::vector<TRational> Rhs;
  std::int32_t Columns = 0;
};

// Rows 1..d stationarity, rows d+1..d+m the constraints; false when a coefficient overflows.
bool ConditionSystem(const TKuhnTucker& kt, TLinearSystem& s) {
  const std::int32_t d = kt.Decisions;
  const std::int32_t n = kt.Pairs();
  s.Columns = 2 * n;
  s.Rows.assign(static_cast<std::size_t>(n), std::vector<TRational>(static_cast<std::size_t>(2 * n), TRational{0, 1}));
  s.Rhs.assign(static_cast<std::size_t>(n), TRational{0, 1});
  for (std::int32_t i = 0; i < d; ++i) {
    auto& row = s.Rows[static_cast<std::size_t>(i)];
    for (std::int32_t j = 0; j < d; ++j) row[static_cast<std::size_t>(j)] = Twice(kt.Q[i][j]);
    row[static_cast<std::size_t>(n + i)] = {1, 1};
    for (std::int32_t k = 0; k < kt.Rows; ++k) row[static_cast<std::size_t>(n + d + k)] = Negated(kt.A[k][i]);
    s.Rhs[static_cast<std::size_t>(i)] = Negated(kt.C[static_cast<std::size_t>(i)]);
  }
  for (std::int32_t k = 0; k < kt.Rows; ++k) {
    auto& row = s.Rows[static_cast<std::size_t>(d + k)];
    for (std::int32_t j = 0; j < d; ++j) row[static_cast<std::size_t>(j)] = kt.A[k][j];
    row[static_cast<std::size_t>(d + k)] = {1, 1};
    s.Rhs[static_cast<std::size_t>(d + k)] = kt.B[static_cast<std::size_t>(k)];
  }
  for (const auto& row : s.Rows)
    if (!std::all_of(row.begin(), row.end(), Valid)) return false;
  return std::all_of(s.Rhs.begin(), s.Rhs.end(), Valid);
}

// ---- an exact linear-program solver: maximise c.y subject to rows y = rhs, y >= 0 ----

enum class TLinearEnd : std::uint8_t { Optimal, Infeasible, Unbounded, Overflow };

struct TLinearResult {
  TLinearEnd End = TLinearEnd::Overflow;
  std::vector<TRational> Y;
  TRational Value{0, 1};
};

// Pivots by Bland's rule, which cannot cycle, until the table is final; false on overflow.
bool PivotToEnd(TSimplexTable& t) {
  for (;;) {
    std::int32_t col = 0;
    std::int32_t row = 0;
    t.State = t.Analyze(col, row, TPivotRule::Bland);
    if (t.State != SS_PIVOT) return true;
    t.Pivot(col, row);
    if (t.HasInvalidCell()) return false;
  }
}

// Columns marked in fixed are held at 0 (left out). Two phases: artificial variables first.
TLinearResult SolveLinear(const TLinearSystem& s, const std::vector<TRational>& objective,
                          const std::vector<char>& fixed) {
  TLinearResult out;
  std::vector<std::int32_t> free;
  for (std::int32_t j = 0; j < s.Columns; ++j)
    if (fixed[static_cast<std::size_t>(j)] == 0) free.push_back(j);
  const auto f = static_cast<std::int32_t>(free.size());
  const auto r = static_cast<std::int32_t>(s.Rows.size());

  TSimplexTable t;
  t.SetColCount(f + r);
  t.SetRowCount(r);
  for (std::int32_t c = 1; c <= f; ++c) t.SetColName(c, "y" + Num(free[static_cast<std::size_t>(c - 1)]));
  TRational total{0, 1};
  for (std::int32_t i = 1; i <= r; ++i) {
    const auto& row = s.Rows[static_cast<std::size_t>(i - 1)];
    const bool flip = RatLessInt(s.Rhs[static_cast<std::size_t>(i - 1)], 0);
    const auto signed_ = [flip](TRational v) { return flip ? Negated(v) : v; };
    for (std::int32_t c = 1; c <= f; ++c)
      t.SetA(c, i, signed_(row[static_cast<std::size_t>(free[static_cast<std::size_t>(c - 1)])]));
    t.SetA(f + i, i, {1, 1});
    t.SetB(i, signed_(s.Rhs[static_cast<std::size_t>(i - 1)]));
    t.SetColName(f + i, "a" + Num(i));
    t.SetRowName(i, "a" + Num(i));
    total = RatAdd(total, t.GetB(i));
  }
  // Maximise minus the sum of the artificial variables, each expressed from its row.
  for (std::int32_t c = 1; c <= f; ++c) {
    TRational z{0, 1};
    for (std::int32_t i = 1; i <= r; ++i) z = RatSub(z, t.GetA(c, i));
    t.SetZ(c, z);
  }
  t.SetZValue(Negated(total));
  if (t.HasInvalidCell() || !PivotToEnd(t)) return out;
  if (RatLessInt(t.GetZValue(), 0)) {
    out.End = TLinearEnd::Infeasible;
    return out;
  }
  // Artificial variables still basic (at 0) leave for any other column; a row with none is redundant.
  std::vector<char> redundant(static_cast<std::size_t>(r), 0);
  for (std::int32_t i = 1; i <= r; ++i) {
    if (t.GetRowName(i).front() != 'a') continue;
    std::int32_t c = 1;
    while (c <= f && RatEqualsInt(t.GetA(c, i), 0)) ++c;
    if (c > f) {
      redundant[static_cast<std::size_t>(i - 1)] = 1;
      continue;
    }
    t.Pivot(c, i);
    if (t.HasInvalidCell()) return out;
  }

  TSimplexTable p;
  std::int32_t rows = 0;
  for (std::int32_t i = 1; i <= r; ++i) rows += redundant[static_cast<std::size_t>(i - 1)] == 0 ? 1 : 0;
  p.SetColCount(f);
  p.SetRowCount(rows);
  for (std::int32_t c = 1; c <= f; ++c) {
    p.SetColName(c, t.GetColName(c));
    p.SetZ(c, Negated(objective[static_cast<std::size_t>(free[static_cast<std::size_t>(c - 1)])]));
  }
  std::int32_t k = 0;
  for (std::int32_t i = 1; i <= r; ++i) {
    if (redundant[static_cast<std::size_t>(i - 1)] != 0) continue;
    ++k;
    p.SetRowName(k, t.GetRowName(i));
    for (std::int32_t c = 0; c <= f; ++c) p.SetCell(c, k, t.GetCell(c, i));
  }
  // The objective row with every basic variable expressed from its row.
  for (std::int32_t i = 1; i <= rows; ++i) {
    const std::int32_t b = p.BasicColumn(i);
    const TRational cb = objective[static_cast<std::size_t>(free[static_cast<std::size_t>(b - 1)])];
    if (RatEqualsInt(cb, 0)) continue;
    for (std::int32_t c = 0; c <= f; ++c) p.SetCell(c, 0, RatAdd(p.GetCell(c, 0), RatMul(cb, p.GetCell(c, i))));
  }
  if (p.HasInvalidCell() || !PivotToEnd(p)) return out;
  if (p.State == SS_NOSOLUTION) {
    out.End = TLinearEnd::Unbounded;
    return out;
  }
  out.End = TLinearEnd::Optimal;
  out.Value = p.GetZValue();
  out.Y.assign(static_cast<std::size_t>(s.Columns), TRational{0, 1});
  for (std::int32_t i = 1; i <= rows; ++i) {
    const std::int32_t b = p.BasicColumn(i);
    out.Y[static_cast<std::size_t>(free[static_cast<std::size_t>(b - 1)])] = p.GetB(i);
  }
  return out;
}

std::string Html(const std::string& name) { return IndexToSub(name); }

// The partner of a variable of the conditions: X<j> <-> V<j>; Z0 has none.
std::string PartnerName(const std::string& name) {
  if (name.empty() || (name.front() != 'X' && name.front() != 'V')) return {};
  return (name.front() == 'X' ? "V" : "X") + name.substr(1);
}

} // namespace

bool SatisfiesKuhnTucker(const TKuhnTucker& kt, const TKuhnTuckerPoint& point) {
  const std::int32_t n = kt.Pairs();
  if (static_cast<std::int32_t>(point.X.size()) != n || static_cast<std::int32_t>(point.V.size()) != n) return false;
  for (std::int32_t j = 0; j < n; ++j) {
    const TRational x = point.X[static_cast<std::size_t>(j)];
    const TRational v = point.V[static_cast<std::size_t>(j)];
    if (!Valid(x) || !Valid(v) || RatLessInt(x, 0) || RatLessInt(v, 0)) return false;
    if (!RatEqualsInt(x, 0) && !RatEqualsInt(v, 0)) return false;
  }
  const std::int32_t d = kt.Decisions;
  const auto big = [](TRational v) { return RatToMpq(v); };
  for (std::int32_t i = 0; i < d; ++i) {
    mpq_class lhs = big(point.V[static_cast<std::size_t>(i)]);
    for (std::int32_t j = 0; j < d; ++j) lhs = lhs + big(kt.Q[i][j]) * 2 * big(point.X[static_cast<std::size_t>(j)]);
    for (std::int32_t k = 0; k < kt.Rows; ++k)
      lhs = lhs - big(kt.A[k][i]) * big(point.V[static_cast<std::size_t>(d + k)]);
    if (lhs != -big(kt.C[static_cast<std::size_t>(i)])) return false;
  }
  for (std::int32_t k = 0; k < kt.Rows; ++k) {
    mpq_class lhs = big(point.X[static_cast<std::size_t>(d + k)]);
    for (std::int32_t j = 0; j < d; ++j) lhs = lhs + big(kt.A[k][j]) * big(point.X[static_cast<std::size_t>(j)]);
    if (lhs != big(kt.B[static_cast<std::size_t>(k)])) return false;
  }
  return true;
}

bool ConstraintsConsistent(const TKuhnTucker& kt, bool& overflow) {
  overflow = false;
  // The constraint rows alone, over X_1..X_N.
  TLinearSystem s;
  const std::int32_t d = kt.Decisions;
  s.Columns = kt.Pairs();
  for (std::int32_t k = 0; k < kt.Rows; ++k) {
    std::vector<TRational> row(static_cast<std::size_t>(s.Columns), TRational{0, 1});
    for (std::int32_t j = 0; j < d; ++j) row[static_cast<std::size_t>(j)] = kt.A[k][j];
    row[static_cast<std::size_t>(d + k)] = {1, 1};
    s.Rows.push_back(std::move(row));
    s.Rhs.push_back(kt.B[static_cast<std::size_t>(k)]);
  }
  const TLinearResult r = SolveLinear(s, std::vector<TRational>(static_cast<std::size_t>(s.Columns), TRational{0, 1}),
                                      std::vector<char>(static_cast<std::size_t>(s.Columns), 0));
  overflow = r.End == TLinearEnd::Overflow;
  return r.End == TLinearEnd::Optimal;
}

TRational ObjectiveAt(const TKuhnTucker& kt, const std::vector<TRational>& x) {
  mpq_class f = RatToMpq(kt.C0);
  const std::int32_t d = kt.Decisions;
  for (std::int32_t j = 0; j < d; ++j) {
    const mpq_class xj = RatToMpq(x[static_cast<std::size_t>(j)]);
    f += RatToMpq(kt.C[static_cast<std::size_t>(j)]) * xj;
    for (std::int32_t i = 0; i < d; ++i) f += RatToMpq(kt.Q[i][j]) * RatToMpq(x[static_cast<std::size_t>(i)]) * xj;
  }
  return RatFromMpq(f);
}

bool IsConcave(const TKuhnTucker& kt) {
  const auto d = static_cast<std::size_t>(kt.Decisions);
  // Symmetric elimination on 32-bit fractions settles the usual small matrices at once; only when a
  // number outgrows them is the form decided on numbers of any size.
  {
    std::vector<std::vector<TRational>> a(d, std::vector<TRational>(d));
    for (std::size_t i = 0; i < d; ++i)
      for (std::size_t j = 0; j < d; ++j) a[i][j] = Negated(kt.Q[i][j]);
    std::vector<char> done(d, 0);
    bool fits = true;
    for (;;) {
      std::size_t pivot = d;
      bool semidefinite = true;
      for (std::size_t i = 0; i < d && semidefinite; ++i) {
        if (done[i] != 0) continue;
        if (RatLessInt(a[i][i], 0)) semidefinite = false;
        if (RatEqualsInt(a[i][i], 0)) {
          for (std::size_t j = 0; j < d && semidefinite; ++j)
            if (done[j] == 0 && !RatEqualsInt(a[i][j], 0)) semidefinite = false;
          done[i] = 1;
        } else if (pivot == d) {
          pivot = i;
        }
      }
      if (!semidefinite) return false;
      if (pivot == d) return true;
      done[pivot] = 1;
      for (std::size_t i = 0; i < d && fits; ++i) {
        if (done[i] != 0 || RatEqualsInt(a[i][pivot], 0)) continue;
        const TRational f = RatDiv(a[i][pivot], a[pivot][pivot]);
        for (std::size_t j = 0; j < d; ++j)
          if (done[j] == 0) a[i][j] = RatSub(a[i][j], RatMul(f, a[pivot][j]));
        fits = std::all_of(a[i].begin(), a[i].end(), Valid) && Valid(f);
      }
      if (!fits) break;
    }
  }
  std::vector<std::vector<mpq_class>> s(d, std::vector<mpq_class>(d));
  for (std::size_t i = 0; i < d; ++i)
    for (std::size_t j = 0; j < d; ++j) s[i][j] = -RatToMpq(kt.Q[i][j]);
  return IsPositiveSemidefinite(s);
}

namespace {

// The table Lemke's method starts from: columns X1..Xd, V1..VN, X(d+1)..XN, Z0; V_i basic in the row of
// the derivative by X_i and the added variable in its constraint's row, Z0 with -1 in every row.
struct TLemkeTable {
  TSimplexTable Table;
  // The columns of the starting basis: they hold the inverse of the current basis, so that the rows
  // of [B | inverse] decide ties lexicographically.
  std::vector<std::int32_t> Start;
  std::int32_t Z0 = 0;
};

TLemkeTable LemkeTable(const TKuhnTucker& kt) {
  const std::int32_t d = kt.Decisions;
  const std::int32_t m = kt.Rows;
  const std::int32_t n = d + m;
  const auto colX = [d, n](std::int32_t j) { return j <= d ? j : d + n + (j - d); };
  const auto colV = [d](std::int32_t j) { return d + j; };
  TLemkeTable l;
  l.Z0 = 2 * n + 1;
  TSimplexTable& t = l.Table;
  t.SetColCount(l.Z0);
  t.SetRowCount(n);
  for (std::int32_t j = 1; j <= n; ++j) {
    t.SetColName(colX(j), "X" + Num(j));
    t.SetColName(colV(j), "V" + Num(j));
  }
  t.SetColName(l.Z0, "Z0");
  for (std::int32_t i = 1; i <= d; ++i) {
    for (std::int32_t j = 1; j <= d; ++j) t.SetA(colX(j), i, Twice(kt.Q[i - 1][j - 1]));
    t.SetA(colV(i), i, {1, 1});
    for (std::int32_t k = 1; k <= m; ++k) t.SetA(colV(d + k), i, Negated(kt.A[k - 1][i - 1]));
    t.SetA(l.Z0, i, {-1, 1});
    t.SetB(i, Negated(kt.C[static_cast<std::size_t>(i - 1)]));
    t.SetRowName(i, "V" + Num(i));
  }
  for (std::int32_t k = 1; k <= m; ++k) {
    const std::int32_t i = d + k;
    for (std::int32_t j = 1; j <= d; ++j) t.SetA(colX(j), i, kt.A[k - 1][j - 1]);
    t.SetA(colX(i), i, {1, 1});
    t.SetA(l.Z0, i, {-1, 1});
    t.SetB(i, kt.B[static_cast<std::size_t>(k - 1)]);
    t.SetRowName(i, "X" + Num(i));
  }
  t.SetZ(l.Z0, {1, 1});
  l.Start.resize(static_cast<std::size_t>(n));
  for (std::int32_t i = 1; i <= n; ++i) l.Start[static_cast<std::size_t>(i - 1)] = i <= d ? colV(i) : colX(i);
  return l;
}

// Z0 has -1 in every row: it enters on the row whose [B | inverse] is lexicographically least among
// those with a negative free term, which after the pivot leaves every row lexicographically
// positive. 0: every B_i >= 0, and Z0 is not needed.
std::int32_t Z0EntryRow(const TLemkeTable& l) {
  const TSimplexTable& t = l.Table;
  std::int32_t row = 0;
  for (std::int32_t i = 1; i <= t.RowCount(); ++i) {
    if (!RatLessInt(t.GetB(i), 0)) continue;
    if (row == 0) {
      row = i;
      continue;
    }
    int c = RatCompare(t.GetB(i), t.GetB(row));
    for (std::size_t k = 0; c == 0 && k < l.Start.size(); ++k)
      c = RatCompare(t.GetA(l.Start[k], i), t.GetA(l.Start[k], row));
    if (c < 0) row = i;
  }
  return row;
}

// The pivot after the variable left left the basis: its partner enters, on the row of the
// lexicographically least ratio, or on Z0's row when Z0 may leave at the same ratio. Row 0: the
// partner's column has no positive entry, and the method ends on a ray.
struct TLemkePivot {
  std::string Entering;
  std::int32_t Col = 0;
  std::int32_t Row = 0;
  bool Tie = false;      // another row has the same smallest ratio
  bool Z0Leaves = false; // Z0's row was taken at an equal ratio
};

TLemkePivot NextLemkePivot(const TLemkeTable& l, const std::string& left) {
  const TSimplexTable& t = l.Table;
  const std::int32_t n = t.RowCount();
  // Row i lexicographically before row r after division by their entries in column col (> 0).
  const auto before = [&t, &l](std::int32_t col, std::int32_t i, std::int32_t r) {
    const TRational ai = t.GetA(col, i);
    const TRational ar = t.GetA(col, r);
    if (const int c = CompareQuotients(t.GetB(i), ai, t.GetB(r), ar); c != 0) return c < 0;
    for (const std::int32_t s : l.Start)
      if (const int c = CompareQuotients(t.GetA(s, i), ai, t.GetA(s, r), ar); c != 0) return c < 0;
    return false;
  };
  TLemkePivot p;
  p.Entering = PartnerName(left);
  const auto& names = t.ColNames();
  p.Col = static_cast<std::int32_t>(std::find(names.begin(), names.end(), p.Entering) - names.begin()) + 1;
  const std::int32_t col = p.Col;
  std::int32_t& row = p.Row;
  for (std::int32_t i = 1; i <= n; ++i)
    if (RatGreaterInt(t.GetA(col, i), 0) && (row == 0 || before(col, i, row))) row = i;
  for (std::int32_t i = 1; i <= n && row != 0; ++i)
    p.Tie = p.Tie || (i != row && RatGreaterInt(t.GetA(col, i), 0) &&
                      CompareQuotients(t.GetB(i), t.GetA(col, i), t.GetB(row), t.GetA(col, row)) == 0);
  if (row == 0) return p;
  // When Z0 may leave at the smallest ratio, it leaves: that ends the method.
  const std::int32_t z0Row = t.RowOf("Z0");
  if (z0Row != 0 && z0Row != row && RatGreaterInt(t.GetA(col, z0Row), 0) &&
      CompareQuotients(t.GetB(z0Row), t.GetA(col, z0Row), t.GetB(row), t.GetA(col, row)) == 0) {
    row = z0Row;
    p.Z0Leaves = true;
  }
  return p;
}

} // namespace

TComplementarityResult RunLemke(const TKuhnTucker& kt, TZLPCore_SolutionResult& report) {
  TComplementarityResult out;
  const std::int32_t n = kt.Decisions + kt.Rows;
  TLemkeTable lemke = LemkeTable(kt);
  TSimplexTable& t = lemke.Table;

  const auto finish = [&](TComplementarityEnd end) {
    out.End = end;
    if (end != TComplementarityEnd::Solved) return out;
    out.Point.X.assign(static_cast<std::size_t>(n), TRational{0, 1});
    out.Point.V.assign(static_cast<std::size_t>(n), TRational{0, 1});
    for (std::int32_t j = 1; j <= n; ++j) {
      out.Point.X[static_cast<std::size_t>(j - 1)] = t.ValueOf("X" + Num(j));
      out.Point.V[static_cast<std::size_t>(j - 1)] = t.ValueOf("V" + Num(j));
    }
    return out;
  };

  report.AddParagraph("Запишем условия Куна–Таккера так, чтобы в каждой строке была своя базисная переменная: "
                      "V<sub>i</sub> в строках производных по X<sub>i</sub> и добавленные переменные в строках "
                      "ограничений, и введём в каждую строку вспомогательную переменную Z<sub>0</sub> с "
                      "коэффициентом -1. Строка Z таблицы — это Z = -Z<sub>0</sub>: условия решены, когда "
                      "Z<sub>0</sub> выйдет из базиса. Из каждой пары X<sub>j</sub>, V<sub>j</sub> в базисе "
                      "всегда остаётся не больше одной переменной.");
  if (t.HasInvalidCell()) {
    report.AddLine(t.ToHtml(0, 0));
    return finish(TComplementarityEnd::Overflow);
  }
  std::int32_t row = Z0EntryRow(lemke);
  if (row == 0) {
    report.AddLine(t.ToHtml(0, 0));
    report.AddParagraph("Все B<sub>i</sub>&ge;0: вспомогательная переменная не нужна, условия Куна–Таккера "
                        "выполнены уже в этой таблице.");
    return finish(TComplementarityEnd::Solved);
  }
  std::int32_t col = lemke.Z0;
  report.AddLine(t.ToHtml(col, row));
  report.AddParagraph("Наименьший свободный член B<sub>" + Num(row) + "</sub> = " + RatToStr(t.GetB(row)) +
                      ": вводим в базис Z<sub>0</sub>, из базиса выводится " + Html(t.GetRowName(row)) +
                      ", и после преобразования все B<sub>i</sub> станут неотрицательными.");
  // Bases never repeat under the lexicographic rule; the bound only guards against a fault.
  const std::int32_t limit = 50 * (n + 1) * (n + 1);
  for (std::int32_t step = 1; step <= limit; ++step) {
    const std::string left = t.GetRowName(row);
    t.Pivot(col, row);
    out.Steps = step;
    if (t.HasInvalidCell()) {
      report.AddLine(t.ToHtml(0, 0));
      report.AddParagraph(std::string("В таблице ") + RatBigLimitText + ", поэтому метод Лемке остановлен.");
      return finish(TComplementarityEnd::Overflow);
    }
    if (left == "Z0") {
      report.AddLine(t.ToHtml(0, 0));
      report.AddParagraph("Z<sub>0</sub> выведена из базиса: все переменные неотрицательны, и в каждой паре "
                          "X<sub>j</sub>, V<sub>j</sub> хотя бы одна равна нулю, — условия Куна–Таккера выполнены.");
      return finish(TComplementarityEnd::Solved);
    }
    const TLemkePivot next = NextLemkePivot(lemke, left);
    col = next.Col;
    row = next.Row;
    if (row == 0) {
      report.AddLine(t.ToHtml(col, 0));
      report.AddParagraph("На прошлом шаге из базиса выведена " + Html(left) + ", и в базис нужно ввести её пару " +
                          Html(next.Entering) +
                          ", но в её столбце нет положительных элементов: метод Лемке "
                          "закончился лучом, и условия Куна–Таккера решить им не удалось.");
      return finish(TComplementarityEnd::NoPoint);
    }
    report.AddLine(t.ToHtml(col, row));
    std::string text = "На прошлом шаге из базиса выведена " + Html(left) + ", поэтому вводится её пара " +
                       Html(next.Entering) + "; из базиса выводится " + Html(t.GetRowName(row)) +
                       ": наименьшее отношение B<sub>" + Num(row) + "</sub>/A<sub>" + Num(row) + "," + Num(col) +
                       "</sub> = " + RatToStr(RatDiv(t.GetB(row), t.GetA(col, row)));
    if (next.Z0Leaves)
      text += " (при равных отношениях выводится Z<sub>0</sub>)";
    else if (next.Tie)
      text += " (при равных отношениях строка выбрана лексикографическим правилом, которое не допускает "
              "зацикливания)";
    report.AddParagraph(text + ".");
  }
  report.AddParagraph("Метод Лемке остановлен: слишком много шагов.");
  return finish(TComplementarityEnd::Stopped);
}

TComplementarityResult RunLemkeExactly(const TKuhnTucker& kt, const std::vector<std::int32_t>& covering) {
  TComplementarityResult out;
  const std::int32_t d = kt.Decisions;
  const std::int32_t n = kt.Pairs();
  // Columns: 0 the free terms, 1..N X_j, N+1..2N V_j, 2N+1 Z0; the same rows as RunLemke's table.
  const std::int32_t width = 2 * n + 2;
  const std::int32_t z0 = 2 * n + 1;
  std::vector<std::vector<mpq_class>> rows(static_cast<std::size_t>(n),
                                           std::vector<mpq_class>(static_cast<std::size_t>(width)));
  for (std::int32_t i = 0; i < n; ++i) {
    auto& row = rows[static_cast<std::size_t>(i)];
    if (i < d) {
      for (std::int32_t j = 0; j < d; ++j) row[static_cast<std::size_t>(1 + j)] = RatToMpq(kt.Q[i][j]) * 2;
      row[static_cast<std::size_t>(n + 1 + i)] = 1;
      for (std::int32_t k = 0; k < kt.Rows; ++k)
        row[static_cast<std::size_t>(n + 1 + d + k)] = -RatToMpq(kt.A[k][i]);
      row[0] = -RatToMpq(kt.C[static_cast<std::size_t>(i)]);
    } else {
      const std::int32_t k = i - d;
      for (std::int32_t j = 0; j < d; ++j) row[static_cast<std::size_t>(1 + j)] = RatToMpq(kt.A[k][j]);
      row[static_cast<std::size_t>(1 + i)] = 1;
      row[0] = RatToMpq(kt.B[static_cast<std::size_t>(k)]);
    }
    row[static_cast<std::size_t>(z0)] =
        static_cast<std::size_t>(i) < covering.size() ? -static_cast<long>(covering[static_cast<std::size_t>(i)]) : -1L;
  }
  // Each row times the common multiple of its denominators: an integer system. Fraction-free
  // (Bareiss) pivoting keeps the table integral: after pivots on the columns of a basis it holds the
  // adjugate of that basis times the system, and the values are its entries over den, the
  // determinant of the basis, each division by the previous pivot exact. The starting basis is
  // pivoted in first.
  std::vector<std::vector<mpz_class>> t(static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    mpz_class scale = 1;
    for (const mpq_class& v : rows[i]) mpz_lcm(scale.get_mpz_t(), scale.get_mpz_t(), v.get_den_mpz_t());
    for (const mpq_class& v : rows[i]) t[i].push_back(v.get_num() * (scale / v.get_den()));
  }
  mpz_class den = 1;
  std::vector<std::int32_t> basis(static_cast<std::size_t>(n), 0);
  std::vector<std::int32_t> start(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) start[static_cast<std::size_t>(i)] = i < d ? n + 1 + i : 1 + i;
  const auto at = [&t](std::int32_t i, std::int32_t j) -> const mpz_class& {
    return t[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
  };
  const auto sign = [&den](const mpz_class& v) { return sgn(v) * sgn(den); };
  // Row i lexicographically before row r after division by their entries in column col (both > 0):
  // with entries of one sign the cross products keep the order.
  const auto before = [&](std::int32_t col, std::int32_t i, std::int32_t r) {
    const auto compare = [&](std::int32_t k) {
      const mpz_class left = at(i, k) * at(r, col);
      const mpz_class right = at(r, k) * at(i, col);
      return cmp(left, right);
    };
    if (const auto c = compare(0); c != 0) return c < 0;
    for (const std::int32_t s : start)
      if (const auto c = compare(s); c != 0) return c < 0;
    return false;
  };
  const auto pivot = [&](std::int32_t r, std::int32_t col) {
    const mpz_class p = at(r, col);
    for (std::int32_t i = 0; i < n; ++i) {
      if (i == r) continue;
      const mpz_class f = at(i, col);
      for (std::int32_t j = 0; j < width; ++j) {
        mpz_class& cell = t[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
        mpz_class v = f == 0 ? mpz_class(p * cell) : mpz_class(p * cell - f * at(r, j));
        mpz_divexact(cell.get_mpz_t(), v.get_mpz_t(), den.get_mpz_t());
      }
    }
    den = p;
    const std::int32_t left = basis[static_cast<std::size_t>(r)];
    basis[static_cast<std::size_t>(r)] = col;
    return left;
  };
  for (std::int32_t i = 0; i < n; ++i) pivot(i, start[static_cast<std::size_t>(i)]);
  const auto finish = [&](TComplementarityEnd end) {
    out.End = end;
    if (end != TComplementarityEnd::Solved) return out;
    out.Point.X.assign(static_cast<std::size_t>(n), TRational{0, 1});
    out.Point.V.assign(static_cast<std::size_t>(n), TRational{0, 1});
    for (std::int32_t i = 0; i < n; ++i) {
      const std::int32_t b = basis[static_cast<std::size_t>(i)];
      if (b == z0) continue;
      mpq_class exact(at(i, 0), den);
      exact.canonicalize();
      const TRational v = RatFromMpq(exact);
      if (!RatIsValid(v)) {
        out.End = TComplementarityEnd::Overflow;
        return out;
      }
      (b <= n ? out.Point.X[static_cast<std::size_t>(b - 1)] : out.Point.V[static_cast<std::size_t>(b - n - 1)]) = v;
    }
    return out;
  };

  // Z0 enters on the row whose [B | inverse] over its (negative) Z0 entry is lexicographically
  // greatest: every free term is then >= 0 after the pivot.
  std::int32_t row = -1;
  for (std::int32_t i = 0; i < n; ++i)
    if (sign(at(i, 0)) < 0 && (row < 0 || before(z0, row, i))) row = i;
  if (row < 0) return finish(TComplementarityEnd::Solved);
  std::int32_t col = z0;
  const std::int32_t limit = 50 * (n + 1) * (n + 1);
  for (std::int32_t step = 1; step <= limit; ++step) {
    const std::int32_t left = pivot(row, col);
    out.Steps = step;
    if (left == z0) return finish(TComplementarityEnd::Solved);
    col = left <= n ? left + n : left - n; // the partner of the variable that left
    row = -1;
    for (std::int32_t i = 0; i < n; ++i)
      if (sign(at(i, col)) > 0 && (row < 0 || before(col, i, row))) row = i;
    if (row < 0) return finish(TComplementarityEnd::NoPoint);
    for (std::int32_t i = 0; i < n; ++i)
      if (basis[static_cast<std::size_t>(i)] == z0 && i != row && sign(at(i, col)) > 0 &&
          at(i, 0) * at(row, col) == at(row, 0) * at(i, col))
        row = i;
  }
  return finish(TComplementarityEnd::Stopped);
}

TComplementarityResult BestKuhnTuckerPoint(const TKuhnTucker& kt, std::int32_t limit, const TKuhnTuckerPoint* start) {
  TComplementarityResult out;
  TLinearSystem s;
  if (!ConditionSystem(kt, s)) {
    out.End = TComplementarityEnd::Overflow;
    return out;
  }
  const std::int32_t n = kt.Pairs();
  const std::int32_t d = kt.Decisions;
  // At a point of the conditions f - C0 = (C.x + B.L) / 2.
  std::vector<TRational> objective(static_cast<std::size_t>(2 * n), TRational{0, 1});
  for (std::int32_t j = 0; j < d; ++j)
    objective[static_cast<std::size_t>(j)] = RatDivInt(kt.C[static_cast<std::size_t>(j)], 2);
  for (std::int32_t k = 0; k < kt.Rows; ++k)
    objective[static_cast<std::size_t>(n + d + k)] = RatDivInt(kt.B[static_cast<std::size_t>(k)], 2);
  if (!std::all_of(objective.begin(), objective.end(), Valid)) {
    out.End = TComplementarityEnd::Overflow;
    return out;
  }

  bool found = false;
  TRational best{0, 1};
  if (start != nullptr) {
    // Its value in the linear form of the search: (C.x + B.L) / 2.
    mpq_class value;
    for (std::int32_t j = 0; j < 2 * n; ++j) {
      const TRational y = j < n ? start->X[static_cast<std::size_t>(j)] : start->V[static_cast<std::size_t>(j - n)];
      value += RatToMpq(objective[static_cast<std::size_t>(j)]) * RatToMpq(y);
    }
    best = RatFromMpq(value);
    found = RatIsValid(best);
    if (found) out.Point = *start;
  }
  std::vector<std::vector<char>> stack{std::vector<char>(static_cast<std::size_t>(2 * n), 0)};
  while (!stack.empty()) {
    if (out.Steps >= limit) {
      out.End = TComplementarityEnd::Stopped; // with the best point so far in Point when found
      return out;
    }
    std::vector<char> fixed = std::move(stack.back());
    stack.pop_back();
    ++out.Steps;
    const TLinearResult r = SolveLinear(s, objective, fixed);
    if (r.End == TLinearEnd::Overflow) {
      out.End = TComplementarityEnd::Overflow;
      return out;
    }
    if (r.End == TLinearEnd::Infeasible) continue;
    // The pair to branch on: one whose both variables are positive at the point of the subproblem.
    // An unbounded subproblem has no such point; a point of its constraints alone guides the branch
    // then, and when that point happens to keep every pair apart it is a point of the conditions.
    std::vector<TRational> y = r.Y;
    if (r.End == TLinearEnd::Unbounded) {
      const TLinearResult feasible =
          SolveLinear(s, std::vector<TRational>(static_cast<std::size_t>(2 * n), TRational{0, 1}), fixed);
      if (feasible.End != TLinearEnd::Optimal) {
        out.End = TComplementarityEnd::Overflow;
        return out;
      }
      y = feasible.Y;
    } else if (found && !RatLess(best, r.Value)) {
      continue;
    }
    std::int32_t branch = -1;
    for (std::int32_t j = 0; j < n && branch < 0; ++j)
      if (!RatEqualsInt(y[static_cast<std::size_t>(j)], 0) && !RatEqualsInt(y[static_cast<std::size_t>(n + j)], 0))
        branch = j;
    if (branch < 0) {
      // The point keeps every pair apart.
      mpq_class value;
      for (std::int32_t j = 0; j < 2 * n; ++j)
        value += RatToMpq(objective[static_cast<std::size_t>(j)]) * RatToMpq(y[static_cast<std::size_t>(j)]);
      const TRational at = RatFromMpq(value);
      if (RatIsValid(at) && (!found || RatLess(best, at))) {
        found = true;
        best = at;
        out.Point.X.assign(y.begin(), y.begin() + n);
        out.Point.V.assign(y.begin() + n, y.end());
      }
      if (r.End != TLinearEnd::Unbounded) continue;
      // Better points may lie further along: branch on any pair not decided yet.
      for (std::int32_t j = 0; j < n && branch < 0; ++j)
        if (fixed[static_cast<std::size_t>(j)] == 0 && fixed[static_cast<std::size_t>(n + j)] == 0) branch = j;
      if (branch < 0) {
        // Every point here satisfies the conditions, and the objective grows without bound.
        out.End = TComplementarityEnd::Unbounded;
        return out;
      }
    }
    // Depth first, the child that keeps the larger of the two variables first.
    std::vector<char> zeroX = fixed;
    zeroX[static_cast<std::size_t>(branch)] = 1;     // X_j = 0
    fixed[static_cast<std::size_t>(n + branch)] = 1; // V_j = 0
    const bool xLarger = RatLess(y[static_cast<std::size_t>(n + branch)], y[static_cast<std::size_t>(branch)]);
    stack.push_back(xLarger ? std::move(zeroX) : std::move(fixed));
    stack.push_back(xLarger ? std::move(fixed) : std::move(zeroX));
  }
  out.End = found ? TComplementarityEnd::Solved : TComplementarityEnd::NoPoint;
  return out;
}
