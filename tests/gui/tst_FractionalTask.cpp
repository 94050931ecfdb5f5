// Whole linear-fractional runs through the real wizard: the fraction typed into the input step, the
// change of variables, its refusals, going back, the statement in the store with its numerator and
// denominator rows, and the final report, which must equal kelvano-solve's byte for byte.
#include "AppPaths.h"
#include "MessageRecorder.h"
#include "SameAsKelvanoSolve.h"
#include "StepRun.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "untStagePage.h"
#include "untStep_SimplexSolve.h"
#include "untStep_ZDLPInput.h"
#include "untStrConst.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QPushButton>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// The example of the change of variables: (X1 + 2 X2 + 3) / (X1 + X2 + 1) -> max, X1 + X2 <= 4.
const char* const Example = "max 1 2\nconst 3\nden 1 1\ndenconst 1\n1 1 <= 4\n";

TStatementGrid Statement(const char* text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  return *statement;
}

// Sizes the step with its buttons and types every cell of the statement, rows -1 ... m, and the
// relations.
void TypeStatement(TfrmStep_ZDLPInput& input, const TStatementGrid& s) {
  while (input.VarCount() < s.Sx) QTest::mouseClick(input.BitBtn2, Qt::LeftButton);
  while (input.ConstraintCount() < s.Sy) QTest::mouseClick(input.BitBtn4, Qt::LeftButton);
  QCOMPARE(input.VarCount(), s.Sx);
  QCOMPARE(input.ConstraintCount(), s.Sy);
  input.ComboBox1->setCurrentIndex(s.IsMax ? 0 : 1);
  for (int y = -1; y <= s.Sy; ++y)
    for (int x = 0; x <= s.Sx; ++x) Type(input.EditAt(x, y), Q(s.Cell(x, y)));
  for (int i = 1; i <= s.Sy; ++i)
    input.SignBox(i)->setCurrentIndex(input.SignBox(i)->findText(Q(SignToText(s.Signs[i - 1U]))));
}

// The stages of a linear-fractional task.
constexpr int SubstitutionStage = 1;
constexpr int CanonicalStage = 2;
constexpr int SimplexStage = 3;
constexpr int BackStage = 4;
constexpr int PreviewStage = 5;

struct TFractionalRun : TStepRun {
  explicit TFractionalRun(const TStatementGrid& s) {
    Start(TT_FRACTIONAL);
    TypeStatement(Input(), s);
    Next();
  }
  TStepClasses Classes;
  TfrmStep_ZDLPInput& Input() { return Stage<TfrmStep_ZDLPInput>(0); }
  TfrmStep_Page& Page(int stage) { return Stage<TfrmStep_Page>(stage); }
  // From the substitution page: "Далее" to the simplex step, "Решить", "Далее" up to "Готово".
  void SolveToEnd() {
    Next();
    Next();
    QCOMPARE(Wizard.CurrentStage, SimplexStage);
    QTest::mouseClick(Stage<TfrmStep_SimplexSolve>(SimplexStage).Button4, Qt::LeftButton);
    Next();
    QCOMPARE(Wizard.CurrentStage, BackStage);
    Next();
    QCOMPARE(Wizard.CurrentStage, PreviewStage);
    Next();
    QVERIFY(Wizard.Finished);
  }
};

std::string ReferenceDocument(const TStatementGrid& s) {
  TZLPCore_Interface data;
  TStatementError error;
  if (!ReadStatement(s, data, error)) throw std::runtime_error("unreadable test statement");
  TZLPCore_SolutionResult report;
  static_cast<void>(RunTask(s.TaskType, data, report));
  return report.BuildDocument();
}

bool Contains(const TZLPCore_SolutionResult& report, const char* text) {
  return report.GetText().find(text) != std::string::npos;
}

} // namespace

class TestFractionalTask : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }
  void init() { SetProgramDir(KELVANO_SOURCE_DIR "/"); }

  void exampleFromInputToTheFinalReport();
  void sameReportAsKelvanoSolve_data();
  void sameReportAsKelvanoSolve();
  void zeroDenominatorIsRefused_data();
  void zeroDenominatorIsRefused();
  void backFromCanonicalFormShowsTheUntransformedProblem();
  void statementRoundTripsThroughTheStore();
  void badDenominatorCellGetsTheFocus();
  void tabOrderFollowsTheFraction();
  void unofferedStoredSignsNeverCrash();
};

// The example typed in: the substitution page shows the program
// max Y1 + 2 Y2 + 3 Y0, Y1 + Y2 - 4 Y0 <= 0, Y1 + Y2 + Y0 = 1; the back substitution answers X = (0, 0)
// with the ratio 3, and the final report is the windowless run's.
void TestFractionalTask::exampleFromInputToTheFinalReport() {
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement(Example);
  TFractionalRun run(statement);
  QCOMPARE(run.Wizard.CurrentStage, SubstitutionStage);

  TfrmStep_Page& substitution = run.Page(SubstitutionStage);
  QVERIFY(substitution.Outcome());
  QVERIFY(run.Wizard.btnNext->isEnabled());
  const TZLPCore_SubInterface_ZLP& zlp = substitution.StageData.ZLP;
  QCOMPARE(zlp.VarNames(), (std::vector<std::string>{"Y1", "Y2", "Y0"}));
  QVERIFY(Contains(substitution.StageReport, "Z = Y<sub>1</sub> + 2Y<sub>2</sub> + 3Y<sub>0</sub>"));
  QVERIFY(Contains(substitution.StageReport, "Y<sub>1</sub> + Y<sub>2</sub> - 4Y<sub>0</sub> &#8804; 0\r\n"
                                             "Y<sub>1</sub> + Y<sub>2</sub> + Y<sub>0</sub> = 1"));

  run.SolveToEnd();
  const TZLPCore_SolutionResult& back = run.Page(BackStage).StageReport;
  QVERIFY(Contains(back, "Y<sub>0</sub> = 1\r\n"));
  QVERIFY(Contains(back, "X1 = Y1/Y0 = 0"));
  QVERIFY(Contains(back, "X2 = Y2/Y0 = 0"));
  // Only the student's variables come back: the added ones of the program in Y have no X of theirs.
  QVERIFY(!Contains(back, "X3 = ") && !Contains(back, "X4 = "));
  QVERIFY(Contains(back, "Z = 3 / 1 = 3."));
  QVERIFY(Contains(run.Report, "<p><b>Ответ:</b> Z<sub>max</sub> = 3 при X<sub>1</sub> = 0, X<sub>2</sub> = 0"));
  QCOMPARE(run.Report.BuildDocument(), ReferenceDocument(statement));
  QVERIFY(recorder.Messages.empty());
}

void TestFractionalTask::sameReportAsKelvanoSolve_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("verdict"); // words of the report that only this outcome writes
  QTest::newRow("example") << U(Example) << 0 << U("Z<sub>max</sub> = 3 при");
  QTest::newRow("negative denominator") << U("max 1 2\nconst 3\nden -1 -1\ndenconst -1\n1 1 <= 4\n") << 0
                                        << U("умножим числитель и знаменатель на -1");
  QTest::newRow("minimum with an equality")
      << U("min 4 3\nconst 10\nden 2 1\ndenconst 1\n1 1 = 6\n2 -1 <= 4\n") << 0 << U("Z<sub>min</sub> = 94/31 при");
  QTest::newRow("supremum not attained") << U("max 2 1\nden 1 1\ndenconst 1\n1 0 >= 1\n0 1 <= 3\n") << 6
                                         << U("(sup Z = 2)");
  QTest::newRow("another optimum with Y0 > 0") << U("max 1\nconst 1\nden 1\ndenconst 1\n1 >= 0\n") << 0
                                               << U("другое оптимальное решение, с Y<sub>0</sub> &gt; 0");
  QTest::newRow("unbounded ratio") << U("max 1 1\nden 0 1\ndenconst 1\n0 1 <= 2\n1 -1 >= 0\n") << 2
                                   << U("не ограничена сверху и дробь исходной задачи");
}

// "Решить" and "Далее" to the end write the same file as kelvano-solve -o for the same statement.
void TestFractionalTask::sameReportAsKelvanoSolve() {
  QFETCH(QString, text);
  QFETCH(int, exitCode);
  QFETCH(QString, verdict);
  TMessageRecorder recorder;
  UseKelvanoSolveFolder();

  TFractionalRun run(Statement(text.toUtf8().constData()));
  run.SolveToEnd();
  QCOMPARE(QByteArray::fromStdString(run.Report.BuildDocument()).count("<H2>&bull; "), 5);
  ExpectSameReportAsKelvanoSolve(run.Report, run.Dir, {WriteInput(run.Dir, QStringLiteral("statement.txt"), text)},
                                 exitCode, verdict);
  QVERIFY(recorder.Messages.empty());
}

void TestFractionalTask::zeroDenominatorIsRefused_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("reason");
  QTest::newRow("identically zero") << U("max 1 2\nden 0 0\n1 1 <= 4\n") << U(sBadDenominator);
  QTest::newRow("changes sign") << U("max 1 0\nconst 1\nden 1 -1\n1 1 <= 4\n1 0 >= 1\n") << U("значения от -2 до 4");
  QTest::newRow("inconsistent constraints")
      << U("max 1 2\nden 1 1\ndenconst 1\n1 1 <= 4\n1 1 >= 5\n") << U("Система ограничений несовместна");
}

// The change of variables is refused on the substitution page: the reason is shown, "Далее" stays
// disabled and the wizard does not move on.
void TestFractionalTask::zeroDenominatorIsRefused() {
  QFETCH(QString, text);
  QFETCH(QString, reason);
  TMessageRecorder recorder;
  TFractionalRun run(Statement(text.toUtf8().constData()));
  QCOMPARE(run.Wizard.CurrentStage, SubstitutionStage);
  TfrmStep_Page& page = run.Page(SubstitutionStage);
  QVERIFY(!page.Outcome());
  QVERIFY(Q(page.StageReport.GetText()).contains(reason));
  QVERIFY(!run.Wizard.btnNext->isEnabled());
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, SubstitutionStage);
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QVERIFY(recorder.Messages.empty());
}

// Coming back from the canonical form step runs the substitution again on a fresh copy of the
// input: the same page, and a program substituted once.
void TestFractionalTask::backFromCanonicalFormShowsTheUntransformedProblem() {
  TMessageRecorder recorder;
  TFractionalRun run(Statement("max 1 2\nconst 3\nden -1 -1\ndenconst -1\n1 1 <= 4\n"));
  const std::vector<std::string> first = run.Page(SubstitutionStage).StageReport.Lines;
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, CanonicalStage);
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, SubstitutionStage);
  const TfrmStep_Page& page = run.Page(SubstitutionStage);
  QCOMPARE(page.StageReport.Lines, first);
  QCOMPARE(page.StageData.ZLP.VarCount(), 3);
  QCOMPARE(page.StageData.ZLP.ConstraintCount(), 2);
  // The negative denominator was negated once, not twice.
  QCOMPARE(RatToStr(page.StageData.Denominator.FreeTerm), std::string("1"));
  QVERIFY(recorder.Messages.empty());
}

// The statement goes to the store as rows -1 (numerator) and 0 (denominator) above the constraints,
// and a saved problem comes back into the same boxes.
void TestFractionalTask::statementRoundTripsThroughTheStore() {
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement("min 1/2 -3\nconst 7\nden 2 0\ndenconst 5/3\n1 1 >= 1\n2 -1 = 4\n");
  TFractionalRun run(statement);
  QCOMPARE(run.Wizard.CurrentStage, SubstitutionStage);
  const int temp = run.Dm.GetTempTaskId();
  const std::vector<TSimplex1Row> cells = run.Dm.Simplex1Rows(temp).value();
  QCOMPARE(cells.size(), std::size_t{12});
  const std::vector<TSimplex1Row> objective(cells.begin(), cells.begin() + 6);
  QCOMPARE(objective, (std::vector<TSimplex1Row>{
                          {0, -1, "7"}, {1, -1, "1/2"}, {2, -1, "-3"}, {0, 0, "5/3"}, {1, 0, "2"}, {2, 0, "0"}}));
  QCOMPARE(run.Dm.Simplex2Rows(temp).value(), (std::vector<TSimplex2Row>{{1, IS_ABOVEOREQUAL}, {2, IS_EQUAL}}));
  QCOMPARE(run.Dm.FindTask(temp)->Max, 0);

  const int id = run.Dm.SaveTempTaskAs("Дробь «себестоимость»", TT_FRACTIONAL);
  QVERIFY(id > 0);
  run.Wizard.close();
  recorder.Messages.clear(); // the store announces the save, the wizard asks before it closes
  run.Start(TT_FRACTIONAL, id);
  TfrmStep_ZDLPInput& input = run.Input();
  QCOMPARE(input.Statement(TT_FRACTIONAL), statement);
  QCOMPARE(input.txtZ01->text(), u"7"_s);
  QCOMPARE(input.txtZ02->text(), u"5/3"_s);
  QCOMPARE(input.DenominatorEdit(1)->text(), u"2"_s);
  QCOMPARE(input.lbMM->text(), U("→ Min"));
  QVERIFY(recorder.Messages.empty());
}

// A bad number in the denominator is refused with the focus on its box; nothing is stored.
void TestFractionalTask::badDenominatorCellGetsTheFocus() {
  TMessageRecorder recorder;
  TStepClasses classes;
  TStepRun run;
  run.Start(TT_FRACTIONAL);
  TfrmStep_ZDLPInput& input = run.Stage<TfrmStep_ZDLPInput>(0);
  input.actIncVar->trigger();
  Type(input.DenominatorEdit(2), u"1/x"_s);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QCOMPARE(run.Wizard.focusWidget(), input.DenominatorEdit(2));
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Text, "Недопустимый символ «x». " + std::string(sEnterRational));
  QVERIFY(!input.StageData.HasFlag(IF_DENOMINATOR));
  QVERIFY(run.Dm.Simplex1Rows(run.Dm.GetTempTaskId()).value().empty());
}

// Tab visits the direction box, the numerator and its free term, the denominator and its free term,
// then the constraints; a new variable joins both rows of the fraction.
void TestFractionalTask::tabOrderFollowsTheFraction() {
  TStepClasses classes;
  TStepRun run;
  run.Start(TT_FRACTIONAL);
  TfrmStep_ZDLPInput& s = run.Stage<TfrmStep_ZDLPInput>(0);
  s.actIncVar->trigger();
  s.ComboBox1->setFocus();
  QList<QWidget*> chain{run.Wizard.focusWidget()};
  while (chain.size() < 10) {
    QTest::keyClick(chain.back(), Qt::Key_Tab);
    chain.append(run.Wizard.focusWidget());
  }
  const QList<QWidget*> expected{s.ComboBox1, s.ObjectiveEdit(1),     s.ObjectiveEdit(2),
                                 s.txtZ01,    s.DenominatorEdit(1),   s.DenominatorEdit(2),
                                 s.txtZ02,    s.ConstraintEdit(1, 1), s.ConstraintEdit(1, 2),
                                 s.SignBox(1)};
  QCOMPARE(chain, expected);
}

// A stored relation 1 or 3 (strict, never written by the program) is refused by the store with a
// message; shown directly, it leaves "<=" in its box, which is how the row is read.
void TestFractionalTask::unofferedStoredSignsNeverCrash() {
  TMessageRecorder recorder;
  TStepClasses classes;
  TStepRun run;
  TStatementGrid strict = Statement(Example);
  strict.Signs[0] = IS_ABOVE;
  QVERIFY(run.Dm.CreateTempTask() > 0);
  QVERIFY(StoreStatement(run.Dm, run.Dm.GetTempTaskId(), strict));
  const int id = run.Dm.SaveTempTaskAs("Строгий знак", TT_FRACTIONAL);
  run.Dm.DropTempTask();
  recorder.Messages.clear(); // the store announces the save
  run.Start(TT_FRACTIONAL, id);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QVERIFY(recorder.Messages[0].Text.find("Simplex2.db") != std::string::npos);

  TfrmStep_ZDLPInput& input = run.Stage<TfrmStep_ZDLPInput>(0);
  strict.Signs[0] = IS_BELOW;
  input.ShowStatement(strict);
  QCOMPARE(input.SignBox(1)->currentText(), u"<="_s);
  QCOMPARE(input.Statement(TT_FRACTIONAL).Signs[0], std::uint8_t{IS_BELOWOREQUAL});
}

QTEST_MAIN(TestFractionalTask)
#include "tst_FractionalTask.moc"
