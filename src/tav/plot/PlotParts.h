// The pieces both pictures are made of: the canvas layout, arrows, support
// symbols and the legend. Internal to the drawings.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "tav/plot/PlotData.h"
#include "tav/plot/Projection.h"
#include "tav/plot/SvgWriter.h"

namespace tav::plot {

// Okabe-Ito colours, readable by colour-blind readers and in print.
inline constexpr std::string_view kBlack = "#000000";
inline constexpr std::string_view kBlue = "#0072B2";
inline constexpr std::string_view kVermillion = "#D55E00";
inline constexpr std::string_view kGreen = "#009E73";
inline constexpr std::string_view kOrange = "#E69F00";
inline constexpr std::string_view kGrey = "#A0A0A0";

// Drawn world lengths as fractions of the frame's size.
inline constexpr double kArrowFraction = 0.15;    // the largest arrow
inline constexpr double kDiagramFraction = 0.15;  // a diagram's full height
inline constexpr double kDeformedFraction = 0.1;  // the largest displacement when the scale is chosen
inline constexpr double kAxisFraction = 0.06;     // a local axis segment

inline constexpr double kLegendLine = 16.0;  // pixels per legend line

// The diagonal of the box around the frame's joints; 1 when they all
// coincide or there are none, so that drawn lengths stay finite.
double FrameSize(const PlotFrame& frame);

// The joint's point, or nullopt-like false when the index is out of range.
bool JointAt(const PlotFrame& frame, int index, Point& at);

// The factor that draws arrows at the host's scale `given`, or else the
// largest at `length`; 0 when all are zero.
double ArrowFactor(std::span<const PlotArrow> arrows, double length, const ArrowScale& given);

// The far end of an arrow: where a force starts (it ends at its point) or
// where a moment points to (it starts at its point).
Point ArrowEnd(const PlotArrow& arrow, double factor);

// Fits the view to the canvas below a legend of `legendLines` lines.
void FitToCanvas(Projection& projection, const SvgWriter& svg, int legendLines);

void DrawArrow(SvgWriter& svg, const Projection& projection, const PlotArrow& arrow, double factor,
               std::string_view colour);
void DrawSupport(SvgWriter& svg, Pixel at, const std::array<bool, 6>& restrained);
void DrawSpring(SvgWriter& svg, Pixel at);
void DrawLegend(SvgWriter& svg, std::span<const std::string> lines);

}  // namespace tav::plot
