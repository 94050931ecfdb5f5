// The value TRational itself: its fields, its markers and the limits of exact arithmetic. BaseType.h
// has its arithmetic; BigRational.h keeps the values that outgrow it.
#pragma once

#include <cstdint>
#include <limits>
#include <type_traits>

// An exact fraction Num/Den of two signed 32-bit integers, or a reference to a fraction of any size.
// Normal form: Den > 0, Num and Den coprime, zero is 0/1.
// Den = 0 marks an invalid value ("<err>"): 1/0 from a failed parse or a vector read out of range,
// 0/0 from a matrix read out of range, n/0 from a division by zero or a result beyond the limits
// of exact arithmetic (RatBigLimitText).
// Den = RatBigDen marks a big value: a fraction whose normal form does not fit 32 bits, kept exactly
// as a GMP fraction in the program's store of big values (BigRational.h); Num is its number in the
// store, signed as the value, so that the sign of Num is the sign of every valid TRational. Big
// values are never zero and never fit 32 bits: a result that fits is always the plain fraction.
// Arithmetic runs on wide intermediates (64 bits, 128 for the fused forms) and normalises once; a
// result that does not fit 32 bits is computed again with GMP and stored, so every result is exact.
struct TRational {
  std::int32_t Num;
  std::int32_t Den;
};
static_assert(sizeof(TRational) == 8, "TRational must stay an 8-byte value");
static_assert(std::is_trivially_copyable_v<TRational>, "TRational must stay trivially copyable");

inline constexpr std::int32_t RatBigDen = std::numeric_limits<std::int32_t>::min();

[[nodiscard]] constexpr bool RatIsValid(TRational r) noexcept { return r.Den != 0; }
// A valid value beyond 32-bit fractions (kept in the store of big values).
[[nodiscard]] constexpr bool RatIsBig(TRational r) noexcept { return r.Den == RatBigDen; }
// A valid value that is a plain 32-bit fraction.
[[nodiscard]] constexpr bool RatIsSmall(TRational r) noexcept { return r.Den > 0; }
// -1, 0 or 1 for a valid value.
[[nodiscard]] constexpr int RatSign(TRational r) noexcept { return (r.Num > 0) - (r.Num < 0); }

// The limits of exact arithmetic, which only a run of unusual length meets: a numerator or a
// denominator of more than RatMaxDigits decimal digits, or big values filling RatMaxBigBytes of
// memory. A result beyond them is invalid, and the methods stop with the "overflow" outcome.
inline constexpr std::int32_t RatMaxDigits = 100000;
inline constexpr std::int64_t RatMaxBigBytes = std::int64_t{1} << 30;
// The sentence part naming those limits, for the reports of a stopped run.
extern const char* const RatBigLimitText;
