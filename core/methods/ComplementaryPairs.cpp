// The complementary pairs of the quadratic method as a rule over the simplex step's pivots.
#include "ComplementaryPairs.h"

namespace {

// "Переменная X<sub>1</sub> ..." or "Переменные X<sub>1</sub>, V<sub>2</sub> ...", by number.
std::string Listed(const std::vector<std::string>& names, const std::string& one, const std::string& many) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return (names.size() == 1 ? "Переменная " : "Переменные ") + list + (names.size() == 1 ? one : many);
}

} // namespace

TComplementaryPairs::TComplementaryPairs(const std::vector<std::pair<std::string, std::string>>& pairs) {
  for (const auto& [first, second] : pairs) {
    if (first == second) continue;
    Partner[first] = second;
    Partner[second] = first;
  }
}

std::string TComplementaryPairs::PartnerOf(const std::string& name) const {
  const auto it = Partner.find(name);
  return it == Partner.end() ? std::string() : it->second;
}

bool TComplementaryPairs::Allows(const TSimplexTable& table, std::int32_t col, std::int32_t row) const {
  if (col < 1 || col > table.ColCount()) return true;
  const std::string partner = PartnerOf(table.GetColName(col));
  if (partner.empty()) return true;
  const std::int32_t basicRow = table.RowOf(partner);
  return basicRow == 0 || basicRow == row;
}

std::int32_t TComplementaryPairs::TieRow(const TSimplexTable& table, std::int32_t enter) const {
  if (enter < 1 || enter > table.ColCount()) return 0;
  const std::string partner = PartnerOf(table.GetColName(enter));
  return partner.empty() ? 0 : table.RowOf(partner);
}

std::string TComplementaryPairs::Refusal(const TSimplexTable& table, std::int32_t col) const {
  const std::string partner = PartnerOf(table.GetColName(col));
  return "Переменную " + table.GetColName(col) + " нельзя ввести в базис этим преобразованием: в базисе её пара " +
         partner +
         ", а выводится другая переменная. По условию дополняющей нежёсткости переменные одной пары не "
         "могут быть в базисе одновременно. Выберите другой столбец или строку переменной " +
         partner + ".";
}

std::string TComplementaryPairs::Blocked(const std::vector<std::string>& names) const {
  return Listed(names, " в базис не вводится: в базисе её пара", " в базис не вводятся: в базисе их пары") +
         " (условие дополняющей нежёсткости)";
}

std::string TComplementaryPairs::Stopped(const std::vector<std::string>& names) const {
  return Listed(names, " могла бы улучшить таблицу, но в базисе находится её пара, и ввести её нельзя",
                " могли бы улучшить таблицу, но в базисе находятся их пары, и ввести их нельзя") +
         ": по условию дополняющей нежёсткости переменные одной пары не могут быть в базисе одновременно. "
         "Вычисления симплекс-методом закончены";
}

std::string TComplementaryPairs::StoppedHint() const {
  return "Дальнейшие преобразования нарушили бы условие дополняющей нежёсткости. Нажмите «Далее», чтобы "
         "просмотреть результат";
}

std::string TComplementaryPairs::FirstAllowedColumn() const {
  return "первого столбца, который допускает условие дополняющей нежёсткости,";
}
