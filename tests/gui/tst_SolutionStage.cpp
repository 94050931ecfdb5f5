// Tests of the step factory and of the texts of the twelve step classes.
#include "StepClasses.h"
#include "ZLPCore_SolutionStage.h"
#include "ZLPCore_StageTasks.h"
#include "untZLPWizard.h"

#include <QLocale>
#include <QTest>

#include <memory>

class TestSolutionStage : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void stageTexts_data();
  void stageTexts();
  void createStageNone_data();
  void createStageNone();
  void createStageHighBit();
  void createStagesCuttingStock();
  void createStagesStopsAtFirstNone();
  void createStagesEmptySequence();
  void baseOperationsLetTheStudentMove();
};

void TestSolutionStage::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  InstallStepClasses();
}

void TestSolutionStage::stageTexts_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("className");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("hint");
  QTest::addColumn<QString>("helpPage");
  const QString inputHint =
      QString::fromUtf8("Составьте матмодель задачи и выясните сколько в ней переменных и неравенств (уравнений) "
                        "ограничений, укажите размерность задачи и введите коэффициенты");
  const auto row = [](const char* tag, int kind, const char* cls, const char* title, const char* caption,
                      const QString& hint, const char* page) {
    QTest::newRow(tag) << kind << QString::fromUtf8(cls) << QString::fromUtf8(title) << QString::fromUtf8(caption)
                       << hint << QString::fromUtf8(page);
  };
  const auto u = [](const char* text) { return QString::fromUtf8(text); };
  row("1 LP input", 1, "TfrmStep_ZLPInput", "Ввод условия задачи ЛП", "Постановка задачи ЛП", inputHint,
      "zlpinput.html");
  row("2 cutting input", 2, "TfrmStep_CutInput", "Ввод условия задачи о раскрое", "Постановка задачи",
      u("Введите условие задачи и нажмите кнопку «Далее», чтобы перейти к решению."), "CutInput.html");
  row("3 fractional input", 3, "TfrmStep_ZDLPInput", "Ввод условия задачи ДЛП", "Постановка задачи ДЛП", inputHint,
      "ZDLPInput.html");
  row("4 substitution", 4, "TfrmStep_ZDLPToZLP", "Приведение к з. ЛП заменой переменных", "Замена переменных",
      u("Просмотрите и проверьте шаг замены переменных"), "ZDLPToZLP.html");
  row("5 back substitution", 5, "TfrmStep_ZLPToZDLP", "Обратная замена переменных", "Обратная замена",
      u("Просмотрите и проверьте шаг обратной замены переменных"), "ZLPToZDLP.html");
  row("6 quadratic input", 6, "TfrmStep_Quadro", "Ввод коэффициентов второго порядка", "Коэффициенты второго порядка",
      u("Введите коэффициенты второго порядка и нажмите далее"), "Quadro.html");
  row("7 quadratic reduction", 7, "TfrmStep_QuadroSolve", "Приведение задачи квадратичного программирования к ЗЛП",
      "Приведение к ЗЛП",
      u("Просмотрите как задача квадратичного программирования приводится к задаче линейного программирования"),
      "QuadroSolve.html");
  row("8 canonical form", 8, "TfrmStep_KFCheck", "Приведение задачи к канонической форме", "Каноническая форма",
      u("Просмотрите как была построена КФ для составления симплекс-таблицы"), "KFCheck.html");
  row("9 model", 9, "TfrmStep_ZLPCheck", "Матмодель задачи ЛП", "Матмодель задачи",
      u("Задача линейного программирования была сформулирована следующим образом:"), "ZLPCheck.html");
  row("10 simplex", 10, "TfrmStep_SimplexSolve", "Решим задачу при помощи симплекс-метода", "Решение симплекс-методом",
      u("Проверьте шаг преобразования перед передачей в симплекс-метод"), "SimplexSolve.html");
  row("11 integer variables", 11, "TfrmStep_GomorySelect", "Выбор целочисленных переменных", "Условие целочисленности",
      u("Выберите переменные, которые должны стать целочисленными и нажмите кнопку далее"), "GomorySelect.html");
  row("12 result", 12, "TfrmStep_PreviewResult", "Результат решения", "Готово",
      u("Просмотрите это решение, если что то не так, то можно вернуться и переделать."), "PreviewResult.html");
}

void TestSolutionStage::stageTexts() {
  QFETCH(int, kind);
  QWidget owner;
  TZLPCore_StageTask task;
  task.StageKind = static_cast<std::uint8_t>(kind);
  TZLPCore_SolutionStage* stage = CreateStage(owner, task);
  QVERIFY(stage);
  QCOMPARE(stage->parent(), &owner);
  QTEST(QString::fromUtf8(stage->metaObject()->className()), "className");
  QTEST(QString::fromStdString(stage->StageTitle), "title");
  QTEST(QString::fromStdString(stage->StageCaption), "caption");
  QTEST(QString::fromStdString(stage->StageHint), "hint");
  QTEST(QString::fromStdString(stage->HelpPage), "helpPage");
}

void TestSolutionStage::createStageNone_data() {
  QTest::addColumn<int>("kind");
  QTest::newRow("0") << 0;
  QTest::newRow("13 end mark") << 13;
  QTest::newRow("128 high bit on 0") << 128;
  QTest::newRow("141 high bit on 13") << 141;
  QTest::newRow("200") << 200;
  QTest::newRow("255") << 255;
}

void TestSolutionStage::createStageNone() {
  QFETCH(int, kind);
  QWidget owner;
  TZLPCore_StageTask task;
  task.StageKind = static_cast<std::uint8_t>(kind);
  QCOMPARE(CreateStage(owner, task), nullptr);
  QVERIFY(owner.children().isEmpty());
}

void TestSolutionStage::createStageHighBit() {
  QWidget owner;
  TZLPCore_StageTask task;
  task.StageKind = 129;
  TZLPCore_SolutionStage* stage = CreateStage(owner, task);
  QVERIFY(stage);
  QCOMPARE(QString::fromUtf8(stage->metaObject()->className()), QStringLiteral("TfrmStep_ZLPInput"));
}

void TestSolutionStage::createStagesCuttingStock() {
  QWidget owner;
  TZLPCore_StageTasks tasks;
  QVERIFY(BuildStageTasks(TT_CUTTING, tasks));
  TZLPCore_SolutionStages stages;
  QVERIFY(CreateStages(owner, stages, tasks));
  const char* expected[] = {"TfrmStep_CutInput", "TfrmStep_ZLPCheck", "TfrmStep_KFCheck", "TfrmStep_SimplexSolve",
                            "TfrmStep_PreviewResult"};
  QCOMPARE(stages.size(), std::size(expected));
  for (std::size_t i = 0; i < stages.size(); ++i) {
    const QByteArray tag = QByteArray::number(static_cast<qulonglong>(i));
    TZLPCore_SolutionStage* stage = stages[i];
    QVERIFY2(stage, tag.constData());
    QCOMPARE(QString::fromUtf8(stage->metaObject()->className()), QString::fromUtf8(expected[i]));
    QCOMPARE(stage->parent(), &owner);
    QCOMPARE(stage->StageData.Flags, std::uint8_t{0});
    QVERIFY(stage->StageData.IntegerVars.empty());
    QVERIFY(stage->StageData.SolutionLines.empty());
    QVERIFY(stage->StageReport.Lines.empty());
    QVERIFY(stage->CanLeave);
    for (std::size_t j = 0; j < i; ++j) QVERIFY(stages[j] != stage);
  }
}

void TestSolutionStage::createStagesStopsAtFirstNone() {
  QWidget owner;
  TZLPCore_StageTasks tasks(4);
  tasks[0].StageKind = SK_ZLPINPUT;
  tasks[1].StageKind = 13;
  tasks[2].StageKind = SK_KFCHECK;
  tasks[3].StageKind = SK_PREVIEWRESULT;
  TZLPCore_SolutionStages stages;
  QVERIFY(!CreateStages(owner, stages, tasks));
  QCOMPARE(stages.size(), std::size_t{4});
  QVERIFY(stages[0]);
  QCOMPARE(stages[1], nullptr);
  QCOMPARE(stages[2], nullptr);
  QCOMPARE(stages[3], nullptr);
  QCOMPARE(owner.findChildren<TZLPCore_SolutionStage*>().size(), 1);
}

void TestSolutionStage::createStagesEmptySequence() {
  QWidget owner;
  TZLPCore_SolutionStages stages(3, nullptr);
  QVERIFY(CreateStages(owner, stages, {}));
  QVERIFY(stages.empty());
}

void TestSolutionStage::baseOperationsLetTheStudentMove() {
  TfrmZLPWizard wizard(nullptr);
  TZLPCore_SolutionStage stage(&wizard);
  QVERIFY(stage.CanLeave);
  QVERIFY(stage.StageTitle.empty() && stage.StageCaption.empty() && stage.StageHint.empty() && stage.HelpPage.empty());
  stage.CanLeave = false;
  stage.LeaveForward(wizard);
  QVERIFY(stage.CanLeave);
  stage.CanLeave = false;
  stage.LeaveBackward(wizard);
  QVERIFY(stage.CanLeave);
}

QTEST_MAIN(TestSolutionStage)
#include "tst_SolutionStage.moc"
