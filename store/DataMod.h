// The problem store: saved problem statements in five SQLite table files, and the temporary record.
#pragma once

#include "SqliteDb.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The four detail tables; every row points to its Tasks row through TaskId.
enum class TDetailTable : std::uint8_t { Simplex1, Simplex2, Gomory, Quadro };

// One row of Tasks. Empty fields read as 0 or "": the temporary row has TaskType 0, an empty
// TaskName and an empty Save. Whole numbers are read in 64 bits as they are stored, never cut to
// 32; a value that is not a whole number reads as TSqliteStmt::NotAnInteger. Readers check them
// against their ranges.
struct TTaskRow {
  int Id = 0;
  std::int64_t TaskType = 0;
  std::string TaskName;
  std::string Save; // local date and time of saving, "YYYY-MM-DD HH:MM:SS"
  std::int64_t Sx = 0;
  std::int64_t Sy = 0;
  std::int64_t Max = 0;
  bool operator==(const TTaskRow&) const = default;
};

// Layouts of the detail rows by task type (n variables, m constraints):
//  8, 24, 40  Simplex1 Y = 0..m, X = 0..n: (0,0) free term of the objective, (X,0) objective
//             coefficients, (0,Y) right-hand sides, (X,Y) constraint coefficients;
//             Simplex2 Y = 1..m: Sign = ordinal of TZLPCore_InequalitySign.
//  24         Gomory Y = 1..n: Val 1 when x_Y must be an integer.
//  40         Quadro Y = 1..n, X = 1..n: Val the coefficient text of the quadratic part.
//  56         Simplex1 Y = -1..m: row -1 the numerator, row 0 the denominator, then as for 8.
//  72         Simplex1 Y = 1..Sy, X = 0..Sx: X = 0 the proportion of product Y, X >= 1 pieces.
//  88         Simplex1 Y = 1..n, X = 1..n: the cost matrix.
//  104        Simplex1 Y = 1..n: X = 0 the observed X, X = 1 the observed Y.
// Numbers are kept as the text that was typed (or the text form of a TRational), never converted.
// Positions, signs and ticks are read in 64 bits, as the fields of TTaskRow.
struct TSimplex1Row {
  std::int64_t X = 0;
  std::int64_t Y = 0;
  std::string V;
  bool operator==(const TSimplex1Row&) const = default;
};
struct TSimplex2Row {
  std::int64_t Y = 0;
  std::int64_t Sign = 0;
  bool operator==(const TSimplex2Row&) const = default;
};
struct TGomoryRow {
  std::int64_t Y = 0;
  std::int64_t Val = 0;
  bool operator==(const TGomoryRow&) const = default;
};
struct TQuadroRow {
  std::int64_t X = 0;
  std::int64_t Y = 0;
  std::string Val;
  bool operator==(const TQuadroRow&) const = default;
};

// How the store is opened: by the program, which saves problems, or by a reader such as
// kelvano-solve, which must leave every file as it found it.
enum class TStoreAccess : std::uint8_t { ReadWrite, ReadOnly };

// The data module. Every operation is one transaction across the five files: it either happens
// whole or changes nothing, and an engine failure shows one message (caption "Ошибка") naming the
// file and the reason. When the files cannot be opened the module stays closed: every operation
// then fails quietly and the rest of the program works without the store.
class TDM {
public:
  // Opens the five table files in dataFolder. Read-write creates the folder and whatever file or
  // table is missing. Read-only creates and changes nothing: each of the five files must be there,
  // a non-empty file holding its table, and every change is refused. Either way a table file that
  // is a symbolic link or not a regular file is refused (a link to the folder itself is followed).
  explicit TDM(std::filesystem::path dataFolder, std::chrono::milliseconds busyTimeout = std::chrono::seconds(5));
  TDM(std::filesystem::path dataFolder, TStoreAccess access,
      std::chrono::milliseconds busyTimeout = std::chrono::seconds(5));
  TDM(const TDM&) = delete;
  TDM& operator=(const TDM&) = delete;

  // The folder for the table files: programDir/data when it can be written (and besideProgram),
  // otherwise $XDG_DATA_HOME/kelvano/data, otherwise ~/.local/share/kelvano/data. An installed
  // program passes false: its folder is the system's, whoever may write there.
  [[nodiscard]] static std::filesystem::path ChooseDataFolder(const std::filesystem::path& programDir,
                                                              bool besideProgram = true);
  // The folder ChooseDataFolder gives, found without creating or writing anything: for readers.
  [[nodiscard]] static std::filesystem::path FindDataFolder(const std::filesystem::path& programDir,
                                                            bool besideProgram = true);
  [[nodiscard]] static std::string TableFileName(TDetailTable table);

  [[nodiscard]] bool IsOpen() const { return Opened; }
  [[nodiscard]] const std::filesystem::path& DataFolder() const { return Folder; }
  // Why the store could not be opened, "«file or folder» — reason"; empty when it is open. A
  // read-write store also shows it in a message; a read-only one leaves the telling to its reader.
  [[nodiscard]] const std::string& OpenFailure() const { return OpenFailureText; }

  // Makes a new empty Tasks row the temporary record and returns its Id, or -1 on failure.
  // A temporary record that still exists is dropped first, with a message.
  [[nodiscard]] int CreateTempTask();
  // Deletes the temporary record with its detail rows; nothing when there is none.
  bool DropTempTask();
  // Deletes the Tasks row of id (if any) and the detail rows of id in all four tables.
  [[nodiscard]] bool DeleteTask(int id);
  // Copies the temporary record with all its detail rows into a new problem and returns its Id, or
  // -1 on failure. The temporary record stays and remains the working record. Once the copy is
  // stored, one information message "Задача «name» сохранена." (caption the program title) says so.
  [[nodiscard]] int SaveTempTaskAs(const std::string& name, int taskType);
  bool ClearTempRows(TDetailTable table);
  [[nodiscard]] int GetTempTaskId() const { return TempTaskId; }
  // One statement: all rows of the table whose TaskId is id.
  bool DeleteRowsOfTask(TDetailTable table, int id);
  // Appends copies of the rows of fromId with TaskId toId, in their order.
  [[nodiscard]] bool CopyRowsOfTask(TDetailTable table, int fromId, int toId);
  void ShowStoreMessage(const std::string& text) const;
  // Runs several of the operations above as one transaction: all of them take effect or none, and
  // a failure shows one message.
  bool Atomically(const std::function<bool()>& body);

  // The Tasks row of id; empty when there is none or on failure.
  [[nodiscard]] std::optional<TTaskRow> FindTask(int id) const;
  // Sets the sizes of the Tasks row of id; an empty value empties the field. False when the row is
  // missing or on failure.
  [[nodiscard]] bool SetTaskSizes(int id, std::optional<int> sx, std::optional<int> sy, std::optional<int> max);
  // The Tasks rows in table order, all of them for taskType 0, else those of that type only
  // (so a temporary row left behind is listed only among all types). Empty optional on failure.
  [[nodiscard]] std::optional<std::vector<TTaskRow>> ListTasks(int taskType = 0) const;

  // Appends detail rows of task taskId, all or none.
  [[nodiscard]] bool InsertRows(int taskId, const std::vector<TSimplex1Row>& rows);
  [[nodiscard]] bool InsertRows(int taskId, const std::vector<TSimplex2Row>& rows);
  [[nodiscard]] bool InsertRows(int taskId, const std::vector<TGomoryRow>& rows);
  [[nodiscard]] bool InsertRows(int taskId, const std::vector<TQuadroRow>& rows);

  // Detail rows of task taskId in table order; empty optional on failure.
  [[nodiscard]] std::optional<std::vector<TSimplex1Row>> Simplex1Rows(int taskId) const;
  [[nodiscard]] std::optional<std::vector<TSimplex2Row>> Simplex2Rows(int taskId) const;
  [[nodiscard]] std::optional<std::vector<TGomoryRow>> GomoryRows(int taskId) const;
  [[nodiscard]] std::optional<std::vector<TQuadroRow>> QuadroRows(int taskId) const;

private:
  // Index into Tables: 0 Tasks, then the detail tables in the order of TDetailTable.
  static constexpr std::size_t TasksIndex = 0;
  static constexpr std::size_t TableCount = 5;
  struct TTable {
    std::string Name;
    std::vector<std::string> Columns; // as found in the file, in field order
  };

  [[nodiscard]] bool Open(std::chrono::milliseconds busyTimeout);
  [[nodiscard]] bool CheckTable(std::size_t index, bool& missing);
  [[nodiscard]] bool ReadColumns(std::size_t index);
  [[nodiscard]] bool CreateMissingTables(const std::array<bool, TableCount>& missing);
  [[nodiscard]] bool CheckFileEntry(std::size_t index);
  void ShowOpenFailure(const std::filesystem::path& where, const std::string& reason);

  // The file of table index as named to the user (the folder when index is TableCount)...
  [[nodiscard]] std::filesystem::path FileOf(std::size_t index) const;
  // ... and as handed to the engine: inside the folder with its links resolved, so that only a
  // link at the file itself is refused.
  [[nodiscard]] std::filesystem::path EngineFileOf(std::size_t index) const;
  [[nodiscard]] static std::size_t IndexOf(TDetailTable table);
  [[nodiscard]] std::string Qualified(std::size_t index) const;

  // Runs body in one write transaction: commits when body returns true, otherwise rolls back and
  // shows the one failure that was recorded. Messages queued by body are shown after the commit.
  template <class TBody> bool Write(TBody&& body);
  // Records an engine failure of the last call on the file of table index (the folder when
  // index is TableCount) unless one is recorded already; returns false.
  bool Fail(std::size_t index) const;
  // Records a failure described by text; returns false.
  bool FailWith(std::string text) const;
  // Shows a failure of a read, which changed nothing.
  void ReportReadFailure() const;

  [[nodiscard]] bool DeleteRows(std::size_t index, int id);
  [[nodiscard]] std::pair<std::string, std::string>
  CopyLists(std::size_t index, const std::function<std::string(const std::string&)>& valueOf) const;
  [[nodiscard]] bool CopyRows(std::size_t index, int fromId, int toId);
  [[nodiscard]] bool DropTask(int id);
  template <class TRow, class TBindRow>
  [[nodiscard]] bool Insert(std::size_t index, const std::string& fields, int taskId, const std::vector<TRow>& rows,
                            TBindRow bindRow);
  template <class TRow, class TReadRow>
  [[nodiscard]] std::optional<std::vector<TRow>> Scan(std::size_t index, const std::string& fields, int taskId,
                                                      TReadRow readRow) const;

  std::filesystem::path Folder;
  std::filesystem::path ResolvedFolder;
  TStoreAccess Access = TStoreAccess::ReadWrite;
  std::string OpenFailureText;
  mutable TSqliteDb Db;
  std::array<TTable, TableCount> Tables;
  bool Opened = false;
  int TempTaskId = -1;
  bool Nested = false; // inside Atomically: operations join its transaction
  mutable std::optional<std::string> Failure;
  std::vector<std::string> Deferred; // information messages shown once the transaction is committed
};
