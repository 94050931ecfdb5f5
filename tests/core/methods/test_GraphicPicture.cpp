// The picture of the graphical method read back from its SVG elements: the regions of the end nodes
// of branch and bound against the tree worked by hand and against the integer points they must share
// out, and the labels of crowded points apart from each other and next to their points.
#include "BranchBound.h"
#include "MessageRecorder.h"
#include "Svg.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <regex>
#include <set>

namespace {

struct TElement {
  std::string Tag;
  std::map<std::string, std::string> Attrs;
  std::string Content; // the markup of a text, the title of a shape
  [[nodiscard]] double Num(const std::string& name) const { return std::stod(Attrs.at(name)); }
  [[nodiscard]] std::string Cls() const { return Attrs.count("class") ? Attrs.at("class") : ""; }
};

// The elements of the picture of the section "Графический метод", one a line as the picture writes them.
std::vector<TElement> Picture(const std::string& page) {
  const std::size_t from = page.find("aria-label=\"Графический метод\"");
  EXPECT_NE(from, std::string::npos) << "no picture";
  if (from == std::string::npos) return {};
  const std::string svg = page.substr(from, page.find("</svg>", from) - from);
  std::vector<TElement> out;
  const std::regex element(R"(^<(\w+) ([^>]*?)/?>(.*)$)");
  const std::regex attribute(R"re(([\w-]+)="([^"]*)")re");
  std::size_t at = svg.find("\r\n");
  while (at != std::string::npos) {
    const std::size_t end = svg.find("\r\n", at + 2);
    const std::string line = svg.substr(at + 2, end == std::string::npos ? std::string::npos : end - at - 2);
    at = end;
    std::smatch m;
    if (!std::regex_match(line, m, element)) continue;
    TElement e{m[1], {}, m[3]};
    const std::string attrs = m[2];
    for (std::sregex_iterator it(attrs.begin(), attrs.end(), attribute), stop; it != stop; ++it)
      e.Attrs[(*it)[1]] = (*it)[2];
    if (const std::size_t t = e.Content.find("<title>"); t != std::string::npos)
      e.Content = e.Content.substr(t + 7, e.Content.find("</title>") - t - 7);
    else if (e.Tag == "text")
      e.Content = e.Content.substr(0, e.Content.rfind("</text>"));
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<TElement> OfClass(const std::vector<TElement>& picture, const std::string& cls) {
  std::vector<TElement> out;
  for (const TElement& e : picture)
    if (e.Cls() == cls) out.push_back(e);
  return out;
}

struct TPixel {
  double X = 0;
  double Y = 0;
};

std::vector<TPixel> PolygonPoints(const TElement& e) {
  std::vector<TPixel> points;
  std::istringstream in(e.Attrs.at("points"));
  std::string pair;
  while (in >> pair) {
    const std::size_t comma = pair.find(',');
    points.push_back({std::stod(pair.substr(0, comma)), std::stod(pair.substr(comma + 1))});
  }
  return points;
}

double SegmentDistance(TPixel p, TPixel a, TPixel b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y, len2 = dx * dx + dy * dy;
  const double t = len2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2, 0.0, 1.0) : 0;
  return std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy);
}

// Whether the shape of an end node (a polygon, a segment or a point) holds p, up to the rounding of
// the picture's coordinates to a tenth of a pixel.
bool Holds(const TElement& shape, TPixel p) {
  constexpr double Tolerance = 0.15;
  if (shape.Tag == "circle") return std::hypot(p.X - shape.Num("cx"), p.Y - shape.Num("cy")) <= Tolerance;
  if (shape.Tag == "line")
    return SegmentDistance(p, {shape.Num("x1"), shape.Num("y1")}, {shape.Num("x2"), shape.Num("y2")}) <= Tolerance;
  const std::vector<TPixel> v = PolygonPoints(shape);
  int sign = 0;
  for (std::size_t k = 0; k < v.size(); ++k) {
    const TPixel a = v[k], b = v[(k + 1) % v.size()];
    if (SegmentDistance(p, a, b) <= Tolerance) return true;
    const double cross = (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
    const int s = cross > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return false;
    sign = s;
  }
  return true;
}

// A random program in two variables of 2 ... maxRows constraints (one in four of them ">="), small
// whole coefficients and fractional right-hand sides, drawn by pick(lo, hi).
std::string RandomPlaneProgram(const std::function<int(int, int)>& pick, int maxRows) {
  std::string text = std::string(pick(0, 1) ? "max " : "min ") + std::to_string(pick(-3, 6)) + " " +
                     std::to_string(pick(-3, 6)) + "\n";
  for (int i = pick(2, maxRows); i > 0; --i) {
    const char* relation[] = {"<=", "<=", "<=", ">="};
    text += std::to_string(pick(-2, 7)) + " " + std::to_string(pick(-2, 7)) + " " + relation[pick(0, 3)] + " " +
            std::to_string(pick(1, 40)) + "/" + std::to_string(pick(1, 3)) + "\n";
  }
  return text;
}

// The report of the program solved as a student's run solves it, by the integer method given.
std::string Solve(const std::string& text, const char* method, TTaskVerdict* verdict = nullptr) {
  TTextFormatError textError;
  auto grid = ParseStatementText(text, textError);
  EXPECT_TRUE(grid && SetIntegerMethod(*grid, method)) << textError.Message;
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(grid && ReadStatement(*grid, data, error)) << error.Message;
  TZLPCore_SolutionResult report;
  const TTaskVerdict v = RunTask(data.Statement.TaskType, data, report);
  if (verdict != nullptr) *verdict = v;
  return report.GetText();
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every integer point of the picture lies in the region of exactly one end node: the end nodes
// share out the integer points of the relaxation's region among them.
void ExpectIntegerPointsSharedOut(const std::vector<TElement>& picture) {
  const std::vector<TElement> leaves = OfClass(picture, "clsGrLeaf");
  for (const TElement& point : OfClass(picture, "clsGrInt")) {
    const TPixel p{point.Num("cx"), point.Num("cy")};
    std::vector<std::string> holders;
    for (const TElement& leaf : leaves)
      if (Holds(leaf, p)) holders.push_back(leaf.Content);
    EXPECT_EQ(holders.size(), 1U) << "the integer point at " << p.X << ", " << p.Y << " lies in " << holders.size()
                                  << " regions of end nodes";
  }
}

// Worked by hand: the relaxation's optimum (9/4; 15/4) divides on X2 (fraction 3/4) into node 2,
// X2 <= 3 with (3; 3) and Z = 39, and node 3, X2 >= 4 with (9/5; 4) and Z = 41, the better one; node 3
// divides on X1 into node 4, X1 <= 1 with (1; 40/9), and node 5, X1 >= 2, where 5 X1 + 9 X2 <= 45
// leaves no X2 >= 4; node 4 divides on X2 into node 6, X2 <= 4 (the segment from (0; 4) to (1; 4),
// Z = 37), and node 7, X2 >= 5 (the point (0; 5), Z = 40), the integer optimum, whose bound closes
// nodes 6 and 2.
TEST(GraphicBranches, EndNodesOfTheTextbookTreeAreDrawnWithTheirConditions) {
  TMessageRecorder messages;
  TTaskVerdict v;
  const std::string page = Solve("max 5 8\n1 1 <= 6\n5 9 <= 45\nint 1 2\n", "branch", &v);
  ASSERT_EQ(v.Status, TTaskStatus::Optimal);
  const std::vector<TElement> picture = Picture(page);
  std::map<std::string, std::string> leaves; // title -> tag
  for (const TElement& e : OfClass(picture, "clsGrLeaf")) leaves[e.Content] = e.Tag;
  const std::map<std::string, std::string> expected = {
      {"Узел 2: X2 ≤ 3; Z = 39 в точке (3; 3)", "polygon"},
      {"Узел 6: X2 ≥ 4, X1 ≤ 1, X2 ≤ 4; Z = 37 в точке (1; 4)", "line"},
      {"Узел 7: X2 ≥ 4, X1 ≤ 1, X2 ≥ 5; Z = 40 в точке (0; 5)", "circle"},
  };
  EXPECT_EQ(leaves, expected);
  // The shapes where they belong: the relaxation's region (0; 0), (6; 0), (9/4; 15/4), (0; 5) gives
  // the scale of the picture.
  const std::vector<TElement> region = OfClass(picture, "clsGrRegion");
  ASSERT_EQ(region.size(), 1U);
  const std::vector<TPixel> corners = PolygonPoints(region[0]);
  ASSERT_EQ(corners.size(), 4U);
  const TPixel origin = corners[0];
  const double sx = (corners[1].X - origin.X) / 6, sy = (corners[3].Y - origin.Y) / 5;
  const auto pixel = [&](double x, double y) { return TPixel{origin.X + x * sx, origin.Y + y * sy}; };
  const auto near = [](TPixel a, TPixel b) { return std::hypot(a.X - b.X, a.Y - b.Y) <= 0.15; };
  EXPECT_TRUE(near(corners[2], pixel(2.25, 3.75)));
  for (const TElement& e : OfClass(picture, "clsGrLeaf")) {
    SCOPED_TRACE(e.Content);
    if (e.Tag == "polygon") {
      const std::vector<TPixel> points = PolygonPoints(e);
      const std::vector<TPixel> expect = {pixel(0, 0), pixel(6, 0), pixel(3, 3), pixel(0, 3)};
      ASSERT_EQ(points.size(), expect.size());
      for (std::size_t k = 0; k < expect.size(); ++k) EXPECT_TRUE(near(points[k], expect[k])) << k;
    } else if (e.Tag == "line") {
      EXPECT_TRUE(near({e.Num("x1"), e.Num("y1")}, pixel(0, 4)) || near({e.Num("x2"), e.Num("y2")}, pixel(0, 4)));
      EXPECT_TRUE(near({e.Num("x1"), e.Num("y1")}, pixel(1, 4)) || near({e.Num("x2"), e.Num("y2")}, pixel(1, 4)));
    } else {
      EXPECT_TRUE(near({e.Num("cx"), e.Num("cy")}, pixel(0, 5)));
    }
  }
  std::multiset<std::string> lines;
  for (const TElement& e : OfClass(picture, "clsGrBranchLine")) lines.insert(e.Content);
  EXPECT_EQ(lines, (std::multiset<std::string>{"X2 = 3", "X2 = 4", "X1 = 1", "X2 = 4"}));
  std::set<std::string> names;
  for (const TElement& e : OfClass(picture, "clsGrLeafName")) names.insert(e.Content);
  EXPECT_EQ(names, (std::set<std::string>{"№ 2", "№ 6", "№ 7"}));
  EXPECT_TRUE(Contains(page, "Область узла 5 пуста: его задача несовместна."));
  EXPECT_TRUE(Contains(page, "Задача решается методом ветвей и границ"));
  EXPECT_FALSE(Contains(page, "отсечение Гомори")) << "the step of the integer variables names the method chosen";
  EXPECT_TRUE(Contains(page, "зелёным — узел 7 с лучшим целочисленным планом (0; 5); оранжевым — узлы 2 и 6"));
  // The optimum the method found is marked with its coordinates, on an integer point of node 7.
  const std::vector<TElement> optimum = OfClass(picture, "clsGrOpt");
  ASSERT_EQ(optimum.size(), 1U);
  EXPECT_EQ(optimum[0].Content, "Узел 7: лучший целочисленный план (0; 5)");
  const std::vector<TElement> optimumName = OfClass(picture, "clsGrOptName");
  ASSERT_EQ(optimumName.size(), 1U);
  EXPECT_EQ(optimumName[0].Content, "(0; 5)");
  const TPixel at{optimum[0].Num("cx"), optimum[0].Num("cy")};
  const auto leaf7 = std::find_if(picture.begin(), picture.end(), [](const TElement& e) {
    return e.Cls() == "clsGrLeaf" && Contains(e.Content, "Узел 7");
  });
  ASSERT_NE(leaf7, picture.end());
  EXPECT_TRUE(Holds(*leaf7, at));
  // X1 + X2 <= 6 holds 28 integer points, of which 5 X1 + 9 X2 <= 45 leaves out (1; 5), (2; 4), (0; 6).
  EXPECT_EQ(OfClass(picture, "clsGrInt").size(), 25U);
  ExpectIntegerPointsSharedOut(picture);
  // The picture is drawn from the tree the section of the method builds: the same nodes end the same way.
  for (const char* sentence : {"Оптимум задачи узла 6: Z = 37 при X<sub>1</sub> = 1, X<sub>2</sub> = 4.",
                               "Оптимум задачи узла 7: Z = 40 при X<sub>1</sub> = 0, X<sub>2</sub> = 5.",
                               "Задача узла 5 несовместна", "Узел 2: граница Z = 39 не лучше"})
    EXPECT_TRUE(Contains(page, sentence)) << sentence;
  EXPECT_TRUE(messages.Messages.empty());
}

// Gomory's method draws no regions of nodes; neither does branch and bound when the relaxation's
// optimum is integer already.
TEST(GraphicBranches, OnlyADividedProgramShowsRegions) {
  TMessageRecorder messages;
  EXPECT_TRUE(OfClass(Picture(Solve("max 5 8\n1 1 <= 6\n5 9 <= 45\nint 1 2\n", "gomory")), "clsGrLeaf").empty());
  const std::string integral = Solve("max 3 2\n1 1 <= 4\n1 3 <= 6\nint 1 2\n", "branch");
  EXPECT_TRUE(OfClass(Picture(integral), "clsGrLeaf").empty());
  EXPECT_FALSE(Contains(integral, "Метод ветвей и границ делит"));
}

// Random programs in two variables, both or one of them integer: wherever the picture shows the end
// nodes, their regions share out the integer points of the region, each is drawn with the optimum the
// section of the method finds in it, and the point marked as the optimum is the answer's.
TEST(GraphicBranches, EndRegionsShareOutTheIntegerPointsOfRandomPrograms) {
  TMessageRecorder messages;
  std::mt19937 random(20261209);
  const auto pick = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  int drawn = 0;
  for (int k = 0; k < 160; ++k) {
    std::string text = RandomPlaneProgram(pick, 4);
    const char* ticks[] = {"int 1 2\n", "int 1 2\n", "int 1\n", "int 2\n"};
    text += ticks[k % 4];
    SCOPED_TRACE(text);
    TTaskVerdict v;
    const std::string page = Solve(text, "branch", &v);
    const std::vector<TElement> picture = Picture(page);
    if (OfClass(picture, "clsGrLeaf").empty()) continue;
    ++drawn;
    ExpectIntegerPointsSharedOut(picture);
    // Each end node drawn is the node of the method's section, with the same optimum.
    const std::regex title(R"(^Узел (\d+): .*; Z = (\S+) в точке \((\S+); (\S+)\)$)");
    for (const TElement& leaf : OfClass(picture, "clsGrLeaf")) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(leaf.Content, m, title)) << leaf.Content;
      EXPECT_TRUE(Contains(page, "Оптимум задачи узла " + m[1].str() + ": Z = " + m[2].str() +
                                     " при X<sub>1</sub> = " + m[3].str() + ", X<sub>2</sub> = " + m[4].str() + "."))
          << leaf.Content;
    }
    const std::vector<TElement> name = OfClass(picture, "clsGrOptName");
    if (v.Status == TTaskStatus::Optimal) {
      ASSERT_EQ(name.size(), 1U);
      EXPECT_EQ(name[0].Content, "(" + RatToStr(v.X[0]) + "; " + RatToStr(v.X[1]) + ")");
      // The level line of the optimum passes through the point marked.
      const std::vector<TElement> optimum = OfClass(picture, "clsGrOpt");
      const std::vector<TElement> level = OfClass(picture, "clsGrLevel");
      ASSERT_EQ(optimum.size(), 1U);
      if (!level.empty()) {
        const TPixel a{level[0].Num("x1"), level[0].Num("y1")}, b{level[0].Num("x2"), level[0].Num("y2")};
        const double off =
            std::fabs((b.X - a.X) * (optimum[0].Num("cy") - a.Y) - (b.Y - a.Y) * (optimum[0].Num("cx") - a.X)) /
            std::hypot(b.X - a.X, b.Y - a.Y);
        EXPECT_LE(off, 0.2) << "the level line misses the optimum by " << off << " pixels";
        const std::vector<TElement> levelName = OfClass(picture, "clsGrLevelName");
        ASSERT_EQ(levelName.size(), 1U);
        EXPECT_EQ(levelName[0].Content, "Z = " + RatToStr(*v.Objective));
      }
    } else {
      EXPECT_TRUE(name.empty());
    }
  }
  EXPECT_GT(drawn, 40) << drawn << " pictures with regions of nodes";
}

// ---- labels ----

constexpr double Ascent = 9; // of the 11-pixel type, as the picture counts it
constexpr double Descent = 3;

TSvgBox BoxOf(const TElement& text) {
  const double w = TextWidth(text.Content);
  const std::string anchor = text.Attrs.count("text-anchor") ? text.Attrs.at("text-anchor") : "start";
  const double left = text.Num("x") - (anchor == "end" ? w : anchor == "middle" ? w / 2 : 0);
  return {left, text.Num("y") - Ascent, left + w, text.Num("y") + Descent};
}

double BoxDistance(const TSvgBox& b, TPixel p) {
  return std::hypot(p.X - std::clamp(p.X, b.Left, b.Right), p.Y - std::clamp(p.Y, b.Top, b.Bottom));
}

bool Placed(const std::string& cls) {
  return cls == "clsGrVertexName" || cls == "clsGrOptName" || cls == "clsGrLineName" || cls == "clsGrLevelName" ||
         cls == "clsGrLeafName";
}

// No label a point carries meets another text; each vertex's letter stands next to its vertex, or
// farther with a leader line from the vertex to it; every label stays inside the picture.
void ExpectLabelsApartAndNear(const std::string& page) {
  const std::vector<TElement> picture = Picture(page);
  std::vector<TElement> texts;
  for (const TElement& e : picture)
    if (e.Tag == "text") texts.push_back(e);
  const std::size_t svgAt = page.find("aria-label=\"Графический метод\"");
  const std::size_t start = page.rfind("<svg", svgAt);
  const std::regex size(R"re(width="([\d.]+)" height="([\d.]+)")re");
  std::smatch m;
  const std::string head = page.substr(start, svgAt - start);
  ASSERT_TRUE(std::regex_search(head, m, size));
  const double width = std::stod(m[1]), height = std::stod(m[2]);
  constexpr double Rounding = 0.11;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (!Placed(texts[i].Cls())) continue;
    const TSvgBox a = BoxOf(texts[i]);
    EXPECT_GE(a.Left, -Rounding);
    EXPECT_LE(a.Right, width + Rounding);
    EXPECT_GE(a.Top, -Rounding);
    EXPECT_LE(a.Bottom, height + Rounding);
    for (std::size_t j = 0; j < texts.size(); ++j) {
      if (j == i) continue;
      const TSvgBox b = BoxOf(texts[j]);
      const TSvgBox shrunk{b.Left + Rounding, b.Top + Rounding, b.Right - Rounding, b.Bottom - Rounding};
      EXPECT_FALSE(a.Overlaps(shrunk)) << "«" << texts[i].Content << "» covers «" << texts[j].Content << "»";
    }
  }
  const std::vector<TElement> vertices = OfClass(picture, "clsGrVertex");
  const std::vector<TElement> leaders = OfClass(picture, "clsGrLeader");
  const double nearGap = TSvgPlot::LabelGaps[0] + 2.5 + 1;
  const double farGap = TSvgPlot::LabelGaps[std::size(TSvgPlot::LabelGaps) - 1] + 4.5 + 1;
  for (const TElement& t : texts) {
    if (t.Cls() != "clsGrVertexName" && t.Cls() != "clsGrOptName") continue;
    const char letter = t.Content.empty() ? '\0' : t.Content[0];
    if (letter < 'A' || letter > 'Z') continue; // an integer point's coordinates
    const auto k = static_cast<std::size_t>(letter - 'A');
    ASSERT_LT(k, vertices.size()) << t.Content;
    const TPixel p{vertices[k].Num("cx"), vertices[k].Num("cy")};
    const TSvgBox box = BoxOf(t);
    const double d = BoxDistance(box, p);
    EXPECT_LE(d, farGap) << t.Content << " is far from its vertex";
    if (d <= nearGap + (t.Cls() == "clsGrOptName" ? 2 : 0)) continue;
    const bool led = std::any_of(leaders.begin(), leaders.end(), [&](const TElement& l) {
      return std::hypot(l.Num("x1") - p.X, l.Num("y1") - p.Y) <= 6 &&
             BoxDistance(box, {l.Num("x2"), l.Num("y2")}) <= 0.2;
    });
    EXPECT_TRUE(led) << t.Content << " stands " << d << " pixels away without a leader line";
  }
}

// Vertices a few pixels apart: the corner (10; 10) cut by three lines close together, and the corner
// (0; 0) cut by five, each with its letters, the lines' numbers and the optimum's coordinates.
TEST(GraphicLabels, CrowdedVerticesKeepTheirLabelsApartAndNearTheirPoints) {
  TMessageRecorder messages;
  const char* crowded[] = {
      "max 1 1\n1 0 <= 10\n0 1 <= 10\n1 1 <= 19.9\n10 9 <= 189.5\n9 10 <= 189.5\n1 -1 <= 9.8\n-1 1 <= 9.8\n",
      "min 1 1\n1 1 >= 0.3\n2 1 >= 0.4\n1 2 >= 0.4\n4 1 >= 0.5\n1 4 >= 0.5\n1 0 <= 10\n0 1 <= 10\n",
      "max 2 1\n1 1 <= 5\n1 1.01 <= 5.02\n1.02 1 <= 5.04\n1 0 <= 4\n0 1 <= 4\nint 1 2\n",
  };
  for (const char* text : crowded) {
    SCOPED_TRACE(text);
    const std::string page = Solve(text, "gomory");
    // Letters of all the vertices are drawn, so that the crowding is real.
    EXPECT_GE(OfClass(Picture(page), "clsGrVertexName").size() + OfClass(Picture(page), "clsGrOptName").size(), 6U);
    ExpectLabelsApartAndNear(page);
  }
  const std::string branch = Solve(crowded[2], "branch");
  EXPECT_FALSE(OfClass(Picture(branch), "clsGrLeafName").empty());
  ExpectLabelsApartAndNear(branch);
  std::mt19937 random(7);
  const auto pick = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  for (int k = 0; k < 300; ++k) {
    std::string text = RandomPlaneProgram(pick, 6);
    SCOPED_TRACE(text);
    ExpectLabelsApartAndNear(Solve(text + (k % 2 ? "int 1 2\n" : ""), k % 4 == 1 ? "branch" : "gomory"));
  }
}

} // namespace
