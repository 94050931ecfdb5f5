// Program entry: the main window, the problem store and its dialogs, then the event loop.
#include "AppPaths.h"
#include "DataMod.h"
#include "MessageSeam.h"
#include "QtMessageSink.h"
#include "QtTranslations.h"
#include "SolverWindow.h"
#include "SolverWindows.h"
#include "StepClasses.h"
#include "untLoad.h"
#include "untMain.h"
#include "untSave.h"

#include <QApplication>
#include <QByteArray>
#include <QIcon>

#include <unistd.h>

namespace {

// The web engine's sandbox refuses to start for root, so a program started by root runs without it.
void AllowWebEngineAsRoot() {
  if (geteuid() != 0) return;
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  if (!flags.contains("--no-sandbox")) {
    if (!flags.isEmpty()) flags += ' ';
    flags += "--no-sandbox";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
  }
}

} // namespace

int main(int argc, char* argv[]) {
  AllowWebEngineAsRoot();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kelvano"));
  // The desktop matches the windows to the menu entry and its icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.kelvano.Kelvano"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvano/kelvano.png")));
  InstallRussianTranslations(app);

  InstallStepClasses();
  InstallSolverWindows();

  TQtMessageSink messages;
  SetMessageSink(&messages);

  TfrmMain frmMain(QApplication::arguments().mid(1));
  // One regression window is made at start-up, before the store, and never shown: the main window
  // opens a fresh one for each use.
  const std::unique_ptr<TSolverWindow> startupRegression = CreateSolverWindow(TT_REGRESSION, {&frmMain, nullptr, {}});
  TDM dm(TDM::ChooseDataFolder(ProgramDir(), !IsInstalledLayout()));
  TLoadForm loadForm(dm);
  TSaveForm saveForm;
  frmMain.SetStore(&dm, &loadForm, &saveForm);

  frmMain.show();
  const int result = QApplication::exec();
  SetMessageSink(nullptr);
  return result;
}
