// Page sections of the linear programming steps and the units of their step kinds.
#include "Pages.h"

#include "DualProblem.h"
#include "GomoryCut.h"
#include "Graphic.h"
#include "MessageSeam.h"
#include "SimplexMethod.h"
#include "TaskContract.h"
#include "Verdict.h"
#include "untStrConst.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

std::string UsualPageStyle(const TPageColors& colors) {
  return "BODY { color: #" + ColorToHex(colors.ButtonText) + ";background-color:#" + ColorToHex(colors.ButtonFace) +
         ";} PRE {color:#" + ColorToHex(colors.WindowText) + ";background-color:#" + ColorToHex(colors.Window) + ";}";
}

std::string ResultPageStyle(const TPageColors& colors) {
  return "TD.clsSimCell, TABLE.clsDense TD {background:#" + ColorToHex(colors.Window) + ";} " + UsualPageStyle(colors);
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
  return std::string(sTaskFor) + (isMax ? sMaximization : sMinimization) + sModelWith +
         CountText(varCount, "переменной", "переменными", "переменными") + " и " +
         CountText(constraintCount, "ограничением", "ограничениями", "ограничениями") + ".";
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

namespace {

// The artificial-basis start of a canonical form whose rows with a negative free term have no basic
// variable: the rows times -1 with an artificial variable each, and the objective with -M.
void WriteArtificialStart(const TZLPCore_SubInterface_ZLP& zlp, TZLPCore_SolutionResult& report) {
  std::vector<std::int32_t> rows;
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i)
    if (RatLessInt(zlp.RHS.GetItem(i), 0)) rows.push_back(i);
  if (rows.empty()) return;
  const std::int32_t n = zlp.VarCount();
  std::string numbers;
  std::string artificial;
  std::string system;
  std::int32_t k = 0;
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) {
    const bool negative = RatLessInt(zlp.RHS.GetItem(i), 0);
    TVector row;
    row.SetCount(n);
    for (std::int32_t j = 1; j <= n; ++j) {
      TRational a = zlp.Coeffs.GetItem(j, i);
      if (negative) a = RatNeg(a);
      row.SetItem(j, a);
    }
    std::string line = FormatLinearForm(row, zlp.VarNames(), RatFromInt(0));
    if (negative) {
      ++k;
      const std::string r = SubscriptName("R", k);
      numbers += (numbers.empty() ? "" : ", ") + std::to_string(i);
      artificial += (artificial.empty() ? "" : " + ") + r;
      line += " + " + r;
    }
    TRational b = zlp.RHS.GetItem(i);
    if (negative) b = RatNeg(b);
    system += line + " = " + HtmlEscape(RatToStr(b)) + "\r\n";
  }
  const bool one = rows.size() == 1;
  report.AddParagraph(std::string("<b>Начальный опорный план — методом искусственного базиса (M-методом).</b> ") +
                      (one ? "Свободный член строки № " : "Свободные члены строк № ") + numbers +
                      (one ? " отрицателен, и базисной переменной с коэффициентом 1 в этой строке нет. Умножим её "
                             "на -1 и введём в неё искусственную переменную ("
                           : " отрицательны, и базисной переменной с коэффициентом 1 в этих строках нет. Умножим их "
                             "на -1 и введём в каждую искусственную переменную (") +
                      artificial +
                      " &#8805; 0) с коэффициентом -M в целевой функции, где M — сколь угодно большое "
                      "положительное число:");
  report.AddPre("Z<sub>M</sub> = " + FormatLinearForm(zlp.Objective, zlp.VarNames(), zlp.FreeTerm) + " - M(" +
                artificial + ") &#8594; Max\r\n" + system);
  report.AddParagraph("Оптимальный план M-задачи, в котором все искусственные переменные равны нулю, — оптимальный "
                      "план исходной задачи; если искусственная переменная останется положительной, система "
                      "ограничений несовместна.");
}

} // namespace

bool CanonicalUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                   const TTaskInfo& task) {
  if (!WriteCanonicalPage(data, stage.Caption, report)) return false;
  // The start the simplex step will take, where the simplex step comes next.
  const auto at = std::find(task.StageKinds.begin(), task.StageKinds.end(), SK_KFCHECK);
  const bool simplexNext =
      at != task.StageKinds.end() && at + 1 != task.StageKinds.end() && *(at + 1) == SK_SIMPLEXSOLVE;
  if (simplexNext && data.StartMethod == TStartMethod::Artificial) WriteArtificialStart(data.ZLP, report);
  return true;
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
  data.Table.SetPivotFilter(data.PivotFilter);
  data.SetFlag(IF_TABLE);
  return true;
}

namespace {

// "X* = (6; 4; 0; 0; 1; 3)": the whole optimal plan as textbooks write it, the student's variables
// X1 ... Xn first and then the added ones, in the order of their indices (cut variables left out).
void AddOptimalPlan(const TSimplexMethod& method, const TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  const TSimplexTable& table = data.Table;
  if (table.State != SS_OPTIMAL || method.Stop != TSimplexStop::None) return;
  std::vector<std::pair<long, std::string>> columns;
  for (std::int32_t j = 1; j <= table.ColCount(); ++j) {
    const std::string name = table.GetColName(j);
    if (name.size() < 2 || name[0] != 'X' || name.find_first_not_of("0123456789", 1) != std::string::npos) continue;
    columns.emplace_back(std::stol(name.substr(1)), name);
  }
  if (columns.empty()) return;
  std::sort(columns.begin(), columns.end());
  std::string plan;
  for (const auto& [index, name] : columns) plan += (plan.empty() ? "" : "; ") + RatToStr(table.ValueOf(name));
  const long n = std::min<long>(data.Statement.Sx, static_cast<long>(columns.size()));
  std::string legend;
  if (n > 0 && columns.front().first == 1) {
    legend = " — сначала переменные задачи " + SubscriptName("X", 1) + (n > 1 ? "…" + SubscriptName("X", n) : "");
    if (static_cast<long>(columns.size()) > n)
      legend += ", затем дополнительные (балансовые) " +
                SubscriptName("X", columns[static_cast<std::size_t>(n)].first) +
                (static_cast<long>(columns.size()) > n + 1 ? "…" + SubscriptName("X", columns.back().first) : "");
  }
  report.AddParagraph("Оптимальный план: X* = (" + plan + ")" + legend + ".");
}

} // namespace

void FinishSimplex(TSimplexMethod& method, TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                   const TTaskInfo& task) {
  method.WriteReport(data, report);
  AddOptimalPlan(method, data, report);
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
    // A second optimal plan or a ray of them, in the student's variables.
    verdict.SecondX.clear();
    verdict.SecondIsRay = false;
    if (method.SecondOptimum && task.Code == TT_LINEAR) {
      const TSecondOptimum& second = *method.SecondOptimum;
      const std::vector<TRational>& from = second.X.empty() ? second.Direction : second.X;
      for (std::int32_t j = 1; j <= data.Statement.Sx; ++j) {
        const auto& names = data.Table.ColNames();
        const auto it = std::find(names.begin(), names.end(), "X" + std::to_string(j));
        verdict.SecondX.push_back(it == names.end() ? RatFromInt(0)
                                                    : from[static_cast<std::size_t>(it - names.begin())]);
      }
      verdict.SecondIsRay = second.X.empty();
    }
  } else if (data.Table.State == SS_NOSOLUTION) {
    verdict.Status = TTaskStatus::Unbounded;
  } else {
    verdict.Status = TTaskStatus::Infeasible;
  }
  verdict.Message = StatusSentence(verdict.Status);
  // An objective without variables has the same value everywhere: the plan found is one of many.
  const TZLPCore_SubInterface_ZLP& stated = data.StatedZLP;
  bool constant = stated.VarCount() > 0;
  for (std::int32_t j = 1; constant && j <= stated.VarCount(); ++j)
    constant = RatEqualsInt(stated.Objective.GetItem(j), 0);
  if (constant && verdict.Status == TTaskStatus::Optimal && verdict.Objective) {
    report.AddParagraph(
        "Все коэффициенты целевой функции при переменных равны нулю: Z = " + RatToStr(*verdict.Objective) +
        " в каждой допустимой точке, поэтому оптимальна любая допустимая точка; симплекс-метод "
        "нашёл одну из них.");
    verdict.Answer = AnswerText(verdict) +
                     "; оптимальна и любая другая допустимая точка: Z = " + RatToStr(*verdict.Objective) + " всюду.";
  }
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

void ConfigureSimplex(TSimplexMethod& method, const TZLPCore_Interface& data, const TTaskInfo& task) {
  method.Form = data.TableForm;
  method.StartMethod = data.StartMethod;
  // The plans of the table are the student's own where its dual is the student's too.
  method.ExplainAlternatives = task.Dual == TDualReport::WithAnswer;
}

bool SimplexUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo&, const TTaskInfo& task) {
  if (!PrepareSimplexTable(data)) return false;
  if (task.ReplaceSimplex != nullptr && task.ReplaceSimplex(data, report, task)) return true;
  TSimplexMethod method(data.Table);
  ConfigureSimplex(method, data, task);
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
      if (lcm > std::numeric_limits<std::int32_t>::max()) all = false;
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
