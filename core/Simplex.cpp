// Simplex table: pivot rules, pivoting, Gomory cuts and the HTML rendering of a tableau.
#include "Simplex.h"

#include "ZLPCore_SolutionResult.h"

#include <algorithm>

namespace {

// The ratio B/a of a row with a > 0, kept as an exact fraction of 64-bit parts.
struct TRatio {
  std::int64_t Num;
  std::int64_t Den; // > 0
};

TRatio MakeRatio(TRational b, TRational a) noexcept {
  return {std::int64_t{b.Num} * a.Den, std::int64_t{b.Den} * a.Num};
}

__extension__ using TWide = __int128; // products of two 63-bit parts

int CompareRatio(TRatio x, TRatio y) noexcept {
  const TWide l = static_cast<TWide>(x.Num) * y.Den;
  const TWide r = static_cast<TWide>(y.Num) * x.Den;
  return (l > r) - (l < r);
}

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
  Cells.Resize(FColCount + 1, m + 1);
  FRowCount = m;
  FRowNames.resize(static_cast<std::size_t>(m));
}

void TSimplexTable::SetColCount(std::int32_t n) {
  n = std::max(n, 0);
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
  return Cells.GetItem(col + 1, row + 1);
}

void TSimplexTable::SetCell(std::int32_t col, std::int32_t row, TRational v) noexcept {
  Cells.SetItem(col + 1, row + 1, v);
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
    for (std::int32_t r = 0; r <= FRowCount; ++r) At(j, r) = r == i ? TRational{1, 1} : TRational{0, 1};
  }
}

TSimplexState TSimplexTable::Analyze(std::int32_t& col, std::int32_t& row, TPivotRule rule,
                                     TFeasibilityRule feasibility) const {
  col = 0;
  row = 0;
  if (feasibility == TFeasibilityRule::DualBland) {
    std::int32_t leave = 0;
    std::int32_t leaveIndex = 0;
    for (std::int32_t i = 1; i <= FRowCount; ++i) {
      if (!RatLessInt(At(0, i), 0)) continue;
      const std::int32_t basic = BasicColumn(i);
      const std::int32_t index = basic == 0 ? FColCount + i : basic;
      if (leave == 0 || index < leaveIndex) {
        leave = i;
        leaveIndex = index;
      }
    }
    if (leave != 0) {
      bool dualFeasible = true;
      for (std::int32_t j = 1; j <= FColCount && dualFeasible; ++j) dualFeasible = !RatLessInt(At(j, 0), 0);
      std::int32_t enter = 0;
      for (std::int32_t j = 1; j <= FColCount; ++j) {
        const TRational a = At(j, leave);
        if (!RatLessInt(a, 0)) continue;
        // Z(j) / |a| < Z(enter) / |a(enter)| with both a < 0 reads Z(j) / a > Z(enter) / a(enter).
        if (enter == 0 || (dualFeasible && RatCompareQuotients(At(j, 0), a, At(enter, 0), At(enter, leave)) > 0))
          enter = j;
      }
      if (enter == 0) return SS_MANYSOLUTIONS;
      col = enter;
      row = leave;
      return SS_NEGATIVEB;
    }
  }
  bool negativeB = false;
  for (std::int32_t i = 1; i <= FRowCount; ++i) {
    if (!RatLessInt(At(0, i), 0)) continue;
    negativeB = true;
    for (std::int32_t j = 1; j <= FColCount; ++j) {
      if (RatLessInt(At(j, i), 0)) {
        col = j;
        row = i;
        return SS_NEGATIVEB;
      }
    }
  }
  if (negativeB) return SS_MANYSOLUTIONS;

  std::int32_t enter = 0;
  for (std::int32_t j = 1; j <= FColCount; ++j) {
    const TRational z = At(j, 0);
    if (!RatLessInt(z, 0)) continue;
    if (enter == 0 || (rule == TPivotRule::MostNegative && RatLess(z, At(enter, 0)))) enter = j;
    if (rule == TPivotRule::Bland) break;
  }
  if (enter == 0) return SS_OPTIMAL;

  std::int32_t leave = 0;
  TRatio best{0, 1};
  for (std::int32_t k = 1; k <= FRowCount; ++k) {
    const TRational a = At(enter, k);
    if (!RatGreaterInt(a, 0)) continue;
    const TRatio ratio = MakeRatio(At(0, k), a);
    const int cmp = leave == 0 ? -1 : CompareRatio(ratio, best);
    bool take = cmp < 0;
    if (cmp == 0 && rule == TPivotRule::Bland) {
      const std::int32_t mine = BasicColumn(k);
      const std::int32_t theirs = BasicColumn(leave);
      take = mine != 0 && (theirs == 0 || mine < theirs);
    }
    if (take) {
      leave = k;
      best = ratio;
    }
  }
  col = enter;
  if (leave == 0) return SS_NOSOLUTION;
  row = leave;
  return SS_PIVOT;
}

void TSimplexTable::Pivot(std::int32_t col, std::int32_t row) {
  if (col < 1 || col > FColCount || row < 1 || row > FRowCount) return;
  const TRational p = At(col, row);
  if (!RatIsValid(p) || p.Num == 0) return;
  const std::int32_t width = FColCount + 1;
  TRational* pivotRow = &At(0, row);
  for (std::int32_t c = 0; c < width; ++c)
    if (c != col) pivotRow[c] = RatDiv(pivotRow[c], p);
  pivotRow[col] = {1, 1};
  for (std::int32_t r = 0; r <= FRowCount; ++r) {
    if (r == row) continue;
    TRational* cells = &At(0, r);
    const TRational f = cells[col];
    if (f.Num == 0 && f.Den != 0) continue; // subtracting a zero multiple leaves the row as it is
    for (std::int32_t c = 0; c < width; ++c)
      if (c != col) cells[c] = RatSubMul(cells[c], pivotRow[c], f);
    cells[col] = {0, 1};
  }
  FRowNames[static_cast<std::size_t>(row - 1)] = FColNames[static_cast<std::size_t>(col - 1)];
}

void TSimplexTable::AppendGomoryCut(std::int32_t s, const std::string& name) {
  if (s < 1 || s > FRowCount) return;
  SetRowCount(FRowCount + 1);
  SetColCount(FColCount + 1);
  const std::int32_t m = FRowCount;
  const std::int32_t n = FColCount;
  SetColName(n, name);
  SetRowName(m, name);
  for (std::int32_t c = 0; c <= n; ++c) At(c, m) = RatNegFrac(At(c, s));
  At(n, m) = {1, 1};
}

std::string TSimplexTable::ToHtml(std::int32_t sc, std::int32_t sr) const {
  const bool colOn = sc >= 1 && sc <= FColCount;
  const bool rowOn = sr >= 1 && sr <= FRowCount;
  std::string h;
  h.reserve(static_cast<std::size_t>(FColCount + 2) * static_cast<std::size_t>(FRowCount + 2) * 36 + 256);
  auto open = [&h](bool selected) { h += selected ? "<td class=\"clsSelCell\">" : "<td class=\"clsSimCell\">"; };
  auto cell = [&](bool selected, const std::string& name) {
    open(selected);
    h += HtmlEscape(name);
    h += "</td>";
  };
  // The text form of a valid number holds no character HTML reserves; an invalid one reads <err>.
  auto number = [&](bool selected, const TRational& v) {
    open(selected);
    h += RatIsValid(v) ? RatToStr(v) : HtmlEscape(RatToStr(v));
    h += "</td>";
  };
  h += "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\">";
  h += "<tr><td class=\"clsSimCell\">&nbsp;</td><td class=\"clsSimCell\">B</td>";
  for (std::int32_t j = 1; j <= FColCount; ++j) cell(colOn && j == sc, FColNames[static_cast<std::size_t>(j - 1)]);
  h += "</tr>";
  for (std::int32_t i = 1; i <= FRowCount; ++i) {
    h += "<tr>";
    const bool inRow = rowOn && i == sr;
    cell(inRow, FRowNames[static_cast<std::size_t>(i - 1)]);
    for (std::int32_t c = 0; c <= FColCount; ++c) number(inRow || (colOn && c == sc), At(c, i));
    h += "</tr>";
  }
  h += "<tr><td class=\"clsSimCell\">Z</td>";
  for (std::int32_t c = 0; c <= FColCount; ++c) number(colOn && c == sc, At(c, 0));
  h += "</tr>";
  h += "</table>";
  return h;
}

bool TSimplexTable::HasInvalidCell() const noexcept {
  const std::int32_t total = (FColCount + 1) * (FRowCount + 1);
  const TRational* d = Cells.Data();
  return std::any_of(d, d + total, [](TRational r) { return r.Den == 0; });
}
