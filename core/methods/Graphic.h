// The graphical method for a program in two variables: its feasible region, the vertices, the optimum
// and the integer points computed exactly, and the report section "Графический метод" that draws them.
#pragma once

#include "BranchTree.h"

#include <gmpxx.h>

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;
class TZLPCore_SubInterface_ZLP;

// An integer of any size: a signed 128-bit value while the results fit it, a GMP integer beyond. The
// geometry of two variables with 32-bit fraction coefficients almost always stays within 128 bits,
// where it runs at the speed of machine integers; whatever outgrows them is exact all the same.
class TWideInt {
public:
  __extension__ using TSmall = __int128;

  TWideInt() = default;
  TWideInt(TSmall v) : Small(v) {} // NOLINT(google-explicit-constructor): integers mix freely
  template <class T>
  requires std::is_integral_v<T> TWideInt(T v) : Small(static_cast<TSmall>(v)) {} // NOLINT(google-explicit-constructor)
  TWideInt(const mpz_class& v);                                                   // NOLINT(google-explicit-constructor)
  explicit TWideInt(double v);

  [[nodiscard]] bool IsSmall() const noexcept { return !Big; }
  // The value of a small one.
  [[nodiscard]] TSmall SmallValue() const noexcept { return Small; }
  [[nodiscard]] mpz_class ToMpz() const;
  [[nodiscard]] double ToDouble() const;
  [[nodiscard]] std::string ToString() const;
  [[nodiscard]] int Sign() const noexcept;

  friend TWideInt operator+(const TWideInt& a, const TWideInt& b) {
    TSmall r;
    if (a.IsSmall() && b.IsSmall() && !__builtin_add_overflow(a.Small, b.Small, &r)) return r;
    return Slow(a, b, '+');
  }
  friend TWideInt operator-(const TWideInt& a, const TWideInt& b) {
    TSmall r;
    if (a.IsSmall() && b.IsSmall() && !__builtin_sub_overflow(a.Small, b.Small, &r)) return r;
    return Slow(a, b, '-');
  }
  friend TWideInt operator*(const TWideInt& a, const TWideInt& b) {
    TSmall r;
    if (a.IsSmall() && b.IsSmall() && !__builtin_mul_overflow(a.Small, b.Small, &r)) return r;
    return Slow(a, b, '*');
  }
  // Quotient rounded towards zero and the remainder with the sign of a, as for built-in integers.
  friend TWideInt operator/(const TWideInt& a, const TWideInt& b) {
    if (a.IsSmall() && b.IsSmall() && !(b.Small == -1 && a.Small == SmallMin())) return a.Small / b.Small;
    return Slow(a, b, '/');
  }
  friend TWideInt operator%(const TWideInt& a, const TWideInt& b) {
    if (a.IsSmall() && b.IsSmall() && b.Small != -1) return a.Small % b.Small;
    return Slow(a, b, '%');
  }
  friend TWideInt operator-(const TWideInt& a) { return TWideInt(0) - a; }
  TWideInt& operator++() { return *this = *this + 1; }
  TWideInt& operator+=(const TWideInt& b) { return *this = *this + b; }
  TWideInt& operator-=(const TWideInt& b) { return *this = *this - b; }
  TWideInt& operator*=(const TWideInt& b) { return *this = *this * b; }
  TWideInt& operator/=(const TWideInt& b) { return *this = *this / b; }
  friend bool operator==(const TWideInt& a, const TWideInt& b) { return Compare(a, b) == 0; }
  friend std::strong_ordering operator<=>(const TWideInt& a, const TWideInt& b) {
    const int c = Compare(a, b);
    return c < 0 ? std::strong_ordering::less : (c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
  }

private:
  __extension__ using TUnsignedSmall = unsigned __int128;
  static constexpr TSmall SmallMin() { return -static_cast<TSmall>(~TUnsignedSmall{0} >> 1) - 1; }
  static int Compare(const TWideInt& a, const TWideInt& b) {
    if (a.IsSmall() && b.IsSmall()) return (a.Small > b.Small) - (a.Small < b.Small);
    return SlowCompare(a, b);
  }
  static TWideInt Slow(const TWideInt& a, const TWideInt& b, char op);
  static int SlowCompare(const TWideInt& a, const TWideInt& b);

  TSmall Small = 0;
  std::shared_ptr<const mpz_class> Big; // set only for values beyond 128 bits
};

// gcd(|a|, |b|); floor(a / b) and ceil(a / b) for b > 0.
[[nodiscard]] TWideInt Gcd(const TWideInt& a, const TWideInt& b);
[[nodiscard]] TWideInt FloorDiv(const TWideInt& a, const TWideInt& b);
[[nodiscard]] TWideInt CeilDiv(const TWideInt& a, const TWideInt& b);

// An exact fraction Num/Den on integers of any size, Den > 0, in lowest terms. The point where two
// lines with 32-bit fraction coefficients meet needs more than a TRational holds; it is never rounded.
struct TWideRational {
  TWideInt Num = 0;
  TWideInt Den = 1;
  bool operator==(const TWideRational&) const = default;
};

// "5", "-4/3"
[[nodiscard]] std::string WideToStr(TWideRational q);
// The nearest double, for drawing only.
[[nodiscard]] double WideToDouble(TWideRational q) noexcept;

// A point (X1, X2) of the plane, or a direction.
struct TPlanePoint {
  TWideRational X;
  TWideRational Y;
  bool operator==(const TPlanePoint&) const = default;
};

// "(4; 0)", "(94/51; 75/17)"
[[nodiscard]] std::string PointToStr(const TPlanePoint& p);

enum class TRegionKind : std::uint8_t {
  Empty,     // no point satisfies every constraint together with X1, X2 >= 0
  Bounded,   // a polygon, a segment or a single point
  Unbounded, // it goes on without end along Rays
  TooLarge,  // the numbers passed the limits of exact arithmetic: nothing is known
};

// The feasible region {X1 >= 0, X2 >= 0, every constraint} of a program in two variables.
struct TPlaneRegion {
  TRegionKind Kind = TRegionKind::Empty;
  // The vertices (extreme points), each once, counter-clockwise along the boundary: a bounded region
  // from its lowest (then leftmost) vertex, an unbounded one from the vertex where its boundary
  // arrives from infinity.
  std::vector<TPlanePoint> Vertices;
  // An unbounded region: its extreme directions, one or two, as the smallest integer vectors, the
  // one nearer the X1 axis first. The region is conv(Vertices) + cone(Rays).
  std::vector<TPlanePoint> Rays;
};

// The region of a program with two variables (X1, X2 >= 0 always, every relation of a constraint).
[[nodiscard]] TPlaneRegion FeasibleRegion(const TZLPCore_SubInterface_ZLP& zlp);

enum class TOptimumKind : std::uint8_t {
  None,      // the region is empty
  Attained,  // Value is reached at Points (and along Ray)
  Unbounded, // the objective grows (a minimum: falls) without end over the region
  TooLarge,
};

// The optimum of the program's objective Z = c1 X1 + c2 X2 + c0 over its region, in the direction
// the program asks for.
struct TPlaneOptimum {
  TOptimumKind Kind = TOptimumKind::None;
  TWideRational Value;             // Z at the optimum, free term included
  std::vector<TPlanePoint> Points; // the optimal vertices: one, or the two ends of an optimal edge
  std::optional<TPlanePoint> Ray;  // the optimum holds on the whole ray from Points[0] in this direction
  bool Constant = false;           // c1 = c2 = 0: every feasible point is optimal
};

[[nodiscard]] TPlaneOptimum PlaneOptimum(const TZLPCore_SubInterface_ZLP& zlp, const TPlaneRegion& region);

// The part of the region on one integer line: Along = K (the enumerated variable) and Lo <= other <= Hi.
struct TLatticeColumn {
  TWideRational K;
  TWideRational Lo;
  TWideRational Hi;
  bool operator==(const TLatticeColumn&) const = default;
};

// The points of the region whose integer variables are integers, by enumeration of the integer lines
// X1 = k (or X2 = k): with both variables integer every column holds the integer points Lo, Lo + 1,
// ..., Hi; with one the whole segment. Only inside the box [0, XMax] x [0, YMax].
struct TLatticeSearch {
  bool Transposed = false; // the columns are X2 = K (else X1 = K)
  bool Complete = false;   // every integer line was examined (false: too many of them)
  std::vector<TLatticeColumn> Columns;
  std::uint64_t PointCount = 0; // with both variables integer, the integer points of all columns
  // The best objective value among them and the columns of the points where it is reached (a column
  // with Lo < Hi: every point of it); only for a bounded region and a complete search.
  std::optional<TWideRational> Value;
  std::vector<TLatticeColumn> Best;
};

// intX1, intX2: which variables must be integers (at least one). The box is the region's own when it
// is bounded; xMax, yMax bound an unbounded region's search, and no optimum is sought in it.
[[nodiscard]] TLatticeSearch LatticeSearch(const TZLPCore_SubInterface_ZLP& zlp, const TPlaneRegion& region, bool intX1,
                                           bool intX2, TWideRational xMax, TWideRational yMax);

// The section "Графический метод" for a linear program with exactly two variables (task type 8), or
// an integer program with two variables whose integer variables have been chosen (type 24,
// IF_INTEGERVARS): the picture, its caption, the vertices with the values of Z and the optimum. Writes
// nothing for other programs.
// An integer program solved by branch and bound also shows the regions of the end nodes of tree (as
// far as GraphicTreeNodes nodes of it: BranchTree of BranchBound.h).
inline constexpr std::int32_t GraphicTreeNodes = 79; // a tree of 40 end nodes
void WriteGraphicSection(const TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                         const TBranchTree* tree = nullptr);
