// The history load conditions: the frame's response in time to loads
// scaled by their functions and to a ground acceleration record, by direct
// integration (Newmark, Wilson theta, central difference), by superposition
// of the natural modes, or as a sequence of static solutions (NST).
// docs/analysis.md states the readings.
#pragma once

#include "analysis/Diagnostics.h"
#include "analysis/DiscreteModel.h"
#include "analysis/InputDeck.h"
#include "analysis/ModalAnalysis.h"
#include "analysis/Results.h"
#include "analysis/SparseCholesky.h"
#include "analysis/Timings.h"

namespace tav::analysis {

// Solves history condition `loadCase` against `stiffness` (every gap
// closed), whose factorisation `stiffnessFactor` may be given (or null).
// `modes` are the analysis's modes, which mode superposition uses. Fills
// `result` with each value's peak (the larger in magnitude of its largest
// and smallest over the run, with its sign) and `response` with the
// envelopes and every step's joint displacements and reactions. Throws
// AnalysisError, its message starting "history load condition N: ", when
// the condition cannot be solved; the other conditions go on.
void SolveHistoryCase(const DiscreteModel& model, const PartitionedMatrix& stiffness, SparseCholesky* stiffnessFactor,
                      const ModalSolution& modes, const LoadCase& loadCase, const Messages& messages, Timings& timings,
                      CaseResult& result, CaseResponse& response);

}  // namespace tav::analysis
