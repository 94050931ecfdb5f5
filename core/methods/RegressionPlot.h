// The scatter plot of a regression: the observations and the fitted line Y = AX + B on axes scaled to
// the data, as an SVG picture of the report.
#pragma once

#include "Svg.h"

#include <optional>
#include <string>
#include <vector>

class TZLPCore_SolutionResult;

// The window of the plot and the steps of its ticks: the observations and the line over their range
// of X, padded by a twentieth of their span on each side and widened to whole ticks. Around a single
// value (every Y the same) the window is a tenth of the value wide, at least 1.
struct TPlotScale {
  TSvgWindow Window;
  TTickStep StepX;
  TTickStep StepY;
};

// None when there is no observation, x and y differ in length, or a number is not finite.
[[nodiscard]] std::optional<TPlotScale> RegressionScale(const std::vector<double>& x, const std::vector<double>& y,
                                                        double a, double b);

// The <svg> element: a point per observation (observations that fall on the same spot of the
// picture drawn once) and the line; "" when RegressionScale has none.
[[nodiscard]] std::string RegressionPlotSvg(const std::vector<double>& x, const std::vector<double>& y, double a,
                                            double b);

// The picture with its caption as one block of the report; nothing when it cannot be drawn.
void AddRegressionPlot(TZLPCore_SolutionResult& report, const std::vector<double>& x, const std::vector<double>& y,
                       double a, double b);
