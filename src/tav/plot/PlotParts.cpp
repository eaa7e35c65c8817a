#include "tav/plot/PlotParts.h"

#include <algorithm>
#include <cmath>

namespace tav::plot {

namespace {

constexpr double kHeadLength = 9.0;   // arrow head, pixels
constexpr double kHeadSpread = 0.45;  // its half-angle, radians

Pixel Offset(Pixel p, double dx, double dy) { return {p[0] + dx, p[1] + dy}; }

// The two strokes of an arrow head at `tip`, pointing along the unit (ux, uy).
void DrawHead(SvgWriter& svg, Pixel tip, double ux, double uy, const Pen& pen) {
  for (const double side : {-1.0, 1.0}) {
    const double c = std::cos(kHeadSpread), s = side * std::sin(kHeadSpread);
    const double bx = -(ux * c - uy * s), by = -(ux * s + uy * c);
    svg.Line(tip, Offset(tip, kHeadLength * bx, kHeadLength * by), pen);
  }
}

}  // namespace

double FrameSize(const PlotFrame& frame) {
  Point low{}, high{};
  bool any = false;
  for (const PlotJoint& joint : frame.joints) {
    if (!Finite(joint.at)) continue;
    for (int k = 0; k < 3; ++k) {
      low[k] = any ? std::min(low[k], joint.at[k]) : joint.at[k];
      high[k] = any ? std::max(high[k], joint.at[k]) : joint.at[k];
    }
    any = true;
  }
  const double size = Length(Add(high, Scaled(low, -1.0)));
  return std::isfinite(size) && size > 0 ? size : 1.0;
}

bool JointAt(const PlotFrame& frame, int index, Point& at) {
  if (index < 0 || static_cast<std::size_t>(index) >= frame.joints.size()) return false;
  at = frame.joints[static_cast<std::size_t>(index)].at;
  return Finite(at);
}

double ArrowFactor(std::span<const PlotArrow> arrows, double length, const ArrowScale& given) {
  if (std::isfinite(given.length) && std::isfinite(given.value) && given.length > 0 && given.value > 0) {
    return given.length / given.value;
  }
  double largest = 0;
  for (const PlotArrow& arrow : arrows) {
    const double size = Length(arrow.vector);
    if (std::isfinite(size)) largest = std::max(largest, size);
  }
  return largest > 0 ? length / largest : 0.0;
}

Point ArrowEnd(const PlotArrow& arrow, double factor) {
  const Point v = Finite(arrow.vector) ? Scaled(arrow.vector, factor) : Point{};
  return arrow.moment ? Add(arrow.at, v) : Add(arrow.at, Scaled(v, -1.0));
}

void FitToCanvas(Projection& projection, const SvgWriter& svg, int legendLines) {
  // Room for the symbols drawn in pixels around a joint (supports, springs, labels).
  const double margin = std::min(30.0, 0.15 * std::min(svg.Width(), svg.Height()));
  const double legend = std::min(kLegendLine * legendLines + 6.0, 0.3 * svg.Height());
  projection.Fit({margin, margin + legend, svg.Width() - margin, svg.Height() - margin});
}

// A force: a shaft ending at its point with one head there. A moment: a
// shaft from its point with two heads at the far end (the right-hand rule).
void DrawArrow(SvgWriter& svg, const Projection& projection, const PlotArrow& arrow, double factor,
               std::string_view colour) {
  if (!Finite(arrow.at) || !Finite(arrow.vector) || Length(arrow.vector) == 0) return;
  const Pen pen{colour, 2.0};
  const Pixel at = projection.ToPixel(arrow.at);
  const Pixel end = projection.ToPixel(ArrowEnd(arrow, factor));
  const Pixel from = arrow.moment ? at : end;
  const Pixel tip = arrow.moment ? end : at;
  const double dx = tip[0] - from[0], dy = tip[1] - from[1];
  const double length = std::hypot(dx, dy);
  if (!(length >= 1.0)) {  // along the line of sight: a ring marks it
    svg.Circle(at, 5.0, "", pen);
    return;
  }
  svg.Line(from, tip, pen);
  DrawHead(svg, tip, dx / length, dy / length, pen);
  if (arrow.moment)
    DrawHead(svg, Offset(tip, -0.6 * kHeadLength * dx / length, -0.6 * kHeadLength * dy / length), dx / length,
             dy / length, pen);
}

// Fixed: a filled block. Pinned (all translations held): a triangle.
// Roller (some translations held): a triangle on a line. Rotations only or
// other mixes: a small open square.
void DrawSupport(SvgWriter& svg, Pixel at, const std::array<bool, 6>& restrained) {
  const int translations = static_cast<int>(std::count(restrained.begin(), restrained.begin() + 3, true));
  const int rotations = static_cast<int>(std::count(restrained.begin() + 3, restrained.end(), true));
  const Pen pen{kBlack, 1.5};
  if (translations == 3 && rotations == 3) {
    const std::array<Pixel, 4> block{Offset(at, -8, 0), Offset(at, 8, 0), Offset(at, 8, 9), Offset(at, -8, 9)};
    svg.Polygon(block, "#404040", 1.0, pen);
  } else if (translations > 0) {
    const std::array<Pixel, 3> triangle{at, Offset(at, -7, 12), Offset(at, 7, 12)};
    svg.Polygon(triangle, "", 0.0, pen);
    if (translations < 3) svg.Line(Offset(at, -9, 15), Offset(at, 9, 15), pen);
  } else if (rotations > 0) {
    const std::array<Pixel, 4> box{Offset(at, -4, -4), Offset(at, 4, -4), Offset(at, 4, 4), Offset(at, -4, 4)};
    svg.Polygon(box, "", 0.0, pen);
  }
}

// A zigzag hanging beside the joint.
void DrawSpring(SvgWriter& svg, Pixel at) {
  const Pixel top = Offset(at, 12, 0);
  const std::array<Pixel, 8> zigzag{top,
                                    Offset(top, 0, 3),
                                    Offset(top, -4, 5),
                                    Offset(top, 4, 8),
                                    Offset(top, -4, 11),
                                    Offset(top, 4, 14),
                                    Offset(top, 0, 16),
                                    Offset(top, 0, 19)};
  svg.Line(at, top, Pen{kBlack, 1.0});
  svg.Polyline(zigzag, Pen{kBlack, 1.2});
  svg.Line(Offset(top, -6, 19), Offset(top, 6, 19), Pen{kBlack, 1.2});
}

void DrawLegend(SvgWriter& svg, std::span<const std::string> lines) {
  double y = kLegendLine;
  for (const std::string& line : lines) {
    svg.Text({8.0, y}, line, y == kLegendLine ? 14.0 : 12.0, kBlack);
    y += kLegendLine;
  }
}

}  // namespace tav::plot
