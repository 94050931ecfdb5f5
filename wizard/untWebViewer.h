// The embedded HTML viewer: the one widget that wraps the web engine view.
#pragma once

#include "WebViewer.h"

#include <QUrl>
#include <QWidget>

#include <string>

class QPrinter;
class QWebEngineView;

// Shows generated report pages, help pages and addresses. Addresses into the compiled help file,
// "mk:@MSITStore:<file>::/<page>", are served from the folder "help/" beside the program, with
// every "\" of the page turned into "/"; without that folder they open nothing.
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

  // What Navigate opens for a text: a help address becomes a file under helpDir (with a trailing
  // '/'), a local path a file URL, anything with a scheme stays as it is. Empty when the help
  // folder is missing or the text is empty.
  [[nodiscard]] static QUrl ResolveAddress(const QString& text, const QString& helpDir);

  // Prints the page shown; the printer must live until PrintFinished.
  void Print(QPrinter* printer);

signals:
  void PrintFinished(bool success);
  // A page has been loaded (or failed to load).
  void LoadFinished(bool success);
  // The address under the mouse, or "" when the mouse leaves a link.
  void StatusTextChange(const QString& text);
  void TitleChange(const QString& text);

private:
  QWebEngineView* wb;
};
