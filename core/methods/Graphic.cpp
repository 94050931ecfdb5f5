// The graphical method for a program in two variables: exact geometry and the report section.
#include "Graphic.h"

#include "BigRational.h"
#include "Svg.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <cctype>
#include <cmath>

TWideInt::TWideInt(const mpz_class& v) {
  if (mpz_sizeinbase(v.get_mpz_t(), 2) <= 126) {
    // Two 63-bit halves of the magnitude.
    const mpz_class m = abs(v);
    const mpz_class high = m >> 63;
    const mpz_class low = m - (high << 63);
    Small = (static_cast<TSmall>(high.get_ui()) << 63) | static_cast<TSmall>(low.get_ui());
    if (sgn(v) < 0) Small = -Small;
    return;
  }
  Big = std::make_shared<const mpz_class>(v);
}

TWideInt::TWideInt(double v) : TWideInt(mpz_class(v)) {}

mpz_class TWideInt::ToMpz() const {
  if (Big) return *Big;
  __extension__ using TUnsigned = unsigned __int128;
  const bool negative = Small < 0;
  const TUnsigned m = negative ? TUnsigned{0} - static_cast<TUnsigned>(Small) : static_cast<TUnsigned>(Small);
  mpz_class r = static_cast<unsigned long>(static_cast<std::uint64_t>(m >> 64));
  r <<= 64;
  r += static_cast<unsigned long>(static_cast<std::uint64_t>(m));
  return negative ? mpz_class(-r) : r;
}

double TWideInt::ToDouble() const { return Big ? Big->get_d() : static_cast<double>(Small); }

std::string TWideInt::ToString() const { return ToMpz().get_str(); }

int TWideInt::Sign() const noexcept { return Big ? sgn(*Big) : (Small > 0) - (Small < 0); }

TWideInt TWideInt::Slow(const TWideInt& a, const TWideInt& b, char op) {
  const mpz_class x = a.ToMpz();
  const mpz_class y = b.ToMpz();
  mpz_class r;
  switch (op) {
  case '+': r = x + y; break;
  case '-': r = x - y; break;
  case '*': r = x * y; break;
  case '/': mpz_tdiv_q(r.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t()); break;
  default: mpz_tdiv_r(r.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t()); break;
  }
  return r;
}

int TWideInt::SlowCompare(const TWideInt& a, const TWideInt& b) {
  const int c = cmp(a.ToMpz(), b.ToMpz());
  return (c > 0) - (c < 0);
}

TWideInt Gcd(const TWideInt& a, const TWideInt& b) {
  if (a.IsSmall() && b.IsSmall()) {
    __extension__ using TUnsigned = unsigned __int128;
    const auto magnitude = [](TWideInt::TSmall v) {
      return v < 0 ? TUnsigned{0} - static_cast<TUnsigned>(v) : static_cast<TUnsigned>(v);
    };
    TUnsigned x = magnitude(a.SmallValue());
    TUnsigned y = magnitude(b.SmallValue());
    while (y != 0) {
      const TUnsigned t = x % y;
      x = y;
      y = t;
    }
    // gcd(-2^127, 0) = 2^127 alone does not fit.
    if (x >> 127 != 0) return TWideInt(mpz_class(mpz_class(1) << 127));
    return static_cast<TWideInt::TSmall>(x);
  }
  mpz_class g;
  const mpz_class x = a.ToMpz();
  const mpz_class y = b.ToMpz();
  mpz_gcd(g.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t());
  return g;
}

TWideInt FloorDiv(const TWideInt& a, const TWideInt& b) {
  TWideInt f = a / b;
  if (a % b != 0 && (a.Sign() < 0) != (b.Sign() < 0)) f = f - 1;
  return f;
}

TWideInt CeilDiv(const TWideInt& a, const TWideInt& b) {
  TWideInt f = a / b;
  if (a % b != 0 && (a.Sign() < 0) == (b.Sign() < 0)) f = f + 1;
  return f;
}

namespace {

// ---- exact fractions of any size ----

// Thrown by the arithmetic below for a value that is no number (a division by zero, an invalid
// coefficient); it never leaves this unit: the entry points turn it into a TooLarge outcome.
struct TWideOverflow {};

TWideInt Mul(const TWideInt& a, const TWideInt& b) { return a * b; }

TWideInt Plus(const TWideInt& a, const TWideInt& b) { return a + b; }

TWideInt Negate(const TWideInt& a) { return -a; }

TWideRational Make(TWideInt n, TWideInt d) {
  if (d == 0) throw TWideOverflow{};
  if (d < 0) {
    n = Negate(n);
    d = Negate(d);
  }
  const TWideInt g = Gcd(n, d);
  return {n / g, d / g};
}

TWideRational Whole(TWideInt k) { return {k, 1}; }

TWideRational Wide(TRational r) {
  if (r.Den == 0) throw TWideOverflow{};
  if (!RatIsBig(r)) return Make(r.Num, r.Den);
  const mpq_class q = RatToMpq(r);
  return {q.get_num(), q.get_den()};
}

TWideRational operator+(TWideRational a, TWideRational b) {
  const TWideInt g = Gcd(a.Den, b.Den);
  return Make(Plus(Mul(a.Num, b.Den / g), Mul(b.Num, a.Den / g)), Mul(a.Den / g, b.Den));
}

TWideRational operator-(TWideRational a) { return {Negate(a.Num), a.Den}; }

TWideRational operator-(TWideRational a, TWideRational b) { return a + (-b); }

TWideRational operator*(TWideRational a, TWideRational b) {
  const TWideInt g1 = Gcd(a.Num, b.Den);
  const TWideInt g2 = Gcd(b.Num, a.Den);
  return Make(Mul(a.Num / g1, b.Num / g2), Mul(a.Den / g2, b.Den / g1));
}

TWideRational operator/(TWideRational a, TWideRational b) {
  if (b.Num == 0) throw TWideOverflow{};
  return a * (b.Num < 0 ? TWideRational{Negate(b.Den), Negate(b.Num)} : TWideRational{b.Den, b.Num});
}

int Sign(TWideRational a) { return (a.Num > 0) - (a.Num < 0); }

int Compare(TWideRational a, TWideRational b) { return Sign(a - b); }

TWideRational Max(TWideRational a, TWideRational b) { return Compare(a, b) < 0 ? b : a; }

TWideInt Floor(const TWideRational& q) { return FloorDiv(q.Num, q.Den); }

TWideInt Ceil(const TWideRational& q) { return CeilDiv(q.Num, q.Den); }

std::string IntToStr(const TWideInt& v) { return v.ToString(); }

// ---- lines, vertices, directions ----

// A X1 + B X2 (Rel) C with Rel -1 for "<=", 0 for "=", 1 for ">="; Number is the constraint's number
// in the model, 0 for X1 >= 0, X2 >= 0 and the frame of a picture. The same line with coprime integer
// coefficients, IA X1 + IB X2 (Rel) IC, when they fit (Integral): the fast road of the enumeration.
struct TLine {
  TWideRational A;
  TWideRational B;
  TWideRational C;
  int Rel = -1;
  std::int32_t Number = 0;
  TWideInt IA = 0;
  TWideInt IB = 0;
  TWideInt IC = 0;
  bool Integral = false;
};

TWideInt Lcm(TWideInt a, TWideInt b) { return Mul(a / Gcd(a, b), b); }

TLine MakeLine(TWideRational a, TWideRational b, TWideRational c, int rel, std::int32_t number) {
  TLine l{a, b, c, rel, number};
  try {
    const TWideInt scale = Lcm(Lcm(a.Den, b.Den), c.Den);
    l.IA = Mul(a.Num, scale / a.Den);
    l.IB = Mul(b.Num, scale / b.Den);
    l.IC = Mul(c.Num, scale / c.Den);
    if (const TWideInt g = Gcd(Gcd(l.IA, l.IB), l.IC); g > 1) {
      l.IA /= g;
      l.IB /= g;
      l.IC /= g;
    }
    l.Integral = true;
  } catch (const TWideOverflow&) {
    l.Integral = false;
  }
  return l;
}

int RelOf(TZLPCore_InequalitySign sign) {
  switch (sign) {
  case IS_BELOWOREQUAL:
  case IS_BELOW: return -1;
  case IS_EQUAL: return 0;
  default: return 1;
  }
}

std::vector<TLine> ProgramLines(const TZLPCore_SubInterface_ZLP& zlp) {
  std::vector<TLine> lines = {MakeLine(Whole(1), Whole(0), Whole(0), 1, 0),
                              MakeLine(Whole(0), Whole(1), Whole(0), 1, 0)};
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i)
    lines.push_back(MakeLine(Wide(zlp.Coeffs.GetItem(1, i)), Wide(zlp.Coeffs.GetItem(2, i)), Wide(zlp.RHS.GetItem(i)),
                             RelOf(zlp.GetSign(i)), i));
  return lines;
}

// X1 <= x and X2 <= y: the frame a picture is clipped to.
void AddFrame(std::vector<TLine>& lines, TWideRational x, TWideRational y) {
  lines.push_back(MakeLine(Whole(1), Whole(0), x, -1, 0));
  lines.push_back(MakeLine(Whole(0), Whole(1), y, -1, 0));
}

bool RelationHolds(int rel, int sign) { return rel < 0 ? sign <= 0 : rel > 0 ? sign >= 0 : sign == 0; }

bool IsLine(const TLine& l) { return Sign(l.A) != 0 || Sign(l.B) != 0; }

// The point where the boundary lines of a and b cross; none for parallel lines.
std::optional<TPlanePoint> Meet(const TLine& a, const TLine& b) {
  const TWideRational det = a.A * b.B - b.A * a.B;
  if (Sign(det) == 0) return std::nullopt;
  return TPlanePoint{(a.C * b.B - b.C * a.B) / det, (a.A * b.C - b.A * a.C) / det};
}

// A point (X / W, Y / W) with W > 0 and gcd(X, Y, W) = 1.
struct THomogeneous {
  TWideInt X;
  TWideInt Y;
  TWideInt W;
  bool operator==(const THomogeneous&) const = default;
};

TWideInt Minus(const TWideInt& a, const TWideInt& b) { return a - b; }

// The extreme points on the integer coefficients of the lines: the meeting point of two lines by
// Cramer's rule in homogeneous coordinates, every condition the sign of IA X + IB Y - IC W.
std::vector<TPlanePoint> IntegralExtremePoints(const std::vector<TLine>& lines) {
  std::vector<THomogeneous> found;
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (std::size_t j = i + 1; j < lines.size(); ++j) {
      const TLine& a = lines[i];
      const TLine& b = lines[j];
      THomogeneous p{Minus(Mul(a.IC, b.IB), Mul(b.IC, a.IB)), Minus(Mul(a.IA, b.IC), Mul(b.IA, a.IC)),
                     Minus(Mul(a.IA, b.IB), Mul(b.IA, a.IB))};
      if (p.W == 0) continue;
      if (p.W < 0) p = {Negate(p.X), Negate(p.Y), Negate(p.W)};
      const bool holds = std::all_of(lines.begin(), lines.end(), [&p](const TLine& l) {
        const TWideInt v = Minus(Plus(Mul(l.IA, p.X), Mul(l.IB, p.Y)), Mul(l.IC, p.W));
        return RelationHolds(l.Rel, (v > 0) - (v < 0));
      });
      if (!holds) continue;
      const TWideInt g = Gcd(Gcd(p.X, p.Y), p.W);
      p = {p.X / g, p.Y / g, p.W / g};
      if (std::find(found.begin(), found.end(), p) == found.end()) found.push_back(p);
    }
  std::vector<TPlanePoint> out;
  for (const THomogeneous& p : found) out.push_back({Make(p.X, p.W), Make(p.Y, p.W)});
  return out;
}

// Every point where two boundary lines cross and every condition holds: the extreme points of the
// set, each once. A feasible point on two crossing boundary lines is a vertex, so nothing else is
// found; a set with X1, X2 >= 0 among its conditions has a vertex whenever it is not empty.
std::vector<TPlanePoint> ExtremePoints(const std::vector<TLine>& lines) {
  if (!std::all_of(lines.begin(), lines.end(), [](const TLine& l) { return l.Integral; })) throw TWideOverflow{};
  return IntegralExtremePoints(lines);
}

// (a - o) x (b - o)
TWideRational Cross(const TPlanePoint& o, const TPlanePoint& a, const TPlanePoint& b) {
  return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

// Points in convex position, counter-clockwise from the lowest (then leftmost) one: seen from it,
// every other point lies at an angle in [0, pi), and the angles are ordered by the sign of the cross
// product.
void SortCounterClockwise(std::vector<TPlanePoint>& points) {
  if (points.empty()) return;
  const auto lowest = std::min_element(points.begin(), points.end(), [](const TPlanePoint& a, const TPlanePoint& b) {
    const int c = Compare(a.Y, b.Y);
    return c < 0 || (c == 0 && Compare(a.X, b.X) < 0);
  });
  std::iter_swap(points.begin(), lowest);
  const TPlanePoint o = points.front();
  std::sort(points.begin() + 1, points.end(),
            [&o](const TPlanePoint& a, const TPlanePoint& b) { return Sign(Cross(o, a, b)) > 0; });
}

// A direction d of the recession cone: a ray of the set from any of its points.
bool InCone(const std::vector<TLine>& lines, const TPlanePoint& d) {
  return std::all_of(lines.begin(), lines.end(), [&d](const TLine& l) {
    if (l.Integral && d.X.Den == 1 && d.Y.Den == 1) {
      const TWideInt v = Plus(Mul(l.IA, d.X.Num), Mul(l.IB, d.Y.Num));
      return RelationHolds(l.Rel, (v > 0) - (v < 0));
    }
    return RelationHolds(l.Rel, Sign(l.A * d.X + l.B * d.Y));
  });
}

// The direction as the smallest integer vector.
TPlanePoint SmallestIntegers(const TPlanePoint& d) {
  const TWideInt g = Gcd(d.X.Den, d.Y.Den);
  const TWideInt x = Mul(d.X.Num, d.Y.Den / g);
  const TWideInt y = Mul(d.Y.Num, d.X.Den / g);
  const TWideInt h = Gcd(x, y);
  return {Whole(x / h), Whole(y / h)};
}

// The extreme rays of the recession cone (it lies in the quadrant d >= 0, so each is the direction
// of an axis or of a boundary line), the one nearer the X1 axis first; none for a bounded set.
std::vector<TPlanePoint> ExtremeRays(const std::vector<TLine>& lines) {
  std::vector<TPlanePoint> candidates = {{Whole(1), Whole(0)}, {Whole(0), Whole(1)}};
  for (const TLine& l : lines)
    if (IsLine(l)) {
      const TPlanePoint d = l.Integral ? TPlanePoint{Whole(l.IB), Whole(Negate(l.IA))} : TPlanePoint{l.B, -l.A};
      candidates.push_back(d);
      candidates.push_back({-d.X, -d.Y});
    }
  std::vector<TPlanePoint> cone;
  for (const TPlanePoint& d : candidates)
    if (Sign(d.X) >= 0 && Sign(d.Y) >= 0 && InCone(lines, d)) cone.push_back(SmallestIntegers(d));
  if (cone.empty()) return {};
  const TPlanePoint origin{};
  TPlanePoint first = cone.front();
  TPlanePoint last = cone.front();
  for (const TPlanePoint& d : cone) {
    if (Sign(Cross(origin, d, first)) > 0) first = d;
    if (Sign(Cross(origin, last, d)) > 0) last = d;
  }
  if (first == last) return {first};
  return {first, last};
}

TWideRational MaxCoordinate(const std::vector<TPlanePoint>& points, bool y) {
  TWideRational m = Whole(0);
  for (const TPlanePoint& p : points) m = Max(m, y ? p.Y : p.X);
  return m;
}

// The vertices of an unbounded region along its boundary: the region clipped by a frame beyond every
// vertex is a polygon whose frame points form one run; the boundary starts after it.
std::vector<TPlanePoint> BoundaryOrder(std::vector<TLine> lines, const std::vector<TPlanePoint>& vertices) {
  const TWideRational f = Max(MaxCoordinate(vertices, false), MaxCoordinate(vertices, true)) + Whole(1);
  AddFrame(lines, f, f);
  std::vector<TPlanePoint> clipped = ExtremePoints(lines);
  SortCounterClockwise(clipped);
  const auto isVertex = [&vertices](const TPlanePoint& p) {
    return std::find(vertices.begin(), vertices.end(), p) != vertices.end();
  };
  const std::size_t n = clipped.size();
  std::size_t start = 0;
  for (std::size_t k = 0; k < n; ++k)
    if (!isVertex(clipped[k]) && isVertex(clipped[(k + 1) % n])) start = (k + 1) % n;
  std::vector<TPlanePoint> ordered;
  for (std::size_t k = 0; k < n && isVertex(clipped[(start + k) % n]); ++k) ordered.push_back(clipped[(start + k) % n]);
  return ordered;
}

struct TObjective {
  TWideRational C1;
  TWideRational C2;
  TWideRational C0;
  int Sense = 1; // 1 maximise, -1 minimise
  [[nodiscard]] TWideRational At(const TPlanePoint& p) const { return C1 * p.X + C2 * p.Y + C0; }
  [[nodiscard]] TWideRational Along(const TPlanePoint& d) const { return C1 * d.X + C2 * d.Y; }
};

TObjective ObjectiveOf(const TZLPCore_SubInterface_ZLP& zlp) {
  return {Wide(zlp.Objective.GetItem(1)), Wide(zlp.Objective.GetItem(2)), Wide(zlp.FreeTerm), zlp.IsMax ? 1 : -1};
}

} // namespace

// ---- the public geometry ----

std::string WideToStr(TWideRational q) {
  return q.Den == 1 ? IntToStr(q.Num) : IntToStr(q.Num) + "/" + IntToStr(q.Den);
}

double WideToDouble(TWideRational q) noexcept {
  if (q.Den == 0) return 0.0;
  if (q.Num.IsSmall() && q.Den.IsSmall())
    return static_cast<double>(static_cast<long double>(q.Num.ToDouble()) / static_cast<long double>(q.Den.ToDouble()));
  return mpq_class(q.Num.ToMpz(), q.Den.ToMpz()).get_d();
}

std::string PointToStr(const TPlanePoint& p) { return "(" + WideToStr(p.X) + "; " + WideToStr(p.Y) + ")"; }

TPlaneRegion FeasibleRegion(const TZLPCore_SubInterface_ZLP& zlp) {
  TPlaneRegion region;
  try {
    const std::vector<TLine> lines = ProgramLines(zlp);
    region.Vertices = ExtremePoints(lines);
    if (region.Vertices.empty()) return region;
    region.Rays = ExtremeRays(lines);
    if (region.Rays.empty()) {
      region.Kind = TRegionKind::Bounded;
      SortCounterClockwise(region.Vertices);
    } else {
      region.Kind = TRegionKind::Unbounded;
      region.Vertices = BoundaryOrder(lines, region.Vertices);
    }
  } catch (const TWideOverflow&) {
    region = TPlaneRegion{};
    region.Kind = TRegionKind::TooLarge;
  }
  return region;
}

TPlaneOptimum PlaneOptimum(const TZLPCore_SubInterface_ZLP& zlp, const TPlaneRegion& region) {
  TPlaneOptimum opt;
  if (region.Kind == TRegionKind::Empty) return opt;
  try {
    if (region.Kind == TRegionKind::TooLarge) throw TWideOverflow{};
    const TObjective z = ObjectiveOf(zlp);
    opt.Kind = TOptimumKind::Attained;
    if (Sign(z.C1) == 0 && Sign(z.C2) == 0) {
      opt.Constant = true;
      opt.Value = z.C0;
      return opt;
    }
    for (const TPlanePoint& d : region.Rays)
      if (Sign(z.Along(d)) * z.Sense > 0) {
        opt.Kind = TOptimumKind::Unbounded;
        return opt;
      }
    opt.Value = z.At(region.Vertices.front());
    for (const TPlanePoint& v : region.Vertices)
      opt.Value = Compare(z.At(v), opt.Value) * z.Sense > 0 ? z.At(v) : opt.Value;
    for (const TPlanePoint& v : region.Vertices)
      if (Compare(z.At(v), opt.Value) == 0) opt.Points.push_back(v);
    if (opt.Points.size() == 1)
      for (const TPlanePoint& d : region.Rays)
        if (Sign(z.Along(d)) == 0) opt.Ray = d;
  } catch (const TWideOverflow&) {
    opt = TPlaneOptimum{};
    opt.Kind = TOptimumKind::TooLarge;
  }
  return opt;
}

namespace {

// Beyond these the enumeration of integer lines is not attempted: a picture cannot show them anyway.
constexpr long MaxColumns = 100000;
constexpr long MaxColumnWork = 2000000; // integer lines times conditions

// The interval of the other variable on the line along = k, within every condition; none when empty.
std::optional<std::pair<TWideRational, TWideRational>> ColumnInterval(const std::vector<TLine>& lines, bool transposed,
                                                                      TWideRational k) {
  std::optional<TWideRational> lo;
  std::optional<TWideRational> hi;
  for (const TLine& l : lines) {
    const TWideRational along = transposed ? l.B : l.A;
    const TWideRational other = transposed ? l.A : l.B;
    const TWideRational rest = l.C - along * k;
    if (Sign(other) == 0) {
      if (!RelationHolds(l.Rel, -Sign(rest))) return std::nullopt;
      continue;
    }
    const TWideRational t = rest / other;
    const int rel = l.Rel * Sign(other);
    if (rel <= 0 && (!hi || Compare(t, *hi) < 0)) hi = t;
    if (rel >= 0 && (!lo || Compare(t, *lo) > 0)) lo = t;
  }
  if (!lo || !hi || Compare(*lo, *hi) > 0) return std::nullopt;
  return std::make_pair(*lo, *hi);
}

} // namespace

TLatticeSearch LatticeSearch(const TZLPCore_SubInterface_ZLP& zlp, const TPlaneRegion& region, bool intX1, bool intX2,
                             TWideRational xMax, TWideRational yMax) {
  TLatticeSearch search;
  const bool bounded = region.Kind == TRegionKind::Bounded;
  if ((!bounded && region.Kind != TRegionKind::Unbounded) || (!intX1 && !intX2)) return search;
  try {
    std::vector<TLine> lines = ProgramLines(zlp);
    if (!bounded) AddFrame(lines, xMax, yMax);
    // The box of the region (within the frame).
    TWideRational xLo = region.Vertices.front().X, yLo = region.Vertices.front().Y;
    for (const TPlanePoint& v : region.Vertices) {
      if (Compare(v.X, xLo) < 0) xLo = v.X;
      if (Compare(v.Y, yLo) < 0) yLo = v.Y;
    }
    const TWideRational xHi = bounded ? MaxCoordinate(region.Vertices, false) : xMax;
    const TWideRational yHi = bounded ? MaxCoordinate(region.Vertices, true) : yMax;
    const TWideInt xCount = Floor(xHi) - Ceil(xLo) + 1;
    const TWideInt yCount = Floor(yHi) - Ceil(yLo) + 1;
    // Along an integer variable; with both, along the one with fewer integer values.
    search.Transposed = !intX1 || (intX2 && yCount < xCount);
    const bool otherInteger = search.Transposed ? intX1 : intX2;
    const TWideInt first = search.Transposed ? Ceil(yLo) : Ceil(xLo);
    const TWideInt count = search.Transposed ? yCount : xCount;
    if (count > MaxColumns || Mul(std::max<TWideInt>(count, 0), TWideInt(lines.size())) > MaxColumnWork) return search;
    for (TWideInt k = first; k < first + count; ++k) {
      auto interval = ColumnInterval(lines, search.Transposed, Whole(k));
      if (!interval) continue;
      auto [lo, hi] = *interval;
      if (otherInteger) {
        lo = Whole(Ceil(lo));
        hi = Whole(Floor(hi));
        if (Compare(lo, hi) > 0) continue;
        search.PointCount += static_cast<std::uint64_t>((hi.Num - lo.Num + 1).ToDouble());
      }
      search.Columns.push_back({Whole(k), lo, hi});
    }
    search.Complete = true;
    if (!bounded) return search;
    const TObjective z = ObjectiveOf(zlp);
    const TWideRational cAlong = search.Transposed ? z.C2 : z.C1;
    const TWideRational cOther = search.Transposed ? z.C1 : z.C2;
    for (const TLatticeColumn& c : search.Columns) {
      const int direction = Sign(cOther) * z.Sense;
      TLatticeColumn best = c;
      if (direction > 0) best.Lo = c.Hi;
      if (direction < 0) best.Hi = c.Lo;
      const TWideRational value = cAlong * c.K + cOther * best.Lo + z.C0;
      const int better = search.Value ? Compare(value, *search.Value) * z.Sense : 1;
      if (better > 0) {
        search.Value = value;
        search.Best = {best};
      } else if (better == 0) {
        search.Best.push_back(best);
      }
    }
  } catch (const TWideOverflow&) {
    search = TLatticeSearch{};
  }
  return search;
}

// ---- the picture and the section ----

namespace {

constexpr const char* CRLF = "\r\n";
constexpr const char* Accent = "#c0392b";

// The frame of a picture, [0, X] x [0, Y], on whole multiples of the tick steps.
struct TFrame {
  TWideRational X;
  TWideRational Y;
  TTickStep StepX;
  TTickStep StepY;
};

TWideRational StepValue(const TTickStep& s) {
  TWideInt p = 1;
  for (int e = 0; e < std::abs(s.Exponent); ++e) p = Mul(p, 10);
  return s.Exponent >= 0 ? Whole(Mul(s.Mantissa, p)) : Make(s.Mantissa, p);
}

// The smallest whole number of steps reaching target (exactly beyond extent when strict).
TWideRational FrameEdge(const TTickStep& step, double target, TWideRational extent, bool strict) {
  const TWideRational s = StepValue(step);
  TWideRational edge = s * Whole(std::max<TWideInt>(1, static_cast<TWideInt>(std::ceil(target / step.Value() - 1e-9))));
  while (Compare(edge, extent) < 0 || (strict && Compare(edge, extent) == 0)) edge = edge + s;
  return edge;
}

// A frame that holds every vertex (an unbounded region: strictly, so that it shows how it goes on),
// the nonnegative axis intercepts of the constraint lines near them (within 3/2 of their extent), and for an empty
// region the points where the lines cross in the quadrant. Both axes get one scale unless their
// extents differ more than threefold.
TFrame PictureFrame(const std::vector<TLine>& lines, const TPlaneRegion& region) {
  std::vector<TPlanePoint> points = region.Vertices;
  if (region.Kind == TRegionKind::Empty)
    for (std::size_t i = 0; i < lines.size(); ++i)
      for (std::size_t j = i + 1; j < lines.size(); ++j)
        if (const auto p = Meet(lines[i], lines[j]); p && Sign(p->X) >= 0 && Sign(p->Y) >= 0) points.push_back(*p);
  TWideRational ex = MaxCoordinate(points, false);
  TWideRational ey = MaxCoordinate(points, true);
  const TWideRational base = Max(ex, ey);
  const auto near = [&base](TWideRational v) { return Sign(base) == 0 || Compare(v, base * Make(3, 2)) <= 0; };
  for (const TLine& l : lines) {
    if (l.Number == 0) continue;
    if (Sign(l.A) != 0)
      if (const TWideRational x = l.C / l.A; Sign(x) >= 0 && near(x)) ex = Max(ex, x);
    if (Sign(l.B) != 0)
      if (const TWideRational y = l.C / l.B; Sign(y) >= 0 && near(y)) ey = Max(ey, y);
  }
  const bool unbounded = region.Kind == TRegionKind::Unbounded;
  const auto target = [unbounded](TWideRational e) {
    const double v = WideToDouble(e);
    return unbounded ? std::max(v * 1.35, 1.0) : std::max(v * 1.08, 1e-9);
  };
  double tx = target(ex), ty = target(ey);
  if (Sign(ex) == 0 && Sign(ey) == 0) tx = ty = unbounded ? 10.0 : 1.0;
  const double big = std::max(tx, ty), small = std::min(tx, ty);
  TFrame frame;
  if (small * 3 >= big || Sign(ex) == 0 || Sign(ey) == 0) {
    frame.StepX = frame.StepY = NiceTickStep(big, 7);
    const TWideRational e = FrameEdge(frame.StepX, big, Max(ex, ey), unbounded);
    frame.X = frame.Y = e;
  } else {
    frame.StepX = NiceTickStep(tx, 7);
    frame.StepY = NiceTickStep(ty, 7);
    frame.X = FrameEdge(frame.StepX, tx, ex, unbounded);
    frame.Y = FrameEdge(frame.StepY, ty, ey, unbounded);
  }
  return frame;
}

// "A", "B", ... for the first 26 vertices, then "P27", ...
std::string VertexName(std::size_t k) {
  return k < 26 ? std::string(1, static_cast<char>('A' + k)) : "P" + std::to_string(k + 1);
}

std::string ZWord(bool isMax) { return std::string("Z<sub>") + (isMax ? "max" : "min") + "</sub>"; }

TSvgPoint ToSvg(const TPlanePoint& p) { return {WideToDouble(p.X), WideToDouble(p.Y)}; }

TWideRational Exact(const mpq_class& q) { return {TWideInt(q.get_num()), TWideInt(q.get_den())}; }

// The box a marker of radius r covers around p.
TSvgBox MarkerBox(const TSvgPlot& plot, TSvgPoint p, double r) {
  return {plot.PX(p.X) - r, plot.PY(p.Y) - r, plot.PX(p.X) + r, plot.PY(p.Y) + r};
}

// The end nodes of branch and bound a picture still shows one by one.
constexpr std::size_t MaxDrawnLeaves = (GraphicTreeNodes + 1) / 2;

// Everything the section says and draws.
struct TGraphic {
  const TZLPCore_SubInterface_ZLP& Zlp;
  std::vector<TLine> Lines;
  TPlaneRegion Region;
  TPlaneOptimum Optimum;
  bool IntX1 = false;
  bool IntX2 = false;
  std::optional<TLatticeSearch> Lattice;
  TFrame Frame;
  std::vector<TPlanePoint> Drawn;   // the region clipped by the frame, counter-clockwise
  std::vector<std::int32_t> Hidden; // constraint lines that miss the picture
  // Branch and bound: its nodes and their regions clipped by the frame (parallel to Tree).
  std::vector<TBranchNode> Tree;
  bool TreeWhole = true; // false: the tree goes on beyond the nodes of Tree
  std::vector<std::vector<TPlanePoint>> NodeRegions;

  [[nodiscard]] bool Integer() const { return IntX1 || IntX2; }
  [[nodiscard]] std::size_t LeafCount() const {
    return static_cast<std::size_t>(
        std::count_if(Tree.begin(), Tree.end(), [](const TBranchNode& n) { return n.End != TBranchEnd::Branched; }));
  }
  [[nodiscard]] bool TreeFinished() const {
    return std::none_of(Tree.begin(), Tree.end(), [](const TBranchNode& n) { return n.End == TBranchEnd::Stopped; });
  }
  // The regions of the nodes are drawn: a tree that ended, with few enough end nodes.
  [[nodiscard]] bool BranchesDrawn() const {
    return !Tree.empty() && TreeWhole && TreeFinished() && LeafCount() <= MaxDrawnLeaves;
  }
  // The node of the integer optimum branch and bound proved.
  [[nodiscard]] const TBranchNode* BestNode() const {
    if (!TreeWhole || !TreeFinished()) return nullptr;
    const auto it =
        std::find_if(Tree.begin(), Tree.end(), [](const TBranchNode& n) { return n.Best && n.X.size() == 2; });
    return it == Tree.end() ? nullptr : &*it;
  }
  [[nodiscard]] std::string VertexLabel(const TPlanePoint& p) const {
    const auto it = std::find(Region.Vertices.begin(), Region.Vertices.end(), p);
    return it == Region.Vertices.end()
               ? PointToStr(p)
               : VertexName(static_cast<std::size_t>(it - Region.Vertices.begin())) + PointToStr(p);
  }
  // A point of the optimum the level line passes through.
  [[nodiscard]] std::optional<TPlanePoint> LevelPoint() const {
    if (const TBranchNode* best = BestNode()) return TPlanePoint{Exact(best->X[0]), Exact(best->X[1])};
    if (Lattice && Lattice->Value && !Lattice->Best.empty()) {
      const TLatticeColumn& c = Lattice->Best.front();
      return Lattice->Transposed ? TPlanePoint{c.Lo, c.K} : TPlanePoint{c.K, c.Lo};
    }
    if (!Optimum.Points.empty()) return Optimum.Points.front();
    return std::nullopt;
  }
  // The level through the optimum the picture shows: the integer one for an integer program.
  [[nodiscard]] std::optional<TWideRational> Level() const {
    if (const TBranchNode* best = BestNode()) return Exact(best->Z);
    if (Lattice && Lattice->Value) return Lattice->Value;
    if (Optimum.Kind == TOptimumKind::Attained && !Optimum.Constant) return Optimum.Value;
    return std::nullopt;
  }
};

// A label beside the upper end of a line's part in the frame (the right end of a level line), 14
// pixels back along the line, to the right of it where that place is free.
TSvgPointLabel LineLabel(const TSvgPlot& plot, const std::pair<TSvgPoint, TSvgPoint>& seg, const std::string& markup,
                         const std::string& cls) {
  TSvgPoint end = seg.first, other = seg.second;
  const double rise = plot.PY(end.Y) - plot.PY(other.Y);
  if (rise > 0.5 || (rise > -0.5 && plot.PX(other.X) > plot.PX(end.X))) std::swap(end, other);
  const double dx = plot.PX(other.X) - plot.PX(end.X), dy = plot.PY(other.Y) - plot.PY(end.Y);
  const double len = std::hypot(dx, dy);
  const double back = len > 0 ? std::min(14.0, len / 2) / len : 0;
  return {{end.X + (other.X - end.X) * back, end.Y + (other.Y - end.Y) * back}, markup, cls, 1, 0, false};
}

// The picture's window around the frame, with room for the labels at the axes.
TSvgWindow PictureWindow(const TGraphic& g) {
  const double fx = WideToDouble(g.Frame.X), fy = WideToDouble(g.Frame.Y);
  return {-0.07 * fx, 1.1 * fx, -0.07 * fy, 1.1 * fy};
}

// The region of a node of branch and bound inside the frame: the program's region cut by the
// conditions of the node and of its ancestors, counter-clockwise.
std::vector<TPlanePoint> NodeRegion(const TGraphic& g, const TBranchNode& n) {
  std::vector<TLine> lines = g.Lines;
  AddFrame(lines, g.Frame.X, g.Frame.Y);
  for (const TBranchCondition& c : n.Conditions)
    lines.push_back(MakeLine(Whole(c.Var == 1 ? 1 : 0), Whole(c.Var == 2 ? 1 : 0), Exact(c.Limit), c.Up ? 1 : -1, 0));
  std::vector<TPlanePoint> points = ExtremePoints(lines);
  SortCounterClockwise(points);
  return points;
}

// The constraint lines that miss the picture: the caption names them.
std::vector<std::int32_t> HiddenLines(const TGraphic& g) {
  const TSvgWindow window = PictureWindow(g);
  std::vector<std::int32_t> hidden;
  for (const TLine& l : g.Lines)
    if (l.Number != 0 && IsLine(l) && !ClipLine(WideToDouble(l.A), WideToDouble(l.B), WideToDouble(l.C), window))
      hidden.push_back(l.Number);
  return hidden;
}

using TLineLabels = std::vector<std::pair<std::pair<TSvgPoint, TSvgPoint>, std::string>>;

void DrawBranches(TSvgPlot& plot, const TGraphic& g, std::vector<TSvgPointLabel>& labels);

// The region (or its edge), the dashed frame of an unbounded one, the regions of the nodes of branch
// and bound, the integer lines of a mixed program.
void DrawRegion(TSvgPlot& plot, const TGraphic& g, std::vector<TSvgPointLabel>& labels) {
  const double fx = WideToDouble(g.Frame.X), fy = WideToDouble(g.Frame.Y);
  if (g.Drawn.size() >= 3) {
    std::vector<TSvgPoint> polygon;
    for (const TPlanePoint& p : g.Drawn) polygon.push_back(ToSvg(p));
    plot.Polygon(polygon, "clsGrRegion", "fill=\"#3f7fbf\" fill-opacity=\"0.28\" stroke=\"#3f7fbf\"");
  } else if (g.Drawn.size() == 2) {
    plot.Line(ToSvg(g.Drawn[0]), ToSvg(g.Drawn[1]), "clsGrRegionLine", "stroke=\"#3f7fbf\" stroke-width=\"5\"");
  }
  if (g.Region.Kind == TRegionKind::Unbounded) {
    plot.Line({0, fy}, {fx, fy}, "clsGrFrame", "stroke=\"currentColor\" stroke-dasharray=\"2 3\"");
    plot.Line({fx, 0}, {fx, fy}, "clsGrFrame", "stroke=\"currentColor\" stroke-dasharray=\"2 3\"");
  }
  DrawBranches(plot, g, labels);
  // The integer lines of a mixed program; the integer points are drawn over the lines later.
  if (g.Lattice && !(g.IntX1 && g.IntX2))
    for (const TLatticeColumn& c : g.Lattice->Columns) {
      const double k = WideToDouble(c.K), lo = WideToDouble(c.Lo), hi = WideToDouble(c.Hi);
      const TSvgPoint a = g.Lattice->Transposed ? TSvgPoint{lo, k} : TSvgPoint{k, lo};
      const TSvgPoint b = g.Lattice->Transposed ? TSvgPoint{hi, k} : TSvgPoint{k, hi};
      plot.Line(a, b, "clsGrIntSeg", "stroke=\"currentColor\" stroke-width=\"2.5\"");
    }
}

// The constraint lines in the window; their number labels are added to labels, drawn last.
void DrawConstraintLines(TSvgPlot& plot, const TGraphic& g, TLineLabels& labels) {
  const TSvgWindow window = PictureWindow(g);
  const double fx = WideToDouble(g.Frame.X), fy = WideToDouble(g.Frame.Y);
  for (const TLine& l : g.Lines) {
    if (l.Number == 0 || !IsLine(l)) continue;
    const auto seg = ClipLine(WideToDouble(l.A), WideToDouble(l.B), WideToDouble(l.C), window);
    if (!seg) continue;
    plot.Line(seg->first, seg->second, "clsGrLine", "stroke=\"currentColor\" stroke-width=\"1.1\"");
    const auto inFrame = ClipLine(WideToDouble(l.A), WideToDouble(l.B), WideToDouble(l.C), {0, fx, 0, fy});
    labels.emplace_back(inFrame ? *inFrame : *seg, "(" + std::to_string(l.Number) + ")");
  }
}

// The level line through the optimum with its value, and the gradient of the objective.
void DrawLevelAndGradient(TSvgPlot& plot, const TGraphic& g, TLineLabels& labels,
                          std::vector<TSvgPointLabel>& levelLabels) {
  const TSvgWindow window = PictureWindow(g);
  const double fx = WideToDouble(g.Frame.X), fy = WideToDouble(g.Frame.Y);
  const TObjective z = ObjectiveOf(g.Zlp);
  const double c1 = WideToDouble(z.C1), c2 = WideToDouble(z.C2);
  const bool gradient = g.Region.Kind != TRegionKind::Empty && (c1 != 0 || c2 != 0);
  const std::string accent = std::string("stroke=\"") + Accent + "\"";
  if (const auto level = g.Level(); level && gradient) {
    const double rhs = WideToDouble(*level - z.C0);
    if (const auto seg = ClipLine(c1, c2, rhs, window)) {
      plot.Line(seg->first, seg->second, "clsGrLevel", accent + " stroke-dasharray=\"6 4\" stroke-width=\"1.4\"");
      // The label on the longer part of the line in the frame, away from the optimum it passes through.
      const auto inFrame = ClipLine(c1, c2, rhs, {0, fx, 0, fy});
      if (const auto at = g.LevelPoint(); inFrame && at) {
        const TSvgPoint p = ToSvg(*at);
        const auto dist = [&plot, &p](TSvgPoint q) {
          return std::hypot(plot.PX(q.X) - plot.PX(p.X), plot.PY(q.Y) - plot.PY(p.Y));
        };
        const TSvgPoint end = dist(inFrame->first) > dist(inFrame->second) ? inFrame->first : inFrame->second;
        levelLabels.push_back({{p.X + 0.6 * (end.X - p.X), p.Y + 0.6 * (end.Y - p.Y)},
                               "Z = " + WideToStr(*level),
                               "clsGrLevelName",
                               1,
                               -1,
                               false});
      } else {
        labels.emplace_back(*seg, "Z = " + WideToStr(*level));
      }
    }
  }
  if (!gradient) return;
  // The gradient drawn 1/5 of the plot long, from the origin when it fits there, else from the optimum
  // or from the middle of the region.
  const double sx = plot.PlotWidth() / (window.X1 - window.X0), sy = plot.PlotHeight() / (window.Y1 - window.Y0);
  const double scale = 0.2 * std::min(plot.PlotWidth(), plot.PlotHeight()) / std::hypot(c1 * sx, c2 * sy);
  std::vector<TSvgPoint> bases = {{0, 0}};
  if (!g.Optimum.Points.empty()) bases.push_back(ToSvg(g.Optimum.Points.front()));
  TSvgPoint middle{};
  for (const TPlanePoint& p : g.Drawn) middle = {middle.X + WideToDouble(p.X), middle.Y + WideToDouble(p.Y)};
  if (!g.Drawn.empty()) bases.push_back({middle.X / g.Drawn.size(), middle.Y / g.Drawn.size()});
  TSvgPoint from = bases.back(), to{from.X + c1 * scale, from.Y + c2 * scale};
  for (const TSvgPoint& b : bases)
    if (window.Contains({b.X + c1 * scale, b.Y + c2 * scale})) {
      from = b;
      to = {b.X + c1 * scale, b.Y + c2 * scale};
      break;
    }
  if (const auto seg = ClipSegment(from, to, window)) {
    plot.Arrow(seg->first, seg->second, 9, "clsGrGrad", accent + " fill=\"" + Accent + "\" stroke-width=\"1.8\"");
    plot.Text(seg->second, c1 >= 0 ? 5 : -5, c2 >= 0 ? -5 : 13, "grad Z", "clsGrGradName", c1 >= 0 ? "start" : "end");
  }
}

// The optimal edge or ray, and the vertices of the region; their letters go to labels.
void DrawVertices(TSvgPlot& plot, const TGraphic& g, std::vector<TSvgPointLabel>& labels) {
  const double fx = WideToDouble(g.Frame.X), fy = WideToDouble(g.Frame.Y);
  const std::string accent = std::string("stroke=\"") + Accent + "\"";
  const TPlaneOptimum& opt = g.Optimum;
  if (opt.Points.size() == 2)
    plot.Line(ToSvg(opt.Points[0]), ToSvg(opt.Points[1]), "clsGrOptEdge",
              accent + " stroke-width=\"5\" stroke-opacity=\"0.55\"");
  if (opt.Ray) {
    const TSvgPoint p = ToSvg(opt.Points.front());
    const TSvgPoint far{p.X + WideToDouble(opt.Ray->X) * 4 * fx, p.Y + WideToDouble(opt.Ray->Y) * 4 * fy};
    if (const auto seg = ClipSegment(p, far, {0, fx, 0, fy}))
      plot.Line(seg->first, seg->second, "clsGrOptEdge", accent + " stroke-width=\"5\" stroke-opacity=\"0.55\"");
  }
  const bool lettered = g.Region.Vertices.size() <= 26;
  TSvgPoint centre{};
  for (const TPlanePoint& v : g.Region.Vertices) centre = {centre.X + WideToDouble(v.X), centre.Y + WideToDouble(v.Y)};
  if (!g.Region.Vertices.empty()) centre = {centre.X / g.Region.Vertices.size(), centre.Y / g.Region.Vertices.size()};
  // The optimal vertices of a linear program carry their letter with their coordinates.
  const bool linearLabels = !(g.Lattice && g.Lattice->Value) && opt.Kind == TOptimumKind::Attained;
  for (std::size_t k = 0; k < g.Region.Vertices.size(); ++k) {
    const TSvgPoint v = ToSvg(g.Region.Vertices[k]);
    plot.Circle(v, 2.5, "clsGrVertex", "fill=\"currentColor\"");
    plot.Reserve(MarkerBox(plot, v, 2.5));
    const bool optimal = std::find(opt.Points.begin(), opt.Points.end(), g.Region.Vertices[k]) != opt.Points.end();
    if (!lettered || (linearLabels && optimal)) continue;
    // The letter outside the region: away from the middle of its vertices (up and left of a region
    // that is a single point).
    double dx = plot.PX(v.X) - plot.PX(centre.X), dy = plot.PY(v.Y) - plot.PY(centre.Y);
    if (std::hypot(dx, dy) < 0.5) dx = -1, dy = -1;
    labels.push_back({v, VertexName(k), "clsGrVertexName", dx, dy, false, 2.5});
  }
}

// The point of the integer optimum the picture marks with its coordinates: the one branch and
// bound found, or the only best point of the enumeration.
std::optional<TPlanePoint> MarkedIntegerPoint(const TGraphic& g) {
  if (const TBranchNode* best = g.BestNode()) return TPlanePoint{Exact(best->X[0]), Exact(best->X[1])};
  if (g.Lattice && g.Lattice->Best.size() == 1 && g.Lattice->Best.front().Lo == g.Lattice->Best.front().Hi) {
    const TLatticeColumn& c = g.Lattice->Best.front();
    return g.Lattice->Transposed ? TPlanePoint{c.Lo, c.K} : TPlanePoint{c.K, c.Lo};
  }
  return std::nullopt;
}

// The integer points, and the optimum: the integer one of an integer program, marked with its
// coordinates, and the relaxation's points circled; the optimal vertices of a linear program.
void DrawOptimum(TSvgPlot& plot, const TGraphic& g, std::vector<TSvgPointLabel>& labels) {
  const std::string accent = std::string("stroke=\"") + Accent + "\"";
  const std::string fill = std::string("fill=\"") + Accent + "\"";
  const TPlaneOptimum& opt = g.Optimum;
  const bool lettered = g.Region.Vertices.size() <= 26;
  if (g.Lattice && g.IntX1 && g.IntX2 && g.Lattice->PointCount <= 4000)
    for (const TLatticeColumn& c : g.Lattice->Columns)
      for (TWideInt k = c.Lo.Num; k <= c.Hi.Num; ++k) {
        const double a = WideToDouble(c.K), b = k.ToDouble();
        plot.Circle(g.Lattice->Transposed ? TSvgPoint{b, a} : TSvgPoint{a, b}, 2.2, "clsGrInt",
                    "fill=\"currentColor\"");
      }
  const auto pointLabel = [&plot, &labels](const TSvgPoint& p, const std::string& text) {
    const bool right = plot.PX(p.X) < plot.Left() + plot.PlotWidth() * 0.7;
    plot.Reserve(MarkerBox(plot, p, 4.5));
    labels.insert(labels.begin(), {p, text, "clsGrOptName", right ? 1.0 : -1.0, -1, false, 4.5});
  };
  if (const TBranchNode* best = g.BestNode()) {
    // Branch and bound: the relaxation's optimum circled, the plan the method found filled.
    for (const TPlanePoint& p : opt.Points) plot.Circle(ToSvg(p), 4.5, "clsGrRelax", accent + " fill=\"none\"");
    const TPlanePoint p{Exact(best->X[0]), Exact(best->X[1])};
    plot.Circle(ToSvg(p), 4.5, "clsGrOpt", fill,
                "Узел " + std::to_string(best->Id) + ": лучший целочисленный план " + PointToStr(p));
    pointLabel(ToSvg(p), PointToStr(p));
  } else if (g.Lattice && g.Lattice->Value) {
    for (const TPlanePoint& p : opt.Points) plot.Circle(ToSvg(p), 4.5, "clsGrRelax", accent + " fill=\"none\"");
    for (const TLatticeColumn& c : g.Lattice->Best) {
      const auto at = [&g, &c](TWideRational v) {
        return g.Lattice->Transposed ? TPlanePoint{v, c.K} : TPlanePoint{c.K, v};
      };
      if (!(c.Lo == c.Hi)) {
        plot.Line(ToSvg(at(c.Lo)), ToSvg(at(c.Hi)), "clsGrOptEdge",
                  accent + " stroke-width=\"5\" stroke-opacity=\"0.55\"");
        if (g.IntX1 && g.IntX2)
          for (TWideInt k = c.Lo.Num; k <= c.Hi.Num; ++k) plot.Circle(ToSvg(at(Whole(k))), 4.5, "clsGrOpt", fill);
      } else {
        plot.Circle(ToSvg(at(c.Lo)), 4.5, "clsGrOpt", fill);
      }
    }
    if (const auto p = MarkedIntegerPoint(g)) pointLabel(ToSvg(*p), PointToStr(*p));
  } else if (opt.Kind == TOptimumKind::Attained) {
    for (const TPlanePoint& p : opt.Points) {
      plot.Circle(ToSvg(p), 4.5, "clsGrOpt", fill);
      pointLabel(ToSvg(p), lettered ? g.VertexLabel(p) : PointToStr(p));
    }
  }
}

// The same, darker: a region that is only a segment or a point is drawn in it.
const char* LeafStroke(const TBranchNode& n) {
  switch (n.End) {
  case TBranchEnd::Integer: return n.Best ? "#2e8b2e" : "#5aa95a";
  case TBranchEnd::Pruned: return "#d08a2a";
  default: return "#555555";
  }
}

// "X1 ≤ 1, X2 ≥ 2" (plain text: the title of a region).
std::string ConditionsText(const TBranchNode& n) {
  std::string text;
  for (const TBranchCondition& c : n.Conditions)
    text += (text.empty() ? "" : ", ") + ("X" + std::to_string(c.Var)) + (c.Up ? " ≥ " : " ≤ ") + c.Limit.get_str();
  return text;
}

// The regions of the end nodes of branch and bound, with their numbers, and the lines that divide
// a node in two, X_j = [v] and X_j = [v] + 1.
void DrawBranches(TSvgPlot& plot, const TGraphic& g, std::vector<TSvgPointLabel>& labels) {
  if (!g.BranchesDrawn()) return;
  for (std::size_t k = 0; k < g.Tree.size(); ++k) {
    const TBranchNode& n = g.Tree[k];
    const std::vector<TPlanePoint>& region = g.NodeRegions[k];
    if (n.End == TBranchEnd::Branched || region.empty()) continue;
    std::string title = "Узел " + std::to_string(n.Id) + ": " + ConditionsText(n);
    if (!n.X.empty()) title += "; Z = " + n.Z.get_str() + " в точке " + PointToStr({Exact(n.X[0]), Exact(n.X[1])});
    const std::string attrs =
        std::string("fill=\"") + BranchEndColour(n.End, n.Best) + "\" fill-opacity=\"0.75\" stroke=\"#555555\"";
    std::vector<TSvgPoint> points;
    TSvgPoint middle{};
    for (const TPlanePoint& p : region) {
      points.push_back(ToSvg(p));
      middle = {middle.X + points.back().X / region.size(), middle.Y + points.back().Y / region.size()};
    }
    if (points.size() >= 3)
      plot.Polygon(points, "clsGrLeaf", attrs, title);
    else if (points.size() == 2)
      plot.Line(points[0], points[1], "clsGrLeaf", std::string("stroke=\"") + LeafStroke(n) + "\" stroke-width=\"4\"",
                title);
    else {
      plot.Circle(points[0], 4, "clsGrLeaf",
                  std::string("fill=\"") + BranchEndColour(n.End, n.Best) + "\" stroke=\"" + LeafStroke(n) +
                      "\" stroke-width=\"1.5\"",
                  title);
      plot.Reserve(MarkerBox(plot, points[0], 4));
    }
    labels.push_back({middle, "№ " + std::to_string(n.Id), "clsGrLeafName", 1, -1, points.size() >= 3,
                      points.size() == 1 ? 4.0 : 0.0});
  }
  for (std::size_t k = 0; k < g.Tree.size(); ++k) {
    const TBranchNode& n = g.Tree[k];
    if (n.End != TBranchEnd::Branched) continue;
    for (std::size_t c = 0; c < g.Tree.size(); ++c) {
      if (g.Tree[c].Parent != n.Id) continue;
      const TBranchCondition& cond = g.Tree[c].Conditions.back();
      // The line of the condition meets the node's region along an edge of the child's region.
      std::vector<TPlanePoint> on;
      for (const TPlanePoint& p : g.NodeRegions[c])
        if ((cond.Var == 1 ? p.X : p.Y) == Exact(cond.Limit)) on.push_back(p);
      if (on.size() < 2) continue;
      const auto [lo, hi] =
          std::minmax_element(on.begin(), on.end(), [&cond](const TPlanePoint& a, const TPlanePoint& b) {
            return Compare(cond.Var == 1 ? a.Y : a.X, cond.Var == 1 ? b.Y : b.X) < 0;
          });
      plot.Line(ToSvg(*lo), ToSvg(*hi), "clsGrBranchLine",
                "stroke=\"#555555\" stroke-width=\"1.4\" stroke-dasharray=\"5 3\"",
                "X" + std::to_string(cond.Var) + " = " + cond.Limit.get_str());
    }
  }
}

std::string DrawPicture(const TGraphic& g) {
  const TSvgWindow window = PictureWindow(g);
  const double fx = WideToDouble(g.Frame.X), fy = WideToDouble(g.Frame.Y);
  const bool square = g.Frame.X == g.Frame.Y;
  TSvgPlot plot(window, square ? 380 : 460, square ? 380 : 320);
  const TSvgPlot::TAxis xAxis = TickAxis(g.Frame.StepX, 0, fx, SvgSubscript("X", "1"));
  const TSvgPlot::TAxis yAxis = TickAxis(g.Frame.StepY, 0, fy, SvgSubscript("X", "2"));
  plot.Grid(xAxis, yAxis);
  std::vector<TSvgPointLabel> pointLabels;
  DrawRegion(plot, g, pointLabels);
  TLineLabels labels;
  DrawConstraintLines(plot, g, labels);
  plot.AxesThroughOrigin(xAxis, yAxis);
  std::vector<TSvgPointLabel> lineLabels;
  DrawLevelAndGradient(plot, g, labels, lineLabels);
  for (const auto& [seg, text] : labels)
    lineLabels.push_back(LineLabel(plot, seg, text, text.front() == 'Z' ? "clsGrLevelName" : "clsGrLineName"));
  std::vector<TSvgPointLabel> vertexLabels;
  DrawVertices(plot, g, vertexLabels);
  std::vector<TSvgPointLabel> all;
  DrawOptimum(plot, g, all);
  // The optimum's coordinates first, then the letters of the vertices, the labels of the lines and
  // the numbers of the regions.
  all.insert(all.end(), vertexLabels.begin(), vertexLabels.end());
  all.insert(all.end(), lineLabels.begin(), lineLabels.end());
  all.insert(all.end(), pointLabels.begin(), pointLabels.end());
  plot.PlaceLabels(all);
  return plot.Svg("clsGraph", "Графический метод");
}

std::string Join(const std::vector<std::string>& parts, const std::string& last) {
  std::string s;
  for (std::size_t k = 0; k < parts.size(); ++k) s += (k == 0 ? "" : k + 1 == parts.size() ? last : ", ") + parts[k];
  return s;
}

// What the picture shows of branch and bound.
std::string BranchLegend(const TGraphic& g) {
  if (g.Tree.empty()) return "";
  if (g.TreeWhole && !g.TreeFinished())
    return " Задачи некоторых узлов метода ветвей и границ не решены до конца, поэтому области узлов не показаны.";
  if (!g.BranchesDrawn())
    return " Метод ветвей и границ строит больше " +
           CountText(static_cast<std::int64_t>(MaxDrawnLeaves), "конечного узла", "конечных узлов", "конечных узлов") +
           ": столько областей на рисунке не показать.";
  std::string text = " Метод ветвей и границ делит область прямыми X<sub>j</sub> = [v] и X<sub>j</sub> = [v] + 1 "
                     "(штриховые линии); полоса между ними не содержит целых значений X<sub>j</sub> и отбрасывается.";
  std::vector<std::string> colours;
  std::vector<std::string> integer;
  std::vector<std::string> pruned;
  std::vector<std::string> empty;
  for (const TBranchNode& n : g.Tree) {
    const std::string id = std::to_string(n.Id);
    if (n.End == TBranchEnd::Integer && !n.Best) integer.push_back(id);
    if (n.End == TBranchEnd::Pruned) pruned.push_back(id);
    if (n.End == TBranchEnd::Infeasible) empty.push_back(id);
  }
  if (const TBranchNode* best = g.BestNode())
    colours.push_back("зелёным — узел " + std::to_string(best->Id) + " с лучшим целочисленным планом " +
                      PointToStr({Exact(best->X[0]), Exact(best->X[1])}));
  if (!integer.empty())
    colours.push_back(integer.size() == 1
                          ? "бледно-зелёным — узел " + integer.front() + " с другим целочисленным планом"
                          : "бледно-зелёным — узлы " + Join(integer, " и ") + " с другими целочисленными планами");
  if (!pruned.empty())
    colours.push_back(pruned.size() == 1 ? "оранжевым — узел " + pruned.front() + ", закрытый по границе"
                                         : "оранжевым — узлы " + Join(pruned, " и ") + ", закрытые по границе");
  // Every end node that is not empty is integer or closed by its bound.
  if (!colours.empty()) {
    text += " Области конечных узлов дерева обведены и подписаны номерами узлов";
    for (std::size_t k = 0; k < colours.size(); ++k) text += (k == 0 ? "; закрашены " : "; ") + colours[k];
    text += ".";
  }
  if (!empty.empty())
    text += empty.size() == 1 ? " Область узла " + empty.front() + " пуста: его задача несовместна."
                              : " Области узлов " + Join(empty, " и ") + " пусты: их задачи несовместны.";
  return text;
}

std::string Caption(const TGraphic& g) {
  std::string text = "Рис. Прямые ограничений (в скобках их номера)";
  if (g.Region.Kind != TRegionKind::Empty) text += ", область допустимых решений (закрашена) и её вершины";
  if (g.Region.Kind != TRegionKind::Empty && !g.Optimum.Constant) {
    text += ", вектор grad Z";
    if (g.Level()) text += " и линия уровня Z = " + WideToStr(*g.Level()) + " (пунктир)";
  }
  text += ".";
  if (g.Region.Kind == TRegionKind::Unbounded)
    text += " Область допустимых решений не ограничена: на рисунке показана её часть внутри рамки (точечные линии), "
            "за рамкой она продолжается.";
  if (g.Region.Kind == TRegionKind::Empty)
    text += " Ни одна точка не удовлетворяет всем ограничениям одновременно: область допустимых решений пуста.";
  if (g.Lattice && g.Lattice->Complete) {
    if (g.IntX1 && g.IntX2)
      text += g.Lattice->PointCount <= 4000 ? " Точками отмечены целочисленные точки области"
                                            : " Целочисленных точек области слишком много, чтобы отметить их все";
    else
      text += std::string(" Отрезками отмечены допустимые точки с целым ") +
              (g.IntX1 ? SubscriptName("X", 1) : SubscriptName("X", 2));
    text += g.Region.Kind == TRegionKind::Unbounded ? " внутри рамки." : ".";
  }
  text += BranchLegend(g);
  if (!g.Hidden.empty()) {
    std::vector<std::string> numbers;
    for (std::int32_t n : g.Hidden) numbers.push_back("(" + std::to_string(n) + ")");
    text += (numbers.size() == 1 ? " Прямая " + numbers.front() + " проходит"
                                 : " Прямые " + Join(numbers, " и ") + " проходят") +
            " вне рисунка.";
  }
  return text;
}

// The lines of the constraints as equations, with their numbers.
std::string LineList(const TZLPCore_SubInterface_ZLP& zlp) {
  std::string text;
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) {
    TVector row = zlp.Coeffs.ExtractVector(i);
    const bool zero = RatEqualsInt(row.GetItem(1), 0) && RatEqualsInt(row.GetItem(2), 0);
    if (i > 1) text += CRLF;
    text += "(" + std::to_string(i) + ")&nbsp;&nbsp;" + (zero ? "0" : FormatLinearForm(row, zlp.VarNames(), {0, 1})) +
            " = " + RatToStr(zlp.RHS.GetItem(i));
  }
  return text;
}

std::string VertexTable(const TGraphic& g) {
  const TObjective z = ObjectiveOf(g.Zlp);
  const auto cell = [](const std::string& text, bool selected) {
    return std::string("<td class=\"") + (selected ? "clsSelCell" : "clsSimCell") + "\">" + text + "</td>";
  };
  std::string t = "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\"><tr>" + cell("Вершина", false) +
                  cell(SubscriptName("X", 1), false) + cell(SubscriptName("X", 2), false) + cell("Z", false) + "</tr>";
  for (std::size_t k = 0; k < g.Region.Vertices.size(); ++k) {
    const TPlanePoint& v = g.Region.Vertices[k];
    const bool best = std::find(g.Optimum.Points.begin(), g.Optimum.Points.end(), v) != g.Optimum.Points.end();
    t += "<tr>" + cell(VertexName(k), best) + cell(WideToStr(v.X), best) + cell(WideToStr(v.Y), best) +
         cell(WideToStr(z.At(v)), best) + "</tr>";
  }
  return t + "</table>";
}

std::string Direction(const TPlanePoint& d) { return "(" + WideToStr(d.X) + "; " + WideToStr(d.Y) + ")"; }

// What the picture shows about the optimum of the program without the integer condition.
std::string LinearConclusion(const TGraphic& g) {
  const TObjective z = ObjectiveOf(g.Zlp);
  const bool isMax = g.Zlp.IsMax;
  const TPlaneOptimum& opt = g.Optimum;
  if (opt.Constant)
    return "Целевая функция не зависит от " + SubscriptName("X", 1) + " и " + SubscriptName("X", 2) +
           ": Z = " + WideToStr(opt.Value) + " во всех допустимых точках, и любая из них оптимальна.";
  std::string text = "Вектор grad Z = " + Direction({z.C1, z.C2}) + " указывает направление возрастания Z";
  text += isMax ? "; линию уровня Z = const перемещаем в этом направлении"
                : ", поэтому линию уровня Z = const перемещаем в противоположном направлении";
  if (opt.Kind == TOptimumKind::Unbounded)
    return text +
           ". Область не ограничена в этом направлении: линию уровня можно сдвигать сколь угодно далеко, "
           "целевая функция не ограничена " +
           (isMax ? "сверху" : "снизу") + ", оптимума нет.";
  const std::string value = ZWord(isMax) + " = " + WideToStr(opt.Value);
  if (opt.Points.size() == 2)
    return text + ". Последней она касается области по всей стороне " + g.VertexLabel(opt.Points[0]) + " – " +
           g.VertexLabel(opt.Points[1]) + ": " + value + " во всех точках этого отрезка.";
  text += ". Последней точкой области на её пути оказывается вершина " + g.VertexLabel(opt.Points.front());
  if (opt.Ray)
    return text + ", а с ней и весь луч, выходящий из этой вершины в направлении " + Direction(*opt.Ray) + ": " +
           value + " во всех его точках.";
  return text + ": " + value + ".";
}

std::string IntegerConclusion(const TGraphic& g) {
  const TLatticeSearch& s = *g.Lattice;
  const bool isMax = g.Zlp.IsMax;
  std::string text = g.IntX1 && g.IntX2
                         ? "Целыми должны быть " + SubscriptName("X", 1) + " и " + SubscriptName("X", 2) + ". "
                         : "Целым должен быть " + (g.IntX1 ? SubscriptName("X", 1) : SubscriptName("X", 2)) + ". ";
  if (g.Region.Kind == TRegionKind::Unbounded)
    return text + "Область не ограничена, поэтому перебором целочисленный оптимум не ищется.";
  if (!s.Complete) return text + "Целочисленных прямых в области слишком много для перебора.";
  if (s.Columns.empty())
    return text + "В области нет ни одной допустимой точки с " +
           (g.IntX1 && g.IntX2 ? "целыми координатами" : "целым значением") +
           ": целочисленная задача не имеет решений.";
  text += g.IntX1 && g.IntX2 ? "Перебрав целочисленные точки области, находим наилучшее значение функции: "
                             : std::string("Перебрав части области на прямых ") +
                                   (s.Transposed ? SubscriptName("X", 2) : SubscriptName("X", 1)) +
                                   " = const с целыми значениями, находим наилучшее значение функции: ";
  text += ZWord(isMax) + " = " + WideToStr(*s.Value);
  std::vector<std::string> where;
  for (const TLatticeColumn& c : s.Best) {
    const auto at = [&s, &c](TWideRational v) { return s.Transposed ? TPlanePoint{v, c.K} : TPlanePoint{c.K, v}; };
    if (c.Lo == c.Hi)
      where.push_back(PointToStr(at(c.Lo)));
    else
      where.push_back((g.IntX1 && g.IntX2 ? "целые точки отрезка от " : "точки отрезка от ") + PointToStr(at(c.Lo)) +
                      " до " + PointToStr(at(c.Hi)));
  }
  const bool single = where.size() == 1 && s.Best.front().Lo == s.Best.front().Hi;
  if (where.size() > 8) where.resize(8), where.push_back("…");
  return text + (single ? " в точке " : " в точках: ") + Join(where, "; ") + ".";
}

} // namespace

void WriteGraphicSection(const TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TBranchTree* tree) {
  if (ReportSilenced()) return;
  const TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  const std::uint8_t type = data.Statement.TaskType;
  if (!data.HasFlag(IF_ZLP) || zlp.VarCount() != 2 || (type != TT_LINEAR && type != TT_INTEGER)) return;
  TGraphic g{zlp, {}, {}, {}, false, false, std::nullopt, {}, {}, {}, {}, true, {}};
  if (type == TT_INTEGER) {
    if (!data.HasFlag(IF_INTEGERVARS)) return;
    const auto ticked = [&data](const std::string& name) {
      return std::any_of(data.IntegerVars.begin(), data.IntegerVars.end(), [&name](const std::string& v) {
        return std::equal(v.begin(), v.end(), name.begin(), name.end(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
      });
    };
    g.IntX1 = ticked(zlp.GetVarName(1));
    g.IntX2 = ticked(zlp.GetVarName(2));
  }
  report.AddHeading("Графический метод");
  report.AddParagraph("Переменных две, поэтому задачу можно решить графически. Каждое ограничение-неравенство "
                      "задаёт полуплоскость, а ограничение-равенство — прямую; границы полуплоскостей — прямые "
                      "с номерами ограничений:");
  report.AddPre(LineList(zlp));
  report.AddParagraph("Область допустимых решений — общая часть этих множеств в четверти " + SubscriptName("X", 1) +
                      " &#8805; 0, " + SubscriptName("X", 2) + " &#8805; 0.");
  g.Region = FeasibleRegion(zlp);
  g.Optimum = PlaneOptimum(zlp, g.Region);
  try {
    if (g.Region.Kind == TRegionKind::TooLarge || g.Optimum.Kind == TOptimumKind::TooLarge) throw TWideOverflow{};
    g.Lines = ProgramLines(zlp);
    g.Frame = PictureFrame(g.Lines, g.Region);
    if (g.Region.Kind == TRegionKind::Unbounded) {
      std::vector<TLine> clipped = g.Lines;
      AddFrame(clipped, g.Frame.X, g.Frame.Y);
      g.Drawn = ExtremePoints(clipped);
      SortCounterClockwise(g.Drawn);
    } else {
      g.Drawn = g.Region.Vertices;
    }
    if (g.Integer()) g.Lattice = LatticeSearch(zlp, g.Region, g.IntX1, g.IntX2, g.Frame.X, g.Frame.Y);
    g.Hidden = HiddenLines(g);
    if (type == TT_INTEGER && tree != nullptr) {
      g.Tree = tree->Nodes;
      g.TreeWhole = tree->Whole;
    }
    if (g.BranchesDrawn())
      for (const TBranchNode& n : g.Tree) g.NodeRegions.push_back(NodeRegion(g, n));
    const std::string svg = DrawPicture(g);
    report.AddLine("<div class=\"clsGraphBox\">" + std::string(CRLF) + svg + CRLF + "<div class=\"clsGrCaption\">" +
                   Caption(g) + "</div></div>");
  } catch (const TWideOverflow&) {
    report.AddParagraph("Числа задачи слишком велики для точного построения, рисунок не приводится.");
    return;
  }
  if (g.Region.Kind == TRegionKind::Empty) {
    report.AddParagraph("Система ограничений несовместна: задача не имеет допустимых решений.");
    return;
  }
  std::string vertices = "Вершины области допустимых решений и значения функции в них";
  if (g.Region.Kind == TRegionKind::Unbounded) {
    std::vector<std::string> rays;
    for (const TPlanePoint& r : g.Region.Rays) rays.push_back(Direction(r));
    vertices += std::string(" (область не ограничена и уходит в бесконечность в направлени") +
                (rays.size() == 1 ? "и " : "ях ") + Join(rays, " и ") + ")";
  }
  report.AddParagraph(vertices + ":");
  report.AddLine(VertexTable(g));
  if (g.Integer()) {
    report.AddParagraph("Без условия целочисленности. " + LinearConclusion(g));
    report.AddParagraph(IntegerConclusion(g));
  } else {
    report.AddParagraph(LinearConclusion(g));
  }
}
