// Whole cutting-stock runs: the statement typed into the real wizard, the model and canonical pages,
// "Решить" and "Далее" to the final report, which must equal kelvano-solve's byte for byte.
#include "AppPaths.h"
#include "CuttingInput.h"
#include "MessageRecorder.h"
#include "ZLPCore_TaskRun.h"
#include "ZLPCore_TextFormat.h"
#include "untStep_SimplexSolve.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QPushButton>

#include <stdexcept>

namespace {

TStatementGrid Statement(const QString& text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text.toStdString(), error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  return *statement;
}

std::string ReferenceDocument(const TStatementGrid& s) {
  TZLPCore_Interface data;
  TStatementError error;
  if (!ReadStatement(s, data, error)) throw std::runtime_error("unreadable test statement");
  TZLPCore_SolutionResult report;
  static_cast<void>(RunTask(s.TaskType, data, report));
  return report.BuildDocument();
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr int ModelStage = 1;
constexpr int SimplexStage = 3;
constexpr int PreviewStage = 4;

// A cutting-stock wizard with every real step, the statement typed and "Далее" pressed up to the
// simplex step.
struct TCuttingRun : TStepRun {
  explicit TCuttingRun(const TStatementGrid& s) {
    Start(TT_CUTTING);
    TypeCutting(Stage<TfrmStep_CutInput>(0), s);
    for (int k = 0; k < SimplexStage && Wizard.CurrentStage < SimplexStage; ++k) Next();
  }
  TStepClasses Classes;
  TfrmStep_SimplexSolve& Simplex() { return Stage<TfrmStep_SimplexSolve>(SimplexStage); }
  // "Решить", then "Далее" until the result step.
  void SolveToEnd() {
    QTest::mouseClick(Simplex().Button4, Qt::LeftButton);
    for (int presses = 0; Wizard.CurrentStage == SimplexStage && presses < 5; ++presses) Next();
  }
};

const char* const Example = "cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\n";

} // namespace

class TestCuttingTask : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }
  void init() { SetProgramDir(KELVANO_SOURCE_DIR "/"); }
  void workedExampleToTheFinalReport();
  void sameReportAsKelvanoSolve_data();
  void sameReportAsKelvanoSolve();
};

// Two products 1 : 2, patterns (3, 1) and (0, 2), 10 units of material: the model page shows the
// program, and the final report gives 60/7 sets at X1 = 20/7, X2 = 50/7.
void TestCuttingTask::workedExampleToTheFinalReport() {
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement(QString::fromUtf8(Example));
  TCuttingRun run(statement);
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  const std::string model = run.Wizard.Stages.at(ModelStage)->StageReport.GetText();
  QVERIFY(model.find("Z = 3X<sub>1</sub>") != std::string::npos);
  QVERIFY(model.find("- 5X<sub>1</sub> + 2X<sub>2</sub> = 0") != std::string::npos);

  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  const TTaskVerdict& verdict = run.Simplex().StageData.Verdict;
  QVERIFY(verdict.Status == TTaskStatus::Optimal);
  QVERIFY(verdict.Objective.has_value());
  QCOMPARE(RatToStr(*verdict.Objective), std::string("60/7"));
  QCOMPARE(verdict.X.size(), std::size_t{2});
  QCOMPARE(RatToStr(verdict.X[0]), std::string("20/7"));
  QCOMPARE(RatToStr(verdict.X[1]), std::string("50/7"));
  run.Next();
  QVERIFY(run.Wizard.Finished);
  const std::string report = run.Report.BuildDocument();
  QVERIFY(report.find("наибольшее число полных комплектов изделий — 60/7") != std::string::npos);
  QVERIFY(report.find("способом 1 — 20/7 ед. (X<sub>1</sub> = 20/7)") != std::string::npos);
  QCOMPARE(report, ReferenceDocument(statement));
  QVERIFY(recorder.Messages.empty());
}

void TestCuttingTask::sameReportAsKelvanoSolve_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("verdict"); // words of the report that only this outcome writes
  QTest::newRow("example") << QString::fromUtf8(Example) << 0 << U("наибольшее число полных комплектов изделий — 60/7");
  QTest::newRow("zero first proportion")
      << U("cut\nmaterial 8\nproportions 0 1 2\npattern 1 1 2\npattern 0 2 3\npattern 0 1 3\npattern 0 3 5\n") << 0
      << U("Доля изделия 1 равна 0, поэтому комплекты считаются по изделию 2");
  QTest::newRow("fractions and decimals")
      << U("cut\nmaterial 7/2\nproportions 1/2 0,75\npattern 1 2\npattern 3 0\npattern 0 3\n") << 0
      << U("наибольшее число полных комплектов изделий — 42/5");
  QTest::newRow("proportions that cannot be met")
      << U("cut\nmaterial 5\nproportions 1 1\npattern 2 0\npattern 3 1\n") << 3
      << U("никаким раскроем материала нельзя получить изделия в этой пропорции");
}

// The wizard with "Решить" and "Далее" to the end writes the same file as kelvano-solve.
void TestCuttingTask::sameReportAsKelvanoSolve() {
  QFETCH(QString, text);
  QFETCH(int, exitCode);
  QFETCH(QString, verdict);
  TMessageRecorder recorder;
  const QString solver = QFileInfo(QStringLiteral(KELVANO_SOLVE)).canonicalFilePath();
  QVERIFY(!solver.isEmpty());
  SetProgramDir((QFileInfo(solver).path() + u'/').toStdString());

  TCuttingRun run(Statement(text));
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  const QString wizardFile = run.Dir.filePath(QStringLiteral("wizard.html"));
  QVERIFY(run.Report.WriteDocument(wizardFile.toStdString()));

  const QString input = run.Dir.filePath(QStringLiteral("statement.cut"));
  {
    QFile file(input);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
  }
  const QString solved = run.Dir.filePath(QStringLiteral("solved.html"));
  QProcess process;
  process.start(solver, {QStringLiteral("-o"), solved, input});
  QVERIFY(process.waitForFinished(30000));
  QCOMPARE(process.exitStatus(), QProcess::NormalExit);
  QCOMPARE(process.exitCode(), exitCode);

  const QByteArray fromWizard = ReadFile(wizardFile);
  QVERIFY(fromWizard.contains(Utf8ToCp1251(verdict.toStdString()).c_str()));
  QCOMPARE(ReadFile(solved), fromWizard);
  QVERIFY(recorder.Messages.empty());
}

QTEST_MAIN(TestCuttingTask)
#include "tst_CuttingTask.moc"
