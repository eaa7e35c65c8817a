#include "analysis/BeamLoadPlacement.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tav::analysis {
namespace {

// The beam lengths the model writer and this program compute from the same
// coordinates may differ in their last bits, and a load's start plus its
// length adds a rounding: the slack, relative to the numbers involved,
// allowed on top of what the texts resolve.
constexpr double kRoundingSlack = 1e-14;

// `at` put exactly at the beam's start or end when it lies within
// `nearStart` of 0 or within `nearEnd` of `length`.
double Snap(double at, double nearStart, double nearEnd, double length) {
  if (std::fabs(at) <= nearStart) return 0.0;
  if (std::fabs(at - length) <= nearEnd) return length;
  return at;
}

}  // namespace

BeamLoadPlacement::BeamLoadPlacement(const InputDeck& deck, const FrameElements& elements, const Messages& messages)
    : m_deck(deck), m_elements(elements), m_messages(messages) {
  const std::vector<FrameBeam>& beams = elements.Beams();
  for (size_t b = 0; b < beams.size(); ++b)
    m_beamsByJoints[{beams[b].input->jointI, beams[b].input->jointJ}].push_back(b);
}

size_t BeamLoadPlacement::BeamOf(const BeamLoad& load, const std::string& name) const {
  const std::string route = "joint " + std::to_string(load.jointI + 1) + " to joint " + std::to_string(load.jointJ + 1);
  const auto found = m_beamsByJoints.find({load.jointI, load.jointJ});
  if (found == m_beamsByJoints.end()) throw AnalysisError(name + ": no beam runs from " + route);
  const std::vector<size_t>& between = found->second;
  if (between.size() == 1) return between.front();
  std::vector<size_t> all, matching;  // beam numbers as the user counts them
  for (const size_t b : between) {
    const Beam& beam = *m_elements.Beams()[b].input;
    all.push_back(b + 1);
    if (std::fabs(beam.angle - load.angle) <= beam.angleResolution + load.angleResolution) matching.push_back(b + 1);
  }
  const std::string angle = "the roll angle " + NumberText(load.angle);
  if (matching.empty()) {
    throw AnalysisError(name + ": no beam from " + route + " has " + angle + " (beams " + ListOf(all) + " run there)");
  }
  if (matching.size() > 1) {
    m_messages.Warn(name + " is ambiguous: beams " + ListOf(matching) + " run from " + route + " with " + angle +
                    "; it is applied to beam " + std::to_string(matching.front()));
  }
  return matching.front() - 1;
}

std::vector<SpanLoad> BeamLoadPlacement::PiecesOn(size_t beam, const BeamLoad& load, const std::string& name) const {
  const FrameBeam& target = m_elements.Beams()[beam];
  const double lengthUncertainty = LengthUncertainty(*target.input, target.element.Length());
  std::vector<SpanLoad> spans;
  for (const BeamLoadPiece& piece : load.pieces) spans.push_back(Fit(target, piece, lengthUncertainty, name));
  return spans;
}

// An end of a piece that lies, as far as the texts resolve, at an end of the
// beam is put exactly there; a piece that reaches beyond that tolerance lies
// outside the beam.
SpanLoad BeamLoadPlacement::Fit(const FrameBeam& beam, const BeamLoadPiece& piece, double lengthUncertainty,
                                const std::string& name) const {
  const double length = beam.element.Length();
  // The file gives the intensities and forces negated: a positive number
  // acts against the axis.
  Vector3 axis = Vector3::Zero();
  axis(piece.axis) = 1.0;
  const Vector3 local = beam.element.Rotation() * axis;
  SpanLoad span;
  span.point = !piece.distributed;
  span.value1 = -piece.value1 * local;
  span.value2 = -(piece.distributed ? piece.value2 : piece.value1) * local;
  const double loaded = piece.distributed ? piece.length : 0.0;
  const double loadedResolution = piece.distributed ? piece.lengthResolution : 0.0;
  const double slack = kRoundingSlack * (length + std::fabs(piece.start) + std::fabs(loaded));
  const double startTolerance = piece.startResolution + slack;
  const double endTolerance = startTolerance + loadedResolution;
  span.start = Snap(piece.start, startTolerance, startTolerance + lengthUncertainty, length);
  span.end = Snap(piece.start + loaded, endTolerance, endTolerance + lengthUncertainty, length);
  if (span.start < 0.0 || span.end > length || span.end < span.start - (loadedResolution + slack)) {
    throw AnalysisError(name + " lies outside beam " + std::to_string(beam.input->number + 1) + ": it reaches from " +
                        NumberText(piece.start) + " to " + NumberText(piece.start + loaded) + " on a beam " +
                        NumberText(length) + " long");
  }
  span.end = std::max(span.end, span.start);
  return span;
}

// How far the beam's length, computed from the coordinates read, may lie
// from the length of the coordinates their texts were rounded from (to first
// order: the length changes by the unit vector along the beam times the
// moves of its ends).
double BeamLoadPlacement::LengthUncertainty(const Beam& beam, double length) const {
  const Joint& a = m_deck.joints[beam.jointI];
  const Joint& b = m_deck.joints[beam.jointJ];
  const std::array<double, 3> along = {b.x - a.x, b.y - a.y, b.z - a.z};
  double uncertainty = 0.0;
  for (size_t k = 0; k < 3; ++k) uncertainty += std::fabs(along[k]) / length * (a.resolution[k] + b.resolution[k]);
  return uncertainty;
}

}  // namespace tav::analysis
