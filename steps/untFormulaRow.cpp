// One line of a formula on the input steps: coefficient edits, each followed by its variable name.
#include "untFormulaRow.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

TFormulaRow::TFormulaRow(TTail tail, int cellHeight, QWidget* parent) : QWidget(parent), CellHeight(cellHeight) {
  if (tail == TTail::Relation) {
    Sign = new QComboBox(this);
    Sign->addItems({u"<="_s, u"="_s, u">="_s});
    Sign->setCurrentIndex(0);
    // The designed width, or wider when the style needs more room to show "<=" whole.
    Sign->resize(std::max(SignWidth, Sign->sizeHint().width()), CellHeight);
  }
  Tail = new QLineEdit(u"0"_s, this);
  Tail->resize(EditWidth, CellHeight);
  PlaceTail();
}

// Declared here so that the edits are destroyed while the row is still a whole QWidget.
TFormulaRow::~TFormulaRow() = default;

void TFormulaRow::SetVarCount(int n, const TNewText& newText) {
  n = std::max(n, 0);
  const auto count = static_cast<std::size_t>(n);
  if (count < Coeffs.size()) {
    Coeffs.resize(count);
    LabelLeft.resize(count);
    LabelWidth.resize(count);
  }
  const QFontMetrics metrics = fontMetrics();
  const bool showNew = isVisible();
  Coeffs.reserve(count);
  while (Coeffs.size() < count) {
    const int x = LabelLeft.empty() ? 0 : LabelLeft.back() + LabelWidth.back() + NextGap;
    const int j = VarCount() + 1;
    auto edit = std::make_unique<QLineEdit>(newText ? newText(j) : u"0"_s, this);
    edit->setGeometry(x, 0, EditWidth, CellHeight);
    if (showNew) edit->show();
    Coeffs.push_back(std::move(edit));
    LabelLeft.push_back(x + EditWidth + LabelGap);
    LabelWidth.push_back(metrics.horizontalAdvance(LabelText(j)));
  }
  PlaceTail();
  update();
}

QLineEdit* TFormulaRow::Coeff(int j) const {
  return j >= 1 && j <= VarCount() ? Coeffs[static_cast<std::size_t>(j - 1)].get() : nullptr;
}

QString TFormulaRow::LabelText(int j) const {
  return j >= 1 && j <= VarCount() ? u"X"_s + QString::number(j) + u'+' : QString();
}

QRect TFormulaRow::LabelRect(int j) const {
  if (j < 1 || j > VarCount()) return {};
  const auto k = static_cast<std::size_t>(j - 1);
  return {LabelLeft[k], 0, LabelWidth[k], CellHeight};
}

void TFormulaRow::PlaceTail() {
  const int end = LabelLeft.empty() ? 0 : LabelLeft.back() + LabelWidth.back();
  if (Sign) {
    Sign->move(end - SignOverlap, 0);
    Tail->move(Sign->geometry().right() + 1 + RhsGap, 0);
  } else {
    Tail->move(end + FreeTermGap, 0);
  }
  resize(Tail->geometry().right() + 1, CellHeight);
}

void TFormulaRow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setPen(Qt::black);
  const QRect area = event->rect();
  for (int j = 1; j <= VarCount(); ++j) {
    const QRect r = LabelRect(j);
    if (r.left() > area.right()) break;
    if (!r.intersects(area)) continue;
    painter.fillRect(r, Qt::white);
    painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, LabelText(j));
  }
}
