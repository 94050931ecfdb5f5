// Timed run of the wizard's last steps on the 40 x 40 linear program: from "Далее" on the simplex step
// (after "Решить") to the final report laid out in the result step's viewer, and the load and layout
// of two more pages of the same run in a viewer of their own: the simplex step's section as a step
// page and the whole final report as the main window shows it.
//
// Run under a display, for example: xvfb-run -a bench/bench_wizard [FOLDER ...]
// The pages link the style sheet of the program's help (the source tree's help/main.css); each FOLDER
// given is a program folder whose help/main.css, another version of the style sheet, is timed in the
// same run after it. A page counts as laid out when the engine has answered the height of its body.
// It prints the figures; the bar is 2 s from "Далее" to the final report laid out. Then, once, the
// largest linear program the input takes, 255 equations X_i = 1 over 255 variables (tables of 511 x 766
// cells): entered, solved with "Решить" and taken to the final report, with the peak memory of the
// program (the web engine's own processes not counted); the bars are 20 s and 1 GB, and 1 s for each
// of its pages laid out. Last, the two integer programs with the longest reports, written as
// kelvano-solve writes them and laid out in a viewer (bar 1 s each): a mixed program whose cuts stop at
// the guard of digits after 188 cuts, and an endless division stopped after 500 nodes of branch and
// bound.
#include "AppPaths.h"
#include "BenchProblems.h"
#include "BranchBound.h"
#include "DataMod.h"
#include "MessageSeam.h"
#include "Pages.h"
#include "StatementStore.h"
#include "StepClasses.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "untStagePage.h"
#include "untStep_SimplexSolve.h"
#include "untStep_ZLPInput.h"
#include "untWebViewer.h"
#include "untZLPWizard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

class TSilentSink final : public TMessageSink {
public:
  TMsgAnswer Show(const std::string&, const std::string&, TMsgIcon, TMsgButtons) override { return TMsgAnswer::Ok; }
};

// Peak resident set size of this process in megabytes, from /proc.
double PeakResidentMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
  return -1;
}

struct TPageTime {
  qint64 Ms = -1;  // from the start to the layout's answer
  int Height = -1; // of the body, in CSS pixels
};

// Waits for the page load that started after spy was made, then for the layout.
TPageTime LaidOut(TWebBrowser& viewer, QSignalSpy& loaded, const QElapsedTimer& clock) {
  TPageTime time;
  if (loaded.isEmpty() && !loaded.wait(60000)) return time;
  QEventLoop loop;
  viewer.LayOut([&](int height) {
    time.Height = height;
    time.Ms = clock.elapsed();
    loop.quit();
  });
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  loop.exec();
  return time;
}

// A page shown in a viewer of its own, timed from the call that shows it.
TPageTime ShowAlone(const TZLPCore_SolutionResult& page) {
  TWebBrowser viewer;
  viewer.resize(1000, 800);
  viewer.show();
  static_cast<void>(QTest::qWaitForWindowExposed(&viewer));
  QSignalSpy loaded(&viewer, &TWebBrowser::LoadFinished);
  QElapsedTimer clock;
  clock.start();
  page.ShowIn(&viewer);
  return LaidOut(viewer, loaded, clock);
}

struct TRunTimes {
  qint64 Entered = -1; // from the statement shown on the input step to the simplex step shown
  qint64 Solved = -1;
  TPageTime Result;  // "Далее" on the simplex step to the result step's page laid out
  TPageTime Simplex; // the simplex step's section as a step page
  TPageTime Report;  // the final report after "Готово"
  qint64 Done = -1;  // "Готово" on the result step until the wizard has finished
  std::size_t ReportBytes = 0;
};

std::optional<TRunTimes> Run(const TStatementGrid& statement) {
  QTemporaryDir dir;
  TDM dm(std::filesystem::path(dir.path().toStdString()) / "data");
  TDMProblemStore store(dm);
  TfrmZLPWizard wizard(&store);
  TZLPCore_SolutionResult report;
  TZLPCore_Interface problem;
  wizard.Execute(TT_LINEAR, nullptr, &report, &problem, false);
  static_cast<void>(QTest::qWaitForWindowExposed(&wizard));
  auto* input = dynamic_cast<TfrmStep_ZLPInput*>(wizard.Stages.at(0));
  auto* simplex = dynamic_cast<TfrmStep_SimplexSolve*>(wizard.Stages.at(2));
  auto* result = dynamic_cast<TfrmStagePage*>(wizard.Stages.at(3));
  if (!input || !simplex || !result) return std::nullopt;
  TRunTimes times;
  QElapsedTimer clock;
  clock.start();
  input->ShowStatement(statement);
  QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
  QTest::qWait(300); // the canonical form's page loads
  QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
  if (wizard.CurrentStage != 2) return std::nullopt;
  times.Entered = clock.elapsed() - 300;

  clock.restart();
  QTest::mouseClick(simplex->Button4, Qt::LeftButton);
  times.Solved = clock.elapsed();
  if (simplex->StageData.Table.State != SS_OPTIMAL) return std::nullopt;
  QSignalSpy loaded(result->PageViewer(), &TWebBrowser::LoadFinished);
  clock.restart();
  QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
  if (wizard.CurrentStage != 3) return std::nullopt;
  times.Result = LaidOut(*result->PageViewer(), loaded, clock);

  TZLPCore_SolutionResult step;
  step.Bare = true;
  step.StyleMods = UsualPageStyle(SystemPageColors(wizard.palette()));
  step.AppendReport(&simplex->StageReport);
  times.Simplex = ShowAlone(step);

  clock.restart();
  QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
  times.Done = clock.elapsed();
  if (!wizard.Finished) return std::nullopt;
  times.ReportBytes = Utf8ToCp1251(report.BuildDocument()).size();
  times.Report = ShowAlone(report);
  return times;
}

// The final report of an integer program in the text form, by method ("gomory", "branch"), shown
// alone; -1 when it does not parse.
TPageTime IntegerReportShown(const char* text, const char* method, std::size_t& bytes) {
  TTextFormatError error;
  auto statement = ParseStatementText(text, error);
  TZLPCore_Interface data;
  TStatementError readError;
  if (!statement || !SetIntegerMethod(*statement, method) || !ReadStatement(*statement, data, readError)) return {};
  TZLPCore_SolutionResult report;
  static_cast<void>(RunTask(TT_INTEGER, data, report));
  bytes = Utf8ToCp1251(report.BuildDocument()).size();
  return ShowAlone(report);
}

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Russian));
  TSilentSink sink;
  SetMessageSink(&sink);
  InstallStepClasses();

  TTextFormatError error;
  const auto statement = ParseStatementText(Sparse40Text(), error);
  if (!statement) {
    std::fprintf(stderr, "the bench statement does not parse\n");
    return 1;
  }
  std::vector<std::string> folders{KELVANO_SOURCE_DIR "/"};
  for (int k = 1; k < argc; ++k) folders.emplace_back(std::string(argv[k]) + "/");

  bool failed = false;
  // Two rounds: the first one also starts the engine's processes and fills its caches.
  for (int round = 1; round <= 2; ++round) {
    for (const std::string& folder : folders) {
      SetProgramDir(folder);
      const std::optional<TRunTimes> t = Run(*statement);
      if (!t || t->Result.Ms < 0 || t->Simplex.Ms < 0 || t->Report.Ms < 0) {
        std::fprintf(stderr, "round %d, %smain.css: the run did not reach its pages\n", round, HelpDir().c_str());
        failed = true;
        continue;
      }
      std::printf("round %d, %smain.css:\n"
                  "  40 x 40 solved with \"Решить\" in %lld ms\n"
                  "  \"Далее\" to the result step's page laid out: %lld ms (height %d px; bar 2000 ms)\n"
                  "  the simplex step's section as a step page, loaded and laid out: %lld ms (height %d px)\n"
                  "  the final report (%zu bytes), loaded and laid out: %lld ms (height %d px)\n",
                  round, HelpDir().c_str(), static_cast<long long>(t->Solved), static_cast<long long>(t->Result.Ms),
                  t->Result.Height, static_cast<long long>(t->Simplex.Ms), t->Simplex.Height, t->ReportBytes,
                  static_cast<long long>(t->Report.Ms), t->Report.Height);
      std::fflush(stdout);
    }
  }
  SetProgramDir(folders.front());
  const auto large = ParseStatementText(EquationsText(255), error);
  const std::optional<TRunTimes> t = large ? Run(*large) : std::nullopt;
  if (!t || t->Result.Ms < 0 || t->Report.Ms < 0) {
    std::fprintf(stderr, "255 equations: the run did not reach its pages\n");
    failed = true;
  } else {
    std::printf(
        "255 equations X_i = 1 over 255 variables (tables of 511 x 766 cells):\n"
        "  input, canonical form and the simplex step entered: %lld ms\n"
        "  solved with \"Решить\" in %lld ms\n"
        "  \"Далее\" to the result step's page laid out: %lld ms\n"
        "  \"Готово\" to the wizard closed: %lld ms\n"
        "  the student's whole run, these four together: %lld ms (bar 20000 ms)\n"
        "  the simplex step's section as a step page, loaded and laid out: %lld ms (bar 1000 ms)\n"
        "  the final report (%zu bytes), loaded and laid out: %lld ms (bar 1000 ms)\n"
        "  peak resident of the program: %.0f MB (bar 1024 MB)\n",
        static_cast<long long>(t->Entered), static_cast<long long>(t->Solved), static_cast<long long>(t->Result.Ms),
        static_cast<long long>(t->Done), static_cast<long long>(t->Entered + t->Solved + t->Result.Ms + t->Done),
        static_cast<long long>(t->Simplex.Ms), t->ReportBytes, static_cast<long long>(t->Report.Ms), PeakResidentMb());
  }
  const struct {
    const char* Name;
    const char* Text;
    const char* Method;
  } integer[] = {
      {"a mixed program, Gomory's cuts stopped by the guard of digits after 188 cuts",
       "min 9 1 7 6 7 9 9\n-3 7 8 7 0 -1 2 <= 5\n8 2 -1 1 6 9 5 = 21\n-1 -3 2 0 8 0 9 >= 7\nint 2 3 4 5 7\n", "gomory"},
      {"an endless division, branch and bound stopped after 500 nodes", "max 1 -1\n2 -2 = 1\n1 -1 <= 1\nint 1 2\n",
       "branch"},
  };
  for (const auto& program : integer) {
    std::size_t bytes = 0;
    const TPageTime shown = IntegerReportShown(program.Text, program.Method, bytes);
    if (shown.Ms < 0) {
      std::fprintf(stderr, "%s: the report was not laid out\n", program.Name);
      failed = true;
      continue;
    }
    std::printf("%s: the final report (%zu bytes), loaded and laid out: %lld ms (bar 1000 ms)\n", program.Name, bytes,
                static_cast<long long>(shown.Ms));
  }
  SetProgramDir({});
  SetMessageSink(nullptr);
  return failed ? 1 : 0;
}
