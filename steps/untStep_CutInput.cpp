// The cutting-stock input step: the material, the products and their proportions, the patterns.
#include "untStep_CutInput.h"

#include "CellBlock.h"
#include "Cutting.h"
#include "MessageSeam.h"
#include "ProblemStore.h"
#include "QtHelpers.h"
#include "TaskCatalog.h"
#include "untStrConst.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int ColWidth = 48;
constexpr int RowHeight = 18;
constexpr int GroupMinWidth = 209;
constexpr int GroupMinHeight = 70;
constexpr int CountLength = 3; // the counts are at most 255
constexpr int MaterialLength = 3;

// The characters a number of the step may hold: digits, "/" and a decimal point or comma.
const QRegularExpression NumberCharacters(u"[0-9/.,]*"_s);
const QRegularExpression CountCharacters(u"[0-9]*"_s);

// A typed character that a grid drops: any but digits, "/", a decimal point or comma, backspace,
// Enter and Esc. Keys without text (arrows, Delete, Tab, ...) and shortcuts pass.
bool Dropped(const QKeyEvent& key) {
  if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0) return false;
  const QString text = key.text();
  return std::any_of(text.begin(), text.end(), [](QChar ch) {
    return !((ch >= u'0' && ch <= u'9') || ch == u'/' || ch == u'.' || ch == u',' || ch == u'\b' || ch == u'\r' ||
             ch == u'\n' || ch == QChar(0x1B));
  });
}

// The in-place editor of a grid cell takes the characters of a number only, pasted ones included.
class TNumberDelegate final : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor))
      edit->setValidator(new QRegularExpressionValidator(NumberCharacters, edit));
    return editor;
  }
};

QLineEdit* MakeEdit(const QString& text, int maxLength, const QRegularExpression& characters, QWidget* parent) {
  auto* edit = new QLineEdit(text, parent);
  edit->setMaxLength(maxLength);
  edit->setValidator(new QRegularExpressionValidator(characters, edit));
  edit->setFixedWidth(std::max(56, edit->fontMetrics().horizontalAdvance(u"0000"_s) + 16));
  return edit;
}

bool Within(const QWidget* widget, const QWidget* ancestor) {
  return widget != nullptr && (widget == ancestor || ancestor->isAncestorOf(widget));
}

} // namespace

// ---- the up-down arrows ----

TUpDown::TUpDown(QLineEdit* associate, int min, int max, QWidget* parent)
    : QWidget(parent), Associate(associate), FMin(min), FMax(max), FPosition(min) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  btnUp = new QToolButton(this);
  btnUp->setArrowType(Qt::UpArrow);
  btnDown = new QToolButton(this);
  btnDown->setArrowType(Qt::DownArrow);
  const int height = std::max(8, associate->sizeHint().height() / 2);
  for (QToolButton* button : {btnUp, btnDown}) {
    button->setFixedSize(16, height);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    layout->addWidget(button);
  }
  connect(btnUp, &QToolButton::clicked, this, [this] { Step(1); });
  connect(btnDown, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(Associate, &QLineEdit::textChanged, this, &TUpDown::AssociateChange);
  Associate->installEventFilter(this);
  AssociateChange();
}

void TUpDown::SetPosition(int position) {
  FPosition = std::clamp(position, FMin, FMax);
  Associate->setText(QString::number(FPosition));
}

void TUpDown::AssociateChange() {
  bool ok = false;
  const int value = Associate->text().toInt(&ok);
  if (ok && value >= FMin && value <= FMax) FPosition = value;
}

void TUpDown::Step(int delta) {
  AssociateChange();
  SetPosition(FPosition + delta);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Associate && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- the grids ----

TCutGrid::TCutGrid(bool fixedRow, QWidget* parent, bool fixedColumn) : QTableWidget(parent) {
  setItemDelegate(new TNumberDelegate(this));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  verticalHeader()->setVisible(fixedColumn);
  horizontalHeader()->setVisible(fixedRow);
  horizontalHeader()->setDefaultSectionSize(ColWidth);
  horizontalHeader()->setMinimumSectionSize(8);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  const int rowHeight = std::max(RowHeight, fontMetrics().height() + 4);
  verticalHeader()->setMinimumSectionSize(rowHeight);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  if (fixedRow) horizontalHeader()->setFixedHeight(rowHeight + 2);
  // Wide enough for the longest name, "B255", whatever the count is now.
  if (fixedColumn) verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(u"B255"_s) + 12);
}

namespace {

// Header items "<prefix>k" with the hint "<hint> k", k = 1 ... count.
void NameSections(QTableWidget& grid, Qt::Orientation orientation, const QString& prefix, const QString& hint) {
  const int count = orientation == Qt::Horizontal ? grid.columnCount() : grid.rowCount();
  for (int k = 0; k < count; ++k) {
    QTableWidgetItem* item = orientation == Qt::Horizontal ? grid.horizontalHeaderItem(k) : grid.verticalHeaderItem(k);
    if (!item) {
      item = new QTableWidgetItem;
      if (orientation == Qt::Horizontal)
        grid.setHorizontalHeaderItem(k, item);
      else
        grid.setVerticalHeaderItem(k, item);
    }
    const QString number = QString::number(k + 1);
    if (item->text() != prefix + number) item->setText(prefix + number);
    item->setToolTip(hint + u' ' + number);
  }
}

} // namespace

void TCutGrid::NameColumns(const QString& prefix, const QString& hint) {
  NameSections(*this, Qt::Horizontal, prefix, hint);
}

void TCutGrid::NameRows(const QString& prefix, const QString& hint) { NameSections(*this, Qt::Vertical, prefix, hint); }

void TCutGrid::SetSize(int cols, int rows) {
  const int oldCols = columnCount();
  const int oldRows = rowCount();
  setColumnCount(cols);
  setRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int c = (r < oldRows ? oldCols : 0); c < cols; ++c) setItem(r, c, new QTableWidgetItem);
}

QString TCutGrid::Text(int col, int row) const {
  const QTableWidgetItem* cell = item(row, col);
  return cell ? cell->text() : QString();
}

void TCutGrid::SetText(int col, int row, const QString& text) {
  if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
  if (QTableWidgetItem* cell = item(row, col)) {
    if (cell->text() != text) cell->setText(text);
  } else {
    setItem(row, col, new QTableWidgetItem(text));
  }
}

QSize TCutGrid::FullSize() const {
  // isHidden, not isVisible: the size is asked for before the step is first shown.
  const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height();
  const int side = verticalHeader()->isHidden() ? 0 : verticalHeader()->width();
  return {side + horizontalHeader()->length() + 2 * frameWidth(),
          header + verticalHeader()->length() + 2 * frameWidth()};
}

void TCutGrid::CommitEdit() {
  if (!Editing()) return;
  QWidget* editor = QApplication::focusWidget();
  if (!Within(editor, viewport()) || editor == viewport()) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TCutGrid::keyPressEvent(QKeyEvent* event) {
  if (PasteBlock && event->matches(QKeySequence::Paste) && currentIndex().isValid()) {
    const std::vector<QStringList> block = SplitCellBlock(QGuiApplication::clipboard()->text());
    if (!block.empty() && PasteBlock(currentColumn(), currentRow(), block)) {
      event->accept();
      return;
    }
  }
  if (Dropped(*event)) {
    event->accept();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

// ---- the step ----

TfrmStep_CutInput::TfrmStep_CutInput(QWidget* owner) : TZLPCore_SolutionStage(owner, SK_CUTINPUT) {
  FormCreate();
  connect(LabeledEdit2, &QLineEdit::textChanged, this, &TfrmStep_CutInput::LabeledEdit2Change);
  connect(LabeledEdit3, &QLineEdit::textChanged, this, &TfrmStep_CutInput::LabeledEdit3Change);
  connect(CheckBox1, &QCheckBox::clicked, this, &TfrmStep_CutInput::CheckBox1Click);
  connect(SProp->horizontalHeader(), &QHeaderView::sectionResized, this, &TfrmStep_CutInput::SPropColumnResize);
  connect(qApp, &QApplication::focusChanged, this, &TfrmStep_CutInput::FocusChange);
  for (TCutGrid* grid : {SProp, SMatr})
    grid->PasteBlock = [this, grid](int col, int row, const std::vector<QStringList>& block) {
      return PasteIntoGrid(*grid, col, row, block);
    };
}

bool TfrmStep_CutInput::PasteIntoGrid(TCutGrid& grid, int col, int row, const std::vector<QStringList>& block) {
  const bool proportions = &grid == SProp;
  // The proportions are one row: the cells of the block follow one another along it.
  std::vector<QStringList> rows = block;
  if (proportions) {
    QStringList line;
    for (const QStringList& r : block) line += r;
    rows = {line};
    row = 0;
  }
  int width = 0;
  for (const QStringList& r : rows) width = std::max(width, static_cast<int>(r.size()));
  const int needProducts =
      std::min(proportions ? col + width : std::max(ProductCount(), row + static_cast<int>(rows.size())), CutMaxCount);
  const int needPatterns = std::min(proportions ? PatternCount() : std::max(PatternCount(), col + width), CutMaxCount);
  if ((needProducts > ProductCount() || needPatterns > PatternCount()) &&
      ShowMessage(sWizardTitle,
                  "Вставляемый блок не помещается в таблицу. Увеличить число изделий до " +
                      std::to_string(needProducts) + " и способов раскроя до " +
                      std::to_string(std::max(needPatterns, PatternCount())) + "?",
                  TMsgIcon::Question, mbYes | mbNo) == TMsgAnswer::Yes) {
    UpDown2->SetPosition(std::max(needProducts, ProductCount()));
    UpDown3->SetPosition(std::max(needPatterns, PatternCount()));
    ResizeGrids();
  }
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
      const int y = row + static_cast<int>(r);
      const int x = col + c;
      if (x < grid.columnCount() && y < grid.rowCount()) grid.SetText(x, y, rows[r][c]);
    }
  return true;
}

void TfrmStep_CutInput::FormCreate() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  sbDefault = new QScrollArea(this);
  sbDefault->setWidgetResizable(true);
  sbDefault->setFrameShape(QFrame::NoFrame);
  layout->addWidget(sbDefault);
  auto* content = new QWidget;
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(8, 8, 8, 8);
  column->setSpacing(8);

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(6);
  fields->setVerticalSpacing(4);
  lbMaterial = new QLabel(Q(sCutMaterialLabel), content);
  LabeledEdit1 = MakeEdit(u"0"_s, MaterialLength, NumberCharacters, content);
  lbMaterial->setBuddy(LabeledEdit1);
  lbProducts = new QLabel(Q(sCutProductsLabel), content);
  LabeledEdit2 = MakeEdit(u"1"_s, CountLength, CountCharacters, content);
  lbProducts->setBuddy(LabeledEdit2);
  UpDown2 = new TUpDown(LabeledEdit2, 1, CutMaxCount, content);
  lbPatterns = new QLabel(Q(sCutPatternsLabel), content);
  LabeledEdit3 = MakeEdit(u"1"_s, CountLength, CountCharacters, content);
  lbPatterns->setBuddy(LabeledEdit3);
  UpDown3 = new TUpDown(LabeledEdit3, 1, CutMaxCount, content);
  CheckBox1 = new QCheckBox(Q("Показывать нули:"), content);
  CheckBox1->setToolTip(Q("Отображать нулевые значения"));
  CheckBox1->setLayoutDirection(Qt::RightToLeft);
  CheckBox1->setChecked(true);
  fields->addWidget(lbMaterial, 0, 0);
  fields->addWidget(LabeledEdit1, 0, 1);
  fields->addWidget(lbProducts, 1, 0);
  fields->addWidget(LabeledEdit2, 1, 1);
  fields->addWidget(UpDown2, 1, 2);
  fields->addWidget(lbPatterns, 2, 0);
  fields->addWidget(LabeledEdit3, 2, 1);
  fields->addWidget(UpDown3, 2, 2);
  fields->addWidget(CheckBox1, 3, 0, 1, 2, Qt::AlignLeft);
  fields->setColumnStretch(3, 1);
  column->addLayout(fields);

  GroupBox1 = new QGroupBox(Q(" Пропорции изделий: "), content);
  SProp = new TCutGrid(true, GroupBox1);
  GroupBox2 = new QGroupBox(Q(" Матрица способов раскроя: "), content);
  GroupBox2->setToolTip(Q("По вертикали изделия, по горизонтали способы раскроя"));
  // Headed as the report names them: the patterns X1 ... Xp across, the products B1 ... Bk down.
  SMatr = new TCutGrid(true, GroupBox2, true);
  SMatr->setToolTip(GroupBox2->toolTip());
  // What a screen reader says of the grids and of the arrows beside the counts.
  SProp->setAccessibleName(Q("Пропорции изделий"));
  SMatr->setAccessibleName(Q("Матрица способов раскроя: по вертикали изделия, по горизонтали способы раскроя"));
  UpDown2->btnUp->setAccessibleName(Q("Добавить изделие"));
  UpDown2->btnDown->setAccessibleName(Q("Убрать изделие"));
  UpDown3->btnUp->setAccessibleName(Q("Добавить способ раскроя"));
  UpDown3->btnDown->setAccessibleName(Q("Убрать способ раскроя"));
  column->addWidget(GroupBox1, 0, Qt::AlignLeft);
  column->addWidget(GroupBox2, 0, Qt::AlignLeft);
  column->addStretch(1);
  sbDefault->setWidget(content);

  SProp->SetSize(0, 1);
  SMatr->SetSize(0, 0);
  ResizeGrids();
  setTabOrder(LabeledEdit1, LabeledEdit2);
  setTabOrder(LabeledEdit2, LabeledEdit3);
  setTabOrder(LabeledEdit3, CheckBox1);
  setTabOrder(CheckBox1, SProp);
  setTabOrder(SProp, SMatr);
}

std::optional<int> TfrmStep_CutInput::CountOf(const QLineEdit* edit) {
  TRational value{0, 1};
  if (!ParseInputNumber(edit->text().toStdString(), value) || value.Den != 1) return std::nullopt;
  return value.Num;
}

void TfrmStep_CutInput::ResizeGrids() {
  const std::optional<int> k = CountOf(LabeledEdit2);
  const std::optional<int> p = CountOf(LabeledEdit3);
  // Counts beyond what a program holds never reach the grids.
  if (!k || !p || *k < 1 || *p < 1 || *k > CutMaxCount || *p > CutMaxCount) return;
  const bool shown = SMatr->isVisible() && *k * *p > 1000;
  if (shown) SMatr->hide();
  SProp->SetSize(*k, 1);
  SMatr->SetSize(*p, *k);
  SProp->NameColumns(u"B"_s, Q("Изделие"));
  SMatr->NameColumns(u"X"_s, Q("Способ раскроя"));
  SMatr->NameRows(u"B"_s, Q("Изделие"));
  for (int c = 0; c < *k; ++c)
    if (const QString text = SProp->Text(c, 0); text.isEmpty() || text == u"0"_s) SProp->SetText(c, 0, u"1"_s);
  ApplyZeroDisplay();
  if (shown) SMatr->show();
  FitGroups();
}

void TfrmStep_CutInput::ApplyZeroDisplay() {
  const bool zeros = CheckBox1->isChecked();
  for (int r = 0; r < SMatr->rowCount(); ++r)
    for (int c = 0; c < SMatr->columnCount(); ++c) {
      const QString text = SMatr->Text(c, r);
      if (zeros && text.isEmpty())
        SMatr->SetText(c, r, u"0"_s);
      else if (!zeros && text == u"0"_s)
        SMatr->SetText(c, r, QString());
    }
}

void TfrmStep_CutInput::FitGroups() {
  const auto fit = [](QGroupBox* group, TCutGrid* grid, int minHeight) {
    const QSize size = grid->FullSize();
    const QMargins margins = group->contentsMargins();
    const int top = std::max(margins.top(), group->fontMetrics().height() + 2);
    grid->setGeometry(8, top, size.width(), size.height());
    group->setFixedSize(std::max(GroupMinWidth, size.width() + 16),
                        std::max(minHeight, top + size.height() + std::max(margins.bottom(), 8)));
  };
  fit(GroupBox1, SProp, 0);
  fit(GroupBox2, SMatr, GroupMinHeight);
}

void TfrmStep_CutInput::LabeledEdit2Change() { ResizeGrids(); }

void TfrmStep_CutInput::LabeledEdit3Change() { ResizeGrids(); }

void TfrmStep_CutInput::CheckBox1Click() { ApplyZeroDisplay(); }

void TfrmStep_CutInput::SPropColumnResize() { FitGroups(); }

void TfrmStep_CutInput::FocusChange(QWidget* old, QWidget* now) {
  // Leaving SMatr applies the zero display, once its editor has handed over the typed text.
  if (Within(old, SMatr) && !Within(now, SMatr))
    QTimer::singleShot(0, this, [this] {
      if (!SMatr->Editing()) ApplyZeroDisplay();
    });
}

TStatementGrid TfrmStep_CutInput::Statement() const {
  TStatementGrid grid = NewStatement(TT_CUTTING, PatternCount(), ProductCount());
  grid.Material = LabeledEdit1->text().toStdString();
  for (int i = 1; i <= grid.Sy; ++i) {
    grid.SetCell(0, i, SProp->Text(i - 1, 0).toStdString());
    for (int j = 1; j <= grid.Sx; ++j) grid.SetCell(j, i, SMatr->Text(j - 1, i - 1).toStdString());
  }
  return grid;
}

void TfrmStep_CutInput::ShowStatement(const TStatementGrid& grid) {
  {
    const QSignalBlocker material(LabeledEdit1);
    const QSignalBlocker products(LabeledEdit2);
    const QSignalBlocker patterns(LabeledEdit3);
    // A stored amount is shown whole, however long it is.
    const QString amount = Q(grid.Material);
    LabeledEdit1->setMaxLength(std::max(MaterialLength, static_cast<int>(amount.size())));
    LabeledEdit1->setText(amount);
    UpDown2->SetPosition(grid.Sy);
    UpDown3->SetPosition(grid.Sx);
  }
  ResizeGrids();
  for (int i = 1; i <= std::min(grid.Sy, ProductCount()); ++i) {
    SProp->SetText(i - 1, 0, Q(grid.Cell(0, i)));
    for (int j = 1; j <= std::min(grid.Sx, PatternCount()); ++j) SMatr->SetText(j - 1, i - 1, Q(grid.Cell(j, i)));
  }
}

void TfrmStep_CutInput::EnterStage(TStageHost& host) {
  const int id = host.PendingProblem();
  const TProblemStore* store = host.Store();
  if (id == -1 || !store) return;
  std::string error;
  if (const std::optional<TStatementGrid> grid = store->LoadStatement(id, error))
    ShowStatement(*grid);
  else
    ShowMessage(sError, error, TMsgIcon::Error);
}

void TfrmStep_CutInput::Refuse(QLineEdit* edit, const std::string& text) {
  edit->setFocus();
  edit->selectAll();
  sbDefault->ensureWidgetVisible(edit);
  ShowMessage(sWizardTitle, text, TMsgIcon::Warning, mbOK);
}

void TfrmStep_CutInput::LeaveForward(TStageHost& host) {
  CanLeave = false;
  SProp->CommitEdit();
  SMatr->CommitEdit();
  const std::optional<int> k = CountOf(LabeledEdit2);
  const std::optional<int> p = CountOf(LabeledEdit3);
  if (k && p && (*k != ProductCount() || *p != PatternCount())) ResizeGrids();

  // The statement is kept as typed also when it is refused below; the store shows its own failures.
  const TStatementGrid grid = Statement();
  if (TProblemStore* store = host.Store(); store && store->TempTaskId() != -1)
    static_cast<void>(store->StoreTempStatement(grid));

  const std::pair<QLineEdit*, const char*> fields[] = {
      {LabeledEdit1, sCutMaterialLabel}, {LabeledEdit2, sCutProductsLabel}, {LabeledEdit3, sCutPatternsLabel}};
  for (const auto& [edit, label] : fields) {
    TRational value{0, 1};
    if (edit->text().isEmpty() || !ParseInputNumber(edit->text().toStdString(), value)) {
      Refuse(edit, EnterFieldMessage(label));
      return;
    }
  }
  for (const auto& [edit, label, count] :
       {std::tuple{LabeledEdit2, sCutProductsLabel, k}, std::tuple{LabeledEdit3, sCutPatternsLabel, p}}) {
    if (!count || *count < 1 || *count > CutMaxCount) {
      Refuse(edit, EnterFieldMessage(label) + " от 1 до " + std::to_string(CutMaxCount));
      return;
    }
  }

  TStatementError error;
  if (!ReadStatement(grid, StageData, error)) {
    const char* caption = sWizardTitle;
    if (error.Place == TStatementError::TPlace::Material) {
      Refuse(LabeledEdit1, error.Message);
      return;
    }
    if (error.Place == TStatementError::TPlace::Cell) {
      TCutGrid* table = error.X == 0 ? SProp : SMatr;
      const int col = error.X == 0 ? error.Y - 1 : error.X - 1;
      const int row = error.X == 0 ? 0 : error.Y - 1;
      table->setFocus();
      table->setCurrentCell(row, col);
      if (const QTableWidgetItem* cell = table->item(row, col)) table->scrollToItem(cell);
      sbDefault->ensureWidgetVisible(table);
      if (error.Message.ends_with(sEnterRational)) caption = sAppTitle;
    }
    ShowMessage(caption, error.Message, TMsgIcon::Warning, mbOK);
    return;
  }
  if (const TStageInfo* info = FindStageInfo(SK_CUTINPUT); info && info->Unit)
    CanLeave = info->Unit(StageData, StageReport, *info, host.RunTaskInfo());
}
