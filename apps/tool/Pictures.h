// The drawing data of `tav plot` and `tav report`, made from a document and
// its imported results: the frame with its supports and a load case's
// loads, and a result case's or a mode's deformed shape, member-force
// diagram and reactions. Arrows and diagrams take their scales from the
// library's own operations (CalcJointLoad_Arrow, CalcJointReaction_Arrow,
// CalcMaxMin_Beam with GetValueRatio). Everything is copied out; the
// document is borrowed for the call only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tav/document/TavData.h"
#include "tav/plot/PlotData.h"
#include "tool/Commands.h"
#include "tool/ResultCases.h"

namespace tav::tool {

// The frame, with the loads of static load case `loadCase` (0-based;
// negative: none).
plot::PlotFrame FrameOf(const CTavData& doc, int32_t loadCase);

// The result case `c` with the diagram of `component`.
// The document's range of the last CalcMaxMin_Beam changes.
plot::PlotResult ResultOf(CTavData& doc, const ResultCase& c, plot::ForceComponent component);

// Mode `mode` (0-based) of the document's modes: its shape's translations.
plot::PlotResult ModeOf(const CTavData& doc, int32_t mode);

// The member-force component named "N", "V2", "V3", "T", "M2" or "M3".
std::optional<plot::ForceComponent> ComponentNamed(const std::string& name);
std::vector<std::string> ComponentNames();

// What `tav plot` draws, chosen by its options; each throws
// std::invalid_argument, naming what the model or its results lack.
plot::PlotView ViewOf(const PlotOptions& options);
// The static load case of that name (0-based), the first for an empty
// name, -1 when the model has none.
int32_t StaticCaseNamed(const CTavData& doc, const std::string& name);
// The result case or combination of that name; the first for an empty name.
ResultCase ResultCaseNamed(const CTavData& doc, const std::string& name);
// Mode options.mode when it is given, otherwise the named result case with
// the diagram of `component`.
plot::PlotResult ResultToDraw(CTavData& doc, const PlotOptions& options, plot::ForceComponent component);

}  // namespace tav::tool
