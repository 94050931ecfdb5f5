// Page sections the linear programming steps write, and the units of their step kinds.
#pragma once

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <cstdint>
#include <string>
#include <vector>

// System colours a page is drawn in, as 0xRRGGBB.
struct TPageColors {
  std::uint32_t ButtonText = 0x000000;
  std::uint32_t ButtonFace = 0xF0F0F0;
  std::uint32_t WindowText = 0x000000;
  std::uint32_t Window = 0xFFFFFF;
};

// Style rules of a step page, and of the result page whose table cells lie on the window colour.
[[nodiscard]] std::string UsualPageStyle(const TPageColors& colors);
[[nodiscard]] std::string ResultPageStyle(const TPageColors& colors);

// Each channel changed by percent (a zero channel counts as 4 when brightening), rounded half to
// even and clamped to 0..255.
[[nodiscard]] std::uint32_t ShadeColor(std::uint32_t rgb, int percent);
// Colour of line k (0-based) of a gradient of lineCount lines from c1 towards c2.
[[nodiscard]] std::uint32_t GradientLineColor(std::uint32_t c1, std::uint32_t c2, int lineCount, int k);

// "Задача на максимизацию модели с 3 переменными и 2 ограничениями."
[[nodiscard]] std::string InputDescription(bool isMax, int varCount, int constraintCount);

// The input step's section: heading, the model as a formula.
void WriteInputSection(const TZLPCore_SubInterface_ZLP& zlp, const std::string& caption,
                       TZLPCore_SolutionResult& report);
// The model display page; false (with the missing-field warning) when there is no linear program.
bool WriteModelPage(const TZLPCore_Interface& data, const std::string& caption, const std::string& hint,
                    TZLPCore_SolutionResult& report);
// The canonical form page: brings the container's program to canonical form and explains it;
// false (with the missing-field warning) when there is no linear program.
bool WriteCanonicalPage(TZLPCore_Interface& data, const std::string& caption, TZLPCore_SolutionResult& report);

// ---- the units of the linear programming step kinds (see TStageUnit) ----

class TSimplexMethod;
struct TStageInfo;
struct TTaskInfo;

// Type 8: the statement's linear program (the objective row 0 and the constraints).
[[nodiscard]] bool ReadLinearStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error);

// Kind 1, the input step: the section with the model as the student stated it.
bool InputUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
               const TTaskInfo& task);
// Kind 9, the model display page.
bool ModelUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
               const TTaskInfo& task);
// Kind 8, the canonical form page.
bool CanonicalUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                   const TTaskInfo& task);
// Kind 10 without a window: builds the first table and solves it as "Решить" and "Далее" do, up to
// the end of the method, then writes the section and the verdict.
// The choices of the student and of the task type that the simplex method of a run follows.
void ConfigureSimplex(TSimplexMethod& method, const TZLPCore_Interface& data, const TTaskInfo& task);
bool SimplexUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                 const TTaskInfo& task);
// Kind 12: the conclusion of the task type, then the paragraph "Ответ: ...".
bool ResultUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                const TTaskInfo& task);

// Builds the first simplex table of the container's canonical program and makes it ready for the
// method (the integer variables handed on); false with the message of the windows otherwise.
[[nodiscard]] bool PrepareSimplexTable(TZLPCore_Interface& data);
// The simplex step's section once the method has ended, and the verdict it reached: the values
// of X1 ... Xn (n of the statement) and the objective in the direction the student asked for.
void FinishSimplex(TSimplexMethod& method, TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                   const TTaskInfo& task);
// The section "Двойственная задача" after the simplex section, for the task types whose row asks
// for it; for linear programs and cutting stock at an optimum the dual estimates and the ranges
// also go into the verdict.
void AddDualSection(const TSimplexMethod& method, TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                    const TTaskInfo& task);

// Multiplies every constraint row of zlp whose non-zero coefficients all belong to variables in
// integerVars by the least common multiple of the denominators of its numbers (right-hand side
// included), so that the variable the canonical form adds to it is an integer too, and says so in
// one paragraph of report. Nothing when there are no integer variables, when the model already
// carries its own basis (it gets no added variables), or for a row whose multiple would not fit.
void ScaleIntegerRows(TZLPCore_SubInterface_ZLP& zlp, const std::vector<std::string>& integerVars,
                      TZLPCore_SolutionResult& report);
