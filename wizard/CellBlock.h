// A block of cells as a spreadsheet copies it to the clipboard, for the input grids that take it.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The rows of a block: lines (LF, CR LF or CR; a last line break ends the block) of cells split at
// tabs, or at semicolons when there is no tab, each cell trimmed. Empty for a text that is one plain
// value, which is pasted as it is.
[[nodiscard]] std::vector<QStringList> SplitCellBlock(const QString& text);
