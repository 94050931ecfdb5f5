// The frame both standalone solver windows share.
#include "SolverForm.h"

#include "CellBlock.h"
#include "MessageSeam.h"
#include "ProblemFile.h"
#include "ProblemStore.h"
#include "QtHelpers.h"
#include "TaskCatalog.h"
#include "UICore_AssistantInterface.h"
#include "untStrConst.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTableView>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

QFrame* Rule(QWidget* parent, QFrame::Shape shape = QFrame::HLine) {
  auto* line = new QFrame(parent);
  line->setFrameShape(shape);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

} // namespace

TSolverForm::TSolverForm(const TSolverContext& context, const TSolverFormTexts& texts)
    : QDialog(context.Parent), Context(context), HelpPage(texts.HelpPage),
      Assistant(std::make_unique<TUICore_AssistantInterface>(this)) {
  setWindowTitle(Q(texts.Caption));
  setFont(PixelFont(u"Tahoma"_s, 11));
  setSizeGripEnabled(true);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(0);

  shDesignTop = new QWidget(this);
  MakeWhite(*shDesignTop);
  shDesignTop->setMinimumHeight(56);
  auto* header = new QVBoxLayout(shDesignTop);
  header->setContentsMargins(12, 6, 12, 6);
  header->setSpacing(2);
  lbTitle = new QLabel(Q(texts.Title), shDesignTop);
  lbTitle->setFont(PixelFont(u"Verdana"_s, 16));
  lbHint = new QLabel(Q(texts.Hint), shDesignTop);
  lbHint->setWordWrap(true);
  header->addWidget(lbTitle);
  header->addWidget(lbHint, 1);
  root->addWidget(shDesignTop);
  root->addWidget(Rule(this));

  auto* middle = new QHBoxLayout;
  middle->setSpacing(0);
  auto* strip = new QWidget(this);
  MakeWhite(*strip);
  strip->setFixedWidth(125);
  auto* stages = new QVBoxLayout(strip);
  stages->setContentsMargins(8, 8, 4, 8);
  stages->setSpacing(6);
  lbPanelTitle = new QLabel(Q("Этапы решения:   "), strip);
  {
    QFont font = lbPanelTitle->font();
    font.setBold(true);
    lbPanelTitle->setFont(font);
    QPalette pal = lbPanelTitle->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    lbPanelTitle->setPalette(pal);
  }
  lbStage = new QLabel(QStringLiteral("\u25B8 ") + Q(texts.Stage), strip);
  {
    QFont font = lbStage->font();
    font.setBold(true);
    lbStage->setFont(font);
  }
  stages->addWidget(lbPanelTitle);
  stages->addWidget(lbStage);
  stages->addStretch(1);
  middle->addWidget(strip);
  middle->addWidget(Rule(this, QFrame::VLine));
  pContainer = new QWidget(this);
  middle->addWidget(pContainer, 1);
  root->addLayout(middle, 1);
  root->addWidget(Rule(this));

  ButtonRow = new QHBoxLayout;
  ButtonRow->setContentsMargins(8, 8, 8, 8);
  ButtonRow->setSpacing(6);
  btnHelp = new QPushButton(Q(sHelp), this);
  btnHelp->setObjectName(u"btnHelp"_s);
  btnHelp->setToolTip(Q("Просмотреть описание текущего шага в справке (F1)"));
  btnHelp->setAutoDefault(false);
  ButtonRow->addWidget(btnHelp);
  // The problem as a file: Ctrl+O and Ctrl+Shift+S, and the recent files.
  btnFile = new QPushButton(Q("Файл"), this);
  btnFile->setObjectName(u"btnFile"_s);
  btnFile->setToolTip(Q("Открыть условие задачи из файла или сохранить его в файл"));
  btnFile->setAutoDefault(false);
  auto* fileMenu = new QMenu(btnFile);
  actOpenFile = fileMenu->addAction(Q("&Открыть задачу…"));
  actOpenFile->setShortcut(QKeySequence::Open);
  actSaveFile = fileMenu->addAction(Q("Сохранить задачу &как…"));
  actSaveFile->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  QMenu* recent = fileMenu->addMenu(Q("&Последние задачи"));
  addAction(actOpenFile);
  addAction(actSaveFile);
  btnFile->setMenu(fileMenu);
  ButtonRow->addWidget(btnFile);
  ButtonRow->addStretch(1);
  root->addLayout(ButtonRow);
  connect(btnHelp, &QPushButton::clicked, this, &TSolverForm::btnHelpClick);
  connect(actOpenFile, &QAction::triggered, this, [this] { OpenFile({}); });
  connect(actSaveFile, &QAction::triggered, this,
          [this] { static_cast<void>(SaveProblemFileAs(this, TypedStatement(0))); });
  connect(recent, &QMenu::aboutToShow, this,
          [this, recent] { FillRecentMenu(*recent, [this](const QString& path) { OpenFile(path); }); });

  auto* helpKey = new QAction(this);
  helpKey->setShortcuts(QKeySequence::HelpContents);
  addAction(helpKey);
  connect(helpKey, &QAction::triggered, this, &TSolverForm::btnHelpClick);
}

TSolverForm::~TSolverForm() = default;

QPushButton* TSolverForm::AddButton(const char* name, const char* caption, const char* hint) {
  auto* button = new QPushButton(Q(caption), this);
  button->setObjectName(Q(name));
  if (*hint != '\0') button->setToolTip(Q(hint));
  button->setAutoDefault(false);
  ButtonRow->addWidget(button);
  return button;
}

std::optional<TStatementGrid> TSolverForm::TakePendingStatement() {
  const int id = std::exchange(PendingTaskId, -1);
  if (id == -1 || Context.Store == nullptr) return std::nullopt;
  std::string error;
  std::optional<TStatementGrid> grid = Context.Store->LoadStatement(id, error);
  if (!grid) ShowMessage(sError, error, TMsgIcon::Error);
  return grid;
}

void TSolverForm::SaveStatement(const TStatementGrid& grid) {
  if (!Context.AskSaveName || Context.Store == nullptr) return;
  const std::string name = Context.AskSaveName(grid.TaskType);
  if (name.empty()) return;
  TProblemStore& store = *Context.Store;
  if (store.CreateTempTask() < 0) return;
  if (store.StoreTempStatement(grid)) static_cast<void>(store.SaveTempTaskAs(name, grid.TaskType));
  store.DropTempTask();
}

void TSolverForm::btnHelpClick() { HelpWindow = Assistant->ShowHelp(this, HelpWindow, HelpPage); }

void TSolverForm::OpenFile(const QString& path) {
  const std::optional<TStatementGrid> grid = OpenProblemFile(this, path);
  if (!grid) return;
  if (const std::uint8_t own = TypedStatement(0).TaskType; grid->TaskType != own) {
    const TTaskInfo* task = FindTaskInfo(grid->TaskType);
    ShowMessage(sAppTitle,
                std::string("В файле задача другого типа") + (task ? std::string(": ") + task->Name : std::string()) +
                    ". Откройте её из главного окна (Файл, «Открыть задачу…»).",
                TMsgIcon::Warning, mbOK);
    return;
  }
  ShowTypedStatement(*grid);
}

void TSolverForm::AcceptBlocks(QTableView& view) {
  BlockViews.push_back(&view);
  view.installEventFilter(this);
}

void TSolverForm::GrowTable(int, int) {}

bool TSolverForm::eventFilter(QObject* watched, QEvent* event) {
  const auto view = std::find(BlockViews.begin(), BlockViews.end(), watched);
  if (view == BlockViews.end() || event->type() != QEvent::KeyPress ||
      !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
    return QDialog::eventFilter(watched, event);
  const std::vector<QStringList> block = SplitCellBlock(QGuiApplication::clipboard()->text());
  const QModelIndex current = (*view)->currentIndex();
  if (block.empty() || !current.isValid()) return QDialog::eventFilter(watched, event);
  int width = 0;
  for (const QStringList& row : block) width = std::max(width, static_cast<int>(row.size()));
  QAbstractItemModel* model = (*view)->model();
  // Growing the table resets its model, and with it the current index.
  const int top = current.row();
  const int left = current.column();
  const int rows = top + static_cast<int>(block.size());
  const int columns = left + width;
  if (rows > model->rowCount() || columns > model->columnCount()) GrowTable(rows, columns);
  for (std::size_t r = 0; r < block.size(); ++r)
    for (int c = 0; c < static_cast<int>(block[r].size()); ++c) {
      const QModelIndex cell = model->index(top + static_cast<int>(r), left + c);
      if (cell.isValid() && (model->flags(cell) & Qt::ItemIsEditable)) model->setData(cell, block[r][c], Qt::EditRole);
    }
  return true;
}
