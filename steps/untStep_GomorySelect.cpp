// The step where the student marks the variables that must be integers.
#include "untStep_GomorySelect.h"

#include "BranchBound.h"
#include "Gomory.h"
#include "ProblemStore.h"
#include "TaskCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QGroupBox>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int ColumnPitch = 100;

} // namespace

TfrmStep_GomorySelect::TfrmStep_GomorySelect(QWidget* owner) : TZLPCore_SolutionStage(owner, SK_GOMORYSELECT) {
  FormCreate();
}

void TfrmStep_GomorySelect::FormCreate() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  GroupBox1 = new QGroupBox(QString::fromUtf8(" Целочисленные переменные: "), this);
  GroupBox1->setObjectName(u"GroupBox1"_s);
  GroupBox1->setFont(QFont(u"Tahoma"_s));
  layout->addWidget(GroupBox1);
  auto* inner = new QVBoxLayout(GroupBox1);
  inner->setContentsMargins(2, 2, 2, 2);
  sb = new QScrollArea(GroupBox1);
  sb->setObjectName(u"sb"_s);
  sb->setFrameShape(QFrame::NoFrame);
  sb->setWidgetResizable(false);
  inner->addWidget(sb);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QString::fromUtf8("Метод решения:"), this);
  cbMethod = new QComboBox(this);
  cbMethod->setObjectName(u"cbMethod"_s);
  for (const TIntegerMethod m : {TIntegerMethod::Gomory, TIntegerMethod::Branch})
    cbMethod->addItem(QString::fromUtf8(IntegerMethodName(m)), static_cast<int>(m));
  cbMethod->setAccessibleName(QString::fromUtf8("Метод решения целочисленной задачи"));
  label->setBuddy(cbMethod);
  row->addWidget(label);
  row->addWidget(cbMethod);
  row->addStretch(1);
  layout->addLayout(row);
}

QCheckBox* TfrmStep_GomorySelect::Box(int j) const {
  if (j < 1 || j > BoxCount()) return nullptr;
  return Boxes[static_cast<std::size_t>(j - 1)];
}

void TfrmStep_GomorySelect::EnterStage(TStageHost& host) {
  TZLPCore_SolutionStage::EnterStage(host);
  if (!Boxes.empty()) {
    HasKept = true;
    KeptFrom = FilledFrom;
    KeptTicked.clear();
    for (const QCheckBox* box : Boxes)
      if (box->isChecked()) KeptTicked.push_back(box->text().toStdString());
  }
  FilledFrom = StageData.Statement.Integer;
  Boxes.clear();
  std::unique_ptr<QWidget>(sb->takeWidget()).reset(); // the boxes of the last entry go with it
  Content = nullptr;
  if (!StageData.HasFlag(IF_ZLP)) {
    ReportMissingField();
    host.EnableNext(false);
    return;
  }

  cbMethod->setCurrentIndex(std::max(0, cbMethod->findData(static_cast<int>(StageData.Statement.IntegerMethod))));
  Content = new QWidget;
  const QRect client = sb->viewport()->rect();
  const int n = StageData.ZLP.VarCount();
  int x = client.left() + 8;
  int y = client.top() + 4;
  int right = x;
  Boxes.reserve(static_cast<std::size_t>(n));
  for (int j = 1; j <= n; ++j) {
    const QString name = QString::fromStdString(StageData.ZLP.GetVarName(j));
    auto* box = new QCheckBox(name, Content);
    box->setObjectName(name);
    box->move(x, y);
    box->resize(box->sizeHint());
    right = std::max(right, x + ColumnPitch);
    if (StageData.HasFlag(IF_INTEGERVARS))
      box->setChecked(
          std::any_of(StageData.IntegerVars.begin(), StageData.IntegerVars.end(), [&name](const std::string& v) {
            return QString::fromStdString(v).compare(name, Qt::CaseInsensitive) == 0;
          }));
    Boxes.push_back(box);
    y += box->height() + 8;
    if (y + 10 > client.bottom()) {
      y = client.top() + 4;
      x += ColumnPitch;
    }
  }

  // The ticks of a stored problem come last and win; a tick of a variable beyond n is left out.
  // Without one, the ticks of a statement the input step showed (a problem file) are taken the
  // first time.
  const auto tick = [this, n](const TStatementGrid& grid) {
    for (int j = 1; j <= std::min(n, static_cast<int>(grid.Integer.size())); ++j)
      Box(j)->setChecked(grid.Integer[static_cast<std::size_t>(j - 1)] != 0);
  };
  const TProblemStore* store = host.Store();
  if (const int id = host.PendingProblem(); id != -1 && store) {
    std::string error;
    if (const std::optional<TStatementGrid> grid = store->LoadStatement(id, error); grid && grid->HasTicks())
      tick(*grid);
  } else if (HasKept && KeptFrom == FilledFrom) {
    for (QCheckBox* box : Boxes)
      box->setChecked(std::find(KeptTicked.begin(), KeptTicked.end(), box->text().toStdString()) != KeptTicked.end());
  } else if (!StageData.HasFlag(IF_INTEGERVARS) && StageData.Statement.HasTicks()) {
    tick(StageData.Statement);
  }
  Content->resize(right, std::max(client.height(), 1));
  sb->setWidget(Content);
}

void TfrmStep_GomorySelect::LeaveForward(TStageHost& host) {
  TZLPCore_SolutionStage::LeaveForward(host);
  if (!StageData.HasFlag(IF_ZLP)) {
    CanLeave = false;
    return;
  }
  TStatementGrid& statement = StageData.Statement;
  statement.IntegerMethod = static_cast<std::uint8_t>(cbMethod->currentData().toInt());
  StageData.IntegerVars.clear();
  for (int j = 1; j <= BoxCount(); ++j) {
    const bool ticked = Box(j)->isChecked();
    if (ticked) StageData.IntegerVars.push_back(Box(j)->text().toStdString());
    if (statement.HasTicks() && j <= statement.Sx) statement.Integer[static_cast<std::size_t>(j - 1)] = ticked ? 1 : 0;
  }
  if (const TStageInfo* info = FindStageInfo(SK_GOMORYSELECT))
    GomorySelectUnit(StageData, StageReport, *info, host.RunTaskInfo());
  if (TProblemStore* store = host.Store(); store && store->TempTaskId() != -1 && statement.HasTicks()) {
    TStatementGrid stored = statement;
    NormalizeProgramCells(stored);
    // A refusal of the store is shown by the store itself; the solution goes on without it.
    static_cast<void>(store->StoreTempStatement(stored));
  }
}
