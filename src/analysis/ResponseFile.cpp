#include "analysis/ResponseFile.h"

#include "analysis/OutputFile.h"
#include "tav/platform/Archive.h"

namespace tav::analysis {
namespace {

void WriteJoints(CArchive& ar, const std::vector<Six>& joints) {
  for (const Six& joint : joints) {
    for (double value : joint) ar << value;
  }
}

// Displacements, reactions, and the forces at every beam's stations.
void WriteValues(CArchive& ar, const CaseResult& values) {
  WriteJoints(ar, values.displacements);
  WriteJoints(ar, values.reactions);
  for (const BeamResult& beam : values.beams) {
    for (const auto& station : beam.stations) {
      for (size_t i = 1; i < station.size(); ++i) ar << station[i];
    }
  }
}

void WriteCase(CArchive& ar, const LoadCase& loadCase, const CaseResult& result, const CaseResponse& response) {
  ar << static_cast<int32_t>(loadCase.kind) << static_cast<int32_t>(loadCase.number + 1)
     << static_cast<int32_t>(result.error.empty() ? 0 : 1);
  WriteValues(ar, response.maximum);
  WriteValues(ar, response.minimum);
  const ResponseSeries& series = response.series;
  ar << static_cast<int32_t>(series.times.size()) << series.dt;
  for (size_t step = 0; step < series.times.size(); ++step) {
    ar << series.times[step];
    WriteJoints(ar, series.displacements[step]);
    WriteJoints(ar, series.reactions[step]);
  }
}

}  // namespace

std::string ResponseFilePath(const std::string& outputPath) { return CompanionFilePath(outputPath, ".tvh"); }

void WriteResponseFile(const std::string& path, const InputDeck& deck, const std::vector<CaseResult>& results,
                       const std::vector<CaseResponse>& responses) {
  WriteReplacing(path, [&](CArchive& ar) {
    const CaseResult& shape = results.front();
    ar.WriteString("TAVRESPS");
    ar << static_cast<int32_t>(kResponseFileVersion) << static_cast<int32_t>(shape.displacements.size())
       << static_cast<int32_t>(shape.beams.size()) << static_cast<int32_t>(responses.size());
    for (const BeamResult& beam : shape.beams) ar << static_cast<int32_t>(beam.stations.size());
    for (const CaseResponse& response : responses) {
      WriteCase(ar, deck.cases[response.position], results[response.position], response);
    }
  });
}

}  // namespace tav::analysis
