// Every problem of tests/data/<task>/ run through the task runner, as the wizard runs it: the verdict,
// the exact optimum and point of its expected table, the answer paragraph that ends the report, and
// an independent check of the answer where one is cheap.
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskChecks.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_StageTasks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <random>

namespace fs = std::filesystem;

namespace {

struct TCase {
  std::string Task; // the folder under tests/data
  xc::TExpected Row;
};

// A failing case is shown by its file, tests/data/<task>/<file>, rather than by its bytes.
void PrintTo(const TCase& c, std::ostream* os) { *os << c.Task << '/' << c.Row.File; }

std::vector<TCase> AllCases() {
  std::vector<TCase> cases;
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(KELVANO_TEST_DATA))
    if (entry.is_directory() && fs::exists(entry.path() / "expected")) folders.push_back(entry.path());
  std::sort(folders.begin(), folders.end());
  for (const fs::path& folder : folders)
    for (xc::TExpected& row : xc::ReadExpected(folder)) cases.push_back({folder.filename().string(), std::move(row)});
  return cases;
}

class TaskTable : public ::testing::TestWithParam<TCase> {};

TEST_P(TaskTable, SolvesToTheExpectedAnswer) {
  const TCase& c = GetParam();
  TMessageRecorder messages;
  TTextFormatError textError;
  const auto grid = ParseStatementText(xc::ReadText(fs::path(KELVANO_TEST_DATA) / c.Task / c.Row.File), textError);
  ASSERT_TRUE(grid) << textError.Line << ": " << textError.Field << ": " << textError.Message;
  TZLPCore_Interface data;
  TStatementError error;
  ASSERT_TRUE(ReadStatement(*grid, data, error)) << error.Field << ": " << error.Message;
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunTask(grid->TaskType, data, report);

  EXPECT_EQ(StatusName(v.Status), c.Row.Status) << v.Message;
  if (v.A && v.B && !c.Row.Objective.empty()) {
    // A regression: its row gives A and B, which are compared to 1e-9 of their size.
    ASSERT_EQ(c.Row.X.size(), 1U);
    const double a = std::stod(c.Row.Objective);
    const double b = std::stod(c.Row.X[0]);
    EXPECT_NEAR(*v.A, a, 1e-9 * std::max(1.0, std::abs(a)));
    EXPECT_NEAR(*v.B, b, 1e-9 * std::max(1.0, std::abs(b)));
  } else if (!c.Row.Objective.empty()) {
    if (v.Total)
      EXPECT_EQ(std::to_string(*v.Total), c.Row.Objective);
    else if (v.Objective)
      EXPECT_EQ(RatToStr(*v.Objective), c.Row.Objective);
    else
      ADD_FAILURE() << "no objective";
  }
  if (!c.Row.X.empty() && !v.A) {
    std::vector<std::string> x;
    for (const TRational& r : v.X) x.push_back(RatToStr(r));
    for (std::int32_t column : v.Assignment) x.push_back(std::to_string(column));
    EXPECT_EQ(x, c.Row.X);
  }
  EXPECT_EQ(report.Title, GetTaskName(grid->TaskType));
  ASSERT_FALSE(report.Lines.empty());
  // The last section ends with the answer paragraph (a conclusion of the type may come before it).
  const std::string& last = report.Lines.back();
  const auto answer = last.rfind("<p><b>Ответ:</b> ");
  EXPECT_TRUE(answer != std::string::npos && last.find("<p>", answer + 1) == std::string::npos) << last;
  EXPECT_TRUE(messages.Messages.empty()) << "a run without windows must not ask anything";
  if (const auto check = TaskChecks().find(grid->TaskType); check != TaskChecks().end()) check->second(*grid, v);
}

// Every number a verdict holds, in text.
std::string Numbers(const TTaskVerdict& v) {
  std::string out = std::string(StatusName(v.Status)) + "|" + v.Message + "|" + v.Answer + "|";
  const auto add = [&out](const std::vector<TRational>& values) {
    for (const TRational& r : values) out += RatToStr(r) + ",";
    out += "|";
  };
  if (v.Objective) out += RatToStr(*v.Objective);
  out += "|";
  add(v.X);
  add(v.Dual);
  for (const auto& row : v.Plan) add(row);
  for (const std::int32_t a : v.Assignment) out += std::to_string(a) + ",";
  for (const auto* ranges : {&v.RangesB, &v.RangesC})
    for (const TValueRange& r : *ranges)
      out += (r.Lo ? RatToStr(*r.Lo) : "-") + ".." + (r.Hi ? RatToStr(*r.Hi) : "+") + ",";
  if (v.Total) out += "|" + std::to_string(*v.Total);
  if (v.A) out += "|" + std::to_string(*v.A) + "|" + std::to_string(*v.B);
  if (v.Concave) out += *v.Concave ? "|concave" : "|not concave";
  return out;
}

// A run asked only for its verdict (kelvano-solve --json) builds no report and ends the same.
TEST_P(TaskTable, WithoutAReportEndsTheSame) {
  const TCase& c = GetParam();
  TMessageRecorder messages;
  TTextFormatError textError;
  const auto grid = ParseStatementText(xc::ReadText(fs::path(KELVANO_TEST_DATA) / c.Task / c.Row.File), textError);
  ASSERT_TRUE(grid);
  const auto run = [&grid](bool silent, TZLPCore_SolutionResult& report) {
    TZLPCore_Interface data;
    TStatementError error;
    EXPECT_TRUE(ReadStatement(*grid, data, error));
    std::optional<TReportSilence> silence;
    if (silent) silence.emplace();
    return Numbers(RunTask(grid->TaskType, data, report));
  };
  TZLPCore_SolutionResult full;
  TZLPCore_SolutionResult none;
  const std::string expected = run(false, full);
  EXPECT_EQ(run(true, none), expected);
  EXPECT_TRUE(none.Lines.empty());
  EXPECT_FALSE(full.Lines.empty());
}

INSTANTIATE_TEST_SUITE_P(Problems, TaskTable, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<TCase>& info) {
                           std::string name = info.param.Task + "_" + info.param.Row.File;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// What a student reads last: the answer in the student's own terms.
// Random linear programs of up to 10 variables with coefficients up to 1000, whole or with two
// decimals, as the student types them: their tables outgrow 32-bit fractions, and the runner must
// still end as an independent exact simplex method does, at the same exact optimum, at a feasible
// point that attains it.
TEST(RandomLinearPrograms, BeyondThirtyTwoBitsAgreeWithAnIndependentExactSimplex) {
  TMessageRecorder messages;
  std::mt19937 random(4242);
  const auto draw = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  // "-12.05", "731": the text and its exact value, parsed by the reference.
  const auto number = [&](int low, int high, bool decimal) {
    const int whole = draw(low, high);
    if (!decimal) return std::to_string(whole);
    const int cents = draw(0, 99);
    return (whole < 0 ? "-" : "") + std::to_string(std::abs(whole)) + "." + (cents < 10 ? "0" : "") +
           std::to_string(cents);
  };
  int optimal = 0;
  int bigTables = 0;
  int bigAnswers = 0;
  for (int k = 0; k < 60; ++k) {
    const int n = draw(4, 10);
    const int m = draw(3, 8);
    const bool decimal = k % 2 == 1;
    const bool isMax = k % 3 != 0;
    std::string text = isMax ? "max" : "min";
    std::vector<xc::Q> c;
    for (int j = 0; j < n; ++j) {
      const std::string v = number(isMax ? -100 : 1, 1000, decimal);
      text += " " + v;
      c.push_back(xc::Parse(v));
    }
    text += "\n";
    xc::TSystem system;
    for (int i = 0; i < m; ++i) {
      std::vector<xc::Q> row;
      for (int j = 0; j < n; ++j) {
        const std::string v = number(-300, 1000, decimal);
        text += v + " ";
        row.push_back(xc::Parse(v));
      }
      const int relation = draw(0, 3) == 0 ? 1 : -1;
      const std::string b = number(relation > 0 ? 1 : 100, relation > 0 ? 100 : 1000, decimal);
      text += (relation > 0 ? ">= " : "<= ") + b + "\n";
      system.A.push_back(row);
      system.Relation.push_back(relation);
      system.B.push_back(xc::Parse(b));
    }
    SCOPED_TRACE(text);
    TTextFormatError textError;
    const auto grid = ParseStatementText(text, textError);
    ASSERT_TRUE(grid) << textError.Message;
    TZLPCore_Interface data;
    TStatementError error;
    ASSERT_TRUE(ReadStatement(*grid, data, error)) << error.Message;
    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(grid->TaskType, data, report);
    std::vector<xc::Q> objective = c;
    if (!isMax)
      for (xc::Q& q : objective) q = xc::Q{-1, 1} * q;
    const xc::TLinearOptimum want = xc::MaximiseExactly(system, objective);
    ASSERT_EQ(StatusName(v.Status), want.End) << v.Message;
    bigTables += data.Table.IsBig() ? 1 : 0;
    if (want.End != "optimal") continue;
    ++optimal;
    const xc::Q value = isMax ? want.Value : xc::Q{-1, 1} * want.Value;
    ASSERT_TRUE(v.Objective.has_value());
    EXPECT_EQ(RatToStr(*v.Objective), xc::Show(value));
    bigAnswers += RatIsBig(*v.Objective) ? 1 : 0;
    std::vector<xc::Q> x;
    for (const TRational& r : v.X) x.push_back(xc::Parse(RatToStr(r)));
    ASSERT_EQ(x.size(), c.size());
    EXPECT_TRUE(xc::Feasible(system, x)) << "the point breaks a constraint";
    EXPECT_EQ(xc::Show(xc::Dot(c, x)), xc::Show(value)) << "the point does not attain the optimum";
  }
  EXPECT_GT(optimal, 20);
  EXPECT_GT(bigTables, 20) << "the problems no longer outgrow 32-bit fractions";
  EXPECT_GT(bigAnswers, 10);
}

TEST(TaskAnswer, StatesTheOutcomeInTheStudentsTerms) {
  struct TAnswerCase {
    const char* Text;
    const char* Answer;
  };
  const TAnswerCase cases[] = {
      {"max 3 2\n1 1 <= 4\n1 3 <= 6\n", "Z<sub>max</sub> = 12 при X<sub>1</sub> = 4, X<sub>2</sub> = 0"},
      {"min 2 -1\nconst 3\n1 1 <= 4\n1 -1 >= 1\n", "Z<sub>min</sub> = 5 при X<sub>1</sub> = 1, X<sub>2</sub> = 0"},
      {"max 1 1\n1 -1 <= 1\n", "целевая функция не ограничена сверху на множестве допустимых решений, оптимума нет."},
      {"max 1\n1 >= 2\n1 <= 1\n", "система ограничений несовместна: допустимых решений нет."},
  };
  for (const TAnswerCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTextFormatError textError;
    const auto grid = ParseStatementText(c.Text, textError);
    ASSERT_TRUE(grid);
    TZLPCore_Interface data;
    TStatementError error;
    ASSERT_TRUE(ReadStatement(*grid, data, error));
    TZLPCore_SolutionResult report;
    RunTask(grid->TaskType, data, report);
    EXPECT_EQ(report.Lines.back(), std::string("<p><b>Ответ:</b> ") + c.Answer + "\r\n");
  }
}

// The substituted program of a linear-fractional problem names its columns Y1 … Yn, Y0 and then its
// added variables from Yn+1 on, with no number left out; the answer is read back only for the
// student's own variables.
TEST(TaskAnswer, FractionalVariablesAreNumberedWithoutAGap) {
  const TRun run = SolveText(xc::ReadText(fs::path(KELVANO_TEST_DATA) / "fractional" / "max_vertex.lp"), TT_FRACTIONAL);
  ASSERT_EQ(run.Verdict.Status, TTaskStatus::Optimal);
  std::string head;
  for (const std::string& line : run.Lines)
    if (line.find("<td class=\"clsSimCell\">B</td>") != std::string::npos) {
      head = line.substr(0, line.find("</tr>"));
      break;
    }
  std::vector<std::string> names;
  for (auto at = head.find("\">Y"); at != std::string::npos; at = head.find("\">Y", at + 1))
    names.push_back(head.substr(at + 2, head.find('<', at) - at - 2));
  EXPECT_EQ(names, (std::vector<std::string>{"Y1", "Y2", "Y0", "Y3", "Y4", "Y5", "Y6"}));
  std::size_t backSubstituted = 0;
  for (const std::string& line : run.Lines)
    for (auto at = line.find("/Y0 = "); at != std::string::npos; at = line.find("/Y0 = ", at + 1)) ++backSubstituted;
  EXPECT_EQ(backSubstituted, 2U) << "X1 and X2 only";
}

} // namespace
