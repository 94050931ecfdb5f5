// Tests of the save dialog: the proposed name, Ok with an empty name, cancelling, typed names.
#include "untSave.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// Runs action on the dialog once its modal loop has started; a dialog that the action left open
// (a failed check returns early) is closed so that the test goes on.
void WhileShown(TSaveForm& form, std::function<void()> action) {
  QTimer::singleShot(0, &form, [&form, action = std::move(action)] {
    QVERIFY(form.isVisible());
    action();
    if (form.isVisible()) form.reject();
  });
}

// Types text key by key; unlike QTest::keyClicks it takes letters beyond Latin-1.
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

} // namespace

class TestSaveForm : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }

  void FormTexts() {
    TSaveForm form;
    QCOMPARE(form.windowTitle(), U("Сохранить условие"));
    QCOMPARE(form.Label1->text(), U("   Укажите название сохраняемой задачи, вы можете указать уже существующее "
                                    "имя без удаления старой задачи:"));
    QCOMPARE(form.Label2->text(), U("Название задачи:"));
    QCOMPARE(form.Button1->text(), U("ОК"));
    QCOMPARE(form.Button2->text(), U("Отмена"));
    QVERIFY(form.Button1->isDefault());
  }

  void ProposedName_data() {
    QTest::addColumn<int>("taskType");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("8") << 8 << U("Задача линейного программирования");
    QTest::newRow("24") << 24 << U("Задача целочисленного программирования");
    QTest::newRow("40") << 40 << U("Задача квадратичного программирования");
    QTest::newRow("56") << 56 << U("Задача дробно-линейного программирования");
    QTest::newRow("72") << 72 << U("Задача о раскрое");
    QTest::newRow("88") << 88 << U("Задача о назначении");
    QTest::newRow("104") << 104 << U("Поиск коэффициентов регрессии");
    QTest::newRow("7") << 7 << U("GetTaskName не знает такой задачи");
  }

  // The proposal stands in the edit, which has the focus, and Ok returns it unchanged.
  void ProposedName() {
    QFETCH(int, taskType);
    QFETCH(QString, proposed);
    TSaveForm form;
    QString seen;
    bool focused = false;
    WhileShown(form, [&] {
      seen = form.Edit1->text();
      QTRY_VERIFY(form.focusWidget() == form.Edit1);
      focused = true;
      QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    const std::string name = form.AskName(static_cast<std::uint8_t>(taskType));
    QCOMPARE(seen, proposed);
    QVERIFY(focused);
    QCOMPARE(QString::fromStdString(name), proposed);
  }

  // Type 255 proposes nothing, so Ok does not close; the dialog stays until "Отмена".
  void EmptyNameKeepsDialogOpen() {
    TSaveForm form;
    bool stayed = false;
    WhileShown(form, [&] {
      QVERIFY(form.Edit1->text().isEmpty());
      QTest::mouseClick(form.Button1, Qt::LeftButton);
      QTest::keyClick(form.Edit1, Qt::Key_Return);
      QApplication::processEvents();
      stayed = form.isVisible();
      QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    QCOMPARE(form.AskName(255), std::string());
    QVERIFY(stayed);
  }

  void Cancelling_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Отмена") << false;
    QTest::newRow("Esc") << true;
  }

  void Cancelling() {
    QFETCH(bool, escape);
    TSaveForm form;
    WhileShown(form, [&] {
      if (escape)
        QTest::keyClick(form.Edit1, Qt::Key_Escape);
      else
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    QCOMPARE(form.AskName(8), std::string());
  }

  void TypedName_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("cyrillic") << U("Задача о рационе № 2 (вариант «Б»)");
    QTest::newRow("blanks are a name") << U("   ");
    QTest::newRow("leading and trailing blanks kept") << U("  Ёлка  ");
  }

  // The name comes back as typed, untrimmed, in UTF-8; Enter presses Ok.
  void TypedName() {
    QFETCH(QString, typed);
    TSaveForm form;
    WhileShown(form, [&] {
      form.Edit1->clear();
      TypeText(form.Edit1, typed);
      QTest::keyClick(form.Edit1, Qt::Key_Return);
    });
    const std::string name = form.AskName(24);
    QCOMPARE(QString::fromUtf8(name.c_str()), typed);
  }

  // A second question starts again from the proposal, not from the last name typed.
  void ReusedDialogProposesAgain() {
    TSaveForm form;
    WhileShown(form, [&] {
      TypeText(form.Edit1, U(" 1"));
      QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    QCOMPARE(QString::fromStdString(form.AskName(72)), U("Задача о раскрое 1"));
    QString seen;
    WhileShown(form, [&] {
      seen = form.Edit1->text();
      QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    static_cast<void>(form.AskName(88));
    QCOMPARE(seen, U("Задача о назначении"));
  }
};

QTEST_MAIN(TestSaveForm)
#include "tst_untSave.moc"
