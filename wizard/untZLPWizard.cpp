// The solution wizard window: runs the step sequence of a task type and gathers the final report.
#include "untZLPWizard.h"

#include "MessageSeam.h"
#include "ProblemFile.h"
#include "ProblemStore.h"
#include "QtHelpers.h"
#include "TaskCatalog.h"
#include "UICore_AssistantInterface.h"
#include "untStrConst.h"
#include "untWebViewer.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QThread>
#include <QVBoxLayout>

#include <chrono>
#include <cmath>
#include <exception>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

// 11x11 markers: a filled teal disc for a passed step, a grey ring for a step to come, an orange
// arrow for the current step.
std::array<QPixmap, 3> DrawMarkers() {
  std::array<QPixmap, 3> markers;
  for (QPixmap& marker : markers) {
    marker = QPixmap(11, 11);
    marker.fill(Qt::transparent);
  }
  {
    QPainter p(&markers[0]);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 128));
    p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
  }
  {
    QPainter p(&markers[1]);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 160, 160), 1.4));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(2, 2, 7, 7));
  }
  {
    QPainter p(&markers[2]);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 120, 0));
    const QPointF arrow[] = {{1.5, 0.5}, {10.5, 5.5}, {1.5, 10.5}};
    p.drawPolygon(arrow, 3);
  }
  return markers;
}

QFrame* Rule(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

} // namespace

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
}

TfrmZLPWizard::TfrmZLPWizard(TProblemStore* store, QWidget* parent) : QDialog(parent), DM(store) {
  FormCreate();
  connect(btnNext, &QPushButton::clicked, this, &TfrmZLPWizard::btnNextClick);
  connect(btnBack, &QPushButton::clicked, this, &TfrmZLPWizard::btnBackClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmZLPWizard::btnCancelClick);
  connect(btnHelp, &QPushButton::clicked, this, &TfrmZLPWizard::btnHelpClick);
  connect(btnSave, &QPushButton::clicked, this, &TfrmZLPWizard::btnSaveClick);
  connect(btnPdf, &QPushButton::clicked, this, &TfrmZLPWizard::btnPdfClick);
  connect(btnPreview, &QPushButton::clicked, this, &TfrmZLPWizard::btnPreviewClick);
  // Keys of the whole window: F1 the current step's help, Ctrl+S saving (on the step that offers
  // it), Ctrl+P printing the page shown.
  const auto key = [this](QKeySequence::StandardKey keys, void (TfrmZLPWizard::*slot)()) {
    auto* action = new QAction(this);
    action->setShortcuts(keys);
    addAction(action);
    connect(action, &QAction::triggered, this, slot);
  };
  key(QKeySequence::HelpContents, &TfrmZLPWizard::btnHelpClick);
  key(QKeySequence::Save, &TfrmZLPWizard::btnSaveClick);
  key(QKeySequence::Print, &TfrmZLPWizard::PrintStage);
  // The problem as a file, on the steps where it is typed: Ctrl+O and Ctrl+Shift+S.
  connect(actOpenFile, &QAction::triggered, this, [this] { OpenFile({}); });
  connect(actSaveFile, &QAction::triggered, this, &TfrmZLPWizard::SaveFileAs);
  connect(RecentMenu, &QMenu::aboutToShow, this,
          [this] { FillRecentMenu(*RecentMenu, [this](const QString& path) { OpenFile(path); }); });
  for (TClickLabel* image : im) connect(image, &TClickLabel::Clicked, this, &TfrmZLPWizard::im1Click);
}

TfrmZLPWizard::~TfrmZLPWizard() {
  PaintBox1->removeEventFilter(this);
  Panel1->removeEventFilter(this);
  sbDesignLeft->removeEventFilter(this);
}

void TfrmZLPWizard::FormCreate() {
  Q_INIT_RESOURCE(wizard);
  setWindowTitle(Q(sWizardTitle));
  setFont(PixelFont(u"Tahoma"_s, 11));
  setMinimumSize(540, 380);
  resize(654, 460);
  setSizeGripEnabled(true);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(0);

  // Header: the white band with the picture, the title and the hint.
  shDesignTop = new QWidget(this);
  shDesignTop->setObjectName(u"shDesignTop"_s);
  MakeWhite(*shDesignTop);
  auto* header = new QHBoxLayout(shDesignTop);
  header->setContentsMargins(8, 6, 8, 6);
  header->setSpacing(10);
  auto* imageHost = new QWidget(shDesignTop);
  imageHost->setFixedSize(48, 48);
  for (std::size_t i = 0; i < im.size(); ++i) {
    im[i] = new TClickLabel(imageHost);
    im[i]->setObjectName(u"im%1"_s.arg(i + 1));
    im[i]->setPixmap(QPixmap(u":/wizard/images/head%1.png"_s.arg(i + 1, 2, 10, QLatin1Char('0'))));
    im[i]->setScaledContents(true);
    im[i]->setGeometry(0, 0, 48, 48);
    im[i]->setCursor(Qt::PointingHandCursor);
    im[i]->hide();
  }
  header->addWidget(imageHost, 0, Qt::AlignTop);
  auto* headerTexts = new QVBoxLayout;
  headerTexts->setSpacing(2);
  lbTitle = new QLabel(shDesignTop);
  lbTitle->setObjectName(u"lbTitle"_s);
  lbTitle->setFont(PixelFont(u"Verdana"_s, 16));
  lbHint = new QLabel(shDesignTop);
  lbHint->setObjectName(u"lbHint"_s);
  lbHint->setFont(PixelFont(u"Tahoma"_s, 11));
  lbHint->setWordWrap(true);
  lbHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  headerTexts->addWidget(lbTitle);
  headerTexts->addWidget(lbHint, 1);
  header->addLayout(headerTexts, 1);
  // At least the designed 64 pixels; a long hint (the simplex step's runs to three lines) makes it grow.
  shDesignTop->setMinimumHeight(64);
  shDesignTop->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
  root->addWidget(shDesignTop);
  root->addWidget(Rule(this));

  // Middle: the list of stages at the left, the step container at the right.
  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(0);
  sbDesignLeft = new QScrollArea(this);
  sbDesignLeft->setObjectName(u"sbDesignLeft"_s);
  sbDesignLeft->setFixedWidth(145);
  sbDesignLeft->setFrameShape(QFrame::NoFrame);
  sbDesignLeft->setWidgetResizable(true);
  sbDesignLeft->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* leftPane = new QWidget;
  MakeWhite(*leftPane);
  auto* left = new QVBoxLayout(leftPane);
  left->setContentsMargins(6, 8, 4, 8);
  left->setSpacing(6);
  auto* titleRow = new QHBoxLayout;
  titleRow->setSpacing(4);
  Image2 = new QLabel(leftPane);
  Image2->setObjectName(u"Image2"_s);
  Image2->setPixmap(QPixmap(u":/wizard/images/stages.png"_s));
  Image2->setFixedSize(16, 16);
  lbPanelTitle = new QLabel(Q("Этапы решения:   "), leftPane);
  lbPanelTitle->setObjectName(u"lbPanelTitle"_s);
  {
    QFont font = lbPanelTitle->font();
    font.setBold(true);
    lbPanelTitle->setFont(font);
    QPalette pal = lbPanelTitle->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    lbPanelTitle->setPalette(pal);
  }
  titleRow->addWidget(Image2);
  titleRow->addWidget(lbPanelTitle, 1);
  left->addLayout(titleRow);
  auto* listRow = new QHBoxLayout;
  listRow->setSpacing(0);
  PaintBox1 = new QWidget(leftPane);
  PaintBox1->setObjectName(u"PaintBox1"_s);
  PaintBox1->setFixedWidth(17);
  Panel1 = new QWidget(leftPane);
  Panel1->setObjectName(u"Panel1"_s);
  auto* labels = new QVBoxLayout(Panel1);
  labels->setContentsMargins(0, 0, 0, 0);
  labels->setSpacing(6);
  labels->setAlignment(Qt::AlignTop);
  listRow->addWidget(PaintBox1);
  listRow->addWidget(Panel1, 1);
  left->addLayout(listRow, 1);
  sbDesignLeft->setWidget(leftPane);
  middle->addWidget(sbDesignLeft);
  auto* separator = new QFrame(this);
  separator->setFrameShape(QFrame::VLine);
  separator->setFrameShadow(QFrame::Sunken);
  middle->addWidget(separator);
  pContainer = new QWidget(this);
  pContainer->setObjectName(u"pContainer"_s);
  auto* container = new QVBoxLayout(pContainer);
  container->setContentsMargins(0, 0, 0, 0);
  middle->addWidget(pContainer, 1);
  root->addLayout(middle, 1);
  root->addWidget(Rule(this));

  // Buttons.
  auto* buttons = new QHBoxLayout;
  ButtonRow = buttons;
  buttons->setContentsMargins(8, 8, 8, 8);
  buttons->setSpacing(6);
  const auto makeButton = [this](const char* name, const char* caption, const char* hint) {
    auto* button = new QPushButton(Q(caption), this);
    button->setObjectName(Q(name));
    button->setToolTip(Q(hint));
    button->setAutoDefault(false);
    return button;
  };
  btnHelp = makeButton("btnHelp", sHelp, "Просмотреть описание текущего шага в справке");
  // Made in the order they stand in, which Tab follows.
  btnPreview = makeButton("btnPreview", "Просмотр печати…", "Просмотреть страницы решения перед печатью");
  btnPreview->hide();
  btnPdf = makeButton("btnPdf", "Сохранить как PDF…", "Сохранить решение в файл PDF");
  btnPdf->hide();
  btnSave = makeButton("btnSave", "Сохранить", "Сохранить условие задачи в базу данных (Ctrl+S)");
  btnBack = makeButton("btnBack", "<< Назад", "Вернуться к предыдущему этапу решения");
  btnNext = makeButton("btnNext", sNext, "Перейти к следующему этапу решения");
  btnCancel = makeButton("btnCancel", "Отмена", "Отменить это решение");
  btnBack->setEnabled(false);
  btnNext->setDefault(true);
  btnFile = makeButton("btnFile", "Файл", "Открыть условие задачи из файла или сохранить его в файл");
  auto* fileMenu = new QMenu(btnFile);
  actOpenFile = fileMenu->addAction(u"&Открыть задачу…"_s);
  actOpenFile->setShortcut(QKeySequence::Open);
  actSaveFile = fileMenu->addAction(u"Сохранить задачу &как…"_s);
  actSaveFile->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  RecentMenu = fileMenu->addMenu(u"&Последние задачи"_s);
  for (QAction* action : {actOpenFile, actSaveFile}) {
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
  }
  btnFile->setMenu(fileMenu);
  btnFile->hide();
  buttons->addWidget(btnHelp);
  buttons->addWidget(btnFile);
  buttons->addStretch(1);
  buttons->addWidget(btnPreview);
  buttons->addWidget(btnPdf);
  buttons->addWidget(btnSave);
  buttons->addWidget(btnBack);
  buttons->addWidget(btnNext);
  buttons->addSpacing(10);
  buttons->addWidget(btnCancel);
  root->addLayout(buttons);

  ImageList1 = DrawMarkers();
  PaintBox1->installEventFilter(this);
  Panel1->installEventFilter(this);
  sbDesignLeft->installEventFilter(this);
  PendingTaskId = -1;
  TempTaskId = -1;
}

template <class TOperation> bool TfrmZLPWizard::Guarded(TOperation&& operation) {
  try {
    operation();
    return true;
  } catch (const std::exception& e) {
    ShowMessage(sError, e.what(), TMsgIcon::Error);
  } catch (...) {
    ShowMessage(sError, "Неизвестная ошибка на этапе решения", TMsgIcon::Error);
  }
  return false;
}

int TfrmZLPWizard::PendingProblem() const {
  if (CurrentStage < 0 || CurrentStage >= static_cast<int>(StageEntered.size())) return PendingTaskId;
  return StageEntered[static_cast<std::size_t>(CurrentStage)] ? -1 : PendingTaskId;
}

void TfrmZLPWizard::EnterCurrent() {
  TZLPCore_SolutionStage* stage = Current();
  if (!stage) return;
  Guarded([&] { stage->EnterStage(*this); });
  StageEntered[static_cast<std::size_t>(CurrentStage)] = true;
}

void TfrmZLPWizard::EnableNext(bool enabled) { btnNext->setEnabled(enabled); }

void TfrmZLPWizard::SetHint(const std::string& hint) { lbHint->setText(Q(hint)); }

void TfrmZLPWizard::AddStepButton(QPushButton* button) {
  if (!button) return;
  StepButtons.emplace_back(button);
  button->setParent(this);
  ButtonRow->insertWidget(ButtonRow->indexOf(btnBack), button);
  button->show();
}

void TfrmZLPWizard::ReturnStepButtons() {
  for (const QPointer<QPushButton>& button : StepButtons) {
    if (!button) continue;
    ButtonRow->removeWidget(button);
    button->hide();
    if (CurrentStage >= 0 && CurrentStage < static_cast<int>(Stages.size()) &&
        Stages[static_cast<std::size_t>(CurrentStage)])
      button->setParent(Stages[static_cast<std::size_t>(CurrentStage)]);
  }
  StepButtons.clear();
}

std::vector<const TZLPCore_SolutionResult*> TfrmZLPWizard::Sections() const {
  std::vector<const TZLPCore_SolutionResult*> sections;
  for (int i = 0; i < CurrentStage && i < static_cast<int>(Stages.size()); ++i)
    if (const TZLPCore_SolutionStage* stage = Stages[static_cast<std::size_t>(i)])
      sections.push_back(&stage->StageReport);
  return sections;
}

void TfrmZLPWizard::DiscardRun() {
  ReturnStepButtons();
  for (TZLPCore_SolutionStage* stage : Stages)
    if (stage) {
      stage->hide();
      stage->deleteLater();
    }
  for (TClickLabel* label : StageLabels) {
    label->hide();
    label->deleteLater();
  }
  Stages.clear();
  StageLabels.clear();
  StageOutputs.clear();
  StageEntered.clear();
  StageTasks.clear();
  StageCount = 0;
  CurrentStage = -1;
}

void TfrmZLPWizard::ShowStage(TZLPCore_SolutionStage& stage) {
  lbHint->setText(Q(stage.StageHint));
  lbTitle->setText(Q(stage.StageTitle));
  stage.show();
  stage.update();
  FollowHelp(stage);
}

void TfrmZLPWizard::FollowHelp(const TZLPCore_SolutionStage& stage) {
  if (!Assistant || !HelpWindow || !HelpWindow->isVisible() || stage.HelpPage.empty()) return;
  TUICore_AssistantInterface::NavigateHelp(*HelpWindow->wb, "help/steps/" + stage.HelpPage);
}

TZLPCore_SolutionStage* TfrmZLPWizard::Current() const {
  if (CurrentStage < 0 || CurrentStage >= StageCount) return nullptr;
  return Stages[static_cast<std::size_t>(CurrentStage)];
}

int TfrmZLPWizard::Execute(std::uint8_t taskType, TUICore_AssistantInterface* assistant,
                           TZLPCore_SolutionResult* report, TZLPCore_Interface* problem, bool modal) {
  TempTaskId = DM ? DM->CreateTempTask() : -1;
  btnSave->hide();
  TaskType = taskType;
  setResult(mrAbort);
  Finished = false;
  DiscardRun();

  for (QLabel* image : im) image->hide();
  HeaderImage = PickHeaderImage();
  HeaderImage->setGeometry(0, 0, 48, 48);
  HeaderImage->show();

  Assistant = assistant;
  if (!problem) {
    OwnProblem = std::make_unique<TZLPCore_Interface>();
    problem = OwnProblem.get();
  }
  if (!report) {
    OwnReport = std::make_unique<TZLPCore_SolutionResult>();
    report = OwnReport.get();
  }
  InitialProblem = problem;
  FinalReport = report;

  const std::string taskName = GetTaskName(taskType);
  FinalReport->Title = taskName;
  // The stored problem's name, which its PDF is proposed under.
  ProblemName = PendingTaskId != -1 && DM ? DM->ProblemName(PendingTaskId) : std::string();
  setWindowTitle(Q(taskName + " - [" + sWizardTitle + "]"));

  BuildStageTasks(taskType, StageTasks);
  const bool created = CreateStages(*this, Stages, StageTasks);
  StageCount = GetTaskStageCount(taskType);
  if (StageCount == 0 || !created || static_cast<int>(Stages.size()) != StageCount) {
    if (StageCount != 0)
      ShowMessage(sError, "Не удалось создать этапы решения задачи «" + taskName + "».", TMsgIcon::Error);
    // The window is never shown, so no close drops the temporary record.
    if (DM) DM->DropTempTask();
    TempTaskId = -1;
    DiscardRun();
    return mrAbort;
  }

  StageOutputs.resize(static_cast<std::size_t>(StageCount));
  StageEntered.assign(static_cast<std::size_t>(StageCount), false);
  for (TZLPCore_SolutionStage* stage : Stages) {
    stage->hide();
    stage->setParent(pContainer);
    pContainer->layout()->addWidget(stage);
    auto* label = new TClickLabel(Q(stage->StageCaption), Panel1);
    label->setWordWrap(true);
    Panel1->layout()->addWidget(label);
    label->adjustSize();
    const int index = static_cast<int>(StageLabels.size());
    connect(label, &TClickLabel::Clicked, this, [this, index] { StageLabelClick(index); });
    StageLabels.push_back(label);
  }

  CurrentStage = 0;
  TZLPCore_SolutionStage& first = *Stages.front();
  btnNext->setEnabled(false);
  ShowStage(first);
  first.StageData.Assign(*InitialProblem);
  EnterCurrent();
  btnNext->setEnabled(true);
  RefreshStageList();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->availableGeometry();
    FitFirstStage(desk.size());
    move(desk.center() - rect().center());
  }
  if (modal) return exec();
  show();
  return mrAbort;
}

void TfrmZLPWizard::FitFirstStage(const QSize& available) {
  // The designed size, or larger when the first step asks for more room (the input of a linear
  // program asks for six variables' worth), but never beyond the screen, its window frame included.
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize room =
      (available - QSize(std::max(frame.width(), 16), std::max(frame.height(), 40))).expandedTo(minimumSize());
  resize(sizeHint().expandedTo(QSize(654, 460)).boundedTo(room));
}

void TfrmZLPWizard::btnNextClick() {
  if (CurrentStage < 0 || CurrentStage >= StageCount) return;
  TZLPCore_SolutionStage& s = *Stages[static_cast<std::size_t>(CurrentStage)];
  if (!Guarded([&] { s.LeaveForward(*this); }) || !s.CanLeave) return;
  StageOutputs[static_cast<std::size_t>(CurrentStage)].Assign(s.StageData);
  btnNext->setEnabled(false);
  ReturnStepButtons();
  s.hide();

  if (CurrentStage == StageCount - 1) {
    FinalReport->Clear();
    for (const TZLPCore_SolutionStage* stage : Stages) FinalReport->AppendReport(&stage->StageReport);
    Finished = true;
    close();
    return;
  }

  ++CurrentStage;
  TZLPCore_SolutionStage& t = *Stages[static_cast<std::size_t>(CurrentStage)];
  ShowStage(t);
  t.StageData.Assign(StageOutputs[static_cast<std::size_t>(CurrentStage - 1)]);
  t.StageReport.Clear();
  btnNext->setEnabled(true);
  EnterCurrent();
  RefreshStageList();
}

void TfrmZLPWizard::btnBackClick() {
  if (CurrentStage <= 0 || CurrentStage >= StageCount) return;
  TZLPCore_SolutionStage& s = *Stages[static_cast<std::size_t>(CurrentStage)];
  if (!Guarded([&] { s.LeaveBackward(*this); }) || !s.CanLeave) return;
  btnBack->setEnabled(false);
  btnNext->setEnabled(false);
  ReturnStepButtons();
  s.hide();
  --CurrentStage;
  TZLPCore_SolutionStage& t = *Stages[static_cast<std::size_t>(CurrentStage)];
  ShowStage(t);
  if (CurrentStage > 0) t.StageData.Assign(StageOutputs[static_cast<std::size_t>(CurrentStage - 1)]);
  btnBack->setEnabled(true);
  btnNext->setEnabled(true);
  t.StageReport.Clear();
  EnterCurrent();
  RefreshStageList();
}

void TfrmZLPWizard::btnCancelClick() { close(); }

void TfrmZLPWizard::reject() { close(); }

void TfrmZLPWizard::btnHelpClick() {
  const TZLPCore_SolutionStage* stage = Current();
  if (!Assistant || !stage || stage->HelpPage.empty()) return;
  HelpWindow = Assistant->ShowHelp(this, HelpWindow, "help/steps/" + stage->HelpPage);
}

void TfrmZLPWizard::btnSaveClick() {
  if (!AskSaveName || !btnSave->isVisible()) return;
  const std::string name = AskSaveName(TaskType);
  if (name.empty() || !DM) return;
  // The store reports its own failures.
  if (DM->SaveTempTaskAs(name, TaskType) >= 0) {
    ProblemName = name;
    NamePages();
  }
}

QString TfrmZLPWizard::DocumentName() const {
  const QString name = Q(ProblemName).simplified();
  return name.isEmpty() ? Q(GetTaskName(TaskType)) : name;
}

void TfrmZLPWizard::NamePages() {
  // What a PDF or a print of a step's page is called, and the title line it begins with.
  for (TZLPCore_SolutionStage* stage : Stages)
    if (TWebBrowser* viewer = stage->PageViewer()) {
      viewer->DocumentName = DocumentName();
      viewer->PrintTitle = Q(GetTaskName(TaskType));
    }
}

void TfrmZLPWizard::btnPdfClick() {
  if (TZLPCore_SolutionStage* stage = Current(); stage && stage->PageViewer()) stage->PageViewer()->SavePdfAs();
}

void TfrmZLPWizard::btnPreviewClick() {
  if (TZLPCore_SolutionStage* stage = Current(); stage && stage->PageViewer()) stage->PageViewer()->PreviewPage();
}

void TfrmZLPWizard::PrintStage() {
  if (TZLPCore_SolutionStage* stage = Current(); stage && stage->PageViewer()) stage->PageViewer()->PrintPage();
}

void TfrmZLPWizard::closeEvent(QCloseEvent* event) {
  int answer = mrFinished;
  if (!Finished) {
    if (ShowMessage(sWizardTitle, sAbortWizard, TMsgIcon::Question, mbYes | mbNo) != TMsgAnswer::Yes) {
      event->ignore();
      return;
    }
    answer = mrCancelled;
  }
  if (DM) DM->DropTempTask();
  TempTaskId = -1;
  event->accept();
  done(answer);
}

void TfrmZLPWizard::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RefreshStageList();
}

void TfrmZLPWizard::RefreshStageList() {
  for (std::size_t i = 0; i < StageLabels.size(); ++i) {
    TClickLabel* label = StageLabels[i];
    const int index = static_cast<int>(i);
    label->setCursor(index < CurrentStage ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QFont font = label->font();
    font.setBold(index == CurrentStage);
    label->setFont(font);
    label->adjustSize();
  }
  // A caption set in bold may need another line at the width the list gives it.
  if (QLayout* layout = Panel1->layout()) {
    layout->activate();
    for (TClickLabel* label : StageLabels) label->setMinimumHeight(label->heightForWidth(label->width()));
    layout->invalidate();
  }
  sbDesignLeftResize();
  PaintBox1->update();

  const bool known = CurrentStage >= 0 && CurrentStage < StageCount;
  btnBack->setEnabled(known && CurrentStage > 0);
  const bool last = known && CurrentStage == StageCount - 1;
  btnNext->setText(Q(last ? sFinish : sNext));
  btnSave->setVisible(last);
  btnPdf->setVisible(last && Stages[static_cast<std::size_t>(CurrentStage)]->PageViewer() != nullptr);
  btnPreview->setVisible(btnPdf->isVisibleTo(this));
  NamePages();
  btnHelp->setVisible(Assistant != nullptr);
  const bool input = known && dynamic_cast<TStatementInput*>(Stages[static_cast<std::size_t>(CurrentStage)]) != nullptr;
  btnFile->setVisible(input);
  actOpenFile->setEnabled(input);
  actSaveFile->setEnabled(input);
  btnHelp->setEnabled(known && !Stages[static_cast<std::size_t>(CurrentStage)]->HelpPage.empty());
}

void TfrmZLPWizard::sbDesignLeftResize() {
  if (QLayout* layout = Panel1->layout()) layout->activate();
  const QSize size = PaintBox1->size().expandedTo(QSize(1, 1));
  if (MarkerBitmap.size() != size) MarkerBitmap = QPixmap(size);
  MarkerBitmap.fill(Qt::white);
  QPainter painter(&MarkerBitmap);
  for (std::size_t i = 0; i < StageLabels.size(); ++i) {
    const int index = static_cast<int>(i);
    const std::size_t image = index == CurrentStage ? 2 : index < CurrentStage ? 0 : 1;
    painter.drawPixmap(2, StageLabels[i]->y() + 2, ImageList1[image]);
  }
}

void TfrmZLPWizard::PaintBox1Paint(QPaintEvent* event) {
  QPainter painter(PaintBox1);
  painter.drawPixmap(event->rect(), MarkerBitmap, event->rect());
}

bool TfrmZLPWizard::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PaintBox1 && event->type() == QEvent::Paint) {
    PaintBox1Paint(static_cast<QPaintEvent*>(event));
    return true;
  }
  if ((watched == sbDesignLeft || watched == Panel1 || watched == PaintBox1) &&
      (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)) {
    const bool handled = QDialog::eventFilter(watched, event);
    sbDesignLeftResize();
    PaintBox1->update();
    return handled;
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmZLPWizard::StageLabelClick(int index) {
  if (index < 0 || index >= static_cast<int>(StageLabels.size())) return;
  while (StageLabels[static_cast<std::size_t>(index)]->cursor().shape() == Qt::PointingHandCursor) {
    const int before = CurrentStage;
    btnBackClick();
    if (CurrentStage == before) break;
  }
}

QLabel* TfrmZLPWizard::PickHeaderImage() {
  std::mt19937 random(
      static_cast<std::mt19937::result_type>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const auto r = static_cast<std::size_t>(std::lround(unit(random) * 9.0));
  return im[r];
}

void TfrmZLPWizard::im1Click() { AnimateHeaderImage(PickHeaderImage(), HeaderImage); }

void TfrmZLPWizard::AnimateHeaderImage(QLabel* newImage, QLabel* oldImage) {
  if (!newImage || newImage == oldImage) return;
  newImage->setGeometry(0, 0, 1, 1);
  newImage->raise();
  if (oldImage) oldImage->lower();
  newImage->show();
  for (int size = 2; size <= 48; ++size) {
    newImage->resize(size, size);
    newImage->repaint();
    QThread::msleep(1);
  }
  if (oldImage) oldImage->hide();
  HeaderImage = newImage;
}

void TfrmZLPWizard::OpenFile(const QString& path) {
  auto* input = dynamic_cast<TStatementInput*>(Current());
  if (input == nullptr) return;
  QString opened;
  const std::optional<TStatementGrid> grid = OpenProblemFile(this, path, &opened);
  if (!grid) return;
  if (grid->TaskType != TaskType) {
    const TTaskInfo* task = FindTaskInfo(grid->TaskType);
    ShowMessage(sAppTitle,
                std::string("В файле задача другого типа") + (task ? std::string(": ") + task->Name : std::string()) +
                    ". Откройте её из главного окна (Файл, «Открыть задачу…»).",
                TMsgIcon::Warning, mbOK);
    return;
  }
  input->ShowTypedStatement(*grid);
  ProblemName = ProblemNameOfFile(opened);
}

void TfrmZLPWizard::SaveFileAs() {
  if (auto* input = dynamic_cast<TStatementInput*>(Current()))
    static_cast<void>(SaveProblemFileAs(this, input->TypedStatement(TaskType)));
}
