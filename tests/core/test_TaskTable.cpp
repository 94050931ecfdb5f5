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

namespace fs = std::filesystem;

namespace {

struct TCase {
  std::string Task; // the folder under tests/data
  xc::TExpected Row;
};

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

INSTANTIATE_TEST_SUITE_P(Problems, TaskTable, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<TCase>& info) {
                           std::string name = info.param.Task + "_" + info.param.Row.File;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// What a student reads last: the answer in the student's own terms.
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

} // namespace
