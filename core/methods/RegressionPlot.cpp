// The scatter plot of a regression.
#include "RegressionPlot.h"

#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace {

// lo ... hi padded by a twentieth of the span (a span of zero: a tenth of the value, or 1), then
// widened to whole steps.
std::pair<double, double> Widen(double lo, double hi, TTickStep& step) {
  if (hi == lo) {
    const double half = std::max(std::fabs(hi) * 0.05, 0.5);
    lo -= half;
    hi += half;
  } else {
    const double pad = (hi - lo) / 20;
    lo -= pad;
    hi += pad;
  }
  step = NiceTickStep(hi - lo, 6);
  const double s = step.Value();
  return {std::floor(lo / s) * s, std::ceil(hi / s) * s};
}

} // namespace

std::optional<TPlotScale> RegressionScale(const std::vector<double>& x, const std::vector<double>& y, double a,
                                          double b) {
  if (x.empty() || x.size() != y.size() || !std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
  const auto [xMin, xMax] = std::minmax_element(x.begin(), x.end());
  const auto [yMin, yMax] = std::minmax_element(y.begin(), y.end());
  const double ends[2] = {a * *xMin + b, a * *xMax + b};
  const double lo[2] = {*xMin, std::min({*yMin, ends[0], ends[1]})};
  const double hi[2] = {*xMax, std::max({*yMax, ends[0], ends[1]})};
  for (int k = 0; k < 2; ++k)
    if (!std::isfinite(lo[k]) || !std::isfinite(hi[k]) || !std::isfinite(hi[k] - lo[k])) return std::nullopt;
  TPlotScale scale;
  const auto [x0, x1] = Widen(lo[0], hi[0], scale.StepX);
  const auto [y0, y1] = Widen(lo[1], hi[1], scale.StepY);
  if (!(x1 > x0) || !(y1 > y0) || !std::isfinite(x1 - x0) || !std::isfinite(y1 - y0)) return std::nullopt;
  scale.Window = {x0, x1, y0, y1};
  return scale;
}

std::string RegressionPlotSvg(const std::vector<double>& x, const std::vector<double>& y, double a, double b) {
  const std::optional<TPlotScale> scale = RegressionScale(x, y, a, b);
  if (!scale) return {};
  const TSvgWindow& w = scale->Window;
  const TSvgPlot::TAxis xAxis = TickAxis(scale->StepX, w.X0, w.X1, "X");
  const TSvgPlot::TAxis yAxis = TickAxis(scale->StepY, w.Y0, w.Y1, "Y");
  double labelWidth = 0;
  for (const std::string& label : yAxis.Labels) labelWidth = std::max(labelWidth, TextWidth(label));
  TSvgPlot plot(w, 460, 320, std::max(36.0, labelWidth + 14));
  plot.Grid(xAxis, yAxis);
  plot.FramedAxes(xAxis, yAxis);
  if (const auto line = ClipSegment({w.X0, a * w.X0 + b}, {w.X1, a * w.X1 + b}, w)) {
    plot.Line(line->first, line->second, "clsGrFit", "stroke=\"#c0392b\" stroke-width=\"1.6\"");
    // The name above the line, three quarters along it: left of it where it rises, right where it falls.
    const TSvgPoint at{line->first.X + 0.75 * (line->second.X - line->first.X),
                       line->first.Y + 0.75 * (line->second.Y - line->first.Y)};
    plot.Text(at, a >= 0 ? -8 : 8, -8, "Y = AX + B", "clsGrFitName", a >= 0 ? "end" : "start");
  }
  // Half-pixel cells: an observation on a spot already drawn adds nothing to the picture.
  std::set<std::pair<long long, long long>> drawn;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const auto cell = std::make_pair(std::llround(plot.PX(x[i]) * 2), std::llround(plot.PY(y[i]) * 2));
    if (drawn.insert(cell).second) plot.Circle({x[i], y[i]}, 3, "clsGrData", "fill=\"#3f7fbf\"");
  }
  return plot.Svg("clsGraph", "Наблюдения и прямая регрессии");
}

void AddRegressionPlot(TZLPCore_SolutionResult& report, const std::vector<double>& x, const std::vector<double>& y,
                       double a, double b) {
  const std::string svg = RegressionPlotSvg(x, y, a, b);
  if (svg.empty()) return;
  report.AddLine("<div class=\"clsGraphBox\">\r\n" + svg +
                 "\r\n<div class=\"clsGrCaption\">Рис. Наблюдения (точки) и прямая регрессии Y = AX + B, найденная "
                 "методом наименьших квадратов.</div></div>");
}
