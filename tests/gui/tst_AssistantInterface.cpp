// Tests of the help assistant: where the help window and its owner stand, and which page it opens.
#include "AppPaths.h"
#include "UICore_AssistantInterface.h"
#include "WebViewer.h"
#include "untWebViewer.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

// Records the addresses it is sent to.
class TRecordingViewer final : public TWebViewer {
public:
  std::vector<std::string> Addresses;
  void Navigate(const std::string& url) override { Addresses.push_back(url); }
  void GoBack() override {}
  void GoForward() override {}
  void Refresh() override {}
  void Stop() override {}
  [[nodiscard]] std::string LocationURL() const override { return Addresses.empty() ? "" : Addresses.back(); }
};

int ScreenWidth() { return QGuiApplication::primaryScreen()->geometry().width(); }

} // namespace

class TestAssistantInterface : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void cleanup();
  void helpWindowBesideOwner_data();
  void helpWindowBesideOwner();
  void helpWindowIsReusedAndClosingCentresOwner();
  void noOwnerDoesNothing();
  void navigateHelpNeedsHelpFolder();
  void helpPageIsShown();
};

void TestAssistantInterface::initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }

void TestAssistantInterface::cleanup() { SetProgramDir(""); }

void TestAssistantInterface::helpWindowBesideOwner_data() {
  QTest::addColumn<int>("ownerWidth");
  // The design case is an owner 800 wide on a 1024-wide screen: help 224 wide, owner at 221.
  QTest::newRow("800 wide") << 800;
  QTest::newRow("wider than all but 100 pixels") << ScreenWidth() - 100;
  QTest::newRow("narrow") << 300;
}

void TestAssistantInterface::helpWindowBesideOwner() {
  QFETCH(int, ownerWidth);
  QWidget owner;
  owner.setGeometry(150, 60, ownerWidth, 400);
  owner.show();
  QVERIFY(QTest::qWaitForWindowExposed(&owner));
  TUICore_AssistantInterface assistant(&owner);
  THelpWindow* help = assistant.ShowHelp(&owner, nullptr, "help/steps/KFCheck.html");
  QVERIFY(help);
  QCOMPARE(help->parentWidget(), &owner);
  QVERIFY(help->isVisible());
  QVERIFY(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QCOMPARE(help->windowTitle(), QString::fromUtf8("Помощь"));

  const int screen = ScreenWidth();
  const int helpWidth = std::max(screen - ownerWidth, 200);
  const int ownerLeft = std::min(helpWidth - 3, screen - ownerWidth);
  QCOMPARE(help->geometry().x(), 0);
  QCOMPARE(help->width(), helpWidth);
  QCOMPARE(help->height(), owner.height());
  QCOMPARE(help->y(), owner.y());
  QCOMPARE(owner.x(), ownerLeft);
  if (screen == 1024 && ownerWidth == 800) {
    QCOMPARE(help->width(), 224);
    QCOMPARE(owner.x(), 221);
  }
}

void TestAssistantInterface::helpWindowIsReusedAndClosingCentresOwner() {
  QWidget owner;
  owner.setGeometry(10, 20, 500, 300);
  owner.show();
  QVERIFY(QTest::qWaitForWindowExposed(&owner));
  TUICore_AssistantInterface assistant(&owner);
  THelpWindow* help = assistant.ShowHelp(&owner, nullptr, "intro.html");
  QCOMPARE(assistant.ShowHelp(&owner, help, "about.html"), help);
  QCOMPARE(owner.findChildren<THelpWindow*>().size(), 1);

  help->close();
  QVERIFY(!help->isVisible());
  QCOMPARE(owner.x(), ScreenWidth() / 2 - owner.width() / 2);
}

void TestAssistantInterface::noOwnerDoesNothing() {
  TUICore_AssistantInterface assistant(nullptr);
  QCOMPARE(assistant.ShowHelp(nullptr, nullptr, "intro.html"), nullptr);
  QWidget other;
  THelpWindow existing(&other);
  QCOMPARE(assistant.ShowHelp(nullptr, &existing, "intro.html"), &existing);
  QVERIFY(!existing.isVisible());
  assistant.CenterOwner();
}

void TestAssistantInterface::navigateHelpNeedsHelpFolder() {
  QTemporaryDir dir;
  const std::string programDir = dir.path().toStdString() + "/";
  SetProgramDir(programDir);
  TRecordingViewer viewer;
  TUICore_AssistantInterface::NavigateHelp(viewer, "help/steps/KFCheck.html");
  QVERIFY(viewer.Addresses.empty());

  QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("help")));
  TUICore_AssistantInterface::NavigateHelp(viewer, "help\\steps\\KFCheck.html");
  QCOMPARE(viewer.Addresses.size(), std::size_t{1});
  QCOMPARE(viewer.Addresses[0], "mk:@MSITStore:" + programDir + "database.chm::/help/steps/KFCheck.html");
}

void TestAssistantInterface::helpPageIsShown() {
  QTemporaryDir dir;
  SetProgramDir(dir.path().toStdString() + "/");
  QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("help/help/steps")));
  QFile page(dir.filePath(QStringLiteral("help/help/steps/KFCheck.html")));
  QVERIFY(page.open(QIODevice::WriteOnly));
  page.write("<html><head><title>KF</title></head><body>KF</body></html>");
  page.close();

  QWidget owner;
  owner.resize(400, 300);
  owner.show();
  TUICore_AssistantInterface assistant(&owner);
  THelpWindow* help = assistant.ShowHelp(&owner, nullptr, "help/steps/KFCheck.html");
  QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(help->wb->LocationURL()),
                            QUrl::fromLocalFile(page.fileName()).toString(), 20000);
}

QTEST_MAIN(TestAssistantInterface)
#include "tst_AssistantInterface.moc"
