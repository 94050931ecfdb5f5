// The embedded HTML viewer: the one widget that wraps the web engine view.
#include "untWebViewer.h"

#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

TWebBrowser::TWebBrowser(QWidget* parent) : QWidget(parent), wb(new QWebEngineView(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(wb);
  connect(wb->page(), &QWebEnginePage::linkHovered, this, &TWebBrowser::StatusTextChange);
  connect(wb, &QWebEngineView::titleChanged, this, &TWebBrowser::TitleChange);
  connect(wb, &QWebEngineView::printFinished, this, &TWebBrowser::PrintFinished);
  connect(wb, &QWebEngineView::loadFinished, this, &TWebBrowser::LoadFinished);
}

void TWebBrowser::Print(QPrinter* printer) { wb->print(printer); }

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
  const QString helpDir = QString::fromStdString(ProgramDir()) + u"help/"_s;
  const QUrl target = ResolveAddress(QString::fromStdString(url), helpDir);
  if (target.isValid()) wb->load(target);
}

void TWebBrowser::GoBack() { wb->back(); }

void TWebBrowser::GoForward() { wb->forward(); }

void TWebBrowser::Refresh() { wb->reload(); }

void TWebBrowser::Stop() { wb->stop(); }

std::string TWebBrowser::LocationURL() const { return wb->url().toString().toStdString(); }
