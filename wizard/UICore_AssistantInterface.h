// The help assistant: opens a help window beside a form and shows a page of the help.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStatusBar>
#include <QWidget>

#include <string>

class TWebBrowser;
class TWebViewer;

// The help window: a viewer over a one-panel status bar; tells when it is closed.
class THelpWindow : public QWidget {
  Q_OBJECT

public:
  explicit THelpWindow(QWidget* owner);

  TWebBrowser* wb;
  QStatusBar* StatusBar1;

signals:
  void Closed();

protected:
  void closeEvent(QCloseEvent* event) override;

private slots:
  void wbStatusTextChange(const QString& text);
};

// Help for one form: the help window stands at the screen's left edge and the form is moved to
// its right; closing the help window centres the form again.
class TUICore_AssistantInterface : public QObject {
  Q_OBJECT

public:
  explicit TUICore_AssistantInterface(QWidget* ownerForm);

  QPointer<QWidget> OwnerForm;

  // Opens helpWindow (a new one when null) beside owner and shows page; returns the window to pass
  // next time. Without an owner it does nothing and returns helpWindow.
  THelpWindow* ShowHelp(QWidget* owner, THelpWindow* helpWindow, const std::string& page);
  // Points viewer at a page of the help, "help/steps/KFCheck.html" for instance; nothing when the
  // program's help folder is missing.
  static void NavigateHelp(TWebViewer& viewer, const std::string& page);

public slots:
  // Centres OwnerForm horizontally on its screen.
  void CenterOwner();
};
