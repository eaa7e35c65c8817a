// Writes the envelopes and time series of the history and moving load
// conditions as the response file beside the own output (docs/analysis.md,
// "The response file"): little-endian, after an eight-byte mark "TAVRESPS",
// the layout version, the joint, beam and condition counts and each beam's
// station count; then per condition its kind, number and whether it
// failed, its largest and its smallest values (displacements, reactions,
// member forces at the stations), and for a history condition every
// step's time, joint displacements and reactions.
#pragma once

#include <string>
#include <vector>

#include "analysis/InputDeck.h"
#include "analysis/Results.h"

namespace tav::analysis {

inline constexpr int kResponseFileVersion = 1;

// "frame.tvo" gives "frame.tvh".
std::string ResponseFilePath(const std::string& outputPath);

// `responses` in the deck's order, `results` one per case of the deck.
// Writes through a temporary file that replaces `path` only when complete.
// Throws std::runtime_error naming the file when it cannot be written.
void WriteResponseFile(const std::string& path, const InputDeck& deck, const std::vector<CaseResult>& results,
                       const std::vector<CaseResponse>& responses);

}  // namespace tav::analysis
