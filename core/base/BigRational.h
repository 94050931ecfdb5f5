// Fractions of any size with GMP (gmpxx): the values a 32-bit TRational does not hold, the store
// that keeps them behind a TRational, and the exact computations whose intermediate numbers are
// large by nature (the definiteness of a quadratic form).
#pragma once

#include "RationalValue.h"

#include <gmpxx.h>

#include <string>
#include <vector>

// The value of a valid TRational, plain or big; an invalid one reads as 0.
[[nodiscard]] mpq_class RatToMpq(TRational r);
// The TRational of q (in canonical form): the plain fraction when it fits 32 bits, else a big value
// in the store; invalid when q is beyond the limits of exact arithmetic.
[[nodiscard]] TRational RatFromMpq(const mpq_class& q);
// Whether q fits a plain TRational, and that TRational.
[[nodiscard]] bool MpqFits(const mpq_class& q) noexcept;
[[nodiscard]] TRational MpqToSmall(const mpq_class& q) noexcept;
// Whether the numerator and the denominator of q have at most RatMaxDigits decimal digits.
[[nodiscard]] bool MpqWithinLimits(const mpq_class& q) noexcept;
// "5", "-4/3", "0".
[[nodiscard]] std::string MpqToStr(const mpq_class& q);
// A short decimal approximation: `digits` significant digits, "38.7946", "0.000123457", "-1.2e+25";
// a whole part of up to 15 digits in full with two decimals, "-306784040.14".
[[nodiscard]] std::string MpqToDecimal(const mpq_class& q, int digits = 6);

// Whether the symmetric matrix s (s[i][j] == s[j][i]) is positive semidefinite: x's x >= 0 for
// every x. Exact: fraction-free symmetric elimination on the matrix scaled to integers.
[[nodiscard]] bool IsPositiveSemidefinite(const std::vector<std::vector<mpq_class>>& s);
