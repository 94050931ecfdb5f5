// Test-side helpers: exact rational literals parsed without the code under test, and table builders.
#pragma once

#include "BaseType.h"
#include "BigRational.h"
#include "ExactCheck.h"
#include "Simplex.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <numeric>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

inline void PrintTo(const TRational& r, std::ostream* os) { *os << r.Num << "/" << r.Den; }

namespace kt {

// "17/3", "-4", "0" -> normalised TRational, parsed here so that expectations do not depend on RatFromStr.
inline TRational R(std::string_view s);

// Reference arithmetic: the exact fractions of ExactCheck.h, written independently of the code under
// test. A value of the code under test enters by its parts, or by its text form when it is big.
using Frac = xc::Q;
inline Frac Norm(xc::I128 n, xc::I128 d) { return xc::Make(n, d); }
inline Frac ToFrac(TRational r) { return RatIsBig(r) ? xc::Parse(RatToStr(r)) : xc::Make(r.Num, r.Den); }
inline Frac Add(Frac a, Frac b) { return a + b; }
inline Frac Sub(Frac a, Frac b) { return a - b; }
inline Frac Mul(Frac a, Frac b) { return a * b; }
inline Frac Div(Frac a, Frac b) { return a / b; }
inline int Cmp(Frac a, Frac b) { return a < b ? -1 : (b < a ? 1 : 0); }
// Whether both parts fit 32 bits.
inline bool Fits(const Frac& f) { return mpz_fits_sint_p(f.n.get_mpz_t()) != 0 && mpz_fits_sint_p(f.d.get_mpz_t()) != 0; }
// The fraction as TRational: its parts when they fit 32 bits, otherwise the big value of the same
// fraction (compared by value, see SameRat).
inline TRational ToRat(const Frac& f) {
  if (!Fits(f)) return RatFromMpq(mpq_class(f.n, f.d));
  return TRational{static_cast<std::int32_t>(f.n.get_si()), static_cast<std::int32_t>(f.d.get_si())};
}
inline std::string Show(Frac f) { return xc::Show(f); }

inline TRational R(std::string_view s) { return ToRat(xc::Parse(s)); }

inline std::string Show(TRational r) {
  if (RatIsBig(r)) return RatToStr(r) + " (big)";
  return std::to_string(r.Num) + "/" + std::to_string(r.Den);
}

// Numerator and denominator compared exactly; big values by their value.
inline ::testing::AssertionResult SameRat(const char* gotExpr, const char*, TRational got, TRational want) {
  if (got.Num == want.Num && got.Den == want.Den) return ::testing::AssertionSuccess();
  if (RatIsBig(got) && RatIsBig(want) && RatToStr(got) == RatToStr(want)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << gotExpr << " is " << Show(got) << ", expected " << Show(want);
}

// One table from text: colNames, rowNames, rows as {B, a1..an}, and the Z row as {value, Z1..Zn}.
inline TSimplexTable MakeTable(const std::vector<std::string>& cols, const std::vector<std::string>& rows,
                               const std::vector<std::vector<std::string>>& cells,
                               const std::vector<std::string>& zRow) {
  TSimplexTable t;
  t.SetColCount(static_cast<std::int32_t>(cols.size()));
  t.SetRowCount(static_cast<std::int32_t>(rows.size()));
  for (std::size_t j = 0; j < cols.size(); ++j) t.SetColName(static_cast<std::int32_t>(j + 1), cols[j]);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    t.SetRowName(static_cast<std::int32_t>(i + 1), rows[i]);
    for (std::size_t c = 0; c < cells[i].size(); ++c)
      t.SetCell(static_cast<std::int32_t>(c), static_cast<std::int32_t>(i + 1), R(cells[i][c]));
  }
  for (std::size_t c = 0; c < zRow.size(); ++c) t.SetCell(static_cast<std::int32_t>(c), 0, R(zRow[c]));
  return t;
}

// Checks every cell of row `row` (0 = Z) against {B or value, a1..an}.
inline void ExpectRow(const TSimplexTable& t, std::int32_t row, const std::vector<std::string>& want) {
  SCOPED_TRACE("row " + std::to_string(row));
  ASSERT_EQ(static_cast<std::size_t>(t.ColCount() + 1), want.size());
  for (std::size_t c = 0; c < want.size(); ++c) {
    SCOPED_TRACE("column " + std::to_string(c));
    EXPECT_PRED_FORMAT2(SameRat, t.GetCell(static_cast<std::int32_t>(c), row), R(want[c]));
  }
}

} // namespace kt

#define EXPECT_RAT(got, text) EXPECT_PRED_FORMAT2(::kt::SameRat, got, ::kt::R(text))
#define ASSERT_RAT(got, text) ASSERT_PRED_FORMAT2(::kt::SameRat, got, ::kt::R(text))
// Exact fields, for invalid values and unnormalised ones.
#define EXPECT_NUMDEN(got, num, den)                                                                                   \
  do {                                                                                                                 \
    const TRational kt_v = (got);                                                                                      \
    EXPECT_EQ(kt_v.Num, (num)) << #got;                                                                                \
    EXPECT_EQ(kt_v.Den, (den)) << #got;                                                                                \
  } while (0)
