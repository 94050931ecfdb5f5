// The main window: problem types with their action lists, the help viewer, wizards and the store.
#include "untMain.h"

#include "DataMod.h"
#include "MessageSeam.h"
#include "QtHelpers.h"
#include "ProblemFile.h"
#include "SolverWindow.h"
#include "StatementStore.h"
#include "TaskCatalog.h"
#include "UICore_AssistantInterface.h"
#include "ZLPCore_SolutionStage.h"
#include "untLoad.h"
#include "untSave.h"
#include "untStrConst.h"
#include "untWebViewer.h"
#include "untZLPWizard.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int RadioHeight = 16;
constexpr int RadioLeft = 6;

// The task type of radio button i; it is also the button's home top in the column, in pixels.
int RadioTag(std::size_t i) { return TaskCatalog()[i].Code; }

const char* const sWizardError = "(!) Ошибка создания мастера, возможно недостаточно памяти";

// A window's own action (TA_ASSIGNMENT_WINDOW, ...): the catalog row whose window it opens.
bool IsWindowAction(int code) {
  return code >= 0 && code < TT_NONE && FindTaskOfWindowAction(static_cast<std::uint8_t>(code)) != nullptr;
}

QIcon ActionIcon(const QStyle& style, int code) {
  if (IsWindowAction(code)) return style.standardIcon(QStyle::SP_DialogApplyButton);
  switch (code) {
  case 0: return style.standardIcon(QStyle::SP_MediaPlay);
  case 1:
  case 2: return style.standardIcon(QStyle::SP_DialogApplyButton);
  case 3: return style.standardIcon(QStyle::SP_DialogHelpButton);
  case 4: return style.standardIcon(QStyle::SP_FileDialogContentsView);
  case 5: return style.standardIcon(QStyle::SP_DialogCancelButton);
  default: return style.standardIcon(QStyle::SP_DialogOpenButton);
  }
}

// The decorative picture at the bottom of the left column: a feasible region and a level line.
QPixmap DrawColumnPicture(const QColor& background) {
  QPixmap pixmap(170, 96);
  pixmap.fill(background);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.drawLine(14, 84, 160, 84);
  p.drawLine(14, 84, 14, 8);
  QPainterPath region;
  region.moveTo(14, 84);
  region.lineTo(14, 36);
  region.lineTo(70, 24);
  region.lineTo(118, 50);
  region.lineTo(134, 84);
  region.closeSubpath();
  p.fillPath(region, QColor(210, 222, 240));
  p.setPen(QPen(QColor(0, 0, 128), 1.5));
  p.drawPath(region);
  p.setPen(QPen(QColor(180, 40, 40), 1.5, Qt::DashLine));
  p.drawLine(40, 8, 150, 60);
  p.setBrush(QColor(180, 40, 40));
  p.drawEllipse(QPointF(118, 50), 3.5, 3.5);
  return pixmap;
}

} // namespace

TfrmMain::TfrmMain(QStringList parameters, QWidget* parent)
    : QMainWindow(parent), OpenExternal(&TfrmMain::OpenWithDesktop), Parameters(std::move(parameters)) {
  CreateMenus();
  CreateToolBar();

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  CreateLeftColumn();

  auto* right = new QWidget(Splitter1);
  auto* strip = new QWidget(right);
  strip->setObjectName(QStringLiteral("Panel2"));
  strip->setAttribute(Qt::WA_StyledBackground);
  strip->setStyleSheet(QStringLiteral("#Panel2 { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                                      "stop:0 #000080, stop:1 #3a6ea5); }"));
  auto* stripIcon = new QLabel(strip);
  stripIcon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogInfoView).pixmap(24, 24));
  Label1 = new QLabel(strip);
  Label1->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
  Label1->setTextFormat(Qt::PlainText);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(8, 6, 8, 6);
  stripLayout->addWidget(stripIcon);
  stripLayout->addWidget(Label1, 1);
  WebBrowser1 = new TWebBrowser(right);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->setSpacing(0);
  rightLayout->addWidget(strip);
  rightLayout->addWidget(WebBrowser1, 1);

  Splitter1->addWidget(right);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({190, 710});
  Splitter1->setChildrenCollapsible(false);
  setCentralWidget(Splitter1);

  StatusBar1 = new QStatusBar(this);
  setStatusBar(StatusBar1);

  setMinimumSize(215, 300);
  resize(900, 640);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  FormCreate();
  // A problem file dropped anywhere on the window opens, the viewer included.
  setAcceptDrops(true);
  WebBrowser1->setAcceptDrops(false);

  connect(N11, &QAction::triggered, this, &TfrmMain::N11Click);
  connect(OpenFileItem, &QAction::triggered, this, &TfrmMain::OpenFileClick);
  // The last final report as a page of its own, to keep or to mail.
  connect(SaveReportItem, &QAction::triggered, this, [this] { static_cast<void>(SaveReportAs(this, Report)); });
  connect(SaveFileItem, &QAction::triggered, this, &TfrmMain::SaveFileClick);
  connect(N5, &QAction::triggered, this, &TfrmMain::N5Click);
  connect(N2, &QAction::triggered, this, &TfrmMain::N2Click);
  connect(N4, &QAction::triggered, this, &TfrmMain::N4Click);
  connect(HelpKey, &QAction::triggered, this, &TfrmMain::HelpKeyPress);
  connect(N3, &QAction::triggered, this, &TfrmMain::N3Click);
  for (std::size_t i = 0; i < TaskMenuItems.size(); ++i)
    connect(TaskMenuItems[i], &QAction::triggered, this, [this, i] { CheckRadioButton(RadioButton[i]); });
  connect(N20, &QAction::triggered, this, &TfrmMain::N20Click);
  connect(N21, &QAction::triggered, this, &TfrmMain::N21Click);
  connect(N19, &QAction::triggered, this, &TfrmMain::N19Click);
  connect(ToolButton[0], &QAction::triggered, this, &TfrmMain::ToolButton1Click);
  connect(ToolButton[1], &QAction::triggered, this, &TfrmMain::ToolButton2Click);
  connect(ToolButton[2], &QAction::triggered, this, &TfrmMain::ToolButton3Click);
  connect(ToolButton[3], &QAction::triggered, this, &TfrmMain::ToolButton4Click);
  connect(ToolButton[4], &QAction::triggered, this, &TfrmMain::ToolButton5Click);
  connect(ToolButton[5], &QAction::triggered, this, &TfrmMain::N2Click);
  connect(ToolButton[6], &QAction::triggered, this, &TfrmMain::N4Click);
  for (QRadioButton* button : RadioButton)
    connect(button, &QRadioButton::toggled, this, [this, button](bool checked) {
      if (checked) RadioButton1Click(button);
    });
  connect(ListView1, &QListWidget::itemSelectionChanged, this, &TfrmMain::ListView1SelectItem);
  connect(ListView1, &QListWidget::itemClicked, this, &TfrmMain::ListView1Click);
  connect(WebBrowser1, &TWebBrowser::StatusTextChange, this, &TfrmMain::WebBrowser1StatusTextChange);
  connect(WebBrowser1, &TWebBrowser::TitleChange, this, &TfrmMain::WebBrowser1TitleChange);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::SetStore(TDM* store, TLoadForm* loadForm, TSaveForm* saveForm) {
  Store = store;
  StoreView = store ? std::make_unique<TDMProblemStore>(*store) : nullptr;
  LoadForm = loadForm;
  SaveForm = saveForm;
}

void TfrmMain::CreateMenus() {
  QMenuBar* bar = menuBar();
  // "&" marks the letter that opens a menu with Alt or chooses an item in an open one.
  QMenu* file = bar->addMenu(QStringLiteral("&Файл"));
  OpenFileItem = file->addAction(QStringLiteral("Открыть &задачу…"));
  OpenFileItem->setShortcut(QKeySequence::Open);
  SaveFileItem = file->addAction(QStringLiteral("Сохранить задачу &как…"));
  SaveFileItem->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  SaveFileItem->setEnabled(false);
  RecentMenu = file->addMenu(QStringLiteral("Последние за&дачи"));
  connect(RecentMenu, &QMenu::aboutToShow, this,
          [this] { FillRecentMenu(*RecentMenu, [this](const QString& path) { OpenProblemFile(path); }); });
  FillRecentMenu(*RecentMenu, [this](const QString& path) { OpenProblemFile(path); });
  file->addSeparator();
  N11 = file->addAction(QStringLiteral("&База задач"));
  file->addSeparator();
  N5 = file->addAction(QStringLiteral("&Открыть в новом окне"));
  file->addSeparator();
  N2 = file->addAction(QStringLiteral("&Печать ..."));
  N2->setShortcut(QKeySequence::Print);
  N4 = file->addAction(QStringLiteral("&Сохранить как PDF…"));
  N4->setShortcut(QKeySequence::Save);
  SaveReportItem = file->addAction(QStringLiteral("Сохранить отчёт как &HTML…"));
  SaveReportItem->setEnabled(false);
  file->addSeparator();
  N3 = file->addAction(QStringLiteral("В&ыход"));
  N3->setShortcut(QKeySequence::Quit);

  QMenu* tasks = bar->addMenu(QStringLiteral("&Задачи"));
  for (const TTaskInfo& task : TaskCatalog()) {
    if (task.MenuGroupStart) tasks->addSeparator();
    TaskMenuItems.push_back(tasks->addAction(Q(task.MenuCaption)));
  }

  QMenu* help = bar->addMenu(QStringLiteral("&Справка"));
  N20 = help->addAction(QStringLiteral("&Справочные материалы"));
  N21 = help->addAction(QStringLiteral("&Методические материалы"));
  help->addSeparator();
  N19 = help->addAction(QStringLiteral("&О программе..."));

  // F1: the help of what the window shows, the chosen problem type or else the help index.
  HelpKey = new QAction(this);
  HelpKey->setShortcut(QKeySequence::HelpContents);
  addAction(HelpKey);
}

void TfrmMain::CreateToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setIconSize(QSize(20, 20));
  const QStyle& s = *style();
  const auto add = [this](int index, const QIcon& icon, const char* hint, QKeySequence keys = {}) {
    QAction* action = ToolBar1->addAction(icon, Q(hint));
    action->setShortcut(keys);
    // The tooltip names the keys too: "Назад (Alt+Влево)".
    const QString shortcut = keys.toString(QKeySequence::NativeText);
    action->setToolTip(shortcut.isEmpty() ? Q(hint) : Q(hint) + u" ("_s + shortcut + u')');
    action->setStatusTip(Q(hint));
    ToolButton[static_cast<std::size_t>(index)] = action;
  };
  add(0, s.standardIcon(QStyle::SP_ArrowBack), "Назад", QKeySequence(Qt::ALT | Qt::Key_Left));
  add(1, s.standardIcon(QStyle::SP_ArrowForward), "Вперёд", QKeySequence(Qt::ALT | Qt::Key_Right));
  ToolBar1->addSeparator();
  add(2, s.standardIcon(QStyle::SP_DirHomeIcon), "Домой");
  ToolBar1->addSeparator();
  add(3, s.standardIcon(QStyle::SP_BrowserStop), "Остановить");
  add(4, s.standardIcon(QStyle::SP_BrowserReload), "Обновить");
  ToolBar1->addSeparator();
  // Printing and saving keep their keys on the menu items; the buttons only name them.
  add(5, QIcon::fromTheme(QStringLiteral("document-print"), s.standardIcon(QStyle::SP_DriveFDIcon)), "Печать...");
  add(6, QIcon::fromTheme(QStringLiteral("document-save-as"), s.standardIcon(QStyle::SP_DialogSaveButton)),
      "Сохранить как PDF…");
  for (const auto& [button, item] : {std::pair{ToolButton[5], N2}, std::pair{ToolButton[6], N4}})
    button->setToolTip(button->statusTip() + u" ("_s + item->shortcut().toString(QKeySequence::NativeText) + u')');
}

void TfrmMain::CreateLeftColumn() {
  // The column is drawn as a list is, in the palette's base colour (white in a light palette), and
  // its buttons write in the text colour that goes with it.
  auto* column = new QWidget(Splitter1);
  column->setObjectName(u"LeftColumn"_s);
  column->setMinimumWidth(150);
  column->setAutoFillBackground(true);
  column->setBackgroundRole(QPalette::Base);
  column->setForegroundRole(QPalette::Text);
  LeftColumn = column;

  Panel3 = new QWidget(column);
  QFont small = Panel3->font();
  small.setPixelSize(11);
  Panel3->setFont(small);
  Panel3->setMinimumHeight(30 + 16 * static_cast<int>(TaskCatalog().size()));

  GroupBox1 = new QGroupBox(Panel3);
  GroupBox1->hide();
  Panel1 = new QWidget(GroupBox1);
  Panel1->hide();
  ListView1 = new QListWidget(Panel1);
  ListView1->setViewMode(QListView::IconMode);
  ListView1->setMovement(QListView::Static);
  ListView1->setResizeMode(QListView::Adjust);
  ListView1->setWrapping(true);
  ListView1->setIconSize(QSize(32, 32));
  ListView1->setGridSize(QSize(78, 62));
  ListView1->setWordWrap(true);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setMouseTracking(true);
  ListView1->viewport()->setCursor(Qt::PointingHandCursor);
  ListView1->setFrameShape(QFrame::NoFrame);
  auto* listLayout = new QVBoxLayout(Panel1);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addWidget(ListView1);

  for (std::size_t i = 0; i < TaskCatalog().size(); ++i) {
    auto* button = new QRadioButton(Q(TaskCatalog()[i].ListCaption), Panel3);
    button->setGeometry(RadioLeft, RadioTag(i), 160, RadioHeight);
    button->setCursor(Qt::PointingHandCursor);
    RadioButton.push_back(button);
    ResetRadioFont(button);
  }

  Image1 = new QLabel(column);
  Image1->setPixmap(DrawColumnPicture(palette().color(QPalette::Base)));
  Image1->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel3, 1);
  layout->addWidget(Image1);
  Splitter1->addWidget(column);

  Panel3->installEventFilter(this);
  Image1->installEventFilter(this);
  ListView1->installEventFilter(this);
}

void TfrmMain::FormCreate() {
  setWindowTitle(Q(sAppTitle));
  AnimationDelay = 15;
  PendingTaskId = -1;
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmMain::FormShow() {
  NavigateHelp("intro.html");
  if (const std::optional<int> delay = ParseSpeedOption(Parameters)) AnimationDelay = *delay;
}

std::optional<int> TfrmMain::ParseSpeedOption(const QStringList& parameters) {
  if (parameters.size() != 1 || !parameters.front().contains(QStringLiteral("/speed="))) return std::nullopt;
  bool ok = false;
  const int delay = parameters.front().mid(7).toInt(&ok);
  if (!ok) return std::nullopt;
  return delay;
}

std::string TfrmMain::TypeFolder(int taskType) {
  if (taskType == -1) return "/custom";
  if (taskType < 0 || taskType == TT_NONE) return {};
  const TTaskInfo* task = FindTaskInfo(static_cast<std::uint8_t>(taskType));
  return task ? std::string("/") + task->HelpFolder : std::string();
}

QString TfrmMain::ActionCaption(int code) {
  if (IsWindowAction(code)) return Q(sSolution);
  switch (code) {
  case 0: return Q(sWizardTitle);
  case 1:
  case 2: return Q(sSolution);
  case 3: return Q(sHelp);
  case 4: return Q(sMethod);
  case 5: return Q(sNone);
  case 6: return Q(sLoadFromBase);
  default: return {};
  }
}

void TfrmMain::NavigateHelp(const std::string& page) { TUICore_AssistantInterface::NavigateHelp(*WebBrowser1, page); }

void TfrmMain::AddAction(int code) {
  if (code < 0 || (code > TA_LOAD && !IsWindowAction(code))) return;
  auto* item = new QListWidgetItem(ActionIcon(*style(), code), ActionCaption(code), ListView1);
  item->setData(Qt::UserRole, code);
  item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void TfrmMain::FillActions() {
  {
    const QSignalBlocker blocker(ListView1);
    ListView1->clear();
  }
  SelectedItem = nullptr;
  std::vector<int> codes = {TA_NONE};
  if (CurrentTaskType == -1) {
    codes = {TA_WIZARD, TA_HELP};
  } else if (CurrentTaskType > 0 && CurrentTaskType < TT_NONE) {
    if (const TTaskInfo* task = FindTaskInfo(static_cast<std::uint8_t>(CurrentTaskType)))
      codes.assign(task->Actions.begin(), task->Actions.end());
  }
  for (const int code : codes) AddAction(code);
}

std::vector<int> TfrmMain::ActionCodes() const {
  std::vector<int> codes;
  for (int i = 0; i < ListView1->count(); ++i) codes.push_back(ListView1->item(i)->data(Qt::UserRole).toInt());
  return codes;
}

// The text of a button in the column: the palette's text colour, the one drawn on its base colour.
void TfrmMain::ResetRadioFont(QRadioButton* button) {
  QFont font = Panel3->font();
  button->setFont(font);
  QPalette palette = button->palette();
  palette.setColor(QPalette::WindowText, this->palette().color(QPalette::Text));
  button->setPalette(palette);
}

QColor TfrmMain::CheckedTypeColor() const {
  // Navy on a light base; on a dark one the palette's link colour, or its text colour when the link
  // colour would not stand out.
  const QPalette& p = palette();
  const QColor base = p.color(QPalette::Base);
  if (base.lightness() >= 128) return {0, 0, 128};
  const QColor link = p.color(QPalette::Link);
  return std::abs(link.lightness() - base.lightness()) >= 96 ? link : p.color(QPalette::Text);
}

void TfrmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::PaletteChange || Image1 == nullptr) return;
  // A new palette (a desktop theme switched while the program runs) reaches the column too.
  Image1->setPixmap(DrawColumnPicture(palette().color(QPalette::Base)));
  for (QRadioButton* button : RadioButton) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::WindowText,
                     button->isChecked() ? CheckedTypeColor() : this->palette().color(QPalette::Text));
    button->setPalette(palette);
  }
}

void TfrmMain::RadioButton1Click(QRadioButton* button) {
  for (QRadioButton* other : RadioButton) ResetRadioFont(other);
  QFont bold = Panel3->font();
  bold.setBold(true);
  button->setFont(bold);
  QPalette palette = button->palette();
  palette.setColor(QPalette::WindowText, CheckedTypeColor());
  button->setPalette(palette);

  HideGroup();
  // Tab goes from the chosen type into its actions.
  QWidget::setTabOrder(button, ListView1);
  const auto index =
      static_cast<std::size_t>(std::find(RadioButton.begin(), RadioButton.end(), button) - RadioButton.begin());
  if (index < RadioButton.size()) CurrentTaskType = RadioTag(index);
  FillActions();
  ShowGroup();
}

void TfrmMain::CheckRadioButton(QRadioButton* button) {
  if (!button->isChecked()) button->setChecked(true);
}

void TfrmMain::Panel3Click() {
  HideGroup();
  for (QRadioButton* button : RadioButton) {
    const QSignalBlocker blocker(button);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
    ResetRadioFont(button);
  }
}

void TfrmMain::Pause(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void TfrmMain::PlaceGroupFrame(int h, int checkedTop) {
  GroupBox1->setGeometry(0, checkedTop, Panel3->width(), h);
  Panel1->setGeometry(4, RadioHeight + 2, std::max(Panel3->width() - 8, 0), std::max(h - RadioHeight - 6, 0));
  for (std::size_t i = 0; i < RadioButton.size(); ++i) {
    QRadioButton* button = RadioButton[i];
    if (button->y() > checkedTop) button->move(RadioLeft, h + RadioTag(i) - 13);
  }
}

void TfrmMain::ShowGroup() {
  const int a = 30 + 16 * static_cast<int>(RadioButton.size());
  const auto checked = std::find_if(RadioButton.begin(), RadioButton.end(),
                                    [](const QRadioButton* button) { return button->isChecked(); });
  if (checked == RadioButton.end()) return;
  const int top = (*checked)->y();
  if (!GroupBox1->isHidden()) {
    if (GroupBox1->y() == top) return;
    HideGroup();
  }
  GroupBox1->setGeometry(0, top, Panel3->width(), 0);
  GroupBox1->show();
  for (QRadioButton* button : RadioButton) button->raise();
  const double x = std::max((Panel3->height() - a) / 10.0, 10.0);
  for (int i = 1; i <= 10; ++i) {
    PlaceGroupFrame(static_cast<int>(std::lround(i * x)), top);
    Panel3->repaint();
    Pause(AnimationDelay);
  }
  Panel1->show();
}

void TfrmMain::HideGroup() {
  if (GroupBox1->isHidden()) return;
  Panel1->hide();
  const int height = GroupBox1->height();
  const int top = GroupBox1->y();
  for (int i = 1; i <= 10; ++i) {
    const int h = static_cast<int>(std::lround(height - i * height / 10.0));
    GroupBox1->resize(GroupBox1->width(), h);
    for (std::size_t k = 0; k < RadioButton.size(); ++k) {
      QRadioButton* button = RadioButton[k];
      if (button->y() > top) button->move(RadioLeft, h + RadioTag(k));
    }
    Panel3->repaint();
    if (AnimationDelay > 0) Pause(AnimationDelay / 2);
  }
  GroupBox1->hide();
}

void TfrmMain::LayoutGroupWidth() {
  for (QRadioButton* button : RadioButton) button->resize(std::max(Panel3->width() - 2 * RadioLeft, 0), RadioHeight);
  if (GroupBox1->isHidden() || Panel1->isHidden()) return;
  // A settled list follows the column's size as if it had just been opened.
  const int a = 30 + 16 * static_cast<int>(RadioButton.size());
  const double x = std::max((Panel3->height() - a) / 10.0, 10.0);
  PlaceGroupFrame(static_cast<int>(std::lround(10 * x)), GroupBox1->y());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1 && event->type() == QEvent::KeyPress) {
    // Enter and Space start the action under the keyboard's cursor, as a click does.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      if (QListWidgetItem* item = ListView1->currentItem()) item->setSelected(true);
      ListView1Click();
      return true;
    }
  } else if (watched == Panel3 && event->type() == QEvent::Resize) {
    LayoutGroupWidth();
  } else if ((watched == Panel3 || watched == Image1) && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // Clicks that children did not take arrive here too; only the free area counts.
    if (mouse->button() == Qt::LeftButton &&
        (watched == Image1 || Panel3->childAt(mouse->position().toPoint()) == nullptr)) {
      Panel3Click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::ListView1SelectItem() {
  const QList<QListWidgetItem*> selected = ListView1->selectedItems();
  SelectedItem = selected.isEmpty() ? nullptr : selected.front();
}

void TfrmMain::ListView1Click() {
  if (SelectedItem == nullptr) return;
  const QString caption = SelectedItem->text();
  int code = -1;
  if (caption == Q(sWizardTitle))
    code = 0;
  else if (caption == Q(sNone))
    code = 5;
  else if (caption == Q(sLoadFromBase))
    code = 6;
  else if (caption == Q(sHelp))
    code = 3;
  else if (caption == Q(sMethod))
    code = 4;
  else if (caption == Q(sSolution))
    if (const TTaskInfo* task = FindTaskInfo(static_cast<std::uint8_t>(CurrentTaskType & 0xFF)))
      code = task->WindowAction();
  if (code >= 0) RunAction(code);
}

void TfrmMain::RunAction(int code) {
  switch (code) {
  case 0: RunWizard(); break;
  case 3: NavigateHelp("help" + TypeFolder(CurrentTaskType) + "/index.html"); break;
  case 4: NavigateHelp("math" + TypeFolder(CurrentTaskType) + "/index.html"); break;
  case 6:
    if (LoadForm != nullptr) RunLoaded(LoadForm->ChooseProblem(static_cast<std::uint8_t>(CurrentTaskType & 0xFF)));
    break;
  default:
    // The own window of a task type (the assignment problem, the regression); 5 does nothing.
    if (const TTaskInfo* task = FindTaskOfWindowAction(static_cast<std::uint8_t>(code))) RunSolverWindow(*task);
    break;
  }
}

void TfrmMain::RunSolverWindow(const TTaskInfo& task) {
  const int pending = std::exchange(PendingTaskId, -1);
  const std::unique_ptr<TProblemStore> fileView = std::move(FileView);
  TSolverContext context;
  context.Parent = this;
  context.Store = pending == FileProblemId ? fileView.get() : ProblemStore();
  if (SaveForm != nullptr) context.AskSaveName = [this](std::uint8_t taskType) { return SaveForm->AskName(taskType); };
  std::unique_ptr<TSolverWindow> window = CreateSolverWindow(task.Code, context);
  if (!window) return;
  const std::string previous = WebBrowser1->LocationURL();
  NavigateHelp(task.WaitPage);
  if (window->Execute(pending, Report)) {
    if (auto* input = dynamic_cast<TStatementInput*>(window.get())) NoteStatement(input->TypedStatement(task.Code));
    // The report of a stored problem is saved as a PDF under the problem's name.
    if (ShowFinalReport() && pending != -1 && context.Store != nullptr)
      if (const std::string name = context.Store->ProblemName(pending); !name.empty())
        WebBrowser1->NameDocument(Q(name));
  } else
    WebBrowser1->Navigate(previous);
}

void TfrmMain::RunLoaded(int id) {
  if (id == 0 || LoadForm == nullptr) return;
  PendingTaskId = id;
  const std::uint8_t type = LoadForm->ChosenType;
  const TTaskInfo* task = FindTaskInfo(type);
  if (task && !task->HasWizard()) {
    RunAction(task->WindowAction());
  } else {
    CurrentTaskType = static_cast<std::int8_t>(type);
    RunAction(TA_WIZARD);
  }
}

void TfrmMain::RunWizard() {
  const std::string previous = WebBrowser1->LocationURL();
  const TTaskInfo* task = FindTaskInfo(static_cast<std::uint8_t>(CurrentTaskType & 0xFF));
  NavigateHelp(task ? task->WaitPage : "w.html");
  const auto fail = [this, &previous] {
    StatusBar1->showMessage(Q(sWizardError));
    StatusBar1->repaint();
    Pause(1000);
    WebBrowser1->Navigate(previous);
  };

  std::unique_ptr<TfrmZLPWizard> wizard;
  std::unique_ptr<TUICore_AssistantInterface> assistant;
  const std::unique_ptr<TProblemStore> fileView = std::move(FileView);
  try {
    wizard = std::make_unique<TfrmZLPWizard>(PendingTaskId == FileProblemId ? fileView.get() : ProblemStore(), this);
    assistant = std::make_unique<TUICore_AssistantInterface>(wizard.get());
  } catch (const std::exception&) {
    fail();
    return;
  }
  Wizard = wizard.get();
  Wizard->PendingTaskId = PendingTaskId;
  PendingTaskId = -1;
  if (SaveForm != nullptr) Wizard->AskSaveName = [this](std::uint8_t taskType) { return SaveForm->AskName(taskType); };
  if (OnWizardCreated) OnWizardCreated(*Wizard);

  try {
    const int result =
        Wizard->Execute(static_cast<std::uint8_t>(CurrentTaskType & 0xFF), assistant.get(), &Report, &Problem, true);
    if (result == TfrmZLPWizard::mrFinished) {
      // Every step passes the statement on, the parts typed on later steps included.
      if (!Wizard->StageOutputs.empty()) NoteStatement(Wizard->StageOutputs.back().Statement);
      // Its PDF goes by the problem's name, as the wizard's own did.
      if (ShowFinalReport()) WebBrowser1->NameDocument(Wizard->DocumentName());
    } else
      WebBrowser1->Navigate(previous);
  } catch (const std::exception& error) {
    ShowMessage(sError, error.what(), TMsgIcon::Error);
    fail();
  } catch (...) {
    ShowMessage(sError, "Неизвестная ошибка в работе мастера", TMsgIcon::Error);
    fail();
  }
  Wizard = nullptr;
}

bool TfrmMain::ShowFinalReport() {
  namespace fs = std::filesystem;
  const std::string file = Report.SaveToTempFile();
  if (file.empty()) return false;
  // The copy replaces whatever stands at its name, a link included, and never writes through it.
  const fs::path preview = fs::path(file).parent_path() / "result_preview.html";
  if (!CopyReportFile(file, preview.string())) {
    // Without the copy the report itself is shown; it lives as long as this window.
    WebBrowser1->Navigate(file);
    SaveReportItem->setEnabled(true);
    return true;
  }
  PreviewPath = preview.string();
  WebBrowser1->Navigate(PreviewPath);
  SaveReportItem->setEnabled(true);
  return true;
}

void TfrmMain::N11Click() {
  if (LoadForm != nullptr) RunLoaded(LoadForm->ChooseProblem(0));
}

void TfrmMain::N5Click() {
  const std::string url = WebBrowser1->LocationURL();
  if (url.empty() || !OpenExternal) return;
  if (OpenExternal(QUrl(QString::fromStdString(url)))) return;
  // Nothing visible would happen: say so, and offer the page as a file instead.
  if (ShowMessage(sAppTitle,
                  "Не найдена программа, которая может открыть эту страницу в отдельном окне. "
                  "Сохранить страницу как PDF?",
                  TMsgIcon::Question, mbYes | mbNo) == TMsgAnswer::Yes)
    N4Click();
}

bool TfrmMain::OpenWithDesktop(const QUrl& url) {
  // xdg-open starts whatever it finds and reports nothing back; ask first whether anything takes a
  // page of this kind (without a default program it still tries $BROWSER and x-www-browser).
  if (!QStandardPaths::findExecutable(u"xdg-open"_s).isEmpty() && qEnvironmentVariableIsEmpty("BROWSER") &&
      QStandardPaths::findExecutable(u"x-www-browser"_s).isEmpty()) {
    const QString kind = url.isLocalFile() ? u"text/html"_s : u"x-scheme-handler/"_s + url.scheme();
    QProcess query;
    query.start(u"xdg-mime"_s, {u"query"_s, u"default"_s, kind});
    if (query.waitForFinished(5000) && query.exitStatus() == QProcess::NormalExit &&
        query.readAllStandardOutput().trimmed().isEmpty())
      return false;
  }
  return QDesktopServices::openUrl(url);
}

void TfrmMain::N2Click() {
  WebBrowser1->setFocus();
  WebBrowser1->PrintPage();
}

void TfrmMain::N4Click() { WebBrowser1->SavePdfAs(); }

void TfrmMain::HelpKeyPress() {
  if (!TypeFolder(CurrentTaskType).empty())
    RunAction(3);
  else
    N20Click();
}

void TfrmMain::N3Click() { close(); }

void TfrmMain::N20Click() { NavigateHelp("help/index.html"); }
void TfrmMain::N21Click() { NavigateHelp("math/index.html"); }
void TfrmMain::N19Click() { NavigateHelp("about.html"); }

void TfrmMain::ToolButton1Click() {
  try {
    WebBrowser1->GoBack();
  } catch (...) {}
}

void TfrmMain::ToolButton2Click() {
  try {
    WebBrowser1->GoForward();
  } catch (...) {}
}

void TfrmMain::ToolButton3Click() { FormShow(); }

void TfrmMain::ToolButton4Click() {
  try {
    WebBrowser1->Stop();
  } catch (...) {}
}

void TfrmMain::ToolButton5Click() {
  try {
    WebBrowser1->Refresh();
  } catch (...) {}
}

void TfrmMain::WebBrowser1StatusTextChange(const QString& text) { StatusBar1->showMessage(text); }

void TfrmMain::WebBrowser1TitleChange(const QString& text) { Label1->setText(text); }

void TfrmMain::NoteStatement(const TStatementGrid& grid) {
  LastStatement = grid;
  SaveFileItem->setEnabled(true);
}

bool TfrmMain::OpenProblemFile(const QString& path) {
  QString opened;
  std::optional<TStatementGrid> grid = ::OpenProblemFile(this, path, &opened);
  if (!grid) return false;
  const TTaskInfo* task = FindTaskInfo(grid->TaskType);
  if (task == nullptr) return false;
  NoteStatement(*grid);
  // The type's button is checked, as a click on it would, and its window or wizard opens on the file.
  const auto row = std::find_if(TaskCatalog().begin(), TaskCatalog().end(),
                                [&grid](const TTaskInfo& info) { return info.Code == grid->TaskType; });
  if (row != TaskCatalog().end()) CheckRadioButton(RadioButton[static_cast<std::size_t>(row - TaskCatalog().begin())]);
  CurrentTaskType = grid->TaskType;
  FileView = std::make_unique<TFileProblemStore>(ProblemStore(), std::move(*grid), ProblemNameOfFile(opened));
  PendingTaskId = FileProblemId;
  RunAction(task->HasWizard() ? int{TA_WIZARD} : int{task->WindowAction()});
  FileView.reset();
  PendingTaskId = -1;
  return true;
}

void TfrmMain::OpenFileClick() { static_cast<void>(OpenProblemFile({})); }

void TfrmMain::SaveFileClick() {
  if (LastStatement) static_cast<void>(SaveProblemFileAs(this, *LastStatement));
}

namespace {

// The first local file among the dropped addresses; "" when there is none.
QString DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

} // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
  const QString file = DroppedFile(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  // The wizard runs modally: it opens once the drop has ended.
  QTimer::singleShot(0, this, [this, file] { static_cast<void>(OpenProblemFile(file)); });
}
