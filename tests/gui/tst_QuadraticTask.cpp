// Whole quadratic task runs through the real wizard: the statement and the second-order coefficients
// typed, the reduction, the simplex step keeping the pairs apart, the final report equal to
// kelvano-solve's byte for byte; the coefficient grid's bad cell, its memory and the store.
#include "AppPaths.h"
#include "MessageRecorder.h"
#include "SameAsKelvanoSolve.h"
#include "StepRun.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "customUI.h"
#include "untStep_Quadro.h"
#include "untStep_SimplexSolve.h"
#include "untStep_ZLPInput.h"
#include "untStrConst.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QPushButton>

#include <stdexcept>

namespace {

TStatementGrid Statement(const char* text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  return *statement;
}

void ChooseByKeys(QComboBox* box, const QString& text) {
  const int target = box->findText(text);
  QVERIFY2(target >= 0, qPrintable(text));
  box->setFocus();
  while (box->currentIndex() < target) QTest::keyClick(box, Qt::Key_Down);
  while (box->currentIndex() > target) QTest::keyClick(box, Qt::Key_Up);
}

// Sizes the input step with its buttons and types every number and relation of the statement.
void TypeProgram(TfrmStep_ZLPInput& input, const TStatementGrid& s) {
  while (input.VarCount() < s.Sx) QTest::mouseClick(input.BitBtn2, Qt::LeftButton);
  while (input.ConstraintCount() < s.Sy) QTest::mouseClick(input.BitBtn4, Qt::LeftButton);
  ChooseByKeys(input.ComboBox1, s.IsMax ? U("Z =") : U("L ="));
  Type(input.txtZ0, Q(s.Cell(0, 0)));
  for (int j = 1; j <= s.Sx; ++j) Type(input.ObjectiveEdit(j), Q(s.Cell(j, 0)));
  for (int i = 1; i <= s.Sy; ++i) {
    for (int j = 1; j <= s.Sx; ++j) Type(input.ConstraintEdit(i, j), Q(s.Cell(j, i)));
    ChooseByKeys(input.SignBox(i), Q(SignToText(s.Signs[static_cast<std::size_t>(i - 1)])));
    Type(input.RhsEdit(i), Q(s.Cell(0, i)));
  }
}

// The open editor of the coefficient grid; null when none is open.
QLineEdit* OpenEditor(const TfrmStep_Quadro& step) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (QLineEdit* editor : step.sg->viewport()->findChildren<QLineEdit*>())
    if (editor->isVisible()) return editor;
  return nullptr;
}

// Types into cell (column j, row i) of the coefficient grid through its editor.
void TypeCell(TfrmStep_Quadro& step, int j, int i, const QString& text) {
  step.sg->setCurrentCell(i - 1, j - 1);
  QLineEdit* editor = OpenEditor(step); // the step may have opened it on a bad cell
  if (!editor) {
    step.sg->editItem(step.sg->item(i - 1, j - 1));
    editor = OpenEditor(step);
  }
  QVERIFY(editor);
  editor->selectAll();
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents(); // the delegate commits the edit from the event loop
  QCOMPARE(step.CellText(j, i), text);
}

std::string ReferenceDocument(const TStatementGrid& s) {
  TZLPCore_Interface data;
  TStatementError error;
  if (!ReadStatement(s, data, error)) throw std::runtime_error("unreadable test statement");
  TZLPCore_SolutionResult report;
  static_cast<void>(RunTask(s.TaskType, data, report));
  return report.BuildDocument();
}

constexpr int QuadroStage = 1;
constexpr int ReductionStage = 3;
constexpr int SimplexStage = 4;
constexpr int PreviewStage = 5;

const char* const Textbook = "max 8 10\n3 2 <= 6\nquad -1 0\nquad 0 -1\n";

// A quadratic task wizard with every real step and the statement typed, on the coefficients step.
struct TQuadraticRun : TStepRun {
  explicit TQuadraticRun(const TStatementGrid& s, int pending = -1) {
    Start(TT_QUADRATIC, pending);
    if (pending == -1) TypeProgram(Stage<TfrmStep_ZLPInput>(0), s);
    Next();
  }
  TStepClasses Classes;
  TfrmStep_Quadro& Quadro() { return Stage<TfrmStep_Quadro>(QuadroStage); }
  TfrmStep_SimplexSolve& Simplex() { return Stage<TfrmStep_SimplexSolve>(SimplexStage); }
  void TypeCoefficients(const TStatementGrid& s) {
    for (int i = 1; i <= s.Sx; ++i)
      for (int j = 1; j <= s.Sx; ++j) TypeCell(Quadro(), j, i, Q(s.Quad(j, i)));
  }
  // From the coefficients step to the simplex step.
  void ToSimplex() {
    for (int presses = 0; Wizard.CurrentStage < SimplexStage && presses < 4; ++presses) Next();
  }
};

} // namespace

class TestQuadraticTask : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }
  void init() { SetProgramDir(KELVANO_SOURCE_DIR "/"); }

  void reductionExampleFromInputToReport();
  void clickThatBreaksAPairIsRefused();
  void badCoefficientIsFocusedAndTypedOnesAreKept();
  void storedCoefficientsFillTheGrid();
  void sameReportAsKelvanoSolve_data();
  void sameReportAsKelvanoSolve();
};

// max 8X1 + 10X2 - X1^2 - X2^2 with 3X1 + 2X2 <= 6, typed and solved pivot by pivot with "Далее".
void TestQuadraticTask::reductionExampleFromInputToReport() {
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement(Textbook);
  TQuadraticRun run(statement);
  QCOMPARE(run.Wizard.CurrentStage, QuadroStage);
  QCOMPARE(run.Quadro().sg->rowCount(), 2);
  run.TypeCoefficients(statement);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, QuadroStage + 1);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, ReductionStage);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  const TSimplexTable& table = run.Simplex().StageData.Table;
  QCOMPARE(table.ColNames(), (std::vector<std::string>{"X1", "X2", "V1", "V2", "V3", "U1", "U2", "X3"}));
  QCOMPARE(table.RowNames(), (std::vector<std::string>{"U1", "U2", "X3"}));

  for (int presses = 0; table.State != SS_OPTIMAL && presses < 10; ++presses) {
    const TSimplexMethod& method = *run.Simplex().Method();
    QVERIFY(method.PivotPending());
    QVERIFY(table.Allows(method.PivotCol, method.PivotRow));
    run.Next();
  }
  QCOMPARE(table.State, SS_OPTIMAL);
  QCOMPARE(Q(RatToStr(table.GetZValue())), U("0"));
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  const std::string document = run.Report.BuildDocument();
  QVERIFY(document.find("<p><b>Ответ:</b> Z<sub>max</sub> = 277/13 при X<sub>1</sub> = 4/13, X<sub>2</sub> = "
                        "33/13") != std::string::npos);
  QCOMPARE(document, ReferenceDocument(statement));
  QVERIFY(recorder.Messages.empty());
}

// max 2X1 - X1^2 with 3X1 <= 2: a click on V2 in the row of U1 would make V2 basic beside its partner
// X2; it is refused with the reason, and the proposed pivot stays.
void TestQuadraticTask::clickThatBreaksAPairIsRefused() {
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement("max 2\n3 <= 2\nquad -1\n");
  TQuadraticRun run(statement);
  run.TypeCoefficients(statement);
  run.ToSimplex();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  TfrmStep_SimplexSolve& simplex = run.Simplex();
  const TSimplexTable& table = simplex.StageData.Table;
  const int v2 = 3;
  QCOMPARE(table.GetColName(v2), std::string("V2"));
  const int col = simplex.PivotCol();
  const int row = simplex.PivotRow();
  const QRect cell = simplex.StringGrid1->CellRect(v2 + 1, table.RowOf("U1"));
  QTest::mouseClick(simplex.StringGrid1->CellWidget(v2 + 1, table.RowOf("U1")), Qt::LeftButton, {}, cell.center());
  QCOMPARE(simplex.PivotCol(), col);
  QCOMPARE(simplex.PivotRow(), row);
  QVERIFY(run.Wizard.lbHint->text().contains(U("нельзя ввести в базис")));
  QVERIFY(run.Wizard.lbHint->text().contains(U("X2")));
  QTest::mouseClick(simplex.Button4, Qt::LeftButton);
  QCOMPARE(Q(RatToStr(table.ValueOf("X1"))), U("2/3"));
  QVERIFY(recorder.Messages.empty());
}

// A coefficient that is not a number keeps the student on the step with that cell being edited; once
// mended, what was typed survives a trip back to the input step.
void TestQuadraticTask::badCoefficientIsFocusedAndTypedOnesAreKept() {
  TMessageRecorder recorder;
  TQuadraticRun run(Statement(Textbook));
  TfrmStep_Quadro& quadro = run.Quadro();
  TypeCell(quadro, 1, 1, U("-1"));
  TypeCell(quadro, 2, 1, U("1/2"));
  TypeCell(quadro, 1, 2, U("abc"));
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, QuadroStage);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(Q(recorder.Messages.front().Text), U("Недопустимый символ «a». ") + U(sEnterRational));
  QCOMPARE(quadro.sg->currentRow(), 1);
  QCOMPARE(quadro.sg->currentColumn(), 0);
  // The cell's editor is open.
  const QLineEdit* editor = OpenEditor(quadro);
  QVERIFY(editor);
  QCOMPARE(editor->text(), U("abc"));
  // Nothing unreadable reaches the store.
  std::string error;
  const auto stored = LoadStatement(run.Dm, run.Dm.GetTempTaskId(), error, TT_QUADRATIC);
  QVERIFY(stored);
  QCOMPARE(Q(stored->Quad(1, 2)), U("0"));

  TypeCell(quadro, 1, 2, U("+1/2"));
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, QuadroStage + 1);
  QCOMPARE(Q(LoadStatement(run.Dm, run.Dm.GetTempTaskId(), error, TT_QUADRATIC)->Quad(1, 2)), U("+1/2"));
  run.Back();
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  run.Next();
  QCOMPARE(quadro.CellText(1, 2), U("+1/2"));
  QCOMPARE(quadro.CellText(2, 1), U("1/2"));
  // A variable more: a grid of the new size, all zeros.
  run.Back();
  QTest::mouseClick(run.Stage<TfrmStep_ZLPInput>(0).BitBtn2, Qt::LeftButton);
  run.Next();
  QCOMPARE(quadro.sg->rowCount(), 3);
  QCOMPARE(quadro.CellText(1, 2), U("0"));
}

// A stored quadratic program opens with its coefficients as typed in the grid.
void TestQuadraticTask::storedCoefficientsFillTheGrid() {
  TMessageRecorder recorder;
  TStepClasses classes;
  TStepRun run;
  TStatementGrid statement = Statement(Textbook);
  statement.SetQuad(2, 1, "-1/4");
  statement.SetQuad(1, 2, "+3");
  QVERIFY(run.Dm.CreateTempTask() >= 0);
  QVERIFY(StoreStatement(run.Dm, run.Dm.GetTempTaskId(), statement));
  const int id = run.Dm.SaveTempTaskAs("Квадратичная", TT_QUADRATIC);
  run.Dm.DropTempTask();
  QVERIFY(id >= 0);
  recorder.Messages.clear(); // the store announces the save
  run.Start(TT_QUADRATIC, id);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, QuadroStage);
  auto& quadro = run.Stage<TfrmStep_Quadro>(QuadroStage);
  QCOMPARE(quadro.CellText(1, 1), U("-1"));
  QCOMPARE(quadro.CellText(2, 1), U("-1/4"));
  QCOMPARE(quadro.CellText(1, 2), U("+3"));
  QVERIFY(recorder.Messages.empty());
}

void TestQuadraticTask::sameReportAsKelvanoSolve_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("verdict"); // words of the report that only this outcome writes
  QTest::newRow("reduction example") << U(Textbook) << 0 << U("Z<sub>max</sub> = 277/13");
  QTest::newRow("concave, not strictly: Lemke")
      << U("max 1 4\n3 1 <= 7\n1 1 <= 8\nquad -2 0\nquad 0 0\n") << 0 << U("Метод Лемке");
  QTest::newRow("minimum") << U("min -4 -2\n1 1 <= 2\nquad 1 0\nquad 0 1\n") << 0 << U("Z<sub>min</sub> = -9/2");
  QTest::newRow("not concave") << U("max 0 0\n1 1 <= 2\nquad 1 0\nquad 0 0\n") << 7 << U("не обязательно");
  QTest::newRow("unbounded") << U("max 1 0\n0 1 <= 1\nquad 0 0\nquad 0 -1\n") << 2 << U("не ограничена");
  QTest::newRow("infeasible") << U("max 0\n1 >= 3\n1 <= 1\nquad -1\n") << 3 << U("несовместна");
}

// "Решить" and "Далее" to the end write the same file as kelvano-solve for the same statement.
void TestQuadraticTask::sameReportAsKelvanoSolve() {
  QFETCH(QString, text);
  QFETCH(int, exitCode);
  QFETCH(QString, verdict);
  TMessageRecorder recorder;
  UseKelvanoSolveFolder();

  const TStatementGrid statement = Statement(text.toUtf8().constData());
  TQuadraticRun run(statement);
  run.TypeCoefficients(statement);
  run.ToSimplex();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  QTest::mouseClick(run.Simplex().Button4, Qt::LeftButton);
  for (int presses = 0; run.Wizard.CurrentStage == SimplexStage && presses < 5; ++presses) run.Next();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  ExpectSameReportAsKelvanoSolve(run.Report, run.Dir, {WriteInput(run.Dir, QStringLiteral("statement.qp"), text)},
                                 exitCode, verdict);
  QVERIFY(recorder.Messages.empty());
}

QTEST_MAIN(TestQuadraticTask)
#include "tst_QuadraticTask.moc"
