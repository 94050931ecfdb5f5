// Writing and reading linear program statements in the layout of the input step.
#include "LinearStatement.h"

#include <algorithm>

bool StoreLinearStatement(TDM& dm, int taskId, const TZLPCore_SubInterface_ZLP& zlp) {
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  const TLinearStatementText text = TLinearStatementText::FromModel(zlp);
  std::vector<TSimplex1Row> cells;
  cells.reserve(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(m + 1));
  for (std::int32_t y = 0; y <= m; ++y)
    for (std::int32_t x = 0; x <= n; ++x) cells.push_back({x, y, text.Cell(x, y)});
  std::vector<TSimplex2Row> signs;
  for (std::int32_t i = 1; i <= m; ++i) signs.push_back({i, zlp.GetSign(i)});

  return dm.Atomically([&] {
    return dm.DeleteRowsOfTask(TDetailTable::Simplex1, taskId) && dm.DeleteRowsOfTask(TDetailTable::Simplex2, taskId) &&
           dm.SetTaskSizes(taskId, n, m, zlp.IsMax ? 1 : 0) && dm.InsertRows(taskId, cells) &&
           dm.InsertRows(taskId, signs);
  });
}

std::optional<TLinearStatementText> LoadLinearStatement(const TDM& dm, int taskId) {
  const std::optional<TTaskRow> task = dm.FindTask(taskId);
  if (!task) return std::nullopt;
  const auto cells = dm.Simplex1Rows(taskId);
  const auto signs = dm.Simplex2Rows(taskId);
  if (!cells || !signs) return std::nullopt;

  TLinearStatementText text;
  text.Resize(std::clamp(task->Sx, 1, 255), std::clamp(task->Sy, 1, 255));
  text.IsMax = task->Max != 0;
  for (const TSimplex1Row& row : *cells)
    if (row.X >= 0 && row.X <= text.VarCount && row.Y >= 0 && row.Y <= text.ConstraintCount)
      text.Cell(row.X, row.Y) = row.V;
  for (const TSimplex2Row& row : *signs)
    if (row.Y >= 1 && row.Y <= text.ConstraintCount)
      text.Signs[static_cast<std::size_t>(row.Y - 1)] = static_cast<std::uint8_t>(row.Sign);
  return text;
}

int FindTaskByName(const TDM& dm, const std::string& name, int taskType) {
  const auto tasks = dm.ListTasks(taskType);
  if (!tasks) return -1;
  const auto it = std::find_if(tasks->begin(), tasks->end(), [&](const TTaskRow& t) { return t.TaskName == name; });
  return it == tasks->end() ? -1 : it->Id;
}
