// The frame of the steps that show a page: the viewer and its status panel.
#pragma once

#include "ZLPCore_Pages.h"
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
  explicit TfrmStagePage(QWidget* owner);

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
