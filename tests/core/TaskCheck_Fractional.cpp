// The independent check of linear-fractional programs. Every point of the feasible set S is a convex
// combination of its vertices plus a conic combination of its extreme rays, so with a denominator
// positive on S the ratio's best value is the best of the vertex ratios and of c·r / d·r over the
// rays r with d·r > 0 (a ray with d·r = 0 along which the numerator improves makes it unbounded), and
// it is attained only where a vertex reaches it. Vertices and rays come from ExactCheck.h.
#include "ExactCheck.h"
#include "TaskChecks.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

namespace {

struct TFractional {
  xc::TSystem S;
  std::vector<xc::Q> C, D;
  xc::Q C0, D0;
};

TFractional FractionalOf(const TStatementGrid& g) {
  TFractional f;
  for (std::int32_t i = 1; i <= g.Sy; ++i) {
    std::vector<xc::Q> row;
    for (std::int32_t j = 1; j <= g.Sx; ++j) row.push_back(xc::Parse(g.Cell(j, i)));
    f.S.A.push_back(row);
    const std::uint8_t sign = g.Signs[static_cast<std::size_t>(i - 1)];
    f.S.Relation.push_back(sign == IS_BELOWOREQUAL ? -1 : sign == IS_EQUAL ? 0 : 1);
    f.S.B.push_back(xc::Parse(g.Cell(0, i)));
  }
  for (std::int32_t j = 1; j <= g.Sx; ++j) {
    f.C.push_back(xc::Parse(g.Cell(j, -1)));
    f.D.push_back(xc::Parse(g.Cell(j, 0)));
  }
  f.C0 = xc::Parse(g.Cell(0, -1));
  f.D0 = xc::Parse(g.Cell(0, 0));
  return f;
}

// The extreme rays of S, scaled to sum 1: the vertices of {A r (relation) 0, r >= 0, sum r = 1}.
std::vector<std::vector<xc::Q>> Rays(const xc::TSystem& s, std::size_t n) {
  xc::TSystem cone = s;
  std::fill(cone.B.begin(), cone.B.end(), xc::Q{});
  cone.A.emplace_back(n, xc::Q{1, 1});
  cone.Relation.push_back(0);
  cone.B.push_back(xc::Q{1, 1});
  return xc::Vertices(cone, n);
}

void CheckFractional(const TStatementGrid& g, const TTaskVerdict& v) {
  const TFractional f = FractionalOf(g);
  const auto n = static_cast<std::size_t>(g.Sx);
  const std::vector<std::vector<xc::Q>> vertices = xc::Vertices(f.S, n);
  if (vertices.empty()) {
    EXPECT_EQ(v.Status, TTaskStatus::Infeasible) << "the constraints have no common point";
    return;
  }
  EXPECT_NE(v.Status, TTaskStatus::Infeasible) << "a feasible vertex exists";
  // A method that stopped on numbers beyond 32-bit fractions claims nothing about the ratio.
  if (v.Status == TTaskStatus::Overflow || v.Status == TTaskStatus::Cycling) return;
  const std::vector<std::vector<xc::Q>> rays = Rays(f.S, n);
  // The sign the denominator keeps on S: at every vertex, and not falling along any ray.
  bool positive = true;
  bool negative = true;
  for (const auto& x : vertices) {
    const xc::Q d = xc::Dot(f.D, x) + f.D0;
    positive = positive && xc::Q{} < d;
    negative = negative && d < xc::Q{};
  }
  for (const auto& r : rays) {
    const xc::Q d = xc::Dot(f.D, r);
    positive = positive && xc::Q{} <= d;
    negative = negative && d <= xc::Q{};
  }
  if (!positive && !negative) {
    // Zero somewhere on S: the method refuses; only a bound it can prove may be reported.
    EXPECT_TRUE(v.Status == TTaskStatus::Unbounded || v.Status == TTaskStatus::BadInput) << StatusName(v.Status);
    return;
  }
  // With n' = s·n, d' = s·d (d' > 0 on S) and g = +1 for a maximum, -1 for a minimum, the best value
  // of g·n'/d' over S.
  const xc::Q s{positive ? 1 : -1, 1};
  const xc::Q sense{g.IsMax ? 1 : -1, 1};
  // The vertices first: a ray that only ties with a vertex leaves the value attained.
  xc::Q best = sense * (xc::Dot(f.C, vertices[0]) + f.C0) / (xc::Dot(f.D, vertices[0]) + f.D0);
  for (const auto& x : vertices) {
    const xc::Q q = sense * (xc::Dot(f.C, x) + f.C0) / (xc::Dot(f.D, x) + f.D0);
    if (best < q) best = q;
  }
  bool atVertex = true;
  bool unbounded = false;
  for (const auto& r : rays) {
    const xc::Q dr = s * xc::Dot(f.D, r);
    const xc::Q cr = s * sense * xc::Dot(f.C, r);
    if (xc::IsZero(dr)) {
      unbounded = unbounded || xc::Q{} < cr;
      continue;
    }
    const xc::Q q = cr / dr;
    if (best < q) {
      best = q;
      atVertex = false;
    }
  }
  if (unbounded) {
    EXPECT_EQ(v.Status, TTaskStatus::Unbounded);
    return;
  }
  const xc::Q value = sense * best;
  if (!atVertex) {
    EXPECT_EQ(v.Status, TTaskStatus::NotAttained) << "the best value is only approached along a ray";
    ASSERT_TRUE(v.Objective.has_value());
    EXPECT_EQ(RatToStr(*v.Objective), xc::Show(value)) << "the bound of the ratio";
    return;
  }
  ASSERT_EQ(v.Status, TTaskStatus::Optimal) << "a vertex attains the best value " << xc::Show(value);
  ASSERT_TRUE(v.Objective.has_value());
  EXPECT_EQ(RatToStr(*v.Objective), xc::Show(value));
  std::vector<xc::Q> x;
  for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
  ASSERT_EQ(x.size(), n);
  EXPECT_TRUE(xc::Feasible(f.S, x)) << "the point breaks a constraint";
  const xc::Q at = (xc::Dot(f.C, x) + f.C0) / (xc::Dot(f.D, x) + f.D0);
  EXPECT_EQ(xc::Show(at), xc::Show(value)) << "the ratio at the point is not the optimum";
}

const TTaskCheckRegistration Registration(TT_FRACTIONAL, CheckFractional);

} // namespace
