// The results of a load condition from its solved slots: joint
// displacements and reactions in global axes, and each beam's end forces
// and member forces at its stations.
#pragma once

#include <span>
#include <vector>

#include "analysis/BeamElement.h"
#include "analysis/DiscreteModel.h"
#include "analysis/Results.h"

namespace tav::analysis {

// Throws AnalysisError when the results of all load conditions together
// would hold more beam stations than the program can keep.
void CheckResultSize(const DiscreteModel& model);
// Every joint and beam with zero values, the stations at their distances:
// the results of a condition that has none.
CaseResult ZeroResult(const DiscreteModel& model);
// Fills `result`, which holds the stations' distances, from every slot's
// displacement, the restraints' forces (per restrained slot) and the loads
// along each beam's span.
void RecoverResult(const DiscreteModel& model, std::span<const double> displacements,
                   std::span<const double> restraintForces, const std::vector<std::vector<SpanLoad>>& spans,
                   CaseResult& result);
// Whether every value of `result` is a finite number.
bool AllFinite(const CaseResult& result);

}  // namespace tav::analysis
