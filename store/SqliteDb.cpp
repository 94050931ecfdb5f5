// Thin RAII layer over the SQLite C API.
#include "SqliteDb.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>

void TSqliteStmt::TFinalizer::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

void TSqliteStmt::BindInt(int index, long long value) { sqlite3_bind_int64(Handle.get(), index, value); }

void TSqliteStmt::BindText(int index, std::string_view value) {
  sqlite3_bind_text(Handle.get(), index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

void TSqliteStmt::BindNull(int index) { sqlite3_bind_null(Handle.get(), index); }

void TSqliteStmt::BindOptional(int index, const std::optional<int>& value) {
  if (value)
    BindInt(index, *value);
  else
    BindNull(index);
}

TStepResult TSqliteStmt::Step() {
  switch (sqlite3_step(Handle.get())) {
  case SQLITE_ROW: return TStepResult::Row;
  case SQLITE_DONE: return TStepResult::Done;
  default: return TStepResult::Error;
  }
}

void TSqliteStmt::Reset() { sqlite3_reset(Handle.get()); }

int TSqliteStmt::ColumnInt(int column) const { return sqlite3_column_int(Handle.get(), column); }

long long TSqliteStmt::ColumnInteger(int column) const {
  switch (sqlite3_column_type(Handle.get(), column)) {
  case SQLITE_NULL: return 0;
  case SQLITE_INTEGER: return sqlite3_column_int64(Handle.get(), column);
  case SQLITE_FLOAT: {
    const double v = sqlite3_column_double(Handle.get(), column);
    // 2^63 itself is out of range; every double below it in magnitude converts exactly.
    if (v == std::trunc(v) && std::fabs(v) < 9223372036854775808.0) return static_cast<long long>(v);
    return NotAnInteger;
  }
  case SQLITE_TEXT: {
    const std::string text = ColumnText(column);
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (!text.empty() && ec == std::errc() && end == text.data() + text.size()) return v;
    return NotAnInteger;
  }
  default: return NotAnInteger;
  }
}

std::string TSqliteStmt::ColumnText(int column) const {
  const auto* text = sqlite3_column_text(Handle.get(), column);
  if (text == nullptr) return {};
  return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_column_bytes(Handle.get(), column))};
}

int TSqliteStmt::ColumnCount() const { return sqlite3_column_count(Handle.get()); }

void TSqliteDb::TCloser::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

bool TSqliteDb::Open(const std::filesystem::path& file, TOpenMode mode) {
  Close();
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  if (ec) {
    OpenError = TSqliteError{SQLITE_CANTOPEN, SQLITE_CANTOPEN, ec.message()};
    return false;
  }
  const int access = mode == TOpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(absolute.string().c_str(), &raw, access | SQLITE_OPEN_NOFOLLOW, nullptr);
  Handle.reset(raw);
  if (rc == SQLITE_OK) return true;
  OpenError = Handle ? LastError() : TSqliteError{rc & 0xff, rc, sqlite3_errstr(rc)};
  Handle.reset();
  return false;
}

bool TSqliteDb::OpenInMemory() {
  Close();
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, nullptr);
  Handle.reset(raw);
  if (rc == SQLITE_OK) return true;
  OpenError = Handle ? LastError() : TSqliteError{rc & 0xff, rc, sqlite3_errstr(rc)};
  Handle.reset();
  return false;
}

bool TSqliteDb::Deserialize(const std::string& schema, const std::string& image) {
  const auto size = static_cast<sqlite3_int64>(image.size());
  auto* copy =
      static_cast<unsigned char*>(sqlite3_malloc64(static_cast<sqlite3_uint64>(std::max<sqlite3_int64>(size, 1))));
  if (copy == nullptr) return false;
  std::copy(image.begin(), image.end(), copy);
  // The engine owns the copy from here on, whatever the outcome.
  return sqlite3_deserialize(Handle.get(), schema.c_str(), copy, size, size,
                             SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) == SQLITE_OK;
}

void TSqliteDb::Close() {
  Handle.reset();
  OpenError.reset();
}

void TSqliteDb::SetBusyTimeout(std::chrono::milliseconds timeout) {
  sqlite3_busy_timeout(Handle.get(), static_cast<int>(timeout.count()));
}

bool TSqliteDb::Exec(const std::string& sql) {
  return sqlite3_exec(Handle.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool TSqliteDb::Prepare(const std::string& sql, TSqliteStmt& stmt) {
  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v2(Handle.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
  stmt.Handle.reset(raw);
  return rc == SQLITE_OK;
}

TSqliteError TSqliteDb::LastError() const {
  if (!Handle) return OpenError.value_or(TSqliteError{SQLITE_MISUSE, SQLITE_MISUSE, "no connection"});
  const int extended = sqlite3_extended_errcode(Handle.get());
  return {extended & 0xff, extended, sqlite3_errmsg(Handle.get())};
}

long long TSqliteDb::LastInsertRowId() const { return sqlite3_last_insert_rowid(Handle.get()); }

int TSqliteDb::Changes() const { return sqlite3_changes(Handle.get()); }

bool TSqliteDb::InTransaction() const { return Handle && sqlite3_get_autocommit(Handle.get()) == 0; }

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  quoted += '"';
  return quoted;
}
