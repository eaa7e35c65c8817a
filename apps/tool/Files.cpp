#include "tool/Files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tool/Commands.h"
#include "tool/Failure.h"

namespace tav::tool {
namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(kExitUsage, path.string() + ": cannot read: " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) Fail(kExitUsage, path.string() + ": cannot read: " + std::strerror(errno));
  return text.str();
}

void WriteAtomically(const fs::path& target, const std::function<void(const std::string&)>& write) {
  try {
    CReplacingFile replacing(target.string());
    write(replacing.TemporaryPath());
    replacing.Commit();
  } catch (const FileError& error) {
    Fail(kExitUsage, error.what());
  }
}

void WriteStream(const fs::path& target, const std::function<void(std::ostream&)>& write) {
  WriteAtomically(target, [&](const std::string& temporary) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    write(out);
    out.close();
    if (!out) Fail(kExitUsage, target.string() + ": cannot write: " + std::strerror(errno));
  });
}

void WriteSolverInput(CTavData& doc, TaV_INPUT_FORMAT format, const fs::path& target) {
  WriteAtomically(target, [&](const std::string& temporary) {
    try {
      if (doc.Save(temporary, format) != 1) Fail(kExitUsage, target.string() + ": cannot write");
    } catch (const FileError& error) {
      Fail(kExitUsage, target.string() + ": cannot write: " + error.what());
    }
  });
}

}  // namespace tav::tool
