// Shared by the whole-task window tests: the wizard's final report against kelvano-solve's report of the
// same statement, byte for byte (the test target defines KELVANO_SOLVE, the path of the program).
#pragma once

#include "AppPaths.h"
#include "ZLPCore_SolutionResult.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Both reports link the style sheet beside kelvano-solve, so the test's program folder is set there.
inline void UseKelvanoSolveFolder() {
  SetProgramDir((QFileInfo(QStringLiteral(KELVANO_SOLVE)).canonicalPath() + u'/').toStdString());
}

// The text as a file of dir; its path.
inline QString WriteInput(const QTemporaryDir& dir, const QString& name, const QString& text) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
  return path;
}

// kelvano-solve -o on the inputs ends with exitCode and writes exactly the finished wizard's report,
// which holds the words only this outcome writes.
inline void ExpectSameReportAsKelvanoSolve(const TZLPCore_SolutionResult& report, const QTemporaryDir& dir,
                                           const QStringList& inputs, int exitCode, const QString& verdict) {
  const QString wizardFile = dir.filePath(QStringLiteral("wizard.html"));
  QVERIFY(report.WriteDocument(wizardFile.toStdString()));
  const QString solved = dir.filePath(QStringLiteral("solved.html"));
  QProcess process;
  process.start(QStringLiteral(KELVANO_SOLVE), QStringList{QStringLiteral("-o"), solved} + inputs);
  QVERIFY(process.waitForFinished(30000));
  QCOMPARE(process.exitStatus(), QProcess::NormalExit);
  QCOMPARE(process.exitCode(), exitCode);
  const QByteArray fromWizard = ReadFile(wizardFile);
  QVERIFY2(fromWizard.contains(Utf8ToCp1251(verdict.toStdString()).c_str()), qPrintable(verdict));
  QCOMPARE(ReadFile(solved), fromWizard);
}
