// Analysis of a frame read from the own solver input, by the direct
// stiffness method: six degrees of freedom per joint, sparse assembly, one
// supernodal Cholesky factorisation for all static cases (one per set of
// gap states when the model has nonlinear links); then, when the input asks
// for them, the natural modes, and the response spectrum, history and
// moving cases.
//
// Displacements, joint loads and reactions are in global axes. A reaction is
// the force or moment a support (restraint or spring) exerts on the
// structure. Member forces follow BeamElement.
#pragma once

#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/InputDeck.h"
#include "analysis/ModalAnalysis.h"
#include "analysis/Results.h"
#include "analysis/SparseCholesky.h"
#include "analysis/Timings.h"

namespace tav::analysis {

class DiscreteModel;
struct StaticCase;

class FrameAnalysis {
 public:
  // `deck` must outlive the analysis.
  FrameAnalysis(const InputDeck& deck, Messages messages);

  // One result per case of the deck, in its order; a history or moving
  // case's result holds each value's peak. A case that cannot be solved on
  // its own (its gaps open into a mechanism or never settle, its spectrum
  // or function is missing, its time step is beyond the method's limit,
  // its results are not finite numbers) fails alone, with its error in its
  // result. Throws AnalysisError for what
  // stops the whole analysis: input the analysis cannot use, a structure
  // unstable with every gap closed, modes asked of a structure without mass.
  std::vector<CaseResult> Run();
  const Timings& GetTimings() const { return m_timings; }
  // The modes Run found; none when the input asks for none.
  const ModalSolution& Modes() const { return m_modes; }
  // The envelopes and time series of the history and moving cases, in the
  // deck's order (a failed case's are zero).
  const std::vector<CaseResponse>& Responses() const { return m_responses; }

 private:
  std::vector<StaticCase> StaticCasesOf(const DiscreteModel& model) const;
  std::vector<CaseResult> Results(const DiscreteModel& model, const std::vector<StaticCase>& statics) const;
  void SolveOtherCases(const DiscreteModel& model, const PartitionedMatrix& stiffness, SparseCholesky* stiffnessFactor,
                       std::vector<CaseResult>& results);

  const InputDeck& m_deck;
  Messages m_messages;
  Timings m_timings;
  ModalSolution m_modes;
  std::vector<CaseResponse> m_responses;
};

}  // namespace tav::analysis
