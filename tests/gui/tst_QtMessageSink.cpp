// Tests of the program's message boxes and of the Qt views of the input fields.
#include "QtFields.h"
#include "QtMessageSink.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs act on the message box once it is open.
void WhenBoxOpens(std::function<void(QMessageBox&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QMessageBox* box = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* candidate = qobject_cast<QMessageBox*>(widget); candidate && candidate->isVisible()) box = candidate;
    if (box)
      act(*box);
    else
      QTest::qFail("no message box", __FILE__, __LINE__);
  });
}

QStringList ButtonTexts(const QMessageBox& box) {
  QStringList texts;
  for (QAbstractButton* button : box.buttons()) texts << button->text();
  texts.sort();
  return texts;
}

QAbstractButton* ButtonNamed(QMessageBox& box, const char* text) {
  for (QAbstractButton* button : box.buttons())
    if (button->text() == QString::fromUtf8(text)) return button;
  return nullptr;
}

} // namespace

class TestQtMessageSink : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void answersTheButtonPressed_data();
  void answersTheButtonPressed();
  void escapeAnswersNoOrCancel_data();
  void escapeAnswersNoOrCancel();
  void fieldsReadWidgets();
};

void TestQtMessageSink::initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }

void TestQtMessageSink::answersTheButtonPressed_data() {
  QTest::addColumn<int>("buttons");
  QTest::addColumn<int>("icon");
  QTest::addColumn<QString>("press");
  QTest::addColumn<int>("answer");
  QTest::addColumn<QStringList>("texts");
  QTest::addColumn<int>("boxIcon");
  const auto u = [](const char* t) { return QString::fromUtf8(t); };
  QTest::newRow("question, yes") << int{mbYes | mbNo} << int(TMsgIcon::Question) << u("Да") << int(TMsgAnswer::Yes)
                                 << QStringList{u("Да"), u("Нет")} << int(QMessageBox::Question);
  QTest::newRow("question, no") << int{mbYes | mbNo} << int(TMsgIcon::Question) << u("Нет") << int(TMsgAnswer::No)
                                << QStringList{u("Да"), u("Нет")} << int(QMessageBox::Question);
  QTest::newRow("error, ok") << int{mbOK} << int(TMsgIcon::Error) << u("OK") << int(TMsgAnswer::Ok)
                             << QStringList{u("OK")} << int(QMessageBox::Critical);
  QTest::newRow("warning, cancel") << int{mbOK | mbCancel} << int(TMsgIcon::Warning) << u("Отмена")
                                   << int(TMsgAnswer::Cancel) << QStringList{u("OK"), u("Отмена")}
                                   << int(QMessageBox::Warning);
  QTest::newRow("information, no buttons asked") << 0 << int(TMsgIcon::Information) << u("OK") << int(TMsgAnswer::Ok)
                                                 << QStringList{u("OK")} << int(QMessageBox::Information);
}

void TestQtMessageSink::answersTheButtonPressed() {
  QFETCH(int, buttons);
  QFETCH(int, icon);
  QFETCH(QString, press);
  QFETCH(QStringList, texts);
  QFETCH(int, boxIcon);
  TQtMessageSink sink;
  QString caption, text;
  QStringList seenTexts;
  int seenIcon = -1;
  WhenBoxOpens([&](QMessageBox& box) {
    caption = box.windowTitle();
    text = box.text();
    seenTexts = ButtonTexts(box);
    seenIcon = box.icon();
    QAbstractButton* button = ButtonNamed(box, press.toUtf8().constData());
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
  });
  const TMsgAnswer answer = sink.Show("Мастер решений", "Вы действительно хотите прервать работу мастера?",
                                      static_cast<TMsgIcon>(icon), static_cast<TMsgButtons>(buttons));
  QTEST(int(answer), "answer");
  QCOMPARE(caption, QString::fromUtf8("Мастер решений"));
  QCOMPARE(text, QString::fromUtf8("Вы действительно хотите прервать работу мастера?"));
  QCOMPARE(seenTexts, texts);
  QCOMPARE(seenIcon, boxIcon);
}

void TestQtMessageSink::escapeAnswersNoOrCancel_data() {
  QTest::addColumn<int>("buttons");
  QTest::addColumn<int>("answer");
  QTest::newRow("yes/no") << int{mbYes | mbNo} << int(TMsgAnswer::No);
  QTest::newRow("ok/cancel") << int{mbOK | mbCancel} << int(TMsgAnswer::Cancel);
  QTest::newRow("ok") << int{mbOK} << int(TMsgAnswer::Ok);
}

void TestQtMessageSink::escapeAnswersNoOrCancel() {
  QFETCH(int, buttons);
  TQtMessageSink sink;
  WhenBoxOpens([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  const TMsgAnswer answer = sink.Show("Kelvano 1.0", "Текст", TMsgIcon::Warning, static_cast<TMsgButtons>(buttons));
  QTEST(int(answer), "answer");
}

void TestQtMessageSink::fieldsReadWidgets() {
  QWidget window;
  QLineEdit edit(&window);
  QLineEdit hidden(&window);
  QLabel label(QString::fromUtf8("X₁+"), &window);
  QComboBox combo(&window);
  combo.addItems({QStringLiteral("<="), QStringLiteral("=>")});
  hidden.hide();
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));

  TQtEditField editField(edit);
  QTest::keyClicks(&edit, QStringLiteral("-4/3 "));
  edit.insert(QString::fromUtf8("ёж"));
  QCOMPARE(editField.Text(), std::string("-4/3 ёж"));
  QVERIFY(editField.SetFocus());
  QTRY_VERIFY(edit.hasFocus());
  editField.SelectAll();
  QCOMPARE(edit.selectedText(), QString::fromUtf8("-4/3 ёж"));
  edit.setEnabled(false);
  QVERIFY(!editField.SetFocus());
  TQtEditField hiddenField(hidden);
  QVERIFY(!hiddenField.SetFocus());

  QCOMPARE(TQtLabelField(label).Caption(), std::string("X₁+"));

  TQtComboField comboField(combo);
  combo.setCurrentIndex(1);
  QCOMPARE(comboField.ItemIndex(), 1);
  QCOMPARE(comboField.SelectedText(), std::string("=>"));
  combo.setCurrentIndex(-1);
  QCOMPARE(comboField.ItemIndex(), -1);
  QCOMPARE(comboField.SelectedText(), std::string());
}

QTEST_MAIN(TestQtMessageSink)
#include "tst_QtMessageSink.moc"
