// Fuzzes the bundled analysis program's input reader and what follows it:
// any text is read or refused with an InputError whose line lies in the
// text; a deck that was read is analysed (refused with an AnalysisError or
// solved) and its results written as the own output file and, for history
// and moving conditions, the response file.
//
// The analysis is bounded: the runs cap the input length (-max_len), and a
// deck whose results would hold more than kMaxStations beam stations over
// all cases, that asks for more than kMaxModes modes, or whose history
// conditions ask for more than kMaxSteps time steps or whose moving
// conditions would stop the load at more than kMaxStations positions, is read
// but not analysed, so that one input cannot take seconds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "analysis/FrameAnalysis.h"
#include "analysis/InputReader.h"
#include "analysis/OutputFile.h"
#include "analysis/ResponseFile.h"

namespace {

using namespace tav::analysis;

constexpr size_t kMaxStations = 200000;
constexpr int kMaxModes = 64;
constexpr double kMaxSteps = 2000;

// The most modes the options, a response spectrum or a history condition
// ask for.
int ModesAsked(const InputDeck& deck) {
  int modes = deck.options.modes;
  for (const LoadCase& loadCase : deck.cases) modes = std::max({modes, loadCase.modes, loadCase.history.modes});
  return modes;
}

// The time steps of all history conditions together (NaN counts as many).
double StepsAsked(const InputDeck& deck) {
  double steps = 0.0;
  for (const LoadCase& loadCase : deck.cases) {
    const double asked = loadCase.history.steps;
    steps += asked == asked ? std::max(asked, 0.0) : kMaxSteps + 1;
  }
  return steps;
}

// The beam stations the results of `deck` would hold, as the analysis
// divides the beams.
size_t Stations(const InputDeck& deck) {
  size_t perCase = 0;
  for (const BeamGroup& group : deck.beamGroups) {
    for (const Beam& beam : group.beams) {
      size_t segments = static_cast<size_t>(std::max(beam.segments, 1));
      if (beam.ownSegments > 0 && static_cast<size_t>(beam.ownSegments) <= segments) {
        segments = static_cast<size_t>(beam.ownSegments);
      }
      perCase += segments + 1;
    }
  }
  // Each lane element can stop the load at every station of every beam.
  size_t positions = 0;
  for (const LoadCase& loadCase : deck.cases) positions += loadCase.lane.size() * perCase;
  return perCase * std::max<size_t>(deck.cases.size(), 1) + positions;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  InputDeck deck;
  try {
    std::istringstream in(text);
    deck = ReadInput(in);
  } catch (const InputError& error) {
    const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
    if (error.Line() < 0 || error.Line() > lines) {
      tav::fuzz::Finding("an error at line " + std::to_string(error.Line()) + " of an input of " +
                         std::to_string(lines) + " lines");
    }
    return 0;
  }
  if (Stations(deck) > kMaxStations || ModesAsked(deck) > kMaxModes || StepsAsked(deck) > kMaxSteps) return 0;

  std::vector<CaseResult> results;
  FrameAnalysis analysis(deck, Messages{});
  try {
    results = analysis.Run();
  } catch (const AnalysisError&) {
    return 0;
  }
  if (results.size() != deck.cases.size()) tav::fuzz::Finding("a result count unlike the case count");
  const std::string output = tav::fuzz::Scratch().File("output.tvo");
  WriteOutputFile(output, deck, results);
  std::filesystem::remove(output);
  if (!analysis.Responses().empty()) {
    const std::string responses = tav::fuzz::Scratch().File("output.tvh");
    WriteResponseFile(responses, deck, results, analysis.Responses());
    std::filesystem::remove(responses);
  }
  return 0;
}
