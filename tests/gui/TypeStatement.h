// Shared by the whole-task window tests: a statement typed into the input step as a student types it,
// and the final report the wizard must hand over for it, built without windows.
#pragma once

#include "StepRun.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"
#include "untStep_ZLPInput.h"

#include <QComboBox>
#include <QTest>

#include <stdexcept>
#include <string>

inline TStatementGrid Statement(const char* text) {
  TTextFormatError error;
  const auto statement = ParseStatementText(text, error);
  if (!statement) throw std::runtime_error("bad test statement: " + error.Message);
  return *statement;
}

// Chooses the item with the given text by keyboard, as a student does.
inline void ChooseByKeys(QComboBox* box, const QString& text) {
  QVERIFY(box);
  const int target = box->findText(text);
  QVERIFY2(target >= 0, qPrintable(text));
  box->setFocus();
  while (box->currentIndex() < target) QTest::keyClick(box, Qt::Key_Down);
  while (box->currentIndex() > target) QTest::keyClick(box, Qt::Key_Up);
  QCOMPARE(box->currentIndex(), target);
}

// Sizes the input step with its add and remove buttons and types every number of the statement.
inline void TypeStatement(TfrmStep_ZLPInput& input, const TStatementGrid& s) {
  while (input.VarCount() < s.Sx) QTest::mouseClick(input.BitBtn2, Qt::LeftButton);
  while (input.VarCount() > s.Sx) QTest::mouseClick(input.BitBtn1, Qt::LeftButton);
  while (input.ConstraintCount() < s.Sy) QTest::mouseClick(input.BitBtn4, Qt::LeftButton);
  while (input.ConstraintCount() > s.Sy) QTest::mouseClick(input.BitBtn3, Qt::LeftButton);
  QCOMPARE(input.VarCount(), s.Sx);
  QCOMPARE(input.ConstraintCount(), s.Sy);

  ChooseByKeys(input.ComboBox1, s.IsMax ? U("Z =") : U("L ="));
  Type(input.txtZ0, Q(s.Cell(0, 0)));
  for (int j = 1; j <= s.Sx; ++j) Type(input.ObjectiveEdit(j), Q(s.Cell(j, 0)));
  for (int i = 1; i <= s.Sy; ++i) {
    for (int j = 1; j <= s.Sx; ++j) Type(input.ConstraintEdit(i, j), Q(s.Cell(j, i)));
    ChooseByKeys(input.SignBox(i), Q(SignToText(s.Signs[static_cast<std::size_t>(i - 1)])));
    Type(input.RhsEdit(i), Q(s.Cell(0, i)));
  }
}

// What the wizard hands to the main window for a statement, built without windows.
inline std::string ReferenceDocument(const TStatementGrid& s) {
  TZLPCore_Interface data;
  TStatementError error;
  if (!ReadStatement(s, data, error)) throw std::runtime_error("unreadable test statement");
  TZLPCore_SolutionResult report;
  static_cast<void>(RunTask(s.TaskType, data, report));
  return report.BuildDocument();
}
