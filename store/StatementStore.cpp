// Writing and reading problem statements in the layouts of the store.
#include "StatementStore.h"

#include "TaskCatalog.h"
#include "ZLPCore_Main.h"

#include <algorithm>
#include <charconv>

namespace {

// The whole part of an amount such as "7", "15/2" or "-3"; 0 for anything else.
int WholePart(const std::string& text) {
  TRational r{0, 1};
  if (!ParseInputNumber(text, r)) return 0;
  std::int64_t whole = r.Num / r.Den;
  if (r.Num < 0 && r.Num % r.Den != 0) --whole;
  return static_cast<int>(whole);
}

bool IsWholeNumber(const std::string& text) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && end == text.data() + text.size() && std::to_string(v) == text;
}

// A stored whole number for a message.
std::string Shown(std::int64_t v) {
  return v == TSqliteStmt::NotAnInteger ? std::string("не целое число") : std::to_string(v);
}

std::string CellText(std::int64_t x, std::int64_t y) { return "ячейка (X = " + Shown(x) + ", Y = " + Shown(y) + ")"; }

std::string TaskLabel(int taskId, const std::string& name) {
  return "Задача " + std::to_string(taskId) + (name.empty() ? "" : " «" + name + "»");
}

} // namespace

bool StoreStatement(TDM& dm, int taskId, const TStatementGrid& grid) {
  std::vector<TSimplex1Row> cells;
  cells.reserve(static_cast<std::size_t>(grid.XLast() - grid.XFirst() + 1) *
                static_cast<std::size_t>(grid.YLast() - grid.YFirst() + 1));
  for (std::int32_t y = grid.YFirst(); y <= grid.YLast(); ++y)
    for (std::int32_t x = grid.XFirst(); x <= grid.XLast(); ++x) cells.push_back({x, y, grid.Cell(x, y)});
  std::vector<TSimplex2Row> signs;
  if (grid.HasSigns())
    for (std::int32_t i = 1; i <= grid.Sy; ++i) signs.push_back({i, grid.Signs[static_cast<std::size_t>(i - 1)]});
  std::vector<TGomoryRow> ticks;
  if (grid.HasTicks())
    for (std::int32_t j = 1; j <= grid.Sx; ++j) ticks.push_back({j, grid.Integer[static_cast<std::size_t>(j - 1)]});
  std::vector<TQuadroRow> quad;
  if (grid.HasQuad())
    for (std::int32_t y = 1; y <= grid.Sx; ++y)
      for (std::int32_t x = 1; x <= grid.Sx; ++x) quad.push_back({x, y, grid.Quad(x, y)});

  const TTaskInfo* info = FindTaskInfo(grid.TaskType);
  const TStoreLayout kept = info != nullptr ? info->Store : TStoreLayout{};
  std::optional<int> sy = grid.Sy;
  std::optional<int> max = grid.IsMax ? 1 : 0;
  if (!kept.KeepsSy) sy.reset();
  switch (kept.Max) {
  case TStoreLayout::TMax::Material:
    max = WholePart(grid.Material);
    if (!IsWholeNumber(grid.Material)) cells.push_back({0, 0, grid.Material});
    break;
  case TStoreLayout::TMax::None: max.reset(); break;
  case TStoreLayout::TMax::Direction: break;
  }

  return dm.Atomically([&] {
    for (TDetailTable table :
         {TDetailTable::Simplex1, TDetailTable::Simplex2, TDetailTable::Gomory, TDetailTable::Quadro})
      if (!dm.DeleteRowsOfTask(table, taskId)) return false;
    return dm.SetTaskSizes(taskId, grid.Sx, sy, max) && dm.InsertRows(taskId, cells) &&
           (signs.empty() || dm.InsertRows(taskId, signs)) && (ticks.empty() || dm.InsertRows(taskId, ticks)) &&
           (quad.empty() || dm.InsertRows(taskId, quad));
  });
}

std::optional<TStatementGrid> LoadStatement(const TDM& dm, int taskId, std::string& error,
                                            std::uint8_t typeOfTemporary) {
  const std::optional<TTaskRow> task = dm.FindTask(taskId);
  if (!task) {
    error = TaskLabel(taskId, {}) + ": такой задачи в базе нет";
    return std::nullopt;
  }
  const std::string named = TaskLabel(taskId, task->TaskName);
  const auto fail = [&error, &named](const std::string& table, const std::string& what) {
    error = named + ", таблица " + table + ": " + what;
    return std::nullopt;
  };
  // Every whole number is checked in the 64 bits it is stored in before it is narrowed.
  const bool known = task->TaskType == 0 || (task->TaskType > 0 && task->TaskType < TT_NONE &&
                                             FindTaskInfo(static_cast<std::uint8_t>(task->TaskType)) != nullptr);
  const std::uint8_t type = !known                ? static_cast<std::uint8_t>(TT_NONE)
                            : task->TaskType == 0 ? typeOfTemporary
                                                  : static_cast<std::uint8_t>(task->TaskType);
  const TTaskInfo* info = known ? FindTaskInfo(type) : nullptr;
  if (info == nullptr) return fail("Tasks.db", "неизвестный тип задачи TaskType = " + Shown(task->TaskType));
  const TStoreLayout& range = info->Store;
  if (task->Sx < range.SxMin || task->Sx > range.SxMax)
    return fail("Tasks.db", "размер Sx = " + Shown(task->Sx) + " вне допустимых пределов " +
                                std::to_string(range.SxMin) + "…" + std::to_string(range.SxMax));
  if (task->Sy < range.SyMin || task->Sy > range.SyMax)
    return fail("Tasks.db", "размер Sy = " + Shown(task->Sy) + " вне допустимых пределов " +
                                std::to_string(range.SyMin) + "…" + std::to_string(range.SyMax));
  if (range.Max == TStoreLayout::TMax::Direction && task->Max != 0 && task->Max != 1)
    return fail("Tasks.db", "направление Max = " + Shown(task->Max) + ": допустимы 0 и 1");
  if (range.Max == TStoreLayout::TMax::Material && task->Max == TSqliteStmt::NotAnInteger)
    return fail("Tasks.db", "количество материала Max не является целым числом");

  TStatementGrid grid = NewStatement(type, static_cast<std::int32_t>(task->Sx), static_cast<std::int32_t>(task->Sy));
  // A type whose Max holds the material (cutting stock) always maximises the number of sets.
  grid.IsMax = range.Max == TStoreLayout::TMax::Material || task->Max != 0;
  if (range.Max == TStoreLayout::TMax::Material) grid.Material = std::to_string(task->Max);

  const auto cells = dm.Simplex1Rows(taskId);
  const auto signs = dm.Simplex2Rows(taskId);
  const auto ticks = dm.GomoryRows(taskId);
  const auto quad = dm.QuadroRows(taskId);
  if (!cells || !signs || !ticks || !quad) {
    error = named + ": условие задачи не удалось прочитать из базы";
    return std::nullopt;
  }

  const auto inside = [&grid](std::int64_t x, std::int64_t y) {
    return x >= grid.XFirst() && x <= grid.XLast() && y >= grid.YFirst() && y <= grid.YLast();
  };
  const std::size_t width = static_cast<std::size_t>(grid.XLast() - grid.XFirst() + 1);
  std::vector<char> seen(width * static_cast<std::size_t>(grid.YLast() - grid.YFirst() + 1), 0);
  bool materialSeen = false;
  for (const TSimplex1Row& row : *cells) {
    if (range.Max == TStoreLayout::TMax::Material && row.X == 0 && row.Y == 0) {
      if (materialSeen) return fail("Simplex1.db", CellText(row.X, row.Y) + " (количество материала) записана дважды");
      materialSeen = true;
      grid.Material = row.V; // an amount that is not a whole number, as typed
      continue;
    }
    if (!inside(row.X, row.Y)) return fail("Simplex1.db", CellText(row.X, row.Y) + " вне условия задачи");
    char& mark =
        seen[static_cast<std::size_t>(row.Y - grid.YFirst()) * width + static_cast<std::size_t>(row.X - grid.XFirst())];
    if (mark != 0) return fail("Simplex1.db", CellText(row.X, row.Y) + " записана дважды");
    mark = 1;
    grid.SetCell(static_cast<std::int32_t>(row.X), static_cast<std::int32_t>(row.Y), row.V);
  }
  for (std::int32_t y = grid.YFirst(); y <= grid.YLast(); ++y)
    for (std::int32_t x = grid.XFirst(); x <= grid.XLast(); ++x)
      if (seen[static_cast<std::size_t>(y - grid.YFirst()) * width + static_cast<std::size_t>(x - grid.XFirst())] == 0)
        return fail("Simplex1.db", CellText(x, y) + " (" + CellName(grid, x, y) + ") отсутствует");

  if (grid.HasSigns()) {
    std::vector<char> signSeen(static_cast<std::size_t>(grid.Sy), 0);
    for (const TSimplex2Row& row : *signs) {
      if (row.Y < 1 || row.Y > grid.Sy)
        return fail("Simplex2.db", "знак ограничения " + Shown(row.Y) + " вне условия задачи");
      if (row.Sign != IS_BELOWOREQUAL && row.Sign != IS_EQUAL && row.Sign != IS_ABOVEOREQUAL)
        return fail("Simplex2.db", "знак ограничения " + Shown(row.Y) + " имеет неизвестный код " + Shown(row.Sign) +
                                       " (допустимы 0 «<=», 2 «=» и 4 «>=»)");
      char& mark = signSeen[static_cast<std::size_t>(row.Y - 1)];
      if (mark != 0) return fail("Simplex2.db", "знак ограничения " + Shown(row.Y) + " записан дважды");
      mark = 1;
      grid.Signs[static_cast<std::size_t>(row.Y - 1)] = static_cast<std::uint8_t>(row.Sign);
    }
    for (std::int32_t i = 1; i <= grid.Sy; ++i)
      if (signSeen[static_cast<std::size_t>(i - 1)] == 0)
        return fail("Simplex2.db", "знак ограничения " + std::to_string(i) + " отсутствует");
  }
  if (grid.HasTicks())
    for (const TGomoryRow& row : *ticks) {
      // A tick of a variable the problem does not have is left out.
      if (row.Y < 1 || row.Y > grid.Sx) continue;
      if (row.Val != 0 && row.Val != 1)
        return fail("Gomory.db", "отметка целочисленности X" + Shown(row.Y) + " имеет неизвестное значение " +
                                     Shown(row.Val) + " (допустимы 0 и 1)");
      grid.Integer[static_cast<std::size_t>(row.Y - 1)] = static_cast<std::uint8_t>(row.Val);
    }
  if (grid.HasQuad()) {
    std::vector<char> quadSeen(static_cast<std::size_t>(grid.Sx) * static_cast<std::size_t>(grid.Sx), 0);
    for (const TQuadroRow& row : *quad) {
      if (row.X < 1 || row.Y < 1 || row.X > grid.Sx || row.Y > grid.Sx)
        return fail("Quadro.db", CellText(row.X, row.Y) + " вне матрицы коэффициентов");
      char& mark = quadSeen[static_cast<std::size_t>(row.Y - 1) * static_cast<std::size_t>(grid.Sx) +
                            static_cast<std::size_t>(row.X - 1)];
      if (mark != 0) return fail("Quadro.db", CellText(row.X, row.Y) + " записана дважды");
      mark = 1;
      grid.SetQuad(static_cast<std::int32_t>(row.X), static_cast<std::int32_t>(row.Y), row.Val);
    }
    if (std::find(quadSeen.begin(), quadSeen.end(), 0) != quadSeen.end())
      return fail("Quadro.db", "в матрице коэффициентов второго порядка не хватает ячеек");
  }
  return grid;
}

std::string StoredStatementError(const TDM& dm, int taskId, const TStatementGrid& grid, const TStatementError& error) {
  const std::optional<TTaskRow> task = dm.FindTask(taskId);
  std::string text = TaskLabel(taskId, task ? task->TaskName : std::string());
  using TPlace = TStatementError::TPlace;
  switch (error.Place) {
  case TPlace::Cell:
    text += ", таблица Simplex1.db, " + CellText(error.X, error.Y) + " (" + error.Field + ") «" +
            grid.Cell(error.X, error.Y) + "»";
    break;
  case TPlace::Quad:
    text += ", таблица Quadro.db, " + CellText(error.X, error.Y) + " (" + error.Field + ") «" +
            grid.Quad(error.X, error.Y) + "»";
    break;
  case TPlace::Material:
    // A whole amount is kept in Max, any other in the cell (0, 0).
    text += IsWholeNumber(grid.Material) ? ", таблица Tasks.db, поле Max" : ", таблица Simplex1.db, " + CellText(0, 0);
    text += " (" + error.Field + ") «" + grid.Material + "»";
    break;
  case TPlace::Size: text += ", таблица Tasks.db, поля Sx и Sy (" + error.Field + ")"; break;
  case TPlace::Whole:
    if (!error.Field.empty()) text += " (" + error.Field + ")";
    break;
  }
  return text + ": " + error.Message;
}

int FindTaskByName(const TDM& dm, const std::string& name, int taskType) {
  const auto tasks = dm.ListTasks(taskType);
  if (!tasks) return -1;
  const auto it = std::find_if(tasks->begin(), tasks->end(), [&](const TTaskRow& t) { return t.TaskName == name; });
  return it == tasks->end() ? -1 : it->Id;
}

bool TDMProblemStore::StoreTempStatement(const TStatementGrid& grid) {
  const int id = DM.GetTempTaskId();
  return id != -1 && StoreStatement(DM, id, grid);
}

std::string TDMProblemStore::ProblemName(int id) const {
  const std::optional<TTaskRow> task = DM.FindTask(id);
  return task ? task->TaskName : std::string();
}

std::optional<TStatementGrid> TDMProblemStore::LoadStatement(int id, std::string& error) const {
  return ::LoadStatement(DM, id, error);
}
