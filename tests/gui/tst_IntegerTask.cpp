// Whole integer task runs: statements typed into the real wizard, the integer variables ticked, Gomory
// cuts made pivot by pivot or with "Решить", the final report equal to kelvano-solve's byte for byte;
// and the step of the integer variables: its ticks from the statement and from the store, the ticks
// stored, and the warning without a linear program.
#include "AppPaths.h"
#include "MessageRecorder.h"
#include "SameAsKelvanoSolve.h"
#include "StepRun.h"
#include "TaskCatalog.h"
#include "TypeStatement.h"
#include "customUI.h"
#include "untStep_GomorySelect.h"
#include "untStep_SimplexSolve.h"
#include "untStep_ZLPInput.h"
#include "untStrConst.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>

namespace {

constexpr int SelectStage = 1;
constexpr int SimplexStage = 3;
constexpr int PreviewStage = 4;

// Stores a statement under a new named problem of its own type and returns its id.
int SaveStatement(TDM& dm, const TStatementGrid& s, const std::string& name) {
  if (dm.CreateTempTask() < 0 || !StoreStatement(dm, dm.GetTempTaskId(), s)) return -1;
  const int id = dm.SaveTempTaskAs(name, s.TaskType);
  dm.DropTempTask();
  return id;
}

// The ticks of the boxes in variable order, "1" ticked, "0" not.
QString Ticks(const TfrmStep_GomorySelect& step) {
  QString t;
  for (int j = 1; j <= step.BoxCount(); ++j) t += step.Box(j)->isChecked() ? u'1' : u'0';
  return t;
}

// An integer task wizard with every real step (or stand-ins chosen before Start).
struct TIntegerRun : TStepRun {
  TStepClasses Classes;
  TfrmStep_ZLPInput& Input() { return Stage<TfrmStep_ZLPInput>(0); }
  TfrmStep_GomorySelect& Select() { return Stage<TfrmStep_GomorySelect>(SelectStage); }
  TfrmStep_SimplexSolve& Simplex() { return Stage<TfrmStep_SimplexSolve>(SimplexStage); }
  // Ticks the boxes of the statement's integer variables with the mouse, as a student does.
  void Tick(const TStatementGrid& s) {
    TfrmStep_GomorySelect& select = Select();
    QCOMPARE(select.BoxCount(), s.Sx);
    for (int j = 1; j <= s.Sx; ++j)
      if (select.Box(j)->isChecked() != (s.Integer[static_cast<std::size_t>(j - 1)] != 0))
        QTest::mouseClick(select.Box(j), Qt::LeftButton, {}, QPoint(6, select.Box(j)->height() / 2));
  }
  // Types the statement, ticks its integer variables and goes on to the simplex step.
  void ToSimplex(const TStatementGrid& s) {
    TypeStatement(Input(), s);
    Next();
    QCOMPARE(Wizard.CurrentStage, SelectStage);
    Tick(s);
    Next();
    Next();
    QCOMPARE(Wizard.CurrentStage, SimplexStage);
  }
  [[nodiscard]] TSimplexState State() { return Simplex().StageData.Table.State; }
  [[nodiscard]] QString Hint() const { return Wizard.lbHint->text(); }
};

const char* const Worked = "max 0 1\n3 2 <= 6\n-3 2 <= 0\nint 1 2\n";

} // namespace

class TestIntegerTask : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }
  void init() { SetProgramDir(KELVANO_SOURCE_DIR "/"); }

  void workedExample_data();
  void workedExample();
  void sameReportAsKelvanoSolve_data();
  void sameReportAsKelvanoSolve();
  void ticksFromTheContainerThenTheStore_data();
  void ticksFromTheContainerThenTheStore();
  void ticksRoundTripThroughTheStore();
  void comingBackKeepsTheTicksMade();
  void missingProgramIsReported();
};

void TestIntegerTask::workedExample_data() {
  QTest::addColumn<bool>("solveButton");
  QTest::newRow("pivot by pivot") << false;
  QTest::newRow("Решить") << true;
}

// The worked example: ticks X1 and X2, the relaxation's optimum X2 = 3/2, cuts Y1 and Y2 as new rows
// of the grid, the integer optimum X1 = X2 = 1, Z = 1, and the final report of the windowless run.
void TestIntegerTask::workedExample() {
  QFETCH(bool, solveButton);
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement(Worked);
  TIntegerRun run;
  run.Start(TT_INTEGER);
  run.ToSimplex(statement);
  QCOMPARE(run.Select().StageData.IntegerVars, (std::vector<std::string>{"X1", "X2"}));
  TfrmStep_SimplexSolve& simplex = run.Simplex();
  const TStringGrid& grid = *simplex.StringGrid1;

  const auto cutHint = [](const char* v) {
    return U("Найдено оптимальное решение, но переменная ") + U(v) +
           U(" не целочисленна, поэтому строим отсечение Гомори");
  };
  // The state after each press and the constraint rows of the table then: two pivots to X2 = 3/2, the
  // cut Y1 and its pivot to X1 = 2/3, the cut Y2 and its pivot to the integer point. "Решить" runs the
  // pivots between the cuts; "Далее" appends each cut.
  const std::pair<TSimplexState, int> states[] = {{SS_PIVOT, 2},     {SS_PIVOT, 2},     {SS_GOMORYCUT, 2},
                                                  {SS_NEGATIVEB, 3}, {SS_GOMORYCUT, 3}, {SS_NEGATIVEB, 4},
                                                  {SS_OPTIMAL, 4}};
  for (std::size_t k = 1; k < std::size(states); ++k) {
    const QByteArray where = "step " + QByteArray::number(static_cast<int>(k));
    if (solveButton && states[k - 1].first != SS_GOMORYCUT) {
      QTest::mouseClick(simplex.Button4, Qt::LeftButton);
      while (states[k].first == SS_PIVOT) ++k;
    } else {
      run.Next();
    }
    QVERIFY2(run.Wizard.CurrentStage == SimplexStage, where.constData());
    QVERIFY2(run.State() == states[k].first, where.constData());
    QVERIFY2(grid.RowCount() == states[k].second + 2, where.constData());
    if (states[k].first == SS_GOMORYCUT) QCOMPARE(run.Hint(), cutHint(states[k].second == 2 ? "X2" : "X1"));
  }
  QCOMPARE(run.State(), SS_OPTIMAL);
  QCOMPARE(run.Hint(), U("Найдено оптимальное решение. Нажмите «Далее», чтобы просмотреть результат"));
  QCOMPARE(grid.Cell(6, 0), U("Y1"));
  QCOMPARE(grid.Cell(7, 0), U("Y2"));
  QCOMPARE(grid.Cell(1, grid.RowCount() - 1), U("1"));
  const TSimplexTable& table = simplex.StageData.Table;
  for (const char* name : {"X1", "X2"}) QCOMPARE(RatToStr(table.ValueOf(name)), std::string("1"));

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  const QString page = Q(simplex.StageReport.GetText());
  QVERIFY(page.contains(
      U("<pre>X<sub>1</sub> = 1\r\nX<sub>2</sub> = 1\r\nX<sub>4</sub> = 1\r\nX<sub>3</sub> = 1\r\n</pre>")));
  run.Next();
  QVERIFY(run.Wizard.Finished);
  QCOMPARE(run.Report.BuildDocument(), ReferenceDocument(statement));
  QVERIFY(Q(run.Report.GetText())
              .contains(U("<p><b>Ответ:</b> Z<sub>max</sub> = 1 при X<sub>1</sub> = 1, X<sub>2</sub> = 1")));
  QVERIFY(recorder.Messages.empty());
}

void TestIntegerTask::sameReportAsKelvanoSolve_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("verdict"); // words of the report that only this outcome writes
  const QString optimum = U("Функция достигает экстремума в точке:");
  QTest::newRow("worked example") << U(Worked) << 0 << optimum;
  QTest::newRow("fractional data") << U("max 1 0\n2/3 5/4 <= 5/2\n1/2 1/2 <= 3\nint 1 2\n") << 0
                                   << U("наименьшее общее кратное знаменателей");
  QTest::newRow("mixed") << U("max 4 -1\n7 -2 <= 14\n0 1 <= 3\n2 -2 <= 3\nint 1\n") << 0
                         << U("строим смешанное отсечение Гомори");
  QTest::newRow("minimum with >=") << U("min 3 5 4\nconst 2\n2 1 1 >= 7\n1 3 2 >= 8\n1 1 3 >= 5\nint 1 2 3\n") << 0
                                   << optimum;
  QTest::newRow("no integer solution") << U("max 1 1\n2 2 = 3\nint 1 2\n") << 3
                                       << U("задача не имеет целочисленных решений");
  QTest::newRow("unbounded") << U("max 1 1\n1 -1 <= 1/2\nint 1 2\n") << 2
                             << U("поэтому и на таких точках целевая функция не ограничена");
  QTest::newRow("nothing ticked") << U("max 3 2\n1 1 <= 4\n1 3 <= 6\n") << 0
                                  << U("задача решается как обычная задача линейного программирования");
}

// The wizard with "Решить" and "Далее" to the end writes the same file as kelvano-solve for the
// same statement.
void TestIntegerTask::sameReportAsKelvanoSolve() {
  QFETCH(QString, text);
  QFETCH(int, exitCode);
  QFETCH(QString, verdict);
  TMessageRecorder recorder;
  UseKelvanoSolveFolder();

  TStatementGrid statement = Statement(text.toUtf8().constData());
  ResizeStatement(statement, TT_INTEGER, statement.Sx, statement.Sy);
  TIntegerRun run;
  run.Start(TT_INTEGER);
  run.ToSimplex(statement);
  for (int presses = 0; run.Wizard.CurrentStage == SimplexStage && presses < 100; ++presses) {
    if (run.Simplex().Button4->isEnabled()) QTest::mouseClick(run.Simplex().Button4, Qt::LeftButton);
    run.Next();
  }
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  // The text form has no empty "int" line: a statement with nothing ticked is stored and read by name.
  QStringList inputs;
  if (text.contains(U("int"))) {
    inputs << WriteInput(run.Dir, QStringLiteral("statement.txt"), text);
  } else {
    QVERIFY(SaveStatement(run.Dm, statement, "Без целочисленных") > 0);
    recorder.Messages.clear(); // the store announces the save
    inputs << QStringLiteral("--data") << run.Dir.filePath(QStringLiteral("data")) << QStringLiteral("--name")
           << U("Без целочисленных");
  }
  ExpectSameReportAsKelvanoSolve(run.Report, run.Dir, inputs, exitCode, verdict);
  QVERIFY(recorder.Messages.empty());
}

void TestIntegerTask::ticksFromTheContainerThenTheStore_data() {
  QTest::addColumn<bool>("stored");
  QTest::addColumn<QString>("ticks");
  QTest::newRow("the container's names, in any letter case") << false << U("10");
  QTest::newRow("a stored problem's ticks win") << true << U("01");
}

// The boxes are ticked from the container's IntegerVars, then from the problem the wizard was opened
// on: its ticks of X1 and X2 apply, those of X3 (which the program handed on no longer has) and of
// rows Y = 0 and Y = 9 address no box and are left out.
void TestIntegerTask::ticksFromTheContainerThenTheStore() {
  QFETCH(bool, stored);
  QFETCH(QString, ticks);
  TMessageRecorder recorder;
  TIntegerRun run;
  const int id = SaveStatement(run.Dm, Statement("max 1 1 1\n1 1 1 <= 2\nint 2 3\n"), "Тройка");
  QVERIFY(id > 0);
  QVERIFY(run.Dm.InsertRows(id, std::vector<TGomoryRow>{{0, 1}, {9, 1}}));
  recorder.Messages.clear(); // the store announces the save
  run.Classes.StandIn(SK_ZLPINPUT, "Ввод", [](TStandInStage& stage) {
    stage.OnLeave = [](TZLPCore_Interface& data) {
      TStatementError error;
      QVERIFY(ReadStatement(Statement("max 1 1\n1 1 <= 2\n"), data, error));
      data.IntegerVars = {"x1"};
      data.SetFlag(IF_INTEGERVARS);
    };
  });
  run.Start(TT_INTEGER, stored ? id : -1);
  run.Next();
  QCOMPARE(Ticks(run.Select()), ticks);
  QVERIFY(recorder.Messages.empty());
}

// Ticks of a statement shown in the input step come to the boxes; ticks made go into the run's record
// with the statement, and a problem saved under a name brings them back when it is loaded.
void TestIntegerTask::ticksRoundTripThroughTheStore() {
  TMessageRecorder recorder;
  TIntegerRun run;
  run.Start(TT_INTEGER);
  run.Input().ShowStatement(Statement("max 1 1 1 1\n1 1 1 1 <= 3\nint 2 4\n"));
  run.Next();
  QCOMPARE(Ticks(run.Select()), U("0101"));

  run.Dm.DropTempTask(); // the wizard starts a new run with a record of its own
  run.Start(TT_INTEGER);
  const TStatementGrid statement = Statement("max 2 1 3\n1 1 1 <= 7/2\n1 -1 0 >= 0\nint 1 3\n");
  TypeStatement(run.Input(), statement);
  run.Next();
  QCOMPARE(Ticks(run.Select()), U("000"));
  run.Tick(statement);
  run.Next();
  std::string error;
  const std::optional<TStatementGrid> kept = LoadStatement(run.Dm, run.Store.TempTaskId(), error, TT_INTEGER);
  QVERIFY2(kept.has_value(), error.c_str());
  QCOMPARE(kept->Integer, (std::vector<std::uint8_t>{1, 0, 1}));
  QCOMPARE(kept->Cell(0, 1), std::string("7/2"));
  const int id = run.Store.SaveTempTaskAs("Целочисленная «смесь»", TT_INTEGER);
  QVERIFY(id > 0);
  recorder.Messages.clear(); // the store announces the save

  run.Dm.DropTempTask();
  run.Start(TT_INTEGER, id);
  QCOMPARE(run.Input().VarCount(), 3);
  run.Next();
  QCOMPARE(Ticks(run.Select()), U("101"));
  QVERIFY(recorder.Messages.empty());
}

// A stored problem's ticks are read once: the ticks the student changed stay when the student comes
// back to the step from the simplex step, and after a step back to the input step and forward again.
void TestIntegerTask::comingBackKeepsTheTicksMade() {
  TMessageRecorder recorder;
  TIntegerRun run;
  const int id = SaveStatement(run.Dm, Statement("max 2 1 3\n1 1 1 <= 7/2\n1 -1 0 >= 0\nint 1 3\n"), "Тройка");
  QVERIFY(id > 0);
  recorder.Messages.clear(); // the store announces the save
  run.Start(TT_INTEGER, id);
  run.Next();
  QCOMPARE(Ticks(run.Select()), U("101"));
  QTest::mouseClick(run.Select().Box(2), Qt::LeftButton, {}, QPoint(6, run.Select().Box(2)->height() / 2));
  QTest::mouseClick(run.Select().Box(3), Qt::LeftButton, {}, QPoint(6, run.Select().Box(3)->height() / 2));
  QCOMPARE(Ticks(run.Select()), U("110"));
  run.Next();
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  QCOMPARE(run.Simplex().StageData.IntegerVars, (std::vector<std::string>{"X1", "X2"}));
  run.Back();
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, SelectStage);
  QCOMPARE(Ticks(run.Select()), U("110"));
  run.Back();
  QCOMPARE(run.Input().ObjectiveEdit(3)->text(), U("3"));
  run.Next();
  QCOMPARE(Ticks(run.Select()), U("110"));
  QVERIFY(recorder.Messages.empty());
}

// Without a linear program from the step before: the warning, no boxes, and no way forward.
void TestIntegerTask::missingProgramIsReported() {
  TMessageRecorder recorder;
  TIntegerRun run;
  run.Classes.StandIn(SK_ZLPINPUT, "Без задачи");
  run.Start(TT_INTEGER);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, SelectStage);
  QCOMPARE(run.Select().BoxCount(), 0);
  QVERIFY(!run.Wizard.btnNext->isEnabled());
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Caption, std::string(sAppTitle));
  QCOMPARE(recorder.Messages[0].Text, std::string(sFieldNotPrepared));
  QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Warning);
}

QTEST_MAIN(TestIntegerTask)
#include "tst_IntegerTask.moc"
