// The dual estimates of every optimal linear and cutting-stock program of tests/data, certified on the
// stated data alone (the sign rules, the dual constraints, W = Z, complementary slackness), and the
// sensitivity ranges of the linear programs checked by solving again with the bound moved just
// inside and just outside each range.
#include "BigRational.h"
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

// The program of a statement read apart from the model code: Z = c x + c0 -> max (min), rows
// A x (relation) b, x >= 0; relations -1 "<=", 0 "=", 1 ">=".
struct TProgram {
  bool IsMax = true;
  std::vector<xc::Q> C;
  xc::Q C0;
  xc::TSystem S;
};

// A value of the program exactly, also one beyond 32-bit fractions.
xc::Q Exact(TRational r) {
  const mpq_class q = RatToMpq(r);
  return xc::Make(xc::Int(q.get_num()), xc::Int(q.get_den()));
}

// A cell as the input fields read it ("0,75" included); an empty yield cell is 0.
xc::Q Cell(const TStatementGrid& g, std::int32_t x, std::int32_t y) {
  TRational r{0, 1};
  if (!g.Cell(x, y).empty()) {
    EXPECT_TRUE(ParseInputNumber(g.Cell(x, y), r)) << g.Cell(x, y);
  }
  return Exact(r);
}

xc::Q Number(const std::string& text) {
  TRational r{0, 1};
  EXPECT_TRUE(ParseInputNumber(text, r)) << text;
  return Exact(r);
}

TProgram LinearProgramOf(const TStatementGrid& g) {
  TProgram p;
  p.IsMax = g.IsMax;
  p.C0 = Cell(g, 0, 0);
  for (std::int32_t j = 1; j <= g.Sx; ++j) p.C.push_back(Cell(g, j, 0));
  for (std::int32_t i = 1; i <= g.Sy; ++i) {
    std::vector<xc::Q> row;
    for (std::int32_t j = 1; j <= g.Sx; ++j) row.push_back(Cell(g, j, i));
    p.S.A.push_back(row);
    const std::uint8_t sign = g.Signs[static_cast<std::size_t>(i - 1)];
    p.S.Relation.push_back(sign == IS_BELOWOREQUAL ? -1 : sign == IS_EQUAL ? 0 : 1);
    p.S.B.push_back(Cell(g, 0, i));
  }
  return p;
}

// The cutting-stock program: with q the first product of nonzero proportion, Z = sum_j a_qj / r_q X_j,
// the material row sum_j X_j = A, and for every other product i the row
// sum_j (a_ij - a_qj r_i / r_q) X_j = 0, in product order.
TProgram CuttingProgramOf(const TStatementGrid& g) {
  TProgram p;
  const std::int32_t patterns = g.Sx;
  const std::int32_t products = g.Sy;
  std::int32_t q = 1;
  while (xc::IsZero(Cell(g, 0, q))) ++q;
  const xc::Q rq = Cell(g, 0, q);
  const auto yield = [&](std::int32_t i, std::int32_t j) { return Cell(g, j, i); };
  for (std::int32_t j = 1; j <= patterns; ++j) p.C.push_back(yield(q, j) / rq);
  p.S.A.push_back(std::vector<xc::Q>(static_cast<std::size_t>(patterns), xc::Q{1, 1}));
  p.S.Relation.push_back(0);
  p.S.B.push_back(Number(g.Material));
  for (std::int32_t i = 1; i <= products; ++i) {
    if (i == q) continue;
    std::vector<xc::Q> row;
    for (std::int32_t j = 1; j <= patterns; ++j) row.push_back(yield(i, j) - yield(q, j) * Cell(g, 0, i) / rq);
    p.S.A.push_back(row);
    p.S.Relation.push_back(0);
    p.S.B.push_back(xc::Q{});
  }
  return p;
}


std::vector<xc::Q> Exact(const std::vector<TRational>& v) {
  std::vector<xc::Q> out;
  for (const TRational& r : v) out.push_back(Exact(r));
  return out;
}

TStatementGrid Load(const std::string& task, const std::string& file) {
  TTextFormatError error;
  const auto grid = ParseStatementText(xc::ReadText(fs::path(KELVANO_TEST_DATA) / task / file), error);
  EXPECT_TRUE(grid.has_value()) << file << ": " << error.Message;
  return grid ? *grid : TStatementGrid{};
}

TTaskVerdict Solve(const TStatementGrid& grid) {
  TMessageRecorder messages;
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(grid, data, error)) << error.Field << ": " << error.Message;
  TZLPCore_SolutionResult report;
  return RunTask(grid.TaskType, data, report);
}

struct TCase {
  std::string Task;
  std::string File;
};

std::vector<TCase> OptimalCases(const std::string& task) {
  std::vector<TCase> cases;
  for (const xc::TExpected& row : xc::ReadExpected(fs::path(KELVANO_TEST_DATA) / task))
    if (row.Status == "optimal") cases.push_back({task, row.File});
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<TCase>& info) {
  std::string name = info.param.Task + "_" + info.param.File;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// sum_i a_ij y_i - c_j for every j, and b_i - a_i x for every i.
std::vector<xc::Q> Reduced(const TProgram& p, const std::vector<xc::Q>& y) {
  std::vector<xc::Q> d;
  for (std::size_t j = 0; j < p.C.size(); ++j) {
    xc::Q s;
    for (std::size_t i = 0; i < y.size(); ++i) s = s + p.S.A[i][j] * y[i];
    d.push_back(s - p.C[j]);
  }
  return d;
}

std::vector<xc::Q> Slack(const TProgram& p, const std::vector<xc::Q>& x) {
  std::vector<xc::Q> s;
  for (std::size_t i = 0; i < p.S.A.size(); ++i) s.push_back(p.S.B[i] - xc::Dot(p.S.A[i], x));
  return s;
}

int Sign(const xc::Q& q) { return q.n > 0 ? 1 : q.n < 0 ? -1 : 0; }

class DualEstimates : public ::testing::TestWithParam<TCase> {};

TEST_P(DualEstimates, AreAnOptimalSolutionOfTheDualOfTheStatedProgram) {
  const TStatementGrid grid = Load(GetParam().Task, GetParam().File);
  const TTaskVerdict v = Solve(grid);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal) << v.Message;
  const TProgram p = grid.TaskType == TT_CUTTING ? CuttingProgramOf(grid) : LinearProgramOf(grid);
  const std::size_t m = p.S.A.size();
  ASSERT_EQ(v.Dual.size(), m);
  ASSERT_EQ(v.RangesB.size(), m);
  ASSERT_EQ(v.RangesC.size(), p.C.size());
  const std::vector<xc::Q> y = Exact(v.Dual);
  const std::vector<xc::Q> x = Exact(v.X);
  const int direction = p.IsMax ? 1 : -1;
  // Sign rules: a row limiting Z (<= of a maximum, >= of a minimum) has Y >= 0, the other
  // inequality Y <= 0, an equality any sign.
  for (std::size_t i = 0; i < m; ++i) {
    SCOPED_TRACE("Y" + std::to_string(i + 1));
    const int relation = p.S.Relation[i];
    if (relation != 0) {
      EXPECT_GE(Sign(y[i]) * -relation * direction, 0) << xc::Show(y[i]);
    }
  }
  // The dual constraints: A^T y >= c for a maximum, <= c for a minimum.
  const std::vector<xc::Q> d = Reduced(p, y);
  for (std::size_t j = 0; j < d.size(); ++j) EXPECT_GE(Sign(d[j]) * direction, 0) << "dual row " << j + 1;
  // First theorem: W = b y + c0 = Z.
  ASSERT_TRUE(v.Objective.has_value());
  EXPECT_EQ(xc::Show(xc::Dot(p.S.B, y) + p.C0), RatToStr(*v.Objective));
  // Second theorem, row by row and variable by variable.
  const std::vector<xc::Q> s = Slack(p, x);
  for (std::size_t i = 0; i < m; ++i) EXPECT_TRUE(xc::IsZero(y[i] * s[i])) << "row " << i + 1;
  for (std::size_t j = 0; j < d.size(); ++j) EXPECT_TRUE(xc::IsZero(x[j] * d[j])) << "X" << j + 1;
}

std::vector<TCase> DualCases() {
  std::vector<TCase> cases = OptimalCases("lp");
  for (TCase& c : OptimalCases("cutting")) cases.push_back(std::move(c));
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Reference, DualEstimates, ::testing::ValuesIn(DualCases()), CaseName);

// The fraction of smallest denominator strictly between lo and hi (lo < hi), so that the problems
// solved again keep small numbers.
xc::Q Simplest(xc::Q lo, xc::Q hi) {
  for (xc::Int den = 1;; ++den) {
    // the smallest numerator k with k / den > lo
    xc::Int k = lo.n * den / lo.d;
    while (!(lo < xc::Make(k, den))) ++k;
    while (lo < xc::Make(k - 1, den)) --k;
    if (xc::Make(k, den) < hi) return xc::Make(k, den);
  }
}

// Points to try on each side of a bound: just inside and just outside a finite bound, far inside an
// infinite one. The step is small against the width of the range.
struct TProbe {
  xc::Q Value;
  bool Inside;
};

std::vector<TProbe> Probes(const TValueRange& r, const xc::Q& at) {
  xc::Q step{1, 16};
  if (r.Lo && r.Hi) {
    const xc::Q width = Exact(*r.Hi) - Exact(*r.Lo);
    if (width < xc::Q{}) {
      ADD_FAILURE() << "an empty range";
      return {};
    }
    if (width < xc::Q{1, 4}) step = xc::IsZero(width) ? xc::Q{1, 16} : width / xc::Q{4, 1};
  }
  const bool point = r.Lo && r.Hi && Exact(*r.Lo) == Exact(*r.Hi);
  std::vector<TProbe> out;
  if (r.Lo) {
    const xc::Q lo = Exact(*r.Lo);
    out.push_back({Simplest(lo - step, lo), false});
    out.push_back({point ? lo : Simplest(lo, lo + step), true});
  } else {
    out.push_back({at - xc::Q{100, 1}, true});
  }
  if (r.Hi) {
    const xc::Q hi = Exact(*r.Hi);
    out.push_back({Simplest(hi, hi + step), false});
    out.push_back({point ? hi : Simplest(hi - step, hi), true});
  } else {
    out.push_back({at + xc::Q{100, 1}, true});
  }
  return out;
}

class SensitivityRanges : public ::testing::TestWithParam<TCase> {};

TEST_P(SensitivityRanges, HoldJustInsideAndFailJustOutside) {
  const TStatementGrid grid = Load(GetParam().Task, GetParam().File);
  const TTaskVerdict v = Solve(grid);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal) << v.Message;
  const TProgram p = LinearProgramOf(grid);
  const std::size_t m = p.S.A.size();
  const std::size_t n = p.C.size();
  ASSERT_EQ(v.Dual.size(), m);
  const std::vector<xc::Q> y = Exact(v.Dual);
  const std::vector<xc::Q> x = Exact(v.X);
  const xc::Q z = Exact(*v.Objective);
  // Without degeneracy every range is exact: outside it the estimate (resp. the plan) fails. The
  // counts are of the stated form, an added variable for every inequality.
  std::size_t inequalities = 0;
  std::size_t positive = 0;
  std::size_t priced = 0;
  const std::vector<xc::Q> s = Slack(p, x);
  const std::vector<xc::Q> d = Reduced(p, y);
  for (std::size_t i = 0; i < m; ++i) {
    if (p.S.Relation[i] == 0) continue;
    ++inequalities;
    positive += xc::IsZero(s[i]) ? 0 : 1;
    priced += xc::IsZero(y[i]) ? 0 : 1;
  }
  for (std::size_t j = 0; j < n; ++j) {
    positive += xc::IsZero(x[j]) ? 0 : 1;
    priced += xc::IsZero(d[j]) ? 0 : 1;
  }
  const bool primalExact = positive == m;
  const bool dualExact = priced + m == n + inequalities;

  for (std::size_t i = 0; i < m; ++i) {
    const TValueRange& r = v.RangesB[i];
    const xc::Q b = p.S.B[i];
    EXPECT_TRUE((!r.Lo || Exact(*r.Lo) <= b) && (!r.Hi || b <= Exact(*r.Hi))) << "b" << i + 1 << " outside its range";
    for (const TProbe& probe : Probes(r, b)) {
      SCOPED_TRACE("b" + std::to_string(i + 1) + " = " + xc::Show(probe.Value));
      if (!probe.Inside && !dualExact) continue;
      TStatementGrid moved = grid;
      moved.SetCell(0, static_cast<std::int32_t>(i + 1), xc::Show(probe.Value));
      const TTaskVerdict w = Solve(moved);
      const xc::Q predicted = z + y[i] * (probe.Value - b);
      if (probe.Inside) {
        ASSERT_EQ(w.Status, TTaskStatus::Optimal) << w.Message;
        EXPECT_EQ(RatToStr(*w.Objective), xc::Show(predicted)) << "the estimate does not hold inside";
      } else {
        EXPECT_TRUE(w.Status != TTaskStatus::Optimal || RatToStr(*w.Objective) != xc::Show(predicted))
            << "the estimate still holds outside";
      }
    }
  }
  for (std::size_t j = 0; j < n; ++j) {
    const TValueRange& r = v.RangesC[j];
    const xc::Q c = p.C[j];
    EXPECT_TRUE((!r.Lo || Exact(*r.Lo) <= c) && (!r.Hi || c <= Exact(*r.Hi))) << "c" << j + 1 << " outside its range";
    for (const TProbe& probe : Probes(r, c)) {
      SCOPED_TRACE("c" + std::to_string(j + 1) + " = " + xc::Show(probe.Value));
      if (!probe.Inside && !primalExact) continue;
      TStatementGrid moved = grid;
      moved.SetCell(static_cast<std::int32_t>(j + 1), 0, xc::Show(probe.Value));
      const TTaskVerdict w = Solve(moved);
      std::vector<xc::Q> cost = p.C;
      cost[j] = probe.Value;
      const xc::Q atPlan = xc::Dot(cost, x) + p.C0;
      if (probe.Inside) {
        ASSERT_EQ(w.Status, TTaskStatus::Optimal) << w.Message;
        EXPECT_EQ(RatToStr(*w.Objective), xc::Show(atPlan)) << "the plan is no longer optimal inside";
      } else {
        const bool better = w.Status == TTaskStatus::Unbounded ||
                            (w.Status == TTaskStatus::Optimal &&
                             (p.IsMax ? atPlan < Exact(*w.Objective) : Exact(*w.Objective) < atPlan));
        EXPECT_TRUE(better) << "the plan is still optimal outside";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Reference, SensitivityRanges, ::testing::ValuesIn(OptimalCases("lp")), CaseName);

} // namespace

namespace {

} // namespace
