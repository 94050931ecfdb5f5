// The verdict sentences and the answer paragraph.
#include "Verdict.h"

#include "ZLPCore_SolutionResult.h"

std::string StatusSentence(TTaskStatus status) {
  switch (status) {
  case TTaskStatus::Pending: return "решение не закончено";
  case TTaskStatus::Optimal: return "найдено оптимальное решение";
  case TTaskStatus::Unbounded: return "целевая функция не ограничена, оптимума нет";
  case TTaskStatus::Infeasible: return "система ограничений несовместна, допустимых решений нет";
  case TTaskStatus::NotAttained: return "наилучшее значение функции не достигается, к нему можно только приближаться";
  case TTaskStatus::Local:
    return "найдена точка, удовлетворяющая условиям Куна–Таккера; функция не вогнута, поэтому это не обязательно "
           "глобальный оптимум";
  case TTaskStatus::Cycling: return "симплекс-метод зациклился, решение остановлено";
  case TTaskStatus::Overflow:
    return std::string(RatBigLimitText) + ", решение остановлено";
  case TTaskStatus::Solved: return "коэффициенты найдены";
  case TTaskStatus::BadInput: return "ошибка во входных данных";
  }
  return {};
}

const char* StatusName(TTaskStatus status) {
  switch (status) {
  case TTaskStatus::Pending: return "pending";
  case TTaskStatus::Optimal: return "optimal";
  case TTaskStatus::Unbounded: return "unbounded";
  case TTaskStatus::Infeasible: return "infeasible";
  case TTaskStatus::NotAttained: return "not_attained";
  case TTaskStatus::Local: return "local";
  case TTaskStatus::Cycling: return "cycling";
  case TTaskStatus::Overflow: return "overflow";
  case TTaskStatus::Solved: return "solved";
  case TTaskStatus::BadInput: return "bad_input";
  }
  return "";
}

namespace {


// The exact value; a long one followed by its decimal approximation, "2251799813685248/58 &asymp; 3.88241e+13".
std::string ValueText(TRational v) {
  std::string text = HtmlEscape(RatToStr(v));
  if (RatIsLong(v)) text += " &asymp; " + RatToDecimal(v);
  return text;
}

// "X<sub>1</sub> = 2, X<sub>2</sub> = 6"
std::string PointText(const std::vector<TRational>& x) {
  std::string text;
  for (std::size_t j = 0; j < x.size(); ++j) text += (j == 0 ? "" : ", ") + SubscriptName("X", j + 1) + " = " + ValueText(x[j]);
  return text;
}

// "(2; 6)"
std::string VectorText(const std::vector<TRational>& x) {
  std::string text = "(";
  for (std::size_t j = 0; j < x.size(); ++j) text += (j == 0 ? "" : "; ") + ValueText(x[j]);
  return text + ")";
}

} // namespace

std::string AnswerText(const TTaskVerdict& verdict) {
  if (!verdict.Answer.empty()) return verdict.Answer;
  const std::string z = std::string("Z<sub>") + (verdict.IsMax ? "max" : "min") + "</sub>";
  switch (verdict.Status) {
  case TTaskStatus::Optimal:
  case TTaskStatus::Local:
    if (verdict.Objective) {
      std::string text = z + " = " + ValueText(*verdict.Objective);
      if (!verdict.X.empty()) text += " при " + PointText(verdict.X);
      if (verdict.Status == TTaskStatus::Optimal && verdict.SecondX.size() == verdict.X.size() && !verdict.X.empty())
        text += verdict.SecondIsRay
                    ? "; оптимум не единственный: то же значение функция принимает во всех точках луча X = " +
                          VectorText(verdict.X) + " + t&middot;" + VectorText(verdict.SecondX) + ", t &ge; 0"
                    : "; оптимум не единственный: то же значение функция принимает и при " + PointText(verdict.SecondX) +
                          ", и во всех точках отрезка X = &lambda;&middot;" + VectorText(verdict.X) +
                          " + (1 &minus; &lambda;)&middot;" + VectorText(verdict.SecondX) + ", 0 &le; &lambda; &le; 1";
      if (verdict.Status == TTaskStatus::Local) text += " (" + StatusSentence(verdict.Status) + ")";
      return text;
    }
    break;
  case TTaskStatus::Unbounded:
    return std::string("целевая функция не ограничена ") + (verdict.IsMax ? "сверху" : "снизу") +
           " на множестве допустимых решений, оптимума нет.";
  case TTaskStatus::Infeasible: return "система ограничений несовместна: допустимых решений нет.";
  case TTaskStatus::Cycling: return "решение остановлено: симплекс-метод зациклился, ответ не получен.";
  case TTaskStatus::Overflow:
    return std::string("решение остановлено: ") + RatBigLimitText + ", точный ответ не получен.";
  default: break;
  }
  return StatusSentence(verdict.Status) + ".";
}

void AddAnswer(TZLPCore_SolutionResult& report, const TTaskVerdict& verdict) {
  report.AddParagraph("<b>Ответ:</b> " + AnswerText(verdict));
}
