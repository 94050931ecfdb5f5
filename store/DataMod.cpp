// The problem store: saved problem statements in five SQLite table files, and the temporary record.
#include "DataMod.h"

#include "MessageSeam.h"
#include "untStrConst.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

struct TTableDef {
  const char* Name;
  const char* File;
  const char* Schema; // name of the attached database inside the one connection
  const char* Create; // field list of a new table
  std::vector<std::string> Required;
};

// Tasks.Id is AUTOINCREMENT: assigned by the engine from 1 and never reused, so 0 never names a
// problem and a deleted problem's number never comes back.
const std::array<TTableDef, 5> TableDefs = {{
    {"Tasks",
     "Tasks.db",
     "main",
     "(Id INTEGER PRIMARY KEY AUTOINCREMENT, TaskType INTEGER, TaskName TEXT, Save TEXT, "
     "Sx INTEGER, Sy INTEGER, Max INTEGER)",
     {"Id", "TaskType", "TaskName", "Save", "Sx", "Sy", "Max"}},
    {"Simplex1",
     "Simplex1.db",
     "Simplex1",
     "(Id INTEGER PRIMARY KEY, TaskId INTEGER NOT NULL, X INTEGER, Y INTEGER, V TEXT)",
     {"TaskId", "X", "Y", "V"}},
    {"Simplex2",
     "Simplex2.db",
     "Simplex2",
     "(Id INTEGER PRIMARY KEY, TaskId INTEGER NOT NULL, Y INTEGER, Sign INTEGER)",
     {"TaskId", "Y", "Sign"}},
    {"Gomory",
     "Gomory.db",
     "Gomory",
     "(Id INTEGER PRIMARY KEY, TaskId INTEGER NOT NULL, Y INTEGER, Val INTEGER)",
     {"TaskId", "Y", "Val"}},
    {"Quadro",
     "Quadro.db",
     "Quadro",
     "(Id INTEGER PRIMARY KEY, TaskId INTEGER NOT NULL, X INTEGER, Y INTEGER, Val TEXT)",
     {"TaskId", "X", "Y", "Val"}},
}};

const std::string TaskFields = "Id, TaskType, TaskName, Save, Sx, Sy, \"Max\"";

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

std::string PathText(const std::filesystem::path& path) { return path.string(); }

// The reason of an engine failure in Russian, with the engine's own words for the expert.
std::string EngineReason(const TSqliteError& error) {
  std::string reason;
  switch (error.Code) {
  case SQLITE_BUSY:
  case SQLITE_LOCKED: reason = "файл занят другой программой или другой копией программы"; break;
  case SQLITE_FULL: reason = "диск переполнен"; break;
  case SQLITE_READONLY: reason = "файл или папка доступны только для чтения"; break;
  case SQLITE_CANTOPEN: reason = "файл не удаётся открыть или создать (нет доступа к папке?)"; break;
  case SQLITE_NOTADB: reason = "файл не является базой данных"; break;
  case SQLITE_CORRUPT: reason = "файл повреждён"; break;
  case SQLITE_IOERR: reason = "ошибка чтения или записи на диск"; break;
  case SQLITE_PERM:
  case SQLITE_AUTH: reason = "нет прав доступа к файлу"; break;
  case SQLITE_NOMEM: reason = "не хватает памяти"; break;
  case SQLITE_CONSTRAINT: reason = "запись отклонена базой данных"; break;
  default: reason = "ошибка базы данных"; break;
  }
  if (!error.Text.empty()) reason += " (" + error.Text + ")";
  return reason;
}

std::string FolderReason(const std::error_code& ec) {
  if (ec == std::errc::not_a_directory || ec == std::errc::file_exists) return "на пути к ней стоит файл, а не папка";
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) return "нет прав на запись";
  if (ec == std::errc::read_only_file_system) return "диск доступен только для чтения";
  if (ec == std::errc::no_space_on_device) return "диск переполнен";
  if (!ec) return "на её месте находится файл";
  return "ошибка файловой системы (" + ec.message() + ")";
}

// True when files can be created in folder, which is created if needed.
bool CanWriteFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec || !std::filesystem::is_directory(folder, ec)) return false;
  const auto probe = folder / (".write-test-" + std::to_string(::getpid()));
  bool written = false;
  {
    std::ofstream file(probe);
    written = file.good();
  }
  std::filesystem::remove(probe, ec);
  return written;
}

// The user's data folder of the program: $XDG_DATA_HOME/kelvano/data or ~/.local/share/kelvano/data;
// fallback when neither can be named.
std::filesystem::path UserDataFolder(const std::filesystem::path& fallback) {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && std::filesystem::path(xdg).is_absolute())
    return std::filesystem::path(xdg) / "kelvano" / "data";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return std::filesystem::path(home) / ".local" / "share" / "kelvano" / "data";
  return fallback;
}

std::string FileReason(int error) {
  if (error == ENOENT) return "файл не найден";
  if (error == EACCES || error == EPERM) return "нет прав доступа к файлу";
  return "файл недоступен (" + std::error_code(error, std::generic_category()).message() + ")";
}

// ---- table files in WAL mode ----
// To read a file in WAL mode the engine writes its -shm file (and creates it and the -wal file when
// they are missing), so a reader takes such a file in by itself: the file's bytes with the committed
// frames of its -wal file applied, as the engine's recovery applies them, given to the engine in
// memory.

// The file's place, size and time of change, to tell whether it changed while it was read.
struct TFileState {
  bool Exists = false;
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  std::int64_t Changed = 0; // nanoseconds
  bool operator==(const TFileState&) const = default;
};

TFileState StateOf(const std::filesystem::path& file) {
  struct stat st {};
  if (::lstat(file.c_str(), &st) != 0) return {};
  return {true, st.st_dev, st.st_ino, st.st_size,
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// Up to most bytes of the file, a link not followed; false with errno on failure.
bool ReadBytes(const std::filesystem::path& file, std::string& bytes, std::size_t most = std::string::npos) {
  bytes.clear();
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  char buf[65536];
  while (bytes.size() < most) {
    const ssize_t n = ::read(fd, buf, std::min(sizeof buf, most - bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return n == 0;
    }
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

std::uint32_t Big32(const std::string& b, std::size_t at) {
  const auto u = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + k])); };
  return u(0) << 24 | u(1) << 16 | u(2) << 8 | u(3);
}

// The engine's WAL checksum over n bytes (a multiple of 8) at b[at], its 32-bit words big-endian
// or little-endian, continued from s0, s1.
void WalChecksum(const std::string& b, std::size_t at, std::size_t n, bool bigEndian, std::uint32_t& s0,
                 std::uint32_t& s1) {
  const auto word = [&](std::size_t k) {
    const std::uint32_t v = Big32(b, k);
    return bigEndian ? v : (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
  };
  for (std::size_t k = at; k < at + n; k += 8) {
    s0 += word(k) + s1;
    s1 += word(k + 4) + s0;
  }
}

// Applies to image the frames of wal up to its last valid commit: a frame counts while its salts are
// those of the header and the checksum running from the header through it holds.
void ApplyWal(std::string& image, const std::string& wal) {
  if (wal.size() < 32) return;
  const std::uint32_t magic = Big32(wal, 0);
  if ((magic & 0xFFFFFFFEU) != 0x377F0682U || Big32(wal, 4) != 3007000) return;
  const bool bigEndian = (magic & 1) != 0;
  const std::uint32_t pageSize = Big32(wal, 8);
  if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0) return;
  std::uint32_t s0 = 0;
  std::uint32_t s1 = 0;
  WalChecksum(wal, 0, 24, bigEndian, s0, s1);
  if (s0 != Big32(wal, 24) || s1 != Big32(wal, 28)) return;
  const std::size_t frame = 24 + std::size_t{pageSize};
  std::size_t committed = 0; // frames up to the last commit
  std::uint32_t pages = 0;   // the size of the database in pages after it
  for (std::size_t k = 0, at = 32; at + frame <= wal.size(); ++k, at += frame) {
    if (Big32(wal, at) == 0 || Big32(wal, at + 8) != Big32(wal, 16) || Big32(wal, at + 12) != Big32(wal, 20)) break;
    WalChecksum(wal, at, 8, bigEndian, s0, s1);
    WalChecksum(wal, at + 24, pageSize, bigEndian, s0, s1);
    if (s0 != Big32(wal, at + 16) || s1 != Big32(wal, at + 20)) break;
    if (Big32(wal, at + 4) != 0) {
      committed = k + 1;
      pages = Big32(wal, at + 4);
    }
  }
  if (committed == 0) return;
  image.resize(std::size_t{pages} * pageSize, '\0');
  for (std::size_t k = 0; k < committed; ++k) {
    const std::size_t at = 32 + k * frame;
    const std::uint32_t page = Big32(wal, at);
    if (page <= pages) image.replace(std::size_t{page - 1} * pageSize, pageSize, wal, at + 24, pageSize);
  }
}

// The image of a table file in WAL mode (empty when the file is in another mode), read again while
// the file or its -wal file changes under it; empty with the reason when they keep changing or cannot
// be read.
std::optional<std::string> WalModeImage(const std::filesystem::path& file, std::string& reason) {
  std::string header;
  if (!ReadBytes(file, header, 100)) {
    reason = FileReason(errno);
    return std::nullopt;
  }
  // Bytes 18 and 19 of the header, the versions to write and to read, are 2 in WAL mode.
  if (header.size() < 100 || header[18] != 2 || header[19] != 2) return std::nullopt;
  std::filesystem::path walFile = file;
  walFile += "-wal";
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const TFileState before[] = {StateOf(file), StateOf(walFile)};
    std::string image;
    std::string wal;
    if (!ReadBytes(file, image)) {
      reason = FileReason(errno);
      return std::nullopt;
    }
    if (before[1].Exists && !ReadBytes(walFile, wal)) {
      reason = "файл журнала «" + PathText(walFile.filename()) + "» не читается: " + FileReason(errno);
      return std::nullopt;
    }
    const TFileState after[] = {StateOf(file), StateOf(walFile)};
    if (!std::equal(std::begin(before), std::end(before), std::begin(after))) continue;
    ApplyWal(image, wal);
    // The image is read in memory as a file of the usual mode, which needs no side files.
    if (image.size() >= 100) image[18] = image[19] = 1;
    return image;
  }
  reason = "файл меняется другой программой быстрее, чем его удаётся прочитать";
  return std::nullopt;
}

} // namespace

TDM::TDM(std::filesystem::path dataFolder, std::chrono::milliseconds busyTimeout)
    : TDM(std::move(dataFolder), TStoreAccess::ReadWrite, busyTimeout) {}

TDM::TDM(std::filesystem::path dataFolder, TStoreAccess access, std::chrono::milliseconds busyTimeout)
    : Folder(std::move(dataFolder)), Access(access) {
  for (std::size_t i = 0; i < TableCount; ++i) Tables[i].Name = TableDefs[i].Name;
  Opened = Open(busyTimeout);
  if (!Opened) Db.Close();
}

std::filesystem::path TDM::ChooseDataFolder(const std::filesystem::path& programDir, bool besideProgram) {
  const auto local = programDir / "data";
  if (besideProgram && CanWriteFolder(local)) return local;
  return UserDataFolder(local);
}

std::filesystem::path TDM::FindDataFolder(const std::filesystem::path& programDir, bool besideProgram) {
  const auto local = programDir / "data";
  if (!besideProgram) return UserDataFolder(local);
  // What ChooseDataFolder finds by creating the folder and writing a probe, told here from the
  // permissions of the folder or of the nearest folder above it that exists.
  std::error_code ec;
  std::filesystem::path existing = std::filesystem::absolute(local, ec);
  while (!std::filesystem::exists(existing, ec) && existing.has_relative_path()) existing = existing.parent_path();
  if (std::filesystem::is_directory(existing, ec) && ::access(existing.c_str(), W_OK) == 0) return local;
  return UserDataFolder(local);
}

std::string TDM::TableFileName(TDetailTable table) { return TableDefs[IndexOf(table)].File; }

std::size_t TDM::IndexOf(TDetailTable table) { return 1 + static_cast<std::size_t>(table); }

std::filesystem::path TDM::FileOf(std::size_t index) const {
  return index < TableCount ? Folder / TableDefs[index].File : Folder;
}

std::filesystem::path TDM::EngineFileOf(std::size_t index) const {
  return index < TableCount ? ResolvedFolder / TableDefs[index].File : ResolvedFolder;
}

std::string TDM::Qualified(std::size_t index) const {
  return QuoteIdentifier(TableDefs[index].Schema) + "." + QuoteIdentifier(TableDefs[index].Name);
}

void TDM::ShowStoreMessage(const std::string& text) const { ShowMessage("Ошибка", text, TMsgIcon::Error, mbOK); }

void TDM::ShowOpenFailure(const std::filesystem::path& where, const std::string& reason) {
  OpenFailureText = "«" + PathText(where) + "» — " + reason;
  if (Access == TStoreAccess::ReadWrite)
    ShowStoreMessage("База задач недоступна: " + OpenFailureText +
                     ". Файлы базы задач оставлены без изменений; программа продолжит работу без "
                     "сохранения и загрузки задач.");
}

// What stands at the name of a table file before the engine sees it: a link or anything but a
// regular file is refused; a reader also needs the file to be there and not empty (the engine
// would take an empty file for an empty database).
bool TDM::CheckFileEntry(std::size_t index) {
  struct stat st {};
  if (::lstat(EngineFileOf(index).c_str(), &st) != 0) {
    const int error = errno;
    if (error == ENOENT && Access == TStoreAccess::ReadWrite) return true;
    ShowOpenFailure(FileOf(index), FileReason(error));
    return false;
  }
  if (S_ISLNK(st.st_mode)) {
    ShowOpenFailure(FileOf(index), "файл является символической ссылкой, а ссылки вместо файлов базы задач не "
                                   "открываются");
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    ShowOpenFailure(FileOf(index), "это не обычный файл");
    return false;
  }
  if (st.st_size == 0 && Access == TStoreAccess::ReadOnly) {
    ShowOpenFailure(FileOf(index), "файл пуст");
    return false;
  }
  return true;
}

bool TDM::Open(std::chrono::milliseconds busyTimeout) {
  std::error_code ec;
  if (Access == TStoreAccess::ReadWrite) {
    std::filesystem::create_directories(Folder, ec);
    if (ec || !std::filesystem::is_directory(Folder)) {
      ShowOpenFailure(Folder, "не удаётся создать папку: " + FolderReason(ec));
      return false;
    }
  } else if (!std::filesystem::is_directory(Folder, ec)) {
    ShowOpenFailure(Folder, std::filesystem::exists(Folder, ec) ? "это не папка" : "папка не найдена");
    return false;
  }
  // Absolute, so that the engine never takes the path for a "file:" URI, and with the folder's own
  // links resolved, so that the engine's refusal of links speaks of the files alone.
  ResolvedFolder = std::filesystem::canonical(Folder, ec);
  if (ec) {
    ShowOpenFailure(Folder, "папка недоступна (" + ec.message() + ")");
    return false;
  }
  for (std::size_t i = 0; i < TableCount; ++i)
    if (!CheckFileEntry(i)) return false;
  // A reader takes a file in WAL mode in as an image, which leaves its side files alone.
  std::array<std::optional<std::string>, TableCount> images;
  if (Access == TStoreAccess::ReadOnly) {
    for (std::size_t i = 0; i < TableCount; ++i) {
      std::string reason;
      images[i] = WalModeImage(EngineFileOf(i), reason);
      if (!reason.empty()) {
        ShowOpenFailure(FileOf(i), reason);
        return false;
      }
    }
  }
  const TOpenMode mode = Access == TStoreAccess::ReadOnly ? TOpenMode::ReadOnly : TOpenMode::ReadWrite;
  const bool opened = images[TasksIndex] ? Db.OpenInMemory() && Db.Deserialize("main", *images[TasksIndex])
                                         : Db.Open(EngineFileOf(TasksIndex), mode);
  images[TasksIndex].reset();
  if (!opened) {
    ShowOpenFailure(FileOf(TasksIndex), EngineReason(Db.LastError()));
    return false;
  }
  Db.SetBusyTimeout(busyTimeout);
  // Each file is checked as soon as it joins the connection, so a bad file is named as itself and
  // not as the next one to be attached.
  std::array<bool, TableCount> missing{};
  if (!CheckTable(TasksIndex, missing[TasksIndex])) return false;
  for (std::size_t i = 1; i < TableCount; ++i) {
    TSqliteStmt attach;
    if (!Db.Prepare("ATTACH DATABASE ?1 AS " + QuoteIdentifier(TableDefs[i].Schema), attach)) {
      ShowOpenFailure(FileOf(i), EngineReason(Db.LastError()));
      return false;
    }
    attach.BindText(1, images[i] ? std::string(":memory:") : PathText(EngineFileOf(i)));
    if (attach.Step() == TStepResult::Error || (images[i] && !Db.Deserialize(TableDefs[i].Schema, *images[i]))) {
      ShowOpenFailure(FileOf(i), EngineReason(Db.LastError()));
      return false;
    }
    images[i].reset();
    if (!CheckTable(i, missing[i])) return false;
  }
  if (!CreateMissingTables(missing)) return false;
  for (std::size_t i = 0; i < TableCount; ++i) {
    if (!ReadColumns(i)) {
      ShowOpenFailure(FileOf(i), EngineReason(Db.LastError()));
      return false;
    }
  }
  return true;
}

// Looks for the table in its file. A file holding other tables but not ours, or ours without its
// fields, is someone else's: it is reported and left alone, never written.
bool TDM::CheckTable(std::size_t index, bool& missing) {
  const TTableDef& def = TableDefs[index];
  TSqliteStmt stmt;
  bool found = false;
  bool foreign = false;
  if (Db.Prepare("SELECT type, name FROM " + QuoteIdentifier(def.Schema) + ".sqlite_master", stmt)) {
    TStepResult step;
    while ((step = stmt.Step()) == TStepResult::Row) {
      const std::string name = stmt.ColumnText(1);
      if (stmt.ColumnText(0) != "table" || Lower(name).starts_with("sqlite_")) continue;
      if (SameName(name, def.Name))
        found = true;
      else
        foreign = true;
    }
    if (step == TStepResult::Done) {
      missing = !found;
      if (!found && foreign) {
        ShowOpenFailure(FileOf(index),
                        "файл не является таблицей «" + std::string(def.Name) + "» базы задач: в нём другие таблицы");
        return false;
      }
      if (!found) return true;
      if (!ReadColumns(index)) {
        ShowOpenFailure(FileOf(index), EngineReason(Db.LastError()));
        return false;
      }
      for (const std::string& field : def.Required) {
        const auto& columns = Tables[index].Columns;
        if (std::none_of(columns.begin(), columns.end(), [&](const std::string& c) { return SameName(c, field); })) {
          ShowOpenFailure(FileOf(index), "в таблице «" + std::string(def.Name) + "» нет поля «" + field + "»");
          return false;
        }
      }
      if (index == TasksIndex) {
        TSqliteStmt key;
        if (!Db.Prepare("SELECT count(*) FROM pragma_table_info('Tasks', 'main') "
                        "WHERE lower(name) = 'id' AND pk = 1 AND upper(type) = 'INTEGER'",
                        key) ||
            key.Step() != TStepResult::Row) {
          ShowOpenFailure(FileOf(index), EngineReason(Db.LastError()));
          return false;
        }
        if (key.ColumnInt(0) != 1) {
          ShowOpenFailure(FileOf(index), "поле «Id» таблицы «Tasks» не является номером, который присваивает база");
          return false;
        }
      }
      return true;
    }
  }
  ShowOpenFailure(FileOf(index), EngineReason(Db.LastError()));
  return false;
}

bool TDM::ReadColumns(std::size_t index) {
  TSqliteStmt stmt;
  if (!Db.Prepare("SELECT name FROM pragma_table_info(?1, ?2) ORDER BY cid", stmt)) return false;
  stmt.BindText(1, TableDefs[index].Name);
  stmt.BindText(2, TableDefs[index].Schema);
  std::vector<std::string> columns;
  TStepResult step;
  while ((step = stmt.Step()) == TStepResult::Row) columns.push_back(stmt.ColumnText(0));
  if (step == TStepResult::Error) return false;
  Tables[index].Columns = std::move(columns);
  return true;
}

// New tables are made together in one transaction; IF NOT EXISTS lets two programs start at once.
bool TDM::CreateMissingTables(const std::array<bool, TableCount>& missing) {
  if (std::none_of(missing.begin(), missing.end(), [](bool m) { return m; })) return true;
  if (Access == TStoreAccess::ReadOnly) {
    const auto first = static_cast<std::size_t>(std::find(missing.begin(), missing.end(), true) - missing.begin());
    ShowOpenFailure(FileOf(first), "в файле нет таблицы «" + std::string(TableDefs[first].Name) + "»");
    return false;
  }
  if (!Db.Exec("BEGIN IMMEDIATE")) {
    ShowOpenFailure(Folder, EngineReason(Db.LastError()));
    return false;
  }
  for (std::size_t i = 0; i < TableCount; ++i) {
    if (!missing[i]) continue;
    const TTableDef& def = TableDefs[i];
    std::string sql = "CREATE TABLE IF NOT EXISTS " + Qualified(i) + def.Create + ";";
    if (i != TasksIndex)
      sql += "CREATE INDEX IF NOT EXISTS " + QuoteIdentifier(def.Schema) + "." +
             QuoteIdentifier(std::string(def.Name) + "_TaskId") + " ON " + QuoteIdentifier(def.Name) + "(TaskId);";
    if (!Db.Exec(sql)) {
      ShowOpenFailure(FileOf(i), EngineReason(Db.LastError()));
      (void)Db.Exec("ROLLBACK");
      return false;
    }
  }
  if (!Db.Exec("COMMIT")) {
    ShowOpenFailure(Folder, EngineReason(Db.LastError()));
    (void)Db.Exec("ROLLBACK");
    return false;
  }
  return true;
}

bool TDM::Fail(std::size_t index) const {
  if (!Failure) {
    const std::string where =
        index < TableCount ? "файл «" + PathText(FileOf(index)) + "»" : "папка «" + PathText(Folder) + "»";
    Failure = "Ошибка базы задач, " + where + ": " + EngineReason(Db.LastError()) + ".";
  }
  return false;
}

bool TDM::FailWith(std::string text) const {
  if (!Failure) Failure = std::move(text);
  return false;
}

void TDM::ReportReadFailure() const {
  if (Failure) ShowStoreMessage(*Failure);
  Failure.reset();
}

template <class TBody> bool TDM::Write(TBody&& body) {
  if (!Opened || Access == TStoreAccess::ReadOnly) return false;
  if (Nested) return body(); // part of an outer transaction, which commits or rolls back
  Failure.reset();
  Deferred.clear();
  bool ok = Db.Exec("BEGIN IMMEDIATE") || Fail(TableCount);
  if (ok) ok = body();
  if (ok && !Db.Exec("COMMIT")) ok = Fail(TableCount);
  if (!ok) {
    if (Db.InTransaction()) (void)Db.Exec("ROLLBACK");
    Deferred.clear();
    if (Failure) ShowStoreMessage(*Failure + " Изменения не сохранены.");
    Failure.reset();
    return false;
  }
  // Shown only now: a modal message must not keep the files locked, and a save that was rolled
  // back must not be announced.
  const std::vector<std::string> messages = std::move(Deferred);
  Deferred.clear();
  for (const std::string& text : messages) ShowMessage(sAppTitle, text, TMsgIcon::Information, mbOK);
  return true;
}

bool TDM::DeleteRows(std::size_t index, int id) {
  TSqliteStmt stmt;
  if (!Db.Prepare("DELETE FROM " + Qualified(index) + " WHERE TaskId = ?1", stmt)) return Fail(index);
  stmt.BindInt(1, id);
  return stmt.Step() != TStepResult::Error || Fail(index);
}

// The field list and the value list of an INSERT ... SELECT copying rows of table index: every
// field found in the file except the row's own key, each taking the value that valueOf gives for
// its lower-case name, or its own value when valueOf gives "".
std::pair<std::string, std::string>
TDM::CopyLists(std::size_t index, const std::function<std::string(const std::string&)>& valueOf) const {
  std::string fields;
  std::string values;
  for (const std::string& column : Tables[index].Columns) {
    const std::string lower = Lower(column);
    if (lower == "id") continue;
    if (!fields.empty()) {
      fields += ", ";
      values += ", ";
    }
    fields += QuoteIdentifier(column);
    const std::string value = valueOf(lower);
    values += value.empty() ? QuoteIdentifier(column) : value;
  }
  return {fields, values};
}

// One INSERT ... SELECT over the fields found in the file, so fields this program does not know
// are copied too; the row's own key is left to the engine and TaskId becomes toId.
bool TDM::CopyRows(std::size_t index, int fromId, int toId) {
  const auto [fields, values] =
      CopyLists(index, [](const std::string& lower) -> std::string { return lower == "taskid" ? "?2" : ""; });
  TSqliteStmt stmt;
  if (!Db.Prepare("INSERT INTO " + Qualified(index) + " (" + fields + ") SELECT " + values + " FROM " +
                      Qualified(index) + " WHERE TaskId = ?1 ORDER BY rowid",
                  stmt))
    return Fail(index);
  stmt.BindInt(1, fromId);
  stmt.BindInt(2, toId);
  return stmt.Step() != TStepResult::Error || Fail(index);
}

bool TDM::DropTask(int id) {
  TSqliteStmt stmt;
  if (!Db.Prepare("DELETE FROM " + Qualified(TasksIndex) + " WHERE Id = ?1", stmt)) return Fail(TasksIndex);
  stmt.BindInt(1, id);
  if (stmt.Step() == TStepResult::Error) return Fail(TasksIndex);
  for (std::size_t i = 1; i < TableCount; ++i)
    if (!DeleteRows(i, id)) return false;
  return true;
}

int TDM::CreateTempTask() {
  if (!Opened || Access == TStoreAccess::ReadOnly) return -1;
  const bool hadTemp = TempTaskId != -1;
  if (hadTemp) ShowStoreMessage("Попытка создать подряд две временных записи");
  int newId = -1;
  const bool ok = Write([&] {
    if (hadTemp && !DropTask(TempTaskId)) return false;
    if (!Db.Exec("INSERT INTO " + Qualified(TasksIndex) + " DEFAULT VALUES")) return Fail(TasksIndex);
    newId = static_cast<int>(Db.LastInsertRowId());
    return true;
  });
  if (!ok) return -1;
  TempTaskId = newId;
  return TempTaskId;
}

bool TDM::DropTempTask() {
  if (TempTaskId == -1) return true;
  if (!Write([&] { return DropTask(TempTaskId); })) return false;
  TempTaskId = -1;
  return true;
}

bool TDM::DeleteTask(int id) {
  return Write([&] { return DropTask(id); });
}

int TDM::SaveTempTaskAs(const std::string& name, int taskType) {
  if (!Opened || Access == TStoreAccess::ReadOnly) return -1;
  if (TempTaskId == -1) {
    ShowStoreMessage("Нечего сохранять: временная запись задачи не создана.");
    return -1;
  }
  int newId = -1;
  const bool ok = Write([&] {
    const auto [fields, values] = CopyLists(TasksIndex, [](const std::string& lower) -> std::string {
      if (lower == "save") return "datetime('now', 'localtime')";
      if (lower == "tasktype") return "?2";
      if (lower == "taskname") return "?3";
      return "";
    });
    TSqliteStmt stmt;
    if (!Db.Prepare("INSERT INTO " + Qualified(TasksIndex) + " (" + fields + ") SELECT " + values + " FROM " +
                        Qualified(TasksIndex) + " WHERE Id = ?1",
                    stmt))
      return Fail(TasksIndex);
    stmt.BindInt(1, TempTaskId);
    stmt.BindInt(2, taskType);
    stmt.BindText(3, name);
    if (stmt.Step() == TStepResult::Error) return Fail(TasksIndex);
    if (Db.Changes() != 1)
      return FailWith("Временная запись задачи № " + std::to_string(TempTaskId) + " не найдена в файле «" +
                      PathText(FileOf(TasksIndex)) + "»: сохранять нечего.");
    newId = static_cast<int>(Db.LastInsertRowId());
    for (std::size_t i = 1; i < TableCount; ++i)
      if (!CopyRows(i, TempTaskId, newId)) return false;
    Deferred.push_back("Задача «" + name + "» сохранена.");
    return true;
  });
  return ok ? newId : -1;
}

bool TDM::Atomically(const std::function<bool()>& body) {
  if (Nested) return body();
  return Write([&] {
    struct TNesting {
      bool& Flag;
      explicit TNesting(bool& flag) : Flag(flag) { Flag = true; }
      ~TNesting() { Flag = false; }
    } nesting(Nested);
    return body();
  });
}

bool TDM::ClearTempRows(TDetailTable table) { return DeleteRowsOfTask(table, TempTaskId); }

bool TDM::DeleteRowsOfTask(TDetailTable table, int id) {
  return Write([&] { return DeleteRows(IndexOf(table), id); });
}

bool TDM::CopyRowsOfTask(TDetailTable table, int fromId, int toId) {
  return Write([&] { return CopyRows(IndexOf(table), fromId, toId); });
}

bool TDM::SetTaskSizes(int id, std::optional<int> sx, std::optional<int> sy, std::optional<int> max) {
  return Write([&] {
    TSqliteStmt stmt;
    if (!Db.Prepare("UPDATE " + Qualified(TasksIndex) + " SET Sx = ?2, Sy = ?3, \"Max\" = ?4 WHERE Id = ?1", stmt))
      return Fail(TasksIndex);
    stmt.BindInt(1, id);
    stmt.BindOptional(2, sx);
    stmt.BindOptional(3, sy);
    stmt.BindOptional(4, max);
    if (stmt.Step() == TStepResult::Error) return Fail(TasksIndex);
    if (Db.Changes() != 1)
      return FailWith("Запись задачи № " + std::to_string(id) + " не найдена в файле «" + PathText(FileOf(TasksIndex)) +
                      "».");
    return true;
  });
}

namespace {

TTaskRow ReadTask(const TSqliteStmt& stmt) {
  return {stmt.ColumnInt(0),     stmt.ColumnInteger(1), stmt.ColumnText(2),   stmt.ColumnText(3),
          stmt.ColumnInteger(4), stmt.ColumnInteger(5), stmt.ColumnInteger(6)};
}

} // namespace

std::optional<TTaskRow> TDM::FindTask(int id) const {
  if (!Opened) return std::nullopt;
  Failure.reset();
  TSqliteStmt stmt;
  if (Db.Prepare("SELECT " + TaskFields + " FROM " + Qualified(TasksIndex) + " WHERE Id = ?1", stmt)) {
    stmt.BindInt(1, id);
    switch (stmt.Step()) {
    case TStepResult::Row: return ReadTask(stmt);
    case TStepResult::Done: return std::nullopt;
    case TStepResult::Error: break;
    }
  }
  Fail(TasksIndex);
  ReportReadFailure();
  return std::nullopt;
}

std::optional<std::vector<TTaskRow>> TDM::ListTasks(int taskType) const {
  if (!Opened) return std::nullopt;
  Failure.reset();
  TSqliteStmt stmt;
  std::string sql = "SELECT " + TaskFields + " FROM " + Qualified(TasksIndex);
  if (taskType != 0) sql += " WHERE TaskType = ?1";
  if (Db.Prepare(sql + " ORDER BY Id", stmt)) {
    if (taskType != 0) stmt.BindInt(1, taskType);
    std::vector<TTaskRow> rows;
    TStepResult step;
    while ((step = stmt.Step()) == TStepResult::Row) rows.push_back(ReadTask(stmt));
    if (step == TStepResult::Done) return rows;
  }
  Fail(TasksIndex);
  ReportReadFailure();
  return std::nullopt;
}

template <class TRow, class TBindRow>
bool TDM::Insert(std::size_t index, const std::string& fields, int taskId, const std::vector<TRow>& rows,
                 TBindRow bindRow) {
  if (taskId < 1) return false;
  return Write([&] {
    const auto count = std::count(fields.begin(), fields.end(), ',') + 1;
    std::string params = "?1";
    for (int i = 2; i <= count + 1; ++i) params += ", ?" + std::to_string(i);
    TSqliteStmt stmt;
    if (!Db.Prepare("INSERT INTO " + Qualified(index) + " (TaskId, " + fields + ") VALUES (" + params + ")", stmt))
      return Fail(index);
    stmt.BindInt(1, taskId);
    for (const TRow& row : rows) {
      bindRow(stmt, row);
      if (stmt.Step() == TStepResult::Error) return Fail(index);
      stmt.Reset();
    }
    return true;
  });
}

bool TDM::InsertRows(int taskId, const std::vector<TSimplex1Row>& rows) {
  return Insert(IndexOf(TDetailTable::Simplex1), "X, Y, V", taskId, rows,
                [](TSqliteStmt& stmt, const TSimplex1Row& row) {
                  stmt.BindInt(2, row.X);
                  stmt.BindInt(3, row.Y);
                  stmt.BindText(4, row.V);
                });
}

bool TDM::InsertRows(int taskId, const std::vector<TSimplex2Row>& rows) {
  return Insert(IndexOf(TDetailTable::Simplex2), "Y, Sign", taskId, rows,
                [](TSqliteStmt& stmt, const TSimplex2Row& row) {
                  stmt.BindInt(2, row.Y);
                  stmt.BindInt(3, row.Sign);
                });
}

bool TDM::InsertRows(int taskId, const std::vector<TGomoryRow>& rows) {
  return Insert(IndexOf(TDetailTable::Gomory), "Y, Val", taskId, rows, [](TSqliteStmt& stmt, const TGomoryRow& row) {
    stmt.BindInt(2, row.Y);
    stmt.BindInt(3, row.Val);
  });
}

bool TDM::InsertRows(int taskId, const std::vector<TQuadroRow>& rows) {
  return Insert(IndexOf(TDetailTable::Quadro), "X, Y, Val", taskId, rows, [](TSqliteStmt& stmt, const TQuadroRow& row) {
    stmt.BindInt(2, row.X);
    stmt.BindInt(3, row.Y);
    stmt.BindText(4, row.Val);
  });
}

template <class TRow, class TReadRow>
std::optional<std::vector<TRow>> TDM::Scan(std::size_t index, const std::string& fields, int taskId,
                                           TReadRow readRow) const {
  if (!Opened) return std::nullopt;
  Failure.reset();
  TSqliteStmt stmt;
  if (Db.Prepare("SELECT " + fields + " FROM " + Qualified(index) + " WHERE TaskId = ?1 ORDER BY rowid", stmt)) {
    stmt.BindInt(1, taskId);
    std::vector<TRow> rows;
    TStepResult step;
    while ((step = stmt.Step()) == TStepResult::Row) rows.push_back(readRow(stmt));
    if (step == TStepResult::Done) return rows;
  }
  Fail(index);
  ReportReadFailure();
  return std::nullopt;
}

std::optional<std::vector<TSimplex1Row>> TDM::Simplex1Rows(int taskId) const {
  return Scan<TSimplex1Row>(IndexOf(TDetailTable::Simplex1), "X, Y, V", taskId, [](const TSqliteStmt& s) {
    return TSimplex1Row{s.ColumnInteger(0), s.ColumnInteger(1), s.ColumnText(2)};
  });
}

std::optional<std::vector<TSimplex2Row>> TDM::Simplex2Rows(int taskId) const {
  return Scan<TSimplex2Row>(IndexOf(TDetailTable::Simplex2), "Y, Sign", taskId, [](const TSqliteStmt& s) {
    return TSimplex2Row{s.ColumnInteger(0), s.ColumnInteger(1)};
  });
}

std::optional<std::vector<TGomoryRow>> TDM::GomoryRows(int taskId) const {
  return Scan<TGomoryRow>(IndexOf(TDetailTable::Gomory), "Y, Val", taskId, [](const TSqliteStmt& s) {
    return TGomoryRow{s.ColumnInteger(0), s.ColumnInteger(1)};
  });
}

std::optional<std::vector<TQuadroRow>> TDM::QuadroRows(int taskId) const {
  return Scan<TQuadroRow>(IndexOf(TDetailTable::Quadro), "X, Y, Val", taskId, [](const TSqliteStmt& s) {
    return TQuadroRow{s.ColumnInteger(0), s.ColumnInteger(1), s.ColumnText(2)};
  });
}
