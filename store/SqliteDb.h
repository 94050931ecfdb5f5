// Thin RAII layer over the SQLite C API: a connection, prepared statements and typed reads.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// The engine's report of the last failed call: primary result code, extended code and its text.
struct TSqliteError {
  int Code = 0;
  int ExtendedCode = 0;
  std::string Text;
};

enum class TStepResult : std::uint8_t { Row, Done, Error };

class TSqliteStmt {
public:
  TSqliteStmt() = default;

  [[nodiscard]] bool IsPrepared() const { return Handle != nullptr; }

  // Parameters are numbered from 1, as in the SQL text (?1, ?2, ...).
  void BindInt(int index, long long value);
  void BindText(int index, std::string_view value);
  void BindNull(int index);
  // An empty optional writes NULL: the field reads back as 0.
  void BindOptional(int index, const std::optional<int>& value);

  [[nodiscard]] TStepResult Step();
  // Makes the statement ready to run again; the bound values stay.
  void Reset();

  // Columns are numbered from 0. A NULL field reads as 0 or as the empty string.
  [[nodiscard]] int ColumnInt(int column) const;
  // A whole-number field of the store in 64 bits: NULL reads as 0, a whole number kept as text or
  // as a fraction with nothing after the point reads as that number, and anything else (other
  // text, a fraction, bytes) as NotAnInteger, which no range of the store admits.
  static constexpr long long NotAnInteger = std::numeric_limits<long long>::min();
  [[nodiscard]] long long ColumnInteger(int column) const;
  [[nodiscard]] std::string ColumnText(int column) const;
  [[nodiscard]] int ColumnCount() const;

private:
  friend class TSqliteDb;
  struct TFinalizer {
    void operator()(sqlite3_stmt* stmt) const;
  };
  std::unique_ptr<sqlite3_stmt, TFinalizer> Handle;
};

enum class TOpenMode : std::uint8_t { ReadWrite, ReadOnly };

class TSqliteDb {
public:
  TSqliteDb() = default;

  // Opens the database file read-write (creating it when missing) or read-only (creating
  // nothing). A file that is a symbolic link, or a path through one, is refused; the path is made
  // absolute first, so it is never taken as a "file:" URI, and databases attached later are opened
  // the same way. False on failure; see LastError.
  [[nodiscard]] bool Open(const std::filesystem::path& file, TOpenMode mode = TOpenMode::ReadWrite);
  // Opens an empty read-only database in memory, for an image given to Deserialize; databases
  // attached later are opened read-only, links refused, as by Open.
  [[nodiscard]] bool OpenInMemory();
  // Makes the database schema ("main", or one attached as ':memory:') read-only over a copy of
  // image, the bytes of a database file.
  [[nodiscard]] bool Deserialize(const std::string& schema, const std::string& image);
  void Close();
  [[nodiscard]] bool IsOpen() const { return Handle != nullptr; }

  void SetBusyTimeout(std::chrono::milliseconds timeout);

  // Runs one or more statements without results.
  [[nodiscard]] bool Exec(const std::string& sql);
  [[nodiscard]] bool Prepare(const std::string& sql, TSqliteStmt& stmt);

  [[nodiscard]] TSqliteError LastError() const;
  [[nodiscard]] long long LastInsertRowId() const;
  // Rows changed by the last INSERT, UPDATE or DELETE.
  [[nodiscard]] int Changes() const;
  [[nodiscard]] bool InTransaction() const;

private:
  struct TCloser {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, TCloser> Handle;
  // A failure before a connection existed (out of memory at open) is kept here.
  std::optional<TSqliteError> OpenError;
};

// An SQL identifier in double quotes, inner quotes doubled.
[[nodiscard]] std::string QuoteIdentifier(std::string_view name);
