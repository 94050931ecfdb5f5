// Exact arithmetic: the rational number TRational and the 1-based containers TVector and TMatrix.
#pragma once

#include "RationalValue.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

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

// c - a*b as one exact step. Any invalid operand gives an invalid result.
[[nodiscard]] TRational RatSubMul(TRational c, TRational a, TRational b) noexcept;
// The 32-bit forms of the pivot of a simplex table: plain operands only; invalid (Den = 0) when the
// normalised result does not fit 32 bits, which the table then computes with GMP.
[[nodiscard]] TRational RatSubMulFit(TRational c, TRational a, TRational b) noexcept;
[[nodiscard]] TRational RatDivFit(TRational a, TRational b) noexcept;

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
// fraction it names (3/2, -1/4); one that does not fit 32 bits fails. Input is always a 32-bit fraction.
// Grammar: [+|-]digits[/digits], nothing else, no blanks; numerals beyond the signed 32-bit
// range fail, and so does a zero denominator ("3/0" is not a number). r is written only on success.
[[nodiscard]] bool RatTryParse(TRational& r, std::string_view text) noexcept;
[[nodiscard]] TRational RatFromStr(std::string_view text) noexcept;
// What is wrong with a text RatTryParse refuses, said to the student as a sentence without its full
// stop: "Пустая клетка", "Недопустимый символ «x»", "Знаменатель равен нулю", "Число не помещается
// ...", "Неверная запись числа"; empty for a text that is a number.
[[nodiscard]] std::string RatInputProblem(std::string_view text);

// Text form "5", "-4/3", "0", "<err>", of any length for a big value. The first form normalises its
// argument in place.
std::string RatToStr(TRational& r);
[[nodiscard]] std::string RatToStr(const TRational& r);
// The nearest double (0 for an invalid value).
[[nodiscard]] double RatToDouble(TRational r) noexcept;
// A short decimal approximation with at most `digits` significant digits, "38.79", "-1.2e+25".
[[nodiscard]] std::string RatToDecimal(TRational r, int digits = 6);
// Whether the text form is too long for a table cell or a line of a report: a big value whose text
// form is longer than RatShortLength characters. Such a value is shown by RatToDecimal, the
// exact fraction kept in the page.
inline constexpr std::size_t RatShortLength = 12;
[[nodiscard]] bool RatIsLong(TRational r);

// Whether a valid value is an integer.
[[nodiscard]] bool RatIsInteger(TRational r) noexcept;
// -v (an invalid value stays invalid).
[[nodiscard]] TRational RatNeg(TRational v) noexcept;

// -(v - floor(v)), in (-1, 0]; 0 for every integer. Used for Gomory cut rows.
[[nodiscard]] TRational RatNegFrac(TRational v) noexcept;

class TVector;

// The value c0 + sum_j c_j x_j of a linear form (an objective) at the point x, summed exactly in
// 128-bit parts (with GMP once they do not suffice) and normalised once: invalid when an element is
// invalid or when the vectors differ in length.
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
