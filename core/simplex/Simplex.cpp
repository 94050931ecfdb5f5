// Simplex table: pivot rules, pivoting, Gomory cuts and the HTML rendering of a tableau.
#include "Simplex.h"

#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<std::int64_t> Pivots{0};

std::string StripSub(std::string name) {
  for (const std::string tag : {"<sub>", "</sub>"}) {
    for (auto pos = name.find(tag); pos != std::string::npos; pos = name.find(tag, pos)) name.erase(pos, tag.size());
  }
  return name;
}

} // namespace

TSimplexTable::TSimplexTable() { Cells.Resize(1, 1); }

void TSimplexTable::SetRowCount(std::int32_t m) {
  m = std::max(m, 0);
  // Rows follow one another: the cells of the rows kept keep their places.
  if (!Big.empty()) Big.resize(static_cast<std::size_t>(FColCount + 1) * static_cast<std::size_t>(m + 1));
  Cells.Resize(FColCount + 1, m + 1);
  FRowCount = m;
  FRowNames.resize(static_cast<std::size_t>(m));
}

void TSimplexTable::SetColCount(std::int32_t n) {
  n = std::max(n, 0);
  if (!Big.empty()) {
    std::vector<mpq_class> fresh(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(FRowCount + 1));
    const std::int32_t keep = std::min(n, FColCount);
    for (std::int32_t r = 0; r <= FRowCount; ++r)
      for (std::int32_t c = 0; c <= keep; ++c)
        fresh[static_cast<std::size_t>(c) + static_cast<std::size_t>(r) * static_cast<std::size_t>(n + 1)] =
            std::move(Big[Index(c, r)]);
    Big = std::move(fresh);
  }
  Cells.Resize(n + 1, FRowCount + 1);
  FColCount = n;
  FColNames.resize(static_cast<std::size_t>(n));
}

std::string TSimplexTable::GetRowName(std::int32_t i) const {
  if (i < 1 || i > FRowCount) return {};
  return FRowNames[static_cast<std::size_t>(i - 1)];
}

void TSimplexTable::SetRowName(std::int32_t i, const std::string& s) {
  if (i < 1 || i > FRowCount) return;
  FRowNames[static_cast<std::size_t>(i - 1)] = s;
}

std::string TSimplexTable::GetColName(std::int32_t j) const {
  if (j < 1 || j > FColCount) return {};
  return FColNames[static_cast<std::size_t>(j - 1)];
}

void TSimplexTable::SetColName(std::int32_t j, const std::string& s) {
  if (j < 1 || j > FColCount) return;
  FColNames[static_cast<std::size_t>(j - 1)] = s;
}

TRational TSimplexTable::GetCell(std::int32_t col, std::int32_t row) const noexcept {
  const TRational v = Cells.GetItem(col + 1, row + 1);
  if (RatIsBig(v)) return RatFromMpq(Big[Index(col, row)]);
  return v;
}

void TSimplexTable::SetCell(std::int32_t col, std::int32_t row, TRational v) noexcept {
  if (col < 0 || col > FColCount || row < 0 || row > FRowCount) return;
  if (RatIsBig(v) && Big.empty()) MakeBig();
  if (Big.empty()) {
    At(col, row) = v;
    return;
  }
  Big[Index(col, row)] = RatToMpq(v);
  At(col, row) = RatIsBig(v) ? TRational{RatSign(v), RatBigDen} : v;
}

mpq_class TSimplexTable::GetExact(std::int32_t col, std::int32_t row) const {
  if (col < 0 || col > FColCount || row < 0 || row > FRowCount) return 0;
  if (!Big.empty()) return Big[Index(col, row)];
  return RatToMpq(At(col, row));
}

std::int64_t TSimplexTable::PivotsMade() noexcept { return Pivots.load(std::memory_order_relaxed); }

bool TSimplexTable::LessAt(std::int32_t c1, std::int32_t r1, std::int32_t c2, std::int32_t r2) const {
  const TRational a = At(c1, r1);
  const TRational b = At(c2, r2);
  if (!RatIsBig(a) && !RatIsBig(b)) return RatLess(a, b);
  return Big[Index(c1, r1)] < Big[Index(c2, r2)];
}

int TSimplexTable::CompareQuotientsAt(std::int32_t b1, std::int32_t a1, std::int32_t row1, std::int32_t b2,
                                      std::int32_t a2, std::int32_t row2) const {
  const TRational vb1 = At(b1, row1);
  const TRational va1 = At(a1, row1);
  const TRational vb2 = At(b2, row2);
  const TRational va2 = At(a2, row2);
  if (!RatIsBig(vb1) && !RatIsBig(va1) && !RatIsBig(vb2) && !RatIsBig(va2))
    return RatCompareQuotients(vb1, va1, vb2, va2);
  const int c = cmp(Big[Index(b1, row1)] / Big[Index(a1, row1)], Big[Index(b2, row2)] / Big[Index(a2, row2)]);
  return (c > 0) - (c < 0);
}

int TSimplexTable::CompareZQuotients(std::int32_t j, std::int32_t k, std::int32_t row) const {
  const TRational zj = At(j, 0);
  const TRational aj = At(j, row);
  const TRational zk = At(k, 0);
  const TRational ak = At(k, row);
  if (!RatIsBig(zj) && !RatIsBig(aj) && !RatIsBig(zk) && !RatIsBig(ak)) return RatCompareQuotients(zj, aj, zk, ak);
  const int c = cmp(Big[Index(j, 0)] / Big[Index(j, row)], Big[Index(k, 0)] / Big[Index(k, row)]);
  return (c > 0) - (c < 0);
}

void TSimplexTable::MakeBig() {
  const std::size_t total = static_cast<std::size_t>(FColCount + 1) * static_cast<std::size_t>(FRowCount + 1);
  Big.assign(total, mpq_class());
  const TRational* d = Cells.Data();
  for (std::size_t i = 0; i < total; ++i)
    if (RatIsSmall(d[i])) Big[i] = RatToMpq(d[i]);
}

void TSimplexTable::RefreshFromBig() {
  TRational* d = Cells.Data();
  bool big = false;
  for (std::size_t i = 0; i < Big.size(); ++i) {
    const mpq_class& q = Big[i];
    if (MpqFits(q)) {
      d[i] = MpqToSmall(q);
    } else if (!MpqWithinLimits(q)) {
      d[i] = {1, 0};
    } else {
      d[i] = {sgn(q), RatBigDen};
      big = true;
    }
  }
  if (!big) Big.clear();
}

void TSimplexTable::PivotBig(std::int32_t col, std::int32_t row, const mpq_class& p, std::int32_t fromCol,
                             std::int32_t fromRow) {
  const std::int32_t width = FColCount + 1;
  mpq_class* pivotRow = &Big[Index(0, row)];
  if (fromRow == row) {
    for (std::int32_t c = fromCol; c < width; ++c)
      if (c != col) pivotRow[c] /= p;
    pivotRow[col] = 1;
    fromRow = 0;
    fromCol = 0;
  }
  mpq_class product;
  for (std::int32_t r = fromRow; r <= FRowCount; ++r) {
    if (r == row) continue;
    mpq_class* cells = &Big[Index(0, r)];
    const mpq_class f = cells[col];
    if (sgn(f) == 0) continue;
    for (std::int32_t c = r == fromRow ? fromCol : 0; c < width; ++c) {
      if (c == col || sgn(pivotRow[c]) == 0) continue;
      mpq_mul(product.get_mpq_t(), pivotRow[c].get_mpq_t(), f.get_mpq_t());
      cells[c] -= product;
    }
    cells[col] = 0;
  }
}

TRational TSimplexTable::GetA(std::int32_t col, std::int32_t row) const noexcept {
  if (col == 0 || row == 0) return {0, 1};
  return GetCell(col, row);
}

void TSimplexTable::SetA(std::int32_t col, std::int32_t row, TRational v) noexcept {
  if (col == 0 || row == 0) return;
  SetCell(col, row, v);
}

TRational TSimplexTable::GetB(std::int32_t row) const noexcept {
  if (row == 0) return {0, 1};
  return GetCell(0, row);
}

void TSimplexTable::SetB(std::int32_t row, TRational v) noexcept {
  if (row == 0) return;
  SetCell(0, row, v);
}

TRational TSimplexTable::GetZ(std::int32_t col) const noexcept {
  if (col == 0) return {0, 1};
  return GetCell(col, 0);
}

void TSimplexTable::SetZ(std::int32_t col, TRational v) noexcept {
  if (col == 0) return;
  SetCell(col, 0, v);
}

std::int32_t TSimplexTable::RowOf(const std::string& name) const {
  const auto it = std::find(FRowNames.begin(), FRowNames.end(), StripSub(name));
  return it == FRowNames.end() ? 0 : static_cast<std::int32_t>(it - FRowNames.begin()) + 1;
}

TRational TSimplexTable::ValueOf(const std::string& name) const {
  const std::int32_t row = RowOf(name);
  return row == 0 ? TRational{0, 1} : GetB(row);
}

std::int32_t TSimplexTable::BasicColumn(std::int32_t i) const {
  if (i < 1 || i > FRowCount) return 0;
  const auto it = std::find(FColNames.begin(), FColNames.end(), FRowNames[static_cast<std::size_t>(i - 1)]);
  return it == FColNames.end() ? 0 : static_cast<std::int32_t>(it - FColNames.begin()) + 1;
}

void TSimplexTable::NormalizeBasis() {
  for (std::int32_t i = 1; i <= FRowCount; ++i) {
    const std::int32_t j = BasicColumn(i);
    if (j == 0) continue;
    for (std::int32_t r = 0; r <= FRowCount; ++r) SetCell(j, r, r == i ? TRational{1, 1} : TRational{0, 1});
  }
}

void TSimplexTable::OrderByNonBasic() {
  LexOrder.clear();
  for (std::int32_t j = 1; j <= FColCount; ++j)
    if (RowOf(GetColName(j)) == 0) LexOrder.push_back(GetColName(j));
}

std::vector<std::int32_t> TSimplexTable::LexPlaces() const {
  std::vector<std::int32_t> where;
  where.reserve(LexOrder.size());
  for (const std::string& name : LexOrder) {
    if (const std::int32_t r = RowOf(name); r != 0) {
      where.push_back(r);
      continue;
    }
    const auto it = std::find(FColNames.begin(), FColNames.end(), name);
    where.push_back(it == FColNames.end() ? 0 : -static_cast<std::int32_t>(it - FColNames.begin()) - 1);
  }
  return where;
}

mpq_class TSimplexTable::LexEntry(std::int32_t col, std::int32_t where) const {
  if (where > 0) return -GetExact(col, where);
  return where < 0 && -where == col ? mpq_class(1) : mpq_class(0);
}

int TSimplexTable::CompareLexColumns(std::int32_t j, std::int32_t k, std::int32_t row,
                                     const std::vector<std::int32_t>& where) const {
  // v(j)/|a(j)| < v(k)/|a(k)| reads v(j) |a(k)| < v(k) |a(j)|.
  const mpq_class aj = abs(GetExact(j, row));
  const mpq_class ak = abs(GetExact(k, row));
  const auto compare = [&](const mpq_class& x, const mpq_class& y) {
    const int c = cmp(x * ak, y * aj);
    return (c > 0) - (c < 0);
  };
  if (const int c = compare(GetExact(j, 0), GetExact(k, 0)); c != 0) return c;
  for (const std::int32_t w : where)
    if (const int c = compare(LexEntry(j, w), LexEntry(k, w)); c != 0) return c;
  return j < k ? -1 : j > k ? 1 : 0;
}

TSimplexState TSimplexTable::AnalyzeLexicographic(std::int32_t& col, std::int32_t& row) const {
  std::int32_t leave = 0;
  for (std::int32_t i = 1; i <= FRowCount; ++i)
    if (SignAt(0, i) < 0 && (leave == 0 || LessAt(0, i, 0, leave))) leave = i;
  if (leave == 0) return SS_OPTIMAL;
  const std::vector<std::int32_t> where = LexPlaces();
  std::int32_t enter = 0;
  for (std::int32_t j = 1; j <= FColCount; ++j) {
    if (SignAt(j, leave) >= 0) continue;
    if (enter == 0 || CompareLexColumns(j, enter, leave, where) < 0) enter = j;
  }
  if (enter == 0) return SS_MANYSOLUTIONS;
  col = enter;
  row = leave;
  return SS_NEGATIVEB;
}

TSimplexState TSimplexTable::Analyze(std::int32_t& col, std::int32_t& row, TPivotRule rule,
                                     TFeasibilityRule feasibility) const {
  if (Filter != nullptr) return AnalyzeFiltered(col, row, rule, feasibility);
  col = 0;
  row = 0;
  if (feasibility == TFeasibilityRule::DualLexicographic) {
    bool dualFeasible = true;
    for (std::int32_t j = 1; j <= FColCount && dualFeasible; ++j) dualFeasible = SignAt(j, 0) >= 0;
    // Outside a dual feasible table the rule has no meaning: Bland's rule of the dual method then.
    if (dualFeasible) {
      const TSimplexState state = AnalyzeLexicographic(col, row);
      if (state != SS_OPTIMAL) return state;
    } else {
      feasibility = TFeasibilityRule::DualBland;
    }
  }
  if (feasibility == TFeasibilityRule::DualBland) {
    std::int32_t leave = 0;
    std::int32_t leaveIndex = 0;
    for (std::int32_t i = 1; i <= FRowCount; ++i) {
      if (SignAt(0, i) >= 0) continue;
      const std::int32_t basic = BasicColumn(i);
      const std::int32_t index = basic == 0 ? FColCount + i : basic;
      if (leave == 0 || index < leaveIndex) {
        leave = i;
        leaveIndex = index;
      }
    }
    if (leave != 0) {
      bool dualFeasible = true;
      for (std::int32_t j = 1; j <= FColCount && dualFeasible; ++j) dualFeasible = SignAt(j, 0) >= 0;
      std::int32_t enter = 0;
      for (std::int32_t j = 1; j <= FColCount; ++j) {
        if (SignAt(j, leave) >= 0) continue;
        // Z(j) / |a| < Z(enter) / |a(enter)| with both a < 0 reads Z(j) / a > Z(enter) / a(enter).
        if (enter == 0 || (dualFeasible && CompareZQuotients(j, enter, leave) > 0)) enter = j;
      }
      if (enter == 0) return SS_MANYSOLUTIONS;
      col = enter;
      row = leave;
      return SS_NEGATIVEB;
    }
  }
  bool negativeB = false;
  for (std::int32_t i = 1; i <= FRowCount; ++i) {
    if (SignAt(0, i) >= 0) continue;
    negativeB = true;
    for (std::int32_t j = 1; j <= FColCount; ++j) {
      if (SignAt(j, i) < 0) {
        col = j;
        row = i;
        return SS_NEGATIVEB;
      }
    }
  }
  if (negativeB) return SS_MANYSOLUTIONS;

  std::int32_t enter = 0;
  for (std::int32_t j = 1; j <= FColCount; ++j) {
    if (SignAt(j, 0) >= 0) continue;
    if (enter == 0 || (rule == TPivotRule::MostNegative && LessAt(j, 0, enter, 0))) enter = j;
    if (rule == TPivotRule::Bland) break;
  }
  if (enter == 0) return SS_OPTIMAL;

  std::int32_t leave = 0;
  for (std::int32_t k = 1; k <= FRowCount; ++k) {
    if (SignAt(enter, k) <= 0) continue;
    const int cmp = leave == 0 ? -1 : CompareQuotientsAt(0, enter, k, 0, enter, leave);
    bool take = cmp < 0;
    if (cmp == 0 && rule == TPivotRule::Bland) {
      const std::int32_t mine = BasicColumn(k);
      const std::int32_t theirs = BasicColumn(leave);
      take = mine != 0 && (theirs == 0 || mine < theirs);
    }
    if (take) leave = k;
  }
  col = enter;
  if (leave == 0) return SS_NOSOLUTION;
  row = leave;
  return SS_PIVOT;
}

bool TSimplexTable::Allows(std::int32_t col, std::int32_t row) const {
  return Filter == nullptr || Filter->Allows(*this, col, row);
}

bool TSimplexTable::StoppedByFilter() const {
  if (Filter == nullptr) return false;
  for (std::int32_t i = 1; i <= FRowCount; ++i)
    if (SignAt(0, i) < 0) return true;
  for (std::int32_t j = 1; j <= FColCount; ++j)
    if (SignAt(j, 0) < 0) return true;
  return false;
}

TSimplexTable::TPivotBreak TSimplexTable::PivotBreak(std::int32_t col, std::int32_t row) const {
  if (col < 1 || col > FColCount || row < 1 || row > FRowCount) return TPivotBreak::None;
  for (std::int32_t k = 1; k <= FRowCount; ++k)
    if (SignAt(0, k) < 0) return TPivotBreak::None; // the plan is infeasible already
  const int a = SignAt(col, row);
  if (a < 0) return SignAt(0, row) > 0 ? TPivotBreak::Negative : TPivotBreak::None;
  if (a == 0) return TPivotBreak::None;
  for (std::int32_t k = 1; k <= FRowCount; ++k)
    if (k != row && SignAt(col, k) > 0 && CompareQuotientsAt(0, col, k, 0, col, row) < 0) return TPivotBreak::Ratio;
  return TPivotBreak::None;
}

std::int32_t TSimplexTable::LeavingRow(std::int32_t enter, TPivotRule rule) const {
  // On a tie the row the filter prefers leaves.
  const std::int32_t preferred = Filter == nullptr ? 0 : Filter->TieRow(*this, enter);
  std::int32_t leave = 0;
  for (std::int32_t k = 1; k <= FRowCount; ++k) {
    if (SignAt(enter, k) <= 0) continue;
    const int cmp = leave == 0 ? -1 : CompareQuotientsAt(0, enter, k, 0, enter, leave);
    bool take = cmp < 0;
    if (cmp == 0) {
      if (k == preferred) {
        take = true;
      } else if (leave != preferred && rule == TPivotRule::Bland) {
        const std::int32_t mine = BasicColumn(k);
        const std::int32_t theirs = BasicColumn(leave);
        take = mine != 0 && (theirs == 0 || mine < theirs);
      }
    }
    if (take) leave = k;
  }
  return leave;
}

TSimplexState TSimplexTable::AnalyzeFiltered(std::int32_t& col, std::int32_t& row, TPivotRule rule,
                                             TFeasibilityRule feasibility) const {
  col = 0;
  row = 0;
  // Rows with B < 0 in the order the rule takes them: top down, or by the index of their basic
  // variable under the dual Bland rule.
  std::vector<std::int32_t> rows;
  for (std::int32_t i = 1; i <= FRowCount; ++i)
    if (SignAt(0, i) < 0) rows.push_back(i);
  const bool dual = feasibility == TFeasibilityRule::DualBland;
  if (dual) {
    const auto index = [this](std::int32_t i) {
      const std::int32_t basic = BasicColumn(i);
      return basic == 0 ? FColCount + i : basic;
    };
    std::sort(rows.begin(), rows.end(), [&index](std::int32_t a, std::int32_t b) { return index(a) < index(b); });
  }
  bool dualFeasible = true;
  for (std::int32_t j = 1; j <= FColCount && dualFeasible; ++j) dualFeasible = SignAt(j, 0) >= 0;
  bool proof = false; // a row with B < 0 and no negative coefficient: no solution at all
  for (const std::int32_t i : rows) {
    bool any = false;
    std::int32_t enter = 0;
    for (std::int32_t j = 1; j <= FColCount; ++j) {
      if (SignAt(j, i) >= 0) continue;
      any = true;
      if (!Allows(j, i)) continue;
      if (enter == 0 || (dual && dualFeasible && CompareZQuotients(j, enter, i) > 0)) enter = j;
      if (!dual) break;
    }
    proof = proof || !any;
    if (enter != 0) {
      col = enter;
      row = i;
      return SS_NEGATIVEB;
    }
  }
  if (!rows.empty()) return proof ? SS_MANYSOLUTIONS : SS_OPTIMAL;

  std::vector<std::int32_t> candidates;
  for (std::int32_t j = 1; j <= FColCount; ++j)
    if (SignAt(j, 0) < 0) candidates.push_back(j);
  if (rule == TPivotRule::MostNegative)
    std::stable_sort(candidates.begin(), candidates.end(),
                     [this](std::int32_t a, std::int32_t b) { return LessAt(a, 0, b, 0); });
  for (const std::int32_t enter : candidates) {
    const std::int32_t leave = LeavingRow(enter, rule);
    if (!Allows(enter, leave)) continue;
    col = enter;
    row = leave;
    return leave == 0 ? SS_NOSOLUTION : SS_PIVOT;
  }
  return SS_OPTIMAL;
}

void TSimplexTable::Pivot(std::int32_t col, std::int32_t row) {
  if (col < 1 || col > FColCount || row < 1 || row > FRowCount) return;
  const TRational p = At(col, row);
  if (!RatIsValid(p) || p.Num == 0) return;
  Pivots.fetch_add(1, std::memory_order_relaxed);
  FRowNames[static_cast<std::size_t>(row - 1)] = FColNames[static_cast<std::size_t>(col - 1)];
  if (!Big.empty()) {
    const mpq_class exact = Big[Index(col, row)];
    PivotBig(col, row, exact, 0, row);
    RefreshFromBig();
    return;
  }
  // On plain fractions while every result fits; the first that does not hands the rest of the
  // pivot, from that cell on, to GMP fractions. An invalid operand leaves the cell invalid.
  const auto spill = [&](std::int32_t c, std::int32_t r) {
    MakeBig();
    PivotBig(col, row, RatToMpq(p), c, r);
    RefreshFromBig();
  };
  const std::int32_t width = FColCount + 1;
  TRational* pivotRow = &At(0, row);
  for (std::int32_t c = 0; c < width; ++c) {
    if (c == col) continue;
    const TRational v = RatDivFit(pivotRow[c], p);
    if (v.Den == 0) [[unlikely]] {
      if (RatIsValid(pivotRow[c])) return spill(c, row);
    }
    pivotRow[c] = v;
  }
  pivotRow[col] = {1, 1};
  for (std::int32_t r = 0; r <= FRowCount; ++r) {
    if (r == row) continue;
    TRational* cells = &At(0, r);
    const TRational f = cells[col];
    if (f.Num == 0 && f.Den != 0) continue; // subtracting a zero multiple leaves the row as it is
    for (std::int32_t c = 0; c < width; ++c) {
      if (c == col) continue;
      const TRational v = RatSubMulFit(cells[c], pivotRow[c], f);
      if (v.Den == 0) [[unlikely]] {
        if (RatIsValid(cells[c]) && RatIsValid(pivotRow[c]) && RatIsValid(f)) return spill(c, r);
      }
      cells[c] = v;
    }
    cells[col] = {0, 1};
  }
}

void TSimplexTable::AppendGomoryCut(std::int32_t s, const std::string& name) {
  if (s < 0 || s > FRowCount) return;
  SetRowCount(FRowCount + 1);
  SetColCount(FColCount + 1);
  const std::int32_t m = FRowCount;
  const std::int32_t n = FColCount;
  SetColName(n, name);
  SetRowName(m, name);
  if (Big.empty()) {
    for (std::int32_t c = 0; c <= n; ++c) At(c, m) = RatNegFrac(At(c, s));
    At(n, m) = {1, 1};
    return;
  }
  for (std::int32_t c = 0; c <= n; ++c) {
    const mpq_class& v = Big[Index(c, s)];
    mpz_class rest;
    mpz_fdiv_r(rest.get_mpz_t(), v.get_num_mpz_t(), v.get_den_mpz_t());
    Big[Index(c, m)] = mpq_class(-rest, v.get_den());
  }
  Big[Index(n, m)] = 1;
  RefreshFromBig();
}

std::size_t TSimplexTable::LargestDigits() const {
  std::size_t digits = 10;
  for (const mpq_class& q : Big) {
    digits = std::max(digits, mpz_sizeinbase(q.get_num_mpz_t(), 10));
    digits = std::max(digits, mpz_sizeinbase(q.get_den_mpz_t(), 10));
  }
  return digits;
}

void TSimplexTable::RemoveBasicRow(std::int32_t i) {
  const std::int32_t col = BasicColumn(i);
  if (i < 1 || i > FRowCount || col == 0) return;
  const std::int32_t n = FColCount - 1;
  const std::int32_t m = FRowCount - 1;
  TMatrix cells;
  cells.Resize(n + 1, m + 1);
  std::vector<mpq_class> big(Big.empty() ? 0 : static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(m + 1));
  for (std::int32_t r = 0, to = 0; r <= FRowCount; ++r) {
    if (r == i) continue;
    for (std::int32_t c = 0, tc = 0; c <= FColCount; ++c) {
      if (c == col) continue;
      const std::size_t at =
          static_cast<std::size_t>(tc) + static_cast<std::size_t>(to) * static_cast<std::size_t>(n + 1);
      cells.Data()[at] = At(c, r);
      if (!big.empty()) big[at] = std::move(Big[Index(c, r)]);
      ++tc;
    }
    ++to;
  }
  Cells = std::move(cells);
  Big = std::move(big);
  FRowCount = m;
  FColCount = n;
  FRowNames.erase(FRowNames.begin() + (i - 1));
  FColNames.erase(FColNames.begin() + (col - 1));
  if (!Big.empty()) RefreshFromBig();
}

std::string TSimplexTable::ToHtml(std::int32_t sc, std::int32_t sr, std::int32_t rowsPerBlock, bool exact,
                                  std::int32_t endRows) const {
  const bool colOn = sc >= 1 && sc <= FColCount;
  const bool rowOn = sr >= 1 && sr <= FRowCount;
  std::string h;
  h.reserve(static_cast<std::size_t>(FColCount + 2) * static_cast<std::size_t>(FRowCount + 2) * 36 + 256);
  // The ends of a very large table go in the dense form: cells without a class, styled by the table's.
  const bool dense = endRows > 0 && FRowCount > 2 * endRows;
  const char* const plain = dense ? "<td>" : "<td class=\"clsSimCell\">";
  auto open = [&h, plain](bool selected) { h += selected ? "<td class=\"clsSelCell\">" : plain; };
  // A big value longer than a cell shows as a short decimal, the exact fraction in the cell's title;
  // the exact form shows every value in full.
  auto big = [&](bool selected, const mpq_class& q) {
    const std::string text = MpqToStr(q);
    if (exact || text.size() <= RatShortLength) {
      open(selected);
      h += text;
    } else {
      h += selected ? "<td class=\"clsSelCell\" title=\""
           : dense  ? "<td title=\""
                    : "<td class=\"clsSimCell\" title=\"";
      h += text;
      h += "\">";
      h += MpqToDecimal(q);
    }
    h += "</td>";
  };
  auto cell = [&](bool selected, const std::string& name) {
    open(selected);
    h += HtmlEscape(name);
    h += "</td>";
  };
  // The text form of a valid number holds no character HTML reserves; an invalid one reads <err>.
  auto number = [&](bool selected, std::int32_t c, std::int32_t r) {
    const TRational& v = At(c, r);
    if (RatIsBig(v)) return big(selected, Big[Index(c, r)]);
    open(selected);
    h += RatIsValid(v) ? RatToStr(v) : HtmlEscape(RatToStr(v));
    h += "</td>";
  };
  // Blocks of rows, each a table of its own under a copy of the header line, so that a viewer lays
  // out only the blocks in view.
  const std::int32_t block = rowsPerBlock > 0 ? rowsPerBlock : FRowCount + 1;
  const bool ends = dense;
  const std::int32_t skipFrom = ends ? endRows + 1 : FRowCount + 1;
  const std::int32_t skipTo = ends ? FRowCount - endRows : 0;
  for (std::int32_t first = 1; first == 1 || first <= FRowCount; first += block) {
    // A block whose rows are all left out is left out, its line said in the first such block.
    if (ends && first > skipFrom && std::min(FRowCount, first + block - 1) <= skipTo) continue;
    const std::int32_t last = std::min(FRowCount, first + block - 1);
    const bool withZ = last == FRowCount;
    h += dense ? "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl clsDense\" style=\"--rows:"
               : "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\" style=\"--rows:";
    h += std::to_string(last - first + 2 + (withZ ? 1 : 0));
    h += ";--cols:";
    h += std::to_string(FColCount + 2);
    h += "\">";
    h += dense ? "<tr><td>&nbsp;</td><td>B</td>"
               : "<tr><td class=\"clsSimCell\">&nbsp;</td><td class=\"clsSimCell\">B</td>";
    for (std::int32_t j = 1; j <= FColCount; ++j) cell(colOn && j == sc, FColNames[static_cast<std::size_t>(j - 1)]);
    h += "</tr>";
    for (std::int32_t i = first; i <= last; ++i) {
      if (skipFrom <= i && i <= skipTo) {
        if (i == skipFrom) {
          h += "<tr><td colspan=";
          h += std::to_string(FColCount + 2);
          h += ">строки ";
          h += std::to_string(skipFrom);
          h += "&ndash;";
          h += std::to_string(skipTo);
          h += " не показаны</td></tr>";
        }
        continue;
      }
      h += "<tr>";
      const bool inRow = rowOn && i == sr;
      cell(inRow, FRowNames[static_cast<std::size_t>(i - 1)]);
      for (std::int32_t c = 0; c <= FColCount; ++c) number(inRow || (colOn && c == sc), c, i);
      h += "</tr>";
    }
    if (withZ) {
      h += dense ? "<tr><td>Z</td>" : "<tr><td class=\"clsSimCell\">Z</td>";
      for (std::int32_t c = 0; c <= FColCount; ++c) number(colOn && c == sc, c, 0);
      h += "</tr>";
    }
    h += "</table>";
    if (!withZ) h += "\r\n";
  }
  return h;
}

bool TSimplexTable::HasInvalidCell() const noexcept {
  const std::int32_t total = (FColCount + 1) * (FRowCount + 1);
  const TRational* d = Cells.Data();
  return std::any_of(d, d + total, [](TRational r) { return r.Den == 0; });
}
