// The assignment, the regression and the transportation window opened from the main window: typing, the refused sizes
// and cells, the report the main window shows (the same file kelvano-solve writes), saving under a
// Cyrillic name and opening the stored problem again.
#include "AppPaths.h"
#include "DataMod.h"
#include "Input_.h"
#include "MessageRecorder.h"
#include "QtHelpers.h"
#include "Regression.h"
#include "SolverWindow.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "TransportForm.h"
#include "Unit1.h"
#include "untLoad.h"
#include "untMain.h"
#include "untSave.h"
#include "untWebViewer.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TStatementGrid Statement(const std::string& text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  return *statement;
}

// Types into cell (row, column) of a table as a student does: F2, the text, Enter.
void TypeCell(QTableView* view, int row, int column, const QString& text) {
  view->setCurrentIndex(view->model()->index(row, column));
  view->setFocus();
  QTest::keyClick(view, Qt::Key_F2);
  QLineEdit* editor = nullptr;
  for (QLineEdit* e : view->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) editor = e;
  QVERIFY2(editor, "no cell editor");
  editor->clear();
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  // The delegate commits the text a moment later.
  QApplication::processEvents();
}

QString CellText(const QTableView* view, int row, int column) {
  return view->model()->index(row, column).data().toString();
}

// Replaces the text of a number box by typing.
void TypeNumber(QSpinBox* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, text);
}

// kelvano-solve -o on a statement: the report file it writes.
QByteArray SolvedByKelvanoSolve(const TStatementGrid& statement, const QTemporaryDir& dir) {
  const QString input = dir.filePath(QStringLiteral("statement.txt"));
  QFile file(input);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(QByteArray::fromStdString(StatementToText(statement)));
  file.close();
  const QString output = dir.filePath(QStringLiteral("solved.html"));
  QProcess process;
  process.start(QStringLiteral(KELVANO_SOLVE), {QStringLiteral("-o"), output, input});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  return ReadFile(output);
}

// The store, its dialogs and the main window, in a folder of their own.
struct TMainRun {
  TMainRun() : Store(Folder.path().toStdString()), LoadForm(Store), Form({QStringLiteral("/speed=0")}) {
    Form.SetStore(&Store, &LoadForm, &SaveForm);
    Form.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&Form));
  }
  QTemporaryDir Folder;
  TDM Store;
  TLoadForm LoadForm;
  TSaveForm SaveForm;
  TfrmMain Form;

  [[nodiscard]] QByteArray ShownReport() const { return ReadFile(Q(Form.PreviewPath)); }
  // The next save dialog is answered with name.
  void AnswerSave(const QString& name) {
    QTimer::singleShot(0, &SaveForm, [this, name] {
      SaveForm.Edit1->setText(name);
      QTest::mouseClick(SaveForm.Button1, Qt::LeftButton);
    });
  }
  // The next load dialog picks its only problem.
  void AnswerLoad() {
    QTimer::singleShot(0, &LoadForm, [this] {
      QTreeWidgetItem* item = LoadForm.ListView1->topLevelItem(0);
      if (item) item->setSelected(true);
      QTest::mouseClick(LoadForm.Button2, Qt::LeftButton);
    });
  }
};

// The real window of a type, driven by script once it is shown, for as long as it lives.
template <class TWindow> class TDrivenWindows {
public:
  TDrivenWindows(std::uint8_t taskType, std::function<void(TWindow&)> script) : Type(taskType) {
    Previous = SetSolverMaker(taskType, [script = std::move(script), this](const TSolverContext& context) {
      auto window = std::make_unique<TWindow>(context);
      TWindow* shown = window.get();
      ++Made;
      QTimer::singleShot(0, shown, [shown, script] {
        script(*shown);
        // A script stopped by a failed check leaves the window open: close it, so the test goes on.
        if (shown->isVisible()) shown->done(QDialog::Rejected);
      });
      return std::unique_ptr<TSolverWindow>(std::move(window));
    });
  }
  ~TDrivenWindows() { SetSolverMaker(Type, std::move(Previous)); }
  TDrivenWindows(const TDrivenWindows&) = delete;
  TDrivenWindows& operator=(const TDrivenWindows&) = delete;
  int Made = 0;

private:
  std::uint8_t Type;
  TSolverMaker Previous;
};

bool HasMessage(const TMessageRecorder& recorder, const std::string& text) {
  return std::any_of(recorder.Messages.begin(), recorder.Messages.end(),
                     [&text](const TRecordedMessage& m) { return m.Text == text; });
}

const char* const Profits = "assign max\n6 8 9 5\n4 5 7 8\n3 7 9 6\n8 9 0 7\n";

} // namespace

class TestSolverWindows : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }
  // The reports link the style sheet beside kelvano-solve, as the program's own would.
  void init() { SetProgramDir((QFileInfo(QStringLiteral(KELVANO_SOLVE)).canonicalPath() + u'/').toStdString()); }

  void assignmentFromMainWindowAndFromTheStore();
  void regressionFromMainWindowAndFromTheStore();
  void transportFromMainWindowAndFromTheStore();
};

// "Решение" of the transportation problem: the sizes and Vogel's method chosen, a negative supply
// refused with its cell made current, an empty cell read as 0; the report in the main window is
// kelvano-solve's; the stored problem opens again with its cells and method and gives the same report.
void TestSolverWindows::transportFromMainWindowAndFromTheStore() {
  TMessageRecorder recorder;
  TMainRun run;
  const TStatementGrid expected =
      Statement("transport\nstart vogel\nsupply 25 35/2\ndemand 10 0 20\n3 1/2 4\n2 5 1\n");
  bool typed = false;
  {
    TDrivenWindows<TTransportForm> windows(TT_TRANSPORT, [&](TTransportForm& w) {
      TypeNumber(w.edSuppliers, QStringLiteral("2"));
      TypeNumber(w.edConsumers, QStringLiteral("3"));
      QCOMPARE(w.tblCells->model()->rowCount(), 3);
      QCOMPARE(w.tblCells->model()->columnCount(), 4);
      QVERIFY(!(w.tblCells->model()->flags(w.tblCells->model()->index(0, 0)) & Qt::ItemIsEditable));
      w.cbStart->setFocus();
      QTest::keyClick(w.cbStart, Qt::Key_Down);
      QTest::keyClick(w.cbStart, Qt::Key_Down);
      for (int y = 0; y <= 2; ++y)
        for (int x = 0; x <= 3; ++x)
          if (x != 0 || y != 0) TypeCell(w.tblCells, y, x, Q(expected.Cell(x, y)));
      TypeCell(w.tblCells, 2, 0, QStringLiteral("-1"));
      TypeCell(w.tblCells, 0, 2, QString());
      QTest::mouseClick(w.btnSolve, Qt::LeftButton);
      QVERIFY(HasMessage(recorder, "запас поставщика A2: Запас не может быть отрицательным"));
      QCOMPARE(w.tblCells->currentIndex(), w.tblCells->model()->index(2, 0));
      QVERIFY(w.isVisible());
      TypeCell(w.tblCells, 2, 0, QStringLiteral("35/2"));
      run.AnswerSave(U("Перевозки"));
      QTest::mouseClick(w.btnSave, Qt::LeftButton);
      QCOMPARE(run.Store.ListTasks(TT_TRANSPORT)->size(), std::size_t{1});
      QTest::mouseClick(w.btnSolve, Qt::LeftButton);
      QCOMPARE(CellText(w.tblCells, 0, 2), QStringLiteral("0"));
      typed = true;
    });
    run.Form.RunAction(TA_TRANSPORT_WINDOW);
    QVERIFY(typed);
  }
  const QByteArray first = run.ShownReport();
  QVERIFY(!first.isEmpty());
  QTemporaryDir dir;
  QCOMPARE(first, SolvedByKelvanoSolve(expected, dir));
  QVERIFY(first.contains(Utf8ToCp1251("метод Фогеля").c_str()));

  bool loaded = false;
  {
    TDrivenWindows<TTransportForm> windows(TT_TRANSPORT, [&](TTransportForm& w) {
      QCOMPARE(Q(StatementToText(w.Statement())), Q(StatementToText(expected)));
      QCOMPARE(w.cbStart->currentIndex(), 2);
      loaded = true;
      QTest::mouseClick(w.btnSolve, Qt::LeftButton);
    });
    run.Form.CurrentTaskType = 8;
    run.AnswerLoad();
    run.Form.N11->trigger();
    QVERIFY(loaded);
  }
  QCOMPARE(run.ShownReport(), first);
}

// "Решение" of the assignment problem: sizes above 255 and letters refused in the size box, a
// negative cost refused with the cell made current, a matrix with an empty cell refused by
// "Сохранить" and solved by "Решение" with the cell read as 0; the report in the main window is
// kelvano-solve's; the stored problem opens again with its matrix and gives the same report;
// "Отмена" brings the previous page back.
void TestSolverWindows::assignmentFromMainWindowAndFromTheStore() {
  TMessageRecorder recorder;
  TMainRun run;
  const TStatementGrid expected = Statement(Profits);
  const QString name = U("Продавцы и регионы");
  bool typed = false;
  {
    TDrivenWindows<TForm1> windows(TT_ASSIGNMENT, [&](TForm1& w) {
      TypeNumber(w.LabeledEdit1, QStringLiteral("256"));
      QCOMPARE(w.LabeledEdit1->value(), 25);
      QTest::keyClicks(w.LabeledEdit1, QStringLiteral("a"));
      QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("25"));
      QCOMPARE(w.isx->model()->rowCount(), 25);
      TypeNumber(w.LabeledEdit1, QStringLiteral("4"));
      QCOMPARE(w.isx->model()->columnCount(), 4);
      QCOMPARE(CellText(w.isx, 3, 3), QStringLiteral("0"));
      w.ComboBox1->setFocus();
      QTest::keyClick(w.ComboBox1, Qt::Key_Down);
      for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 4; ++x) TypeCell(w.isx, y - 1, x - 1, Q(expected.Cell(x, y)));
      TypeCell(w.isx, 0, 1, QStringLiteral("-3"));
      TypeCell(w.isx, 3, 2, QString());

      QTest::mouseClick(w.BitBtn4, Qt::LeftButton);
      QVERIFY(HasMessage(recorder, "Должно быть положительное число"));
      QCOMPARE(w.isx->currentIndex(), w.isx->model()->index(0, 1));
      QVERIFY(w.isVisible());
      TypeCell(w.isx, 0, 1, QStringLiteral("8"));

      QTest::mouseClick(w.BitBtn5, Qt::LeftButton);
      QVERIFY(HasMessage(recorder, "Ошибка в исходных данных, проверьте правильность ввода"));
      QVERIFY(run.Store.ListTasks(TT_ASSIGNMENT)->empty());
      TypeCell(w.isx, 3, 2, QStringLiteral("0"));
      run.AnswerSave(name);
      QTest::mouseClick(w.BitBtn5, Qt::LeftButton);
      QCOMPARE(run.Store.ListTasks(TT_ASSIGNMENT)->size(), std::size_t{1});

      TypeCell(w.isx, 3, 2, QString());
      QTest::mouseClick(w.BitBtn4, Qt::LeftButton);
      QCOMPARE(CellText(w.isx, 3, 2), QStringLiteral("0"));
      typed = true;
    });
    run.Form.RunAction(1);
    QVERIFY(typed);
  }
  const QByteArray first = run.ShownReport();
  QVERIFY(!first.isEmpty());
  QTemporaryDir dir;
  QCOMPARE(first, SolvedByKelvanoSolve(expected, dir));
  QVERIFY(first.contains(Utf8ToCp1251("Значение целевой функции = 33").c_str()));

  bool loaded = false;
  {
    TDrivenWindows<TForm1> windows(TT_ASSIGNMENT, [&](TForm1& w) {
      QCOMPARE(Q(StatementToText(w.Statement())), Q(StatementToText(expected)));
      QCOMPARE(w.ComboBox1->currentIndex(), 1);
      loaded = true;
      QTest::mouseClick(w.BitBtn4, Qt::LeftButton);
    });
    run.Form.CurrentTaskType = 8;
    run.AnswerLoad();
    run.Form.N11->trigger();
    QVERIFY(loaded);
    QCOMPARE(run.Form.CurrentTaskType, 8);
  }
  QCOMPARE(run.ShownReport(), first);

  {
    TDrivenWindows<TForm1> windows(TT_ASSIGNMENT, [](TForm1& w) { QTest::mouseClick(w.btnNext, Qt::LeftButton); });
    const std::string before = run.Form.WebBrowser1->LocationURL();
    run.Form.RunAction(1);
    QCOMPARE(windows.Made, 1);
    QTRY_COMPARE(run.Form.WebBrowser1->LocationURL(), before);
  }
}

// The regression: counts above 32000 refused, equal X refused with the box and no report, two
// presses of "Решение" giving two blocks in the report the main window shows, the observations
// stored under a Cyrillic name and opened again into kelvano-solve's report; "Готово" without a
// solution brings the previous page back.
void TestSolverWindows::regressionFromMainWindowAndFromTheStore() {
  TMessageRecorder recorder;
  TMainRun run;
  const TStatementGrid line = Statement("regress\n1 2\n2 4\n3 6\n");
  bool typed = false;
  {
    TDrivenWindows<TInput_form> windows(TT_REGRESSION, [&](TInput_form& w) {
      TypeNumber(w.Edit1, QStringLiteral("99999"));
      QCOMPARE(w.Edit1->value(), 9999);
      QCOMPARE(w.StringGrid1->model()->rowCount(), 10000);
      TypeNumber(w.Edit1, QStringLiteral("3"));
      QCOMPARE(w.StringGrid_input->model()->rowCount(), 3);
      QCOMPARE(CellText(w.StringGrid1, 3, 0), U("Итого"));
      for (int i = 1; i <= 3; ++i) {
        TypeCell(w.StringGrid_input, i - 1, 0, QStringLiteral("1"));
        TypeCell(w.StringGrid_input, i - 1, 1, Q(line.Cell(1, i)));
      }
      QCOMPARE(CellText(w.StringGrid1, 2, 2), QStringLiteral("6"));
      QTest::mouseClick(w.BitBtn3, Qt::LeftButton);
      QVERIFY(HasMessage(recorder, "Ошибка в исходных данных, проверьте правильность ввода"));
      QVERIFY(!w.Solved);
      QVERIFY(w.Report.Lines.empty());
      QCOMPARE(w.lbADenominator->text(), QString::fromUtf8("3·3 - 3·3"));

      for (int i = 1; i <= 3; ++i) TypeCell(w.StringGrid_input, i - 1, 0, Q(line.Cell(0, i)));
      QTest::mouseClick(w.BitBtn3, Qt::LeftButton);
      QVERIFY(w.Solved);
      QVERIFY(w.GroupBox2->isVisible());
      QCOMPARE(w.lbAValue->text(), QStringLiteral("= 2"));
      QCOMPARE(w.lbBValue->text(), QStringLiteral("= 0"));
      QCOMPARE(CellText(w.StringGrid1, 3, 4), QStringLiteral("28"));
      QTest::mouseClick(w.BitBtn3, Qt::LeftButton);

      run.AnswerSave(U("Спрос и цена"));
      QTest::mouseClick(w.BitBtn2, Qt::LeftButton);
      QCOMPARE(run.Store.ListTasks(TT_REGRESSION)->size(), std::size_t{1});
      typed = true;
      QTest::mouseClick(w.btnNext, Qt::LeftButton);
    });
    run.Form.CurrentTaskType = TT_REGRESSION;
    run.Form.RunAction(2);
    QVERIFY(typed);
  }
  // Two presses, two blocks: the runner's report with the block written once more.
  TZLPCore_Interface data;
  TStatementError error;
  QVERIFY(ReadStatement(line, data, error));
  TZLPCore_SolutionResult twice;
  static_cast<void>(RunTask(TT_REGRESSION, data, twice));
  AppendRegression(twice, line, ComputeRegression(line));
  QCOMPARE(run.ShownReport(), QByteArray::fromStdString(Utf8ToCp1251(twice.BuildDocument())));

  bool loaded = false;
  {
    TDrivenWindows<TInput_form> windows(TT_REGRESSION, [&](TInput_form& w) {
      QCOMPARE(Q(StatementToText(w.Statement())), Q(StatementToText(line)));
      QCOMPARE(CellText(w.StringGrid1, 1, 1), QStringLiteral("2"));
      loaded = true;
      QTest::mouseClick(w.BitBtn3, Qt::LeftButton);
      QTest::keyClick(&w, Qt::Key_Escape);
    });
    run.AnswerLoad();
    run.Form.RunAction(6);
    QVERIFY(loaded);
  }
  QTemporaryDir dir;
  QCOMPARE(run.ShownReport(), SolvedByKelvanoSolve(line, dir));

  {
    TDrivenWindows<TInput_form> windows(TT_REGRESSION,
                                        [](TInput_form& w) { QTest::mouseClick(w.btnNext, Qt::LeftButton); });
    const std::string before = run.Form.WebBrowser1->LocationURL();
    run.Form.RunAction(2);
    QCOMPARE(windows.Made, 1);
    QTRY_COMPARE(run.Form.WebBrowser1->LocationURL(), before);
  }
}

QTEST_MAIN(TestSolverWindows)
#include "tst_SolverWindows.moc"
