// The one task runner: a whole task without windows, through the same units the wizard's steps use.
#pragma once

#include "Verdict.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <cstdint>

// Runs the task as the wizard does when the student presses "Решить" on the simplex step and
// "Далее" up to "Готово" (or as the type's own window does when it solves): the final report gets
// the task name as its title and every step's section in order, exactly as the wizard hands it to
// the main window, and ends with the paragraph "Ответ: ...". data holds the statement read by
// ReadStatement. A step that cannot go on ends the report there, with its verdict.
TTaskVerdict RunTask(std::uint8_t taskType, TZLPCore_Interface& data, TZLPCore_SolutionResult& finalReport);
