// Tests of the model display step in the cutting-stock sequence.
#include "MessageRecorder.h"
#include "StepRun.h"
#include "untStagePage.h"
#include "untStrConst.h"

#include <QLocale>

#include <algorithm>

namespace {

// The program a cutting-stock input produces: three cutting methods, two products.
void CuttingModel(TZLPCore_Interface& data) {
  TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  zlp.SetVarCount(3);
  zlp.SetConstraintCount(2);
  zlp.IsMax = false;
  for (int j = 1; j <= 3; ++j) {
    zlp.Objective.SetItem(j, {j, 1});
    zlp.Coeffs.SetItem(j, 1, {j % 2, 1});
    zlp.Coeffs.SetItem(j, 2, {3 - j, 1});
  }
  zlp.RHS.SetItem(1, {20, 1});
  zlp.RHS.SetItem(2, {15, 1});
  zlp.SetSign(1, IS_ABOVEOREQUAL);
  zlp.SetSign(2, IS_ABOVEOREQUAL);
  data.SetFlag(IF_ZLP);
}

} // namespace

class TestZLPCheck : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void showsTheModel();
  void enteringTwiceShowsThePageOnce();
  void missingModelBlocksTheWizard();
};

void TestZLPCheck::initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }

void TestZLPCheck::showsTheModel() {
  TMessageRecorder recorder;
  TStepClasses classes;
  classes.StandIn(2, "раскрой", [](TStandInStage& s) { s.OnLeave = CuttingModel; });
  TStepRun run;
  run.Start(TT_CUTTING);
  run.Next();
  auto& page = run.Stage<TfrmStep_Page>(1);
  const std::vector<std::string>& body = page.StageReport.Lines;
  QCOMPARE(body.size(), std::size_t{6});
  QCOMPARE(body[0], std::string("<H2>&bull; Матмодель задачи</H2>"));
  QCOMPARE(body[1], "<H2>&bull; " + page.StageHint + "</H2>");
  QCOMPARE(body[2], std::string("<pre>"));
  QVERIFY(body[3].find("Z = ") != std::string::npos);
  QVERIFY(body[3].find("Min") != std::string::npos);
  // The two constraints, one line each.
  QCOMPARE(std::count(body[4].begin(), body[4].end(), '\n'), 1);
  QCOMPARE(body[5], std::string("</pre>"));
  QVERIFY(page.StageReport.Bare);
  QVERIFY(run.Wizard.btnNext->isEnabled());
  QVERIFY(recorder.Messages.empty());
  // The step changes nothing in its container.
  QVERIFY(StatementOfModel(page.StageData.ZLP) == StatementOfModel(run.Stage<TZLPCore_SolutionStage>(0).StageData.ZLP));
}

void TestZLPCheck::enteringTwiceShowsThePageOnce() {
  TMessageRecorder recorder;
  TStepClasses classes;
  classes.StandIn(2, "раскрой", [](TStandInStage& s) { s.OnLeave = CuttingModel; });
  TStepRun run;
  run.Start(TT_CUTTING);
  run.Next();
  auto& page = run.Stage<TfrmStep_Page>(1);
  const std::vector<std::string> first = page.StageReport.Lines;
  run.Back();
  run.Next();
  QCOMPARE(page.StageReport.Lines, first);
}

void TestZLPCheck::missingModelBlocksTheWizard() {
  TMessageRecorder recorder;
  TStepClasses classes;
  classes.StandIn(2, "раскрой без модели");
  TStepRun run;
  run.Start(TT_CUTTING);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  auto& page = run.Stage<TfrmStep_Page>(1);
  QVERIFY(!run.Wizard.btnNext->isEnabled());
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(recorder.Messages[0].Text, std::string(sFieldNotPrepared));
  QCOMPARE(page.StageReport.Lines.back(), "<p>" + std::string(sNoTaskToConvert));

  // Going back enables the button again; a model arriving then is shown.
  run.Back();
  QVERIFY(run.Wizard.btnNext->isEnabled());
}

QTEST_MAIN(TestZLPCheck)
#include "tst_untStep_ZLPCheck.moc"
