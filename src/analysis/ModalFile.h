// Writes the modes as the companion file of the own output (docs/analysis.md,
// "The modal file"): little-endian, after an eight-byte mark "TAVMODES", the
// layout version, the joint and mode counts and the mass that moves per
// direction; then per mode its number, eigenvalue, circular frequency,
// frequency, period, participation factors, mass ratios and its shape at
// every joint in global axes.
#pragma once

#include <string>

#include "analysis/ModalAnalysis.h"

namespace tav::analysis {

inline constexpr int kModalFileVersion = 1;

// The companion file of an output file: its extension replaced by ".tvm"
// ("frame.tvo" gives "frame.tvm"), or ".tvm" appended when it has none.
std::string ModalFilePath(const std::string& outputPath);

// Writes through a temporary file that replaces `path` only when complete.
// Throws std::runtime_error naming the file when it cannot be written.
void WriteModalFile(const std::string& path, const ModalSolution& modes);

}  // namespace tav::analysis
