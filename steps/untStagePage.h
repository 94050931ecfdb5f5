// The frame of the steps that show a page: the viewer and its status panel.
#pragma once

#include "Pages.h"
#include "ZLPCore_SolutionStage.h"
#include "untWebViewer.h"

#include <QLabel>
#include <QPalette>

// The page colours of a palette: button text, button face, window text and the edit background.
[[nodiscard]] TPageColors SystemPageColors(const QPalette& palette);

// A step whose client area is one HTML page. The viewer wb is kept 2 pixels beyond every edge of
// the step, so that its border is never seen; Panel1 lies over the top of the page and shows the
// viewer's status text while there is one worth showing.
class TfrmStagePage : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStagePage(QWidget* owner, std::uint8_t kind = 0);

  TWebBrowser* wb;
  QLabel* Panel1;

  // Whether a status text is shown at all: not empty and none of "Ready", "Готово", "Done".
  [[nodiscard]] static bool IsStatusWorthShowing(const QString& text);
  [[nodiscard]] TWebBrowser* PageViewer() override { return wb; }

protected:
  void resizeEvent(QResizeEvent* event) override; // FormResize
  // A bare page in the usual colours, started afresh.
  void SetUpPage();
  void ShowPage();

private slots:
  void wbStatusTextChange(const QString& text);

private:
  void FormResize();
};

// The page step of every kind whose work needs no widget (model, canonical form, substitution,
// back substitution, the Kuhn-Tucker reduction; each has its thin class, untStep_ZLPCheck, ...,
// and a page kind without one is shown by this class itself): on entry it runs the kind's unit on its own copy
// of the container and shows the section the unit wrote; it can be left forward only when the unit
// let the solution go on.
class TfrmStep_Page : public TfrmStagePage {
  Q_OBJECT

public:
  TfrmStep_Page(QWidget* owner, std::uint8_t kind);

  void EnterStage(TStageHost& host) override;
  void LeaveForward(TStageHost& host) override;

  // Whether the last entry's unit let the solution go on.
  [[nodiscard]] bool Outcome() const noexcept { return FOutcome; }

private:
  std::uint8_t Kind;
  bool FOutcome = false;
};
