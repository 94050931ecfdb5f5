// What the wizard and the windows need of the problem store, without knowing how it is kept.
#pragma once

#include "Statement.h"

#include <cstdint>
#include <optional>
#include <string>

// The store seen from a solution: one temporary record for the statement being worked on, saving
// it under a name, and reading stored statements. Failures are shown by the store itself.
class TProblemStore {
public:
  virtual ~TProblemStore() = default;

  // Makes a new temporary record (dropping one left over); -1 when the store cannot.
  virtual int CreateTempTask() = 0;
  // Drops the temporary record with its statement; nothing when there is none.
  virtual void DropTempTask() = 0;
  [[nodiscard]] virtual int TempTaskId() const = 0;
  // Writes the statement under the temporary record, replacing what it held; false when refused.
  virtual bool StoreTempStatement(const TStatementGrid& grid) = 0;
  // Copies the temporary record into a new stored problem; its id, or -1 when refused.
  virtual int SaveTempTaskAs(const std::string& name, std::uint8_t taskType) = 0;
  // The statement of a stored problem; empty with the reason in error when it cannot be read.
  [[nodiscard]] virtual std::optional<TStatementGrid> LoadStatement(int id, std::string& error) const = 0;
  // The name a problem was stored under; "" for a problem without one or none at all.
  [[nodiscard]] virtual std::string ProblemName(int /*id*/) const { return {}; }
};
