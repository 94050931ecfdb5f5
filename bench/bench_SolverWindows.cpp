// Timed runs of the solver windows from the main window with the largest stored problems: a random
// 255 x 255 assignment problem (costs 0 ... 1000) and a regression over 32000 observations, each
// opened from the store, solved with "Решение" and its report shown by the main window.
//
// Run under a display, for example: xvfb-run -a bench/bench_SolverWindows
// It prints the figures; the bars are 3 s from "Решение" to the report shown for the assignment
// problem, and 1 s for computing and reporting the regression.
#include "BenchProblems.h"
#include "DataMod.h"
#include "Input_.h"
#include "MessageSeam.h"
#include "SolverWindow.h"
#include "StatementStore.h"
#include "TaskCatalog.h"
#include "Unit1.h"
#include "untLoad.h"
#include "untMain.h"
#include "untSave.h"
#include "untWebViewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace {

class TSilentSink final : public TMessageSink {
public:
  TMsgAnswer Show(const std::string&, const std::string&, TMsgIcon, TMsgButtons) override { return TMsgAnswer::Ok; }
};

int Store(TDM& dm, const TStatementGrid& grid, const char* name) {
  if (dm.CreateTempTask() < 0 || !StoreStatement(dm, dm.GetTempTaskId(), grid)) return -1;
  const int id = dm.SaveTempTaskAs(name, grid.TaskType);
  dm.DropTempTask();
  return id;
}

struct TTimes {
  qint64 Opened = -1; // from the action to the window shown with the stored problem
  qint64 Solved = -1; // from "Решение" to the window closed with its report
  qint64 Shown = -1;  // from "Решение" (and "Готово") to the main window's page loaded
};

// Opens the window of type from the main window with the stored problem id, presses "Решение" (and
// "Готово" for the regression) and waits for the report in the main window.
template <class TWindow>
TTimes Run(TfrmMain& form, std::uint8_t type, int id, QPushButton* TWindow::*solve, QPushButton* TWindow::*finish) {
  TTimes times;
  QElapsedTimer clock;
  QElapsedTimer fromSolve;
  const TSolverMaker previous = SetSolverMaker(type, [&](const TSolverContext& context) {
    auto window = std::make_unique<TWindow>(context);
    TWindow* shown = window.get();
    QTimer::singleShot(0, shown, [&, shown] {
      times.Opened = clock.elapsed();
      fromSolve.start();
      (shown->*solve)->click();
      if (finish != nullptr) (shown->*finish)->click();
    });
    return std::unique_ptr<TSolverWindow>(std::move(window));
  });
  QSignalSpy loaded(form.WebBrowser1, &TWebBrowser::LoadFinished);
  clock.start();
  form.PendingTaskId = id;
  form.RunAction(type == TT_ASSIGNMENT ? 1 : 2);
  times.Solved = fromSolve.elapsed();
  // The page the window's help opened may still be loading; wait for the report's own page.
  for (int k = 0; k < 100 && times.Shown < 0; ++k) {
    if (loaded.wait(10000) &&
        QString::fromStdString(form.WebBrowser1->LocationURL()).endsWith(QStringLiteral("result_preview.html")))
      times.Shown = fromSolve.elapsed();
  }
  SetSolverMaker(type, previous);
  return times;
}

} // namespace

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Russian));
  TSilentSink sink;
  SetMessageSink(&sink);

  QTemporaryDir dir;
  TDM dm(std::filesystem::path(dir.path().toStdString()) / "data");
  const int assignment = Store(dm, RandomAssignment(255, false), "Назначение 255 × 255");
  const int regression = Store(dm, RandomObservations(32000), "32000 наблюдений");
  if (assignment < 0 || regression < 0) {
    std::fprintf(stderr, "the problems could not be stored\n");
    return 1;
  }
  TLoadForm loadForm(dm);
  TSaveForm saveForm;
  TfrmMain form({QStringLiteral("/speed=0")});
  form.SetStore(&dm, &loadForm, &saveForm);
  form.show();
  QTimer::singleShot(2000, &app, &QCoreApplication::quit);
  QApplication::exec(); // the start page loads

  const TTimes a = Run<TForm1>(form, TT_ASSIGNMENT, assignment, &TForm1::BitBtn4, nullptr);
  const TTimes r = Run<TInput_form>(form, TT_REGRESSION, regression, &TInput_form::BitBtn3, &TInput_form::btnNext);
  std::printf("assignment 255 x 255: opened with the stored problem in %lld ms; solved, report written and "
              "handed to the viewer in %lld ms; shown in %lld ms (bar 3000 ms)\n",
              static_cast<long long>(a.Opened), static_cast<long long>(a.Solved), static_cast<long long>(a.Shown));
  std::printf("regression 32000 observations: opened with the stored problem in %lld ms; computed, report written "
              "and handed to the viewer in %lld ms; shown in %lld ms\n",
              static_cast<long long>(r.Opened), static_cast<long long>(r.Solved), static_cast<long long>(r.Shown));
  SetMessageSink(nullptr);
  return a.Shown < 0 || r.Shown < 0 ? 1 : 0;
}
