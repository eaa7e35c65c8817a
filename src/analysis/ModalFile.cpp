#include "analysis/ModalFile.h"

#include <filesystem>
#include <stdexcept>

#include "tav/platform/Archive.h"
#include "tav/platform/File.h"

namespace tav::analysis {

std::string ModalFilePath(const std::string& outputPath) {
  return std::filesystem::path(outputPath).replace_extension(".tvm").string();
}

void WriteModalFile(const std::string& path, const ModalSolution& modes) {
  CReplacingFile replacing(path);
  CFile file;
  CString reason;
  if (!file.Open(replacing.TemporaryPath(), CFile::modeCreate | CFile::modeWrite, &reason)) {
    throw std::runtime_error("cannot write \"" + replacing.TemporaryPath() + "\": " + reason);
  }
  CArchive ar(&file, CArchive::store, 1 << 16);
  ar.WriteString("TAVMODES");
  ar << static_cast<int32_t>(kModalFileVersion) << static_cast<int32_t>(modes.joints)
     << static_cast<int32_t>(modes.modes.size());
  for (double mass : modes.totalMass) ar << mass;
  for (size_t n = 0; n < modes.modes.size(); ++n) {
    const Mode& mode = modes.modes[n];
    ar << static_cast<int32_t>(n + 1) << mode.eigenvalue << mode.circular << mode.frequency << mode.period;
    for (double value : mode.participation) ar << value;
    for (double value : mode.massRatio) ar << value;
    for (const Six& joint : mode.shape) {
      for (double value : joint) ar << value;
    }
  }
  ar.Close();
  file.Close();
  replacing.Commit();
}

}  // namespace tav::analysis
