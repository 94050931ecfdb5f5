// Integers and fractions of any size, for the few exact computations whose intermediate numbers
// outgrow 32-bit fractions: the definiteness of a quadratic form and the value of a quadratic
// objective. Slow next to TRational; not meant for the simplex tables.
#pragma once

#include "BaseType.h"

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

class TBigInt {
public:
  TBigInt() = default;
  TBigInt(std::int64_t v); // NOLINT(google-explicit-constructor): integers mix freely

  [[nodiscard]] bool IsZero() const noexcept { return Mag.empty(); }
  [[nodiscard]] int Sign() const noexcept { return Mag.empty() ? 0 : (Negative ? -1 : 1); }
  // The value when it fits 64 bits.
  [[nodiscard]] bool ToInt64(std::int64_t& v) const noexcept;
  [[nodiscard]] std::string ToString() const;

  friend TBigInt operator+(const TBigInt& a, const TBigInt& b);
  friend TBigInt operator-(const TBigInt& a, const TBigInt& b);
  friend TBigInt operator*(const TBigInt& a, const TBigInt& b);
  // Quotient rounded towards zero and the remainder with the sign of a; b must not be 0.
  friend void DivMod(const TBigInt& a, const TBigInt& b, TBigInt& q, TBigInt& r);
  friend TBigInt operator/(const TBigInt& a, const TBigInt& b);
  friend TBigInt operator%(const TBigInt& a, const TBigInt& b);
  friend TBigInt operator-(TBigInt a) {
    if (!a.Mag.empty()) a.Negative = !a.Negative;
    return a;
  }
  friend std::strong_ordering operator<=>(const TBigInt& a, const TBigInt& b) noexcept;
  friend bool operator==(const TBigInt& a, const TBigInt& b) noexcept = default;

private:
  bool Negative = false;
  std::vector<std::uint32_t> Mag; // magnitude, least significant limb first, no leading zero limb

  static int CompareMag(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) noexcept;
  static std::vector<std::uint32_t> AddMag(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);
  // a - b for |a| >= |b|.
  static std::vector<std::uint32_t> SubMag(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);
  void Trim() noexcept;
};

[[nodiscard]] TBigInt Gcd(TBigInt a, TBigInt b);

// A fraction in lowest terms with a positive denominator.
class TBigRational {
public:
  TBigRational() = default;
  TBigRational(std::int64_t v) : N(v) {} // NOLINT(google-explicit-constructor)
  // A valid TRational; an invalid one reads as 0.
  explicit TBigRational(TRational r);
  TBigRational(TBigInt num, TBigInt den);

  [[nodiscard]] const TBigInt& Num() const noexcept { return N; }
  [[nodiscard]] const TBigInt& Den() const noexcept { return D; }
  [[nodiscard]] int Sign() const noexcept { return N.Sign(); }
  // The TRational of the same value, invalid when it does not fit 32 bits.
  [[nodiscard]] TRational ToRational() const;

  friend TBigRational operator+(const TBigRational& a, const TBigRational& b);
  friend TBigRational operator-(const TBigRational& a, const TBigRational& b);
  friend TBigRational operator*(const TBigRational& a, const TBigRational& b);
  // b must not be 0.
  friend TBigRational operator/(const TBigRational& a, const TBigRational& b);
  friend TBigRational operator-(const TBigRational& a) { return {-a.N, a.D}; }
  friend std::strong_ordering operator<=>(const TBigRational& a, const TBigRational& b);
  friend bool operator==(const TBigRational& a, const TBigRational& b) noexcept = default;

private:
  TBigInt N;
  TBigInt D = 1;
};

// Whether the symmetric matrix s (s[i][j] == s[j][i]) is positive semidefinite: x's x >= 0 for
// every x. Exact: fraction-free symmetric elimination on the matrix scaled to integers.
[[nodiscard]] bool IsPositiveSemidefinite(const std::vector<std::vector<TBigRational>>& s);
