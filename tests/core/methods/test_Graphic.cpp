// The graphical method: vertices, rays and optima of two-variable programs against hand-worked
// fractions, against a brute force over all pairs of lines, and against the simplex run of the same
// program; the integer points of a region against a brute force over a box.
#include "ExactCheck.h"
#include "Graphic.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

TStatementGrid Statement(const std::string& text) {
  TTextFormatError error;
  const auto grid = ParseStatementText(text, error);
  EXPECT_TRUE(grid) << text << ": " << error.Line << " " << error.Message;
  return grid ? *grid : TStatementGrid{};
}

TZLPCore_Interface Program(const std::string& text) {
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(Statement(text), data, error)) << text << ": " << error.Message;
  return data;
}

std::vector<std::string> Texts(const std::vector<TPlanePoint>& points) {
  std::vector<std::string> out;
  for (const TPlanePoint& p : points) out.push_back(PointToStr(p));
  return out;
}

xc::Q Q(const TWideRational& q) { return xc::Make(q.Num.ToMpz(), q.Den.ToMpz()); }

struct TRegionCase {
  const char* Name;
  const char* Text;
  TRegionKind Kind;
  std::vector<std::string> Vertices; // in the order of the boundary
  std::vector<std::string> Rays;
  TOptimumKind Optimum;
  const char* Value; // "" when none
  std::vector<std::string> OptimalPoints;
  const char* Ray; // the optimal ray, "" for none
};

// Worked by hand: every vertex is the solution of two boundary equations that satisfies the rest.
const TRegionCase RegionCases[] = {
    {"Bounded",
     "max 3 2\n1 1 <= 4\n1 3 <= 6\n",
     TRegionKind::Bounded,
     {"(0; 0)", "(4; 0)", "(3; 1)", "(0; 2)"},
     {},
     TOptimumKind::Attained,
     "12",
     {"(4; 0)"},
     ""},
    // 2x + 5y = 20 and 7x + 3y = 21 meet at (45/29; 98/29); 2x + 5y = 20 and y = x + 3 at (5/7; 26/7).
    {"BoundedFractions",
     "max 3 4\n2 5 <= 20\n7 3 <= 21\n-1 1 <= 3\n",
     TRegionKind::Bounded,
     {"(0; 0)", "(3; 0)", "(45/29; 98/29)", "(5/7; 26/7)", "(0; 3)"},
     {},
     TOptimumKind::Attained,
     "527/29",
     {"(45/29; 98/29)"},
     ""},
    // The boundary comes down the X2 axis to (0; 2), follows x + y = 2 to (2; 0) and leaves along
    // x - 2y = 2 in the direction (2; 1); the recession cone is spanned by (2; 1) and (0; 1).
    {"Unbounded",
     "min 1 2\nconst 1\n1 1 >= 2\n1 -2 <= 2\n",
     TRegionKind::Unbounded,
     {"(0; 2)", "(2; 0)"},
     {"(2; 1)", "(0; 1)"},
     TOptimumKind::Attained,
     "3",
     {"(2; 0)"},
     ""},
    {"UnboundedObjective",
     "max 1 1\n1 -1 <= 1\n-1 1 <= 2\n",
     TRegionKind::Unbounded,
     {"(0; 2)", "(0; 0)", "(1; 0)"},
     {"(1; 1)"},
     TOptimumKind::Unbounded,
     "",
     {},
     ""},
    // Z = x - y is 1 at (1; 0) and all along the ray (1; 0) + t (1; 1).
    {"OptimalRay",
     "max 1 -1\n1 -1 <= 1\n-1 1 <= 2\n",
     TRegionKind::Unbounded,
     {"(0; 2)", "(0; 0)", "(1; 0)"},
     {"(1; 1)"},
     TOptimumKind::Attained,
     "1",
     {"(1; 0)"},
     "(1; 1)"},
    // x + y = 2, x - y = 0 and 2x - y = 1 all pass through (1; 1).
    {"DegenerateVertex",
     "max 2 1\n1 1 <= 2\n1 -1 <= 0\n2 -1 <= 1\n",
     TRegionKind::Bounded,
     {"(0; 0)", "(1; 1)", "(0; 2)"},
     {},
     TOptimumKind::Attained,
     "3",
     {"(1; 1)"},
     ""},
    {"OptimalEdge",
     "max 1 1\n1 1 <= 2\n1 -1 <= 0\n2 -1 <= 1\n",
     TRegionKind::Bounded,
     {"(0; 0)", "(1; 1)", "(0; 2)"},
     {},
     TOptimumKind::Attained,
     "2",
     {"(1; 1)", "(0; 2)"},
     ""},
    {"Segment",
     "min 1 1\n1 1 = 4\n1 -1 <= 2\n",
     TRegionKind::Bounded,
     {"(3; 1)", "(0; 4)"},
     {},
     TOptimumKind::Attained,
     "4",
     {"(3; 1)", "(0; 4)"},
     ""},
    {"SinglePoint",
     "max 1 1\n1 1 <= 0\n",
     TRegionKind::Bounded,
     {"(0; 0)"},
     {},
     TOptimumKind::Attained,
     "0",
     {"(0; 0)"},
     ""},
    {"Empty", "max 1 1\n1 1 <= 2\n1 1 >= 5\n", TRegionKind::Empty, {}, {}, TOptimumKind::None, "", {}, ""},
    {"EmptyBeyondTheQuadrant", "max 1 1\n1 1 <= -1\n", TRegionKind::Empty, {}, {}, TOptimumKind::None, "", {}, ""},
    // Cramer's rule on these needs more than 128 bits: exact all the same.
    {"BeyondOneHundredTwentyEightBits",
     "max 1 1\n2147483647 1/2147483629 <= 1\n1/2147483587 2147483563 <= 1\n",
     TRegionKind::Bounded,
     {"(0; 0)", "(1/2147483647; 0)",
      "(1650586592225811041391460327/3544607714762386543468815491895672867; "
      "1650586656789412894193221442/3544607714762386543468815491895672867)",
      "(0; 1/2147483563)"},
     {},
     TOptimumKind::Attained,
     "366797027668358215064964641/393845301640265171496535054655074763",
     {"(1650586592225811041391460327/3544607714762386543468815491895672867; "
      "1650586656789412894193221442/3544607714762386543468815491895672867)"},
     ""},
};

TEST(GraphicRegion, VerticesRaysAndOptimaAsWorkedByHand) {
  for (const TRegionCase& c : RegionCases) {
    SCOPED_TRACE(c.Name);
    const TZLPCore_Interface data = Program(c.Text);
    const TPlaneRegion region = FeasibleRegion(data.ZLP);
    EXPECT_EQ(region.Kind, c.Kind);
    EXPECT_EQ(Texts(region.Vertices), c.Vertices);
    EXPECT_EQ(Texts(region.Rays), c.Rays);
    const TPlaneOptimum opt = PlaneOptimum(data.ZLP, region);
    EXPECT_EQ(opt.Kind, c.Optimum);
    if (*c.Value != '\0') {
      EXPECT_EQ(WideToStr(opt.Value), c.Value);
    }
    EXPECT_EQ(Texts(opt.Points), c.OptimalPoints);
    EXPECT_EQ(opt.Ray ? PointToStr(*opt.Ray) : "", c.Ray);
    TZLPCore_SolutionResult report;
    WriteGraphicSection(data, report);
    const std::string page = report.GetText();
    EXPECT_EQ(page.find("<svg") != std::string::npos, c.Kind != TRegionKind::TooLarge);
    EXPECT_EQ(page.find("слишком велики") != std::string::npos, c.Kind == TRegionKind::TooLarge);
  }
}

// The constraints of the program, read from the statement apart from the code under test.
xc::TSystem SystemOf(const TStatementGrid& g) {
  xc::TSystem s;
  for (std::int32_t i = 1; i <= g.Sy; ++i) {
    s.A.push_back({xc::Parse(g.Cell(1, i)), xc::Parse(g.Cell(2, i))});
    const std::uint8_t sign = g.Signs[static_cast<std::size_t>(i - 1)];
    s.Relation.push_back(sign == IS_BELOWOREQUAL ? -1 : sign == IS_EQUAL ? 0 : 1);
    s.B.push_back(xc::Parse(g.Cell(0, i)));
  }
  return s;
}

// Random programs in two variables with small coefficients: every relation, empty, bounded and
// unbounded regions, degenerate vertices and parallel lines all occur among them.
std::vector<std::string> RandomPrograms(int count) {
  std::mt19937 random(20240611);
  const auto pick = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  std::vector<std::string> texts;
  for (int k = 0; k < count; ++k) {
    std::string t = std::string(pick(0, 1) ? "max " : "min ") + std::to_string(pick(-3, 4)) + " " +
                    std::to_string(pick(-3, 4)) + "\nconst " + std::to_string(pick(-2, 2)) + "\n";
    for (int i = pick(1, 4); i > 0; --i) {
      const char* relation[] = {"<=", "<=", "<=", ">=", ">=", "="};
      t += std::to_string(pick(-3, 4)) + " " + std::to_string(pick(-3, 4)) + " " + relation[pick(0, 5)] + " " +
           std::to_string(pick(-1, 9)) + "\n";
    }
    texts.push_back(t);
  }
  return texts;
}

std::vector<std::string> AllPrograms() {
  std::vector<std::string> texts;
  for (const TRegionCase& c : RegionCases)
    if (c.Kind != TRegionKind::TooLarge) texts.emplace_back(c.Text);
  for (const auto& entry : fs::directory_iterator(fs::path(KELVANO_TEST_DATA) / "lp"))
    if (entry.path().extension() == ".lp") {
      const std::string text = xc::ReadText(entry.path());
      if (Statement(text).Sx == 2) texts.push_back(text);
    }
  for (const std::string& t : RandomPrograms(400)) texts.push_back(t);
  return texts;
}

// The region is the brute force's set of vertices, and the picture's optimum is the simplex method's:
// the same verdict, the same value, and the simplex's point on the optimal face the picture marks.
TEST(GraphicRegion, AgreesWithBruteForceAndWithTheSimplexRun) {
  TMessageRecorder messages;
  for (const std::string& text : AllPrograms()) {
    SCOPED_TRACE(text);
    const TStatementGrid grid = Statement(text);
    TZLPCore_Interface data = Program(text);
    const TPlaneRegion region = FeasibleRegion(data.ZLP);
    const TPlaneOptimum opt = PlaneOptimum(data.ZLP, region);
    ASSERT_NE(region.Kind, TRegionKind::TooLarge);

    std::vector<std::string> mine = Texts(region.Vertices);
    std::vector<std::string> brute;
    for (const auto& v : xc::Vertices(SystemOf(grid), 2))
      brute.push_back("(" + xc::Show(v[0]) + "; " + xc::Show(v[1]) + ")");
    std::sort(mine.begin(), mine.end());
    std::sort(brute.begin(), brute.end());
    EXPECT_EQ(mine, brute);

    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(TT_LINEAR, data, report);
    switch (v.Status) {
    case TTaskStatus::Infeasible: EXPECT_EQ(opt.Kind, TOptimumKind::None); break;
    case TTaskStatus::Unbounded: EXPECT_EQ(opt.Kind, TOptimumKind::Unbounded); break;
    case TTaskStatus::Optimal: {
      ASSERT_EQ(opt.Kind, TOptimumKind::Attained);
      ASSERT_TRUE(v.Objective);
      EXPECT_EQ(WideToStr(opt.Value), RatToStr(*v.Objective));
      ASSERT_EQ(v.X.size(), 2U);
      const auto wide = [](TRational r) {
        const xc::Q q = xc::Parse(RatToStr(r));
        return TWideRational{q.n, q.d};
      };
      const TPlanePoint x{wide(v.X[0]), wide(v.X[1])};
      const bool vertex = std::find(region.Vertices.begin(), region.Vertices.end(), x) != region.Vertices.end();
      EXPECT_TRUE(vertex) << "the simplex point " << PointToStr(x) << " is no vertex of the region";
      if (!opt.Constant) {
        EXPECT_TRUE(std::find(opt.Points.begin(), opt.Points.end(), x) != opt.Points.end())
            << "the simplex point " << PointToStr(x) << " is not marked as optimal";
      }
      break;
    }
    default: ADD_FAILURE() << "the simplex run ended with " << StatusName(v.Status);
    }
    // The report of every two-variable linear program draws the region and names its optimum.
    std::string page;
    for (const std::string& line : report.Lines) page += line;
    EXPECT_NE(page.find("<H2>&bull; Графический метод</H2>"), std::string::npos);
    EXPECT_NE(page.find("<svg class=\"clsGraph\""), std::string::npos);
    if (opt.Kind == TOptimumKind::Attained && !opt.Constant) {
      EXPECT_NE(page.find("Z<sub>" + std::string(grid.IsMax ? "max" : "min") + "</sub> = " + WideToStr(opt.Value)),
                std::string::npos);
    }
  }
  EXPECT_TRUE(messages.Messages.empty());
}

TEST(GraphicRegion, OnlyTwoVariableLinearAndIntegerProgramsAreDrawn) {
  struct TCase {
    const char* Text;
    bool Drawn;
  };
  const TCase cases[] = {
      {"max 3 2\n1 1 <= 4\n", true},
      {"max 3 2 1\n1 1 1 <= 4\n", false},
      {"max 3\n1 <= 4\n", false},
      {"max 3 2\n1 1 <= 4\nint 1 2\n", true}, // drawn by the choice of its integer variables
      {"max 3 2\n1 1 <= 4\nquad -1 0\nquad 0 -1\n", false},
      {"max 3 2\nden 1 1\ndenconst 1\n1 1 <= 4\n", false}, // nor its substituted program
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TZLPCore_Interface data = Program(c.Text);
    TZLPCore_SolutionResult report;
    RunTask(data.Statement.TaskType, data, report);
    std::string page;
    for (const std::string& line : report.Lines) page += line;
    EXPECT_EQ(page.find("Графический метод") != std::string::npos, c.Drawn);
  }
}

// max 3x + 4y over the BoundedFractions region, worked by hand column by column.
TEST(GraphicLattice, IntegerOptimaAsWorkedByHand) {
  struct TCase {
    const char* Name;
    bool IntX1;
    bool IntX2;
    const char* Value;
    std::vector<std::string> Best;
  };
  const TCase cases[] = {
      // Both integer: (1; 3) gives 15, every other integer point less.
      {"Both", true, true, "15", {"(1; 3)"}},
      // X1 integer: x = 1 allows y <= min(18/5, 14/3, 4), so 3 + 4 * 18/5 = 87/5.
      {"X1", true, false, "87/5", {"(1; 18/5)"}},
      // X2 integer: y = 3 allows x <= min(5/2, 12/7), so 3 * 12/7 + 12 = 120/7.
      {"X2", false, true, "120/7", {"(12/7; 3)"}},
  };
  const TZLPCore_Interface data = Program("max 3 4\n2 5 <= 20\n7 3 <= 21\n-1 1 <= 3\n");
  const TPlaneRegion region = FeasibleRegion(data.ZLP);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TLatticeSearch s = LatticeSearch(data.ZLP, region, c.IntX1, c.IntX2, {}, {});
    ASSERT_TRUE(s.Complete);
    ASSERT_TRUE(s.Value);
    EXPECT_EQ(WideToStr(*s.Value), c.Value);
    std::vector<std::string> best;
    for (const TLatticeColumn& col : s.Best)
      best.push_back(PointToStr(s.Transposed ? TPlanePoint{col.Lo, col.K} : TPlanePoint{col.K, col.Lo}));
    EXPECT_EQ(best, c.Best);
  }
}

// Both variables integer: the columns hold exactly the integer points of the region, and the best
// of them is the best a brute force over the bounding box finds.
TEST(GraphicLattice, IntegerPointsAgreeWithBruteForce) {
  for (const std::string& text : RandomPrograms(300)) {
    const TZLPCore_Interface data = Program(text);
    const TPlaneRegion region = FeasibleRegion(data.ZLP);
    if (region.Kind != TRegionKind::Bounded) continue;
    SCOPED_TRACE(text);
    const TLatticeSearch s = LatticeSearch(data.ZLP, region, true, true, {}, {});
    ASSERT_TRUE(s.Complete);
    std::vector<std::vector<xc::Q>> mine;
    for (const TLatticeColumn& c : s.Columns)
      for (TWideInt k = c.Lo.Num; k <= c.Hi.Num; ++k)
        mine.push_back(s.Transposed ? std::vector<xc::Q>{xc::Make(k.ToMpz(), xc::Int(1)), Q(c.K)}
                                    : std::vector<xc::Q>{Q(c.K), xc::Make(k.ToMpz(), xc::Int(1))});
    const xc::TSystem system = SystemOf(data.Statement);
    const xc::Q c1 = xc::Parse(data.Statement.Cell(1, 0)), c2 = xc::Parse(data.Statement.Cell(2, 0));
    const xc::Q c0 = xc::Parse(data.Statement.Cell(0, 0));
    // The box of the region from the brute force's own vertices.
    xc::I128 xMax = 0, yMax = 0;
    for (const auto& v : xc::Vertices(system, 2)) {
      xMax = std::max<xc::I128>(xMax, mpz_class(v[0].n / v[0].d).get_si());
      yMax = std::max<xc::I128>(yMax, mpz_class(v[1].n / v[1].d).get_si());
    }
    std::vector<std::vector<xc::Q>> brute;
    std::optional<xc::Q> best;
    for (xc::I128 x = 0; x <= xMax; ++x)
      for (xc::I128 y = 0; y <= yMax; ++y) {
        const std::vector<xc::Q> p = {xc::Make(x, xc::I128{1}), xc::Make(y, xc::I128{1})};
        if (!xc::Feasible(system, p)) continue;
        brute.push_back(p);
        const xc::Q z = c1 * p[0] + c2 * p[1] + c0;
        if (!best || (data.Statement.IsMax ? *best < z : z < *best)) best = z;
      }
    const auto order = [](const std::vector<xc::Q>& a, const std::vector<xc::Q>& b) {
      return a[0] < b[0] || (a[0] == b[0] && a[1] < b[1]);
    };
    std::sort(mine.begin(), mine.end(), order);
    std::sort(brute.begin(), brute.end(), order);
    EXPECT_EQ(mine.size(), brute.size());
    EXPECT_TRUE(mine == brute);
    EXPECT_EQ(s.PointCount, mine.size());
    ASSERT_EQ(s.Value.has_value(), best.has_value());
    if (best) {
      EXPECT_EQ(xc::Show(Q(*s.Value)), xc::Show(*best));
    }
  }
}

// Integer programs in two variables: the integer optimum the picture marks, found by enumerating the
// integer lines of a bounded region, is the one the Gomory cuts reach.
TEST(GraphicLattice, MarkedIntegerOptimumIsTheGomoryOptimum) {
  TMessageRecorder messages;
  std::vector<std::string> texts;
  for (const char* t : {"int 1 2\n", "int 1\n", "int 2\n"})
    texts.push_back(std::string("max 3 4\n2 5 <= 20\n7 3 <= 21\n-1 1 <= 3\n") + t);
  for (const auto& entry : fs::directory_iterator(fs::path(KELVANO_TEST_DATA) / "integer"))
    if (entry.path().extension() == ".lp") texts.push_back(xc::ReadText(entry.path()));
  const char* ticks[] = {"int 1 2\n", "int 1\n", "int 2\n"};
  for (const std::string& t : RandomPrograms(240)) texts.push_back(t + ticks[texts.size() % 3]);
  std::size_t compared = 0;
  for (const std::string& text : texts) {
    if (Statement(text).Sx != 2) continue;
    SCOPED_TRACE(text);
    TZLPCore_Interface data = Program(text);
    const TPlaneRegion region = FeasibleRegion(data.ZLP);
    const std::vector<std::uint8_t> ticks = data.Statement.Integer;
    const TLatticeSearch s = LatticeSearch(data.ZLP, region, ticks[0] != 0, ticks[1] != 0, {}, {});
    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(TT_INTEGER, data, report);
    EXPECT_NE(report.GetText().find("<H2>&bull; Графический метод</H2>"), std::string::npos);
    if (region.Kind != TRegionKind::Bounded || (ticks[0] == 0 && ticks[1] == 0)) continue;
    ASSERT_TRUE(s.Complete);
    if (v.Status == TTaskStatus::Infeasible) {
      EXPECT_TRUE(s.Columns.empty()) << "the picture has integer points the cuts did not find";
      continue;
    }
    if (v.Status != TTaskStatus::Optimal) continue;
    ++compared;
    ASSERT_TRUE(s.Value.has_value());
    EXPECT_EQ(WideToStr(*s.Value), RatToStr(*v.Objective));
    const TRational k = s.Transposed ? v.X[1] : v.X[0];
    const TRational other = s.Transposed ? v.X[0] : v.X[1];
    const bool marked = std::any_of(s.Best.begin(), s.Best.end(), [&](const TLatticeColumn& c) {
      const xc::Q o = xc::Make(other.Num, other.Den);
      return Q(c.K) == xc::Make(k.Num, k.Den) && Q(c.Lo) <= o && o <= Q(c.Hi);
    });
    EXPECT_TRUE(marked) << "the Gomory point is not among the marked optima";
    EXPECT_NE(report.GetText().find(std::string("Z<sub>") + (data.Statement.IsMax ? "max" : "min") +
                                    "</sub> = " + WideToStr(*s.Value)),
              std::string::npos);
  }
  EXPECT_GT(compared, 50U);
  EXPECT_TRUE(messages.Messages.empty());
}

} // namespace
