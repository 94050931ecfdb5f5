// The textbook form of the simplex tables, the basic plans in words, the second optimal plan and the
// explanation of the pivots that remove negative free terms.
#include "SimplexTextbook.h"

#include "Pages.h"
#include "SimplexMethod.h"

#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A problem text solved through the task runner in the given form of the tables.
struct TFormRun {
  TTaskVerdict Verdict;
  std::string Report;
};

TFormRun Solve(const std::string& text, TTableForm form, TStartMethod start = TStartMethod::Dual) {
  TFormRun run;
  TTextFormatError textError;
  const auto grid = ParseStatementText(text, textError);
  EXPECT_TRUE(grid) << textError.Message;
  if (!grid) return run;
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(*grid, data, error)) << error.Message;
  data.TableForm = form;
  data.StartMethod = start;
  TZLPCore_SolutionResult report;
  run.Verdict = RunTask(grid->TaskType, data, report);
  run.Report = report.GetText();
  return run;
}

// The cells of every simplex table of a report, row by row, as their texts without tags: the tables
// that open with a costs row "C<sub>j</sub>" (the textbook form).
using TTable = std::vector<std::vector<std::string>>;

std::string StripTags(const std::string& html) {
  std::string out;
  bool inTag = false;
  for (const char ch : html) {
    if (ch == '<') inTag = true;
    else if (ch == '>') inTag = false;
    else if (!inTag) out += ch;
  }
  return out;
}

std::vector<TTable> TextbookTables(const std::string& report) {
  std::vector<TTable> tables;
  for (std::size_t at = report.find("<table"); at != std::string::npos; at = report.find("<table", at + 1)) {
    const std::size_t end = report.find("</table>", at);
    const std::string html = report.substr(at, end - at);
    if (!Contains(html, "colspan=3>C<sub>j</sub>")) continue;
    TTable table;
    for (std::size_t r = html.find("<tr>"); r != std::string::npos; r = html.find("<tr>", r + 1)) {
      const std::string row = html.substr(r, html.find("</tr>", r) - r);
      std::vector<std::string> cells;
      for (std::size_t c = row.find("<td"); c != std::string::npos; c = row.find("<td", c + 1)) {
        const std::size_t open = row.find('>', c) + 1;
        // A long value shows a short decimal; its exact value is the cell's title.
        const std::size_t title = row.find("title=\"", c);
        if (title != std::string::npos && title < open)
          cells.push_back(row.substr(title + 7, row.find('"', title + 7) - title - 7));
        else
          cells.push_back(StripTags(row.substr(open, row.find("</td>", open) - open)));
      }
      table.push_back(cells);
    }
    tables.push_back(table);
  }
  return tables;
}

TRational R(const std::string& text) { return RatFromStr(text); }

// A printed value of any length, exactly.
mpq_class Q(const std::string& text) {
  mpq_class q(text, 10);
  q.canonicalize();
  return q;
}

// A printed a + bM ("-4M + 3", "M", "(-7/3)M + 7/3", "-23M", "5/2") as the pair (b, a).
std::pair<mpq_class, mpq_class> QM(const std::string& text) {
  const std::size_t m = text.find('M');
  if (m == std::string::npos) return {0, Q(text)};
  std::string b = text.substr(0, m);
  if (!b.empty() && b.front() == '(') b = b.substr(1, b.size() - 2);
  const mpq_class bm = b.empty() ? mpq_class(1) : b == "-" ? mpq_class(-1) : Q(b);
  mpq_class a = 0;
  if (m + 1 < text.size()) {
    const std::string rest = text.substr(m + 2); // "+ 3" or "- 3"
    a = Q(rest.substr(2));
    if (rest[0] == '-') a = -a;
  }
  return {bm, a};
}

// The identities of a textbook table, computed from its own printed cells: Δ_j = Σ Cб_i a_ij − C_j
// and Z = Σ Cб_i B_i (for programs without a free term), each basic column a unit column with Δ = 0.
void ExpectConsistent(const TTable& t, const std::string& where) {
  ASSERT_GE(t.size(), 3U) << where;
  const std::size_t n = t[0].size() - 2; // costs row: "C_j", n costs, the blank over θ
  const std::size_t m = t.size() - 3;
  using TPair = std::pair<mpq_class, mpq_class>;
  auto mul = [](const TPair& c, const mpq_class& a) { return TPair{c.first * a, c.second * a}; };
  auto add = [](TPair x, const TPair& y) { return TPair{x.first + y.first, x.second + y.second}; };
  for (std::size_t j = 0; j < n; ++j) {
    TPair z{0, 0};
    for (std::size_t i = 0; i < m; ++i) z = add(z, mul(QM(t[2 + i][1]), Q(t[2 + i][3 + j])));
    const TPair c = QM(t[0][1 + j]);
    EXPECT_EQ(add(z, {-c.first, -c.second}), QM(t[2 + m][3 + j])) << where << ", Δ of column " << j + 1;
  }
  TPair z{0, 0};
  for (std::size_t i = 0; i < m; ++i) z = add(z, mul(QM(t[2 + i][1]), Q(t[2 + i][2])));
  EXPECT_EQ(z, QM(t[2 + m][2])) << where << ", Z";
  for (std::size_t i = 0; i < m; ++i) {
    const std::string& basis = t[2 + i][0];
    const auto col = std::find(t[1].begin(), t[1].end(), basis) - t[1].begin();
    ASSERT_GE(col, 3) << where << ": the basic variable " << basis << " has a column";
    EXPECT_EQ(t[2 + m][static_cast<std::size_t>(col)], "0") << where;
    for (std::size_t r = 0; r < m; ++r) EXPECT_EQ(t[2 + r][static_cast<std::size_t>(col)], r == i ? "1" : "0") << where;
  }
}

// The entities of the cells as they read: &nbsp; a blank, &theta; θ, &Delta; Δ.
TTable Readable(TTable t) {
  for (auto& row : t)
    for (auto& cell : row)
      for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
               {"&nbsp;", " "}, {"&theta;", "θ"}, {"&Delta;", "Δ"}, {"&mdash;", "—"}})
        for (std::size_t p = cell.find(from); p != std::string::npos; p = cell.find(from)) cell.replace(p, from.size(), to);
  return t;
}

// max 2X1 + 3X2, X1 + 3X2 <= 18, 2X1 + X2 <= 16: the three tables as the textbooks print them.
TEST(SimplexTextbook, ProductionExampleHasTheTablesOfTheTextbook) {
  const TFormRun run = Solve("max 2 3\n1 3 <= 18\n2 1 <= 16\n", TTableForm::Textbook);
  ASSERT_EQ(run.Verdict.Status, TTaskStatus::Optimal);
  const std::vector<TTable> tables = TextbookTables(run.Report);
  ASSERT_EQ(tables.size(), 3U);
  const std::vector<TTable> expected = {
      {{"Cj", "2", "3", "0", "0", " "},
       {"Базис", "Cб", "B", "X1", "X2", "X3", "X4", "θ"},
       {"X3", "0", "18", "1", "3", "1", "0", "6"},
       {"X4", "0", "16", "2", "1", "0", "1", "16"},
       {"Δj", "Z =", "0", "-2", "-3", "0", "0", " "}},
      {{"Cj", "2", "3", "0", "0", " "},
       {"Базис", "Cб", "B", "X1", "X2", "X3", "X4", "θ"},
       {"X2", "3", "6", "1/3", "1", "1/3", "0", "18"},
       {"X4", "0", "10", "5/3", "0", "-1/3", "1", "6"},
       {"Δj", "Z =", "18", "-1", "0", "1", "0", " "}},
      {{"Cj", "2", "3", "0", "0", " "},
       {"Базис", "Cб", "B", "X1", "X2", "X3", "X4", "θ"},
       {"X2", "3", "4", "0", "1", "2/5", "-1/5", " "},
       {"X1", "2", "6", "1", "0", "-1/5", "3/5", " "},
       {"Δj", "Z =", "24", "0", "0", "4/5", "3/5", " "}},
  };
  for (std::size_t k = 0; k < tables.size(); ++k) EXPECT_EQ(Readable(tables[k]), expected[k]) << "table " << k + 1;
  // Each table states its plan; the last one why it is optimal.
  for (const char* plan : {"Опорный план X = (0; 0; 18; 16), Z = 0.", "Опорный план X = (0; 6; 0; 10), Z = 18.",
                           "Опорный план X = (6; 4; 0; 0), Z = 24."})
    EXPECT_TRUE(Contains(run.Report, plan)) << plan;
  EXPECT_TRUE(Contains(run.Report, "опорный план X* = (6; 4; 0; 0) оптимален, Z<sub>max</sub> = 24."));
  // The pivot cross: the column X2 and the row X3 of the first table, the pivot cell in both.
  const std::size_t from = run.Report.rfind("<table", run.Report.find("colspan=3>C<sub>j</sub>"));
  const std::string first = run.Report.substr(from, run.Report.find("</table>", from) - from);
  EXPECT_TRUE(Contains(first, "<td class=\"clsSelCell\">X3</td><td class=\"clsSelCell\">0</td><td class=\"clsSelCell\">18</td>"
                              "<td class=\"clsSelCell\">1</td><td class=\"clsSelCell\">3</td>"));
  EXPECT_TRUE(Contains(first, "<td class=\"clsSimCell\">X1</td><td class=\"clsSelCell\">X2</td>"));
}

// Every linear reference problem in both forms: the same verdict and optimum, the same sentences
// around the tables, and every textbook table consistent with its own costs.
TEST(SimplexTextbook, ReferenceProblemsGiveTheSameAnswerInBothForms) {
  int solved = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(KELVANO_TEST_DATA) / "lp")) {
    if (entry.path().extension() != ".lp") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const TFormRun compact = Solve(text.str(), TTableForm::Compact);
    const TFormRun textbook = Solve(text.str(), TTableForm::Textbook);
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(compact.Verdict.Status, textbook.Verdict.Status) << name;
    EXPECT_EQ(AnswerText(compact.Verdict), AnswerText(textbook.Verdict)) << name;
    EXPECT_EQ(Contains(compact.Report, "colspan=3>C<sub>j</sub>"), false) << name;
    const std::vector<TTable> tables = TextbookTables(textbook.Report);
    EXPECT_FALSE(tables.empty()) << name;
    // A program with a free term in its objective shows Z with it; the identities hold without.
    const bool freeTerm = Contains(text.str(), "const");
    for (std::size_t k = 0; k < tables.size() && !freeTerm; ++k)
      ExpectConsistent(tables[k], name + ", table " + std::to_string(k + 1));
    // The sentences are the same in both forms: only the tables differ.
    auto sentences = [](const std::string& report) {
      std::string out;
      for (std::size_t p = report.find("<p>"); p != std::string::npos; p = report.find("<p>", p + 1))
        out += report.substr(p, report.find_first_of("\r\n<", p + 3) - p) + "\n";
      return out;
    };
    EXPECT_EQ(sentences(compact.Report), sentences(textbook.Report)) << name;
    ++solved;
  }
  EXPECT_GE(solved, 10);
}

// Points of the answer checked on the statement itself: feasible and of the optimal value.
void ExpectOptimalPoint(const std::vector<std::vector<TRational>>& rows, const std::vector<TRational>& c,
                        const std::vector<TRational>& x, TRational z) {
  TRational value = RatFromInt(0);
  for (std::size_t j = 0; j < c.size(); ++j) value = RatAdd(value, RatMul(c[j], x[j]));
  EXPECT_EQ(RatCompare(value, z), 0);
  for (const auto& row : rows) {
    TRational lhs = RatFromInt(0);
    for (std::size_t j = 0; j + 1 < row.size(); ++j) lhs = RatAdd(lhs, RatMul(row[j], x[j]));
    EXPECT_LE(RatCompare(lhs, row.back()), 0);
  }
  for (const TRational& v : x) EXPECT_GE(RatCompareInt(v, 0), 0);
}

TEST(SimplexTextbook, OptimumThatIsNotUniqueGivesTheSegmentOrTheRay) {
  // max X1 + X2, X1 + X2 <= 4, X1 <= 3: the edge from (3; 1) to (0; 4).
  const TFormRun edge = Solve("max 1 1\n1 1 <= 4\n1 0 <= 3\n", TTableForm::Compact);
  ASSERT_EQ(edge.Verdict.Status, TTaskStatus::Optimal);
  ASSERT_EQ(edge.Verdict.SecondX.size(), 2U);
  EXPECT_FALSE(edge.Verdict.SecondIsRay);
  const std::vector<std::vector<TRational>> rows = {{R("1"), R("1"), R("4")}, {R("1"), R("0"), R("3")}};
  ExpectOptimalPoint(rows, {R("1"), R("1")}, edge.Verdict.X, *edge.Verdict.Objective);
  ExpectOptimalPoint(rows, {R("1"), R("1")}, edge.Verdict.SecondX, *edge.Verdict.Objective);
  EXPECT_NE(edge.Verdict.X[0].Num, edge.Verdict.SecondX[0].Num);
  EXPECT_TRUE(Contains(edge.Report, "Оценка &Delta;<sub>4</sub> свободной переменной X<sub>4</sub> равна 0"));
  EXPECT_TRUE(Contains(edge.Report, "второй оптимальный план X** = (0; 4; 0; 3)"));
  EXPECT_TRUE(Contains(AnswerText(edge.Verdict), "отрезка X = &lambda;&middot;(3; 1) + (1 &minus; &lambda;)&middot;(0; 4)"));

  // max X1 - X2, X1 - X2 <= 1: every (1 + t; t) is optimal.
  const TFormRun ray = Solve("max 1 -1\n1 -1 <= 1\n", TTableForm::Compact);
  ASSERT_EQ(ray.Verdict.Status, TTaskStatus::Optimal);
  EXPECT_TRUE(ray.Verdict.SecondIsRay);
  ASSERT_EQ(ray.Verdict.SecondX.size(), 2U);
  for (int t = 0; t <= 3; ++t) {
    std::vector<TRational> x = ray.Verdict.X;
    for (std::size_t j = 0; j < x.size(); ++j) x[j] = RatAdd(x[j], RatMulInt(ray.Verdict.SecondX[j], t));
    ExpectOptimalPoint({{R("1"), R("-1"), R("1")}}, {R("1"), R("-1")}, x, *ray.Verdict.Objective);
  }
  EXPECT_TRUE(Contains(AnswerText(ray.Verdict), "луча X = (1; 0) + t&middot;(1; 1), t &ge; 0"));

  // A unique optimum says nothing of the kind; neither do the integer programs, whose answer is
  // the integer point.
  const TFormRun unique = Solve("max 3 2\n1 1 <= 4\n1 3 <= 6\n", TTableForm::Compact);
  EXPECT_TRUE(unique.Verdict.SecondX.empty());
  EXPECT_FALSE(Contains(unique.Report, "не единственный"));
  const TFormRun integer = Solve("max 1 1\n1 1 <= 4\n1 0 <= 3\nint 1 2\n", TTableForm::Compact);
  EXPECT_TRUE(integer.Verdict.SecondX.empty());
  EXPECT_FALSE(Contains(integer.Report, "не единственный"));
}

// A pivot that removes a negative free term names the method and the row and column it takes; no
// ratio of another row is marked as the smallest.
TEST(SimplexTextbook, NegativeFreeTermPivotNamesTheRowAndColumnTaken) {
  // min 2X1 - X2 + 3, X1 + X2 <= 4, X1 - X2 >= 1: the pivot is column X1, row 2.
  const TFormRun run = Solve("min 2 -1\nconst 3\n1 1 <= 4\n1 -1 >= 1\n", TTableForm::Compact);
  ASSERT_EQ(run.Verdict.Status, TTaskStatus::Optimal);
  EXPECT_EQ(RatToStr(*run.Verdict.Objective), "5");
  const std::string& r = run.Report;
  const std::size_t at = r.find("Двойственный симплекс-метод: выбираем строку с отрицательным свободным членом (B<sub>2</sub> = -1)");
  ASSERT_NE(at, std::string::npos) << r;
  const std::string line = r.substr(at, r.find('\n', at) - at);
  EXPECT_TRUE(Contains(line, "строку 2 (X<sub>4</sub>)"));
  EXPECT_TRUE(Contains(line, "A<sub>2,1</sub> = -1 (выбран)"));
  EXPECT_TRUE(Contains(line, "B<sub>2</sub> станет 1 &gt; 0"));
  EXPECT_FALSE(Contains(line, "(наименьшее)"));
  EXPECT_TRUE(Contains(r, "Базисное решение X = (0; 0; 4; -1), Z = -3 не является опорным планом: в нём отрицательна "
                          "переменная X<sub>4</sub> = -1."));
}

// The diet problem by the M-method: min 3X1 + 2X2, 2X1 + X2 >= 8, X1 + X2 >= 6, X1 + 3X2 >= 9. The
// first tables as a textbook prints them, with the estimates a + bM; the artificial variables leave
// one by one and their columns are struck out.
TEST(SimplexTextbook, ArtificialBasisExampleHasTheTablesOfTheTextbook) {
  const std::string diet = "min 3 2\n2 1 >= 8\n1 1 >= 6\n1 3 >= 9\n";
  const TFormRun run = Solve(diet, TTableForm::Textbook, TStartMethod::Artificial);
  ASSERT_EQ(run.Verdict.Status, TTaskStatus::Optimal);
  EXPECT_EQ(RatToStr(*run.Verdict.Objective), "14");
  const std::vector<TTable> tables = TextbookTables(run.Report);
  ASSERT_EQ(tables.size(), 5U);
  const TTable first = {{"Cj", "-3", "-2", "0", "0", "0", "-M", "-M", "-M", " "},
                        {"Базис", "Cб", "B", "X1", "X2", "X3", "X4", "X5", "R1", "R2", "R3", "θ"},
                        {"R1", "-M", "8", "2", "1", "-1", "0", "0", "1", "0", "0", "8"},
                        {"R2", "-M", "6", "1", "1", "0", "-1", "0", "0", "1", "0", "6"},
                        {"R3", "-M", "9", "1", "3", "0", "0", "-1", "0", "0", "1", "3"},
                        {"Δj", "Z =", "-23M", "-4M + 3", "-5M + 2", "M", "M", "M", "0", "0", "0", " "}};
  EXPECT_EQ(Readable(tables[0]), first);
  const TTable second = {{"Cj", "-3", "-2", "0", "0", "0", "-M", "-M", "-M", " "},
                         {"Базис", "Cб", "B", "X1", "X2", "X3", "X4", "X5", "R1", "R2", "R3", "θ"},
                         {"R1", "-M", "5", "5/3", "0", "-1", "0", "1/3", "1", "0", "-1/3", "3"},
                         {"R2", "-M", "3", "2/3", "0", "0", "-1", "1/3", "0", "1", "-1/3", "9/2"},
                         {"X2", "-2", "3", "1/3", "1", "0", "0", "-1/3", "0", "0", "1/3", "9"},
                         {"Δj", "Z =", "-8M - 6", "(-7/3)M + 7/3", "0", "M", "M", "(-2/3)M + 2/3", "0", "0",
                          "(5/3)M - 2/3", " "}};
  EXPECT_EQ(Readable(tables[1]), second);
  // Once the last artificial variable has left, the table is the canonical form's again.
  EXPECT_EQ(tables[3][1], (std::vector<std::string>{"Базис", "Cб", "B", "X1", "X2", "X3", "X4", "X5", "&theta;"}));
  const TTable last = {{"Cj", "-3", "-2", "0", "0", "0", " "},
                       {"Базис", "Cб", "B", "X1", "X2", "X3", "X4", "X5", "θ"},
                       {"X1", "-3", "2", "1", "0", "-1", "1", "0", " "},
                       {"X5", "0", "5", "0", "0", "2", "-5", "1", " "},
                       {"X2", "-2", "4", "0", "1", "1", "-2", "0", " "},
                       {"Δj", "Z =", "-14", "0", "0", "1", "1", "0", " "}};
  EXPECT_EQ(Readable(tables.back()), last);
  for (std::size_t k = 0; k < tables.size(); ++k) ExpectConsistent(tables[k], "diet, table " + std::to_string(k + 1));
  EXPECT_TRUE(Contains(run.Report, "Опорный план X = (0; 0; 0; 0; 0; 8; 6; 9), Z = -23M."));
  EXPECT_TRUE(Contains(run.Report, "Все искусственные переменные выведены из базиса, их столбцы вычёркиваем"));
  // The canonical form step states the M-problem.
  EXPECT_TRUE(Contains(run.Report, "Z<sub>M</sub> = - 3X<sub>1</sub> - 2X<sub>2</sub> - M(R<sub>1</sub> + "
                                   "R<sub>2</sub> + R<sub>3</sub>) &#8594; Max"));
  // The dual estimates read from the last table are those of the other start.
  const TFormRun dual = Solve(diet, TTableForm::Compact, TStartMethod::Dual);
  EXPECT_EQ(run.Verdict.Dual.size(), 3U);
  for (std::size_t i = 0; i < run.Verdict.Dual.size() && i < dual.Verdict.Dual.size(); ++i)
    EXPECT_EQ(RatToStr(run.Verdict.Dual[i]), RatToStr(dual.Verdict.Dual[i]));
}

// Taking back every step of the artificial phase, its struck-out columns included, restores the
// first table and its report exactly.
TEST(SimplexTextbook, UndoTakesBackTheArtificialPhase) {
  TTextFormatError textError;
  const auto grid = ParseStatementText("min 3 2\n2 1 >= 8\n1 1 >= 6\n1 3 >= 9\n", textError);
  ASSERT_TRUE(grid);
  TZLPCore_Interface data;
  TStatementError error;
  ASSERT_TRUE(ReadStatement(*grid, data, error));
  TZLPCore_SolutionResult canonical;
  data.ZLP.ToCanonical(canonical);
  ASSERT_TRUE(PrepareSimplexTable(data));
  TSimplexMethod method(data.Table);
  method.StartMethod = TStartMethod::Artificial;
  method.Form = TTableForm::Textbook;
  method.Start();
  ASSERT_TRUE(method.InArtificialPhase());
  const std::string firstReport = method.IterationReports.front()->GetText();
  const std::string firstTable = data.Table.ToHtml(0, 0);
  method.Solve();
  EXPECT_EQ(data.Table.State, SS_OPTIMAL);
  EXPECT_FALSE(method.InArtificialPhase());
  EXPECT_EQ(data.Table.ColCount(), 5);
  while (method.CanUndo()) ASSERT_TRUE(method.Undo());
  EXPECT_TRUE(method.InArtificialPhase());
  EXPECT_EQ(data.Table.ToHtml(0, 0), firstTable);
  ASSERT_EQ(method.IterationReports.size(), 1U);
  EXPECT_EQ(method.IterationReports.front()->GetText(), firstReport);
  EXPECT_EQ(method.Delta(0).Text(), "-23M");
  // Solved again from there, the same optimum.
  method.Solve();
  EXPECT_EQ(RatToStr(data.Table.GetZValue()), "-14");
}

// An artificial variable that stays positive proves the constraints inconsistent.
TEST(SimplexTextbook, ArtificialVariableLeftPositiveProvesInconsistency) {
  const TFormRun run = Solve("max 1\n1 >= 2\n1 <= 1\n", TTableForm::Compact, TStartMethod::Artificial);
  EXPECT_EQ(run.Verdict.Status, TTaskStatus::Infeasible);
  EXPECT_TRUE(Contains(run.Report, "искусственная переменная R<sub>1</sub> = 1 осталась в базисе с положительным "
                                   "значением"));
  // The compact form writes the Z row as a + bM while artificial columns are in the table.
  EXPECT_TRUE(Contains(run.Report, "<td class=\"clsSimCell\">Z</td><td class=\"clsSimCell\">-2M</td>"));
}

// Every reference problem of the types the simplex step solves directly, by both starts and in both
// forms: the same verdict and optimum; every textbook table consistent with its costs.
TEST(SimplexTextbook, ReferenceProblemsGiveTheSameAnswerByBothStarts) {
  int solved = 0;
  for (const char* folder : {"lp", "integer", "fractional", "cutting"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(KELVANO_TEST_DATA) / folder)) {
      if (!entry.is_regular_file() || entry.path().filename() == "expected") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      const std::string name = std::string(folder) + "/" + entry.path().filename().string();
      TTextFormatError error;
      if (!ParseStatementText(text.str(), error)) continue; // a file of bad input
      const TFormRun dual = Solve(text.str(), TTableForm::Compact, TStartMethod::Dual);
      for (const TTableForm form : {TTableForm::Compact, TTableForm::Textbook}) {
        const TFormRun artificial = Solve(text.str(), form, TStartMethod::Artificial);
        EXPECT_EQ(StatusName(artificial.Verdict.Status), StatusName(dual.Verdict.Status)) << name;
        ASSERT_EQ(artificial.Verdict.Objective.has_value(), dual.Verdict.Objective.has_value()) << name;
        if (dual.Verdict.Objective)
          EXPECT_EQ(RatToStr(*artificial.Verdict.Objective), RatToStr(*dual.Verdict.Objective)) << name;
        if (form == TTableForm::Textbook && !Contains(text.str(), "const") && std::string(folder) == "lp") {
          const std::vector<TTable> tables = TextbookTables(artificial.Report);
          for (std::size_t k = 0; k < tables.size(); ++k) ExpectConsistent(tables[k], name + ", table " + std::to_string(k + 1));
        }
      }
      ++solved;
    }
  }
  EXPECT_GE(solved, 20);
}

} // namespace
