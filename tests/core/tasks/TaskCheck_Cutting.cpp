// The independent check of cutting-stock answers. The program is rebuilt from the statement in a
// form of its own, without division: all the material is cut, and for every product i
// pieces_i * r_s = pieces_s * r_i against one product s with r_s != 0, pieces_i = sum_j a_ij X_j.
// The point must satisfy it, the number of sets must be pieces_i / r_i for every wanted product,
// and no vertex may give more sets; without a feasible vertex the answer must be "infeasible".
#include "ExactCheck.h"
#include "TaskChecks.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct TCut {
  xc::Q Material;
  std::vector<xc::Q> R;              // [i]
  std::vector<std::vector<xc::Q>> A; // [i][j]; an empty cell is 0
};

// "3", "15/2", and decimals with a point or a comma: "0,75" is 75/100.
xc::Q Number(const std::string& text) {
  const std::size_t point = text.find_first_of(".,");
  if (point == std::string::npos) return xc::Parse(text);
  const std::string digits = text.substr(0, point) + text.substr(point + 1);
  xc::I128 scale = 1;
  for (std::size_t k = point + 1; k < text.size(); ++k) scale *= 10;
  return xc::Parse(digits) / xc::Make(scale, xc::I128{1});
}

TCut CutOf(const TStatementGrid& g) {
  TCut c;
  c.Material = Number(g.Material);
  for (std::int32_t i = 1; i <= g.Sy; ++i) {
    c.R.push_back(Number(g.Cell(0, i)));
    std::vector<xc::Q> row;
    for (std::int32_t j = 1; j <= g.Sx; ++j) row.push_back(g.Cell(j, i).empty() ? xc::Q{} : Number(g.Cell(j, i)));
    c.A.push_back(row);
  }
  return c;
}

xc::Q Pieces(const TCut& c, std::size_t i, const std::vector<xc::Q>& x) { return xc::Dot(c.A[i], x); }

void CheckCutting(const TStatementGrid& g, const TTaskVerdict& v) {
  const TCut c = CutOf(g);
  const std::size_t p = static_cast<std::size_t>(g.Sx);
  // Proportions are compared against the last wanted product, the program counts sets by the first.
  std::size_t s = c.R.size();
  while (s > 0 && xc::IsZero(c.R[s - 1])) --s;
  ASSERT_GT(s, 0U) << "a statement without a wanted product was solved";
  --s;
  xc::TSystem sys;
  sys.A.push_back(std::vector<xc::Q>(p, xc::Q{1, 1}));
  sys.Relation.push_back(0);
  sys.B.push_back(c.Material);
  for (std::size_t i = 0; i < c.R.size(); ++i) {
    if (i == s) continue;
    std::vector<xc::Q> row;
    for (std::size_t j = 0; j < p; ++j) row.push_back(c.A[i][j] * c.R[s] - c.A[s][j] * c.R[i]);
    sys.A.push_back(row);
    sys.Relation.push_back(0);
    sys.B.push_back(xc::Q{});
  }
  const auto sets = [&](const std::vector<xc::Q>& x) { return Pieces(c, s, x) / c.R[s]; };
  const std::vector<std::vector<xc::Q>> vertices = xc::Vertices(sys, p);
  if (v.Status == TTaskStatus::Infeasible) {
    EXPECT_TRUE(vertices.empty()) << "the proportions can be met";
    EXPECT_FALSE(v.Objective.has_value()) << "a number of sets for proportions that cannot be met";
    return;
  }
  ASSERT_EQ(v.Status, TTaskStatus::Optimal) << v.Message;
  std::vector<xc::Q> x;
  for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
  ASSERT_EQ(x.size(), p);
  EXPECT_TRUE(xc::Feasible(sys, x)) << "the point breaks the material or a proportion";
  EXPECT_EQ(xc::Show(xc::Dot(std::vector<xc::Q>(p, xc::Q{1, 1}), x)), xc::Show(c.Material))
      << "not all the material is cut";
  ASSERT_TRUE(v.Objective.has_value());
  const xc::Q value = sets(x);
  EXPECT_EQ(xc::Show(value), RatToStr(*v.Objective)) << "the objective is not the number of sets at the point";
  for (std::size_t i = 0; i < c.R.size(); ++i) {
    if (xc::IsZero(c.R[i])) continue;
    EXPECT_EQ(xc::Show(Pieces(c, i, x) / c.R[i]), xc::Show(value)) << "product " << i + 1 << " is off its proportion";
  }
  ASSERT_FALSE(vertices.empty());
  for (const auto& vertex : vertices) EXPECT_TRUE(sets(vertex) <= value) << "a vertex gives more sets";
}

const TTaskCheckRegistration Registration(TT_CUTTING, CheckCutting);

} // namespace

// A fractional optimum is an upper bound of whole sets: the answer names its floor and the plan
// rounded down to whole units of material with the whole sets that plan really gives, counted here
// from the patterns (products 1 : 2, patterns (3, 1) and (0, 2), 10 units: X = (20/7, 50/7) rounds
// down to (2, 7), which gives 6 pieces of the first product and 16 of the second: 6 sets, not 8).
TEST(CuttingAnswer, FractionalOptimumGivesTheWholeSetsOfTheRoundedPlan) {
  const TRun run = SolveText("cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\n", TT_CUTTING);
  ASSERT_EQ(run.Verdict.Status, TTaskStatus::Optimal);
  ASSERT_TRUE(run.Verdict.Objective);
  EXPECT_EQ(RatToStr(*run.Verdict.Objective), "60/7");
  const int x1 = 20 / 7, x2 = 50 / 7;
  const int sets = std::min((3 * x1) / 1, (1 * x1 + 2 * x2) / 2);
  const std::string answer = AnswerText(run.Verdict);
  EXPECT_NE(answer.find("полных комплектов не больше &#8970;60/7&#8971; = 8."), std::string::npos) << answer;
  EXPECT_NE(answer.find("План, округлённый вниз до целых единиц материала (X<sub>1</sub> = " + std::to_string(x1) +
                        ", X<sub>2</sub> = " + std::to_string(x2) + "), даёт " + std::to_string(sets) +
                        " полных комплектов."),
            std::string::npos)
      << answer;

  // A whole optimum says nothing of rounding.
  const TRun exact = SolveText("cut\nmaterial 12\nproportions 1 1\npattern 1 1\n", TT_CUTTING);
  ASSERT_EQ(exact.Verdict.Status, TTaskStatus::Optimal);
  EXPECT_EQ(AnswerText(exact.Verdict).find("округлённый"), std::string::npos);
}
