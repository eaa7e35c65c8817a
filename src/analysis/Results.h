// The results of one load condition as the analysis hands them to the
// output file: joint displacements and reactions in global axes, member
// forces per beam (see BeamElement for the local axes and signs).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "analysis/BeamElement.h"
#include "analysis/InputDeck.h"

namespace tav::analysis {

struct BeamResult {
  int number = 0;                               // model-wide beam number, 0-based
  Vector12 endForces = Vector12::Zero();        // forces of the joints on the beam, local axes
  std::vector<std::array<double, 7>> stations;  // distance from I, N V2 V3 T M2 M3
};

struct CaseResult {
  std::vector<Six> displacements;  // per joint, global
  // What the supports (restraints and springs) exert on the structure, per
  // joint, global; 0 where nothing supports.
  std::vector<Six> reactions;
  std::vector<BeamResult> beams;  // in beam number order
  // Why a load condition has no results ("static load condition 2: ...");
  // empty when it was solved. The values of a failed case are zero.
  std::string error;
};

// What a history or moving load condition gives beyond its block of the
// output: each value's largest and smallest over the run (every time step,
// or every position of the moving load), and for a history condition every
// step's joint displacements and reactions, from time 0 on.
struct ResponseSeries {
  double dt = 0.0;
  std::vector<double> times;
  std::vector<std::vector<Six>> displacements;  // per step, per joint, global
  std::vector<std::vector<Six>> reactions;      // per step, per joint, global
};

struct CaseResponse {
  size_t position = 0;  // of the condition in the deck's cases
  CaseResult maximum;
  CaseResult minimum;
  ResponseSeries series;  // empty for a moving condition
};

// Calls `visit` on every value of `result` (a CaseResult, const or not) in
// one fixed order: displacements, reactions, each beam's end forces and its
// stations' forces. The stations' distances are not values.
template <class Result, class Visit>
void ForEachValue(Result& result, Visit&& visit) {
  for (auto& joint : result.displacements) {
    for (auto& value : joint) visit(value);
  }
  for (auto& joint : result.reactions) {
    for (auto& value : joint) visit(value);
  }
  for (auto& beam : result.beams) {
    for (auto& value : beam.endForces) visit(value);
    for (auto& station : beam.stations) {
      for (size_t i = 1; i < station.size(); ++i) visit(station[i]);
    }
  }
}

}  // namespace tav::analysis
