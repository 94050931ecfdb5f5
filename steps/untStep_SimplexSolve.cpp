// The simplex step: the table, pivot by pivot, up to the answer.
#include "untStep_SimplexSolve.h"

#include "MessageSeam.h"
#include "Pages.h"
#include "TaskContract.h"
#include "QtHelpers.h"
#include "customUI.h"
#include "untStrConst.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor PivotFrame(0x60, 0x30, 0x00);
const QColor CrossText(0x45, 0x45, 0x45);
const QColor PivotOrange(0xFF, 0xA0, 0x30);

} // namespace

TfrmStep_SimplexSolve::TfrmStep_SimplexSolve(QWidget* owner) : TZLPCore_SolutionStage(owner, SK_SIMPLEXSOLVE) {
  FormCreate();
  StringGrid1->OnDrawCell = [this](QPainter& canvas, const QRect& rect, int col, int row) {
    StringGrid1DrawCell(canvas, rect, col, row);
  };
  connect(StringGrid1, &TStringGrid::CellClicked, this, &TfrmStep_SimplexSolve::StringGrid1Click);
  connect(Button4, &QPushButton::clicked, this, &TfrmStep_SimplexSolve::Button4Click);
  connect(btnUndo, &QPushButton::clicked, this, &TfrmStep_SimplexSolve::btnUndoClick);
  connect(cbTableForm, &QComboBox::currentIndexChanged, this, &TfrmStep_SimplexSolve::cbTableFormChange);
}

TfrmStep_SimplexSolve::~TfrmStep_SimplexSolve() {
  // The buttons live on the wizard while the step is shown; they go with the step.
  for (QPushButton* button : {Button4.data(), btnUndo.data()})
    if (button && button->parent() != this) delete button;
}

void TfrmStep_SimplexSolve::FormCreate() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  StringGrid1 = new TStringGrid(this);
  StringGrid1->setObjectName(u"StringGrid1"_s);
  QFont font(u"Tahoma"_s);
  font.setPixelSize(11);
  StringGrid1->setFont(font);
  StringGrid1->setEnabled(false);

  auto* formRow = new QHBoxLayout;
  auto* formLabel = new QLabel(QString::fromUtf8("Вид симплекс-таблиц:"), this);
  cbTableForm = new QComboBox(this);
  cbTableForm->setObjectName(u"cbTableForm"_s);
  cbTableForm->addItem(QString::fromUtf8("компактный (B, переменные, строка Z)"));
  cbTableForm->addItem(QString::fromUtf8("как в учебнике (базис, Cб, план, θ, строка Δj)"));
  cbTableForm->setToolTip(QString::fromUtf8("Вид таблиц в отчёте; при смене решение начинается с первой таблицы"));
  cbTableForm->setAccessibleName(QString::fromUtf8("Вид симплекс-таблиц"));
  formLabel->setBuddy(cbTableForm);
  formRow->addWidget(formLabel);
  formRow->addWidget(cbTableForm);
  formRow->addStretch(1);
  layout->addLayout(formRow);
  layout->addWidget(StringGrid1);

  Button4 = new QPushButton(QString::fromUtf8("Решить"), this);
  Button4->setObjectName(u"Button4"_s);
  Button4->setToolTip(QString::fromUtf8("Автоматически решить симплекс-таблицу"));
  Button4->setAutoDefault(false);
  Button4->setEnabled(false);
  Button4->hide();

  btnUndo = new QPushButton(QString::fromUtf8("Отменить шаг"), this);
  btnUndo->setObjectName(u"btnUndo"_s);
  btnUndo->setToolTip(QString::fromUtf8("Отменить последнее симплекс-преобразование или отсечение"));
  btnUndo->setAutoDefault(false);
  btnUndo->setEnabled(false);
  btnUndo->hide();

  const QColor face = palette().color(QPalette::Button);
  ColorLight = ShadeColor(face, 70);
  ColorShade = ShadeColor(face, -17);
  ColorLine = ShadeColor(face, -50);
  ColorPivotLight = ShadeColor(PivotOrange, 50);
  ColorPivot = PivotOrange;
}

std::int32_t TfrmStep_SimplexSolve::PivotRow() const noexcept { return FMethod ? FMethod->PivotRow : 0; }

std::int32_t TfrmStep_SimplexSolve::PivotCol() const noexcept { return FMethod ? FMethod->PivotCol : 0; }

namespace {

bool SameTable(const TSimplexTable& a, const TSimplexTable& b) {
  if (a.RowCount() != b.RowCount() || a.ColCount() != b.ColCount() || a.ColNames() != b.ColNames() ||
      a.RowNames() != b.RowNames() || a.IntegerVars != b.IntegerVars)
    return false;
  for (std::int32_t i = 0; i <= a.RowCount(); ++i)
    for (std::int32_t j = 0; j <= a.ColCount(); ++j)
      if (a.GetExact(j, i) != b.GetExact(j, i)) return false;
  return true;
}

} // namespace

bool TfrmStep_SimplexSolve::SameStart(const TZLPCore_Interface& data) const {
  return HasWorked && data.Flags == Started.Flags && data.Statement == Started.Statement &&
         data.IntegerVars == Started.IntegerVars && data.TableForm == Started.TableForm &&
         data.StartMethod == Started.StartMethod && SameTable(data.Table, Started.Table);
}

void TfrmStep_SimplexSolve::EnterStage(TStageHost& host) {
  TZLPCore_SolutionStage::EnterStage(host);
  StringGrid1->SetSize(1, 1);
  StringGrid1->setEnabled(false);
  Button4->setEnabled(false);
  btnUndo->setEnabled(false);
  Host = &host;
  host.AddStepButton(btnUndo);
  host.AddStepButton(Button4);

  if (!PrepareSimplexTable(StageData)) {
    FMethod.reset();
    HasWorked = false;
    host.EnableNext(false);
    return;
  }
  Replaced = false;
  ReplacedReport.Clear();
  const TTaskInfo& task = host.RunTaskInfo();
  if (task.ReplaceSimplex != nullptr && task.ReplaceSimplex(StageData, ReplacedReport, task)) {
    // Solved whole: the grid shows the last table, "Далее" goes on to the result.
    Replaced = true;
    SeparatorCol = 0;
    StringGrid1->setEnabled(true);
    RefreshGrid();
    host.SetHint("Задача решена методом ветвей и границ. Нажмите «Далее», чтобы просмотреть результат");
    return;
  }
  TSimplexTable& table = StageData.Table;
  StringGrid1->setEnabled(true);
  SeparatorCol = table.ColCount() - table.RowCount();
  {
    const QSignalBlocker quiet(cbTableForm);
    cbTableForm->setCurrentIndex(StageData.TableForm == TTableForm::Textbook ? 1 : 0);
  }
  if (FMethod && SameStart(StageData)) {
    // The method works on StageData.Table, which takes the table it was left with again.
    StageData.Assign(Worked);
    ShowProgress();
    return;
  }
  Started.Assign(StageData);
  HasWorked = true;
  FMethod = std::make_unique<TSimplexMethod>(table);
  ConfigureSimplex(*FMethod, StageData, host.RunTaskInfo());
  FMethod->Start();
  ShowProgress();
}

void TfrmStep_SimplexSolve::cbTableFormChange(int index) {
  StageData.TableForm = index == 1 ? TTableForm::Textbook : TTableForm::Compact;
  if (!FMethod || Host == nullptr || !PrepareSimplexTable(StageData)) return;
  FMethod = std::make_unique<TSimplexMethod>(StageData.Table);
  ConfigureSimplex(*FMethod, StageData, Host->RunTaskInfo());
  FMethod->Start();
  ShowProgress();
}

void TfrmStep_SimplexSolve::LeaveForward(TStageHost& host) {
  if (Replaced) {
    StageReport.Clear();
    StageReport.AppendReport(std::move(ReplacedReport));
    ReplacedReport.Clear();
    Replaced = false;
    TZLPCore_SolutionStage::LeaveForward(host);
    return;
  }
  if (!FMethod) {
    CanLeave = false;
    return;
  }
  if (FMethod->Finished()) {
    Worked.Assign(StageData);
    FinishSimplex(*FMethod, StageData, StageReport, host.RunTaskInfo());
    TZLPCore_SolutionStage::LeaveForward(host);
    return;
  }
  FMethod->Step();
  ShowProgress();
  CanLeave = false;
}

void TfrmStep_SimplexSolve::LeaveBackward(TStageHost& host) {
  Worked.Assign(StageData);
  TZLPCore_SolutionStage::LeaveBackward(host);
}

void TfrmStep_SimplexSolve::StringGrid1Click(int col, int row) {
  if (!FMethod || !FMethod->PivotPending()) return;
  const TSimplexTable& table = StageData.Table;
  // Only a coefficient cell can be a pivot: not the headers, the B column or the Z row.
  if (col >= 2 && col <= table.ColCount() + 1 && row >= 1 && row <= table.RowCount()) {
    // A pivot that makes the plan infeasible is taken only when the student confirms it.
    const std::int32_t j = col - 1;
    const bool other = j != FMethod->PivotCol || row != FMethod->PivotRow;
    const TSimplexTable::TPivotBreak broken =
        other && table.State == SS_PIVOT && table.Allows(j, row) ? table.PivotBreak(j, row)
                                                                     : TSimplexTable::TPivotBreak::None;
    if (broken != TSimplexTable::TPivotBreak::None &&
        ShowMessage(sWizardTitle, broken == TSimplexTable::TPivotBreak::Ratio ? sPivotBreaksRatio : sPivotNegative,
                    TMsgIcon::Question, mbYes | mbNo) != TMsgAnswer::Yes)
      return;
    static_cast<void>(FMethod->ChoosePivot(j, row));
  }
  if (Host) Host->SetHint(FMethod->Hint);
  StringGrid1->Invalidate();
}

void TfrmStep_SimplexSolve::btnUndoClick() {
  if (!FMethod || !FMethod->Undo()) return;
  ShowProgress();
}

void TfrmStep_SimplexSolve::Button4Click() {
  if (!FMethod) return;
  // Pivot by pivot, so that a long run shows how far it is and "Отмена" stops it between two pivots:
  // the table stays where it is, and the student goes on by hand or with "Решить" again.
  QElapsedTimer clock;
  clock.start();
  std::unique_ptr<QProgressDialog> progress;
  std::int64_t pivots = 0;
  while (FMethod->PivotPending()) {
    FMethod->Step();
    ++pivots;
    if (!progress && FMethod->PivotPending() && clock.elapsed() >= ProgressAfterMs) {
      progress = std::make_unique<QProgressDialog>(QString(), QString::fromUtf8("Отмена"), 0, 0, this);
      progress->setWindowTitle(QString::fromUtf8("Решение"));
      progress->setWindowModality(Qt::WindowModal);
      progress->setMinimumDuration(0);
      progress->show();
    }
    if (progress) {
      progress->setLabelText(QString::fromUtf8("Симплекс-метод: выполнено преобразований — %1").arg(pivots));
      QCoreApplication::processEvents();
      if (progress->wasCanceled()) break;
    }
  }
  ShowProgress();
}

void TfrmStep_SimplexSolve::ShowProgress() {
  if (Host) Host->SetHint(FMethod->Hint);
  // "Решить" only while it has a pivot to make: never once the method has ended.
  Button4->setEnabled(FMethod->PivotPending());
  btnUndo->setEnabled(FMethod->CanUndo());
  RefreshGrid();
}

void TfrmStep_SimplexSolve::RefreshGrid() {
  const TSimplexTable& table = StageData.Table;
  const int m = table.RowCount();
  const int n = table.ColCount();
  StringGrid1->SetSize(n + 2, m + 2);
  StringGrid1->SetCell(0, 0, QString());
  StringGrid1->SetCell(1, 0, u"B"_s);
  StringGrid1->SetCell(0, m + 1, u"Z"_s);
  for (int j = 1; j <= n; ++j) StringGrid1->SetCell(j + 1, 0, Q(table.GetColName(j)));
  for (int i = 1; i <= m; ++i) StringGrid1->SetCell(0, i, Q(table.GetRowName(i)));
  for (int c = 0; c <= n; ++c) {
    for (int i = 1; i <= m; ++i) StringGrid1->SetCell(c + 1, i, Q(RatToStr(table.GetCell(c, i))));
    // The artificial-basis method writes the Z row as a + bM.
    StringGrid1->SetCell(c + 1, m + 1,
                         Q(FMethod && FMethod->InArtificialPhase() ? FMethod->Delta(c).Text()
                                                                   : RatToStr(table.GetCell(c, 0))));
  }
  // Bold is the widest face a cell is drawn in (the pivot cross).
  QFont bold = StringGrid1->font();
  bold.setBold(true);
  StringGrid1->FitColumnWidths(bold);
  const int col = PivotCol() != 0 ? PivotCol() + 1 : std::max(StringGrid1->Col(), 1);
  const int row = PivotRow() != 0 ? PivotRow() : std::max(StringGrid1->Row(), 1);
  StringGrid1->SetCurrent(col, row);
  StringGrid1->Invalidate();
}

void TfrmStep_SimplexSolve::StringGrid1DrawCell(QPainter& canvas, const QRect& rect, int col, int row) const {
  const QPalette& pal = StringGrid1->palette();
  const std::int32_t pivotRow = PivotRow();
  const std::int32_t pivotCol = PivotCol();
  const bool inPivotRow = pivotRow != 0 && row == pivotRow;
  const bool inPivotCol = pivotCol != 0 && col == pivotCol + 1;
  const bool inCross = inPivotRow || inPivotCol;
  const bool header = col == 0 || row == 0;
  const int lastCol = StringGrid1->ColCount() - 1;
  const int lastRow = StringGrid1->RowCount() - 1;
  const QRect frame = rect.adjusted(0, 0, -1, -1);

  QFont font = StringGrid1->font();
  font.setBold(false);
  canvas.fillRect(rect, pal.color(QPalette::Base));
  QColor text = pal.color(QPalette::Text);

  if (header) {
    if (col == 0 && row == 0) {
      canvas.fillRect(rect, ColorLight);
    } else {
      const QColor first = inCross ? ColorShade : ColorLight;
      const QColor second = inCross ? ColorLight : ColorShade;
      FillGradient(canvas, rect, first, second, row == 0);
    }
    text = pal.color(QPalette::ButtonText);
    canvas.setPen(ColorLine);
    canvas.drawRect(frame);
  } else if (inPivotRow && inPivotCol) {
    FillGradient(canvas, rect, ColorPivotLight, ColorPivot, true);
    font.setBold(true);
    text = Qt::black;
    canvas.setPen(PivotFrame);
    canvas.drawRect(frame);
  } else {
    const bool strongRight = col == 1 || col == SeparatorCol + 1 || col == lastCol;
    const bool strongBottom = row == lastRow - 1 || row == lastRow;
    canvas.setPen(strongRight ? pal.color(QPalette::Text) : ColorShade);
    canvas.drawLine(rect.topRight(), rect.bottomRight());
    canvas.setPen(strongBottom ? pal.color(QPalette::Text) : ColorShade);
    canvas.drawLine(rect.bottomLeft(), rect.bottomRight());
    if (inCross) {
      font.setBold(true);
      text = CrossText;
    }
  }

  canvas.setFont(font);
  canvas.setPen(text);
  canvas.drawText(rect.adjusted(0, 2, 0, 0), Qt::AlignHCenter | Qt::AlignTop, StringGrid1->Cell(col, row));
}
