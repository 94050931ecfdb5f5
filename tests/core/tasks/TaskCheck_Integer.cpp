// The independent check of integer programs: every integer point of a box (the bounds the rows give, or
// 0..12 for a variable no row bounds), with the continuous variables of a mixed program at each vertex
// of what remains, against the verdict.
#include "BranchBound.h"
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "TaskChecks.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

namespace {

struct TProgram {
  xc::TSystem S;
  std::vector<xc::Q> C;
  xc::Q C0;
  std::vector<bool> Integer;
};

TProgram ProgramOf(const TStatementGrid& g) {
  TProgram p;
  for (std::int32_t i = 1; i <= g.Sy; ++i) {
    std::vector<xc::Q> row;
    for (std::int32_t j = 1; j <= g.Sx; ++j) row.push_back(xc::Parse(g.Cell(j, i)));
    p.S.A.push_back(row);
    const std::uint8_t sign = g.Signs[static_cast<std::size_t>(i - 1)];
    p.S.Relation.push_back(sign == IS_BELOWOREQUAL ? -1 : sign == IS_EQUAL ? 0 : 1);
    p.S.B.push_back(xc::Parse(g.Cell(0, i)));
  }
  for (std::int32_t j = 1; j <= g.Sx; ++j) {
    p.C.push_back(xc::Parse(g.Cell(j, 0)));
    p.Integer.push_back(g.Integer[static_cast<std::size_t>(j - 1)] != 0);
  }
  p.C0 = xc::Parse(g.Cell(0, 0));
  return p;
}

// The largest integer value of x_j that a row "sum a x <= b" with a >= 0 allows; cap otherwise.
xc::I128 UpperBound(const xc::TSystem& s, std::size_t j, bool& bounded) {
  constexpr xc::I128 Cap = 12;
  xc::I128 best = Cap;
  bounded = false;
  for (std::size_t i = 0; i < s.A.size(); ++i) {
    if (s.Relation[i] > 0 || !(xc::Q{} < s.A[i][j])) continue;
    if (std::any_of(s.A[i].begin(), s.A[i].end(), [](xc::Q a) { return a < xc::Q{}; })) continue;
    const xc::Q q = s.B[i] / s.A[i][j];
    const xc::I128 bound = q.n < 0 ? -1 : static_cast<xc::I128>(mpz_class(q.n / q.d).get_si());
    if (!bounded || bound < best) best = bound;
    bounded = true;
  }
  return best;
}

// Calls visit with every point whose integer variables run through the box and whose continuous
// variables sit at a vertex of the rest; returns whether the box holds every integer point.
bool ForEachCandidate(const TProgram& p, const std::function<void(const std::vector<xc::Q>&)>& visit) {
  const std::size_t n = p.C.size();
  std::vector<std::size_t> ints;
  std::vector<std::size_t> conts;
  std::vector<xc::I128> upper(n, 0);
  bool complete = true;
  for (std::size_t j = 0; j < n; ++j) {
    if (!p.Integer[j]) {
      conts.push_back(j);
      continue;
    }
    bool bounded = false;
    upper[j] = UpperBound(p.S, j, bounded);
    complete = complete && bounded;
    ints.push_back(j);
  }
  std::vector<xc::Q> x(n);
  std::function<void(std::size_t)> walk = [&](std::size_t k) {
    if (k < ints.size()) {
      for (xc::I128 v = 0; v <= upper[ints[k]]; ++v) {
        x[ints[k]] = xc::Make(v, xc::I128{1});
        walk(k + 1);
      }
      return;
    }
    if (conts.empty()) {
      if (xc::Feasible(p.S, x)) visit(x);
      return;
    }
    xc::TSystem rest;
    rest.Relation = p.S.Relation;
    for (std::size_t i = 0; i < p.S.A.size(); ++i) {
      std::vector<xc::Q> row;
      xc::Q b = p.S.B[i];
      for (std::size_t j : conts) row.push_back(p.S.A[i][j]);
      for (std::size_t j : ints) b = b - p.S.A[i][j] * x[j];
      rest.A.push_back(row);
      rest.B.push_back(b);
    }
    for (const std::vector<xc::Q>& v : xc::Vertices(rest, conts.size())) {
      for (std::size_t k2 = 0; k2 < conts.size(); ++k2) x[conts[k2]] = v[k2];
      visit(x);
    }
  };
  walk(0);
  return complete;
}

void CheckInteger(const TStatementGrid& g, const TTaskVerdict& v) {
  const TProgram p = ProgramOf(g);
  const auto value = [&p](const std::vector<xc::Q>& x) { return xc::Dot(p.C, x) + p.C0; };
  std::optional<xc::Q> best;
  const bool complete = ForEachCandidate(p, [&](const std::vector<xc::Q>& x) {
    const xc::Q z = value(x);
    if (!best || (g.IsMax ? *best < z : z < *best)) best = z;
  });

  switch (v.Status) {
  case TTaskStatus::Infeasible:
    EXPECT_FALSE(best.has_value()) << "an integer point exists with the value " << xc::Show(*best);
    break;
  case TTaskStatus::Unbounded: EXPECT_TRUE(best.has_value()) << "no integer point: nothing to be unbounded on"; break;
  case TTaskStatus::Optimal: {
    std::vector<xc::Q> x;
    for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
    ASSERT_EQ(x.size(), p.C.size());
    EXPECT_TRUE(xc::Feasible(p.S, x)) << "the point breaks a constraint";
    for (std::size_t j = 0; j < x.size(); ++j)
      if (p.Integer[j]) {
        EXPECT_EQ(x[j].d, 1) << "X" << j + 1 << " must be an integer";
      }
    ASSERT_TRUE(v.Objective.has_value());
    EXPECT_EQ(xc::Show(value(x)), RatToStr(*v.Objective)) << "the objective is not its value at the point";
    ASSERT_TRUE(best.has_value()) << "the box holds no integer point";
    const xc::Q z = value(x);
    EXPECT_TRUE(g.IsMax ? *best <= z : z <= *best) << "a better integer point: " << xc::Show(*best);
    if (complete) {
      EXPECT_EQ(xc::Show(*best), xc::Show(z));
    }
    break;
  }
  default: break;
  }
}

const TTaskCheckRegistration Registration(TT_INTEGER, CheckInteger);

// The reference table of integer programs by branch and bound: the status and the optimum of the table
// (the point may be another optimal one) and the enumeration of the box, as for Gomory's method.
TEST(IntegerMethods, BranchAndBoundReachesTheOptimaOfTheReferenceTable) {
  TMessageRecorder messages;
  const std::filesystem::path folder = std::filesystem::path(KELVANO_TEST_DATA) / "integer";
  int branched = 0;
  for (const xc::TExpected& row : xc::ReadExpected(folder)) {
    SCOPED_TRACE(row.File);
    TTextFormatError textError;
    auto grid = ParseStatementText(xc::ReadText(folder / row.File), textError);
    ASSERT_TRUE(grid) << textError.Message;
    ASSERT_TRUE(SetIntegerMethod(*grid, "branch"));
    TZLPCore_Interface data;
    TStatementError error;
    ASSERT_TRUE(ReadStatement(*grid, data, error)) << error.Message;
    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(grid->TaskType, data, report);
    EXPECT_EQ(StatusName(v.Status), row.Status) << v.Message;
    if (!row.Objective.empty()) {
      ASSERT_TRUE(v.Objective.has_value());
      EXPECT_EQ(RatToStr(*v.Objective), row.Objective);
    }
    CheckInteger(*grid, v);
    const std::string page = report.GetText();
    branched += page.find("<H2>&bull; Метод ветвей и границ</H2>") != std::string::npos ? 1 : 0;
    EXPECT_TRUE(messages.Messages.empty());
  }
  EXPECT_GE(branched, 8) << "most problems of the table need branching";
}

} // namespace
