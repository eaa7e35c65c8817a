#include "analysis/MovingCases.h"

#include <string>

namespace tav::analysis {

// In progress: the condition fails alone until its analysis lands.
void SolveMovingCase(const DiscreteModel&, const PartitionedMatrix&, SparseCholesky*, const LoadCase& loadCase,
                     const Messages&, Timings&, CaseResult&, CaseResponse&) {
  throw AnalysisError("moving load condition " + std::to_string(loadCase.number + 1) + ": not analysed yet");
}

}  // namespace tav::analysis
