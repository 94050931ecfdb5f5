// SVG pictures of the reports written as text: a plot area that maps data coordinates to the picture,
// its drawing primitives, and the steps and labels of axis ticks.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A point of the data plane (doubles: pictures are drawn, never computed, in floating point).
struct TSvgPoint {
  double X = 0;
  double Y = 0;
};

// A rectangle of the data plane, X0 < X1 and Y0 < Y1.
struct TSvgWindow {
  double X0 = 0;
  double X1 = 1;
  double Y0 = 0;
  double Y1 = 1;
  [[nodiscard]] bool Contains(TSvgPoint p) const noexcept { return p.X >= X0 && p.X <= X1 && p.Y >= Y0 && p.Y <= Y1; }
};

// A rectangle of the picture in pixels, Left < Right and Top < Bottom.
struct TSvgBox {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  [[nodiscard]] bool Overlaps(const TSvgBox& b) const noexcept {
    return Left < b.Right && b.Left < Right && Top < b.Bottom && b.Top < Bottom;
  }
};

// A label that belongs to a point: placed beside it where it covers no other label.
struct TSvgPointLabel {
  TSvgPoint At;
  std::string Markup;
  std::string Cls;
  // The side to try first, in pixels of the picture (x to the right, y downwards); (0, 0): no side
  // is better than another.
  double PreferX = 1;
  double PreferY = -1;
  // The label may stand on its point, centred (the name of a region at its middle).
  bool Centred = false;
  // The half size of the point's marker in pixels: the gaps count from its edge.
  double Radius = 0;
};

// One picture: the data window drawn into a plot area of PlotWidth x PlotHeight pixels, with margins
// around it for the tick labels. Every element carries a class of the report style sheet (help/main.css)
// and presentation attributes of its own, so that the picture stays legible without the style sheet;
// lines and text default to currentColor and so follow the page colours.
class TSvgPlot {
public:
  // left: the margin left of the plot area, room for the labels of the vertical axis.
  TSvgPlot(TSvgWindow window, double plotWidth, double plotHeight, double left = 46);

  // Pixel coordinates of a data point (y grows downwards in the picture).
  [[nodiscard]] double PX(double x) const noexcept;
  [[nodiscard]] double PY(double y) const noexcept;
  [[nodiscard]] const TSvgWindow& Window() const noexcept { return FWindow; }
  [[nodiscard]] double PlotWidth() const noexcept { return FPlotWidth; }
  [[nodiscard]] double PlotHeight() const noexcept { return FPlotHeight; }
  [[nodiscard]] double Left() const noexcept { return FLeft; }

  // attrs: further presentation attributes, such as stroke="#c0392b" (the defaults the class overrides).
  void Line(TSvgPoint a, TSvgPoint b, const std::string& cls, const std::string& attrs = "",
            const std::string& title = "");
  // title: the text a viewer shows over the shape (plain text, escaped here).
  void Polygon(const std::vector<TSvgPoint>& points, const std::string& cls, const std::string& attrs = "",
               const std::string& title = "");
  // radius in pixels
  void Circle(TSvgPoint c, double radius, const std::string& cls, const std::string& attrs = "",
              const std::string& title = "");
  // An arrow from a to b with a filled head of headLength pixels.
  void Arrow(TSvgPoint a, TSvgPoint b, double headLength, const std::string& cls, const std::string& attrs = "");
  // Text at a data point moved by (dx, dy) pixels; markup is SVG text content (tspans and
  // character references allowed, '<' and '&' of plain text escaped by the caller). anchor: "start",
  // "middle" or "end". The text is kept inside the picture.
  void Text(TSvgPoint at, double dx, double dy, const std::string& markup, const std::string& cls,
            const std::string& anchor = "start");
  // Text at pixel coordinates.
  void PixelText(double px, double py, const std::string& markup, const std::string& cls,
                 const std::string& anchor = "start");

  // Keeps the labels of PlaceLabels off the box (a marker of a point, say).
  void Reserve(const TSvgBox& box) { FBoxes.push_back(box); }
  // The labels in their order, each at the first free place: one of 8 positions around its point
  // (its preferred side first, then the sides next to it), Gap pixels from it, then the same 8
  // farther away with a thin leader line from the point to the label. A place is free when the
  // label's box stays inside the picture and meets neither the box of a text drawn before nor a
  // reserved box. When none is free the label takes the place where it covers the least.
  void PlaceLabels(const std::vector<TSvgPointLabel>& labels);
  // The box of a text of the 11-pixel type with its baseline at py, as PixelText would place it.
  [[nodiscard]] TSvgBox TextBox(double px, double py, const std::string& markup, const std::string& anchor) const;
  // The distances of the places PlaceLabels tries, from the point to the nearest edge of the box;
  // the label of a place beyond the first gets a leader line.
  static constexpr double LabelGaps[] = {4, 11, 19, 29, 41};

  // Axis lines through (0, 0) with arrow heads and tick marks, or (frame) ticks along the bottom and
  // left edges of the plot area; labels at the ends of the axes.
  struct TAxis {
    double Step = 1;                 // data distance between ticks
    std::vector<double> Ticks;       // tick positions
    std::vector<std::string> Labels; // their texts, parallel to Ticks
    std::string Name;                // markup of the axis name
  };
  void Grid(const TAxis& x, const TAxis& y);
  void AxesThroughOrigin(const TAxis& x, const TAxis& y);
  void FramedAxes(const TAxis& x, const TAxis& y);

  // The whole <svg> element; ariaLabel names the picture for screen readers.
  [[nodiscard]] std::string Svg(const std::string& cls, const std::string& ariaLabel) const;

  // Margins right of, above and below the plot area, in pixels.
  static constexpr double Right = 28;
  static constexpr double Top = 16;
  static constexpr double Bottom = 30;

private:
  TSvgWindow FWindow;
  double FPlotWidth;
  double FPlotHeight;
  double FLeft;
  std::vector<std::string> FElements;
  std::vector<TSvgBox> FBoxes; // every text drawn and every reserved box
};

// A number of pixel coordinates with at most one decimal, written the same in every locale.
[[nodiscard]] std::string SvgNumber(double v);
// The width of a label in pixels, roughly: tags left out, a character reference counted as one.
[[nodiscard]] double TextWidth(const std::string& markup);
// '<', '>', '&' and '"' as references.
[[nodiscard]] std::string SvgEscape(const std::string& text);
// "X<tspan ...>1</tspan>": a letter with a subscript index.
[[nodiscard]] std::string SvgSubscript(const std::string& letter, const std::string& index);

// The part of the line a x + b y = c inside the window; none when it misses it or a = b = 0.
[[nodiscard]] std::optional<std::pair<TSvgPoint, TSvgPoint>> ClipLine(double a, double b, double c,
                                                                      const TSvgWindow& window);
// The part of the segment p-q inside the window.
[[nodiscard]] std::optional<std::pair<TSvgPoint, TSvgPoint>> ClipSegment(TSvgPoint p, TSvgPoint q,
                                                                         const TSvgWindow& window);

// A step of 1, 2 or 5 times a power of ten (Mantissa * 10^Exponent) that divides span into about
// `count` parts; the texts of its multiples are exact ("2,5" with a decimal comma, "-40") for
// exponents -9 ... 15, and have six significant digits beyond ("1,5e+20").
struct TTickStep {
  int Mantissa = 1;
  int Exponent = 0;
  [[nodiscard]] double Value() const;
  // The text of k steps.
  [[nodiscard]] std::string Label(long long k) const;
};
[[nodiscard]] TTickStep NiceTickStep(double span, int count);
// Ticks k * step for the k with lo <= k * step <= hi, and their labels; none when there would be
// more than 200.
[[nodiscard]] TSvgPlot::TAxis TickAxis(const TTickStep& step, double lo, double hi, const std::string& name);
