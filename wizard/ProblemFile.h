// Problems kept as files in the text form that kelvano-solve reads (one file format for both):
// reading and writing them, the questions for a file name, the list of recent files, and the store
// a window sees when it is opened on a file.
#pragma once

#include "ProblemStore.h"
#include "Statement.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QMenu;
class TZLPCore_SolutionResult;
class QWidget;

// The suffix of a problem file, without the dot, and the filter of the file dialogs.
inline constexpr const char* ProblemFileSuffix = "kvn";
// The pending problem of a window opened on a file (stored problems have ids from 1, -1 is none).
inline constexpr int FileProblemId = -2;
// How many files the recent list keeps.
inline constexpr int RecentProblemCount = 8;

// The problem of a file, checked as kelvano-solve checks it: the text form first, then every field
// as the input steps read it. Empty with "<file>:<line>: <field>: <message>" in error otherwise.
[[nodiscard]] std::optional<TStatementGrid> ReadProblemFile(const QString& path, std::string& error);
// Writes the statement in the text form, through a temporary file renamed into place; false with
// the reason in error.
bool WriteProblemFile(const QString& path, const TStatementGrid& grid, std::string& error);

// What a file is asked for.
enum class TFileKind : std::uint8_t { OpenProblem, SaveProblem, SaveReport };
// Asks for the name of a file to open or to save as; "" when the student cancels. Tests install
// their own answer.
using TProblemFileQuestion = std::function<QString(QWidget* parent, TFileKind kind)>;
TProblemFileQuestion SetProblemFileQuestion(TProblemFileQuestion question);
[[nodiscard]] QString AskProblemFile(QWidget* parent, TFileKind kind);

// "Сохранить отчёт как HTML…": asks for a name (".html" added when no suffix is typed) and writes
// the report as a page of its own, UTF-8 with its style sheet inside; a failure is told.
bool SaveReportAs(QWidget* parent, const TZLPCore_SolutionResult& report);

// The recent files, newest first, kept with QSettings.
[[nodiscard]] QStringList RecentProblemFiles();
void NoteRecentProblemFile(const QString& path);
// Fills menu with the recent files (disabled when there are none); choosing one calls open.
void FillRecentMenu(QMenu& menu, const std::function<void(const QString&)>& open);

// "Открыть задачу…": asks for a file and reads it, noting it in the recent list; a file that is
// refused is told in a message box and gives nothing. A non-empty path is read without asking. The
// path read goes to opened, when given.
[[nodiscard]] std::optional<TStatementGrid> OpenProblemFile(QWidget* parent, QString path = {},
                                                            QString* opened = nullptr);
// The name a problem read from a file goes by: the file's name without its folder and suffix.
[[nodiscard]] std::string ProblemNameOfFile(const QString& path);
// "Сохранить задачу как…": asks for a name (the suffix added when none is typed) and writes the
// statement there; a statement with a field that does not read (the field is named) and a failure
// are told in a message box.
bool SaveProblemFileAs(QWidget* parent, const TStatementGrid& grid);

// The store as a window opened on a file sees it: the file's statement under FileProblemId,
// everything else from the store beneath (which may be null: then nothing is kept).
class TFileProblemStore final : public TProblemStore {
public:
  TFileProblemStore(TProblemStore* store, TStatementGrid grid, std::string name = {})
      : Store(store), Grid(std::move(grid)), Name(std::move(name)) {}

  int CreateTempTask() override { return Store ? Store->CreateTempTask() : -1; }
  void DropTempTask() override {
    if (Store) Store->DropTempTask();
  }
  [[nodiscard]] int TempTaskId() const override { return Store ? Store->TempTaskId() : -1; }
  bool StoreTempStatement(const TStatementGrid& grid) override { return Store && Store->StoreTempStatement(grid); }
  int SaveTempTaskAs(const std::string& name, std::uint8_t taskType) override {
    return Store ? Store->SaveTempTaskAs(name, taskType) : -1;
  }
  [[nodiscard]] std::optional<TStatementGrid> LoadStatement(int id, std::string& error) const override;
  [[nodiscard]] std::string ProblemName(int id) const override {
    return id == FileProblemId ? Name : Store ? Store->ProblemName(id) : std::string();
  }

private:
  TProblemStore* Store;
  TStatementGrid Grid;
  std::string Name; // of the file's problem
};
