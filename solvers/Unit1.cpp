// The assignment window.
#include "Unit1.h"

#include "Assignment.h"
#include "MessageSeam.h"
#include "QtHelpers.h"
#include "SolverTables.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "ZLPCore_Main.h"
#include "untStrConst.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>

namespace {

constexpr TSolverFormTexts Texts = {"Задача о назначении", "Задача о назначении",
                                    "Решение задачи о назначении Венгерским методом. ", "Ввод условия", "zon.html"};

// Every cell of the matrix that is empty reads "0".
void FillEmpty(TStatementGrid& grid) {
  for (std::int32_t y = 1; y <= grid.Sx; ++y)
    for (std::int32_t x = 1; x <= grid.Sx; ++x)
      if (grid.Cell(x, y).empty()) grid.SetCell(x, y, "0");
}

} // namespace

TForm1::TForm1(const TSolverContext& context)
    : TSolverForm(context, Texts), Grid(NewStatement(TT_ASSIGNMENT, AssignmentMinSize, AssignmentMinSize)) {
  Grid.IsMax = false;
  FormCreate();
  connect(LabeledEdit1, &QSpinBox::valueChanged, this, &TForm1::LabeledEdit1Change);
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox1Change);
  connect(BitBtn4, &QPushButton::clicked, this, &TForm1::Button7Click);
  connect(BitBtn5, &QPushButton::clicked, this, &TForm1::Save1Click);
  connect(btnNext, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm1::FormCreate() {
  resize(640, 460);
  setMinimumSize(480, 360);
  auto* layout = new QGridLayout(pContainer);
  layout->setContentsMargins(10, 10, 10, 6);
  lbSize = new QLabel(Q("Размерность матрицы:"), pContainer);
  LabeledEdit1 = new QSpinBox(pContainer);
  LabeledEdit1->setRange(AssignmentMinSize, AssignmentMaxSize);
  LabeledEdit1->setValue(AssignmentMinSize);
  LabeledEdit1->installEventFilter(this);
  lbSize->setBuddy(LabeledEdit1);
  lbDirection = new QLabel(Q("Задачу:"), pContainer);
  ComboBox1 = new QComboBox(pContainer);
  ComboBox1->addItems({Q("Минимизировать"), Q("Максимизировать")});
  ComboBox1->setCurrentIndex(0);
  lbDirection->setBuddy(ComboBox1);
  lbMatrix = new QLabel(Q("Исходная матрица:"), pContainer);
  isx = new QTableView(pContainer);
  isx->setAccessibleName(Q("Матрица затрат: строка и столбец назначения"));
  AcceptBlocks(*isx);
  Model = new TStatementTableModel(Grid, {}, this);
  isx->setModel(Model);
  isx->horizontalHeader()->setDefaultSectionSize(48);
  isx->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  isx->verticalHeader()->setDefaultSectionSize(22);
  isx->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                       QAbstractItemView::AnyKeyPressed);
  isx->setTabKeyNavigation(true);
  lbMatrix->setBuddy(isx);
  layout->addWidget(lbSize, 0, 0);
  layout->addWidget(LabeledEdit1, 0, 1);
  layout->addWidget(lbDirection, 0, 2, Qt::AlignRight);
  layout->addWidget(ComboBox1, 0, 3);
  layout->addWidget(lbMatrix, 1, 0, 1, 4);
  layout->addWidget(isx, 2, 0, 1, 4);
  layout->setColumnStretch(2, 1);
  layout->setRowStretch(2, 1);

  BitBtn4 = AddButton("BitBtn4", sSolution, "Решить задачу и показать отчёт");
  BitBtn5 = AddButton("BitBtn5", "Сохранить", "Сохранить условие в базу данных");
  btnNext = AddButton("btnNext", "Отмена", "");
  BitBtn4->setDefault(true);
}

bool TForm1::Execute(int pendingTaskId, TZLPCore_SolutionResult& report) {
  PendingTaskId = pendingTaskId;
  Report = &report;
  const bool solved = exec() == QDialog::Accepted;
  Report = nullptr;
  return solved;
}

void TForm1::showEvent(QShowEvent* event) {
  TSolverForm::showEvent(event);
  if (std::optional<TStatementGrid> grid = TakePendingStatement()) ShowStatement(*grid);
}

void TForm1::ShowStatement(const TStatementGrid& grid) {
  const QSignalBlocker sizeBlocker(LabeledEdit1);
  const QSignalBlocker directionBlocker(ComboBox1);
  Grid = grid;
  LabeledEdit1->setValue(grid.Sx);
  // A stored matrix smaller than the window allows grows to its least size.
  ResizeStatement(Grid, TT_ASSIGNMENT, LabeledEdit1->value(), LabeledEdit1->value());
  ComboBox1->setCurrentIndex(Grid.IsMax ? 1 : 0);
  Model->Reload();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == LabeledEdit1 && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    const bool allowed = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Return ||
                         key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape || text.isEmpty() ||
                         !text.at(0).isPrint() || (text.size() == 1 && text.at(0).isDigit());
    if (!allowed) return true;
  }
  return TSolverForm::eventFilter(watched, event);
}

void TForm1::LabeledEdit1Change(int n) {
  ResizeStatement(Grid, TT_ASSIGNMENT, n, n);
  FillEmpty(Grid);
  Model->Reload();
}

void TForm1::ComboBox1Change(int index) { Grid.IsMax = index == 1; }

void TForm1::Button7Click() {
  // The cells row by row: an empty one becomes "0", a bad one stops the solution and is made current.
  for (std::int32_t y = 1; y <= Grid.Sx; ++y)
    for (std::int32_t x = 1; x <= Grid.Sx; ++x) {
      if (Grid.Cell(x, y).empty()) {
        Grid.SetCell(x, y, "0");
        continue;
      }
      std::int64_t value = 0;
      std::string message;
      if (!ReadAssignmentCost(Grid.Cell(x, y), value, message)) {
        Model->Reload();
        isx->setCurrentIndex(Model->IndexOf(x, y));
        isx->setFocus(Qt::OtherFocusReason);
        ShowMessage(sAppTitle, message, TMsgIcon::None);
        return;
      }
    }
  Model->Reload();
  TZLPCore_Interface data;
  TStatementError error;
  if (Report == nullptr || !ReadStatement(Grid, data, error)) return;
  static_cast<void>(RunTask(TT_ASSIGNMENT, data, *Report));
  accept();
}

void TForm1::Save1Click() {
  if (!AssignmentCanBeStored(Grid)) {
    ShowMessage(sError, "Ошибка в исходных данных, проверьте правильность ввода", TMsgIcon::Warning);
    return;
  }
  SaveStatement(Grid);
}

void TForm1::GrowTable(int rows, int columns) {
  const int n = std::min(std::max(rows, columns), LabeledEdit1->maximum());
  if (n <= LabeledEdit1->value()) return;
  if (ShowMessage(sAppTitle,
                  "Вставляемый блок не помещается в матрицу. Увеличить её размер до " + std::to_string(n) + "?",
                  TMsgIcon::Question, mbYes | mbNo) == TMsgAnswer::Yes)
    LabeledEdit1->setValue(n);
}
