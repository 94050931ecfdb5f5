// GMP fractions and the store of big values behind TRational.
#include "BigRational.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace {

// About RatMaxDigits decimal digits: 100000 * log2(10) bits.
constexpr std::size_t MaxBits = 332193;

// Big values live as long as the program: a TRational is a plain value that may be copied anywhere,
// so nothing tells when a big value is no longer read. Only what leaves a simplex table or a
// method's own computation comes here (the tables keep their big cells themselves), which is a few
// values per pivot, and RatMaxBigBytes bounds the whole.
struct TBigStore {
  std::mutex Lock;
  std::deque<mpq_class> Values;
  std::int64_t Bytes = 0;
};

TBigStore& Store() {
  static TBigStore store;
  return store;
}

std::int64_t BytesOf(const mpq_class& q) noexcept {
  return static_cast<std::int64_t>(sizeof(mpq_class)) +
         static_cast<std::int64_t>((mpz_size(q.get_num_mpz_t()) + mpz_size(q.get_den_mpz_t())) * sizeof(mp_limb_t));
}

} // namespace

bool MpqFits(const mpq_class& q) noexcept {
  return mpz_fits_sint_p(q.get_num_mpz_t()) != 0 && mpz_fits_sint_p(q.get_den_mpz_t()) != 0;
}

TRational MpqToSmall(const mpq_class& q) noexcept {
  return {static_cast<std::int32_t>(mpz_get_si(q.get_num_mpz_t())),
          static_cast<std::int32_t>(mpz_get_si(q.get_den_mpz_t()))};
}

bool MpqWithinLimits(const mpq_class& q) noexcept {
  return mpz_sizeinbase(q.get_num_mpz_t(), 2) <= MaxBits && mpz_sizeinbase(q.get_den_mpz_t(), 2) <= MaxBits;
}

TRational RatFromMpq(const mpq_class& q) {
  if (MpqFits(q)) return MpqToSmall(q);
  if (!MpqWithinLimits(q)) return {1, 0};
  TBigStore& s = Store();
  const std::int64_t bytes = BytesOf(q);
  const std::lock_guard lock(s.Lock);
  // Numbers 1 .. 2^31 - 1 of the store; the sign of Num is the sign of the value.
  if (s.Bytes + bytes > RatMaxBigBytes || s.Values.size() >= static_cast<std::size_t>(INT32_MAX)) return {1, 0};
  s.Values.push_back(q);
  s.Bytes += bytes;
  const auto number = static_cast<std::int32_t>(s.Values.size());
  return {sgn(q) < 0 ? -number : number, RatBigDen};
}

mpq_class RatToMpq(TRational r) {
  if (r.Den == 0) return 0;
  if (RatIsBig(r)) {
    TBigStore& s = Store();
    const std::lock_guard lock(s.Lock);
    return s.Values[static_cast<std::size_t>(std::abs(r.Num)) - 1];
  }
  mpq_class q(r.Num, r.Den);
  q.canonicalize();
  return q;
}

std::string MpqToStr(const mpq_class& q) { return q.get_str(); }

std::string MpqToDecimal(const mpq_class& q, int digits) {
  // mpf keeps the exponent of values far beyond the range of a double.
  const mpf_class f(q, 128 + 4 * static_cast<unsigned>(digits));
  mp_exp_t exponent = 0;
  std::string mantissa = f.get_str(exponent, 10, static_cast<std::size_t>(digits));
  // Up to 15 digits before the point are all shown, with two after it.
  if (exponent > digits - 2 && exponent <= 15) mantissa = f.get_str(exponent, 10, static_cast<std::size_t>(exponent + 2));
  if (mantissa.empty() || mantissa == "0") return "0";
  std::string sign;
  if (mantissa.front() == '-') {
    sign = "-";
    mantissa.erase(0, 1);
  }
  // mantissa = 0.d1d2... * 10^exponent.
  if (exponent > 0 && exponent <= 15) {
    std::string whole = mantissa.substr(0, std::min<std::size_t>(mantissa.size(), static_cast<std::size_t>(exponent)));
    whole.append(static_cast<std::size_t>(exponent) - whole.size(), '0');
    const std::string fraction =
        mantissa.size() > static_cast<std::size_t>(exponent) ? mantissa.substr(static_cast<std::size_t>(exponent)) : "";
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
  }
  if (exponent <= 0 && exponent > -5) return sign + "0." + std::string(static_cast<std::size_t>(-exponent), '0') + mantissa;
  std::string text = sign + mantissa.substr(0, 1);
  if (mantissa.size() > 1) text += "." + mantissa.substr(1);
  return text + "e" + (exponent - 1 >= 0 ? "+" : "") + std::to_string(exponent - 1);
}


bool IsPositiveSemidefinite(const std::vector<std::vector<mpq_class>>& s) {
  const std::size_t n = s.size();
  // Scaled by the least common multiple of the denominators, the matrix has integer entries.
  mpz_class scale = 1;
  for (const auto& row : s)
    for (const mpq_class& v : row) mpz_lcm(scale.get_mpz_t(), scale.get_mpz_t(), v.get_den_mpz_t());
  std::vector<std::vector<mpz_class>> a(n, std::vector<mpz_class>(n));
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) a[i][j] = s[i][j].get_num() * (scale / s[i][j].get_den());

  // Symmetric fraction-free elimination on a positive diagonal pivot: entry (i, j) of what remains
  // is the determinant of the pivots' principal submatrix bordered by row i and column j, whose sign
  // on the diagonal is that of the Schur complement. A form is semidefinite exactly when every
  // pivot is positive, the complement of each is semidefinite, and a zero diagonal entry has a zero
  // row.
  std::vector<std::size_t> rest(n);
  for (std::size_t i = 0; i < n; ++i) rest[i] = i;
  mpz_class previous = 1;
  while (!rest.empty()) {
    std::vector<std::size_t> kept;
    std::size_t pivot = n;
    for (const std::size_t i : rest) {
      const int sign = sgn(a[i][i]);
      if (sign < 0) return false;
      if (sign == 0) {
        for (const std::size_t j : rest)
          if (a[i][j] != 0) return false;
        continue; // a zero row and column: the form does not depend on this variable any more
      }
      if (pivot == n) pivot = i;
      kept.push_back(i);
    }
    if (pivot == n) return true;
    kept.erase(std::find(kept.begin(), kept.end(), pivot));
    const mpz_class p = a[pivot][pivot];
    for (std::size_t x = 0; x < kept.size(); ++x) {
      const std::size_t i = kept[x];
      for (std::size_t y = x; y < kept.size(); ++y) {
        const std::size_t j = kept[y];
        mpz_class t = p * a[i][j] - a[i][pivot] * a[pivot][j];
        mpz_divexact(a[i][j].get_mpz_t(), t.get_mpz_t(), previous.get_mpz_t());
        a[j][i] = a[i][j];
      }
    }
    previous = p;
    rest = std::move(kept);
  }
  return true;
}
