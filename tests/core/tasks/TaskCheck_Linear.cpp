// The independent check of linear programs: the point is feasible, the objective is its value, and
// no vertex of the feasible set is better.
#include "ExactCheck.h"
#include "TaskChecks.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

namespace {

// The constraints of a linear-program layout, read independently of the model code.
xc::TSystem SystemOf(const TStatementGrid& g) {
  xc::TSystem s;
  for (std::int32_t i = 1; i <= g.Sy; ++i) {
    std::vector<xc::Q> row;
    for (std::int32_t j = 1; j <= g.Sx; ++j) row.push_back(xc::Parse(g.Cell(j, i)));
    s.A.push_back(row);
    const std::uint8_t sign = g.Signs[static_cast<std::size_t>(i - 1)];
    s.Relation.push_back(sign == IS_BELOWOREQUAL ? -1 : sign == IS_EQUAL ? 0 : 1);
    s.B.push_back(xc::Parse(g.Cell(0, i)));
  }
  return s;
}

// A linear program: the point is feasible, the objective is its value, and no vertex is better;
// without a feasible vertex the program must have been called inconsistent.
void CheckLinear(const TStatementGrid& g, const TTaskVerdict& v) {
  const xc::TSystem s = SystemOf(g);
  std::vector<xc::Q> c;
  for (std::int32_t j = 1; j <= g.Sx; ++j) c.push_back(xc::Parse(g.Cell(j, 0)));
  const xc::Q c0 = xc::Parse(g.Cell(0, 0));
  // Beyond a few variables the vertices are too many: the optimum of the independent simplex method.
  if (g.Sx > 4) {
    std::vector<xc::Q> objective = c;
    if (!g.IsMax)
      for (xc::Q& q : objective) q = xc::Q{-1, 1} * q;
    const xc::TLinearOptimum want = xc::MaximiseExactly(s, objective);
    EXPECT_EQ(StatusName(v.Status), want.End);
    if (v.Status != TTaskStatus::Optimal || want.End != "optimal") return;
    std::vector<xc::Q> x;
    for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
    EXPECT_TRUE(xc::Feasible(s, x)) << "the point breaks a constraint";
    const xc::Q best = (g.IsMax ? want.Value : xc::Q{-1, 1} * want.Value) + c0;
    EXPECT_EQ(xc::Show(xc::Dot(c, x) + c0), xc::Show(best)) << "the point does not attain the optimum";
    ASSERT_TRUE(v.Objective.has_value());
    EXPECT_EQ(RatToStr(*v.Objective), xc::Show(best));
    return;
  }
  const std::vector<std::vector<xc::Q>> vertices = xc::Vertices(s, static_cast<std::size_t>(g.Sx));
  if (v.Status == TTaskStatus::Infeasible) {
    EXPECT_TRUE(vertices.empty()) << "a feasible vertex exists";
    return;
  }
  if (v.Status != TTaskStatus::Optimal) return;
  std::vector<xc::Q> x;
  for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
  ASSERT_EQ(x.size(), static_cast<std::size_t>(g.Sx));
  EXPECT_TRUE(xc::Feasible(s, x)) << "the point breaks a constraint";
  const xc::Q value = xc::Dot(c, x) + c0;
  ASSERT_TRUE(v.Objective.has_value());
  EXPECT_EQ(xc::Show(value), RatToStr(*v.Objective)) << "the objective is not its value at the point";
  for (const auto& vertex : vertices) {
    const xc::Q at = xc::Dot(c, vertex) + c0;
    EXPECT_TRUE(g.IsMax ? at <= value : value <= at) << "a vertex is better: " << xc::Show(at);
  }
}

const TTaskCheckRegistration Registration(TT_LINEAR, CheckLinear);

} // namespace

// An objective without variables (all coefficients 0, a free term perhaps): optimal, with its value,
// and the report and the answer say that every feasible point is optimal; an infeasible one is still
// infeasible, and an objective with one nonzero coefficient says nothing of the kind.
TEST(LinearPrograms, ConstantObjectiveMakesEveryFeasiblePointOptimal) {
  const auto says = [](const TRun& run) {
    std::string text;
    for (const std::string& line : run.Lines) text += line;
    return text.find("оптимальна любая допустимая точка") != std::string::npos &&
           AnswerText(run.Verdict).find("оптимальна и любая другая допустимая точка") != std::string::npos;
  };
  const TRun zero = SolveText("min 0 0\nconst 7\n1 1 <= 4\n1 -1 >= -2\n", TT_LINEAR);
  ASSERT_EQ(zero.Verdict.Status, TTaskStatus::Optimal);
  ASSERT_TRUE(zero.Verdict.Objective);
  EXPECT_EQ(RatToStr(*zero.Verdict.Objective), "7");
  EXPECT_TRUE(says(zero));
  CheckLinear(zero.Statement, zero.Verdict);

  const TRun infeasible = SolveText("max 0 0\n1 1 <= 1\n1 1 >= 2\n", TT_LINEAR);
  EXPECT_EQ(infeasible.Verdict.Status, TTaskStatus::Infeasible);
  EXPECT_FALSE(says(infeasible));

  const TRun one = SolveText("max 0 1\n1 1 <= 4\n", TT_LINEAR);
  EXPECT_EQ(one.Verdict.Status, TTaskStatus::Optimal);
  EXPECT_FALSE(says(one));
}

// The whole optimal plan as textbooks write it: the student's variables first, then the added
// (slack) variables of the ≤ rows, whose values are computed here as b - Ax at the answer.
TEST(LinearPrograms, WholeOptimalPlanListsTheStudentsVariablesFirst) {
  for (const char* text : {"max 3 2\n1 1 <= 4\n1 3 <= 6\n", "max 2 3 1\n1 1 1 <= 10\n2 1 0 <= 8\n0 1 3 <= 9\n",
                           "max 3 5\n1 0 <= 4\n0 2 <= 12\n3 2 <= 18\n"}) {
    SCOPED_TRACE(text);
    const TRun run = SolveText(text, TT_LINEAR);
    ASSERT_EQ(run.Verdict.Status, TTaskStatus::Optimal);
    const TStatementGrid& g = run.Statement;
    std::string plan;
    for (const TRational& x : run.Verdict.X) plan += (plan.empty() ? "" : "; ") + RatToStr(x);
    for (std::int32_t i = 1; i <= g.Sy; ++i) {
      xc::Q slack = xc::Parse(g.Cell(0, i));
      for (std::int32_t j = 1; j <= g.Sx; ++j)
        slack = slack - xc::Parse(g.Cell(j, i)) * xc::Parse(RatToStr(run.Verdict.X[static_cast<std::size_t>(j - 1)]));
      plan += "; " + xc::Show(slack);
    }
    std::string all;
    for (const std::string& line : run.Lines) all += line;
    const std::string expected = "<p>Оптимальный план: X* = (" + plan + ") — сначала переменные задачи X<sub>1</sub>…X<sub>" +
                                 std::to_string(g.Sx) + "</sub>, затем дополнительные (балансовые) X<sub>" +
                                 std::to_string(g.Sx + 1) + "</sub>…X<sub>" + std::to_string(g.Sx + g.Sy) + "</sub>.";
    EXPECT_NE(all.find(expected), std::string::npos) << expected;
  }
}
