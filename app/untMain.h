// The main window: problem types with their action lists, the help viewer, wizards and the store.
#pragma once

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "Statement.h"

#include <QMainWindow>
#include <QStringList>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class TDM;
class TProblemStore;
struct TTaskInfo;
class TfrmZLPWizard;
class TLoadForm;
class TSaveForm;
class TWebBrowser;

class TfrmMain : public QMainWindow {
  Q_OBJECT

public:
  // parameters: the command line without the program name; only "/speed=<ms>" is understood.
  explicit TfrmMain(QStringList parameters, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The problem store and its dialogs, created after the window at start-up. Any may be null: the
  // store actions then do nothing and wizards run without saving.
  void SetStore(TDM* store, TLoadForm* loadForm, TSaveForm* saveForm);

  // The delay of "/speed=<ms>" when parameters are exactly one such option; empty otherwise.
  [[nodiscard]] static std::optional<int> ParseSpeedOption(const QStringList& parameters);
  // Type folder of the help and theory pages: "/zlp" for 8 ... "/custom" for -1, "" otherwise.
  [[nodiscard]] static std::string TypeFolder(int taskType);
  // The store as the wizard and the solver windows see it; null without a store.
  [[nodiscard]] TProblemStore* ProblemStore() const { return StoreView.get(); }
  // Opens the problem of a file in its wizard or window (as a stored problem is opened); a file
  // with an error is refused with its line and field, and nothing is opened. False then.
  bool OpenProblemFile(const QString& path);
  // The problem last opened from a file or solved to its end, which "Сохранить задачу как…" writes.
  [[nodiscard]] const std::optional<TStatementGrid>& CurrentStatement() const { return LastStatement; }

  // Caption of the action of a code; "" for codes above 6.
  [[nodiscard]] static QString ActionCaption(int code);

  void AddAction(int code);
  void FillActions();
  void RunAction(int code);
  void HideGroup();
  void ShowGroup();
  // Opens a page of the help in WebBrowser1; nothing when the help is missing.
  void NavigateHelp(const std::string& page);
  // Action codes of the list items, in list order.
  [[nodiscard]] std::vector<int> ActionCodes() const;

  // How an address is handed to the desktop's default program, false when no program takes it;
  // tests replace it.
  std::function<bool(const QUrl&)> OpenExternal;
  // The default of OpenExternal: the desktop's opener, unless it is known to have no program for
  // the address.
  static bool OpenWithDesktop(const QUrl& url);
  // Called with every wizard after it is created and before it runs; tests drive it from here.
  std::function<void(TfrmZLPWizard&)> OnWizardCreated;

  int AnimationDelay = 15; // ms slept after each of the 10 frames of opening the action list
  TZLPCore_SolutionResult Report;
  TZLPCore_Interface Problem;
  std::string PreviewPath; // the last final report copy, ".../result_preview.html"
  int CurrentTaskType = 0; // 8 ... 104 of the checked button or a loaded problem; -1 type 255
  QListWidgetItem* SelectedItem = nullptr;
  TfrmZLPWizard* Wizard = nullptr;
  int PendingTaskId = -1; // stored problem the next wizard or solver window loads

  // Controls.
  QAction* N11 = nullptr;              // "База задач"
  QAction* OpenFileItem = nullptr;     // "Открыть задачу…", Ctrl+O
  QAction* SaveFileItem = nullptr;     // "Сохранить задачу как…", Ctrl+Shift+S
  QMenu* RecentMenu = nullptr;         // "Последние задачи"
  QAction* N5 = nullptr;               // "Открыть в новом окне"
  QAction* N2 = nullptr;               // "Печать ..."
  QAction* N4 = nullptr;               // "Сохранить как PDF…"
  QAction* SaveReportItem = nullptr;   // "Сохранить отчёт как HTML…", the last final report
  QAction* N3 = nullptr;               // "Выход"
  std::vector<QAction*> TaskMenuItems; // the menu "Задачи": one item per task type, catalog order
  QAction* N20 = nullptr;              // "Справочные материалы"
  QAction* N21 = nullptr;              // "Методические материалы"
  QAction* N19 = nullptr;              // "О программе..."
  QToolBar* ToolBar1 = nullptr;
  std::array<QAction*, 7> ToolButton{}; // ToolButton1 ... ToolButton6, ToolButton7 "Сохранить как PDF…"
  QAction* HelpKey = nullptr;           // F1
  QSplitter* Splitter1 = nullptr;
  QWidget* LeftColumn = nullptr;          // the column of types, the picture under it
  QWidget* Panel3 = nullptr;              // the column of radio buttons
  std::vector<QRadioButton*> RadioButton; // one per task type, catalog order
  QGroupBox* GroupBox1 = nullptr;         // frame of the action list under the checked button
  QWidget* Panel1 = nullptr;
  QListWidget* ListView1 = nullptr;
  QLabel* Image1 = nullptr; // picture at the bottom of the left column
  QLabel* Label1 = nullptr; // title of the page shown
  TWebBrowser* WebBrowser1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private slots:
  void N11Click();
  void OpenFileClick();
  void SaveFileClick();
  void N5Click();
  void N2Click();
  void N4Click();
  void HelpKeyPress();
  void N3Click();
  void N20Click();
  void N21Click();
  void N19Click();
  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton4Click();
  void ToolButton5Click();
  void ListView1SelectItem();
  void ListView1Click();
  void WebBrowser1StatusTextChange(const QString& text);
  void WebBrowser1TitleChange(const QString& text);

private:
  void FormCreate();
  void FormShow();
  void CreateMenus();
  void CreateToolBar();
  void CreateLeftColumn();
  void RadioButton1Click(QRadioButton* button);
  void Panel3Click();
  void CheckRadioButton(QRadioButton* button);
  void ResetRadioFont(QRadioButton* button);
  // The text colour of the checked type's button, standing out from the column's base colour.
  [[nodiscard]] QColor CheckedTypeColor() const;
  // Continues a load that returned id as code 6 does.
  void RunLoaded(int id);
  void RunWizard();
  // Opens the own window of a task type (the assignment problem, the regression).
  void RunSolverWindow(const TTaskInfo& task);
  // Writes the final report and shows it; false when it could not be written.
  bool ShowFinalReport();
  // Keeps the statement that "Сохранить задачу как…" writes.
  void NoteStatement(const TStatementGrid& grid);
  // The group box and the buttons below the checked one for a group box height h.
  void PlaceGroupFrame(int h, int checkedTop);
  void LayoutGroupWidth();
  void Pause(int ms);

  QStringList Parameters;
  TDM* Store = nullptr;
  std::unique_ptr<TProblemStore> StoreView;
  TLoadForm* LoadForm = nullptr;
  TSaveForm* SaveForm = nullptr;
  // The problem file the next wizard or window opens on (PendingTaskId is FileProblemId then).
  std::unique_ptr<TProblemStore> FileView;
  std::optional<TStatementGrid> LastStatement;
};
