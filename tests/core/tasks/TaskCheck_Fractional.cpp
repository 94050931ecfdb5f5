// The independent check of linear-fractional programs. Every point of the feasible set S is a convex
// combination of its vertices plus a conic combination of its extreme rays, so with a denominator
// positive on S the ratio's best value is the best of the vertex ratios and of c·r / d·r over the
// rays r with d·r > 0 (a ray with d·r = 0 along which the numerator improves makes it unbounded), and
// it is attained only where a vertex reaches it; a denominator zero at some points of S is checked
// over the other points. Vertices and rays come from ExactCheck.h.
#include "ExactCheck.h"
#include "TaskChecks.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <optional>

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
  const auto den = [&](const std::vector<xc::Q>& x) { return xc::Dot(f.D, x) + f.D0; };
  const auto num = [&](const std::vector<xc::Q>& x) { return xc::Dot(f.C, x) + f.C0; };
  // The sign the denominator keeps on S where it is not zero: at every vertex, and along every ray.
  bool nonNegative = true;
  bool nonPositive = true;
  for (const auto& x : vertices) {
    nonNegative = nonNegative && xc::Q{} <= den(x);
    nonPositive = nonPositive && den(x) <= xc::Q{};
  }
  for (const auto& r : rays) {
    nonNegative = nonNegative && xc::Q{} <= xc::Dot(f.D, r);
    nonPositive = nonPositive && xc::Dot(f.D, r) <= xc::Q{};
  }
  if (!nonNegative && !nonPositive) {
    // Both signs: unbounded both ways unless the numerator is zero on the zero set S ∩ {d = 0} (its
    // vertices and rays), and then the ratio is the same wherever it is defined.
    xc::TSystem zero = f.S;
    zero.A.push_back(f.D);
    zero.Relation.push_back(0);
    zero.B.push_back(xc::Q{} - f.D0);
    bool numeratorZero = true;
    for (const auto& x : xc::Vertices(zero, n)) numeratorZero = numeratorZero && xc::IsZero(num(x));
    for (const auto& r : Rays(zero, n)) numeratorZero = numeratorZero && xc::IsZero(xc::Dot(f.C, r));
    if (!numeratorZero) {
      EXPECT_EQ(v.Status, TTaskStatus::Unbounded) << "the ratio leaves every bound near a zero of the denominator";
      return;
    }
    ASSERT_EQ(v.Status, TTaskStatus::Optimal) << "the ratio is constant where it is defined";
    ASSERT_TRUE(v.Objective.has_value());
    for (const auto& x : vertices)
      if (!xc::IsZero(den(x))) EXPECT_EQ(xc::Show(num(x) / den(x)), RatToStr(*v.Objective)) << "at a vertex";
    std::vector<xc::Q> x;
    for (const TRational& r : v.X) x.push_back(xc::Make(r.Num, r.Den));
    ASSERT_EQ(x.size(), n);
    EXPECT_TRUE(xc::Feasible(f.S, x)) << "the point breaks a constraint";
    EXPECT_FALSE(xc::IsZero(den(x))) << "the ratio is not defined at the point";
    return;
  }
  // With s the sign the denominator keeps and g = +1 for a maximum, -1 for a minimum, each vertex and
  // ray is a pair (N, D) = (g·s·numerator, s·denominator), D >= 0, and the ratio at a point is the
  // mediant of the pairs of its combination. The best value is the best N/D over the pairs with
  // D > 0; a pair with D = 0 and N > 0 makes the ratio unbounded; the best value is attained when a
  // vertex is tight (N = best·D) and so is a pair with D > 0.
  const xc::Q s{nonNegative ? 1 : -1, 1};
  const xc::Q sense{g.IsMax ? 1 : -1, 1};
  struct TPair {
    xc::Q N, D;
    bool Vertex;
  };
  std::vector<TPair> pairs;
  for (const auto& x : vertices) pairs.push_back({sense * s * num(x), s * den(x), true});
  for (const auto& r : rays) pairs.push_back({sense * s * xc::Dot(f.C, r), s * xc::Dot(f.D, r), false});
  std::optional<xc::Q> best;
  bool unbounded = false;
  for (const TPair& p : pairs) {
    if (xc::IsZero(p.D))
      unbounded = unbounded || xc::Q{} < p.N;
    else if (!best || *best < p.N / p.D)
      best = p.N / p.D;
  }
  if (!best) {
    EXPECT_EQ(v.Status, TTaskStatus::BadInput) << "the denominator is zero on the whole feasible set";
    return;
  }
  if (unbounded) {
    EXPECT_EQ(v.Status, TTaskStatus::Unbounded);
    return;
  }
  bool tightVertex = false;
  bool tightPositive = false;
  for (const TPair& p : pairs) {
    if (!(p.N == *best * p.D)) continue;
    tightVertex = tightVertex || p.Vertex;
    tightPositive = tightPositive || !xc::IsZero(p.D);
  }
  const xc::Q value = sense * *best;
  if (!tightVertex || !tightPositive) {
    EXPECT_EQ(v.Status, TTaskStatus::NotAttained) << "the best value is only approached along a ray";
    ASSERT_TRUE(v.Objective.has_value());
    EXPECT_EQ(RatToStr(*v.Objective), xc::Show(value)) << "the bound of the ratio";
    return;
  }
  ASSERT_EQ(v.Status, TTaskStatus::Optimal) << "a point attains the best value " << xc::Show(value);
  ASSERT_TRUE(v.Objective.has_value());
  EXPECT_EQ(RatToStr(*v.Objective), xc::Show(value));
  std::vector<xc::Q> x;
  for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
  ASSERT_EQ(x.size(), n);
  EXPECT_TRUE(xc::Feasible(f.S, x)) << "the point breaks a constraint";
  ASSERT_FALSE(xc::IsZero(den(x))) << "the ratio is not defined at the point";
  EXPECT_EQ(xc::Show(num(x) / den(x)), xc::Show(value)) << "the ratio at the point is not the optimum";
}

const TTaskCheckRegistration Registration(TT_FRACTIONAL, CheckFractional);

} // namespace
