// The static solution of the load conditions: one factorisation of the
// stiffness per set of gap states, all conditions whose gaps are in that
// set solved against it, and trial after trial until every condition's gaps
// keep their states. A condition whose gaps open into a mechanism, never
// settle, or whose displacements are not finite numbers fails alone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analysis/DiscreteModel.h"
#include "analysis/StaticLoads.h"
#include "analysis/Timings.h"

namespace tav::analysis {

// A static load condition on its way through the gap trials.
struct StaticCase {
  // The first trial closes every one of `links` gaps.
  StaticCase(size_t positionInDeck, int userNumber, size_t links);

  size_t position;   // in the deck's cases
  int number;        // as the user counts them, from 1
  std::string name;  // "static load condition 2"
  CaseLoads loads;
  std::vector<char> closed;             // gap states of the next trial
  std::vector<double> displacements;    // per slot, of the last trial
  std::vector<double> restraintForces;  // per restrained slot, once settled
  bool settled = false;
  std::string error;  // why it failed; empty while it has not

  bool Pending() const { return !settled && error.empty(); }
};

// Solves `cases` until each has settled or failed. Throws AnalysisError
// when the structure is unstable with every gap closed. `allClosed`, when
// given, receives the factorisation of the stiffness with every gap closed
// if a trial made one.
void SolveStaticCases(const DiscreteModel& model, const PartitionedMatrix& baseStiffness,
                      std::vector<StaticCase>& cases, Timings& timings,
                      std::unique_ptr<SparseCholesky>* allClosed = nullptr);

}  // namespace tav::analysis
