// Takes PNG pictures of the main window, a wizard on its input, simplex and result steps, the load dialog,
// the assignment and regression windows, and the pictures of the final reports.
#include "AppPaths.h"
#include "BranchBound.h"
#include "DataMod.h"
#include "Input_.h"
#include "Pages.h"
#include "SolverWindow.h"
#include "StepClasses.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "Unit1.h"
#include "untLoad.h"
#include "untMain.h"
#include "untSave.h"
#include "untStep_ZLPInput.h"
#include "untWebViewer.h"
#include "untZLPWizard.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool Grab(const QWidget& window, const QString& file) {
  QScreen* screen = window.screen();
  if (screen == nullptr) return false;
  const QRect frame = window.frameGeometry();
  const bool saved = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(file);
  std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "saved" : "cannot save", qPrintable(file));
  return saved;
}

// The final report of a problem in the text form, solved as kelvano-solve solves it, in a viewer
// tall enough for the statement and the picture after it.
bool GrabReport(const char* text, const QString& file, const char* integerMethod = "gomory") {
  TTextFormatError error;
  std::optional<TStatementGrid> statement = ParseStatementText(text, error);
  TZLPCore_Interface data;
  TStatementError readError;
  if (!statement || !SetIntegerMethod(*statement, integerMethod) || !ReadStatement(*statement, data, readError))
    return false;
  TZLPCore_SolutionResult report;
  RunTask(statement->TaskType, data, report);
  TWebBrowser viewer;
  viewer.resize(760, 1000);
  viewer.show();
  report.ShowIn(&viewer);
  Wait(3000);
  return Grab(viewer, file);
}

} // namespace

int main(int argc, char* argv[]) {
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  const QString outDir = args.size() > 1 ? args.at(1) : QStringLiteral("screenshots");
  QDir().mkpath(outDir);
  InstallStepClasses();

  QTemporaryDir data;
  TDM dm(data.path().toStdString());
  for (const char* name : {"Задача о производстве столов и стульев", "Рацион питания"}) {
    if (dm.CreateTempTask() > 0) static_cast<void>(dm.SaveTempTaskAs(name, 8));
    static_cast<void>(dm.DropTempTask());
  }

  TfrmMain frmMain(QStringList{QStringLiteral("/speed=0")});
  TLoadForm loadForm(dm);
  TSaveForm saveForm;
  frmMain.SetStore(&dm, &loadForm, &saveForm);
  frmMain.show();
  Wait(3000);
  frmMain.RadioButton[0]->setChecked(true);
  Wait(1500);
  bool ok = Grab(frmMain, outDir + QStringLiteral("/main.png"));

  frmMain.OnWizardCreated = [&](TfrmZLPWizard& wizard) {
    QTimer::singleShot(2500, &wizard, [&] {
      ok = Grab(wizard, outDir + QStringLiteral("/wizard.png")) && ok;
      // The product mix: maximise 3x1 + 2x2 with x1 + x2 <= 4 and x1 + 3x2 <= 6.
      TTextFormatError error;
      const TStatementGrid mix = *ParseStatementText("max 3 2\n1 1 <= 4\n1 3 <= 6\n", error);
      if (auto* input = dynamic_cast<TfrmStep_ZLPInput*>(wizard.Stages.front())) input->ShowStatement(mix);
      Wait(300);
      ok = Grab(wizard, outDir + QStringLiteral("/input.png")) && ok;
      wizard.btnNext->click();
      Wait(1500);
      ok = Grab(wizard, outDir + QStringLiteral("/canonical.png")) && ok;
      wizard.btnNext->click();
      Wait(500);
      ok = Grab(wizard, outDir + QStringLiteral("/simplex.png")) && ok;
      wizard.btnNext->click();
      wizard.btnNext->click();
      Wait(2000);
      ok = Grab(wizard, outDir + QStringLiteral("/result.png")) && ok;
      // Without a message box installed the cancel question is answered "Да".
      wizard.btnCancel->click();
    });
  };
  frmMain.RunAction(0);

  QTimer::singleShot(1500, &loadForm, [&] {
    ok = Grab(loadForm, outDir + QStringLiteral("/load.png")) && ok;
    loadForm.reject();
  });
  static_cast<void>(loadForm.ChooseProblem(0));

  // The solver windows, each filled with an example (the regression solved once), then closed.
  TTextFormatError error;
  const TStatementGrid machines =
      *ParseStatementText("assign min\n7 3 6 9 5\n7 5 7 5 6\n7 6 8 8 9\n3 1 6 5 7\n2 4 9 9 5\n", error);
  const TStatementGrid points = *ParseStatementText("regress\n1 1\n2 3\n3 2\n4 5\n", error);
  SetSolverMaker(TT_ASSIGNMENT, [&](const TSolverContext& context) {
    auto window = std::make_unique<TForm1>(context);
    QTimer::singleShot(1000, window.get(), [&, shown = window.get()] {
      shown->ShowStatement(machines);
      Wait(500);
      ok = Grab(*shown, outDir + QStringLiteral("/assignment.png")) && ok;
      shown->reject();
    });
    return std::unique_ptr<TSolverWindow>(std::move(window));
  });
  SetSolverMaker(TT_REGRESSION, [&](const TSolverContext& context) {
    auto window = std::make_unique<TInput_form>(context);
    QTimer::singleShot(1000, window.get(), [&, shown = window.get()] {
      shown->ShowStatement(points);
      shown->BitBtn3->click();
      Wait(500);
      ok = Grab(*shown, outDir + QStringLiteral("/regression.png")) && ok;
      shown->reject();
    });
    return std::unique_ptr<TSolverWindow>(std::move(window));
  });
  frmMain.RunAction(1);
  frmMain.RunAction(2);
  // The graphical method of a program whose optimum has fractional coordinates.
  ok = GrabReport("max 3 4\n2 5 <= 20\n7 3 <= 21\n-1 1 <= 3\n", outDir + QStringLiteral("/graphic.png")) && ok;
  // ... and the same program in integers: its integer points and the integer optimum.
  ok = GrabReport("max 3 4\n2 5 <= 20\n7 3 <= 21\n-1 1 <= 3\nint 1 2\n",
                  outDir + QStringLiteral("/graphic_integer.png")) &&
       ok;
  // ... and solved by branch and bound: the regions of the end nodes of its tree.
  ok = GrabReport("max 5 8\n1 1 <= 6\n5 9 <= 45\nint 1 2\n", outDir + QStringLiteral("/graphic_branch.png"),
                  "branch") &&
       ok;
  // The scatter plot of a regression, after its tables and fractions.
  ok =
      GrabReport("regress\n1 1.2\n2 1.9\n3 3.2\n4 3.8\n5 5.1\n", outDir + QStringLiteral("/regression_plot.png")) && ok;
  return ok ? 0 : 1;
}
