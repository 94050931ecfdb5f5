// The embedded HTML viewer: the one widget that wraps the web engine view.
#pragma once

#include "WebViewer.h"

#include <QPageLayout>
#include <QPageRanges>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <string>

class QPrinter;
class QPrintPreviewDialog;
class QWebEngineView;

// Shows generated report pages, help pages and addresses. Addresses into the compiled help file,
// "mk:@MSITStore:<file>::/<page>", are served from the help folder of the program (HelpDir), with
// every "\" of the page turned into "/"; without that folder they open nothing.
//
// The page shown leaves the viewer only as the web engine's own PDF: text stays text and the print
// rules of the page's style apply. "Сохранить как PDF…" writes that PDF to a file; printing writes it
// to the file chosen in the print dialog or hands it to the printing system. "Просмотр печати…" shows
// the pages of that PDF as they will be printed, each numbered at its foot, and prints them so from
// the preview. The context menu offers only what suits a report: copy, "Копировать таблицу" over a
// simplex table, select all, print, print preview and save as PDF.
class TWebBrowser : public QWidget, public TWebViewer {
  Q_OBJECT

public:
  explicit TWebBrowser(QWidget* parent = nullptr);

  // A local file path or an address; an address that resolves to nothing is ignored.
  void Navigate(const std::string& url) override;
  void GoBack() override;
  void GoForward() override;
  void Refresh() override;
  void Stop() override;
  [[nodiscard]] std::string LocationURL() const override;
  [[nodiscard]] QString Title() const;

  // What Navigate opens for a text: a help address becomes a file under helpDir (with a trailing
  // '/'), a local path a file URL, anything with a scheme stays as it is. Empty when the help
  // folder is missing or the text is empty.
  [[nodiscard]] static QUrl ResolveAddress(const QString& text, const QString& helpDir);

  // A4 portrait with 15 mm margins: the page of a saved PDF.
  [[nodiscard]] static QPageLayout ReportPageLayout();
  // The file name proposed for the PDF of a document called name: the name with blanks for the
  // characters a file name cannot hold, "Kelvano" when nothing is left, and ".pdf".
  [[nodiscard]] static QString ProposedPdfName(const QString& name);
  // What a PDF or a print of the page is called: DocumentName, else the page's title.
  [[nodiscard]] QString DocumentTitle() const;

  // Writes the page shown as a PDF file, replacing it. Asynchronous: PdfSaved tells the outcome.
  // False when another PDF or print of this viewer is still being made (nothing is started then).
  bool SavePdf(const QString& filePath, const QPageLayout& layout = ReportPageLayout());
  // "Сохранить как PDF…": asks for the file (AskPdfFileName) and saves the page there; a failure is
  // shown as a message.
  void SavePdfAs();
  // "Печать…": asks with the print dialog (AskPrinter) and prints the page through its PDF; a failure
  // is shown as a message.
  void PrintPage();
  // Prints the page through its PDF on printer as it is set up: into its output file when it prints
  // to a file, otherwise to its printer; PrintFinished tells the outcome.
  bool Print(QPrinter& printer);
  [[nodiscard]] bool IsBusy() const noexcept { return Busy; }
  // "Просмотр печати…": makes the page's PDF and shows its pages in the print preview
  // (ShowPreview); a failure is shown as a message. False when the viewer is busy.
  bool PreviewPage();
  // Paints the pages of a PDF file onto printer, as the preview shows them and prints them from
  // there: each page whole within the printer's page, with "Страница k из n" at its foot; only
  // the pages of the printer's page ranges when it has any. The number of pages painted, -1 when
  // the file does not read as a PDF.
  static int PaintPdfPages(const QString& pdfFile, QPrinter& printer);
  // Lays the page shown out now, as far as the page itself lays out (a table far from the part shown
  // keeps its estimated height), and passes the height of its body in CSS pixels, -1 without a body,
  // to done, unless the viewer is gone by then.
  void LayOut(std::function<void(int height)> done);

  // The simplex table at position (in the viewer's coordinates) as "Копировать таблицу" copies it:
  // tab-separated cells, one line per row, the heading line once; "" when there is none there.
  // Asynchronous: done is called unless the viewer is gone by then.
  void TableTextAt(const QPoint& position, std::function<void(const QString& table)> done);

  // Asks for the name of the PDF file, proposing one; "" when the student cancels. Tests replace it.
  std::function<QString(const QString& proposed)> AskPdfFileName;
  // Shows the print dialog for printer; false when the student cancels. Tests replace it.
  std::function<bool(QPrinter& printer)> AskPrinter;
  // Runs the print preview dialog, its pages ready to be painted. Tests replace it.
  std::function<void(QPrintPreviewDialog& dialog)> ShowPreview;

  // The name a PDF or a print of the page is proposed under; empty: the page's title.
  QString DocumentName;
  // Names the page last asked for with Navigate: DocumentName then holds for it only, not for the
  // pages shown after it.
  void NameDocument(const QString& name);
  // A title line printed above the page (in a PDF, a print and the preview), not shown on screen;
  // empty: none.
  QString PrintTitle;

signals:
  void PdfSaved(const QString& filePath, bool success);
  void PrintFinished(bool success);
  // A page has been loaded (or failed to load).
  void LoadFinished(bool success);
  // The address under the mouse, or "" when the mouse leaves a link.
  void StatusTextChange(const QString& text);
  void TitleChange(const QString& text);

private slots:
  void wbContextMenu(const QPoint& position);

private:
  void ShowContextMenu(const QPoint& position, bool selected, const QString& table);
  // Makes the page's PDF and passes it (empty on failure) to done, unless the viewer is gone by then.
  bool MakePdf(const QPageLayout& layout, const QPageRanges& ranges, std::function<void(const QByteArray&)> done);

  QWebEngineView* wb;
  bool Busy = false;
  QUrl LastTarget; // of Navigate
  QUrl NamedUrl;   // the page DocumentName holds for; empty: any page
};
