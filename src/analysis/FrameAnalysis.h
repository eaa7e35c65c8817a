// Linear static analysis of a frame read from the own solver input, by the
// direct stiffness method: six degrees of freedom per joint, sparse
// assembly, one supernodal Cholesky factorisation for all static cases
// (one per set of gap states when the model has nonlinear links).
//
// Displacements, joint loads and reactions are in global axes. A reaction is
// the force or moment a support (restraint or spring) exerts on the
// structure. Member forces follow BeamElement.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/BeamElement.h"
#include "analysis/InputDeck.h"
#include "analysis/SparseCholesky.h"

namespace tav::analysis {

// A problem with the input that the user can fix: the program reports it
// as an error line and stops.
class AnalysisError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Messages {
  std::function<void(const std::string&)> progress;
  std::function<void(const std::string&)> warning;
};

struct BeamResult {
  int number = 0;                               // model-wide beam number, 0-based
  Vector12 endForces = Vector12::Zero();        // forces of the joints on the beam, local axes
  std::vector<std::array<double, 7>> stations;  // distance from I, N V2 V3 T M2 M3
};

struct CaseResult {
  std::vector<Six> displacements;  // per joint, global
  std::vector<Six> reactions;      // per joint, global (0 where nothing supports)
  std::vector<BeamResult> beams;   // in beam number order
  // Why a static case has no results ("static load condition 2: ..."); empty
  // when it was solved. The values of a failed case are zero.
  std::string error;
};

struct Timings {
  double assemble = 0.0;  // seconds
  double factor = 0.0;
  double solve = 0.0;
  double recover = 0.0;
  double flops = 0.0;  // of the factorisations
  int equations = 0;
  int factorisations = 0;
};

class FrameAnalysis {
 public:
  FrameAnalysis(const InputDeck& deck, Messages messages);
  ~FrameAnalysis();
  FrameAnalysis(const FrameAnalysis&) = delete;
  FrameAnalysis& operator=(const FrameAnalysis&) = delete;

  // One result per case of the deck, in its order; cases other than static
  // ones get zero results. A static case that cannot be solved on its own
  // (its gaps open into a mechanism or never settle, or its results are not
  // finite numbers) fails alone, with its error in its result. Throws
  // AnalysisError for what stops the whole analysis: input the analysis
  // cannot use, or a structure unstable with every gap closed.
  std::vector<CaseResult> Run();
  const Timings& GetTimings() const { return m_timings; }
  // The assembled stiffness of the free equations (upper triangle), with
  // every gap closed: for measuring the factorisation on its own.
  std::vector<MatrixEntry> FreeStiffness(int& equations);

 private:
  struct Model;
  std::unique_ptr<Model> m_pModel;
  Timings m_timings;
};

}  // namespace tav::analysis
