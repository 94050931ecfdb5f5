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

// Multiplies every constraint row of zlp whose non-zero coefficients all belong to variables in
// integerVars by the least common multiple of the denominators of its numbers (right-hand side
// included), so that the variable the canonical form adds to it is an integer too, and says so in
// one paragraph of report. Nothing when there are no integer variables, when the model already
// carries its own basis (it gets no added variables), or for a row whose multiple would not fit.
void ScaleIntegerRows(TZLPCore_SubInterface_ZLP& zlp, const std::vector<std::string>& integerVars,
                      TZLPCore_SolutionResult& report);

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
