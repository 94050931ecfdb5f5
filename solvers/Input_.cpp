// The regression window.
#include "Input_.h"

#include "MessageSeam.h"
#include "QtHelpers.h"
#include "Regression.h"
#include "SolverTables.h"
#include "TaskCatalog.h"
#include "ZLPCore_StageTasks.h"
#include "untStrConst.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr TSolverFormTexts Texts = {
    "Метод наименьших квадратов", "МНК",
    "Определение коэффициентов регрессии по методу наименьших квадратов для однофакторной модели Y = AX + B", "МНК",
    "help/steps/mnk.html"};

constexpr const char* BadData = "Ошибка в исходных данных, проверьте правильность ввода";

void FixRowHeights(QTableView& view) {
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.verticalHeader()->setDefaultSectionSize(20);
}

// "A=" with the fraction numerator over denominator, "=" and the value, in the rows from row on.
void AddFractionRow(QGridLayout& grid, int row, const char* name, QLabel*& numerator, QLabel*& denominator,
                    QLabel*& value, QWidget* parent) {
  grid.addWidget(new QLabel(Q(name), parent), row, 0, 3, 1, Qt::AlignVCenter);
  numerator = new QLabel(parent);
  numerator->setAlignment(Qt::AlignCenter);
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Plain);
  denominator = new QLabel(parent);
  denominator->setAlignment(Qt::AlignCenter);
  value = new QLabel(parent);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid.addWidget(numerator, row, 1);
  grid.addWidget(line, row + 1, 1);
  grid.addWidget(denominator, row + 2, 1);
  grid.addWidget(value, row, 2, 3, 1, Qt::AlignVCenter);
}

} // namespace

TInput_form::TInput_form(const TSolverContext& context)
    : TSolverForm(context, Texts), Grid(NewStatement(TT_REGRESSION, RegressionMinCount, 0)) {
  for (std::int32_t i = 1; i <= Grid.Sx; ++i) {
    Grid.SetCell(0, i, "");
    Grid.SetCell(1, i, "");
  }
  Report.Title = GetTaskName(TT_REGRESSION);
  FormCreate();
  connect(Edit1, &QSpinBox::valueChanged, this, &TInput_form::Edit1Change);
  connect(InputModel, &TStatementTableModel::CellEdited, this, &TInput_form::StringGrid_inputSetEditText);
  connect(BitBtn3, &QPushButton::clicked, this, &TInput_form::Button1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TInput_form::BitBtn2Click);
  connect(btnNext, &QPushButton::clicked, this, &QDialog::accept);
}

void TInput_form::FormCreate() {
  resize(720, 520);
  setMinimumSize(560, 420);
  auto* layout = new QHBoxLayout(pContainer);
  layout->setContentsMargins(10, 10, 10, 6);

  auto* input = new QGroupBox(Q(" Ввод статистических данных: "), pContainer);
  auto* inputLayout = new QVBoxLayout(input);
  auto* countRow = new QHBoxLayout;
  lbCount = new QLabel(Q("Количество строк:"), input);
  Edit1 = new QSpinBox(input);
  Edit1->setRange(RegressionMinCount, RegressionMaxCount);
  Edit1->setValue(RegressionMinCount);
  lbCount->setBuddy(Edit1);
  countRow->addWidget(lbCount);
  countRow->addWidget(Edit1, 1);
  inputLayout->addLayout(countRow);
  StringGrid_input = new QTableView(input);
  StringGrid_input->setAccessibleName(Q("Наблюдения X и Y"));
  AcceptBlocks(*StringGrid_input);
  InputModel = new TStatementTableModel(Grid, {u"X"_s, u"Y"_s}, this);
  StringGrid_input->setModel(InputModel);
  StringGrid_input->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
  StringGrid_input->setTabKeyNavigation(true);
  StringGrid_input->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  FixRowHeights(*StringGrid_input);
  inputLayout->addWidget(StringGrid_input, 1);
  input->setMaximumWidth(230);
  layout->addWidget(input);

  auto* right = new QVBoxLayout;
  StringGrid1 = new QTableView(pContainer);
  SheetModel = new TSheetModel({Q("№"), u"X"_s, u"Y"_s, Q("X²"), Q("X·Y"), Q("Y²")}, this);
  StringGrid1->setModel(SheetModel);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  FixRowHeights(*StringGrid1);
  right->addWidget(StringGrid1, 1);

  GroupBox2 = new QGroupBox(Q(" Коэффициенты: "), pContainer);
  auto* fractions = new QGridLayout(GroupBox2);
  AddFractionRow(*fractions, 0, "A=", lbANumerator, lbADenominator, lbAValue, GroupBox2);
  AddFractionRow(*fractions, 3, "B=", lbBNumerator, lbBDenominator, lbBValue, GroupBox2);
  fractions->setColumnStretch(2, 1);
  GroupBox2->hide();
  right->addWidget(GroupBox2);
  layout->addLayout(right, 1);

  BitBtn3 = AddButton("BitBtn3", sSolution, "Вычислить коэффициенты и добавить их в отчёт");
  BitBtn2 = AddButton("BitBtn2", "Сохранить", "Сохранить условие в базу данных");
  btnNext = AddButton("btnNext", sFinish, "Перейти к следующему этапу решения");
  BitBtn3->setDefault(true);
  CopyObservations();
}

bool TInput_form::Execute(int pendingTaskId, TZLPCore_SolutionResult& report) {
  PendingTaskId = pendingTaskId;
  exec();
  if (!Solved) return false;
  report.Clear();
  report.Title = Report.Title;
  report.Lines = Report.Lines;
  return true;
}

void TInput_form::reject() { accept(); }

void TInput_form::showEvent(QShowEvent* event) {
  TSolverForm::showEvent(event);
  if (std::optional<TStatementGrid> grid = TakePendingStatement()) ShowStatement(*grid);
}

void TInput_form::ShowStatement(const TStatementGrid& grid) {
  const QSignalBlocker blocker(Edit1);
  Grid = grid;
  Edit1->setValue(grid.Sx);
  ResizeStatement(Grid, TT_REGRESSION, Edit1->value(), 0);
  InputModel->Reload();
  CopyObservations();
}

void TInput_form::CopyObservations() {
  std::vector<TSheetModel::TRow> rows(static_cast<std::size_t>(Grid.Sx) + 1);
  for (std::int32_t i = 1; i <= Grid.Sx; ++i)
    rows[static_cast<std::size_t>(i - 1)] = {std::to_string(i), Grid.Cell(0, i), Grid.Cell(1, i), "", "", ""};
  rows.back()[0] = "Итого";
  SheetModel->SetRows(std::move(rows));
}

void TInput_form::Edit1Change(int n) {
  const std::int32_t before = Grid.Sx;
  ResizeStatement(Grid, TT_REGRESSION, n, 0);
  // New observations start empty: a row forgotten is an error, not a point (0, 0).
  for (std::int32_t i = before + 1; i <= Grid.Sx; ++i) {
    Grid.SetCell(0, i, "");
    Grid.SetCell(1, i, "");
  }
  InputModel->Reload();
  CopyObservations();
}

void TInput_form::StringGrid_inputSetEditText(std::int32_t x, std::int32_t y) {
  SheetModel->SetText(y - 1, x + 1, Grid.Cell(x, y));
}

void TInput_form::Button1Click() {
  const TRegressionSheet sheet = ComputeRegression(Grid);
  if (!sheet.Rows.empty()) SheetModel->SetRows(sheet.Rows);
  if (!sheet.Denominator.empty()) {
    lbANumerator->setText(Q(sheet.NumeratorA));
    lbBNumerator->setText(Q(sheet.NumeratorB));
    lbADenominator->setText(Q(sheet.Denominator));
    lbBDenominator->setText(Q(sheet.Denominator));
  }
  if (!sheet.Solved) {
    if (sheet.Error.Place == TStatementError::TPlace::Cell) {
      StringGrid_input->setCurrentIndex(InputModel->IndexOf(sheet.Error.X, sheet.Error.Y));
      StringGrid_input->setFocus(Qt::OtherFocusReason);
    }
    ShowMessage(sError, BadData, TMsgIcon::Warning);
    return;
  }
  lbAValue->setText(u"= "_s + Q(FloatText(sheet.A)));
  lbBValue->setText(u"= "_s + Q(FloatText(sheet.B)));
  GroupBox2->show();
  AppendRegression(Report, Grid, sheet);
  Solved = true;
}

void TInput_form::BitBtn2Click() {
  if (!RegressionCanBeStored(Grid)) {
    ShowMessage(sError, BadData, TMsgIcon::Warning);
    return;
  }
  SaveStatement(Grid);
}

void TInput_form::GrowTable(int rows, int) {
  const int n = std::min(rows, Edit1->maximum());
  if (n <= Edit1->value()) return;
  if (ShowMessage(sAppTitle,
                  "Вставляемый блок не помещается в таблицу. Увеличить число наблюдений до " + std::to_string(n) + "?",
                  TMsgIcon::Question, mbYes | mbNo) == TMsgAnswer::Yes)
    Edit1->setValue(n);
}
