// Tests of the page frame shared by the page-showing steps: viewer geometry, status panel, colours.
#include "MessageRecorder.h"
#include "StepRun.h"
#include "untStagePage.h"
#include "untStep_ZLPInput.h"

#include <QLocale>

using namespace Qt::StringLiterals;

class TestStagePage : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void viewerHidesItsBorder();
  void statusPanel_data();
  void statusPanel();
  void pageColoursComeFromThePalette();

private:
  TStepClasses Classes;
};

void TestStagePage::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  Classes.StandIn(10, "симплекс");
}

void TestStagePage::viewerHidesItsBorder() {
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  run.Next();
  auto& page = run.Stage<TfrmStep_Page>(1);
  QVERIFY(page.isVisible());
  for (const QSize size : {page.size(), QSize(431, 277)}) {
    page.resize(size);
    const QRect expected(-2, -2, page.width() + 4, page.height() + 4);
    QCOMPARE(page.wb->geometry(), expected);
  }
  run.Wizard.resize(run.Wizard.width() + 50, run.Wizard.height() + 30);
  QTest::qWait(10);
  QCOMPARE(page.wb->geometry(), QRect(-2, -2, page.width() + 4, page.height() + 4));
  QCOMPARE(page.Panel1->font().family(), u"Tahoma"_s);
  QVERIFY(!page.Panel1->isVisible());
}

void TestStagePage::statusPanel_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("shown");
  QTest::newRow("address under the mouse") << u"file:///tmp/help/intro.html"_s << true;
  QTest::newRow("empty") << QString() << false;
  QTest::newRow("Ready") << u"Ready"_s << false;
  QTest::newRow("Готово") << U("Готово") << false;
  QTest::newRow("Done") << u"Done"_s << false;
  QTest::newRow("lower-case done is a text") << u"done"_s << true;
}

void TestStagePage::statusPanel() {
  QFETCH(QString, text);
  QFETCH(bool, shown);
  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  run.Next();
  auto& page = run.Stage<TfrmStep_Page>(1);
  emit page.wb->StatusTextChange(u"http://example.org/"_s);
  QVERIFY(page.Panel1->isVisible());
  emit page.wb->StatusTextChange(text);
  QCOMPARE(page.Panel1->isVisible(), shown);
  QCOMPARE(page.Panel1->text(), text);
  if (shown) {
    QCOMPARE(page.Panel1->geometry().top(), 0);
    QCOMPARE(page.Panel1->width(), page.width());
  }
}

void TestStagePage::pageColoursComeFromThePalette() {
  QPalette palette;
  palette.setColor(QPalette::ButtonText, QColor(0x12, 0x34, 0x56));
  palette.setColor(QPalette::Button, QColor(0xAB, 0xCD, 0xEF));
  palette.setColor(QPalette::WindowText, QColor(0x01, 0x02, 0x03));
  palette.setColor(QPalette::Base, QColor(0xFE, 0xFD, 0xFC));
  const TPageColors colors = SystemPageColors(palette);
  QCOMPARE(colors.ButtonText, 0x123456u);
  QCOMPARE(colors.ButtonFace, 0xABCDEFu);
  QCOMPARE(colors.WindowText, 0x010203u);
  QCOMPARE(colors.Window, 0xFEFDFCu);

  TMessageRecorder recorder;
  TStepRun run;
  run.Start(TT_LINEAR);
  run.Next();
  auto& page = run.Stage<TfrmStep_Page>(1);
  QVERIFY(page.StageReport.Bare);
  QCOMPARE(page.StageReport.StyleMods, UsualPageStyle(SystemPageColors(page.palette())));
}

QTEST_MAIN(TestStagePage)
#include "tst_untStagePage.moc"
