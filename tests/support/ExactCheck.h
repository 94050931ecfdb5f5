// Independent checks of answers: exact fractions on integers of any size written apart from the code under
// test, the table of problems of a task type, and a brute-force optimum of a small linear program
// over all vertices of its feasible set.
#pragma once

#include <gmpxx.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace xc {

__extension__ typedef __int128 I128;

// The integers of the reference: any size (GMP), so that no product of the checks can wrap.
using Int = mpz_class;

inline Int FromWide(I128 v) {
  const bool negative = v < 0;
  __extension__ using U128 = unsigned __int128;
  const U128 m = negative ? U128{0} - static_cast<U128>(v) : static_cast<U128>(v);
  Int r = static_cast<unsigned long>(static_cast<std::uint64_t>(m >> 64));
  r <<= 64;
  r += static_cast<unsigned long>(static_cast<std::uint64_t>(m));
  return negative ? Int(-r) : r;
}

// An exact fraction n/d, d > 0, in lowest terms.
struct Q {
  Int n = 0;
  Int d = 1;
};

inline Q Make(Int n, Int d) {
  if (d < 0) {
    n = -n;
    d = -d;
  }
  if (n == 0) return Q{0, 1};
  Int g;
  mpz_gcd(g.get_mpz_t(), n.get_mpz_t(), d.get_mpz_t());
  return Q{n / g, d / g};
}

inline Q Make(I128 n, I128 d) { return Make(FromWide(n), FromWide(d)); }
inline Q Make(long n, long d) { return Make(Int(n), Int(d)); }
inline Q Make(int n, int d) { return Make(Int(n), Int(d)); }

inline Q operator+(const Q& a, const Q& b) { return Make(Int(a.n * b.d + b.n * a.d), Int(a.d * b.d)); }
inline Q operator-(const Q& a, const Q& b) { return Make(Int(a.n * b.d - b.n * a.d), Int(a.d * b.d)); }
inline Q operator*(const Q& a, const Q& b) { return Make(Int(a.n * b.n), Int(a.d * b.d)); }
inline Q operator/(const Q& a, const Q& b) { return Make(Int(a.n * b.d), Int(a.d * b.n)); }
inline bool operator==(const Q& a, const Q& b) { return a.n == b.n && a.d == b.d; }
inline bool operator<(const Q& a, const Q& b) { return a.n * b.d < b.n * a.d; }
inline bool operator<=(const Q& a, const Q& b) { return !(b < a); }
inline bool IsZero(const Q& a) { return a.n == 0; }

// "5", "-4/3", "+7", "0.35", "-1,5", of any length (nothing else is expected in test data).
inline Q Parse(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (const auto point = s.find_first_of(".,"); point != std::string_view::npos) {
    const std::string digits = std::string(s.substr(0, point)) + std::string(s.substr(point + 1));
    Int scale = 1;
    for (std::size_t k = point + 1; k < s.size(); ++k) scale *= 10;
    return Make(Int(digits == "-" || digits.empty() ? std::string("0") : digits, 10), scale);
  }
  const auto slash = s.find('/');
  const Int num(std::string(s.substr(0, slash)), 10);
  const Int den(slash == std::string_view::npos ? std::string("1") : std::string(s.substr(slash + 1)), 10);
  return Make(num, den);
}

inline std::string Show(const Q& q) { return q.d == 1 ? q.n.get_str() : q.n.get_str() + "/" + q.d.get_str(); }

// One row of a table tests/data/<task>/expected:  <file> <status> [<objective> [<x1> ... <xn>]]
// ("#" starts a comment). The values are written as the program writes them.
struct TExpected {
  std::string File;
  std::string Status;
  std::string Objective; // empty when the row gives none
  std::vector<std::string> X;
};

inline std::vector<TExpected> ReadExpected(const std::filesystem::path& folder) {
  std::vector<TExpected> rows;
  std::ifstream in(folder / "expected");
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line.substr(0, line.find('#')));
    TExpected row;
    if (!(words >> row.File >> row.Status)) continue;
    words >> row.Objective;
    for (std::string v; words >> v;) row.X.push_back(v);
    rows.push_back(std::move(row));
  }
  return rows;
}

inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// sum_j A[i][j] x_j (relation) B[i] for every row, x >= 0. Relations: -1 "<=", 0 "=", 1 ">=".
struct TSystem {
  std::vector<std::vector<Q>> A;
  std::vector<int> Relation;
  std::vector<Q> B;
};

inline bool Feasible(const TSystem& s, const std::vector<Q>& x) {
  for (const Q& v : x)
    if (v < Q{}) return false;
  for (std::size_t i = 0; i < s.A.size(); ++i) {
    Q lhs;
    for (std::size_t j = 0; j < x.size(); ++j) lhs = lhs + s.A[i][j] * x[j];
    if ((s.Relation[i] < 0 && !(lhs <= s.B[i])) || (s.Relation[i] > 0 && !(s.B[i] <= lhs)) ||
        (s.Relation[i] == 0 && !(lhs == s.B[i])))
      return false;
  }
  return true;
}

// Solves the square system M y = r exactly; empty when M is singular.
inline std::optional<std::vector<Q>> SolveSquare(std::vector<std::vector<Q>> m, std::vector<Q> r) {
  const std::size_t n = r.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    while (p < n && IsZero(m[p][c])) ++p;
    if (p == n) return std::nullopt;
    std::swap(m[p], m[c]);
    std::swap(r[p], r[c]);
    for (std::size_t i = 0; i < n; ++i) {
      if (i == c || IsZero(m[i][c])) continue;
      const Q f = m[i][c] / m[c][c];
      for (std::size_t k = c; k < n; ++k) m[i][k] = m[i][k] - f * m[c][k];
      r[i] = r[i] - f * r[c];
    }
  }
  for (std::size_t i = 0; i < n; ++i) r[i] = r[i] / m[i][i];
  return r;
}

// Every vertex of {x >= 0 : the system}: each choice of n tight constraints among the rows and the
// bounds x_j >= 0 whose solution is unique and feasible. For small problems only.
inline std::vector<std::vector<Q>> Vertices(const TSystem& s, std::size_t n) {
  const std::size_t m = s.A.size();
  const std::size_t total = m + n;
  std::vector<std::vector<Q>> out;
  std::vector<bool> pick(total, false);
  std::fill(pick.begin(), pick.begin() + static_cast<std::ptrdiff_t>(std::min(n, total)), true);
  do {
    std::vector<std::vector<Q>> rows;
    std::vector<Q> rhs;
    for (std::size_t k = 0; k < total; ++k) {
      if (!pick[k]) continue;
      if (k < m) {
        rows.push_back(s.A[k]);
        rhs.push_back(s.B[k]);
      } else {
        std::vector<Q> unit(n);
        unit[k - m] = Q{1, 1};
        rows.push_back(unit);
        rhs.push_back(Q{});
      }
    }
    if (const auto x = SolveSquare(rows, rhs);
        x && Feasible(s, *x) && std::find(out.begin(), out.end(), *x) == out.end())
      out.push_back(*x);
  } while (std::prev_permutation(pick.begin(), pick.end()));
  return out;
}

// The optimum of max c.x over {x >= 0 : the system} by the two-phase simplex method with Bland's
// rule, on a dense table of its own: the end ("optimal", "unbounded", "infeasible") and, at the
// optimum, the value and a point.
struct TLinearOptimum {
  std::string End;
  Q Value;
  std::vector<Q> X;
};

inline TLinearOptimum MaximiseExactly(const TSystem& s, const std::vector<Q>& c) {
  const std::size_t m = s.A.size();
  const std::size_t n = c.size();
  // Rows with b >= 0; columns x, one slack or surplus per inequality, one artificial per row.
  std::size_t cols = n;
  std::vector<std::size_t> slack(m, 0);
  for (std::size_t i = 0; i < m; ++i)
    if (s.Relation[i] != 0) slack[i] = cols++;
  const std::size_t firstArtificial = cols;
  cols += m;
  std::vector<std::vector<Q>> t(m, std::vector<Q>(cols + 1));
  std::vector<std::size_t> basis(m);
  for (std::size_t i = 0; i < m; ++i) {
    const bool flip = s.B[i] < Q{};
    const Q sign{flip ? -1 : 1, 1};
    for (std::size_t j = 0; j < n; ++j) t[i][j] = sign * s.A[i][j];
    if (s.Relation[i] != 0) t[i][slack[i]] = sign * Q{s.Relation[i] < 0 ? 1 : -1, 1};
    t[i][firstArtificial + i] = Q{1, 1};
    t[i][cols] = sign * s.B[i];
    basis[i] = firstArtificial + i;
  }
  const auto pivot = [&](std::size_t r, std::size_t k) {
    const Q p = t[r][k];
    for (Q& v : t[r]) v = v / p;
    for (std::size_t i = 0; i < m; ++i) {
      if (i == r || IsZero(t[i][k])) continue;
      const Q f = t[i][k];
      for (std::size_t j = 0; j <= cols; ++j) t[i][j] = t[i][j] - f * t[r][j];
    }
    basis[r] = k;
  };
  // Maximises obj over the allowed columns; false when unbounded.
  const auto run = [&](const std::vector<Q>& obj, std::size_t allowed) {
    for (;;) {
      std::size_t enter = allowed;
      for (std::size_t j = 0; j < allowed && enter == allowed; ++j) {
        Q z = obj[j];
        for (std::size_t i = 0; i < m; ++i) z = z - obj[basis[i]] * t[i][j];
        if (Q{} < z) enter = j;
      }
      if (enter == allowed) return true;
      std::size_t leave = m;
      Q best;
      for (std::size_t i = 0; i < m; ++i) {
        if (!(Q{} < t[i][enter])) continue;
        const Q ratio = t[i][cols] / t[i][enter];
        if (leave == m || ratio < best || (ratio == best && basis[i] < basis[leave])) {
          leave = i;
          best = ratio;
        }
      }
      if (leave == m) return false;
      pivot(leave, enter);
    }
  };
  std::vector<Q> phase1(cols);
  for (std::size_t i = 0; i < m; ++i) phase1[firstArtificial + i] = Q{-1, 1};
  run(phase1, cols);
  for (std::size_t i = 0; i < m; ++i)
    if (basis[i] >= firstArtificial && !IsZero(t[i][cols])) return {"infeasible", Q{}, {}};
  for (std::size_t i = 0; i < m; ++i) {
    if (basis[i] < firstArtificial) continue;
    for (std::size_t j = 0; j < firstArtificial; ++j)
      if (!IsZero(t[i][j])) {
        pivot(i, j);
        break;
      }
  }
  std::vector<Q> phase2(cols);
  for (std::size_t j = 0; j < n; ++j) phase2[j] = c[j];
  if (!run(phase2, firstArtificial)) return {"unbounded", Q{}, {}};
  std::vector<Q> x(n);
  for (std::size_t i = 0; i < m; ++i)
    if (basis[i] < n) x[basis[i]] = t[i][cols];
  Q value;
  for (std::size_t j = 0; j < n; ++j) value = value + c[j] * x[j];
  return {"optimal", value, x};
}

inline Q Dot(const std::vector<Q>& c, const std::vector<Q>& x) {
  Q sum;
  for (std::size_t j = 0; j < x.size(); ++j) sum = sum + c[j] * x[j];
  return sum;
}

} // namespace xc
