// The scatter plot of a regression: its axes hold every observation and the fitted line and are scaled to
// the data, not to the origin; a point is drawn per observation spot.
#include "RegressionPlot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct TPlotCase {
  const char* Name;
  std::vector<double> X;
  std::vector<double> Y;
  double A;
  double B;
  std::size_t Spots; // distinct spots of the picture
};

std::vector<TPlotCase> Cases() {
  std::vector<TPlotCase> cases = {
      {"Line", {1, 2, 3}, {2, 4, 6}, 2, 0, 3},
      {"Falling", {-3, -1, 0, 2, 5}, {7.5, 4, 3.2, -1, -6.25}, -1.6, 2.9, 5},
      {"FarFromZero", {1000000, 1000001, 1000002, 1000003}, {3000000.5, 3000003.5, 3000006.5, 3000009.5}, 3, 0.5, 4},
      {"FlatY", {0.1, 0.2, 0.3}, {5, 5, 5}, 0, 5, 3},
      {"Repeated", {1, 1, 2, 2}, {1, 1, 3, 3}, 2, -1, 2},
  };
  TPlotCase many{"Thousand", {}, {}, 0.5, 1, 0};
  for (int i = 0; i < 1000; ++i) {
    many.X.push_back(i % 10);
    many.Y.push_back(0.5 * (i % 10) + 1 + (i % 3 - 1) * 0.25);
  }
  many.Spots = 30;
  cases.push_back(many);
  return cases;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

TEST(RegressionPlot, AxesHoldTheDataAndTheLineAndFitThem) {
  for (const TPlotCase& c : Cases()) {
    SCOPED_TRACE(c.Name);
    const auto scale = RegressionScale(c.X, c.Y, c.A, c.B);
    ASSERT_TRUE(scale.has_value());
    const TSvgWindow& w = scale->Window;
    for (std::size_t i = 0; i < c.X.size(); ++i) EXPECT_TRUE(w.Contains({c.X[i], c.Y[i]})) << i;
    const auto [xMin, xMax] = std::minmax_element(c.X.begin(), c.X.end());
    EXPECT_TRUE(w.Contains({*xMin, c.A * *xMin + c.B}));
    EXPECT_TRUE(w.Contains({*xMax, c.A * *xMax + c.B}));
    // Scaled to the data: a few ticks across, the edges on ticks, no more than two steps of margin
    // beyond the padded data (so data far from zero are not squeezed against the origin).
    for (const auto& [lo, hi, step, dataLo, dataHi] :
         {std::tuple{w.X0, w.X1, scale->StepX.Value(), *xMin, *xMax},
          std::tuple{w.Y0, w.Y1, scale->StepY.Value(),
                     std::min(*std::min_element(c.Y.begin(), c.Y.end()), std::min(c.A * *xMin, c.A * *xMax) + c.B),
                     std::max(*std::max_element(c.Y.begin(), c.Y.end()), std::max(c.A * *xMin, c.A * *xMax) + c.B)}}) {
      const double ticks = (hi - lo) / step;
      EXPECT_GE(ticks, 3);
      EXPECT_LE(ticks, 14);
      EXPECT_NEAR(lo / step, std::round(lo / step), 1e-6);
      EXPECT_NEAR(hi / step, std::round(hi / step), 1e-6);
      // A twentieth of the span on each side; around a single value a window a tenth of it wide (at least 1).
      const double pad = dataHi > dataLo ? (dataHi - dataLo) / 20 : std::max(std::fabs(dataHi) * 0.05, 0.5);
      EXPECT_LE(dataLo - lo, pad + step * 1.0001);
      EXPECT_LE(hi - dataHi, pad + step * 1.0001);
    }
    const std::string svg = RegressionPlotSvg(c.X, c.Y, c.A, c.B);
    EXPECT_EQ(Count(svg, "<circle class=\"clsGrData\""), c.Spots);
    EXPECT_EQ(Count(svg, "<line class=\"clsGrFit\""), 1U);
  }
}

TEST(RegressionPlot, NothingIsDrawnWithoutFiniteData) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(RegressionPlotSvg({}, {}, 1, 0), "");
  EXPECT_EQ(RegressionPlotSvg({1, 2}, {1}, 1, 0), "");
  EXPECT_EQ(RegressionPlotSvg({1, nan}, {1, 2}, 1, 0), "");
  EXPECT_EQ(RegressionPlotSvg({1, 2}, {1, 2}, inf, 0), "");
  EXPECT_EQ(RegressionPlotSvg({-1e308, 1e308}, {1, 2}, 0, 1), "");
}

} // namespace
