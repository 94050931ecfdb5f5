// Tests of the viewer adapter: how addresses are resolved, and a real page, title and history.
#include "AppPaths.h"
#include "ZLPCore_SolutionResult.h"
#include "untWebViewer.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestWebViewer : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void cleanupTestCase();
  void resolveAddress_data();
  void resolveAddress();
  void showsPageTitleAndHistory();
  void helpAddressOpensHelpFile();

private:
  QTemporaryDir Dir;
  QString WritePage(const QString& relative, const QByteArray& title);
};

void TestWebViewer::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  QVERIFY(Dir.isValid());
}

void TestWebViewer::cleanupTestCase() { SetProgramDir(""); }

QString TestWebViewer::WritePage(const QString& relative, const QByteArray& title) {
  const QString path = Dir.filePath(relative);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  // Report pages are windows-1251, as the generated ones are.
  const std::string text = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                           "<title>" +
                           title.toStdString() + "</title></head><body>" + title.toStdString() + "</body></html>";
  file.write(QByteArray::fromStdString(Utf8ToCp1251(text)));
  return path;
}

void TestWebViewer::resolveAddress_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("helpExists");
  QTest::addColumn<QUrl>("expected");
  const QString help = Dir.path() + QStringLiteral("/help/");
  QTest::newRow("help page") << QStringLiteral("mk:@MSITStore:/opt/k/database.chm::/help/steps/KFCheck.html") << true
                             << QUrl::fromLocalFile(help + QStringLiteral("help/steps/KFCheck.html"));
  QTest::newRow("help page with backslashes")
      << QStringLiteral("mk:@MSITStore:C:\\K\\database.chm::/math\\8\\index.html") << true
      << QUrl::fromLocalFile(help + QStringLiteral("math/8/index.html"));
  QTest::newRow("help page with anchor") << QStringLiteral("mk:@MSITStore:/k/database.chm::/intro.html#start") << true
                                         << QUrl(QUrl::fromLocalFile(help + QStringLiteral("intro.html")).toString() +
                                                 QStringLiteral("#start"));
  QTest::newRow("help folder missing") << QStringLiteral("mk:@MSITStore:/k/database.chm::/intro.html") << false
                                       << QUrl();
  QTest::newRow("absolute path") << QStringLiteral("/tmp/kelvano/kelvano1.html") << false
                                 << QUrl::fromLocalFile(QStringLiteral("/tmp/kelvano/kelvano1.html"));
  QTest::newRow("path with Cyrillic and blank")
      << QStringLiteral("/tmp/отчёт 1.html") << false << QUrl::fromLocalFile(QStringLiteral("/tmp/отчёт 1.html"));
  QTest::newRow("web address") << QStringLiteral("https://example.org/a?b=1") << false
                               << QUrl(QStringLiteral("https://example.org/a?b=1"));
  QTest::newRow("file address") << QStringLiteral("file:///tmp/a.html") << false
                                << QUrl(QStringLiteral("file:///tmp/a.html"));
  QTest::newRow("empty") << QString() << true << QUrl();
}

void TestWebViewer::resolveAddress() {
  QFETCH(QString, text);
  QFETCH(bool, helpExists);
  QVERIFY(QDir().mkpath(Dir.path() + QStringLiteral("/help")));
  const QString help = Dir.path() + (helpExists ? QStringLiteral("/help/") : QStringLiteral("/nohelp/"));
  QTEST(TWebBrowser::ResolveAddress(text, help), "expected");
}

void TestWebViewer::showsPageTitleAndHistory() {
  const QString first = WritePage(QStringLiteral("pages/first.html"), "Первая");
  const QString second = WritePage(QStringLiteral("pages/second.html"), "Вторая");
  QVERIFY(!first.isEmpty() && !second.isEmpty());
  TWebBrowser browser;
  browser.resize(400, 300);
  browser.show();
  QSignalSpy titles(&browser, &TWebBrowser::TitleChange);

  browser.Navigate(first.toStdString());
  QTRY_VERIFY_WITH_TIMEOUT(titles.contains(QVariantList{QStringLiteral("Первая")}), 30000);
  QCOMPARE(QString::fromStdString(browser.LocationURL()), QUrl::fromLocalFile(first).toString());

  browser.Navigate(second.toStdString());
  QTRY_VERIFY_WITH_TIMEOUT(titles.contains(QVariantList{QStringLiteral("Вторая")}), 30000);
  browser.GoBack();
  QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(browser.LocationURL()), QUrl::fromLocalFile(first).toString(),
                            30000);
  browser.GoForward();
  QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(browser.LocationURL()), QUrl::fromLocalFile(second).toString(),
                            30000);
  browser.Refresh();
  browser.Stop();
}

void TestWebViewer::helpAddressOpensHelpFile() {
  const QString page = WritePage(QStringLiteral("program/help/help/steps/SimplexSolve.html"), "Симплекс");
  SetProgramDir((Dir.path() + QStringLiteral("/program/")).toStdString());
  TWebBrowser browser;
  browser.show();
  browser.Navigate("mk:@MSITStore:C:\\Kelvano\\database.chm::/help\\steps\\SimplexSolve.html");
  QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(browser.LocationURL()), QUrl::fromLocalFile(page).toString(), 30000);

  SetProgramDir((Dir.path() + QStringLiteral("/elsewhere/")).toStdString());
  browser.Navigate("mk:@MSITStore:/x/database.chm::/help/steps/SimplexSolve.html");
  QTest::qWait(200);
  QCOMPARE(QString::fromStdString(browser.LocationURL()), QUrl::fromLocalFile(page).toString());
}

QTEST_MAIN(TestWebViewer)
#include "tst_WebViewer.moc"
