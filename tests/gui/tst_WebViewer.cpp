// Tests of the viewer adapter: how addresses are resolved, and a real page, title and history.
#include "AppPaths.h"
#include "Simplex.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_SolutionResult.h"
#include "untWebViewer.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPageRanges>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
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
  void finalReportSavedAsPdfKeepsItsText();
  void simplexTableIsCopiedTabSeparated();
  void printTitleAndNumberedPreview();

private:
  QTemporaryDir Dir;
  QString WritePage(const QString& relative, const QByteArray& title);
};

void TestWebViewer::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian));
  QVERIFY(Dir.isValid());
}

void TestWebViewer::cleanupTestCase() { SetProgramDir(""); }

// The text of a PDF file as pdftotext (poppler-utils) reads it.
QString PdfText(const QString& pdf) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) {
    qWarning("pdftotext (poppler-utils) failed on %s", qPrintable(pdf));
    return {};
  }
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

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

// Shows the final report of the product mix in browser, as the main window shows it.
void ShowProductMix(TWebBrowser& browser) {
  SetProgramDir(KELVANO_SOURCE_DIR "/");
  TTextFormatError error;
  const auto statement = ParseStatementText("max 3 2\n1 1 <= 4\n1 3 <= 6\n", error);
  QVERIFY(statement.has_value());
  TZLPCore_Interface data;
  TStatementError readError;
  QVERIFY(ReadStatement(*statement, data, readError));
  TZLPCore_SolutionResult report;
  QVERIFY(RunTask(statement->TaskType, data, report).Status == TTaskStatus::Optimal);
  const std::string page = report.SaveToTempFile();
  QVERIFY(!page.empty());
  browser.resize(800, 600);
  browser.show();
  QSignalSpy loaded(&browser, &TWebBrowser::LoadFinished);
  browser.Navigate(page);
  QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
  QVERIFY(loaded.front().front().toBool());
}

// Saves the page shown as a PDF file, waiting for it.
bool SavePdfNow(TWebBrowser& browser, const QString& pdf) {
  QSignalSpy saved(&browser, &TWebBrowser::PdfSaved);
  if (!browser.SavePdf(pdf)) return false;
  return QTest::qWaitFor([&saved] { return !saved.isEmpty(); }, 60000) && saved.front().at(1).toBool();
}

// The height of the page's body as laid out on screen.
int BodyHeight(TWebBrowser& browser) {
  int height = -2;
  browser.LayOut([&height](int h) { height = h; });
  QTest::qWaitFor([&height] { return height != -2; }, 10000);
  return height;
}

// The final report of the product mix, as the main window shows it, saved as a PDF: a small file whose
// text reads back (pdftotext), with the model, the tables and the answer.
void TestWebViewer::finalReportSavedAsPdfKeepsItsText() {
  TWebBrowser browser;
  ShowProductMix(browser);
  if (QTest::currentTestFailed()) return;

  const QString pdf = Dir.filePath(QStringLiteral("Решение задачи.pdf"));
  QSignalSpy saved(&browser, &TWebBrowser::PdfSaved);
  QVERIFY(browser.SavePdf(pdf));
  QVERIFY(!browser.SavePdf(pdf + QStringLiteral(".2"))); // one at a time
  QTRY_VERIFY_WITH_TIMEOUT(!saved.isEmpty(), 60000);
  QCOMPARE(saved.front().at(0).toString(), pdf);
  QVERIFY(saved.front().at(1).toBool());
  QVERIFY(!browser.IsBusy());
  const qint64 size = QFileInfo(pdf).size();
  qInfo("PDF of the product-mix report: %lld bytes", size);
  QVERIFY2(size > 0 && size < 200 * 1024, qPrintable(QString::number(size)));

  const QString text = PdfText(pdf);
  // The picture of the graphical method goes into the PDF as drawing with text: its labels read back.
  for (const char* expected :
       {"Задача линейного программирования", "Графический метод", "B(4; 0)", "grad Z", "Каноническая форма",
        "Симплекс-метод", "Функция достигает экстремума в точке:", "X1 = 4", "X4 = 2", "Двойственная задача",
        "Первая теорема двойственности", "Опорный план X = (4; 0; 0; 2), Z = 12."})
    QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
  // Four A4 pages: the tables with their plans in words, the whole optimal plan, the answer and the
  // dual problem.
  QCOMPARE(text.count(QChar(u'\f')), 4);

  // Printing into a file takes the same road: text stays text.
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(Dir.filePath(QStringLiteral("printed.pdf")));
  QSignalSpy printed(&browser, &TWebBrowser::PrintFinished);
  QVERIFY(browser.Print(printer));
  QTRY_VERIFY_WITH_TIMEOUT(!printed.isEmpty(), 60000);
  QVERIFY(printed.front().front().toBool());
  QVERIFY(PdfText(printer.outputFileName()).contains(QString::fromUtf8("Функция достигает экстремума в точке:")));
}

// "Копировать таблицу" over a simplex table written by blocks of rows gives the whole table, its
// heading line once, tab-separated; a point outside any table gives nothing.
void TestWebViewer::simplexTableIsCopiedTabSeparated() {
  TSimplexTable table;
  table.SetColCount(2);
  table.SetRowCount(3);
  table.SetColName(1, "X1");
  table.SetColName(2, "X2");
  for (std::int32_t i = 1; i <= 3; ++i) {
    table.SetRowName(i, "X" + std::to_string(i + 2));
    table.SetB(i, RatMake(i, 1));
    table.SetA(1, i, RatMake(1, i + 1));
    table.SetA(2, i, RatMake(-i, 1));
  }
  table.SetZ(1, RatMake(-3, 1));
  table.SetZ(2, RatMake(5, 3));
  const std::string html = "<html><body style=\"margin:0\">" + table.ToHtml(0, 0, 2) + "<p>Другая таблица:</p>" +
                           table.ToHtml(0, 0) + "<p style=\"height:900px\">&nbsp;</p></body></html>";
  const QString path = Dir.filePath(QStringLiteral("table.html"));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray::fromStdString(html));
  file.close();

  TWebBrowser browser;
  browser.resize(800, 600);
  browser.show();
  QSignalSpy loaded(&browser, &TWebBrowser::LoadFinished);
  browser.Navigate(path.toStdString());
  QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
  const auto textAt = [&browser](QPoint at) {
    QString result = QStringLiteral("(none)");
    browser.TableTextAt(at, [&result](const QString& table) { result = table; });
    QTest::qWaitFor([&result] { return result != QStringLiteral("(none)"); }, 10000);
    return result;
  };
  const QString expected = QStringLiteral("\tB\tX1\tX2\n"
                                          "X3\t1\t1/2\t-1\n"
                                          "X4\t2\t1/3\t-2\n"
                                          "X5\t3\t1/4\t-3\n"
                                          "Z\t0\t-3\t5/3\n");
  QCOMPARE(textAt(QPoint(5, 5)), expected);
  QCOMPARE(textAt(QPoint(5, 590)), QString());
}

// A title line set for printing heads the PDF but never shows on screen; the print preview shows
// the pages of that PDF, and painted onto a printer each page carries "Страница k из n", only the
// pages of the printer's ranges when it has some.
void TestWebViewer::printTitleAndNumberedPreview() {
  const QString title = QString::fromUtf8("Задача линейного программирования: «цех № 2»");
  const QString pdf = Dir.filePath(QStringLiteral("titled.pdf"));
  {
    // A page that lays out once and for all: the title line takes no room on screen.
    TWebBrowser plain;
    plain.resize(800, 600);
    plain.show();
    QSignalSpy loaded(&plain, &TWebBrowser::LoadFinished);
    plain.Navigate(WritePage(QStringLiteral("plain.html"), QByteArray("Страница без заголовка")).toStdString());
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
    const int screenHeight = BodyHeight(plain);
    QVERIFY(screenHeight > 0);
    plain.PrintTitle = title;
    QVERIFY(SavePdfNow(plain, pdf));
    // The title (in the large type of a heading it may take two lines), then the page.
    QCOMPARE(PdfText(pdf).simplified(), title + QString::fromUtf8(" Страница без заголовка"));
    QCOMPARE(BodyHeight(plain), screenHeight);
    // Without a title the PDF is the page alone again.
    plain.PrintTitle.clear();
    QVERIFY(SavePdfNow(plain, pdf));
    QVERIFY(!PdfText(pdf).contains(title));
  }

  TWebBrowser browser;
  ShowProductMix(browser);
  if (QTest::currentTestFailed()) return;
  browser.PrintTitle = title;
  QVERIFY(SavePdfNow(browser, pdf));
  const QString text = PdfText(pdf);
  QCOMPARE(text.section(QChar(u'\n'), 0, 0).trimmed(), title);
  QCOMPARE(text.count(title), 1);
  const int pages = static_cast<int>(text.count(QChar(u'\f')));
  QVERIFY(pages >= 4);

  int previewPages = -1;
  browser.ShowPreview = [&previewPages](QPrintPreviewDialog& dialog) {
    auto* widget = dialog.findChild<QPrintPreviewWidget*>();
    QVERIFY(widget);
    dialog.show();
    QTest::qWaitFor([widget] { return widget->pageCount() > 0; }, 30000);
    previewPages = widget->pageCount();
    dialog.reject();
  };
  QVERIFY(browser.PreviewPage());
  QTRY_VERIFY_WITH_TIMEOUT(previewPages != -1, 60000);
  QCOMPARE(previewPages, pages);

  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(Dir.filePath(QStringLiteral("numbered.pdf")));
  QCOMPARE(TWebBrowser::PaintPdfPages(pdf, printer), pages);
  const QString numbered = PdfText(printer.outputFileName());
  QCOMPARE(static_cast<int>(numbered.count(QChar(u'\f'))), pages);
  for (int k = 1; k <= pages; ++k) QVERIFY(numbered.contains(QString::fromUtf8("Страница %1 из %2").arg(k).arg(pages)));

  QPrinter some;
  some.setOutputFormat(QPrinter::PdfFormat);
  some.setOutputFileName(Dir.filePath(QStringLiteral("some.pdf")));
  some.setPageRanges(QPageRanges::fromString(QStringLiteral("2-3")));
  QCOMPARE(TWebBrowser::PaintPdfPages(pdf, some), 2);
  const QString chosen = PdfText(some.outputFileName());
  QCOMPARE(static_cast<int>(chosen.count(QChar(u'\f'))), 2);
  QVERIFY(chosen.contains(QString::fromUtf8("Страница 2 из %1").arg(pages)));
  QVERIFY(chosen.contains(QString::fromUtf8("Страница 3 из %1").arg(pages)));
  QVERIFY(!chosen.contains(QString::fromUtf8("Страница 1 из")));
  QCOMPARE(TWebBrowser::PaintPdfPages(Dir.filePath(QStringLiteral("missing.pdf")), some), -1);
}

QTEST_MAIN(TestWebViewer)
#include "tst_WebViewer.moc"
