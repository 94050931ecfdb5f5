// Problem statements in the store: one writer and one reader for the layout of every task type.
#pragma once

#include "DataMod.h"
#include "ProblemStore.h"
#include "Statement.h"

#include <optional>
#include <string>

// Replaces the detail rows of task id by the statement (Simplex1 cells, and the relations, integer
// ticks and quadratic coefficients where the type has them) and sets its sizes and Max, in one
// transaction. A cutting-stock amount of material that is not a whole number is kept exactly as
// typed in the otherwise unused cell (0, 0), Max holding its whole part. False (and nothing
// changed) when the store refused.
[[nodiscard]] bool StoreStatement(TDM& dm, int taskId, const TStatementGrid& grid);

// The statement of task id as its input step or window reads it. The type is the stored one, or
// typeOfTemporary for the temporary record, which has none. A statement that does not match its
// layout (a type or size out of range, a cell or relation missing, twice or outside, a relation
// code or tick the program never writes, a whole number that is not one) is not read: error then
// names the task, the table, the cell and what is wrong.
[[nodiscard]] std::optional<TStatementGrid> LoadStatement(const TDM& dm, int taskId, std::string& error,
                                                          std::uint8_t typeOfTemporary = TT_NONE);

// The message for a statement loaded from task id that its reader (ReadStatement) refused: the
// task, the table and the cell of the bad field with the text stored there, and what is wrong.
[[nodiscard]] std::string StoredStatementError(const TDM& dm, int taskId, const TStatementGrid& grid,
                                               const TStatementError& error);

// The problem store seen from a solution, over the data module.
class TDMProblemStore final : public TProblemStore {
public:
  explicit TDMProblemStore(TDM& dm) : DM(dm) {}

  int CreateTempTask() override { return DM.CreateTempTask(); }
  void DropTempTask() override { DM.DropTempTask(); }
  [[nodiscard]] int TempTaskId() const override { return DM.GetTempTaskId(); }
  bool StoreTempStatement(const TStatementGrid& grid) override;
  int SaveTempTaskAs(const std::string& name, std::uint8_t taskType) override {
    return DM.SaveTempTaskAs(name, taskType);
  }
  [[nodiscard]] std::optional<TStatementGrid> LoadStatement(int id, std::string& error) const override;
  [[nodiscard]] std::string ProblemName(int id) const override;

  [[nodiscard]] TDM& DataModule() const noexcept { return DM; }

private:
  TDM& DM;
};

// The id of the stored problem with this name and task type (any type for 0), or -1.
[[nodiscard]] int FindTaskByName(const TDM& dm, const std::string& name, int taskType);
