// Integer programs: integer columns, fractional and mixed Gomory cuts, the scaling of all-integer rows,
// the units of the task type and its verdict.
#include "Gomory.h"

#include "BranchBound.h"
#include "Graphic.h"
#include "SimplexMethod.h"
#include "TaskContract.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "untStrConst.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

std::string Sub(const std::string& name) { return IndexToSub(name); }

} // namespace

// ---- the task type ----

bool ReadIntegerStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error) {
  if (!ReadLinearProgram(grid, data, error)) return false;
  data.IntegerVars.clear();
  for (std::int32_t j = 1; j <= grid.Sx; ++j)
    if (static_cast<std::size_t>(j) <= grid.Integer.size() && grid.Integer[static_cast<std::size_t>(j - 1)] != 0)
      data.IntegerVars.push_back(data.ZLP.GetVarName(j));
  data.SetFlag(IF_INTEGERVARS);
  return true;
}

bool GomorySelectUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                      const TTaskInfo&) {
  report.Clear();
  report.AddHeading(stage.Caption);
  if (!data.HasFlag(IF_ZLP)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  const TStatementGrid& s = data.Statement;
  if (s.HasTicks()) {
    data.IntegerVars.clear();
    for (std::int32_t j = 1; j <= std::min(s.Sx, data.ZLP.VarCount()); ++j)
      if (s.Integer[static_cast<std::size_t>(j - 1)] != 0) data.IntegerVars.push_back(data.ZLP.GetVarName(j));
  }
  data.SetFlag(IF_INTEGERVARS);
  if (data.IntegerVars.empty()) {
    report.AddParagraph("Ни одна переменная не отмечена как целочисленная, поэтому задача решается как обычная "
                        "задача линейного программирования.");
    WriteGraphicSection(data, report);
    return true;
  }
  std::string names;
  for (const std::string& name : data.IntegerVars) names += (names.empty() ? "" : ", ") + Sub(name);
  const bool branch = s.IntegerMethod == static_cast<std::uint8_t>(TIntegerMethod::Branch);
  report.AddParagraph((data.IntegerVars.size() == 1 ? "Целочисленной должна быть переменная " + names
                                                    : "Целочисленными должны быть переменные " + names) +
                      (branch ? ". Задача решается методом ветвей и границ: пока в оптимальном решении задачи "
                                "симплекс-метода такая переменная дробная, задача делится на две, с условием "
                                "X<sub>j</sub> &le; [v] и с условием X<sub>j</sub> &ge; [v] + 1."
                              : ". Задача решается симплекс-методом; пока в оптимальном решении такая переменная "
                                "дробная, к таблице добавляется отсечение Гомори."));
  // Two variables: the picture, now that the integer variables are known; by branch and bound with the
  // regions of the tree the simplex step will build.
  if (branch && data.ZLP.VarCount() == 2 && !ReportSilenced()) {
    const TBranchTree tree = BranchTree(data, GraphicTreeNodes);
    WriteGraphicSection(data, report, &tree);
  } else {
    WriteGraphicSection(data, report);
  }
  return true;
}

namespace {

enum class TSearch : std::uint8_t { Found, None, CutLimit, Overflow, Unfinished };

// Whether the program of a feasible table (B >= 0) has a point with integer values of the table's
// integer variables: the table is solved for the objective 0 with Gomory cuts.
TSearch SearchIntegerPoint(TSimplexTable t, TIntegerColumns integer, std::int32_t maxCuts,
                           std::vector<TRational>& point, std::int32_t studentVars) {
  for (std::int32_t j = 0; j <= t.ColCount(); ++j) t.SetCell(j, 0, {0, 1});
  std::int32_t cuts = 0;
  // Every round pivots or cuts. With the objective 0 every table is optimal as soon as it is feasible;
  // the cuts go by the lexicographic dual method, which cannot cycle: the bound is only a guard.
  TFeasibilityRule feasibility = TFeasibilityRule::DualBland;
  for (std::int32_t round = 0; round < 20000; ++round) {
    if (t.HasInvalidCell()) return TSearch::Overflow;
    std::int32_t col = 0;
    std::int32_t row = 0;
    const TSimplexState state = t.Analyze(col, row, TPivotRule::Bland, feasibility);
    if (state == SS_MANYSOLUTIONS) return TSearch::None;
    if (state == SS_PIVOT || state == SS_NEGATIVEB) {
      t.Pivot(col, row);
      continue;
    }
    if (state != SS_OPTIMAL) return TSearch::Unfinished;
    std::int32_t source = ChooseCutSource(t);
    // No report here: Gomory's finite rule from the second cut on.
    if (source != 0 && cuts > 0) source = ChooseLexicographicCutSource(t, false, integer);
    if (source == 0) {
      point.clear();
      for (std::int32_t j = 1; j <= studentVars; ++j) point.push_back(t.ValueOf("X" + std::to_string(j)));
      return TSearch::Found;
    }
    if (cuts >= maxCuts) return TSearch::CutLimit;
    if (cuts == 0) {
      t.OrderByNonBasic();
      feasibility = TFeasibilityRule::DualLexicographic;
    }
    ++cuts;
    AppendCut(t, source, "Y" + std::to_string(cuts), integer, cuts > 1 && NegatedCutRow(t, source));
    static_cast<void>(RemoveInactiveCuts(t, cuts - 1, "Y" + std::to_string(cuts)));
  }
  return TSearch::Unfinished;
}

} // namespace

void ConcludeGomory(const TSimplexMethod& method, const TZLPCore_Interface& data, TTaskVerdict& verdict,
                    TZLPCore_SolutionResult& report) {
  const std::string noIntegerSolution = "задача не имеет целочисленных решений";
  if (method.Stop == TSimplexStop::CutLimit) {
    verdict.Status = TTaskStatus::Cycling;
    if (method.CutDigits != 0) {
      const std::int32_t cuts = method.CutCounter - 1;
      verdict.Message = CutDigitsMessage(cuts, method.CutDigits);
      verdict.Answer = "решение остановлено после " + CutsCount(cuts) + " Гомори: числа таблицы выросли до " +
                       std::to_string(method.CutDigits) +
                       " знаков, целочисленное решение не найдено; задачу решает метод ветвей и границ.";
      return;
    }
    verdict.Message = CutLimitMessage(method.MaxCuts);
    verdict.Answer = "решение остановлено после " + std::to_string(method.MaxCuts) +
                     " отсечений Гомори: целочисленное решение не найдено.";
    return;
  }
  if (verdict.Status == TTaskStatus::Infeasible && method.CutCounter > 1) {
    verdict.Message = noIntegerSolution;
    verdict.Answer = noIntegerSolution + ".";
    return;
  }
  if (verdict.Status != TTaskStatus::Unbounded || data.Table.IntegerVars.empty()) return;

  // An unbounded relaxation: the integer program is unbounded when it has an integer point at all
  // (its data are rational), and has no solution otherwise.
  std::vector<TRational> point;
  const std::string intro = "Без условия целочисленности целевая функция не ограничена. ";
  switch (SearchIntegerPoint(data.Table, method.IntegerColumns, method.MaxCuts, point, data.Statement.Sx)) {
  case TSearch::Found: {
    std::string text;
    for (std::size_t j = 0; j < point.size(); ++j)
      text += (j == 0 ? "" : ", ") + Sub("X" + std::to_string(j + 1)) + " = " + RatToStr(point[j]);
    report.AddParagraph(intro + "У задачи есть допустимая точка с целыми значениями целочисленных переменных (" + text +
                        "), поэтому и на таких точках целевая функция не ограничена.");
    break;
  }
  case TSearch::None:
    report.AddParagraph(intro + "Но отсечения Гомори для задачи с нулевой целевой функцией показывают, что " +
                        "допустимых точек с целыми значениями целочисленных переменных нет: задача не имеет " +
                        "целочисленных решений.");
    verdict.Status = TTaskStatus::Infeasible;
    verdict.Message = noIntegerSolution;
    verdict.Answer = noIntegerSolution + ".";
    break;
  case TSearch::CutLimit:
    report.AddParagraph(intro + "Есть ли у задачи допустимые целочисленные точки, за " +
                        std::to_string(method.MaxCuts) + " отсечений Гомори установить не удалось.");
    verdict.Status = TTaskStatus::Cycling;
    verdict.Message = CutLimitMessage(method.MaxCuts);
    verdict.Answer = "решение остановлено после " + std::to_string(method.MaxCuts) +
                     " отсечений Гомори: целочисленное решение не найдено.";
    break;
  case TSearch::Overflow:
    report.AddParagraph(
        intro + "Есть ли у задачи допустимые целочисленные точки, установить не удалось: " + RatBigLimitText + ".");
    verdict.Status = TTaskStatus::Overflow;
    verdict.Message = StatusSentence(TTaskStatus::Overflow);
    verdict.Answer.clear();
    break;
  case TSearch::Unfinished:
    report.AddParagraph(intro + "Есть ли у задачи допустимые целочисленные точки, установить не удалось: " +
                        "симплекс-метод зациклился.");
    verdict.Status = TTaskStatus::Cycling;
    verdict.Message = StatusSentence(TTaskStatus::Cycling);
    verdict.Answer.clear();
    break;
  }
}
