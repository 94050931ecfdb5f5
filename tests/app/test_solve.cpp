// kelvano-solve run as a process: reports equal to the windowless run, exit statuses, bad files, the store.
#include "AppPaths.h"
#include "DataMod.h"
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "SqliteDb.h"
#include "StatementStore.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_SolutionResult.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

const char* const ProductMix = "# product mix\nmax 3 2\n1 1 <= 4\n1 3 <= 6\n";

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

  // Saves the product mix in a store in folder under name; its id.
  static int SaveProductMix(const fs::path& folder, const std::string& name) {
    TMessageRecorder messages;
    TDM dm(folder);
    EXPECT_TRUE(dm.IsOpen());
    const int temp = dm.CreateTempTask();
    TTextFormatError error;
    EXPECT_TRUE(StoreStatement(dm, temp, *ParseStatementText(ProductMix, error)));
    const int id = dm.SaveTempTaskAs(name, 8);
    EXPECT_GT(id, 0);
    dm.DropTempTask();
    return id;
  }

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

  // Runs the program in Dir (or in a folder inside it) with a temporary folder of its own, which
  // it must leave empty; a run that blocks is ended after a minute.
  TRun Run(const std::string& args, const std::string& inside = ".", const std::string& input = {}) {
    const fs::path out = Dir / "stdout";
    const fs::path err = Dir / "stderr";
    fs::create_directories(Dir / "tmp");
    const std::string cmd = std::string("cd '") + (Dir / inside).string() + "' && TMPDIR='" + (Dir / "tmp").string() +
                            "' timeout 60 '" + KELVANO_SOLVE + "' " + args + " >'" + out.string() + "' 2>'" +
                            err.string() + "' <" +
                            (input.empty() ? std::string("/dev/null") : "'" + Write("stdin", input).string() + "'");
    const int raw = std::system(cmd.c_str());
    TRun r;
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = ReadFile(out);
    r.Err = ReadFile(err);
    return r;
  }

  // The report the program must write: the same run made in this process.
  static std::string Expected(const std::string& text, TTableForm form = TTableForm::Compact,
                              TStartMethod start = TStartMethod::Dual) {
    TTextFormatError error;
    const auto statement = ParseStatementText(text, error);
    EXPECT_TRUE(statement.has_value());
    if (!statement) return {};
    TZLPCore_Interface data;
    TStatementError readError;
    EXPECT_TRUE(ReadStatement(*statement, data, readError));
    data.TableForm = form;
    data.StartMethod = start;
    TZLPCore_SolutionResult report;
    RunTask(statement->TaskType, data, report);
    return Utf8ToCp1251(report.BuildDocument());
  }

  fs::path Dir;
};

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
        TVerdictCase{"BeyondThirtyTwoBits", "max 1\n1/2147483647 <= 2147483647\n", 0, "найдено оптимальное решение"}),
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
                                                    "bad.lp:1: байт 1: файл не является текстом"}),
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

// The transportation problem: the plan of --json without the fictitious column, and the first plan
// chosen by --transport-start over the text's own line, which changes the report and not the optimum.
TEST_F(SolveProgram, TransportPlanAndItsFirstPlanOption) {
  UseProgramFolder();
  const std::string text = "transport\nstart vogel\nsupply 50 60\ndemand 30 30 30\n1 2 3\n4 1 2\n";
  Write("ship.txt", text);
  const TRun plain = Run("--json ship.txt");
  ASSERT_EQ(plain.Status, 0) << plain.Err;
  const nlohmann::json answer = nlohmann::json::parse(plain.Out);
  EXPECT_EQ(answer.at("objective"), "120");
  EXPECT_EQ(answer.at("plan"), nlohmann::json::parse(R"([["30","0","0"],["0","30","30"]])"));
  const TRun northwest = Run("--transport-start=northwest -o nw.html ship.txt");
  ASSERT_EQ(northwest.Status, 0) << northwest.Err;
  std::string asNorthwest = text;
  asNorthwest.replace(asNorthwest.find("vogel"), 5, "northwest");
  EXPECT_EQ(ReadFile(Dir / "nw.html"), Expected(asNorthwest));
  EXPECT_NE(ReadFile(Dir / "nw.html"), Expected(text));
  EXPECT_EQ(Run("--transport-start=east ship.txt").Status, 64);
}

// --table and --start give the report of the runner with those choices, the same answer line, and
// refuse a word they do not know.
TEST_F(SolveProgram, TableFormAndStartOptions) {
  UseProgramFolder();
  const std::string diet = "min 3 2\n2 1 >= 8\n1 1 >= 6\n1 3 >= 9\n";
  Write("diet.lp", diet);
  const TRun plain = Run("--json diet.lp");
  ASSERT_EQ(plain.Status, 0) << plain.Err;
  const TRun both = Run("--table=textbook --start artificial --json -o d.html diet.lp");
  ASSERT_EQ(both.Status, 0) << both.Err;
  EXPECT_EQ(both.Out, plain.Out);
  const std::string report = ReadFile(Dir / "d.html");
  EXPECT_EQ(report, Expected(diet, TTableForm::Textbook, TStartMethod::Artificial));
  EXPECT_NE(report.find("colspan=3>C<sub>j</sub>"), std::string::npos);
  EXPECT_NE(report.find("-23M"), std::string::npos);
  ASSERT_EQ(Run("--table=compact --start=dual -o c.html diet.lp").Status, 0);
  EXPECT_EQ(ReadFile(Dir / "c.html"), Expected(diet));
  EXPECT_EQ(Run("--table=wide diet.lp").Status, 64);
  EXPECT_EQ(Run("--start=two-phase diet.lp").Status, 64);
}

// The command line as getopt_long reads it: values after "=" or as the next argument, "--" ending
// the options, "-" standard input; a bad option is one line naming it and pointing to --help.
struct TCommandLine {
  const char* Name;
  std::string Args;
  std::string Input; // standard input; /dev/null when empty
  int Status;
  std::string Out;     // what standard output holds; "=report" the product mix's report itself
  std::string Err;     // what standard error holds
  std::string Written; // a file the run writes, "" for none
};

class SolveCommandLines : public SolveProgram, public ::testing::WithParamInterface<TCommandLine> {};

TEST_P(SolveCommandLines, AreReadAsOptionsFilesAndStandardInput) {
  const TCommandLine& c = GetParam();
  UseProgramFolder();
  Write("mix.lp", ProductMix);
  Write("-mix.lp", ProductMix);
  const TRun r = Run(c.Args, ".", c.Input);
  EXPECT_EQ(r.Status, c.Status) << r.Err;
  if (c.Out == "=report")
    EXPECT_EQ(r.Out, Expected(ProductMix));
  else
    EXPECT_NE(r.Out.find(c.Out), std::string::npos) << r.Out;
  EXPECT_NE(r.Err.find(c.Err), std::string::npos) << r.Err;
  if (c.Status == 64) {
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << "one line: " << r.Err;
    EXPECT_NE(r.Err.find("--help"), std::string::npos) << r.Err;
    EXPECT_TRUE(r.Out.empty());
  }
  if (!c.Written.empty()) {
    EXPECT_EQ(ReadFile(Dir / c.Written), Expected(ProductMix));
  }
  EXPECT_FALSE(fs::exists(Dir / "stdin.html"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SolveCommandLines,
    ::testing::Values(
        TCommandLine{"Version", "--version", "", 0, "kelvano-solve 1.0\n", "", ""},
        TCommandLine{"ShortVersion", "-V", "", 0, "kelvano-solve 1.0", "", ""},
        TCommandLine{"OutputAfterEquals", "--output=r.html mix.lp", "", 0, "", "mix.lp: найдено", "r.html"},
        TCommandLine{"OutputAsNextArgument", "mix.lp --output r.html", "", 0, "", "mix.lp: найдено", "r.html"},
        TCommandLine{"ShortOutputJoined", "-or.html mix.lp", "", 0, "", "mix.lp: найдено", "r.html"},
        TCommandLine{"DoubleDashEndsOptions", "-- -mix.lp", "", 0, "=report", "-mix.lp: найдено", ""},
        TCommandLine{"StandardInput", "-", ProductMix, 0, "=report", "-: найдено оптимальное решение", ""},
        TCommandLine{"StandardInputToFile", "-o r.html -", ProductMix, 0, "", "-: найдено", "r.html"},
        TCommandLine{"StandardInputJson", "--json -", ProductMix, 0,
                     "{\"file\":\"-\",\"type\":8,\"status\":\"optimal\"", "", ""},
        TCommandLine{"StandardInputBad", "-", "max 1 2\n1 x <= 3\n", 1, "", "-:2: коэффициент 2", ""},
        TCommandLine{"UnknownOption", "--bogus mix.lp", "", 64, "", "неизвестный параметр --bogus;", ""},
        TCommandLine{"UnknownOptionWithValue", "--bogus=3 mix.lp", "", 64, "", "неизвестный параметр --bogus;", ""},
        TCommandLine{"UnknownShortOption", "-x mix.lp", "", 64, "", "неизвестный параметр -x;", ""},
        TCommandLine{"ValueMissing", "mix.lp --output", "", 64, "", "после --output нужно значение", ""},
        TCommandLine{"NoValueForFlag", "--json=yes mix.lp", "", 64, "", "параметр --json пишется без значения", ""},
        TCommandLine{"BadId", "--id=seven", "", 64, "", "\"seven\" не номер задачи", ""},
        TCommandLine{"BadEncoding", "--encoding=koi8-r mix.lp", "", 64, "", "неизвестная кодировка \"koi8-r\"", ""},
        TCommandLine{"StandardInputTwice", "- -", ProductMix, 64, "", "«-»", ""},
        TCommandLine{"Nothing", "", "", 64, "", "не задано ни одной задачи", ""}),
    [](const ::testing::TestParamInfo<TCommandLine>& info) { return info.param.Name; });

// --encoding=utf-8 writes a page that keeps its look wherever it goes: UTF-8, the style sheet
// inside it and no link to the program's folder; the body is the windows-1251 report's own.
TEST_F(SolveProgram, Utf8ReportCarriesItsStyleSheet) {
  UseProgramFolder();
  Write("mix.lp", ProductMix);
  const TRun r = Run("--encoding=utf-8 -o r.html mix.lp");
  ASSERT_EQ(r.Status, 0) << r.Err;
  const std::string page = ReadFile(Dir / "r.html");
  EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
  EXPECT_EQ(page.find("windows-1251"), std::string::npos);
  EXPECT_EQ(page.find("<link"), std::string::npos);
  const std::string sheet = ReadFile(fs::path(KELVANO_SOLVE).parent_path() / "help" / "main.css");
  ASSERT_FALSE(sheet.empty());
  EXPECT_NE(page.find(sheet.substr(0, 200)), std::string::npos) << "the style sheet is inside the page";
  // The same report as the windows-1251 one, character for character.
  const std::string body = page.substr(page.find(" <body>"));
  const std::string cp1251 = Expected(ProductMix);
  EXPECT_EQ(Utf8ToCp1251(body), cp1251.substr(cp1251.find(" <body>")));
  EXPECT_NE(body.find("Ответ:"), std::string::npos);
}

// On a terminal the report is read by a person: UTF-8, as the terminal is (script(1) gives the
// program a terminal); through a pipe it keeps the windows' form.
TEST_F(SolveProgram, ReportOnATerminalIsUtf8) {
  UseProgramFolder();
  Write("mix.lp", ProductMix);
  const fs::path typescript = Dir / "typescript";
  const std::string cmd = "cd '" + Dir.string() + "' && TMPDIR='" + Dir.string() + "' script -qec \"'" +
                          KELVANO_SOLVE + "' mix.lp 2>/dev/null\" '" + typescript.string() + "' >/dev/null </dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const std::string shown = ReadFile(typescript);
  EXPECT_NE(shown.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(shown.find("Ответ:"), std::string::npos);
  const TRun piped = Run("mix.lp");
  EXPECT_NE(piped.Out.find("charset=windows-1251"), std::string::npos);
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
  const int id = SaveProductMix(data, "Производство");
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
      if (answer.contains("A")) {
        // A regression: its row gives A and B, which are compared to 1e-9 of their size.
        ASSERT_EQ(row.X.size(), 1U);
        for (const auto& [field, text] : {std::pair{"A", row.Objective}, std::pair{"B", row.X[0]}}) {
          const double expected = std::stod(text);
          EXPECT_NEAR(answer.at(field).get<double>(), expected, 1e-9 * std::max(1.0, std::abs(expected))) << field;
        }
      } else if (!row.Objective.empty()) {
        const nlohmann::json& objective = answer.at("objective");
        EXPECT_EQ(objective.is_string() ? objective.get<std::string>() : objective.dump(), row.Objective);
      }
      if (!row.X.empty() && !answer.contains("A")) {
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
        {"objective_float", 12.0},
        {"x", {"4", "0"}},
        {"dual", {"3", "0"}},
        {"ranges", nlohmann::json::parse(R"({"b": [["0", "6"], ["4", null]], "c": [["2", null], [null, "3"]]})")}}},
      {"min.lp",
       "min 2 -1\nconst 3\n1 1 <= 4\n1 -1 >= 1\n",
       {{"file", "min.lp"},
        {"type", 8},
        {"status", "optimal"},
        {"message", "найдено оптимальное решение"},
        {"objective", "5"},
        {"objective_float", 5.0},
        {"x", {"1", "0"}},
        {"dual", {"0", "2"}},
        {"ranges", nlohmann::json::parse(R"({"b": [["1", null], ["0", "4"]], "c": [["1", null], ["-2", null]]})")}}},
      {"unbounded.lp",
       "max 1 1\n1 -1 <= 1\n",
       {{"file", "unbounded.lp"},
        {"type", 8},
        {"status", "unbounded"},
        {"message", "целевая функция не ограничена, оптимума нет"}}},
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

// Every entry under folder by its relative name: a link by its target, a file by its size and a
// hash of its bytes. Equal prints mean nothing was written, created, removed or followed.
std::map<std::string, std::string> Fingerprint(const fs::path& folder) {
  std::map<std::string, std::string> prints;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const fs::path& p = entry.path();
    const std::string name = fs::relative(p, folder).string();
    if (entry.is_symlink())
      prints[name] = "link to " + fs::read_symlink(p).string();
    else if (entry.is_directory())
      prints[name] = "folder";
    else if (!entry.is_regular_file())
      prints[name] = "neither file nor folder"; // a pipe is never opened here
    else {
      std::ifstream in(p, std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      prints[name] = std::to_string(bytes.size()) + " bytes, hash " + std::to_string(std::hash<std::string>{}(bytes));
    }
  }
  return prints;
}

void ExecSql(const fs::path& file, const std::string& sql) {
  TSqliteDb db;
  ASSERT_TRUE(db.Open(file)) << file;
  ASSERT_TRUE(db.Exec(sql)) << sql << ": " << db.LastError().Text;
}

// A store damaged in one way: the program says what and where, ends with status 1, and leaves
// every file of the store, and every file a link points to, exactly as it was.
struct TDamagedStore {
  const char* Name;
  std::function<void(const fs::path& data)> Spoil;
  const char* Message;
  int Status = 1;
  const char* Data = "data"; // the --data argument, run inside the folder that holds the store
};

class SolveDamagedStore : public SolveProgram, public ::testing::WithParamInterface<TDamagedStore> {};

TEST_P(SolveDamagedStore, IsNamedAndLeftAsItWas) {
  const TDamagedStore& c = GetParam();
  const fs::path store = Dir / "store";
  const int id = SaveProductMix(store / "data", "Производство");
  fs::copy_file(store / "data" / "Simplex1.db", store / "other.db");
  c.Spoil(store / "data");
  const auto before = Fingerprint(store);
  const TRun r = Run(std::string("--data '") + c.Data + "' --id " + std::to_string(id), "store");
  EXPECT_EQ(r.Status, c.Status) << r.Err;
  EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
  if (c.Status != 0) {
    EXPECT_TRUE(r.Out.empty()) << "nothing of the problem is solved";
  }
  EXPECT_EQ(Fingerprint(store), before);
  EXPECT_TRUE(fs::is_empty(Dir / "tmp"));
}

void Sql(const fs::path& data, const char* file, const std::string& sql) { ExecSql(data / file, sql); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SolveDamagedStore,
    ::testing::Values(
        TDamagedStore{"MissingFile", [](const fs::path& d) { fs::remove(d / "Simplex1.db"); },
                      "база задач недоступна: «data/Simplex1.db» — файл не найден"},
        TDamagedStore{"EmptyFile", [](const fs::path& d) { fs::resize_file(d / "Tasks.db", 0); },
                      "«data/Tasks.db» — файл пуст"},
        TDamagedStore{"LinkToAnotherFile",
                      [](const fs::path& d) {
                        fs::remove(d / "Simplex1.db");
                        fs::create_symlink("../other.db", d / "Simplex1.db");
                      },
                      "«data/Simplex1.db» — файл является символической ссылкой"},
        TDamagedStore{"DanglingLink",
                      [](const fs::path& d) {
                        fs::remove(d / "Gomory.db");
                        fs::create_symlink("../nowhere.db", d / "Gomory.db");
                      },
                      "«data/Gomory.db» — файл является символической ссылкой"},
        TDamagedStore{"MissingFolder", [](const fs::path&) {}, "«nowhere» — папка не найдена", 1, "nowhere"},
        TDamagedStore{"UnknownRelationCode",
                      [](const fs::path& d) { Sql(d, "Simplex2.db", "UPDATE Simplex2 SET Sign = 3 WHERE Y = 2"); },
                      "таблица Simplex2.db: знак ограничения 2 имеет неизвестный код 3"},
        TDamagedStore{"MissingRelation",
                      [](const fs::path& d) { Sql(d, "Simplex2.db", "DELETE FROM Simplex2 WHERE Y = 1"); },
                      "таблица Simplex2.db: знак ограничения 1 отсутствует"},
        TDamagedStore{"MoreVariablesThanCells",
                      [](const fs::path& d) { Sql(d, "Tasks.db", "UPDATE Tasks SET Sx = 3"); },
                      "ячейка (X = 3, Y = 0) (коэффициент при X3 в целевой функции) отсутствует"},
        TDamagedStore{"FewerConstraintsThanCells",
                      [](const fs::path& d) { Sql(d, "Tasks.db", "UPDATE Tasks SET Sy = 1"); },
                      "таблица Simplex1.db: ячейка (X = 0, Y = 2) вне условия задачи"},
        TDamagedStore{"NoConstraints", [](const fs::path& d) { Sql(d, "Tasks.db", "UPDATE Tasks SET Sy = 0"); },
                      "размер Sy = 0 вне допустимых пределов 1…255"},
        TDamagedStore{"DirectionBeyond32Bits",
                      [](const fs::path& d) { Sql(d, "Tasks.db", "UPDATE Tasks SET Max = 4294967296"); },
                      "направление Max = 4294967296: допустимы 0 и 1"},
        TDamagedStore{"SizeBeyond32Bits",
                      [](const fs::path& d) { Sql(d, "Tasks.db", "UPDATE Tasks SET Sx = 4294967298"); },
                      "размер Sx = 4294967298 вне допустимых пределов"},
        TDamagedStore{"RelationCodeBeyond32Bits",
                      [](const fs::path& d) { Sql(d, "Simplex2.db", "UPDATE Simplex2 SET Sign = 4294967296"); },
                      "знак ограничения 1 имеет неизвестный код 4294967296"},
        TDamagedStore{"DirectionAFraction", [](const fs::path& d) { Sql(d, "Tasks.db", "UPDATE Tasks SET Max = 1.5"); },
                      "направление Max = не целое число"},
        TDamagedStore{
            "BadStoredNumber",
            [](const fs::path& d) { Sql(d, "Simplex1.db", "UPDATE Simplex1 SET V = '1/x' WHERE X = 2 AND Y = 1"); },
            "«Производство», таблица Simplex1.db, ячейка (X = 2, Y = 1) (коэффициент при X2 в "
            "ограничении 1) «1/x»"},
        // A folder whose name reads as an SQLite URI is a folder all the same.
        TDamagedStore{"FolderNamedLikeAUri",
                      [](const fs::path& d) { fs::rename(d, d.parent_path() / "file:data?mode=memory"); },
                      "найдено оптимальное решение", 0, "file:data?mode=memory"}),
    [](const ::testing::TestParamInfo<TDamagedStore>& info) { return info.param.Name; });

// Inputs that once ended a run or were refused though they have an answer: every problem gets its
// answer line (valid UTF-8 JSON whatever the bytes of a name), the problems after a bad one are still
// answered, and the stores read are left byte for byte as they were, side files of WAL mode included.
TEST_F(SolveProgram, EveryInputIsAnsweredAndNoStoreIsTouched) {
  UseProgramFolder();
  Write("good.lp", ProductMix);
  Write("named\377.lp", ProductMix);
  Write("twomax.lp", "max 3 2\nmax 1 1\n1 1 <= 4\n");
  Write("upper.lp", "MAX 3 2\nCONST 1\nDEN 1 1\nDenConst 1\n1 1 <= 4\n1 3 <= 6\n");
  std::string observations = "REGRESS\n";
  for (int i = 1; i <= 32000; ++i)
    observations += std::to_string(i % 10) + " " + std::to_string(2 * (i % 10) + 1) + "\n";
  Write("limit.txt", observations);
  std::string more;
  for (int i = 0; i < 100000; ++i) more += "1 3\n";
  Write("long.txt", observations + more);

  // A store with two problems of one name and one whose cell holds bytes that are not UTF-8.
  const fs::path data = Dir / "data";
  const int first = SaveProductMix(data, "Производство");
  const int second = SaveProductMix(data, "Производство");
  const int spoilt = SaveProductMix(data, "Порча");
  ExecSql(data / "Simplex1.db", "UPDATE Simplex1 SET V = CAST(X'31FF' AS TEXT) WHERE TaskId = " +
                                    std::to_string(spoilt) + " AND X = 2 AND Y = 0");
  // A store in WAL mode without side files, and one a program still holds open with a change not
  // yet moved out of its -wal file into the table file.
  const int walId = SaveProductMix(Dir / "wal", "Производство");
  for (const char* file : {"Tasks.db", "Simplex1.db", "Simplex2.db", "Gomory.db", "Quadro.db"})
    ExecSql(Dir / "wal" / file, "PRAGMA journal_mode = WAL");
  fs::copy(Dir / "wal", Dir / "live", fs::copy_options::recursive);
  TSqliteDb writer;
  ASSERT_TRUE(writer.Open(Dir / "live" / "Simplex1.db"));
  ASSERT_TRUE(writer.Exec("PRAGMA wal_autocheckpoint = 0; UPDATE Simplex1 SET V = '7' WHERE TaskId = " +
                          std::to_string(walId) + " AND X = 0 AND Y = 1"));
  ASSERT_TRUE(fs::file_size(Dir / "live" / "Simplex1.db-wal") > 0);

  const nlohmann::json mix = {{"type", 8}, {"status", "optimal"}, {"objective", "12"}, {"x", {"4", "0"}}};
  const auto line = [](nlohmann::json fields, const char* file) {
    fields["file"] = file;
    return fields;
  };
  const nlohmann::json good = line(mix, "good.lp");
  nlohmann::json named = line(mix, "named\xEF\xBF\xBD.lp");
  named["file_bytes"] = "named\\xFF.lp";
  const std::string twice = "задач с таким названием в базе 2 (номера " + std::to_string(first) + ", " +
                            std::to_string(second) + "), решается задача с наименьшим номером, " +
                            std::to_string(first);
  struct TCase {
    const char* Name;
    std::string Args;
    int Status;
    std::vector<nlohmann::json> Lines; // fields each line must have; "error" is a part of the error
    std::string Err{};                 // a part of standard error
  };
  const TCase cases[] = {
      {"NameNotUtf8", "'named\377.lp' good.lp", 0, {named, good}},
      {"MissingNameNotUtf8",
       "'gone\\\377.lp' good.lp",
       1,
       {{{"file", "gone\\\xEF\xBF\xBD.lp"},
         {"file_bytes", "gone\\\\\\xFF.lp"},
         {"status", "bad_input"},
         {"error", "gone\\\xEF\xBF\xBD.lp: файл не найден"}},
        good}},
      {"SecondObjectiveLine",
       "twomax.lp good.lp",
       1,
       {{{"file", "twomax.lp"},
         {"status", "bad_input"},
         {"error", "twomax.lp:2: целевая функция: вторая строка целевой функции"}},
        good}},
      {"KeywordsInUpperCase",
       "upper.lp",
       0,
       {{{"file", "upper.lp"}, {"type", 56}, {"status", "optimal"}, {"objective", "13/5"}, {"x", {"4", "0"}}}}},
      {"ObservationsUpToTheLimit", "limit.txt", 0, {{{"file", "limit.txt"}, {"status", "solved"}, {"A", 2.0}}}},
      {"ObservationsPastTheLimit",
       "long.txt good.lp",
       1,
       {{{"file", "long.txt"}, {"type", 104}, {"status", "bad_input"}, {"error", "long.txt:32002: наблюдение 32001"}},
        good}},
      {"StoredNameTwiceAndACellNotUtf8",
       "--data data --id " + std::to_string(spoilt) + " --id " + std::to_string(first) + " --name 'Производство'",
       1,
       {{{"file", "id:" + std::to_string(spoilt)}, {"status", "bad_input"}, {"error", "«1\xEF\xBF\xBD»"}},
        line(mix, ("id:" + std::to_string(first)).c_str()),
        line(mix, ("id:" + std::to_string(first)).c_str())},
       twice},
      {"StoreInWalMode",
       "--data wal --id " + std::to_string(walId),
       0,
       {line(mix, ("id:" + std::to_string(walId)).c_str())}},
      {"StoreHeldOpenInWalMode",
       "--data live --id " + std::to_string(walId),
       0,
       {{{"file", "id:" + std::to_string(walId)}, {"status", "optimal"}, {"objective", "18"}, {"x", {"6", "0"}}}}},
  };
  const auto stores = [&] {
    return std::vector{Fingerprint(data), Fingerprint(Dir / "wal"), Fingerprint(Dir / "live")};
  };
  const auto before = stores();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRun r = Run("--json " + c.Args);
    EXPECT_EQ(r.Status, c.Status) << r.Err;
    std::istringstream lines(r.Out);
    for (const nlohmann::json& expected : c.Lines) {
      std::string text;
      ASSERT_TRUE(std::getline(lines, text)) << r.Err;
      const nlohmann::json answer = nlohmann::json::parse(text); // throws on bytes that are not UTF-8
      EXPECT_EQ(answer.contains("file_bytes"), expected.contains("file_bytes")) << text;
      for (const auto& [key, value] : expected.items()) {
        ASSERT_TRUE(answer.contains(key)) << key << " in " << text;
        if (key == "error")
          EXPECT_NE(answer.at(key).get<std::string>().find(value.get<std::string>()), std::string::npos) << text;
        else
          EXPECT_EQ(answer.at(key), value) << key << " in " << text;
      }
    }
    std::string rest;
    EXPECT_FALSE(std::getline(lines, rest)) << "one line per problem: " << rest;
    EXPECT_NE(r.Err.find(c.Err), std::string::npos) << r.Err;
    EXPECT_EQ(stores(), before) << "a read changes nothing in a store";
    EXPECT_TRUE(fs::is_empty(Dir / "tmp"));
  }
  EXPECT_FALSE(fs::exists(Dir / "wal" / "Tasks.db-shm")) << "no side file is made";
}

// Reports never replace an input or a report of the same run (the clash is named and that report
// skipped), only regular files up to 16 MB are read, and neither a pipe nor a device makes the
// program wait.
TEST_F(SolveProgram, NoInputOrEarlierReportIsOverwrittenAndNothingBlocks) {
  Write("mix.lp", ProductMix);
  Write("foo.html", ProductMix);
  fs::create_directories(Dir / "a");
  fs::create_directories(Dir / "b");
  Write("a/same.lp", ProductMix);
  Write("b/same.lp", "max 1 1\n1 -1 <= 1\n");
  ASSERT_EQ(mkfifo((Dir / "pipe.lp").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((Dir / "pipe.html").c_str(), 0600), 0);
  { std::ofstream(Dir / "huge.lp", std::ios::binary) << ProductMix; }
  fs::resize_file(Dir / "huge.lp", 17 * 1024 * 1024);
  SaveProductMix(Dir / "data", "../escape");

  struct TCase {
    const char* Name;
    std::string Args;
    int Status;
    const char* Message;
    std::vector<const char*> Written; // reports that must be there afterwards
  };
  const TCase cases[] = {
      {"InputNamedLikeAReport",
       "foo.html mix.lp",
       1,
       "отчёт не записан в «foo.html»: это входной файл «foo.html»",
       {"mix.html"}},
      {"OutputIsTheInput", "mix.lp -o mix.lp", 1, "отчёт не записан в «mix.lp»: это входной файл «mix.lp»", {}},
      {"TwoInputsWithOneStem",
       "a/same.lp b/same.lp -d out",
       1,
       "b/same.lp: отчёт не записан в «out/same.html»: в этот файл уже записан отчёт другой задачи",
       {"out/same.html"}},
      {"PipeAsInput", "pipe.lp mix.lp -d out", 1, "pipe.lp: это не обычный файл", {"out/mix.html"}},
      {"PipeAsOutput", "mix.lp -o pipe.html", 1, "на его месте находится не обычный файл", {}},
      {"DeviceAsInput", "/dev/zero", 1, "/dev/zero: это не обычный файл", {}},
      {"FileBeyondTheLimit", "huge.lp", 1, "huge.lp: файл больше 16 МБ", {}},
      // A name from the store is a file name inside the folder, never a path out of it.
      {"StoredNameWithAPath",
       "--data data --name ../escape -d out",
       0,
       "найдено оптимальное решение",
       {"out/_.._escape.html"}},
  };
  const auto inputs = Fingerprint(Dir);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove_all(Dir / "out");
    fs::remove(Dir / "mix.html");
    const TRun r = Run(c.Args);
    EXPECT_EQ(r.Status, c.Status) << r.Err;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
    for (const char* report : c.Written) EXPECT_TRUE(fs::is_regular_file(Dir / report)) << report;
    auto after = Fingerprint(Dir);
    for (const auto& [name, print] : inputs) EXPECT_EQ(after[name], print) << name;
    EXPECT_TRUE(fs::is_empty(Dir / "tmp"));
  }
  UseProgramFolder();
  EXPECT_EQ(ReadFile(Dir / "out" / "_.._escape.html"), Expected(ProductMix));
  EXPECT_FALSE(fs::exists(Dir / "escape.html"));
}

} // namespace
