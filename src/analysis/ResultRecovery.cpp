#include "analysis/ResultRecovery.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/Reactions.h"

namespace tav::analysis {
namespace {

// The most beam stations the results of all load conditions together may
// hold (seven values each): about 2.8 GB.
constexpr size_t kMaxResultStations = 50'000'000;

void RecoverMemberForces(const FrameBeam& beam, const std::vector<Six>& displacements,
                         const std::vector<SpanLoad>& spans, BeamResult& result) {
  Vector12 ends;
  for (size_t e = 0; e < 2; ++e) {
    for (size_t d = 0; d < kJointDofs; ++d) ends(kJointDofs * e + d) = displacements[beam.joints[e]][d];
  }
  result.endForces = beam.element.EndForces(ends, spans);
  for (auto& station : result.stations) {
    const MemberForces forces = BeamElement::ForcesAt(station[0], result.endForces, spans);
    std::copy(forces.begin(), forces.end(), station.begin() + 1);
  }
}

}  // namespace

void CheckResultSize(const DiscreteModel& model) {
  // Every case keeps every station of every beam: a deck whose results would
  // not fit is refused before anything is solved.
  const size_t cases = model.Deck().cases.size();
  size_t stationsPerCase = 0;
  for (const FrameBeam& beam : model.Elements().Beams()) stationsPerCase += beam.segments + 1;
  if (cases > 0 && stationsPerCase > kMaxResultStations / cases) {
    throw AnalysisError("the results would hold " + std::to_string(stationsPerCase) + " beam stations in each of " +
                        std::to_string(cases) + " load conditions, more than the " +
                        std::to_string(kMaxResultStations) + " the program can keep: divide the beams less (NREG)");
  }
}

CaseResult ZeroResult(const DiscreteModel& model) {
  CaseResult result;
  result.displacements.assign(model.Dofs().Joints(), Six{});
  result.reactions.assign(model.Dofs().Joints(), Six{});
  for (const FrameBeam& beam : model.Elements().Beams()) {
    BeamResult& zero = result.beams.emplace_back();
    zero.number = beam.input->number;
    const double length = beam.element.Length();
    for (size_t p = 0; p <= beam.segments; ++p) zero.stations.push_back({length * p / beam.segments, 0, 0, 0, 0, 0, 0});
  }
  return result;
}

void RecoverResult(const DiscreteModel& model, std::span<const double> displacements,
                   std::span<const double> restraintForces, const std::vector<std::vector<SpanLoad>>& spans,
                   CaseResult& result) {
  for (size_t j = 0; j < result.displacements.size(); ++j) {
    const Vector3 t = model.GlobalAt(displacements, j, 0), rotation = model.GlobalAt(displacements, j, 3);
    result.displacements[j] = {t.x(), t.y(), t.z(), rotation.x(), rotation.y(), rotation.z()};
  }
  result.reactions = SupportReactions(model, restraintForces, displacements);
  const std::vector<FrameBeam>& beams = model.Elements().Beams();
  for (size_t b = 0; b < beams.size(); ++b)
    RecoverMemberForces(beams[b], result.displacements, spans[b], result.beams[b]);
}

bool AllFinite(const CaseResult& result) {
  const auto finite = [](const auto& values) {
    return std::all_of(values.begin(), values.end(), [](double value) { return std::isfinite(value); });
  };
  return std::all_of(result.displacements.begin(), result.displacements.end(), finite) &&
         std::all_of(result.reactions.begin(), result.reactions.end(), finite) &&
         std::all_of(result.beams.begin(), result.beams.end(), [&finite](const BeamResult& beam) {
           return beam.endForces.allFinite() && std::all_of(beam.stations.begin(), beam.stations.end(), finite);
         });
}

}  // namespace tav::analysis
