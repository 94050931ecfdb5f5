// Linear-fractional programs: the statement, the range of the denominator, the change of variables and
// the back substitution, with the texts of their pages.
#include "Fractional.h"

#include "SimplexMethod.h"
#include "TaskContract.h"
#include "Verdict.h"
#include "untStrConst.h"

#include <algorithm>

namespace {

constexpr const char* CRLF = "\r\n";
constexpr const char* MinusInfinity = "-&#8734;";
constexpr const char* PlusInfinity = "+&#8734;";

TRational Negated(TRational v) {
  RatScale(v, -1);
  return v;
}

bool IsOptimal(const TQuietSolution& s) { return s.Outcome == TQuietOutcome::Optimal; }
bool Stopped(const TQuietSolution& s) {
  return s.Outcome == TQuietOutcome::Cycling || s.Outcome == TQuietOutcome::Overflow;
}
// The form takes values above zero somewhere on the set (its greatest value is positive or unbounded).
bool ReachesAbove(const TQuietSolution& greatest) {
  return greatest.Outcome == TQuietOutcome::Unbounded || (IsOptimal(greatest) && RatGreaterInt(greatest.Value, 0));
}
bool ReachesBelow(const TQuietSolution& least) {
  return least.Outcome == TQuietOutcome::Unbounded || (IsOptimal(least) && RatLessInt(least.Value, 0));
}

// sum_j c_j x_j + c0; invalid only beyond the limits of exact arithmetic.
TRational FormValue(const TVector& c, TRational c0, const std::vector<TRational>& x) {
  TRational sum = c0;
  for (std::size_t j = 0; j < x.size(); ++j)
    sum = RatAdd(sum, RatMul(c.GetItem(static_cast<std::int32_t>(j) + 1), x[j]));
  return sum;
}

bool AllValid(const std::vector<TRational>& values) {
  return std::all_of(values.begin(), values.end(), [](TRational r) { return RatIsValid(r); });
}

// A number as a factor of a quotient: "3", "(5/2)", "(-1)".
std::string Factor(TRational r) {
  const std::string text = RatToStr(r);
  return RatIsValid(r) && RatIsInteger(r) && r.Num >= 0 ? text : "(" + text + ")";
}

// "9 / 10 = 9/10" says nothing twice: "9/10" alone; "(3/2) / 5 = 3/10" is written in full.
std::string QuotientText(TRational numerator, TRational denominator, TRational value) {
  const std::string quotient = Factor(numerator) + " / " + Factor(denominator);
  const std::string result = RatToStr(value);
  if (RatIsValid(numerator) && RatIsValid(denominator) && RatIsInteger(numerator) && RatIsInteger(denominator) &&
      numerator.Num >= 0 && denominator.Num > 0 && result == RatToStr(numerator) + "/" + RatToStr(denominator))
    return result;
  return quotient + " = " + result;
}

std::string StopReason(TQuietOutcome outcome) {
  return outcome == TQuietOutcome::Cycling
             ? "симплекс-метод зациклился"
             : RatBigLimitText;
}

TTaskStatus StopStatus(TQuietOutcome outcome) {
  return outcome == TQuietOutcome::Cycling ? TTaskStatus::Cycling : TTaskStatus::Overflow;
}

void SetVerdict(TTaskVerdict& verdict, TTaskStatus status, std::string message = {}, std::string answer = {}) {
  verdict.Status = status;
  verdict.Message = message.empty() ? StatusSentence(status) : std::move(message);
  verdict.Answer = std::move(answer);
  verdict.Objective.reset();
  verdict.X.clear();
}

// ---- the denominator on the feasible set ----

enum class TDenominatorSign : std::uint8_t { Positive, Negative, Zero, Infeasible, Unknown };

// Positive: the least value is above zero; Negative: the greatest is below zero; Zero: the set is not
// empty and the range reaches zero (the set is convex, so the denominator is zero at some point);
// Unknown: a program stopped before the sign could be told.
TDenominatorSign SignOnSet(const TFormRange& range) {
  if (range.Least.Outcome == TQuietOutcome::Infeasible || range.Greatest.Outcome == TQuietOutcome::Infeasible)
    return TDenominatorSign::Infeasible;
  if (IsOptimal(range.Least) && RatGreaterInt(range.Least.Value, 0)) return TDenominatorSign::Positive;
  if (IsOptimal(range.Greatest) && RatLessInt(range.Greatest.Value, 0)) return TDenominatorSign::Negative;
  if (Stopped(range.Least) || Stopped(range.Greatest)) return TDenominatorSign::Unknown;
  return TDenominatorSign::Zero;
}

// "от -2 до +∞"; a bound that a stopped program left unknown is not named: "не меньше 3".
std::string RangeText(const TFormRange& range) {
  const std::string lo = IsOptimal(range.Least) ? RatToStr(range.Least.Value) : MinusInfinity;
  const std::string hi = IsOptimal(range.Greatest) ? RatToStr(range.Greatest.Value) : PlusInfinity;
  if (Stopped(range.Greatest)) return "не меньше " + lo;
  if (Stopped(range.Least)) return "не больше " + hi;
  return "от " + lo + " до " + hi;
}

// A copy of the program with one more constraint row  coeffs·x (sign) rhs.
TZLPCore_SubInterface_ZLP WithRow(const TZLPCore_SubInterface_ZLP& zlp, const TVector& coeffs,
                                  TZLPCore_InequalitySign sign, TRational rhs) {
  TZLPCore_SubInterface_ZLP program = zlp;
  const std::int32_t m = program.ConstraintCount() + 1;
  program.SetConstraintCount(m);
  for (std::int32_t j = 1; j <= program.VarCount(); ++j) program.Coeffs.SetItem(j, m, coeffs.GetItem(j));
  program.SetSign(m, sign);
  program.RHS.SetItem(m, rhs);
  return program;
}

// The greatest value of coeffs·x + freeTerm over the feasible set of zlp, at most 1: a point where the
// form is positive when there is one (its value is then above zero), whether or not the form is
// bounded there.
TQuietSolution GreatestUpToOne(const TZLPCore_SubInterface_ZLP& zlp, const TVector& coeffs, TRational freeTerm) {
  const TRational rhs = RatSub(RatFromInt(1), freeTerm);
  if (!RatIsValid(rhs)) {
    TQuietSolution s;
    s.Outcome = TQuietOutcome::Overflow;
    return s;
  }
  TZLPCore_SubInterface_ZLP program = WithRow(zlp, coeffs, IS_BELOWOREQUAL, rhs);
  for (std::int32_t j = 1; j <= program.VarCount(); ++j) program.Objective.SetItem(j, coeffs.GetItem(j));
  program.FreeTerm = freeTerm;
  program.IsMax = true;
  return SolveQuietly(program);
}

std::string PointText(const std::vector<TRational>& x) {
  std::string text;
  for (std::size_t j = 0; j < x.size(); ++j) text += (j == 0 ? "" : "; ") + RatToStr(x[j]);
  return "(" + text + ")";
}

// The numerator and the denominator change sign together: the value of the ratio stays.
void NegateRatio(TZLPCore_SubInterface_ZLP& zlp, TZLPCore_SubInterface_Denominator& den) {
  for (std::int32_t j = 1; j <= zlp.VarCount(); ++j) {
    zlp.Objective.SetItem(j, Negated(zlp.Objective.GetItem(j)));
    den.Coeffs.SetItem(j, Negated(den.Coeffs.GetItem(j)));
  }
  zlp.FreeTerm = Negated(zlp.FreeTerm);
  den.FreeTerm = Negated(den.FreeTerm);
}

// The denominator is zero somewhere on the feasible set S, where the ratio is not defined; the best
// value is sought over the other points of S. The page says what follows and the verdict is set when
// the case is decided here; true when the change of variables still answers it.
//  - Near a point of S where the denominator is zero and the numerator is not, the ratio leaves every
//    bound on the side where the denominator has the sign of the numerator there (along the segment
//    from that point to a point of that side): unbounded, when the direction asked for is that one.
//  - A denominator taking both signs whose zero points on S all have a zero numerator: the zero set
//    then spans the hyperplane of the denominator within the hull of S, so the numerator is a multiple
//    k of the denominator there and the ratio equals k wherever it is defined.
//  - A denominator of one sign (after negating the ratio, not negative) is positive exactly at the
//    points of S the change of variables maps to solutions with Y0 > 0, and the directions of S with
//    Y0 = 0 are still limits of such points, so the substituted program answers for those points.
// The numerator's range on the zero set comes from two more quiet programs.
bool ZeroDenominator(TZLPCore_Interface& data, const TFormRange& range, TZLPCore_SolutionResult& report) {
  TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  TZLPCore_SubInterface_Denominator& den = data.Denominator;
  const bool above = ReachesAbove(range.Greatest);
  const bool below = ReachesBelow(range.Least);
  if (!above && !below) {
    report.AddParagraph("Знаменатель равен нулю во всех допустимых точках, и дробь не определена ни в одной из них.");
    report.AddParagraph("Задача не имеет решения: целевая функция не определена ни в одной допустимой точке. " +
                        std::string(sBadDenominator));
    SetVerdict(data.Verdict, TTaskStatus::BadInput,
               "метод замены переменных неприменим: знаменатель равен нулю во всех допустимых точках",
               "задача не решена: знаменатель равен нулю во всех допустимых точках, и дробь не определена ни в "
               "одной из них.");
    return false;
  }
  if (above && below)
    report.AddParagraph("Знаменатель меняет знак на множестве допустимых решений и, значит, где-то на нём обращается "
                        "в нуль: в таких точках дробь не определена.");
  else
    report.AddParagraph("Знаменатель обращается в нуль в некоторых допустимых точках: в них дробь не определена, и "
                        "наилучшее значение ищется среди остальных допустимых точек.");

  const TFormRange numerator =
      FormRange(WithRow(zlp, den.Coeffs, IS_EQUAL, Negated(den.FreeTerm)), zlp.Objective, zlp.FreeTerm);
  const bool numeratorAbove = ReachesAbove(numerator.Greatest);
  const bool numeratorBelow = ReachesBelow(numerator.Least);
  const bool toPlusInfinity = (numeratorAbove && above) || (numeratorBelow && below);
  const bool toMinusInfinity = (numeratorAbove && below) || (numeratorBelow && above);
  const bool isMax = zlp.IsMax;
  const std::string values = "значения " + RangeText(numerator);
  if (isMax ? toPlusInfinity : toMinusInfinity) {
    report.AddParagraph("В допустимых точках, где знаменатель равен нулю, числитель принимает " + values +
                        ". Вблизи такой точки с ненулевым числителем дробь принимает " +
                        (isMax ? "сколь угодно большие значения, поэтому целевая функция не ограничена сверху"
                               : "сколь угодно большие по модулю отрицательные значения, поэтому целевая функция не "
                                 "ограничена снизу") +
                        " и оптимума нет.");
    SetVerdict(data.Verdict, TTaskStatus::Unbounded);
    return false;
  }
  if (Stopped(numerator.Least) || Stopped(numerator.Greatest)) {
    const TQuietOutcome stop = Stopped(numerator.Least) ? numerator.Least.Outcome : numerator.Greatest.Outcome;
    report.AddParagraph("Найти значения числителя в допустимых точках, где знаменатель равен нулю, не удалось — " +
                        StopReason(stop) + ".");
    SetVerdict(data.Verdict, StopStatus(stop));
    return false;
  }
  if (above && below) {
    // Both signs and no unbounded side: the numerator is zero wherever the denominator is.
    const TQuietSolution point = GreatestUpToOne(zlp, den.Coeffs, den.FreeTerm);
    if (!IsOptimal(point)) {
      report.AddParagraph("Найти допустимую точку, где знаменатель не равен нулю, не удалось — " +
                          StopReason(Stopped(point) ? point.Outcome : TQuietOutcome::Overflow) + ".");
      SetVerdict(data.Verdict, StopStatus(Stopped(point) ? point.Outcome : TQuietOutcome::Overflow));
      return false;
    }
    const TRational n = FormValue(zlp.Objective, zlp.FreeTerm, point.X);
    const TRational d = FormValue(den.Coeffs, den.FreeTerm, point.X);
    const TRational k = RatDiv(n, d);
    if (!RatIsValid(n) || !RatIsValid(d) || !RatIsValid(k) || !AllValid(point.X)) {
      report.AddParagraph("Значение дроби в допустимой точке вышло за пределы точных дробей с 32-битными числителем "
                          "и знаменателем.");
      SetVerdict(data.Verdict, TTaskStatus::Overflow);
      return false;
    }
    report.AddParagraph(
        "В допустимых точках, где знаменатель равен нулю, числитель тоже равен нулю. Такие точки заполняют "
        "сечение множества допустимых решений плоскостью, на которой знаменатель равен нулю (знаменатель "
        "принимает на множестве значения обоих знаков), поэтому числитель равен знаменателю, умноженному на одно и "
        "то же число, и дробь во всех допустимых точках, где она определена, принимает одно и то же значение. "
        "Найдём его в допустимой точке " +
        PointText(point.X) +
        ", где знаменатель не равен нулю (её дал симплекс-метод как максимум знаменателя, не "
        "большего 1): числитель равен " +
        RatToStr(n) + ", знаменатель равен " + RatToStr(d) + ", Z = " + QuotientText(n, d, k) + ". Это значение и есть " + (isMax ? "наибольшее" : "наименьшее") +
        "; замена переменных не нужна.");
    SetVerdict(data.Verdict, TTaskStatus::Optimal);
    data.Verdict.Objective = k;
    data.Verdict.X = point.X;
    return false;
  }
  report.AddParagraph(
      "В допустимых точках, где знаменатель равен нулю, числитель принимает " + values +
      ", поэтому вблизи них дробь не уходит в бесконечность в сторону " + (isMax ? "увеличения" : "уменьшения") +
      ". Знаменатель при этом не меняет знака: там, где он не равен нулю, он " +
      (above ? "положителен" : "отрицателен") +
      ". Замена переменных сопоставляет каждой такой точке решение новой задачи с Y<sub>0</sub> &gt; 0 и тем же "
      "значением целевой функции, и обратно, поэтому она годится и здесь: решения с Y<sub>0</sub> = 0 отвечают "
      "направлениям, вдоль которых дробь приближается к своему значению.");
  if (below) {
    NegateRatio(zlp, den);
    report.AddLine("Умножим числитель и знаменатель на -1 (значение дроби от этого не изменится): числителем станет " +
                   FormatLinearForm(zlp.Objective, zlp.VarNames(), zlp.FreeTerm) + ", знаменателем — " +
                   FormatLinearForm(den.Coeffs, zlp.VarNames(), den.FreeTerm) + ".");
  }
  return true;
}

// Checks the denominator on the feasible set and explains it; negates the numerator and the
// denominator when the denominator is negative. False, with the verdict, when the change of
// variables must not be made.
bool PrepareDenominator(TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  TZLPCore_SubInterface_Denominator& den = data.Denominator;
  const TFormRange range = FormRange(zlp, den.Coeffs, den.FreeTerm);
  const TDenominatorSign sign = SignOnSet(range);
  if (sign == TDenominatorSign::Infeasible) {
    report.AddParagraph("Система ограничений несовместна: ни одна точка не удовлетворяет всем ограничениям сразу "
                        "(это показал симплекс-метод, применённый к ним), поэтому задача не имеет допустимых "
                        "решений и замена переменных не нужна.");
    SetVerdict(data.Verdict, TTaskStatus::Infeasible);
    return false;
  }
  const std::string denText = FormatLinearForm(den.Coeffs, zlp.VarNames(), den.FreeTerm);
  const std::string intro = "Замена переменных возможна, только если знаменатель сохраняет знак на всём множестве "
                            "допустимых решений. Найдём симплекс-методом его наименьшее и наибольшее значения при "
                            "заданных ограничениях: ";
  if (sign == TDenominatorSign::Unknown) {
    const TQuietOutcome stop = Stopped(range.Least) ? range.Least.Outcome : range.Greatest.Outcome;
    report.AddParagraph(intro + "найти их не удалось — " + StopReason(stop) +
                        ". Не зная знака знаменателя, замену переменных выполнять нельзя.");
    SetVerdict(data.Verdict, StopStatus(stop));
    return false;
  }
  report.AddParagraph(intro + "знаменатель " + denText + " принимает на множестве допустимых решений значения " +
                      RangeText(range) + ".");
  if (sign == TDenominatorSign::Zero) return ZeroDenominator(data, range, report);
  if (sign == TDenominatorSign::Positive) {
    report.AddLine("Знаменатель всюду положителен, замена переменных допустима.");
    return true;
  }
  NegateRatio(zlp, den);
  report.AddLine("Знаменатель всюду отрицателен, поэтому умножим числитель и знаменатель на -1 (значение дроби от "
                 "этого не изменится): числителем станет " +
                 FormatLinearForm(zlp.Objective, zlp.VarNames(), zlp.FreeTerm) + ", знаменателем — " +
                 FormatLinearForm(den.Coeffs, zlp.VarNames(), den.FreeTerm) + ".");
  return true;
}

// Y0 = 1/(denominator), Yj = Xj·Y0: the program of data.ZLP becomes the substituted one in place.
void Substitute(TZLPCore_SubInterface_ZLP& zlp, const TZLPCore_SubInterface_Denominator& den,
                TZLPCore_SolutionResult& report) {
  report.AddParagraph(sSubstitution);
  report.AddLine(std::string("<pre>") + CRLF + "<table cellpadding=0 cellspacing=0 border=0>" + CRLF +
                 "  <tr><td rowspan=2>Y<sub>0</sub> = </td><td align=center style=\"border-bottom: solid 1px "
                 "black;\">1</td>" +
                 CRLF + "  <tr><td>" + FormatLinearForm(den.Coeffs, zlp.VarNames(), den.FreeTerm) + "</td></tr>" +
                 CRLF + "</table>" + CRLF + "</pre>");
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  zlp.VarLetter = 'Y';
  for (std::int32_t j = 1; j <= n; ++j) {
    std::string name = zlp.GetVarName(j);
    if (!name.empty()) name.front() = 'Y';
    zlp.SetVarName(j, name);
  }
  zlp.SetVarCount(n + 1);
  zlp.SetVarName(n + 1, "Y0");
  zlp.VarNumberShift = 1; // the balance variables that follow are Y(n+1), Y(n+2), ...
  for (std::int32_t i = 1; i <= m; ++i) {
    zlp.Coeffs.SetItem(n + 1, i, Negated(zlp.RHS.GetItem(i)));
    zlp.RHS.SetItem(i, TRational{0, 1});
  }
  zlp.SetConstraintCount(m + 1);
  for (std::int32_t j = 1; j <= n; ++j) zlp.Coeffs.SetItem(j, m + 1, den.Coeffs.GetItem(j));
  zlp.Coeffs.SetItem(n + 1, m + 1, den.FreeTerm);
  zlp.SetSign(m + 1, IS_EQUAL);
  zlp.RHS.SetItem(m + 1, RatFromInt(1));
  zlp.Objective.SetItem(n + 1, zlp.FreeTerm);
  zlp.FreeTerm = TRational{0, 1};
  report.AddLine("<p>Получим следующую задачу <b>линейного программирования</b>:<pre>");
  AddModel(report, &zlp);
  report.AddLine("</pre>");
}

// ---- the way back ----

// The ratio as the student stated it, read again from the statement: the numerator as the
// objective of Program (variables X1 ... Xn, the constraints), the denominator in Den.
struct TFraction {
  bool Known = false;
  TZLPCore_SubInterface_ZLP Program;
  TZLPCore_SubInterface_Denominator Den;
};

TFraction FractionOf(const TZLPCore_Interface& data) {
  TFraction f;
  if (data.Statement.TaskType != TT_FRACTIONAL) return f;
  TZLPCore_Interface read;
  TStatementError error;
  if (!ReadFractionalStatement(data.Statement, read, error)) return f;
  f.Known = true;
  f.Program = std::move(read.ZLP);
  f.Den = std::move(read.Denominator);
  return f;
}

// The substitution negated the denominator when it was negative on the feasible set.
bool WasNegated(const TFraction& f, const TZLPCore_SubInterface_Denominator& used) {
  if (RatCompare(f.Den.FreeTerm, used.FreeTerm) != 0) return true;
  for (std::int32_t j = 1; j <= f.Den.Coeffs.Count(); ++j)
    if (RatCompare(f.Den.Coeffs.GetItem(j), used.Coeffs.GetItem(j)) != 0) return true;
  return false;
}

// The paragraph with the value of the ratio at x, and the optimal verdict at x; false when a number
// outgrew exact fractions.
bool AnswerAt(TZLPCore_Interface& data, const TFraction& f, const std::vector<TRational>& x,
              TZLPCore_SolutionResult& report) {
  TTaskVerdict& verdict = data.Verdict;
  TRational value = verdict.Objective.value_or(TRational{0, 0});
  if (f.Known) {
    const TRational numerator = FormValue(f.Program.Objective, f.Program.FreeTerm, x);
    const TRational denominator = FormValue(f.Den.Coeffs, f.Den.FreeTerm, x);
    value = RatDiv(numerator, denominator);
    if (RatIsValid(numerator) && RatIsValid(denominator) && RatIsValid(value))
      report.AddParagraph("Значение целевой функции в этой точке вычислим по исходной дроби: числитель равен " +
                          RatToStr(numerator) + ", знаменатель равен " + RatToStr(denominator) +
                          ", Z = " + QuotientText(numerator, denominator, value) + ".");
  }
  if (!AllValid(x) || !RatIsValid(value)) return false;
  SetVerdict(verdict, TTaskStatus::Optimal);
  verdict.Objective = value;
  verdict.X = x;
  return true;
}

void ReportOverflow(TTaskVerdict& verdict, TZLPCore_SolutionResult& report) {
  report.AddParagraph(std::string("При обратной замене ") + RatBigLimitText +
                      ": точный ответ для этой задачи получить нельзя.");
  SetVerdict(verdict, TTaskStatus::Overflow);
}

// The optimum has Y0 = 0: it is a direction of the feasible set, not a point. The best value v of
// the ratio is attained exactly when numerator - v·denominator (denominator positive on the set, or
// zero at some of its points) reaches 0 at a point of the set where the denominator is positive,
// which one more quiet program on the original constraints tells (two where it reaches 0 at a zero
// of the denominator); its optimum is then a point where the ratio equals v.
void AnswerAtZeroY0(TZLPCore_Interface& data, std::int32_t n, TZLPCore_SolutionResult& report) {
  TTaskVerdict& verdict = data.Verdict;
  const bool isMax = verdict.IsMax;
  report.AddParagraph("В найденном оптимальном решении Y<sub>0</sub> = 0, поэтому обратная замена "
                      "X<sub>j</sub> = Y<sub>j</sub>/Y<sub>0</sub> в нём невозможна.");
  const TFraction f = FractionOf(data);
  if (!f.Known || !verdict.Objective) {
    report.AddLine("Для обратного преобразования нужно найти не нулевое Y<sub>0</sub>, если необходимо получить "
                   "решение исходной задачи, вернитесь и решите задачу в соответствии с этим условием.");
    return;
  }
  const TRational best = *verdict.Objective;
  const std::int32_t sign = WasNegated(f, data.Denominator) ? -1 : 1;
  TZLPCore_SubInterface_ZLP gap = f.Program;
  for (std::int32_t j = 1; j <= n; ++j)
    gap.Objective.SetItem(
        j, RatMulInt(sign, RatSub(f.Program.Objective.GetItem(j), RatMul(best, f.Den.Coeffs.GetItem(j)))));
  gap.FreeTerm = RatMulInt(sign, RatSub(f.Program.FreeTerm, RatMul(best, f.Den.FreeTerm)));
  const TQuietSolution s = SolveQuietly(gap);
  const std::string word = isMax ? "наибольшее" : "наименьшее";
  if (Stopped(s)) {
    report.AddParagraph("Выяснить, достигает ли дробь значения " + RatToStr(best) +
                        " в допустимых точках, не удалось: " + StopReason(s.Outcome) + ".");
    SetVerdict(verdict, StopStatus(s.Outcome));
    return;
  }
  bool attained = IsOptimal(s) && (isMax ? !RatLessInt(s.Value, 0) : !RatGreaterInt(s.Value, 0));
  std::vector<TRational> point = s.X;
  // Where the denominator is zero somewhere on the set, the difference may reach zero only at such
  // points, where the ratio is not defined: among the points where it does reach zero, the greatest
  // denominator (up to 1) tells whether one of them has a positive denominator.
  bool onZeroSet = false;
  if (attained && RatEqualsInt(FormValue(data.Denominator.Coeffs, data.Denominator.FreeTerm, point), 0)) {
    onZeroSet = true;
    const TQuietSolution other = GreatestUpToOne(WithRow(gap, gap.Objective, IS_EQUAL, Negated(gap.FreeTerm)),
                                                 data.Denominator.Coeffs, data.Denominator.FreeTerm);
    if (Stopped(other)) {
      report.AddParagraph("Выяснить, достигает ли дробь значения " + RatToStr(best) +
                          " в допустимых точках, не удалось: " + StopReason(other.Outcome) + ".");
      SetVerdict(verdict, StopStatus(other.Outcome));
      return;
    }
    attained = IsOptimal(other) && RatGreaterInt(other.Value, 0);
    if (attained) point = other.X;
  }
  if (attained) {
    const TRational d = FormValue(data.Denominator.Coeffs, data.Denominator.FreeTerm, point);
    const TRational y0 = RatDiv(RatFromInt(1), d);
    report.AddParagraph("Но оптимальное решение не единственно: " + word + " значение " + RatToStr(best) +
                        " дробь принимает и в допустимых точках. Такую точку найдём симплекс-методом как " +
                        (isMax ? "максимум" : "минимум") + " разности числителя и знаменателя, умноженного на " +
                        Factor(best) + ", при исходных ограничениях (этот " + (isMax ? "максимум" : "минимум") +
                        " равен нулю)" +
                        (onZeroSet ? "; в найденной так точке знаменатель равен нулю, поэтому среди точек, где эта "
                                     "разность равна нулю, возьмём точку с наибольшим знаменателем, не большим 1"
                                   : "") +
                        ". Ей отвечает другое оптимальное решение, с Y<sub>0</sub> &gt; 0:");
    std::string lines = std::string("<pre>") + CRLF + "Y<sub>0</sub> = " + RatToStr(y0) + CRLF;
    for (std::int32_t j = 1; j <= n; ++j)
      lines += "X" + std::to_string(j) + " = Y" + std::to_string(j) +
               "/Y0 = " + RatToStr(point[static_cast<std::size_t>(j - 1)]) + CRLF;
    report.AddLine(lines + "</pre>");
    if (!RatIsValid(y0) || !AnswerAt(data, f, point, report)) ReportOverflow(verdict, report);
    return;
  }
  std::string variables;
  std::string direction;
  for (std::int32_t j = 1; j <= n; ++j) {
    const std::string name = "Y" + std::to_string(j);
    variables += (j == 1 ? "" : "; ") + IndexToSub(name);
    direction += (j == 1 ? "" : "; ") + RatToStr(data.Table.ValueOf(name));
  }
  report.AddParagraph("Других оптимальных решений с Y<sub>0</sub> &gt; 0 нет: " + word + " значение дроби, " +
                      RatToStr(best) +
                      ", не достигается ни в одной допустимой точке. Дробь сколь угодно близко "
                      "подходит к нему, когда точка уходит в бесконечность по направлению (" +
                      variables + ") = (" + direction + "): точная " + (isMax ? "верхняя" : "нижняя") +
                      " грань целевой функции равна " + RatToStr(best) + ".");
  SetVerdict(verdict, TTaskStatus::NotAttained, {},
             std::string("Z<sub>") + (isMax ? "max" : "min") + "</sub> не достигается: дробь сколь угодно близко " +
                 "подходит к значению " + RatToStr(best) + ", но не принимает его ни в одной допустимой точке (" +
                 (isMax ? "sup" : "inf") + " Z = " + RatToStr(best) + ").");
  verdict.Objective = best;
}

} // namespace

TQuietSolution SolveQuietly(TZLPCore_SubInterface_ZLP program) {
  TQuietSolution s;
  const std::int32_t n = program.VarCount();
  const std::vector<std::string> names = program.VarNames();
  const bool isMax = program.IsMax;
  TZLPCore_SolutionResult scratch;
  program.ToCanonical(scratch);
  TSimplexTable table;
  if (!program.BuildTable(&table)) return s;
  TSimplexMethod method(table);
  method.Start();
  while (!method.Finished()) {
    method.Solve();
    method.Step();
  }
  if (method.Stop == TSimplexStop::Cycling) {
    s.Outcome = TQuietOutcome::Cycling;
  } else if (method.Stop == TSimplexStop::Overflow) {
    s.Outcome = TQuietOutcome::Overflow;
  } else if (table.State == SS_OPTIMAL) {
    s.Outcome = TQuietOutcome::Optimal;
    s.Value = table.GetZValue();
    if (!isMax) RatScale(s.Value, -1);
    for (std::int32_t j = 1; j <= n; ++j) s.X.push_back(table.ValueOf(names[static_cast<std::size_t>(j - 1)]));
  } else if (table.State == SS_NOSOLUTION) {
    s.Outcome = TQuietOutcome::Unbounded;
  }
  return s;
}

TFormRange FormRange(const TZLPCore_SubInterface_ZLP& zlp, const TVector& coeffs, TRational freeTerm) {
  TZLPCore_SubInterface_ZLP program = zlp;
  for (std::int32_t j = 1; j <= program.VarCount(); ++j) program.Objective.SetItem(j, coeffs.GetItem(j));
  program.FreeTerm = freeTerm;
  TFormRange range;
  program.IsMax = false;
  range.Least = SolveQuietly(program);
  program.IsMax = true;
  range.Greatest = SolveQuietly(program);
  return range;
}

bool ReadFractionalStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error) {
  if (!ReadLinearProgram(grid, data, error, -1)) return false;
  TZLPCore_SubInterface_Denominator& den = data.Denominator;
  den = TZLPCore_SubInterface_Denominator{};
  den.Coeffs.SetCount(grid.Sx);
  TRational v{0, 1};
  if (!ReadCellNumber(grid, 0, 0, v, error)) return false;
  den.FreeTerm = v;
  for (std::int32_t j = 1; j <= grid.Sx; ++j) {
    if (!ReadCellNumber(grid, j, 0, v, error)) return false;
    den.Coeffs.SetItem(j, v);
  }
  data.SetFlag(IF_DENOMINATOR);
  return true;
}

bool FractionalInputUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                         const TTaskInfo&) {
  report.Clear();
  report.AddHeading(stage.Caption);
  report.AddParagraph(sModelIntro);
  report.AddLine("<pre>");
  AddModel(report, &data.ZLP, &data.Denominator);
  report.AddLine("</pre>");
  return data.HasFlag(IF_ZLP | IF_DENOMINATOR);
}

bool SubstitutionUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                      const TTaskInfo&) {
  report.AddHeading(stage.Caption);
  if (!data.HasFlag(IF_ZLP | IF_DENOMINATOR)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  if (FormatLinearForm(data.Denominator.Coeffs, data.ZLP.VarNames(), data.Denominator.FreeTerm) == "0") {
    report.AddParagraph(sBadDenominator);
    SetVerdict(data.Verdict, TTaskStatus::BadInput, "знаменатель целевой функции тождественно равен нулю",
               "задача не решена: знаменатель целевой функции тождественно равен нулю, дробь не определена.");
    return false;
  }
  if (!PrepareDenominator(data, report)) return false;
  Substitute(data.ZLP, data.Denominator, report);
  return true;
}

bool BackSubstitutionUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                          const TTaskInfo&) {
  report.AddHeading(stage.Caption);
  if (!data.HasFlag(IF_ZLP | IF_DENOMINATOR)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  TTaskVerdict& verdict = data.Verdict;
  const std::string bound = verdict.IsMax ? "сверху" : "снизу";
  switch (verdict.Status) {
  case TTaskStatus::Optimal: break;
  case TTaskStatus::Unbounded:
    report.AddParagraph("Полученная задача линейного программирования не имеет оптимума: её целевая функция не "
                        "ограничена " +
                        bound + " на множестве допустимых решений. Значит, не ограничена " + bound +
                        " и дробь исходной задачи, обратная замена не нужна.");
    return true;
  case TTaskStatus::Infeasible:
    report.AddParagraph("Полученная задача линейного программирования не имеет допустимых решений: её система "
                        "ограничений несовместна. Значит, несовместна и система ограничений исходной задачи, "
                        "обратная замена не нужна.");
    return true;
  case TTaskStatus::Cycling:
  case TTaskStatus::Overflow:
    report.AddParagraph(
        "Симплекс-метод остановлен (" +
        StopReason(verdict.Status == TTaskStatus::Cycling ? TQuietOutcome::Cycling : TQuietOutcome::Overflow) +
        "), оптимум полученной задачи не найден, поэтому обратная замена невозможна.");
    return true;
  default:
    report.AddLine("Для обратного преобразования нужно найти не нулевое Y<sub>0</sub>, если необходимо получить "
                   "решение исходной задачи, вернитесь и решите задачу в соответствии с этим условием.");
    return true;
  }

  const TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  const std::vector<std::string>& names = zlp.VarNames();
  const auto y0Index = std::find(names.begin(), names.end(), std::string("Y0")) - names.begin();
  const auto n = static_cast<std::int32_t>(y0Index);
  const TRational y0 = data.Table.ValueOf("Y0");
  if (RatEqualsInt(y0, 0)) {
    AnswerAtZeroY0(data, n, report);
    return true;
  }
  report.AddParagraph(sBackSubstitution);
  report.AddLine(std::string("<pre>") + CRLF + "Y<sub>0</sub> = " + RatToStr(y0) + CRLF);
  // Only the student's variables come back: the added ones belong to the program in Y alone.
  std::vector<TRational> x;
  for (std::int32_t j = 1; j <= n; ++j) {
    const std::string name = zlp.GetVarName(j);
    const TRational value = RatDiv(data.Table.ValueOf(name), y0);
    std::string line = name + " = " + name + "/Y0 = ";
    line.front() = 'X';
    report.AddLine(line + RatToStr(value));
    x.push_back(value);
  }
  report.AddLine("</pre>");
  if (!AnswerAt(data, FractionOf(data), x, report)) ReportOverflow(verdict, report);
  return true;
}
