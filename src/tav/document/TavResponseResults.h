// What the analysis gives of its history and moving load cases beyond their
// blocks of the output: each value's largest and smallest over the run (every
// time step, or every position of the moving load), and for a history case
// every step's joint displacements and reactions. Plain values, filled by
// CTavImportTavResponses and held by the document (CTavData) beside its load
// case results; the combinations of the output import fold both envelopes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tav {

// One envelope of a case, every value as the result store keeps it. Joint
// values are global (UX, UY, UZ, RX, RY, RZ; reactions FX ... MZ); member
// forces are N, V2, V3, T, M2, M3 at each of the beam's stations.
struct TavResponseValues {
  std::vector<double> displacements;            // joint * 6 + dof
  std::vector<double> reactions;                // joint * 6 + dof
  std::vector<std::vector<double>> beamForces;  // per beam: station * 6 + force

  int32_t JointCount() const { return static_cast<int32_t>(displacements.size() / 6); }
  int32_t BeamCount() const { return static_cast<int32_t>(beamForces.size()); }
  int32_t StationCount(int32_t beam) const { return static_cast<int32_t>(Beam(beam).size() / 6); }
  double Displacement(int32_t joint, int dof) const { return displacements[Index(joint) * 6 + Index(dof)]; }
  double Reaction(int32_t joint, int dof) const { return reactions[Index(joint) * 6 + Index(dof)]; }
  double Force(int32_t beam, int32_t station, int force) const { return Beam(beam)[Index(station) * 6 + Index(force)]; }

  bool operator==(const TavResponseValues&) const = default;

 private:
  static size_t Index(int32_t value) { return static_cast<size_t>(value); }
  const std::vector<double>& Beam(int32_t beam) const { return beamForces[Index(beam)]; }
};

struct TavCaseResponse {
  int32_t kind = 0;     // a TaV_LOAD_TYPE: TaV_LOAD_HISTORY or TaV_LOAD_MOVING
  int32_t number = 0;   // from 0 within its kind, as the document numbers it
  bool failed = false;  // the case was not solved: every value is 0, no steps
  TavResponseValues maximum;
  TavResponseValues minimum;

  // A history case's time series, from time 0 on; empty for a moving case.
  // The steps' joint values lie step after step, each laid out as an
  // envelope's displacements and reactions: (step * joints + joint) * 6 + dof.
  double dt = 0.0;
  std::vector<double> times;
  std::vector<double> stepDisplacements;
  std::vector<double> stepReactions;

  int32_t StepCount() const { return static_cast<int32_t>(times.size()); }
  double Displacement(int32_t step, int32_t joint, int dof) const {
    return stepDisplacements[StepIndex(step, joint, dof)];
  }
  double Reaction(int32_t step, int32_t joint, int dof) const { return stepReactions[StepIndex(step, joint, dof)]; }

  bool operator==(const TavCaseResponse&) const = default;

 private:
  size_t StepIndex(int32_t step, int32_t joint, int dof) const {
    const size_t joints = maximum.displacements.size() / 6;
    return (static_cast<size_t>(step) * joints + static_cast<size_t>(joint)) * 6 + static_cast<size_t>(dof);
  }
};

struct TavResponseResults {
  // The history cases in number order, then the moving cases.
  std::vector<TavCaseResponse> cases;

  // The response of case `number` (from 0) of `kind`; null when none is held.
  const TavCaseResponse* Find(int32_t kind, int32_t number) const {
    for (const TavCaseResponse& response : cases) {
      if (response.kind == kind && response.number == number) return &response;
    }
    return nullptr;
  }

  bool operator==(const TavResponseResults&) const = default;
};

}  // namespace tav
