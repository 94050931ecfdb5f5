// Whole cutting-stock runs: the statement typed into the real wizard, "Решить" and "Далее" to the
// final report, which must equal kelvano-solve's byte for byte.
#include "AppPaths.h"
#include "CuttingInput.h"
#include "MessageRecorder.h"
#include "SameAsKelvanoSolve.h"
#include "TaskCatalog.h"
#include "TextFormat.h"
#include "untStep_SimplexSolve.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#include <stdexcept>

namespace {

TStatementGrid Statement(const QString& text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text.toStdString(), error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  return *statement;
}

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
  void sameReportAsKelvanoSolve_data();
  void sameReportAsKelvanoSolve();
};

void TestCuttingTask::sameReportAsKelvanoSolve_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("verdict"); // words of the report that only this outcome writes
  // Two products 1 : 2, patterns (3, 1) and (0, 2), 10 units of material: 60/7 sets at X1 = 20/7, X2 = 50/7.
  QTest::newRow("example") << QString::fromUtf8(Example) << 0
                           << U("наибольшее число комплектов изделий Z<sub>max</sub> = 60/7 достигается при дробном "
                                "плане, поэтому полных комплектов не больше &#8970;60/7&#8971; = 8. Для этого "
                                "материал (10 ед.) раскраивается так: способом 1 — 20/7 ед. (X<sub>1</sub> = 20/7), "
                                "способом 2 — 50/7 ед. (X<sub>2</sub> = 50/7).");
  QTest::newRow("zero first proportion")
      << U("cut\nmaterial 8\nproportions 0 1 2\npattern 1 1 2\npattern 0 2 3\npattern 0 1 3\npattern 0 3 5\n") << 0
      << U("Доля изделия 1 равна 0, поэтому комплекты считаются по изделию 2");
  QTest::newRow("fractions and decimals")
      << U("cut\nmaterial 7/2\nproportions 1/2 0,75\npattern 1 2\npattern 3 0\npattern 0 3\n") << 0
      << U("наибольшее число комплектов изделий Z<sub>max</sub> = 42/5 достигается при дробном плане, поэтому "
           "полных комплектов не больше &#8970;42/5&#8971; = 8.");
  QTest::newRow("proportions that cannot be met")
      << U("cut\nmaterial 5\nproportions 1 1\npattern 2 0\npattern 3 1\n") << 3
      << U("никаким раскроем материала нельзя получить изделия в этой пропорции");
}

// The statement typed into the wizard, "Решить" and "Далее" to the end: the final report says the
// outcome and is the file kelvano-solve writes for the same statement.
void TestCuttingTask::sameReportAsKelvanoSolve() {
  QFETCH(QString, text);
  QFETCH(int, exitCode);
  QFETCH(QString, verdict);
  TMessageRecorder recorder;
  UseKelvanoSolveFolder();

  TCuttingRun run(Statement(text));
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  ExpectSameReportAsKelvanoSolve(run.Report, run.Dir, {WriteInput(run.Dir, QStringLiteral("statement.cut"), text)},
                                 exitCode, verdict);
  QVERIFY(recorder.Messages.empty());
}

QTEST_MAIN(TestCuttingTask)
#include "tst_CuttingTask.moc"
