// Tests of the canonical form step: the explanations, the transformed model, moving back and forth.
#include "MessageRecorder.h"
#include "StepRun.h"
#include "untStagePage.h"
#include "untStep_KFCheck.h"
#include "untStep_ZLPInput.h"
#include "untStrConst.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

// Types Z = 2 X1 + 3 X2 with X1 + X2 (sign 1) 4 and X1 + 3 X2 (sign 2) 6 into the input step.
void TypeTwoByTwo(TfrmStep_ZLPInput& s, bool max, int sign1, int sign2) {
  s.actIncVar->trigger();
  s.actIncEq->trigger();
  s.ComboBox1->setCurrentIndex(max ? 0 : 1);
  Type(s.ObjectiveEdit(1), u"2"_s);
  Type(s.ObjectiveEdit(2), u"3"_s);
  Type(s.ConstraintEdit(1, 1), u"1"_s);
  Type(s.ConstraintEdit(1, 2), u"1"_s);
  Type(s.RhsEdit(1), u"4"_s);
  Type(s.ConstraintEdit(2, 1), u"1"_s);
  Type(s.ConstraintEdit(2, 2), u"3"_s);
  Type(s.RhsEdit(2), u"6"_s);
  s.SignBox(1)->setCurrentIndex(sign1);
  s.SignBox(2)->setCurrentIndex(sign2);
}

bool Same(TRational a, std::int32_t num, std::int32_t den) { return a.Num == num && a.Den == den; }

// Index of the first body line containing text at or after from, or -1.
int Find(const std::vector<std::string>& lines, const std::string& text, int from = 0) {
  for (int k = from; k < static_cast<int>(lines.size()); ++k)
    if (lines[static_cast<std::size_t>(k)].find(text) != std::string::npos) return k;
  return -1;
}

} // namespace

class TestKFCheck : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void explanations_data();
  void explanations();
  void minimisationWithBothInequalities();
  void backAndForwardGiveTheSamePage();
  void missingModelBlocksTheWizard();
  void artificialStartWritesTheMProblem();

private:
  TStepClasses Classes;
};

void TestKFCheck::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  Classes.StandIn(10, "симплекс");
}

void TestKFCheck::explanations_data() {
  QTest::addColumn<bool>("max");
  QTest::addColumn<int>("sign1");
  QTest::addColumn<int>("sign2");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("minimised, <= and >=") << false << 0 << 2
                                        << QStringList{U("Задачу нужно привести к канонической форме, "),
                                                       U("для начала устремим функцию цели к <b>максимуму</b>:"),
                                                       U("&#8594; Max"), U("<p>Введём"),
                                                       U("2 дополнительные (балансовые) переменные и приравняем правые части:")};
  QTest::newRow("maximised, <= only") << true << 0 << 0
                                      << QStringList{U("Задачу нужно привести к канонической форме, "),
                                                     U("функция уже стремится к <b>максимуму</b>, введём"),
                                                     U("2 дополнительные (балансовые) переменные и приравняем правые части:")};
  QTest::newRow("maximised, all equations")
      << true << 1 << 1
      << QStringList{U("Задача поставлена в канонической форме, "), U("но для передачи в симплекс-метод каждому ограничению нужна своя базисная переменная; введём")};
}

void TestKFCheck::explanations() {
  QFETCH(bool, max);
  QFETCH(int, sign1);
  QFETCH(int, sign2);
  QFETCH(QStringList, lines);
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  TypeTwoByTwo(run.Stage<TfrmStep_ZLPInput>(0), max, sign1, sign2);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  auto& page = run.Stage<TfrmStep_Page>(1);
  const std::vector<std::string>& body = page.StageReport.Lines;
  QCOMPARE(body.front(), std::string("<H2>&bull; Каноническая форма</H2>"));
  int at = 1;
  for (const QString& line : lines) {
    const int found = Find(body, line.toStdString(), at);
    QVERIFY2(found >= at, qPrintable(line));
    at = found;
  }
  QVERIFY(page.Outcome());
  QVERIFY(page.StageData.ZLP.IsCanonical());
  QVERIFY(run.Wizard.btnNext->isEnabled());
  QVERIFY(recorder.Messages.empty());
}

void TestKFCheck::minimisationWithBothInequalities() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  TypeTwoByTwo(run.Stage<TfrmStep_ZLPInput>(0), false, 0, 2);
  run.Next();
  const TZLPCore_SubInterface_ZLP& zlp = run.Stage<TfrmStep_Page>(1).StageData.ZLP;
  QVERIFY(zlp.IsMax);
  QCOMPARE(zlp.VarCount(), 4);
  QCOMPARE(zlp.ConstraintCount(), 2);
  QVERIFY(Same(zlp.Objective.GetItem(1), -2, 1));
  QVERIFY(Same(zlp.Objective.GetItem(2), -3, 1));
  QVERIFY(Same(zlp.Objective.GetItem(3), 0, 1));
  QVERIFY(Same(zlp.Coeffs.GetItem(1, 1), 1, 1));
  QVERIFY(Same(zlp.RHS.GetItem(1), 4, 1));
  // The ">=" row: its first n coefficients and its right-hand side negated.
  QVERIFY(Same(zlp.Coeffs.GetItem(1, 2), -1, 1));
  QVERIFY(Same(zlp.Coeffs.GetItem(2, 2), -3, 1));
  QVERIFY(Same(zlp.RHS.GetItem(2), -6, 1));
  QVERIFY(Same(zlp.Coeffs.GetItem(3, 1), 1, 1));
  QVERIFY(Same(zlp.Coeffs.GetItem(4, 2), 1, 1));
  QCOMPARE(zlp.GetSign(1), IS_EQUAL);
  QCOMPARE(zlp.GetSign(2), IS_EQUAL);
}

void TestKFCheck::backAndForwardGiveTheSamePage() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  TypeTwoByTwo(run.Stage<TfrmStep_ZLPInput>(0), false, 0, 2);
  run.Next();
  auto& page = run.Stage<TfrmStep_Page>(1);
  const std::vector<std::string> first = page.StageReport.Lines;
  const TStatementGrid model = StatementOfModel(page.StageData.ZLP);

  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 2);
  run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QCOMPARE(page.StageReport.Lines, first);
  run.Back();
  run.Next();
  QCOMPARE(page.StageReport.Lines, first);
  QVERIFY(StatementOfModel(page.StageData.ZLP) == model);
  QVERIFY(recorder.Messages.empty());
}

void TestKFCheck::missingModelBlocksTheWizard() {
  TMessageRecorder recorder;
  TStepClasses classes;
  classes.StandIn(1, "ввод без модели");
  classes.StandIn(10, "симплекс");
  TStepRun run;
  run.Start(TT_LINEAR);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  auto& page = run.Stage<TfrmStep_Page>(1);
  QVERIFY(!page.Outcome());
  QVERIFY(!run.Wizard.btnNext->isEnabled());
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Text, std::string(sFieldNotPrepared));
  QCOMPARE(page.StageReport.Lines.back(), "<p>" + std::string(sNoTaskToConvert));
  page.LeaveForward(run.Wizard);
  QVERIFY(!page.CanLeave);
}

// The button "Начальный план…": the M-method writes the M-problem on the page and is handed on to the
// simplex step; the page is written anew from the model the step was entered with, never twice.
void TestKFCheck::artificialStartWritesTheMProblem() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  TypeTwoByTwo(run.Stage<TfrmStep_ZLPInput>(0), false, 0, 2);
  run.Next();
  auto& page = run.Stage<TfrmStep_KFCheck>(1);
  const std::vector<std::string> first = page.StageReport.Lines;
  QVERIFY(page.btnStart && page.btnStart->isVisible());
  QCOMPARE(Find(first, "M-методом"), -1);
  page.actArtificial->trigger();
  QCOMPARE(page.StageData.StartMethod, TStartMethod::Artificial);
  const std::vector<std::string>& body = page.StageReport.Lines;
  QVERIFY(Find(body, "Свободный член строки № 2 отрицателен") >= 0);
  QVERIFY(Find(body, "X<sub>1</sub> + 3X<sub>2</sub> - X<sub>4</sub> + R<sub>1</sub> = 6") >= 0);
  QCOMPARE(page.StageData.ZLP.VarCount(), 4);
  page.actDual->trigger();
  QCOMPARE(page.StageData.StartMethod, TStartMethod::Dual);
  QCOMPARE(page.StageReport.Lines, first);
  QVERIFY(recorder.Messages.empty());
}

QTEST_MAIN(TestKFCheck)
#include "tst_untStep_KFCheck.moc"
