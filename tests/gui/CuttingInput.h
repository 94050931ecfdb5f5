// Typing a cutting-stock statement into its input step, as a student does.
#pragma once

#include "StepRun.h"
#include "untStep_CutInput.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

// The editor of the cell being edited; null when none is open.
inline QLineEdit* CellEditor(const TCutGrid* grid) {
  for (QLineEdit* edit : grid->viewport()->findChildren<QLineEdit*>())
    if (edit->isVisible()) return edit;
  return nullptr;
}

// Opens the editor of a grid cell with F2, replaces its text by typing and commits it with Enter.
inline void TypeCell(TCutGrid* grid, int col, int row, const QString& text) {
  QVERIFY(grid);
  QVERIFY(col < grid->columnCount() && row < grid->rowCount());
  grid->setCurrentCell(row, col);
  QTest::keyClick(grid, Qt::Key_F2);
  QLineEdit* editor = CellEditor(grid);
  QVERIFY(editor);
  editor->selectAll();
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_VERIFY(!grid->Editing());
  QCOMPARE(grid->Text(col, row), text);
}

// Sizes the step by typing the counts and types every number of the statement; empty cells of
// the statement are typed as empty cells.
inline void TypeCutting(TfrmStep_CutInput& step, const TStatementGrid& s) {
  Type(step.LabeledEdit2, QString::number(s.Sy));
  Type(step.LabeledEdit3, QString::number(s.Sx));
  QCOMPARE(step.ProductCount(), s.Sy);
  QCOMPARE(step.PatternCount(), s.Sx);
  Type(step.LabeledEdit1, Q(s.Material));
  for (int i = 1; i <= s.Sy; ++i) {
    TypeCell(step.SProp, i - 1, 0, Q(s.Cell(0, i)));
    for (int j = 1; j <= s.Sx; ++j) TypeCell(step.SMatr, j - 1, i - 1, Q(s.Cell(j, i)));
  }
}
