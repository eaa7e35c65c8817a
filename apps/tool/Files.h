// The tool's files: models read whole, outputs written through a temporary
// file so that a failed command leaves nothing behind. Failures end the
// command (Failure.h) with the file's name.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "tav/Tav.h"

namespace tav::tool {

std::string ReadText(const std::filesystem::path& path);
// Writes `target` through a temporary file beside it, renamed into place
// only when `write` finished; a failed write leaves nothing behind.
void WriteAtomically(const std::filesystem::path& target, const std::function<void(const std::string&)>& write);
void WriteStream(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write);
void WriteSolverInput(CTavData& doc, TaV_INPUT_FORMAT format, const std::filesystem::path& target);

}  // namespace tav::tool
