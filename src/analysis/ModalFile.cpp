#include "analysis/ModalFile.h"

#include "analysis/OutputFile.h"
#include "tav/platform/Archive.h"

namespace tav::analysis {

std::string ModalFilePath(const std::string& outputPath) { return CompanionFilePath(outputPath, ".tvm"); }

void WriteModalFile(const std::string& path, const ModalSolution& modes) {
  WriteReplacing(path, [&modes](CArchive& ar) {
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
  });
}

}  // namespace tav::analysis
