// Tests of the problem input step: formula rows, limits, reading, storing and loading statements.
#include "MessageRecorder.h"
#include "StepRun.h"
#include "untStep_ZLPInput.h"
#include "untStrConst.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {

// Position of an edit in the statement: (0, 0) free term, (j, 0) objective, (0, i) right-hand side.
QLineEdit* EditAt(TfrmStep_ZLPInput& s, int x, int y) {
  if (y == 0) return x == 0 ? s.txtZ0 : s.ObjectiveEdit(x);
  return x == 0 ? s.RhsEdit(y) : s.ConstraintEdit(y, x);
}

// The widgets that the Tab key visits from the direction box, pressed count - 1 times.
QList<QWidget*> TabChain(TfrmStep_ZLPInput& s, int count) {
  s.ComboBox1->setFocus();
  QList<QWidget*> chain{s.window()->focusWidget()};
  while (chain.size() < count) {
    QTest::keyClick(chain.back(), Qt::Key_Tab);
    chain.append(s.window()->focusWidget());
  }
  return chain;
}

TZLPCore_SubInterface_ZLP ThreeByTwo() {
  TZLPCore_SubInterface_ZLP zlp;
  zlp.SetVarCount(3);
  zlp.SetConstraintCount(2);
  zlp.IsMax = false;
  zlp.FreeTerm = {5, 2};
  zlp.Objective.SetItem(1, {-4, 3});
  zlp.Objective.SetItem(2, {7, 1});
  zlp.Objective.SetItem(3, {0, 1});
  zlp.RHS.SetItem(1, {10, 1});
  zlp.RHS.SetItem(2, {-1, 5});
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 3; ++j) zlp.Coeffs.SetItem(j, i, {i * 10 + j, 1});
  zlp.SetSign(1, IS_ABOVEOREQUAL);
  zlp.SetSign(2, IS_EQUAL);
  return zlp;
}

// A stored n x n problem whose coefficient (i, j) reads i * 100 + j and right-hand side i reads i.
TZLPCore_SubInterface_ZLP Square(int n) {
  TZLPCore_SubInterface_ZLP zlp;
  zlp.SetVarCount(n);
  zlp.SetConstraintCount(n);
  for (int j = 1; j <= n; ++j) zlp.Objective.SetItem(j, {j, 1});
  for (int i = 1; i <= n; ++i) {
    zlp.RHS.SetItem(i, {i, 1});
    for (int j = 1; j <= n; ++j) zlp.Coeffs.SetItem(j, i, {i * 100 + j, 1});
  }
  return zlp;
}

// Whether the whole of w lies within the visible part of the step's scroll area.
bool InView(const TfrmStep_ZLPInput& s, const QWidget* w) {
  const QWidget* view = s.sbDefault->viewport();
  return w && w->isVisible() && view->rect().contains(QRect(w->mapTo(view, QPoint(0, 0)), w->size()));
}

// Scrolls the page over its whole area a screen at a time, from the bottom up, and back to the top
// left.
void ScrollEverywhere(TfrmStep_ZLPInput& s) {
  QScrollBar* across = s.sbDefault->horizontalScrollBar();
  QScrollBar* down = s.sbDefault->verticalScrollBar();
  for (int y = down->maximum(); y >= 0; y -= down->pageStep()) {
    down->setValue(y);
    for (int x = 0; x <= across->maximum(); x += across->pageStep()) across->setValue(x);
  }
  across->setValue(0);
  down->setValue(0);
}

} // namespace

class TestZLPInput : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void freshStepStoresFourCells();
  void badNumberIsRefused_data();
  void badNumberIsRefused();
  void signedFractionsAreAccepted();
  void directionChangesArrowAndDescription();
  void twoHundredFiftyFiveVariables();
  void addingAndRemovingKeepTypedValues();
  void tabOrderFollowsTheFormula();
  void enteringWithStoredProblem();
  void damagedStoredProblemIsRefused_data();
  void damagedStoredProblemIsRefused();
  void saveAndLoadKeepsSigns();
  void comingBackKeepsTheEdits();
  void farBadCellIsFoundWhenLeaving();
  void tabReachesCellsNotYetInView();
  void plusAndMinusStayInPlace();
  void sixVariablesNeedNoScrolling();

private:
  TStepClasses Classes;
};

void TestZLPInput::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  Classes.StandIn(10, "симплекс");
}

void TestZLPInput::freshStepStoresFourCells() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(s.VarCount(), 1);
  QCOMPARE(s.ConstraintCount(), 1);
  for (QLineEdit* e : {s.txtZ0, s.ObjectiveEdit(1), s.ConstraintEdit(1, 1), s.RhsEdit(1)}) QCOMPARE(e->text(), u"0"_s);
  QCOMPARE(s.ComboBox1->currentText(), u"Z ="_s);
  QCOMPARE(s.ComboBox1->itemText(1), u"L ="_s);
  QCOMPARE(s.SignBox(1)->currentText(), u"<="_s);
  QCOMPARE(s.lbMM->text(), U("→ Max"));
  QCOMPARE(s.lbDescr->text(), U("Задача на максимизацию модели с 1 переменной и 1 ограничением."));
  QCOMPARE(s.ObjectiveRow().LabelText(1), u"X1+"_s);
  QVERIFY(s.actIncVar->isEnabled() && s.actIncEq->isEnabled());
  QVERIFY(!s.actDecVar->isEnabled() && !s.actDecEq->isEnabled());
  QVERIFY(!s.BitBtn1->isEnabled() && s.BitBtn2->isEnabled());
  QCOMPARE(s.BitBtn2->toolTip(), U("Добавить переменную"));
  QCOMPARE(s.BitBtn3->toolTip(), U("Удалить последнее ограничение"));

  const int temp = run.Dm.GetTempTaskId();
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QVERIFY(s.StageData.HasFlag(IF_ZLP));
  QCOMPARE(s.StageReport.Lines.front(), std::string("<H2>&bull; Постановка задачи ЛП</H2>"));
  const std::vector<TSimplex1Row> cells{{0, 0, "0"}, {1, 0, "0"}, {0, 1, "0"}, {1, 1, "0"}};
  QCOMPARE(run.Dm.Simplex1Rows(temp).value(), cells);
  QCOMPARE(run.Dm.Simplex2Rows(temp).value(), (std::vector<TSimplex2Row>{{1, IS_BELOWOREQUAL}}));
  const TTaskRow task = run.Dm.FindTask(temp).value();
  QCOMPARE(task.Sx, 1);
  QCOMPARE(task.Sy, 1);
  QCOMPARE(task.Max, 1);
  QVERIFY(recorder.Messages.empty());
}

void TestZLPInput::badNumberIsRefused_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("x");
  QTest::addColumn<int>("y");
  QTest::addColumn<QString>("problem"); // what the message says is wrong
  const QString form = U("Неверная запись числа");
  const QString zero = U("Знаменатель равен нулю");
  QTest::newRow("decimal point in an objective coefficient") << u"1.5.2"_s << 2 << 0 << form;
  QTest::newRow("decimal comma in a constraint coefficient") << u"2,5/3"_s << 1 << 2 << form;
  QTest::newRow("empty right-hand side") << QString() << 0 << 1 << U("Пустая клетка");
  QTest::newRow("empty free term") << QString() << 0 << 0 << U("Пустая клетка");
  QTest::newRow("letters in the last coefficient") << u"abc"_s << 2 << 2 << U("Недопустимый символ «a»");
  QTest::newRow("zero denominator in a coefficient") << u"3/0"_s << 1 << 1 << zero;
  QTest::newRow("zero denominator in the free term") << u"-4/0"_s << 0 << 0 << zero;
  QTest::newRow("zero over zero on the right-hand side") << u"0/0"_s << 0 << 2 << zero;
  QTest::newRow("too large") << u"99999999999"_s << 1 << 1
                             << U("Число не помещается в 32-битную дробь: числитель и знаменатель — от -2147483648 до "
                                  "2147483647");
}

void TestZLPInput::badNumberIsRefused() {
  QFETCH(QString, text);
  QFETCH(int, x);
  QFETCH(int, y);
  QFETCH(QString, problem);
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  s.actIncVar->trigger();
  s.actIncEq->trigger();
  QLineEdit* bad = EditAt(s, x, y);
  Type(bad, text);
  const int temp = run.Dm.GetTempTaskId();

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QVERIFY(!s.CanLeave);
  QCOMPARE(run.Wizard.focusWidget(), bad);
  QCOMPARE(bad->selectedText(), text);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Caption, std::string(sAppTitle));
  QCOMPARE(Q(recorder.Messages[0].Text), problem + U(". ") + U(sEnterRational));
  QCOMPARE(recorder.Messages[0].Icon, TMsgIcon::Warning);
  QVERIFY(!s.StageData.HasFlag(IF_ZLP));
  QVERIFY(s.StageReport.Lines.empty());
  QVERIFY(run.Dm.Simplex1Rows(temp).value().empty());

  Type(bad, u"1/2"_s);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
}

void TestZLPInput::signedFractionsAreAccepted() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  s.actIncVar->trigger();
  s.actIncVar->trigger();
  Type(s.ObjectiveEdit(1), u"-4/3"_s);
  Type(s.ObjectiveEdit(2), u"+7"_s);
  Type(s.ObjectiveEdit(3), u"5"_s);
  Type(s.ConstraintEdit(1, 2), u"-6/4"_s);
  Type(s.RhsEdit(1), u"+7"_s);
  Type(s.txtZ0, u"-1"_s);
  s.SignBox(1)->setCurrentIndex(2);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QVERIFY(recorder.Messages.empty());

  const TZLPCore_SubInterface_ZLP& zlp = s.StageData.ZLP;
  QCOMPARE(zlp.VarCount(), 3);
  const auto same = [](TRational a, std::int32_t num, std::int32_t den) { return a.Num == num && a.Den == den; };
  QVERIFY(same(zlp.Objective.GetItem(1), -4, 3));
  QVERIFY(same(zlp.Objective.GetItem(2), 7, 1));
  QVERIFY(same(zlp.Objective.GetItem(3), 5, 1));
  QVERIFY(same(zlp.Coeffs.GetItem(2, 1), -3, 2));
  QVERIFY(same(zlp.RHS.GetItem(1), 7, 1));
  QVERIFY(same(zlp.FreeTerm, -1, 1));
  QCOMPARE(zlp.GetSign(1), IS_ABOVEOREQUAL);
  QCOMPARE(zlp.VarNames(), (std::vector<std::string>{"X1", "X2", "X3"}));

  const int temp = run.Dm.GetTempTaskId();
  const std::vector<TSimplex1Row> cells = run.Dm.Simplex1Rows(temp).value();
  QCOMPARE(cells.size(), std::size_t{8});
  QCOMPARE(cells[1], (TSimplex1Row{1, 0, "-4/3"}));
  QCOMPARE(cells[2], (TSimplex1Row{2, 0, "7"}));
  QCOMPARE(cells[6], (TSimplex1Row{2, 1, "-3/2"}));
  QCOMPARE(run.Dm.Simplex2Rows(temp).value(), (std::vector<TSimplex2Row>{{1, IS_ABOVEOREQUAL}}));
}

void TestZLPInput::directionChangesArrowAndDescription() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  s.actIncVar->trigger();
  s.actIncVar->trigger();
  s.actIncEq->trigger();
  s.ComboBox1->setFocus();
  QTest::keyClick(s.ComboBox1, Qt::Key_Down);
  QCOMPARE(s.ComboBox1->currentIndex(), 1);
  QCOMPARE(s.lbMM->text(), U("→ Min"));
  QCOMPARE(s.lbDescr->text(), U("Задача на минимизацию модели с 3 переменными и 2 ограничениями."));
  QVERIFY(s.lbMM->geometry().left() > s.ObjectiveRow().geometry().right());
  // A click on the arrow turns the direction round, and the box follows.
  QTest::mouseClick(s.lbMM, Qt::LeftButton);
  QCOMPARE(s.ComboBox1->currentText(), u"Z ="_s);
  QCOMPARE(s.lbMM->text(), U("→ Max"));
  QTest::mouseClick(s.lbMM, Qt::LeftButton);
  QCOMPARE(s.ComboBox1->currentText(), u"L ="_s);
  QCOMPARE(s.lbMM->text(), U("→ Min"));
  run.Next();
  QVERIFY(!s.StageData.ZLP.IsMax);
  QCOMPARE(run.Dm.FindTask(run.Dm.GetTempTaskId()).value().Max, 0);
}

void TestZLPInput::twoHundredFiftyFiveVariables() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  for (int k = 2; k <= 255; ++k) {
    QVERIFY(s.actIncVar->isEnabled());
    QTest::mouseClick(s.BitBtn2, Qt::LeftButton);
  }
  QCOMPARE(s.VarCount(), 255);
  QVERIFY(!s.actIncVar->isEnabled());
  QVERIFY(!s.BitBtn2->isEnabled());
  s.actIncVar->trigger();
  QCOMPARE(s.VarCount(), 255);
  QCOMPARE(s.ObjectiveRow().LabelText(255), u"X255+"_s);
  QCOMPARE(s.lbDescr->text(), U("Задача на максимизацию модели с 255 переменными и 1 ограничением."));

  QTest::mouseClick(s.BitBtn1, Qt::LeftButton);
  QCOMPARE(s.VarCount(), 254);
  QVERIFY(s.actIncVar->isEnabled());
  QVERIFY(s.actDecVar->isEnabled());
  QCOMPARE(s.ConstraintEdit(1, 255), nullptr);
}

void TestZLPInput::addingAndRemovingKeepTypedValues() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  s.actIncVar->trigger();
  Type(s.ObjectiveEdit(1), u"3"_s);
  Type(s.ObjectiveEdit(2), u"4"_s);
  Type(s.ConstraintEdit(1, 2), u"1/2"_s);
  Type(s.RhsEdit(1), u"9"_s);
  s.SignBox(1)->setCurrentIndex(1);

  s.actIncVar->trigger();
  s.actIncEq->trigger();
  QCOMPARE(s.ObjectiveEdit(1)->text(), u"3"_s);
  QCOMPARE(s.ObjectiveEdit(2)->text(), u"4"_s);
  QCOMPARE(s.ConstraintEdit(1, 2)->text(), u"1/2"_s);
  QCOMPARE(s.RhsEdit(1)->text(), u"9"_s);
  QCOMPARE(s.SignBox(1)->currentText(), u"="_s);
  for (QLineEdit* e : {s.ObjectiveEdit(3), s.ConstraintEdit(1, 3), s.ConstraintEdit(2, 1), s.RhsEdit(2)})
    QCOMPARE(e->text(), u"0"_s);
  QCOMPARE(s.SignBox(2)->currentText(), u"<="_s);
  QVERIFY(s.actDecEq->isEnabled());

  // Each row reads as a formula: edit, its name, the next edit further right, the last name whole
  // and without its "+", the relation box after it, the right-hand side after that.
  const TFormulaRow& row = *s.ConstraintRow(2);
  for (int j = 1; j <= 3; ++j) {
    QCOMPARE(row.LabelText(j), u"X"_s + QString::number(j) + u'+');
    QCOMPARE(row.LabelRect(j).left(), row.CellRect(j).right() + 1 + TFormulaRow::LabelGap);
    // The box of a cell in view lies exactly over it.
    QCOMPARE(
        s.ConstraintEdit(2, j)->geometry(),
        QRect(row.mapTo(s.ConstraintEdit(2, j)->parentWidget(), row.CellRect(j).topLeft()), row.CellRect(j).size()));
  }
  QCOMPARE(row.CellRect(2).x(), row.LabelRect(1).right() + 1 + TFormulaRow::NextGap);
  QCOMPARE(row.ShownLabelText(3), u"X3"_s);
  QCOMPARE(row.ShownLabelText(2), u"X2+"_s);
  QVERIFY(row.LabelRect(3).width() >= row.fontMetrics().horizontalAdvance(row.ShownLabelText(3)));
  QVERIFY(row.Sign->x() > row.LabelRect(3).right());
  QCOMPARE(row.CellRect(0).x(), row.Sign->geometry().right() + 1 + TFormulaRow::RhsGap);
  QVERIFY(s.ConstraintRow(2)->y() > s.ConstraintRow(1)->y());
  QVERIFY(s.pLimits->width() >= row.geometry().right() + 1);

  s.actDecVar->trigger();
  QCOMPARE(s.VarCount(), 2);
  QCOMPARE(s.ObjectiveEdit(3), nullptr);
  QCOMPARE(s.ObjectiveEdit(2)->text(), u"4"_s);
  QCOMPARE(s.ConstraintEdit(1, 2)->text(), u"1/2"_s);
  s.actDecEq->trigger();
  QCOMPARE(s.ConstraintCount(), 1);
  QVERIFY(!s.actDecEq->isEnabled());
  QCOMPARE(s.lbDescr->text(), U("Задача на максимизацию модели с 2 переменными и 1 ограничением."));
}

void TestZLPInput::tabOrderFollowsTheFormula() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  s.actIncEq->trigger();
  s.actIncVar->trigger();
  s.actDecEq->trigger();
  s.actIncEq->trigger();
  const QList<QWidget*> expected{s.ComboBox1,
                                 s.ObjectiveEdit(1),
                                 s.ObjectiveEdit(2),
                                 s.txtZ0,
                                 s.ConstraintEdit(1, 1),
                                 s.ConstraintEdit(1, 2),
                                 s.SignBox(1),
                                 s.RhsEdit(1),
                                 s.ConstraintEdit(2, 1),
                                 s.ConstraintEdit(2, 2),
                                 s.SignBox(2),
                                 s.RhsEdit(2)};
  QCOMPARE(TabChain(s, static_cast<int>(expected.size())), expected);

  // The keyboard walks the same way.
  s.ObjectiveEdit(2)->setFocus();
  QTest::keyClick(s.ObjectiveEdit(2), Qt::Key_Tab);
  QCOMPARE(run.Wizard.focusWidget(), s.txtZ0);
  QTest::keyClick(s.txtZ0, Qt::Key_Tab);
  QCOMPARE(run.Wizard.focusWidget(), s.ConstraintEdit(1, 1));
}

void TestZLPInput::enteringWithStoredProblem() {
  TMessageRecorder recorder;
  TStepRun run;
  const int id = SaveProblem(run.Dm, ThreeByTwo(), "Три на два");
  QVERIFY(id >= 0);
  run.Start(TT_LINEAR, id);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(s.VarCount(), 3);
  QCOMPARE(s.ConstraintCount(), 2);
  QCOMPARE(s.ConstraintEdit(1, 4), nullptr);
  QCOMPARE(s.ComboBox1->currentIndex(), 1);
  QCOMPARE(s.lbMM->text(), U("→ Min"));
  QCOMPARE(s.lbDescr->text(), U("Задача на минимизацию модели с 3 переменными и 2 ограничениями."));
  QVERIFY(s.actDecVar->isEnabled() && s.actDecEq->isEnabled());
  QVERIFY(s.actIncVar->isEnabled() && s.actIncEq->isEnabled());
  QCOMPARE(s.txtZ0->text(), u"5/2"_s);
  QCOMPARE(s.ObjectiveEdit(1)->text(), u"-4/3"_s);
  QCOMPARE(s.ObjectiveEdit(2)->text(), u"7"_s);
  QCOMPARE(s.RhsEdit(2)->text(), u"-1/5"_s);
  QCOMPARE(s.ConstraintEdit(2, 3)->text(), u"23"_s);
  QCOMPARE(s.SignBox(1)->currentText(), u">="_s);
  QCOMPARE(s.SignBox(2)->currentText(), u"="_s);
}

// What the program never writes is not guessed (a relation it does not offer, a direction cut to
// 32 bits): the stored problem is refused with a message naming the table and the place, and the
// step keeps its empty statement.
void TestZLPInput::damagedStoredProblemIsRefused_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("sql");
  QTest::addColumn<QString>("message");
  QTest::newRow("unoffered sign") << U("Simplex2.db") << U("UPDATE Simplex2 SET Sign = 1 WHERE Y = 1")
                                  << U("таблица Simplex2.db: знак ограничения 1 имеет неизвестный код 1");
  QTest::newRow("direction beyond 32 bits")
      << U("Tasks.db") << U("UPDATE Tasks SET Max = 4294967296") << U("таблица Tasks.db: направление Max = 4294967296");
}

void TestZLPInput::damagedStoredProblemIsRefused() {
  QFETCH(QString, file);
  QFETCH(QString, sql);
  QFETCH(QString, message);
  TMessageRecorder recorder;
  TStepRun run;
  const int id = SaveProblem(run.Dm, ThreeByTwo(), "Испорченная");
  {
    TSqliteDb raw;
    QVERIFY(raw.Open(run.Dm.DataFolder() / file.toStdString()));
    QVERIFY(raw.Exec(sql.toStdString()));
  }
  recorder.Messages.clear();
  run.Start(TT_LINEAR, id);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Caption, std::string("Ошибка"));
  QVERIFY2(recorder.Messages[0].Text.find(message.toStdString()) != std::string::npos,
           recorder.Messages[0].Text.c_str());
  QCOMPARE(s.VarCount(), 1);
  QCOMPARE(s.ConstraintEdit(1, 1)->text(), u"0"_s);
}

void TestZLPInput::saveAndLoadKeepsSigns() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  {
    auto& s = run.Stage<TfrmStep_ZLPInput>(0);
    s.actIncVar->trigger();
    s.actIncEq->trigger();
    s.actIncEq->trigger();
    s.ComboBox1->setCurrentIndex(1);
    Type(s.ObjectiveEdit(1), u"2"_s);
    Type(s.ObjectiveEdit(2), u"-3/7"_s);
    Type(s.ConstraintEdit(3, 2), u"8"_s);
    Type(s.RhsEdit(3), u"12"_s);
    s.SignBox(1)->setCurrentIndex(2);
    s.SignBox(2)->setCurrentIndex(1);
    run.Next();
    QCOMPARE(run.Wizard.CurrentStage, 1);
  }
  const std::string name = "Задача со знаками «≥» и «=»";
  const int id = run.Dm.SaveTempTaskAs(name, TT_LINEAR);
  QVERIFY(id >= 0);
  QCOMPARE(FindTaskByName(run.Dm, name, TT_LINEAR), id);
  run.Wizard.close();
  QVERIFY(!run.Wizard.isVisible());

  run.Start(TT_LINEAR, id);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(s.VarCount(), 2);
  QCOMPARE(s.ConstraintCount(), 3);
  QCOMPARE(s.ComboBox1->currentIndex(), 1);
  QCOMPARE(s.ObjectiveEdit(1)->text(), u"2"_s);
  QCOMPARE(s.ObjectiveEdit(2)->text(), u"-3/7"_s);
  QCOMPARE(s.ConstraintEdit(3, 2)->text(), u"8"_s);
  QCOMPARE(s.RhsEdit(3)->text(), u"12"_s);
  QCOMPARE(s.ConstraintEdit(1, 1)->text(), u"0"_s);
  const QStringList signs{s.SignBox(1)->currentText(), s.SignBox(2)->currentText(), s.SignBox(3)->currentText()};
  QCOMPARE(signs, (QStringList{u">="_s, u"="_s, u"<="_s}));
}

// The stored problem is read once, when the wizard opens it: coming back to the input step shows
// what the student made of it (a changed cell, a constraint less), not the stored numbers; and a
// wizard opened on the problem again reads it anew.
void TestZLPInput::comingBackKeepsTheEdits() {
  TMessageRecorder recorder;
  TStepRun run;
  const int id = SaveProblem(run.Dm, ThreeByTwo(), "Три на два");
  run.Start(TT_LINEAR, id);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(s.ObjectiveEdit(1)->text(), u"-4/3"_s);
  Type(s.ObjectiveEdit(1), u"100"_s);
  s.actDecEq->trigger();
  run.Next();
  QVERIFY(s.StageData.ZLP.Objective.GetItem(1).Num == 100);
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QCOMPARE(s.ObjectiveEdit(1)->text(), u"100"_s);
  QCOMPARE(s.ConstraintCount(), 1);
  QCOMPARE(s.SignBox(1)->currentText(), u">="_s);
  run.Next();
  run.Back();
  QCOMPARE(s.ObjectiveEdit(1)->text(), u"100"_s);
  QCOMPARE(s.ConstraintCount(), 1);

  run.Wizard.close();
  run.Start(TT_LINEAR, id);
  auto& again = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(again.ObjectiveEdit(1)->text(), u"-4/3"_s);
  QCOMPARE(again.ConstraintCount(), 2);
  QCOMPARE(again.SignBox(2)->currentText(), u"="_s);
}

// In a large problem only the cells in view have edit boxes. A value typed into a far cell stays
// with that cell while its box goes to other cells as the page scrolls; leaving forward finds it
// malformed, gives the cell a box again, scrolls it into view, focuses it and selects the text.
void TestZLPInput::farBadCellIsFoundWhenLeaving() {
  TMessageRecorder recorder;
  TStepRun run;
  const int id = SaveProblem(run.Dm, Square(60), "Шестьдесят на шестьдесят");
  run.Start(TT_LINEAR, id);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  QCOMPARE(s.VarCount(), 60);
  QVERIFY(s.EditBoxCount() < 1000);
  QVERIFY(!s.ConstraintRow(58)->Editor(55));
  QVERIFY(!InView(s, s.ConstraintRow(58)));

  QLineEdit* far = s.ConstraintEdit(58, 55);
  QVERIFY(InView(s, far));
  QCOMPARE(far->text(), u"5855"_s);
  Type(far, u"2,5/3"_s);
  Type(s.ConstraintEdit(57, 54), u"-7/3"_s);
  ScrollEverywhere(s);
  QVERIFY(!s.ConstraintRow(58)->Editor(55)); // the box went to another cell
  QVERIFY(s.EditBoxCount() < 1000);
  QCOMPARE(s.ConstraintRow(58)->Text(55), u"2,5/3"_s);
  QCOMPARE(s.ConstraintEdit(57, 54)->text(), u"-7/3"_s);
  QCOMPARE(s.ConstraintEdit(1, 1)->text(), u"101"_s);
  QCOMPARE(s.ConstraintEdit(60, 60)->text(), u"6060"_s);
  QCOMPARE(s.Statement(TT_LINEAR).Cell(55, 58), std::string("2,5/3"));
  s.sbDefault->horizontalScrollBar()->setValue(0);
  s.sbDefault->verticalScrollBar()->setValue(0);
  recorder.Messages.clear(); // the store announced the save

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Text, "Неверная запись числа. " + std::string(sEnterRational));
  QLineEdit* bad = s.ConstraintRow(58)->Editor(55);
  QVERIFY(bad);
  QCOMPARE(run.Wizard.focusWidget(), bad);
  QCOMPARE(bad->text(), u"2,5/3"_s);
  QCOMPARE(bad->selectedText(), u"2,5/3"_s);
  QVERIFY(InView(s, bad));

  Type(bad, u"5/2"_s);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  const auto read = [&s](int j, int i) {
    const TRational a = s.StageData.ZLP.Coeffs.GetItem(j, i);
    return std::pair{a.Num, a.Den};
  };
  QCOMPARE(read(55, 58), std::pair(5, 2));
  QCOMPARE(read(54, 57), std::pair(-7, 3));
  QCOMPARE(read(60, 60), std::pair(6060, 1));
}

// Tab walks a row past the edge of the view into cells that had no box, then the relation box, the
// right-hand side and the next row; Shift+Tab walks back. The cell reached is always in view, and a
// variable added while the page is scrolled to the right shows at once with its boxes.
void TestZLPInput::tabReachesCellsNotYetInView() {
  TMessageRecorder recorder;
  TStepRun run;
  const int id = SaveProblem(run.Dm, Square(60), "Шестьдесят на шестьдесят");
  run.Start(TT_LINEAR, id);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  TFormulaRow& first = *s.ConstraintRow(1);
  int lastBoxed = 1;
  while (first.Editor(lastBoxed + 1)) ++lastBoxed;
  QVERIFY(lastBoxed < 60);
  QVERIFY(!first.Editor(60));

  QWidget* focus = s.ConstraintEdit(1, lastBoxed);
  focus->setFocus();
  for (int j = lastBoxed + 1; j <= 60; ++j) {
    QTest::keyClick(focus, Qt::Key_Tab);
    focus = run.Wizard.focusWidget();
    QCOMPARE(focus, first.Editor(j));
    QCOMPARE(static_cast<QLineEdit*>(focus)->text(), QString::number(100 + j));
    QVERIFY2(InView(s, focus), qPrintable(QString::number(j)));
  }
  Type(static_cast<QLineEdit*>(focus), u"1"_s);
  QCOMPARE(first.Text(60), u"1"_s);
  ScrollEverywhere(s);
  QCOMPARE(first.Editor(60), focus); // the box with the focus keeps its cell
  QTest::keyClick(focus, Qt::Key_Tab);
  QCOMPARE(run.Wizard.focusWidget(), s.SignBox(1));
  QTest::keyClick(s.SignBox(1), Qt::Key_Tab);
  QCOMPARE(run.Wizard.focusWidget(), first.Editor(0));
  QTest::keyClick(first.Editor(0), Qt::Key_Tab);
  QCOMPARE(run.Wizard.focusWidget(), s.ConstraintRow(2)->Editor(1));
  QVERIFY(InView(s, run.Wizard.focusWidget()));
  QTest::keyClick(run.Wizard.focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  QCOMPARE(run.Wizard.focusWidget(), first.Editor(0));
  QTest::keyClick(first.Editor(0), Qt::Key_Tab, Qt::ShiftModifier);
  QTest::keyClick(s.SignBox(1), Qt::Key_Tab, Qt::ShiftModifier);
  QCOMPARE(run.Wizard.focusWidget(), first.Editor(60));
  QVERIFY(InView(s, first.Editor(60)));

  // Scrolled to the right end, a new variable's cells get boxes with "0" and the right-hand sides
  // move after it, their values kept.
  s.actIncVar->trigger();
  QCOMPARE(s.VarCount(), 61);
  QLineEdit* added = first.Editor(61);
  QVERIFY(InView(s, added));
  QCOMPARE(added->text(), u"0"_s);
  QLineEdit* rhs = first.Editor(0);
  QVERIFY(rhs);
  QCOMPARE(rhs->text(), u"1"_s);
  QCOMPARE(rhs->geometry().topLeft(), first.mapTo(rhs->parentWidget(), first.CellRect(0).topLeft()));
  QVERIFY(rhs->x() > added->x());
  QCOMPARE(first.Text(60), u"1"_s);

  // A value pasted into a box reaches the statement.
  QApplication::clipboard()->setText(u"3/4"_s);
  added->selectAll();
  QTest::keyClick(added, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(s.Statement(TT_LINEAR).Cell(61, 1), std::string("3/4"));

  // Past the last right-hand side Tab leaves the formula for the buttons of the objective, and
  // Shift+Tab comes back to it.
  QLineEdit* lastRhs = s.RhsEdit(60);
  lastRhs->setFocus();
  QTest::keyClick(lastRhs, Qt::Key_Tab);
  QWidget* after = run.Wizard.focusWidget();
  QCOMPARE(after, s.BitBtn1);
  QTest::keyClick(after, Qt::Key_Tab, Qt::ShiftModifier);
  // The cell comes back; the box over it may be another one by now.
  lastRhs = s.ConstraintRow(60)->Editor(0);
  QVERIFY(lastRhs);
  QCOMPARE(run.Wizard.focusWidget(), lastRhs);
  QCOMPARE(lastRhs->text(), u"60"_s);
  QVERIFY(InView(s, lastRhs));
}

namespace {

// Where the four "−"/"+" buttons lie on the page.
QList<QRect> ButtonPlaces(const TfrmStep_ZLPInput& s) {
  QList<QRect> places;
  for (const QWidget* b : {s.BitBtn1, s.BitBtn2, s.BitBtn3, s.BitBtn4})
    places << QRect(b->mapTo(s.sbDefault->widget(), QPoint(0, 0)), b->size());
  return places;
}

} // namespace

// Adding variables and constraints leaves the "−"/"+" buttons under the mouse, all four of them
// apart from one another; a loaded problem of another size does not move them either.
void TestZLPInput::plusAndMinusStayInPlace() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  const QList<QRect> before = ButtonPlaces(s);
  for (int k = 0; k < 7; ++k) {
    QTest::mouseClick(s.BitBtn2, Qt::LeftButton);
    QCOMPARE(ButtonPlaces(s), before);
  }
  QTest::mouseClick(s.BitBtn4, Qt::LeftButton);
  QTest::mouseClick(s.BitBtn1, Qt::LeftButton);
  QCOMPARE(s.VarCount(), 7);
  QCOMPARE(s.ConstraintCount(), 2);
  QCOMPARE(ButtonPlaces(s), before);
  s.ShowStatement(StatementOfModel(Square(12)));
  QCOMPARE(ButtonPlaces(s), before);
  for (int a = 0; a < before.size(); ++a)
    for (int b = a + 1; b < before.size(); ++b) QVERIFY(!before[a].intersects(before[b]));
  // The buttons of the objective lie above its formula, not over it.
  QVERIFY(before[1].bottom() < s.ObjectiveRow().mapTo(s.sbDefault->widget(), QPoint(0, 0)).y());
}

// The wizard opens wide enough for a formula of six variables: adding five to the first one needs
// no scrolling across, and the window stays within the screen.
void TestZLPInput::sixVariablesNeedNoScrolling() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  auto& s = run.Stage<TfrmStep_ZLPInput>(0);
  for (int k = 0; k < 5; ++k) QTest::mouseClick(s.BitBtn2, Qt::LeftButton);
  QTest::mouseClick(s.BitBtn4, Qt::LeftButton);
  QTest::mouseClick(s.BitBtn4, Qt::LeftButton);
  QCoreApplication::processEvents();
  QCOMPARE(s.VarCount(), 6);
  QCOMPARE(s.sbDefault->horizontalScrollBar()->maximum(), 0);
  QVERIFY(!s.sbDefault->horizontalScrollBar()->isVisible());
  QVERIFY(InView(s, s.RhsEdit(3)));
  QVERIFY(InView(s, s.ObjectiveEdit(6)));
  QVERIFY(s.lbMM->visibleRegion().boundingRect().width() >= s.lbMM->width());
  const QRect screen = run.Wizard.screen()->availableGeometry();
  QVERIFY(screen.contains(run.Wizard.geometry()));

  // A seventh variable is more than the window was made for: the page then scrolls across.
  QTest::mouseClick(s.BitBtn2, Qt::LeftButton);
  QTest::mouseClick(s.BitBtn2, Qt::LeftButton);
  QCoreApplication::processEvents();
  QVERIFY(s.sbDefault->horizontalScrollBar()->maximum() > 0);
}

QTEST_MAIN(TestZLPInput)
#include "tst_untStep_ZLPInput.moc"
