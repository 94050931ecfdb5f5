// Exact arithmetic: the rational number TRational and the 1-based containers TVector and TMatrix.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// An exact fraction Num/Den of two signed 32-bit integers.
// Normal form: Den > 0, Num and Den coprime, zero is 0/1.
// Den = 0 marks an invalid value ("<err>"): 1/0 from a failed parse or a vector read out of range,
// 0/0 from a matrix read out of range, n/0 from a division by zero or a result that does not fit
// 32 bits. Arithmetic runs on wide intermediates (64 bits, 128 for the fused forms) and normalises
// once, so every result whose normal form fits 32 bits is exact.
struct TRational {
  std::int32_t Num;
  std::int32_t Den;
};
static_assert(sizeof(TRational) == 8, "TRational must stay an 8-byte value");
static_assert(std::is_trivially_copyable_v<TRational>, "TRational must stay trivially copyable");

[[nodiscard]] constexpr bool RatIsValid(TRational r) noexcept { return r.Den != 0; }

void RatNormalize(TRational& r) noexcept;
[[nodiscard]] TRational RatFromInt(std::int32_t k) noexcept;
[[nodiscard]] TRational RatMake(std::int32_t num, std::int32_t den) noexcept;
void RatAssign(TRational& dst, TRational src) noexcept;

[[nodiscard]] TRational RatAdd(TRational a, TRational b) noexcept;
[[nodiscard]] TRational RatSub(TRational a, TRational b) noexcept;
[[nodiscard]] TRational RatMul(TRational a, TRational b) noexcept;
[[nodiscard]] TRational RatDiv(TRational a, TRational b) noexcept;
[[nodiscard]] TRational RatMulInt(TRational a, std::int32_t k) noexcept;
[[nodiscard]] TRational RatMulInt(std::int32_t k, TRational a) noexcept;
[[nodiscard]] TRational RatDivInt(TRational a, std::int32_t k) noexcept;

// c - a*b as one exact step: invalid only when the normalised result does not fit 32 bits (the
// product alone may well not). Any invalid operand gives an invalid result.
[[nodiscard]] TRational RatSubMul(TRational c, TRational a, TRational b) noexcept;

// In place: a := a + b, a := a * k (negation is RatScale(a, -1)), a := a / b.
void RatInc(TRational& a, TRational b) noexcept;
void RatScale(TRational& a, std::int32_t k) noexcept;
void RatDivBy(TRational& a, TRational b) noexcept;

// Comparisons assume normal form (positive denominators).
[[nodiscard]] int RatCompare(TRational a, TRational b) noexcept;
[[nodiscard]] int RatCompareInt(TRational a, std::int32_t k) noexcept;
[[nodiscard]] bool RatLess(TRational a, TRational b) noexcept;
[[nodiscard]] bool RatLessInt(TRational a, std::int32_t k) noexcept;
[[nodiscard]] bool RatGreaterInt(TRational a, std::int32_t k) noexcept;
[[nodiscard]] bool RatEqualsInt(TRational a, std::int32_t k) noexcept;
// Sign of b1/a1 - b2/a2 for nonzero a1, a2 of the same sign, exact whatever the size of the
// quotients (the comparisons of a ratio test).
[[nodiscard]] int RatCompareQuotients(TRational b1, TRational a1, TRational b2, TRational a2) noexcept;

// A decimal as students type it, [+|-]digits[.|,]digits ("1.5", "-0,25"), is read as the exact
// fraction it names (3/2, -1/4); one that does not fit 32 bits fails.
// Grammar: [+|-]digits[/digits], nothing else, no blanks; numerals beyond the signed 32-bit
// range fail, and so does a zero denominator ("3/0" is not a number). r is written only on success.
[[nodiscard]] bool RatTryParse(TRational& r, std::string_view text) noexcept;
[[nodiscard]] TRational RatFromStr(std::string_view text) noexcept;

// Text form "5", "-4/3", "0", "<err>". The first form normalises its argument in place.
std::string RatToStr(TRational& r);
[[nodiscard]] std::string RatToStr(const TRational& r);

// -(v - floor(v)), in (-1, 0]; 0 for every integer. Used for Gomory cut rows.
[[nodiscard]] TRational RatNegFrac(TRational v) noexcept;

class TVector;

// The value c0 + sum_j c_j x_j of a linear form (an objective) at the point x, summed exactly in
// 128-bit parts and normalised once: invalid when the result does not fit 32 bits, when an element
// is invalid, when the vectors differ in length, or when a partial sum in lowest terms does not fit
// 128 bits (which takes many terms with large, pairwise coprime denominators).
[[nodiscard]] TRational RatLinearValue(const TVector& c, const TVector& x, TRational c0) noexcept;

// A resizable sequence of rationals, element i at Items[i-1]; reads out of range give 1/0,
// writes out of range are ignored.
class TVector {
public:
  [[nodiscard]] std::int32_t Count() const noexcept { return static_cast<std::int32_t>(Items.size()); }
  // Keeps elements 1..min(old, n); new elements are 0.
  void SetCount(std::int32_t n);
  [[nodiscard]] TRational GetItem(std::int32_t i) const noexcept;
  void SetItem(std::int32_t i, TRational v) noexcept;
  [[nodiscard]] TVector Clone() const { return *this; }

private:
  std::vector<TRational> Items;
};

// A resizable two-index array of rationals; element (i, j) at (i-1) + (j-1)*Dim1, so the first
// index varies fastest. The meaning of the indices is the user's. Reads out of range give 0/0.
class TMatrix {
public:
  [[nodiscard]] std::int32_t Dim1() const noexcept { return FDim1; }
  [[nodiscard]] std::int32_t Dim2() const noexcept { return FDim2; }
  // Every element keeps its indices (i, j) where both still exist; the others are 0.
  void Resize(std::int32_t d1, std::int32_t d2);
  [[nodiscard]] TRational GetItem(std::int32_t i, std::int32_t j) const noexcept;
  void SetItem(std::int32_t i, std::int32_t j, TRational v) noexcept;
  [[nodiscard]] TMatrix Clone() const { return *this; }
  // Elements (1, j) .. (Dim1, j); Dim1 zeros when j is out of range.
  [[nodiscard]] TVector ExtractVector(std::int32_t j) const;

  // The elements in storage order, for the hot loops of the simplex table.
  [[nodiscard]] TRational* Data() noexcept { return Items.data(); }
  [[nodiscard]] const TRational* Data() const noexcept { return Items.data(); }

private:
  std::vector<TRational> Items;
  std::int32_t FDim1 = 0;
  std::int32_t FDim2 = 0;
};
