// Pictures of a frame as SVG text: the model with its supports and loads,
// and a result over it (deformed shape, member-force diagram, reactions).
// Plain data in, a complete SVG document out; nothing is drawn outside the
// canvas, and every number written is finite.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tav/plot/PlotData.h"

namespace tav::plot {

// The named views: "iso" (the default: azimuth -60, elevation 30, seen
// from +X -Y above), "xz" (from -Y: X right, Z up), "yz" (from +X: Y right,
// Z up), "xy" (from above, a plan: X right, Y up); nullopt for any other
// name. In every view the screen's right is horizontal and Z points up
// unless the view looks straight down.
std::optional<PlotView> NamedView(std::string_view name);

// The model: beams, joints (numbered on demand), supports by kind, springs,
// links, diaphragms, local axes on demand, and the frame's loads as arrows
// with the case named in the legend.
std::string DrawFrame(const PlotFrame& frame, const PlotView& view, const PlotStyle& style);

// A result over the undeformed frame (grey): the deformed shape (its scale
// stated on the picture as "deformed x <factor>"; beams straight between
// the moved joints), the member-force diagram along each beam in its local
// plane with the largest and smallest values labelled ("%g"), and the
// reactions as arrows.
//
// The diagram's side: moments on the tension side, so positive M3 (sagging
// under gravity, as the analysis reports it) towards -axis 2 and positive
// M2 towards +axis 3; V3 towards +axis 3; N, V2 and T towards +axis 2.
// `reference` (or the largest magnitude) is drawn at 0.15 of the frame's
// size, the largest load, reaction or chosen displacement likewise at a
// fixed fraction of it.
std::string DrawResult(const PlotFrame& frame, const PlotResult& result, const PlotView& view, const PlotStyle& style);

}  // namespace tav::plot
