// Task names and the step sequence the wizard runs for each task type, read from the catalog.
#pragma once

#include "TaskCodes.h"

#include <cstdint>
#include <string>

[[nodiscard]] std::string GetTaskName(std::uint8_t taskType);
// The number of steps of a wizard type (4 for 8; 5 for 24 and 72; 6 for 40 and 56); 0 otherwise.
[[nodiscard]] int GetTaskStageCount(std::uint8_t taskType);
// Fills the sequence of step kinds; false (sequence untouched) for a type without wizard.
bool BuildStageTasks(std::uint8_t taskType, TZLPCore_StageTasks& tasks);
