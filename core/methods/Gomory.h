// Integer programs: the integer variables of a statement, the scaling of all-integer constraint rows in
// the canonical form, the sentences of the Gomory cuts and the verdict of a method that made cuts.
#pragma once

#include "GomoryCut.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;
class TZLPCore_SubInterface_ZLP;
struct TStageInfo;
struct TTaskInfo;
struct TStatementError;
struct TStatementGrid;
struct TTaskVerdict;

// ---- the task type ----

// Type 24: the linear program, and the ticked variables as IntegerVars (IF_INTEGERVARS).
[[nodiscard]] bool ReadIntegerStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error);
// Kind 11, the choice of the integer variables: IntegerVars from the statement's ticks, and the
// section that names them; false (with the missing-field warning) without a linear program.
bool GomorySelectUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                      const TTaskInfo& task);

class TSimplexMethod;
// The verdict of a method that made cuts: inconsistent after a cut means no integer solution; the
// cut limit is a stop. An unbounded relaxation of an integer program is unbounded only when the
// program has an integer point: without one the verdict says there is no integer solution, and the
// report gets a paragraph on which it is.
void ConcludeGomory(const TSimplexMethod& method, const TZLPCore_Interface& data, TTaskVerdict& verdict,
                    TZLPCore_SolutionResult& report);
