// The task catalog: one row per task type and one per step kind. The wizard, the main window, the
// load dialog, the store, the task runner and kelvano-solve all read these tables, and everything
// that depends on the type of a task is found here: adding a task type is adding its row and the
// units the row names.
#pragma once

#include "TaskContract.h"
#include "TextFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Every task type in the main window's order.
[[nodiscard]] const std::vector<TTaskInfo>& TaskCatalog();
// The row of a task type; null for a code without one (255 included).
[[nodiscard]] const TTaskInfo* FindTaskInfo(std::uint8_t code);
// The row of the type whose own window the action opens; null for the other actions.
[[nodiscard]] const TTaskInfo* FindTaskOfWindowAction(std::uint8_t action);
// The row of a step kind 1 ... StageKindCount; null otherwise.
[[nodiscard]] const TStageInfo* FindStageInfo(std::uint8_t kind);

// An empty statement of a type in its layout (see TStatementGrid); a code without a row gets the
// layout of a linear program.
[[nodiscard]] TStatementGrid NewStatement(std::uint8_t taskType, std::int32_t sx, std::int32_t sy);
// Gives a statement another type (its layout) and sizes, keeping the texts where they still fit.
void ResizeStatement(TStatementGrid& grid, std::uint8_t taskType, std::int32_t sx, std::int32_t sy);

// Reads a statement into the container exactly as the input steps read their boxes: the statement
// is kept in data.Statement, the program and its extra parts go where the steps put them
// (variables X1 ... Xn), and the readiness flags are set; what the statement does not speak of is
// left as it was. False with the first bad field in error; no message is shown, the caller
// decides how to tell.
[[nodiscard]] bool ReadStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error);

// A problem in its text form (TextFormat.h): the first word of the text names the form.
[[nodiscard]] std::optional<TStatementGrid> ParseStatementText(const std::string& text, TTextFormatError& error);
// The statement in the text form of its type, read back by ParseStatementText into the same statement.
[[nodiscard]] std::string StatementToText(const TStatementGrid& grid);
