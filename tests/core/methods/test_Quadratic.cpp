// Quadratic programs through the units of their steps: the coefficients page, the program built from
// the Kuhn-Tucker conditions, the pairs kept apart by the simplex method, and the exact arithmetic of
// any size the concavity test relies on.
#include "BigRational.h"
#include "MessageRecorder.h"
#include "Pages.h"
#include "KuhnTucker.h"
#include "SimplexMethod.h"
#include "TaskCatalog.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <random>

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The container after the steps before the simplex step (input, coefficients, canonical form,
// reduction), each unit run as the wizard runs it; the page of the reduction in page.
TZLPCore_Interface Reduced(const char* text, std::string& page) {
  TTextFormatError textError;
  const auto grid = ParseStatementText(text, textError);
  EXPECT_TRUE(grid) << textError.Message;
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(*grid, data, error)) << error.Message;
  for (const std::uint8_t kind : {SK_ZLPINPUT, SK_QUADRO, SK_KFCHECK, SK_QUADROSOLVE}) {
    TZLPCore_SolutionResult section;
    const TStageInfo& stage = *FindStageInfo(kind);
    EXPECT_TRUE(stage.Unit(data, section, stage, *FindTaskInfo(TT_QUADRATIC))) << stage.Caption;
    if (kind == SK_QUADROSOLVE) page = section.GetText();
  }
  return data;
}

std::vector<std::string> Row(const TZLPCore_SubInterface_ZLP& zlp, std::int32_t i) {
  std::vector<std::string> row;
  for (std::int32_t j = 1; j <= zlp.VarCount(); ++j) row.push_back(RatToStr(zlp.Coeffs.GetItem(j, i)));
  row.push_back("=");
  row.push_back(RatToStr(zlp.RHS.GetItem(i)));
  return row;
}

TEST(QuadraticReduction, BuildsTheProgramOfTheConditionsInTheColumnOrderOfTheStartingBasis) {
  TMessageRecorder messages;
  std::string page;
  // max 8X1 + 10X2 - X1^2 - X2^2 with 3X1 + 2X2 <= 6
  TZLPCore_Interface data = Reduced("max 8 10\n3 2 <= 6\nquad -1 0\nquad 0 -1\n", page);
  const TZLPCore_SubInterface_ZLP& p = data.ZLP;
  EXPECT_EQ(p.VarNames(), (std::vector<std::string>{"X1", "X2", "V1", "V2", "V3", "U1", "U2", "X3"}));
  ASSERT_EQ(p.ConstraintCount(), 3);
  // 2X1 + V1 - 3V3 + U1 = -8 turned round (U1 keeps +1), likewise for X2; the constraint as it was.
  EXPECT_EQ(Row(p, 1), (std::vector<std::string>{"2", "0", "-1", "0", "3", "1", "0", "0", "=", "8"}));
  EXPECT_EQ(Row(p, 2), (std::vector<std::string>{"0", "2", "0", "-1", "2", "0", "1", "0", "=", "10"}));
  EXPECT_EQ(Row(p, 3), (std::vector<std::string>{"3", "2", "0", "0", "0", "0", "0", "1", "=", "6"}));
  // -(U1 + U2) with the U expressed from their rows.
  std::vector<std::string> objective;
  for (std::int32_t j = 1; j <= p.VarCount(); ++j) objective.push_back(RatToStr(p.Objective.GetItem(j)));
  EXPECT_EQ(objective, (std::vector<std::string>{"2", "2", "-1", "-1", "5", "0", "0", "0"}));
  EXPECT_EQ(RatToStr(p.FreeTerm), "-18");
  ASSERT_TRUE(PrepareSimplexTable(data));
  EXPECT_EQ(data.Table.RowNames(), (std::vector<std::string>{"U1", "U2", "X3"}));
  EXPECT_TRUE(Contains(page, "L = 8X<sub>1</sub> + 10X<sub>2</sub> - X<sub>1</sub><sup>2</sup> - X<sub>2</sub><sup>2</sup> - "
                             "L<sub>1</sub>&middot;(3X<sub>1</sub> + 2X<sub>2</sub> + X<sub>3</sub> - 6)<br>"));
  EXPECT_TRUE(Contains(page, "DL/DX<sub>1</sub> = 8 - 2X<sub>1</sub> - 3L<sub>1</sub> &le; 0<br>"));
  EXPECT_TRUE(Contains(page, "DL/DX<sub>3</sub> = -L<sub>1</sub> &le; 0<br>"));
  EXPECT_TRUE(messages.Messages.empty());
}

TEST(QuadraticReduction, TurnsRoundOnlyTheRowsOfTheDerivatives) {
  std::string page;
  // A constraint row with a negative right-hand side keeps +1 for its added variable X3.
  const TZLPCore_Interface data = Reduced("max 0 0\n-1 -1 <= -2\nquad -1 0\nquad 0 -1\n", page);
  EXPECT_EQ(Row(data.ZLP, 3), (std::vector<std::string>{"-1", "-1", "0", "0", "0", "0", "0", "1", "=", "-2"}));
  // A minimum negates the quadratic part with the linear one: min X1^2 - 2X1 is max -X1^2 + 2X1.
  const TZLPCore_Interface minimum = Reduced("min -2\n1 <= 5\nquad 1\n", page);
  EXPECT_EQ(minimum.ZLP.VarNames(), (std::vector<std::string>{"X1", "V1", "V2", "U1", "X2"}));
  // -2X1 + V1 - V2 + U1 = -2, turned round.
  EXPECT_EQ(Row(minimum.ZLP, 1), (std::vector<std::string>{"2", "-1", "1", "1", "0", "=", "2"}));
  EXPECT_TRUE(Contains(page, "коэффициенты второго порядка берутся с обратным знаком"));
}

TEST(QuadraticReduction, WritesConstantsAndEmptyDerivativesAsThePageRuleSays) {
  std::string page;
  // c0 = 1 and b1 = 1 are written as "1" and "-1"; X2 appears nowhere, so its derivative is empty.
  Reduced("max 0 0\nconst 1\n1 0 <= 1\nquad -1 0\nquad 0 0\n", page);
  EXPECT_TRUE(Contains(page, "L = 1 - X<sub>1</sub><sup>2</sup> - L<sub>1</sub>&middot;(X<sub>1</sub> + X<sub>3</sub> - 1)<br>"));
  EXPECT_TRUE(Contains(page, "DL/DX<sub>2</sub> = 0 &le; 0<br>"));
  EXPECT_TRUE(Contains(page, "DL/DL<sub>1</sub> = -X<sub>1</sub> - X<sub>3</sub> + 1 = 0<br>"));
}

TEST(QuadraticReduction, GivesACanonicalProgramWithoutAddedVariablesTheVariablesItNeeds) {
  std::string page;
  // Its own basis X2 is absent from the quadratic part: X2 serves as the added variable.
  const TZLPCore_Interface own = Reduced("max 2 0\n1 1 = 3\nquad -1 0\nquad 0 0\n", page);
  EXPECT_EQ(own.ZLP.VarNames(), (std::vector<std::string>{"X1", "V1", "V2", "U1", "X2"}));
  EXPECT_TRUE(Contains(page, "роль добавленных переменных ограничений играют базисные переменные X<sub>2</sub>"));
  // With X2 in the quadratic part the equality becomes two inequalities with X3 and X4.
  const TZLPCore_Interface split = Reduced("max 2 0\n1 1 = 3\nquad -1 0\nquad 0 -1\n", page);
  EXPECT_EQ(split.ZLP.VarNames(),
            (std::vector<std::string>{"X1", "X2", "V1", "V2", "V3", "V4", "U1", "U2", "X3", "X4"}));
  EXPECT_EQ(Row(split.ZLP, 4),
            (std::vector<std::string>{"-1", "-1", "0", "0", "0", "0", "0", "0", "0", "1", "=", "-3"}));
}

TEST(QuadroPage, ShowsTheSymmetricMatrixAndNamesTheFirstBadCell) {
  TMessageRecorder messages;
  TZLPCore_Interface data;
  TStatementGrid grid = NewStatement(TT_QUADRATIC, 2, 1);
  grid.SetQuad(2, 1, "1");
  grid.SetQuad(1, 2, "3");
  TStatementError error;
  ASSERT_TRUE(ReadStatement(grid, data, error));
  TZLPCore_SolutionResult report;
  ASSERT_TRUE(WriteQuadroPage(data, "Коэффициенты второго порядка", report, error));
  EXPECT_EQ(RatToStr(data.QuadMatrix.GetItem(1, 2)), "2");
  EXPECT_EQ(RatToStr(data.QuadMatrix.GetItem(2, 1)), "2");
  EXPECT_TRUE(Contains(report.GetText(), "<td class=\"clsSimCell\">X2</td>\r\n<td class=\"clsSimCell\">2</td>\r\n"
                                         "<td class=\"clsSimCell\">0</td>"));
  // The whole objective: q12 + q21 = 4 for the product of X1 and X2.
  EXPECT_TRUE(Contains(report.GetText(), "<pre>Z = 4X<sub>1</sub>&middot;X<sub>2</sub> &rarr; max</pre>"));
  for (const auto& [text, objective] : std::vector<std::pair<std::string, std::string>>{
           {"max 8 10\n3 2 <= 6\nquad -1 0\nquad 0 -1\n",
            "Z = 8X<sub>1</sub> + 10X<sub>2</sub> - X<sub>1</sub><sup>2</sup> - X<sub>2</sub><sup>2</sup> &rarr; max"},
           {"min -1 0\nconst 7\n1 1 <= 4\nquad 1/2 -1\nquad 0 1\n",
            "Z = - X<sub>1</sub> + 1/2X<sub>1</sub><sup>2</sup> - X<sub>1</sub>&middot;X<sub>2</sub> + X<sub>2</sub><sup>2</sup> + 7 "
            "&rarr; min"}}) {
    TTextFormatError textError;
    const auto typed = ParseStatementText(text, textError);
    ASSERT_TRUE(typed) << textError.Message;
    TZLPCore_Interface stated;
    ASSERT_TRUE(ReadStatement(*typed, stated, error));
    TZLPCore_SolutionResult page;
    ASSERT_TRUE(WriteQuadroPage(stated, "Коэффициенты второго порядка", page, error));
    EXPECT_TRUE(Contains(page.GetText(), "<pre>" + objective + "</pre>")) << page.GetText();
  }

  data.Statement.SetQuad(2, 2, "");
  data.Statement.SetQuad(1, 2, "x");
  TZLPCore_SolutionResult again;
  EXPECT_FALSE(WriteQuadroPage(data, "Коэффициенты второго порядка", again, error));
  // Read column by column: column 1, row 2 comes before column 2, row 2.
  EXPECT_EQ(error.Place, TStatementError::TPlace::Quad);
  EXPECT_EQ(error.X, 1);
  EXPECT_EQ(error.Y, 2);
  EXPECT_TRUE(messages.Messages.empty());
}

// max 2X1 - X1^2 with 3X1 <= 2: the most negative Z entry is the multiplier V2, whose partner, the
// added variable X2, is basic and would stay: the method proposes X1 and refuses a click on V2.
TEST(QuadraticSimplex, ProposesTheBestAllowedColumnAndRefusesAClickThatBreaksAPair) {
  std::string page;
  TZLPCore_Interface data = Reduced("max 2\n3 <= 2\nquad -1\n", page);
  ASSERT_TRUE(PrepareSimplexTable(data));
  TSimplexTable& t = data.Table;
  const auto column = [&t](const std::string& name) {
    const auto& names = t.ColNames();
    return static_cast<std::int32_t>(std::find(names.begin(), names.end(), name) - names.begin()) + 1;
  };
  ASSERT_TRUE(RatLess(t.GetZ(column("V2")), t.GetZ(column("X1"))));
  TSimplexMethod m(t);
  m.Start();
  ASSERT_EQ(t.State, SS_PIVOT);
  EXPECT_EQ(t.GetColName(m.PivotCol), "X1");
  EXPECT_EQ(t.GetRowName(m.PivotRow), "X2");
  EXPECT_TRUE(Contains(m.IterationReports.back()->GetText(), "Переменная V<sub>2</sub> в базис не вводится"));

  EXPECT_FALSE(m.ChoosePivot(column("V2"), t.RowOf("U1")));
  EXPECT_TRUE(Contains(m.Hint, "в базисе её пара X2"));
  EXPECT_EQ(t.GetColName(m.PivotCol), "X1");
  // The partner's own row is allowed: it leaves in that very pivot.
  EXPECT_FALSE(t.Allows(column("V2"), t.RowOf("U1")));
  EXPECT_TRUE(t.Allows(column("V2"), t.RowOf("X2")));

  m.Solve();
  EXPECT_EQ(t.State, SS_OPTIMAL);
  EXPECT_EQ(RatToStr(t.ValueOf("X1")), "2/3");
  EXPECT_EQ(RatToStr(t.GetZValue()), "0");
}

TEST(BigRational, DecidesSemidefinitenessExactly) {
  const auto matrix = [](std::vector<std::vector<std::int64_t>> rows, std::int64_t den = 1) {
    std::vector<std::vector<mpq_class>> s;
    for (const auto& row : rows) {
      s.emplace_back();
      for (const std::int64_t v : row) {
        mpq_class q(static_cast<long>(v), static_cast<long>(den));
        q.canonicalize();
        s.back().push_back(q);
      }
    }
    return s;
  };
  struct TCase {
    const char* Name;
    std::vector<std::vector<mpq_class>> S;
    bool Semidefinite;
  };
  const std::int64_t big = 2147483647;
  const TCase cases[] = {
      {"definite", matrix({{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}), true},
      {"singular", matrix({{1, 1}, {1, 1}}), true},
      {"zero", matrix({{0, 0}, {0, 0}}), true},
      {"zero diagonal, nonzero entry", matrix({{0, 1}, {1, 5}}), false},
      {"negative diagonal", matrix({{1, 0}, {0, -1}}), false},
      {"indefinite with positive diagonal", matrix({{1, 2}, {2, 1}}), false},
      {"singular after a pivot", matrix({{4, 2, 2}, {2, 1, 1}, {2, 1, 1}}), true},
      {"fractions", matrix({{1, 1, 0}, {1, 1, 0}, {0, 0, 3}}, 3), true},
      // Entries near 2^31: the products of the elimination need more than 64 bits.
      {"large, definite", matrix({{big, big - 1}, {big - 1, big}}), true},
      {"large, indefinite by one", matrix({{big, big}, {big, big - 1}}), false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(IsPositiveSemidefinite(c.S), c.Semidefinite);
  }
  // The 8 x 8 Hilbert matrix is definite, though its minors are tiny fractions.
  std::vector<std::vector<mpq_class>> hilbert(8, std::vector<mpq_class>(8));
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 8; ++j) hilbert[i][j] = mpq_class(1, i + j + 1);
  // The last pivot is 1/176679360: taking exactly that off the corner leaves it singular, a little
  // more makes it indefinite.
  EXPECT_TRUE(IsPositiveSemidefinite(hilbert));
  hilbert[7][7] -= mpq_class(1, 176679360);
  EXPECT_TRUE(IsPositiveSemidefinite(hilbert));
  hilbert[7][7] -= mpq_class(mpz_class(1), mpz_class(1) << 62);
  EXPECT_FALSE(IsPositiveSemidefinite(hilbert));
}

} // namespace

namespace {

// The conditions of a statement as the conclusion sets them up.
TKuhnTucker ConditionsOf(const std::string& text) {
  TTextFormatError textError;
  const auto grid = ParseStatementText(text, textError);
  EXPECT_TRUE(grid) << textError.Message;
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(*grid, data, error));
  TZLPCore_SolutionResult ignored;
  data.ZLP.ToCanonical(ignored);
  TQuadraticReduction reduction;
  EXPECT_TRUE(ReduceQuadratic(data.ZLP, data.QuadMatrix, grid->IsMax, reduction));
  return reduction.Conditions;
}

// Lemke's method on the simplex tables (plain fractions, GMP ones once the numbers outgrow 32 bits) and
// on fraction-free integers takes the same pivots: the same end, the same point, at a point of the
// conditions.
TEST(LemkeExactly, AgreesWithTheTablesOnSmallAndLargeData) {
  TMessageRecorder messages;
  std::mt19937 random(99);
  const auto draw = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  int solved = 0;
  for (int k = 0; k < 300; ++k) {
    const int n = draw(2, 4);
    const int m = draw(1, 3);
    const int size = k < 150 ? 5 : 400; // small data, then data whose tables outgrow 32 bits
    std::vector<std::vector<int>> q(static_cast<std::size_t>(n), std::vector<int>(static_cast<std::size_t>(n), 0));
    for (int r = draw(1, n); r > 0; --r) {
      std::vector<int> row;
      for (int j = 0; j < n; ++j) row.push_back(draw(-size, size) / (size > 5 ? 7 : 1));
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) q[i][j] -= row[i] * row[j];
    }
    std::string text = "max";
    for (int j = 0; j < n; ++j) text += " " + std::to_string(draw(-size, 2 * size));
    text += "\n";
    for (int i = 0; i < m; ++i) {
      for (int j = 0; j < n; ++j)
        text += std::to_string(draw(-size / 4, size)) + "/" + std::to_string(draw(1, 9)) + " ";
      text += (draw(0, 4) == 0 ? ">= " : "<= ") + std::to_string(draw(-size, 3 * size)) + "\n";
    }
    for (int i = 0; i < n; ++i) {
      text += "quad";
      for (int j = 0; j < n; ++j) text += " " + std::to_string(q[i][j]);
      text += "\n";
    }
    SCOPED_TRACE(text);
    const TKuhnTucker kt = ConditionsOf(text);
    TZLPCore_SolutionResult report;
    const TComplementarityResult tables = RunLemke(kt, report);
    const TComplementarityResult exact = RunLemkeExactly(kt);
    // The tables go on past 32 bits where the numbers outgrow them (once the only way here).
    ASSERT_NE(tables.End, TComplementarityEnd::Overflow);
    ASSERT_EQ(static_cast<int>(exact.End), static_cast<int>(tables.End));
    EXPECT_EQ(exact.Steps, tables.Steps);
    if (tables.End != TComplementarityEnd::Solved) continue;
    ++solved;
    EXPECT_TRUE(SatisfiesKuhnTucker(kt, tables.Point));
    for (std::size_t j = 0; j < tables.Point.X.size(); ++j) {
      EXPECT_EQ(RatToStr(exact.Point.X[j]), RatToStr(tables.Point.X[j]));
      EXPECT_EQ(RatToStr(exact.Point.V[j]), RatToStr(tables.Point.V[j]));
    }
  }
  EXPECT_GT(solved, 20);
}

} // namespace
