// Page sections the linear programming steps write, and a whole linear task run without windows.
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

// A linear program statement as the input step holds it: the text of every edit box.
// Cell (x, y), x = 0..n, y = 0..m: (0,0) the free term, (x,0) objective coefficients, (0,y) the
// right-hand sides, (x,y) constraint coefficients. Signs are ordinals of TZLPCore_InequalitySign.
struct TLinearStatementText {
  std::int32_t VarCount = 1;
  std::int32_t ConstraintCount = 1;
  bool IsMax = true;
  std::vector<std::string> Cells = std::vector<std::string>(4, "0");
  std::vector<std::uint8_t> Signs = std::vector<std::uint8_t>(1, IS_BELOWOREQUAL);

  void Resize(std::int32_t n, std::int32_t m); // all cells "0", all signs "<="
  [[nodiscard]] std::string& Cell(std::int32_t x, std::int32_t y);
  [[nodiscard]] const std::string& Cell(std::int32_t x, std::int32_t y) const;
  // The statement of a model, every number in its text form.
  [[nodiscard]] static TLinearStatementText FromModel(const TZLPCore_SubInterface_ZLP& zlp);
};

// Reads the statement into the model exactly as the input step reads its edit boxes (variables
// X1..Xn); a malformed number shows the input message and gives false.
[[nodiscard]] bool ReadLinearStatement(const TLinearStatementText& text, TZLPCore_SubInterface_ZLP& zlp);

// How a linear task run ended.
enum class TLinearVerdict : std::uint8_t { Optimal, Unbounded, Infeasible, Cycling, Overflow, NotCanonical };

// Runs the linear task as the wizard does when the student presses "Решить" and then "Далее" to the
// end: input, canonical form, simplex and result steps. The final report gets the task name as title
// and the four step sections in order, exactly as the wizard hands it to the main window.
TLinearVerdict RunLinearTask(const TZLPCore_SubInterface_ZLP& statement, TZLPCore_SolutionResult& finalReport);
