#include <algorithm>
#include <cmath>

#include "tav/plot/PlotParts.h"
#include "tav/plot/SvgPlot.h"
#include "tav/util/FormatC.h"

namespace tav::plot {

namespace {

constexpr std::array<std::string_view, 6> kComponentNames{"N", "V2", "V3", "T", "M2", "M3"};

double FiniteOr0(double value) { return std::isfinite(value) ? value : 0.0; }

// The joints moved by `scale` times their displacements; joints without a
// (finite) displacement stay where they are.
std::vector<Point> Deformed(const PlotFrame& frame, const PlotResult& result, double scale) {
  std::vector<Point> moved;
  moved.reserve(frame.joints.size());
  for (std::size_t k = 0; k < frame.joints.size(); ++k) {
    const Point& d = k < result.displacements.size() ? result.displacements[k] : Point{};
    moved.push_back(Finite(d) ? Add(frame.joints[k].at, Scaled(d, scale)) : frame.joints[k].at);
  }
  return moved;
}

double DeformedScale(const PlotResult& result, const PlotStyle& style, double size) {
  if (std::isfinite(style.deformedScale) && style.deformedScale > 0) return style.deformedScale;
  double largest = 0;
  for (const Point& d : result.displacements) {
    if (Finite(d)) largest = std::max(largest, Length(d));
  }
  const double scale = largest > 0 ? kDeformedFraction * size / largest : 1.0;
  return std::isfinite(scale) ? scale : 1.0;
}

// The diagram is drawn on the side the member's fibres are in tension for
// the moments, and along the positive local axis for the forces: positive
// M3 (sagging under gravity in this library) towards -axis 2, positive M2
// towards +axis 3, V3 along +axis 3, and N, V2 and T along +axis 2.
Point DiagramDirection(const PlotBeam& beam, ForceComponent component) {
  const bool third = component == ForceComponent::kV3 || component == ForceComponent::kM2;
  const Point& axis = third ? beam.axis3 : beam.axis2;
  const double length = Length(axis);
  if (!std::isfinite(length) || length == 0) return {};
  return Scaled(axis, (component == ForceComponent::kM3 ? -1.0 : 1.0) / length);
}

// One beam's diagram: the stations on the beam, then their offset points.
struct Diagram {
  std::vector<Point> base, offset;
  std::vector<double> values;
};

std::vector<Diagram> Diagrams(const PlotFrame& frame, const PlotResult& result, double size) {
  double largest = 0;
  for (const auto& values : result.stations) {
    for (const double value : values) largest = std::max(largest, std::fabs(FiniteOr0(value)));
  }
  const double full = std::isfinite(result.reference) && result.reference > 0 ? result.reference : largest;
  const double factor = full > 0 ? kDiagramFraction * size / full : 0.0;
  std::vector<Diagram> diagrams;
  for (std::size_t b = 0; b < frame.beams.size() && b < result.stations.size(); ++b) {
    const PlotBeam& beam = frame.beams[b];
    Point i{}, j{};
    const auto& values = result.stations[b];
    if (values.empty() || !JointAt(frame, beam.jointI, i) || !JointAt(frame, beam.jointJ, j)) continue;
    const Point direction = DiagramDirection(beam, result.component);
    Diagram diagram;
    for (std::size_t s = 0; s < values.size(); ++s) {
      const double t = values.size() == 1 ? 0.5 : static_cast<double>(s) / static_cast<double>(values.size() - 1);
      const Point at = Add(i, Scaled(Add(j, Scaled(i, -1.0)), t));
      const double value = FiniteOr0(values[s]);
      diagram.base.push_back(at);
      diagram.offset.push_back(Add(at, Scaled(direction, value * factor)));
      diagram.values.push_back(value);
    }
    diagrams.push_back(std::move(diagram));
  }
  return diagrams;
}

void DrawDiagram(SvgWriter& svg, const Projection& projection, const Diagram& diagram) {
  std::vector<Pixel> outline;
  for (const Point& p : diagram.base) outline.push_back(projection.ToPixel(p));
  for (auto p = diagram.offset.rbegin(); p != diagram.offset.rend(); ++p) outline.push_back(projection.ToPixel(*p));
  svg.Polygon(outline, kBlue, 0.3, Pen{kBlue, 1.0});
}

// The station's value written just beyond the diagram's edge.
void LabelStation(SvgWriter& svg, const Projection& projection, const Diagram& diagram, std::size_t s) {
  const Pixel base = projection.ToPixel(diagram.base[s]);
  const Pixel edge = projection.ToPixel(diagram.offset[s]);
  const double dx = edge[0] - base[0], dy = edge[1] - base[1];
  const double length = std::hypot(dx, dy);
  const double ux = length > 0.5 ? dx / length : 0.0, uy = length > 0.5 ? dy / length : -1.0;
  const Pixel at{edge[0] + 10.0 * ux, edge[1] + 10.0 * uy + (uy > 0 ? 8.0 : 0.0)};
  svg.Text(at, FormatC("%g", diagram.values[s]), 11.0, kBlack, Anchor::kMiddle);
}

// The largest and the smallest value of the whole diagram.
// Where a station sits: its diagram and its index there.
struct Station {
  const Diagram* diagram = nullptr;
  std::size_t index = 0;
  double Value() const { return diagram->values[index]; }
};

void LabelExtremes(SvgWriter& svg, const Projection& projection, const std::vector<Diagram>& diagrams) {
  Station high, low;
  for (const Diagram& diagram : diagrams) {
    for (std::size_t s = 0; s < diagram.values.size(); ++s) {
      const Station here{&diagram, s};
      if (!high.diagram || here.Value() > high.Value()) high = here;
      if (!low.diagram || here.Value() < low.Value()) low = here;
    }
  }
  if (!high.diagram) return;
  LabelStation(svg, projection, *high.diagram, high.index);
  if (low.Value() != high.Value()) LabelStation(svg, projection, *low.diagram, low.index);
}

// The beams drawn straight between the points `at` of their joints (one per joint of the frame).
void DrawShape(SvgWriter& svg, const Projection& projection, const PlotFrame& frame, const std::vector<Point>& at,
               const Pen& pen) {
  for (const PlotBeam& beam : frame.beams) {
    Point i{}, j{};
    if (!JointAt(frame, beam.jointI, i) || !JointAt(frame, beam.jointJ, j)) continue;
    const Point& from = at[static_cast<std::size_t>(beam.jointI)];
    const Point& to = at[static_cast<std::size_t>(beam.jointJ)];
    if (Finite(from) && Finite(to)) svg.Line(projection.ToPixel(from), projection.ToPixel(to), pen);
  }
}

std::vector<std::string> ResultLegend(const PlotFrame& frame, const PlotResult& result, bool deformed, double scale,
                                      bool diagram) {
  std::vector<std::string> legend{frame.title.empty() ? std::string("Frame") : frame.title};
  legend.push_back((result.mode ? "Mode: " : "Result: ") + (result.name.empty() ? std::string("-") : result.name));
  if (deformed) {
    legend.push_back(FormatC("deformed x %g", scale) + (result.mode ? " (a mode's sign is arbitrary)" : ""));
  }
  if (diagram) {
    legend.push_back(std::string("diagram: ") +
                     std::string(kComponentNames[static_cast<std::size_t>(result.component)]));
  }
  return legend;
}

}  // namespace

std::string DrawResult(const PlotFrame& frame, const PlotResult& result, const PlotView& view, const PlotStyle& style) {
  const double size = FrameSize(frame);
  const bool deformed = !result.displacements.empty();
  const double scale = DeformedScale(result, style, size);
  const std::vector<Point> moved = Deformed(frame, result, deformed ? scale : 0.0);
  const std::vector<Diagram> diagrams = Diagrams(frame, result, size);
  const double arrowFactor = ArrowFactor(result.reactions, kArrowFraction * size, result.reactionScale);

  Projection projection(view);
  for (const PlotJoint& joint : frame.joints) projection.Include(joint.at);
  for (const Point& p : moved) projection.Include(p);
  for (const Diagram& diagram : diagrams) {
    for (const Point& p : diagram.offset) projection.Include(p);
  }
  for (const PlotArrow& reaction : result.reactions) {
    projection.Include(reaction.at);
    projection.Include(ArrowEnd(reaction, arrowFactor));
  }

  const std::vector<std::string> legend = ResultLegend(frame, result, deformed, scale, !diagrams.empty());
  SvgWriter svg(style.width, style.height);
  FitToCanvas(projection, svg, static_cast<int>(legend.size()));

  std::vector<Point> still;
  for (const PlotJoint& joint : frame.joints) still.push_back(joint.at);
  // The beams over their diagrams, so that each diagram's base line reads as the beam.
  for (const Diagram& diagram : diagrams) DrawDiagram(svg, projection, diagram);
  DrawShape(svg, projection, frame, still, Pen{kGrey, 1.5});
  LabelExtremes(svg, projection, diagrams);
  if (deformed) DrawShape(svg, projection, frame, moved, Pen{kVermillion, 2.5});
  for (const PlotArrow& reaction : result.reactions) DrawArrow(svg, projection, reaction, arrowFactor, kGreen);
  DrawLegend(svg, legend);
  return svg.Finish();
}

}  // namespace tav::plot
