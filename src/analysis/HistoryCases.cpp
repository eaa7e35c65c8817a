#include "analysis/HistoryCases.h"

#include <string>

namespace tav::analysis {

// In progress: the condition fails alone until its analysis lands.
void SolveHistoryCase(const DiscreteModel&, const PartitionedMatrix&, SparseCholesky*, const ModalSolution&,
                      const LoadCase& loadCase, const Messages&, Timings&, CaseResult&, CaseResponse&) {
  throw AnalysisError("history load condition " + std::to_string(loadCase.number + 1) + ": not analysed yet");
}

}  // namespace tav::analysis
