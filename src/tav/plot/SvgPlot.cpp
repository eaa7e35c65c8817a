#include "tav/plot/SvgPlot.h"

#include <cmath>

#include "tav/plot/PlotParts.h"
#include "tav/util/FormatC.h"

namespace tav::plot {

namespace {

// The ends of a local axis segment drawn from a beam's middle.
struct AxisMark {
  Point from, to;
  std::string_view colour;
};

std::vector<AxisMark> LocalAxes(const PlotFrame& frame, double length) {
  std::vector<AxisMark> marks;
  for (const PlotBeam& beam : frame.beams) {
    Point i{}, j{};
    if (!JointAt(frame, beam.jointI, i) || !JointAt(frame, beam.jointJ, j)) continue;
    const Point middle = Scaled(Add(i, j), 0.5);
    const Point along = Add(j, Scaled(i, -1.0));
    const double span = Length(along);
    const Point axis1 = span > 0 ? Scaled(along, 1.0 / span) : Point{};
    const std::array<std::pair<Point, std::string_view>, 3> axes{
        {{axis1, kVermillion}, {beam.axis2, kGreen}, {beam.axis3, kBlue}}};
    for (const auto& [axis, colour] : axes) {
      if (Finite(axis)) marks.push_back({middle, Add(middle, Scaled(axis, length)), colour});
    }
  }
  return marks;
}

void DrawBeams(SvgWriter& svg, const Projection& projection, const PlotFrame& frame, bool numbers) {
  for (const PlotBeam& beam : frame.beams) {
    Point i{}, j{};
    if (!JointAt(frame, beam.jointI, i) || !JointAt(frame, beam.jointJ, j)) continue;
    const Pixel a = projection.ToPixel(i), b = projection.ToPixel(j);
    svg.Line(a, b, Pen{kBlack, 2.0});
    if (numbers) {
      const Pixel middle{0.5 * (a[0] + b[0]) + 3.0, 0.5 * (a[1] + b[1]) - 4.0};
      svg.Text(middle, FormatC("%d", beam.number), 11.0, kBlue);
    }
  }
}

void DrawConnections(SvgWriter& svg, const Projection& projection, const PlotFrame& frame) {
  for (const std::vector<int>& diaphragm : frame.diaphragms) {
    Point master{};
    if (diaphragm.empty() || !JointAt(frame, diaphragm.front(), master)) continue;
    for (std::size_t k = 1; k < diaphragm.size(); ++k) {
      Point other{};
      if (JointAt(frame, diaphragm[k], other)) {
        svg.Line(projection.ToPixel(master), projection.ToPixel(other), Pen{"#707070", 1.0, "2 3"});
      }
    }
  }
  for (const PlotLink& link : frame.links) {
    Point i{}, j{};
    if (JointAt(frame, link.jointI, i) && JointAt(frame, link.jointJ, j)) {
      svg.Line(projection.ToPixel(i), projection.ToPixel(j), Pen{kBlue, 1.5, "6 4"});
    }
  }
}

void DrawJoints(SvgWriter& svg, const Projection& projection, const PlotFrame& frame, bool numbers) {
  for (const PlotJoint& joint : frame.joints) {
    if (!Finite(joint.at)) continue;
    const Pixel at = projection.ToPixel(joint.at);
    DrawSupport(svg, at, joint.restrained);
    if (joint.spring) DrawSpring(svg, at);
    svg.Circle(at, 2.5, kBlack, Pen{kBlack, 0.5});
    if (numbers) svg.Text({at[0] + 4.0, at[1] - 4.0}, FormatC("%d", joint.number), 11.0, kBlack);
  }
}

}  // namespace

// Each view is the direction the viewer looks from; the screen's right is
// horizontal, so "xz" (from -Y) shows X right and Z up, "yz" (from +X) Y
// right and Z up, and "xy" (from above) X right and Y up.
std::optional<PlotView> NamedView(std::string_view name) {
  if (name == "iso") return PlotView{-60.0, 30.0};
  if (name == "xz") return PlotView{-90.0, 0.0};
  if (name == "yz") return PlotView{0.0, 0.0};
  if (name == "xy") return PlotView{-90.0, 90.0};
  return std::nullopt;
}

std::string DrawFrame(const PlotFrame& frame, const PlotView& view, const PlotStyle& style) {
  const double size = FrameSize(frame);
  // The loads belong to the case named; without one there is nothing to draw.
  const std::span<const PlotArrow> loads =
      frame.loadCase.empty() ? std::span<const PlotArrow>{} : std::span<const PlotArrow>(frame.loads);
  const double arrowFactor = ArrowFactor(loads, kArrowFraction * size, frame.loadScale);
  const std::vector<AxisMark> axes = style.localAxes ? LocalAxes(frame, kAxisFraction * size) : std::vector<AxisMark>{};

  Projection projection(view);
  for (const PlotJoint& joint : frame.joints) projection.Include(joint.at);
  for (const PlotArrow& load : loads) {
    projection.Include(load.at);
    projection.Include(ArrowEnd(load, arrowFactor));
  }
  for (const AxisMark& mark : axes) projection.Include(mark.to);

  std::vector<std::string> legend{frame.title.empty() ? std::string("Frame") : frame.title};
  if (!frame.loadCase.empty()) legend.push_back("Load case: " + frame.loadCase);
  SvgWriter svg(style.width, style.height);
  FitToCanvas(projection, svg, static_cast<int>(legend.size()));

  DrawConnections(svg, projection, frame);
  DrawBeams(svg, projection, frame, style.beamNumbers);
  for (const AxisMark& mark : axes) {
    svg.Line(projection.ToPixel(mark.from), projection.ToPixel(mark.to), Pen{mark.colour, 2.0});
  }
  DrawJoints(svg, projection, frame, style.jointNumbers);
  for (const PlotArrow& load : loads) DrawArrow(svg, projection, load, arrowFactor, kVermillion);
  DrawLegend(svg, legend);
  return svg.Finish();
}

}  // namespace tav::plot
