// Exact arithmetic on fractions of 32-bit integers, and the 1-based vector and matrix of them.
#include "BaseType.h"

#include "BigRational.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <charconv>
#include <cstdlib>
#include <limits>

namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();

__extension__ using TInt128 = __int128;
__extension__ using TUInt128 = unsigned __int128;

mpz_class Mpz128(TInt128 v) {
  const bool negative = v < 0;
  const TUInt128 m = negative ? TUInt128{0} - static_cast<TUInt128>(v) : static_cast<TUInt128>(v);
  mpz_class r = static_cast<unsigned long>(static_cast<std::uint64_t>(m >> 64));
  r <<= 64;
  r += static_cast<unsigned long>(static_cast<std::uint64_t>(m));
  return negative ? mpz_class(-r) : r;
}

// The exact value num/den (den != 0) that does not fit 32 bits, as a big value.
TRational Spill(const mpz_class& num, const mpz_class& den) {
  mpq_class q(num, den);
  q.canonicalize();
  return RatFromMpq(q);
}

// Binary gcd of two positive values.
std::uint64_t Gcd(std::uint64_t a, std::uint64_t b) noexcept {
  if (a == 0) return b;
  if (b == 0) return a;
  const int shift = __builtin_ctzll(a | b);
  a >>= __builtin_ctzll(a);
  do {
    b >>= __builtin_ctzll(b);
    if (a > b) std::swap(a, b);
    b -= a;
  } while (b != 0);
  return a << shift;
}

// num/den in lowest terms with den > 0 (den != 0); true when the result fits a 32-bit fraction.
inline bool Reduce64(std::int64_t& num, std::int64_t& den) noexcept {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  if (num == 0) {
    den = 1;
    return true;
  }
  if (den != 1) {
    const std::uint64_t absNum = num < 0 ? 0 - static_cast<std::uint64_t>(num) : static_cast<std::uint64_t>(num);
    const auto g = static_cast<std::int64_t>(Gcd(absNum, static_cast<std::uint64_t>(den)));
    if (g != 1) {
      num /= g;
      den /= g;
    }
  }
  return num >= Int32Min && num <= Int32Max && den <= Int32Max;
}

// Normal form of num/den computed in 64 bits; a result outside the 32-bit range goes to the store of
// big values.
TRational Make64(std::int64_t num, std::int64_t den) noexcept {
  if (den == 0) {
    if (num >= Int32Min && num <= Int32Max) return {static_cast<std::int32_t>(num), 0};
    return {num > 0 ? 1 : -1, 0};
  }
  if (!Reduce64(num, den)) return Spill(mpz_class(static_cast<long>(num)), mpz_class(static_cast<long>(den)));
  return {static_cast<std::int32_t>(num), static_cast<std::int32_t>(den)};
}

// As Make64, but a result outside the 32-bit range is invalid (the fast path of the table's pivot).
TRational Make64Fit(std::int64_t num, std::int64_t den) noexcept {
  if (!Reduce64(num, den)) return {1, 0};
  return {static_cast<std::int32_t>(num), static_cast<std::int32_t>(den)};
}

constexpr TUInt128 Low64 = ~std::uint64_t{0};

int Ctz128(TUInt128 v) noexcept {
  const auto low = static_cast<std::uint64_t>(v);
  return low != 0 ? __builtin_ctzll(low) : 64 + __builtin_ctzll(static_cast<std::uint64_t>(v >> 64));
}

// Binary gcd of two values of up to 128 bits; the 64-bit routine once both fit it.
TUInt128 Gcd128(TUInt128 a, TUInt128 b) noexcept {
  if (a <= Low64 && b <= Low64) return Gcd(static_cast<std::uint64_t>(a), static_cast<std::uint64_t>(b));
  if (a == 0) return b;
  if (b == 0) return a;
  const int shift = Ctz128(a | b);
  a >>= Ctz128(a);
  do {
    b >>= Ctz128(b);
    if (a > b) std::swap(a, b);
    b -= a;
    // The common power of two is put back in 128 bits: the gcd itself may not fit 64.
    if (a <= Low64 && b <= Low64) return TUInt128{Gcd(static_cast<std::uint64_t>(a), static_cast<std::uint64_t>(b))} << shift;
  } while (b != 0);
  return a << shift;
}

TUInt128 Abs128(TInt128 v) noexcept {
  return v < 0 ? TUInt128{0} - static_cast<TUInt128>(v) : static_cast<TUInt128>(v);
}

// Normal form of num/den (den != 0) computed in 128 bits; a result outside the 32-bit range is invalid.
template <bool Fit>
TRational Make128(TInt128 num, TInt128 den) noexcept {
  const TInt128 small = std::numeric_limits<std::int64_t>::max();
  if (num >= -small && num <= small && den >= -small && den <= small) {
    if constexpr (Fit) return Make64Fit(static_cast<std::int64_t>(num), static_cast<std::int64_t>(den));
    return Make64(static_cast<std::int64_t>(num), static_cast<std::int64_t>(den));
  }
  if (den < 0) {
    num = -num;
    den = -den;
  }
  const TUInt128 g = Gcd128(Abs128(num), static_cast<TUInt128>(den));
  num /= static_cast<TInt128>(g);
  den /= static_cast<TInt128>(g);
  if (num < Int32Min || num > Int32Max || den > Int32Max) {
    if constexpr (Fit) return {1, 0};
    return Spill(Mpz128(num), Mpz128(den));
  }
  return {static_cast<std::int32_t>(num), static_cast<std::int32_t>(den)};
}

// The slow path of an operation with a big operand: the same operation on GMP fractions.
enum class TOp : std::uint8_t { Add, Sub, Mul, Div };

TRational BigOp(TRational a, TRational b, TOp op) {
  if (a.Den == 0 || b.Den == 0) return {1, 0};
  const mpq_class x = RatToMpq(a);
  const mpq_class y = RatToMpq(b);
  switch (op) {
  case TOp::Add: return RatFromMpq(x + y);
  case TOp::Sub: return RatFromMpq(x - y);
  case TOp::Mul: return RatFromMpq(x * y);
  case TOp::Div: break;
  }
  if (sgn(y) == 0) return {1, 0};
  return RatFromMpq(x / y);
}

[[nodiscard]] constexpr bool AnyBig(TRational a, TRational b) noexcept { return RatIsBig(a) || RatIsBig(b); }

} // namespace

const char* const RatBigLimitText =
    "числа вышли за пределы точной арифметики программы (более 100000 десятичных знаков в числителе или "
    "знаменателе либо более 1 ГиБ памяти под длинные числа)";

void RatNormalize(TRational& r) noexcept {
  if (r.Den == 0 || RatIsBig(r)) return;
  r = Make64(r.Num, r.Den);
}

TRational RatFromInt(std::int32_t k) noexcept { return {k, 1}; }

TRational RatMake(std::int32_t num, std::int32_t den) noexcept {
  if (den == 0) return {num, 0};
  return Make64(num, den);
}

void RatAssign(TRational& dst, TRational src) noexcept {
  dst = src;
  RatNormalize(dst);
}

TRational RatAdd(TRational a, TRational b) noexcept {
  if (AnyBig(a, b)) [[unlikely]]
    return BigOp(a, b, TOp::Add);
  if (a.Den == b.Den && a.Den != 0) return Make64(std::int64_t{a.Num} + b.Num, a.Den);
  return Make64(std::int64_t{a.Num} * b.Den + std::int64_t{b.Num} * a.Den, std::int64_t{a.Den} * b.Den);
}

TRational RatSub(TRational a, TRational b) noexcept {
  if (AnyBig(a, b)) [[unlikely]]
    return BigOp(a, b, TOp::Sub);
  if (a.Den == b.Den && a.Den != 0) return Make64(std::int64_t{a.Num} - b.Num, a.Den);
  return Make64(std::int64_t{a.Num} * b.Den - std::int64_t{b.Num} * a.Den, std::int64_t{a.Den} * b.Den);
}

TRational RatMul(TRational a, TRational b) noexcept {
  if (AnyBig(a, b)) [[unlikely]]
    return BigOp(a, b, TOp::Mul);
  return Make64(std::int64_t{a.Num} * b.Num, std::int64_t{a.Den} * b.Den);
}

TRational RatDiv(TRational a, TRational b) noexcept {
  // Dividing by an invalid value gives an invalid value, never a meaningless number.
  if (b.Den == 0) return {1, 0};
  if (AnyBig(a, b)) [[unlikely]]
    return BigOp(a, b, TOp::Div);
  return Make64(std::int64_t{a.Num} * b.Den, std::int64_t{a.Den} * b.Num);
}

TRational RatDivFit(TRational a, TRational b) noexcept {
  if (b.Den == 0 || a.Den == 0) return {1, 0};
  return Make64Fit(std::int64_t{a.Num} * b.Den, std::int64_t{a.Den} * b.Num);
}

TRational RatSubMulFit(TRational c, TRational a, TRational b) noexcept {
  if (c.Den == 0 || a.Den == 0 || b.Den == 0) return {1, 0};
  if (a.Num == 0 || b.Num == 0) return Make64Fit(c.Num, c.Den);
  // a*b = pn/pd exactly in 64 bits; c - pn/pd = (c.Num*pd - pn*c.Den) / (c.Den*pd) in at most 96 bits.
  const std::int64_t pn = std::int64_t{a.Num} * b.Num;
  const std::int64_t pd = std::int64_t{a.Den} * b.Den;
  if (pd == c.Den) return Make64Fit(c.Num - pn, pd); // both terms stay below 2^62 in size
  return Make128<true>(TInt128{c.Num} * pd - TInt128{pn} * c.Den, TInt128{c.Den} * pd);
}

TRational RatSubMul(TRational c, TRational a, TRational b) noexcept {
  if (c.Den == 0 || a.Den == 0 || b.Den == 0) return {1, 0};
  if (RatIsBig(c) || AnyBig(a, b)) [[unlikely]]
    return RatFromMpq(RatToMpq(c) - RatToMpq(a) * RatToMpq(b));
  if (a.Num == 0 || b.Num == 0) return Make64(c.Num, c.Den);
  const std::int64_t pn = std::int64_t{a.Num} * b.Num;
  const std::int64_t pd = std::int64_t{a.Den} * b.Den;
  if (pd == c.Den) return Make64(c.Num - pn, pd);
  return Make128<false>(TInt128{c.Num} * pd - TInt128{pn} * c.Den, TInt128{c.Den} * pd);
}

TRational RatMulInt(TRational a, std::int32_t k) noexcept {
  if (RatIsBig(a)) [[unlikely]]
    return BigOp(a, RatFromInt(k), TOp::Mul);
  return Make64(std::int64_t{k} * a.Num, a.Den);
}

TRational RatMulInt(std::int32_t k, TRational a) noexcept { return RatMulInt(a, k); }

TRational RatDivInt(TRational a, std::int32_t k) noexcept {
  if (RatIsBig(a)) [[unlikely]]
    return k == 0 ? TRational{1, 0} : BigOp(a, RatFromInt(k), TOp::Div);
  return Make64(a.Num, std::int64_t{k} * a.Den);
}

void RatInc(TRational& a, TRational b) noexcept { a = RatAdd(a, b); }
void RatScale(TRational& a, std::int32_t k) noexcept { a = RatMulInt(a, k); }
void RatDivBy(TRational& a, TRational b) noexcept { a = RatDiv(a, b); }

int RatCompare(TRational a, TRational b) noexcept {
  if (AnyBig(a, b)) [[unlikely]]
  {
    const int c = cmp(RatToMpq(a), RatToMpq(b));
    return (c > 0) - (c < 0);
  }
  const std::int64_t d = std::int64_t{a.Num} * b.Den - std::int64_t{b.Num} * a.Den;
  return (d > 0) - (d < 0);
}

int RatCompareInt(TRational a, std::int32_t k) noexcept {
  // A big value lies beyond every 32-bit integer, on the side of its sign.
  if (RatIsBig(a)) [[unlikely]] {
    const int c = cmp(RatToMpq(a), static_cast<long>(k));
    return (c > 0) - (c < 0);
  }
  const std::int64_t d = std::int64_t{a.Num} - std::int64_t{k} * a.Den;
  return (d > 0) - (d < 0);
}

int RatCompareQuotients(TRational b1, TRational a1, TRational b2, TRational a2) noexcept {
  if (RatIsBig(b1) || RatIsBig(a1) || RatIsBig(b2) || RatIsBig(a2)) [[unlikely]] {
    const int c = cmp(RatToMpq(b1) / RatToMpq(a1), RatToMpq(b2) / RatToMpq(a2));
    return (c > 0) - (c < 0);
  }
  // b1/a1 = (b1.Num*a1.Den) / (b1.Den*a1.Num); the two denominators share their sign, so the cross
  // products of these 63-bit parts compare the quotients.
  const TInt128 l = TInt128{std::int64_t{b1.Num} * a1.Den} * (std::int64_t{b2.Den} * a2.Num);
  const TInt128 r = TInt128{std::int64_t{b2.Num} * a2.Den} * (std::int64_t{b1.Den} * a1.Num);
  return (l > r) - (l < r);
}

bool RatLess(TRational a, TRational b) noexcept { return RatCompare(a, b) < 0; }
bool RatLessInt(TRational a, std::int32_t k) noexcept { return RatCompareInt(a, k) < 0; }
bool RatGreaterInt(TRational a, std::int32_t k) noexcept { return RatCompareInt(a, k) > 0; }
bool RatEqualsInt(TRational a, std::int32_t k) noexcept { return RatCompareInt(a, k) == 0; }

namespace {

// Reads the longest run of decimal digits at the front of text; false when the run is empty
// or its value does not fit a signed 32-bit integer.
bool TakeDigits(std::string_view& text, std::int32_t& value) noexcept {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  if (n == 0) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + n, value);
  if (ec != std::errc() || end != text.data() + n) return false;
  text.remove_prefix(n);
  return true;
}

// The numerator of a fraction: digits read with the sign already taken, so that -2147483648, a
// 32-bit numeral whose magnitude is not, is read too.
bool TakeNumerator(std::string_view& text, bool negative, std::int32_t& value) noexcept {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  if (n == 0) return false;
  std::int64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + n, magnitude);
  if (ec != std::errc() || end != text.data() + n || magnitude > Int32Max + (negative ? 1 : 0)) return false;
  value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  text.remove_prefix(n);
  return true;
}

// A decimal as students type it: [+|-]digits[.|,]digits with at least one digit, "1.5", "-0,25",
// ".5"; the exact fraction it names is written to r only when it fits 32 bits.
bool TryParseDecimal(TRational& r, std::string_view text) noexcept {
  constexpr std::int64_t Limit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t point = text.find_first_of(".,");
  if (point == std::string_view::npos || text.size() == 1) return false;
  const std::string_view whole = text.substr(0, point);
  std::string_view fraction = text.substr(point + 1);
  // Trailing zeros of the fraction change nothing: "1.50" is 3/2.
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  std::int64_t num = 0;
  std::int64_t den = 1;
  for (const char c : whole) {
    if (c < '0' || c > '9' || num > Limit) return false;
    num = num * 10 + (c - '0');
  }
  for (const char c : fraction) {
    if (c < '0' || c > '9' || num > Limit || den > Limit) return false;
    num = num * 10 + (c - '0');
    den *= 10;
  }
  const TRational value = Make64Fit(negative ? -num : num, den);
  // As for whole numbers, values beyond the signed 32-bit range fail.
  if (!RatIsValid(value)) return false;
  r = value;
  return true;
}

} // namespace

bool RatTryParse(TRational& r, std::string_view text) noexcept {
  if (text.empty()) return false;
  if (text.find_first_of(".,") != std::string_view::npos) return TryParseDecimal(r, text);
  bool negative = false;
  if (text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  } else if (text.front() == '+') {
    text.remove_prefix(1);
  }
  std::int32_t num = 0;
  if (!TakeNumerator(text, negative, num)) return false;
  if (text.empty()) {
    r = RatMake(num, 1);
    return true;
  }
  if (text.front() != '/') return false;
  text.remove_prefix(1);
  std::int32_t den = 0;
  if (!TakeDigits(text, den) || !text.empty() || den == 0) return false;
  r = RatMake(num, den);
  return true;
}

std::string RatInputProblem(std::string_view text) {
  TRational r{0, 1};
  if (RatTryParse(r, text)) return {};
  if (text.empty()) return "Пустая клетка";
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (isDigit(text[i]) || c == '+' || c == '-' || c == '/' || c == '.' || c == ',') {
      ++i;
      continue;
    }
    if (c == ' ' || c == '\t') return "Пробел внутри числа";
    // The whole character of a UTF-8 sequence.
    const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    return "Недопустимый символ «" + std::string(text.substr(i, std::min(length, text.size() - i))) + "»";
  }
  // Only digits, signs, slashes and separators: a number of a right form is too large or has a zero
  // denominator; anything else is written wrongly.
  std::string_view body = text;
  if (body.front() == '+' || body.front() == '-') body.remove_prefix(1);
  const auto digits = [&isDigit](std::string_view part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), isDigit);
  };
  const std::size_t slash = body.find('/');
  const std::size_t point = body.find_first_of(".,");
  if (slash != std::string_view::npos && point == std::string_view::npos) {
    const std::string_view num = body.substr(0, slash);
    const std::string_view den = body.substr(slash + 1);
    if (digits(num) && digits(den)) {
      if (den.find_first_not_of('0') == std::string_view::npos) return "Знаменатель равен нулю";
      return "Число не помещается в 32-битную дробь: числитель и знаменатель — от -2147483648 до 2147483647";
    }
  } else if (slash == std::string_view::npos) {
    const std::string_view whole = point == std::string_view::npos ? body : body.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : body.substr(point + 1);
    const bool wholeOk = whole.empty() || digits(whole);
    const bool fractionOk = fraction.empty() || digits(fraction);
    if (wholeOk && fractionOk && (!whole.empty() || !fraction.empty()))
      return "Число не помещается в 32-битную дробь: числитель и знаменатель — от -2147483648 до 2147483647";
  }
  return "Неверная запись числа";
}

TRational RatFromStr(std::string_view text) noexcept {
  TRational r{1, 0};
  if (!RatTryParse(r, text)) r = {1, 0};
  return r;
}

std::string RatToStr(TRational& r) {
  RatNormalize(r);
  return RatToStr(static_cast<const TRational&>(r));
}

std::string RatToStr(const TRational& value) {
  TRational r = value;
  RatNormalize(r);
  if (r.Den == 0) return "<err>";
  if (RatIsBig(r)) return MpqToStr(RatToMpq(r));
  if (r.Num == 0) return "0";
  if (r.Den == 1) return std::to_string(r.Num);
  return std::to_string(r.Num) + "/" + std::to_string(r.Den);
}

double RatToDouble(TRational r) noexcept {
  if (r.Den == 0) return 0;
  if (RatIsBig(r)) return RatToMpq(r).get_d();
  return static_cast<double>(r.Num) / static_cast<double>(r.Den);
}

std::string RatToDecimal(TRational r, int digits) {
  if (r.Den == 0) return "<err>";
  return MpqToDecimal(RatToMpq(r), digits);
}

bool RatIsInteger(TRational r) noexcept {
  if (RatIsBig(r)) return RatToMpq(r).get_den() == 1;
  return r.Den == 1;
}

TRational RatNeg(TRational v) noexcept {
  if (v.Den == 0) return v;
  return RatMulInt(v, -1);
}

bool RatIsLong(TRational r) { return RatIsBig(r) && RatToStr(r).size() > RatShortLength; }

TRational RatNegFrac(TRational v) noexcept {
  if (RatIsBig(v)) {
    const mpq_class q = RatToMpq(v);
    mpz_class rest;
    mpz_fdiv_r(rest.get_mpz_t(), q.get_num_mpz_t(), q.get_den_mpz_t());
    return RatFromMpq(mpq_class(-rest, q.get_den()));
  }
  if (v.Den <= 0) return {1, 0};
  const std::int64_t p = v.Num;
  const std::int64_t q = v.Den;
  if (p >= 0) return {static_cast<std::int32_t>(-(p % q)), v.Den};
  const std::int64_t r = (-p) % q;
  if (r == 0) return {0, 1};
  return {static_cast<std::int32_t>(r - q), v.Den};
}

namespace {

TRational BigLinearValue(const TVector& c, const TVector& x, TRational c0) {
  mpq_class sum = RatToMpq(c0);
  for (std::int32_t j = 1; j <= c.Count(); ++j) {
    const TRational a = c.GetItem(j);
    const TRational b = x.GetItem(j);
    if (a.Den == 0 || b.Den == 0) return {1, 0};
    sum += RatToMpq(a) * RatToMpq(b);
  }
  return RatFromMpq(sum);
}

} // namespace

TRational RatLinearValue(const TVector& c, const TVector& x, TRational c0) noexcept {
  if (c.Count() != x.Count() || c0.Den == 0) return {1, 0};
  if (RatIsBig(c0)) return BigLinearValue(c, x, c0);
  // The running sum num/den, kept in lowest terms with den > 0.
  TInt128 num = c0.Num;
  TInt128 den = c0.Den;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  for (std::int32_t j = 1; j <= c.Count(); ++j) {
    const TRational a = c.GetItem(j);
    const TRational b = x.GetItem(j);
    if (a.Den == 0 || b.Den == 0) return {1, 0};
    if (a.Num == 0 || b.Num == 0) continue;
    if (AnyBig(a, b)) return BigLinearValue(c, x, c0);
    TInt128 tn = std::int64_t{a.Num} * b.Num;
    TInt128 td = std::int64_t{a.Den} * b.Den;
    if (td < 0) {
      tn = -tn;
      td = -td;
    }
    // num/den + tn/td over the least common denominator, then back to lowest terms.
    const auto g = static_cast<TInt128>(Gcd128(static_cast<TUInt128>(den), static_cast<TUInt128>(td)));
    TInt128 newDen = 0;
    TInt128 left = 0;
    TInt128 right = 0;
    TInt128 newNum = 0;
    if (__builtin_mul_overflow(den / g, td, &newDen) || __builtin_mul_overflow(num, td / g, &left) ||
        __builtin_mul_overflow(tn, den / g, &right) || __builtin_add_overflow(left, right, &newNum))
      return BigLinearValue(c, x, c0);
    const auto r = static_cast<TInt128>(Gcd128(Abs128(newNum), static_cast<TUInt128>(newDen)));
    num = newNum / r;
    den = newDen / r;
  }
  return Make128<false>(num, den);
}

void TVector::SetCount(std::int32_t n) { Items.resize(static_cast<std::size_t>(std::max(n, 0)), TRational{0, 1}); }

TRational TVector::GetItem(std::int32_t i) const noexcept {
  if (i < 1 || i > Count()) return {1, 0};
  return Items[static_cast<std::size_t>(i - 1)];
}

void TVector::SetItem(std::int32_t i, TRational v) noexcept {
  if (i < 1 || i > Count()) return;
  Items[static_cast<std::size_t>(i - 1)] = v;
}

void TMatrix::Resize(std::int32_t d1, std::int32_t d2) {
  d1 = std::max(d1, 0);
  d2 = std::max(d2, 0);
  std::vector<TRational> fresh(static_cast<std::size_t>(d1) * static_cast<std::size_t>(d2), TRational{0, 1});
  const std::int32_t keep1 = std::min(FDim1, d1);
  const std::int32_t keep2 = std::min(FDim2, d2);
  for (std::int32_t j = 0; j < keep2; ++j)
    std::copy_n(Items.begin() + static_cast<std::ptrdiff_t>(j) * FDim1, keep1,
                fresh.begin() + static_cast<std::ptrdiff_t>(j) * d1);
  Items = std::move(fresh);
  FDim1 = d1;
  FDim2 = d2;
}

TRational TMatrix::GetItem(std::int32_t i, std::int32_t j) const noexcept {
  if (i < 1 || i > FDim1 || j < 1 || j > FDim2) return {0, 0};
  return Items[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(FDim1)];
}

void TMatrix::SetItem(std::int32_t i, std::int32_t j, TRational v) noexcept {
  if (i < 1 || i > FDim1 || j < 1 || j > FDim2) return;
  Items[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(FDim1)] = v;
}

TVector TMatrix::ExtractVector(std::int32_t j) const {
  TVector v;
  v.SetCount(FDim1);
  if (j < 1 || j > FDim2) return v;
  for (std::int32_t i = 1; i <= FDim1; ++i) v.SetItem(i, GetItem(i, j));
  return v;
}
