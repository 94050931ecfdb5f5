// Timed run of the input step on the largest statement: entering with a stored 255 x 255 linear
// program (65,025 coefficient cells, edit boxes only for those in view) and adding one variable at
// 255 constraints.
//
// Run under a display, for example: xvfb-run -a bench/bench_ZLPInput
// It prints the figures; the bars are 1 s and 400 MB for entering and 0.2 s for adding.
#include "BenchProblems.h"
#include "DataMod.h"
#include "MessageSeam.h"
#include "StatementStore.h"
#include "StepClasses.h"
#include "ZLPCore_StageTasks.h"
#include "untStep_ZLPInput.h"
#include "untZLPWizard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

namespace {

constexpr int Size = TfrmStep_ZLPInput::MaxCount;

class TSilentSink final : public TMessageSink {
public:
  TMsgAnswer Show(const std::string&, const std::string&, TMsgIcon, TMsgButtons) override { return TMsgAnswer::Ok; }
};

// Resident set size of this process in megabytes, from /proc.
double ResidentMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
  return -1;
}

// A dense statement with varied fractions and all three relations, saved under a name.
int StoreLargeProblem(TDM& dm) {
  const TZLPCore_SubInterface_ZLP zlp = DenseModel(Size);
  if (dm.CreateTempTask() < 0 || !StoreStatement(dm, dm.GetTempTaskId(), StatementOfModel(zlp))) return -1;
  const int id = dm.SaveTempTaskAs("Большая задача", TT_LINEAR);
  dm.DropTempTask();
  return id;
}

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Russian));
  TSilentSink sink;
  SetMessageSink(&sink);
  InstallStepClasses();

  QTemporaryDir dir;
  TDM dm(std::filesystem::path(dir.path().toStdString()) / "data");
  const int id = StoreLargeProblem(dm);
  if (id < 0) {
    std::fprintf(stderr, "the statement could not be stored\n");
    return 1;
  }

  TDMProblemStore store(dm);
  TfrmZLPWizard wizard(&store);
  TZLPCore_SolutionResult report;
  TZLPCore_Interface problem;
  // The wizard reads the stored problem once, as it opens on it: the opening is what is timed.
  const double before = ResidentMb();
  QElapsedTimer timer;
  timer.start();
  wizard.PendingTaskId = id;
  wizard.Execute(TT_LINEAR, nullptr, &report, &problem, false);
  QApplication::processEvents();
  const qint64 enterMs = timer.elapsed();
  auto* input = dynamic_cast<TfrmStep_ZLPInput*>(wizard.Stages.front());
  if (!input) {
    std::fprintf(stderr, "the first step is not the input step\n");
    return 1;
  }
  const double after = ResidentMb();
  if (input->VarCount() != Size || input->ConstraintCount() != Size) {
    std::fprintf(stderr, "the stored problem did not reach the page\n");
    return 1;
  }

  // A jump to the far corner gives the cells coming into view their boxes.
  timer.restart();
  input->sbDefault->horizontalScrollBar()->setValue(input->sbDefault->horizontalScrollBar()->maximum());
  input->sbDefault->verticalScrollBar()->setValue(input->sbDefault->verticalScrollBar()->maximum());
  QApplication::processEvents();
  const qint64 scrollMs = timer.elapsed();
  input->sbDefault->horizontalScrollBar()->setValue(0);
  input->sbDefault->verticalScrollBar()->setValue(0);
  QApplication::processEvents();

  timer.restart();
  input->actDecVar->trigger();
  QApplication::processEvents();
  const qint64 removeMs = timer.elapsed();

  timer.restart();
  input->actIncVar->trigger();
  QApplication::processEvents();
  const qint64 addMs = timer.elapsed();

  timer.restart();
  input->EnterStage(wizard);
  QApplication::processEvents();
  const qint64 reenterMs = timer.elapsed();

  timer.restart();
  input->LeaveForward(wizard);
  const qint64 leaveMs = timer.elapsed();

  std::printf("cells on the page:                %d x %d, %zu edit boxes\n", input->VarCount(),
              input->ConstraintCount(), input->EditBoxCount());
  std::printf("enter with stored 255 x 255:      %lld ms (bar 1000 ms)\n", static_cast<long long>(enterMs));
  std::printf("resident before / after entering: %.0f MB / %.0f MB (bar 400 MB)\n", before, after);
  std::printf("scroll to the far corner:          %lld ms\n", static_cast<long long>(scrollMs));
  std::printf("remove one variable:              %lld ms, 255 -> 254 variables\n", static_cast<long long>(removeMs));
  std::printf("add one variable at 255 rows:     %lld ms (bar 200 ms), 254 -> 255 variables\n",
              static_cast<long long>(addMs));
  std::printf("enter again, edits kept:          %lld ms\n", static_cast<long long>(reenterMs));
  std::printf("leave forward (read and store):   %lld ms, accepted: %s\n", static_cast<long long>(leaveMs),
              input->CanLeave ? "yes" : "no");
  SetMessageSink(nullptr);
  return 0;
}
