// One line of a formula on the input steps: coefficient cells, each followed by its variable name.
#include "untFormulaRow.h"

#include "CellBlock.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionFrame>

#include <algorithm>

using namespace Qt::StringLiterals;

void TFormulaColumns::Grow(int n, const QFontMetrics& metrics) {
  while (static_cast<int>(Left.size()) < n) {
    const int j = static_cast<int>(Left.size()) + 1;
    Left.push_back(j == 1 ? 0 : LabelLeft(j - 1) + LabelWidth(j - 1) + NextGap);
    Width.push_back(metrics.horizontalAdvance(u"X"_s + QString::number(j) + u'+'));
    Plain.push_back(metrics.horizontalAdvance(u"X"_s + QString::number(j)));
  }
}

int TFormulaColumns::CellLeft(int j) const { return Left[static_cast<std::size_t>(j - 1)]; }

TFormulaRow::TFormulaRow(TTail tail, TFormulaColumns& columns, int cellHeight, QWidget* parent)
    : QWidget(parent), Columns(columns), CellHeight(cellHeight), Texts{u"0"_s}, Boxes{nullptr} {
  if (tail == TTail::Relation) {
    Sign = new QComboBox(this);
    Sign->addItems({u"<="_s, u"="_s, u">="_s});
    Sign->setCurrentIndex(0);
    // Tab walks the formula through the page's own order, not Qt's chain.
    Sign->setFocusPolicy(Qt::ClickFocus);
    // The designed width, or wider when the style needs more room to show "<=" whole.
    Sign->resize(std::max(SignWidth, Sign->sizeHint().width()), CellHeight);
  }
  PlaceTail();
}

TFormulaRow::~TFormulaRow() = default;

void TFormulaRow::SetVarCount(int n, const TNewText& newText) {
  n = std::max(n, 0);
  const auto count = static_cast<std::size_t>(n) + 1;
  Columns.Grow(n, fontMetrics());
  Texts.reserve(count);
  Texts.resize(std::min(Texts.size(), count));
  Boxes.resize(count, nullptr);
  while (Texts.size() < count) {
    const int j = static_cast<int>(Texts.size());
    Texts.push_back(newText ? newText(j) : u"0"_s);
  }
  PlaceTail();
  update();
}

QString TFormulaRow::Text(int x) const {
  return x >= 0 && x <= VarCount() ? Texts[static_cast<std::size_t>(x)] : QString();
}

void TFormulaRow::SetText(int x, const QString& text) {
  if (x < 0 || x > VarCount()) return;
  const auto k = static_cast<std::size_t>(x);
  if (Texts[k] == text) return;
  Texts[k] = text;
  if (QLineEdit* box = Boxes[k]) {
    if (box->text() != text) box->setText(text);
  } else {
    update(CellRect(x));
  }
}

int TFormulaRow::TailLeft() const {
  const int end = Columns.End(VarCount());
  return Sign ? Sign->geometry().right() + 1 + RhsGap : end + FreeTermGap;
}

QRect TFormulaRow::CellRect(int x) const {
  if (x < 0 || x > VarCount()) return {};
  return {x == 0 ? TailLeft() : Columns.CellLeft(x), 0, EditWidth, CellHeight};
}

QLineEdit* TFormulaRow::Editor(int x) const {
  return x >= 0 && x <= VarCount() ? Boxes[static_cast<std::size_t>(x)] : nullptr;
}

QString TFormulaRow::LabelText(int j) const {
  return j >= 1 && j <= VarCount() ? u"X"_s + QString::number(j) + u'+' : QString();
}

QString TFormulaRow::ShownLabelText(int j) const {
  QString text = LabelText(j);
  if (Sign && j == VarCount()) text.chop(1);
  return text;
}

QRect TFormulaRow::LabelRect(int j) const {
  if (j < 1 || j > VarCount()) return {};
  const int width = Sign && j == VarCount() ? Columns.NameWidth(j) : Columns.LabelWidth(j);
  return {Columns.LabelLeft(j), 0, width, CellHeight};
}

int TFormulaRow::WidthFor(int n) const {
  n = std::max(n, 1);
  Columns.Grow(n, fontMetrics());
  const int tail = Sign ? Columns.LabelLeft(n) + Columns.NameWidth(n) + SignGap + Sign->width() + RhsGap
                        : Columns.End(n) + FreeTermGap;
  return tail + EditWidth;
}

void TFormulaRow::PlaceTail() {
  const int n = VarCount();
  if (Sign) Sign->move(n < 1 ? 0 : Columns.LabelLeft(n) + Columns.NameWidth(n) + SignGap, 0);
  resize(TailLeft() + EditWidth, CellHeight);
}

void TFormulaRow::PaintCell(QPainter& painter, int x) {
  // Drawn as the style draws an edit box, so that a painted cell looks like the box laid over it
  // once it comes into view.
  QStyleOptionFrame option;
  option.initFrom(this);
  option.rect = CellRect(x);
  option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
  const QRect text = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).adjusted(2, 1, -2, -1);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, Texts[static_cast<std::size_t>(x)]);
}

void TFormulaRow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  for (int j = 1; j <= VarCount(); ++j) {
    if (Columns.CellLeft(j) > area.right()) break;
    if (!Boxes[static_cast<std::size_t>(j)] && CellRect(j).intersects(area)) PaintCell(painter, j);
    const QRect r = LabelRect(j);
    if (!r.intersects(area)) continue;
    painter.fillRect(r, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, ShownLabelText(j));
  }
  if (!Boxes[0] && CellRect(0).intersects(area)) PaintCell(painter, 0);
}

TCellEdit* TCellEditors::Attach(TFormulaRow& row, int x, std::uint64_t stamp) {
  if (x < 0 || x > row.VarCount()) return nullptr;
  auto& slot = row.Boxes[static_cast<std::size_t>(x)];
  auto* box = static_cast<TCellEdit*>(slot);
  if (!box) {
    box = Spare(stamp);
    box->Row = &row;
    box->X = x;
    slot = box;
    box->setAccessibleName(row.CellName ? row.CellName(x) : QString());
    {
      const QSignalBlocker blocker(box);
      box->setText(row.Text(x));
    }
    box->setGeometry(Over(row, x));
    box->show();
  }
  box->Used = std::max(box->Used, stamp);
  return box;
}

TCellEdit* TCellEditors::Pin(TFormulaRow& row, int x) {
  TCellEdit* box = Attach(row, x);
  if (box) box->Pinned = true;
  return box;
}

TCellEdit* TCellEditors::Spare(std::uint64_t stamp) {
  for (TCellEdit* box : Boxes)
    if (!box->Row) return box;
  TCellEdit* oldest = nullptr;
  if (Boxes.size() >= Cap)
    for (TCellEdit* box : Boxes)
      // The box the window's focus is in keeps its cell, also while the window is inactive.
      if (!box->Pinned && box->Used < stamp && box->window()->focusWidget() != box &&
          (!oldest || box->Used < oldest->Used))
        oldest = box;
  if (oldest) {
    Detach(*oldest);
    return oldest;
  }
  auto* box = new TCellEdit(Host);
  // Tab walks the formula through the page's own order, not Qt's chain.
  box->setFocusPolicy(Qt::ClickFocus);
  box->PasteBlock = [this](TFormulaRow& row, int x, const QString& text) {
    return PasteBlock && PasteBlock(row, x, text);
  };
  connect(box, &QLineEdit::textChanged, this, [box](const QString& text) {
    if (box->Row) box->Row->SetText(box->X, text);
  });
  Boxes.push_back(box);
  return box;
}

void TCellEditors::Detach(TCellEdit& box) {
  if (!box.Row) return;
  box.Row->Boxes[static_cast<std::size_t>(box.X)] = nullptr;
  box.Row->update(box.Row->CellRect(box.X));
  box.Row = nullptr;
  box.X = -1;
  box.Pinned = false;
}

void TCellEditors::Release(TFormulaRow& row, int fromX) {
  for (int x = std::max(fromX, 0); x <= row.VarCount(); ++x)
    if (auto* box = static_cast<TCellEdit*>(row.Editor(x))) {
      Detach(*box);
      box->hide();
    }
}

void TCellEditors::Cover(const std::vector<TFormulaRow*>& rows, const QRect& area) {
  const std::uint64_t stamp = ++Clock;
  std::size_t count = 0;
  for (TFormulaRow* row : rows) {
    const QRect local = area.translated(-row->mapTo(Host, QPoint(0, 0)));
    if (!local.intersects(row->rect())) continue;
    for (int x = 0; x <= row->VarCount(); ++x)
      if (row->CellRect(x).intersects(local)) {
        Attach(*row, x, stamp);
        ++count;
      }
  }
  Cap = std::max(MinCap, 3 * count);
}

void TCellEditors::Place() {
  for (TCellEdit* box : Boxes)
    if (box->Row) box->setGeometry(Over(*box->Row, box->X));
}

const TCellEdit* TCellEditors::Find(const QWidget* w) const {
  for (const TCellEdit* box : Boxes)
    if (box == w) return box->Row ? box : nullptr;
  return nullptr;
}

QRect TCellEditors::Over(const TFormulaRow& row, int x) const {
  QRect r = row.CellRect(x);
  r.moveTopLeft(row.mapTo(Host, r.topLeft()));
  return r;
}

void TCellEdit::keyPressEvent(QKeyEvent* event) {
  if (Row != nullptr && PasteBlock && event->matches(QKeySequence::Paste)) {
    const QString text = QGuiApplication::clipboard()->text();
    if (!SplitCellBlock(text).empty() && PasteBlock(*Row, X, text)) {
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}
