// Shared fixtures of the store tests: a temporary data folder, statements of every layout, raw
// access.
#pragma once

#include "DataMod.h"
#include "MessageRecorder.h"
#include "SqliteDb.h"
#include "TaskCatalog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace storetest {

inline const std::vector<std::string> AllFiles = {"Tasks.db", "Simplex1.db", "Simplex2.db", "Gomory.db", "Quadro.db"};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempDir {
public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvano-store-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    Path = pattern;
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::permissions(Path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(Path, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  std::filesystem::path Path;
};

// One problem statement as an input step writes it.
struct TStatement {
  std::string Label;
  int TaskType = 0;
  std::optional<int> Sx, Sy, Max;
  std::vector<TSimplex1Row> Simplex1;
  std::vector<TSimplex2Row> Simplex2;
  std::vector<TGomoryRow> Gomory;
  std::vector<TQuadroRow> Quadro;
};

inline std::string Sample(int k) {
  static const std::vector<std::string> texts = {"5", "-4/3", "0", "1/2", "-7", "12/5", "007", "3"};
  return texts[static_cast<std::size_t>(k) % texts.size()];
}

// A linear program with n variables and m constraints; rows from firstRow (-1 for the
// linear-fractional layout) to m.
inline TStatement LinearProgram(std::string label, int type, int n, int m, int firstRow, int max) {
  TStatement s{std::move(label), type, n, m, max, {}, {}, {}, {}};
  int k = 0;
  for (int y = firstRow; y <= m; ++y)
    for (int x = 0; x <= n; ++x) s.Simplex1.push_back({x, y, Sample(k++)});
  for (int y = 1; y <= m; ++y) s.Simplex2.push_back({y, y % 5});
  return s;
}

// One statement of every layout.
inline std::vector<TStatement> EveryLayout() {
  std::vector<TStatement> all;
  all.push_back(LinearProgram("linear", 8, 3, 2, 0, 1));
  TStatement integer = LinearProgram("integer", 24, 2, 2, 0, 0);
  integer.Gomory = {{1, 1}, {2, 0}};
  all.push_back(integer);
  TStatement quadratic = LinearProgram("quadratic", 40, 2, 1, 0, 0);
  quadratic.Quadro = {{1, 1, "2"}, {2, 1, "-1/2"}, {1, 2, "-1/2"}, {2, 2, "3,5"}};
  all.push_back(quadratic);
  all.push_back(LinearProgram("fractional", 56, 2, 2, -1, 1));
  TStatement cutting{"cutting", 72, 3, 2, 100, {}, {}, {}, {}};
  for (int y = 1; y <= 2; ++y)
    for (int x = 0; x <= 3; ++x) cutting.Simplex1.push_back({x, y, std::to_string(x * y + 1)});
  all.push_back(cutting);
  TStatement assignment{"assignment", 88, 3, std::nullopt, 0, {}, {}, {}, {}};
  for (int y = 1; y <= 3; ++y)
    for (int x = 1; x <= 3; ++x) assignment.Simplex1.push_back({x, y, std::to_string(10 * y + x)});
  all.push_back(assignment);
  TStatement regression{"regression", 104, 3, std::nullopt, std::nullopt, {}, {}, {}, {}};
  regression.Simplex1 = {{0, 1, "1.5"}, {1, 1, "-2,25"}, {0, 2, "1e3"}, {1, 2, " 7 "}, {0, 3, "0.10"}, {1, 3, "-0"}};
  all.push_back(regression);
  return all;
}

// Writes the statement under task id as an input step does.
inline void WriteStatement(TDM& dm, int id, const TStatement& s) {
  ASSERT_TRUE(dm.SetTaskSizes(id, s.Sx, s.Sy, s.Max));
  if (!s.Simplex1.empty()) {
    ASSERT_TRUE(dm.InsertRows(id, s.Simplex1));
  }
  if (!s.Simplex2.empty()) {
    ASSERT_TRUE(dm.InsertRows(id, s.Simplex2));
  }
  if (!s.Gomory.empty()) {
    ASSERT_TRUE(dm.InsertRows(id, s.Gomory));
  }
  if (!s.Quadro.empty()) {
    ASSERT_TRUE(dm.InsertRows(id, s.Quadro));
  }
}

// The statement as read back from the store.
inline TStatement ReadStatement(const TDM& dm, int id) {
  TStatement s;
  const auto task = dm.FindTask(id);
  if (!task) {
    ADD_FAILURE() << "no task " << id;
    return s;
  }
  s.TaskType = task->TaskType;
  s.Sx = task->Sx;
  s.Sy = task->Sy;
  s.Max = task->Max;
  s.Simplex1 = dm.Simplex1Rows(id).value_or(std::vector<TSimplex1Row>{});
  s.Simplex2 = dm.Simplex2Rows(id).value_or(std::vector<TSimplex2Row>{});
  s.Gomory = dm.GomoryRows(id).value_or(std::vector<TGomoryRow>{});
  s.Quadro = dm.QuadroRows(id).value_or(std::vector<TQuadroRow>{});
  return s;
}

// Runs SQL on one table file through a connection of its own, as another program would.
inline bool ExecRaw(const std::filesystem::path& file, const std::string& sql) {
  TSqliteDb db;
  if (!db.Open(file)) return false;
  const bool ok = db.Exec(sql);
  if (!ok) ADD_FAILURE() << sql << ": " << db.LastError().Text;
  return ok;
}

// Every row of every table of a file, as text, in stored order: a fingerprint of its content.
inline std::string DumpFile(const std::filesystem::path& file) {
  TSqliteDb db;
  if (!db.Open(file)) return "<cannot open>";
  std::string dump;
  TSqliteStmt tables;
  if (!db.Prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", tables))
    return "<no schema: " + db.LastError().Text + ">";
  std::vector<std::string> names;
  while (tables.Step() == TStepResult::Row) names.push_back(tables.ColumnText(0));
  for (const std::string& name : names) {
    dump += "[" + name + "]\n";
    TSqliteStmt rows;
    if (!db.Prepare("SELECT * FROM " + QuoteIdentifier(name), rows)) return "<bad table>";
    const int columns = rows.ColumnCount();
    while (rows.Step() == TStepResult::Row) {
      for (int c = 0; c < columns; ++c) dump += rows.ColumnText(c) + "|";
      dump += "\n";
    }
  }
  return dump;
}

inline std::string DumpFolder(const std::filesystem::path& folder) {
  std::string dump;
  for (const std::string& file : AllFiles) dump += "== " + file + "\n" + DumpFile(folder / file);
  return dump;
}

inline std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The one message a successful save shows.
inline std::vector<std::string> SavedMessage(const std::string& name) { return {"Задача «" + name + "» сохранена."}; }

inline std::vector<std::string> Texts(const TMessageRecorder& recorder) {
  std::vector<std::string> texts;
  for (const auto& m : recorder.Messages) texts.push_back(m.Text);
  return texts;
}

} // namespace storetest
