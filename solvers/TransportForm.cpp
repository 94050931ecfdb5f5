// The transportation problem's window.
#include "TransportForm.h"

#include "MessageSeam.h"
#include "SolverTables.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "Transport.h"
#include "ZLPCore_Main.h"
#include "untStrConst.h"

#include <QComboBox>
#include <algorithm>
#include <iterator>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr TSolverFormTexts Texts = {"Транспортная задача", "Транспортная задача",
                                    "Решение транспортной задачи методом потенциалов. ", "Ввод условия",
                                    "help/transport/index.html"};

// The methods of the first plan in the order of the list.
constexpr TTransportStart Starts[] = {TTransportStart::MinElement, TTransportStart::NorthWest, TTransportStart::Vogel};

} // namespace

// The statement's cells with the corner (0, 0), which keeps the method, left empty and closed; the
// margins titled as the textbook titles them.
class TTransportTableModel : public TStatementTableModel {
public:
  TTransportTableModel(TStatementGrid& grid, QObject* parent) : TStatementTableModel(grid, {}, parent) {}

  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override {
    if (index.row() == 0 && index.column() == 0) return {};
    return TStatementTableModel::data(index, role);
  }
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (index.row() == 0 && index.column() == 0) return Qt::NoItemFlags;
    return TStatementTableModel::flags(index);
  }
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (section == 0) return orientation == Qt::Horizontal ? Q("Запасы") : Q("Потребности");
    return (orientation == Qt::Horizontal ? QStringLiteral("B") : QStringLiteral("A")) + QString::number(section);
  }
};

TTransportForm::TTransportForm(const TSolverContext& context)
    : TSolverForm(context, Texts), Grid(NewStatement(TT_TRANSPORT, 3, 3)) {
  Grid.IsMax = false;
  Grid.SetCell(0, 0, TransportStartWord(TTransportStart::MinElement));
  resize(720, 480);
  setMinimumSize(520, 360);
  auto* layout = new QGridLayout(pContainer);
  layout->setContentsMargins(10, 10, 10, 6);
  auto* lbSuppliers = new QLabel(Q("Поставщиков:"), pContainer);
  edSuppliers = new QSpinBox(pContainer);
  edSuppliers->setRange(TransportMinSize, TransportMaxSize);
  edSuppliers->setValue(Grid.Sy);
  lbSuppliers->setBuddy(edSuppliers);
  auto* lbConsumers = new QLabel(Q("Потребителей:"), pContainer);
  edConsumers = new QSpinBox(pContainer);
  edConsumers->setRange(TransportMinSize, TransportMaxSize);
  edConsumers->setValue(Grid.Sx);
  lbConsumers->setBuddy(edConsumers);
  auto* lbStart = new QLabel(Q("Опорный план:"), pContainer);
  cbStart = new QComboBox(pContainer);
  cbStart->addItems({Q("метод минимального элемента"), Q("метод северо-западного угла"), Q("метод Фогеля")});
  lbStart->setBuddy(cbStart);
  auto* lbTable = new QLabel(Q("Запасы поставщиков, потребности потребителей и тарифы перевозок:"), pContainer);
  tblCells = new QTableView(pContainer);
  Model = new TTransportTableModel(Grid, this);
  tblCells->setModel(Model);
  tblCells->horizontalHeader()->setDefaultSectionSize(64);
  tblCells->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tblCells->verticalHeader()->setDefaultSectionSize(22);
  tblCells->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
  tblCells->setTabKeyNavigation(true);
  lbTable->setBuddy(tblCells);
  layout->addWidget(lbSuppliers, 0, 0);
  layout->addWidget(edSuppliers, 0, 1);
  layout->addWidget(lbConsumers, 0, 2);
  layout->addWidget(edConsumers, 0, 3);
  layout->addWidget(lbStart, 0, 4, Qt::AlignRight);
  layout->addWidget(cbStart, 0, 5);
  layout->addWidget(lbTable, 1, 0, 1, 6);
  layout->addWidget(tblCells, 2, 0, 1, 6);
  layout->setColumnStretch(4, 1);
  layout->setRowStretch(2, 1);

  btnSolve = AddButton("btnSolve", sSolution, "Решить задачу и показать отчёт");
  btnSave = AddButton("btnSave", "Сохранить", "Сохранить условие в базу данных");
  btnCancel = AddButton("btnCancel", "Отмена", "");
  btnSolve->setDefault(true);
  connect(edSuppliers, &QSpinBox::valueChanged, this, &TTransportForm::SizeChange);
  connect(edConsumers, &QSpinBox::valueChanged, this, &TTransportForm::SizeChange);
  connect(cbStart, &QComboBox::currentIndexChanged, this, &TTransportForm::StartChange);
  connect(btnSolve, &QPushButton::clicked, this, &TTransportForm::SolveClick);
  connect(btnSave, &QPushButton::clicked, this, &TTransportForm::SaveClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TTransportForm::Execute(int pendingTaskId, TZLPCore_SolutionResult& report) {
  PendingTaskId = pendingTaskId;
  Report = &report;
  const bool solved = exec() == QDialog::Accepted;
  Report = nullptr;
  return solved;
}

void TTransportForm::showEvent(QShowEvent* event) {
  TSolverForm::showEvent(event);
  if (std::optional<TStatementGrid> grid = TakePendingStatement()) ShowStatement(*grid);
}

void TTransportForm::ShowStatement(const TStatementGrid& grid) {
  const QSignalBlocker suppliers(edSuppliers);
  const QSignalBlocker consumers(edConsumers);
  const QSignalBlocker start(cbStart);
  Grid = grid;
  edSuppliers->setValue(grid.Sy);
  edConsumers->setValue(grid.Sx);
  const std::optional<TTransportStart> method = TransportStartFromWord(grid.Cell(0, 0));
  const auto at = std::find(std::begin(Starts), std::end(Starts), method.value_or(TTransportStart::MinElement));
  cbStart->setCurrentIndex(static_cast<int>(at - std::begin(Starts)));
  Model->Reload();
}

void TTransportForm::SizeChange() {
  ResizeStatement(Grid, TT_TRANSPORT, edConsumers->value(), edSuppliers->value());
  Model->Reload();
}

void TTransportForm::StartChange(int index) {
  if (index >= 0 && index < 3) Grid.SetCell(0, 0, TransportStartWord(Starts[index]));
}

bool TTransportForm::CheckCells() {
  for (std::int32_t y = 0; y <= Grid.Sy; ++y)
    for (std::int32_t x = 0; x <= Grid.Sx; ++x)
      if ((x != 0 || y != 0) && Grid.Cell(x, y).empty()) Grid.SetCell(x, y, "0");
  Model->Reload();
  TZLPCore_Interface data;
  TStatementError error;
  if (ReadStatement(Grid, data, error)) return true;
  if (error.Place == TStatementError::TPlace::Cell) {
    tblCells->setCurrentIndex(Model->IndexOf(error.X, error.Y));
    tblCells->setFocus(Qt::OtherFocusReason);
  }
  ShowMessage(sAppTitle, error.Field + ": " + error.Message, TMsgIcon::None);
  return false;
}

void TTransportForm::SolveClick() {
  if (Report == nullptr || !CheckCells()) return;
  TZLPCore_Interface data;
  TStatementError error;
  if (!ReadStatement(Grid, data, error)) return;
  static_cast<void>(RunTask(TT_TRANSPORT, data, *Report));
  accept();
}

void TTransportForm::SaveClick() {
  if (CheckCells()) SaveStatement(Grid);
}
