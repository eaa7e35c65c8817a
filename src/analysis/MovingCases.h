// The moving load conditions: a unit vertical load travelling along the
// lane the condition names, and each result's largest and smallest value
// over its positions (the envelope of its influence line). docs/analysis.md
// states how the lane is read and where the load stands. Beyond that: the
// load on a joint where two lane beams meet carries the couple of the beam
// that reaches it first; a load on a span makes the member forces jump
// under it, and the envelope takes the station there from both sides (at a
// beam's end the load stands on the joint and just inside the beam too).
#pragma once

#include "analysis/Diagnostics.h"
#include "analysis/DiscreteModel.h"
#include "analysis/InputDeck.h"
#include "analysis/Results.h"
#include "analysis/SparseCholesky.h"
#include "analysis/Timings.h"

namespace tav::analysis {

// Solves moving condition `loadCase` against `stiffness` (every gap
// closed), whose factorisation `stiffnessFactor` may be given (or null).
// Fills `result` with each value's peak (the larger in magnitude of its
// largest and smallest over all positions, with its sign) and `response`
// with the two envelopes. Throws AnalysisError, its message starting
// "moving load condition N: ", when the condition cannot be solved; the
// other conditions go on.
void SolveMovingCase(const DiscreteModel& model, const PartitionedMatrix& stiffness, SparseCholesky* stiffnessFactor,
                     const LoadCase& loadCase, const Messages& messages, Timings& timings, CaseResult& result,
                     CaseResponse& response);

}  // namespace tav::analysis
