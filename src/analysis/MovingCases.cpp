#include "analysis/MovingCases.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/Envelope.h"
#include "analysis/Reactions.h"
#include "analysis/ResultRecovery.h"
#include "analysis/Stability.h"

namespace tav::analysis {
namespace {

// Right-hand sides solved at once: enough to use the factor well, few
// enough to bound the memory of a long lane on a large model.
constexpr size_t kBatchColumns = 64;
// A beam whose axis has no more horizontal part than this is vertical, as
// MemberAxes reckons it.
constexpr double kVertical = 1e-9;

// What makes a condition impossible to analyse: the condition fails alone.
struct CaseFailure {
  std::string reason;
};

// A beam of the lane as the load travels it.
struct LaneBeam {
  size_t beam;
  double eccentricity;
  bool forward;  // from joint I to joint J
};

// Where the unit load stands: at station `station` of beam `beam`, carried
// by the joint there when `onJoint` (the station is an end), else by the
// beam's span.
struct Position {
  size_t beam;
  size_t station;
  bool onJoint;
  Vector3 couple;  // global: the moment of its eccentricity about the axis
};

std::string BeamName(size_t beam) { return "beam " + std::to_string(beam + 1); }

bool HasJoint(const FrameBeam& beam, size_t joint) { return beam.joints[0] == joint || beam.joints[1] == joint; }

// The lane's elements, each a beam of the model that is not vertical. The
// lines pair the elements, so a beam may follow itself: it counts once.
std::vector<LaneElement> DistinctElements(const std::vector<FrameBeam>& beams, const std::vector<LaneElement>& lane) {
  std::vector<LaneElement> distinct;
  for (const LaneElement& element : lane) {
    if (element.beam < 0 || static_cast<size_t>(element.beam) >= beams.size()) {
      throw CaseFailure{Where(element.line) + "its lane names beam " + std::to_string(element.beam + 1) +
                        ", but the model has " + std::to_string(beams.size()) + " beams"};
    }
    const auto beam = static_cast<size_t>(element.beam);
    const Vector3 axis = beams[beam].element.Rotation().row(0).transpose();
    if (std::hypot(axis.x(), axis.y()) < kVertical) {
      throw CaseFailure{Where(element.line) + BeamName(beam) +
                        " of its lane is vertical: no vertical load travels along it"};
    }
    if (!distinct.empty() && distinct.back().beam == element.beam) {
      if (distinct.back().eccentricity == element.eccentricity) continue;
      throw CaseFailure{Where(element.line) + BeamName(beam) + " follows itself in its lane with another " +
                        "eccentricity (ECC=" + NumberText(distinct.back().eccentricity) +
                        ", then ECC=" + NumberText(element.eccentricity) + ")"};
    }
    distinct.push_back(element);
  }
  return distinct;
}

CaseFailure Apart(size_t before, const LaneElement& element) {
  return {Where(element.line) + "beams " + std::to_string(before + 1) + " and " + std::to_string(element.beam + 1) +
          " of its lane share no joint"};
}

// The joint the load enters beam `k` of the lane at. The first beam is
// entered at the end away from the second; a later one where the load left
// the beam before it when it has that joint, else at the other joint the
// two share.
size_t EntryJoint(const std::vector<FrameBeam>& beams, const std::vector<LaneElement>& lane, size_t k,
                  size_t entryBefore, size_t exitBefore) {
  const FrameBeam& beam = beams[static_cast<size_t>(lane[k].beam)];
  if (k == 0) {
    if (lane.size() == 1) return beam.joints[0];
    const FrameBeam& second = beams[static_cast<size_t>(lane[1].beam)];
    if (HasJoint(second, beam.joints[1])) return beam.joints[0];
    if (HasJoint(second, beam.joints[0])) return beam.joints[1];
    throw Apart(static_cast<size_t>(lane[0].beam), lane[1]);
  }
  if (HasJoint(beam, exitBefore)) return exitBefore;
  if (HasJoint(beam, entryBefore)) return entryBefore;
  throw Apart(static_cast<size_t>(lane[k - 1].beam), lane[k]);
}

std::vector<LaneBeam> Travelled(const std::vector<FrameBeam>& beams, const std::vector<LaneElement>& lane) {
  std::vector<LaneBeam> travelled;
  size_t entry = 0, exit = 0;
  for (size_t k = 0; k < lane.size(); ++k) {
    const auto beam = static_cast<size_t>(lane[k].beam);
    entry = EntryJoint(beams, lane, k, entry, exit);
    const bool forward = entry == beams[beam].joints[0];
    exit = beams[beam].joints[forward ? 1 : 0];
    travelled.push_back({beam, lane[k].eccentricity, forward});
  }
  return travelled;
}

// The moment about the axis of the unit load standing `eccentricity` to
// the left of the direction of travel (left = up x tangent), horizontally.
Vector3 EccentricCouple(const FrameBeam& beam, const LaneBeam& travelled) {
  const Vector3 up = Vector3::UnitZ();
  const Vector3 tangent = (travelled.forward ? 1.0 : -1.0) * beam.element.Rotation().row(0).transpose();
  const Vector3 arm = travelled.eccentricity * up.cross(tangent).normalized();
  return arm.cross(-up);
}

// Every station of each lane beam in the order of travel. A station at a
// beam's end loads the joint (once where two beams meet) and also the
// beam's end itself: the member forces there jump with the load, and the
// envelope wants them from the beam's side too.
std::vector<Position> Positions(const std::vector<FrameBeam>& beams, const std::vector<LaneBeam>& lane) {
  std::vector<Position> positions;
  std::optional<size_t> lastJoint;
  for (const LaneBeam& travelled : lane) {
    const FrameBeam& beam = beams[travelled.beam];
    const Vector3 couple = EccentricCouple(beam, travelled);
    const size_t last = beam.segments;
    for (size_t step = 0; step <= last; ++step) {
      const size_t station = travelled.forward ? step : last - step;
      if (station == 0 || station == last) {
        const size_t joint = beam.joints[station == 0 ? 0 : 1];
        if (joint != lastJoint) positions.push_back({travelled.beam, station, true, couple});
        lastJoint = joint;
      }
      positions.push_back({travelled.beam, station, false, couple});
    }
  }
  return positions;
}

// The unit load at each position solved against one factor of the
// stiffness, its results recovered and enveloped.
class MovingLoad {
 public:
  MovingLoad(const DiscreteModel& model, const PartitionedMatrix& stiffness, std::vector<Position> positions)
      : m_model(model),
        m_stiffness(stiffness),
        m_positions(std::move(positions)),
        m_shape(ZeroResult(model)),
        m_imposed(model.Dofs().RestrainedSlots().size(), 0.0) {}

  void Solve(SparseCholesky& factor, Timings& timings, Envelope& envelope) const;

 private:
  SpanLoad OnSpan(const Position& position) const;
  std::vector<double> Loads(const Position& position) const;
  void Recover(const Position& position, std::span<const double> equations, const std::vector<double>& loads,
               CaseResult& result, Envelope& envelope) const;
  void AddSides(const Position& position, CaseResult& result, Envelope& envelope) const;

  const DiscreteModel& m_model;
  const PartitionedMatrix& m_stiffness;
  std::vector<Position> m_positions;
  CaseResult m_shape;             // the stations' distances
  std::vector<double> m_imposed;  // none: every restrained slot stays put
};

void MovingLoad::Solve(SparseCholesky& factor, Timings& timings, Envelope& envelope) const {
  const std::vector<size_t>& freeSlots = m_model.Dofs().FreeSlots();
  const size_t equations = freeSlots.size();
  CaseResult result = m_shape;
  for (size_t first = 0; first < m_positions.size(); first += kBatchColumns) {
    auto start = Clock::now();
    const std::span<const Position> batch(m_positions.data() + first,
                                          std::min(kBatchColumns, m_positions.size() - first));
    std::vector<std::vector<double>> loads;
    std::vector<double> rhs(equations * batch.size(), 0.0);
    for (size_t k = 0; k < batch.size(); ++k) {
      loads.push_back(Loads(batch[k]));
      for (size_t eq = 0; eq < equations; ++eq) rhs[k * equations + eq] = loads[k][freeSlots[eq]];
    }
    factor.Solve(rhs, static_cast<int32_t>(batch.size()));
    timings.solve += SecondsSince(start);
    start = Clock::now();
    for (size_t k = 0; k < batch.size(); ++k) {
      const std::span<const double> column(rhs.data() + k * equations, equations);
      Recover(batch[k], column, loads[k], result, envelope);
    }
    timings.recover += SecondsSince(start);
  }
}

// The unit load on the span, in the beam's axes, at the station's distance
// so that the station's member forces take it in; never beyond the end,
// where that distance may round to.
SpanLoad MovingLoad::OnSpan(const Position& position) const {
  const BeamElement& element = m_model.Elements().Beams()[position.beam].element;
  SpanLoad load;
  load.point = true;
  load.start = load.end = std::min(m_shape.beams[position.beam].stations[position.station][0], element.Length());
  load.value1 = load.value2 = element.Rotation() * -Vector3::UnitZ();
  load.couple = element.Rotation() * position.couple;
  return load;
}

// The unit load at `position` on the slots, in the joints' axes.
std::vector<double> MovingLoad::Loads(const Position& position) const {
  std::vector<double> slots(m_model.Dofs().Slots(), 0.0);
  const FrameBeam& beam = m_model.Elements().Beams()[position.beam];
  if (position.onJoint) {
    Eigen::VectorXd global(6);
    global << 0.0, 0.0, -1.0, position.couple.x(), position.couple.y(), position.couple.z();
    const std::array<size_t, 1> joint = {beam.joints[position.station == 0 ? 0 : 1]};
    m_model.AddJointVector(slots, joint, global);
  } else {
    m_model.AddJointVector(slots, beam.joints, beam.element.EquivalentLoads({OnSpan(position)}));
  }
  return slots;
}

void MovingLoad::Recover(const Position& position, std::span<const double> equations, const std::vector<double>& loads,
                         CaseResult& result, Envelope& envelope) const {
  const std::vector<double> displacements = m_model.SlotValues(equations, m_imposed);
  const std::vector<double> restraint = RestraintForces(m_model.Dofs(), m_stiffness, displacements, m_imposed, loads);
  std::vector<std::vector<SpanLoad>> spans(m_model.Elements().Beams().size());
  if (!position.onJoint) spans[position.beam].push_back(OnSpan(position));
  RecoverResult(m_model, displacements, restraint, spans, result);
  AddSides(position, result, envelope);
}

// The member forces jump at a load on the span. The station under it is
// enveloped as recovered, beyond the load (the side towards J), and before
// it, but only on the beam's side at an end: a load at I is all beyond the
// station, one at J all before it.
void MovingLoad::AddSides(const Position& position, CaseResult& result, Envelope& envelope) const {
  if (position.onJoint) {
    envelope.Add(result);
    return;
  }
  if (position.station > 0) envelope.Add(result);
  if (position.station == m_model.Elements().Beams()[position.beam].segments) return;
  BeamResult& loaded = result.beams[position.beam];
  std::array<double, 7>& station = loaded.stations[position.station];
  const MemberForces before = BeamElement::ForcesAt(station[0], loaded.endForces, {});
  std::copy(before.begin(), before.end(), station.begin() + 1);
  envelope.Add(result);
}

// The factor of the stiffness: the one given, or one made into `own`.
SparseCholesky& FactorOf(const DiscreteModel& model, const PartitionedMatrix& stiffness, SparseCholesky* given,
                         std::unique_ptr<SparseCholesky>& own, Timings& timings) {
  if (given != nullptr) return *given;
  own = std::make_unique<SparseCholesky>();
  if (const std::optional<Weakness> weakness = FactoriseStiffness(stiffness, model.Dofs(), *own, timings)) {
    throw CaseFailure{"the structure is unstable" +
                      (weakness->slot ? ": " + model.Dofs().SlotName(*weakness->slot) + " " + weakness->how : "")};
  }
  return *own;
}

void Solve(const DiscreteModel& model, const PartitionedMatrix& stiffness, SparseCholesky* stiffnessFactor,
           const LoadCase& loadCase, Timings& timings, CaseResult& result, CaseResponse& response) {
  if (loadCase.lane.empty()) throw CaseFailure{"it has no lane (LANE SEQUENCE of ELE=b ECC=e)"};
  const std::vector<FrameBeam>& beams = model.Elements().Beams();
  const std::vector<LaneBeam> lane = Travelled(beams, DistinctElements(beams, loadCase.lane));
  const MovingLoad load(model, stiffness, Positions(beams, lane));
  std::unique_ptr<SparseCholesky> own;
  SparseCholesky& factor = FactorOf(model, stiffness, stiffnessFactor, own, timings);
  Envelope envelope(ZeroResult(model));
  load.Solve(factor, timings, envelope);
  result = envelope.Peak();
  response.maximum = envelope.Maximum();
  response.minimum = envelope.Minimum();
  response.series = {};
}

}  // namespace

void SolveMovingCase(const DiscreteModel& model, const PartitionedMatrix& stiffness, SparseCholesky* stiffnessFactor,
                     const LoadCase& loadCase, const Messages&, Timings& timings, CaseResult& result,
                     CaseResponse& response) {
  try {
    Solve(model, stiffness, stiffnessFactor, loadCase, timings, result, response);
  } catch (const CaseFailure& failure) {
    throw AnalysisError("moving load condition " + std::to_string(loadCase.number + 1) + ": " + failure.reason);
  }
}

}  // namespace tav::analysis
