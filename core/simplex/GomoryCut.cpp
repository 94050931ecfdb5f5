// The cut rows of the simplex table.
#include "GomoryCut.h"

#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

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

} // namespace

TRational FractionalPart(TRational v) { return FracPart(v); }

std::int32_t ChooseCutSource(const TSimplexTable& table) {
  std::int32_t best = 0;
  TRational bestFrac{0, 1};
  for (std::int32_t i = 1; i <= table.RowCount(); ++i) {
    const std::string& name = table.GetRowName(i);
    if (std::find(table.IntegerVars.begin(), table.IntegerVars.end(), name) == table.IntegerVars.end()) continue;
    const TRational b = table.GetB(i);
    if (!RatIsValid(b) || RatIsInteger(b)) continue;
    const TRational f = FracPart(b);
    if (best == 0 || RatCompare(f, bestFrac) > 0) {
      best = i;
      bestFrac = f;
    }
  }
  return best;
}

std::int32_t ChooseLexicographicCutSource(const TSimplexTable& table, bool integerObjective,
                                          const TIntegerColumns& integer) {
  if (const TRational z = table.GetCell(0, 0); integerObjective && RatIsValid(z) && !RatIsInteger(z)) return 0;
  for (const std::string& name : table.LexOrder) {
    const std::int32_t i = table.RowOf(name);
    if (i == 0) continue;
    const TRational b = table.GetB(i);
    if (!RatIsValid(b) || RatIsInteger(b)) continue;
    if (integer.count(name) != 0) return i;
    break;
  }
  return ChooseCutSource(table);
}

bool NegatedCutRow(const TSimplexTable& table, std::int32_t s) {
  if (s < 1 || s > table.RowCount()) return false;
  return std::find(table.LexOrder.begin(), table.LexOrder.end(), table.GetRowName(s)) != table.LexOrder.end();
}

bool IntegerObjectiveRow(const TSimplexTable& table, const TIntegerColumns& integer) {
  if (!IsInteger(table.GetCell(0, 0))) return false;
  for (std::int32_t j = 1; j <= table.ColCount(); ++j) {
    const TRational z = table.GetCell(j, 0);
    if (z.Num == 0 && z.Den != 0) continue;
    if (!IsInteger(z) || integer.count(table.GetColName(j)) == 0) return false;
  }
  return true;
}

std::vector<std::string> RemoveInactiveCuts(TSimplexTable& table, std::int32_t made, const std::string& keep) {
  std::vector<std::string> removed;
  for (std::int32_t i = 1; i <= table.RowCount();) {
    const std::string name = table.GetRowName(i);
    bool cut = false;
    if (name != keep && name.size() > 1 && name.size() < 10 && name[0] == 'Y' &&
        name.find_first_not_of("0123456789", 1) == std::string::npos) {
      const long k = std::stol(name.substr(1));
      cut = k >= 1 && k <= made;
    }
    if (!cut) {
      ++i;
      continue;
    }
    table.RemoveBasicRow(i);
    removed.push_back(name);
  }
  return removed;
}

TVariableForms FirstForms(const TSimplexTable& table) {
  TVariableForms forms;
  std::vector<bool> basic(static_cast<std::size_t>(table.ColCount()) + 1, false);
  for (std::int32_t i = 1; i <= table.RowCount(); ++i) basic[static_cast<std::size_t>(table.BasicColumn(i))] = true;
  for (std::int32_t j = 1; j <= table.ColCount(); ++j)
    if (!basic[static_cast<std::size_t>(j)]) forms.Base.push_back(table.GetColName(j));
  const std::size_t k = forms.Base.size();
  for (std::size_t b = 0; b < k; ++b) {
    std::vector<mpq_class> f(k + 1);
    f[b + 1] = 1;
    forms.Forms[forms.Base[b]] = std::move(f);
  }
  for (std::int32_t i = 1; i <= table.RowCount(); ++i) static_cast<void>(AddRowForm(forms, table, i));
  return forms;
}

bool AddRowForm(TVariableForms& forms, const TSimplexTable& table, std::int32_t i) {
  const std::int32_t basic = table.BasicColumn(i);
  if (basic == 0) return false;
  std::vector<mpq_class> f(forms.Base.size() + 1);
  f[0] = table.GetExact(0, i);
  for (std::int32_t j = 1; j <= table.ColCount(); ++j) {
    if (j == basic) continue;
    const mpq_class a = table.GetExact(j, i);
    if (a == 0) continue;
    const auto it = forms.Forms.find(table.GetColName(j));
    if (it == forms.Forms.end()) return false;
    for (std::size_t t = 0; t < f.size(); ++t) f[t] -= a * it->second[t];
  }
  forms.Forms[table.GetColName(basic)] = std::move(f);
  return true;
}

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

void AppendCut(TSimplexTable& table, std::int32_t s, const std::string& name, TIntegerColumns& integer, bool negated) {
  if (s < 0 || s > table.RowCount()) return;
  if (negated) {
    // The cut of the row multiplied by -1: the row is negated for the cut and restored after it.
    const auto negate = [&table, s] {
      for (std::int32_t c = 0; c <= table.ColCount(); ++c) table.SetCell(c, s, RatNeg(table.GetCell(c, s)));
    };
    negate();
    AppendCut(table, s, name, integer, false);
    negate();
    return;
  }
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
         " отсечений Гомори. Это предел, который программа ставит, чтобы решение не заняло слишком много времени "
         "и памяти (правило метода его не требует), поэтому решение остановлено: целочисленное решение не найдено";
}

std::string CutsCount(std::int32_t cuts) { return CountText(cuts, "отсечения", "отсечений", "отсечений"); }

std::string CutDigitsSentence(const std::string& variable, std::int32_t cuts, std::size_t digits) {
  return "переменная " + variable + " всё ещё не целочисленна после " + CutsCount(cuts) +
         " Гомори, а числа таблицы выросли до " + std::to_string(digits) +
         " десятичных знаков. Это предел, который программа ставит, чтобы решение не заняло слишком много времени "
         "и памяти: для задачи с непрерывными переменными метод Гомори не обязан заканчиваться, поэтому решение "
         "остановлено. Такую задачу решает метод ветвей и границ";
}

std::string CutDigitsHint(std::int32_t cuts, std::size_t digits) {
  return "После " + CutsCount(cuts) + " Гомори числа таблицы выросли до " + std::to_string(digits) +
         " знаков (предел, поставленный ради времени и памяти): решение остановлено. Выберите метод ветвей и "
         "границ. Нажмите «Далее», чтобы просмотреть подробности";
}

std::string CutDigitsMessage(std::int32_t cuts, std::size_t digits) {
  return "после " + CutsCount(cuts) + " Гомори числа выросли до " + std::to_string(digits) +
         " знаков, целочисленное решение не найдено, решение остановлено";
}

std::string CutLimitHint(std::int32_t limit) {
  return "Построено " + std::to_string(limit) +
         " отсечений Гомори (предел, поставленный ради времени и памяти), а целочисленное решение не найдено: "
         "решение остановлено. Нажмите «Далее», чтобы просмотреть подробности";
}

std::string DualRuleNote() {
  return "Отрицательный свободный член строки отсечения устраняется лексикографическим двойственным "
         "симплекс-методом: из базиса выводится переменная строки с наименьшим B<sub>i</sub>&lt;0, а в базис "
         "вводится переменная с наименьшим отношением C<sub>j</sub>/|A<sub>i,j</sub>| среди A<sub>i,j</sub>&lt;0 "
         "этой строки, поэтому все C<sub>j</sub> остаются неотрицательными. При равных отношениях сравниваются "
         "столбцы целиком, в порядке переменных, небазисных перед первым отсечением: выбирается столбец, "
         "лексикографически наименьший после деления на |A<sub>i,j</sub>|. С этим правилом таблицы не "
         "повторяются, и для ограниченной задачи с целыми данными метод Гомори заканчивается за конечное число "
         "отсечений";
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
  return "Задача не имеет целочисленных решений. Нажмите «Далее», чтобы просмотреть подробности";
}
