// Writes the analysis results as the own solver's binary output file: one
// block per load case (displacements, member forces, reactions of the
// active degrees of freedom), little-endian, without header.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/InputDeck.h"
#include "analysis/Results.h"
#include "tav/platform/Archive.h"

namespace tav::analysis {

// The path of a file written beside the output: its extension replaced by
// `extension` ("frame.tvo" and ".tvm" give "frame.tvm"), or appended when
// it has none.
std::string CompanionFilePath(const std::string& outputPath, const std::string& extension);

// Lets `write` fill an archive over a temporary file that replaces `path`
// only when complete. Throws std::runtime_error naming the file when it
// cannot be written.
void WriteReplacing(const std::string& path, const std::function<void(CArchive&)>& write);

// Writes through a temporary file that replaces `path` only when complete.
// Throws std::runtime_error naming the file when it cannot be written.
void WriteOutputFile(const std::string& path, const InputDeck& deck, const std::vector<CaseResult>& results);

}  // namespace tav::analysis
