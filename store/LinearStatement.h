// Linear program statements in the store: the rows the input step writes and reads (types 8, 24, 40).
#pragma once

#include "DataMod.h"
#include "ZLPCore_Pages.h"

#include <optional>
#include <string>

// Replaces the Simplex1 and Simplex2 rows of task id by the statement of the model and sets its sizes
// and direction, in one transaction. False (and nothing changed) when the store refused.
[[nodiscard]] bool StoreLinearStatement(TDM& dm, int taskId, const TZLPCore_SubInterface_ZLP& zlp);

// The statement of task id as the input step fills its edit boxes: n = Sx and m = Sy (kept within
// 1..255), every stored number at its place, the other boxes "0". Empty when there is no such task.
[[nodiscard]] std::optional<TLinearStatementText> LoadLinearStatement(const TDM& dm, int taskId);

// The id of the stored problem with this name and task type, or -1.
[[nodiscard]] int FindTaskByName(const TDM& dm, const std::string& name, int taskType);
