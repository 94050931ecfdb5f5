// The step where the second-order coefficients of a quadratic program are entered.
#include "untStep_Quadro.h"

#include "CellBlock.h"
#include "MessageSeam.h"
#include "ProblemStore.h"
#include "QtHelpers.h"
#include "KuhnTucker.h"
#include "TaskCatalog.h"
#include "untStrConst.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The coefficients a statement holds for n variables, row by row; empty when it holds none.
std::vector<std::string> QuadTexts(const TStatementGrid& statement, int n) {
  std::vector<std::string> texts;
  if (!statement.HasQuad() || statement.Sx != n) return texts;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) texts.push_back(statement.Quad(j, i));
  return texts;
}

} // namespace

TfrmStep_Quadro::TfrmStep_Quadro(QWidget* owner) : TZLPCore_SolutionStage(owner, SK_QUADRO) { FormCreate(); }

void TfrmStep_Quadro::FormCreate() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  lbHint = new QLabel(Q(sQuadGridHint), this);
  lbHint->setObjectName(u"lbHint"_s);
  lbHint->setWordWrap(true);
  layout->addWidget(lbHint);
  sg = new QTableWidget(this);
  sg->setObjectName(u"sg"_s);
  sg->setFrameShape(QFrame::NoFrame);
  QPalette palette = sg->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  sg->setPalette(palette);
  sg->horizontalHeader()->setDefaultSectionSize(48);
  sg->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  sg->verticalHeader()->setDefaultSectionSize(18);
  sg->verticalHeader()->setMinimumWidth(20);
  sg->setSelectionMode(QAbstractItemView::ContiguousSelection);
  sg->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                      QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  layout->addWidget(sg);
  sg->installEventFilter(this);
}

bool TfrmStep_Quadro::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sg && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) && sg->currentItem() != nullptr) {
    const std::vector<QStringList> block = SplitCellBlock(QGuiApplication::clipboard()->text());
    if (!block.empty()) {
      for (std::size_t r = 0; r < block.size(); ++r)
        for (int c = 0; c < static_cast<int>(block[r].size()); ++c)
          if (QTableWidgetItem* item = sg->item(sg->currentRow() + static_cast<int>(r), sg->currentColumn() + c))
            item->setText(block[r][c]);
      return true;
    }
  }
  return TZLPCore_SolutionStage::eventFilter(watched, event);
}

QString TfrmStep_Quadro::CellText(int j, int i) const {
  const QTableWidgetItem* item = sg->item(i - 1, j - 1);
  return item ? item->text() : QString();
}

void TfrmStep_Quadro::ShowCoefficients() {
  const TZLPCore_SubInterface_ZLP& zlp = StageData.ZLP;
  const int n = zlp.VarCount();
  const TStatementGrid& statement = StageData.Statement;
  const bool stored = statement.HasQuad() && statement.Sx == n;
  FilledFrom = QuadTexts(statement, n);
  const QSignalBlocker blocker(sg);
  sg->clear();
  sg->setRowCount(n);
  sg->setColumnCount(n);
  QStringList names;
  for (int j = 1; j <= n; ++j) names << Q(zlp.GetVarName(j));
  sg->setHorizontalHeaderLabels(names);
  sg->setVerticalHeaderLabels(names);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j)
      sg->setItem(i - 1, j - 1, new QTableWidgetItem(stored ? Q(statement.Quad(j, i)) : u"0"_s));
}

void TfrmStep_Quadro::EnterStage(TStageHost& host) {
  TZLPCore_SolutionStage::EnterStage(host);
  if (!StageData.HasFlag(IF_ZLP)) {
    ReportMissingField();
    host.EnableNext(false);
    return;
  }
  // Coming back with the same variables keeps what was typed; a new size, or a statement with other
  // coefficients of its own, starts from the statement.
  const int n = StageData.ZLP.VarCount();
  if (sg->rowCount() != n || sg->columnCount() != n || QuadTexts(StageData.Statement, n) != FilledFrom)
    ShowCoefficients();
}

void TfrmStep_Quadro::LeaveForward(TStageHost& host) {
  TZLPCore_SolutionStage::LeaveForward(host);
  CanLeave = false;
  StageReport.Clear();
  TStatementGrid& statement = StageData.Statement;
  const int n = sg->rowCount();
  if (!statement.HasQuad() || statement.Sx != n) ResizeStatement(statement, TT_QUADRATIC, n, statement.Sy);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) statement.SetQuad(j, i, CellText(j, i).toStdString());
  TStatementError error;
  if (!WriteQuadroPage(StageData, StageCaption, StageReport, error)) {
    if (error.Place == TStatementError::TPlace::Quad) {
      sg->setFocus();
      sg->setCurrentCell(error.Y - 1, error.X - 1);
      if (QTableWidgetItem* item = sg->item(error.Y - 1, error.X - 1)) sg->editItem(item);
      ShowMessage(sAppTitle, error.Message, TMsgIcon::Warning, mbOK);
    }
    return;
  }
  // Only a statement that reads is stored, as the input step stores only what it could read.
  if (TProblemStore* store = host.Store(); store && store->TempTaskId() != -1) {
    TStatementGrid stored = statement;
    NormalizeProgramCells(stored);
    static_cast<void>(store->StoreTempStatement(stored));
  }
  CanLeave = true;
}
