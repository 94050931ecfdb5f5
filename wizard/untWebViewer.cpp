// The embedded HTML viewer: the one widget that wraps the web engine view.
#include "untWebViewer.h"

#include "AppPaths.h"
#include "MessageSeam.h"
#include "QtHelpers.h"
#include "untStrConst.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfDocument>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineContextMenuRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cups/cups.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// What printing to a printer's queue needs of the print dialog's choices.
struct TPrintJob {
  QString Printer;
  int Copies = 1;
  bool Collate = true;
  QPrinter::DuplexMode Duplex = QPrinter::DuplexNone;
  bool Grayscale = false;
};

// Writes bytes to path whole or not at all.
bool WriteWhole(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// Hands a PDF to the printing system; the queue prints it as it is, text as text.
bool SendToPrinter(const QByteArray& pdf, const TPrintJob& job, const QString& title, QString& reason) {
  QTemporaryFile file(QString::fromStdString(PrivateTempDir()) + u"print-XXXXXX.pdf"_s);
  if (pdf.isEmpty() || !file.open() || file.write(pdf) != pdf.size() || !file.flush()) {
    reason = Q("не удалось подготовить страницу к печати");
    return false;
  }
  cups_option_t* options = nullptr;
  int count = 0;
  count = cupsAddOption("copies", QByteArray::number(job.Copies).constData(), count, &options);
  count = cupsAddOption("collate", job.Collate ? "true" : "false", count, &options);
  const char* sides = job.Duplex == QPrinter::DuplexLongSide    ? "two-sided-long-edge"
                      : job.Duplex == QPrinter::DuplexShortSide ? "two-sided-short-edge"
                                                                : "one-sided";
  if (job.Duplex != QPrinter::DuplexAuto) count = cupsAddOption("sides", sides, count, &options);
  if (job.Grayscale) count = cupsAddOption("print-color-mode", "monochrome", count, &options);
  const QByteArray printer = job.Printer.toUtf8();
  const int id = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.constData(), QFile::encodeName(file.fileName()).constData(),
                                title.toUtf8().constData(), count, options);
  cupsFreeOptions(count, options);
  if (id == 0) reason = QString::fromUtf8(cupsLastErrorString());
  return id != 0;
}

} // namespace

TWebBrowser::TWebBrowser(QWidget* parent) : QWidget(parent), wb(new QWebEngineView(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(wb);
  wb->setContextMenuPolicy(Qt::CustomContextMenu);
  AskPdfFileName = [this](const QString& proposed) {
    return QFileDialog::getSaveFileName(window(), Q("Сохранить как PDF"), proposed, Q("Документы PDF (*.pdf)"));
  };
  AskPrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, window());
    return dialog.exec() == QDialog::Accepted;
  };
  ShowPreview = [](QPrintPreviewDialog& dialog) {
    dialog.resize(dialog.sizeHint().expandedTo(QSize(800, 700)));
    dialog.exec();
  };
  connect(wb->page(), &QWebEnginePage::linkHovered, this, &TWebBrowser::StatusTextChange);
  connect(wb, &QWebEngineView::titleChanged, this, &TWebBrowser::TitleChange);
  connect(wb, &QWebEngineView::loadFinished, this, &TWebBrowser::LoadFinished);
  connect(wb, &QWebEngineView::customContextMenuRequested, this, &TWebBrowser::wbContextMenu);
  // window.print() of a page prints as the menu does.
  connect(wb, &QWebEngineView::printRequested, this, &TWebBrowser::PrintPage);
}

QUrl TWebBrowser::ResolveAddress(const QString& text, const QString& helpDir) {
  static const QString helpPrefix = u"mk:@MSITStore:"_s;
  if (text.isEmpty()) return {};
  if (text.startsWith(helpPrefix, Qt::CaseInsensitive)) {
    const qsizetype sep = text.indexOf(u"::"_s, helpPrefix.size());
    QString page = sep < 0 ? QString() : text.mid(sep + 2);
    page.replace(u'\\', u'/');
    while (page.startsWith(u'/')) page.remove(0, 1);
    if (!QFileInfo(helpDir).isDir()) return {};
    QString fragment;
    if (const qsizetype hash = page.indexOf(u'#'); hash >= 0) {
      fragment = page.mid(hash + 1);
      page.truncate(hash);
    }
    QUrl url = QUrl::fromLocalFile(QDir::cleanPath(helpDir + page));
    if (!fragment.isEmpty()) url.setFragment(fragment);
    return url;
  }
  if (QDir::isAbsolutePath(text)) return QUrl::fromLocalFile(text);
  const QUrl url(text);
  if (url.isValid() && url.scheme().size() > 1) return url;
  return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

void TWebBrowser::Navigate(const std::string& url) {
  const QUrl target = ResolveAddress(QString::fromStdString(url), QString::fromStdString(HelpDir()));
  if (!target.isValid()) return;
  LastTarget = target;
  wb->load(target);
}

void TWebBrowser::NameDocument(const QString& name) {
  DocumentName = name;
  NamedUrl = LastTarget;
}

void TWebBrowser::GoBack() { wb->back(); }

void TWebBrowser::GoForward() { wb->forward(); }

void TWebBrowser::Refresh() { wb->reload(); }

void TWebBrowser::Stop() { wb->stop(); }

std::string TWebBrowser::LocationURL() const { return wb->url().toString().toStdString(); }

QString TWebBrowser::Title() const { return wb->title(); }

QPageLayout TWebBrowser::ReportPageLayout() {
  return {QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter};
}

QString TWebBrowser::ProposedPdfName(const QString& title) {
  QString name;
  for (const QChar c : title.simplified()) name += c.isPrint() && !u"/\\:*?\"<>|"_s.contains(c) ? c : QChar(u' ');
  name = name.simplified();
  while (name.startsWith(u'.')) name.remove(0, 1);
  name = name.left(120).trimmed();
  if (name.isEmpty()) name = u"Kelvano"_s;
  return name + u".pdf"_s;
}

QString TWebBrowser::DocumentTitle() const {
  const bool named = !DocumentName.isEmpty() && (NamedUrl.isEmpty() || wb->url() == NamedUrl);
  return named ? DocumentName : Title();
}

namespace {

// Puts the title line t at the top of the page, as a heading only print shows (an empty t takes it
// away again). The page keeps it: on screen it stays hidden.
const char* const PrintTitleScript = R"JS(
(function (t) {
  var id = 'print-title-line';
  var h = document.getElementById(id);
  if (!t) { if (h) h.remove(); return; }
  if (!document.body) return;
  if (!h) {
    var style = document.createElement('style');
    style.textContent = '#' + id + ' { display: none; } @media print { #' + id +
                        ' { display: block; margin: 0 0 0.6em 0; color: black; background: white; } }';
    (document.head || document.body).appendChild(style);
    h = document.createElement('h1');
    h.id = id;
    document.body.insertBefore(h, document.body.firstChild);
  }
  h.textContent = t;
})(%1[0])
)JS";

} // namespace

bool TWebBrowser::MakePdf(const QPageLayout& layout, const QPageRanges& ranges,
                          std::function<void(const QByteArray&)> done) {
  if (Busy) return false;
  Busy = true;
  const QPointer<TWebBrowser> self(this);
  const auto print = [self, layout, ranges, done] {
    if (!self) return;
    self->wb->printToPdf(
        [self, done](const QByteArray& pdf) {
          if (!self) return;
          self->Busy = false;
          done(pdf);
        },
        layout, ranges);
  };
  // The title line first, then the PDF of the page with it.
  const QString title = QString::fromUtf8(QJsonDocument(QJsonArray{PrintTitle}).toJson(QJsonDocument::Compact));
  wb->page()->runJavaScript(QString::fromUtf8(PrintTitleScript).arg(title), [print](const QVariant&) { print(); });
  return true;
}

int TWebBrowser::PaintPdfPages(const QString& pdfFile, QPrinter& printer) {
  QPdfDocument document;
  if (document.load(pdfFile) != QPdfDocument::Error::None || document.pageCount() <= 0) return -1;
  const int count = document.pageCount();
  // The pages of the PDF hold their margins: each goes on the whole sheet.
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return -1;
  // The preview keeps a picture of every page: 150 dots per inch are plenty on screen; paper gets 300.
  const bool preview = painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Picture;
  const qreal dpi = std::min(printer.resolution(), preview ? 150 : 300);
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const qreal mm = printer.resolution() / 25.4;
  QFont font(u"DejaVu Sans"_s);
  font.setPointSizeF(8);
  const QPageRanges ranges = printer.pageRanges();
  int painted = 0;
  for (int k = 0; k < count; ++k) {
    if (!ranges.isEmpty() && !ranges.contains(k + 1)) continue;
    if (painted > 0 && !printer.newPage()) break;
    const QSizeF points = document.pagePointSize(k);
    if (points.isEmpty()) continue;
    const QSizeF size = points.scaled(paper.size(), Qt::KeepAspectRatio);
    const QRectF target(QPointF((paper.width() - size.width()) / 2, (paper.height() - size.height()) / 2), size);
    const QImage rendered = document.render(k, (points * dpi / 72.0).toSize());
    // The page on white paper, without an alpha channel to carry into the print.
    QImage image(rendered.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter paper(&image);
      paper.drawImage(0, 0, rendered);
    }
    painter.drawImage(target, image);
    // The number in the bottom margin, under the middle of the text.
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF foot(target.left(), target.bottom() - 11 * mm, target.width(), 6 * mm);
    painter.drawText(foot, Qt::AlignCenter, Q(sPageNumber).arg(k + 1).arg(count));
    ++painted;
  }
  painter.end();
  return painted;
}

bool TWebBrowser::PreviewPage() {
  if (Busy || !ShowPreview) return false;
  const QPointer<TWebBrowser> self(this);
  return MakePdf(ReportPageLayout(), {}, [self](const QByteArray& pdf) {
    // The dialog runs once the engine's callback has returned.
    QTimer::singleShot(0, self, [self, pdf] {
      if (!self) return;
      QTemporaryFile file(QString::fromStdString(PrivateTempDir()) + u"preview-XXXXXX.pdf"_s);
      if (pdf.isEmpty() || !file.open() || file.write(pdf) != pdf.size() || !file.flush()) {
        ShowMessage(sError, "Не удалось подготовить страницы к просмотру печати.", TMsgIcon::Error);
        return;
      }
      QPrinter printer(QPrinter::HighResolution);
      printer.setDocName(self->DocumentTitle());
      printer.setPageLayout(ReportPageLayout());
      QPrintPreviewDialog dialog(&printer, self->window());
      dialog.setWindowTitle(Q("Просмотр печати — ") + self->DocumentTitle());
      const QString path = file.fileName();
      connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
              [path](QPrinter* target) { static_cast<void>(PaintPdfPages(path, *target)); });
      self->ShowPreview(dialog);
    });
  });
}

void TWebBrowser::LayOut(std::function<void(int height)> done) {
  const QPointer<TWebBrowser> self(this);
  // Reading a size of the layout makes the engine finish the layout first.
  wb->page()->runJavaScript(u"document.body ? document.body.scrollHeight : -1"_s,
                            [self, done = std::move(done)](const QVariant& height) {
                              if (self) done(height.isValid() ? height.toInt() : -1);
                            });
}

bool TWebBrowser::SavePdf(const QString& filePath, const QPageLayout& layout) {
  return MakePdf(layout, {},
                 [this, filePath](const QByteArray& pdf) { emit PdfSaved(filePath, WriteWhole(filePath, pdf)); });
}

void TWebBrowser::SavePdfAs() {
  if (Busy || !AskPdfFileName) return;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  QString path = AskPdfFileName(QDir(folder).filePath(ProposedPdfName(DocumentTitle())));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += u".pdf"_s;
  const QPointer<TWebBrowser> self(this);
  // One report of the outcome for this request only.
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = connect(this, &TWebBrowser::PdfSaved, this, [connection](const QString& file, bool success) {
    QObject::disconnect(*connection);
    if (!success)
      ShowMessage(sError, "Не удалось сохранить PDF-файл «" + QDir::toNativeSeparators(file).toStdString() + "».",
                  TMsgIcon::Error);
  });
  if (!SavePdf(path)) QObject::disconnect(*connection);
}

bool TWebBrowser::Print(QPrinter& printer) {
  QPageLayout layout = printer.pageLayout();
  // A layout without margins (a file printer's default) gets the margins of a saved PDF.
  if (layout.margins(QPageLayout::Millimeter).isNull()) {
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMargins(ReportPageLayout().margins());
  }
  const QPageRanges ranges = printer.pageRanges();
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    const QString file = printer.outputFileName();
    if (file.isEmpty()) return false;
    return MakePdf(layout, ranges, [this, file](const QByteArray& pdf) { emit PrintFinished(WriteWhole(file, pdf)); });
  }
  TPrintJob job;
  job.Printer = printer.printerName();
  job.Copies = std::max(printer.copyCount(), 1);
  job.Collate = printer.collateCopies();
  job.Duplex = printer.duplex();
  job.Grayscale = printer.colorMode() == QPrinter::GrayScale;
  const QString title = DocumentTitle();
  return MakePdf(layout, ranges, [this, job, title](const QByteArray& pdf) {
    QString reason;
    const bool sent = SendToPrinter(pdf, job, title, reason);
    if (!sent)
      ShowMessage(sError, "Не удалось отправить страницу на печать: " + reason.toStdString() + ".", TMsgIcon::Error);
    emit PrintFinished(sent);
  });
}

void TWebBrowser::PrintPage() {
  if (Busy || !AskPrinter) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(DocumentTitle());
  printer.setPageLayout(ReportPageLayout());
  if (!AskPrinter(printer)) return;
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
  const QString file = printer.outputFileName();
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = connect(this, &TWebBrowser::PrintFinished, this, [connection, toFile, file](bool success) {
    QObject::disconnect(*connection);
    if (!success && toFile)
      ShowMessage(sError, "Не удалось сохранить PDF-файл «" + QDir::toNativeSeparators(file).toStdString() + "».",
                  TMsgIcon::Error);
  });
  if (!Print(printer)) QObject::disconnect(*connection);
}

namespace {

// The simplex table at the point (x, y) of the view, tab-separated, one line per row; null when
// there is none. A large table is written as blocks of rows, each a table of its own under a copy
// of the heading line and the last one ending with the Z row: the blocks are joined again and the
// copies of the heading left out.
const char* const TableAtScript = R"JS(
(function (x, y) {
  var e = document.elementFromPoint(x, y);
  var t = e && e.closest ? e.closest('table.clsSimTbl') : null;
  if (!t) return null;
  var block = function (n) { return n && n.tagName === 'TABLE' && n.classList.contains('clsSimTbl'); };
  var ends = function (n) { var r = n.rows[n.rows.length - 1]; return r && r.cells[0] && r.cells[0].innerText.trim() === 'Z'; };
  while (block(t.previousElementSibling) && !ends(t.previousElementSibling)) t = t.previousElementSibling;
  var lines = [];
  for (var n = t, first = true; block(n); n = n.nextElementSibling, first = false) {
    for (var i = first ? 0 : 1; i < n.rows.length; ++i) {
      var cells = [];
      for (var c of n.rows[i].cells) cells.push(c.innerText.replace(/\s+/g, ' ').trim());
      lines.push(cells.join('\t'));
    }
    if (ends(n)) break;
  }
  return lines.join('\n') + '\n';
})(%1, %2)
)JS";

} // namespace

void TWebBrowser::TableTextAt(const QPoint& position, std::function<void(const QString& table)> done) {
  const qreal zoom = wb->zoomFactor() > 0 ? wb->zoomFactor() : 1.0;
  const QString script = QString::fromUtf8(TableAtScript).arg(position.x() / zoom).arg(position.y() / zoom);
  QPointer<TWebBrowser> alive(this);
  wb->page()->runJavaScript(script, [alive, done = std::move(done)](const QVariant& table) {
    if (alive) done(table.isNull() ? QString() : table.toString());
  });
}

void TWebBrowser::wbContextMenu(const QPoint& position) {
  const QWebEngineContextMenuRequest* request = wb->lastContextMenuRequest();
  const bool selected = request != nullptr && !request->selectedText().isEmpty();
  // The menu waits for the page to tell whether a simplex table is under the mouse.
  TableTextAt(position,
              [this, position, selected](const QString& table) { ShowContextMenu(position, selected, table); });
}

void TWebBrowser::ShowContextMenu(const QPoint& position, bool selected, const QString& table) {
  QMenu menu(this);
  QAction* copy = menu.addAction(Q("&Копировать"), this, [this] { wb->triggerPageAction(QWebEnginePage::Copy); });
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(selected);
  if (!table.isEmpty())
    menu.addAction(Q("Копировать &таблицу"), this, [table] { QGuiApplication::clipboard()->setText(table); });
  QAction* all = menu.addAction(Q("Выделить &всё"), this, [this] { wb->triggerPageAction(QWebEnginePage::SelectAll); });
  all->setShortcut(QKeySequence::SelectAll);
  menu.addSeparator();
  QAction* print = menu.addAction(Q("&Печать…"), this, &TWebBrowser::PrintPage);
  print->setShortcut(QKeySequence::Print);
  QAction* preview = menu.addAction(Q("Просмотр п&ечати…"), this, [this] { static_cast<void>(PreviewPage()); });
  menu.addAction(Q("Сохранить как P&DF…"), this, &TWebBrowser::SavePdfAs);
  for (QAction* action : menu.actions()) action->setShortcutVisibleInContextMenu(true);
  print->setEnabled(!Busy);
  preview->setEnabled(!Busy);
  menu.exec(wb->mapToGlobal(position));
}
