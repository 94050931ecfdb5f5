// Tests of the simplex step on its own: a wizard whose other steps pass the prepared container on,
// the grid and its drawing, pivots by click, "Решить", the integer example with its cuts.
#include "LinearExamples.h"
#include "MessageRecorder.h"
#include "Pages.h"
#include "QtHelpers.h"
#include "TaskCatalog.h"
#include "TextFormat.h"
#include "customUI.h"
#include "untStep_SimplexSolve.h"
#include "untStrConst.h"
#include "untWebViewer.h"
#include "untZLPWizard.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
  return n;
}

// A step that hands its container on unchanged.
class TPassStage : public TZLPCore_SolutionStage {
public:
  using TZLPCore_SolutionStage::TZLPCore_SolutionStage;
};

// Every step kind passes the container on, except the simplex step, which is the real one.
class TSimplexOnly {
public:
  TSimplexOnly() {
    TStageClasses classes;
    for (TStageClass& make : classes)
      make = [](QWidget& owner) -> TZLPCore_SolutionStage* { return new TPassStage(&owner); };
    classes[SK_SIMPLEXSOLVE - 1] = [](QWidget& owner) -> TZLPCore_SolutionStage* {
      return new TfrmStep_SimplexSolve(&owner);
    };
    Previous = SetStageClasses(std::move(classes));
  }
  ~TSimplexOnly() { SetStageClasses(std::move(Previous)); }
  TSimplexOnly(const TSimplexOnly&) = delete;
  TSimplexOnly& operator=(const TSimplexOnly&) = delete;

private:
  TStageClasses Previous;
};

// The container a canonical form step hands on for a program in the text format.
TZLPCore_Interface CanonicalProblem(const std::string& text) {
  TZLPCore_Interface data;
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  TStatementError readError;
  if (!ReadStatement(*statement, data, readError)) throw std::runtime_error("unreadable test statement");
  TZLPCore_SolutionResult explanation;
  data.ZLP.ToCanonical(explanation);
  return data;
}

// A linear task wizard that reaches the simplex step with the given container.
struct TRun {
  explicit TRun(TZLPCore_Interface problem) : Wizard(nullptr) {
    Problem.Assign(problem);
    Wizard.Execute(TT_LINEAR, nullptr, &Report, &Problem, false);
    static_cast<void>(QTest::qWaitForWindowExposed(&Wizard));
    Next(); // input
    Next(); // canonical form
  }
  explicit TRun(const std::string& text) : TRun(CanonicalProblem(text)) {}
  ~TRun() {
    Wizard.Finished = true; // no cancel question when the window goes
    Wizard.close();
  }

  TSimplexOnly Classes;
  TZLPCore_SolutionResult Report;
  TZLPCore_Interface Problem;
  TfrmZLPWizard Wizard;

  void Next() { QTest::mouseClick(Wizard.btnNext, Qt::LeftButton); }
  void Back() { QTest::mouseClick(Wizard.btnBack, Qt::LeftButton); }
  void Solve() { QTest::mouseClick(Step().Button4, Qt::LeftButton); }
  TfrmStep_SimplexSolve& Step() { return *dynamic_cast<TfrmStep_SimplexSolve*>(Wizard.Stages.at(2)); }
  TStringGrid& Grid() { return *Step().StringGrid1; }
  void Click(int col, int row) {
    QWidget* widget = Grid().CellWidget(col, row);
    QVERIFY(widget != nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, Grid().CellRect(col, row).center());
  }
  [[nodiscard]] TSimplexState State() { return Step().StageData.Table.State; }
  [[nodiscard]] QString Hint() const { return Wizard.lbHint->text(); }
};

QColor PixelAt(const QImage& image, QPoint p) { return image.pixelColor(p); }

// Whether colour c lies nearer to a than to b (in the sum of the squared channel differences).
bool Nearer(const QColor& c, const QColor& a, const QColor& b) {
  const auto distance = [&c](const QColor& d) {
    const int r = c.red() - d.red(), g = c.green() - d.green(), u = c.blue() - d.blue();
    return r * r + g * g + u * u;
  };
  return distance(a) < distance(b);
}

} // namespace

class TestSimplexSolve : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }

  void shadeColor_data();
  void shadeColor();
  void fillGradient_data();
  void fillGradient();

  void optimalAtEntry();
  void noSolutionAtEntry();
  void gridShowsTable();
  void clickChoosesPivot_data();
  void clickChoosesPivot();
  void nextPivotsTheChosenElement();
  void pivotMakingThePlanInfeasibleIsConfirmed();
  void solveButton();
  void solveShowsProgressAndCancels();
  void tableFormStartsAnewInTheChosenForm();
  void integerExampleWithCuts();
  void beyondThirtyTwoBitsSolves();
  void missingModel();
  void notCanonical();
  void backAndForwardKeepsThePivots();
  void drawing();
  void columnsFitTheirWidestText();
  void solveLargeProblemInTime();
};

void TestSimplexSolve::shadeColor_data() {
  QTest::addColumn<QColor>("color");
  QTest::addColumn<int>("percent");
  QTest::addColumn<QColor>("expected");
  QTest::newRow("brighten to the limit") << QColor(200, 100, 10) << 70 << QColor(255, 170, 17);
  QTest::newRow("zero counts as 4") << QColor(0, 0, 0) << 50 << QColor(6, 6, 6);
  QTest::newRow("darken") << QColor(192, 192, 192) << -17 << QColor(159, 159, 159);
  QTest::newRow("zero stays dark") << QColor(0, 10, 255) << -50 << QColor(0, 5, 128);
  QTest::newRow("halves to even") << QColor(5, 15, 25) << 10 << QColor(6, 16, 28);
}

void TestSimplexSolve::shadeColor() {
  QFETCH(QColor, color);
  QFETCH(int, percent);
  QFETCH(QColor, expected);
  QCOMPARE(ShadeColor(color, percent), expected);
}

void TestSimplexSolve::fillGradient_data() {
  QTest::addColumn<QRect>("rect");
  QTest::addColumn<bool>("horizontalLines");
  QTest::addColumn<QList<int>>("reds"); // red of each line, first line first
  QTest::newRow("horizontal lines") << QRect(1, 2, 3, 4) << true << QList<int>{0, 25, 50, 75};
  QTest::newRow("vertical lines") << QRect(2, 1, 5, 2) << false << QList<int>{0, 20, 40, 60, 80};
  QTest::newRow("one line") << QRect(0, 0, 4, 1) << true << QList<int>{0};
  QTest::newRow("no height") << QRect(0, 0, 4, 0) << true << QList<int>{};
  QTest::newRow("no width") << QRect(0, 0, 0, 4) << false << QList<int>{};
}

void TestSimplexSolve::fillGradient() {
  QFETCH(QRect, rect);
  QFETCH(bool, horizontalLines);
  QFETCH(QList<int>, reds);
  QImage image(10, 10, QImage::Format_RGB32);
  const QColor background(1, 2, 3);
  image.fill(background);
  {
    QPainter painter(&image);
    FillGradient(painter, rect, QColor(0, 200, 50), QColor(100, 0, 50), horizontalLines);
  }
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QPoint p(x, y);
      if (!rect.contains(p) || reds.isEmpty()) {
        QCOMPARE(PixelAt(image, p), background);
        continue;
      }
      const int k = horizontalLines ? y - rect.top() : x - rect.left();
      const int red = reds[k];
      QCOMPARE(PixelAt(image, p), QColor(red, 200 - 2 * red, 50));
    }
}

// A table optimal at entry: one iteration, "Решить" disabled, "Далее" leaves with the heading, the
// single table and the optimal point.
void TestSimplexSolve::optimalAtEntry() {
  TMessageRecorder recorder;
  TRun run("max -1 -2\n1 1 <= 4\n");
  TfrmStep_SimplexSolve& step = run.Step();
  QCOMPARE(run.Wizard.CurrentStage, 2);
  QCOMPARE(run.State(), SS_OPTIMAL);
  QVERIFY(step.StageData.HasFlag(IF_TABLE));
  QCOMPARE(step.Method()->IterationReports.size(), std::size_t{1});
  QVERIFY(step.Button4->isVisible());
  QVERIFY(!step.Button4->isEnabled());
  QCOMPARE(run.Hint(), U("Найдено оптимальное решение. Нажмите «Далее», чтобы просмотреть результат"));
  QCOMPARE(step.PivotCol(), 0);
  QCOMPARE(step.PivotRow(), 0);

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 3);
  QVERIFY(!step.Button4->isVisible());
  const std::string page = step.StageReport.GetText();
  QVERIFY(page.starts_with("<H2>&bull; Симплекс-метод</H2>"));
  QCOMPARE(Count(page, "<table"), 1);
  QVERIFY(page.find("найдено оптимальное решение") != std::string::npos);
  QVERIFY(page.find("<p>Функция достигает экстремума в точке:\r\n<pre>X<sub>3</sub> = 4\r\n</pre>") !=
          std::string::npos);
  QVERIFY(run.Wizard.StageOutputs[2].HasFlag(IF_SOLUTION));
  QVERIFY(recorder.Messages.empty());
}

// No solution at entry: "Решить" is disabled (the method has ended), "Далее" leaves without a point.
void TestSimplexSolve::noSolutionAtEntry() {
  TMessageRecorder recorder;
  TRun run("max 1 0\n-1 1 <= 4\n");
  TfrmStep_SimplexSolve& step = run.Step();
  QCOMPARE(run.State(), SS_NOSOLUTION);
  QCOMPARE(run.Hint(), U("Целевая функция не ограничена, оптимума нет. Нажмите «Далее», чтобы просмотреть подробности"));
  QVERIFY(!step.Button4->isEnabled());
  const QString before = run.Grid().Cell(1, 1);

  run.Solve();
  QCOMPARE(run.State(), SS_NOSOLUTION);
  QCOMPARE(step.Method()->IterationReports.size(), std::size_t{1});
  QCOMPARE(run.Grid().Cell(1, 1), before);
  QCOMPARE(run.Wizard.CurrentStage, 2);

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 3);
  const std::string page = step.StageReport.GetText();
  QCOMPARE(Count(page, "<table"), 1);
  QVERIFY(page.find("целевая функция не ограничена на множестве допустимых решений, оптимума нет") != std::string::npos);
  QVERIFY(page.find("Функция достигает экстремума") == std::string::npos);
  QVERIFY(recorder.Messages.empty());
}

// The grid shows the tableau as the report does: B first, the Z row last, names in the headers.
void TestSimplexSolve::gridShowsTable() {
  TRun run(ProductMix);
  TStringGrid& grid = run.Grid();
  QCOMPARE(grid.ColCount(), 6); // fixed, B, X1 ... X4
  QCOMPARE(grid.RowCount(), 4); // fixed, X3, X4, Z
  const QStringList expected[] = {
      {QString(), U("B"), U("X1"), U("X2"), U("X3"), U("X4")},
      {U("X3"), U("4"), U("1"), U("1"), U("1"), U("0")},
      {U("X4"), U("6"), U("1"), U("3"), U("0"), U("1")},
      {U("Z"), U("0"), U("-3"), U("-2"), U("0"), U("0")},
  };
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 6; ++col) {
      const QByteArray where = QByteArray::number(col) + "," + QByteArray::number(row);
      QVERIFY2(grid.Cell(col, row) == expected[row][col], where.constData());
    }
  QCOMPARE(run.Step().SeparatorCol, 2);
  QCOMPARE(run.Step().PivotCol(), 1);
  QCOMPARE(run.Step().PivotRow(), 1);
  QCOMPARE(grid.Col(), 2);
  QCOMPARE(grid.Row(), 1);
  QCOMPARE(grid.ColWidth(0), 27);
  QCOMPARE(grid.ColWidth(3), 48);
  QCOMPARE(grid.CellRect(2, 2).height(), 18);
  QCOMPARE(grid.CellRect(2, 0).height(), 18);
  QCOMPARE(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
  QCOMPARE(run.Step().StringGrid1->font().family(), U("Tahoma"));
}

void TestSimplexSolve::clickChoosesPivot_data() {
  QTest::addColumn<int>("col"); // grid cell clicked
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("pivotCol"); // table pivot afterwards
  QTest::addColumn<int>("pivotRow");
  QTest::addColumn<bool>("zeroRefused");
  QTest::newRow("coefficient") << 3 << 2 << 2 << 2 << false;
  QTest::newRow("another row") << 2 << 2 << 1 << 2 << false;
  QTest::newRow("zero cell") << 4 << 2 << 1 << 1 << true;
  QTest::newRow("basic column zero") << 5 << 1 << 1 << 1 << true;
  QTest::newRow("B column") << 1 << 2 << 1 << 1 << false;
  QTest::newRow("Z row") << 3 << 3 << 1 << 1 << false;
  QTest::newRow("header row") << 3 << 0 << 1 << 1 << false;
  QTest::newRow("header column") << 0 << 2 << 1 << 1 << false;
  QTest::newRow("corner") << 0 << 0 << 1 << 1 << false;
}

// A click on a coefficient moves the pivot; a 0 is refused with a hint; headers, B and Z are not pivots.
void TestSimplexSolve::clickChoosesPivot() {
  QFETCH(int, col);
  QFETCH(int, row);
  QFETCH(int, pivotCol);
  QFETCH(int, pivotRow);
  QFETCH(bool, zeroRefused);
  TRun run(ProductMix);
  QCOMPARE(run.State(), SS_PIVOT);
  run.Click(col, row);
  QCOMPARE(run.Step().PivotCol(), pivotCol);
  QCOMPARE(run.Step().PivotRow(), pivotRow);
  QCOMPARE(run.Hint(), Q(zeroRefused ? TSimplexMethod::HintZeroPivot : TSimplexMethod::HintPivot));
  QCOMPARE(run.State(), SS_PIVOT);
}

// "Далее" pivots on the clicked element and proposes the next one.
void TestSimplexSolve::nextPivotsTheChosenElement() {
  TRun run(ProductMix);
  run.Click(3, 2); // X2 in row X4: 3
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 2);
  TStringGrid& grid = run.Grid();
  QCOMPARE(grid.Cell(0, 2), U("X2"));
  QCOMPARE(grid.Cell(1, 2), U("2"));
  QCOMPARE(grid.Cell(1, 3), U("4"));
  QCOMPARE(run.Step().Method()->IterationReports.size(), std::size_t{2});
  QCOMPARE(run.State(), SS_PIVOT);
  QCOMPARE(run.Step().PivotCol(), 1);
  QCOMPARE(grid.Col(), run.Step().PivotCol() + 1);
  QCOMPARE(grid.Row(), run.Step().PivotRow());
}

// "Решить" pivots until the optimum and disables itself; "Далее" then writes every iteration.
void TestSimplexSolve::solveButton() {
  TMessageRecorder recorder;
  TRun run(ProductMix);
  run.Solve();
  QCOMPARE(run.State(), SS_OPTIMAL);
  QVERIFY(!run.Step().Button4->isEnabled());
  QCOMPARE(run.Grid().Cell(1, 3), U("12"));
  QCOMPARE(run.Grid().Cell(0, 1), U("X1"));
  const std::size_t iterations = run.Step().Method()->IterationReports.size();
  QCOMPARE(iterations, std::size_t{2});
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 3);
  const std::string page = run.Step().StageReport.GetText();
  QCOMPARE(Count(page, "<table"), 2);
  QVERIFY(page.find("<pre>X<sub>1</sub> = 4\r\nX<sub>4</sub> = 2\r\n</pre>") != std::string::npos);
  QVERIFY(recorder.Messages.empty());
}

// A run long enough shows its progress; "Отмена" stops it between two pivots, and "Решить" again
// finishes from there at the same optimum.
void TestSimplexSolve::solveShowsProgressAndCancels() {
  TMessageRecorder recorder;
  const qint64 usual = TfrmStep_SimplexSolve::ProgressAfterMs;
  TfrmStep_SimplexSolve::ProgressAfterMs = 0;
  std::string text = "max";
  for (int j = 1; j <= 12; ++j) text += " " + std::to_string(100 + j);
  text += "\n";
  for (int i = 1; i <= 12; ++i) {
    for (int j = 1; j <= 12; ++j) text += i == j ? "1 " : "0 ";
    text += "<= " + std::to_string(i) + "\n";
  }
  TRun run(text);
  QString label;
  QTimer::singleShot(0, [&label] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible()) {
        label = dialog->labelText();
        dialog->cancel();
      }
  });
  run.Solve();
  TfrmStep_SimplexSolve::ProgressAfterMs = usual;
  QCOMPARE(label, U("Симплекс-метод: выполнено преобразований — 1"));
  QCOMPARE(run.State(), SS_PIVOT);
  QVERIFY(run.Step().Button4->isEnabled());
  QCOMPARE(run.Step().Method()->IterationReports.size(), std::size_t{2});
  run.Solve();
  QCOMPARE(run.State(), SS_OPTIMAL);
  long long z = 0;
  for (int j = 1; j <= 12; ++j) z += (100 + j) * j;
  QCOMPARE(run.Grid().Cell(1, 13), QString::number(z));
  QVERIFY(recorder.Messages.empty());
}

// "Вид симплекс-таблиц": the textbook form starts the solution again from the first table, and the
// step's section has the tables with their costs and the index row.
void TestSimplexSolve::tableFormStartsAnewInTheChosenForm() {
  TMessageRecorder recorder;
  TRun run(ProductMix);
  run.Next(); // the first pivot
  QCOMPARE(run.Step().Method()->IterationReports.size(), std::size_t{2});
  run.Step().cbTableForm->setCurrentIndex(1);
  QCOMPARE(run.Step().StageData.TableForm, TTableForm::Textbook);
  QCOMPARE(run.Step().Method()->IterationReports.size(), std::size_t{1});
  QCOMPARE(run.State(), SS_PIVOT);
  run.Solve();
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 3);
  const std::string page = run.Step().StageReport.GetText();
  QCOMPARE(Count(page, "colspan=3>C<sub>j</sub>"), 2);
  QVERIFY(page.find("Опорный план X = (4; 0; 0; 2), Z = 12.") != std::string::npos);
  QVERIFY(recorder.Messages.empty());
}

// Maximise x2 with 3x1 + 2x2 <= 6, -3x1 + 2x2 <= 0 in integers: two Gomory cuts Y1, Y2, then
// X1 = X2 = 1.
void TestSimplexSolve::integerExampleWithCuts() {
  TMessageRecorder recorder;
  TZLPCore_Interface problem = CanonicalProblem("max 0 1\n3 2 <= 6\n-3 2 <= 0\n");
  problem.IntegerVars = {"X1", "X2"};
  problem.SetFlag(IF_INTEGERVARS);
  TRun run(problem);
  TfrmStep_SimplexSolve& step = run.Step();
  TStringGrid& grid = run.Grid();
  QCOMPARE(step.StageData.Table.IntegerVars, (std::vector<std::string>{"X1", "X2"}));

  struct TExpect {
    TSimplexState State;
    int PivotCol;
    int PivotRow;
    int Rows; // constraint rows of the table
  };
  const TExpect expected[] = {
      {SS_PIVOT, 2, 2, 2},     // entry: column X2, row 2 (ratio 0 beats 3)
      {SS_PIVOT, 1, 1, 2},     // column X1, row 1
      {SS_GOMORYCUT, 0, 0, 2}, // X1 = 1, X2 = 3/2
      {SS_NEGATIVEB, 4, 3, 3}, // cut Y1; column X4 (the lexicographic rule on the tie with X3), row Y1
      {SS_GOMORYCUT, 0, 0, 3}, // X1 = 4/3, X2 = 1
      {SS_NEGATIVEB, 3, 4, 4}, // cut Y2; column X3, row Y2
      {SS_OPTIMAL, 0, 0, 4},
  };
  for (std::size_t k = 0; k < std::size(expected); ++k) {
    const QByteArray where = "after " + QByteArray::number(static_cast<int>(k)) + " presses";
    if (k > 0) run.Next();
    QVERIFY2(run.Wizard.CurrentStage == 2, where.constData());
    QVERIFY2(run.State() == expected[k].State, where.constData());
    QVERIFY2(step.PivotCol() == expected[k].PivotCol, where.constData());
    QVERIFY2(step.PivotRow() == expected[k].PivotRow, where.constData());
    QVERIFY2(step.StageData.Table.RowCount() == expected[k].Rows, where.constData());
    QVERIFY2(grid.RowCount() == expected[k].Rows + 2, where.constData());
    // "Решить" works while a pivot is pending; a cut is appended with "Далее".
    const bool pivotPending = expected[k].State == SS_PIVOT || expected[k].State == SS_NEGATIVEB;
    QVERIFY2(step.Button4->isEnabled() == pivotPending, where.constData());
  }
  QCOMPARE(run.Hint(), U("Найдено оптимальное решение. Нажмите «Далее», чтобы просмотреть результат"));
  // The cut variables got columns of their own and left the basis again.
  QCOMPARE(grid.Cell(6, 0), U("Y1"));
  QCOMPARE(grid.Cell(7, 0), U("Y2"));
  QCOMPARE(grid.Cell(0, 3), U("X4"));
  QCOMPARE(grid.Cell(0, 4), U("X3"));
  const TSimplexTable& table = step.StageData.Table;
  for (const char* name : {"X1", "X2", "X3", "X4"}) QCOMPARE(RatToStr(table.ValueOf(name)), std::string("1"));
  QCOMPARE(RatToStr(table.GetZValue()), std::string("1"));

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 3);
  const std::string page = step.StageReport.GetText();
  QCOMPARE(Count(page, "<table"), 7);
  QCOMPARE(Count(page, "переменная X2 не целочисленна, поэтому строим отсечение Гомори"), 1);
  QCOMPARE(Count(page, "переменная X1 не целочисленна, поэтому строим отсечение Гомори"), 1);
  QVERIFY(recorder.Messages.empty());
}

// A pivot whose numbers leave the 32-bit fractions goes on exactly: "Решить" reaches the optimum
// 2147483647^2, and the step's report gives it in full.
void TestSimplexSolve::beyondThirtyTwoBitsSolves() {
  TMessageRecorder recorder;
  TRun run("max 1\n1/2147483647 <= 2147483647\n");
  TfrmStep_SimplexSolve& step = run.Step();
  QVERIFY(step.Button4->isEnabled());
  run.Solve();
  QVERIFY(step.Method()->Stop == TSimplexStop::None);
  QCOMPARE(RatToStr(step.StageData.Table.ValueOf("X1")), std::string("4611686014132420609"));
  QVERIFY(!step.Button4->isEnabled());
  QCOMPARE(run.Wizard.CurrentStage, 2);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 3);
  const std::string page = step.StageReport.GetText();
  QVERIFY(page.find(">4611686014132420609<") != std::string::npos);
  QVERIFY(page.find("Функция достигает экстремума") != std::string::npos);
  QVERIFY(page.find("&lt;err&gt;") == std::string::npos);
  QVERIFY(recorder.Messages.empty());
}

void TestSimplexSolve::missingModel() {
  TMessageRecorder recorder;
  TRun run(TZLPCore_Interface{});
  QCOMPARE(run.Wizard.CurrentStage, 2);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Caption, std::string(sAppTitle));
  QCOMPARE(recorder.Messages[0].Text, std::string(sFieldNotPrepared));
  QVERIFY(!run.Wizard.btnNext->isEnabled());
  QVERIFY(run.Step().Method() == nullptr);
  QVERIFY(!run.Step().Button4->isEnabled());
  QVERIFY(!run.Step().StageData.HasFlag(IF_TABLE));
}

void TestSimplexSolve::notCanonical() {
  TMessageRecorder recorder;
  TZLPCore_Interface problem;
  TTextFormatError error;
  const auto statement = ParseStatementText("min 1 1\n1 1 >= 2\n", error);
  QVERIFY(statement.has_value());
  TStatementError readError;
  QVERIFY(ReadStatement(*statement, problem, readError));
  TRun run(problem);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Caption, std::string("Ошибка"));
  QCOMPARE(Q(recorder.Messages[0].Text), U("Задача, полученная на предыдущем шаге не может быть решена "
                                           "симплекс-методом т.к. не приведена к канонической форме."));
  QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Error);
  QVERIFY(!run.Wizard.btnNext->isEnabled());
  QVERIFY(run.Step().Method() == nullptr);
}

// A click on an element that breaks the rule of the smallest ratio (X1: ratios 4 and 6, row 2 clicked)
// or on a negative element of a row with B > 0 is questioned first: "Нет" keeps the pivot the rules
// propose, "Да" takes the element; the report says that the plan became infeasible and how it is won
// back, and the method still reaches the optimum. A pivot by the rules asks nothing.
void TestSimplexSolve::pivotMakingThePlanInfeasibleIsConfirmed() {
  TMessageRecorder recorder;
  {
    TRun run(ProductMix);
    run.Click(3, 2); // X2 in row 2: ratios 4 and 2, the smallest
    QVERIFY(recorder.Messages.empty());
    QCOMPARE(run.Step().PivotCol(), 2);
    run.Click(2, 1); // back to the proposal
    QVERIFY(recorder.Messages.empty());

    recorder.Answers = {TMsgAnswer::No};
    run.Click(2, 2);
    QCOMPARE(recorder.Messages.size(), std::size_t{1});
    QCOMPARE(recorder.Messages[0].Caption, std::string(sWizardTitle));
    QCOMPARE(recorder.Messages[0].Text, std::string(sPivotBreaksRatio));
    QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Question);
    QCOMPARE(recorder.Messages[0].Buttons, TMsgButtons(mbYes | mbNo));
    QCOMPARE(run.Step().PivotCol(), 1);
    QCOMPARE(run.Step().PivotRow(), 1);

    recorder.Answers = {TMsgAnswer::Yes};
    run.Click(2, 2);
    QCOMPARE(recorder.Messages.size(), std::size_t{2});
    QCOMPARE(run.Step().PivotCol(), 1);
    QCOMPARE(run.Step().PivotRow(), 2);
    run.Click(2, 2); // the pivot already taken: no second question
    QCOMPARE(recorder.Messages.size(), std::size_t{2});
    const std::string page = run.Step().Method()->IterationReports.back()->BuildDocument();
    QVERIFY(page.find("не наименьшее в столбце") != std::string::npos);
    QVERIFY(page.find("новый план будет недопустимым") != std::string::npos);

    run.Next();
    QCOMPARE(run.State(), SS_NEGATIVEB);
    QCOMPARE(RatToStr(run.Step().StageData.Table.GetB(1)), std::string("-2"));
    // While the plan is infeasible the clicks are not questioned.
    run.Click(2, 1);
    QCOMPARE(recorder.Messages.size(), std::size_t{2});
    run.Solve();
    QCOMPARE(run.State(), SS_OPTIMAL);
    QCOMPARE(RatToStr(run.Step().StageData.Table.GetZValue()), std::string("12"));
  }
  recorder.Messages.clear();
  {
    TRun run("max 3 2\n1 -1 <= 4\n1 3 <= 6\n");
    recorder.Answers = {TMsgAnswer::No};
    run.Click(3, 1); // X2 in row 1: -1 with B = 4
    QCOMPARE(recorder.Messages.size(), std::size_t{1});
    QCOMPARE(recorder.Messages[0].Text, std::string(sPivotNegative));
    QCOMPARE(run.Step().PivotCol(), 1);
  }
}

// "Решить" sits just left of "<< Назад" while the step is shown; going back hides it, and coming
// again over the same model goes on with the table the step was left with, also back from the
// step after it; another model starts the method anew.
void TestSimplexSolve::backAndForwardKeepsThePivots() {
  TRun run(ProductMix);
  TfrmStep_SimplexSolve& step = run.Step();
  QPushButton& solve = *step.Button4;
  const QRect back = run.Wizard.btnBack->geometry();
  QCOMPARE(solve.parentWidget(), static_cast<QWidget*>(&run.Wizard));
  QVERIFY(solve.isVisible());
  QVERIFY(solve.geometry().right() < back.left());
  QCOMPARE(solve.geometry().top(), back.top());
  QCOMPARE(solve.text(), U("Решить"));
  QCOMPARE(solve.toolTip(), U("Автоматически решить симплекс-таблицу"));

  run.Wizard.resize(run.Wizard.width() + 120, run.Wizard.height() + 40);
  QTRY_VERIFY(solve.geometry().right() < run.Wizard.btnBack->geometry().left());
  QTRY_COMPARE(solve.geometry().top(), run.Wizard.btnBack->geometry().top());

  run.Next();
  QCOMPARE(RatToStr(step.StageData.Table.GetZValue()), std::string("12"));
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QVERIFY(!solve.isVisible());
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 2);
  QVERIFY(solve.isVisible());
  QCOMPARE(step.Method()->IterationReports.size(), std::size_t{2});
  QCOMPARE(RatToStr(step.StageData.Table.GetZValue()), std::string("12"));
  QCOMPARE(run.Grid().Cell(1, 3), U("12"));
  QVERIFY(step.Method()->Finished());
  QVERIFY(step.btnUndo->isEnabled());

  run.Next(); // the answer
  QCOMPARE(run.Wizard.CurrentStage, 3);
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 2);
  QCOMPARE(run.Grid().Cell(1, 3), U("12"));
  QCOMPARE(step.Method()->IterationReports.size(), std::size_t{2});
  QTest::mouseClick(step.btnUndo, Qt::LeftButton);
  QCOMPARE(step.Method()->IterationReports.size(), std::size_t{1});
  QCOMPARE(run.Grid().Cell(1, 3), U("0"));
  QCOMPARE(step.PivotCol(), 1);
  QCOMPARE(step.PivotRow(), 1);

  // The step before hands on another model: its first table.
  run.Back();
  run.Wizard.Stages.at(1)->StageData.ZLP.RHS.SetItem(1, {5, 1});
  run.Next();
  QCOMPARE(step.Method()->IterationReports.size(), std::size_t{1});
}

// The cross, the pivot cell, the header gradients and the separator lines as drawn on screen.
void TestSimplexSolve::drawing() {
  TRun run(ProductMix);
  TfrmStep_SimplexSolve& step = run.Step();
  TStringGrid& grid = run.Grid();
  run.Wizard.resize(900, 600);
  QTest::qWait(50);
  const QImage image = grid.grab().toImage();
  const auto rectOf = [&grid](int col, int row) {
    const QRect r = grid.CellRect(col, row);
    return QRect(grid.CellWidget(col, row)->mapTo(&grid, r.topLeft()), r.size());
  };
  const QPalette& pal = grid.palette();
  const QColor text = pal.color(QPalette::Text);

  // Pivot (X1, row X3) = grid cell (2, 1): shaded from the light orange at the top to the orange at the
  // bottom, framed in brown; the cell below it is plain.
  const QRect pivot = rectOf(2, 1);
  const QColor pivotTop = PixelAt(image, pivot.topLeft() + QPoint(3, 1));
  const QColor pivotBottom = PixelAt(image, pivot.topLeft() + QPoint(3, 16));
  QVERIFY(pivotTop != pivotBottom);
  QVERIFY(Nearer(pivotTop, step.ColorPivotLight, step.ColorPivot));
  QVERIFY(Nearer(pivotBottom, step.ColorPivot, step.ColorPivotLight));
  QCOMPARE(PixelAt(image, pivot.topLeft()), QColor(0x60, 0x30, 0x00));
  QCOMPARE(PixelAt(image, pivot.bottomRight()), QColor(0x60, 0x30, 0x00));
  const QRect below = rectOf(2, 2).adjusted(3, 1, -3, -1);
  QCOMPARE(PixelAt(image, below.topLeft()), pal.color(QPalette::Base));

  // The header of the pivot column starts dark, another header light.
  QVERIFY(Nearer(PixelAt(image, rectOf(2, 0).topLeft() + QPoint(3, 1)), step.ColorShade, step.ColorLight));
  QVERIFY(Nearer(PixelAt(image, rectOf(3, 0).topLeft() + QPoint(3, 1)), step.ColorLight, step.ColorShade));
  QCOMPARE(PixelAt(image, rectOf(3, 0).topLeft()), step.ColorLine);
  // Row headers are shaded from left to right: the pivot row's header starts dark, another light.
  QVERIFY(Nearer(PixelAt(image, rectOf(0, 1).topLeft() + QPoint(1, 5)), step.ColorShade, step.ColorLight));
  QVERIFY(Nearer(PixelAt(image, rectOf(0, 2).topLeft() + QPoint(1, 5)), step.ColorLight, step.ColorShade));

  // Right lines: strong after B, after the last original variable (X2) and at the last column.
  const int mid = 5;
  const auto rightLine = [&](int col, int row) {
    const QRect r = rectOf(col, row);
    return PixelAt(image, QPoint(r.right(), r.top() + mid));
  };
  QCOMPARE(rightLine(1, 2), text);
  QCOMPARE(rightLine(2, 2), step.ColorShade);
  QCOMPARE(rightLine(3, 2), text);
  QCOMPARE(rightLine(4, 2), step.ColorShade);
  QCOMPARE(rightLine(5, 2), text);
  // Bottom lines: strong under the last constraint row and the Z row only.
  const auto bottomLine = [&](int col, int row) {
    const QRect r = rectOf(col, row);
    return PixelAt(image, QPoint(r.left() + mid, r.bottom()));
  };
  QCOMPARE(bottomLine(4, 1), step.ColorShade);
  QCOMPARE(bottomLine(4, 2), text);
  QCOMPARE(bottomLine(4, 3), text);

  // Cross cells carry bold dark grey text; other cells none of that colour.
  const auto hasColor = [&](const QRect& r, const QColor& c) {
    for (int y = r.top(); y < r.bottom(); ++y)
      for (int x = r.left(); x < r.right(); ++x)
        if (PixelAt(image, QPoint(x, y)) == c) return true;
    return false;
  };
  QVERIFY(hasColor(rectOf(4, 1), QColor(0x45, 0x45, 0x45)));
  QVERIFY(hasColor(rectOf(2, 3), QColor(0x45, 0x45, 0x45)));
  QVERIFY(!hasColor(rectOf(4, 2), QColor(0x45, 0x45, 0x45)));
  QVERIFY(hasColor(rectOf(2, 1), Qt::black));
}

// Long fractions such as -1289/612 are never clipped: every column is at least as wide as its widest
// text in the bold face of the pivot cross, and never narrower than before.
void TestSimplexSolve::columnsFitTheirWidestText() {
  TRun run("max 6 3 7 1 2 9 2 6 1 9 4 1 2 7 7\n3 1 6 0 1 3 0 6 0 3 0 2 4 6 2 <= 24\n"
           "1 4 2 1 3 5 1 1 0 3 7 6 5 7 7 <= 54\n4 3 2 3 1 4 7 5 7 4 1 1 6 2 5 <= 43\n"
           "7 6 0 1 5 5 5 7 7 1 1 4 7 1 0 <= 29\n7 4 6 5 0 7 5 2 1 7 0 3 4 2 3 <= 39\n"
           "6 7 1 2 7 6 4 2 6 4 6 5 6 3 2 <= 45\n2 2 3 3 0 7 2 4 4 0 2 6 5 5 2 <= 25\n"
           "0 7 6 6 6 6 1 7 6 0 3 1 3 7 2 <= 52\n5 0 1 0 2 1 5 0 1 3 6 2 4 5 5 <= 27\n"
           "1 1 7 7 7 7 4 1 2 1 5 4 7 2 0 <= 50\n5 2 0 4 1 4 5 2 5 3 5 3 3 3 6 <= 33\n"
           "3 7 5 0 0 4 7 4 3 5 7 5 5 1 3 <= 34\n");
  TStringGrid& grid = run.Grid();
  QFont bold = grid.font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  int widened = 0;
  for (int presses = 0; run.State() == SS_PIVOT && presses < 40; ++presses) {
    run.Next();
    for (int col = 0; col < grid.ColCount(); ++col) {
      QVERIFY(grid.ColWidth(col) >= (col == 0 ? 27 : 48));
      if (grid.ColWidth(col) > 48) ++widened;
      for (int row = 0; row < grid.RowCount(); ++row) {
        const QString text = grid.Cell(col, row);
        QVERIFY2(metrics.horizontalAdvance(text) < grid.ColWidth(col), qPrintable(text));
      }
    }
  }
  QCOMPARE(run.State(), SS_OPTIMAL);
  QCOMPARE(grid.Cell(1, grid.RowCount() - 1), U("202361/3113"));
  QVERIFY(widened > 0);
}

// "Решить" on the 40 x 40 problem, then "Далее" writing the step's section, and the final page
// written and handed to the viewer (whose engine already runs, as the main window's does): at most
// 2 s together.
void TestSimplexSolve::solveLargeProblemInTime() {
  TMessageRecorder recorder;
  TRun run(Sparse40Text());
  QCOMPARE(run.State(), SS_PIVOT);
  TWebBrowser viewer;
  viewer.resize(800, 600);
  viewer.show();
  QVERIFY(QTest::qWaitForWindowExposed(&viewer));
  QSignalSpy loaded(&viewer, &TWebBrowser::LoadFinished);
  // The program's viewer is running before any wizard opens: start its engine first.
  TZLPCore_SolutionResult warmUp;
  warmUp.AddParagraph("Kelvano");
  warmUp.ShowIn(&viewer);
  QVERIFY(loaded.wait(10000));
  loaded.clear();
  QElapsedTimer clock;
  clock.start();
  run.Solve();
  run.Next();
  TZLPCore_SolutionResult page;
  page.AppendReport(&run.Step().StageReport);
  page.ShowIn(&viewer);
  const qint64 handedOver = clock.elapsed();
  QVERIFY(loaded.wait(15000));
  const qint64 shown = clock.elapsed();
  qInfo("40 x 40: solved and written in %lld ms, shown in %lld ms", static_cast<long long>(handedOver),
        static_cast<long long>(shown));
  QCOMPARE(run.Wizard.CurrentStage, 3);
  QCOMPARE(run.Step().StageData.Table.State, SS_OPTIMAL);
  // Tables of 42 x 82 cells: the first and the last, each by 4 blocks of 10 rows; the 31 between
  // are told by their pivots.
  QCOMPARE(Count(run.Step().StageReport.GetText(), "<table"), 2 * 4);
  QCOMPARE(Count(run.Step().StageReport.GetText(), "(не показана)"), 31);
  QVERIFY(loaded.at(0).at(0).toBool());
  QVERIFY(recorder.Messages.empty());
}

QTEST_MAIN(TestSimplexSolve)
#include "tst_SimplexSolve.moc"
