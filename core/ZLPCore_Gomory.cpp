// Integer programs: integer columns, fractional and mixed Gomory cuts, the scaling of all-integer rows,
// the units of the task type and its verdict.
#include "ZLPCore_Gomory.h"

#include "SimplexMethod.h"
#include "ZLPCore_Graphic.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_TaskCatalog.h"
#include "untStrConst.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

bool IsInteger(TRational v) { return RatIsValid(v) && RatIsInteger(v); }

// The fractional part {v} = v - floor(v), in [0, 1).
TRational FracPart(TRational v) { return RatNeg(RatNegFrac(v)); }

// The mixed cut coefficient g_j of a column with source-row entry a; f0 in (0, 1).
TRational MixedCoefficient(TRational a, bool integer, TRational f0) {
  if (a.Den == 0) return {1, 0};
  const TRational k = RatDiv(f0, RatSub({1, 1}, f0)); // f0 / (1 - f0)
  if (integer) {
    const TRational f = FracPart(a);
    if (RatCompare(f, f0) <= 0) return f;
    return RatMul(k, RatSub({1, 1}, f));
  }
  if (!RatLessInt(a, 0)) return a;
  return RatMul(k, RatNeg(a));
}

std::string Sub(const std::string& name) { return IndexToSub(name); }

} // namespace

TIntegerColumns FirstIntegerColumns(const TSimplexTable& table) {
  TIntegerColumns integer(table.IntegerVars.begin(), table.IntegerVars.end());
  const TIntegerColumns ticked = integer;
  for (std::int32_t i = 1; i <= table.RowCount(); ++i) {
    const std::int32_t basic = table.BasicColumn(i);
    if (basic == 0 || !IsInteger(table.GetB(i))) continue;
    bool all = true;
    for (std::int32_t j = 1; j <= table.ColCount() && all; ++j) {
      if (j == basic) continue;
      const TRational a = table.GetA(j, i);
      if (a.Num == 0 && a.Den != 0) continue;
      all = IsInteger(a) && ticked.count(table.GetColName(j)) != 0;
    }
    if (all) integer.insert(table.GetColName(basic));
  }
  return integer;
}

TGomoryCut CutKind(const TSimplexTable& table, std::int32_t s, const TIntegerColumns& integer) {
  const std::int32_t basic = table.BasicColumn(s);
  for (std::int32_t j = 1; j <= table.ColCount(); ++j) {
    if (j == basic) continue;
    const TRational a = table.GetA(j, s);
    if (a.Num == 0 && a.Den != 0) continue;
    if (integer.count(table.GetColName(j)) == 0) return TGomoryCut::Mixed;
  }
  return TGomoryCut::Fractional;
}

void AppendCut(TSimplexTable& table, std::int32_t s, const std::string& name, TIntegerColumns& integer) {
  if (s < 1 || s > table.RowCount()) return;
  if (CutKind(table, s, integer) == TGomoryCut::Fractional) {
    table.AppendGomoryCut(s, name);
    integer.insert(name);
    return;
  }
  integer.erase(name);
  const std::int32_t basic = table.BasicColumn(s);
  const TRational f0 = FracPart(table.GetB(s));
  const std::int32_t n = table.ColCount();
  std::vector<TRational> row(static_cast<std::size_t>(n) + 1, TRational{0, 1});
  row[0] = RatNeg(f0);
  for (std::int32_t j = 1; j <= n; ++j) {
    if (j == basic) continue;
    const TRational g = MixedCoefficient(table.GetA(j, s), integer.count(table.GetColName(j)) != 0, f0);
    row[static_cast<std::size_t>(j)] = RatNeg(g);
  }
  table.SetRowCount(table.RowCount() + 1);
  table.SetColCount(n + 1);
  const std::int32_t m = table.RowCount();
  table.SetColName(n + 1, name);
  table.SetRowName(m, name);
  for (std::int32_t c = 0; c <= n; ++c) table.SetCell(c, m, row[static_cast<std::size_t>(c)]);
  table.SetCell(n + 1, m, {1, 1});
}

std::string CutSentence(const std::string& variable, TGomoryCut kind) {
  if (kind == TGomoryCut::Fractional)
    return "переменная " + variable + " не целочисленна, поэтому строим отсечение Гомори";
  return "переменная " + variable + " не целочисленна, а в её строке есть переменные, которые не обязаны быть " +
         "целыми, поэтому строим смешанное отсечение Гомори";
}

std::string CutLimitSentence(const std::string& variable, std::int32_t limit) {
  return "переменная " + variable + " всё ещё не целочисленна, а построено уже " + std::to_string(limit) +
         " отсечений Гомори, поэтому решение остановлено: целочисленное решение не найдено";
}

std::string CutLimitHint(std::int32_t limit) {
  return "Построено " + std::to_string(limit) +
         " отсечений Гомори, а целочисленное решение не найдено: решение остановлено. Нажмите \"Далее\" чтобы "
         "просмотреть подробности";
}

std::string DualRuleNote() {
  return "Отрицательный свободный член строки отсечения устраняется по правилу двойственного симплекс-метода: "
         "из базиса выводится переменная с наименьшим номером среди строк с B<sub>i</sub>&lt;0, а в базис "
         "вводится переменная с наименьшим отношением C<sub>j</sub>/|A<sub>i,j</sub>| среди A<sub>i,j</sub>&lt;0 "
         "этой строки, поэтому все C<sub>j</sub> остаются неотрицательными";
}

std::string CutLimitMessage(std::int32_t limit) {
  return "после " + std::to_string(limit) + " отсечений Гомори целочисленное решение не найдено, решение остановлено";
}

std::string NoIntegerSolutionParagraph(std::int32_t row) {
  const std::string i = std::to_string(row);
  return "Нашлось B<sub>" + i + "</sub>&lt;0, но все A<sub>" + i + ",j</sub>&ge;0: после отсечений Гомори уравнение " +
         "строки " + i + " не может выполняться при неотрицательных переменных, поэтому задача не имеет " +
         "целочисленных решений";
}

std::string NoIntegerSolutionHint() {
  return "Задача не имеет целочисленных решений. Нажмите \"Далее\" чтобы просмотреть подробности";
}

void ScaleIntegerRows(TZLPCore_SubInterface_ZLP& zlp, const std::vector<std::string>& integerVars,
                      TZLPCore_SolutionResult& report) {
  if (integerVars.empty() || (zlp.IsCanonical() && zlp.HasOwnBasis())) return;
  const TIntegerColumns ticked(integerVars.begin(), integerVars.end());
  const std::int32_t n = zlp.VarCount();
  std::vector<std::pair<std::int32_t, std::int64_t>> scaled; // row, multiple
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) {
    bool all = true;
    bool any = false;
    std::int64_t lcm = zlp.RHS.GetItem(i).Den;
    for (std::int32_t j = 1; j <= n && all; ++j) {
      const TRational a = zlp.Coeffs.GetItem(j, i);
      if (a.Num == 0 && a.Den != 0) continue;
      any = true;
      all = ticked.count(zlp.GetVarName(j)) != 0 && a.Den > 0;
      if (all) lcm = std::lcm(lcm, std::int64_t{a.Den});
      if (lcm > Int32Max) all = false;
    }
    if (!all || !any || lcm <= 1) continue;
    const auto k = static_cast<std::int32_t>(lcm);
    bool fits = RatIsValid(RatMulInt(zlp.RHS.GetItem(i), k));
    for (std::int32_t j = 1; j <= n && fits; ++j) fits = RatIsValid(RatMulInt(zlp.Coeffs.GetItem(j, i), k));
    if (!fits) continue;
    zlp.RHS.SetItem(i, RatMulInt(zlp.RHS.GetItem(i), k));
    for (std::int32_t j = 1; j <= n; ++j) zlp.Coeffs.SetItem(j, i, RatMulInt(zlp.Coeffs.GetItem(j, i), k));
    scaled.emplace_back(i, lcm);
  }
  if (scaled.empty()) return;
  if (scaled.size() == 1) {
    report.AddParagraph("Все коэффициенты ограничения № " + std::to_string(scaled[0].first) +
                        " относятся к целочисленным переменным, поэтому умножим его на " +
                        std::to_string(scaled[0].second) +
                        " (наименьшее общее кратное знаменателей его чисел), чтобы и его базисная переменная "
                        "принимала только целые значения.");
    return;
  }
  std::string rows;
  std::string multiples;
  for (const auto& [row, multiple] : scaled) {
    rows += (rows.empty() ? "" : ", ") + std::to_string(row);
    multiples += (multiples.empty() ? "№ " : ", № ") + std::to_string(row) + " на " + std::to_string(multiple);
  }
  report.AddParagraph("Все коэффициенты ограничений № " + rows +
                      " относятся к целочисленным переменным, поэтому умножим каждое из них на наименьшее общее "
                      "кратное знаменателей его чисел (" +
                      multiples + "), чтобы и их базисные переменные принимали только целые значения.");
}

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

bool GomorySelectUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage) {
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
  report.AddParagraph((data.IntegerVars.size() == 1 ? "Целочисленной должна быть переменная " + names
                                                    : "Целочисленными должны быть переменные " + names) +
                      ". Задача решается симплекс-методом; пока в оптимальном решении такая переменная дробная, "
                      "к таблице добавляется отсечение Гомори.");
  // Two variables: the picture, now that the integer variables are known.
  WriteGraphicSection(data, report);
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
  // Every round pivots or cuts. With the objective 0 every table is optimal as soon as it is feasible,
  // and Bland's rule of the dual method cannot cycle: the bound is only a guard.
  for (std::int32_t round = 0; round < 20000; ++round) {
    if (t.HasInvalidCell()) return TSearch::Overflow;
    std::int32_t col = 0;
    std::int32_t row = 0;
    const TSimplexState state = t.Analyze(col, row, TPivotRule::Bland, TFeasibilityRule::DualBland);
    if (state == SS_MANYSOLUTIONS) return TSearch::None;
    if (state == SS_PIVOT || state == SS_NEGATIVEB) {
      t.Pivot(col, row);
      continue;
    }
    if (state != SS_OPTIMAL) return TSearch::Unfinished;
    const auto fractional = std::find_if(t.IntegerVars.begin(), t.IntegerVars.end(),
                                         [&t](const std::string& name) { return !IsInteger(t.ValueOf(name)); });
    if (fractional == t.IntegerVars.end()) {
      point.clear();
      for (std::int32_t j = 1; j <= studentVars; ++j) point.push_back(t.ValueOf("X" + std::to_string(j)));
      return TSearch::Found;
    }
    if (cuts >= maxCuts) return TSearch::CutLimit;
    ++cuts;
    AppendCut(t, t.RowOf(*fractional), "Y" + std::to_string(cuts), integer);
  }
  return TSearch::Unfinished;
}

} // namespace

void ConcludeGomory(const TSimplexMethod& method, const TZLPCore_Interface& data, TTaskVerdict& verdict,
                    TZLPCore_SolutionResult& report) {
  const std::string noIntegerSolution = "задача не имеет целочисленных решений";
  if (method.Stop == TSimplexStop::CutLimit) {
    verdict.Status = TTaskStatus::Cycling;
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
    report.AddParagraph(intro + "Есть ли у задачи допустимые целочисленные точки, установить не удалось: " +
                        RatBigLimitText + ".");
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
