// Qt's own dialogs and menus speak Russian whatever the locale the program was started in.
#include "QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

#include <memory>

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// The captions of a widget's buttons and a menu's items, without mnemonic marks and shortcuts.
QStringList ButtonTexts(const QWidget& widget) {
  QStringList texts;
  for (const QAbstractButton* button : widget.findChildren<QAbstractButton*>())
    if (button->isVisible()) texts << button->text().remove(u'&');
  return texts;
}

QStringList ActionTexts(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions()) texts << action->text().remove(u'&').section(u'\t', 0, 0);
  return texts;
}

} // namespace

class TestQtTranslations : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    // Started as the tests are, in the C locale: the program must not depend on it.
    QCOMPARE(InstallRussianTranslations(*qApp), 2);
    QCOMPARE(QLocale().language(), QLocale::Russian);
  }

  void PrintDialog() {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList texts = ButtonTexts(dialog);
    QVERIFY2(texts.contains(U("Печать")), qPrintable(texts.join(u'|')));
    QVERIFY2(texts.contains(U("Отмена")), qPrintable(texts.join(u'|')));
    dialog.reject();
  }

  void MessageBox() {
    QMessageBox box(QMessageBox::Question, U("Kelvano 1.0"), U("Вопрос"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Close);
    box.open();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QStringList texts = ButtonTexts(box);
    texts.sort();
    QCOMPARE(texts, (QStringList{U("Да"), U("Закрыть"), U("Нет"), U("Отмена")}));
    box.reject();
  }

  void EditContextMenu() {
    QLineEdit edit(U("5/3"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    const QStringList texts = ActionTexts(*menu);
    for (const char* item : {"Копировать", "Вставить", "Выделить всё"})
      QVERIFY2(texts.contains(U(item)), qPrintable(texts.join(u'|')));
  }
};

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  TestQtTranslations test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_QtTranslations.moc"
