// TaV: the bundled analysis program. Reads the own solver input, analyses the
// frame for its static load conditions, its modes, and its response
// spectrum, history and moving conditions, and writes the own output file
// (and beside it the modes, and the envelopes and time series of the
// history and moving conditions):
//   TaV INPUT OUTPUT
// Progress goes to standard output; every problem a user can fix is a line
// with "* E R R O R *", every doubtful situation a line with
// "* W A R N I N G *". A problem of the input or of the structure ends the
// program with status 1 and no output; a load condition that fails on its
// own is an error line too, but the output is written with that
// condition's results zero, and the program then ends with status 1.
#include <chrono>
#include <cstdio>
#include <string>

#include "analysis/FrameAnalysis.h"
#include "analysis/InputReader.h"
#include "analysis/ModalFile.h"
#include "analysis/OutputFile.h"
#include "analysis/ResponseFile.h"
#include "tav/util/FormatC.h"

namespace {

void Line(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Fail(const std::string& text) {
  Line("* E R R O R * " + text);
  return 1;
}

// The modes go beside the output; without modes, a modal file of an earlier
// run must not be taken for this one's.
void WriteOrRemoveModalFile(const std::string& output, const tav::analysis::ModalSolution& modes) {
  const std::string path = tav::analysis::ModalFilePath(output);
  if (modes.modes.empty()) {
    std::remove(path.c_str());
    return;
  }
  tav::analysis::WriteModalFile(path, modes);
  Line("WRITTEN " + path);
}

// The envelopes and histories go beside the output when the input has
// history or moving conditions; else a file of an earlier run is removed.
void WriteOrRemoveResponseFile(const std::string& output, const tav::analysis::InputDeck& deck,
                               const std::vector<tav::analysis::CaseResult>& results,
                               const std::vector<tav::analysis::CaseResponse>& responses) {
  const std::string path = tav::analysis::ResponseFilePath(output);
  if (responses.empty()) {
    std::remove(path.c_str());
    return;
  }
  tav::analysis::WriteResponseFile(path, deck, results, responses);
  Line("WRITTEN " + path);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tav::analysis;
  if (argc != 3) return Fail("usage: TaV INPUT OUTPUT");
  const std::string input = argv[1];
  const std::string output = argv[2];
  const auto start = std::chrono::steady_clock::now();
  Line("TAV LINEAR STATIC AND DYNAMIC ANALYSIS");
  Line("READING " + input);
  InputDeck deck;
  try {
    deck = ReadInputFile(input);
  } catch (const InputError& error) {
    return Fail(input + ": " + error.what());
  }
  size_t beams = 0;
  for (const auto& group : deck.beamGroups) beams += group.beams.size();
  Line("READ " + std::to_string(deck.joints.size()) + " JOINTS, " + std::to_string(beams) + " BEAMS, " +
       std::to_string(deck.cases.size()) + " LOAD CONDITIONS");
  size_t failed = 0;  // load conditions
  try {
    Messages messages;
    messages.progress = Line;
    messages.warning = [](const std::string& text) { Line("* W A R N I N G * " + text); };
    FrameAnalysis analysis(deck, messages);
    const std::vector<CaseResult> results = analysis.Run();
    for (const CaseResult& result : results) {
      if (result.error.empty()) continue;
      ++failed;
      Fail(result.error);
    }
    WriteOutputFile(output, deck, results);
    WriteOrRemoveModalFile(output, analysis.Modes());
    WriteOrRemoveResponseFile(output, deck, results, analysis.Responses());
    const Timings& t = analysis.GetTimings();
    Line(tav::FormatC("TIMES: ASSEMBLY %.3f S, FACTORISATION %.3f S (%.2f GFLOP/S), SOLUTION %.3f S", t.assemble,
                      t.factor, t.factor > 0 ? t.flops / t.factor * 1e-9 : 0.0, t.solve));
  } catch (const AnalysisError& error) {
    return Fail(error.what());
  } catch (const std::exception& error) {
    return Fail(error.what());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Line(tav::FormatC("WRITTEN %s IN %.3f S", output.c_str(), seconds));
  if (failed == 0) {
    Line("END OF ANALYSIS");
    return 0;
  }
  Line("END OF ANALYSIS: " + std::to_string(failed) + " OF " + std::to_string(deck.cases.size()) +
       " LOAD CONDITIONS FAILED");
  return 1;
}
