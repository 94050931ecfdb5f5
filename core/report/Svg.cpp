// SVG pictures of the reports written as text.
#include "Svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr const char* LF = "\r\n";

// Characters a text shows, counting a character reference or a multi-byte character as one and
// leaving tags out: enough to keep a label inside the picture.
std::size_t VisibleLength(const std::string& markup) {
  std::size_t n = 0;
  bool inTag = false;
  bool inRef = false;
  for (unsigned char c : markup) {
    if (inTag) {
      inTag = c != '>';
    } else if (inRef) {
      inRef = c != ';';
    } else if (c == '<') {
      inTag = true;
    } else if (c == '&') {
      inRef = true;
      ++n;
    } else if ((c & 0xC0) != 0x80) {
      ++n;
    }
  }
  return n;
}

constexpr double CharWidth = 6.4; // an average character of the 11-pixel labels
// The height of the 11-pixel type above and below its baseline.
constexpr double TextAscent = 9;
constexpr double TextDescent = 3;

double Overlap(const TSvgBox& a, const TSvgBox& b) {
  const double w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
  const double h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}

} // namespace

double TextWidth(const std::string& markup) { return static_cast<double>(VisibleLength(markup)) * CharWidth; }

std::string SvgNumber(double v) {
  if (!std::isfinite(v)) return "0";
  if (std::fabs(v) < 0.05) return "0";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
  std::string s(buf, r.ptr);
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s;
}

std::string SvgEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '&': out += "&amp;"; break;
    case '"': out += "&quot;"; break;
    default: out += c;
    }
  }
  return out;
}

std::string SvgSubscript(const std::string& letter, const std::string& index) {
  return letter + "<tspan baseline-shift=\"sub\" font-size=\"8\">" + index + "</tspan>";
}

TSvgPlot::TSvgPlot(TSvgWindow window, double plotWidth, double plotHeight, double left)
    : FWindow(window), FPlotWidth(plotWidth), FPlotHeight(plotHeight), FLeft(left) {}

double TSvgPlot::PX(double x) const noexcept {
  return FLeft + (x - FWindow.X0) / (FWindow.X1 - FWindow.X0) * FPlotWidth;
}

double TSvgPlot::PY(double y) const noexcept {
  return Top + (FWindow.Y1 - y) / (FWindow.Y1 - FWindow.Y0) * FPlotHeight;
}

namespace {

// The end of an element: "/>", or its title and the closing tag.
std::string Closing(const std::string& tag, const std::string& title) {
  return title.empty() ? "/>" : "><title>" + SvgEscape(title) + "</title></" + tag + ">";
}

} // namespace

void TSvgPlot::Line(TSvgPoint a, TSvgPoint b, const std::string& cls, const std::string& attrs,
                    const std::string& title) {
  FElements.push_back("<line class=\"" + cls + "\" x1=\"" + SvgNumber(PX(a.X)) + "\" y1=\"" + SvgNumber(PY(a.Y)) +
                      "\" x2=\"" + SvgNumber(PX(b.X)) + "\" y2=\"" + SvgNumber(PY(b.Y)) + "\"" +
                      (attrs.empty() ? "" : " " + attrs) + Closing("line", title));
}

void TSvgPlot::Polygon(const std::vector<TSvgPoint>& points, const std::string& cls, const std::string& attrs,
                       const std::string& title) {
  std::string list;
  for (const TSvgPoint& p : points) {
    if (!list.empty()) list += ' ';
    list += SvgNumber(PX(p.X)) + "," + SvgNumber(PY(p.Y));
  }
  FElements.push_back("<polygon class=\"" + cls + "\" points=\"" + list + "\"" + (attrs.empty() ? "" : " " + attrs) +
                      Closing("polygon", title));
}

void TSvgPlot::Circle(TSvgPoint c, double radius, const std::string& cls, const std::string& attrs,
                      const std::string& title) {
  FElements.push_back("<circle class=\"" + cls + "\" cx=\"" + SvgNumber(PX(c.X)) + "\" cy=\"" + SvgNumber(PY(c.Y)) +
                      "\" r=\"" + SvgNumber(radius) + "\"" + (attrs.empty() ? "" : " " + attrs) +
                      Closing("circle", title));
}

void TSvgPlot::Arrow(TSvgPoint a, TSvgPoint b, double headLength, const std::string& cls, const std::string& attrs) {
  const double ax = PX(a.X), ay = PY(a.Y), bx = PX(b.X), by = PY(b.Y);
  const double len = std::hypot(bx - ax, by - ay);
  if (len < 1) return;
  const double ux = (bx - ax) / len, uy = (by - ay) / len;
  const double head = std::min(headLength, len * 0.6);
  const double baseX = bx - ux * head, baseY = by - uy * head;
  const std::string extra = attrs.empty() ? "" : " " + attrs;
  FElements.push_back("<g class=\"" + cls + "\"" + extra + "><line x1=\"" + SvgNumber(ax) + "\" y1=\"" + SvgNumber(ay) +
                      "\" x2=\"" + SvgNumber(baseX) + "\" y2=\"" + SvgNumber(baseY) + "\"/><polygon points=\"" +
                      SvgNumber(bx) + "," + SvgNumber(by) + " " + SvgNumber(baseX - uy * head * 0.38) + "," +
                      SvgNumber(baseY + ux * head * 0.38) + " " + SvgNumber(baseX + uy * head * 0.38) + "," +
                      SvgNumber(baseY - ux * head * 0.38) + "\" stroke=\"none\"/></g>");
}

void TSvgPlot::Text(TSvgPoint at, double dx, double dy, const std::string& markup, const std::string& cls,
                    const std::string& anchor) {
  PixelText(PX(at.X) + dx, PY(at.Y) + dy, markup, cls, anchor);
}

TSvgBox TSvgPlot::TextBox(double px, double py, const std::string& markup, const std::string& anchor) const {
  const double width = TextWidth(markup);
  const double total = FLeft + FPlotWidth + Right;
  // The left edge of the text for its anchor, moved so that the whole text stays in the picture.
  const double shift = anchor == "end" ? width : anchor == "middle" ? width / 2 : 0;
  const double leftEdge = std::clamp(px - shift, 2.0, std::max(2.0, total - 2 - width));
  py = std::clamp(py, 11.0, Top + FPlotHeight + Bottom - 3);
  return {leftEdge, py - TextAscent, leftEdge + width, py + TextDescent};
}

void TSvgPlot::PixelText(double px, double py, const std::string& markup, const std::string& cls,
                         const std::string& anchor) {
  const TSvgBox box = TextBox(px, py, markup, anchor);
  FBoxes.push_back(box);
  const double width = box.Right - box.Left;
  px = box.Left + (anchor == "end" ? width : anchor == "middle" ? width / 2 : 0);
  py = std::clamp(py, 11.0, Top + FPlotHeight + Bottom - 3); // the baseline TextBox used
  FElements.push_back("<text class=\"" + cls + "\" x=\"" + SvgNumber(px) + "\" y=\"" + SvgNumber(py) + "\"" +
                      (anchor == "start" ? "" : " text-anchor=\"" + anchor + "\"") + ">" + markup + "</text>");
}

void TSvgPlot::PlaceLabels(const std::vector<TSvgPointLabel>& labels) {
  const double total = FLeft + FPlotWidth + Right;
  const double height = Top + FPlotHeight + Bottom;
  const TSvgBox inside{2, 2, total - 2, height};
  const double diagonal = std::sqrt(0.5);
  // The 8 sides counter-clockwise from the right, in pixels (y downwards).
  const double sides[8][2] = {{1, 0},  {diagonal, -diagonal}, {0, -1}, {-diagonal, -diagonal},
                              {-1, 0}, {-diagonal, diagonal}, {0, 1},  {diagonal, diagonal}};
  for (const TSvgPointLabel& label : labels) {
    const double px = PX(label.At.X), py = PY(label.At.Y);
    const double w = TextWidth(label.Markup), h = TextAscent + TextDescent;
    // The sides nearest the preferred one first.
    std::vector<int> order = {0, 1, 2, 3, 4, 5, 6, 7};
    const double preferLength = std::hypot(label.PreferX, label.PreferY);
    if (preferLength > 0) {
      const auto closeness = [&](int k) {
        return (sides[k][0] * label.PreferX + sides[k][1] * label.PreferY) / preferLength;
      };
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return closeness(a) > closeness(b) + 1e-9; });
    }
    struct TPlace {
      TSvgBox Box;
      bool Leader;
    };
    std::vector<TPlace> places;
    if (label.Centred) places.push_back({{px - w / 2, py - h / 2, px + w / 2, py + h / 2}, false});
    for (std::size_t g = 0; g < std::size(LabelGaps); ++g)
      for (const int k : order) {
        const double dx = sides[k][0], dy = sides[k][1], gap = LabelGaps[g] + label.Radius;
        const double left = dx > 0.1 ? px + gap * dx : dx < -0.1 ? px + gap * dx - w : px - w / 2;
        const double top = dy > 0.1 ? py + gap * dy : dy < -0.1 ? py + gap * dy - h : py - h / 2;
        places.push_back({{left, top, left + w, top + h}, g > 0});
      }
    const auto fits = [&inside](const TSvgBox& b) {
      return b.Left >= inside.Left && b.Right <= inside.Right && b.Top >= inside.Top && b.Bottom <= inside.Bottom;
    };
    const TPlace* chosen = nullptr;
    for (const TPlace& p : places)
      if (fits(p.Box) &&
          std::none_of(FBoxes.begin(), FBoxes.end(), [&p](const TSvgBox& b) { return b.Overlaps(p.Box); })) {
        chosen = &p;
        break;
      }
    if (chosen == nullptr) {
      // Nowhere free: the place next to the point that covers the least.
      double least = -1;
      for (const TPlace& p : places) {
        if (!fits(p.Box) || p.Leader) continue;
        double covered = 0;
        for (const TSvgBox& b : FBoxes) covered += Overlap(b, p.Box);
        if (least < 0 || covered < least) {
          least = covered;
          chosen = &p;
        }
      }
    }
    const TPlace place = chosen != nullptr ? *chosen : places.front();
    if (place.Leader) {
      // From the edge of the point's marker to the nearest point of the box.
      const double nx = std::clamp(px, place.Box.Left, place.Box.Right);
      const double ny = std::clamp(py, place.Box.Top, place.Box.Bottom);
      const double len = std::hypot(nx - px, ny - py);
      if (len > 6) {
        const double sx = px + (nx - px) * 5 / len, sy = py + (ny - py) * 5 / len;
        FElements.push_back("<line class=\"clsGrLeader\" x1=\"" + SvgNumber(sx) + "\" y1=\"" + SvgNumber(sy) +
                            "\" x2=\"" + SvgNumber(nx) + "\" y2=\"" + SvgNumber(ny) +
                            "\" stroke=\"currentColor\" stroke-width=\"0.6\"/>");
      }
    }
    PixelText(place.Box.Left, place.Box.Top + TextAscent, label.Markup, label.Cls);
  }
}

void TSvgPlot::Grid(const TAxis& x, const TAxis& y) {
  for (double t : x.Ticks) Line({t, FWindow.Y0}, {t, FWindow.Y1}, "clsGrGrid", "stroke=\"#d8d8d8\"");
  for (double t : y.Ticks) Line({FWindow.X0, t}, {FWindow.X1, t}, "clsGrGrid", "stroke=\"#d8d8d8\"");
}

void TSvgPlot::AxesThroughOrigin(const TAxis& x, const TAxis& y) {
  const std::string axis = "clsGrAxis";
  const std::string attrs = "stroke=\"currentColor\" fill=\"currentColor\"";
  Arrow({FWindow.X0, 0}, {FWindow.X1, 0}, 9, axis, attrs);
  Arrow({0, FWindow.Y0}, {0, FWindow.Y1}, 9, axis, attrs);
  for (std::size_t k = 0; k < x.Ticks.size(); ++k) {
    if (x.Ticks[k] == 0) continue;
    FElements.push_back("<line class=\"clsGrAxis\" stroke=\"currentColor\" x1=\"" + SvgNumber(PX(x.Ticks[k])) +
                        "\" y1=\"" + SvgNumber(PY(0) - 3) + "\" x2=\"" + SvgNumber(PX(x.Ticks[k])) + "\" y2=\"" +
                        SvgNumber(PY(0) + 3) + "\"/>");
    Text({x.Ticks[k], 0}, 0, 15, x.Labels[k], "clsGrTick", "middle");
  }
  for (std::size_t k = 0; k < y.Ticks.size(); ++k) {
    if (y.Ticks[k] == 0) continue;
    FElements.push_back("<line class=\"clsGrAxis\" stroke=\"currentColor\" x1=\"" + SvgNumber(PX(0) - 3) + "\" y1=\"" +
                        SvgNumber(PY(y.Ticks[k])) + "\" x2=\"" + SvgNumber(PX(0) + 3) + "\" y2=\"" +
                        SvgNumber(PY(y.Ticks[k])) + "\"/>");
    Text({0, y.Ticks[k]}, -6, 4, y.Labels[k], "clsGrTick", "end");
  }
  Text({0, 0}, -6, 15, "0", "clsGrTick", "end");
  Text({FWindow.X1, 0}, -2, -8, x.Name, "clsGrAxisName", "end");
  Text({0, FWindow.Y1}, 8, 10, y.Name, "clsGrAxisName");
}

void TSvgPlot::FramedAxes(const TAxis& x, const TAxis& y) {
  const std::string attrs = "stroke=\"currentColor\"";
  Line({FWindow.X0, FWindow.Y0}, {FWindow.X1, FWindow.Y0}, "clsGrAxis", attrs);
  Line({FWindow.X0, FWindow.Y0}, {FWindow.X0, FWindow.Y1}, "clsGrAxis", attrs);
  for (std::size_t k = 0; k < x.Ticks.size(); ++k) {
    FElements.push_back("<line class=\"clsGrAxis\" stroke=\"currentColor\" x1=\"" + SvgNumber(PX(x.Ticks[k])) +
                        "\" y1=\"" + SvgNumber(PY(FWindow.Y0)) + "\" x2=\"" + SvgNumber(PX(x.Ticks[k])) + "\" y2=\"" +
                        SvgNumber(PY(FWindow.Y0) + 4) + "\"/>");
    Text({x.Ticks[k], FWindow.Y0}, 0, 16, x.Labels[k], "clsGrTick", "middle");
  }
  for (std::size_t k = 0; k < y.Ticks.size(); ++k) {
    FElements.push_back("<line class=\"clsGrAxis\" stroke=\"currentColor\" x1=\"" + SvgNumber(PX(FWindow.X0) - 4) +
                        "\" y1=\"" + SvgNumber(PY(y.Ticks[k])) + "\" x2=\"" + SvgNumber(PX(FWindow.X0)) + "\" y2=\"" +
                        SvgNumber(PY(y.Ticks[k])) + "\"/>");
    Text({FWindow.X0, y.Ticks[k]}, -7, 4, y.Labels[k], "clsGrTick", "end");
  }
  Text({FWindow.X1, FWindow.Y0}, 0, -6, x.Name, "clsGrAxisName", "end");
  Text({FWindow.X0, FWindow.Y1}, 6, 10, y.Name, "clsGrAxisName");
}

std::string TSvgPlot::Svg(const std::string& cls, const std::string& ariaLabel) const {
  const std::string w = SvgNumber(FLeft + FPlotWidth + Right);
  const std::string h = SvgNumber(Top + FPlotHeight + Bottom);
  std::string svg = "<svg class=\"" + cls + "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" +
                    h + "\" viewBox=\"0 0 " + w + " " + h + "\" role=\"img\" aria-label=\"" + SvgEscape(ariaLabel) +
                    "\" font-family=\"sans-serif\" font-size=\"11\" fill=\"currentColor\">";
  for (const std::string& e : FElements) {
    svg += LF;
    svg += e;
  }
  svg += LF;
  svg += "</svg>";
  return svg;
}

std::optional<std::pair<TSvgPoint, TSvgPoint>> ClipSegment(TSvgPoint p, TSvgPoint q, const TSvgWindow& w) {
  // Liang-Barsky: the parameters t in [0, 1] of p + t (q - p) inside every edge of the window.
  double t0 = 0, t1 = 1;
  const double dx = q.X - p.X, dy = q.Y - p.Y;
  const double pk[4] = {-dx, dx, -dy, dy};
  const double qk[4] = {p.X - w.X0, w.X1 - p.X, p.Y - w.Y0, w.Y1 - p.Y};
  for (int k = 0; k < 4; ++k) {
    if (pk[k] == 0) {
      if (qk[k] < 0) return std::nullopt;
      continue;
    }
    const double t = qk[k] / pk[k];
    if (pk[k] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  if (t0 > t1) return std::nullopt;
  return std::make_pair(TSvgPoint{p.X + t0 * dx, p.Y + t0 * dy}, TSvgPoint{p.X + t1 * dx, p.Y + t1 * dy});
}

std::optional<std::pair<TSvgPoint, TSvgPoint>> ClipLine(double a, double b, double c, const TSvgWindow& w) {
  if (a == 0 && b == 0) return std::nullopt;
  // A segment of the line reaching beyond the window on both sides, then clipped.
  if (std::fabs(b) >= std::fabs(a)) {
    const double pad = w.X1 - w.X0;
    const double xa = w.X0 - pad, xb = w.X1 + pad;
    return ClipSegment({xa, (c - a * xa) / b}, {xb, (c - a * xb) / b}, w);
  }
  const double pad = w.Y1 - w.Y0;
  const double ya = w.Y0 - pad, yb = w.Y1 + pad;
  return ClipSegment({(c - b * ya) / a, ya}, {(c - b * yb) / a, yb}, w);
}

double TTickStep::Value() const { return Mantissa * std::pow(10.0, Exponent); }

std::string TTickStep::Label(long long k) const {
  if (Exponent < -9 || Exponent > 15) {
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, static_cast<double>(k) * Value(), std::chars_format::general, 6);
    std::string s(buf, r.ptr);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
  }
  const long long n = k * Mantissa;
  const bool negative = n < 0;
  std::string digits = std::to_string(negative ? -n : n);
  if (n == 0) return "0";
  if (Exponent >= 0) {
    digits.append(static_cast<std::size_t>(Exponent), '0');
  } else {
    const auto places = static_cast<std::size_t>(-Exponent);
    if (digits.size() <= places) digits.insert(0, places - digits.size() + 1, '0');
    digits.insert(digits.size() - places, ",");
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == ',') digits.pop_back();
  }
  return negative ? "-" + digits : digits;
}

TTickStep NiceTickStep(double span, int count) {
  const double raw = span / std::max(count, 1);
  if (!(raw > 0) || !std::isfinite(raw)) return {};
  int e = static_cast<int>(std::floor(std::log10(raw)));
  const double f = raw / std::pow(10.0, e);
  int m = f <= 1.0001 ? 1 : f <= 2.0001 ? 2 : f <= 5.0001 ? 5 : 10;
  if (m == 10) {
    m = 1;
    ++e;
  }
  return {m, e};
}

TSvgPlot::TAxis TickAxis(const TTickStep& step, double lo, double hi, const std::string& name) {
  TSvgPlot::TAxis axis;
  axis.Step = step.Value();
  axis.Name = name;
  const double s = axis.Step;
  const double from = std::ceil(lo / s - 1e-9), to = std::floor(hi / s + 1e-9);
  if (!std::isfinite(from) || !std::isfinite(to) || to - from > 200 || std::fabs(from) > 1e15 || std::fabs(to) > 1e15)
    return axis;
  for (auto k = static_cast<long long>(from); k <= static_cast<long long>(to); ++k) {
    axis.Ticks.push_back(static_cast<double>(k) * s);
    axis.Labels.push_back(step.Label(k));
  }
  return axis;
}
