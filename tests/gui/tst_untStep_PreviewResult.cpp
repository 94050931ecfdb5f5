// Tests of the result preview step: the earlier sections in order and the final report.
#include "MessageRecorder.h"
#include "StepRun.h"
#include "untStagePage.h"
#include "untStep_PreviewResult.h"
#include "untStep_ZLPInput.h"

#include <QLocale>

using namespace Qt::StringLiterals;

class TestPreviewResult : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void showsTheSectionsInOrder();
  void finalReportHoldsEachSectionOnce();
  void changedModelReachesThePreview();

private:
  TStepClasses Classes;
};

namespace {

constexpr const char* SimplexSection = "Раздел симплекс-метода";

// Input, canonical form and the simplex stand-in passed; the preview is current.
void ToPreview(TStepRun& run) {
  run.Start(TT_LINEAR);
  auto& input = run.Stage<TfrmStep_ZLPInput>(0);
  input.actIncVar->trigger();
  Type(input.ObjectiveEdit(1), u"3"_s);
  Type(input.ObjectiveEdit(2), u"5"_s);
  Type(input.ConstraintEdit(1, 1), u"1"_s);
  Type(input.RhsEdit(1), u"4"_s);
  for (int k = 0; k < 3; ++k) run.Next();
}

} // namespace

void TestPreviewResult::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  Classes.StandIn(10, SimplexSection);
}

void TestPreviewResult::showsTheSectionsInOrder() {
  TMessageRecorder recorder;
  TStepRun run;
  ToPreview(run);
  QCOMPARE(run.Wizard.CurrentStage, 3);
  auto& preview = run.Stage<TfrmStep_PreviewResult>(3);
  // The sections, then the answer the final report will end with.
  std::vector<std::string> expected{run.Stage<TZLPCore_SolutionStage>(0).StageReport.GetText(),
                                    run.Stage<TZLPCore_SolutionStage>(1).StageReport.GetText(),
                                    run.Stage<TZLPCore_SolutionStage>(2).StageReport.GetText()};
  QCOMPARE(preview.StageReport.Lines.size(), std::size_t{4});
  QVERIFY(preview.StageReport.Lines[3].starts_with("<p><b>Ответ:</b> "));
  expected.push_back(preview.StageReport.Lines[3]);
  QCOMPARE(preview.StageReport.Lines, expected);
  QVERIFY(expected[0].starts_with("<H2>&bull; Постановка задачи ЛП</H2>"));
  QVERIFY(expected[1].starts_with("<H2>&bull; Каноническая форма</H2>"));
  QVERIFY(expected[2].find(SimplexSection) != std::string::npos);
  QVERIFY(preview.StageReport.Bare);
  QCOMPARE(preview.StageReport.StyleMods, ResultPageStyle(SystemPageColors(preview.palette())));
  QVERIFY(preview.StageReport.StyleMods.starts_with("TD.clsSimCell, TABLE.clsDense TD {background:#"));

  // Coming back to the preview gathers the sections afresh, not twice.
  run.Back();
  run.Next();
  QCOMPARE(preview.StageReport.Lines, expected);
}

void TestPreviewResult::finalReportHoldsEachSectionOnce() {
  TMessageRecorder recorder;
  TStepRun run;
  ToPreview(run);
  const std::string input = run.Stage<TZLPCore_SolutionStage>(0).StageReport.GetText();
  run.Next();
  QVERIFY(run.Wizard.Finished);
  const std::vector<std::string>& lines = run.Report.Lines;
  QCOMPARE(lines.size(), std::size_t{4});
  QCOMPARE(lines[0], input);
  for (std::size_t k = 0; k < 3; ++k) QVERIFY(!lines[k].empty());
  // The result step leaves only the answer, which ends the report.
  QVERIFY(lines[3].starts_with("<p><b>Ответ:</b> "));
  QCOMPARE(run.Stage<TfrmStep_PreviewResult>(3).StageReport.Lines.size(), std::size_t{1});
}

void TestPreviewResult::changedModelReachesThePreview() {
  TMessageRecorder recorder;
  TStepRun run;
  ToPreview(run);
  for (int k = 0; k < 3; ++k) run.Back();
  QCOMPARE(run.Wizard.CurrentStage, 0);
  Type(run.Stage<TfrmStep_ZLPInput>(0).ObjectiveEdit(2), u"11/3"_s);
  for (int k = 0; k < 3; ++k) run.Next();
  const std::string& input = run.Stage<TfrmStep_PreviewResult>(3).StageReport.Lines.at(0);
  QVERIFY(input.find("11/3") != std::string::npos);
  QCOMPARE(input.find("5X"), std::string::npos);
}

QTEST_MAIN(TestPreviewResult)
#include "tst_untStep_PreviewResult.moc"
