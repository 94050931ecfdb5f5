// The problem input step: the student states a linear program.
#include "untStep_ZLPInput.h"

#include "CellBlock.h"
#include "MessageSeam.h"
#include "Pages.h"
#include "ProblemStore.h"
#include "QtHelpers.h"
#include "TaskCatalog.h"
#include "untStrConst.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int TitleHeight = 20;
constexpr int FirstRowTop = 24;
constexpr int PanelMinWidth = 245;
constexpr int LimitsMinHeight = 73;
constexpr int ButtonSize = 20;
constexpr int ButtonsLeft = PanelMinWidth - 2 * ButtonSize - 2; // the "−" button; "+" follows it
constexpr int HintVarCount = 6;     // the page asks for room for at least this many variables
constexpr int FractionGap = 3;      // between the fraction line and the rows above and below it
constexpr int FractionArrowGap = 4; // from the end of a fraction to the arrow

QLabel* MakeTitle(const QString& text, QWidget* parent) {
  auto* title = new QLabel(text, parent);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  title->setIndent(4);
  title->setAutoFillBackground(true);
  // A button's pair of colours, so that the title stays readable in a dark palette too.
  title->setBackgroundRole(QPalette::Button);
  title->setForegroundRole(QPalette::ButtonText);
  return title;
}

QFrame* MakeShape(QWidget* parent) {
  auto* shape = new QFrame(parent);
  shape->setFrameShape(QFrame::Box);
  QPalette palette = shape->palette();
  palette.setColor(QPalette::WindowText, Qt::gray);
  shape->setPalette(palette);
  return shape;
}

QToolButton* MakeButton(QAction* action, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setDefaultAction(action);
  // A screen reader names the button by what it does, not by its "+" or "−".
  button->setAccessibleName(action->toolTip());
  button->setAutoRaise(true);
  button->resize(ButtonSize, ButtonSize);
  return button;
}

} // namespace

TFormulaRow::TCellName TfrmStep_ZLPInput::AccessibleCellName(int y) const {
  // The names of the statement's messages, "Коэффициент при X2 в ограничении 3".
  const int objectiveRow = FirstGridRow;
  return [objectiveRow, y](int x) {
    QString name = Q(ProgramCellName(x, y, objectiveRow));
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return name;
  };
}

TfrmStep_ZLPInput::TfrmStep_ZLPInput(QWidget* owner, std::uint8_t kind)
    : TZLPCore_SolutionStage(owner, kind), Kind(kind), FirstGridRow(kind == SK_ZDLPINPUT ? -1 : 0) {
  FormCreate();

  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TfrmStep_ZLPInput::ComboBox1Select);
  connect(actIncVar, &QAction::triggered, this, &TfrmStep_ZLPInput::actIncVarExecute);
  connect(actDecVar, &QAction::triggered, this, &TfrmStep_ZLPInput::actDecVarExecute);
  connect(actIncEq, &QAction::triggered, this, &TfrmStep_ZLPInput::actIncEqExecute);
  connect(actDecEq, &QAction::triggered, this, &TfrmStep_ZLPInput::actDecEqExecute);
}

// Rows is destroyed before the panels that are the Qt parents of its rows.
TfrmStep_ZLPInput::~TfrmStep_ZLPInput() = default;

void TfrmStep_ZLPInput::FormCreate() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  Panel1 = new QWidget(this);
  auto* top = new QHBoxLayout(Panel1);
  top->setContentsMargins(6, 4, 6, 4);
  Image3 = new QLabel(Panel1);
  Image3->hide();
  lbDescr = new QLabel(Panel1);
  lbDescr->setWordWrap(true);
  sbInputMethod = new QToolButton(Panel1);
  sbInputMethod->setToolTip(Q("Переключение методов ввода"));
  sbInputMethod->hide();
  top->addWidget(Image3);
  top->addWidget(lbDescr, 1);
  top->addWidget(sbInputMethod);
  layout->addWidget(Panel1);

  sbDefault = new QScrollArea(this);
  sbDefault->setAccessibleName(Q("Условие задачи"));
  sbDefault->setWidgetResizable(false);
  layout->addWidget(sbDefault, 1);
  Content = new QWidget;
  QFont formulaFont = Content->font();
  formulaFont.setPointSize(10);
  Content->setFont(formulaFont);
  Editors = std::make_unique<TCellEditors>(*Content);
  Editors->PasteBlock = [this](TFormulaRow& row, int x, const QString& text) { return PasteBlock(row, x, text); };

  actIncVar = new QAction(u"+"_s, this);
  actIncVar->setToolTip(Q("Добавить переменную"));
  actDecVar = new QAction(Q("−"), this);
  actDecVar->setToolTip(Q("Удалить последнюю переменную"));
  actIncEq = new QAction(u"+"_s, this);
  actIncEq->setToolTip(Q("Добавить ограничение"));
  actDecEq = new QAction(Q("−"), this);
  actDecEq->setToolTip(Q("Удалить последнее ограничение"));

  pFunction = new QWidget(Content);
  pFunction->setMinimumWidth(PanelMinWidth);
  Shape1 = MakeShape(pFunction);
  lbFunctionTitle = MakeTitle(Q("Целевая функция"), pFunction);
  ComboBox1 = new QComboBox(pFunction);
  ComboBox1->setToolTip(u"Max/Min"_s);
  ComboBox1->addItems({u"Z ="_s, u"L ="_s});
  ComboBox1->setCurrentIndex(0);
  CellHeight = ComboBox1->sizeHint().height();
  RowPitch = std::max(22, CellHeight + 1);
  FormulaLeft = std::max(51, ComboBox1->sizeHint().width() + 5);
  ComboBox1->setGeometry(2, FirstRowTop, FormulaLeft - 5, CellHeight);
  for (std::int32_t y = FirstGridRow; y <= 0; ++y) {
    auto* row = new TFormulaRow(TFormulaRow::TTail::FreeTerm, Columns, CellHeight, pFunction);
    row->CellName = AccessibleCellName(y);
    row->move(FormulaLeft, FirstRowTop + static_cast<int>(FunctionRows.size()) * (CellHeight + 2 * FractionGap + 1));
    FunctionRows.push_back(row);
  }
  FunctionRow = FunctionRows.front();
  if (FunctionRows.size() > 1) {
    FractionLine = new QFrame(pFunction);
    FractionLine->setFrameShape(QFrame::HLine);
    FractionLine->setFrameShadow(QFrame::Plain);
    FractionLine->setLineWidth(1);
  }
  lbMM = new QLabel(Q(sArrowMax), pFunction);
  lbMM->setCursor(Qt::PointingHandCursor);
  lbMM->setToolTip(Q("Щёлкните, чтобы сменить направление: Max или Min"));
  lbMM->installEventFilter(this);
  BitBtn1 = MakeButton(actDecVar, pFunction);
  BitBtn2 = MakeButton(actIncVar, pFunction);

  pLimits = new QWidget(Content);
  pLimits->setMinimumSize(PanelMinWidth, LimitsMinHeight);
  Shape2 = MakeShape(pLimits);
  lbLimitsTitle = MakeTitle(Q("Система ограничений"), pLimits);
  BitBtn3 = MakeButton(actDecEq, pLimits);
  BitBtn4 = MakeButton(actIncEq, pLimits);
  lbCondition = new QLabel(Q("Задача решается для X<sub>j</sub> &#8805; 0"), pLimits);
  lbCondition->setTextFormat(Qt::RichText);

  sbDefault->setWidget(Content);
  SetSizes(1, 1);
  // The free terms keep their boxes: they are designed controls of their own.
  for (TFormulaRow* row : FunctionRows) Editors->Pin(*row, 0);
  txtZ0 = FunctionRow->Editor(0);
  txtZ0->setToolTip(u"Z0"_s);
  UpdateDirection();
  Content->installEventFilter(this);
  sbDefault->viewport()->installEventFilter(this);
}

TFormulaRow* TfrmStep_ZLPInput::ConstraintRow(int i) const {
  return i >= 1 && i <= ConstraintCount() ? Rows[static_cast<std::size_t>(i - 1)].get() : nullptr;
}

QComboBox* TfrmStep_ZLPInput::SignBox(int i) const {
  const TFormulaRow* row = ConstraintRow(i);
  return row ? row->Sign : nullptr;
}

TFormulaRow* TfrmStep_ZLPInput::ObjectiveRowAt(int k) const {
  return k >= 0 && k < ObjectiveRowCount() ? FunctionRows[static_cast<std::size_t>(k)] : nullptr;
}

TFormulaRow* TfrmStep_ZLPInput::GridRow(int y) const {
  return y <= 0 ? ObjectiveRowAt(y - FirstGridRow) : ConstraintRow(y);
}

std::vector<TFormulaRow*> TfrmStep_ZLPInput::AllRows() const {
  std::vector<TFormulaRow*> all = FunctionRows;
  all.reserve(FunctionRows.size() + Rows.size());
  for (const auto& row : Rows) all.push_back(row.get());
  return all;
}

QLineEdit* TfrmStep_ZLPInput::CellEdit(TFormulaRow* row, int x) {
  if (!row || x < 0 || x > row->VarCount()) return nullptr;
  QRect cell = row->CellRect(x);
  cell.moveTopLeft(row->mapTo(Content, cell.topLeft()));
  Reveal(cell);
  return Editors->Attach(*row, x);
}

void TfrmStep_ZLPInput::Reveal(const QRect& rect) {
  constexpr int Margin = 8;
  sbDefault->ensureVisible(rect.center().x(), rect.center().y(), rect.width() / 2 + Margin, rect.height() / 2 + Margin);
}

void TfrmStep_ZLPInput::CoverView() {
  if (Arranging) return;
  Editors->Cover(AllRows(), QRect(-Content->pos(), sbDefault->viewport()->size()));
}

TfrmStep_ZLPInput::TStop TfrmStep_ZLPInput::StopOf(const QWidget* w) const {
  if (const TCellEdit* box = Editors->Find(w)) return {box->Row, box->X};
  for (const auto& row : Rows)
    if (w && row->Sign == w) return {row.get(), -1};
  return {};
}

// Within a row the stops are the cells 1..n, the relation box (X = -1), the tail (X = 0).
TfrmStep_ZLPInput::TStop TfrmStep_ZLPInput::NextStop(TStop stop, bool next) const {
  const std::vector<TFormulaRow*> all = AllRows();
  const auto at = std::find(all.begin(), all.end(), stop.Row);
  if (at == all.end()) return {};
  const int n = stop.Row->VarCount();
  const bool sign = stop.Row->Sign != nullptr;
  const int last = n + (sign ? 1 : 0); // position of the tail
  const int position = stop.X >= 1 ? stop.X - 1 : stop.X == -1 ? n : last;
  const int target = position + (next ? 1 : -1);
  const auto stopAt = [&](TFormulaRow* row, int k) -> TStop {
    const int count = row->VarCount();
    if (k < count) return {row, k + 1};
    return {row, row->Sign && k == count ? -1 : 0};
  };
  if (target >= 0 && target <= last) return stopAt(stop.Row, target);
  if (next) return at + 1 == all.end() ? TStop{} : TStop{*(at + 1), 1};
  return at == all.begin() ? TStop{} : TStop{*(at - 1), 0};
}

void TfrmStep_ZLPInput::FocusStop(TStop stop, bool next) {
  const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
  if (stop.X == -1) {
    sbDefault->ensureWidgetVisible(stop.Row->Sign, 8, 8);
    stop.Row->Sign->setFocus(reason);
  } else if (QLineEdit* box = CellEdit(stop.Row, stop.X)) {
    box->setFocus(reason);
  }
}

bool TfrmStep_ZLPInput::focusNextPrevChild(bool next) {
  QWidget* current = window()->focusWidget();
  const auto tabbable = [this](QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && w->window() == window();
  };
  if (const TStop stop = StopOf(current); stop.Row) {
    if (const TStop target = NextStop(stop, next); target.Row) {
      FocusStop(target, next);
      return true;
    }
    if (!next) {
      ComboBox1->setFocus(Qt::BacktabFocusReason);
      return true;
    }
    // Past the last right-hand side: what Qt's chain has after the direction box.
    for (QWidget* w = ComboBox1->nextInFocusChain(); w != ComboBox1; w = w->nextInFocusChain())
      if (tabbable(w)) {
        w->setFocus(Qt::TabFocusReason);
        return true;
      }
    return false;
  }
  if (current == ComboBox1 && next) {
    FocusStop({AllRows().front(), 1}, true);
    return true;
  }
  if (current && !next) {
    // Coming back from what follows the grid in Qt's chain lands on the last right-hand side.
    QWidget* w = current->previousInFocusChain();
    while (w != current && !tabbable(w)) w = w->previousInFocusChain();
    if (w == ComboBox1) {
      FocusStop({AllRows().back(), 0}, false);
      return true;
    }
  }
  return TZLPCore_SolutionStage::focusNextPrevChild(next);
}

namespace {

TFormulaRow::TNewText RowTexts(const std::function<QString(int, int)>& newCell, int y) {
  if (!newCell) return {};
  return [&newCell, y](int x) { return newCell(x, y); };
}

} // namespace

void TfrmStep_ZLPInput::SetSizes(int n, int m, const TNewCell& newCell) {
  n = std::clamp(n, 1, MaxCount);
  m = std::clamp(m, 1, MaxCount);
  Arranging = true;
  SetConstraintCount(std::min(m, ConstraintCount()));
  SetVarCount(n, newCell);
  SetConstraintCount(m, newCell);
  Arranging = false;
  ArrangePanels();
  UpdateActions();
  UpdateDescription();
}

void TfrmStep_ZLPInput::SetVarCount(int n, const TNewCell& newCell) {
  for (int k = 0; k < ObjectiveRowCount(); ++k) {
    TFormulaRow* row = FunctionRows[static_cast<std::size_t>(k)];
    Editors->Release(*row, n + 1);
    row->SetVarCount(n, RowTexts(newCell, FirstGridRow + k));
  }
  for (int i = 1; i <= ConstraintCount(); ++i) {
    TFormulaRow* row = ConstraintRow(i);
    Editors->Release(*row, n + 1);
    row->SetVarCount(n, RowTexts(newCell, i));
  }
}

void TfrmStep_ZLPInput::SetConstraintCount(int m, const TNewCell& newCell) {
  m = std::max(m, 0);
  while (ConstraintCount() > m) {
    Editors->Release(*Rows.back());
    Rows.pop_back();
  }
  const bool showNew = pLimits->isVisible();
  while (ConstraintCount() < m) {
    const int i = ConstraintCount() + 1;
    auto row = std::make_unique<TFormulaRow>(TFormulaRow::TTail::Relation, Columns, CellHeight, pLimits);
    row->CellName = AccessibleCellName(i);
    row->Sign->setAccessibleName(Q("Знак ограничения ") + QString::number(i));
    row->SetVarCount(VarCount(), RowTexts(newCell, i));
    row->move(FormulaLeft, FirstRowTop + RowPitch * (i - 1));
    if (showNew) row->show();
    Rows.push_back(std::move(row));
  }
}

void TfrmStep_ZLPInput::ArrangePanels() {
  lbMM->adjustSize();
  QRect formula;
  for (const TFormulaRow* row : FunctionRows) formula = formula.united(row->geometry());
  const int middle = formula.top() + formula.height() / 2;
  ComboBox1->move(ComboBox1->x(), middle - CellHeight / 2);
  const int arrowGap = FractionLine ? FractionArrowGap : TFormulaRow::FreeTermGap;
  lbMM->move(formula.right() + 1 + arrowGap, middle - lbMM->height() / 2);
  // The line runs under the numerator to 2 pixels past its free term.
  if (FractionLine)
    FractionLine->setGeometry(formula.left(), FunctionRows.front()->geometry().bottom() + 1 + FractionGap,
                              formula.width() + 2, 1);
  const int functionWidth = std::max(PanelMinWidth, lbMM->geometry().right() + 1 + 6);
  pFunction->setGeometry(0, 0, functionWidth, formula.bottom() + 1 + 8);
  lbFunctionTitle->setGeometry(0, 0, functionWidth, TitleHeight);
  Shape1->setGeometry(0, FirstRowTop - 3, functionWidth, formula.height() + 6);
  // The "−" and "+" buttons keep their place at the right of the narrowest panel, so that they stay
  // under the mouse while a student adds variable after variable.
  BitBtn1->move(ButtonsLeft, 0);
  BitBtn2->move(ButtonsLeft + ButtonSize, 0);

  const QRect last = Rows.empty() ? QRect(FormulaLeft, FirstRowTop, 0, 0) : Rows.back()->geometry();
  const int rowsBottom = last.bottom() + 1;
  const int limitsWidth = std::max(PanelMinWidth, last.right() + 1 + 6);
  const int limitsHeight = std::max(LimitsMinHeight, rowsBottom + 28);
  pLimits->setGeometry(0, pFunction->height() + 4, limitsWidth, limitsHeight);
  lbLimitsTitle->setGeometry(0, 0, limitsWidth, TitleHeight);
  Shape2->setGeometry(0, FirstRowTop - 3, limitsWidth, rowsBottom - FirstRowTop + 6);
  BitBtn3->move(ButtonsLeft, 0);
  BitBtn4->move(ButtonsLeft + ButtonSize, 0);
  lbCondition->adjustSize();
  lbCondition->move(6, rowsBottom + 6);

  Editors->Place();
  Content->resize(std::max(functionWidth, limitsWidth), pLimits->geometry().bottom() + 1);
  CoverView();
}

QSize TfrmStep_ZLPInput::sizeHint() const {
  // As wide as the formula of HintVarCount variables (or of the variables there are) needs, so that
  // the wizard opens without a horizontal scroll bar; as high as the page is now.
  const int n = std::max(VarCount(), HintVarCount);
  int width = FormulaLeft + FunctionRow->WidthFor(n) + FractionArrowGap + lbMM->sizeHint().width() + 6;
  if (!Rows.empty()) width = std::max(width, FormulaLeft + Rows.front()->WidthFor(n) + 6);
  width = std::max(width, PanelMinWidth);
  const int frame = 2 * sbDefault->frameWidth();
  // Room for a vertical scroll bar, which a long system of constraints brings.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, sbDefault);
  const QSize top = Panel1->sizeHint();
  return {std::max(width + frame + bar, top.width()), top.height() + Content->height() + frame};
}

void TfrmStep_ZLPInput::UpdateActions() {
  actIncVar->setEnabled(VarCount() < MaxCount);
  actDecVar->setEnabled(VarCount() > 1);
  actIncEq->setEnabled(ConstraintCount() < MaxCount);
  actDecEq->setEnabled(ConstraintCount() > 1);
}

void TfrmStep_ZLPInput::UpdateDirection() {
  lbMM->setText(Q(ComboBox1->currentIndex() == 0 ? sArrowMax : sArrowMin));
  ArrangePanels();
  UpdateDescription();
}

void TfrmStep_ZLPInput::UpdateDescription() {
  lbDescr->setText(Q(InputDescription(ComboBox1->currentIndex() == 0, VarCount(), ConstraintCount())));
}

void TfrmStep_ZLPInput::ComboBox1Select() { UpdateDirection(); }

bool TfrmStep_ZLPInput::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((watched == Content && (type == QEvent::Move || type == QEvent::Resize)) ||
      (watched == sbDefault->viewport() && type == QEvent::Resize))
    CoverView();
  if (watched == lbMM && type == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    ComboBox1->setCurrentIndex(ComboBox1->currentIndex() == 0 ? 1 : 0);
    return true;
  }
  return TZLPCore_SolutionStage::eventFilter(watched, event);
}

void TfrmStep_ZLPInput::actIncVarExecute() {
  if (VarCount() >= MaxCount) return;
  SetVarCount(VarCount() + 1);
  ArrangePanels();
  UpdateActions();
  UpdateDescription();
}

void TfrmStep_ZLPInput::actDecVarExecute() {
  if (VarCount() <= 1) return;
  SetVarCount(VarCount() - 1);
  ArrangePanels();
  UpdateActions();
  UpdateDescription();
}

void TfrmStep_ZLPInput::actIncEqExecute() {
  if (ConstraintCount() >= MaxCount) return;
  SetConstraintCount(ConstraintCount() + 1);
  ArrangePanels();
  UpdateActions();
  UpdateDescription();
}

void TfrmStep_ZLPInput::actDecEqExecute() {
  if (ConstraintCount() <= 1) return;
  SetConstraintCount(ConstraintCount() - 1);
  ArrangePanels();
  UpdateActions();
  UpdateDescription();
}

void TfrmStep_ZLPInput::ShowStatement(const TStatementGrid& grid) {
  Base = grid;
  // New cells get their stored text as they are made; the others get it below, and only where it
  // differs, so that entering again with the same problem costs next to nothing.
  const auto cell = [&grid](int x, int y) { return grid.HasCell(x, y) ? Q(grid.Cell(x, y)) : u"0"_s; };
  SetSizes(grid.Sx, grid.Sy, cell);
  {
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->setCurrentIndex(grid.IsMax ? 0 : 1);
  }
  UpdateDirection();
  for (int y = FirstGridRow; y <= ConstraintCount(); ++y)
    if (TFormulaRow* row = GridRow(y))
      for (int x = 0; x <= VarCount(); ++x) row->SetText(x, cell(x, y));
  for (int i = 1; i <= ConstraintCount(); ++i) {
    QComboBox* sign = SignBox(i);
    const auto k = static_cast<std::size_t>(i - 1);
    // A relation the box does not offer shows "<=", the relation the row is then read with.
    const int item = k < grid.Signs.size() ? sign->findText(Q(SignToText(grid.Signs[k]))) : -1;
    sign->setCurrentIndex(std::max(item, 0));
  }
}

TStatementGrid TfrmStep_ZLPInput::Statement(std::uint8_t taskType) const {
  TStatementGrid grid = Base;
  ResizeStatement(grid, taskType, VarCount(), ConstraintCount());
  grid.IsMax = ComboBox1->currentIndex() == 0;
  for (int y = grid.YFirst(); y <= grid.YLast(); ++y)
    if (const TFormulaRow* row = GridRow(y))
      for (int x = grid.XFirst(); x <= grid.XLast(); ++x)
        if (x <= row->VarCount()) grid.SetCell(x, y, row->Text(x).toStdString());
  for (int i = 1; i <= ConstraintCount() && grid.HasSigns(); ++i)
    grid.Signs[static_cast<std::size_t>(i - 1)] = SignFromText(SignBox(i)->currentText().toStdString());
  return grid;
}

void TfrmStep_ZLPInput::EnterStage(TStageHost& host) {
  const int id = host.PendingProblem();
  const TProblemStore* store = host.Store();
  if (id == -1 || !store) return;
  std::string error;
  if (const std::optional<TStatementGrid> grid = store->LoadStatement(id, error))
    ShowStatement(*grid);
  else
    ShowMessage(sError, error, TMsgIcon::Error);
}

void TfrmStep_ZLPInput::LeaveForward(TStageHost& host) {
  CanLeave = false;
  const TStatementGrid grid = Statement(host.RunTaskType());
  TStatementError error;
  if (!ReadStatement(grid, StageData, error)) {
    // The bad cell is scrolled into view with its box.
    if (QLineEdit* bad = error.Place == TStatementError::TPlace::Cell ? EditAt(error.X, error.Y) : nullptr) {
      bad->setFocus();
      bad->selectAll();
    }
    ShowMessage(sAppTitle, error.Message, TMsgIcon::Warning, mbOK);
    return;
  }
  if (const TStageInfo* info = FindStageInfo(Kind); info && info->Unit)
    info->Unit(StageData, StageReport, *info, host.RunTaskInfo());
  if (TProblemStore* store = host.Store(); store && store->TempTaskId() != -1) {
    TStatementGrid stored = grid;
    NormalizeProgramCells(stored);
    // A refusal of the store is shown by the store itself; the solution goes on without it.
    static_cast<void>(store->StoreTempStatement(stored));
  }
  CanLeave = true;
}

bool TfrmStep_ZLPInput::PasteBlock(TFormulaRow& row, int x, const QString& text) {
  const std::vector<QStringList> block = SplitCellBlock(text);
  int top = FirstGridRow - 1;
  for (int y = FirstGridRow; y <= ConstraintCount(); ++y)
    if (GridRow(y) == &row) top = y;
  if (block.empty() || top < FirstGridRow) return false;
  // The columns of a row as a spreadsheet has them: X1 ... Xn, then the free term or the right-hand
  // side; a relation ("<=", "=", ">=") in a constraint row sets its relation and takes no column.
  const auto isSign = [](const QString& cell) {
    return cell == u"<="_s || cell == u"="_s || cell == u">="_s || cell == u"=>"_s || cell == u"≤"_s || cell == u"≥"_s;
  };
  const int first = x == 0 ? VarCount() : x - 1;
  int n = VarCount();
  int m = ConstraintCount();
  for (std::size_t r = 0; r < block.size(); ++r) {
    const auto width = static_cast<int>(
        std::count_if(block[r].begin(), block[r].end(), [&isSign](const QString& cell) { return !isSign(cell); }));
    n = std::max(n, first + width - 1);
    m = std::max(m, top + static_cast<int>(r));
  }
  n = std::min(n, MaxCount);
  m = std::min(m, MaxCount);
  if ((n > VarCount() || m > ConstraintCount()) &&
      ShowMessage(sAppTitle,
                  "Вставляемый блок (строк: " + std::to_string(block.size()) +
                      ") не помещается в условие. Увеличить число переменных до " + std::to_string(n) +
                      " и ограничений до " + std::to_string(m) + "?",
                  TMsgIcon::Question, mbYes | mbNo) == TMsgAnswer::Yes)
    SetSizes(n, m, {});
  // What still does not fit is left out.
  for (std::size_t r = 0; r < block.size(); ++r) {
    const int y = top + static_cast<int>(r);
    TFormulaRow* target = y <= ConstraintCount() ? GridRow(y) : nullptr;
    if (target == nullptr) break;
    int column = first;
    for (const QString& cell : block[r]) {
      if (isSign(cell)) {
        if (y >= 1) {
          const QString sign = cell == u"=>"_s || cell == u"≥"_s ? u">="_s : cell == u"≤"_s ? u"<="_s : cell;
          SignBox(y)->setCurrentIndex(std::max(SignBox(y)->findText(sign), 0));
        }
        continue;
      }
      if (column > VarCount()) break;
      target->SetText(column < VarCount() ? column + 1 : 0, cell);
      ++column;
    }
  }
  return true;
}
