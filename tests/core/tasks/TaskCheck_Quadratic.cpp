// The independent check of quadratic programs: the Kuhn-Tucker conditions at the answer with
// multipliers found here, the concavity by principal minors, and for a concave objective no vertex,
// grid point or point between the answer and a vertex better than the answer.
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskChecks.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

using TMatrixQ = std::vector<std::vector<xc::Q>>;

struct TProgram {
  xc::TSystem System;
  std::vector<xc::Q> C;
  xc::Q C0;
  TMatrixQ S; // symmetric: S[i][j] = (q_ij + q_ji) / 2
  std::size_t N = 0;
};

// The statement read independently of the model code.
TProgram ProgramOf(const TStatementGrid& g) {
  TProgram p;
  p.N = static_cast<std::size_t>(g.Sx);
  for (std::int32_t i = 1; i <= g.Sy; ++i) {
    std::vector<xc::Q> row;
    for (std::int32_t j = 1; j <= g.Sx; ++j) row.push_back(xc::Parse(g.Cell(j, i)));
    p.System.A.push_back(row);
    const std::uint8_t sign = g.Signs[static_cast<std::size_t>(i - 1)];
    p.System.Relation.push_back(sign == IS_BELOWOREQUAL ? -1 : sign == IS_EQUAL ? 0 : 1);
    p.System.B.push_back(xc::Parse(g.Cell(0, i)));
  }
  for (std::int32_t j = 1; j <= g.Sx; ++j) p.C.push_back(xc::Parse(g.Cell(j, 0)));
  p.C0 = xc::Parse(g.Cell(0, 0));
  p.S.assign(p.N, std::vector<xc::Q>(p.N));
  for (std::int32_t i = 1; i <= g.Sx; ++i)
    for (std::int32_t j = 1; j <= g.Sx; ++j)
      p.S[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)] =
          (xc::Parse(g.Quad(j, i)) + xc::Parse(g.Quad(i, j))) / xc::Q{2, 1};
  return p;
}

xc::Q Value(const TProgram& p, const std::vector<xc::Q>& x) {
  xc::Q f = p.C0 + xc::Dot(p.C, x);
  for (std::size_t i = 0; i < p.N; ++i)
    for (std::size_t j = 0; j < p.N; ++j) f = f + p.S[i][j] * x[i] * x[j];
  return f;
}

xc::Q Determinant(TMatrixQ m) {
  xc::Q det{1, 1};
  const std::size_t n = m.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    while (p < n && xc::IsZero(m[p][c])) ++p;
    if (p == n) return {};
    if (p != c) {
      std::swap(m[p], m[c]);
      det = xc::Q{} - det;
    }
    det = det * m[c][c];
    for (std::size_t i = c + 1; i < n; ++i) {
      const xc::Q f = m[i][c] / m[c][c];
      for (std::size_t k = c; k < n; ++k) m[i][k] = m[i][k] - f * m[c][k];
    }
  }
  return det;
}

// Concave (maximum) or convex (minimum): every principal minor of the matrix of the form to be
// maximised, negated, is >= 0.
bool ConcaveByMinors(const TProgram& p, bool isMax) {
  const std::size_t n = p.N;
  for (std::size_t mask = 1; mask < (std::size_t{1} << n); ++mask) {
    std::vector<std::size_t> idx;
    for (std::size_t i = 0; i < n; ++i)
      if ((mask >> i) & 1U) idx.push_back(i);
    TMatrixQ sub(idx.size(), std::vector<xc::Q>(idx.size()));
    for (std::size_t a = 0; a < idx.size(); ++a)
      for (std::size_t b = 0; b < idx.size(); ++b)
        sub[a][b] = isMax ? xc::Q{} - p.S[idx[a]][idx[b]] : p.S[idx[a]][idx[b]];
    if (Determinant(sub) < xc::Q{}) return false;
  }
  return true;
}

// Multipliers for the answer: L_k of the active rows (>= 0 for "<=", <= 0 for ">=", free for "=")
// with g_j - sum_k L_k a_kj <= 0 for every j and = 0 where x_j > 0, g the gradient of the objective
// to be maximised. Found as a vertex of that system in variables >= 0.
bool MultipliersExist(const TProgram& p, bool isMax, const std::vector<xc::Q>& x) {
  const xc::Q sign = isMax ? xc::Q{1, 1} : xc::Q{-1, 1};
  std::vector<xc::Q> g(p.N);
  for (std::size_t j = 0; j < p.N; ++j) {
    xc::Q d = p.C[j];
    for (std::size_t i = 0; i < p.N; ++i) d = d + xc::Q{2, 1} * p.S[j][i] * x[i];
    g[j] = sign * d;
  }
  // Columns of the multiplier variables: each active row once, an equality twice (L = y+ - y-).
  std::vector<std::vector<xc::Q>> columns;
  for (std::size_t k = 0; k < p.System.A.size(); ++k) {
    if (!(xc::Dot(p.System.A[k], x) == p.System.B[k])) continue;
    const int rel = p.System.Relation[k];
    std::vector<xc::Q> col = p.System.A[k];
    if (rel > 0)
      for (xc::Q& v : col) v = xc::Q{} - v;
    columns.push_back(col);
    if (rel == 0) {
      for (xc::Q& v : col) v = xc::Q{} - v;
      columns.push_back(col);
    }
  }
  xc::TSystem s;
  for (std::size_t j = 0; j < p.N; ++j) {
    std::vector<xc::Q> row;
    for (const auto& col : columns) row.push_back(col[j]);
    s.A.push_back(row);
    s.Relation.push_back(xc::IsZero(x[j]) ? 1 : 0); // sum L a >= g, = g where x_j > 0
    s.B.push_back(g[j]);
  }
  if (columns.empty()) {
    for (std::size_t j = 0; j < p.N; ++j)
      if (xc::IsZero(x[j]) ? xc::Q{} < g[j] : !xc::IsZero(g[j])) return false;
    return true;
  }
  return !xc::Vertices(s, columns.size()).empty();
}

void CheckQuadratic(const TStatementGrid& g, const TTaskVerdict& v) {
  const TProgram p = ProgramOf(g);
  const bool isMax = g.IsMax;
  const std::vector<std::vector<xc::Q>> vertices = xc::Vertices(p.System, p.N);
  ASSERT_TRUE(v.Concave.has_value()) << "a quadratic verdict tells whether the objective is concave";
  EXPECT_EQ(*v.Concave, ConcaveByMinors(p, isMax)) << "the concavity is wrong";
  if (v.Status == TTaskStatus::Infeasible) {
    EXPECT_TRUE(vertices.empty()) << "a feasible vertex exists";
    return;
  }
  if (v.Status == TTaskStatus::Unbounded) {
    EXPECT_FALSE(vertices.empty()) << "an unbounded objective needs a feasible point";
    return;
  }
  if (v.Status != TTaskStatus::Optimal && v.Status != TTaskStatus::Local) return;
  EXPECT_EQ(v.Status == TTaskStatus::Optimal, *v.Concave) << "optimal exactly for a concave objective";
  std::vector<xc::Q> x;
  for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
  ASSERT_EQ(x.size(), p.N);
  EXPECT_TRUE(xc::Feasible(p.System, x)) << "the point breaks a constraint";
  const xc::Q value = Value(p, x);
  ASSERT_TRUE(v.Objective.has_value());
  EXPECT_EQ(xc::Show(value), RatToStr(*v.Objective)) << "the objective is not its value at the point";
  EXPECT_TRUE(MultipliersExist(p, isMax, x)) << "no multipliers satisfy the Kuhn-Tucker conditions at the point";
  if (v.Status != TTaskStatus::Optimal || vertices.empty()) return;

  // Brute force for a concave objective: vertices, points between the answer and each vertex, and a
  // grid over the box of the vertices, none better than the answer.
  const auto notBetter = [&](const std::vector<xc::Q>& y) {
    const xc::Q at = Value(p, y);
    EXPECT_TRUE(isMax ? at <= value : value <= at) << "a feasible point is better: " << xc::Show(at);
  };
  for (const auto& vertex : vertices) {
    notBetter(vertex);
    for (int k = 1; k < 4; ++k) {
      std::vector<xc::Q> y(p.N);
      for (std::size_t j = 0; j < p.N; ++j) y[j] = x[j] + (vertex[j] - x[j]) * xc::Q{k, 4};
      notBetter(y);
    }
  }
  if (p.N > 3) return;
  std::vector<xc::Q> low = vertices.front();
  std::vector<xc::Q> high = vertices.front();
  for (const auto& vertex : vertices)
    for (std::size_t j = 0; j < p.N; ++j) {
      if (vertex[j] < low[j]) low[j] = vertex[j];
      if (high[j] < vertex[j]) high[j] = vertex[j];
    }
  constexpr int Steps = 8;
  std::vector<int> at(p.N, 0);
  for (;;) {
    std::vector<xc::Q> y(p.N);
    for (std::size_t j = 0; j < p.N; ++j) y[j] = low[j] + (high[j] - low[j]) * xc::Q{at[j], Steps};
    if (xc::Feasible(p.System, y)) notBetter(y);
    std::size_t j = 0;
    while (j < p.N && ++at[j] > Steps) at[j++] = 0;
    if (j == p.N) break;
  }
}

const TTaskCheckRegistration Registration(TT_QUADRATIC, CheckQuadratic);

// Random small programs, concave (-M'M, often only semidefinite) and not, with every relation: each
// answer of the task runner passes the check above.
TEST(QuadraticSweep, EveryAnswerSatisfiesTheConditions) {
  std::mt19937 random(2024);
  const auto draw = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  std::map<std::string, int> statuses;
  for (int k = 0; k < 400; ++k) {
    const int n = draw(1, 3);
    const int m = draw(1, 3);
    const bool concave = k % 4 != 3;
    std::vector<std::vector<int>> q(static_cast<std::size_t>(n), std::vector<int>(static_cast<std::size_t>(n), 0));
    if (concave) {
      for (int r = draw(1, n); r > 0; --r) {
        std::vector<int> row;
        for (int j = 0; j < n; ++j) row.push_back(draw(-2, 2));
        for (int i = 0; i < n; ++i)
          for (int j = 0; j < n; ++j) q[i][j] -= row[i] * row[j];
      }
    } else {
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) q[i][j] = draw(-2, 2);
    }
    const bool isMax = draw(0, 1) == 1;
    std::string text = isMax ? "max" : "min";
    for (int j = 0; j < n; ++j) text += " " + std::to_string(isMax ? draw(-5, 9) : draw(-9, 5));
    text += "\n";
    for (int i = 0; i < m; ++i) {
      for (int j = 0; j < n; ++j) text += std::to_string(draw(-1, 4)) + " ";
      const int relation = draw(0, 5);
      text += relation < 4 ? "<= " : relation == 4 ? ">= " : "= ";
      text += std::to_string(draw(-2, 9)) + "\n";
    }
    for (int i = 0; i < n; ++i) {
      text += "quad";
      // A minimum of a convex form: the same matrix negated.
      for (int j = 0; j < n; ++j) text += " " + std::to_string(isMax ? q[i][j] : -q[i][j]);
      text += "\n";
    }
    SCOPED_TRACE(text);
    TMessageRecorder messages;
    TTextFormatError textError;
    const auto grid = ParseStatementText(text, textError);
    ASSERT_TRUE(grid) << textError.Message;
    TZLPCore_Interface data;
    TStatementError error;
    ASSERT_TRUE(ReadStatement(*grid, data, error)) << error.Message;
    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(TT_QUADRATIC, data, report);
    ++statuses[StatusName(v.Status)];
    // The paths besides the simplex step: Lemke's method and the search of a non-concave objective.
    if (report.GetText().find("Метод Лемке") != std::string::npos) ++statuses["lemke"];
    if (report.GetText().find("ветвей и границ") != std::string::npos) ++statuses["search"];
    ASSERT_TRUE(v.Status == TTaskStatus::Optimal || v.Status == TTaskStatus::Local ||
                v.Status == TTaskStatus::Unbounded || v.Status == TTaskStatus::Infeasible)
        << StatusName(v.Status) << ": " << v.Message;
    CheckQuadratic(*grid, v);
    EXPECT_TRUE(messages.Messages.empty());
  }
  // The sweep reaches every outcome and every path, most of them optima.
  EXPECT_GT(statuses["lemke"], 50);
  EXPECT_GT(statuses["search"], 50);
  EXPECT_GT(statuses["optimal"], 150);
  EXPECT_GT(statuses["local"], 10);
  EXPECT_GT(statuses["unbounded"], 10);
  EXPECT_GT(statuses["infeasible"], 10);
}

} // namespace
