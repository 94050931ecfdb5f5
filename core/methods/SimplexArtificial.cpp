// The artificial-basis method (M-method) of the simplex method: artificial variables in the rows with
// a negative free term, estimates a + bM kept exactly as pairs of fractions, the artificial variables
// driven out of the basis, then the table of the canonical form again.
#include "SimplexMethod.h"

#include "ZLPCore_Main.h"

namespace {

std::string Num(std::int32_t v) { return std::to_string(v); }

std::string VarHtml(const std::string& name) { return IndexToSub(HtmlEscape(name)); }

} // namespace

bool TSimplexMethod::InArtificialPhase() const noexcept { return FirstArtificial != 0; }

bool TSimplexMethod::IsArtificial(std::int32_t col) const noexcept {
  return FirstArtificial != 0 && col >= FirstArtificial && col <= Table.ColCount();
}

TMValue TSimplexMethod::Delta(std::int32_t col) const {
  const TRational m = InArtificialPhase() && col >= 0 && static_cast<std::size_t>(col) < MRow.size()
                          ? MRow[static_cast<std::size_t>(col)]
                          : RatFromInt(0);
  return {Table.GetCell(col, 0), m};
}

void TSimplexMethod::StartArtificialBasis() {
  std::vector<std::int32_t> rows;
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i)
    if (RatLessInt(Table.GetB(i), 0)) rows.push_back(i);
  if (rows.empty() || Table.PivotFilter() != nullptr) return;
  const std::int32_t n = Table.ColCount();
  const auto count = static_cast<std::int32_t>(rows.size());
  Table.SetColCount(n + count);
  FirstArtificial = n + 1;
  std::string names;
  std::string sum;
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int32_t i = rows[static_cast<std::size_t>(k)];
    // The row times -1: its free term positive, its own added variable a surplus of coefficient -1.
    for (std::int32_t c = 0; c <= n; ++c) Table.SetCell(c, i, RatNeg(Table.GetCell(c, i)));
    const std::string name = "R" + Num(k + 1);
    Table.SetColName(n + 1 + k, name);
    Table.SetRowName(i, name);
    Table.SetA(n + 1 + k, i, RatFromInt(1));
    names += (names.empty() ? "" : ", ") + VarHtml(name) + " (строка " + Num(i) + ")";
    sum += (sum.empty() ? "" : " + ") + VarHtml(name);
  }
  // The cost -M of each artificial variable, made 0 in its basic column: the M part of the index
  // row is minus the sum of the artificial rows.
  MRow.assign(static_cast<std::size_t>(Table.ColCount()) + 1, RatFromInt(0));
  for (const std::int32_t i : rows)
    for (std::int32_t c = 0; c <= n; ++c)
      MRow[static_cast<std::size_t>(c)] = RatSub(MRow[static_cast<std::size_t>(c)], Table.GetCell(c, i));
  CostsM.assign(static_cast<std::size_t>(Table.ColCount()), RatFromInt(0));
  for (std::int32_t j = FirstArtificial; j <= Table.ColCount(); ++j) CostsM[static_cast<std::size_t>(j - 1)] = RatFromInt(-1);
  Costs.resize(static_cast<std::size_t>(Table.ColCount()), RatFromInt(0));
  IterationNote = "Метод искусственного базиса (M-метод). В строках с отрицательным свободным членом нет базисной "
                  "переменной: умножим их на -1 и введём искусственные переменные " +
                  names + " с коэффициентом -M в целевой функции, где M — сколь угодно большое положительное "
                          "число: Z<sub>M</sub> = Z - M(" +
                  sum + ") &#8594; Max. Оценки &Delta;<sub>j</sub> и значение Z записываются в виде a + bM; "
                        "из двух оценок меньше та, у которой меньше множитель при M, а при равных множителях — "
                        "свободная часть. Искусственные переменные выводим из базиса; когда все они выведены, "
                        "их столбцы вычёркиваем.";
}

void TSimplexMethod::PivotArtificialRow(std::int32_t col, std::int32_t row) {
  if (!InArtificialPhase()) return;
  const TRational f = MRow[static_cast<std::size_t>(col)];
  for (std::int32_t c = 0; c <= Table.ColCount(); ++c)
    if (c != col) MRow[static_cast<std::size_t>(c)] = RatSubMul(MRow[static_cast<std::size_t>(c)], f, Table.GetCell(c, row));
  MRow[static_cast<std::size_t>(col)] = RatFromInt(0);
}

void TSimplexMethod::EndArtificialPhase() {
  Table.SetColCount(FirstArtificial - 1);
  Costs.resize(static_cast<std::size_t>(Table.ColCount()));
  FirstArtificial = 0;
  MRow.clear();
  CostsM.clear();
}

bool TSimplexMethod::AnalyzeArtificial(std::int32_t& col, std::int32_t& row, std::string& why) {
  col = row = 0;
  // The entering column: the smallest estimate a + bM below zero (Bland's rule: the first one).
  for (std::int32_t j = 1; j <= Table.ColCount(); ++j) {
    if (Delta(j).Sign() >= 0) continue;
    if (col == 0 || (Rule == TPivotRule::MostNegative && Delta(j).Compare(Delta(col)) < 0)) col = j;
    if (Rule == TPivotRule::Bland) break;
  }
  if (col != 0 && RatLessInt(MRow[static_cast<std::size_t>(col)], 0)) {
    // The sum of the artificial variables can still be decreased; it is bounded below by 0, so the
    // column has a positive entry. The leaving row: the smallest ratio, an artificial row on ties.
    for (std::int32_t k = 1; k <= Table.RowCount(); ++k) {
      const TRational a = Table.GetA(col, k);
      if (!RatGreaterInt(a, 0)) continue;
      const int cmp = row == 0 ? -1 : RatCompareQuotients(Table.GetB(k), a, Table.GetB(row), Table.GetA(col, row));
      const std::int32_t basic = Table.BasicColumn(k);
      if (cmp < 0 || (cmp == 0 && IsArtificial(basic) && !IsArtificial(Table.BasicColumn(row)))) row = k;
    }
    if (row == 0) {
      col = 0;
      return false;
    }
    why = "Нашлась оценка &Delta;<sub>" + Num(col) + "</sub> = " + Delta(col).Text() + " &lt; 0 (M сколь угодно велико), и " +
          "A<sub>" + Num(row) + "," + Num(col) + "</sub>&gt;0 &rArr; необходимо выполнить симплекс преобразование";
    return true;
  }
  // No estimate with a negative multiple of M: the artificial variables are as small as they get.
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i) {
    if (!IsArtificial(Table.BasicColumn(i)) || !RatGreaterInt(Table.GetB(i), 0)) continue;
    col = row = 0;
    why = "Ни одна оценка &Delta;<sub>j</sub> не содержит отрицательного множителя при M, но искусственная переменная " +
          VarHtml(Table.GetRowName(i)) + " = " + HtmlEscape(RatToStr(Table.GetB(i))) +
          " осталась в базисе с положительным значением: уменьшить сумму искусственных переменных до нуля нельзя, "
          "поэтому система ограничений несовместна и задача не имеет допустимых решений";
    return false;
  }
  // An artificial variable basic at zero leaves by a pivot on any nonzero entry of its row: the
  // plan does not change (B = 0).
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i) {
    if (!IsArtificial(Table.BasicColumn(i))) continue;
    for (std::int32_t j = 1; j < FirstArtificial; ++j) {
      if (RatEqualsInt(Table.GetA(j, i), 0)) continue;
      col = j;
      row = i;
      why = "Искусственная переменная " + VarHtml(Table.GetRowName(i)) + " осталась в базисе с нулевым значением; "
            "выведем её, введя в базис " + VarHtml(Table.GetColName(j)) + " (B<sub>" + Num(i) +
            "</sub> = 0, поэтому план не изменится)";
      return true;
    }
    // A row with no entry outside the artificial columns reads 0 = 0: the constraint follows from
    // the others and is struck out.
    const std::string name = VarHtml(Table.GetRowName(i));
    const std::int32_t last = Table.RowCount();
    for (std::int32_t c = 0; c <= Table.ColCount(); ++c) Table.SetCell(c, i, Table.GetCell(c, last));
    Table.SetRowName(i, Table.GetRowName(last));
    Table.SetRowCount(last - 1);
    IterationNote += std::string(IterationNote.empty() ? "" : " ") + "Строка искусственной переменной " + name +
                     " обратилась в тождество 0 = 0: это ограничение следует из остальных, вычёркиваем его.";
    return AnalyzeArtificial(col, row, why);
  }
  // Every artificial variable has left the basis.
  EndArtificialPhase();
  IterationNote += std::string(IterationNote.empty() ? "" : " ") +
                   "Все искусственные переменные выведены из базиса, их столбцы вычёркиваем: получен опорный план "
                   "исходной задачи, и дальше она решается обычным симплекс-методом.";
  return false;
}
