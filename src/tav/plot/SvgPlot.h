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

// The named views: "iso" (the default), "xz", "yz", "xy"; nullopt for any
// other name.
std::optional<PlotView> NamedView(std::string_view name);

// The model: beams, joints (numbered on demand), supports by kind, springs,
// links, diaphragms, local axes on demand, and the frame's loads as arrows
// with the case named in the legend.
std::string DrawFrame(const PlotFrame& frame, const PlotView& view, const PlotStyle& style);

// A result over the undeformed frame: the deformed shape (its scale stated
// on the picture), the member-force diagram along each beam in its local
// plane with the extreme values labelled, and the reactions as arrows.
std::string DrawResult(const PlotFrame& frame, const PlotResult& result, const PlotView& view, const PlotStyle& style);

}  // namespace tav::plot
