// Problems as files, through the windows a student uses: a file of every type opened from the main
// window (by name, from the recent list, dropped on the window) lands in its wizard or window, and
// "Сохранить задачу как…" there writes it back byte for byte; a bad file is refused naming its line
// and field with the store untouched; every window stays readable under a dark palette.
#include "AppPaths.h"
#include "DataMod.h"
#include "MessageRecorder.h"
#include "ProblemFile.h"
#include "SolverWindows.h"
#include "StepClasses.h"
#include "TaskCatalog.h"
#include "TextFormat.h"
#include "untMain.h"
#include "untStep_CutInput.h"
#include "untStep_Quadro.h"
#include "untStep_ZLPInput.h"
#include "untZLPWizard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

// The action of a window with the keys, among its own actions; null when it has none.
QAction* ActionWithKeys(QWidget& window, const QKeySequence& keys) {
  for (QAction* action : window.actions())
    if (action->shortcut() == keys) return action;
  return nullptr;
}

// Runs what once the modal window (a wizard or a solver window) is up, then closes it.
void WhenModalShown(const std::function<void(QWidget&)>& what) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, what] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    what(*modal);
    QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
  });
  timer->start();
}

// Relative luminance of a colour (WCAG), and the contrast ratio of two colours.
double Luminance(const QColor& c) {
  const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
  const double x = Luminance(a) + 0.05;
  const double y = Luminance(b) + 0.05;
  return x > y ? x / y : y / x;
}

// The colour a widget is drawn on, as the palettes say: that of the nearest widget from it upwards
// that fills its background, the window's colour of the window otherwise.
QColor BackgroundOf(const QWidget& widget) {
  for (const QWidget* w = &widget; w != nullptr; w = w->parentWidget())
    if (w->autoFillBackground() || w->isWindow()) return w->palette().color(w->backgroundRole());
  return widget.palette().color(QPalette::Window);
}

// Every visible label and button text of the window contrasts with what it is drawn on (at least
// 3:1); a widget under a style sheet sets both of its colours there and is left out, and so is a
// disabled one, dimmed on purpose.
void ExpectReadable(QWidget& window, const char* name) {
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisible() || !w->isEnabled() ||
        (qobject_cast<QLabel*>(w) == nullptr && qobject_cast<QAbstractButton*>(w) == nullptr))
      continue;
    if (const auto* label = qobject_cast<QLabel*>(w); label && label->text().isEmpty()) continue;
    bool styled = false;
    for (const QWidget* up = w; up != nullptr && !styled; up = up->parentWidget()) styled = !up->styleSheet().isEmpty();
    if (styled) continue;
    // A push button draws its text on its own face, a label or a radio button on the background.
    const bool onFace = qobject_cast<QPushButton*>(w) != nullptr;
    const QColor text = w->palette().color(onFace ? QPalette::ButtonText : w->foregroundRole());
    const QColor back = onFace ? w->palette().color(QPalette::Button) : BackgroundOf(*w);
    const QString what =
        QString::fromLatin1(name) + u": "_s + QString::fromLatin1(w->metaObject()->className()) + u" «"_s +
        (qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text() : qobject_cast<QAbstractButton*>(w)->text()) +
        u"» "_s + text.name() + u" on "_s + back.name();
    QVERIFY2(Contrast(text, back) >= 3.0, qPrintable(what));
  }
}

// A dark palette as a dark desktop theme sets it: every role of the colour groups that draw text.
QPalette DarkPalette() {
  QPalette p;
  const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230), button(60, 60, 64);
  for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(g, QPalette::Window, window);
    p.setColor(g, QPalette::WindowText, text);
    p.setColor(g, QPalette::Base, base);
    p.setColor(g, QPalette::AlternateBase, window);
    p.setColor(g, QPalette::Text, text);
    p.setColor(g, QPalette::Button, button);
    p.setColor(g, QPalette::ButtonText, text);
    p.setColor(g, QPalette::ToolTipBase, base);
    p.setColor(g, QPalette::ToolTipText, text);
    p.setColor(g, QPalette::Link, QColor(120, 170, 255));
    p.setColor(g, QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(g, QPalette::HighlightedText, Qt::white);
    p.setColor(g, QPalette::PlaceholderText, QColor(150, 150, 150));
  }
  return p;
}

} // namespace

class TestProblemFiles : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true); // QSettings go to a test folder
    QApplication::setOrganizationName(u"kelvano-test"_s);
    SetProgramDir(KELVANO_SOURCE_DIR "/");
    InstallStepClasses();
    InstallSolverWindows();
  }

  void init() {
    Folder = std::make_unique<QTemporaryDir>();
    QVERIFY(Folder->isValid());
    Store = std::make_unique<TDM>(Folder->filePath(u"data"_s).toStdString());
    QVERIFY(Store->IsOpen());
    QSettings().clear();
  }

  void cleanup() {
    SetProblemFileQuestion({});
    QApplication::setPalette(QPalette());
    Store.reset();
    Folder.reset();
  }

  // A file of each type, opened from the main window (by its name, from the recent list, or
  // dropped on it), is shown in its wizard's input step or its window, and "Сохранить задачу как…"
  // there (Ctrl+Shift+S) writes the same bytes; the main window's own "Сохранить задачу как…"
  // writes them too.
  void OpenAndSaveBack_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("how"); // "name", "recent" or "drop"
    QTest::newRow("8") << QByteArray("min 3/2 -2 0\nconst 5\n1 1 1 <= 4\n1 3 0 >= 6\n-1 0 2 = 1\n") << u"name"_s;
    QTest::newRow("24") << QByteArray("max 3 2 1\n1 1 1 = 7\n2 1 0 <= 9\nint 1 3\n") << u"recent"_s;
    QTest::newRow("40") << QByteArray("max 8 10\n3 2 <= 6\nquad -1 1/2\nquad 0 -1\n") << u"drop"_s;
    QTest::newRow("56") << QByteArray("max 3 4\nconst 1\nden 1 2\ndenconst 3\n1 2 <= 8\n3 1 => 9\n") << u"name"_s;
    QTest::newRow("72") << QByteArray("cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\npattern 1 1\n")
                        << u"name"_s;
    QTest::newRow("88") << QByteArray("assign max\n1 2 3\n4 5 6\n7 8 10\n") << u"recent"_s;
    QTest::newRow("104") << QByteArray("regress\n1 2\n2 4.5\n3 6\n-1 0\n") << u"drop"_s;
  }

  void OpenAndSaveBack() {
    QFETCH(QByteArray, text);
    QFETCH(QString, how);
    // The file as the program writes it: the text form of its statement.
    TTextFormatError error;
    const std::optional<TStatementGrid> grid = ParseStatementText(text.toStdString(), error);
    QVERIFY2(grid.has_value(), error.Message.c_str());
    const QByteArray canonical = QByteArray::fromStdString(StatementToText(*grid));
    const QString file = Folder->filePath(u"problem.kvn"_s);
    WriteAll(file, canonical);
    const int storedBefore = static_cast<int>(Store->ListTasks()->size());

    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    const QString saved = Folder->filePath(u"saved"_s); // no suffix typed: ".kvn" is added
    SetProblemFileQuestion([&](QWidget*, TFileKind kind) { return kind == TFileKind::SaveProblem ? saved : file; });
    bool shown = false;
    QString documentName; // of a wizard's pages
    WhenModalShown([&](QWidget& window) {
      shown = true;
      if (const auto* wizard = qobject_cast<TfrmZLPWizard*>(&window)) documentName = wizard->DocumentName();
      QAction* save = ActionWithKeys(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
      QVERIFY(save != nullptr);
      save->trigger();
    });
    if (how == u"name"_s) {
      form.OpenFileItem->trigger();
    } else if (how == u"recent"_s) {
      // The list keeps the last eight files, the newest first, each once.
      for (int i = 0; i < 9; ++i) NoteRecentProblemFile(Folder->filePath(u"older%1.kvn"_s.arg(i)));
      NoteRecentProblemFile(file);
      NoteRecentProblemFile(Folder->filePath(u"older8.kvn"_s));
      NoteRecentProblemFile(file);
      emit form.RecentMenu->aboutToShow();
      QCOMPARE(form.RecentMenu->actions().size(), 8);
      QCOMPARE(RecentProblemFiles().mid(0, 3),
               (QStringList{file, Folder->filePath(u"older8.kvn"_s), Folder->filePath(u"older7.kvn"_s)}));
      form.RecentMenu->actions().front()->trigger();
    } else {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(file)});
      QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&form, &enter);
      QVERIFY(enter.isAccepted());
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&form, &drop);
    }
    QTRY_VERIFY_WITH_TIMEOUT(shown && QApplication::activeModalWidget() == nullptr, 20000);
    QVERIFY2(messages.Messages.empty() || messages.Messages.front().Icon != TMsgIcon::Error,
             messages.Messages.empty() ? "" : messages.Messages.front().Text.c_str());
    QCOMPARE(ReadAll(saved + u".kvn"_s), canonical);
    QCOMPARE(form.CurrentTaskType, int(grid->TaskType));
    // A problem of a file goes by the file's name: its PDF is proposed as "problem.pdf".
    const TTaskInfo* task = FindTaskInfo(grid->TaskType);
    QVERIFY(task);
    QCOMPARE(documentName, task->HasWizard() ? u"problem"_s : QString());
    QCOMPARE(RecentProblemFiles().front(), QFileInfo(saved + u".kvn"_s).absoluteFilePath());
    QVERIFY(RecentProblemFiles().contains(QFileInfo(file).absoluteFilePath()));

    // The main window keeps the problem it opened and writes it the same way.
    const QString again = Folder->filePath(u"again.kvn"_s);
    SetProblemFileQuestion([&](QWidget*, TFileKind) { return again; });
    QVERIFY(form.SaveFileItem->isEnabled());
    form.SaveFileItem->trigger();
    QCOMPARE(ReadAll(again), canonical);
    QCOMPARE(static_cast<int>(Store->ListTasks()->size()), storedBefore);
  }

  // A file with an error opens nothing: the message names the file, the line and the field, and
  // the store keeps what it held; a file of another type is refused by a wizard's input step.
  void BadFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("named");
    QTest::newRow("coefficient") << QByteArray("max 3 2\n1 x <= 4\n") << U("bad.kvn:2: коэффициент 2");
    QTest::newRow("relation") << QByteArray("max 3 2\n1 1 < 4\n") << U("bad.kvn:2:");
    QTest::newRow("zero denominator") << QByteArray("max 3/0 2\n1 1 <= 4\n") << U("bad.kvn:1:");
    QTest::newRow("assignment") << QByteArray("assign min\n1 2 3\n4 -5 6\n7 8 9\n") << U("bad.kvn:");
  }

  void BadFilesAreRefused() {
    QFETCH(QByteArray, text);
    QFETCH(QString, named);
    const QString file = Folder->filePath(u"bad.kvn"_s);
    WriteAll(file, text);
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    bool created = false;
    form.OnWizardCreated = [&](TfrmZLPWizard&) { created = true; };
    const auto before = Store->ListTasks()->size();
    QVERIFY(!form.OpenProblemFile(file));
    QVERIFY(!created);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(messages.Messages.size(), std::size_t{1});
    QCOMPARE(messages.Messages.front().Icon, TMsgIcon::Error);
    QVERIFY2(QString::fromStdString(messages.Messages.front().Text).contains(named),
             messages.Messages.front().Text.c_str());
    QCOMPARE(Store->ListTasks()->size(), before);
    QVERIFY(!form.SaveFileItem->isEnabled());
    QVERIFY(RecentProblemFiles().isEmpty());
  }

  void WizardRefusesAnotherType() {
    const QString file = Folder->filePath(u"cut.kvn"_s);
    WriteAll(file, "cut\nmaterial 10\nproportions 1\npattern 3\n");
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    form.CurrentTaskType = 8;
    std::string typed;
    form.OnWizardCreated = [&](TfrmZLPWizard& wizard) {
      QTimer::singleShot(0, &wizard, [&] {
        const TStatementGrid before = dynamic_cast<TStatementInput&>(*wizard.Stages[0]).TypedStatement(8);
        SetProblemFileQuestion([&](QWidget*, TFileKind) { return file; });
        wizard.actOpenFile->trigger();
        typed = StatementToText(dynamic_cast<TStatementInput&>(*wizard.Stages[0]).TypedStatement(8));
        QCOMPARE(typed, StatementToText(before));
        wizard.reject();
      });
    };
    form.RunAction(0);
    QVERIFY(!typed.empty());
    QVERIFY(!messages.Messages.empty());
    QVERIFY(messages.Messages.front().Text.find("другого типа") != std::string::npos);
  }

  // A screen reader hears what each box of the input step is: its cell, its relation, the buttons
  // that add and remove variables and constraints, the grid itself.
  void AccessibleNames() {
    const QString file = Folder->filePath(u"mix.kvn"_s);
    WriteAll(file, "max 3 2 1\n1 1 1 <= 4\n1 3 0 <= 6\n0 1 2 >= 1\n");
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    bool checked = false;
    WhenModalShown([&](QWidget& window) {
      auto* step = window.findChild<TfrmStep_ZLPInput*>();
      QVERIFY(step != nullptr);
      QCOMPARE(step->EditAt(2, 3)->accessibleName(), U("Коэффициент при X2 в ограничении 3"));
      QCOMPARE(step->EditAt(0, 2)->accessibleName(), U("Правая часть ограничения 2"));
      QCOMPARE(step->EditAt(3, 0)->accessibleName(), U("Коэффициент при X3 в целевой функции"));
      QCOMPARE(step->SignBox(3)->accessibleName(), U("Знак ограничения 3"));
      QCOMPARE(step->sbDefault->accessibleName(), U("Условие задачи"));
      QStringList buttons;
      for (const QToolButton* button : step->findChildren<QToolButton*>())
        if (button->defaultAction() != nullptr) buttons << button->accessibleName();
      buttons.sort();
      QCOMPARE(buttons, (QStringList{U("Добавить ограничение"), U("Добавить переменную"),
                                     U("Удалить последнее ограничение"), U("Удалить последнюю переменную")}));
      checked = true;
    });
    QVERIFY(form.OpenProblemFile(file));
    QVERIFY(checked);
  }

  // A block copied from a spreadsheet pastes from the focused cell on: coefficients, then the
  // right-hand side, a relation cell setting the relation; a block too large grows the statement
  // when the student agrees, and is cut to the statement otherwise.
  void PasteBlock() {
    const QString file = Folder->filePath(u"mix.kvn"_s);
    WriteAll(file, "max 3 2 1\n1 1 1 <= 4\n1 3 0 <= 6\n0 1 2 >= 1\n");
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    std::string grown;
    std::string cut;
    WhenModalShown([&](QWidget& window) {
      auto* step = window.findChild<TfrmStep_ZLPInput*>();
      QVERIFY(step != nullptr);
      const auto paste = [step](int x, int y, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QLineEdit* box = step->EditAt(x, y);
        box->setFocus();
        QTest::keySequence(box, QKeySequence::Paste);
      };
      paste(1, 2, u"7\t8\t9\t>=\t10\r\n11\t12\t13\t=\t14\r\n-1/2\t0\t1,5\t<=\t2\r\n"_s);
      grown = StatementToText(step->Statement(8));
      messages.Answers.push_back(TMsgAnswer::No);
      paste(2, 0, u"5;6;7;8;9"_s);
      cut = StatementToText(step->Statement(8));
    });
    QVERIFY(form.OpenProblemFile(file));
    QCOMPARE(grown, std::string("max 3 2 1\nconst 0\n1 1 1 <= 4\n7 8 9 >= 10\n11 12 13 = 14\n-1/2 0 1,5 <= 2\n"));
    QCOMPARE(cut, std::string("max 3 5 6\nconst 7\n1 1 1 <= 4\n7 8 9 >= 10\n11 12 13 = 14\n-1/2 0 1,5 <= 2\n"));
    // The two questions of growing, then the wizard's own question on closing.
    QVERIFY(messages.Messages.size() >= 2);
    for (std::size_t i = 0; i < 2; ++i)
      QVERIFY2(messages.Messages[i].Text.find("не помещается") != std::string::npos, messages.Messages[i].Text.c_str());
  }

  // The cutting-stock grids take a block the same way: products down, patterns across.
  void PasteBlockIntoCuttingGrids() {
    const QString file = Folder->filePath(u"cut.kvn"_s);
    WriteAll(file, "cut\nmaterial 10\nproportions 1 2\npattern 3 1\n");
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    std::string typed;
    WhenModalShown([&](QWidget& window) {
      auto* step = window.findChild<TfrmStep_CutInput*>();
      QVERIFY(step != nullptr);
      const auto paste = [](TCutGrid& grid, int col, int row, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        grid.setFocus();
        grid.setCurrentCell(row, col);
        QTest::keySequence(&grid, QKeySequence::Paste);
      };
      paste(*step->SMatr, 0, 1, u"4\t0\t1\n2\t5\t1\n"_s); // grows to 3 products and 3 patterns
      paste(*step->SProp, 1, 0, u"3;4"_s);
      typed = StatementToText(step->TypedStatement(72));
    });
    QVERIFY(form.OpenProblemFile(file));
    QCOMPARE(typed, std::string("cut\nmaterial 10\nproportions 1 3 4\npattern 3 4 2\npattern 0 0 5\npattern 0 1 1\n"));
  }

  // The assignment and regression windows take a block into their tables, growing them when asked.
  void PasteBlockIntoSolverWindows_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QPoint>("cell"); // column, row of the table
    QTest::addColumn<QString>("block");
    QTest::addColumn<QByteArray>("typed");
    QTest::newRow("assignment") << QByteArray("assign min\n1 2 3\n4 5 6\n7 8 9\n") << QPoint(1, 2)
                                << u"10\t11\t12\n13\t14\t15\n"_s
                                << QByteArray("assign min\n1 2 3 0\n4 5 6 0\n7 10 11 12\n0 13 14 15\n");
    QTest::newRow("regression") << QByteArray("regress\n1 2\n2 4\n") << QPoint(0, 1) << u"3;6,5\n4;8\n5;10\n"_s
                                << QByteArray("regress\n1 2\n3 6,5\n4 8\n5 10\n");
  }

  void PasteBlockIntoSolverWindows() {
    QFETCH(QByteArray, file);
    QFETCH(QPoint, cell);
    QFETCH(QString, block);
    QFETCH(QByteArray, typed);
    const QString path = Folder->filePath(u"table.kvn"_s);
    WriteAll(path, file);
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    std::string result;
    WhenModalShown([&](QWidget& window) {
      QTableView* table = nullptr;
      for (QTableView* view : window.findChildren<QTableView*>())
        if (view->model() != nullptr && (view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable))
          table = view;
      QVERIFY(table != nullptr);
      table->setFocus();
      table->setCurrentIndex(table->model()->index(cell.y(), cell.x()));
      QGuiApplication::clipboard()->setText(block);
      QTest::keySequence(table, QKeySequence::Paste);
      result = StatementToText(dynamic_cast<TStatementInput&>(window).TypedStatement(0));
    });
    QVERIFY(form.OpenProblemFile(path));
    QCOMPARE(QByteArray::fromStdString(result), typed);
    QVERIFY(!messages.Messages.empty());
    QVERIFY(messages.Messages.front().Text.find("не помещается") != std::string::npos);
  }

  // The matrix step of a quadratic program shows the matrix of the file opened on the input step,
  // the second file too, and takes a pasted block.
  void QuadraticMatrixFollowsTheFile() {
    const QString first = Folder->filePath(u"first.kvn"_s);
    const QString second = Folder->filePath(u"second.kvn"_s);
    WriteAll(first, "max 8 10\n3 2 <= 6\nquad -1 0\nquad 0 -1\n");
    WriteAll(second, "max 8 10\n3 2 <= 6\nquad -2 1/2\nquad 1/2 -3\n");
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    QStringList seen;
    WhenModalShown([&](QWidget& window) {
      auto& wizard = dynamic_cast<TfrmZLPWizard&>(window);
      const auto matrix = [&wizard] {
        auto* step = dynamic_cast<TfrmStep_Quadro*>(wizard.Stages[1]);
        return step ? QStringList{step->CellText(1, 1), step->CellText(2, 1), step->CellText(1, 2), step->CellText(2, 2)}
                          .join(u' ')
                    : QString();
      };
      QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
      seen << matrix();
      QTest::mouseClick(wizard.btnBack, Qt::LeftButton);
      SetProblemFileQuestion([&](QWidget*, TFileKind) { return second; });
      wizard.actOpenFile->trigger();
      QTest::mouseClick(wizard.btnNext, Qt::LeftButton);
      seen << matrix();
      auto* step = dynamic_cast<TfrmStep_Quadro*>(wizard.Stages[1]);
      step->sg->setFocus();
      step->sg->setCurrentCell(1, 0);
      QGuiApplication::clipboard()->setText(u"7\t8\t9\n-1\t-2\t-3\n"_s);
      QTest::keySequence(step->sg, QKeySequence::Paste);
      seen << matrix();
    });
    QVERIFY(form.OpenProblemFile(first));
    QCOMPARE(seen, (QStringList{u"-1 0 0 -1"_s, u"-2 1/2 1/2 -3"_s, u"-2 1/2 7 8"_s}));
  }

  // A report saved by the student is a page of its own: UTF-8, the style sheet inside.
  void ReportSavedAsHtml() {
    TZLPCore_SolutionResult report;
    report.Title = "Отчёт";
    report.AddParagraph("Ответ: Z = 5/3");
    const QString path = Folder->filePath(u"report"_s);
    SetProblemFileQuestion([&](QWidget*, TFileKind kind) { return kind == TFileKind::SaveReport ? path : QString(); });
    QVERIFY(SaveReportAs(nullptr, report));
    const QByteArray page = ReadAll(path + u".html"_s);
    QCOMPARE(page, QByteArray::fromStdString(report.BuildStandaloneDocument()));
    QVERIFY(page.contains("charset=utf-8"));
    QVERIFY(page.contains(U("Ответ: Z = 5/3").toUtf8()));
    QVERIFY(!page.contains("<link"));
    QVERIFY(page.contains(ReadAll(QStringLiteral(KELVANO_SOURCE_DIR "/help/main.css")).left(120)));
  }

  // Under a dark palette the main window, a wizard's input step and a solver window draw every
  // label and button text in a colour that stands out from its background.
  void DarkPalette() {
    QApplication::setPalette(::DarkPalette());
    TMessageRecorder messages;
    TfrmMain form({u"/speed=0"_s});
    form.SetStore(Store.get(), nullptr, nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ExpectReadable(form, "main window");
    form.RadioButton[0]->setChecked(true); // the checked type is drawn in its own colour
    ExpectReadable(form, "main window, a type chosen");
    // Before the fix the column kept a white background under the palette's light text.
    QVERIFY(Luminance(BackgroundOf(*form.RadioButton[1])) < 0.2);

    for (const int type : {8, 56, 72, 88, 104}) {
      bool shown = false;
      WhenModalShown([&](QWidget& window) {
        shown = true;
        ExpectReadable(window, qPrintable(u"window of type "_s + QString::number(type)));
      });
      form.CurrentTaskType = type;
      form.RunAction(type == 88 ? 1 : type == 104 ? 2 : 0);
      QTRY_VERIFY_WITH_TIMEOUT(shown && QApplication::activeModalWidget() == nullptr, 20000);
    }
  }

private:
  std::unique_ptr<QTemporaryDir> Folder;
  std::unique_ptr<TDM> Store;
};

QTEST_MAIN(TestProblemFiles)
#include "tst_ProblemFiles.moc"
