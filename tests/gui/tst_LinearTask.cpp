// Whole linear task runs: statements typed into the real wizard and solved pivot by pivot or with
// "Решить", the final report in the main window, and the same statements through kelvano-solve,
// whose report must equal the wizard's byte for byte.
#include "AppPaths.h"
#include "LinearExamples.h"
#include "MessageRecorder.h"
#include "Pages.h"
#include "SameAsKelvanoSolve.h"
#include "StatementStore.h"
#include "StepRun.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "TypeStatement.h"
#include "customUI.h"
#include "untLoad.h"
#include "untMain.h"
#include "untSave.h"
#include "untStagePage.h"
#include "untStep_SimplexSolve.h"
#include "untStep_ZLPInput.h"
#include "untWebViewer.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

// Every cell of the grid, row by row.
QStringList GridCells(TStringGrid& grid) {
  QStringList all;
  for (int row = 0; row < grid.RowCount(); ++row)
    for (int col = 0; col < grid.ColCount(); ++col) all << grid.Cell(col, row);
  return all;
}

int NonEmptySections(const TZLPCore_SolutionResult& report) {
  int n = 0;
  for (const std::string& line : report.Lines)
    if (line.find_first_not_of("\r\n") != std::string::npos) ++n;
  return n;
}

int Count(const QByteArray& text, const QByteArray& part) { return static_cast<int>(text.count(part)); }

const char* const MinWithAbove = "min 2 -1\nconst 3\n1 1 <= 4\n1 -1 >= 1\n";

// The index of the simplex step and of the result step of a linear task.
constexpr int SimplexStage = 2;
constexpr int PreviewStage = 3;

// A linear task wizard with every real step, the statement typed and the simplex step reached.
struct TLinearRun : TStepRun {
  explicit TLinearRun(const TStatementGrid& s) {
    Start(TT_LINEAR);
    TypeStatement(Stage<TfrmStep_ZLPInput>(0), s);
    Next();
    Next();
  }
  TStepClasses Classes;
  TfrmStep_SimplexSolve& Simplex() { return Stage<TfrmStep_SimplexSolve>(SimplexStage); }
  [[nodiscard]] QString ZCell() {
    const TStringGrid& grid = *Simplex().StringGrid1;
    return grid.Cell(1, grid.RowCount() - 1);
  }
  // "Решить", then "Далее" until the result step.
  void SolveToEnd() {
    QTest::mouseClick(Simplex().Button4, Qt::LeftButton);
    for (int presses = 0; Wizard.CurrentStage == SimplexStage && presses < 5; ++presses) Next();
  }
};

} // namespace

class TestLinearTask : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }
  void init() { SetProgramDir(KELVANO_SOURCE_DIR "/"); }

  void workedExamples_data();
  void workedExamples();
  void finalReportInMainWindow();
  void sameReportAsKelvanoSolve_data();
  void sameReportAsKelvanoSolve();
  void clickedPivotInTheFinalReport();
  void undoTwiceGivesTheReportOfARunWithoutThosePivots();
  void goingBackKeepsEditsAndPivots();
  void largeProblemInTime();
  void decimalsSolveAsFractionsAndSaveAsPdf();
  void wideTablesPrintedWhole();
  void storedProblemNamesItsPdf();
};

void TestLinearTask::workedExamples_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("solveButton");
  QTest::addColumn<int>("pivots");
  QTest::addColumn<QString>("zValue");
  QTest::addColumn<QString>("point");
  const QString mixPoint = U("<pre>X<sub>1</sub> = 4\r\nX<sub>4</sub> = 2\r\n</pre>");
  const QString minPoint = U("<pre>X<sub>3</sub> = 3\r\nX<sub>1</sub> = 1\r\n</pre>");
  QTest::newRow("product mix, pivot by pivot") << U(ProductMix) << false << 1 << U("12") << mixPoint;
  QTest::newRow("product mix, Решить") << U(ProductMix) << true << 1 << U("12") << mixPoint;
  QTest::newRow("min with >=, pivot by pivot") << U(MinWithAbove) << false << 1 << U("-5") << minPoint;
  QTest::newRow("min with >=, Решить") << U(MinWithAbove) << true << 1 << U("-5") << minPoint;
}

// The worked examples typed into the wizard: the simplex step reaches the optimum, the final report
// has the input, canonical form and simplex sections and equals the windowless run's.
void TestLinearTask::workedExamples() {
  QFETCH(QString, text);
  QFETCH(bool, solveButton);
  QFETCH(int, pivots);
  QFETCH(QString, zValue);
  QFETCH(QString, point);
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement(text.toUtf8().constData());
  TLinearRun run(statement);
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  TfrmStep_SimplexSolve& simplex = run.Simplex();
  QVERIFY(simplex.Button4->isVisible());
  QVERIFY(simplex.Button4->isEnabled());

  if (solveButton) {
    QTest::mouseClick(simplex.Button4, Qt::LeftButton);
    QCOMPARE(simplex.StageData.Table.State, SS_OPTIMAL);
    QVERIFY(!simplex.Button4->isEnabled());
  } else {
    for (int k = 0; k < pivots; ++k) {
      QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
      QVERIFY(simplex.Method()->PivotPending());
      run.Next();
    }
    QCOMPARE(simplex.StageData.Table.State, SS_OPTIMAL);
  }
  QCOMPARE(simplex.Method()->IterationReports.size(), static_cast<std::size_t>(pivots + 1));
  QCOMPARE(run.ZCell(), zValue);
  QCOMPARE(run.Wizard.lbHint->text(), U("Найдено оптимальное решение. Нажмите «Далее», чтобы просмотреть результат"));

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  QVERIFY(!simplex.Button4->isVisible());
  QVERIFY(Q(simplex.StageReport.GetText()).contains(point));
  run.Next();
  QVERIFY(run.Wizard.Finished);
  QCOMPARE(NonEmptySections(run.Report), 4); // input, canonical form, simplex and the answer
  QCOMPARE(run.Report.BuildDocument(), ReferenceDocument(statement));
  QVERIFY(recorder.Messages.empty());
}

// "Мастер решений" from the main window: the student types the statement, presses "Решить" and goes
// on to "Готово"; the main window shows the final report with exactly three headed sections.
void TestLinearTask::finalReportInMainWindow() {
  TMessageRecorder recorder;
  TStepClasses classes;
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  TDM store(folder.path().toStdString());
  QVERIFY(store.IsOpen());
  TLoadForm loadForm(store);
  TSaveForm saveForm;
  TfrmMain form({QStringLiteral("/speed=0")});
  form.SetStore(&store, &loadForm, &saveForm);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));

  const TStatementGrid statement = Statement(MinWithAbove);
  bool driven = false;
  form.OnWizardCreated = [&](TfrmZLPWizard& wizard) {
    QTimer::singleShot(0, &wizard, [&wizard, &statement, &driven] {
      TypeStatement(*dynamic_cast<TfrmStep_ZLPInput*>(wizard.Stages.at(0)), statement);
      QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
      QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
      auto& simplex = *dynamic_cast<TfrmStep_SimplexSolve*>(wizard.Stages.at(SimplexStage));
      QTest::mouseClick(simplex.Button4, Qt::LeftButton);
      QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
      driven = wizard.CurrentStage == PreviewStage;
      wizard.AskSaveName = [](std::uint8_t) { return std::string("Смесь: май"); };
      QTest::mouseClick(wizard.btnSave, Qt::LeftButton);
      QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
    });
  };
  form.TaskMenuItems[0]->trigger();
  form.RunAction(0);
  QVERIFY(driven);
  QVERIFY(form.Wizard == nullptr);
  QVERIFY(!form.PreviewPath.empty());
  const QByteArray page = ReadFile(Q(form.PreviewPath));
  QCOMPARE(Count(page, "<H2>&bull; "), 5);
  for (const char* heading :
       {"Постановка задачи ЛП", "Графический метод", "Каноническая форма", "Симплекс-метод", "Двойственная задача"})
    QCOMPARE(Count(page, QByteArray("<H2>&bull; ") + Utf8ToCp1251(heading).c_str() + "</H2>"), 1);
  QCOMPARE(page, QByteArray::fromStdString(Utf8ToCp1251(ReferenceDocument(statement))));
  QTRY_VERIFY(QUrl(Q(form.WebBrowser1->LocationURL())).toLocalFile().endsWith(U("result_preview.html")));

  // The final report is saved as a PDF under the name the problem was saved under; a page shown
  // after it goes by its own title again.
  QStringList proposed;
  form.WebBrowser1->AskPdfFileName = [&proposed](const QString& name) {
    proposed << QFileInfo(name).fileName();
    return QString();
  };
  form.N4->trigger();
  QCOMPARE(proposed, QStringList{U("Смесь май.pdf")});
  form.N19->trigger();
  // The page "О программе" is shown once its own title has come.
  QTRY_COMPARE_WITH_TIMEOUT(form.WebBrowser1->Title(), U("О программе"), 30000);
  form.N4->trigger();
  QCOMPARE(proposed, (QStringList{U("Смесь май.pdf"), U("О программе.pdf")}));
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Text, std::string("Задача «Смесь: май» сохранена."));
}

void TestLinearTask::sameReportAsKelvanoSolve_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QString>("verdict"); // words of the report that only this outcome writes
  const QString optimum = U("Функция достигает экстремума в точке:");
  QTest::newRow("product mix") << U(ProductMix) << 0 << optimum;
  QTest::newRow("min with >=") << U(MinWithAbove) << 0 << optimum;
  QTest::newRow("equality") << U("max 1 2\n1 1 = 3\n1 3 <= 6\n") << 0 << U("Ограничение-равенство № 1");
  QTest::newRow("unbounded") << U("max 1 1\n1 -1 <= 1\n") << 2 << U("таким образом целевая функция не ограничена");
  QTest::newRow("infeasible") << U("max 1 1\n1 1 <= -2\n") << 3 << U("система ограничений несовместна");
  QTest::newRow("Beale's cycling example")
      << U("# Beale: cycles under the most negative rule\nmax 3/4 -20 1/2 -6\n1/4 -8 -1 9 <= 0\n"
           "1/2 -12 -1/2 3 <= 0\n0 0 1 0 <= 1\n")
      << 0 << U("по правилу Бленда");
  QTest::newRow("beyond 32 bits") << U("max 1\n1/2147483647 <= 2147483647\n") << 0 << U(">4611686014132420609<");
  QTest::newRow("decimals") << U("max 1.5 -0,25\nconst 2.5\n1 1 <= 4.5\n1,25 -1 <= 3\n") << 0 << optimum;
}

// The wizard with "Решить" and "Далее" to the end writes the same file as kelvano-solve for the
// same statement.
void TestLinearTask::sameReportAsKelvanoSolve() {
  QFETCH(QString, text);
  QFETCH(int, exitCode);
  QFETCH(QString, verdict);
  TMessageRecorder recorder;
  UseKelvanoSolveFolder();

  TLinearRun run(Statement(text.toUtf8().constData()));
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  // Two variables add the graphical method; an optimum, an unbounded objective or inconsistent
  // constraints the dual problem.
  const bool dual = exitCode == 0 || exitCode == 2 || exitCode == 3;
  QCOMPARE(QByteArray::fromStdString(run.Report.BuildDocument()).count("<H2>&bull; "),
           (Statement(text.toUtf8().constData()).Sx == 2 ? 4 : 3) + (dual ? 1 : 0));
  ExpectSameReportAsKelvanoSolve(run.Report, run.Dir, {WriteInput(run.Dir, QStringLiteral("statement.txt"), text)},
                                 exitCode, verdict);
  QVERIFY(recorder.Messages.empty());
}

// "1.5" typed into the fields solves exactly as "3/2" does: the wizard's final report of a statement
// in decimals is the reference report of the same statement in fractions. On the result step the
// page is saved as a PDF with its text.
void TestLinearTask::decimalsSolveAsFractionsAndSaveAsPdf() {
  TMessageRecorder recorder;
  TLinearRun run(Statement("max 1.5 2,25\nconst -0.5\n1 1 <= 4.5\n0,5 1.5 <= 3\n-0.25 1 >= -1\n"));
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  TWebBrowser& viewer = *run.Wizard.Stages.at(PreviewStage)->PageViewer();
  QSignalSpy loaded(&viewer, &TWebBrowser::LoadFinished);
  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  QVERIFY(run.Wizard.btnPdf->isVisible());
  // The PDF is made of the page as loaded: printing an address still loading gives a part of it.
  QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
  QVERIFY(loaded.back().front().toBool());
  const QString pdf = run.Dir.filePath(QStringLiteral("решение"));
  QString proposedName;
  viewer.AskPdfFileName = [&pdf, &proposedName](const QString& proposed) {
    proposedName = QFileInfo(proposed).fileName();
    return pdf;
  };
  QSignalSpy saved(&viewer, &TWebBrowser::PdfSaved);
  QTest::mouseClick(run.Wizard.btnPdf, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!saved.isEmpty(), 60000);
  QCOMPARE(saved.front().at(0).toString(), pdf + QStringLiteral(".pdf")); // the extension is added
  QVERIFY(saved.front().at(1).toBool());
  // A new problem has no name of its own: its PDF is proposed under the name of its type.
  QCOMPARE(proposedName, U("Задача линейного программирования.pdf"));
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf + QStringLiteral(".pdf"), QStringLiteral("-")});
  QVERIFY(pdftotext.waitForFinished(30000));
  QVERIFY(QString::fromUtf8(pdftotext.readAllStandardOutput()).contains(U("Функция достигает экстремума в точке:")));

  run.Next();
  QVERIFY(run.Wizard.Finished);
  const TStatementGrid fractions = Statement("max 3/2 9/4\nconst -1/2\n1 1 <= 9/2\n1/2 3/2 <= 3\n-1/4 1 >= -1\n");
  QCOMPARE(run.Report.BuildDocument(), ReferenceDocument(fractions));
  QVERIFY(recorder.Messages.empty());
}

// 16 variables and 4 constraints: a table of 22 cells in a line, wider than an A4 page in the type of
// the screen. The student solves it with "Решить", goes on to the final report and prints it into a
// PDF file from the print dialog: the text of the PDF holds the heading line and every line of the
// last table, name by name and number by number, as the core's table has them.
void TestLinearTask::wideTablesPrintedWhole() {
  TMessageRecorder recorder;
  std::string text = "max";
  for (int j = 1; j <= 16; ++j) text += " " + std::to_string(1 + 5 * j % 7);
  text += "\n";
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 16; ++j) text += std::to_string(1 + (i * j + i) % 5) + " ";
    text += "<= " + std::to_string(10 + 7 * i) + "\n";
  }
  TLinearRun run(Statement(text.c_str()));
  TWebBrowser& viewer = *run.Wizard.Stages.at(PreviewStage)->PageViewer();
  QSignalSpy loaded(&viewer, &TWebBrowser::LoadFinished);
  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  const TSimplexTable& last = run.Simplex().StageData.Table;
  QCOMPARE(last.State, SS_OPTIMAL);
  QCOMPARE(last.ColCount(), 20);
  QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
  QVERIFY(loaded.back().front().toBool());

  const QString pdf = run.Dir.filePath(QStringLiteral("отчёт.pdf"));
  viewer.AskPrinter = [&pdf](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
  };
  QSignalSpy printed(&viewer, &TWebBrowser::PrintFinished);
  viewer.PrintPage();
  QTRY_VERIFY_WITH_TIMEOUT(!printed.isEmpty(), 60000);
  QVERIFY(printed.front().front().toBool());
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  QVERIFY(pdftotext.waitForFinished(30000));
  QStringList lines = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n');
  for (QString& line : lines) line = line.simplified();

  QStringList heading{QStringLiteral("B")};
  for (std::int32_t j = 1; j <= last.ColCount(); ++j) heading << Q(last.GetColName(j));
  QVERIFY2(lines.contains(heading.join(u' ')), qPrintable(heading.join(u' ')));
  for (std::int32_t i = 0; i <= last.RowCount(); ++i) {
    QStringList row{i == 0 ? QStringLiteral("Z") : Q(last.GetRowName(i))};
    for (std::int32_t c = 0; c <= last.ColCount(); ++c) row << Q(RatToStr(last.GetCell(c, i)));
    QVERIFY2(lines.contains(row.join(u' ')), qPrintable(row.join(u' ')));
  }
  QVERIFY(recorder.Messages.empty());
}

// The student clicks X2 in row 2 instead of the proposed X1 in row 1: the final report shades that
// element's row and column in the first table, says it was chosen and that it follows the rules, and
// the next table is the one it gives.
void TestLinearTask::clickedPivotInTheFinalReport() {
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement(ProductMix);
  TLinearRun run(statement);
  TSimplexTable first;
  first.Assign(run.Simplex().StageData.Table);
  TStringGrid& grid = *run.Simplex().StringGrid1;
  QTest::mouseClick(grid.CellWidget(3, 2), Qt::LeftButton, {}, grid.CellRect(3, 2).center());
  QCOMPARE(run.Simplex().PivotCol(), 2);
  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  const std::string report = run.Report.BuildDocument();
  QVERIFY(report.find(first.ToHtml(2, 2) + "\r\n") != std::string::npos);
  QVERIFY(report.find(first.ToHtml(1, 1)) == std::string::npos);
  QVERIFY(report.find("Разрешающий элемент выбран вручную: A<sub>2,2</sub> = 3 вместо предложенного "
                      "A<sub>1,1</sub>; этот элемент тоже удовлетворяет правилам симплекс-метода. При этом в базис "
                      "вводится X<sub>2</sub>, из базиса выводится X<sub>4</sub>.") != std::string::npos);
  first.Pivot(2, 2);
  QVERIFY(report.find(first.ToHtml(1, 1)) != std::string::npos); // the next table, with its own proposal
  QVERIFY(report.find("<pre>X<sub>1</sub> = 4\r\nX<sub>4</sub> = 2\r\n</pre>") != std::string::npos);
  QVERIFY(recorder.Messages.empty());
}

// A problem from the store, one cell changed, a pivot of the student's own and "Решить": back from the
// result step the simplex step shows its last table with the pivots made (and takes them back one by
// one), back at the input step the changed cell is there, not the stored number; forward again over
// the same statement the run goes on, and the final report tells the student's pivot.
void TestLinearTask::goingBackKeepsEditsAndPivots() {
  TMessageRecorder recorder;
  TStepClasses classes;
  TStepRun run;
  QVERIFY(run.Dm.CreateTempTask() >= 0);
  QVERIFY(StoreStatement(run.Dm, run.Dm.GetTempTaskId(), Statement("max 3 4\n1 0 <= 4\n0 2 <= 12\n3 2 <= 18\n")));
  const int id = run.Dm.SaveTempTaskAs("Три ограничения", TT_LINEAR);
  QVERIFY(id > 0);
  run.Dm.DropTempTask();
  recorder.Messages.clear();

  run.Start(TT_LINEAR, id);
  auto& input = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(input.ObjectiveEdit(2)->text(), U("4"));
  Type(input.ObjectiveEdit(2), U("5"));
  run.Next();
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  auto& simplex = run.Stage<TfrmStep_SimplexSolve>(SimplexStage);
  TStringGrid& grid = *simplex.StringGrid1;
  const auto cells = [&grid] { return GridCells(grid); };
  const QStringList first = cells();
  QTest::mouseClick(grid.CellWidget(2, 1), Qt::LeftButton, {}, grid.CellRect(2, 1).center()); // X1 in row 1
  QCOMPARE(simplex.PivotCol(), 1);
  QTest::mouseClick(simplex.Button4, Qt::LeftButton);
  const QStringList last = cells();
  const std::size_t iterations = simplex.Method()->IterationReports.size();
  QVERIFY(iterations >= 3);
  QCOMPARE(grid.Cell(1, grid.RowCount() - 1), U("36"));
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);

  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  QCOMPARE(cells(), last);
  QCOMPARE(simplex.Method()->IterationReports.size(), iterations);
  QVERIFY(simplex.btnUndo->isEnabled());
  QVERIFY(!simplex.Button4->isEnabled());
  QTest::mouseClick(simplex.btnUndo, Qt::LeftButton);
  QVERIFY(cells() != last);
  QTest::mouseClick(simplex.Button4, Qt::LeftButton);
  QCOMPARE(cells(), last);

  run.Back();
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QCOMPARE(input.ObjectiveEdit(2)->text(), U("5"));
  QCOMPARE(input.ObjectiveEdit(1)->text(), U("3"));
  run.Next();
  run.Next();
  QCOMPARE(cells(), last);
  QCOMPARE(simplex.Method()->IterationReports.size(), iterations);

  // Another statement starts the method anew from its first table.
  run.Back();
  run.Back();
  Type(input.ObjectiveEdit(2), U("4"));
  run.Next();
  run.Next();
  QCOMPARE(simplex.Method()->IterationReports.size(), std::size_t{1});
  QVERIFY(cells() != first); // Z row of the other objective
  run.Back();
  run.Back();
  Type(input.ObjectiveEdit(2), U("5"));
  run.Next();
  run.Next();
  QCOMPARE(cells(), first);
  QCOMPARE(simplex.Method()->IterationReports.size(), std::size_t{1});

  QTest::mouseClick(grid.CellWidget(2, 1), Qt::LeftButton, {}, grid.CellRect(2, 1).center());
  QTest::mouseClick(simplex.Button4, Qt::LeftButton);
  run.Next();
  run.Back();
  run.Next();
  run.Next();
  QVERIFY(run.Wizard.Finished);
  const std::string report = run.Report.BuildDocument();
  QVERIFY(report.find("Разрешающий элемент выбран вручную") != std::string::npos);
  QVERIFY(report.find("36") != std::string::npos);
  QVERIFY(recorder.Messages.empty());
}

// Two pivots to the optimum, "Отменить шаг" twice: the first table again, and "Решить" then gives the
// report of a run that never made the pivots taken back, byte for byte.
void TestLinearTask::undoTwiceGivesTheReportOfARunWithoutThosePivots() {
  TMessageRecorder recorder;
  const TStatementGrid statement = Statement("max 3 5\n1 0 <= 4\n0 2 <= 12\n3 2 <= 18\n");
  TLinearRun run(statement);
  TfrmStep_SimplexSolve& simplex = run.Simplex();
  TStringGrid& grid = *simplex.StringGrid1;
  const auto cells = [&grid] { return GridCells(grid); };
  const QStringList first = cells();
  const QString hint = run.Wizard.lbHint->text();
  QVERIFY(simplex.btnUndo->isVisible());
  QVERIFY(!simplex.btnUndo->isEnabled());
  QVERIFY(simplex.btnUndo->geometry().right() < simplex.Button4->geometry().left());
  run.Next();
  run.Next();
  QVERIFY(!simplex.Button4->isEnabled());
  QCOMPARE(simplex.StageData.Table.State, SS_OPTIMAL);
  QCOMPARE(run.ZCell(), U("36"));
  for (int k = 0; k < 2; ++k) QTest::mouseClick(simplex.btnUndo, Qt::LeftButton);
  QCOMPARE(cells(), first);
  QCOMPARE(simplex.StageData.Table.State, SS_PIVOT);
  QCOMPARE(simplex.Method()->IterationReports.size(), std::size_t{1});
  QCOMPARE(run.Wizard.lbHint->text(), hint);
  QVERIFY(!simplex.btnUndo->isEnabled());
  QVERIFY(simplex.Button4->isEnabled());
  run.SolveToEnd();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  run.Next();
  QVERIFY(run.Wizard.Finished);
  QCOMPARE(run.Report.BuildDocument(), ReferenceDocument(statement));
  QVERIFY(recorder.Messages.empty());
}

// "Решить" on the 40 x 40 problem and "Далее" to the result step, which writes the final page and
// shows it; the figures go to the log (the bar of 2 s is checked by hand, not here).
void TestLinearTask::largeProblemInTime() {
  TMessageRecorder recorder;
  TStepClasses classes;
  TStepRun run;
  run.Start(TT_LINEAR);
  const TStatementGrid statement = Statement(Sparse40Text().c_str());
  run.Stage<TfrmStep_ZLPInput>(0).ShowStatement(statement);
  run.Next();
  QTest::qWait(200); // the canonical page loads; the engine runs from here on
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  auto& simplex = run.Stage<TfrmStep_SimplexSolve>(SimplexStage);
  auto& preview = run.Stage<TfrmStagePage>(PreviewStage);
  QSignalSpy loaded(preview.wb, &TWebBrowser::LoadFinished);

  QElapsedTimer clock;
  clock.start();
  QTest::mouseClick(simplex.Button4, Qt::LeftButton);
  const qint64 solved = clock.elapsed();
  run.Next();
  const qint64 handedOver = clock.elapsed();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  QVERIFY(loaded.wait(15000));
  const qint64 shown = clock.elapsed();
  qInfo("40 x 40 through the wizard: solved in %lld ms, result page written and handed to the viewer in %lld ms, "
        "shown in %lld ms",
        static_cast<long long>(solved), static_cast<long long>(handedOver), static_cast<long long>(shown));
  QCOMPARE(simplex.StageData.Table.State, SS_OPTIMAL);
  // The first and the last of 33 simplex tables, each by 4 blocks of 10 rows, then the dual section's
  // tables: the correspondence of rows and of variables, complementary slackness of rows and of
  // variables, the ranges of b and of c.
  QCOMPARE(static_cast<int>(Q(simplex.StageReport.GetText()).count(U("<table"))), 2 * 4 + 6);
  QVERIFY(recorder.Messages.empty());
}

namespace {

QString PdfText(const QString& pdf) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  return pdftotext.waitForFinished(30000) ? QString::fromUtf8(pdftotext.readAllStandardOutput()) : QString();
}

} // namespace

// A problem opened from the store is solved to the result step: its PDF is proposed under the
// problem's name, made fit for a file name, and begins with a title line naming the task; the print
// preview opens on the same document; saved under another name, the problem's PDF follows it.
void TestLinearTask::storedProblemNamesItsPdf() {
  TMessageRecorder recorder;
  TStepClasses classes;
  TStepRun run;
  QVERIFY(run.Dm.CreateTempTask() > 0);
  QVERIFY(StoreStatement(run.Dm, run.Dm.GetTempTaskId(), Statement(ProductMix)));
  const int id = run.Dm.SaveTempTaskAs("План: цех №2/май", TT_LINEAR);
  run.Dm.DropTempTask();
  QVERIFY(id > 0);

  run.Start(TT_LINEAR, id);
  run.Next();
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, SimplexStage);
  TWebBrowser& viewer = *run.Wizard.Stages.at(PreviewStage)->PageViewer();
  QSignalSpy loaded(&viewer, &TWebBrowser::LoadFinished);
  QTest::mouseClick(run.Stage<TfrmStep_SimplexSolve>(SimplexStage).Button4, Qt::LeftButton);
  for (int presses = 0; run.Wizard.CurrentStage == SimplexStage && presses < 5; ++presses) run.Next();
  QCOMPARE(run.Wizard.CurrentStage, PreviewStage);
  QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);

  const QString pdf = run.Dir.filePath(QStringLiteral("план.pdf"));
  QStringList proposed;
  viewer.AskPdfFileName = [&pdf, &proposed](const QString& name) {
    proposed << QFileInfo(name).fileName();
    return pdf;
  };
  QSignalSpy saved(&viewer, &TWebBrowser::PdfSaved);
  QTest::mouseClick(run.Wizard.btnPdf, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!saved.isEmpty(), 60000);
  QVERIFY(saved.front().at(1).toBool());
  QCOMPARE(proposed, QStringList{U("План цех №2 май.pdf")});
  // The page of the step has no title of its own; the PDF begins with the task's name.
  const QString text = PdfText(pdf);
  QCOMPARE(text.section(QChar(u'\n'), 0, 0).trimmed(), U("Задача линейного программирования"));
  QVERIFY(text.contains(U("Функция достигает экстремума в точке:")));

  QString previewTitle;
  viewer.ShowPreview = [&previewTitle](QPrintPreviewDialog& dialog) { previewTitle = dialog.windowTitle(); };
  QVERIFY(run.Wizard.btnPreview->isVisible());
  QTest::mouseClick(run.Wizard.btnPreview, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!previewTitle.isEmpty(), 60000);
  QVERIFY2(previewTitle.endsWith(U("План: цех №2/май")), qPrintable(previewTitle));

  run.Wizard.AskSaveName = [](std::uint8_t) { return std::string("Склад"); };
  QTest::mouseClick(run.Wizard.btnSave, Qt::LeftButton);
  saved.clear();
  QTest::mouseClick(run.Wizard.btnPdf, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!saved.isEmpty(), 60000);
  QCOMPARE(proposed.size(), 2);
  QCOMPARE(proposed.back(), U("Склад.pdf"));
  // Nothing but the store's word on each save.
  QStringList messages;
  for (const TRecordedMessage& message : recorder.Messages) messages << Q(message.Text);
  QCOMPARE(messages, (QStringList{U("Задача «План: цех №2/май» сохранена."), U("Задача «Склад» сохранена.")}));
}

QTEST_MAIN(TestLinearTask)
#include "tst_LinearTask.moc"
