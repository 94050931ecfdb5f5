// The help assistant: opens a help window beside a form and shows a page of the help.
#include "UICore_AssistantInterface.h"

#include "AppPaths.h"
#include "untWebViewer.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

int ScreenWidth(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().width() : 0;
}

} // namespace

THelpWindow::THelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), wb(new TWebBrowser(this)), StatusBar1(new QStatusBar(this)) {
  setWindowTitle(QString::fromUtf8("Помощь"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(wb, 1);
  layout->addWidget(StatusBar1);
  StatusBar1->setSizeGripEnabled(false);
  connect(wb, &TWebBrowser::StatusTextChange, this, &THelpWindow::wbStatusTextChange);
}

void THelpWindow::wbStatusTextChange(const QString& text) { StatusBar1->showMessage(text); }

void THelpWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit Closed();
}

TUICore_AssistantInterface::TUICore_AssistantInterface(QWidget* ownerForm) : OwnerForm(ownerForm) {}

THelpWindow* TUICore_AssistantInterface::ShowHelp(QWidget* owner, THelpWindow* helpWindow, const std::string& page) {
  if (!owner) return helpWindow;
  if (!helpWindow) {
    helpWindow = new THelpWindow(owner);
    connect(helpWindow, &THelpWindow::Closed, this, &TUICore_AssistantInterface::CenterOwner);
  }
  helpWindow->setWindowFlag(Qt::WindowStaysOnTopHint, true);

  const int screenWidth = ScreenWidth(*owner);
  const int helpWidth = std::max(screenWidth - owner->width(), 200);
  helpWindow->setGeometry(0, owner->y(), helpWidth, owner->height());
  int ownerLeft = helpWidth - 3;
  if (ownerLeft + owner->width() > screenWidth) ownerLeft = screenWidth - owner->width();
  owner->move(ownerLeft, owner->y());

  helpWindow->show();
  helpWindow->activateWindow();
  helpWindow->setFocus(Qt::OtherFocusReason);
  NavigateHelp(*helpWindow->wb, page);
  return helpWindow;
}

void TUICore_AssistantInterface::NavigateHelp(TWebViewer& viewer, const std::string& page) {
  const std::string programDir = ProgramDir();
  if (!QFileInfo(QString::fromStdString(HelpDir())).isDir()) return;
  std::string address = "mk:@MSITStore:" + programDir + "database.chm::/" + page;
  std::replace(address.begin() + static_cast<std::ptrdiff_t>(address.size() - page.size()), address.end(), '\\', '/');
  viewer.Navigate(address);
}

void TUICore_AssistantInterface::CenterOwner() {
  if (!OwnerForm) return;
  OwnerForm->move(ScreenWidth(*OwnerForm) / 2 - OwnerForm->width() / 2, OwnerForm->y());
}
