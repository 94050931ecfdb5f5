// Tests of the wizard window: moves, hand-over of the problem container, the list of stages,
// cancelling, saving, help and the header pictures.
#include "AppPaths.h"
#include "DataMod.h"
#include "MessageRecorder.h"
#include "QtHelpers.h"
#include "SqliteDb.h"
#include "StatementStore.h"
#include "StepClasses.h"
#include "UICore_AssistantInterface.h"
#include "untWebViewer.h"
#include "untZLPWizard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

using TNames = std::vector<std::string>;

// A step the test steers: leaving forward it appends its name to the container's list and writes
// one report line; it remembers what it found on entry and may refuse a move or throw.
class TTestStage : public TZLPCore_SolutionStage {
public:
  TTestStage(QWidget* owner, std::string name) : TZLPCore_SolutionStage(owner), Name(std::move(name)) {
    StageTitle = "Заголовок " + Name;
    StageCaption = "Этап " + Name;
    StageHint = "Подсказка " + Name;
    HelpPage = Name + ".html";
  }

  std::string Name;
  bool RefuseForward = false;
  bool RefuseBackward = false;
  bool ThrowOnLeave = false;
  bool ThrowOnEnter = false;
  int Entered = 0;
  int LeftBackward = 0;
  TNames SeenOnEntry;

  void EnterStage(TStageHost&) override {
    ++Entered;
    SeenOnEntry = StageData.IntegerVars;
    if (ThrowOnEnter) throw std::runtime_error("Сбой при входе на этап " + Name);
  }
  void LeaveForward(TStageHost&) override {
    if (ThrowOnLeave) throw std::runtime_error("Деление на ноль на этапе " + Name);
    CanLeave = !RefuseForward;
    if (CanLeave) {
      StageData.IntegerVars.push_back(Name);
      StageReport.AddLine("page " + Name);
    }
  }
  void LeaveBackward(TStageHost&) override {
    ++LeftBackward;
    CanLeave = !RefuseBackward;
  }
};

// Installs test steps named A, B, C ... in creation order for as long as it lives.
class TTestStageClasses {
public:
  TTestStageClasses() {
    TStageClasses classes;
    for (TStageClass& make : classes)
      make = [this](QWidget& owner) -> TZLPCore_SolutionStage* {
        return new TTestStage(&owner, std::string(1, static_cast<char>('A' + Created++)));
      };
    Previous = SetStageClasses(std::move(classes));
  }
  ~TTestStageClasses() { SetStageClasses(std::move(Previous)); }
  TTestStageClasses(const TTestStageClasses&) = delete;
  TTestStageClasses& operator=(const TTestStageClasses&) = delete;

private:
  int Created = 0;
  TStageClasses Previous;
};

// One wizard over a fresh store in its own folder.
struct TRun {
  TRun() : Dm(std::filesystem::path(Dir.path().toStdString()) / "data"), Store(Dm), Wizard(&Store) {}
  QTemporaryDir Dir;
  TDM Dm;
  TDMProblemStore Store;
  TfrmZLPWizard Wizard;
  TZLPCore_SolutionResult Report;
  TZLPCore_Interface Problem;

  void Next() { QTest::mouseClick(Wizard.btnNext, Qt::LeftButton); }
  void Back() { QTest::mouseClick(Wizard.btnBack, Qt::LeftButton); }
  TTestStage& Stage(int i) { return *dynamic_cast<TTestStage*>(Wizard.Stages.at(static_cast<std::size_t>(i))); }
  int Start(std::uint8_t type, TUICore_AssistantInterface* assistant = nullptr) {
    const int result = Wizard.Execute(type, assistant, &Report, &Problem, false);
    if (Wizard.isVisible()) static_cast<void>(QTest::qWaitForWindowExposed(&Wizard));
    return result;
  }
};

bool Contains(const std::vector<TTaskRow>& rows, const std::string& name) {
  return std::any_of(rows.begin(), rows.end(), [&](const TTaskRow& r) { return r.TaskName == name; });
}

} // namespace

class TestZLPWizard : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void linearRunButtonsAndFinalReport();
  void modalRunReturnsFinished();
  void handOverForwardAndBack();
  void stepsFindPredecessorsOutput();
  void refusedOrFailingMoveKeepsStep();
  void failureOnEntryIsShown();
  void labelClickMovesBack();
  void labelClickStopsAtRefusingStep();
  void cancelAsksAndDropsTempRecord();
  void saveKeepsCopyAfterFinish();
  void helpButton();
  void helpFollowsTheStepsAndF1();
  void markersShowProgress();
  void headerPictures();
  void typesWithoutWizard_data();
  void typesWithoutWizard();
  void missingStepClassIsReported();
};

void TestZLPWizard::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  InstallStepClasses();
}

void TestZLPWizard::linearRunButtonsAndFinalReport() {
  TMessageRecorder recorder;
  TRun run;
  TfrmZLPWizard& w = run.Wizard;
  QCOMPARE(run.Start(TT_LINEAR), int{TfrmZLPWizard::mrAbort});
  QVERIFY(w.isVisible());
  QCOMPARE(w.windowTitle(), U("Задача линейного программирования - [Мастер решений]"));
  QCOMPARE(Q(run.Report.Title), U("Задача линейного программирования"));
  QCOMPARE(w.StageCount, 4);
  const int tempId = run.Dm.GetTempTaskId();
  QVERIFY(tempId >= 0);
  QCOMPARE(w.TempTaskId, tempId);
  QVERIFY(run.Dm.FindTask(tempId).has_value());

  const QStringList captions{U("Постановка задачи ЛП"), U("Каноническая форма"), U("Решение симплекс-методом"),
                             U("Готово")};
  QCOMPARE(static_cast<qsizetype>(w.StageLabels.size()), captions.size());
  for (qsizetype i = 0; i < captions.size(); ++i)
    QCOMPARE(w.StageLabels[static_cast<std::size_t>(i)]->text(), captions[i]);

  QCOMPARE(w.CurrentStage, 0);
  QVERIFY(!w.btnBack->isEnabled());
  QVERIFY(!w.btnSave->isVisible());
  QVERIFY(w.btnNext->isEnabled());
  QCOMPARE(w.btnNext->text(), U("Далее >>"));
  QCOMPARE(w.lbTitle->text(), U("Ввод условия задачи ЛП"));
  QVERIFY(w.lbHint->text().startsWith(U("Составьте матмодель задачи")));
  QVERIFY(w.Stages[0]->isVisible());

  for (int i = 0; i < 4; ++i) {
    QCOMPARE(w.CurrentStage, i);
    for (int j = 0; j < 4; ++j) QCOMPARE(w.Stages[static_cast<std::size_t>(j)]->isVisible(), j == i);
    QCOMPARE(w.btnNext->text(), i == 3 ? U("Готово") : U("Далее >>"));
    QCOMPARE(w.btnSave->isVisible(), i == 3);
    QCOMPARE(w.btnBack->isEnabled(), i > 0);
    w.Stages[static_cast<std::size_t>(i)]->StageReport.AddLine("Раздел " + std::to_string(i + 1));
    if (i < 3) run.Next();
  }
  QCOMPARE(w.lbTitle->text(), U("Результат решения"));
  run.Report.AddLine("старый отчёт");
  // The real steps write their own sections on leaving; the result step leaves only the answer.
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.push_back(w.Stages[static_cast<std::size_t>(i)]->StageReport.GetText());
  QVERIFY(expected[1].find("Раздел 2") != std::string::npos);
  run.Next();

  QVERIFY(w.Finished);
  QVERIFY(!w.isVisible());
  QCOMPARE(w.result(), int{TfrmZLPWizard::mrFinished});
  QCOMPARE(run.Report.Lines.size(), std::size_t{4});
  QCOMPARE(std::vector<std::string>(run.Report.Lines.begin(), run.Report.Lines.begin() + 3), expected);
  QVERIFY(run.Report.Lines[3].rfind("<p><b>Ответ:</b> ", 0) == 0);
  QVERIFY(!run.Dm.FindTask(tempId).has_value());
  QVERIFY(recorder.Messages.empty());
}

void TestZLPWizard::modalRunReturnsFinished() {
  TMessageRecorder recorder;
  TRun run;
  int clicks = 0;
  QTimer::singleShot(0, &run.Wizard, [&] {
    while (run.Wizard.isVisible() && clicks < 10) {
      run.Next();
      ++clicks;
    }
  });
  QCOMPARE(run.Wizard.Execute(TT_INTEGER, nullptr, &run.Report, &run.Problem, true), int{TfrmZLPWizard::mrFinished});
  QCOMPARE(clicks, 5);
  QCOMPARE(run.Report.Lines.size(), std::size_t{5});
}

void TestZLPWizard::handOverForwardAndBack() {
  TMessageRecorder recorder;
  TRun run;
  TfrmZLPWizard& w = run.Wizard;
  run.Problem.Flags = IF_ZLP;
  run.Problem.IntegerVars = {"x1"};
  run.Start(TT_LINEAR);
  TZLPCore_SolutionStage& first = *w.Stages[0];
  TZLPCore_SolutionStage& second = *w.Stages[1];
  QCOMPARE(first.StageData.Flags, std::uint8_t{IF_ZLP});
  QCOMPARE(first.StageData.IntegerVars, TNames{"x1"});

  first.StageData.IntegerVars.push_back("step1");
  run.Next();
  QCOMPARE(w.StageOutputs[0].IntegerVars, (TNames{"x1", "step1"}));
  QCOMPARE(second.StageData.IntegerVars, (TNames{"x1", "step1"}));
  QCOMPARE(second.StageData.Flags, std::uint8_t{IF_ZLP});

  second.StageData.IntegerVars = {"x1", "step1", "step2"};
  run.Next();
  QCOMPARE(w.Stages[2]->StageData.IntegerVars, (TNames{"x1", "step1", "step2"}));

  // Coming back, step 2 starts again from step 1's output; its own changes and page are gone.
  second.StageReport.AddLine("старая страница");
  run.Back();
  QCOMPARE(w.CurrentStage, 1);
  QCOMPARE(second.StageData.IntegerVars, (TNames{"x1", "step1"}));
  QVERIFY(std::find(second.StageReport.Lines.begin(), second.StageReport.Lines.end(), "старая страница") ==
          second.StageReport.Lines.end());

  // Step 1 keeps what the student left in it.
  first.StageData.IntegerVars = {"edited"};
  run.Back();
  QCOMPARE(w.CurrentStage, 0);
  QCOMPARE(first.StageData.IntegerVars, TNames{"edited"});
  QCOMPARE(run.Problem.IntegerVars, TNames{"x1"});

  // Leaving forward again replaces the output.
  run.Next();
  QCOMPARE(w.StageOutputs[0].IntegerVars, TNames{"edited"});
  QCOMPARE(second.StageData.IntegerVars, TNames{"edited"});
}

void TestZLPWizard::stepsFindPredecessorsOutput() {
  TMessageRecorder recorder;
  TTestStageClasses classes;
  TRun run;
  run.Problem.IntegerVars = {"start"};
  run.Start(TT_QUADRATIC);
  QCOMPARE(run.Wizard.StageCount, 6);
  for (int i = 0; i < 6; ++i) run.Next();
  QCOMPARE(run.Wizard.result(), int{TfrmZLPWizard::mrFinished});
  TNames expected{"start"};
  for (int i = 0; i < 6; ++i) {
    TTestStage& stage = run.Stage(i);
    QCOMPARE(stage.Entered, 1);
    QCOMPARE(stage.SeenOnEntry, expected);
    expected.push_back(stage.Name);
  }
  QCOMPARE(run.Report.GetText(),
           std::string("page A\r\n\r\npage B\r\n\r\npage C\r\n\r\npage D\r\n\r\npage E\r\n\r\npage F\r\n\r\n"));
}

void TestZLPWizard::refusedOrFailingMoveKeepsStep() {
  TMessageRecorder recorder;
  TTestStageClasses classes;
  TRun run;
  run.Start(TT_LINEAR);
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);

  run.Stage(1).RefuseForward = true;
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QVERIFY(run.Wizard.StageOutputs[1].IntegerVars.empty());
  QVERIFY(run.Wizard.btnNext->isEnabled());
  QVERIFY(recorder.Messages.empty());

  run.Stage(1).RefuseForward = false;
  run.Stage(1).ThrowOnLeave = true;
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QVERIFY(run.Wizard.Stages[1]->isVisible());
  QVERIFY(run.Wizard.btnNext->isEnabled());
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(Q(recorder.Messages[0].Caption), U("Ошибка"));
  QCOMPARE(Q(recorder.Messages[0].Text), U("Деление на ноль на этапе B"));
  QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Error);
}

void TestZLPWizard::failureOnEntryIsShown() {
  TMessageRecorder recorder;
  TTestStageClasses classes;
  TRun run;
  run.Start(TT_LINEAR);
  run.Stage(1).ThrowOnEnter = true;
  run.Next();
  QCOMPARE(run.Wizard.CurrentStage, 1);
  QVERIFY(run.Wizard.btnNext->isEnabled());
  QVERIFY(run.Wizard.btnBack->isEnabled());
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(Q(recorder.Messages[0].Caption), U("Ошибка"));
  QCOMPARE(Q(recorder.Messages[0].Text), U("Сбой при входе на этап B"));
}

void TestZLPWizard::labelClickMovesBack() {
  TMessageRecorder recorder;
  TTestStageClasses classes;
  TRun run;
  TfrmZLPWizard& w = run.Wizard;
  run.Start(TT_LINEAR);
  for (int i = 0; i < 3; ++i) run.Next();
  QCOMPARE(w.CurrentStage, 3);
  for (int i = 0; i < 4; ++i) {
    const QLabel& label = *w.StageLabels[static_cast<std::size_t>(i)];
    QCOMPARE(label.cursor().shape(), i < 3 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QCOMPARE(label.font().bold(), i == 3);
  }

  QTest::mouseClick(w.StageLabels[3], Qt::LeftButton);
  QCOMPARE(w.CurrentStage, 3);
  QCOMPARE(run.Stage(3).LeftBackward, 0);

  QTest::mouseClick(w.StageLabels[0], Qt::LeftButton);
  QCOMPARE(w.CurrentStage, 0);
  QCOMPARE(run.Stage(3).LeftBackward, 1);
  QCOMPARE(run.Stage(2).LeftBackward, 1);
  QCOMPARE(run.Stage(1).LeftBackward, 1);
  QCOMPARE(run.Stage(0).LeftBackward, 0);
  QVERIFY(w.Stages[0]->isVisible());
  QVERIFY(!w.btnBack->isEnabled());
  for (int i = 0; i < 4; ++i) QCOMPARE(w.StageLabels[static_cast<std::size_t>(i)]->cursor().shape(), Qt::ArrowCursor);

  QTest::mouseClick(w.StageLabels[2], Qt::LeftButton);
  QCOMPARE(w.CurrentStage, 0);
}

void TestZLPWizard::labelClickStopsAtRefusingStep() {
  TMessageRecorder recorder;
  TTestStageClasses classes;
  TRun run;
  run.Start(TT_LINEAR);
  for (int i = 0; i < 3; ++i) run.Next();
  run.Stage(2).RefuseBackward = true;
  QTest::mouseClick(run.Wizard.StageLabels[0], Qt::LeftButton);
  QCOMPARE(run.Wizard.CurrentStage, 2);
  QCOMPARE(run.Stage(2).LeftBackward, 1);
  QVERIFY(run.Wizard.Stages[2]->isVisible());
}

void TestZLPWizard::cancelAsksAndDropsTempRecord() {
  TMessageRecorder recorder;
  TRun run;
  TfrmZLPWizard& w = run.Wizard;
  // The model display step warns when no linear program reaches it.
  run.Problem.SetFlag(IF_ZLP);
  run.Start(TT_CUTTING);
  run.Next();
  const int tempId = run.Dm.GetTempTaskId();
  QVERIFY(tempId >= 0);

  recorder.Answers = {TMsgAnswer::No};
  QTest::mouseClick(w.btnCancel, Qt::LeftButton);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  const TRecordedMessage& question = recorder.Messages[0];
  QCOMPARE(Q(question.Caption), U("Мастер решений"));
  QCOMPARE(Q(question.Text), U("Вы действительно хотите прервать работу мастера?"));
  QVERIFY(question.Icon == TMsgIcon::Question);
  QCOMPARE(question.Buttons, TMsgButtons{mbYes | mbNo});
  QVERIFY(w.isVisible());
  QCOMPARE(w.CurrentStage, 1);
  QVERIFY(run.Dm.FindTask(tempId).has_value());

  recorder.Answers = {TMsgAnswer::Yes};
  QTest::keyClick(&w, Qt::Key_Escape);
  QCOMPARE(recorder.Messages.size(), std::size_t{2});
  QVERIFY(!w.isVisible());
  QCOMPARE(w.result(), int{TfrmZLPWizard::mrCancelled});
  QVERIFY(!w.Finished);
  QVERIFY(!run.Dm.FindTask(tempId).has_value());
  QVERIFY(run.Report.Lines.empty());
}

void TestZLPWizard::saveKeepsCopyAfterFinish() {
  TMessageRecorder recorder;
  TRun run;
  TfrmZLPWizard& w = run.Wizard;
  std::vector<int> askedTypes;
  std::string answer;
  w.AskSaveName = [&](std::uint8_t type) {
    askedTypes.push_back(type);
    return answer;
  };
  run.Start(TT_LINEAR);
  const int tempId = run.Dm.GetTempTaskId();
  for (int i = 0; i < 3; ++i) run.Next();
  QVERIFY(w.btnSave->isVisible());

  QTest::mouseClick(w.btnSave, Qt::LeftButton);
  QCOMPARE(run.Dm.ListTasks(TT_LINEAR)->size(), std::size_t{0});

  answer = "Задача про цех № 1";
  recorder.Messages.clear();
  QTest::mouseClick(w.btnSave, Qt::LeftButton);
  QCOMPARE(askedTypes, (std::vector<int>{TT_LINEAR, TT_LINEAR}));
  // A success is one information message naming the problem, under the program's caption.
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(Q(recorder.Messages[0].Text), U("Задача «Задача про цех № 1» сохранена."));
  QCOMPARE(Q(recorder.Messages[0].Caption), U("Kelvano 1.0"));
  QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Information);
  QVERIFY(w.isVisible());
  QCOMPARE(w.CurrentStage, 3);
  const auto saved = run.Dm.ListTasks(TT_LINEAR);
  QVERIFY(saved.has_value());
  QCOMPARE(saved->size(), std::size_t{1});
  QCOMPARE(Q(saved->front().TaskName), U("Задача про цех № 1"));
  QVERIFY(saved->front().Id != tempId);

  // A save the store refuses is an error, and nothing is announced as saved.
  {
    TSqliteDb db;
    QVERIFY(db.Open(std::filesystem::path(run.Dir.path().toStdString()) / "data" / "Tasks.db"));
    QVERIFY(db.Exec("CREATE TRIGGER refuse BEFORE INSERT ON Tasks BEGIN SELECT RAISE(ABORT, 'refused'); END"));
  }
  answer = "Вторая";
  recorder.Messages.clear();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier); // Ctrl+S saves as the button does
  QCOMPARE(askedTypes.size(), std::size_t{3});
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(Q(recorder.Messages[0].Caption), U("Ошибка"));
  QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Error);
  QVERIFY(!Contains(*run.Dm.ListTasks(TT_LINEAR), "Вторая"));

  run.Next();
  QCOMPARE(w.result(), int{TfrmZLPWizard::mrFinished});
  QVERIFY(!run.Dm.FindTask(tempId).has_value());
  QVERIFY(Contains(*run.Dm.ListTasks(TT_LINEAR), "Задача про цех № 1"));
}

void TestZLPWizard::helpButton() {
  TMessageRecorder recorder;
  QTemporaryDir programDir;
  SetProgramDir(programDir.path().toStdString() + "/");
  {
    TRun run;
    TUICore_AssistantInterface assistant(&run.Wizard);
    run.Start(TT_LINEAR, &assistant);
    QVERIFY(run.Wizard.btnHelp->isVisible());
    QVERIFY(run.Wizard.btnHelp->isEnabled());
    QTest::mouseClick(run.Wizard.btnHelp, Qt::LeftButton);
    QVERIFY(run.Wizard.HelpWindow);
    QVERIFY(run.Wizard.HelpWindow->isVisible());
    QCOMPARE(run.Wizard.HelpWindow->windowTitle(), U("Помощь"));
    // Without a help folder beside the program the window stays empty.
    QVERIFY(run.Wizard.HelpWindow->wb->LocationURL().empty());
    THelpWindow* window = run.Wizard.HelpWindow;
    run.Next();
    QTest::mouseClick(run.Wizard.btnHelp, Qt::LeftButton);
    QCOMPARE(run.Wizard.HelpWindow.data(), window);
  }
  {
    TRun run;
    run.Start(TT_LINEAR);
    QVERIFY(!run.Wizard.btnHelp->isVisible());
  }
  {
    TTestStageClasses classes;
    TRun run;
    TUICore_AssistantInterface assistant(&run.Wizard);
    run.Start(TT_LINEAR, &assistant);
    run.Stage(1).HelpPage.clear();
    QVERIFY(run.Wizard.btnHelp->isEnabled());
    run.Next();
    QVERIFY(run.Wizard.btnHelp->isVisible());
    QVERIFY(!run.Wizard.btnHelp->isEnabled());
    run.Next();
    QVERIFY(run.Wizard.btnHelp->isEnabled());
  }
  SetProgramDir("");
}

// F1 opens the current step's help; while the help window is open it follows the wizard to every
// step it moves to, and once closed it stays closed.
void TestZLPWizard::helpFollowsTheStepsAndF1() {
  TMessageRecorder recorder;
  QTemporaryDir programDir;
  for (const char* name : {"A", "B", "C", "D"}) {
    const QString path = programDir.filePath(QStringLiteral("help/help/steps/%1.html").arg(QLatin1String(name)));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("<html><title>") + name + "</title><body>" + name + "</body></html>");
  }
  SetProgramDir(programDir.path().toStdString() + "/");
  {
    TTestStageClasses classes;
    TRun run;
    TUICore_AssistantInterface assistant(&run.Wizard);
    run.Start(TT_LINEAR, &assistant);
    const auto shown = [&run] {
      return run.Wizard.HelpWindow ? QUrl(Q(run.Wizard.HelpWindow->wb->LocationURL())).fileName() : QString();
    };
    run.Wizard.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&run.Wizard));
    QTest::keyClick(&run.Wizard, Qt::Key_F1);
    QVERIFY(run.Wizard.HelpWindow && run.Wizard.HelpWindow->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(shown(), QStringLiteral("A.html"), 30000);
    run.Next();
    QTRY_COMPARE_WITH_TIMEOUT(shown(), QStringLiteral("B.html"), 30000);
    run.Next();
    QTRY_COMPARE_WITH_TIMEOUT(shown(), QStringLiteral("C.html"), 30000);
    run.Back();
    QTRY_COMPARE_WITH_TIMEOUT(shown(), QStringLiteral("B.html"), 30000);
    run.Wizard.HelpWindow->close();
    run.Next();
    QTest::qWait(300);
    QVERIFY(!run.Wizard.HelpWindow->isVisible());
    QCOMPARE(shown(), QStringLiteral("B.html"));
  }
  SetProgramDir("");
}

void TestZLPWizard::markersShowProgress() {
  TMessageRecorder recorder;
  TRun run;
  TfrmZLPWizard& w = run.Wizard;
  run.Start(TT_QUADRATIC);
  run.Next();
  run.Next();
  QCOMPARE(w.CurrentStage, 2);
  QCoreApplication::processEvents();
  const QImage strip = w.MarkerBitmap.toImage();
  QCOMPARE(strip.size(), w.PaintBox1->size());
  const auto centre = [](const QPixmap& marker) { return marker.toImage().pixelColor(5, 5); };
  QVERIFY(centre(w.ImageList1[0]) != centre(w.ImageList1[1]));
  QVERIFY(centre(w.ImageList1[0]) != centre(w.ImageList1[2]));
  QVERIFY(centre(w.ImageList1[1]) != centre(w.ImageList1[2]));
  for (int i = 0; i < 6; ++i) {
    const int marker = i < 2 ? 0 : i == 2 ? 2 : 1;
    const int top = w.StageLabels[static_cast<std::size_t>(i)]->y();
    QCOMPARE(strip.pixelColor(2 + 5, top + 2 + 5), centre(w.ImageList1[static_cast<std::size_t>(marker)]));
  }
  // Strictly growing tops: the entries stack in step order.
  for (std::size_t i = 1; i < 6; ++i) QVERIFY(w.StageLabels[i]->y() > w.StageLabels[i - 1]->y());
}

void TestZLPWizard::headerPictures() {
  TMessageRecorder recorder;
  TRun run;
  TfrmZLPWizard& w = run.Wizard;
  run.Start(TT_LINEAR);
  const auto visiblePictures = [&] {
    return std::count_if(w.im.begin(), w.im.end(), [](const QLabel* image) { return image->isVisible(); });
  };
  QCOMPARE(visiblePictures(), 1);
  QVERIFY(w.HeaderImage && w.HeaderImage->isVisible());
  QCOMPARE(w.HeaderImage->size(), QSize(48, 48));
  for (const QLabel* image : w.im) {
    QCOMPARE(image->pixmap().size(), QSize(48, 48));
  }

  QLabel* other = w.HeaderImage == w.im[3] ? w.im[4] : w.im[3];
  QLabel* old = w.HeaderImage;
  w.AnimateHeaderImage(other, old);
  QCOMPARE(w.HeaderImage, other);
  QVERIFY(other->isVisible());
  QVERIFY(!old->isVisible());
  QCOMPARE(other->geometry(), QRect(0, 0, 48, 48));

  QTest::mouseClick(static_cast<QWidget*>(w.HeaderImage), Qt::LeftButton);
  QCOMPARE(visiblePictures(), 1);
  QVERIFY(w.HeaderImage->isVisible());
  QCOMPARE(w.HeaderImage->size(), QSize(48, 48));

  QSet<const QLabel*> picked;
  for (int i = 0; i < 500; ++i) picked.insert(w.PickHeaderImage());
  QCOMPARE(picked.size(), qsizetype{10});
}

void TestZLPWizard::typesWithoutWizard_data() {
  QTest::addColumn<int>("type");
  QTest::newRow("assignment") << int{TT_ASSIGNMENT};
  QTest::newRow("regression") << int{TT_REGRESSION};
  QTest::newRow("none") << int{TT_NONE};
  QTest::newRow("unknown") << 9;
}

void TestZLPWizard::typesWithoutWizard() {
  QFETCH(int, type);
  TMessageRecorder recorder;
  TRun run;
  QCOMPARE(run.Wizard.Execute(static_cast<std::uint8_t>(type), nullptr, &run.Report, &run.Problem, true),
           int{TfrmZLPWizard::mrAbort});
  QVERIFY(!run.Wizard.isVisible());
  QCOMPARE(run.Wizard.StageCount, 0);
  QVERIFY(run.Wizard.Stages.empty());
  QCOMPARE(run.Dm.GetTempTaskId(), -1);
  QVERIFY(recorder.Messages.empty());
}

void TestZLPWizard::missingStepClassIsReported() {
  TMessageRecorder recorder;
  const TStageClasses installed = SetStageClasses({});
  TRun run;
  QCOMPARE(run.Wizard.Execute(TT_LINEAR, nullptr, &run.Report, &run.Problem, true), int{TfrmZLPWizard::mrAbort});
  SetStageClasses(installed);
  QVERIFY(!run.Wizard.isVisible());
  QCOMPARE(run.Dm.GetTempTaskId(), -1);
  QCOMPARE(recorder.Messages.size(), std::size_t{1});
  QCOMPARE(Q(recorder.Messages[0].Caption), U("Ошибка"));
  QVERIFY(recorder.Messages[0].Icon == TMsgIcon::Error);
}

QTEST_MAIN(TestZLPWizard)
#include "tst_ZLPWizard.moc"
