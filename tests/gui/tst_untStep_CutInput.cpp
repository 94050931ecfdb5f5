// The cutting-stock input step: sizing by its counts and up-downs, the zero display, what its
// fields and grids take, the refusals with the focused field, and the statement kept in the store.
#include "Cutting.h"
#include "CuttingInput.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TextFormat.h"
#include "untStrConst.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLocale>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

TStatementGrid Statement(const char* text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  return *statement;
}

const char* const Example = "cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\n";

QStringList Row(const TCutGrid* grid, int row) {
  QStringList texts;
  for (int c = 0; c < grid->columnCount(); ++c) texts << grid->Text(c, row);
  return texts;
}

std::string ProgramText(const TZLPCore_Interface& data) { return StatementToText(StatementOfModel(data.ZLP)); }

} // namespace

class TestCutInput : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Russian));
    InstallStepClasses();
  }
  void countsSizeTheGrids();
  void zeroDisplayBuildsTheSameProgram();
  void fieldsAndGridsTakeOnlyNumbers();
  void refusals_data();
  void refusals();
  void storedProblemComesBackAsTyped();
  void patternMatrixIsHeaded();
};

// The counts, typed or stepped, size both grids, 255 patterns and products at most; a proportion
// that is empty or 0 becomes 1 when a count changes.
void TestCutInput::countsSizeTheGrids() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_CUTTING);
  auto& s = run.Stage<TfrmStep_CutInput>(0);
  QTest::mouseClick(s.UpDown2->btnDown, Qt::LeftButton);
  QCOMPARE(s.LabeledEdit2->text(), u"1"_s);
  QTest::mouseClick(s.UpDown2->btnUp, Qt::LeftButton);
  QTest::keyClick(s.LabeledEdit2, Qt::Key_Up);
  Type(s.LabeledEdit3, u"2"_s);
  QCOMPARE(s.ProductCount(), 3);
  QCOMPARE(s.PatternCount(), 2);
  QCOMPARE(s.SProp->model()->headerData(2, Qt::Horizontal).toString(), u"B3"_s);
  QCOMPARE(Row(s.SProp, 0), (QStringList{u"1"_s, u"1"_s, u"1"_s}));
  QCOMPARE(Row(s.SMatr, 2), (QStringList{u"0"_s, u"0"_s}));

  TypeCell(s.SProp, 0, 0, u"0"_s);
  TypeCell(s.SProp, 1, 0, u"5/2"_s);
  TypeCell(s.SMatr, 1, 2, u"4"_s);
  Type(s.LabeledEdit3, u"3"_s);
  QCOMPARE(Row(s.SProp, 0), (QStringList{u"1"_s, u"5/2"_s, u"1"_s}));
  QCOMPARE(Row(s.SMatr, 2), (QStringList{u"0"_s, u"4"_s, u"0"_s}));

  Type(s.LabeledEdit3, u"254"_s);
  QTest::mouseClick(s.UpDown3->btnUp, Qt::LeftButton);
  QTest::mouseClick(s.UpDown3->btnUp, Qt::LeftButton);
  QCOMPARE(s.LabeledEdit3->text(), u"255"_s);
  QCOMPARE(s.PatternCount(), 255);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QCOMPARE(run.Stage<TZLPCore_SolutionStage>(1).StageData.ZLP.VarCount(), 255);
  run.Back();

  // The grids follow the text while it holds a count that fits: "2", "25", but not "256".
  Type(s.LabeledEdit3, u"256"_s);
  QCOMPARE(s.PatternCount(), 25);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Text, std::string("Введите кол-во способов раскроя от 1 до 255"));
  QCOMPARE(run.Wizard.focusWidget(), s.LabeledEdit3);
}

// Unchecking "Показывать нули:" empties the zero cells and checking it fills them again; the
// program built with empty cells is the one built with zeros.
void TestCutInput::zeroDisplayBuildsTheSameProgram() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_CUTTING);
  auto& s = run.Stage<TfrmStep_CutInput>(0);
  TypeCutting(s, Statement(Example));
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  const std::string withZeros = ProgramText(s.StageData);
  QCOMPARE(withZeros, std::string("max 3 0\nconst 0\n1 1 = 10\n-5 2 = 0\n"));
  run.Back();

  QTest::mouseClick(s.CheckBox1, Qt::LeftButton);
  QVERIFY(!s.CheckBox1->isChecked());
  QCOMPARE(Row(s.SMatr, 0), (QStringList{u"3"_s, QString()}));
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QCOMPARE(s.Statement().Cell(2, 1), std::string());
  QCOMPARE(ProgramText(s.StageData), withZeros);
  run.Back();

  // A zero typed while zeros are hidden is emptied when the grid is left.
  run.Wizard.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&run.Wizard));
  TypeCell(s.SMatr, 0, 1, u"0"_s);
  QCOMPARE(QApplication::focusWidget(), s.SMatr);
  s.LabeledEdit1->setFocus();
  QTRY_COMPARE(s.SMatr->Text(0, 1), QString());
  s.CheckBox1->click();
  QCOMPARE(Row(s.SMatr, 0), (QStringList{u"3"_s, u"0"_s}));
  QCOMPARE(Row(s.SMatr, 1), (QStringList{u"0"_s, u"2"_s}));
  QVERIFY(recorder.Messages.empty());
}

// The fields and the cells drop every typed character but digits, "/" and a decimal point or comma.
void TestCutInput::fieldsAndGridsTakeOnlyNumbers() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_CUTTING);
  auto& s = run.Stage<TfrmStep_CutInput>(0);
  s.LabeledEdit1->clear();
  QTest::keyClicks(s.LabeledEdit1, u"-7a/2"_s);
  QCOMPARE(s.LabeledEdit1->text(), u"7/2"_s);
  s.LabeledEdit2->clear();
  QTest::keyClicks(s.LabeledEdit2, u"1/2x"_s);
  QCOMPARE(s.LabeledEdit2->text(), u"12"_s);

  s.SMatr->setCurrentCell(0, 0);
  QTest::keyClick(s.SMatr, Qt::Key_Minus);
  QTest::keyClick(s.SMatr, Qt::Key_A);
  QVERIFY(!s.SMatr->Editing());
  QTest::keyClick(s.SMatr, Qt::Key_7);
  QVERIFY(s.SMatr->Editing());
  QLineEdit* editor = CellEditor(s.SMatr);
  QVERIFY(editor);
  QTest::keyClicks(editor, u"e,5"_s);
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_COMPARE(s.SMatr->Text(0, 0), u"7,5"_s);
}

void TestCutInput::refusals_data() {
  QTest::addColumn<QString>("field");   // which field or cell gets a bad text: "material", "products", ...
  QTest::addColumn<QString>("text");    // the text put there
  QTest::addColumn<QString>("caption"); // of the message
  QTest::addColumn<QString>("message");
  const QString wizard = U(sWizardTitle);
  QTest::newRow("empty material") << u"material"_s << QString() << wizard << U("Введите количество материала");
  QTest::newRow("empty products") << u"products"_s << QString() << wizard << U("Введите количество изделий");
  QTest::newRow("every proportion 0") << u"proportions"_s << u"0"_s << wizard << U(sCutAllProportionsZero);
  QTest::newRow("bad yield") << u"yield"_s << u"1/0"_s << U(sAppTitle) << U("Знаменатель равен нулю. ") + U(sEnterRational);
}

// A refused statement shows one warning, puts the focus on the field or the cell, changes nothing in
// the container, and is stored as typed all the same.
void TestCutInput::refusals() {
  QFETCH(QString, field);
  QFETCH(QString, text);
  QFETCH(QString, caption);
  QFETCH(QString, message);
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_CUTTING);
  auto& s = run.Stage<TfrmStep_CutInput>(0);
  TypeCutting(s, Statement(Example));
  QWidget* focus = nullptr;
  if (field == u"material"_s) {
    Type(s.LabeledEdit1, text);
    focus = s.LabeledEdit1;
  } else if (field == u"products"_s) {
    Type(s.LabeledEdit2, text);
    focus = s.LabeledEdit2;
  } else if (field == u"proportions"_s) {
    TypeCell(s.SProp, 0, 0, text);
    TypeCell(s.SProp, 1, 0, text);
    focus = s.SProp;
  } else {
    TypeCell(s.SMatr, 1, 0, text);
    focus = s.SMatr;
  }
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(Q(recorder.Messages[0].Caption), caption);
  QCOMPARE(Q(recorder.Messages[0].Text), message);
  QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Warning);
  QCOMPARE(run.Wizard.focusWidget(), focus);
  if (field == u"yield"_s) QCOMPARE(s.SMatr->currentColumn(), 1);
  QVERIFY(!s.StageData.HasFlag(IF_ZLP));

  std::string error;
  const auto stored = LoadStatement(run.Dm, run.Dm.GetTempTaskId(), error, TT_CUTTING);
  QVERIFY2(stored.has_value(), error.c_str());
  QVERIFY(*stored == s.Statement());
}

// A statement with a fractional amount and hidden zeros is saved under a Cyrillic name and comes
// back exactly as typed, on every entry of the step; it builds the same program again.
void TestCutInput::storedProblemComesBackAsTyped() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_CUTTING);
  TStatementGrid typed = Statement("cut\nmaterial 7/2\nproportions 2 0,5 1\npattern 1 0 2\npattern 0 3 0\n");
  {
    auto& s = run.Stage<TfrmStep_CutInput>(0);
    s.CheckBox1->click();
    for (const auto& [x, y] : {std::pair{1, 2}, std::pair{2, 1}, std::pair{2, 3}}) typed.SetCell(x, y, "");
    TypeCutting(s, typed);
    run.Next();
    QCOMPARE(run.Wizard.CurrentStage, 1);
  }
  const std::string program = ProgramText(run.Stage<TfrmStep_CutInput>(0).StageData);
  const std::string name = "Раскрой: «три изделия»";
  const int id = run.Dm.SaveTempTaskAs(name, TT_CUTTING);
  QVERIFY(id >= 0);
  run.Wizard.close();
  recorder.Messages.clear(); // the question before closing

  run.Start(TT_CUTTING, id);
  auto& s = run.Stage<TfrmStep_CutInput>(0);
  QCOMPARE(s.LabeledEdit1->text(), u"7/2"_s);
  QCOMPARE(s.LabeledEdit2->text(), u"3"_s);
  QCOMPARE(s.LabeledEdit3->text(), u"2"_s);
  QVERIFY(s.Statement() == typed);

  // The stored statement is read once: coming back shows what was typed since, not the stored one.
  Type(s.LabeledEdit1, u"9"_s);
  run.Next();
  const std::string changed = ProgramText(s.StageData);
  QVERIFY(changed.find("= 9\n") != std::string::npos);
  QVERIFY(changed != program);
  run.Back();
  QCOMPARE(s.LabeledEdit1->text(), u"9"_s);
  run.Next();
  QCOMPARE(ProgramText(s.StageData), changed);
  QVERIFY(recorder.Messages.empty());
}

namespace {

QStringList Headings(const QTableWidget* grid, Qt::Orientation orientation) {
  QStringList texts;
  const int count = orientation == Qt::Horizontal ? grid->columnCount() : grid->rowCount();
  for (int k = 0; k < count; ++k) texts << grid->model()->headerData(k, orientation).toString();
  return texts;
}

} // namespace

// The pattern matrix is headed as the report names its parts: the patterns X1 ... Xp across, the
// products B1 ... Bk down, the names following the counts; the cell under "Xj" in row "Bi" is the
// yield a_ij of the statement, and the whole matrix with its headings shows without scrolling.
void TestCutInput::patternMatrixIsHeaded() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_CUTTING);
  auto& s = run.Stage<TfrmStep_CutInput>(0);
  TypeCutting(s, Statement("cut\nmaterial 12\nproportions 1 2 1\npattern 4 0 1\npattern 0 5 2\n"));
  QCOMPARE(Headings(s.SMatr, Qt::Horizontal), (QStringList{u"X1"_s, u"X2"_s}));
  QCOMPARE(Headings(s.SMatr, Qt::Vertical), (QStringList{u"B1"_s, u"B2"_s, u"B3"_s}));
  QCOMPARE(Headings(s.SProp, Qt::Horizontal), Headings(s.SMatr, Qt::Vertical));
  QVERIFY(s.SMatr->horizontalHeader()->isVisible() && s.SMatr->verticalHeader()->isVisible());
  // Pattern 2 yields 5 pieces of product 2 and 2 of product 3.
  QCOMPARE(s.SMatr->Text(1, 1), u"5"_s);
  QCOMPARE(s.SMatr->Text(1, 2), u"2"_s);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QCOMPARE(ProgramText(s.StageData), std::string("max 4 0\nconst 0\n1 1 = 12\n-8 5 = 0\n-3 2 = 0\n"));
  run.Back();

  Type(s.LabeledEdit3, u"4"_s);
  Type(s.LabeledEdit2, u"2"_s);
  QCOMPARE(Headings(s.SMatr, Qt::Horizontal), (QStringList{u"X1"_s, u"X2"_s, u"X3"_s, u"X4"_s}));
  QCOMPARE(Headings(s.SMatr, Qt::Vertical), (QStringList{u"B1"_s, u"B2"_s}));
  QCoreApplication::processEvents();
  const QRect view = s.SMatr->viewport()->rect();
  QVERIFY(view.contains(s.SMatr->visualItemRect(s.SMatr->item(1, 3))));
  QVERIFY(QRect(QPoint(0, 0), s.GroupBox2->size()).contains(s.SMatr->geometry()));
  QVERIFY(recorder.Messages.empty());
}

QTEST_MAIN(TestCutInput)
#include "tst_untStep_CutInput.moc"
