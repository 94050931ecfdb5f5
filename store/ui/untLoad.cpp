// The load dialog: lists stored problems, optionally of one task type, to load or delete one.
#include "untLoad.h"

#include "DataMod.h"
#include "MessageSeam.h"
#include "TaskCatalog.h"
#include "untStrConst.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace {

struct TFilterItem {
  std::string Text;  // the item of the filter box
  std::string Title; // the strip over the list: what the list holds
  int TaskType;      // 0: all types
};

// "(Все типы задач)", then every task type of the catalog. The strip names the list in one form
// whichever way the dialog was opened: "Все типы задач", or the full name of the type.
const std::vector<TFilterItem>& FilterItems() {
  static const std::vector<TFilterItem> items = [] {
    std::vector<TFilterItem> list = {{"(Все типы задач)", "Все типы задач", 0}};
    for (const TTaskInfo& task : TaskCatalog()) list.push_back({task.FilterCaption, task.Name, task.Code});
    return list;
  }();
  return items;
}

constexpr int IdRole = Qt::UserRole;
constexpr int TypeColumn = 2;

} // namespace

TLoadForm::TLoadForm(TDM& store, QWidget* parent) : QDialog(parent), Store(store) {
  setWindowTitle(QStringLiteral("Загрузка условия задачи"));
  setModal(true);
  // A fixed dialog border: no resizing, no minimise or maximise box.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  Label1 = new QLabel(this);
  Label1->setAutoFillBackground(true);
  Label1->setBackgroundRole(QPalette::Highlight);
  Label1->setForegroundRole(QPalette::HighlightedText);
  Label1->setMargin(4);
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(false);

  ListView1 = new QTreeWidget(this);
  ListView1->setColumnCount(3);
  ListView1->setHeaderLabels({QStringLiteral("Дата"), QStringLiteral("Название"), QStringLiteral("Тип задачи")});
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setColumnWidth(0, 180);
  ListView1->setColumnWidth(1, 300);
  ListView1->header()->setStretchLastSection(true);
  ListView1->setMinimumSize(760, 260);

  btnDelete = new QPushButton(QStringLiteral("Удалить"), this);
  Button2 = new QPushButton(QStringLiteral("Загрузить"), this);
  Button2->setDefault(true);
  Button1 = new QPushButton(QStringLiteral("Отмена"), this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnDelete);
  buttons->addStretch(1);
  buttons->addWidget(Button2);
  buttons->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(ComboBox1);
  layout->addWidget(ListView1, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  FormCreate();

  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TLoadForm::ComboBox1Change);
  connect(Button2, &QPushButton::clicked, this, &TLoadForm::Button2Click);
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnDelete, &QPushButton::clicked, this, &TLoadForm::btnDeleteClick);
  connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &TLoadForm::ListView1DblClick);
}

void TLoadForm::FormCreate() {
  const QSignalBlocker blocker(ComboBox1);
  for (const TFilterItem& item : FilterItems()) ComboBox1->addItem(QString::fromStdString(item.Text));
  ComboBox1->setCurrentIndex(0);
  Label1->setText(FilterTitle(0));
}

QString TLoadForm::FilterTitle(int index) {
  if (index < 0 || index >= static_cast<int>(FilterItems().size())) index = 0;
  return QString::fromStdString(FilterItems()[static_cast<std::size_t>(index)].Title);
}

QString TLoadForm::TypeText(std::int64_t taskType) {
  // A temporary row left behind has no type; a code no type of the program has is named by its number.
  if (taskType == 0) return {};
  if (taskType > 0 && taskType <= 0xFF)
    if (const TTaskInfo* task = FindTaskInfo(static_cast<std::uint8_t>(taskType))) return QString::fromUtf8(task->Name);
  return QStringLiteral("Тип %1").arg(taskType);
}

int TLoadForm::FilterTaskType(int index) {
  if (index < 0 || index >= static_cast<int>(FilterItems().size())) return 0;
  return FilterItems()[static_cast<std::size_t>(index)].TaskType;
}

int TLoadForm::ChooseProblem(std::uint8_t t) {
  int filter = 0;
  for (int i = 1; i < static_cast<int>(FilterItems().size()); ++i)
    if (t == FilterItems()[static_cast<std::size_t>(i)].TaskType) filter = i;
  {
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->setCurrentIndex(filter);
  }
  Label1->setText(FilterTitle(filter));
  // Opened for one type, the dialog lists that type only; "Удалить" is offered either way. The
  // column of the type is shown while the list may hold several types.
  ComboBox1->setVisible(filter == 0);
  ListView1->setColumnHidden(TypeColumn, filter != 0);
  FillList();
  CenterOnScreen();

  if (exec() != QDialog::Accepted) return 0;
  const int id = SelectedId();
  if (id == 0) return 0;
  const std::optional<TTaskRow> task = Store.FindTask(id);
  ChosenType = task ? static_cast<std::uint8_t>(task->TaskType) : 0;
  ChosenId = id;
  return id;
}

void TLoadForm::FillList() {
  ListView1->clear();
  const std::optional<std::vector<TTaskRow>> rows = Store.ListTasks(FilterTaskType(ComboBox1->currentIndex()));
  if (rows) {
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const TTaskRow& row : *rows) {
      auto* item = new QTreeWidgetItem(ListView1);
      item->setText(0, QStringLiteral("  ") + QString::fromStdString(row.Save));
      item->setText(1, QString::fromStdString(row.TaskName));
      item->setText(TypeColumn, TypeText(row.TaskType));
      item->setIcon(0, icon);
      item->setData(0, IdRole, row.Id);
    }
  }
  ListView1->clearSelection();
  ListView1->setCurrentItem(nullptr);
  // The dates take what they need; the names get the rest of the room.
  if (ListView1->topLevelItemCount() > 0) ListView1->resizeColumnToContents(0);
}

int TLoadForm::RowId(int row) const {
  const QTreeWidgetItem* item = ListView1->topLevelItem(row);
  return item != nullptr ? item->data(0, IdRole).toInt() : 0;
}

int TLoadForm::SelectedId() const {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  return selected.isEmpty() ? 0 : selected.front()->data(0, IdRole).toInt();
}

void TLoadForm::ComboBox1Change() {
  FillList();
  Label1->setText(FilterTitle(ComboBox1->currentIndex()));
}

void TLoadForm::Button2Click() {
  if (SelectedId() == 0) {
    ShowMessage(sAppTitle, "Выберите из списка задачу, которую вы хотите загрузить", TMsgIcon::None);
    return;
  }
  accept();
}

void TLoadForm::ListView1DblClick() {
  if (SelectedId() != 0) accept();
}

void TLoadForm::btnDeleteClick() {
  const int id = SelectedId();
  if (id == 0) {
    ShowMessage(sAppTitle, "Выберите из списка задачу, которую вы хотите удалить", TMsgIcon::None);
    return;
  }
  if (ShowMessage("Подтверждение удаления", "Вы действительно хотите удалить условие данной задачи ?",
                  TMsgIcon::Warning, mbYes | mbNo) != TMsgAnswer::Yes)
    return;
  static_cast<void>(Store.DeleteTask(id));
  FillList();
}

void TLoadForm::CenterOnScreen() {
  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}
