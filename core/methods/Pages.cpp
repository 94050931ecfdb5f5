// Page sections of the linear programming steps and the units of their step kinds.
#include "Pages.h"

#include "DualProblem.h"
#include "Gomory.h"
#include "Graphic.h"
#include "MessageSeam.h"
#include "SimplexMethod.h"
#include "TaskContract.h"
#include "Verdict.h"
#include "untStrConst.h"

#include <algorithm>
#include <cmath>

std::string UsualPageStyle(const TPageColors& colors) {
  return "BODY { color: #" + ColorToHex(colors.ButtonText) + ";background-color:#" + ColorToHex(colors.ButtonFace) +
         ";} PRE {color:#" + ColorToHex(colors.WindowText) + ";background-color:#" + ColorToHex(colors.Window) + ";}";
}

std::string ResultPageStyle(const TPageColors& colors) {
  return "TD.clsSimCell {background:#" + ColorToHex(colors.Window) + ";} " + UsualPageStyle(colors);
}

namespace {

std::uint32_t Channel(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFFu; }

std::uint32_t ClampRound(double v) {
  const double r = std::nearbyint(v); // the default rounding mode rounds halves to even
  return static_cast<std::uint32_t>(std::clamp(r, 0.0, 255.0));
}

} // namespace

std::uint32_t ShadeColor(std::uint32_t rgb, int percent) {
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    double c = Channel(rgb, shift);
    if (c == 0 && percent > 0) c = 4;
    out |= ClampRound(c + c * percent / 100.0) << shift;
  }
  return out;
}

std::uint32_t GradientLineColor(std::uint32_t c1, std::uint32_t c2, int lineCount, int k) {
  if (lineCount <= 0) return c1;
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const double from = Channel(c1, shift);
    const double step = (static_cast<double>(Channel(c2, shift)) - from) / lineCount;
    out |= ClampRound(from + step * k) << shift;
  }
  return out;
}

std::string InputDescription(bool isMax, int varCount, int constraintCount) {
  return std::string(sTaskFor) + (isMax ? sMaximization : sMinimization) + sModelWith + std::to_string(varCount) +
         sVariablesAnd + std::to_string(constraintCount) + sConstraintsDot;
}

void WriteInputSection(const TZLPCore_SubInterface_ZLP& zlp, const std::string& caption,
                       TZLPCore_SolutionResult& report) {
  report.Clear();
  report.AddHeading(caption);
  report.AddParagraph(sModelIntro);
  report.AddLine("<pre>");
  AddModel(report, &zlp);
  report.AddLine("</pre>");
}

bool WriteModelPage(const TZLPCore_Interface& data, const std::string& caption, const std::string& hint,
                    TZLPCore_SolutionResult& report) {
  report.AddHeading(caption);
  if (!data.HasFlag(IF_ZLP)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  report.AddHeading(hint);
  report.AddLine("<pre>");
  AddModel(report, &data.ZLP);
  report.AddLine("</pre>");
  return true;
}

bool WriteCanonicalPage(TZLPCore_Interface& data, const std::string& caption, TZLPCore_SolutionResult& report) {
  report.AddHeading(caption);
  if (!data.HasFlag(IF_ZLP)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  data.StatedZLP = data.ZLP;
  if (data.HasFlag(IF_INTEGERVARS)) ScaleIntegerRows(data.ZLP, data.IntegerVars, report);
  data.ZLP.ToCanonical(report);
  return true;
}

// ---- the units of the linear programming steps ----

bool ReadLinearStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error) {
  return ReadLinearProgram(grid, data, error);
}

bool InputUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
               const TTaskInfo& task) {
  WriteInputSection(data.ZLP, stage.Caption, report);
  // An integer program is drawn once its integer variables are chosen.
  if (task.PictureAfterInput) WriteGraphicSection(data, report);
  return data.HasFlag(IF_ZLP);
}

bool ModelUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage, const TTaskInfo&) {
  return WriteModelPage(data, stage.Caption, stage.Hint, report);
}

bool CanonicalUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                   const TTaskInfo&) {
  return WriteCanonicalPage(data, stage.Caption, report);
}

bool PrepareSimplexTable(TZLPCore_Interface& data) {
  if (!data.HasFlag(IF_ZLP)) {
    ReportMissingField();
    return false;
  }
  if (!data.ZLP.BuildTable(&data.Table)) {
    ShowMessage(sError, sNotCanonical, TMsgIcon::Error);
    return false;
  }
  if (data.HasFlag(IF_INTEGERVARS)) data.Table.IntegerVars = data.IntegerVars;
  data.Table.SetComplementary(data.Complementary);
  data.SetFlag(IF_TABLE);
  return true;
}

void FinishSimplex(TSimplexMethod& method, TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                   const TTaskInfo& task) {
  method.WriteReport(data, report);
  TTaskVerdict& verdict = data.Verdict;
  verdict.IsMax = data.Statement.IsMax;
  verdict.Objective.reset();
  verdict.X.clear();
  if (method.Stop == TSimplexStop::Cycling) {
    verdict.Status = TTaskStatus::Cycling;
  } else if (method.Stop == TSimplexStop::Overflow) {
    verdict.Status = TTaskStatus::Overflow;
  } else if (data.Table.State == SS_OPTIMAL) {
    verdict.Status = TTaskStatus::Optimal;
    // The table maximises; a minimum was turned into the maximum of the negated objective.
    TRational z = data.Table.GetZValue();
    if (!verdict.IsMax) RatScale(z, -1);
    verdict.Objective = z;
    for (std::int32_t j = 1; j <= data.Statement.Sx; ++j)
      verdict.X.push_back(data.Table.ValueOf("X" + std::to_string(j)));
  } else if (data.Table.State == SS_NOSOLUTION) {
    verdict.Status = TTaskStatus::Unbounded;
  } else {
    verdict.Status = TTaskStatus::Infeasible;
  }
  verdict.Message = StatusSentence(verdict.Status);
  if (task.ConcludeSimplex != nullptr) task.ConcludeSimplex(method, data, verdict, report);
  AddDualSection(method, data, report, task);
}

void AddDualSection(const TSimplexMethod& method, TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                    const TTaskInfo& task) {
  TTaskVerdict& verdict = data.Verdict;
  verdict.Dual.clear();
  verdict.RangesB.clear();
  verdict.RangesC.clear();
  if (task.Dual == TDualReport::None || data.StatedZLP.VarCount() == 0) return;
  // An integer program: the last table is the relaxation's only while no cut was made, and then its
  // optimum is the integer one.
  const bool relaxation = method.CutCounter == 1 && method.Stop == TSimplexStop::None;
  if (task.Dual == TDualReport::WhileRelaxation && !(relaxation && verdict.Status == TTaskStatus::Optimal)) return;
  if (verdict.Status != TTaskStatus::Optimal && verdict.Status != TTaskStatus::Unbounded &&
      verdict.Status != TTaskStatus::Infeasible)
    return;
  const TDualAnalysis analysis = AnalyzeDual(data.StatedZLP, data.ZLP, data.Table);
  WriteDualSection(data.StatedZLP, verdict.Status, analysis, report, task.Dual == TDualReport::WhileRelaxation);
  if (verdict.Status == TTaskStatus::Optimal && analysis.Outcome == TDualOutcome::Optimal &&
      task.Dual == TDualReport::WithAnswer) {
    verdict.Dual = analysis.Y;
    verdict.RangesB = analysis.RangesB;
    verdict.RangesC = analysis.RangesC;
  }
}

bool SimplexUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo&, const TTaskInfo& task) {
  if (!PrepareSimplexTable(data)) return false;
  if (task.ReplaceSimplex != nullptr && task.ReplaceSimplex(data, report, task)) return true;
  TSimplexMethod method(data.Table);
  method.Start();
  while (!method.Finished()) {
    method.Solve();
    method.Step();
  }
  FinishSimplex(method, data, report, task);
  return true;
}

bool ResultUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo&, const TTaskInfo& task) {
  report.Clear();
  if (task.Conclude != nullptr) task.Conclude(data, report);
  AddAnswer(report, data.Verdict);
  return true;
}
