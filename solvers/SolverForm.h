// The frame both standalone solver windows share: the header band, the strip of stages, the buttons,
// the help window, the stored problem they open with and saving a statement.
#pragma once

#include "SolverWindow.h"
#include "Statement.h"
#include "ZLPCore_SolutionStage.h"

#include <QDialog>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;
class THelpWindow;
class TUICore_AssistantInterface;

struct TSolverFormTexts {
  const char* Caption;  // the window's caption
  const char* Title;    // the header's title
  const char* Hint;     // the header's hint
  const char* Stage;    // the one entry of the strip of stages
  const char* HelpPage; // the page "Помощь" shows, under the help folder
};

class TSolverForm : public QDialog, public TSolverWindow, public TStatementInput {
  Q_OBJECT

public:
  TSolverForm(const TSolverContext& context, const TSolverFormTexts& texts);
  ~TSolverForm() override;

  int PendingTaskId = -1; // stored problem to open with, -1 for none

  QWidget* shDesignTop = nullptr;
  QLabel* lbTitle = nullptr;
  QLabel* lbHint = nullptr;
  QLabel* lbPanelTitle = nullptr; // "Этапы решения:"
  QLabel* lbStage = nullptr;
  QWidget* pContainer = nullptr; // the window's own controls
  QPushButton* btnHelp = nullptr;
  QPushButton* btnFile = nullptr; // the menu of the problem as a file
  QAction* actOpenFile = nullptr; // "Открыть задачу…", Ctrl+O
  QAction* actSaveFile = nullptr; // "Сохранить задачу как…", Ctrl+Shift+S

protected:
  // A button of the bottom row, after the help button and the stretch.
  QPushButton* AddButton(const char* name, const char* caption, const char* hint);
  // The statement of PendingTaskId, read once; empty when there is none or it cannot be read (the
  // reason is then shown).
  [[nodiscard]] std::optional<TStatementGrid> TakePendingStatement();
  // Asks for a name and stores the statement under it as a problem of its type; nothing when the
  // student cancels or there is no store. The store tells of the save and of its failures.
  void SaveStatement(const TStatementGrid& grid);

  // Takes a block of cells pasted (Ctrl+V) into view, as a spreadsheet copies it, from its current
  // cell on: each cell is set through the model, as typing sets it. A block that reaches past the
  // table asks GrowTable first; what still does not fit is left out.
  void AcceptBlocks(QTableView& view);
  // Grows the table to hold rows x columns cells when the student agrees; the default grows nothing.
  virtual void GrowTable(int rows, int columns);
  bool eventFilter(QObject* watched, QEvent* event) override;

protected slots:
  void btnHelpClick();

private:
  // Shows the problem of a file (asked for when path is empty); a file of another type is refused.
  void OpenFile(const QString& path);

private:
  TSolverContext Context;
  std::string HelpPage;
  std::unique_ptr<TUICore_AssistantInterface> Assistant;
  QPointer<THelpWindow> HelpWindow;
  QHBoxLayout* ButtonRow = nullptr;
  std::vector<QTableView*> BlockViews;
};
