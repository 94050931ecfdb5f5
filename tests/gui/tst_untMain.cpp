// Tests of the main window: action lists, radio buttons and their animation, "/speed=", help
// addresses, wizard runs with the final report, loading stored problems, opening elsewhere.
#include "AppPaths.h"
#include "DataMod.h"
#include "MessageRecorder.h"
#include "StepClasses.h"
#include "TaskCatalog.h"
#include "ZLPCore_SolutionStage.h"
#include "untLoad.h"
#include "untMain.h"
#include "untSave.h"
#include "untWebViewer.h"
#include "untZLPWizard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>
#include <memory>

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

const QString SourceHelp = QStringLiteral(KELVANO_SOURCE_DIR "/help/");

// Written into every step's report when it is left forward, so a run's final report can be told
// from the one before.
std::string RunMarker;

// A step that always lets the student pass and writes one line of report.
class TReportStage : public TZLPCore_SolutionStage {
public:
  TReportStage(QWidget* owner, int kind) : TZLPCore_SolutionStage(owner), Kind(kind) {
    StageCaption = "Этап " + std::to_string(kind);
  }
  void LeaveForward(TStageHost&) override {
    StageReport.AddParagraph("STEP-" + std::to_string(Kind) + "-" + RunMarker);
    CanLeave = true;
  }
  int Kind;
};

TStageClasses ReportStages() {
  TStageClasses classes;
  for (int kind = 1; kind <= 12; ++kind)
    classes[static_cast<std::size_t>(kind - 1)] = [kind](QWidget& owner) { return new TReportStage(&owner, kind); };
  return classes;
}

// The address shown by the viewer as a local path, "" for none.
QString ShownFile(const TfrmMain& form) {
  const QUrl url(QString::fromStdString(form.WebBrowser1->LocationURL()));
  return url.isLocalFile() ? QFileInfo(url.toLocalFile()).canonicalFilePath() : QString();
}

QString Canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

int SettledGroupHeight(const TfrmMain& form) {
  const double x =
      std::max((form.Panel3->height() - (30 + 16 * static_cast<int>(TaskCatalog().size()))) / 10.0, 10.0);
  return static_cast<int>(std::lround(10 * x));
}

// The tops of the type buttons, one per catalog row, 16 pixels apart from 8.
std::vector<int> TypeTags() {
  std::vector<int> tags;
  for (std::size_t i = 0; i < TaskCatalog().size(); ++i) tags.push_back(8 + 16 * static_cast<int>(i));
  return tags;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Russian));
    SetProgramDir(KELVANO_SOURCE_DIR "/");
  }

  void init() {
    Folder = std::make_unique<QTemporaryDir>();
    QVERIFY(Folder->isValid());
    Store = std::make_unique<TDM>(Folder->path().toStdString());
    QVERIFY(Store->IsOpen());
    LoadForm = std::make_unique<TLoadForm>(*Store);
    SaveForm = std::make_unique<TSaveForm>();
    Previous = SetStageClasses(ReportStages());
    SetProgramDir(KELVANO_SOURCE_DIR "/");
  }

  void cleanup() {
    SetStageClasses(Previous);
    SaveForm.reset();
    LoadForm.reset();
    Store.reset();
    Folder.reset();
  }

  void SpeedOption_data() {
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<int>("delay"); // -1000: not an option
    QTest::newRow("zero") << QStringList{QStringLiteral("/speed=0")} << 0;
    QTest::newRow("forty") << QStringList{QStringLiteral("/speed=40")} << 40;
    QTest::newRow("negative") << QStringList{QStringLiteral("/speed=-5")} << -5;
    QTest::newRow("not a number") << QStringList{QStringLiteral("/speed=abc")} << -1000;
    QTest::newRow("no value") << QStringList{QStringLiteral("/speed=")} << -1000;
    QTest::newRow("no parameters") << QStringList{} << -1000;
    QTest::newRow("two parameters") << QStringList{QStringLiteral("/speed=5"), QStringLiteral("/speed=5")} << -1000;
    QTest::newRow("other option") << QStringList{QStringLiteral("-speed=5")} << -1000;
    QTest::newRow("upper case") << QStringList{QStringLiteral("/SPEED=5")} << -1000;
  }

  void SpeedOption() {
    QFETCH(QStringList, parameters);
    QFETCH(int, delay);
    QCOMPARE(TfrmMain::ParseSpeedOption(parameters).value_or(-1000), delay);
  }

  // The option takes effect when the window is shown; a bad one leaves the default 15 ms.
  void SpeedOnShow_data() {
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<int>("delay");
    QTest::newRow("/speed=0") << QStringLiteral("/speed=0") << 0;
    QTest::newRow("/speed=7") << QStringLiteral("/speed=7") << 7;
    QTest::newRow("/speed=x") << QStringLiteral("/speed=x") << 15;
  }

  void SpeedOnShow() {
    QFETCH(QString, parameter);
    QFETCH(int, delay);
    TfrmMain form({parameter});
    QCOMPARE(form.AnimationDelay, 15);
    QCOMPARE(form.windowTitle(), U("Kelvano 1.0"));
    QCOMPARE(form.PendingTaskId, -1);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.AnimationDelay, delay);
  }

  void ActionList_data() {
    QTest::addColumn<int>("taskType");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QStringList>("captions");
    const QStringList wizard = {U("Мастер решений"), U("Загрузить из базы"), U("Методика"), U("Помощь")};
    const QStringList solver = {U("Решение"), U("Загрузить из базы"), U("Методика"), U("Помощь")};
    for (const int type : {8, 24, 40, 56, 72}) QTest::addRow("%d", type) << type << QList<int>{0, 6, 4, 3} << wizard;
    QTest::newRow("88") << 88 << QList<int>{1, 6, 4, 3} << solver;
    QTest::newRow("104") << 104 << QList<int>{2, 6, 4, 3} << solver;
    QTest::newRow("-1") << -1 << QList<int>{0, 3} << QStringList{U("Мастер решений"), U("Помощь")};
    QTest::newRow("0") << 0 << QList<int>{5} << QStringList{U("(Нет)")};
    QTest::newRow("255") << 255 << QList<int>{5} << QStringList{U("(Нет)")};
  }

  void ActionList() {
    QFETCH(int, taskType);
    QFETCH(QList<int>, codes);
    QFETCH(QStringList, captions);
    TfrmMain form({});
    form.CurrentTaskType = taskType;
    form.FillActions();
    form.FillActions(); // filling again replaces the list
    const std::vector<int> shown = form.ActionCodes();
    QCOMPARE(QList<int>(shown.begin(), shown.end()), codes);
    QStringList texts;
    for (int i = 0; i < form.ListView1->count(); ++i) texts << form.ListView1->item(i)->text();
    QCOMPARE(texts, captions);
    QVERIFY(form.SelectedItem == nullptr);
  }

  // A click on a type: its font navy and bold, the others plain; the list opens under it and the
  // buttons below make room; the buttons above stay.
  void ChooseType() {
    TfrmMain form({QStringLiteral("/speed=0")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.GroupBox1->isHidden());
    const std::vector<int> tags = TypeTags();
    for (std::size_t i = 0; i < tags.size(); ++i) QCOMPARE(form.RadioButton[i]->y(), tags[i]);

    QTest::mouseClick(form.RadioButton[0], Qt::LeftButton);
    QTest::mouseClick(form.RadioButton[2], Qt::LeftButton);
    QCOMPARE(form.CurrentTaskType, 40);
    QVERIFY(form.RadioButton[2]->font().bold());
    QCOMPARE(form.RadioButton[2]->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QVERIFY(!form.RadioButton[0]->font().bold());
    QVERIFY(form.RadioButton[0]->palette().color(QPalette::WindowText) != QColor(0, 0, 128));
    QVERIFY(!form.GroupBox1->isHidden());
    QVERIFY(!form.Panel1->isHidden());
    const int h = SettledGroupHeight(form);
    QCOMPARE(form.GroupBox1->geometry(), QRect(0, 40, form.Panel3->width(), h));
    QCOMPARE(form.RadioButton[0]->y(), 8);
    QCOMPARE(form.RadioButton[1]->y(), 24);
    QCOMPARE(form.RadioButton[2]->y(), 40);
    for (std::size_t i = 3; i < tags.size(); ++i) QCOMPARE(form.RadioButton[i]->y(), h + tags[i] - 13);
    const std::vector<int> codes = form.ActionCodes();
    QCOMPARE(codes, (std::vector<int>{0, 6, 4, 3}));

    // The checked button again: nothing changes.
    form.ListView1->setCurrentRow(1);
    QTest::mouseClick(form.RadioButton[2], Qt::LeftButton);
    QVERIFY(form.SelectedItem == form.ListView1->item(1));

    // Another one: the earlier buttons go home, the list moves.
    QTest::mouseClick(form.RadioButton[5], Qt::LeftButton);
    QCOMPARE(form.CurrentTaskType, 88);
    QCOMPARE(form.GroupBox1->y(), 88);
    for (std::size_t i = 0; i <= 5; ++i) QCOMPARE(form.RadioButton[i]->y(), tags[i]);
    QCOMPARE(form.RadioButton[6]->y(), h + 104 - 13);
    QVERIFY(!form.RadioButton[2]->font().bold());
  }

  // A click on the free area closes the list and unchecks all; the type stays, and its menu item
  // opens the list again.
  void Panel3Click() {
    TfrmMain form({QStringLiteral("/speed=0")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.TaskMenuItems[1]->trigger();
    QCOMPARE(form.CurrentTaskType, 24);
    QVERIFY(!form.GroupBox1->isHidden());

    // A click inside the open list is not a click on the free area.
    QTest::mouseClick(form.Panel1, Qt::LeftButton, {}, QPoint(2, form.Panel1->height() - 2));
    QVERIFY(!form.GroupBox1->isHidden());

    const QPoint free(form.Panel3->width() / 2, form.Panel3->height() - 3);
    QVERIFY(form.Panel3->childAt(free) == nullptr);
    QTest::mouseClick(form.Panel3, Qt::LeftButton, {}, free);
    QVERIFY(form.GroupBox1->isHidden());
    QCOMPARE(form.CurrentTaskType, 24);
    const std::vector<int> tags = TypeTags();
    for (std::size_t i = 0; i < tags.size(); ++i) {
      QVERIFY(!form.RadioButton[i]->isChecked());
      QVERIFY(!form.RadioButton[i]->font().bold());
      QCOMPARE(form.RadioButton[i]->y(), tags[i]);
    }

    form.TaskMenuItems[1]->trigger();
    QVERIFY(form.RadioButton[1]->isChecked());
    QVERIFY(!form.GroupBox1->isHidden());
    QCOMPARE(form.GroupBox1->y(), 24);

    QTest::mouseClick(form.Image1, Qt::LeftButton);
    QVERIFY(form.GroupBox1->isHidden());
  }

  // Opening takes ten frames of the delay, switching ten frames of half of it more.
  void AnimationDelay() {
    TfrmMain form({QStringLiteral("/speed=40")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.AnimationDelay, 40);
    QElapsedTimer clock;
    clock.start();
    form.TaskMenuItems[0]->trigger();
    QVERIFY2(clock.elapsed() >= 400, qPrintable(QString::number(clock.elapsed())));
    clock.restart();
    form.TaskMenuItems[2]->trigger();
    QVERIFY2(clock.elapsed() >= 600, qPrintable(QString::number(clock.elapsed())));
  }

  // Help and theory pages map to files of the help folder beside the program; every one exists.
  void HelpAddresses_data() {
    QTest::addColumn<int>("taskType");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("file");
    const QList<QPair<int, QString>> folders = {{8, U("zlp")},  {24, U("gomory")}, {40, U("zkp")},  {56, U("zdlp")},
                                                {72, U("cut")}, {88, U("zon")},    {104, U("mnk")}, {-1, U("custom")}};
    for (const auto& [type, folder] : folders) {
      QTest::addRow("help %d", type) << type << 3 << (U("help/") + folder + U("/index.html"));
      QTest::addRow("math %d", type) << type << 4 << (U("math/") + folder + U("/index.html"));
    }
  }

  void HelpAddresses() {
    QFETCH(int, taskType);
    QFETCH(int, code);
    QFETCH(QString, file);
    TfrmMain form({});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QString expected = Canonical(SourceHelp + file);
    QVERIFY2(!expected.isEmpty(), qPrintable(file));
    form.CurrentTaskType = taskType;
    form.RunAction(code);
    QTRY_COMPARE(ShownFile(form), expected);
  }

  void MenuPages_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("file");
    QTest::newRow("Справочные материалы") << 0 << U("help/index.html");
    QTest::newRow("Методические материалы") << 1 << U("math/index.html");
    QTest::newRow("О программе...") << 2 << U("about.html");
    QTest::newRow("Домой") << 3 << U("intro.html");
  }

  void MenuPages() {
    QFETCH(int, item);
    QFETCH(QString, file);
    TfrmMain form({});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("intro.html")));
    form.RunAction(3); // somewhere else first
    QTRY_VERIFY(ShownFile(form) != Canonical(SourceHelp + U("intro.html")));
    const std::array<QAction*, 4> actions = {form.N20, form.N21, form.N19, form.ToolButton[2]};
    actions[static_cast<std::size_t>(item)]->trigger();
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + file));
  }

  // The title of the page shown stands in the strip above the viewer.
  void PageTitle() {
    TfrmMain form({});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.Label1->text(), U("Kelvano 1.0 — методы оптимизации"));
  }

  // Every step's help page, and the pages of the solver windows, are in the help folder.
  void StepHelpPages() {
    InstallStepClasses();
    QWidget owner;
    QStringList pages;
    for (std::uint8_t kind = 1; kind <= 12; ++kind) {
      TZLPCore_StageTask task;
      task.StageKind = kind;
      TZLPCore_SolutionStage* stage = CreateStage(owner, task);
      QVERIFY(stage != nullptr);
      QVERIFY(!stage->HelpPage.empty());
      pages << U("help/steps/") + QString::fromStdString(stage->HelpPage);
    }
    pages << U("help/steps/mnk.html") << U("zon.html") << U("w.html") << U("z.html") << U("m.html") << U("main.css");
    for (const QString& page : pages) QVERIFY2(QFileInfo(SourceHelp + page).isFile(), qPrintable(page));
  }

  // Without the help folder no page opens and the viewer keeps what it shows.
  void MissingHelp() {
    QTemporaryDir empty;
    SetProgramDir(empty.path().toStdString() + "/");
    TfrmMain form({});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.CurrentTaskType = 8;
    form.RunAction(3);
    form.RunAction(4);
    form.N19->trigger();
    QTest::qWait(300);
    QCOMPARE(form.WebBrowser1->LocationURL(), std::string());
  }

  // "Готово" writes the final report, copies it to result_preview.html and shows the copy; a
  // second run overwrites the same copy. A link planted at that name is replaced, never written
  // through.
  void WizardFinishedTwice() {
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const std::string victim = elsewhere.filePath(QStringLiteral("victim.txt")).toStdString();
    {
      QFile file(QString::fromStdString(victim));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("the student's own file");
    }
    const std::string planted = PrivateTempDir() + "result_preview.html";
    QFile::remove(QString::fromStdString(planted));
    QVERIFY(QFile::link(QString::fromStdString(victim), QString::fromStdString(planted)));

    TMessageRecorder messages;
    TfrmMain form({QStringLiteral("/speed=0")});
    form.SetStore(Store.get(), LoadForm.get(), SaveForm.get());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    int runs = 0;
    int stages = 0;
    form.OnWizardCreated = [&](TfrmZLPWizard& wizard) {
      ++runs;
      QVERIFY(form.Wizard == &wizard);
      QTimer::singleShot(0, &wizard, [&wizard, &stages] {
        stages = wizard.StageCount;
        for (int i = 0; i < wizard.StageCount; ++i) QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
      });
    };
    form.TaskMenuItems[0]->trigger();

    std::string firstPreview;
    for (const char* marker : {"RUN-ONE", "RUN-TWO"}) {
      RunMarker = marker;
      form.RunAction(0);
      QVERIFY(form.Wizard == nullptr);
      QCOMPARE(stages, 4);
      QVERIFY(!form.PreviewPath.empty());
      const QString preview = QString::fromStdString(form.PreviewPath);
      QCOMPARE(QFileInfo(preview).fileName(), U("result_preview.html"));
      QCOMPARE(form.PreviewPath, planted);
      QVERIFY(!QFileInfo(preview).isSymLink());
      const QByteArray page = ReadFile(preview);
      for (int kind : {1, 8, 10, 12}) {
        const QByteArray line = QByteArray("STEP-") + QByteArray::number(kind) + "-" + marker;
        QVERIFY2(page.contains(line), line.constData());
      }
      QTRY_COMPARE(ShownFile(form), Canonical(preview));
      if (firstPreview.empty()) {
        firstPreview = form.PreviewPath;
      } else {
        QCOMPARE(form.PreviewPath, firstPreview);
        QVERIFY(!page.contains("RUN-ONE"));
      }
    }
    QCOMPARE(runs, 2);
    QVERIFY(messages.Messages.empty());
    QCOMPARE(ReadFile(QString::fromStdString(victim)), QByteArray("the student's own file"));
  }

  // A cancelled wizard brings back the page shown before it; the cancel question is asked.
  void WizardCancelled() {
    TMessageRecorder messages;
    TfrmMain form({QStringLiteral("/speed=0")});
    form.SetStore(Store.get(), LoadForm.get(), SaveForm.get());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.TaskMenuItems[3]->trigger();
    form.RunAction(4);
    const QString theory = Canonical(SourceHelp + U("math/zdlp/index.html"));
    QTRY_COMPARE(ShownFile(form), theory);
    form.OnWizardCreated = [&](TfrmZLPWizard& wizard) {
      QTimer::singleShot(0, &wizard, [&wizard] { QTest::mouseClick(wizard.btnCancel, Qt::LeftButton); });
    };
    form.RunAction(0);
    QCOMPARE(messages.Messages.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(messages.Messages[0].Text), U("Вы действительно хотите прервать работу мастера?"));
    QTRY_COMPARE(ShownFile(form), theory);
    QVERIFY(form.PreviewPath.empty());
  }

  // "Загрузить из базы" lists the problems of the current type and hands the chosen id to the
  // next wizard; "База задач" lists all types, and a problem of type 255 makes the type -1.
  void LoadStoredProblem_data() {
    QTest::addColumn<bool>("allTypes");
    QTest::addColumn<int>("storedType");
    QTest::addColumn<int>("listed");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<bool>("wizardRuns");
    QTest::newRow("Загрузить из базы") << false << 24 << 1 << 24 << true;
    QTest::newRow("База задач") << true << 56 << 3 << 56 << true;
    QTest::newRow("База задач, type 255") << true << 255 << 3 << -1 << false;
  }

  void LoadStoredProblem() {
    QFETCH(bool, allTypes);
    QFETCH(int, storedType);
    QFETCH(int, listed);
    QFETCH(int, currentAfter);
    QFETCH(bool, wizardRuns);
    const int other = Add("Другая задача", 8);
    const int id = Add("Сохранённая задача", storedType);
    const int third = Add("Ещё одна", storedType == 24 ? 40 : 24);
    QVERIFY(other > 0 && id > 0 && third > 0);

    TMessageRecorder messages;
    TfrmMain form({QStringLiteral("/speed=0")});
    form.SetStore(Store.get(), LoadForm.get(), SaveForm.get());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.TaskMenuItems[1]->trigger(); // type 24

    int rows = -1;
    QTimer::singleShot(0, LoadForm.get(), [&] {
      rows = LoadForm->ListView1->topLevelItemCount();
      for (int i = 0; i < rows; ++i)
        if (LoadForm->RowId(i) == id) LoadForm->ListView1->topLevelItem(i)->setSelected(true);
      QTest::mouseClick(LoadForm->Button2, Qt::LeftButton);
    });
    int handedOver = 0;
    form.OnWizardCreated = [&](TfrmZLPWizard& wizard) {
      handedOver = wizard.PendingTaskId;
      QCOMPARE(form.PendingTaskId, -1);
      QTimer::singleShot(0, &wizard, [&wizard] { QTest::mouseClick(wizard.btnCancel, Qt::LeftButton); });
    };
    if (allTypes)
      form.N11->trigger();
    else
      form.RunAction(6);

    QCOMPARE(rows, listed);
    QCOMPARE(form.CurrentTaskType, currentAfter);
    QCOMPARE(handedOver, id);
    QCOMPARE(form.PendingTaskId, -1);
    if (!wizardRuns) QVERIFY(messages.Messages.empty()); // no wizard for type 255, so no question
    if (currentAfter == -1) {
      form.FillActions();
      QCOMPARE(form.ActionCodes(), (std::vector<int>{0, 3}));
      form.RunAction(3);
      QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("help/custom/index.html")));
    }
  }

  // A stored assignment or regression problem goes to its own window, not to a wizard, and the
  // type chosen in the window stays.
  void LoadSolverProblem_data() {
    QTest::addColumn<int>("storedType");
    QTest::newRow("88") << 88;
    QTest::newRow("104") << 104;
  }

  void LoadSolverProblem() {
    QFETCH(int, storedType);
    const int id = Add("Задача для окна", storedType);
    QVERIFY(id > 0);
    TfrmMain form({QStringLiteral("/speed=0")});
    form.SetStore(Store.get(), LoadForm.get(), SaveForm.get());
    form.CurrentTaskType = 40;
    bool created = false;
    form.OnWizardCreated = [&](TfrmZLPWizard&) { created = true; };
    QTimer::singleShot(0, LoadForm.get(), [this] {
      LoadForm->ListView1->topLevelItem(0)->setSelected(true);
      QTest::mouseClick(LoadForm->Button2, Qt::LeftButton);
    });
    form.N11->trigger();
    QCOMPARE(int(LoadForm->ChosenType), storedType);
    QVERIFY(!created);
    QCOMPARE(form.CurrentTaskType, 40);
    QCOMPARE(form.PendingTaskId, -1);
  }

  // Cancelling the load dialog changes nothing.
  void LoadCancelled() {
    TfrmMain form({QStringLiteral("/speed=0")});
    form.SetStore(Store.get(), LoadForm.get(), SaveForm.get());
    QVERIFY(Add("Задача", 8) > 0);
    form.CurrentTaskType = 40;
    bool created = false;
    form.OnWizardCreated = [&](TfrmZLPWizard&) { created = true; };
    QTimer::singleShot(0, LoadForm.get(), [this] { LoadForm->reject(); });
    form.N11->trigger();
    QVERIFY(!created);
    QCOMPARE(form.PendingTaskId, -1);
    QCOMPARE(form.CurrentTaskType, 40);
  }

  // "Открыть в новом окне" hands the viewer's address to the desktop; with no page, nothing.
  void OpenInNewWindow() {
    QTemporaryDir empty;
    SetProgramDir(empty.path().toStdString() + "/");
    TfrmMain form({});
    QList<QUrl> opened;
    form.OpenExternal = [&opened](const QUrl& url) {
      opened << url;
      return true;
    };
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.N5->trigger();
    QVERIFY(opened.isEmpty());

    SetProgramDir(KELVANO_SOURCE_DIR "/");
    form.N19->trigger();
    const QString about = Canonical(SourceHelp + U("about.html"));
    QTRY_COMPARE(ShownFile(form), about);
    form.N5->trigger();
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened[0].isLocalFile());
    QCOMPARE(Canonical(opened[0].toLocalFile()), about);

    // When no program takes the page the student is told so and may save it as a PDF instead.
    TMessageRecorder messages;
    form.OpenExternal = [](const QUrl&) { return false; };
    QStringList proposed;
    form.WebBrowser1->AskPdfFileName = [&proposed](const QString& name) {
      proposed << QFileInfo(name).fileName();
      return QString();
    };
    messages.Answers = {TMsgAnswer::No, TMsgAnswer::Yes};
    form.N5->trigger();
    QCOMPARE(messages.Messages.size(), std::size_t{1});
    QVERIFY(messages.Messages[0].Icon == TMsgIcon::Question);
    QCOMPARE(messages.Messages[0].Buttons, TMsgButtons(mbYes | mbNo));
    QVERIFY(proposed.isEmpty());
    form.N5->trigger();
    QCOMPARE(messages.Messages.size(), std::size_t{2});
    QCOMPARE(proposed, QStringList{form.WebBrowser1->Title() + U(".pdf")});
  }

  // The keyboard: Enter and Space start the action under the cursor of the list, F1 opens the help
  // of the chosen type (else the help index), Alt+Left and Alt+Right walk the page history.
  void Keyboard() {
    TMessageRecorder messages;
    TfrmMain form({QStringLiteral("/speed=0")});
    form.SetStore(Store.get(), LoadForm.get(), SaveForm.get());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("intro.html")));

    QTest::keyClick(&form, Qt::Key_F1);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("help/index.html")));
    QTest::keyClick(&form, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("intro.html")));
    QTest::keyClick(&form, Qt::Key_Right, Qt::AltModifier);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("help/index.html")));

    form.RadioButton[2]->setFocus();
    QTest::keyClick(form.RadioButton[2], Qt::Key_Space); // the quadratic type, as a student does
    QCOMPARE(form.CurrentTaskType, 40);
    QTest::keyClick(&form, Qt::Key_F1);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("help/zkp/index.html")));

    QTest::keyClick(form.RadioButton[2], Qt::Key_Tab);
    QVERIFY(form.ListView1->hasFocus());
    int wizards = 0;
    form.OnWizardCreated = [&wizards](TfrmZLPWizard& wizard) {
      ++wizards;
      QTimer::singleShot(0, &wizard, [&wizard] { QTest::mouseClick(wizard.btnCancel, Qt::LeftButton); });
    };
    form.ListView1->setCurrentRow(0);
    QCOMPARE(form.ListView1->currentItem()->text(), U("Мастер решений"));
    QTest::keyClick(form.ListView1, Qt::Key_Return);
    QCOMPARE(wizards, 1);
    QTest::keyClick(form.ListView1, Qt::Key_Down);
    QTest::keyClick(form.ListView1, Qt::Key_End);
    QCOMPARE(form.ListView1->currentItem()->text(), U("Помощь"));
    QTest::keyClick(form.ListView1, Qt::Key_Space);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("help/zkp/index.html")));
    form.RunAction(4);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("math/zkp/index.html")));
    QTest::keyClick(form.ListView1, Qt::Key_Enter);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("help/zkp/index.html")));
    QCOMPARE(wizards, 1);
  }

  // A click on an action item runs its code: "Помощь" opens the help index of the type.
  void ActionClick() {
    TfrmMain form({QStringLiteral("/speed=0")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.TaskMenuItems[4]->trigger();
    QListWidgetItem* help = form.ListView1->item(3);
    QCOMPARE(help->text(), U("Помощь"));
    QTest::mouseClick(form.ListView1->viewport(), Qt::LeftButton, {}, form.ListView1->visualItemRect(help).center());
    QVERIFY(form.SelectedItem == help);
    QTRY_COMPARE(ShownFile(form), Canonical(SourceHelp + U("help/cut/index.html")));
  }

private:
  int Add(const char* name, int taskType) {
    if (Store->CreateTempTask() <= 0) return -1;
    const int id = Store->SaveTempTaskAs(name, taskType);
    Store->DropTempTask();
    return id;
  }

  std::unique_ptr<QTemporaryDir> Folder;
  std::unique_ptr<TDM> Store;
  std::unique_ptr<TLoadForm> LoadForm;
  std::unique_ptr<TSaveForm> SaveForm;
  TStageClasses Previous;
};

int main(int argc, char* argv[]) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  TestMainWindow test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_untMain.moc"
