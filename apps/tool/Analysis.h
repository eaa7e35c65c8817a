// `tav run`'s analysis: the bundled program run on a model, in the console
// or in the Run Solver window, and its results read back.
#pragma once

#include <filesystem>
#include <string>

#include "tav/Tav.h"
#include "tool/Commands.h"
#include "tool/ResultCases.h"

namespace tav::tool {

// A file name the solver's command line can carry: the model's stem with
// anything unusual replaced.
std::string InputStem(const std::filesystem::path& model);
// Imports the results the bundled program wrote for `stem` in `directory`:
// the responses, the output and the modes.
void ImportResults(CTavData& doc, const std::filesystem::path& directory, const std::string& stem, Streams io);
// Runs TaV on `doc` in `options.workDir`, in the console or in the window,
// and imports its results into `doc`; returns the load cases it could not
// solve.
FailedCases Analyse(CTavData& doc, const std::filesystem::path& model, const RunOptions& options, Streams io);

}  // namespace tav::tool
