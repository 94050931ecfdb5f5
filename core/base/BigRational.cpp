// Integers and fractions of any size, and the exact test of a quadratic form's definiteness.
#include "BigRational.h"

#include <algorithm>
#include <utility>

namespace {

using TLimbs = std::vector<std::uint32_t>;

void TrimLimbs(TLimbs& v) noexcept {
  while (!v.empty() && v.back() == 0) v.pop_back();
}

// Divides the magnitude by a single limb in place and returns the remainder.
std::uint32_t DivSmall(TLimbs& a, std::uint32_t d) noexcept {
  std::uint64_t rem = 0;
  for (std::size_t i = a.size(); i-- > 0;) {
    const std::uint64_t cur = (rem << 32) | a[i];
    a[i] = static_cast<std::uint32_t>(cur / d);
    rem = cur % d;
  }
  TrimLimbs(a);
  return static_cast<std::uint32_t>(rem);
}

// Knuth's algorithm D: u / v for magnitudes with v of at least two limbs and |u| >= |v|.
void DivLong(const TLimbs& u0, const TLimbs& v0, TLimbs& q, TLimbs& r) {
  const int shift = __builtin_clz(v0.back());
  const auto shifted = [shift](const TLimbs& x, bool extra) {
    TLimbs out(x.size() + (extra ? 1 : 0), 0);
    for (std::size_t i = 0; i < x.size(); ++i) {
      const std::uint64_t wide = static_cast<std::uint64_t>(x[i]) << shift;
      out[i] |= static_cast<std::uint32_t>(wide);
      if (i + 1 < out.size()) out[i + 1] |= static_cast<std::uint32_t>(wide >> 32);
    }
    return out;
  };
  const TLimbs v = shifted(v0, false);
  TLimbs u = shifted(u0, true);
  const std::size_t n = v.size();
  const std::size_t m = u.size() - n - 1;
  q.assign(m + 1, 0);
  constexpr std::uint64_t Base = 1ULL << 32;
  for (std::size_t j = m + 1; j-- > 0;) {
    const std::uint64_t top = (static_cast<std::uint64_t>(u[j + n]) << 32) | u[j + n - 1];
    std::uint64_t qhat = top / v[n - 1];
    std::uint64_t rhat = top % v[n - 1];
    while (qhat >= Base || qhat * v[n - 2] > ((rhat << 32) | u[j + n - 2])) {
      --qhat;
      rhat += v[n - 1];
      if (rhat >= Base) break;
    }
    // u[j .. j+n] -= qhat * v
    std::int64_t borrow = 0;
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t p = qhat * v[i] + carry;
      carry = p >> 32;
      const std::int64_t t = static_cast<std::int64_t>(u[i + j]) - borrow - static_cast<std::int64_t>(p & 0xFFFFFFFFu);
      u[i + j] = static_cast<std::uint32_t>(t);
      borrow = t < 0 ? 1 : 0;
    }
    const std::int64_t t = static_cast<std::int64_t>(u[j + n]) - borrow - static_cast<std::int64_t>(carry);
    u[j + n] = static_cast<std::uint32_t>(t);
    if (t < 0) {
      // qhat was one too large: add v back.
      --qhat;
      std::uint64_t c = 0;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t s = static_cast<std::uint64_t>(u[i + j]) + v[i] + c;
        u[i + j] = static_cast<std::uint32_t>(s);
        c = s >> 32;
      }
      u[j + n] = static_cast<std::uint32_t>(static_cast<std::uint64_t>(u[j + n]) + c);
    }
    q[j] = static_cast<std::uint32_t>(qhat);
  }
  TrimLimbs(q);
  r.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t low = u[i] >> shift;
    const std::uint64_t high = shift == 0 ? 0 : static_cast<std::uint64_t>(u[i + 1]) << (32 - shift);
    r[i] = static_cast<std::uint32_t>(low | high);
  }
  TrimLimbs(r);
}

} // namespace

TBigInt::TBigInt(std::int64_t v) {
  Negative = v < 0;
  std::uint64_t mag = Negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  while (mag != 0) {
    Mag.push_back(static_cast<std::uint32_t>(mag));
    mag >>= 32;
  }
}

void TBigInt::Trim() noexcept {
  TrimLimbs(Mag);
  if (Mag.empty()) Negative = false;
}

bool TBigInt::ToInt64(std::int64_t& v) const noexcept {
  if (Mag.size() > 2) return false;
  std::uint64_t mag = 0;
  for (std::size_t i = Mag.size(); i-- > 0;) mag = (mag << 32) | Mag[i];
  if (!Negative && mag > static_cast<std::uint64_t>(INT64_MAX)) return false;
  if (Negative && mag > static_cast<std::uint64_t>(INT64_MAX) + 1) return false;
  v = Negative ? static_cast<std::int64_t>(0 - mag) : static_cast<std::int64_t>(mag);
  return true;
}

std::string TBigInt::ToString() const {
  if (Mag.empty()) return "0";
  TLimbs rest = Mag;
  std::string digits;
  while (!rest.empty()) {
    std::uint32_t chunk = DivSmall(rest, 1000000000u);
    for (int k = 0; k < 9 && (chunk != 0 || !rest.empty()); ++k) {
      digits.push_back(static_cast<char>('0' + chunk % 10));
      chunk /= 10;
    }
  }
  if (Negative) digits.push_back('-');
  std::reverse(digits.begin(), digits.end());
  return digits;
}

int TBigInt::CompareMag(const TLimbs& a, const TLimbs& b) noexcept {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

TLimbs TBigInt::AddMag(const TLimbs& a, const TLimbs& b) {
  const TLimbs& longer = a.size() >= b.size() ? a : b;
  const TLimbs& shorter = a.size() >= b.size() ? b : a;
  TLimbs out(longer.size() + 1, 0);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < longer.size(); ++i) {
    const std::uint64_t s = static_cast<std::uint64_t>(longer[i]) + (i < shorter.size() ? shorter[i] : 0) + carry;
    out[i] = static_cast<std::uint32_t>(s);
    carry = s >> 32;
  }
  out[longer.size()] = static_cast<std::uint32_t>(carry);
  TrimLimbs(out);
  return out;
}

TLimbs TBigInt::SubMag(const TLimbs& a, const TLimbs& b) {
  TLimbs out(a.size(), 0);
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::int64_t d = static_cast<std::int64_t>(a[i]) - (i < b.size() ? b[i] : 0) - borrow;
    borrow = d < 0 ? 1 : 0;
    if (d < 0) d += std::int64_t{1} << 32;
    out[i] = static_cast<std::uint32_t>(d);
  }
  TrimLimbs(out);
  return out;
}

TBigInt operator+(const TBigInt& a, const TBigInt& b) {
  TBigInt r;
  if (a.Negative == b.Negative) {
    r.Mag = TBigInt::AddMag(a.Mag, b.Mag);
    r.Negative = a.Negative;
  } else if (TBigInt::CompareMag(a.Mag, b.Mag) >= 0) {
    r.Mag = TBigInt::SubMag(a.Mag, b.Mag);
    r.Negative = a.Negative;
  } else {
    r.Mag = TBigInt::SubMag(b.Mag, a.Mag);
    r.Negative = b.Negative;
  }
  r.Trim();
  return r;
}

TBigInt operator-(const TBigInt& a, const TBigInt& b) { return a + (-b); }

TBigInt operator*(const TBigInt& a, const TBigInt& b) {
  TBigInt r;
  if (a.Mag.empty() || b.Mag.empty()) return r;
  r.Mag.assign(a.Mag.size() + b.Mag.size(), 0);
  for (std::size_t i = 0; i < a.Mag.size(); ++i) {
    std::uint64_t carry = 0;
    for (std::size_t j = 0; j < b.Mag.size(); ++j) {
      const std::uint64_t t = static_cast<std::uint64_t>(a.Mag[i]) * b.Mag[j] + r.Mag[i + j] + carry;
      r.Mag[i + j] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    r.Mag[i + b.Mag.size()] = static_cast<std::uint32_t>(carry);
  }
  r.Negative = a.Negative != b.Negative;
  r.Trim();
  return r;
}

void DivMod(const TBigInt& a, const TBigInt& b, TBigInt& q, TBigInt& r) {
  TBigInt quotient;
  TBigInt remainder;
  if (TBigInt::CompareMag(a.Mag, b.Mag) < 0) {
    remainder = a;
  } else if (b.Mag.size() == 1) {
    quotient.Mag = a.Mag;
    const std::uint32_t rem = DivSmall(quotient.Mag, b.Mag[0]);
    if (rem != 0) remainder.Mag.push_back(rem);
  } else {
    DivLong(a.Mag, b.Mag, quotient.Mag, remainder.Mag);
  }
  quotient.Negative = a.Negative != b.Negative;
  remainder.Negative = a.Negative;
  quotient.Trim();
  remainder.Trim();
  q = std::move(quotient);
  r = std::move(remainder);
}

TBigInt operator/(const TBigInt& a, const TBigInt& b) {
  TBigInt q;
  TBigInt r;
  DivMod(a, b, q, r);
  return q;
}

TBigInt operator%(const TBigInt& a, const TBigInt& b) {
  TBigInt q;
  TBigInt r;
  DivMod(a, b, q, r);
  return r;
}

std::strong_ordering operator<=>(const TBigInt& a, const TBigInt& b) noexcept {
  if (a.Sign() != b.Sign()) return a.Sign() <=> b.Sign();
  const int mag = TBigInt::CompareMag(a.Mag, b.Mag);
  const int cmp = a.Negative ? -mag : mag;
  return cmp <=> 0;
}

TBigInt Gcd(TBigInt a, TBigInt b) {
  if (a.Sign() < 0) a = -a;
  if (b.Sign() < 0) b = -b;
  while (!b.IsZero()) {
    TBigInt t = a % b;
    a = std::move(b);
    b = std::move(t);
  }
  return a;
}

TBigRational::TBigRational(TRational r) {
  if (!RatIsValid(r)) return;
  *this = TBigRational(TBigInt(r.Num), TBigInt(r.Den));
}

TBigRational::TBigRational(TBigInt num, TBigInt den) : N(std::move(num)), D(std::move(den)) {
  if (D.Sign() < 0) {
    N = -N;
    D = -D;
  }
  const TBigInt g = Gcd(N, D);
  if (!g.IsZero() && g != TBigInt(1)) {
    N = N / g;
    D = D / g;
  }
  if (N.IsZero()) D = 1;
}

TRational TBigRational::ToRational() const {
  std::int64_t num = 0;
  std::int64_t den = 0;
  if (!N.ToInt64(num) || !D.ToInt64(den) || num < INT32_MIN || num > INT32_MAX || den > INT32_MAX)
    return {N.Sign() >= 0 ? 1 : -1, 0};
  return {static_cast<std::int32_t>(num), static_cast<std::int32_t>(den)};
}

TBigRational operator+(const TBigRational& a, const TBigRational& b) {
  if (a.D == b.D) return {a.N + b.N, a.D};
  return {a.N * b.D + b.N * a.D, a.D * b.D};
}

TBigRational operator-(const TBigRational& a, const TBigRational& b) {
  if (a.D == b.D) return {a.N - b.N, a.D};
  return {a.N * b.D - b.N * a.D, a.D * b.D};
}

TBigRational operator*(const TBigRational& a, const TBigRational& b) { return {a.N * b.N, a.D * b.D}; }

TBigRational operator/(const TBigRational& a, const TBigRational& b) { return {a.N * b.D, a.D * b.N}; }

std::strong_ordering operator<=>(const TBigRational& a, const TBigRational& b) { return a.N * b.D <=> b.N * a.D; }

bool IsPositiveSemidefinite(const std::vector<std::vector<TBigRational>>& s) {
  const std::size_t n = s.size();
  // Scaled by the least common multiple of the denominators, the matrix has integer entries.
  TBigInt scale = 1;
  for (const auto& row : s)
    for (const TBigRational& v : row) scale = scale / Gcd(scale, v.Den()) * v.Den();
  std::vector<std::vector<TBigInt>> a(n, std::vector<TBigInt>(n));
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) a[i][j] = s[i][j].Num() * (scale / s[i][j].Den());

  // Symmetric fraction-free elimination on a positive diagonal pivot: entry (i, j) of what remains
  // is the determinant of the pivots' principal submatrix bordered by row i and column j, whose sign
  // on the diagonal is that of the Schur complement. A form is semidefinite exactly when every
  // pivot is positive, the complement of each is semidefinite, and a zero diagonal entry has a zero
  // row.
  std::vector<std::size_t> rest(n);
  for (std::size_t i = 0; i < n; ++i) rest[i] = i;
  TBigInt previous = 1;
  while (!rest.empty()) {
    std::vector<std::size_t> kept;
    std::size_t pivot = n;
    for (const std::size_t i : rest) {
      const int sign = a[i][i].Sign();
      if (sign < 0) return false;
      if (sign == 0) {
        for (const std::size_t j : rest)
          if (!a[i][j].IsZero()) return false;
        continue; // a zero row and column: the form does not depend on this variable any more
      }
      if (pivot == n) pivot = i;
      kept.push_back(i);
    }
    if (pivot == n) return true;
    kept.erase(std::find(kept.begin(), kept.end(), pivot));
    const TBigInt& p = a[pivot][pivot];
    for (std::size_t x = 0; x < kept.size(); ++x) {
      const std::size_t i = kept[x];
      for (std::size_t y = x; y < kept.size(); ++y) {
        const std::size_t j = kept[y];
        a[i][j] = (p * a[i][j] - a[i][pivot] * a[pivot][j]) / previous;
        a[j][i] = a[i][j];
      }
    }
    previous = p;
    rest = std::move(kept);
  }
  return true;
}
