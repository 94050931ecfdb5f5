// The frame of the steps that show a page: the viewer and its status panel.
#include "untStagePage.h"

#include "TaskCatalog.h"

#include <QResizeEvent>

using namespace Qt::StringLiterals;

namespace {

std::uint32_t Rgb(const QColor& color) { return static_cast<std::uint32_t>(color.rgb()) & 0xFFFFFFu; }

// How far the viewer reaches beyond each edge of the step.
constexpr int Overhang = 2;

} // namespace

TPageColors SystemPageColors(const QPalette& palette) {
  TPageColors colors;
  colors.ButtonText = Rgb(palette.color(QPalette::ButtonText));
  colors.ButtonFace = Rgb(palette.color(QPalette::Button));
  colors.WindowText = Rgb(palette.color(QPalette::WindowText));
  colors.Window = Rgb(palette.color(QPalette::Base));
  return colors;
}

TfrmStagePage::TfrmStagePage(QWidget* owner, std::uint8_t kind) : TZLPCore_SolutionStage(owner, kind) {
  wb = new TWebBrowser(this);
  Panel1 = new QLabel(this);
  Panel1->setFont(QFont(u"Tahoma"_s));
  Panel1->setAutoFillBackground(true);
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setIndent(4);
  Panel1->hide();
  FormResize();
  connect(wb, &TWebBrowser::StatusTextChange, this, &TfrmStagePage::wbStatusTextChange);
}

bool TfrmStagePage::IsStatusWorthShowing(const QString& text) {
  return !text.isEmpty() && text != u"Ready"_s && text != QString::fromUtf8("Готово") && text != u"Done"_s;
}

void TfrmStagePage::resizeEvent(QResizeEvent* event) {
  TZLPCore_SolutionStage::resizeEvent(event);
  FormResize();
}

void TfrmStagePage::FormResize() {
  wb->setGeometry(-Overhang, -Overhang, width() + 2 * Overhang, height() + 2 * Overhang);
  Panel1->setGeometry(0, 0, width(), Panel1->sizeHint().height());
}

void TfrmStagePage::wbStatusTextChange(const QString& text) {
  Panel1->setText(text);
  FormResize();
  const bool show = IsStatusWorthShowing(text);
  Panel1->setVisible(show);
  if (show) {
    Panel1->raise();
    Panel1->repaint();
  }
}

void TfrmStagePage::SetUpPage() {
  StageReport.Bare = true;
  StageReport.StyleMods = UsualPageStyle(SystemPageColors(palette()));
}

void TfrmStagePage::ShowPage() { StageReport.ShowIn(wb); }

TfrmStep_Page::TfrmStep_Page(QWidget* owner, std::uint8_t kind) : TfrmStagePage(owner, kind), Kind(kind) {}

void TfrmStep_Page::EnterStage(TStageHost& host) {
  TfrmStagePage::EnterStage(host);
  SetUpPage();
  const TStageInfo* info = FindStageInfo(Kind);
  FOutcome = info && info->Unit && info->Unit(StageData, StageReport, *info, host.RunTaskInfo());
  if (!FOutcome) host.EnableNext(false);
  ShowPage();
}

void TfrmStep_Page::LeaveForward(TStageHost& host) {
  TfrmStagePage::LeaveForward(host);
  CanLeave = FOutcome;
}
