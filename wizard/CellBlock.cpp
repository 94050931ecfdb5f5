// A block of cells as a spreadsheet copies it.
#include "CellBlock.h"

using namespace Qt::StringLiterals;

std::vector<QStringList> SplitCellBlock(const QString& text) {
  QString lines = text;
  lines.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
  while (lines.endsWith(u'\n')) lines.chop(1);
  const bool tabs = lines.contains(u'\t');
  const bool semicolons = !tabs && lines.contains(u';');
  if (!tabs && !semicolons && !lines.contains(u'\n')) return {};
  std::vector<QStringList> rows;
  for (const QString& line : lines.split(u'\n')) {
    QStringList cells = tabs ? line.split(u'\t') : semicolons ? line.split(u';') : QStringList{line};
    for (QString& cell : cells) cell = cell.trimmed();
    rows.push_back(cells);
  }
  return rows;
}
