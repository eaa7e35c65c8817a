// Analysis of a frame read from the own solver input, by the direct
// stiffness method: six degrees of freedom per joint, sparse assembly, one
// supernodal Cholesky factorisation for all static cases (one per set of
// gap states when the model has nonlinear links); then, when the input asks
// for them, the natural modes and the response spectrum cases.
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

  // One result per case of the deck, in its order; history and moving
  // cases get zero results. A static or response spectrum case that cannot
  // be solved on its own (its gaps open into a mechanism or never settle,
  // its spectrum is missing, or its results are not finite numbers) fails
  // alone, with its error in its result. Throws AnalysisError for what
  // stops the whole analysis: input the analysis cannot use, a structure
  // unstable with every gap closed, modes asked of a structure without mass.
  std::vector<CaseResult> Run();
  const Timings& GetTimings() const { return m_timings; }
  // The modes Run found; none when the input asks for none.
  const ModalSolution& Modes() const { return m_modes; }

 private:
  std::vector<StaticCase> StaticCasesOf(const DiscreteModel& model) const;
  std::vector<CaseResult> Results(const DiscreteModel& model, const std::vector<StaticCase>& statics) const;
  void SolveModes(const DiscreteModel& model, const ModalAnalysis& modal, const PartitionedMatrix& baseStiffness,
                  SparseCholesky* stiffnessFactor, std::vector<CaseResult>& results);

  const InputDeck& m_deck;
  Messages m_messages;
  Timings m_timings;
  ModalSolution m_modes;
};

}  // namespace tav::analysis
