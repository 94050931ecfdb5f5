// kelvano-solve run as a process: reports equal to the windowless run, exit statuses, bad files, the store.
#include "AppPaths.h"
#include "DataMod.h"
#include "LinearStatement.h"
#include "MessageRecorder.h"
#include "ZLPCore_Pages.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_TextFormat.h"

#include <gtest/gtest.h>

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
    const auto statement = ParseLinearProgramText(text, error);
    EXPECT_TRUE(statement.has_value());
    TZLPCore_SubInterface_ZLP zlp;
    EXPECT_TRUE(ReadLinearStatement(*statement, zlp));
    TZLPCore_SolutionResult report;
    RunLinearTask(zlp, report);
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
    TLinearStatementText text;
    TTextFormatError error;
    text = *ParseLinearProgramText(ProductMix, error);
    TZLPCore_SubInterface_ZLP zlp;
    ASSERT_TRUE(ReadLinearStatement(text, zlp));
    ASSERT_TRUE(StoreLinearStatement(dm, temp, zlp));
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

} // namespace
