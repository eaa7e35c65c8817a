#include "analysis/OutputFile.h"

#include <filesystem>
#include <stdexcept>

#include "tav/platform/Archive.h"
#include "tav/platform/File.h"

namespace tav::analysis {
namespace {

void WriteBlock(CArchive& ar, int caseNumber, const InputDeck& deck, const CaseResult& result) {
  ar << static_cast<int32_t>(caseNumber);
  // Displacements: joint, six values, two three-byte tags.
  for (size_t j = 0; j < result.displacements.size(); ++j) {
    ar << static_cast<int32_t>(j + 1);
    for (double value : result.displacements[j]) ar << value;
    ar.WriteString("DSPDSP");
  }
  // Member forces: the beam count, then per beam its number, the twelve end
  // forces, the station count and each station's distance and forces.
  ar << static_cast<int32_t>(result.beams.size());
  for (const BeamResult& beam : result.beams) {
    ar << static_cast<int32_t>(beam.number + 1);
    for (int i = 0; i < 12; ++i) ar << beam.endForces(i);
    ar << static_cast<int32_t>(beam.stations.size());
    for (const auto& station : beam.stations) {
      for (double value : station) ar << value;
    }
  }
  // Reactions: joint, two eleven-byte tags, the active degrees of freedom.
  for (size_t j = 0; j < result.reactions.size(); ++j) {
    ar << static_cast<int32_t>(j + 1);
    ar.WriteString("REACTIONS  SUPPORTS   ");
    for (int d = 0; d < 6; ++d) {
      if (deck.options.activeDof[static_cast<size_t>(d)]) ar << result.reactions[j][static_cast<size_t>(d)];
    }
  }
}

}  // namespace

std::string CompanionFilePath(const std::string& outputPath, const std::string& extension) {
  return std::filesystem::path(outputPath).replace_extension(extension).string();
}

void WriteReplacing(const std::string& path, const std::function<void(CArchive&)>& write) {
  CReplacingFile replacing(path);
  CFile file;
  CString reason;
  if (!file.Open(replacing.TemporaryPath(), CFile::modeCreate | CFile::modeWrite, &reason)) {
    throw std::runtime_error("cannot write \"" + replacing.TemporaryPath() + "\": " + reason);
  }
  CArchive ar(&file, CArchive::store, 1 << 16);
  write(ar);
  ar.Close();
  file.Close();
  replacing.Commit();
}

void WriteOutputFile(const std::string& path, const InputDeck& deck, const std::vector<CaseResult>& results) {
  WriteReplacing(path, [&](CArchive& ar) {
    for (size_t c = 0; c < results.size(); ++c) WriteBlock(ar, static_cast<int>(c + 1), deck, results[c]);
  });
}

}  // namespace tav::analysis
