// kelvano-solve run as a process: reports equal to the windowless run, exit statuses, bad files, the store.
#include "AppPaths.h"
#include "DataMod.h"
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "StatementStore.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_TaskRun.h"
#include "ZLPCore_TextFormat.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

class SolveProgram : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("kelvano-solve-test-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(Dir / name, std::ios::binary) << text;
    return Dir / name;
  }

  static std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  TRun Run(const std::string& args) {
    const fs::path out = Dir / "stdout";
    const fs::path err = Dir / "stderr";
    const std::string cmd = std::string("cd '") + Dir.string() + "' && '" + KELVANO_SOLVE + "' " + args + " >'" +
                            out.string() + "' 2>'" + err.string() + "' </dev/null";
    const int raw = std::system(cmd.c_str());
    TRun r;
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = ReadFile(out);
    r.Err = ReadFile(err);
    return r;
  }

  // The report the program must write: the same run made in this process.
  static std::string Expected(const std::string& text) {
    TTextFormatError error;
    const auto statement = ParseStatementText(text, error);
    EXPECT_TRUE(statement.has_value());
    if (!statement) return {};
    TZLPCore_Interface data;
    TStatementError readError;
    EXPECT_TRUE(ReadStatement(*statement, data, readError));
    TZLPCore_SolutionResult report;
    RunTask(statement->TaskType, data, report);
    return Utf8ToCp1251(report.BuildDocument());
  }

  fs::path Dir;
};

const char* const ProductMix = "# product mix\nmax 3 2\n1 1 <= 4\n1 3 <= 6\n";

// The report links the style sheet beside the program; the test process must look in the same place.
void UseProgramFolder() { SetProgramDir(fs::path(KELVANO_SOLVE).parent_path().string()); }

TEST_F(SolveProgram, ReportOnStandardOutputEqualsTheWindowlessRun) {
  UseProgramFolder();
  Write("mix.lp", ProductMix);
  const TRun r = Run("mix.lp");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, Expected(ProductMix));
  EXPECT_NE(r.Err.find("mix.lp: найдено оптимальное решение"), std::string::npos) << r.Err;
  // windows-1251 bytes of the title heading
  EXPECT_NE(r.Out.find("<H1>\xC7\xE0\xE4\xE0\xF7\xE0 "), std::string::npos);
}

// Decimals as students type them are the exact fractions they name: the report is the one of the
// same problem written in fractions, byte for byte, so every number in it is shown as a fraction.
TEST_F(SolveProgram, DecimalsSolveExactlyAsTheirFractions) {
  UseProgramFolder();
  const char* const decimals = "max 1.5 2,25\nconst -0.5\n1 1 <= 4.5\n0,5 1.5 <= 3\n-0.25 1 >= -1\n";
  const char* const fractions = "max 3/2 9/4\nconst -1/2\n1 1 <= 9/2\n1/2 3/2 <= 3\n-1/4 1 >= -1\n";
  Write("decimals.lp", decimals);
  Write("fractions.lp", fractions);
  const TRun d = Run("decimals.lp");
  const TRun f = Run("fractions.lp");
  EXPECT_EQ(d.Status, 0) << d.Err;
  EXPECT_EQ(f.Status, 0) << f.Err;
  EXPECT_EQ(d.Out, f.Out);
  EXPECT_EQ(d.Out, Expected(fractions));
  EXPECT_NE(d.Out.find("9/4"), std::string::npos);
}

struct TVerdictCase {
  const char* Name;
  const char* Text;
  int Status;
  const char* Verdict;
};

class SolveVerdicts : public SolveProgram, public ::testing::WithParamInterface<TVerdictCase> {};

TEST_P(SolveVerdicts, ExitStatusAndVerdictLine) {
  const TVerdictCase& c = GetParam();
  UseProgramFolder();
  Write("p.lp", c.Text);
  const TRun r = Run("p.lp -o report.html");
  EXPECT_EQ(r.Status, c.Status) << r.Err;
  EXPECT_NE(r.Err.find(c.Verdict), std::string::npos) << r.Err;
  EXPECT_TRUE(r.Out.empty());
  EXPECT_EQ(ReadFile(Dir / "report.html"), Expected(c.Text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SolveVerdicts,
    ::testing::Values(
        TVerdictCase{"Optimal", "max 3 2\n1 1 <= 4\n1 3 <= 6\n", 0, "найдено оптимальное решение"},
        TVerdictCase{"GreaterRow", "min 2 -1\nconst 3\n1 1 <= 4\n1 -1 >= 1\n", 0, "найдено оптимальное решение"},
        TVerdictCase{"Equality", "min 1\n1 = 2\n", 0, "найдено оптимальное решение"},
        TVerdictCase{"Unbounded", "max 1 1\n1 -1 <= 1\n", 2, "не ограничена"},
        TVerdictCase{"Infeasible", "max 1\n1 >= 2\n1 <= 1\n", 3, "несовместна"},
        TVerdictCase{"BealeCycling", "max 3/4 -150 1/50 -6\n1/4 -60 -1/25 9 <= 0\n1/2 -90 -1/50 3 <= 0\n0 0 1 0 <= 1\n",
                     0, "найдено оптимальное решение"},
        TVerdictCase{"Overflow", "max 1\n1/2147483647 <= 2147483647\n", 5, "пределы точных дробей"}),
    [](const ::testing::TestParamInfo<TVerdictCase>& info) { return info.param.Name; });

struct TBadFile {
  const char* Name;
  std::string Text;
  const char* Message;
};

class SolveBadFiles : public SolveProgram, public ::testing::WithParamInterface<TBadFile> {};

TEST_P(SolveBadFiles, MessageNamesFileAndLineAndNothingIsWritten) {
  const TBadFile& c = GetParam();
  Write("bad.lp", c.Text);
  Write("good.lp", ProductMix);
  const TRun r = Run("bad.lp good.lp -d out");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
  EXPECT_FALSE(fs::exists(Dir / "out" / "bad.html"));
  EXPECT_TRUE(fs::exists(Dir / "out" / "good.html")) << "the other file of the call is still processed";
}

INSTANTIATE_TEST_SUITE_P(Cases, SolveBadFiles,
                         ::testing::Values(TBadFile{"MalformedNumber", "max 1 2\n1 1.5/2 <= 3\n",
                                                    "bad.lp:2: коэффициент 2"},
                                           TBadFile{"ZeroDenominator", "max 1 2\n1 1 <= 3/0\n",
                                                    "bad.lp:2: правая часть: \"3/0\" не является рациональным числом"},
                                           TBadFile{"MissingRelation", "max 1 2\n1 1 3\n", "bad.lp:2: знак"},
                                           TBadFile{"CoefficientCount", "max 1 2\n1 <= 3\n", "bad.lp:2: коэффициенты"},
                                           TBadFile{"EmptyFile", "", "bad.lp: файл не содержит задачи"},
                                           TBadFile{"BinaryFile",
                                                    std::string("\x7f"
                                                                "ELF\x02\x01\x01\0\0\0",
                                                                10),
                                                    "bad.lp: файл не является текстом"}),
                         [](const ::testing::TestParamInfo<TBadFile>& info) { return info.param.Name; });

TEST_F(SolveProgram, MissingFileAndUsageFaults) {
  EXPECT_EQ(Run("nothing-here.lp").Status, 1);
  EXPECT_EQ(Run("").Status, 64);
  EXPECT_EQ(Run("--bogus x.lp").Status, 64);
  Write("a.lp", ProductMix);
  Write("b.lp", ProductMix);
  EXPECT_EQ(Run("a.lp b.lp -o one.html").Status, 64);
  const TRun help = Run("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("--name"), std::string::npos);
}

TEST_F(SolveProgram, SeveralFilesWriteOneReportEachBesideTheirInputs) {
  Write("a.lp", ProductMix);
  Write("b.lp", "max 1 1\n1 -1 <= 1\n");
  const TRun r = Run("a.lp b.lp");
  EXPECT_EQ(r.Status, 2) << "the first problem without an optimum decides";
  EXPECT_TRUE(r.Out.empty());
  EXPECT_TRUE(fs::exists(Dir / "a.html"));
  EXPECT_TRUE(fs::exists(Dir / "b.html"));
}

TEST_F(SolveProgram, StoredProblemIsReadByNameAndIdWithoutChangingTheStore) {
  UseProgramFolder();
  const fs::path data = Dir / "data";
  int id = -1;
  {
    TMessageRecorder messages;
    TDM dm(data);
    ASSERT_TRUE(dm.IsOpen());
    const int temp = dm.CreateTempTask();
    TTextFormatError error;
    ASSERT_TRUE(StoreStatement(dm, temp, *ParseStatementText(ProductMix, error)));
    id = dm.SaveTempTaskAs("Производство", 8);
    ASSERT_GT(id, 0);
    dm.DropTempTask();
  }
  const std::string before = ReadFile(data / "Simplex1.db") + ReadFile(data / "Tasks.db");
  const TRun byName = Run("--data data --name 'Производство'");
  EXPECT_EQ(byName.Status, 0) << byName.Err;
  EXPECT_EQ(byName.Out, Expected(ProductMix));
  const TRun byId = Run("--data data --id " + std::to_string(id));
  EXPECT_EQ(byId.Status, 0) << byId.Err;
  EXPECT_EQ(byId.Out, byName.Out);
  EXPECT_EQ(ReadFile(data / "Simplex1.db") + ReadFile(data / "Tasks.db"), before);
  EXPECT_EQ(Run("--data data --name 'Нет такой'").Status, 1);
  EXPECT_EQ(Run("--data nowhere --id 1").Status, 1);
  EXPECT_FALSE(fs::exists(Dir / "nowhere")) << "reading never creates a store";
}

// A stored integer program is solved with its stored ticks; a tick row of a variable it does not have
// is left out.
TEST_F(SolveProgram, StoredIntegerProgramKeepsItsTicks) {
  UseProgramFolder();
  const char* const text = "max 1 0\n2/3 5/4 <= 5/2\n1/2 1/2 <= 3\nint 1 2\n";
  const fs::path data = Dir / "data";
  int id = -1;
  {
    TMessageRecorder messages;
    TDM dm(data);
    ASSERT_TRUE(dm.IsOpen());
    const int temp = dm.CreateTempTask();
    TTextFormatError error;
    ASSERT_TRUE(StoreStatement(dm, temp, *ParseStatementText(text, error)));
    ASSERT_TRUE(dm.InsertRows(temp, std::vector<TGomoryRow>{{3, 1}, {0, 1}}));
    id = dm.SaveTempTaskAs("Целые точки", 24);
    ASSERT_GT(id, 0);
    dm.DropTempTask();
  }
  const TRun r = Run("--json -o report.html --data data --id " + std::to_string(id));
  EXPECT_EQ(r.Status, 0) << r.Err;
  const nlohmann::json answer = nlohmann::json::parse(r.Out);
  EXPECT_EQ(answer.at("type"), 24);
  EXPECT_EQ(answer.at("objective"), "3");
  EXPECT_EQ(ReadFile(Dir / "report.html"), Expected(text));
}

// Every problem of tests/data/<task>/, all files of a folder in one call as a teacher runs them:
// the answer line of each against the expected table, and each report byte for byte the report of
// the task runner.
TEST_F(SolveProgram, EveryTableProblemAnswersAsExpectedWithTheRunnersReport) {
  UseProgramFolder();
  for (const auto& entry : fs::directory_iterator(KELVANO_TEST_DATA)) {
    const fs::path folder = entry.path();
    if (!fs::exists(folder / "expected")) continue;
    const std::vector<xc::TExpected> rows = xc::ReadExpected(folder);
    std::string args = "--json -d out";
    for (const xc::TExpected& row : rows) args += " '" + (folder / row.File).string() + "'";
    fs::remove_all(Dir / "out");
    const TRun r = Run(args);
    std::istringstream lines(r.Out);
    for (const xc::TExpected& row : rows) {
      SCOPED_TRACE(folder.filename().string() + "/" + row.File);
      std::string line;
      ASSERT_TRUE(std::getline(lines, line)) << r.Err;
      const nlohmann::json answer = nlohmann::json::parse(line);
      EXPECT_EQ(answer.at("file"), (folder / row.File).string());
      EXPECT_EQ(answer.at("status"), row.Status);
      if (!row.Objective.empty()) {
        const nlohmann::json& objective = answer.at("objective");
        EXPECT_EQ(objective.is_string() ? objective.get<std::string>() : objective.dump(), row.Objective);
      }
      if (!row.X.empty()) {
        const nlohmann::json& x = answer.contains("x") ? answer.at("x") : answer.at("assignment");
        std::vector<std::string> got;
        for (const auto& v : x) got.push_back(v.is_string() ? v.get<std::string>() : v.dump());
        EXPECT_EQ(got, row.X);
      }
      const std::string stem = fs::path(row.File).stem().string();
      EXPECT_EQ(ReadFile(Dir / "out" / (stem + ".html")), Expected(xc::ReadText(folder / row.File)));
    }
  }
}

// --json: one line per problem, the fields of its status and no others, the exit status of the first
// problem that did not end at the optimum.
TEST_F(SolveProgram, JsonAnswerLinesCarryTheFieldsOfTheirStatus) {
  struct TJsonCase {
    const char* File;
    const char* Text;
    nlohmann::json Line;
  };
  const TJsonCase cases[] = {
      {"max.lp",
       "max 3 2\n1 1 <= 4\n1 3 <= 6\n",
       {{"file", "max.lp"},
        {"type", 8},
        {"status", "optimal"},
        {"message", "найдено оптимальное решение"},
        {"objective", "12"},
        {"x", {"4", "0"}}}},
      {"min.lp",
       "min 2 -1\nconst 3\n1 1 <= 4\n1 -1 >= 1\n",
       {{"file", "min.lp"},
        {"type", 8},
        {"status", "optimal"},
        {"message", "найдено оптимальное решение"},
        {"objective", "5"},
        {"x", {"1", "0"}}}},
      {"unbounded.lp",
       "max 1 1\n1 -1 <= 1\n",
       {{"file", "unbounded.lp"},
        {"type", 8},
        {"status", "unbounded"},
        {"message", "целевая функция не ограничена, решения нет"}}},
      {"infeasible.lp",
       "max 1\n1 >= 2\n1 <= 1\n",
       {{"file", "infeasible.lp"},
        {"type", 8},
        {"status", "infeasible"},
        {"message", "система ограничений несовместна, допустимых решений нет"}}},
      {"bad.lp",
       "max 1 2\n1 x <= 3\n",
       {{"file", "bad.lp"},
        {"type", 8},
        {"status", "bad_input"},
        {"message", "ошибка во входных данных"},
        {"error", "bad.lp:2: коэффициент 2: \"x\" не является рациональным числом (пример: 5, 1/2, -4/3)"}}},
  };
  std::string args = "--json";
  for (const TJsonCase& c : cases) {
    Write(c.File, c.Text);
    args += std::string(" ") + c.File;
  }
  const TRun r = Run(args);
  EXPECT_EQ(r.Status, 2) << "the unbounded problem is the first without an optimum";
  std::istringstream lines(r.Out);
  for (const TJsonCase& c : cases) {
    SCOPED_TRACE(c.File);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(nlohmann::json::parse(line), c.Line);
  }
  EXPECT_FALSE(fs::exists(Dir / "max.html")) << "--json alone writes no report";
}

} // namespace
