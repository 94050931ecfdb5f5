// The graphical method for a program in two variables: its feasible region, the vertices, the optimum
// and the integer points computed exactly, and the report section "Графический метод" that draws them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;
class TZLPCore_SubInterface_ZLP;

__extension__ typedef __int128 TWideInt;

// An exact fraction Num/Den on 128-bit integers, Den > 0, in lowest terms. The point where two lines
// with 32-bit fraction coefficients meet needs more than a TRational holds; a result that does not
// fit even here makes the computation give up (TRegionKind::TooLarge), it is never rounded.
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
  TooLarge,  // the numbers outgrew 128-bit fractions: nothing is known
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
void WriteGraphicSection(const TZLPCore_Interface& data, TZLPCore_SolutionResult& report);
