// Program entry: the main window, the problem store and its dialogs, then the event loop.
#include "AppPaths.h"
#include "DataMod.h"
#include "MessageSeam.h"
#include "ProblemFile.h"
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
#include <QCommandLineParser>
#include <QIcon>
#include <QSettings>
#include <QTimer>

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

// The command line: --help and --version answer and end the program; "/speed=<ms>" (the delay of
// the action list's animation) is kept for the window; the one other argument is a problem file.
struct TCommandLine {
  QStringList WindowOptions;
  QString File;
};

TCommandLine ParseCommandLine(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Учебная программа по методам оптимизации: решения задач по шагам, с отчётом."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("файл"),
                               QStringLiteral("файл задачи (.%1), который открывается в мастере или окне задачи; "
                                              "/speed=МС — задержка анимации списка действий")
                                   .arg(QString::fromLatin1(ProblemFileSuffix)),
                               QStringLiteral("[файл]"));
  parser.process(app);
  TCommandLine line;
  for (const QString& argument : parser.positionalArguments()) {
    if (argument.startsWith(QStringLiteral("/speed=")))
      line.WindowOptions << argument;
    else if (line.File.isEmpty())
      line.File = argument;
  }
  return line;
}

} // namespace

int main(int argc, char* argv[]) {
  AllowWebEngineAsRoot();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kelvano"));
  // QSettings keeps the recent files and the window's geometry in ~/.config/kelvano/kelvano.conf.
  QApplication::setOrganizationName(QStringLiteral("kelvano"));
  QApplication::setApplicationVersion(QStringLiteral(KELVANO_VERSION));
  // The desktop matches the windows to the menu entry and its icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.kelvano.Kelvano"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvano/kelvano.png")));
  InstallRussianTranslations(app);
  const TCommandLine commandLine = ParseCommandLine(app);

  InstallStepClasses();
  InstallSolverWindows();

  TQtMessageSink messages;
  SetMessageSink(&messages);

  TfrmMain frmMain(commandLine.WindowOptions);
  // One regression window is made at start-up, before the store, and never shown: the main window
  // opens a fresh one for each use.
  const std::unique_ptr<TSolverWindow> startupRegression = CreateSolverWindow(TT_REGRESSION, {&frmMain, nullptr, {}});
  TDM dm(TDM::ChooseDataFolder(ProgramDir(), !IsInstalledLayout()));
  TLoadForm loadForm(dm);
  TSaveForm saveForm;
  frmMain.SetStore(&dm, &loadForm, &saveForm);

  // The window opens where and as large as it was left.
  const QString geometryKey = QStringLiteral("mainWindow/geometry");
  frmMain.restoreGeometry(QSettings().value(geometryKey).toByteArray());
  frmMain.show();
  // The file opens in its wizard or window once the main window is up.
  if (!commandLine.File.isEmpty())
    QTimer::singleShot(0, &frmMain, [&frmMain, &commandLine] { frmMain.OpenProblemFile(commandLine.File); });
  const int result = QApplication::exec();
  QSettings().setValue(geometryKey, frmMain.saveGeometry());
  SetMessageSink(nullptr);
  return result;
}
